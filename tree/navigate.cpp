// Finding a node's place, moving between siblings, removing and replacing
// nodes, joining lists and searching up and down the tree.
#include <ostream>

#include "lbase/small_stack.h"
#include "tree/expr.h"
#include "tree/walk.h"

namespace {

DovExpr* NoParent(const DovExpr* node, const char* label) {
    DovExprReport(node, MSG_SEVERE, label, "no parent");
    return nullptr;
}

}  // namespace

int DovExpr::FindMe(DovExpr** parent) const {
    if (parent) *parent = parent_;
    if (!parent_) return -1;
    int i = parent_->FindArg(this);
    if (i >= 0) return i;
    DovExprReport(this, MSG_SEVERE, "DovExpr::FindMe", "expr tree corrupted: cannot find me among children of my parent");
    return -2;
}

DovArgSlot* DovExpr::FindMySlot() const {
    if (!parent_) return nullptr;
    int i = parent_->FindArg(this);
    if (i >= 0) return parent_->ArgSlots(i);
    DovExprReport(this, MSG_SEVERE, "DovExpr::FindMySlot",
                  "expr tree corrupted: cannot find me among children of my parent");
    return nullptr;
}

DovExpr* DovExpr::NextSib() const {
    int i = FindMe(nullptr);
    if (i < 0) return NoParent(this, "DovExpr::NextSib");
    if (i + 1 < parent_->NumArgs()) return parent_->Args(i + 1);
    DovExprReport(this, MSG_SEVERE, "DovExpr::NextSib", "no next sibling");
    return nullptr;
}

DovExpr* DovExpr::PrevSib() const {
    int i = FindMe(nullptr);
    if (i < 0) return NoParent(this, "DovExpr::NextSib");
    if (i > 0) return parent_->Args(i - 1);
    DovExprReport(this, MSG_SEVERE, "DovExpr::NextSib", "no previous sibling");
    return nullptr;
}

DovExpr* DovExpr::DelThis() {
    int i = FindMe(nullptr);
    if (i < 0) return NoParent(this, "DovExpr::DelThis");
    return parent_->DelArg(i, -1, 1);
}

DovExpr* DovExpr::ReplThis(DovExpr* other) {
    if (!other) return DelThis();
    int i = FindMe(nullptr);
    if (i < 0) return NoParent(this, "DovExpr::ReplThis");
    DovExpr* parent = parent_;
    DovExpr* old = parent->DelArg(i, 0, 0);
    parent->SetArg(i, other, -1, 0);
    return old;
}

DovArgSlot* DovExpr::SetSlotOrder(int order) {
    int i = FindMe(nullptr);
    if (i < 0) return nullptr;
    DovArgSlot* slot = parent_->ArgSlots(i);
    slot->order = static_cast<std::int16_t>(order);
    return slot;
}

// --- lists -------------------------------------------------------------------

namespace {

bool Absent(const DovExpr* e) { return !e || e->Oper() == NULL_NODE; }

void DropIfNullNode(DovExpr* e) {
    if (e && e->Oper() == NULL_NODE) delete e;
}

}  // namespace

DovExpr* DovListExpr(DovOper op, DovExpr* e1, DovExpr* e2) {
    if (!DovOperIsList(op))
        DovMessageHook(MSG_SEVERE, DovSrcPosnBeg(e1), DovFormat("DovListExpr: oper %s is not a list oper", DovOperName(op)));
    if (Absent(e1) && Absent(e2)) {
        if (e2 != e1) DropIfNullNode(e2);
        return e1;
    }
    if (Absent(e1)) {
        DropIfNullNode(e1);
        return e2->Oper() == op ? e2 : new DovExprOper(op, {e2});
    }
    if (Absent(e2)) {
        DropIfNullNode(e2);
        return e1->Oper() == op ? e1 : new DovExprOper(op, {e1});
    }
    if (e1 == e2) {
        // One node cannot stand in a list twice.
        return e1->Oper() == op ? e1 : new DovExprOper(op, {e1});
    }
    if (e1->Oper() == op && e2->Oper() == op) {
        while (e2->NumArgs() > 0) {
            DovTokenList tokens;
            tokens.AppendList(e2->ArgSlots(0)->tokens);
            DovExpr* child = e2->DelArg(0, 1, 1);
            e1->AddArg(child);
            e1->ArgSlots(e1->NumArgs() - 1)->tokens.AppendList(tokens);
        }
        if (e2->Parent()) e2->DelThis();
        delete e2;
        return e1;
    }
    if (e1->Oper() == op) {
        e1->AddArg(e2);
        return e1;
    }
    if (e2->Oper() == op) {
        e2->InsArg(e1, 0);
        return e2;
    }
    return new DovExprOper(op, {e1, e2});
}

namespace {

// Pre-order, as a walk would: a node's empty slots are filled, then its
// children's subtrees. The operator children wait in a list, the first one
// last, instead of being filled by a call per level.
void FillNullArgsBelow(DovExpr* node) {
    DovSmallStack<DovExpr*> waiting;
    for (;;) {
        const int count = node->NumArgs();
        for (int i = 0; i < count; ++i)
            if (!node->SlotAt(i)->arg) node->SetArg(i, new DovNullNode, -1, 0);
        for (int i = count; i-- > 0;) {
            DovExpr* child = node->SlotAt(i)->arg;
            if (child->NumArgs() > 0) waiting.push_back(child);
        }
        if (waiting.empty()) return;
        node = waiting.back();
        waiting.pop_back();
    }
}

}  // namespace

void DovFillNullArgs(DovExpr*& root) {
    if (!root) {
        root = new DovNullNode;
        return;
    }
    FillNullArgsBelow(root);
}

namespace {

// Result after a node took itself out of its parent: in a list its slot is
// gone, so the walk must look at the same index again.
int RemovedResult(const DovExpr* parent) {
    return parent && DovOperIsList(parent->Oper()) ? DOV_WALK_REMOVED : DOV_WALK_SKIP;
}

}  // namespace

int DovDropNullNodes(DovExpr* root) {
    return WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (n->Oper() != NULL_NODE) return DOV_WALK_DESCEND;
        DovExpr* parent = n->Parent();
        if (!parent) return DOV_WALK_SKIP;
        int r = RemovedResult(parent);
        delete n->DelThis();
        return r;
    });
}

int DovDropNullListArgs(DovExpr* root) {
    return WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (!DovOperIsList(n->Oper())) return DOV_WALK_DESCEND;
        int i = 0;
        while (i < n->NumArgs()) {
            DovExpr* a = n->ArgSlots(i)->arg;
            if (a && a->Oper() != NULL_NODE)
                ++i;
            else
                delete n->DelArg(i, 1, 1);
        }
        if (n->NumArgs() > 0) return DOV_WALK_DESCEND;
        DovExpr* parent = n->Parent();
        if (!parent) return DOV_WALK_SKIP;
        int r = RemovedResult(parent);
        delete n->DelThis();
        return r;
    });
}

int DovSpliceList(DovExpr* node) {
    DovExpr* parent = nullptr;
    int i = node ? node->FindMe(&parent) : -1;
    if (i < 0) return i;
    if (parent->Oper() != node->Oper()) return parent->Oper();
    parent->DelArg(i, -1, 1);
    for (int k = 0; k < node->NumArgs(); ++k) {
        DovExpr* child = node->DelArg(k, 0, 0);
        parent->InsArg(child, i + k);
    }
    delete node;
    return 0;
}

void DovAddComment(DovExpr* node, const VString& text) {
    if (!node) return;
    node->LeadingTokens()->AddNewToken(CM_COMMENT, DovNullPosn, text);
}


// --- searches ----------------------------------------------------------------

namespace {

// The first node of `node`'s subtree in pre-order for which `hit` holds, or
// null; a frame per level of the nodes whose children are being searched.
template <typename Hit>
DovExpr* FindInSubtree(DovExpr* node, Hit hit) {
    if (!node) return nullptr;
    if (hit(node)) return node;
    struct Frame {
        DovExpr* node;
        int slot;
    };
    DovSmallStack<Frame> frames;
    frames.push_back({node, 0});
    while (!frames.empty()) {
        Frame& f = frames.back();
        if (f.slot >= f.node->NumArgs()) {
            frames.pop_back();
            continue;
        }
        DovExpr* child = f.node->SlotAt(f.slot++)->arg;
        if (!child) continue;
        if (hit(child)) return child;
        if (child->NumArgs() > 0) frames.push_back({child, 0});
    }
    return nullptr;
}

}  // namespace

int DovExprContains(const DovExpr* node, const DovExpr* target) {
    return FindInSubtree(const_cast<DovExpr*>(node), [target](const DovExpr* n) { return n == target; }) ? 1 : 0;
}

DovExpr* DovFindOperBelow(DovExpr* node, DovOper op) {
    return FindInSubtree(node, [op](const DovExpr* n) { return n->Oper() == op; });
}

DovExpr* DovExprRoot(DovExpr* node) {
    if (!node) return nullptr;
    while (node->Parent()) node = node->Parent();
    return node;
}

DovExpr* DovEnclosingOper(DovExpr* node, DovOper op) {
    for (; node; node = node->Parent())
        if (node->Oper() == op) return node;
    return nullptr;
}

int DovHasEnclosingOper(DovExpr* node, DovOper op, DovExpr** out) {
    DovExpr* e = DovEnclosingOper(node, op);
    if (out) *out = e;
    return e ? 1 : 0;
}

DovExpr* DovEnclosingList(DovExpr* node) {
    for (; node; node = node->Parent())
        if (DovOperIsList(node->Oper())) return node;
    return nullptr;
}

DovExpr* DovEnclosingEntry(DovExpr* node) {
    for (; node && node->Oper() != COBOL_PROGRAM; node = node->Parent())
        if (DovOperIsEntryOrStatement(node->Oper())) return node;
    return nullptr;
}

DovExpr* DovEnclosingSection(DovExpr* node) {
    for (; node && node->Oper() != COBOL_PROGRAM; node = node->Parent()) {
        switch (node->Oper()) {
            case SECTION_CONFIGURATION:
            case SECTION_INPUT_OUTPUT:
            case SECTION_FILE:
            case SECTION_WORKING_STORAGE:
            case SECTION_LOCAL_STORAGE:
            case SECTION_LINKAGE:
            case SECTION_COMMUNICATION:
            case SECTION_REPORT:
            case SECTION_SCREEN:
            case SECTION_PROC: return node;
            default: break;
        }
    }
    return nullptr;
}

int DovIsLastInSentence(DovExpr* node) {
    for (DovExpr* cur = node; cur && cur->Parent(); cur = cur->Parent()) {
        DovExpr* parent = cur->Parent();
        if (parent->Oper() == SENTENCE) return 1;
        if (DovOperIsList(parent->Oper())) {
            if (parent->NumArgs() == 0 || parent->ArgSlots(parent->NumArgs() - 1)->arg != cur) return 0;
        } else if (parent->Oper() != STMT_IF && parent->Oper() != EX_ELSE) {
            return 0;
        }
    }
    return 0;
}
