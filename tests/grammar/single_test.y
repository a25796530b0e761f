/* A third small grammar of the frame tests: a start symbol that is complete
 * after one statement, so that a token after it meets the final state.
 *
 * shift/reduce conflicts: 0
 */
%{
#include "tests/grammar/frame_test_actions.h"
%}

%token T_SEMI 304
%token T_V 307

%%

prog
    : T_V T_SEMI                         { $$ = Build("one", $1, $2); }
    | error T_SEMI                       { $$ = Build("err", $2); }
    ;

%%
