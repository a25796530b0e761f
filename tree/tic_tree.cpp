// The TIC text form of whole trees: the source-file names, the node count
// and the root's text, which holds every other node.
#include <iostream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lbase/small_stack.h"
#include "lbase/tic.h"
#include "tree/expr.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/walk.h"

int DovTicTraceLevel = 0;

namespace {

// State of the one tree read under way.
struct TicReadState {
    // Nodes by their stored index. Keyed rather than indexed: the indexes
    // come from the text, and one large index must not cost memory for all
    // the smaller ones.
    std::unordered_map<std::uint32_t, DovExpr*> table;
    long long count = 0;          // node count announced by the text
    int pending_args = 0;         // argument count of the node being read
    std::vector<int> file_map;
    DovFileIndexMap map;
};

TicReadState* g_read = nullptr;

// The nodes of the latest numbering (DovNumberNode since the counter was
// last 0) with the numbers they got, so that a link to a node outside the
// numbered tree is given no index. Looked up by address only: a link may
// point at a node that no longer exists.
std::unordered_map<const DovExpr*, std::int32_t> g_numbered;

std::int32_t NumberedIndex(const DovLink& link) {
    if (!link.target) return -1;
    auto it = g_numbered.find(link.target);
    return it == g_numbered.end() ? -1 : it->second;
}

// Slots a list node gets before its arguments are read; more are added one
// by one, so a corrupt count cannot allocate beyond what the text holds.
constexpr int kEagerSlots = 64;

}  // namespace

// --- walk callbacks ----------------------------------------------------------

int DovNumberNode(DovExpr* node, void*) {
    if (DovExpr::node_ctr == 0) g_numbered.clear();
    const std::int32_t n = DovExpr::node_ctr++;
    node->SetSerial(n);
    // A node reached twice keeps its later number.
    g_numbered[node] = n;
    return DOV_WALK_DESCEND;
}

// Each link gets the number of its target, or -1 (written as 4294967295)
// when it has no target or the target was not numbered with this tree.
int DovSetLinkIndexes(DovExpr* node, void*) {
    if (node->NumLinks()) {
        DovLink& l = node->Link();
        l.index = NumberedIndex(l);
    }
    if (node->NumLinkLists()) {
        for (DovLink& l : node->Links()) l.index = NumberedIndex(l);
    }
    return DOV_WALK_DESCEND;
}

int DovResolveLinkIndexes(DovExpr* node, void*) {
    if (node->NumLinks()) SetLinkExprFromIndex(node->Link());
    if (node->NumLinkLists())
        for (DovLink& l : node->Links()) SetLinkExprFromIndex(l);
    return DOV_WALK_DESCEND;
}

void SetLinkExprFromIndex(DovLink& link) {
    link.target = nullptr;
    if (link.index == -1 || !g_read) return;
    std::uint32_t ix = static_cast<std::uint32_t>(link.index);
    if (ix < g_read->count) {
        auto it = g_read->table.find(ix);
        if (it != g_read->table.end()) {
            link.target = it->second;
        } else {
            DovMessageHook(MSG_SEVERE, DovNullPosn, "SetLinkExprFromIndex: NULL epxression in link forwarder.");
        }
        return;
    }
    DovMessageHook(MSG_SEVERE, DovNullPosn,
                   DovFormat("SetLinkExprFromIndex: DovLink index %ld out of range 0..%ld. Link nullified.",
                             static_cast<long>(ix), static_cast<long>(g_read->count)));
}

// --- writing -----------------------------------------------------------------

void DovExpr::PutTic(DovExpr* root, std::ostream& out) {
    if (DovTicTraceLevel > 0) std::cout << "==DovExpr::PutTic: node_ctr=" << node_ctr << "\n";
    node_ctr = 0;
    WalkTheTree(root, nullptr, DovNumberNode);
    WalkTheTree(root, nullptr, DovSetLinkIndexes);
    // The record is not needed once the indexes are set.
    std::unordered_map<const DovExpr*, std::int32_t>().swap(g_numbered);
    if (DovTicTraceLevel > 0) {
        std::cout << "=DovExpr::actual nodes: " << node_ctr << "\n";
        if (root) root->Print(std::cout);
        std::cout << "\n";
    }
    DovNameTable& names = DovSrcFileNames();
    out << names.Count() << "\n";
    for (int i = 0; i < names.Count(); ++i) names.At(i).name.PutTicCounted(out);
    out << node_ctr << "\n";
    if (root) root->PutTicNode(out);
}

void DovExpr::PutTicNode(std::ostream& os) const {
    // The two-bit flag goes out as a signed two-bit number.
    int flag = flag_ >= 2 ? flag_ - 4 : flag_;
    os << "\no" << oper_ << ':' << NumArgs() << ':' << flag << ':' << serial_ << ':';
    tokens_.PutTic(os);
}

void DovExprOper::PutTicHead(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    int expected = DovOperArgCount(Oper());
    if (!DovOperIsList(Oper()) && NumArgs() != expected)
        DovMessageHook(MSG_SEVERE, DovSrcPosnBeg(const_cast<DovExprOper*>(this)),
                       DovFormat("DovExprOper: oper %s: BAD number of children %d, must be %d", DovOperName(Oper()),
                                 NumArgs(), expected));
}

void DovExprOper::PutTicTail(std::ostream&) const {}

// The node's text with its children's: an operator child's text is written
// through a frame of its own (its head, its slots, then its tail) instead of
// a call, so that a tree of any depth is written.
void DovExprOper::PutTicNode(std::ostream& os) const {
    struct Frame {
        const DovExprOper* node;
        int slot;
    };
    DovSmallStack<Frame> frames;
    PutTicHead(os);
    frames.push_back({this, 0});
    while (!frames.empty()) {
        Frame& f = frames.back();
        const DovExprOper* node = f.node;
        if (f.slot >= node->NumArgs()) {
            node->PutTicTail(os);
            frames.pop_back();
            continue;
        }
        const DovArgSlot* s = node->slots_[static_cast<std::size_t>(f.slot++)];
        os << s->code << ':' << s->order << ':';
        s->tokens.PutTic(os);
        if (!s->arg) {
            os << '0';
            continue;
        }
        os << '1';
        if (s->arg->has_slots_) {
            const auto* child = static_cast<const DovExprOper*>(s->arg);
            child->PutTicHead(os);
            frames.push_back({child, 0});
        } else {
            s->arg->PutTicNode(os);
        }
    }
}

// --- reading -----------------------------------------------------------------

namespace {

// Whether `holder`'s single link may point at `target`: uses and
// definitions point at symbol-table elements, named-object uses at
// definitions.
bool LinkFits(DovExpr* holder, DovExpr* target) {
    if (dynamic_cast<DovNamedObjUse*>(holder)) return dynamic_cast<DovNamedObjDef*>(target) != nullptr;
    return dynamic_cast<DovSymTabElt*>(target) != nullptr;
}

void LinkReport(DovExpr* at, const char* what) {
    DovMessageHook(MSG_WARN, DovSrcPosnBeg(at),
                   DovFormat("DovExpr::GetTicTree: %s at %s; repaired", what, DovOperName(at->Oper())));
}

// A stored tree's links and back links are only as good as its text: the
// node classes rely on every link having its back link and every back link
// a link, so the read tree is brought into that shape before anyone uses it.
void RepairBackLinks(DovExpr* root) {
    // Links to nodes of the wrong kind are cut.
    WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (n->NumLinks() && n->Link().target && !LinkFits(n, n->Link().target)) {
            LinkReport(n, "link to a node of the wrong kind");
            n->Link().target = nullptr;
        }
        return DOV_WALK_DESCEND;
    });
    // Back links must name nodes that link here, once each.
    WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (!n->NumLinkLists()) return DOV_WALK_DESCEND;
        DovLinkList kept;
        std::unordered_set<DovExpr*> seen;
        bool changed = false;
        for (const DovLink& l : n->Links()) {
            bool fits = !l.target ||
                        (l.target->NumLinks() && l.target->Link().target == n && seen.insert(l.target).second);
            if (fits)
                kept.Append(l);
            else
                changed = true;
        }
        if (changed) {
            LinkReport(n, "back link without its link");
            n->Links() = kept;
        }
        return DOV_WALK_DESCEND;
    });
    // Every link gets its back link.
    WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (!n->NumLinks()) return DOV_WALK_DESCEND;
        DovExpr* target = n->Link().target;
        if (!target || !target->NumLinkLists()) return DOV_WALK_DESCEND;
        for (const DovLink& l : target->Links())
            if (l.target == n) return DOV_WALK_DESCEND;
        LinkReport(n, "link without its back link");
        target->Links().Append(DovLink(n, n->Serial()));
        return DOV_WALK_DESCEND;
    });
}

}  // namespace

char DovExpr::GetTicTree(std::istream& in, DovExpr*& root, VString& error) {
    root = nullptr;
    TicReadState state;
    // The map and the node table are in force only while this read runs.
    struct Scope {
        TicReadState* saved_state;
        DovFileIndexMap* saved_map;
        Scope(TicReadState* s) : saved_state(g_read), saved_map(DovTicFileIndexMap) { g_read = s; }
        ~Scope() {
            g_read = saved_state;
            DovTicFileIndexMap = saved_map;
        }
    } scope(&state);

    int name_count = 0;
    if (char r = GetTicIntNo(in, name_count, false, '\n', error)) return r;
    for (int i = 0; i < name_count; ++i) {
        VString name;
        if (char r = name.GetTicCounted(in, error)) return r;
        state.file_map.push_back(DovSrcFileNames().FindOrAdd(name, false, true));
    }
    state.map.map = state.file_map.data();
    state.map.count = static_cast<int>(state.file_map.size());
    DovTicFileIndexMap = &state.map;

    if (char r = GetTicIntNo(in, state.count, false, '\n', error)) return r;
    DovExpr* node = nullptr;
    if (char r = GetTicOp(in, node, error)) return r;
    WalkTheTree(node, nullptr, DovResolveLinkIndexes);
    RepairBackLinks(node);
    root = node;
    return TIC_OK;
}

namespace {

// The start of a node text: "\no", the operation code and the argument
// count, checked against the catalogue; `made` is the empty node that the
// rest of the text is read into.
char ReadNodeStart(std::istream& in, DovExpr*& made, int& count, VString& error) {
    made = nullptr;
    if (in.get() != '\n' || in.get() != 'o') {
        error = "DovExpr::GetTicOp: bad start for operation";
        return TIC_BAD_FORMAT;
    }
    int code = 0;
    count = 0;
    if (char r = GetTicIntNo(in, code, false, ':', error)) return r;
    if (char r = GetTicIntNo(in, count, false, ':', error)) return r;
    DovOper op = static_cast<DovOper>(code & 0xffff);
    if (code > 0xffff) op = static_cast<DovOper>(0);
    if (!DovOperIsList(op) && count != DovOperArgCount(op)) {
        error = DovFormat("Bad number of args for oper: %d. Expected: %d", count, DovOperArgCount(op));
        return TIC_BAD_ARGS;
    }
    return DovMakeEmptyNode(op, count, made, error);
}

// A node read in full goes into the node table of the tree read under way,
// under the number it was read with.
char RegisterNode(DovExpr* made, VString& error) {
    if (!g_read) return TIC_OK;
    std::uint32_t ix = static_cast<std::uint32_t>(made->Serial());
    if (ix >= g_read->count) {
        error = DovFormat("Node index %d out of range", made->Serial());
        return TIC_BAD_INDEX;
    }
    if (!g_read->table.emplace(ix, made).second) {
        error = "Node with this index busy";
        return TIC_BAD_INDEX;
    }
    return TIC_OK;
}

}  // namespace

char DovExpr::GetTicOp(std::istream& in, DovExpr*& node, VString& error) {
    node = nullptr;
    DovExpr* made = nullptr;
    int count = 0;
    if (char r = ReadNodeStart(in, made, count, error)) return r;
    int saved_pending = g_read ? g_read->pending_args : 0;
    if (g_read) g_read->pending_args = count;
    char r = made->GetTic(in, error);
    if (g_read) g_read->pending_args = saved_pending;
    if (!r) r = RegisterNode(made, error);
    if (r) {
        delete made;  // with whatever children it had read
        return r;
    }
    node = made;
    return TIC_OK;
}

char DovExpr::GetTic(std::istream& is, VString& message) {
    // The writer puts the flag out signed: -2 and -1 stand for 2 and 3.
    int flag = 0;
    if (char r = GetTicIntNo(is, flag, true, ':', message)) return r;
    flag_ = static_cast<std::uint16_t>(flag & 3);
    int serial = 0;
    if (char r = GetTicIntNo(is, serial, false, ':', message)) return r;
    serial_ = serial;
    return tokens_.GetTic(is, message);
}

char DovExprOper::GetTicTail(std::istream&, VString&) { return TIC_OK; }

// The rest of the node's text with its children's: an operator child is
// read through a frame of its own (its header, its slots, then its tail)
// instead of a call, so that a tree of any depth is read. Each child is
// entered into the node table once read in full, before the node that
// holds it; a failed read deletes every node begun below this one.
char DovExprOper::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    struct Frame {
        DovExprOper* node;
        int count;  // slots in the text
        int slot;
    };
    DovSmallStack<Frame> frames;
    frames.push_back({this, g_read ? g_read->pending_args : NumArgs(), 0});
    char r = TIC_OK;
    while (!frames.empty()) {
        Frame& f = frames.back();
        DovExprOper* node = f.node;
        if (f.slot >= f.count) {
            if ((r = node->GetTicTail(is, message))) break;
            if (node != this && (r = RegisterNode(node, message))) break;
            frames.pop_back();
            if (frames.empty()) break;
            Frame& holder = frames.back();
            holder.node->SetArg(holder.slot++, node, -1, 0);
            continue;
        }
        const int i = f.slot;
        if (i >= node->NumArgs()) node->slots_.push_back(new DovArgSlot);
        DovArgSlot* s = node->slots_[static_cast<std::size_t>(i)];
        int code = 0, order = 0;
        // Slot codes may be negative: the reader takes what the writer wrote.
        if ((r = GetTicIntNo(is, code, true, ':', message))) break;
        if ((r = GetTicIntNo(is, order, true, ':', message))) break;
        s->code = static_cast<std::int16_t>(code);
        s->order = static_cast<std::int16_t>(order);
        if ((r = s->tokens.GetTic(is, message))) break;
        int c = is.get();
        if (c == '0') {
            node->SetArg(i, nullptr, -1, 0);
            ++f.slot;
            continue;
        }
        if (c != '1') {
            message = DovFormat("DovExprOper::GetTic: bad arg code '%c'", c < 0 ? ' ' : c);
            r = TIC_BAD_FORMAT;
            break;
        }
        DovExpr* child = nullptr;
        int count = 0;
        if ((r = ReadNodeStart(is, child, count, message))) break;
        if (child->has_slots_) {
            if ((r = child->DovExpr::GetTic(is, message))) {
                delete child;
                break;
            }
            // Outside a tree read a node reads the slots it was made with.
            frames.push_back({static_cast<DovExprOper*>(child), g_read ? count : child->NumArgs(), 0});
            continue;
        }
        if (!(r = child->GetTic(is, message))) r = RegisterNode(child, message);
        if (r) {
            delete child;
            break;
        }
        node->SetArg(i, child, -1, 0);
        ++f.slot;
    }
    for (; frames.size() > 1; frames.pop_back()) delete frames.back().node;
    return r;
}

void DovCharString::PutTicNode(std::ostream& os) const {
    DovExpr::PutTicNode(os);
    text_.PutTicCounted(os);
}

char DovCharString::GetTic(std::istream& is, VString& message) {
    if (char r = DovExpr::GetTic(is, message)) return r;
    return text_.GetTicCounted(is, message);
}

char DovMakeEmptyNode(DovOper code, int count, DovExpr*& node, VString&) {
    switch (code) {
        case NULL_NODE: node = new DovNullNode; break;
        case SYMBOL_TABLE_ELT: node = new DovSymTabElt; break;
        case STR_CONST: node = new DovStrConst; break;
        case CHAR_STRING: node = new DovCharString(VString()); break;
        case TOKEN_STRING: node = new DovTokenString; break;
        case INT_NUM_CONST: node = new DovIntNumConst; break;
        case REAL_NUM_CONST: node = new DovRealNumConst; break;
        case NAMED_OBJ_DEF: node = new DovNamedObjDef; break;
        case NAMED_OBJ_USE: node = new DovNamedObjUse; break;
        case NAME_USE: node = new DovNameUse; break;
        default:
            if (count >= 0)
                node = new DovExprOper(code, nullptr, DovOperIsList(code) && count > kEagerSlots ? kEagerSlots : count);
            else
                node = new DovExprOper(code);
            break;
    }
    return TIC_OK;
}
