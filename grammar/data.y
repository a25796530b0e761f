/* ---- DATA DIVISION -------------------------------------------------------------
 * [DATA DIVISION.] [FILE SECTION. ...] [WORKING-STORAGE SECTION. ...]
 *     [LOCAL-STORAGE SECTION. ...] [LINKAGE SECTION. ...]
 *     [COMMUNICATION SECTION. ...] [REPORT SECTION. ...] [SCREEN SECTION. ...]
 * opt_data_division: DIVISION_DATA, or the header's value (null node) when
 * the header and every section are absent                                    */
opt_data_division
    : opt_data_header data_division_mark opt_schema_section opt_file_section opt_working_storage
      opt_local_storage opt_linkage_section opt_communication_section opt_report_section opt_screen_section
        { $$ = DovDataDivision(&YYVALARG(1), &$$); }
    ;

opt_data_header
    : /* empty */                           { $$ = DovDataHeaderMissing(); }
    | RW_DATA_DIVISION SEP_DOT              { $$ = DovKeywordNode(DIVISION_DATA_HEADER); }
    ;

data_division_mark
    : /* empty */                           { DovDataDivisionSeen(); }
    ;

opt_schema_section
    : /* empty */                           { $$ = DovAbsentNode(); }
    ;

/* ---- FILE SECTION ---------------------------------------------------------------
 * FILE SECTION. {FD|SD} file-name clause... . record-entry... ...
 * opt_file_section: SECTION_FILE or the null node
 * fd_list: DECL_FD_LIST of DECL_FD (entry, records); COPY markers before the
 * first file description stand in the list on their own                      */
opt_file_section
    : opt_file_header fd_list               { $$ = DovFileSection(&$1, &$2); }
    ;

opt_file_header
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_FILE_SECTION SEP_DOT               { $$ = DovKeywordNode(SECTION_FILE_HEADER); }
    ;

fd_list
    : fd_leading_markers                    { $$ = $1; }
    | fd_list fd_element                    { $$ = DovListAppend(DECL_FD_LIST, $1, $2); }
    ;

fd_leading_markers
    : /* empty */                           { $$ = DovAbsentNode(); }
    | fd_leading_markers SEP_INLINED_COPY   { $$ = DovListAppend(DECL_FD_LIST, $1, $2); }
    | fd_leading_markers SEP_UNINLINED_COPY { $$ = DovListAppend(DECL_FD_LIST, $1, $2); }
    ;

fd_element
    : fd_entry record_entries               { $$ = DovConstructNode(DECL_FD, $1, $2); }
    ;

/* ---- FD / SD entry -------------------------------------------------------------
 * {FD|SD} file-name [RECORD ...] [BLOCK ...] [RECORDING MODE ...] [LINAGE ...]
 *     [CODE-SET ...] [REPORT(S) ...] [IS EXTERNAL] [IS GLOBAL] [DATA RECORD(S) ...]
 *     [LABEL RECORD(S) ...] [VALUE OF ...] .
 * fd_entry: DECL_FD_ENTRY, collected in its holder                           */
fd_entry
    : fd_level fd_file_name fd_start fd_clauses SEP_DOT
        { $$ = DovFdFinish(); }
    ;

fd_start
    : /* empty */                           { DovFdStart(YYREDUCTION, &YYVALARG(-1), &YYVALARG(0)); }
    ;

fd_level
    : RW_FD                                 { $$ = DovKeywordNode(FDX_LEVEL); }
    | RW_SD                                 { $$ = DovKeywordNode(SDX_LEVEL); }
    ;

fd_file_name
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_FILE_NAME, 0); }
    ;

fd_clauses
    : /* empty */
    | fd_clauses fd_clause
    ;

fd_clause
    : RW_RECORD _contains record_size_range fd_compressed _characters
        { $$ = DovConstructNode(FDX_RECORD_CONTAINS, $3, $4); YYREDUCEPOSN($$); DovFdClause(FD_RECORD_SIZE, $$); }
    | RW_RECORD _is RW_VARYING _in _size opt_fd_from opt_fd_to fd_compressed _characters opt_depending_on
        { $$ = DovConstructNode(FDX_RECORD_VARYING, $6, $7, $8, $10); YYREDUCEPOSN($$); DovFdClause(FD_RECORD_SIZE, $$); }
    | RW_BLOCK _contains record_size_range block_units
        { $$ = DovConstructNode(FDX_BLOCK_CONTAINS, $3, $4); YYREDUCEPOSN($$); DovFdClause(FD_BLOCK_SIZE, $$); }
    | RW_RECORDING mark_context_words_on _mode _is recording_mode mark_context_words_off
        { $$ = DovRecordingMode($5); YYREDUCEPOSN($$); DovFdClause(FD_REC_MODE, $$); }
    | RW_LINAGE _is dd_int_or_name linage_start linage_phrases
        { $$ = DovLinageFinish(); YYREDUCEPOSN($$); DovFdClause(FD_LINAGE, $$); }
    | RW_CODE_SET _is alphabet_name_use opt_code_set_for
        { $$ = DovConstructNode(FDX_CODE_SET, $3, $4); YYREDUCEPOSN($$); DovFdClause(FD_CODE_SET, $$); }
    | report_word report_name_uses
        { $$ = DovConstructNode(FDX_REPORT, $2); YYREDUCEPOSN($$); DovFdClause(FD_REPORT, $$); }
    | _is RW_EXTERNAL
        { $$ = DovKeywordNode(DX_EXTERNAL); YYREDUCEPOSN($$); DovFdClause(FD_EXTERNAL, $$); }
    | _is RW_GLOBAL
        { $$ = DovKeywordNode(DX_GLOBAL); YYREDUCEPOSN($$); DovFdClause(FD_GLOBAL, $$); }
    | RW_DATA records_word data_records_commit _is_are data_name_list
        { $$ = DovConstructNode(FDX_DATA_RECORDS, $5); YYREDUCEPOSN($$); DovFdClause(FD_DATA_RECORDS, $$); }
    | RW_LABEL records_word _is_are label_records
        { $$ = DovConstructNode(FDX_LABEL_RECORDS, $4); YYREDUCEPOSN($$); DovFdClause(FD_LABEL_RECORDS, $$); }
    | RW_VALUE RW_OF mark_value_of_words value_of_items mark_context_words_off
        { $$ = DovValueOf($4); YYREDUCEPOSN($$); DovFdList(FD_VALUE_OF, FDX_VALUE_OF_LIST, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovFdClause(FD_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovFdClause(FD_UNINLINED_COPY, $1); }
    ;

/* TRIAL: a trial parse ends before the record names of DATA RECORDS. */
data_records_commit
    : /* empty */                           [ YYVALID; ]
    ;

/* TRIAL: F, V, U and S are keywords from here to the end of the clause, also
 * for tokens read ahead; the marker reduces by default. */
mark_context_words_on
    : /* empty */                           [ DovContextWords(1); ]
    ;

/* TRIAL: F, V, U and S are user words again after the clause. */
mark_context_words_off
    : /* empty */                           [ DovContextWords(0); ]
    ;

/* TRIAL: under Wang the context words are keywords in VALUE OF as well. */
mark_value_of_words
    : /* empty */                           [ DovValueOfContextWords(); ]
    ;

record_size_range
    : integer                            { $$ = $1; }
    | integer RW_TO integer           { $$ = DovConstructNode(EX_INT_CONST_RANGE, $1, $3); }
    ;

fd_compressed
    : /* empty */                           { $$ = DovAbsentNode(); }
    ;

opt_fd_from
    : /* empty */                           { $$ = DovAbsentNode(); }
    | integer                            { $$ = DovConstructNode(FDX_FROM, $1); }
    | RW_FROM integer                    { $$ = DovConstructNode(FDX_FROM, $2); }
    ;

opt_fd_to
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_TO integer                      { $$ = DovConstructNode(FDX_TO, $2); }
    ;

opt_depending_on
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_DEPENDING _on data_name          { $$ = DovConstructNode(EX_DEPENDING_ON, $3); }
    ;

block_units
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_RECORDS                            { $$ = DovKeywordNode(FDX_RECORDS); }
    | RW_CHARACTERS                         { $$ = DovKeywordNode(FDX_CHARACTERS); }
    ;

recording_mode
    : RW_F                                  { $$ = DovKeywordNode(FDX_MODE_FIXED); }
    | RW_FIXED                              { $$ = DovKeywordNode(FDX_MODE_FIXED); }
    | RW_V                                  { $$ = DovKeywordNode(FDX_MODE_VARIABLE); }
    | RW_VARIABLE                           { $$ = DovKeywordNode(FDX_MODE_VARIABLE); }
    | RW_U                                  { $$ = DovKeywordNode(FDX_MODE_U); }
    | RW_S                                  { $$ = DovKeywordNode(FDX_MODE_S); }
    ;

opt_code_set_for
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_FOR data_name_list              { $$ = DovConstructNode(FDX_CODE_SET_FOR, $2); }
    ;

label_records
    : RW_STANDARD                           { $$ = DovKeywordNode(FDX_STANDARD); }
    | RW_OMITTED                            { $$ = DovKeywordNode(FDX_OMITTED); }
    | data_name_list                     { $$ = $1; }
    ;

value_of_items
    : value_of_item                         { $$ = DovListFirst(FDX_VALUE_OF_ITEM_LIST, $1); }
    | value_of_items value_of_item          { $$ = DovListAppend(FDX_VALUE_OF_ITEM_LIST, $1, $2); }
    ;

value_of_item
    : value_of_name _is dd_value_of_value   { $$ = DovConstructNode(FDX_VALUE_OF_ITEM, $1, $3); }
    ;

/* VALUE OF implementor-name IS value: the name is the implementor's (a
 * label field such as FILE-ID), not a data reference, so it is kept as its
 * plain text and never looked up; only a data name after IS is.            */
value_of_name
    : TK_USER_DEFD_WORD                     { $$ = DovPlainWord(&$1); }
    | RW_FILE_ID                            { $$ = DovKeywordNode(FDX_VO_FILE_ID); }
    ;

dd_value_of_value
    : literal                            { $$ = $1; }
    | data_name                           { $$ = $1; }
    ;

/* ---- LINAGE ----------------------------------------------------------------------
 * LINAGE IS n [LINES] [WITH FOOTING AT n] [LINES AT TOP n] [LINES AT BOTTOM n]
 * The LINAGE node is collected in the data-entry holder and gets the
 * LINAGE-COUNTER definition when it is finished.                              */
linage_start
    : /* empty */                           { DovLinageStart(YYREDUCTION, &YYVALARG(0)); }
    ;

linage_phrases
    : /* empty */
    | linage_phrases linage_phrase
    ;

linage_phrase
    : _with RW_FOOTING _at dd_int_or_name
        { $$ = DovConstructNode(FDX_LIN_FOOTING, $4); YYREDUCEPOSN($$); DovDataClause(FDX_LINAGE__FOOTING, $$); }
    | RW_LINES                              { DovLinageNoise(YYREDUCTION); }
    | _at RW_TOP dd_int_or_name
        { $$ = DovConstructNode(FDX_LIN_TOP, $3); YYREDUCEPOSN($$); DovDataClause(FDX_LINAGE__TOP, $$); }
    | _at RW_BOTTOM dd_int_or_name
        { $$ = DovConstructNode(FDX_LIN_BOTTOM, $3); YYREDUCEPOSN($$); DovDataClause(FDX_LINAGE__BOTTOM, $$); }
    ;

dd_int_or_name
    : integer                            { $$ = $1; }
    | data_name                           { $$ = $1; }
    ;

/* ---- Record entries -------------------------------------------------------------
 * The entries of an FD, SD or storage section: data description entries,
 * COPY markers and syntax errors, nested by their levels into the pending
 * data list.
 * record_entries: that list (DECL_DD_LIST) or the null node                */
record_entries
    : data_entries                          { $$ = DovRecordEntries(); }
    ;

data_entries
    : /* empty */
    | data_entries data_entry_element
    ;

data_entry_element
    : data_entry
    | SEP_INLINED_COPY                      { DovDataMarker($1, DECL_DD); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovDataLoose($1); }
    | exec_data_entry                       { YYREDUCEPOSN($1); DovDataLoose($1); }
    | error SEP_DOT                         { $$ = DovErrorValue(YYREDUCTION); YYREDUCEPOSN($$); DovDataLoose($$); }
    ;

/* ---- Data description entry -------------------------------------------------------
 * level [COPY-marker] [name | FILLER] clause... .
 * CONFLICT (register, data): a COPY marker right after the level number is
 * the COPY before the name (shift, tried first) or a clause; the shift
 * always succeeds, as the name after it may be absent. The entry's period
 * commits.                                                                  */
data_entry
    : level_number opt_copy_before_name opt_entry_name dd_start dd_clauses dd_commit SEP_DOT
        { DovDataEntryFinish(YYREDUCTION); }
    ;

dd_start
    : /* empty */                           { DovDataEntryStart(YYREDUCTION, &YYVALARG(-2), &YYVALARG(-1), &YYVALARG(0)); }
    ;

/* TRIAL: a data description entry ends a trial at its period. */
dd_commit
    : /* empty */                           [ YYVALID; ]
    ;

level_number
    : TK_INT_NUM_LIT                        { $$ = $1; }
    ;

opt_copy_before_name
    : /* empty */
    | SEP_INLINED_COPY                      { $$ = $1; }
    | SEP_UNINLINED_COPY                    { $$ = $1; }
    ;

opt_entry_name
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_FILLER                             { $$ = DovKeywordNode(EX_FILLER); }
    | TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_DATA_NAME, 1); }
    | UW_CONSTANT_NAME                      { $$ = DovDefineConstantAgain($1); }
    ;

dd_clauses
    : /* empty */
    | dd_clauses dd_clause
    ;

dd_clause
    : RW_REDEFINES data_name_redef
        { $$ = DovConstructNode(DX_REDEFINES, $2); YYREDUCEPOSN($$); DovDataClause(DD_REDEFINES, $$); }
    | RW_RENAMES renames_range
        { $$ = DovConstructNode(DX_RENAMES, $2); YYREDUCEPOSN($$); DovDataClause(DD_RENAMES, $$); }
    | _is RW_EXTERNAL
        { $$ = DovKeywordNode(DX_EXTERNAL); YYREDUCEPOSN($$); DovDataClause(DD_EXTERNAL, $$); }
    | _is RW_GLOBAL
        { $$ = DovKeywordNode(DX_GLOBAL); YYREDUCEPOSN($$); DovDataClause(DD_GLOBAL, $$); }
    | pic_word _is TK_PIC_CHAR_STRING
        { $$ = DovConstructNode(DX_PICTURE, $3); YYREDUCEPOSN($$); DovDataClause(DD_PICTURE, $$); }
    | _usage_is usage_word
        { $$ = DovConstructNode(DX_USAGE, $2); YYREDUCEPOSN($$); DovDataClause(DD_USAGE, $$); }
    | RW_OCCURS occurs_times _times opt_depending_on occurs_keys opt_indexed_by
        { $$ = DovConstructNode(DX_OCCURS, $2, $4, $5, $6); YYREDUCEPOSN($$); DovDataClause(DD_OCCURS, $$); }
    | sign_is sign_position opt_separate
        { $$ = DovConstructNode(DX_SIGN, $2, $3); YYREDUCEPOSN($$); DovDataClause(DD_SIGN, $$); }
    | sync_word opt_left_right
        { $$ = DovConstructNode(DX_SYNCHRONIZED, $2); YYREDUCEPOSN($$); DovDataClause(DD_SYNCHRONIZED, $$); }
    | just_word _right
        { $$ = DovKeywordNode(DX_JUSTIFIED); YYREDUCEPOSN($$); DovDataClause(DD_JUSTIFIED, $$); }
    | RW_BLANK _when zero_word
        { $$ = DovKeywordNode(DX_BWZ); YYREDUCEPOSN($$); DovDataClause(DD_BWZ, $$); }
    | value_word _is_are value_ranges opt_when_set_false
        { $$ = DovConstructNode(EX_COND_VALUE, $3, $4); YYREDUCEPOSN($$); DovDataClause(DD_VALUE, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovDataClause(DD_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovDataClause(DD_UNINLINED_COPY, $1); }
    | error                                 { $$ = DovErrorValue(YYREDUCTION); YYREDUCEPOSN($$); DovDataClause(DD_UNINLINED_COPY, $$); }
    ;

renames_range
    : data_name_redef                       { $$ = DovConstructNode(EX_RENAMES_THRU, $1, DovAbsentNode()); }
    | data_name_redef thru_word data_name_redef
        { $$ = DovConstructNode(EX_RENAMES_THRU, $1, $3); }
    ;

/* usage_word: the DU_ node; COMP, COMP-1 and COMP-2 depend on the dialects */
usage_word
    : RW_DISPLAY                            { $$ = DovKeywordNode(DU_DISPLAY); }
    | RW_COMPUTATIONAL                      { $$ = DovUsageComp(); }
    | RW_COMP                               { $$ = DovUsageComp(); }
    | RW_BINARY                             { $$ = DovKeywordNode(DU_BINARY); }
    | RW_COMPUTATIONAL_1                    { $$ = DovUsageComp1(); }
    | RW_COMP_1                             { $$ = DovUsageComp1(); }
    | RW_COMPUTATIONAL_2                    { $$ = DovUsageComp2(); }
    | RW_COMP_2                             { $$ = DovUsageComp2(); }
    | RW_COMPUTATIONAL_0                    { $$ = DovKeywordNode(DU_COMP_0); }
    | RW_COMP_0                             { $$ = DovKeywordNode(DU_COMP_0); }
    | RW_COMPUTATIONAL_3                    { $$ = DovKeywordNode(DU_COMP_3); }
    | RW_COMP_3                             { $$ = DovKeywordNode(DU_COMP_3); }
    | RW_COMPUTATIONAL_4                    { $$ = DovKeywordNode(DU_COMP_4); }
    | RW_COMP_4                             { $$ = DovKeywordNode(DU_COMP_4); }
    | RW_COMPUTATIONAL_5                    { $$ = DovKeywordNode(DU_COMP_5); }
    | RW_COMP_5                             { $$ = DovKeywordNode(DU_COMP_5); }
    | RW_COMPUTATIONAL_6                    { $$ = DovKeywordNode(DU_COMP_6); }
    | RW_COMP_6                             { $$ = DovKeywordNode(DU_COMP_6); }
    | RW_COMPUTATIONAL_X                    { $$ = DovKeywordNode(DU_COMP_X); }
    | RW_COMP_X                             { $$ = DovKeywordNode(DU_COMP_X); }
    | RW_PACKED_DECIMAL                     { $$ = DovKeywordNode(DU_PACKED_DECIMAL); }
    | RW_BIT                                { $$ = DovKeywordNode(DU_BIT); }
    | RW_INDEX                              { $$ = DovKeywordNode(DU_INDEX); }
    | RW_DISPLAY_1                          { $$ = DovKeywordNode(DU_DISPLAY_1); }
    | RW_POINTER                            { $$ = DovKeywordNode(DU_POINTER); }
    | RW_PROCEDURE_POINTER                  { $$ = DovKeywordNode(DU_PROC_POINTER); }
    ;

/* ---- OCCURS --------------------------------------------------------------------
 * OCCURS n [TO m] [TIMES] [DEPENDING ON name] [{ASCENDING|DESCENDING} KEY IS
 *     name...]... [INDEXED BY index-name...]                                   */
occurs_times
    : integer                            { $$ = $1; }
    | integer RW_TO integer           { $$ = DovConstructNode(EX_INT_CONST_RANGE, $1, $3); }
    ;

occurs_keys
    : /* empty */                           { $$ = DovAbsentNode(); }
    | occurs_keys occurs_key                { $$ = DovListAppend(DX_OCCURS_KEY_LIST, $1, $2); }
    ;

occurs_key
    : ascending_descending _key _is data_name_list
        { $$ = DovConstructNode(DX_OCCURS_KEY, $1, $4); }
    ;



opt_indexed_by
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_INDEXED _by index_defs             { $$ = DovConstructNode(DX_INDEXED_BY, $3); }
    ;

index_defs
    : index_def                             { $$ = DovListFirst(DX_INDEX_DEFS_LIST, $1); }
    | index_defs index_def                  { $$ = DovListAppend(DX_INDEX_DEFS_LIST, $1, $2); }
    ;

index_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_INDEX_NAME, 1); }
    ;

/* ---- SIGN, SYNCHRONIZED --------------------------------------------------------- */
sign_is
    : /* empty */
    | RW_SIGN _is
    ;

sign_position
    : RW_LEADING                            { $$ = DovKeywordNode(DX_SIGN_LEADING); }
    | RW_TRAILING                           { $$ = DovKeywordNode(DX_SIGN_TRAILING); }
    ;

opt_separate
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_SEPARATE _character                { $$ = DovKeywordNode(DX_SIGN_SEPARATE); }
    ;

opt_left_right
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_LEFT                               { $$ = DovKeywordNode(DX_SYNC_LEFT); }
    | RW_RIGHT                              { $$ = DovKeywordNode(DX_SYNC_RIGHT); }
    ;

/* ---- VALUE ------------------------------------------------------------------------
 * VALUE[S] [IS|ARE] value [{THRU|THROUGH} value]... [WHEN SET TO FALSE value]
 * A value is a left-associative expression of terms joined by + - * / AND OR,
 * all of one precedence: VALUE 1 + 2 * 3 is (1 + 2) * 3; a term may be a
 * value in parentheses (OP_PARENS).
 * value_ranges: EX_VALUE_RANGE_LIST of EX_VALUE_RANGE                         */
value_ranges
    : value_range                           { $$ = DovListFirst(EX_VALUE_RANGE_LIST, $1); }
    | value_ranges value_range              { $$ = DovListAppend(EX_VALUE_RANGE_LIST, $1, $2); }
    ;

value_range
    : dd_value                              { $$ = DovConstructNode(EX_VALUE_RANGE, $1); }
    | dd_value thru_word dd_value           { $$ = DovConstructNode(EX_VALUE_RANGE, $1, $3); }
    ;

dd_value
    : dd_value_term                         { $$ = $1; }
    | dd_value OP_PLUS dd_value_term        { $$ = DovListJoin(YYREDUCTION, AR_ADD, $1, $3); }
    | dd_value OP_MINUS dd_value_term       { $$ = DovListJoin(YYREDUCTION, AR_SUB, $1, $3); }
    | dd_value OP_MUL dd_value_term         { $$ = DovListJoin(YYREDUCTION, AR_MUL, $1, $3); }
    | dd_value OP_DIV dd_value_term         { $$ = DovListJoin(YYREDUCTION, AR_DIV, $1, $3); }
    | dd_value RW_AND dd_value_term         { $$ = DovListJoin(YYREDUCTION, BIT_AND, $1, $3); }
    | dd_value RW_OR dd_value_term          { $$ = DovListJoin(YYREDUCTION, BIT_OR, $1, $3); }
    ;

dd_value_term
    : literal_all                           { $$ = $1; }
    | TK_USER_DEFD_WORD                     { $$ = DovUndefinedConstant($1); }
    | RW_NEXT                               { $$ = DovKeywordNode(EX_VAL_NEXT); }
    | RW_START RW_OF data_name            { $$ = DovConstructNode(EX_VAL_START_OF, $3); }
    | RW_LENGTH RW_OF data_name           { $$ = DovConstructNode(EX_VAL_LENGTH_OF, $3); }
    | SEP_LEFT_PAR dd_value SEP_RIGHT_PAR   { $$ = DovConstructNode(OP_PARENS, $2); }
    ;

opt_when_set_false
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_WHEN _set _to RW_FALSE _is dd_value
        { $$ = DovConstructNode(EX_VALUE_WHEN_FALSE, $6); }
    ;

/* ---- WORKING-STORAGE, LOCAL-STORAGE, LINKAGE ------------------------------------
 * each: its SECTION_ node holding the entries, or the null node              */
opt_working_storage
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_WORKING_STORAGE RW_SECTION SEP_DOT record_entries
        { $$ = DovConstructNode(SECTION_WORKING_STORAGE, $4); }
    ;

opt_local_storage
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_LOCAL_STORAGE RW_SECTION SEP_DOT record_entries
        { $$ = DovConstructNode(SECTION_LOCAL_STORAGE, $4); }
    ;

opt_linkage_section
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_LINKAGE RW_SECTION SEP_DOT record_entries
        { $$ = DovConstructNode(SECTION_LINKAGE, $4); }
    ;

/* ---- COMMUNICATION SECTION ---------------------------------------------------------
 * COMMUNICATION SECTION. {CD cd-name [FOR] [INITIAL] {INPUT|OUTPUT|I-O}
 *     phrase... . record-entry...}...
 * opt_communication_section: SECTION_COMMUNICATION or the null node         */
opt_communication_section
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_COMMUNICATION RW_SECTION SEP_DOT communication_start cd_list
        { $$ = $4; DovSetSlot($4, SECTION_COMMUNICATION__ENTRIES, $5); }
    ;

communication_start
    : /* empty */                           { $$ = DovKeywordNode(SECTION_COMMUNICATION); }
    ;

cd_list
    : /* empty */                           { $$ = DovAbsentNode(); }
    | cd_list cd_entry                      { $$ = DovListAppend(DECL_CD_ENTRY_LIST, $1, $2); }
    ;

cd_entry
    : RW_CD cd_name_def _for opt_cd_initial cd_direction cd_phrases SEP_DOT cd_entry_start record_entries
        { $$ = $8; DovSetSlot($8, CDE_DD_ENTRIES, $9); }
    ;

cd_entry_start
    : /* empty */
        { $$ = DovCdEntryStart(&YYVALARG(-5)); }
    ;

cd_name_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_CD_NAME, 0); }
    ;

opt_cd_initial
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_INITIAL                            { $$ = DovKeywordNode(EX_CD_INITIAL); }
    ;

cd_direction
    : RW_INPUT                              { $$ = DovKeywordNode(EX_CD_INPUT); }
    | RW_OUTPUT                             { $$ = DovKeywordNode(EX_CD_OUTPUT); }
    | RW_I_O                                { $$ = DovKeywordNode(EX_CD_I_O); }
    ;

cd_phrases
    : cd_phrase_list                        { $$ = $1; }
    | cd_plain_names                        { $$ = $1; }
    ;

cd_phrase_list
    : /* empty */                           { $$ = DovAbsentNode(); }
    | cd_phrase_list cd_phrase              { $$ = DovListAppend(EX_CD_LIST, $1, $2); }
    ;

cd_phrase
    : _symbolic cd_symbolic_kind _is cd_item_def    { $$ = DovConstructNode(EX_CD_QUEUE_IS, $2, $4); }
    | RW_MESSAGE RW_DATE _is cd_item_def            { $$ = DovConstructNode(EX_CD_MSG_DATE_IS, $4); }
    | RW_MESSAGE RW_TIME _is cd_item_def            { $$ = DovConstructNode(EX_CD_MSG_TIME_IS, $4); }
    | RW_TEXT RW_LENGTH _is cd_item_def             { $$ = DovConstructNode(EX_CD_TEXT_LENGTH_IS, $4); }
    | RW_END RW_KEY _is cd_item_def                 { $$ = DovConstructNode(EX_CD_END_KEY_IS, $4); }
    | RW_STATUS RW_KEY _is cd_item_def              { $$ = DovConstructNode(EX_CD_STATUS_KEY_IS, $4); }
    | RW_ERROR RW_KEY _is cd_item_def               { $$ = DovConstructNode(EX_CD_ERROR_KEY_IS, $4); }
    | RW_MESSAGE RW_COUNT _is cd_item_def           { $$ = DovConstructNode(EX_CD_MSG_COUNT_IS, $4); }
    | RW_COUNT _is cd_item_def                      { $$ = DovConstructNode(EX_CD_MSG_COUNT_IS, $3); }
    | RW_DESTINATION cd_commit RW_COUNT _is cd_item_def
        { $$ = DovConstructNode(EX_CD_DEST_COUNT_IS, $5); }
    | RW_DESTINATION cd_commit RW_TABLE RW_OCCURS integer _times opt_cd_indexed_by
        { $$ = DovConstructNode(EX_CD_DEST_TABLE_OCCURS, $5, $7); }
    ;

/* TRIAL: a trial parse ends after DESTINATION in a CD phrase. */
cd_commit
    : /* empty */                           [ YYVALID; ]
    ;

opt_cd_indexed_by
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_INDEXED _by index_defs             { $$ = $3; }
    ;

cd_symbolic_kind
    : RW_QUEUE                              { $$ = DovKeywordNode(EX_CD_SYMB_QUEUE); }
    | RW_SUB_QUEUE_1                        { $$ = DovKeywordNode(EX_CD_SYMB_SUB_QUEUE_1); }
    | RW_SUB_QUEUE_2                        { $$ = DovKeywordNode(EX_CD_SYMB_SUB_QUEUE_2); }
    | RW_SUB_QUEUE_3                        { $$ = DovKeywordNode(EX_CD_SYMB_SUB_QUEUE_3); }
    | RW_SOURCE                             { $$ = DovKeywordNode(EX_CD_SYMB_SOURCE); }
    | RW_DESTINATION                        { $$ = DovKeywordNode(EX_CD_SYMB_DEST); }
    | RW_TERMINAL                           { $$ = DovKeywordNode(EX_CD_SYMB_TERMINAL); }
    ;

cd_plain_names
    : cd_plain_name                         { $$ = DovListFirst(EX_LIST, $1); }
    | cd_plain_names cd_plain_name          { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

cd_plain_name
    : cd_item_def                           { $$ = $1; }
    | RW_FILLER                             { $$ = DovKeywordNode(EX_FILLER); }
    ;

cd_item_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_DATA_NAME, 1); }
    ;

/* ---- REPORT SECTION ----------------------------------------------------------------
 * REPORT SECTION. {RD report-name clause... . report-group-entry...}...
 * opt_report_section: SECTION_REPORT (DECL_RD_LIST of DECL_RD) or null node  */
opt_report_section
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_REPORT RW_SECTION SEP_DOT report_start rd_list
        { $$ = $4; DovSetSlot($4, SECTION_REPORT__RDS, $5); }
    ;

report_start
    : /* empty */                           { $$ = DovKeywordNode(SECTION_REPORT); }
    ;

rd_list
    : /* empty */                           { $$ = DovAbsentNode(); }
    | rd_list rd_element                    { $$ = DovListAppend(DECL_RD_LIST, $1, $2); }
    ;

rd_element
    : rd_entry report_groups                { $$ = DovReportWithGroups(&$1); }
    ;

rd_entry
    : RW_RD report_name_def rd_start rd_clauses SEP_DOT
        { $$ = DovRdFinish(); }
    ;

rd_start
    : /* empty */                           { DovRdStart(YYREDUCTION, &YYVALARG(0)); }
    ;

report_name_def
    : TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_REPORT_NAME, 0); }
    ;

report_name_uses
    : report_name_use                       { $$ = DovListFirst(EX_LIST, $1); }
    | report_name_uses report_name_use      { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

report_name_use
    : TK_USER_DEFD_WORD                     { $$ = DovUseOfWord($1, NC_REPORT_NAME); }
    ;

rd_clauses
    : /* empty */
    | rd_clauses rd_clause
    ;

rd_clause
    : _is RW_GLOBAL
        { $$ = DovKeywordNode(DX_GLOBAL); YYREDUCEPOSN($$); DovRdClause(RD_GLOBAL, $$); }
    | _with RW_CODE literal
        { $$ = DovConstructNode(EX_RD_CODE, $3); YYREDUCEPOSN($$); DovRdClause(RD_CODE, $$); }
    | control_word _is_are control_names
        { $$ = DovConstructNode(EX_RD_CONTROLS, $3); YYREDUCEPOSN($$); DovRdClause(RD_CONTROLS, $$); }
    | RW_PAGE _limits_is integer _line page_phrases
        { $$ = DovConstructNode(EX_RD_PAGE_LIMITS, $3, $5); YYREDUCEPOSN($$); DovRdClause(RD_PAGE_LIMITS, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovRdClause(RD_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovRdClause(RD_UNINLINED_COPY, $1); }
    ;

control_names
    : control_name                          { $$ = DovListFirst(EX_LIST, $1); }
    | control_names control_name            { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

control_name
    : data_name                           { $$ = $1; }
    | RW_FINAL                              { $$ = DovKeywordNode(EX_RD_FINAL); }
    ;

page_phrases
    : /* empty */                           { $$ = DovAbsentNode(); }
    | page_phrases page_phrase              { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

page_phrase
    : RW_HEADING integer                 { $$ = DovConstructNode(EX_RD_HEADING, $2); }
    | RW_FOOTING integer                 { $$ = DovConstructNode(EX_RD_FOOTING, $2); }
    | RW_FIRST RW_DETAIL integer         { $$ = DovConstructNode(EX_RD_FIRST_DETAIL, $3); }
    | RW_LAST RW_DETAIL integer          { $$ = DovConstructNode(EX_RD_LAST_DETAIL, $3); }
    ;

/* ---- Report group entries ---------------------------------------------------------
 * level [name] [LINE ...] [NEXT GROUP ...] [TYPE ...] [COLUMN ...] [SOURCE ...]
 *     [VALUE ...] [SUM ...] [GROUP INDICATE] [USAGE DISPLAY] [PIC ...] [SIGN ...]
 *     [BLANK WHEN ZERO] .                                                        */
report_groups
    : /* empty */
    | report_groups report_group_element
    ;

report_group_element
    : report_group_entry
    | SEP_INLINED_COPY                      { DovDataMarker($1, DECL_RGD); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovDataLoose($1); }
    | error SEP_DOT                         { $$ = DovErrorValue(YYREDUCTION); YYREDUCEPOSN($$); DovDataLoose($$); }
    ;

report_group_entry
    : level_number opt_group_name rgd_start rgd_clauses dd_commit SEP_DOT
        { DovReportGroupFinish(YYREDUCTION); }
    ;

rgd_start
    : /* empty */                           { DovReportGroupStart(YYREDUCTION, &YYVALARG(-1), &YYVALARG(0)); }
    ;

opt_group_name
    : /* empty */                           { $$ = DovAbsentNode(); }
    | TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_REPORT_GROUP_DESC_NAME, 1); }
    ;

rgd_clauses
    : /* empty */
    | rgd_clauses rgd_clause
    ;

rgd_clause
    : RW_LINE _number_is rgd_position
        { $$ = DovConstructNode(EX_RGD_LINE_NUMBER, $3); YYREDUCEPOSN($$); DovDataClause(RGD_LINE_NUMBER, $$); }
    | RW_COLUMN _number_is integer
        { $$ = DovConstructNode(EX_RGD_COLUMN_NUMBER, $3); YYREDUCEPOSN($$); DovDataClause(RGD_COLUMN_NUMBER, $$); }
    | RW_NEXT rgd_commit RW_GROUP _is rgd_position
        { $$ = DovConstructNode(EX_RGD_NEXT_GROUP, $5); YYREDUCEPOSN($$); DovDataClause(RGD_NEXT_GROUP, $$); }
    | RW_TYPE _is rgd_type
        { $$ = DovConstructNode(EX_RGD_TYPE, $3); YYREDUCEPOSN($$); DovDataClause(RGD_TYPE, $$); }
    | RW_SOURCE _is data_name
        { $$ = DovConstructNode(EX_RGD_SOURCE, $3); YYREDUCEPOSN($$); DovDataClause(RGD_SOURCE, $$); }
    | RW_VALUE _is literal
        { $$ = DovConstructNode(EX_RGD_VALUE, $3); YYREDUCEPOSN($$); DovDataClause(RGD_VALUE, $$); }
    | RW_SUM data_name_list opt_sum_upon opt_sum_reset
        { $$ = DovConstructNode(EX_RGD_SUM, $2, $3, $4); YYREDUCEPOSN($$); DovDataClause(RGD_SUM, $$); }
    | RW_GROUP _indicate
        { $$ = DovKeywordNode(EX_RGD_GROUP_INDICATE); YYREDUCEPOSN($$); DovDataClause(RGD_GROUP, $$); }
    | _usage_is RW_DISPLAY
        { $$ = DovConstructNode(DX_USAGE, DovKeywordNode(DU_DISPLAY)); YYREDUCEPOSN($$); DovDataClause(RGD_USAGE, $$); }
    | pic_word _is TK_PIC_CHAR_STRING
        { $$ = DovConstructNode(DX_PICTURE, $3); YYREDUCEPOSN($$); DovDataClause(RGD_PICTURE, $$); }
    | sign_is sign_position opt_separate
        { $$ = DovConstructNode(DX_SIGN, $2, $3); YYREDUCEPOSN($$); DovDataClause(RGD_SIGN, $$); }
    | RW_BLANK _when zero_word
        { $$ = DovKeywordNode(DX_BWZ); YYREDUCEPOSN($$); DovDataClause(RGD_BWZ, $$); }
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovDataClause(RGD_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovDataClause(RGD_UNINLINED_COPY, $1); }
    ;

/* TRIAL: a trial parse ends after NEXT in a report group entry. */
rgd_commit
    : /* empty */                           [ YYVALID; ]
    ;

rgd_position
    : integer opt_on_next_page           { $$ = DovConstructNode(EX_RGD_POS_INT, $1, $2); }
    | RW_PLUS integer                    { $$ = DovConstructNode(EX_RGD_POS_PLUS, $2); }
    | RW_NEXT RW_PAGE                       { $$ = DovKeywordNode(EX_RGD_POS_NEXT_PAGE); }
    ;

opt_on_next_page
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_ON RW_NEXT RW_PAGE                 { $$ = DovKeywordNode(EX_RGD_POS_ON_NEXT_PAGE); }
    | RW_NEXT RW_PAGE                       { $$ = DovKeywordNode(EX_RGD_POS_ON_NEXT_PAGE); }
    ;

rgd_type
    : RW_REPORT RW_HEADING                  { $$ = DovKeywordNode(EX_RGD_REPORT_HEADING); }
    | RW_RH                                 { $$ = DovKeywordNode(EX_RGD_REPORT_HEADING); }
    | RW_PAGE RW_HEADING                    { $$ = DovKeywordNode(EX_RGD_PAGE_HEADING); }
    | RW_PH                                 { $$ = DovKeywordNode(EX_RGD_PAGE_HEADING); }
    | RW_CONTROL RW_HEADING control_name    { $$ = DovConstructNode(EX_RGD_CONTROL_HEADING, $3); }
    | RW_CH control_name                    { $$ = DovConstructNode(EX_RGD_CONTROL_HEADING, $2); }
    | RW_DETAIL                             { $$ = DovKeywordNode(EX_RGD_DETAIL); }
    | RW_DE                                 { $$ = DovKeywordNode(EX_RGD_DETAIL); }
    | RW_CONTROL RW_FOOTING control_name    { $$ = DovConstructNode(EX_RGD_CONTROL_FOOTING, $3); }
    | RW_CF control_name                    { $$ = DovConstructNode(EX_RGD_CONTROL_FOOTING, $2); }
    | RW_PAGE RW_FOOTING                    { $$ = DovKeywordNode(EX_RGD_PAGE_FOOTING); }
    | RW_PF                                 { $$ = DovKeywordNode(EX_RGD_PAGE_FOOTING); }
    | RW_REPORT RW_FOOTING                  { $$ = DovKeywordNode(EX_RGD_REPORT_FOOTING); }
    | RW_RF                                 { $$ = DovKeywordNode(EX_RGD_REPORT_FOOTING); }
    ;

opt_sum_upon
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_UPON data_name_list             { $$ = DovConstructNode(EX_RGD_SUM_UPON, $2); }
    ;

opt_sum_reset
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_RESET _on control_name             { $$ = DovConstructNode(EX_RGD_SUM_RESET_ON, $3); }
    ;

/* ---- SCREEN SECTION ---------------------------------------------------------------
 * SCREEN SECTION. {level [name | FILLER] screen-clause... .}...
 * opt_screen_section: SECTION_SCREEN (the entries, or null) or the null node */
opt_screen_section
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_SCREEN RW_SECTION SEP_DOT screen_entries
        { $$ = DovScreenSection(YYREDUCTION); }
    ;

screen_entries
    : /* empty */
    | screen_entries screen_element
    ;

screen_element
    : screen_entry
    | SEP_INLINED_COPY                      { DovDataMarker($1, DECL_SCRD); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovDataLoose($1); }
    | error SEP_DOT                         { $$ = DovErrorValue(YYREDUCTION); YYREDUCEPOSN($$); DovDataLoose($$); }
    ;

screen_entry
    : level_number opt_screen_name scrd_start screen_clauses dd_commit SEP_DOT
        { DovScreenEntryFinish(YYREDUCTION); }
    ;

scrd_start
    : /* empty */                           { DovScreenEntryStart(YYREDUCTION, &YYVALARG(-1), &YYVALARG(0)); }
    ;

opt_screen_name
    : /* empty */                           { $$ = DovAbsentNode(); }
    | RW_FILLER                             { $$ = DovKeywordNode(EX_FILLER); }
    | TK_USER_DEFD_WORD                     { $$ = DovDefineName($1, NC_SCREEN_NAME, 1); }
    ;

screen_clauses
    : /* empty */
    | screen_clauses screen_clause
    ;

screen_clause
    : RW_BELL                               { DovScreenAttr(YYREDUCTION, IX_ADIS_BELL, DSPL_BELL); }
    | RW_BEEP                               { DovScreenAttr(YYREDUCTION, IX_ADIS_BELL, DSPL_BELL); }
    | RW_BLINK                              { DovScreenAttr(YYREDUCTION, IX_ADIS_BLINK, DSPL_BLINK); }
    | RW_ERASE opt_eol_eos
        { $$ = DovConstructNode(DSPL_ERASE, $2); YYREDUCEPOSN($$); DovScreenClause(IX_ADIS_ERASE, $$); }
    | RW_GRID                               { DovScreenAttr(YYREDUCTION, IX_ADIS_GRID, DSPL_GRID); }
    | RW_HIGHLIGHT                          { DovScreenAttr(YYREDUCTION, IX_ADIS_HIGH_LOW, DSPL_HIGHLIGHT); }
    | RW_BOLD                               { DovScreenAttr(YYREDUCTION, IX_ADIS_HIGH_LOW, DSPL_HIGHLIGHT); }
    | RW_LOWLIGHT                           { DovScreenAttr(YYREDUCTION, IX_ADIS_HIGH_LOW, DSPL_LOWLIGHT); }
    | RW_DIM                                { DovScreenAttr(YYREDUCTION, IX_ADIS_HIGH_LOW, DSPL_LOWLIGHT); }
    | RW_LEFTLINE                           { DovScreenAttr(YYREDUCTION, IX_ADIS_LEFTLINE, DSPL_LEFTLINE); }
    | RW_OVERLINE                           { DovScreenAttr(YYREDUCTION, IX_ADIS_OVERLINE, DSPL_OVERLINE); }
    | RW_REVERSE_VIDEO                      { DovScreenAttr(YYREDUCTION, IX_ADIS_REVERSE, DSPL_REVERSE_VIDEO); }
    | RW_REVERSED                           { DovScreenAttr(YYREDUCTION, IX_ADIS_REVERSE, DSPL_REVERSE_VIDEO); }
    | RW_UNDERLINE                          { DovScreenAttr(YYREDUCTION, IX_ADIS_UNDERLINE, DSPL_UNDERLINE); }
    | RW_UNDERLINED                         { DovScreenAttr(YYREDUCTION, IX_ADIS_UNDERLINE, DSPL_UNDERLINE); }
    | RW_SIZE _is dd_int_or_name
        { $$ = DovConstructNode(DSPL_SIZE, $3); YYREDUCEPOSN($$); DovScreenClause(IX_ADIS_SIZE, $$); }
    | foreground_word _is dd_int_or_name
        { $$ = DovConstructNode(DSPL_FOREGROUND_COLOR, $3); YYREDUCEPOSN($$); DovScreenClause(IX_ADIS_FOREGROUND_COLOR, $$); }
    | background_word _is dd_int_or_name
        { $$ = DovConstructNode(DSPL_BACKGROUND_COLOR, $3); YYREDUCEPOSN($$); DovScreenClause(IX_ADIS_BACKGROUND_COLOR, $$); }
    | RW_CONTROL _is dd_int_or_name
        { $$ = DovConstructNode(DSPL_CONTROL, $3); YYREDUCEPOSN($$); DovScreenClause(IX_ADIS_CONTROL, $$); }
    | screen_phrase
    | SEP_INLINED_COPY                      { YYREDUCEPOSN($1); DovScreenClause(IX_ADIS_UNINLINED_COPY, $1); }
    | SEP_UNINLINED_COPY                    { YYREDUCEPOSN($1); DovScreenClause(IX_ADIS_UNINLINED_COPY, $1); }
    ;

