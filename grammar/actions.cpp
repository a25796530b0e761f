#include "grammar/actions.h"

YYSTYPE DovKeywordNode(DovOper op) { return new DovExprOper(op); }

YYSTYPE DovAbsentNode() { return new DovNullNode; }

YYSTYPE DovListFirst(DovOper op, YYSTYPE item) { return DovListExpr(op, DovN(item)); }

YYSTYPE DovListAppend(DovOper op, YYSTYPE list, YYSTYPE item) {
    return DovListExpr(op, DovN(list), DovN(item));
}

void DovSetSlot(YYSTYPE node, int slot, YYSTYPE child) {
    if (DovExpr* n = DovN(node)) n->SetArg(slot, DovN(child));
}

void DovDeleteExprCell(YYSTYPE* cell) {
    if (!cell) return;
    // A node with a parent belongs to a tree (a user word's value is its
    // symbol-table element): only the cell lets go of it.
    DovExpr* node = DovN(*cell);
    if (node && !node->Parent()) delete node;
    *cell = nullptr;
}
