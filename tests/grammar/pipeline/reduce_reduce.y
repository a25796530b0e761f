/* Two rules reduce the same 'A' before 'B'.
 * shift/reduce conflicts: 0 */
%token P_A 300
%token P_B 301
%%
s : x P_B | y P_B ;
x : P_A ;
y : P_A ;
%%
