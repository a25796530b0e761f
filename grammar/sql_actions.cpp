#include "grammar/sql_actions.h"

#include "parser/error_nodes.h"
#include "parser/parser_impl.h"
#include "tree/named.h"
#include "tree/qualname.h"
#include "tree/symtab.h"

namespace {

// The current program's symbol table, or null outside a program.
DovExpr* CurrentSymTab() { return WorkingParser ? WorkingParser->currentSymTab : nullptr; }

// A NAME_USE of the element named like `ident` in the current program's
// symbol table (added when absent); unlinked when no program is open.
DovExpr* NameUseFor(DovExpr* ident) {
    DovExpr* table = CurrentSymTab();
    if (!table || !ident) return new DovNameUse(DovLink());
    return new DovNameUse(DovLink(SymTabFindOrAdd(table, ident->Image()), -1));
}

}  // namespace

YYSTYPE DovSqlHostVarRef(YYSTYPE names) {
    DovExpr* list = DovN(names);
    if (!list) return nullptr;
    for (int i = 0; i < list->NumArgs(); ++i) {
        DovExpr* ident = list->Args(i);
        DovExpr* use = NameUseFor(ident);
        if (ident) {
            use->Tokens().AppendList(ident->Tokens());
            delete ident->ReplThis(use);
        } else {
            list->SetArg(i, use);
        }
    }
    return new DovExprOper(SQL_HOST_VAR_REF, DovMakeNamedObjUse(list, NC_DATA_NAME, 0));
}

YYSTYPE DovSqlProcTarget(YYSTYPE ident) {
    DovExpr* name = DovN(ident);
    DovExpr* use = NameUseFor(name);
    if (name) use->Tokens().AppendList(name->Tokens());
    delete name;
    return DovMakeNamedObjUse(DovListExpr(OF_IN_LIST, use), NC_PROC_NAME, 0);
}

YYSTYPE DovSqlCompare(YYSTYPE left, YYSTYPE op, YYSTYPE right) {
    return new DovExprOper(static_cast<DovOper>(DovValueToInt(op)), DovN(left), DovN(right));
}

YYSTYPE DovSqlValuesRow(YYSTYPE row) {
    DovExpr* value = DovN(row);
    if (!value || value->Oper() == SQL_ROW_CONSTRUCTOR) return value;
    return new DovExprOper(SQL_ROW_CONSTRUCTOR, DovListExpr(SQL_EXPR_LIST, value));
}

void DovExecHeadToSubsys(YYSTYPE node) {
    DovExpr* exec = DovN(node);
    if (!exec) return;
    DovArgSlot* slot = exec->ArgSlots(0);
    if (!slot) return;
    DovTokenList& own = exec->Tokens();
    while (DovToken* token = own.PopFront()) {
        const bool was_exec = token->code == RW_EXEC;
        slot->tokens.AppendToken(token);
        if (was_exec) break;
    }
}

YYSTYPE DovExecErrNode() { return WorkingParser ? GenErrNode(WorkingParser) : nullptr; }

YYSTYPE DovExecInDataDivision(YYSTYPE node) {
    DovExpr* exec = DovN(node);
    if (!exec) return node;
    if (exec->Oper() == STMT_EXEC) exec->SetOper(STMT_EXEC_IN_DCL, 0, 0);
    else if (exec->Oper() == STMT_EXEC_SQL) exec->SetOper(STMT_EXEC_SQL_IN_DCL, 0, 0);
    return exec;
}

YYSTYPE DovExecBlockWord(YYSTYPE block, YYSTYPE* word) {
    if (word && DovN(*word) && DovN(*word)->Oper() != SYMBOL_TABLE_ELT) DovDeleteExprCell(word);
    return block;
}
