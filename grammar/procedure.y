/* ---- PROCEDURE DIVISION ------------------------------------------------------------
 * PROCEDURE DIVISION [mnemonic-name] [WITH name LINKAGE]
 *     [{USING|CHAINING} {[BY {REFERENCE|CONTENT|VALUE}] data-name}...]
 *     [{RETURNING|GIVING} data-name] .
 *     [copy-marker] [DECLARATIVES. {section-header USE ... . {paragraph | sentence}...}...
 *     END DECLARATIVES.] [copy-marker]
 *     { section-name SECTION [segment]. | paragraph-name. | sentence | copy-marker }...
 * opt_procedure_division, procedure_division: DIVISION_PROCEDURE or null
 * procedure_division_head: DIVISION_PROCEDURE with its header phrases
 * The elements are placed by ProcessNewProc as they are reduced; the
 * element rules yield null.                                                  */
opt_procedure_division
    : /* empty */
    | procedure_division                            { $$ = $1; }
    ;

procedure_division
    : procedure_division_head opt_proc_copy_marker opt_declaratives proc_body_start opt_proc_copy_marker
      procedure_elements
      { $$ = DovProcDivisionEnd($1, $2, $3, $5); }
    ;

/* The flag marker reduces by default right after the period, before the
 * token after it is read: the token adapter marks Area-A names only inside
 * the procedure division. */
procedure_division_head
    : RW_PROCEDURE RW_DIVISION opt_call_convention opt_with_linkage opt_using_phrase opt_returning_phrase SEP_DOT
      mark_proc_division
      { $$ = DovProcDivisionStart(YYREDUCTION, $3, $4, $5, $6); }
    ;

mark_proc_division
    : /* empty */ [ /* TRIAL: the flag holds for tokens read ahead */ DovSetProcDivision(); ]
    ;

/* Reaches the division node three cells to its left ($-2: the head). */
proc_body_start
    : /* empty */                                   { DovProcBodyStart(YYVALARG(-2)); }
    ;

opt_call_convention
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | TK_USER_DEFD_WORD                             { $$ = DovUseOfWord($1, NC_MNEMONIC_NAME); }
    ;

/* CONFLICT C05 (register): a COPY marker after the header (and after the
 * declaratives) may stand in the division's marker slot or be the first
 * procedure element; the shift (the slot) is tried first. */
opt_proc_copy_marker
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | copy_marker                                   { $$ = $1; }
    ;

copy_marker
    : SEP_UNINLINED_COPY                            { $$ = $1; }
    | SEP_INLINED_COPY                              { $$ = $1; }
    ;

/* ---- WITH ... LINKAGE, USING, CHAINING, RETURNING --------------------------------
 * WITH name LINKAGE    {USING|CHAINING} param...    {RETURNING|GIVING} data-name
 * opt_with_linkage: EX_CALL_WITH_LINKAGE or a null node (CALL and ENTRY too)
 * opt_using_phrase: EX_PROC_USING / EX_PROC_CHAINING or a null node
 * proc_param_list: EX_PROC_PARAM_LIST    proc_param: EX_PROC_PARAM
 * opt_by_phrase: EX_PT_BY_REFERENCE / _CONTENT / _VALUE or a null node
 * The token adapter reads the name of WITH ... LINKAGE as a plain character
 * string; the markers stay as empty rules around it.                         */
opt_with_linkage
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_WITH mark_linkage_name TK_CHAR_STRING mark_linkage_end RW_LINKAGE
      { $$ = DovConstructNode(EX_CALL_WITH_LINKAGE, $3); }
    ;

mark_linkage_name
    : /* empty */
    ;

mark_linkage_end
    : /* empty */
    ;

opt_using_phrase
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_USING mark_by_reference proc_param_list    { $$ = DovConstructNode(EX_PROC_USING, $3); }
    | RW_CHAINING mark_by_reference proc_param_list { $$ = DovConstructNode(EX_PROC_CHAINING, $3); }
    ;

mark_by_reference
    : /* empty */                                   { DovSetParamMode(EX_PT_BY_REFERENCE); }
    ;

proc_param_list
    : proc_param                                    { $$ = DovListFirst(EX_PROC_PARAM_LIST, $1); }
    | proc_param_list proc_param                    { $$ = DovListAppend(EX_PROC_PARAM_LIST, $1, $2); }
    ;

proc_param
    : opt_by_phrase data_name                       { $$ = DovProcParam($1, $2); }
    ;

opt_by_phrase
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | _by RW_REFERENCE                              { $$ = DovByPhrase(EX_PT_BY_REFERENCE); }
    | _by RW_CONTENT                                { $$ = DovByPhrase(EX_PT_BY_CONTENT); }
    | _by RW_VALUE                                  { $$ = DovByPhrase(EX_PT_BY_VALUE); }
    ;

opt_returning_phrase
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_RETURNING data_name                        { $$ = $2; }
    | RW_GIVING data_name                           { $$ = $2; }
    ;

/* ---- DECLARATIVES ----------------------------------------------------------------------
 * DECLARATIVES. {section-header sentence...}... END DECLARATIVES.
 * opt_declaratives: DECLARATIVE_SECTIONS or a null node                      */
opt_declaratives
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | declaratives_start procedure_elements end_declaratives
      { $$ = DovDeclarativesEnd(YYREDUCTION, 1, $1, $3); }
    ;

declaratives_start
    : RW_DECLARATIVES SEP_DOT                       { $$ = DovDeclarativesStart(YYREDUCTION); }
    ;

end_declaratives
    : RW_END_DECLARATIVES SEP_DOT                   { $$ = DovKeywordNode(END_DECLARATIVES); }
    ;

/* ---- Procedure elements -------------------------------------------------------------------
 * section-name SECTION [segment].    paragraph-name.    sentence    copy-marker
 * Each element goes to ProcessNewProc (the rules yield null).
 * procedure_name_term: the name's symbol-table element, its position the
 * word's own. The error alternative keeps what it skipped in its
 * STMT__SYNTAX_ERROR node.                                                     */
procedure_elements
    : /* empty */
    | procedure_elements procedure_element
    ;

procedure_element
    : section_header
    | paragraph_header
    | sentence
    | copy_marker                                   { DovProcElement(YYREDUCTION, $1); }
    | error SEP_DOT                                 { DovProcElement(YYREDUCTION, DovErrorValue(YYREDUCTION)); }
    ;

section_header
    : procedure_name_term RW_SECTION opt_segment SEP_DOT  { DovSectionHeader(YYREDUCTION, $1, $3); }
    ;

paragraph_header
    : procedure_name_term SEP_DOT                   { DovParagraphHeader(YYREDUCTION, $1); }
    ;

/* A sentence commits a trial: it is complete. */
sentence
    : SEP_DOT                                       { DovProcElement(YYREDUCTION, DovKeywordNode(SENTENCE_EMPTY)); }
    | statement_list SEP_DOT
      [ /* TRIAL: commit */ YYVALID; DovProcElement(YYREDUCTION, DovConstructNode(SENTENCE, $1)); ]
    ;

procedure_name_term
    : TK_AREA_A_NAME                                { $$ = DovProcNameTerm(YYREDUCTION, $1); }
    | TK_USER_DEFD_WORD                             { $$ = DovProcNameTerm(YYREDUCTION, $1); }
    | TK_INT_NUM_LIT                                { $$ = DovProcNameTerm(YYREDUCTION, $1); }
    ;

opt_segment
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | TK_INT_NUM_LIT                                { $$ = $1; }
    ;

/* ---- Procedure-name references ---------------------------------------------------------------
 * procedure-name [{THRU|THROUGH} procedure-name]    procedure-name...
 * procedure-name: paragraph-name [{OF|IN} section-name]
 * procedure_range: EX_PROC_RANGE (PROC_RANGE_TO empty without THRU)
 * procedure_ref: NAMED_OBJ_USE of proc-name    procedure_qual_name: OF_IN_LIST
 * procedure_name_part: NAME_USE    procedure_name_list: EX_LIST
 * opt_procedure_name_list: EX_LIST or a null node                             */
procedure_range
    : procedure_ref                                 { $$ = DovConstructNode(EX_PROC_RANGE, $1); }
    | procedure_ref thru_word procedure_ref         { $$ = DovConstructNode(EX_PROC_RANGE, $1, $3); }
    ;

procedure_ref
    : procedure_qual_name                           { $$ = DovNamedUse($1, NC_PROC_NAME, 0); }
    ;

procedure_qual_name
    : procedure_name_part                           { $$ = DovListFirst(OF_IN_LIST, $1); }
    | procedure_name_part of_in_word procedure_name_part
      { $$ = DovListJoin(YYREDUCTION, OF_IN_LIST, DovListFirst(OF_IN_LIST, $1), $3); }
    ;

procedure_name_part
    : TK_AREA_A_NAME                                { $$ = DovNameUseOfWord($1); }
    | TK_USER_DEFD_WORD                             { $$ = DovNameUseOfWord($1); }
    | TK_INT_NUM_LIT                                { $$ = DovNameUseOfWord($1); }
    ;

procedure_name_list
    : procedure_ref                                 { $$ = DovListFirst(EX_LIST, $1); }
    | procedure_name_list procedure_ref             { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

opt_procedure_name_list
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | procedure_name_list                           { $$ = $1; }
    ;

/* ---- Statement lists and the statement dispatcher -------------------------------------------
 * statement_list: STMT_LIST    opt_statement_list: STMT_LIST or a null node
 * statement: the statement node of its family's rule. One alternative per
 * family; each family file defines its nonterminal. A COPY marker inside a
 * sentence (the token adapter delivers it as SEP_COPY_INC) is a statement of
 * its own: the begin or end node of the copybook.                             */
opt_statement_list
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | statement_list                                { $$ = $1; }
    ;

/* A statement that builds no node (ENTER) leaves its tokens at the end of
 * the list, or passes them up when it is first; the next statement takes
 * them in front of its own. */
statement_list
    : statement                                     { $$ = DovListFirst(STMT_LIST, $1); }
    | statement_list statement                      { $$ = DovStatementListAppend(YYREDUCTION, $1, $2); }
    ;

statement
    : control_stmt                                  { $$ = $1; }
    | arith_stmt                                    { $$ = $1; }
    | data_stmt                                     { $$ = $1; }
    | io_stmt                                       { $$ = $1; }
    | exec_stmt                                     { $$ = $1; }
    | SEP_COPY_INC                                  { $$ = $1; }
    ;

/* ---- Screen attribute phrases --------------------------------------------------------------
 * AUTO | AUTO-SKIP | FULL | LENGTH-CHECK | REQUIRED | EMPTY-CHECK | SECURE | NO-ECHO
 * | ZERO-FILL | BLANK {SCREEN|LINE} | PROMPT [CHARACTER] [IS] value
 * | LINE [NUMBER] [IS] [+|-|PLUS] value | {COL|COLUMN} [NUMBER] [IS] [+|-|PLUS] value
 * | VALUE [IS] literal | {PIC|PICTURE} [IS] string | FROM value | TO identifier
 * | USING identifier | USAGE [IS] DISPLAY | BLANK WHEN ZERO | {JUST|JUSTIFIED} [RIGHT]
 * | SIGN [IS] {LEADING|TRAILING} [SEPARATE [CHARACTER]] | OCCURS integer [TIMES]
 * screen_phrase, screen_input_phrase: null; each phrase's node goes to its clause of the node
 * ScreenHolder collects for (a screen description entry, an ACCEPT or
 * DISPLAY screen item: the families that use the phrases start the holder).
 * The bare-literal and bare-DISPLAY forms of VALUE and USAGE are the using
 * rules' to add where they cause no conflict.
 * opt_screen_sign: SCRD_PLUS, SCRD_MINUS or a null node
 * opt_eol_eos: DSPL_EOL, DSPL_EOS or a null node                              */
screen_phrase
    : screen_input_phrase
    | RW_BLANK screen_or_line
      { DovScreenClause(YYREDUCTION, 29, DovConstructNode(DSPL_BLANK, $2)); }
    | RW_PROMPT _character _is ident_or_literal
      { DovScreenClause(YYREDUCTION, 21, DovConstructNode(SCRD_PROMPT, $4)); }
    | RW_LINE _number _is opt_screen_sign ident_or_literal
      { DovScreenClause(YYREDUCTION, 2, DovConstructNode(SCRD_LINE_NUMBER, $4, $5)); }
    | col_word _number _is opt_screen_sign ident_or_literal
      { DovScreenClause(YYREDUCTION, 3, DovConstructNode(SCRD_COLUMN_NUMBER, $4, $5)); }
    | RW_VALUE _is literal_all
      { DovScreenClause(YYREDUCTION, 31, DovConstructNode(SCRD_VALUE, $3)); }
    | pic_word _is TK_PIC_CHAR_STRING
      { DovScreenClause(YYREDUCTION, 32, DovConstructNode(SCRD_PICTURE, $3)); }
    | RW_FROM ident_or_literal
      { DovScreenClause(YYREDUCTION, 33, DovConstructNode(SCRD_FROM, $2)); }
    | RW_TO identifier
      { DovScreenClause(YYREDUCTION, 34, DovConstructNode(SCRD_TO, $2)); }
    | RW_USING identifier
      { DovScreenClause(YYREDUCTION, 35, DovConstructNode(SCRD_USING, $2)); }
    | RW_USAGE _is RW_DISPLAY
      { DovScreenClause(YYREDUCTION, 36, DovConstructNode(SCRD_USAGE, DovKeywordNode(DU_DISPLAY))); }
    | RW_BLANK _when zero_word
      { DovScreenClause(YYREDUCTION, 37, DovKeywordNode(SCRD_BWZ)); }
    | just_word opt_right
      { DovScreenClause(YYREDUCTION, 27, DovKeywordNode(SCRD_JUSTIFIED)); }
    | RW_SIGN _is screen_sign_position opt_screen_sign_separate
      { DovScreenClause(YYREDUCTION, 28, DovConstructNode(SCRD_SIGN, $3, $4)); }
    | RW_OCCURS integer _times
      { DovScreenClause(YYREDUCTION, 38, DovConstructNode(SCRD_OCCURS, $2)); }
    ;

/* AUTO ... ZERO-FILL: also phrases of an ACCEPT item. */
screen_input_phrase
    : RW_AUTO                                       { DovScreenClause(YYREDUCTION, 22, DovKeywordNode(ACCP_AUTO)); }
    | RW_AUTO_SKIP                                  { DovScreenClause(YYREDUCTION, 22, DovKeywordNode(ACCP_AUTO)); }
    | RW_FULL                                       { DovScreenClause(YYREDUCTION, 23, DovKeywordNode(ACCP_FULL)); }
    | RW_LENGTH_CHECK                               { DovScreenClause(YYREDUCTION, 23, DovKeywordNode(ACCP_FULL)); }
    | RW_REQUIRED                                   { DovScreenClause(YYREDUCTION, 24, DovKeywordNode(ACCP_REQUIRED)); }
    | RW_EMPTY_CHECK                                { DovScreenClause(YYREDUCTION, 24, DovKeywordNode(ACCP_REQUIRED)); }
    | RW_SECURE                                     { DovScreenClause(YYREDUCTION, 25, DovKeywordNode(ACCP_SECURE)); }
    | RW_NO_ECHO                                    { DovScreenClause(YYREDUCTION, 25, DovKeywordNode(ACCP_SECURE)); }
    | RW_ZERO_FILL                                  { DovScreenClause(YYREDUCTION, 26, DovKeywordNode(ACCP_ZERO_FILL)); }
    ;

screen_or_line
    : RW_SCREEN                                     { $$ = DovKeywordNode(DSPL_SCREEN); }
    | RW_LINE                                       { $$ = DovKeywordNode(DSPL_LINE); }
    ;

opt_screen_sign
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_PLUS                                       { $$ = DovKeywordNode(SCRD_PLUS); }
    | OP_PLUS                                       { $$ = DovKeywordNode(SCRD_PLUS); }
    | OP_MINUS                                      { $$ = DovKeywordNode(SCRD_MINUS); }
    ;

opt_right
    : /* empty */
    | RW_RIGHT
    ;

screen_sign_position
    : RW_LEADING                                    { $$ = DovKeywordNode(DX_SIGN_LEADING); }
    | RW_TRAILING                                   { $$ = DovKeywordNode(DX_SIGN_TRAILING); }
    ;

opt_screen_sign_separate
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_SEPARATE _character                        { $$ = DovKeywordNode(DX_SIGN_SEPARATE); }
    ;

opt_eol_eos
    : /* empty */                                   { $$ = DovAbsentNode(); }
    | RW_EOL                                        { $$ = DovKeywordNode(DSPL_EOL); }
    | RW_EOS                                        { $$ = DovKeywordNode(DSPL_EOS); }
    ;
