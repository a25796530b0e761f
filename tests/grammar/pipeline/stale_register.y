/* The same grammar with a register that was not updated.
 * shift/reduce conflicts: 0 */
%token P_A 300
%token P_B 301
%token P_C 302
%%
s : a P_B P_C | P_A P_B P_B ;
a : P_A ;
%%
