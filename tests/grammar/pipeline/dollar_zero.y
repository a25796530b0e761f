/* Reads the value left of a rule with $0.
 * shift/reduce conflicts: 0 */
%token P_A 300
%token P_B 301
%%
s : P_A x ;
x : P_B { $$ = $0; } ;
%%
