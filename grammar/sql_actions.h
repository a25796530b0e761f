// Services of the EXEC block and embedded SQL rules (grammar/exec.y,
// grammar/sql.y): the node shapes those rules cannot build with the common
// helpers of grammar/actions.h, each called from one action.
#pragma once

#include "grammar/cobol_actions.h"

// ---- Embedded SQL -----------------------------------------------------------

// SQL_HOST_VAR_REF over a NAMED_OBJ_USE (data-name) of `names`, an
// SQL_VAR_NAME_LIST of identifier nodes: each identifier is replaced by a
// NAME_USE of the element of its name in the current program's symbol table
// (added there when absent) and deleted.
YYSTYPE DovSqlHostVarRef(YYSTYPE names);

// The target of WHENEVER ... GO TO / PERFORM: a NAMED_OBJ_USE (proc-name)
// over OF_IN_LIST(NAME_USE) of the element named like the identifier, added
// to the current program's symbol table when absent; the identifier node is
// deleted.
YYSTYPE DovSqlProcTarget(YYSTYPE& ident);

// The SQL_VAR_NAME_LIST of the first name of a host variable; the name's
// tokens go to its slot (not to the end of the list), so that the names
// after it keep the source order.
YYSTYPE DovSqlFirstName(DovGrammarReduction& r, YYSTYPE ident);

// A comparison: a two-argument node whose operation is the code `op`
// carries (sql_comp_op).
YYSTYPE DovSqlCompare(YYSTYPE left, YYSTYPE op, YYSTYPE right);

// A row of VALUES: a row constructor stays as it is; any other row value is
// wrapped as SQL_ROW_CONSTRUCTOR(SQL_EXPR_LIST [value]).
YYSTYPE DovSqlValuesRow(YYSTYPE row);

// ---- EXEC blocks --------------------------------------------------------------

// EXEC SQL statement END-EXEC: STMT_EXEC_SQL over the statement, whose every
// name and literal (a host or indicator variable's NAME_USE, a table,
// column, cursor or statement name, a number or string) first takes its own
// word from the slot that holds it, and the blanks before the word: so it
// has the position of its word, as a COBOL operand has.
YYSTYPE DovExecSqlStatement(YYSTYPE statement);

// The generic EXEC block (EXEC END-EXEC of any other subsystem): the
// STMT_EXEC node that SplitExecLines builds from the collected tokens; the
// rule's tokens are handed to it now, and those up to and including the
// EXEC keyword then move to the token list of its subsystem slot.
YYSTYPE DovExecTokenBlock(DovGrammarReduction& r);

// EXEC SQL error END-EXEC: STMT_EXEC_SQL over the pending syntax-error node
// (which holds what recovery skipped); EXEC and SQL go to the statement
// slot's tokens, END-EXEC to the node's own, in source order.
YYSTYPE DovExecSqlError(DovGrammarReduction& r);

// An EXEC block in the data division: STMT_EXEC and STMT_EXEC_SQL become
// STMT_EXEC_IN_DCL and STMT_EXEC_SQL_IN_DCL (same slots); other nodes pass.
YYSTYPE DovExecInDataDivision(YYSTYPE node);
