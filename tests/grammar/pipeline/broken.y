/* Not a grammar btyacc accepts.
 * shift/reduce conflicts: 0 */
%token P_A 300
%%
s : P_A ;
s :: ;
%%
