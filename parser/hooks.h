// What the parse run calls in the libraries above the parser. The parser
// cannot link against them, so each installs its part here at start-up
// (before the first parse):
//   - the grammar library installs DovGrammar (yyparse and its helpers);
//   - the printer library installs DovSlotPosnHook (DovSetSlotPosn).
// A hook left empty is skipped as described beside it.
//
// Install them from an ordinary function that the program (or tool) calls
// at start-up: a static initialiser alone, in a static library, is linked
// only when something else pulls in its object file.
#pragma once

#include "tree/dials.h"
#include "tree/expr.h"

struct DovGrammarHooks {
    // yyparse: runs the grammar over the open input of the working parser;
    // 0 when the whole file was accepted, 1 when it gave up. Without a
    // grammar a parse that is not lex-only fails with a message (status 3).
    int (*parse)() = nullptr;
    // DovGrammarAcceptsDials: whether the grammar can parse under the set.
    // Empty: the parser's own test (no Wang, no DMS DML) stands in.
    bool (*acceptsDials)(DovDials set) = nullptr;
    // Clears what a run of the grammar may have left behind (the start
    // symbol's value and position, the error count). Called before the run.
    void (*clearState)() = nullptr;
    // Deletes the token list a run left as the start symbol's position and
    // clears it. Called after the run.
    void (*dropLeftovers)() = nullptr;
};
extern DovGrammarHooks DovGrammar;

// DovSetSlotPosn: assigns the source positions of every operator node's
// slots from their tokens; called once on each new tree. Empty: skipped.
using DovSlotPosnFn = void (*)(DovExpr* root);
extern DovSlotPosnFn DovSlotPosnHook;

// The grammar's own answer when it installs none: false for a set with the
// Wang or the DMS DML dialect.
bool DovDefaultGrammarAcceptsDials(DovDials set);

// The grammar handles embedded SQL and embedded CICS; Parse turns the
// lexer's SQL and CICS handling on only when these and the options agree.
extern int DovCanParseSql;
extern int DovCanParseCics;
