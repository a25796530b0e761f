/* ---- ENVIRONMENT DIVISION ------------------------------------------------------
 * [ENVIRONMENT DIVISION.] [configuration-section] [input-output-section]
 * opt_environment_division: DIVISION_ENVIRONMENT, or the null node when the
 * header and both sections are absent                                         */
opt_environment_division
    : opt_environment_header opt_configuration_section opt_input_output_section
        { $$ = DovEnvDivision(&$1, &$2, &$3); }
    ;

opt_environment_header
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_ENVIRONMENT_DIVISION SEP_DOT       { $$ = DovKeywordNode(DIVISION_ENVIRONMENT_HEADER); }
    ;

/* ---- CONFIGURATION SECTION -----------------------------------------------------
 * [CONFIGURATION SECTION.] { SOURCE-COMPUTER. ... | OBJECT-COMPUTER. ... |
 *                            SPECIAL-NAMES. ... | REPOSITORY. ... }...
 * opt_configuration_section: SECTION_CONFIGURATION or the null node
 * config_start: marker, starts the section in its holder. The header is
 * taken among the paragraphs, so that a COPY marker may stand before it.    */
opt_configuration_section
    : config_start config_paragraphs        { $$ = DovConfigFinish(); }
    ;

config_start
    : /* empty */                           { DovConfigStart(YYREDUCTION); }
    ;

config_paragraphs
    : /* empty */
    | config_paragraphs config_paragraph
    ;

config_paragraph
    : RW_CONFIGURATION RW_SECTION SEP_DOT
        { $$ = DovKeywordNode(SECTION_CONFIGURATION_HEADER); YYREDUCEPOSN($$); DovConfigHeader($$); }
    | source_computer_para                  { DovConfigClause(CS_SOURCE_COMPUTER, $1); }
    | object_computer_para                  { DovConfigClause(CS_OBJECT_COMPUTER, $1); }
    | special_names_para                    { DovConfigClause(CS_SPEC_NAMES, $1); }
    | repository_para                       { DovConfigClause(CS_REPOSITORY, $1); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovConfigClause(CS_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovConfigClause(CS_UNINLINED_COPY, $1); }
    ;

/* ---- SOURCE-COMPUTER, OBJECT-COMPUTER ------------------------------------------
 * SOURCE-COMPUTER. [computer-name [WITH DEBUGGING MODE]] .
 * OBJECT-COMPUTER. [computer-name] [MEMORY SIZE n {WORDS|CHARACTERS|MODULES}]
 *     [PROGRAM COLLATING SEQUENCE IS alphabet] [SEGMENT-LIMIT IS n] .
 * The computer names arrive as plain words (the token adapter does not look
 * them up). WITH DEBUGGING MODE turns the debugging lines on from the next
 * line on: the marker reduces by default, before the period is read.
 * source_computer_para: PARA_SOURCE_COMPUTER   object_computer_para:
 * PARA_OBJECT_COMPUTER   object_computer_clauses: EX_CC_CLAUSE_LIST or null  */
source_computer_para
    : RW_SOURCE_COMPUTER SEP_DOT opt_computer_name opt_debugging_mode _dot
        { $$ = DovConstructNode(PARA_SOURCE_COMPUTER, $3, $4); }
    ;

object_computer_para
    : RW_OBJECT_COMPUTER SEP_DOT opt_computer_name object_computer_clauses _dot
        { $$ = DovConstructNode(PARA_OBJECT_COMPUTER, $3, $4); }
    ;

opt_computer_name
    : /* empty */                           { $$ = DovAbsentNode(); }
    | TK_CHAR_STRING                        { $$ = $1; }
    ;

opt_debugging_mode
    : /* empty */                           { $$ = DovAbsentNode(); }
    | _with RW_DEBUGGING RW_MODE mark_debugging_lines
        { $$ = DovKeywordNode(EX_CC_DEBUGGING_MODE); }
    ;

/* TRIAL: the lexer switch must hold for every line read after MODE. */
mark_debugging_lines
    : /* empty */                           [ DovDebuggingLinesOn(); ]
    ;

object_computer_clauses
    : /* empty */                           { $$ = DovAbsentNode(); }
    | object_computer_clause_list           { $$ = $1; }
    ;

object_computer_clause_list
    : object_computer_clause                { $$ = DovListFirst(EX_CC_CLAUSE_LIST, $1); }
    | object_computer_clause_list object_computer_clause
        { $$ = DovListAppend(EX_CC_CLAUSE_LIST, $1, $2); }
    ;

object_computer_clause
    : RW_MEMORY _size integer memory_unit
        { $$ = DovConstructNode(EX_CC_MEMORY_SIZE, $3, $4); }
    | _program RW_COLLATING _sequence _is alphabet_name_use
        { $$ = DovConstructNode(EX_CC_COLLATING_SEQUENCE, $5); }
    | RW_SEGMENT_LIMIT _is integer      { $$ = DovConstructNode(EX_CC_SEGMENT_LIMIT, $3); }
    ;

memory_unit
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_WORDS                              { $$ = DovKeywordNode(EX_CC_WORDS); }
    | RW_CHARACTERS                         { $$ = DovKeywordNode(EX_CC_CHARACTERS); }
    | RW_MODULES                            { $$ = DovKeywordNode(EX_CC_MODULES); }
    ;

/* ---- SPECIAL-NAMES -----------------------------------------------------------
 * SPECIAL-NAMES. [switch-clause | device-clause | ALPHABET ... | SYMBOLIC ...
 *     | CLASS ... | CURRENCY ... | DECIMAL-POINT IS COMMA | NUMERIC SIGN ...
 *     | CALL-CONVENTION ... | CURSOR ... | CRT STATUS ...]... [.]
 * The switch names (SWITCH-n, SWITCH n) are keywords only here: the
 * context-word switch is on from the period after SPECIAL-NAMES.
 * special_names_para: PARA_SPECIAL_NAMES, collected in its holder
 * special_names_start: marker, starts the paragraph                          */
special_names_para
    : RW_SPECIAL_NAMES SEP_DOT mark_context_words_on special_names_start special_names_clauses _dot
      mark_context_words_off
        { $$ = DovSpecialNamesFinish(); }
    ;

/* The header's tokens (SPECIAL-NAMES and its period, the three cells left
 * of the marker) go in front of the clauses, into the first slot. */
special_names_start
    : /* empty */                           { DovSpecialNamesStart(YYREDUCTION, &YYPOSNARG(-2), 3); }
    ;

special_names_clauses
    : /* empty */
    | special_names_clauses special_names_clause
    ;

special_names_clause
    : switch_clause                         { DovSpecialNamesAdd(SN_FUNC_SWITCH, SNX_FUNC_SWITCH_LIST, $1); }
    | device_clause
    | RW_ALPHABET alphabet_name_def _is alphabet_value
        { $$ = DovConstructNode(SNX_ALPHABET, $2, $4); YYREDUCEPOSN($$); DovSpecialNamesAdd(SN_ALPHABET, SNX_ALPHABET_LIST, $$); }
    | RW_SYMBOLIC _characters symbolic_char_defs _is_are symbolic_char_values opt_symbolic_in
        { $$ = DovConstructNode(SNX_SYMB_CHARS, $3, $5, $6); YYREDUCEPOSN($$); DovSpecialNamesAdd(SN_SYMB_CHARS, SNX_SYMB_CHARS_LIST, $$); }
    | RW_SYMBOLIC RW_CONSTANT symbolic_const_defs
        { $$ = DovConstructNode(SNX_SYMBOLIC_CONSTANT, $3); YYREDUCEPOSN($$); DovSpecialNamesAdd(SN_SYMBOLIC_CONSTANT, SNX_SYMBOLIC_CONSTANT_LIST, $$); }
    | RW_CLASS class_name_def _is alphabet_ranges
        { $$ = DovConstructNode(SNX_CLASS, $2, $4); YYREDUCEPOSN($$); DovSpecialNamesAdd(SN_CLASS, SNX_CLASS_LIST, $$); }
    | RW_CURRENCY _sign _is TK_NONNUM_LIT
        { $$ = DovConstructNode(SNX_CURRENCY_SIGN, $4); YYREDUCEPOSN($$); DovSpecialNamesCurrency($$); }
    | RW_DECIMAL_POINT _is RW_COMMA
        { $$ = DovKeywordNode(SNX_DECIMAL_POINT); YYREDUCEPOSN($$); DovSpecialNamesSet(SN_DECIMAL_POINT, $$); }
    | RW_NUMERIC RW_SIGN _is RW_TRAILING RW_SEPARATE
        { $$ = DovKeywordNode(SNX_NUMERIC_SIGN_IS_TS); YYREDUCEPOSN($$); DovSpecialNamesSet(SN_NUMERIC_SIGN, $$); }
    | RW_CALL_CONVENTION integer _is TK_USER_DEFD_WORD
        { $$ = DovConstructNode(SNX_CALL_CONVENTION, $2, DovDefineName($4, NC_MNEMONIC_NAME, 0)); YYREDUCEPOSN($$); DovSpecialNamesAdd(SN_CALL_CONVENTION, SNX_CALL_CONV_LIST, $$); }
    | RW_CURSOR _is data_name
        { $$ = DovConstructNode(SNX_CURSOR, $3); YYREDUCEPOSN($$); DovSpecialNamesSet(SN_CURSOR, $$); }
    | RW_CRT RW_STATUS _is data_name
        { $$ = DovConstructNode(SNX_CRT_STATUS, $4); YYREDUCEPOSN($$); DovSpecialNamesSet(SN_CRT_STATUS, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovSpecialNamesSet(SN_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovSpecialNamesSet(SN_UNINLINED_COPY, $1); }
    ;

/* ---- Switches and devices ------------------------------------------------------
 * switch-name [[IS] mnemonic-name] [ON [STATUS] IS cond] [OFF [STATUS] IS cond]
 * device-name IS {mnemonic-name | CRT}
 * switch_clause: SNX_FUNC_SWITCH (collected in the phrase holder)
 * device_clause: DovDeviceClause pair (device, IS value), sorted out when the
 * paragraph takes it                                                           */
switch_clause
    : switch_name opt_switch_is switch_start switch_status_phrases
        { $$ = DovSwitchFinish(); }
    ;

switch_start
    : /* empty */                           { DovSwitchStart(YYREDUCTION, &YYVALARG(-1), &YYVALARG(0)); }
    ;

opt_switch_is
    : /* empty */                           { $$ = DovAbsentNode(); }
    | mnemonic_name_def                     { $$ = DovConstructNode(SNX_IS, $1); }
    | RW_IS mnemonic_name_def               { $$ = DovConstructNode(SNX_IS, $2); }
    ;

switch_status_phrases
    : /* empty */
    | switch_status_phrases switch_status_phrase
    ;

switch_status_phrase
    : RW_ON _status _is switch_cond_def
        { $$ = DovConstructNode(SNX_ON_STATUS, $4); YYREDUCEPOSN($$); DovSwitchPhrase(SNX_FUNC_SWITCH__ON_STATUS, $$); }
    | RW_OFF _status _is switch_cond_def
        { $$ = DovConstructNode(SNX_OFF_STATUS, $4); YYREDUCEPOSN($$); DovSwitchPhrase(SNX_FUNC_SWITCH__OFF_STATUS, $$); }
    ;

switch_cond_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_SWITCH_COND_NAME, 0); }
    ;

mnemonic_name_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_MNEMONIC_NAME, 0); }
    ;

switch_name
    : RW_SWITCH_0                           { $$ = DovKeywordNode(SW_SWITCH_0); }
    | RW_SWITCH_1                           { $$ = DovKeywordNode(SW_SWITCH_1); }
    | RW_SWITCH_2                           { $$ = DovKeywordNode(SW_SWITCH_2); }
    | RW_SWITCH_3                           { $$ = DovKeywordNode(SW_SWITCH_3); }
    | RW_SWITCH_4                           { $$ = DovKeywordNode(SW_SWITCH_4); }
    | RW_SWITCH_5                           { $$ = DovKeywordNode(SW_SWITCH_5); }
    | RW_SWITCH_6                           { $$ = DovKeywordNode(SW_SWITCH_6); }
    | RW_SWITCH_7                           { $$ = DovKeywordNode(SW_SWITCH_7); }
    | RW_SWITCH_8                           { $$ = DovKeywordNode(SW_SWITCH_8); }
    | RW_UPSI_0                             { $$ = DovKeywordNode(SW_UPSI_0); }
    | RW_UPSI_1                             { $$ = DovKeywordNode(SW_UPSI_1); }
    | RW_UPSI_2                             { $$ = DovKeywordNode(SW_UPSI_2); }
    | RW_UPSI_3                             { $$ = DovKeywordNode(SW_UPSI_3); }
    | RW_UPSI_4                             { $$ = DovKeywordNode(SW_UPSI_4); }
    | RW_UPSI_5                             { $$ = DovKeywordNode(SW_UPSI_5); }
    | RW_UPSI_6                             { $$ = DovKeywordNode(SW_UPSI_6); }
    | RW_UPSI_7                             { $$ = DovKeywordNode(SW_UPSI_7); }
    | RW_SWITCH TK_NONNUM_LIT               { $$ = DovConstructNode(SW_SWITCH, $2); }
    | RW_SWITCH TK_INT_NUM_LIT              { $$ = DovSwitchNumber(&$2); }
    | TK_USER_DEFD_WORD                     { $$ = DovPlainWord(&$1); }
    ;

device_clause
    : device_name RW_IS device_is_value     { DovDeviceClause(YYREDUCTION, &$1, &$3); }
    ;

device_is_value
    : mnemonic_name_def                     { $$ = DovConstructNode(SNX_IS, $1); }
    | RW_CRT                                { $$ = DovKeywordNode(IOF_CRT); }
    ;

/* device_name: the IOF_ node of a device keyword (also after ACCEPT ... FROM and
 * DISPLAY ... UPON, stmt_io.y) */
device_name
    : RW_TAB                                { $$ = DovKeywordNode(IOF_TAB); }
    | RW_PRINTER                            { $$ = DovKeywordNode(IOF_PRINTER); }
    | RW_FORMFEED                           { $$ = DovKeywordNode(IOF_FORMFEED); }
    | RW_CRT_UNDER                          { $$ = DovKeywordNode(IOF_CRT_UNDER); }
    | RW_CONSOLE                            { $$ = DovKeywordNode(IOF_CONSOLE); }
    | RW_COMMAND_LINE                       { $$ = DovKeywordNode(IOF_COMMAND_LINE); }
    | RW_ARGUMENT_NUMBER                    { $$ = DovKeywordNode(IOF_ARG_NUMBER); }
    | RW_ARGUMENT_VALUE                     { $$ = DovKeywordNode(IOF_ARG_VALUE); }
    | RW_ENVIRONMENT_NAME                   { $$ = DovKeywordNode(IOF_ENV_NAME); }
    | RW_ENVIRONMENT_VALUE                  { $$ = DovKeywordNode(IOF_ENV_VALUE); }
    | RW_SYSIN                              { $$ = DovKeywordNode(IOF_SYSIN); }
    | RW_SYSIPT                             { $$ = DovKeywordNode(IOF_SYSIN); }
    | RW_SYSOUT                             { $$ = DovKeywordNode(IOF_SYSOUT); }
    | RW_SYSLIST                            { $$ = DovKeywordNode(IOF_SYSOUT); }
    | RW_SYSLST                             { $$ = DovKeywordNode(IOF_SYSOUT); }
    | RW_SYSPCH                             { $$ = DovKeywordNode(IOF_SYSPUNCH); }
    | RW_SYSPUNCH                           { $$ = DovKeywordNode(IOF_SYSPUNCH); }
    | RW_C01                                { $$ = DovKeywordNode(IOF_C01); }
    | RW_C02                                { $$ = DovKeywordNode(IOF_C02); }
    | RW_C03                                { $$ = DovKeywordNode(IOF_C03); }
    | RW_C04                                { $$ = DovKeywordNode(IOF_C04); }
    | RW_C05                                { $$ = DovKeywordNode(IOF_C05); }
    | RW_C06                                { $$ = DovKeywordNode(IOF_C06); }
    | RW_C07                                { $$ = DovKeywordNode(IOF_C07); }
    | RW_C08                                { $$ = DovKeywordNode(IOF_C08); }
    | RW_C09                                { $$ = DovKeywordNode(IOF_C09); }
    | RW_C10                                { $$ = DovKeywordNode(IOF_C010); }
    | RW_C11                                { $$ = DovKeywordNode(IOF_C011); }
    | RW_C12                                { $$ = DovKeywordNode(IOF_C012); }
    | RW_CSP                                { $$ = DovKeywordNode(IOF_CSP); }
    | RW_S01                                { $$ = DovKeywordNode(IOF_S01); }
    | RW_S02                                { $$ = DovKeywordNode(IOF_S02); }
    | RW_S03                                { $$ = DovKeywordNode(IOF_S03); }
    | RW_S04                                { $$ = DovKeywordNode(IOF_S04); }
    | RW_S05                                { $$ = DovKeywordNode(IOF_S05); }
    ;

/* ---- ALPHABET, CLASS, SYMBOLIC -------------------------------------------------
 * ALPHABET name IS {STANDARD-1 | ASCII | STANDARD-2 | NATIVE | EBCDIC |
 *                   literal [{THRU|THROUGH} literal | ALSO literal...]...}
 * CLASS name IS literal [THRU literal]...
 * SYMBOLIC [CHARACTERS] name... [ARE|IS] integer... [IN alphabet]
 * SYMBOLIC CONSTANT name IS literal ...
 * alphabet_ranges: SNX_ALPHA_RANGE_LIST of EX_ALPH_LITER_RANGE               */
alphabet_value
    : RW_STANDARD_1                         { $$ = DovKeywordNode(SNX_STANDARD_1); }
    | RW_ASCII                              { $$ = DovKeywordNode(SNX_STANDARD_1); }
    | RW_STANDARD_2                         { $$ = DovKeywordNode(SNX_STANDARD_2); }
    | RW_NATIVE                             { $$ = DovKeywordNode(SNX_NATIVE); }
    | RW_EBCDIC                             { $$ = DovKeywordNode(SNX_EBCDIC); }
    | alphabet_ranges                       { $$ = $1; }
    ;

alphabet_ranges
    : alphabet_range                        { $$ = DovListFirst(SNX_ALPHA_RANGE_LIST, $1); }
    | alphabet_ranges alphabet_range        { $$ = DovListAppend(SNX_ALPHA_RANGE_LIST, $1, $2); }
    ;

alphabet_range
    : alphabet_literal                      { $$ = DovConstructNode(EX_ALPH_LITER_RANGE, $1); }
    | alphabet_literal thru_word alphabet_literal
        { $$ = DovConstructNode(EX_ALPH_LITER_RANGE, $1, $3); }
    | alphabet_also_list                    { $$ = DovConstructNode(EX_ALPH_LITER_RANGE, $1); }
    ;

/* ALSO stays in front of the literal it introduces. */
alphabet_also_list
    : alphabet_literal RW_ALSO alphabet_literal
        { $$ = DovListJoin(YYREDUCTION, EX_ALPH_ALSO_LIST, $1, $3); }
    | alphabet_also_list RW_ALSO alphabet_literal
        { $$ = DovListJoin(YYREDUCTION, EX_ALPH_ALSO_LIST, $1, $3); }
    ;

alphabet_literal
    : literal                               { $$ = $1; }
    ;

symbolic_char_defs
    : symbolic_char_def                     { $$ = DovListFirst(EX_LIST, $1); }
    | symbolic_char_defs symbolic_char_def  { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

symbolic_char_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_SYMBOLIC_CHAR, 0); }
    ;

symbolic_char_values
    : integer                           { $$ = DovListFirst(EX_LIST, $1); }
    | symbolic_char_values integer      { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

opt_symbolic_in
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_IN alphabet_name_use               { $$ = DovConstructNode(SNX_SYMB_CHARS_IN, $2); }
    ;

symbolic_const_defs
    : symbolic_const_def                    { $$ = DovListFirst(SNX_SYMB_CONST_LIST, $1); }
    | symbolic_const_defs symbolic_const_def
        { $$ = DovListAppend(SNX_SYMB_CONST_LIST, $1, $2); }
    ;

symbolic_const_def
    : TK_USER_DEFD_WORD _is literal
        { $$ = DovConstructNode(SNX_SYMB_CONST, DovDefineName($1, NC_SYMBOLIC_CONSTANT, 0), $3); }
    ;

alphabet_name_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_ALPHABET_NAME, 0); }
    ;

alphabet_name_use
    : TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_ALPHABET_NAME); }
    ;

class_name_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_CLASS_NAME, 0); }
    ;

/* ---- REPOSITORY -----------------------------------------------------------------
 * REPOSITORY. {CLASS name [AS literal] | PROPERTY name [AS literal]}... .
 * repository_para: PARA_REPOSITORY (EX_LIST of specifiers)                   */
repository_para
    : RW_REPOSITORY SEP_DOT repository_specifiers SEP_DOT
        { $$ = DovConstructNode(PARA_REPOSITORY, $3); }
    ;

repository_specifiers
    : repository_specifier                  { $$ = DovListFirst(EX_LIST, $1); }
    | repository_specifiers repository_specifier
        { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

repository_specifier
    : RW_CLASS class_name_def opt_as_literal    { $$ = DovConstructNode(EX_SPECIFIER_CLASS, $2, $3); }
    | RW_PROPERTY class_name_def opt_as_literal { $$ = DovConstructNode(EX_SPECIFIER_PROPERTY, $2, $3); }
    ;

opt_as_literal
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_AS TK_NONNUM_LIT                   { $$ = DovConstructNode(EX_AS, $2); }
    ;

/* ---- INPUT-OUTPUT SECTION -------------------------------------------------------
 * [INPUT-OUTPUT SECTION.] [FILE-CONTROL. select-entry...] [I-O-CONTROL. ...]
 * opt_input_output_section: SECTION_INPUT_OUTPUT or the null node
 * opt_file_control: PARA_FILE_CONTROL or the null node                       */
opt_input_output_section
    : opt_input_output_header opt_file_control opt_io_control
        { $$ = DovInputOutputSection(&$1, &$2, &$3); }
    ;

opt_input_output_header
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_INPUT_OUTPUT_SECTION SEP_DOT       { $$ = DovKeywordNode(SECTION_INPUT_OUTPUT_HEADER); }
    ;

opt_file_control
    : opt_file_control_header opt_select_entries
        { $$ = DovFileControl(&$1, &$2); }
    ;

opt_file_control_header
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_FILE_CONTROL SEP_DOT               { $$ = DovKeywordNode(PARA_FILE_CONTROL_HEADER); }
    ;

opt_select_entries
    : /* empty */                           { $$ = DovAbsentNode(); }
    | select_entries                        { $$ = $1; }
    ;

select_entries
    : select_entry                          { $$ = DovListFirst(DECL_FC_ENTRY_LIST, $1); }
    | select_entries select_entry           { $$ = DovListAppend(DECL_FC_ENTRY_LIST, $1, $2); }
    ;

/* ---- SELECT ---------------------------------------------------------------------
 * SELECT [[NOT] OPTIONAL] file-name select-clause... .
 * select_entry: DECL_FC_ENTRY, collected in its holder; a COPY marker in
 * place of an entry passes on                                                  */
select_entry
    : RW_SELECT opt_optional file_name_use select_start select_clauses SEP_DOT
        { $$ = DovFileControlFinish(); }
    | SEP_INLINED_COPY                      { $$ = $1; }
    | SEP_UNINLINED_COPY                    { $$ = $1; }
    | error SEP_DOT                         { $$ = DovErrorValue(YYREDUCTION); }
    ;

select_start
    : /* empty */                           { DovFileControlStart(YYREDUCTION, &YYVALARG(-1), &YYVALARG(0)); }
    ;

opt_optional
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_OPTIONAL                           { $$ = DovKeywordNode(FCX_OPTIONAL); }
    | RW_NOT RW_OPTIONAL                    { $$ = DovKeywordNode(FCX_NOT_OPTIONAL); }
    ;

/* The FD entry defines the file; the SELECT entry names it. */
file_name_use
    : TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_FILE_NAME); }
    ;

select_clauses
    : /* empty */
    | select_clauses select_clause
    ;

select_clause
    : RW_ASSIGN _to assign_commit assign_target
        { $$ = DovConstructNode(FCX_ASSIGN, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_ASSIGN, $$); }
    | RW_ORGANIZATION _is file_organization
        { $$ = DovConstructNode(FCX_ORGANIZATION, $3); YYREDUCEPOSN($$); DovFileControlClause(FC_ORGANIZATION, $$); }
    | file_organization_alone
        { $$ = DovConstructNode(FCX_ORGANIZATION, $1); YYREDUCEPOSN($$); DovFileControlClause(FC_ORGANIZATION, $$); }
    | RW_ACCESS _mode _is access_mode
        { $$ = DovConstructNode(FCX_ACCESS_MODE, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_ACCESS_MODE, $$); }
    | RW_RELATIVE _key _is data_name
        { $$ = DovConstructNode(FCX_RELATIVE_KEY, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_RELATIVE_KEY, $$); }
    | RW_RECORD _key _is record_key
        { $$ = DovConstructNode(FCX_RECORD_KEY, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_RECORD_KEY, $$); }
    | RW_ALTERNATE _record _key _is record_key alt_key_start alt_key_phrases
        { $$ = DovAltKeyFinish(); YYREDUCEPOSN($$); DovFileControlList(FC_ALT_RECORD_KEYS, FCX_ALTERNATE_RECORD_KEY_LIST, $$); }
    | _file RW_STATUS _is data_name opt_data_name
        { $$ = DovConstructNode(FCX_FILE_STATUS, $4, $5); YYREDUCEPOSN($$); DovFileControlClause(FC_FILE_STATUS, $$); }
    | RW_SORT RW_STATUS _is data_name
        { $$ = DovConstructNode(FCX_FILE_STATUS, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_FILE_STATUS, $$); }
    | RW_LOCK _mode _is lock_mode
        { $$ = DovConstructNode(FCX_LOCK_MODE_IS, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_LOCK_MODE, $$); }
    | RW_PASSWORD _is data_name
        { $$ = DovConstructNode(FCX_PASSWORD, $3); YYREDUCEPOSN($$); DovFileControlClause(FC_PASSWORD, $$); }
    | RW_PADDING _character _is ident_or_literal
        { $$ = DovConstructNode(FCX_PADDING_CHAR, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_PADDING_CHAR, $$); }
    | RW_RECORD RW_DELIMITER _is delimiter_value
        { $$ = DovConstructNode(FCX_REC_DELIMITER, $4); YYREDUCEPOSN($$); DovFileControlClause(FC_REC_DELIMITER, $$); }
    | RW_RESERVE reserve_count reserve_areas
        { $$ = DovConstructNode(FCX_RESERVE, $2); YYREDUCEPOSN($$); DovFileControlClause(FC_RESERVE, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovFileControlClause(FC_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovFileControlClause(FC_UNINLINED_COPY, $1); }
    ;

/* TRIAL: a trial parse ends at ASSIGN; the entry is unambiguous from here. */
assign_commit
    : /* empty */                           [ YYVALID; ]
    ;

/* ---- ASSIGN ------------------------------------------------------------------
 * ASSIGN [TO] [EXTERNAL|DYNAMIC] {device-kind name... | device-word [name...]}
 * assign_target: FCX_DEVICE (external/dynamic, device, EX_LIST or null)
 * CONFLICT (register, environment): DISK alone is the device word DEV_DISK,
 * DISK FROM the device kind DEV_DISK_FROM_FILE; the shift of FROM is tried
 * first.                                                                     */
assign_target
    : opt_external_dynamic device_kind assign_names
        { $$ = DovConstructNode(FCX_DEVICE, $1, $2, $3); }
    | opt_external_dynamic device_word opt_assign_names
        { $$ = DovConstructNode(FCX_DEVICE, $1, $2, $3); }
    ;

opt_external_dynamic
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_EXTERNAL                           { $$ = DovKeywordNode(FCX_EXTERNAL); }
    | RW_DYNAMIC                            { $$ = DovKeywordNode(FCX_DYNAMIC); }
    ;

device_kind
    : /* empty */                           { $$ = DovKeywordNode(DEV_DISK_FILE); }
    | RW_FILE                               { $$ = DovKeywordNode(DEV_DISK_FILE); }
    | RW_DISK RW_FILE                       { $$ = DovKeywordNode(DEV_DISK_FILE); }
    | RW_DISK RW_FROM                       { $$ = DovKeywordNode(DEV_DISK_FROM_FILE); }
    | RW_LINE RW_ADVANCING                  { $$ = DovKeywordNode(DEV_LINE_ADVANCING); }
    | RW_MULTIPLE RW_REEL                   { $$ = DovKeywordNode(DEV_MULTIPLE_REEL); }
    | RW_MULTIPLE RW_UNIT                   { $$ = DovKeywordNode(DEV_MULTIPLE_UNIT); }
    | RW_INPUT                              { $$ = DovKeywordNode(DEV_INPUT); }
    | RW_INPUT_OUTPUT                       { $$ = DovKeywordNode(DEV_INPUT_OUTPUT); }
    | RW_OUTPUT                             { $$ = DovKeywordNode(DEV_OUTPUT); }
    | RW_PRINT                              { $$ = DovKeywordNode(DEV_PRINT); }
    | RW_RANDOM                             { $$ = DovKeywordNode(DEV_RANDOM); }
    ;

device_word
    : RW_DISK                               { $$ = DovKeywordNode(DEV_DISK); }
    | RW_DISC                               { $$ = DovKeywordNode(DEV_DISK); }
    | RW_KEYBOARD                           { $$ = DovKeywordNode(DEV_KEYBOARD); }
    | RW_DISPLAY                            { $$ = DovKeywordNode(DEV_DISPLAY); }
    | RW_PRINTER                            { $$ = DovKeywordNode(DEV_PRINTER); }
    | RW_PRINTER_1                          { $$ = DovKeywordNode(DEV_PRINTER_1); }
    ;

opt_assign_names
    : /* empty */                           { $$ = DovAbsentNode(); }
    | assign_names                          { $$ = $1; }
    ;

assign_names
    : assign_name                           { $$ = DovListFirst(EX_LIST, $1); }
    | assign_names assign_name              { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

assign_name
    : data_name                          { $$ = $1; }
    | TK_NONNUM_LIT                         { $$ = $1; }
    ;

/* ---- Organisation, access, keys, locks -------------------------------------------
 * file_organization: FCX_ORG_ node    access_mode: FCX_AM_ node
 * record_key: FCX_COMP_REC_KEY or FCX_SPLIT_REC_KEY, or the plain data use  */
file_organization
    : RW_RELATIVE                           { $$ = DovKeywordNode(FCX_ORG_RELATIVE); }
    | RW_RECORD RW_SEQUENTIAL               { $$ = DovKeywordNode(FCX_ORG_RECORD_SEQUENTIAL); }
    | file_organization_alone               { $$ = $1; }
    ;

file_organization_alone
    : RW_SEQUENTIAL                         { $$ = DovKeywordNode(FCX_ORG_SEQUENTIAL); }
    | RW_LINE RW_SEQUENTIAL                 { $$ = DovKeywordNode(FCX_ORG_LINE_SEQUENTIAL); }
    | RW_INDEXED                            { $$ = DovKeywordNode(FCX_ORG_INDEXED); }
    | RW_BINARY RW_SEQUENTIAL               { $$ = DovKeywordNode(FCX_ORG_BINARY_SEQUENTIAL); }
    ;

access_mode
    : RW_SEQUENTIAL                         { $$ = DovKeywordNode(FCX_AM_SEQUENTIAL); }
    | RW_RANDOM                             { $$ = DovKeywordNode(FCX_AM_RANDOM); }
    | RW_DYNAMIC                            { $$ = DovKeywordNode(FCX_AM_DYNAMIC); }
    ;

record_key
    : data_name                          { $$ = $1; }
    | split_key_name OP_EQ split_key_comps opt_split_key_occurs
        { $$ = DovConstructNode(FCX_SPLIT_REC_KEY, $1, $3, $4); }
    ;

split_key_name
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_SPLIT_KEY_NAME, 1); }
    ;

split_key_comps
    : data_name                          { $$ = DovListFirst(SPLIT_KEY_COMP_LIST, $1); }
    | split_key_comps OP_PLUS data_name  { $$ = DovListJoin(YYREDUCTION, SPLIT_KEY_COMP_LIST, $1, $3); }
    ;

opt_split_key_occurs
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_OCCURS integer _times          { $$ = DovConstructNode(SPLIT_KEY_OCCURS, $2); }
    ;

alt_key_start
    : /* empty */                           { DovAltKeyStart(YYREDUCTION, &YYVALARG(0)); }
    ;

alt_key_phrases
    : /* empty */
    | alt_key_phrases alt_key_phrase
    ;

alt_key_phrase
    : _with RW_DUPLICATES
        { $$ = DovKeywordNode(FCX_ALTKEY_WITH_DUPLICATES); YYREDUCEPOSN($$); DovAltKeyPhrase(ALTRECKEY_DUPLS, $$); }
    | RW_SUPPRESS RW_WHEN literal
        { $$ = DovConstructNode(FCX_ALTKEY_SUPPRESS_WHEN, $3); YYREDUCEPOSN($$); DovAltKeyPhrase(ALTRECKEY_SUPPRESS, $$); }
    ;

lock_mode
    : lock_kind                             { $$ = DovConstructNode(FCX_LOCK_MODE_WITH, $1, DovAbsentNode()); }
    | lock_kind RW_WITH lock_phrase         { $$ = DovConstructNode(FCX_LOCK_MODE_WITH, $1, $3); }
    ;

lock_kind
    : RW_MANUAL                             { $$ = DovKeywordNode(FCX_MANUAL); }
    | RW_AUTOMATIC                          { $$ = DovKeywordNode(FCX_AUTOMATIC); }
    | RW_EXCLUSIVE                          { $$ = DovKeywordNode(FCX_EXCLUSIVE); }
    ;

lock_phrase
    : RW_LOCK RW_ON _record                 { $$ = DovKeywordNode(FCX_LOCK_ON_RECORD); }
    | RW_LOCK RW_ON RW_MULTIPLE _record     { $$ = DovKeywordNode(FCX_LOCK_ON_MULT_RECS); }
    | RW_ROLLBACK                           { $$ = DovKeywordNode(FCX_ROLLBACK); }
    ;

delimiter_value
    : RW_STANDARD_1                         { $$ = DovKeywordNode(FCX_STANDARD_1); }
    | TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_ALPHABET_NAME); }
    ;

reserve_count
    : integer                           { $$ = $1; }
    | RW_NO                                 { $$ = DovKeywordNode(EX_NO); }
    ;

reserve_areas
    : /* empty */
    | RW_AREA
    | RW_AREAS
    | RW_ALTERNATE RW_AREA
    | RW_ALTERNATE RW_AREAS
    ;

/* ---- I-O-CONTROL --------------------------------------------------------------
 * I-O-CONTROL. [RERUN ... | SAME ... AREA ... | MULTIPLE FILE ... | APPLY ...]... .
 * The period may end any clause, also one copied in before a COPY's end
 * marker: it is taken among the clauses.
 * opt_io_control: PARA_I_O_CONTROL (clauses in a STMT_LIST) or the null node */
opt_io_control
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_I_O_CONTROL SEP_DOT io_control_start io_control_entries
        { $$ = $3; DovSetSlot($3, PARA_I_O_CONTROL__CLAUSES, $4); }
    ;

io_control_start
    : /* empty */                           { $$ = DovKeywordNode(PARA_I_O_CONTROL); }
    ;

io_control_entries
    : /* empty */                           { $$ = DovAbsentNode(); }
    | io_control_entries io_control_entry   { $$ = DovListAppend(STMT_LIST, $1, $2); }
    | io_control_entries SEP_DOT            { $$ = DovPeriodAfterLast(YYREDUCTION, $1); }
    ;

io_control_entry
    : RW_RERUN opt_rerun_on RW_EVERY rerun_condition
        { $$ = DovConstructNode(IOCX_RERUN, $2, $4); }
    | RW_SAME same_area_kind _area _for io_file_uses
        { $$ = DovConstructNode(IOCX_SAME_AREA, $2, $5); }
    | RW_MULTIPLE RW_FILE _tape _contains io_file_positions
        { $$ = DovConstructNode(IOCX_MULTIPLE_FILE, $5); }
    | RW_APPLY apply_kind RW_ON io_file_uses
        { $$ = DovConstructNode(IOCX_APPLY, $2, $4); }
    | SEP_INLINED_COPY                      { $$ = $1; }
    | SEP_UNINLINED_COPY                    { $$ = $1; }
    ;

opt_rerun_on
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_ON io_file_use                     { $$ = DovConstructNode(IOCX_RERUN_ON, $2); }
    ;

rerun_condition
    : _end _of reel_unit _of io_file_use    { $$ = DovConstructNode(IOCX_END_OF, $3, $5); }
    | integer RW_RECORDS _of io_file_use { $$ = DovConstructNode(IOCX_RECORDS_OF, $1, $4); }
    | integer RW_CLOCK_UNITS            { $$ = DovConstructNode(IOCX_CLOCK_UNITS, $1); }
    | TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_UNKNOWN); }
    ;

reel_unit
    : RW_REEL                               { $$ = DovKeywordNode(IOCX_REEL); }
    | RW_UNIT                               { $$ = DovKeywordNode(IOCX_UNIT); }
    ;

same_area_kind
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_RECORD                             { $$ = DovKeywordNode(IOCX_RECORD); }
    | RW_SORT                               { $$ = DovKeywordNode(IOCX_SORT); }
    | RW_SORT_MERGE                         { $$ = DovKeywordNode(IOCX_SORT_MERGE); }
    ;

io_file_positions
    : io_file_position                      { $$ = DovListFirst(EX_LIST, $1); }
    | io_file_positions io_file_position    { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

io_file_position
    : io_file_use opt_file_position         { $$ = DovConstructNode(IOCX_FILE_POSN, $1, $2); }
    ;

opt_file_position
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_POSITION integer               { $$ = DovConstructNode(IOCX_POSITION, $2); }
    ;

apply_kind
    : RW_WRITE_ONLY                         { $$ = DovKeywordNode(IOCX_WRITE_ONLY); }
    | RW_CORE_INDEX                         { $$ = DovKeywordNode(IOCX_CORE_INDEX); }
    | RW_RECORD_OVERFLOW                    { $$ = DovKeywordNode(IOCX_RECORD_OVERFLOW); }
    | RW_REORG_CRITERIA                     { $$ = DovKeywordNode(IOCX_REORG_CRITERIA); }
    ;

io_file_uses
    : io_file_use                           { $$ = DovListFirst(EX_LIST, $1); }
    | io_file_uses io_file_use              { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

io_file_use
    : TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_FILE_NAME); }
    ;
