/* ---- Procedure division ------------------------------------------------------
 * PROCEDURE DIVISION. { section-name SECTION [segment]. | paragraph-name. |
 *                       sentence }...
 * opt_procedure_division: the division or null
 * procedure_element: a section header, a paragraph header or a sentence    */
opt_procedure_division
    : /* empty */
    | procedure_division
    ;

procedure_division
    : procedure_division_header procedure_elements
    ;

procedure_division_header
    : RW_PROCEDURE RW_DIVISION SEP_DOT
    ;

procedure_elements
    : /* empty */
    | procedure_elements procedure_element
    ;

procedure_element
    : procedure_name RW_SECTION opt_segment SEP_DOT
    | procedure_name SEP_DOT
    | SEP_DOT
    | statement_list SEP_DOT
    | error SEP_DOT
    ;

procedure_name
    : TK_AREA_A_NAME
    | TK_USER_DEFD_WORD
    | TK_INT_NUM_LIT
    ;

opt_segment
    : /* empty */
    | TK_INT_NUM_LIT
    ;

/* ---- Statement lists -----------------------------------------------------------
 * statement_list: a STMT_LIST of the statements                              */
statement_list
    : statement
    | statement_list statement
    ;

statement
    : stop_stmt
    | goback_stmt
    | exit_stmt
    | continue_stmt
    | next_sentence_stmt
    | goto_stmt
    | perform_stmt
    | exec_stmt
    ;

/* ---- STOP RUN, GOBACK, EXIT, CONTINUE, NEXT SENTENCE -------------------------
 * STOP RUN    GOBACK    EXIT [PROGRAM | PARAGRAPH | SECTION | PERFORM [CYCLE]]
 * CONTINUE    NEXT SENTENCE
 * each: its statement node                                                    */
stop_stmt
    : RW_STOP RW_RUN
    ;

goback_stmt
    : RW_GOBACK
    ;

exit_stmt
    : RW_EXIT
    | RW_EXIT RW_PROGRAM
    | RW_EXIT RW_PARAGRAPH
    | RW_EXIT RW_SECTION
    | RW_EXIT_PERFORM
    | RW_EXIT_PERFORM RW_CYCLE
    ;

continue_stmt
    : RW_CONTINUE
    ;

next_sentence_stmt
    : RW_NEXT_SENTENCE
    ;

/* ---- GO TO, PERFORM of a procedure ---------------------------------------------
 * GO [TO] procedure-name    PERFORM procedure-name [{THRU|THROUGH} procedure-name]
 * procedure_range: EX_PROC_RANGE    procedure_ref: the use of the name        */
goto_stmt
    : RW_GO _to procedure_ref
    ;

perform_stmt
    : RW_PERFORM procedure_range
    ;

procedure_range
    : procedure_ref
    | procedure_ref thru_word procedure_ref
    ;

procedure_ref
    : procedure_name
    | procedure_name of_in_word procedure_name
    ;
