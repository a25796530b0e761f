// The COBOL grammar: its tables (generated from grammar/cobol.y), the
// services it runs with, and the grammar's answers to the parser.
#pragma once

#include "grammar/frame.h"
#include "tree/dials.h"

// Generated from grammar/cobol.y.
extern const DovGrammarTables DovCobolGrammarTables;

// The COBOL grammar as the frame runs it. Its services are the parser's:
// the token adapter (yylex) as token source, the syntax-error report, the
// two discard hooks and the position reduction. They are installed by the
// parser side (or a test) before the first parse; without a token source a
// parse gives up at once.
extern DovGrammar DovCobolGrammar;

// Runs the COBOL grammar once over the installed token source: 0 accepted,
// 1 aborted. The working parser must be set, the source tree initialised
// and the lexer's input open. The caller clears yyretlval and yyretposn
// before the run and afterwards clears and deletes the token list left in
// yyretposn.
int yyparse();

// False for a dialect set that includes Wang or DMS DML: the grammar cannot
// parse those.
bool DovGrammarAcceptsDials(DovDials dials);

// The grammar handles EXEC SQL and EXEC CICS blocks.
extern const int DovGrammarHasSql;
extern const int DovGrammarHasCics;
