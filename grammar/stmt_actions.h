// Node services of the statement families (stmt_control.y, stmt_arith.y,
// stmt_data.y, stmt_io.y): the few statements whose building checks or
// chooses something, and the parameter mode of CALL ... USING.
#pragma once

#include "grammar/cobol_actions.h"

// An EVALUATE object: EX_EXPR_RANGE from `from` to `to`; a `to` that is no
// node leaves the second slot empty.
YYSTYPE DovEvalRange(YYSTYPE from, YYSTYPE to);

// GO TO: STMT_GOTO_DEPENDING when `depending` is present, otherwise STMT_GOTO
// (more than one procedure name is reported and kept) and `depending` is
// released.
YYSTYPE DovGotoStmt(YYSTYPE procedures, YYSTYPE& depending);

// ENTER: the statement is ignored with a warning.
void DovEnterStmt();

// statement_list statement: the statement joins the STMT_LIST; tokens left
// at the list's end by statements without a node, and those of the
// reduction, go in front of it. A statement without a node adds nothing.
YYSTYPE DovStatementListAppend(DovGrammarReduction& r, YYSTYPE list, YYSTYPE statement);

// The parameter mode of CALL ... USING: reset after USING, set by every BY
// phrase; each parameter takes a leaf of the mode in force.
void DovCallModeSet(DovOper mode);
YYSTYPE DovCallModeNode(DovOper mode);
YYSTYPE DovCallParam(YYSTYPE byPhrase, YYSTYPE operand, YYSTYPE size);

// CALL: $2 of the rule is the DovPhrasePair of the call convention (the use
// of a mnemonic name, EX_CALL_PROGRAM or a null node) and the program; its
// cell is given the program, so that the position reduction finds the
// keyword's place.
YYSTYPE DovCallStmt(DovGrammarReduction& r, YYSTYPE linkage, YYSTYPE usingPhrase, YYSTYPE giving, YYSTYPE onException,
                    YYSTYPE notOnException, YYSTYPE endCall);

// {GIVING|RETURNING} ADDRESS OF identifier after EXIT PROGRAM, GOBACK or
// STOP RUN: EX_EXIT_ARG over SR_ADDRESS_OF, whose node takes the rule's
// tokens (the keywords) before it is wrapped.
YYSTYPE DovExitAddressArg(DovGrammarReduction& r, YYSTYPE ident);

// NOTE: closes the note text, builds STMT_NOTE with the rule's tokens but the
// NOTE keyword and end-of-note tokens, and moves the collected note text
// (comment tokens) to the end of its token list.
YYSTYPE DovNoteStmt(DovGrammarReduction& r);

// USE statements: each warns outside DECLARATIVES and is built in any case.
YYSTYPE DovUseAfterStmt(YYSTYPE global, YYSTYPE event, YYSTYPE onWhat, YYSTYPE giving);
YYSTYPE DovUseBeforeReportingStmt(YYSTYPE global, YYSTYPE ident);
YYSTYPE DovUseForDebuggingStmt(YYSTYPE items);
// Sets the parser's debugging-operand flag (name resolution reads it).
void DovDebuggingOperands(int on);

// READ and WRITE: of each pair of exception phrases (AT END or END-OF-PAGE
// against INVALID KEY, then their NOT forms) one is kept; both present is
// reported and the AT phrase wins. `nots` is the DovPhrasePair of the NOT
// forms.
YYSTYPE DovReadStmt(YYSTYPE file, YYSTYPE nextPrev, YYSTYPE into, YYSTYPE lock, YYSTYPE key,
                    YYSTYPE atEnd, YYSTYPE invalid, YYSTYPE nots, YYSTYPE endRead);
YYSTYPE DovWriteStmt(YYSTYPE record, YYSTYPE from, YYSTYPE advancing, YYSTYPE atEop,
                     YYSTYPE invalid, YYSTYPE nots, YYSTYPE endWrite);
// Two phrases carried together up to the statement that takes them apart.
YYSTYPE DovPhrasePair(YYSTYPE first, YYSTYPE second);

// START ... KEY [IS] relation key: a node of the relation's code over a
// START_KEY node and the key.
YYSTYPE DovStartKey(YYSTYPE relation, YYSTYPE key);

// PERFORM n TIMES with an inline body: the word read as a procedure name is
// the count; its use becomes a data-name use.
YYSTYPE DovProcRefAsOperand(YYSTYPE ref);

// ACCEPT and DISPLAY items, collected by the screen holder: the item node
// of `op` (ACCEPT_SCREEN_ITEM or DISPLAY_SCREEN_ITEM) with its position
// phrase (a null node when `position` is null) and operand; both
// are taken from their cells. A phrase
// takes the rule's tokens and goes to clause n. The finished item.
void DovScreenItemStart(DovGrammarReduction& r, DovOper op, YYSTYPE* position, YYSTYPE* operand);
void DovScreenItemClause(DovGrammarReduction& r, int n, YYSTYPE phrase);
YYSTYPE DovScreenItemFinish();

// A rule that hands on one of its values after leading keywords ({FROM x},
// {USING list}): the keywords' tokens go in front of the value's own tokens
// (its first slot, or its own list), where the tree walk meets them first.
YYSTYPE DovPassOn(DovGrammarReduction& r, YYSTYPE value);
