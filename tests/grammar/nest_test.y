/* A fourth small grammar of the frame tests: blocks nested to any depth,
 * each with a conflict after its 'A' whose trial point stays open to the end
 * of the input (the shift path never commits; the accept does), as the
 * count of an inline PERFORM opens one in a COBOL sentence. Same tokens as
 * frame_test.y.
 *
 * shift/reduce conflicts: 1
 *
 * id   state  lookahead  competing rules                      winner  test
 * N01  1      T_X        shift (block: T_A . T_X block T_C)   shift   Frame.TrialPointsNestedToAnyDepth*
 *                        or reduce a: T_A
 */
%{
#include "tests/grammar/frame_test_actions.h"
%}

%token T_A 300
%token T_B 301
%token T_C 302
%token T_X 303
%token T_V 307

%%

prog
    : block                              { $$ = Build("prog", $1); }
    ;

block
    : T_A T_X block T_C                  { $$ = Level("c", $3, {$1, $2, $4}); }
    | a T_X block T_B                    { $$ = Level("b", $3, {$1, $2, $4}); }
    | T_V                                { $$ = $1; }
    ;

a
    : T_A                                { $$ = $1; }
    ;

%%
