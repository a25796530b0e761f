/* A small grammar of the frame tests, built by the same pipeline as the
 * COBOL grammar (tests/grammar/CMakeLists.txt).
 *
 * Statements end with ';'. After 'A' a lookahead 'X' is a conflict: the
 * shift leads to the 'A X.. C ;' and 'A X.. Q' forms, the reduction of
 * `a` to the 'A X.. B ;' form.
 *
 * shift/reduce conflicts: 1
 *
 * id   state  lookahead  competing rules                   winner  test
 * T01  2      T_X        shift (stmt: T_A . xs ...)         shift   FrameTrial.*
 *                        or reduce a: T_A
 */
%{
#include "tests/grammar/frame_test_actions.h"
%}

%token T_A 300
%token T_B 301
%token T_C 302
%token T_X 303
%token T_SEMI 304
%token T_LP 305
%token T_RP 306
%token T_V 307
%token T_D 308
%token T_Q 309
%token T_K 310
%token T_Y 311

%%

prog
    : stmts                              { $$ = Build("prog", $1); }
    ;

stmts
    : stmt                               { $$ = Build("stmts", $1); }
    | stmts stmt                         { $$ = Build("stmts", $1, $2); }
    ;

stmt
    /* TRIAL: the complete statement commits the trial. */
    : a xs T_B T_SEMI                    [ Probe("b", yytrial); YYVALID; ] { $$ = Build("b", $1, $2, $3, $4); }
    | T_A xs T_C T_SEMI                  [ Probe("c", yytrial); ] { $$ = Build("c", $1, $2, $3, $4); }
    /* TRIAL: gives up as soon as it is met, under trial or not. */
    | T_A xs T_Q                         [ YYABORT; ]
    | nest T_SEMI                        { $$ = Build("n", $1, $2); }
    | T_K T_SEMI                         { YYABORT; }
    | T_Y T_SEMI                         { YYACCEPT; }
    | error T_SEMI                       { $$ = Build("err", $2); }
    ;

a
    : T_A                                [ Probe("a", yytrial); ] { $$ = Build("a", $1); }
    ;

xs
    : T_X                                [ Probe("x1", yytrial); ] { Left(YYVALARG(0)); $$ = Build("x", $1); }
    | xs T_X                             [ Probe("x+", yytrial); ] { $$ = Build("x", $1, $2); }
    ;

/* The position reduction onto the node before the node is handed on. */
nest
    : T_LP nest T_RP                     { $$ = Build("(", $1, $2, $3); YYREDUCEPOSN($$); }
    | T_V                                { $$ = $1; }
    ;

%%
