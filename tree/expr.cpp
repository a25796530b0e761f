#include "tree/expr.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "lbase/fast_ostream.h"
#include "lbase/small_stack.h"
#include "tree/symtab.h"
#include "tree/walk.h"

std::int32_t DovExpr::node_ctr = 0;
DovTreeChangeHookFn DovTreeChangeHook = nullptr;
int DovNullNodeSwitch = 0;
int DovDumpDepth = 0;
int DovDumpVerbosity = 1;
DovPrettyPrintHooks DovPrettyPrint;

namespace {

int g_misuse_guard = 0;
int g_null_arg_guard = 0;

// The printer fields of the nodes that have them: the widths and the column
// register of operator nodes, and printed lengths outside 16 bits.
struct PrinterFields {
    std::vector<int> widths;
    int mark = 0;
    int printed_len = 0;
};
using PrinterFieldTable = std::unordered_map<const DovExpr*, PrinterFields>;

// Never destroyed: nodes may still be deleted while the program's statics go.
PrinterFieldTable& PrinterTable() {
    static PrinterFieldTable* table = new PrinterFieldTable;
    return *table;
}

// Out of line, so that deleting a node that has no entry (nearly all) pays
// a test of its header bit and nothing else.
[[gnu::cold]] void ErasePrinterFields(const DovExpr* node) { PrinterTable().erase(node); }

// The slot of the symbol table of a program or a file; -1 for other nodes.
int SymbolTableSlot(DovOper op) {
    if (op == COBOL_PROGRAM) return kDovProgSymbolTableArg;
    if (op == COBOL_FILE) return kDovFileSymbolTableArg;
    return -1;
}

}  // namespace

void DovTreeChanged(int kind, DovExpr* node, DovExpr* child, int index, const VString& text) {
    if (DovTreeChangeHook) DovTreeChangeHook(kind, node, child, index, text);
}

// --- reports ---------------------------------------------------------------

void DovExprReport(const DovExpr* node, int severity, const char* label, const VString& text) {
    VString msg = DovFormat("%s at expr node %s #%ld with %d args: %s", label,
                            node ? DovOperName(node->Oper()) : "bad-op", node ? static_cast<long>(node->Serial()) : 0L,
                            node ? node->NumArgs() : 0, text.CStr());
    DovMessageHook(severity, node ? DovSrcPosnBeg(const_cast<DovExpr*>(node)) : DovNullPosn, msg);
}

void DovExpr::ReportMisuse(const char* label) const {
    if (g_misuse_guard) {
        DovMessageHook(MSG_SEVERE, DovNullPosn, "Recursive error calls -- cut them");
        return;
    }
    g_misuse_guard = 1;
    DovExprReport(this, MSG_SEVERE, label, "this function must not be called");
    g_misuse_guard = 0;
}

void DovExprSetFlagField(DovExpr* node, int value) {
    if (node) node->SetFlag(value);
}

// --- DovArgSlot --------------------------------------------------------------

DovArgSlot::~DovArgSlot() { delete arg; }

DovArgSlot** DovNewArgSlots(int n) {
    if (n <= 0) return nullptr;
    auto** slots = new DovArgSlot*[static_cast<std::size_t>(n)];
    for (int i = 0; i < n; ++i) slots[i] = new DovArgSlot;
    return slots;
}

// --- DovSlotArray ------------------------------------------------------------

void DovSlotArray::Grow(std::size_t n) {
    std::size_t cap = std::size_t{cap_} * 2;
    if (cap < n) cap = n;
    auto* fresh = static_cast<Ptr*>(DovSmallBlocks::Take(cap * sizeof(Ptr)));
    for (std::size_t i = 0; i < size_; ++i) fresh[i] = data_[i];
    if (data_) DovSmallBlocks::Give(data_, std::size_t{cap_} * sizeof(Ptr));
    data_ = fresh;
    cap_ = static_cast<std::uint32_t>(cap);
}

// --- DovExpr -----------------------------------------------------------------

DovExpr::DovExpr(DovOper op) : oper_(static_cast<std::uint16_t>(op & 0x7ff)), serial_(node_ctr++) {}

DovExpr::DovExpr(const DovExpr& other)
    : oper_(other.oper_),
      flag_(other.flag_),
      printed_len_(other.printed_len_),
      serial_(other.serial_),
      gen_beg_(other.gen_beg_),
      gen_end_(other.gen_end_),
      tokens_(other.tokens_) {
    if (printed_len_ == kPrintedLenInTable) {
        printed_len_ = 0;
        SetPrintedLength(other.PrintedLength());
    }
}

DovExpr::~DovExpr() {
    if (parent_) ForgetParentOnDelete();
    if (has_printer_fields_) ErasePrinterFields(this);
}

void DovExpr::SetPrintedLength(int len) {
    if (len > INT16_MIN && len <= INT16_MAX) {
        printed_len_ = static_cast<std::int16_t>(len);
        return;
    }
    PrinterTable()[this].printed_len = len;
    has_printer_fields_ = 1;
    printed_len_ = kPrintedLenInTable;
}

int DovExpr::PrintedLengthFromTable() const { return PrinterTable().find(this)->second.printed_len; }

void DovExpr::ForgetParentOnDelete() {
    DovExprReport(this, MSG_SEVERE, "DovExpr::~DovExpr", "deleting node that is being pointed to");
    // The parent must not keep a pointer to freed memory.
    int i = parent_->FindArg(this);
    parent_->SlotsChanging();
    if (i >= 0) parent_->ArgSlots(i)->arg = nullptr;
    parent_ = nullptr;
}

void* DovExpr::operator new(std::size_t size) { return DovSmallBlocks::Take(size); }

void DovExpr::operator delete(void* p, std::size_t size) {
    if (!p) return;
#ifndef NDEBUG
    // In debug builds a stale pointer to a freed node reads 0xAA, never
    // plausible data.
    std::memset(p, 0xAA, size);
#endif
    DovSmallBlocks::Give(p, size);
}

void DovExpr::SetOper(DovOper, int, int) { ReportMisuse("SetOper(DovOper)"); }

const VString& DovExpr::Image() const {
    ReportMisuse("Image()");
    return VString::Empty;
}

VString DovExpr::Value() const {
    ReportMisuse("Value()");
    return VString();
}

long long DovExpr::IntValue() const {
    ReportMisuse("IntValue()");
    return -1;
}

char DovExpr::SetImage(const VString&, VString*) {
    ReportMisuse("SetImage()");
    return '!';
}

void DovExpr::SetValue(const VString&) { ReportMisuse("SetValue()"); }
void DovExpr::SetValue(long long) { ReportMisuse("SetValue()"); }

DovExpr* DovExpr::Args(int) const {
    ReportMisuse("Args()");
    return nullptr;
}

DovArgSlot* DovExpr::ArgSlots(int) const {
    ReportMisuse("ArgSlots()");
    return nullptr;
}

void DovExpr::SetArg(int, DovExpr*, int, int) { ReportMisuse("SetArg()"); }
void DovExpr::SetArgNoDel(int, DovExpr*) { ReportMisuse("SetArg()"); }
void DovExpr::SetArg(int, DovArgSlot*) { ReportMisuse("SetArg()"); }
void DovExpr::SetArgToList(int, DovOper, DovExpr*) { ReportMisuse("SetArgToList()"); }
void DovExpr::AddArg(DovExpr*) { ReportMisuse("AddArg()"); }
void DovExpr::InsArg(DovExpr*, int) { ReportMisuse("InsArg()"); }
void DovExpr::InsSibBefore(DovExpr*) { ReportMisuse("InsSibBefore()"); }
void DovExpr::InsSibAfter(DovExpr*) { ReportMisuse("InsSibAfter()"); }

DovExpr* DovExpr::DelArg(int, int, int) {
    ReportMisuse("DelArg()");
    return nullptr;
}

DovArgSlot* DovExpr::DelArgSlot(int, int, int) {
    ReportMisuse("DelArg()");
    return nullptr;
}

int DovExpr::FindArg(const DovExpr*) const {
    ReportMisuse("FindArg()");
    return -1;
}

DovLink& DovExpr::Link(int) {
    ReportMisuse("Link()");
    return DovLink::Null();
}

DovLinkList& DovExpr::Links(int) {
    ReportMisuse("Links()");
    return DovLinkList::Empty();
}

void DovExpr::PrettyPrintOper(int pass) {
    if (DovPrettyPrint.leaf) DovPrettyPrint.leaf(this, pass);
}

// --- DovExprOper -------------------------------------------------------------

void DovExprOper::MakeSlots(int n) {
    slots_.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    for (auto& s : slots_) s = new DovArgSlot;
}

DovExprOper::DovExprOper(DovOper op) : DovExpr(op) {
    has_slots_ = 1;
    int count = DovOperIsList(op) ? 0 : DovOperArgCount(op);
    MakeSlots(count);
    // Storing "no child" in a new empty slot only tells the change hook or
    // puts a NULL_NODE there; without either it changes nothing.
    if (!DovTreeChangeHook && !DovNullNodeSwitch) return;
    for (int i = 0; i < count; ++i) SetArg(i, nullptr, -1, 0);
}

DovExprOper::DovExprOper(DovOper op, std::initializer_list<DovExpr*> args) : DovExpr(op) {
    has_slots_ = 1;
    int given = static_cast<int>(args.size());
    int count = DovOperArgCount(op);
    bool positional = !DovOperIsList(op);
    // A positional node always gets every slot of its operation; fewer
    // children leave the rest empty.
    int n = (positional && count > given) ? count : given;
    MakeSlots(n);
    // A new node is above no other node, so a child without a parent goes
    // straight into its empty slot; only the change hook, the null-node
    // switch and a child that has a parent need SetArg.
    const bool plain = !DovTreeChangeHook && !DovNullNodeSwitch;
    int i = 0;
    for (DovExpr* a : args) {
        if (plain && (!a || !a->parent_)) {
            slots_[static_cast<std::size_t>(i)]->arg = a;
            if (a) a->parent_ = this;
        } else {
            SetArg(i, a, -1, 0);
        }
        ++i;
    }
    if (DovTreeChangeHook || DovNullNodeSwitch)
        for (; i < n; ++i) SetArg(i, nullptr, -1, 0);
    if (positional && given > count) Report(MSG_SEVERE, "DovExprOper::DovExprOper", DovFormat("bad arg_no, must be %d", count));
}

DovExprOper::DovExprOper(DovOper op, DovExpr** args, int n) : DovExpr(op) {
    has_slots_ = 1;
    MakeSlots(n);
    if (args)
        for (int i = 0; i < n; ++i) SetArgNoDel(i, args[i]);
    int count = DovOperArgCount(op);
    if (!DovOperIsList(op) && count != n)
        Report(MSG_SEVERE, "DovExprOper::DovExprOper", DovFormat("bad arg_no, must be %d", count));
}

DovExprOper::DovExprOper(const DovExprOper& other) : DovExpr(other) {
    has_slots_ = 1;
    // A copy has the widths of the original, not its column register.
    if (other.has_printer_fields_) SetSubdivs(other.Subdivs(), other.SubdivCount());
    slots_.resize(other.slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const DovArgSlot* from = other.slots_[i];
        auto* s = new DovArgSlot;
        s->tokens.Assign(from->tokens);
        s->code = from->code;
        s->order = from->order;
        slots_[i] = s;
    }
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const DovExpr* child = other.slots_[i]->arg;
        int ix = static_cast<int>(i);
        if (!child && DovNullNodeSwitch) other.Report(MSG_SEVERE, "DovExprOper::Args", DovFormat("arg #%d is NULL.", ix));
        SetArgNoDel(ix, child ? child->Copy() : nullptr);
    }
}

namespace {

// How deep a deletion calls itself: a node this many levels below the node
// being deleted hands its operator children to the outermost deletion, which
// deletes each in turn once the levels above are gone. A tree of any depth
// is deleted without more calls on the machine stack than this.
constexpr int kDeleteDepth = 64;

// The operator nodes that wait for the outermost deletion, the next one
// last, and the level below it at which the deletion now is; null and 0
// while no deletion runs.
DovSmallStack<DovExpr*>* g_waiting = nullptr;
int g_delete_level = 0;

}  // namespace

inline __attribute__((always_inline)) void DovExprOper::DeleteSlots() {
    // A program or a file deletes its symbol table first (its elements are
    // leaves): each element then cuts all its references at once, where
    // otherwise every name use and definition would search its element's
    // list for itself.
    const int table = SymbolTableSlot(Oper());
    if (table >= 0 && static_cast<std::size_t>(table) < slots_.size()) {
        DovArgSlot* s = slots_[static_cast<std::size_t>(table)];
        if (s && s->arg) {
            s->arg->parent_ = nullptr;
            delete s->arg;
            s->arg = nullptr;
        }
    }
    if (g_delete_level < kDeleteDepth) {
        ++g_delete_level;
        for (DovArgSlot* s : slots_) {
            if (!s) continue;
            if (s->arg) s->arg->parent_ = nullptr;
            delete s;
        }
        --g_delete_level;
    } else {
        // Deep enough: the operator children wait, the first one next.
        for (std::size_t i = slots_.size(); i-- > 0;) {
            DovArgSlot* s = slots_[i];
            if (!s) continue;
            if (DovExpr* child = s->arg; child && child->NumArgs() > 0) {
                child->parent_ = nullptr;
                s->arg = nullptr;
                g_waiting->push_back(child);
            } else if (child) {
                child->parent_ = nullptr;
            }
            delete s;
        }
    }
    slots_.clear();
}

void DovExprOper::DeleteTree() {
    DovSmallStack<DovExpr*> waiting;
    g_waiting = &waiting;
    DeleteSlots();
    while (!waiting.empty()) {
        DovExpr* node = waiting.back();
        waiting.pop_back();
        g_delete_level = 0;
        delete node;
    }
    g_delete_level = 0;
    g_waiting = nullptr;
}

DovExprOper::~DovExprOper() {
    if (parent_) ForgetParentOnDelete();
    if (has_name_index_) DovNameIndexSlotsChanging(this, true);
    if (g_waiting)
        DeleteSlots();
    else if (slots_.size() != 0)
        DeleteTree();
}

// --- printer fields -----------------------------------------------------------

int DovExprOper::SubdivCount() const {
    if (!has_printer_fields_) return 0;
    return static_cast<int>(PrinterTable().find(this)->second.widths.size());
}

const int* DovExprOper::Subdivs() const {
    if (!has_printer_fields_) return nullptr;
    const std::vector<int>& widths = PrinterTable().find(this)->second.widths;
    return widths.empty() ? nullptr : widths.data();
}

int DovExprOper::SubdivWidth(int i) const {
    if (!has_printer_fields_ || i < 0) return 0;
    const std::vector<int>& widths = PrinterTable().find(this)->second.widths;
    return static_cast<std::size_t>(i) < widths.size() ? widths[static_cast<std::size_t>(i)] : 0;
}

void DovExprOper::SetSubdivs(const int* widths, int count) {
    if (!has_printer_fields_ && (count <= 0 || !widths)) return;
    PrinterFields& fields = PrinterTable()[this];
    has_printer_fields_ = 1;
    if (count > 0 && widths)
        fields.widths.assign(widths, widths + count);
    else
        fields.widths.clear();
}

int DovExprOper::PrinterMark() const {
    return has_printer_fields_ ? PrinterTable().find(this)->second.mark : 0;
}

void DovExprOper::SetPrinterMark(int column) {
    if (!has_printer_fields_ && column == 0) return;
    PrinterTable()[this].mark = column;
    has_printer_fields_ = 1;
}

void DovExprOper::Report(int severity, const char* label, const VString& text) const {
    DovExprReport(this, severity, label, text);
}

DovExpr* DovExprOper::Args(int i) const {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::Args", DovFormat("arg #%d is not available.", i));
        return nullptr;
    }
    DovExpr* a = slots_[static_cast<std::size_t>(i)]->arg;
    if (!a && DovNullNodeSwitch && !g_null_arg_guard) {
        g_null_arg_guard = 1;
        Report(MSG_SEVERE, "DovExprOper::Args", DovFormat("arg #%d is NULL.", i));
        g_null_arg_guard = 0;
    }
    return a;
}

DovArgSlot* DovExprOper::ArgSlots(int i) const {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::Args", DovFormat("arg #%d is not available.", i));
        return nullptr;
    }
    return slots_[static_cast<std::size_t>(i)];
}

int DovExprOper::FindArg(const DovExpr* node) const {
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i]->arg == node) return static_cast<int>(i);
    return -1;
}

bool DovExprOper::RefuseCycle(const DovExpr* node, const char* label) const {
    // A node without arguments is above no other node: only storing it in
    // itself would make a cycle.
    if (node && node != this && node->NumArgs() == 0) return false;
    for (const DovExpr* p = this; p; p = p->parent_) {
        if (p == node) {
            Report(MSG_SEVERE, label,
                   DovFormat("attaching node %s to itself or into its own subtree.", DovOperName(node->Oper())));
            return true;
        }
    }
    return false;
}

bool DovExprOper::PrepareToAttach(DovExpr* node, const char* label) {
    if (!node) return true;
    if (RefuseCycle(node, label)) return false;
    if (node->parent_) {
        Report(MSG_SEVERE, label, DovFormat("attaching node %s that has non-null parent.", DovOperName(node->Oper())));
        // Take it out of its old place, which becomes empty: a node has one
        // owner at a time.
        DovExpr* old = node->parent_;
        int j = old->FindArg(node);
        if (j >= 0)
            old->DelArg(j, 0, 0);
        else
            node->parent_ = nullptr;
    }
    return true;
}

void DovExprOper::SetArg(int i, DovExpr* node, int order, int code) {
    if (i < 0 || i >= NumArgs()) {
        if (node && node->parent_)
            Report(MSG_SEVERE, "DovExprOper::SetArg",
                   DovFormat("attaching node %s that has non-null parent.", DovOperName(node->Oper())));
        Report(MSG_SEVERE, "DovExprOper::SetArg", DovFormat("arg #%d is not available.", i));
        return;
    }
    DovArgSlot* s = slots_[static_cast<std::size_t>(i)];
    if (!node || node != s->arg) {
        // A leaf without a parent (a new null node, a token's node) can make
        // no cycle and belongs to no other node: nothing to prepare.
        const bool free_leaf = !node || (!node->parent_ && node->NumArgs() == 0);
        if (!free_leaf && !PrepareToAttach(node, "DovExprOper::SetArg")) return;
        SlotsChanging();
        // Taking the child out of an empty slot only tells the change hook.
        if (s->arg || DovTreeChangeHook) delete DelArg(i, 0, 0);
        if (!node && DovNullNodeSwitch) node = new DovNullNode;
        if (DovTreeChangeHook) DovTreeChanged(DOV_CHANGE_STORE_CHILD, this, node, i);
        s->arg = node;
        if (node) node->parent_ = this;
    }
    if (order >= 0) s->order = static_cast<std::int16_t>(order);
    if (code != 0) s->code = static_cast<std::int16_t>(code);
}

void DovExprOper::SetArgNoDel(int i, DovExpr* node) {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::SetArgNoDel", DovFormat("arg #%d is not available.", i));
        return;
    }
    DovArgSlot* s = slots_[static_cast<std::size_t>(i)];
    if (node && node == s->arg) return;
    if (!PrepareToAttach(node, "DovExprOper::SetArgNoDel")) return;
    SlotsChanging();
    // The old child now belongs to the caller: it no longer has a parent here.
    if (s->arg && s->arg->parent_ == this) s->arg->parent_ = nullptr;
    if (!node && DovNullNodeSwitch) node = new DovNullNode;
    DovTreeChanged(DOV_CHANGE_STORE_CHILD, this, node, i);
    s->arg = node;
    if (node) node->parent_ = this;
}

void DovExprOper::SetArg(int i, DovArgSlot* slot) {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::SetArg", DovFormat("arg #%d is not available.", i));
        return;
    }
    if (!slot || slot == slots_[static_cast<std::size_t>(i)]) return;
    for (const DovArgSlot* s : slots_) {
        if (s == slot) {
            Report(MSG_SEVERE, "DovExprOper::SetArg", "slot record is already held by this node");
            return;
        }
    }
    SlotsChanging();
    if (slot->arg && slot->arg == slots_[static_cast<std::size_t>(i)]->arg) {
        // The record takes over the child that the slot holds already.
        slots_[static_cast<std::size_t>(i)]->arg = nullptr;
        slot->arg->parent_ = nullptr;
    }
    if (!PrepareToAttach(slot->arg, "DovExprOper::SetArg")) return;
    if (!slot->arg && DovNullNodeSwitch) slot->arg = new DovNullNode;
    delete DelArg(i, 0, 0);
    delete slots_[static_cast<std::size_t>(i)];
    DovTreeChanged(DOV_CHANGE_STORE_CHILD, this, slot->arg, i);
    slots_[static_cast<std::size_t>(i)] = slot;
    if (slot->arg) slot->arg->parent_ = this;
}

void DovExprOper::SetArgToList(int i, DovOper list_op, DovExpr* node) {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::SetArg", DovFormat("arg #%d is not available.", i));
        return;
    }
    if (RefuseCycle(node, "DovExprOper::SetArgToList")) return;
    DovExpr* old = DelArg(i, 0, 1);
    SetArg(i, DovListExpr(list_op, old, node), -1, 0);
}

void DovExprOper::InsArg(DovExpr* node, int pos) {
    if (pos < 0 || pos > NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::InsArg", DovFormat("arg #%d is not available.", pos));
        return;
    }
    if (!PrepareToAttach(node, "DovExprOper::InsArg")) return;
    SlotsChanging();
    DovTreeChanged(DOV_CHANGE_INSERT_SLOT, this, nullptr, pos);
    slots_.insert(slots_.begin() + pos, new DovArgSlot);
    SetArgNoDel(pos, node);
}

void DovExprOper::AddArg(DovExpr* node) { InsArg(node, NumArgs()); }

void DovExprOper::InsSib(DovExpr* node, int after, const char* label) {
    DovExpr* parent = nullptr;
    int p = FindMe(&parent);
    if (!parent) {
        Report(MSG_SEVERE, label, "no parent");
        return;
    }
    // A parent that does not hold this node gives p = -2: the position is
    // then negative either way, and InsArg refuses it with its own report.
    if (p < 0) Report(MSG_SEVERE, label, "no parent");
    parent->InsArg(node, p + after);
}

void DovExprOper::InsSibBefore(DovExpr* node) { InsSib(node, 0, "DovExprOper::InsSibBefore"); }
void DovExprOper::InsSibAfter(DovExpr* node) { InsSib(node, 1, "DovExprOper::InsSibAfter"); }

DovExpr* DovExprOper::DelArg(int i, int remove, int fill) {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::DelArg", DovFormat("arg #%d is not available.", i));
        return nullptr;
    }
    if (remove < 0) remove = DovOperIsList(Oper());
    SlotsChanging();
    DovArgSlot* s = slots_[static_cast<std::size_t>(i)];
    DovExpr* child = s->arg;
    DovTreeChanged(DOV_CHANGE_DETACH_CHILD, this, child, i);
    if (remove) {
        DovTreeChanged(DOV_CHANGE_REMOVE_SLOT, this, nullptr, i);
        s->arg = nullptr;
        delete s;
        slots_.erase(slots_.begin() + i);
    } else if (fill && DovNullNodeSwitch) {
        s->arg = new DovNullNode;
        s->arg->parent_ = this;
    } else {
        s->arg = nullptr;
    }
    if (child) child->parent_ = nullptr;
    return child;
}

DovArgSlot* DovExprOper::DelArgSlot(int i, int remove, int fill) {
    if (i < 0 || i >= NumArgs()) {
        Report(MSG_SEVERE, "DovExprOper::DelArgSlot", DovFormat("arg #%d is not available.", i));
        return nullptr;
    }
    if (remove < 0) remove = DovOperIsList(Oper());
    SlotsChanging();
    DovArgSlot* s = slots_[static_cast<std::size_t>(i)];
    if (remove) {
        slots_.erase(slots_.begin() + i);
    } else {
        // The place is never left without a record.
        auto* fresh = new DovArgSlot;
        if (fill && DovNullNodeSwitch) {
            fresh->arg = new DovNullNode;
            fresh->arg->parent_ = this;
        }
        slots_[static_cast<std::size_t>(i)] = fresh;
    }
    if (s->arg) s->arg->parent_ = nullptr;
    return s;
}

void DovExprOper::SetOper(DovOper op, int reset, int shrink) {
    int new_count = DovOperArgCount(op);
    bool new_list = DovOperIsList(op) != 0;
    bool old_list = DovOperIsList(Oper()) != 0;
    if (new_list != old_list)
        Report(MSG_SEVERE, "DovExprOper::SetOper",
               DovFormat("setting to %s: changing the List/Positional kind of oper", DovOperName(op)));
    if (!new_list && new_count >= 0 && NumArgs() != new_count) {
        if (shrink && new_count < NumArgs()) {
            for (int i = new_count; i < NumArgs(); ++i) {
                DovExpr* a = slots_[static_cast<std::size_t>(i)]->arg;
                if (a && a->Oper() != NULL_NODE)
                    Report(MSG_SEVERE, "DovExprOper::SetOper",
                           DovFormat("shrinking oper to %s: arg #%d is not NULL", DovOperName(op), i));
            }
            SlotsChanging();
            while (NumArgs() > new_count) {
                DovArgSlot* s = slots_.back();
                slots_.pop_back();
                if (s->arg) s->arg->parent_ = nullptr;
                delete s;
            }
        } else if (shrink) {
            Report(MSG_SEVERE, "DovExprOper::SetOper", "Growing nodes not allowed");
        } else {
            Report(MSG_SEVERE, "DovExprOper::SetOper",
                   DovFormat("setting oper to %s: new arg_no %d is not equal to old arg_no", DovOperName(op),
                             new_count));
        }
    }
    oper_ = static_cast<std::uint16_t>(op & 0x7ff);
    if (reset) {
        DovTreeChanged(DOV_CHANGE_DONE, this, nullptr, 0);
        DovResetFromSrc(this);
    }
}

void DovExprOper::PrettyPrintOper(int pass) {
    if (DovPrettyPrint.oper) DovPrettyPrint.oper(this, pass);
}

// --- leaves ----------------------------------------------------------------

char DovCharString::SetImage(const VString& image, VString*) {
    DovTreeChanged(DOV_CHANGE_TEXT, this, nullptr, 0, image);
    text_ = image;
    DovTreeChanged(DOV_CHANGE_DONE, this, nullptr, 0);
    DovResetFromSrcWalk(this);
    return 0;
}

void DovCharString::SetValue(const VString& value) {
    DovTreeChanged(DOV_CHANGE_TEXT, this, nullptr, 0, value);
    text_ = value;
}
