/* ==== Control flow statements ==========================================================
 * control_stmt: the statement node. Owned by the statements family; the
 * skeleton statements below are the core's first forms (keep their shapes).  */
control_stmt
    : stop_stmt                                     { $$ = $1; }
    | goback_stmt                                   { $$ = $1; }
    | exit_stmt                                     { $$ = $1; }
    | continue_stmt                                 { $$ = $1; }
    | next_sentence_stmt                            { $$ = $1; }
    | goto_stmt                                     { $$ = $1; }
    | perform_stmt                                  { $$ = $1; }
    | if_stmt                                       { $$ = $1; }
    ;

/* ---- STOP RUN, GOBACK, EXIT, CONTINUE, NEXT SENTENCE ------------------------------
 * STOP RUN    GOBACK    EXIT [PROGRAM | PARAGRAPH | SECTION | PERFORM [CYCLE]]
 * CONTINUE    NEXT SENTENCE
 * stop_stmt: STMT_STOP (EX_RUN, literal, giving)    goback_stmt: STMT_GOBACK
 * exit_stmt: STMT_EXIT, STMT_EXIT_PROGRAM, STMT_EXIT_PARAGRAPH,
 * STMT_EXIT_SECTION, STMT_EXIT_PERFORM (EX_EXIT_CYCLE or a null node)        */
stop_stmt
    : RW_STOP RW_RUN
      { $$ = DovConstructNode(STMT_STOP, DovKeywordNode(EX_RUN), DovAbsentNode(), DovAbsentNode()); }
    ;

goback_stmt
    : RW_GOBACK                                     { $$ = DovConstructNode(STMT_GOBACK, DovAbsentNode()); }
    ;

exit_stmt
    : RW_EXIT                                       { $$ = DovKeywordNode(STMT_EXIT); }
    | RW_EXIT RW_PROGRAM                            { $$ = DovConstructNode(STMT_EXIT_PROGRAM, DovAbsentNode()); }
    | RW_EXIT RW_PARAGRAPH                          { $$ = DovKeywordNode(STMT_EXIT_PARAGRAPH); }
    | RW_EXIT RW_SECTION                            { $$ = DovKeywordNode(STMT_EXIT_SECTION); }
    | RW_EXIT_PERFORM                               { $$ = DovConstructNode(STMT_EXIT_PERFORM, DovAbsentNode()); }
    | RW_EXIT_PERFORM RW_CYCLE
      { $$ = DovConstructNode(STMT_EXIT_PERFORM, DovKeywordNode(EX_EXIT_CYCLE)); }
    ;

continue_stmt
    : RW_CONTINUE                                   { $$ = DovKeywordNode(STMT_CONTINUE); }
    ;

next_sentence_stmt
    : RW_NEXT_SENTENCE                              { $$ = DovKeywordNode(STMT_NEXT_SENTENCE); }
    ;

/* ---- GO TO, PERFORM of a procedure -----------------------------------------------------
 * GO [TO] [procedure-name...]    PERFORM procedure-name [{THRU|THROUGH} procedure-name]
 * goto_stmt: STMT_GOTO (EX_LIST of the names or a null node)
 * perform_stmt: STMT_PERFORM_PROC (EX_PROC_RANGE, repeaters: a null node)    */
goto_stmt
    : RW_GO _to opt_procedure_name_list             { $$ = DovConstructNode(STMT_GOTO, $3); }
    ;

perform_stmt
    : RW_PERFORM procedure_range [ /* TRIAL: commit */ YYVALID;
        $$ = DovConstructNode(STMT_PERFORM_PROC, $2, DovAbsentNode()); ]
    ;

/* ---- IF (first form) -----------------------------------------------------------------------
 * IF condition [THEN] statement... [ELSE statement...] END-IF
 * if_stmt: STMT_IF (condition, STMT_LIST, EX_ELSE or a null node, EX_END_IF)
 * The unterminated form (ended by the period) is the family's to add.       */
if_stmt
    : RW_IF condition _then statement_list opt_else RW_END_IF
      { $$ = DovConstructNode(STMT_IF, $2, $4, $5, DovKeywordNode(EX_END_IF)); }
    ;

opt_else
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_ELSE statement_list                        { $$ = DovConstructNode(EX_ELSE, $2); }
    ;
