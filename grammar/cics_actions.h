// The services the EXEC CICS rules call (grammar/cics.y and the rules
// generated from grammar/cics_rules.def): command heads, options, the
// statement frame with the CICS clause holder, ASSIGN, HANDLE and IGNORE,
// condition names and the error alternatives. They work on the working
// parser and on the grammar's one CICS holder (CicsHolder).
#pragma once

#include "grammar/cobol_actions.h"

// ---- Command heads ---------------------------------------------------------
// The statement node of `op` with all slots empty but slot 0, which holds
// the marker's null node (SEND, RECEIVE and ADDRESS too: the holder turns
// them into SEND MAP, RECEIVE MAP and ADDRESS SET when MAP or SET comes).
YYSTYPE DovCicsCommand(DovOper op, YYSTYPE marker);

// ---- The statement frame ----------------------------------------------------
// The empty start symbol after the command head: makes `statement` the
// holder's current statement (placing an option parked before it).
void DovCicsStart(DovGrammarReduction& r, YYSTYPE statement);
// The end of a general command: the finished statement from the holder,
// the reduction's tokens handed over, then every token on the statement's
// own list moved to the tail of slot 0's tokens.
YYSTYPE DovCicsFinishCommand(DovGrammarReduction& r);
// One item of ASSIGN, HANDLE or IGNORE (an assignment group, a handler):
// appended to the list `listOp` in slot 1 of the holder's statement, with
// the next clause order, so that items and response options keep their
// source order.
void DovCicsItem(DovOper listOp, YYSTYPE item);
// The end of ASSIGN, HANDLE or IGNORE: the finished statement from the
// holder, a null node in slot 1 when no item was written. The frame hands
// the reduction's tokens over.
YYSTYPE DovCicsFinishItems();
// The error alternative of a whole statement: the pending syntax-error node.
YYSTYPE DovCicsErrorStatement(DovGrammarReduction& r);

// ---- Lexer and adapter switches of ASSIGN ----------------------------------
// Sets the lexer's reserved-word check and the adapter's name
// classification together (0: words after ASSIGN are plain words). The
// lexer reads the words of ASSIGN by its own token modes as well, so that a
// word read ahead in a trial is classified the same.
void DovCicsWordSwitches(int on);

// ---- Options -----------------------------------------------------------------
// An option with its argument (null for the bare keyword): the CS_CL_ node,
// its tokens handed over, given to the CICS holder. The value stays the
// option node; no later action uses it.
YYSTYPE DovCicsOption(DovGrammarReduction& r, DovOper op, YYSTYPE argument);
YYSTYPE DovCicsBareOption(DovGrammarReduction& r, DovOper op);
// The error option: the pending syntax-error node given to the holder like
// an option (refused there, its tokens kept for the statement). What the
// recovery skips after it is collected for the statement too.
YYSTYPE DovCicsErrorOption(DovGrammarReduction& r);

// ---- Arguments, handlers and condition names ------------------------------
// ADDRESS OF / LENGTH OF identifier written with the CICS words.
YYSTYPE DovCicsAddressOf(YYSTYPE identifier);
YYSTYPE DovCicsLengthOf(YYSTYPE identifier);
// CS_GRP_ASSIGN (the word as a CHAR_STRING, the reference).
YYSTYPE DovCicsAssignGroup(YYSTYPE word, YYSTYPE reference);
// CS_GRP_CONDITION_HANDLER (name, procedure name or null).
YYSTYPE DovCicsHandler(YYSTYPE name, YYSTYPE procedure);
// A condition keyword: CHAR_STRING of its text.
YYSTYPE DovCicsConditionWord(const char* text);
// A user-defined word as a condition name: CHAR_STRING of the word's text
// (the word's value is released).
YYSTYPE DovCicsConditionUserWord(YYSTYPE word);
