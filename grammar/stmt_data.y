/* ==== Data movement statements ============================================================
 * data_stmt: the statement node. Owned by the statements family; the
 * skeleton MOVE below is the core's first form.                              */
data_stmt
    : move_stmt                                     { $$ = $1; }
    ;

/* ---- MOVE (first form) ------------------------------------------------------------------------
 * MOVE operand TO identifier...
 * move_stmt: STMT_MOVE (source, EX_LIST of the destinations)                  */
move_stmt
    : RW_MOVE operand RW_TO receiving_list          { $$ = DovConstructNode(STMT_MOVE, $2, $4); }
    ;
