/* The COBOL grammar: declarations, precedence, the conflict register, the
 * start symbol and the rule files, in order. btyacc tries the reductions of
 * a conflict in file order, so the order of the %include lines is part of
 * the grammar.
 *
 * Values are YYSTYPE (a node pointer or a small integer, see
 * parser/grammar_types.h); there is no %union and no %type, so every rule file
 * says what each nonterminal yields in its banners. Actions follow the
 * conventions of grammar/actions.h and call the services of
 * grammar/cobol_actions.h.
 *
 * Rule files and their families (each family writes only its own file):
 *   program.y       source file, programs, END PROGRAM, PROGRAM-ID   (core)
 *   ident.y         identification division paragraphs after PROGRAM-ID
 *   environment.y   environment division
 *   data.y          data division
 *   procedure.y     procedure division frame, statement dispatcher (core)
 *   stmt_control.y  control flow statements            (control_stmt)
 *   stmt_arith.y    arithmetic statements              (arith_stmt)
 *   stmt_data.y     data movement statements           (data_stmt)
 *   stmt_io.y       input-output, sort/merge, report writer, communication,
 *                   ACCEPT/DISPLAY                      (io_stmt)
 *   exec.y          EXEC blocks                         (exec_stmt)
 *   sql.y           embedded SQL                        (sql_ names)
 *   cics.y          embedded CICS                       (cics_ names)
 *   operands.y      operands, identifiers, literals, expressions,
 *                   conditions                          (core)
 *   words.y         noise words and word sets           (core; anyone may
 *                   add a line, one rule per line, sorted)
 *
 * ---- Precedence --------------------------------------------------------------
 * Lowest first. Arithmetic: + and - below * and /, those below **, unary +
 * and - above ** (so - A ** 2 is (- A) ** 2); each binary level is left
 * associative (A ** B ** C is (A ** B) ** C, one AR_EXP list). Conditions:
 * OR below AND; NOT binds its operand directly (see operands.y, where the
 * operand of NOT is a primary condition), so NOT A AND B is (NOT A) AND B.
 * OP_UN_PLUS and OP_UN_MINUS never arrive from the lexer: they only name
 * the level of the unary rules (%prec).                                      */
%{
#include "grammar/cobol_actions.h"
#include "grammar/stmt_actions.h"
#include "grammar/cics_actions.h"
#include "grammar/sql_actions.h"
#include "grammar/data_actions.h"
%}

%include tokens.y.inc

%nonassoc PRTY_LOW              /* below every operator: see function_arg_list */
%left RW_OR                     /* condition OR condition */
%left RW_AND                    /* condition AND condition */
%left OP_PLUS OP_MINUS          /* e + e, e - e */
%left OP_MUL OP_DIV             /* e * e, e / e */
%left OP_EXP                    /* e ** e */
%right OP_UN_PLUS OP_UN_MINUS   /* + e, - e */

/* Statement phrases (stmt_*.y): a statement list, an optional phrase or an
 * absent scope terminator that may end before one of the tokens below takes
 * %prec PRTY_LOW; these tokens rank above it, so the tables shift them: a
 * statement list goes on, and a phrase, ELSE, WHEN or END-x binds to the
 * nearest open statement that can take it. All on one level, right
 * associative, so that they never turn a conflict into an error. NOT before
 * a phrase (CMB_NOT_ON_AT) is not among them: which statement takes it
 * depends on the word after it (conflict S05). A COPY marker inside a
 * sentence (SEP_COPY_INC) is a statement and ranks with them. */
%right RW_ACCEPT RW_ADD RW_ALTER RW_CALL RW_CANCEL RW_CHAIN RW_CLOSE RW_COMMIT RW_COMPUTE
       RW_CONTINUE RW_DELETE RW_DISABLE RW_DISPLAY RW_DIVIDE RW_ENABLE RW_ENTER
       RW_ENTRY RW_EVALUATE RW_EXAMINE RW_EXEC RW_EXHIBIT RW_EXIT RW_EXIT_PERFORM
       RW_GENERATE RW_GO RW_GOBACK RW_IF RW_INITIALIZE RW_INITIATE RW_INSPECT RW_INVOKE
       RW_MERGE RW_MOVE RW_MULTIPLY RW_NEXT_SENTENCE RW_NOTE RW_ON RW_OPEN RW_PERFORM RW_PURGE
       RW_READ RW_READY RW_RECEIVE RW_RELEASE RW_RESET RW_RETURN RW_REWRITE
       RW_ROLLBACK RW_SEARCH RW_SEND RW_SERVICE RW_SET RW_SORT RW_START RW_STOP
       RW_STRING RW_SUBTRACT RW_SUPPRESS RW_TERMINATE RW_TRANSFORM RW_UNLOCK
       RW_UNSTRING RW_USE RW_WRITE RW__SPARE_2 SEP_COPY_INC
       RW_INVALID RW_AT RW_END RW_END_OF_PAGE RW_EOP RW_WITH_DATA RW_NO RW_ELSE
       RW_OTHERWISE RW_WHEN RW_END_ACCEPT RW_END_ADD RW_END_CALL RW_END_CHAIN RW_END_COMPUTE
       RW_END_DELETE RW_END_DISPLAY RW_END_DIVIDE RW_END_EVALUATE RW_END_IF
       RW_END_MULTIPLY RW_END_PERFORM RW_END_READ RW_END_RECEIVE RW_END_RETURN
       RW_END_REWRITE RW_END_SEARCH RW_END_START RW_END_STRING RW_END_SUBTRACT
       RW_END_UNSTRING RW_END_WRITE

/* ---- Conflict register ---------------------------------------------------------
 * Every shift/reduce conflict left in the tables, resolved by trial parsing
 * with the shift tried first. The build pins their number
 * (grammar/grammar.cmake, EXPECT_SR) and checks it against the line below;
 * a changed number ships with its register line and its test. Reduce/reduce
 * conflicts are not allowed. btyacc's listing of the conflicts is written to
 * build/generated/grammar/cobol.conflicts.txt at every build; the state
 * numbers below are those of build/generated/grammar/cobol.output and move
 * whenever the grammar changes (find a conflict by its lookahead and rules).
 * Each family registers its conflicts in its own section, one line each:
 *   id  lookahead  competing rules  winner  test
 *
 * shift/reduce conflicts: 59
 *
 * C-CORE (program frame, procedure frame, operands; tests/grammar/operands_test.cpp)
 * (state numbers as of the core's grammar; each family's change renumbers them:
 * refresh them from cobol.conflicts.txt when you register yours)
 * C01  '('  state 127: data_name . '(' subscripts ')'  /  identifier_base: data_name .
 *           shift (subscripts) first; reference modification on failure.
 *           test OperandTrials.*
 * C02  '('  state 131: identifier: identifier_base . '(' refmod ')'  /  identifier_base .
 *           shift (reference modification) first; the identifier ends on
 *           failure. test OperandTrials.*
 * C03  ')'  state 288: arith_expr: '(' arith_expr . ')'  /  simple_condition: arith_expr .
 *           (in a parenthesis that may hold a condition, also after a
 *           relational operator) shift first: a parenthesised expression;
 *           a parenthesised condition on failure. test OperandTrials.*, Conditions.*
 * C04  (none: the form after a relational operator shares C03's state)
 * C05  SEP_UNINLINED_COPY, SEP_INLINED_COPY (4 conflicts: states 37 and 60,
 *           after the procedure header and after the declaratives)
 *           opt_proc_copy_marker: copy_marker  /  opt_proc_copy_marker: empty
 *           shift first: the marker goes to PD_COPY_BEFORE_DECL /
 *           PD_COPY_BEFORE_SECTIONS. test ProcedureBody.CopyMarkersAfterTheHeaderAndAmongSentences
 * C06  '('  state 779: function_ref: FUNCTION char-string . opt_function_args
 *           /  opt_function_args: empty
 *           shift (arguments) first; a reference modification on failure.
 *           test OperandTrials.*
 *
 * C-DATA  (ident.y, environment.y, data.y; tests/grammar/env_*.cpp, data_*.cpp)
 * D01  SEP_INLINED_COPY, SEP_UNINLINED_COPY (8 conflicts: after the
 *           configuration paragraphs (2 states), the FILE-CONTROL header and
 *           the last SELECT entry)  config_paragraph / select_entry: marker  /  the
 *           end of the section, the marker then standing before the FILE
 *           SECTION's first FD. shift first: the marker stays with the
 *           paragraph or entry list it follows. test EnvTrials.*
 * D02  SEP_INLINED_COPY, SEP_UNINLINED_COPY (2)  special_names_clause: marker
 *           /  _dot: empty (the paragraph ends). shift first: the marker is a
 *           clause of SPECIAL-NAMES. test EnvTrials.*
 * D03  SEP_INLINED_COPY, SEP_UNINLINED_COPY (2)  opt_copy_before_name: marker
 *           /  opt_copy_before_name: empty (the marker a clause). shift
 *           first; it always succeeds, the name after the marker being
 *           optional. The entry's period commits. test DataTrials.*
 * D04  RW_ALTERNATE  reserve_areas: RW_ALTERNATE . RW_AREA(S)  /  the end of
 *           RESERVE (ALTERNATE RECORD KEY follows). shift first. test
 *           EnvTrials.*
 * D05  RW_FILE  device_kind: RW_DISK . RW_FILE  /  device_word: RW_DISK
 *           (FILE STATUS follows). shift first. test EnvTrials.*
 * D06  RW_RECORD (2)  lock_phrase: LOCK ON [MULTIPLE] . RECORD  /  _record:
 *           empty (RECORD KEY follows). shift first. test EnvTrials.*
 * D07  RW_DESTINATION  cd_phrase: DESTINATION COUNT / TABLE  /  the symbolic
 *           DESTINATION IS phrase. shift first, committed after DESTINATION.
 *           test DataTrials.*
 * D09  SEP_INLINED_COPY, SEP_UNINLINED_COPY (4)  id_markers: marker after
 *           PROGRAM-ID  /  opt_id_paragraphs ends (the marker then a
 *           configuration paragraph). shift first. test IdentTrials.*
 * D10  TK_USER_DEFD_WORD (2)  opt_switch_is: mnemonic-name after an
 *           implementor switch name / the next clause begins with an
 *           implementor name; symbolic_const_defs: the next constant / the
 *           next clause. shift first. test EnvTrials.*
 * D08  RW_NEXT  opt_on_next_page: NEXT PAGE  /  the next clause NEXT GROUP.
 *           shift first, committed after NEXT. test DataTrials.*
 * C-STMT  (stmt_control.y, stmt_arith.y, stmt_data.y; tests/grammar/stmt_conflicts_test.cpp)
 * S01  RW_TIMES  procedure_name_part: TK_INT_NUM_LIT .  /  perf_count_times:
 *           TK_INT_NUM_LIT . RW_TIMES (PERFORM 4 TIMES ... END-PERFORM)
 *           shift (inline count) first. test StmtConflicts.S01
 * S02  TK_USER_DEFD_WORD  tally_phrase: all_leading tally_units .  /
 *           tally_units: tally_units . tally_unit (a word after a tallied
 *           operand may be one more operand or the counter of the next
 *           clause) shift first; the next clause on failure. test StmtConflicts.S02
 * S03  RW_FUNCTION  same as S02 for an operand that is a function
 *           reference. test StmtConflicts.S02
 * S04  '('  opt_function_args: .  /  function_ref: ... TK_CHAR_STRING mark_function_end .
 *           '(' arguments ')' (a function name the lexer does not know, then
 *           '(': its arguments or a reference modification) shift first.
 *           test OperandTrials.* (the trial of the core's function arguments)
 * S05  CMB_NOT_ON_AT  (18 states) a statement with a NOT phrase (NOT ON SIZE
 *           ERROR, NOT AT END, NOT INVALID KEY, NOT ON OVERFLOW, NOT ON
 *           EXCEPTION, NOT AT END-OF-PAGE) may end before NOT inside a phrase
 *           of an enclosing statement: the NOT phrase of the inner one, or the
 *           enclosing one's. Shift (inner) first; when the word after NOT is
 *           not the inner statement's kind the trial fails and the enclosing
 *           statement takes it. test StmtConflicts.S05
 * C-IO    (stmt_io.y)
 * C-SQL   (exec.y, sql.y; tests/grammar/sql_shapes_test.cpp)
 * Q01  ST_RIGHT_PAR  sql_primary: ST_LEFT_PAR sql_value_expr . ST_RIGHT_PAR
 *           /  sql_expr_list: sql_value_expr .   (a parenthesis that may
 *           open a row constructor: in a condition, in VALUES)
 *           shift first: a parenthesised value; a one-value row
 *           constructor on failure. test SqlShapes.EachConstructBuildsItsNodes
 *           ("(A) = B", "VALUES 1, (2, 3)")
 * Q02  the same as Q01 in the second state btyacc makes for it (after a
 *           value that follows an operator inside the parenthesis).
 * Q03  ST_RIGHT_PAR  sql_joined_table: ST_LEFT_PAR sql_joined_table . ST_RIGHT_PAR
 *           /  sql_query_expr: sql_joined_table .
 *           shift first: a parenthesised joined table; a query in
 *           parentheses (a join operand, a table expression) on failure.
 *           test SqlShapes.EachConstructBuildsItsNodes ("(U CROSS JOIN V)")
 * C-CICS  (cics.y, cics_rules.y.inc; tests/grammar/cics_golden_test.cpp)
 *           none: SEND MAP, RECEIVE MAP and ADDRESS SET are decided by the
 *           CICS holder from the options, not by the grammar.
 *
 * ---- error alternatives ------------------------------------------------------
 * `error` appears only at these entry boundaries, always as the last
 * alternative and followed by its sync token:
 *   procedure_element (a sentence), synced on the period.
 *   opt_proc_copy_marker (between the procedure header and declaratives),
 *   synced on the period.
 *   exec_stmt (the statement of an EXEC SQL block), synced on END-EXEC.
 *   cics_statement (an EXEC CICS statement), synced on END-EXEC by exec_stmt.
 *   cics_option (an option of a CICS command), synced on the next option or
 *   END-EXEC.
 *   select_entry (a FILE-CONTROL entry), synced on the period.
 *   dd_clause (a clause of a data description entry: the error node is its
 *   COPY/error clause and the entry ends at its period).
 *   data_entry_element, report_group_element, screen_element (a data,
 *   report group or screen entry), synced on the period.
 */

%%

%include program.y
%include ident.y
%include environment.y
%include data.y
%include procedure.y
%include stmt_control.y
%include stmt_arith.y
%include stmt_data.y
%include stmt_io.y
%include exec.y
%include sql.y
%include cics.y
%include cics_rules.y.inc
%include operands.y
%include words.y
