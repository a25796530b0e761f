/* The COBOL grammar: declarations, precedence, the conflict register, the
 * start symbol and the rule files, in order. btyacc tries the reductions of
 * a conflict in file order, so the order of the %include lines is part of
 * the grammar.
 *
 * Values are YYSTYPE (a node pointer or a small integer, see
 * parser/grammar_types.h); there is no %union and no %type, so every rule file
 * says what each nonterminal yields in its banners. Actions follow the
 * conventions of grammar/actions.h.
 *
 * ---- Conflict register -----------------------------------------------------
 * Every shift/reduce conflict left in the tables, resolved by trial parsing
 * with the shift tried first. The build pins their number
 * (grammar/grammar.cmake, EXPECT_SR) and checks it against the line below;
 * a changed number ships with its register line and its test. Reduce/reduce
 * conflicts are not allowed. btyacc's listing of the conflicts is written to
 * build/generated/grammar/cobol.conflicts.txt at every build.
 *
 * shift/reduce conflicts: 3
 *
 * id   state  lookahead  competing rules  winner  test
 * (none yet)
 *
 * ---- error alternatives ------------------------------------------------------
 * `error` appears only at these entry boundaries, always as the last
 * alternative and followed by its sync token:
 *   procedure_element (a sentence), synced on the period.
 */
%{
#include "grammar/actions.h"
#include "grammar/sql_actions.h"
%}

%include tokens.y.inc

%%

/* ---- Source file ----------------------------------------------------------
 * source_file: a first program, then the programs after it.
 * source_file: null    program_list: null                                   */
source_file
    : first_program program_list
    ;

program_list
    : /* empty */
    | program_list later_program
    ;

%include program.y
%include procedure.y
%include exec.y
%include sql.y
%include cics_fallback.y
%include words.y
