/* ---- Programs and the identification division ------------------------------
 * [IDENTIFICATION DIVISION.] PROGRAM-ID. name [IS] [COMMON|INITIAL [PROGRAM]] [.]
 *     [PROCEDURE DIVISION. ...] [END PROGRAM name.]
 * The first program of a file may lack the division header and the
 * PROGRAM-ID paragraph; a later program has both.
 * first_program, later_program: the program    id_division: the division
 * program_id_para: the paragraph               program_name: the name      */
first_program
    : first_id_division opt_procedure_division opt_end_program
    | procedure_division opt_end_program
    ;

later_program
    : id_division opt_procedure_division opt_end_program
    ;

first_id_division
    : program_id_para
    | id_division
    ;

id_division
    : id_division_header program_id_para
    ;

id_division_header
    : RW_ID_DIVISION SEP_DOT
    ;

/* The name is read with the reserved-word check off, so that a program
 * named like a reserved word is still a name; the markers reduce by default,
 * before the next token is read. */
program_id_para
    : RW_PROGRAM_ID mark_names_as_words _dot program_name mark_words_reserved _is opt_program_attr _dot
    ;

mark_names_as_words
    : /* empty */
    ;

mark_words_reserved
    : /* empty */
    ;

program_name
    : TK_USER_DEFD_WORD
    | TK_NONNUM_LIT
    ;

opt_program_attr
    : /* empty */
    | program_attr _program
    ;

program_attr
    : RW_COMMON
    | RW_INITIAL
    | RW_COMMON RW_INITIAL
    | RW_INITIAL RW_COMMON
    ;

/* ---- END PROGRAM -------------------------------------------------------------
 * END PROGRAM name.
 * opt_end_program: the END_COBOL_PROGRAM node or null                       */
opt_end_program
    : /* empty */
    | RW_END_PROGRAM program_name SEP_DOT
    ;
