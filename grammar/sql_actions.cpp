#include "grammar/sql_actions.h"

#include "parser/error_nodes.h"
#include "parser/token_adapter.h"
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

YYSTYPE DovSqlFirstName(DovGrammarReduction& r, YYSTYPE ident) {
    DovExpr* list = DovN(DovListFirst(SQL_VAR_NAME_LIST, ident));
    if (!list || r.trial || !r.reduce_posn) return list;
    r.ReducePosnNow(list);
    if (DovArgSlot* slot = list->ArgSlots(0)) slot->tokens.AppendList(list->Tokens());
    return list;
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

YYSTYPE DovExecTokenBlock(DovGrammarReduction& r) {
    DovExpr* exec = SplitExecLines(STMT_EXEC);
    if (!exec) return nullptr;
    r.ReducePosnNow(exec);
    DovArgSlot* slot = exec->ArgSlots(0);
    if (!slot) return exec;
    DovTokenList& own = exec->Tokens();
    while (DovToken* token = own.PopFront()) {
        const bool was_exec = token->code == RW_EXEC;
        slot->tokens.AppendToken(token);
        if (was_exec) break;
    }
    return exec;
}

YYSTYPE DovExecSqlError(DovGrammarReduction& r) {
    DovExpr* error = WorkingParser ? GenErrNode(WorkingParser) : nullptr;
    DovExpr* exec = new DovExprOper(STMT_EXEC_SQL, error);
    // No position reduction: the tokens are placed here, around what the
    // error node already holds.
    for (int k = 1; k <= r.len; ++k) {
        YYPOSN& posn = YYPOSNARGR(r, k);
        if (!posn) continue;
        DovTokenList& to = k < r.len ? exec->ArgSlots(0)->tokens : exec->Tokens();
        to.AppendList(*posn);
        delete posn;
        posn = nullptr;
    }
    r.reduce_posn = 0;
    return exec;
}

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
