/* ==== Arithmetic statements =============================================================
 * arith_stmt: the statement node. Owned by the statements family; the
 * skeleton COMPUTE below is the core's first form.                           */
arith_stmt
    : compute_stmt                                  { $$ = $1; }
    ;

/* ---- COMPUTE (first form) ------------------------------------------------------------------
 * COMPUTE identifier [ROUNDED]... {=|EQUAL} arithmetic-expression [END-COMPUTE]
 * compute_stmt: STMT_COMPUTE (receiving list, expression, size error
 * phrases: null nodes, EX_END_COMPUTE or a null node)                       */
compute_stmt
    : RW_COMPUTE receiving_list compute_equal arith_expr opt_end_compute
      { $$ = DovConstructNode(STMT_COMPUTE, $2, $4, DovAbsentNode(), DovAbsentNode(), $5); }
    ;

compute_equal
    : OP_EQ
    | RW_EQUAL
    ;

opt_end_compute
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_END_COMPUTE                                { $$ = DovKeywordNode(EX_END_COMPUTE); }
    ;
