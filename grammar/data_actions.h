// The services the rules of the environment and data divisions call
// (grammar/environment.y, grammar/data.y): one call per action. They build
// the nodes of those divisions, feed the clause holders and the pending data
// list of the working parser, and set the lexer switches the rules imply.
//
// A service that takes a cell address (YYSTYPE*) reads a value left of the
// rule or one it may delete; a value placed into a node stays in its cell,
// which the frame never frees once the node has a parent.
#pragma once

#include "grammar/actions.h"
#include "grammar/data_rule_slots.h"

// ---- Environment division -------------------------------------------------------
// DIVISION_ENVIRONMENT (header, configuration, input-output), or the header's
// value when all three are absent (the other two are deleted).
YYSTYPE DovEnvDivision(YYSTYPE* header, YYSTYPE* config, YYSTYPE* io);
// Starts SECTION_CONFIGURATION in its holder (the header comes as a clause).
void DovConfigStart(DovGrammarReduction& r);
// A paragraph (or COPY marker) of the configuration section into `slot`.
void DovConfigClause(int slot, YYSTYPE value);
// The CONFIGURATION SECTION header: clause 0, first in order even when a
// COPY marker came before it.
void DovConfigHeader(YYSTYPE header);
// The finished section, or a null node when every slot is absent.
YYSTYPE DovConfigFinish();
// WITH DEBUGGING MODE: the lexer compiles debugging lines from now on.
void DovDebuggingLinesOn();

// SPECIAL-NAMES: the paragraph in its holder (the tokens of the `count`
// position cells from `header` on go to its first slot), its clauses, its end.
void DovSpecialNamesStart(DovGrammarReduction& r, YYPOSN* header, int count);
void DovSpecialNamesSet(int slot, YYSTYPE value);
void DovSpecialNamesAdd(int slot, DovOper listOp, YYSTYPE value);
// CURRENCY SIGN: the clause, its check, and the parser's currency sign.
void DovSpecialNamesCurrency(YYSTYPE clause);
YYSTYPE DovSpecialNamesFinish();
// A switch clause: SNX_FUNC_SWITCH in the phrase holder with the switch and
// its IS phrase (the cells left of the marker), its status phrases, its end.
void DovSwitchStart(DovGrammarReduction& r, YYSTYPE* sw, YYSTYPE* mnemonic);
void DovSwitchPhrase(int slot, YYSTYPE value);
YYSTYPE DovSwitchFinish();
// SWITCH n: SW_SWITCH_0 + n for 0..8, else the message and SW_SWITCH_0; the
// integer's tokens move to the new node and the integer is deleted.
YYSTYPE DovSwitchNumber(YYSTYPE* integer);
// device IS {mnemonic | CRT}: CONSOLE IS CRT into SN_CONSOLE, anything else a
// switch entry (CRT after another device is reported first).
void DovDeviceClause(DovGrammarReduction& r, YYSTYPE* device, YYSTYPE* value);
// An implementor name (a switch, or a clause of I-O-CONTROL) kept as its
// plain text.
YYSTYPE DovPlainWord(YYSTYPE* word);
// A literal followed by ALSO literals: the EX_ALPH_ALSO_LIST of all of them.
YYSTYPE DovAlsoList(YYSTYPE* first, YYSTYPE* also);

// INPUT-OUTPUT SECTION and FILE-CONTROL, folded to the header's value when
// every part is absent.
YYSTYPE DovInputOutputSection(YYSTYPE* header, YYSTYPE* fileControl, YYSTYPE* ioControl);
YYSTYPE DovFileControl(YYSTYPE* header, YYSTYPE* entries);
// SELECT: DECL_FC_ENTRY in its holder with the OPTIONAL phrase and file name.
void DovFileControlStart(DovGrammarReduction& r, YYSTYPE* optional, YYSTYPE* name);
void DovFileControlClause(int slot, YYSTYPE value);
void DovFileControlList(int slot, DovOper listOp, YYSTYPE value);
YYSTYPE DovFileControlFinish();
// ALTERNATE RECORD KEY: FCX_ALTERNATE_RECORD_KEY in the phrase holder.
void DovAltKeyStart(DovGrammarReduction& r, YYSTYPE* key);
void DovAltKeyPhrase(int slot, YYSTYPE value);
YYSTYPE DovAltKeyFinish();

// ---- Data division ---------------------------------------------------------------
// The division from the ten values starting at `cells` (header, flag
// marker, schema, file, working-storage, local-storage, linkage,
// communication, report, screen); the header's value (the header node or
// a null node) when every section is absent.
// Calls the grammar hook with the result cell.
YYSTYPE DovDataDivision(YYSTYPE* cells, YYSTYPE* result);
// A missing DATA DIVISION header: a null node. A division whose sections
// come without it is warned about (not under mf) by DovDataDivision, at its
// first section; a program with no data division at all is not.
YYSTYPE DovDataHeaderMissing();
// The parser's data-division flag.
void DovDataDivisionSeen();
YYSTYPE DovFileSection(YYSTYPE* header, YYSTYPE* entries);
// FD / SD: DECL_FD_ENTRY in its holder with the level word and file name.
void DovFdStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name);
void DovFdClause(int slot, YYSTYPE value);
void DovFdList(int slot, DovOper listOp, YYSTYPE value);
YYSTYPE DovFdFinish();
// The lexer's context-word switch (F, V, U, S as keywords); the VALUE OF
// form sets it only under Wang.
void DovContextWords(int on);
void DovValueOfContextWords();
// LINAGE: FDX_LINAGE in the data-entry holder with the page size; the end
// adds the LINAGE-COUNTER definition.
void DovLinageStart(DovGrammarReduction& r, YYSTYPE* pageSize);
YYSTYPE DovLinageFinish();
// A period after a clause of a list: its tokens follow the list's last
// element (the list is the value).
YYSTYPE DovPeriodAfterLast(DovGrammarReduction& r, YYSTYPE list);
// LINES between LINAGE phrases: its tokens follow the phrase written last.
void DovLinageNoise(DovGrammarReduction& r);
// A clause of the node the data-entry holder collects.
void DovDataClause(int slot, YYSTYPE value);

// The entries read so far, their open record closed: the pending data list
// (then reset), or a null node.
YYSTYPE DovRecordEntries();
// An inlined COPY marker between entries: parked for the next entry.
void DovDataMarker(YYSTYPE marker, int holderCode);
// A marker not inlined, an EXEC statement or an error node between entries:
// the open record closed, the node appended to the pending data list.
void DovDataLoose(YYSTYPE node);
// A data description entry: the entry node (Wang's form under wang) in the
// data-entry holder with level, COPY marker and name; at the period the
// entry goes to AddDataEntry.
void DovDataEntryStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* copy, YYSTYPE* name);
void DovDataEntryFinish(DovGrammarReduction& r);
// A word that names a 78-level constant already: the warning, and a
// constant-name definition.
YYSTYPE DovDefineConstantAgain(YYSTYPE& word);
// A word in a VALUE expression that is no constant: the warning, the word's
// use.
YYSTYPE DovUndefinedConstant(YYSTYPE& word);
// USAGE COMP, COMP-1, COMP-2 by dialect.
YYSTYPE DovUsageComp();
YYSTYPE DovUsageComp1();
YYSTYPE DovUsageComp2();
// RECORDING MODE mode: FDX_REC_MODE; VALUE OF items: FDX_VALUE_OF.
YYSTYPE DovRecordingMode(YYSTYPE mode);
YYSTYPE DovValueOf(YYSTYPE items);

// COMMUNICATION SECTION: the CD entry from the five values left of its
// marker (name, FOR, INITIAL, direction, phrases).
YYSTYPE DovCdEntryStart(YYSTYPE* name);

// REPORT SECTION.
void DovRdStart(DovGrammarReduction& r, YYSTYPE* name);
YYSTYPE DovRdFinish();
void DovRdClause(int slot, YYSTYPE value);
// An RD with its report groups: DECL_RD (entry, pending list).
YYSTYPE DovReportWithGroups(YYSTYPE* entry);
void DovReportGroupStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name);
void DovReportGroupFinish(DovGrammarReduction& r);

// SCREEN SECTION.
YYSTYPE DovScreenSection(DovGrammarReduction& r);
void DovScreenEntryStart(DovGrammarReduction& r, YYSTYPE* level, YYSTYPE* name);
void DovScreenEntryFinish(DovGrammarReduction& r);
void DovScreenClause(int slot, YYSTYPE value);
// A screen attribute word: its node, with the rule's tokens, into `slot`.
void DovScreenAttr(DovGrammarReduction& r, int slot, DovOper op);

// ---- Identification division ------------------------------------------------------
// A marker with no slot to hold it: its tokens go to the rule's position
// (and so to the next node), the marker node is released.
void DovMarkerTokensOn(DovGrammarReduction& r, YYSTYPE* marker);

// ---- Between parses -------------------------------------------------------------------
// Every holder idle and empty: an entry a parse left unfinished and the
// tokens gathered for it belong to that parse, not to the next one.
void DovResetHolders();
