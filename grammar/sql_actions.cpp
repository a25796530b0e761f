#include "grammar/sql_actions.h"

#include <vector>

#include "lbase/small_stack.h"
#include "lbase/strutil.h"
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

// The source line an EXEC block element begins on (its word's token), or
// -1 when it has no positioned token.
int ElementLine(const DovExpr* element) {
    int line = -1;
    for (const DovToken* t : element->Tokens()) {
        if (!t->Beg().IsSet()) continue;
        line = static_cast<int>(t->Beg().Line());
        if (t->code == PRESERVED_STRING) break;
    }
    return line;
}

// The lexer keeps the line ends inside a block as blanks in front of the
// next word, so SplitExecLines may see no line end at all: the lines are
// rebuilt from the positions. An element that begins on a later source line
// than the one before it starts a new line. Comment lines go to the slot of
// the line they stand before, except on the first line, the rest of the
// line of the subsystem name.
void SplitLinesByPosition(DovExpr* exec) {
    DovExpr* old_lines = exec->Args(1);
    if (!old_lines) return;
    // The elements in order; the tokens of each old line's slot go in front
    // of the next element.
    std::vector<DovExpr*> elements;
    DovTokenList pending;
    for (int l = 0; l < old_lines->NumArgs(); ++l) {
        pending.AppendList(old_lines->ArgSlots(l)->tokens);
        DovExpr* line = old_lines->Args(l);
        for (int e = 0; line && e < line->NumArgs(); ++e) {
            DovExpr* element = line->DelArg(e, 0, 1);
            if (!element) continue;
            element->Tokens().PrependList(pending);
            elements.push_back(element);
        }
        if (line) pending.PrependList(line->Tokens());
    }
    if (!elements.empty())
        elements.back()->Tokens().AppendList(pending);
    else if (DovExpr* subsystem = exec->Args(0))
        subsystem->Tokens().AppendList(pending);
    else
        exec->Tokens().AppendList(pending);

    DovExpr* lines = new DovExprOper(EX_EXEC_LINE_LIST);
    DovExpr* line = nullptr;
    int line_no = -1;
    for (DovExpr* element : elements) {
        const int at = ElementLine(element);
        if (line && at != line_no) {
            lines->AddArg(line);
            line = nullptr;
        }
        if (!line) line_no = at;
        line = DovListExpr(EX_EXEC_TOKEN_LIST, line, element);
    }
    if (line) lines->AddArg(line);
    for (int l = 1; l < lines->NumArgs(); ++l) {
        DovExpr* first = lines->Args(l)->Args(0);
        DovTokenList kept;
        while (DovToken* t = first->Tokens().PopFront()) {
            if (t->code == CM_COMMENT)
                lines->ArgSlots(l)->tokens.AppendToken(t);
            else
                kept.AppendToken(t);
        }
        first->Tokens().AppendList(kept);
    }
    delete exec->DelArg(1, 0, 1);
    exec->SetArg(1, lines);
}

// Whether `token` is the word of the leaf `leaf`: an SQL word or literal
// spelled as the leaf's image.
bool IsWordOf(const DovToken* token, const DovExpr* leaf) {
    switch (token->code) {
        case ST_IDENT: case ST_DELIM_IDENT: case ST_STR_LITER: case ST_EXACT_NUM_LIT: case ST_APPROX_NUM_LIT:
            return DovStrCaseCompare(token->image.CStr(), leaf->Image().CStr()) == 0;
        default:
            return false;
    }
}

// Every leaf under `root` whose word is still the last token of the slot
// that holds it takes that word, and the blanks right before it, in front
// of its own tokens. The walk keeps its own stack: SQL nests without limit.
void GiveLeavesTheirWords(DovExpr* root) {
    DovSmallStack<DovExpr*> waiting;
    waiting.push_back(root);
    while (!waiting.empty()) {
        DovExpr* node = waiting.back();
        waiting.pop_back();
        for (int k = 0; k < node->NumArgs(); ++k) {
            DovExpr* child = node->Args(k);
            if (!child) continue;
            if (child->NumArgs() > 0) {
                waiting.push_back(child);
                continue;
            }
            DovTokenList& slot = node->ArgSlots(k)->tokens;
            if (slot.IsEmpty() || !IsWordOf(slot.Last(), child)) continue;
            DovTokenList word;
            do {
                DovToken* t = slot.PopBack();
                word.PushFront(t);
            } while (!slot.IsEmpty() && slot.Last()->code == SEP_SPACE);
            child->Tokens().PrependList(word);
        }
    }
}

}  // namespace

YYSTYPE DovExecSqlStatement(YYSTYPE statement) {
    if (DovExpr* node = DovN(statement)) GiveLeavesTheirWords(node);
    return DovConstructNode(STMT_EXEC_SQL, statement);
}

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

YYSTYPE DovSqlProcTarget(YYSTYPE& ident) {
    DovExpr* name = DovN(ident);
    DovExpr* use = NameUseFor(name);
    if (name) use->Tokens().AppendList(name->Tokens());
    DovDeleteExprCell(&ident);
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
    SplitLinesByPosition(exec);
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
