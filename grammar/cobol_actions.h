// The services the COBOL grammar's actions call: each action of the rule
// files is one call to one of these (see grammar/actions.h for the
// conventions). They work on the working parser.
//
// Every function taking a DovGrammarReduction& may hand the rule's tokens
// to a node before the node goes elsewhere than $$ (YYREDUCEPOSN); the rule
// passes its reduction as `YYREDUCTION`.
#pragma once

#include "grammar/actions.h"
#include "parser/clauses.h"
#include "parser/parser_impl.h"
#include "tree/name_category.h"

// The value and position cells of the k-th right-hand symbol of a
// reduction (k <= 0: the symbols left of the rule).
#define YYVALARGR(r, k) ((r).vsp[(k) - (r).len])
#define YYPOSNARGR(r, k) ((r).psp[(k) - (r).len])

// ---- Clause holders -------------------------------------------------------
// The grammar's nine holders; they live for the whole run and delete, at
// exit, a node that was never finished.
extern DovClauseHolder ConfigurationHolder;
extern DovClauseHolder SpecialNamesHolder;
extern DovClauseHolder PhraseHolder;
extern DovClauseHolder FileControlHolder;
extern DovClauseHolder FdHolder;
extern DovClauseHolder DataEntryHolder;
extern DovClauseHolder RdHolder;
extern DovClauseHolder ScreenHolder;
extern DovCicsClauseHolder CicsHolder;

// Called by the empty rule that opens an entry or statement whose clauses
// `holder` collects, right after the holder's Start. The rule's cell keeps
// the node's place on the stack: when error recovery pops it (the discard
// hook calls DovHolderCellDiscarded with the cell's position), the entry or
// statement is thrown away, and every token the holder keeps for it (the
// node's and those of refused clauses) goes to the pending error node. The
// emptied node stays the holder's until its next Start, as the cells left of
// the rule may still point into it.
void DovHolderStarted(DovGrammarReduction& r, DovClauseHolder& holder);
void DovHolderCellDiscarded(YYPOSN posn);

// ---- Trial parsing ----------------------------------------------------------
// True while exactly one trial point is open (the innermost has no older).
bool DovOneTrialPointOpen();

// ---- Names --------------------------------------------------------------------
// The symbol-table element of a word value: the element itself, or for a
// literal (integer or nonnumeric) the element of its text in the current
// program's table, the literal node being deleted and the cell cleared. The
// functions below take the word's cell for the same reason.
YYSTYPE DovElementOfWord(YYSTYPE& word);
// The definition of a name (a word or a literal, see DovElementOfWord).
YYSTYPE DovDefineName(YYSTYPE& word, int category, int flag);
// The use of one word: an unresolved NAMED_OBJ_USE of that category.
YYSTYPE DovUseOfWord(YYSTYPE& word, int category);
// A NAME_USE linked to the word's element (literals: the element of the
// text); one part of a qualified name.
YYSTYPE DovNameUseOfWord(YYSTYPE& word);
// A NAMED_OBJ_USE of a qualified name (OF_IN_LIST).
YYSTYPE DovNamedUse(YYSTYPE qualified, int category, int setting);
// The use of a plain word with its tokens (the word's position list).
YYSTYPE DovPlainNameUse(YYSTYPE& word, int category, YYPOSN* tokens);

// ---- Programs -------------------------------------------------------------------
// The new COBOL_PROGRAM of StartProgram (outside trial mode).
YYSTYPE DovProgramStart();
// Sets the four division slots of the program made by DovProgramStart.
void DovProgramDivisions(YYSTYPE program, YYSTYPE id, YYSTYPE env, YYSTYPE data, YYSTYPE proc);
// END PROGRAM name: builds END_COBOL_PROGRAM, hands it to EndProgram and
// calls the grammar hook.
void DovEndProgram(DovGrammarReduction& r, YYSTYPE name);
// The missing identification division header or PROGRAM-ID paragraph:
// the warning `text` (not for the mf dialect) and a null node.
YYSTYPE DovMissingPart(const char* text);
// The identification division: DIVISION_IDENTIFICATION (header, paragraph).
YYSTYPE DovIdDivision(YYSTYPE header, YYSTYPE paragraph);

// ---- Procedure division --------------------------------------------------------
// The header's node (DIVISION_PROCEDURE with its four phrases); grammar
// hook; the procedure-division flag.
YYSTYPE DovProcDivisionStart(DovGrammarReduction& r, YYSTYPE mnemonic, YYSTYPE linkage, YYSTYPE using_phrase,
                             YYSTYPE giving);
// Sets the procedure-division flag (the token adapter reads it).
void DovSetProcDivision();
// The division becomes the current procedure holder (slot PD_SECTIONS).
void DovProcBodyStart(YYSTYPE division);
// The end of the division: the copy markers and declaratives into their
// slots, the flags and holder cleared. Yields the division.
YYSTYPE DovProcDivisionEnd(YYSTYPE division, YYSTYPE copy1, YYSTYPE declaratives, YYSTYPE copy2);
// Hands a finished procedure element (section, paragraph, sentence, marker,
// error node) to ProcessNewProc after its position reduction, then calls
// the grammar hook.
void DovProcElement(DovGrammarReduction& r, YYSTYPE element);
// A section header: name SECTION [segment] .
void DovSectionHeader(DovGrammarReduction& r, YYSTYPE name, YYSTYPE segment);
// A paragraph header: name .
void DovParagraphHeader(DovGrammarReduction& r, YYSTYPE name);
// A procedure name term (area-A name, word or integer): its element, the
// word's own position taken over without a position reduction.
YYSTYPE DovProcNameTerm(DovGrammarReduction& r, YYSTYPE& word);
// The rule's tokens become its result position as they are (no position
// reduction): a later rule hands them on.
void DovKeepPosn(DovGrammarReduction& r);
// DECLARATIVES .: DECLARATIVE_SECTIONS, now the current procedure holder.
YYSTYPE DovDeclarativesStart(DovGrammarReduction& r);
// The end of DECLARATIVES: END_DECLARATIVES into its slot; hook; flags.
YYSTYPE DovDeclarativesEnd(DovGrammarReduction& r, int k, YYSTYPE declaratives, YYSTYPE& end);
// The error alternative's value: the pending error node (GenErrNode), which
// also takes the tokens of the rule's own symbols (the sync token); the rule
// then runs no position reduction.
YYSTYPE DovErrorValue(DovGrammarReduction& r);
// The same for an error alternative with no sync token of its own: the node
// stays pending, so that what recovery discards after the reduction goes to it.
YYSTYPE DovPendingErrorValue(DovGrammarReduction& r);

// ---- Screen phrases ----------------------------------------------------------------
// A screen attribute phrase: its node gets the rule's tokens and goes to
// clause `clause` of the node ScreenHolder collects for.
void DovScreenClause(DovGrammarReduction& r, int clause, YYSTYPE node);

// ---- Parameters -------------------------------------------------------------------
// The mode in force for USING parameters (EX_PT_BY_*).
void DovSetParamMode(int mode);
// EX_PROC_PARAM of a parameter (type phrase, data name, mode leaf).
YYSTYPE DovProcParam(YYSTYPE by_phrase, YYSTYPE name);
// The BY phrase node: sets the mode and yields its node.
YYSTYPE DovByPhrase(int mode);

// ---- Lists with separators ------------------------------------------------------
// DovListAppend for a rule `list SEP item` (OF, &, an operator, AND, OR):
// the separator's tokens go before the new item (its argument slot), not to
// the end of the list, so that the tree keeps the source order.
YYSTYPE DovListJoin(DovGrammarReduction& r, DovOper op, YYSTYPE list, YYSTYPE item);

// ---- Operands -------------------------------------------------------------------
// A relational, class or sign operator value (an operation code), and its
// negated form (code + 13).
inline YYSTYPE DovOpValue(int code) { return DovIntToValue(code); }
YYSTYPE DovNotOp(YYSTYPE op);
// A comparison node of the operator's code with two arguments.
YYSTYPE DovCompare(YYSTYPE op, YYSTYPE left, YYSTYPE right);
// A class or sign test node of the operator's code with one argument.
YYSTYPE DovClassTest(YYSTYPE op, YYSTYPE subject);
// The abbreviated relation: the null subject first, then the comparison.
YYSTYPE DovAbbreviated(YYSTYPE op, YYSTYPE object);
// The six trial-mode actions of the subscript and reference-modification
// conflicts (see operands.y).
void DovParenMark(DovGrammarReduction& r);
int DovParenBuilt(DovGrammarReduction& r);
int DovParenSkipped(DovGrammarReduction& r);
