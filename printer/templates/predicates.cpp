#include "printer/templates/predicates.h"

#include "tree/expr.h"
#include "tree/qualname.h"

namespace {

// Argument n (from 1) of `node`, or null when absent.
DovExpr* Arg(DovExpr* node, int n) { return node ? DovArgOrNull(node, n - 1) : nullptr; }

bool Is(const DovExpr* e, DovOper op) { return e && e->Oper() == op; }

}  // namespace

int CondDiskDevice(DovExpr* node) { return Is(Arg(node, 2), DEV_DISK_FILE); }

int CondFdCopyAtEnd(DovExpr* node) { return Is(Arg(node, 14), STMT_UNINLINED_COPY); }

int CondDdCopy(DovExpr* node) {
    return Is(Arg(node, 16), STMT_UNINLINED_COPY) || Is(Arg(node, 2), STMT_UNINLINED_COPY);
}

int CondValueRanges(DovExpr* node) {
    DovExpr* ranges = Arg(node, 1);
    return Is(ranges, EX_VALUE_RANGE_LIST) && ranges->NumArgs() > 1;
}

int CondNoName(DovExpr* node) {
    DovExpr* name = node ? DovNamedObjDefForDecl(node) : nullptr;
    return !name || name->Oper() == NULL_NODE;
}

int CondEqualsAtEdge(DovExpr* node) {
    DovExpr* words = Arg(node, 1);
    if (!words || words->Oper() == NULL_NODE || words->NumArgs() == 0) return 0;
    DovExpr* first = Arg(words, 1);
    DovExpr* last = Arg(words, words->NumArgs());
    const bool starts = first && first->Image().Len() > 0 && first->Image().CStr()[0] == '=';
    const bool ends = last && last->Image().Len() > 0 && last->Image().CStr()[last->Image().Len() - 1] == '=';
    return starts || ends;
}

int CondCallMnemonic(DovExpr* node) {
    DovExpr* mnemonic = Arg(node, 1);
    return mnemonic && mnemonic->Oper() != NULL_NODE;
}

int CondElseIf(DovExpr* node) {
    DovExpr* stmts = Arg(node, 1);
    return Is(stmts, STMT_LIST) && stmts->NumArgs() == 1 && Is(Arg(stmts, 1), STMT_IF);
}

int CondMoveSources(DovExpr* node) {
    DovExpr* sources = Arg(node, 1);
    return Is(sources, IDENT_LIST) && sources->NumArgs() > 1;
}

int CondNoClauses(DovExpr* node) {
    if (!node) return 0;
    for (int n = 1; n <= node->NumArgs(); ++n)
        if (DovExpr* arg = Arg(node, n); arg && arg->Oper() != NULL_NODE) return 0;
    return 1;
}

int CondExecLines(DovExpr* node) {
    DovExpr* lines = Arg(node, 2);
    return lines && lines->Oper() != NULL_NODE && lines->Oper() == EX_EXEC_LINE_LIST && lines->NumArgs() > 1;
}
