/* ==== EXEC ... END-EXEC blocks ================================================
 * EXEC SQL sql-statement END-EXEC       EXEC CICS command END-EXEC
 * EXEC subsystem text END-EXEC          (any other subsystem, or SQL / CICS
 *                                        while that handling is off)
 * For any other subsystem the lexer hands the words between EXEC and
 * END-EXEC to the EXEC-token collector, so the grammar sees EXEC directly
 * followed by END-EXEC; the block's node is built from the collected tokens,
 * line by line, and the tokens up to EXEC go to its subsystem slot.
 * The CICS form is reached through cics_statement (cics.y).
 * exec_stmt: STMT_EXEC_SQL, STMT_EXEC_CICS or STMT_EXEC
 * exec_data_entry: the same node in its data-division form
 *                  (STMT_EXEC_SQL_IN_DCL, STMT_EXEC_IN_DCL), period optional
 *
 * An SQL statement these rules do not cover is a syntax error inside the
 * block (an entry boundary of error recovery, synced on END-EXEC): the
 * block's node holds the syntax-error node with every skipped token.        */
exec_stmt
    : RW_EXEC TK_SQL sql_statement RW_END_EXEC { $$ = DovExecSqlStatement($3); }
    | RW_EXEC TK_CICS cics_statement RW_END_EXEC { $$ = DovConstructNode(STMT_EXEC_CICS, $3); }
    | RW_EXEC RW_END_EXEC               { $$ = DovExecTokenBlock(YYREDUCTION); }
    | RW_EXEC TK_SQL error RW_END_EXEC  { $$ = DovExecSqlError(YYREDUCTION); }
    ;

exec_data_entry
    : exec_stmt _dot                    { $$ = DovExecInDataDivision($1); }
    ;
