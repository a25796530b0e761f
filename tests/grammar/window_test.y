/* A second small grammar of the frame tests: a conflict right at the start
 * of a statement, so that a trial point opens inside the recovery window of
 * an error just recovered from; and one right after an error's sync token,
 * so that recovery under trial pops the trial point's own cells. Same tokens
 * and actions as frame_test.y.
 *
 * shift/reduce conflicts: 3
 *
 * id   state  lookahead  competing rules                      winner  test
 * W01  0      T_A        shift (stmt: T_A . T_X T_C T_SEMI)    shift   Frame.RecoveryWindowCountsOnlyTheShiftsOfTheWayTaken
 *                        or reduce e: (empty)
 * W02  5      T_A        the same lists after stmts               shift   (as W01)
 * W03  8      T_V        shift (stmt: error T_SEMI . T_V ...)    shift   Frame.RecoveryUnderTrialKeepsTheTrialPointsCells
 *                        or reduce stmt: error T_SEMI
 */
%{
#include "tests/grammar/frame_test_actions.h"
%}

%token T_A 300
%token T_B 301
%token T_C 302
%token T_X 303
%token T_SEMI 304
%token T_V 307

%%

prog
    : stmts                              { $$ = Build("prog", $1); }
    ;

stmts
    : stmt                               { $$ = Build("stmts", $1); }
    | stmts stmt                         { $$ = Build("stmts", $1, $2); }
    ;

stmt
    : e T_A T_B T_SEMI                   { $$ = Build("eb", $2, $3, $4); }
    | T_A T_X T_C T_SEMI                 { $$ = Build("c", $1, $2, $3, $4); }
    | T_V T_SEMI                         { $$ = Build("v", $1, $2); }
    | error T_SEMI                       { $$ = Build("err", $2); }
    | error T_SEMI T_V T_C T_SEMI        { $$ = Build("errvc", $2, $3, $4, $5); }
    ;

e
    : /* empty */
    ;

%%
