/* ---- dispatcher: the statements of this family ------------------------------
 * arith_stmt: the statement node of the alternative                                 */
arith_stmt
    : add_stmt                                                     { $$ = $1; }
    | subtract_stmt                                                { $$ = $1; }
    | multiply_stmt                                                { $$ = $1; }
    | divide_stmt                                                  { $$ = $1; }
    | compute_stmt                                                 { $$ = $1; }
    ;

/* ---- SIZE ERROR phrases -------------------------------------------------------
 * [ON] SIZE ERROR statement...    NOT [ON] SIZE ERROR statement...
 * opt_on_size_error: EX_ON_SIZE_ERROR or null
 * opt_not_on_size_error: EX_NOT_ON_SIZE_ERROR or null
 * A phrase binds to the nearest statement that can take it (the shift wins). */
opt_on_size_error
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _on_kwd RW_SIZE RW_ERROR statement_list %prec PRTY_LOW                 { $$ = DovConstructNode(EX_ON_SIZE_ERROR, $4); }
    ;

opt_not_on_size_error
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | CMB_NOT_ON_AT _on_kwd RW_SIZE RW_ERROR statement_list %prec PRTY_LOW       { $$ = DovConstructNode(EX_NOT_ON_SIZE_ERROR, $5); }
    ;

/* ---- ADD ----------------------------------------------------------------------
 * ADD operand... TO receiving...           ADD operand... [TO operand] GIVING receiving...
 * ADD {CORR|CORRESPONDING} identifier TO identifier [ROUNDED]
 *     [size error phrases] [END-ADD]
 * add_stmt: STMT_ADD    add_format: EX_ARITH_ADD_TO / _GIVING / _CORR_TO         */
add_stmt
    : RW_ADD add_format opt_on_size_error opt_not_on_size_error opt_end_add { $$ = DovConstructNode(STMT_ADD, $2, $3, $4, $5); }
    ;

add_format
    : operand_list RW_TO receiving_list                                     { $$ = DovConstructNode(EX_ARITH_ADD_TO, $1, $3); }
    | operand_list RW_GIVING receiving_list                                 { $$ = DovConstructNode(EX_ARITH_ADD_GIVING, $1, $3); }
    | add_to_sources RW_GIVING receiving_list                               { $$ = DovConstructNode(EX_ARITH_ADD_GIVING, $1, $3); }
    | corr_word identifier RW_TO receiving_operand                          { $$ = DovConstructNode(EX_ARITH_ADD_CORR_TO, $2, $4); }
    ;

/* ADD a b TO c GIVING d: c is one more addend. */
add_to_sources
    : operand_list RW_TO operand                                            { $$ = DovListJoin(YYREDUCTION, EX_LIST, $1, $3); }
    ;

opt_end_add
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_ADD                                                            { $$ = DovKeywordNode(EX_END_ADD); }
    ;

/* ---- SUBTRACT -------------------------------------------------------------------
 * SUBTRACT operand... FROM receiving...    SUBTRACT operand... FROM operand GIVING receiving...
 * SUBTRACT {CORR|CORRESPONDING} identifier FROM identifier [ROUNDED]
 * subtract_stmt: STMT_SUBTRACT                                                 */
subtract_stmt
    : RW_SUBTRACT subtract_format opt_on_size_error opt_not_on_size_error opt_end_subtract
        { $$ = DovConstructNode(STMT_SUBTRACT, $2, $3, $4, $5); }
    ;

subtract_format
    : operand_list RW_FROM receiving_list                                   { $$ = DovConstructNode(EX_ARITH_SUB_FROM, $1, $3); }
    | operand_list RW_FROM operand RW_GIVING receiving_list                 { $$ = DovConstructNode(EX_ARITH_SUB_FROM_GIVING, $1, $3, $5); }
    | corr_word identifier RW_FROM receiving_operand                        { $$ = DovConstructNode(EX_ARITH_SUB_CORR_FROM, $2, $4); }
    ;

opt_end_subtract
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_SUBTRACT                                                       { $$ = DovKeywordNode(EX_END_SUBTRACT); }
    ;

/* ---- MULTIPLY ---------------------------------------------------------------------
 * MULTIPLY operand BY receiving...    MULTIPLY operand BY operand GIVING receiving...
 * multiply_stmt: STMT_MULTIPLY                                                 */
multiply_stmt
    : RW_MULTIPLY multiply_format opt_on_size_error opt_not_on_size_error opt_end_multiply
        { $$ = DovConstructNode(STMT_MULTIPLY, $2, $3, $4, $5); }
    ;

multiply_format
    : operand RW_BY receiving_list                                          { $$ = DovConstructNode(EX_ARITH_MUL_BY, $1, $3); }
    | operand RW_BY operand RW_GIVING receiving_list                        { $$ = DovConstructNode(EX_ARITH_MUL_BY_GIVING, $1, $3, $5); }
    ;

opt_end_multiply
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_MULTIPLY                                                       { $$ = DovKeywordNode(EX_END_MULTIPLY); }
    ;

/* ---- DIVIDE -------------------------------------------------------------------------
 * DIVIDE operand INTO receiving...
 * DIVIDE operand {INTO|BY} operand GIVING receiving... [REMAINDER identifier]
 * divide_stmt: STMT_DIVIDE    divide_format: EX_ARITH_DIV_INTO / _INTO_GIVING / _BY_GIVING */
divide_stmt
    : RW_DIVIDE divide_format opt_on_size_error opt_not_on_size_error opt_end_divide
        { $$ = DovConstructNode(STMT_DIVIDE, $2, $3, $4, $5); }
    ;

divide_format
    : operand RW_INTO receiving_list                                        { $$ = DovConstructNode(EX_ARITH_DIV_INTO, $1, $3); }
    | operand RW_INTO operand RW_GIVING receiving_list opt_remainder        { $$ = DovConstructNode(EX_ARITH_DIV_INTO_GIVING, $1, $3, $5, $6); }
    | operand RW_BY operand RW_GIVING receiving_list opt_remainder          { $$ = DovConstructNode(EX_ARITH_DIV_BY_GIVING, $1, $3, $5, $6); }
    ;

opt_remainder
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REMAINDER receiving_operand                                        { $$ = DovConstructNode(EX_ARITH_DIV_REMAINDER, $2); }
    ;

opt_end_divide
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_DIVIDE                                                         { $$ = DovKeywordNode(EX_END_DIVIDE); }
    ;

/* ---- COMPUTE ------------------------------------------------------------------------
 * COMPUTE receiving... {= | EQUAL} expression [size error phrases] [END-COMPUTE]
 * compute_stmt: STMT_COMPUTE                                                    */
compute_stmt
    : RW_COMPUTE receiving_list compute_equal arith_expr opt_on_size_error opt_not_on_size_error opt_end_compute
        { $$ = DovConstructNode(STMT_COMPUTE, $2, $4, $5, $6, $7); }
    ;

compute_equal
    : OP_EQ
    | RW_EQUAL
    ;

opt_end_compute
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_COMPUTE                                                        { $$ = DovKeywordNode(EX_END_COMPUTE); }
    ;
