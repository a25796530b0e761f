// The COBOL grammar: its tables (generated from grammar/cobol.y), the
// services it runs with, and the grammar's answers to the parser.
#pragma once

#include "grammar/frame.h"
#include "tree/dials.h"

// Generated from grammar/cobol.y.
extern const DovGrammarTables DovCobolGrammarTables;

// The COBOL grammar as the frame runs it. Its services are the parser's:
// the token adapter (yylex) as token source, the syntax-error report, the
// two discard hooks and the position reduction (RdcPosn). DovInstallGrammar
// sets those that exist; without a token source a parse gives up at once.
extern DovFrameGrammar DovCobolGrammar;

// Installs the grammar in the parser's hooks (DovGrammar, parser/hooks.h)
// and the parser's services in DovCobolGrammar. Call once at start-up,
// before the first parse.
void DovInstallGrammar();

// Runs the COBOL grammar once: 0 accepted, 1 aborted. The working parser
// must be set, the source tree initialised and the lexer's input open.
// Before the run the caller clears yyretlval and yyretposn (the installed
// clearState hook), after it drops the token list left in yyretposn (the
// dropLeftovers hook).
int yyparse();

// False for a dialect set that includes Wang or DMS DML: the grammar cannot
// parse those.
bool DovGrammarAcceptsDials(DovDials dials);

// The grammar handles EXEC SQL and EXEC CICS blocks.
extern const int DovGrammarHasSql;
extern const int DovGrammarHasCics;
