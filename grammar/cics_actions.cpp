#include "grammar/cics_actions.h"

#include "parser/error_nodes.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

// The pending syntax-error node that collects what recovery skips after an
// error option (and what it pops in an error it does not report), with the
// serial of the source root it belongs to, so that a node of an earlier
// parse is never touched. It stays the parser's pending node: an error
// reported later replaces it, the next error alternative takes it, the end
// of the parse frees it.
DovExpr* skipped_node = nullptr;
std::int32_t skipped_root = -1;

std::int32_t RootSerial() {
    DovParserImpl* p = WorkingParser;
    return p && p->root ? p->root->Serial() : -1;
}

// Moves the tokens the pending node collected since the error option to the
// holder's gathered tokens, so that they reach the statement. A node the
// parser no longer holds as pending was taken or freed by others.
void TakeSkippedTokens() {
    DovParserImpl* p = WorkingParser;
    DovExpr* node = skipped_node;
    if (!node || !p || skipped_root != RootSerial() || p->errNode != node || node->Parent()) {
        skipped_node = nullptr;
        return;
    }
    DovGatherTokens(node, &CicsHolder.gathered);
    // The node stays pending: the items that held the tokens go, so that
    // the next error's skipped tokens are ordered against tokens it holds,
    // not against empty items.
    if (DovExpr* list = DovArgOrNull(node, 0); list && list->Oper() == EX_EXEC_TOKEN_LIST) {
        while (list->NumArgs() > 0) {
            DovExpr* item = list->DelArg(list->NumArgs() - 1, 1, 0);
            if (item) p->ForgetNodesWithin(item);
            delete item;
        }
    }
}

// The value of an error alternative that has no sync token of its own: the
// pending syntax-error node, which stays pending, so that what recovery
// discards after the reduction (up to the next option or END-EXEC) goes to
// it. No position reduction (the error token has none).
DovExpr* ErrorValue(DovGrammarReduction& r) { return DovPendingErrorValue(r); }

}  // namespace

// ---- Command heads -------------------------------------------------------------

YYSTYPE DovCicsCommand(DovOper op, YYSTYPE marker) {
    DovExpr* statement = new DovExprOper(op);
    statement->SetArg(0, DovN(marker), -1, 0);
    return statement;
}

// ---- The statement frame ----------------------------------------------------------

void DovCicsStart(DovGrammarReduction& r, YYSTYPE statement) {
    CicsHolder.Start(DovN(statement));
    DovHolderStarted(r, CicsHolder);
}

YYSTYPE DovCicsFinishCommand(DovGrammarReduction& r) {
    TakeSkippedTokens();
    skipped_node = nullptr;
    DovExpr* statement = CicsHolder.Finish();
    r.ReducePosnNow(statement);
    if (statement && statement->NumArgs() > 0) statement->ArgSlots(0)->tokens.AppendList(statement->Tokens());
    return statement;
}

void DovCicsItem(DovOper listOp, YYSTYPE item) { CicsHolder.AddToList(1, listOp, DovN(item)); }

YYSTYPE DovCicsFinishItems() {
    if (CicsHolder.current && !CicsHolder.current->Args(1)) CicsHolder.SetClause(1, new DovNullNode);
    return CicsHolder.Finish();
}

YYSTYPE DovCicsErrorStatement(DovGrammarReduction& r) {
    TakeSkippedTokens();
    skipped_node = nullptr;
    // A statement the holder still collects lost its place in the tree:
    // what it gathered goes with the error node.
    DovExpr* node = ErrorValue(r);
    DovExpr* unfinished = CicsHolder.current ? CicsHolder.Finish() : nullptr;
    if (unfinished) {
        if (DovParserImpl* p = WorkingParser) p->ForgetNodesWithin(unfinished);
        if (node) DovGatherTokens(unfinished, &node->Tokens());
        delete unfinished;
    } else if (node) {
        node->Tokens().AppendList(CicsHolder.gathered);
    }
    DovCicsWordSwitches(1);
    return node;
}

// ---- Switches ------------------------------------------------------------------------

void DovCicsWordSwitches(int on) {
    DovParserImpl* p = WorkingParser;
    if (!p) return;
    p->lexer.reservedCheck = on;
    p->nameClassification = on;
}

// ---- Options -------------------------------------------------------------------------

YYSTYPE DovCicsOption(DovGrammarReduction& r, DovOper op, YYSTYPE argument) {
    DovExpr* option = new DovExprOper(op, DovN(argument));
    r.ReducePosnNow(option);
    CicsHolder.AddOption(option);
    return option;
}

YYSTYPE DovCicsBareOption(DovGrammarReduction& r, DovOper op) {
    DovExpr* option = new DovExprOper(op);
    r.ReducePosnNow(option);
    CicsHolder.AddOption(option);
    return option;
}

YYSTYPE DovCicsErrorOption(DovGrammarReduction& r) {
    TakeSkippedTokens();
    skipped_node = nullptr;
    DovExpr* node = ErrorValue(r);
    CicsHolder.AddOption(node);
    // The error node was refused and freed; what recovery skips from here
    // on goes to a fresh pending node, which the statement empties later.
    DeleteErrPosn(nullptr, -1);
    if (DovParserImpl* p = WorkingParser) {
        skipped_node = p->errNode;
        skipped_root = RootSerial();
    }
    return nullptr;
}

// ---- Arguments, handlers and condition names -------------------------------------

YYSTYPE DovCicsAddressOf(YYSTYPE identifier) { return DovConstructNode(SR_ADDRESS_OF, identifier); }

YYSTYPE DovCicsLengthOf(YYSTYPE identifier) { return DovConstructNode(SR_LENGTH_OF, identifier); }

YYSTYPE DovCicsAssignGroup(YYSTYPE word, YYSTYPE reference) {
    return DovConstructNode(CS_GRP_ASSIGN, word, reference);
}

YYSTYPE DovCicsHandler(YYSTYPE name, YYSTYPE procedure) {
    return DovConstructNode(CS_GRP_CONDITION_HANDLER, name, procedure);
}

YYSTYPE DovCicsConditionWord(const char* text) { return new DovCharString(VString(text)); }

YYSTYPE DovCicsConditionUserWord(YYSTYPE word) {
    DovExpr* node = DovN(word);
    YYSTYPE name = new DovCharString(node ? node->Value() : VString());
    // A symbol-table element belongs to the table; any other value is ours.
    if (node && node->Oper() != SYMBOL_TABLE_ELT) DovDeleteExprCell(&word);
    return name;
}
