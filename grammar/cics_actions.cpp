#include "grammar/cics_actions.h"

#include "parser/error_nodes.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

// The syntax-error node that collects what recovery skips after an error
// option, until the statement takes those tokens; with the serial of the
// source root it belongs to, so that a node of an earlier parse (freed with
// that parse) is never touched.
DovExpr* skipped_node = nullptr;
std::int32_t skipped_root = -1;

std::int32_t RootSerial() {
    DovParserImpl* p = WorkingParser;
    return p && p->root ? p->root->Serial() : -1;
}

// Moves the tokens recovery skipped after an error option to the holder's
// gathered tokens (so that they reach the statement) and frees their node.
void TakeSkippedTokens() {
    DovExpr* node = skipped_node;
    skipped_node = nullptr;
    if (!node || skipped_root != RootSerial()) return;
    DovParserImpl* p = WorkingParser;
    // Taken over by another error alternative: it is that one's now.
    if (node->Parent()) return;
    if (p && p->errNode == node) p->errNode = nullptr;
    if (p) p->ForgetNodesWithin(node);
    DovGatherTokens(node, &CicsHolder.gathered);
    delete node;
}

}  // namespace

// ---- Command heads -------------------------------------------------------------

YYSTYPE DovCicsCommand(DovOper op, YYSTYPE marker) {
    TakeSkippedTokens();
    DovExpr* statement = new DovExprOper(op);
    statement->SetArg(0, DovN(marker), -1, 0);
    return statement;
}

YYSTYPE DovCicsLeadCommand(DovOper op, YYSTYPE* marker) {
    TakeSkippedTokens();
    DovDeleteExprCell(marker);
    return new DovExprOper(op);
}

// ---- The statement frame ----------------------------------------------------------

void DovCicsStart(YYSTYPE statement) { CicsHolder.Start(DovN(statement)); }

YYSTYPE DovCicsFinishCommand(DovGrammarReduction& r) {
    TakeSkippedTokens();
    DovExpr* statement = CicsHolder.Finish();
    r.ReducePosnNow(statement);
    if (statement && statement->NumArgs() > 0) statement->ArgSlots(0)->tokens.AppendList(statement->Tokens());
    return statement;
}

YYSTYPE DovCicsAssign(YYSTYPE marker, YYSTYPE list) {
    CicsHolder.Start(new DovExprOper(CS_STMT_ASSIGN));
    CicsHolder.SetClause(0, DovN(marker));
    CicsHolder.SetClause(1, DovN(list));
    return CicsHolder.Finish();
}

YYSTYPE DovCicsHandle(DovOper op, YYSTYPE marker, YYSTYPE list) {
    CicsHolder.Start(new DovExprOper(op));
    CicsHolder.SetClause(0, DovN(marker));
    CicsHolder.SetClause(1, DovN(list));
    return CicsHolder.Finish();
}

YYSTYPE DovCicsErrorStatement(DovGrammarReduction& r) {
    TakeSkippedTokens();
    // A statement the holder still collects lost its place in the tree:
    // what it gathered goes with the error node.
    DovExpr* node = DovN(DovErrorValue(r));
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
    TakeSkippedTokens();
    DovExpr* option = new DovExprOper(op, DovN(argument));
    r.ReducePosnNow(option);
    CicsHolder.AddOption(option);
    return option;
}

YYSTYPE DovCicsBareOption(DovGrammarReduction& r, DovOper op) {
    TakeSkippedTokens();
    DovExpr* option = new DovExprOper(op);
    r.ReducePosnNow(option);
    CicsHolder.AddOption(option);
    return option;
}

YYSTYPE DovCicsErrorOption(DovGrammarReduction& r) {
    TakeSkippedTokens();
    DovExpr* node = DovN(DovErrorValue(r));
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
