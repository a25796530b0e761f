/* ---- Source file ----------------------------------------------------------------
 * source-file: program { program | END PROGRAM name . }...
 * Programs nest by the program stack of the parser: a program that starts
 * while another is open (not yet ended by its END PROGRAM) is nested in it.
 * So the list is flat; an END PROGRAM after a nested program's own END
 * PROGRAM stands alone in the list.
 * source_file, program_list, program_list_item: null                          */
source_file
    : first_program program_list
    ;

program_list
    : /* empty */
    | program_list program_list_item
    ;

program_list_item
    : later_program
    | end_program
    ;

/* ---- Programs -----------------------------------------------------------------------
 * [IDENTIFICATION DIVISION.] PROGRAM-ID. name ... [ENVIRONMENT DIVISION. ...]
 *     [DATA DIVISION. ...] [PROCEDURE DIVISION. ...] [END PROGRAM name.]
 * The first program of a file may lack the division header and the
 * PROGRAM-ID paragraph (a warning unless mf); a later program has both.
 * mark_program_start: the new COBOL_PROGRAM (StartProgram); the program
 * rules set its four division slots and yield null.
 * The environment division (environment.y), the data division (data.y) and
 * the procedure division (procedure.y) follow, each optional.               */
first_program
    : mark_program_start first_id_division opt_environment_division opt_data_division opt_procedure_division
      { DovProgramDivisions($1, $2, $3, $4, $5); }
    | mark_program_start headless_id_division opt_environment_division opt_data_division procedure_division
      { DovProgramDivisions($1, $2, $3, $4, $5); }
    ;

later_program
    : mark_program_start id_division opt_environment_division opt_data_division opt_procedure_division
      { DovProgramDivisions($1, $2, $3, $4, $5); }
    ;

mark_program_start
    : /* empty */ { $$ = DovProgramStart(); }
    ;

/* ---- IDENTIFICATION DIVISION ------------------------------------------------------
 * IDENTIFICATION DIVISION. PROGRAM-ID. name [IS] [COMMON|INITIAL [PROGRAM]] [.]
 *     [paragraphs]
 * id_division, first_id_division: DIVISION_IDENTIFICATION
 * id_division_header: DIVISION_IDENTIFICATION_HEADER
 * opt_id_paragraphs (ident.y): the paragraphs after PROGRAM-ID; null for now */
first_id_division
    : id_division                                   { $$ = $1; }
    | missing_id_header program_id_para opt_id_paragraphs
      { $$ = DovIdDivision($1, $2); }
    ;

/* Neither header nor PROGRAM-ID: the program must have a procedure division
 * (an empty source is no program).                                          */
headless_id_division
    : missing_id_header missing_program_id          { $$ = DovIdDivision($1, $2); }
    ;

id_division
    : id_division_header program_id_para opt_id_paragraphs  { $$ = DovIdDivision($1, $2); }
    ;

id_division_header
    : RW_ID_DIVISION SEP_DOT                        { $$ = DovKeywordNode(DIVISION_IDENTIFICATION_HEADER); }
    ;

missing_id_header
    : /* empty */ { $$ = DovMissingPart("IDENTIFICATION DIVISION header is missing"); }
    ;

missing_program_id
    : /* empty */ { $$ = DovMissingPart("PROGRAM-ID paragraph is missing"); }
    ;

/* ---- PROGRAM-ID -------------------------------------------------------------------------
 * PROGRAM-ID. name [IS] [COMMON|INITIAL [PROGRAM]] [.]
 * The token adapter reads the name with the reserved-word check off (a
 * program may be named like a reserved word); the two markers stay as empty
 * rules around the name.
 * program_id_para: PARA_PROGRAM_ID    program_name_def: the program-name
 * definition    opt_program_attr: EX_PROG_COMMON / _INITIAL / _COMMON_INITIAL
 * or a null node                                                             */
program_id_para
    : RW_PROGRAM_ID mark_names_as_words _dot program_name_def mark_words_reserved _is opt_program_attr _dot
      { $$ = DovConstructNode(PARA_PROGRAM_ID, $4, $7); }
    ;

mark_names_as_words
    : /* empty */
    ;

mark_words_reserved
    : /* empty */
    ;

program_name_def
    : TK_USER_DEFD_WORD                             { $$ = DovDefineName($1, NC_PROGRAM_NAME, 0); }
    | TK_NONNUM_LIT                                 { $$ = DovDefineName($1, NC_PROGRAM_NAME, 0); }
    ;

opt_program_attr
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | program_attr _program                         { $$ = $1; }
    ;

program_attr
    : RW_COMMON                                     { $$ = DovKeywordNode(EX_PROG_COMMON); }
    | RW_INITIAL                                    { $$ = DovKeywordNode(EX_PROG_INITIAL); }
    | RW_COMMON RW_INITIAL                          { $$ = DovKeywordNode(EX_PROG_COMMON_INITIAL); }
    | RW_INITIAL RW_COMMON                          { $$ = DovKeywordNode(EX_PROG_COMMON_INITIAL); }
    ;

/* ---- END PROGRAM -------------------------------------------------------------------------
 * END PROGRAM name.
 * end_program: null (END_COBOL_PROGRAM goes to EndProgram)
 * program_name_use: the use of the program name                              */
end_program
    : RW_END_PROGRAM program_name_use SEP_DOT       { DovEndProgram(YYREDUCTION, $2); }
    ;

program_name_use
    : TK_USER_DEFD_WORD                             { $$ = DovUseOfWord($1, NC_PROGRAM_NAME); }
    | TK_NONNUM_LIT                                 { $$ = DovUseOfWord($1, NC_PROGRAM_NAME); }
    ;
