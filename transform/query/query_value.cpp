// Value records, the variable list and the value stack of the query
// evaluator, and the query object itself.
#include <iostream>

#include "transform/query/query.h"
#include "tree/leaf.h"

namespace {

// True when `node` lies strictly below `above`.
bool IsBelow(const DovExpr* node, const DovExpr* above) {
    for (const DovExpr* p = node ? node->Parent() : nullptr; p; p = p->Parent())
        if (p == above) return true;
    return false;
}

void ClearRecord(DovQueryValue* v) {
    v->node = nullptr;
    v->owned = 0;
}

}  // namespace

void DovQueryValue::Free() {
    // A node attached to a tree belongs to that tree.
    if (owned && node && !node->Parent()) delete node;
    node = nullptr;
    owned = 0;
    name = VString();
}

void DovQueryVarList::Create(bool variables) {
    Destroy();
    if (!variables) return;
    Append(new DovQueryValue(QV_NODE, "E", nullptr, 0));
    Append(new DovQueryValue(QV_NODE, "ROOT", nullptr, 0));
    Append(new DovQueryValue(QV_NONE, " H", nullptr, 0));
}

int DovQueryVarList::Append(DovQueryValue* value) {
    auto* cell = new DovQueryVarCell{value, nullptr};
    if (!head) {
        head = cell;
        return 0;
    }
    int index = 1;
    DovQueryVarCell* c = head;
    for (; c->next; c = c->next) ++index;
    c->next = cell;
    return index;
}

int DovQueryVarList::Find(const VString& name) const {
    int index = 0;
    for (DovQueryVarCell* c = head; c; c = c->next, ++index)
        if (c->value && c->value->name == name) return index;
    return -1;
}

int DovQueryVarList::Count() const {
    int n = 0;
    for (DovQueryVarCell* c = head; c; c = c->next) ++n;
    return n;
}

DovQueryVarCell* DovQueryVarList::At(int index) const {
    if (index < 0) return nullptr;
    DovQueryVarCell* c = head;
    for (; c && index > 0; --index) c = c->next;
    return c;
}

DovQueryValue* DovQueryVarList::ValueAt(int index) const {
    DovQueryVarCell* c = At(index);
    return c ? c->value : nullptr;
}

DovQueryValue* DovQueryVarList::Top(DovQueryValue** out) const {
    DovQueryValue* v = head ? head->value : nullptr;
    if (out) *out = v;
    return v;
}

void DovQueryVarList::Push(DovQueryValue* value) {
    if (!value) return;
    value->owned = 1;
    head = new DovQueryVarCell{value, head};
}

DovQueryValue* DovQueryVarList::Pop() {
    if (!head) {
        std::cout << "\n!!! POP->Assert!" << std::flush;
        return nullptr;
    }
    DovQueryValue* top = head->value;
    DovQueryValue* out = nullptr;
    if (top) {
        out = new DovQueryValue(top->kind, top->name, top->node, top->owned);
        top->owned = 0;
    }
    Drop();
    return out;
}

int DovQueryVarList::Drop() {
    if (!head) return 0;
    DovQueryVarCell* cell = head;
    head = cell->next;
    delete cell->value;
    delete cell;
    return 1;
}

void DovQueryVarList::Copy(const DovQueryVarList& source) {
    if (&source == this) return;
    Destroy();
    for (DovQueryVarCell* c = source.head; c; c = c->next) {
        DovQueryValue* v = c->value;
        Append(v ? new DovQueryValue(v->kind, v->name, v->node, 0) : nullptr);
    }
}

void DovQueryVarList::Destroy() {
    FreeCells(head);
    head = nullptr;
}

void DovQueryVarList::FreeCells(DovQueryVarCell* cells) {
    while (cells) {
        DovQueryVarCell* next = cells->next;
        delete cells->value;
        delete cells;
        cells = next;
    }
}

void DovQueryVarList::ReplaceNode(const DovExpr* old_node, DovExpr* new_node) {
    if (!old_node) return;
    for (DovQueryVarCell* c = head; c; c = c->next) {
        DovQueryValue* v = c->value;
        if (!v || !v->node) continue;
        if (v->node == old_node) {
            // The old node goes to whoever replaces or deletes it; the
            // record now only refers to a tree node.
            v->node = new_node;
            v->owned = 0;
        } else if (IsBelow(v->node, old_node)) {
            ClearRecord(v);
        }
    }
}

int DovQueryVarList::DeleteVarNode(const VString& name) {
    const int index = Find(name);
    if (index < 0) return 96;
    DovQueryValue* var = ValueAt(index);
    DovExpr* node = var->node;
    if (!node) return 98;
    ReplaceNode(node, nullptr);
    ClearRecord(var);
    DovExpr* parent = node->Parent();
    if (parent && !parent->IsNull()) {
        node->DelThis();
    } else if (parent) {
        return 0;  // held by something that is not a real node: leave it
    }
    delete node;
    if (parent) DovFillNullArgs(parent);
    return 0;
}

int DovQueryVarList::CheckOperands(int oper) {
    DovQueryValue* first = Pop();
    DovQueryValue* second = Pop();
    int ok = 0;
    if (first && second && first->node && second->node) {
        const VString a = first->node->Value();
        const VString b = second->node->Value();
        ok = a == b && (oper == QK_ADD || a == "I");
    }
    if (ok) {
        Push(first);
        first = nullptr;
    }
    delete first;
    delete second;
    return ok;
}

void DovQuerySetHReleasing(DovQueryVarList* vars, DovExpr* node, int kind, int owned) {
    DovQueryValue* h = DovQueryH(vars);
    if (!h) {
        if (owned && node && !node->Parent()) delete node;
        return;
    }
    if (h->node && h->node != node && h->owned && !h->node->Parent()) delete h->node;
    h->node = node;
    h->kind = kind;
    h->owned = owned;
}

void DovQueryResetH(DovQueryVarList* vars) { DovQuerySetH(vars, new DovNullNode, QV_NODE, 1); }

// ---------------------------------------------------------------------------

void DovQuery::Reset() {
    delete chain;
    chain = nullptr;
    delete vars;
    vars = nullptr;
}

int DovQuery::Match(DovExpr* node) {
    if (!chain || !vars || !vars->head || !vars->head->value) return 0;
    // A tree node left in the register by an earlier match may belong to a
    // tree that is gone by now; values the register owns stay.
    if (DovQueryValue* h = DovQueryH(vars); h && h->node && !h->owned) DovQuerySetH(vars, nullptr, QV_NONE, 0);
    DovQueryValue* e = vars->head->value;
    e->node = node;
    return DovQueryChain::Eval(chain, &e->node, vars, 0);
}

int DovQuery::MatchWith(DovQueryVarList* list, int flag) {
    if (!chain || !list || !list->head || !list->head->value) return 0;
    return DovQueryChain::Eval(chain, &list->head->value->node, list, flag);
}

int DovQueryMatchNode(DovExpr* node, DovQuery* query) { return query ? query->Match(node) : 0; }
