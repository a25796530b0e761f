/* ---- dispatcher: the statements of this family ------------------------------
 * data_stmt: the statement node of the alternative                                 */
data_stmt
    : move_stmt                                                    { $$ = $1; }
    | initialize_stmt                                              { $$ = $1; }
    | inspect_stmt                                                 { $$ = $1; }
    | examine_stmt                                                 { $$ = $1; }
    | transform_stmt                                               { $$ = $1; }
    | set_stmt                                                     { $$ = $1; }
    | string_stmt                                                  { $$ = $1; }
    | unstring_stmt                                                { $$ = $1; }
    | search_stmt                                                  { $$ = $1; }
    ;

/* ---- MOVE -----------------------------------------------------------------------
 * MOVE operand TO identifier...    MOVE {CORR|CORRESPONDING} identifier TO identifier...
 * move_stmt: STMT_MOVE or STMT_MOVE_CORR                                       */
move_stmt
    : RW_MOVE operand RW_TO receiving_list                                 { $$ = DovConstructNode(STMT_MOVE, $2, $4); }
    | RW_MOVE corr_word identifier RW_TO receiving_list                    { $$ = DovConstructNode(STMT_MOVE_CORR, $3, $5); }
    ;

/* ---- INITIALIZE ---------------------------------------------------------------------
 * INITIALIZE identifier... [REPLACING category [DATA] BY operand ...]
 * initialize_stmt: STMT_INITIALIZE    opt_init_replacing: EX_INIT_REPLACING or null */
initialize_stmt
    : RW_INITIALIZE identifier_list opt_init_replacing                      { $$ = DovConstructNode(STMT_INITIALIZE, $2, $3); }
    ;

opt_init_replacing
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REPLACING init_repl_phrases                                        { $$ = DovConstructNode(EX_INIT_REPLACING, $2); }
    ;

init_repl_phrases
    : init_repl_phrase                                                      { $$ = DovListFirst(EX_LIST, $1); }
    | init_repl_phrases init_repl_phrase                                    { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

init_repl_phrase
    : init_category _data RW_BY operand                                     { $$ = DovConstructNode(EX_STR_REPLACING_DATA_BY, $1, $4); }
    ;

init_category
    : RW_ALPHABETIC                                                         { $$ = DovKeywordNode(EX_STR_ALPHABETIC); }
    | RW_ALPHANUMERIC                                                       { $$ = DovKeywordNode(EX_STR_ALPHANUMERIC); }
    | RW_NUMERIC                                                            { $$ = DovKeywordNode(EX_STR_NUMERIC); }
    | RW_ALPHANUMERIC_EDITED                                                { $$ = DovKeywordNode(EX_STR_ALPHANUMERIC_EDITED); }
    | RW_NUMERIC_EDITED                                                     { $$ = DovKeywordNode(EX_STR_NUMERIC_EDITED); }
    ;


/* ---- INSPECT -------------------------------------------------------------------------
 * INSPECT identifier TALLYING {identifier FOR {CHARACTERS ba... | {ALL|LEADING} {x ba...}...}...}...
 *     [REPLACING ...]
 * INSPECT identifier REPLACING {CHARACTERS BY x ba... | {ALL|LEADING|FIRST} {x BY y ba...}...}...
 * INSPECT identifier CONVERTING x TO y ba...
 * ba: {BEFORE|AFTER} [INITIAL] x
 * inspect_stmt: STMT_INSPECT or STMT_INSPECT_CONVERTING                          */
inspect_stmt
    : RW_INSPECT identifier inspect_tallying opt_inspect_replacing          { $$ = DovConstructNode(STMT_INSPECT, $2, $3, $4); }
    | RW_INSPECT identifier inspect_replacing                               { $$ = DovConstructNode(STMT_INSPECT, $2, DovAbsentNode(), $3); }
    | RW_INSPECT identifier RW_CONVERTING ident_or_literal RW_TO ident_or_literal ba_initial_list
        { $$ = DovConstructNode(STMT_INSPECT_CONVERTING, $2, $4, $6, $7); }
    ;

inspect_tallying
    : RW_TALLYING tally_clauses                                             { $$ = DovConstructNode(EX_STR_TALLYING, $2); }
    ;

tally_clauses
    : tally_clause                                                          { $$ = DovListFirst(EX_STR_TALLY_CLAUSE_LIST, $1); }
    | tally_clauses tally_clause                                            { $$ = DovListAppend(EX_STR_TALLY_CLAUSE_LIST, $1, $2); }
    ;

tally_clause
    : identifier RW_FOR tally_phrases                                       { $$ = DovConstructNode(EX_STR_TALLY_CLAUSE, $1, $3); }
    ;

tally_phrases
    : tally_phrase                                                          { $$ = DovListFirst(EX_STR_TALLY_PHRASE_LIST, $1); }
    | tally_phrases tally_phrase                                            { $$ = DovListAppend(EX_STR_TALLY_PHRASE_LIST, $1, $2); }
    ;

tally_phrase
    : RW_CHARACTERS ba_initial_list                                         { $$ = DovConstructNode(EX_STR_TALLY_UNIT, DovKeywordNode(EX_STR_TALLY_CHARACTERS), $2); }
    | all_leading tally_units                                               { $$ = DovConstructNode(EX_STR_TALLY_PHRASE, $1, $2); }
    ;

all_leading
    : RW_ALL                                                                { $$ = DovKeywordNode(EX_STR_ALL); }
    | RW_LEADING                                                            { $$ = DovKeywordNode(EX_STR_LEADING); }
    ;

tally_units
    : tally_unit                                                            { $$ = DovListFirst(EX_STR_TALLY_UNIT_LIST, $1); }
    | tally_units tally_unit                                                { $$ = DovListAppend(EX_STR_TALLY_UNIT_LIST, $1, $2); }
    ;

tally_unit
    : ident_or_literal ba_initial_list                                      { $$ = DovConstructNode(EX_STR_TALLY_UNIT, $1, $2); }
    ;

ba_initial_list
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | ba_initial_list ba_initial                                            { $$ = DovListAppend(EX_STR_BA_INITIAL_LIST, $1, $2); }
    ;

ba_initial
    : before_after _initial ident_or_literal                                { $$ = DovConstructNode(EX_STR_BA_INITIAL, $1, $3); }
    ;


opt_inspect_replacing
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | inspect_replacing                                                     { $$ = $1; }
    ;

inspect_replacing
    : RW_REPLACING replace_phrases                                          { $$ = DovConstructNode(EX_INSPECT_REPLACING, $2); }
    ;

replace_phrases
    : replace_phrase                                                        { $$ = DovListFirst(EX_STR_REPLACE_PHRASE_LIST, $1); }
    | replace_phrases replace_phrase                                        { $$ = DovListAppend(EX_STR_REPLACE_PHRASE_LIST, $1, $2); }
    ;

replace_phrase
    : RW_CHARACTERS RW_BY ident_or_literal ba_initial_list                  { $$ = DovConstructNode(EX_STR_REPLACE_UNIT, DovKeywordNode(EX_STR_REPL_CHARACTERS), $3, $4); }
    | all_leading_first replace_units                                       { $$ = DovConstructNode(EX_STR_REPLACE_PHRASE, $1, $2); }
    ;

all_leading_first
    : all_leading                                                           { $$ = $1; }
    | RW_FIRST                                                              { $$ = DovKeywordNode(EX_STR_FIRST); }
    ;

replace_units
    : replace_unit                                                          { $$ = DovListFirst(EX_STR_REPLACE_UNIT_LIST, $1); }
    | replace_units replace_unit                                            { $$ = DovListAppend(EX_STR_REPLACE_UNIT_LIST, $1, $2); }
    ;

replace_unit
    : ident_or_literal RW_BY ident_or_literal ba_initial_list               { $$ = DovConstructNode(EX_STR_REPLACE_UNIT, $1, $3, $4); }
    ;

/* ---- EXAMINE, TRANSFORM -------------------------------------------------------------
 * EXAMINE identifier TALLYING {UNTIL FIRST|ALL|LEADING} literal [REPLACING BY literal]
 * EXAMINE identifier REPLACING {ALL|LEADING|FIRST|UNTIL FIRST} literal BY literal
 * TRANSFORM identifier CHARACTERS FROM operand TO operand                       */
examine_stmt
    : RW_EXAMINE identifier RW_TALLYING examine_phrase opt_examine_repl_by  { $$ = DovConstructNode(STMT_EXAMINE_TALLYING, $2, $4, $5); }
    | RW_EXAMINE identifier RW_REPLACING examine_phrase RW_BY literal       { $$ = DovConstructNode(STMT_EXAMINE_REPLACING, $2, $4, $6); }
    ;

examine_phrase
    : examine_option literal                                                { $$ = DovConstructNode(EX_STR_EXAM_PHRASE, $1, $2); }
    ;

examine_option
    : RW_UNTIL RW_FIRST                                                     { $$ = DovKeywordNode(EX_STR_UNTIL_FIRST); }
    | RW_ALL                                                                { $$ = DovKeywordNode(EX_STR_ALL); }
    | RW_LEADING                                                            { $$ = DovKeywordNode(EX_STR_LEADING); }
    | RW_FIRST                                                              { $$ = DovKeywordNode(EX_STR_FIRST); }
    ;

opt_examine_repl_by
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REPLACING RW_BY literal_all                                        { $$ = DovConstructNode(EX_STR_REPLACING_BY, $3); }
    ;

transform_stmt
    : RW_TRANSFORM identifier RW_CHARACTERS RW_FROM operand RW_TO operand   { $$ = DovConstructNode(STMT_TRANSFORM, $2, $5, $7); }
    ;

/* ---- SET -----------------------------------------------------------------------------
 * SET identifier... TO {operand | ON | OFF | TRUE | FALSE | ENTRY operand} [...]
 * SET identifier... {UP|DOWN} BY operand
 * SET ADDRESS OF identifier TO operand
 * set_stmt: STMT_SET_TO, STMT_SET_UP_DOWN_BY or STMT_SET_ADDRESS                  */
set_stmt
    : RW_SET set_to_clauses                                                 { $$ = DovConstructNode(STMT_SET_TO, $2); }
    | RW_SET RW_ADDRESS RW_OF identifier RW_TO operand                      { $$ = DovConstructNode(STMT_SET_ADDRESS, $4, $6); }
    | RW_SET identifier_list set_up_down RW_BY operand                      { $$ = DovConstructNode(STMT_SET_UP_DOWN_BY, $2, $3, $5); }
    ;

set_to_clauses
    : set_to_clause                                                         { $$ = DovListFirst(EX_LIST, $1); }
    | set_to_clauses set_to_clause                                          { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

set_to_clause
    : identifier_list RW_TO set_value                                       { $$ = DovConstructNode(EX_SET_TO_CLAUSE, $1, $3); }
    ;

set_value
    : operand                                                               { $$ = $1; }
    | RW_ON                                                                 { $$ = DovKeywordNode(EX_ON); }
    | RW_OFF                                                                { $$ = DovKeywordNode(EX_OFF); }
    | RW_TRUE                                                               { $$ = DovKeywordNode(EX_TRUE); }
    | RW_FALSE                                                              { $$ = DovKeywordNode(EX_FALSE); }
    | RW_ENTRY operand                                                      { $$ = DovConstructNode(EX_PTR_ENTRY, $2); }
    ;

set_up_down
    : RW_UP                                                                 { $$ = DovKeywordNode(EX_SET_UP_BY); }
    | RW_DOWN                                                               { $$ = DovKeywordNode(EX_SET_DOWN_BY); }
    ;

/* ---- STRING ----------------------------------------------------------------------------
 * STRING {operand... DELIMITED [BY] {operand | SIZE}}... INTO identifier
 *     [[WITH] POINTER identifier] [overflow phrases] [END-STRING]
 * string_stmt: STMT_STRING                                                         */
string_stmt
    : RW_STRING string_phrases RW_INTO identifier opt_with_pointer opt_on_overflow opt_not_on_overflow opt_end_string
        { $$ = DovConstructNode(STMT_STRING, $2, $4, $5, $6, $7, $8); }
    ;

string_phrases
    : string_phrase                                                         { $$ = DovListFirst(EX_LIST, $1); }
    | string_phrases string_phrase                                          { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

string_phrase
    : operand_list RW_DELIMITED _by string_delimiter                        { $$ = DovConstructNode(EX_STR_DELIMITED_BY, $1, $4); }
    ;

string_delimiter
    : RW_SIZE                                                               { $$ = DovKeywordNode(EX_STR_SIZE); }
    | operand                                                               { $$ = $1; }
    ;

opt_with_pointer
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_POINTER identifier                                           { $$ = DovConstructNode(EX_STR_WITH_POINTER, $3); }
    ;

opt_on_overflow
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _on_kwd RW_OVERFLOW statement_list %prec PRTY_LOW                      { $$ = DovConstructNode(EX_ON_STRING_OVERFLOW, $3); }
    ;

opt_not_on_overflow
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | CMB_NOT_ON_AT _on_kwd RW_OVERFLOW statement_list %prec PRTY_LOW            { $$ = DovConstructNode(EX_NOT_ON_STRING_OVERFLOW, $4); }
    ;

opt_end_string
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_STRING                                                         { $$ = DovKeywordNode(EX_END_STRING); }
    ;

/* ---- UNSTRING ---------------------------------------------------------------------------
 * UNSTRING identifier [DELIMITED [BY] [ALL] x [OR [ALL] x]...]
 *     INTO {identifier [DELIMITER [IN] identifier] [COUNT [IN] identifier]}...
 *     [[WITH] POINTER identifier] [TALLYING [IN] identifier] [overflow phrases] [END-UNSTRING]
 * unstring_stmt: STMT_UNSTRING                                                      */
unstring_stmt
    : RW_UNSTRING identifier opt_unstr_delimited RW_INTO unstr_into_phrases opt_with_pointer opt_unstr_tallying opt_on_overflow opt_not_on_overflow opt_end_unstring
        { $$ = DovConstructNode(STMT_UNSTRING, $2, $3, $5, $6, $7, $8, $9, $10); }
    ;

opt_unstr_delimited
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_DELIMITED _by unstr_delimiters                                     { $$ = DovConstructNode(EX_UNSTR_DELIMITED_BY, $3); }
    ;

unstr_delimiters
    : unstr_delimiter                                                       { $$ = DovListFirst(EX_UNSTR_OR_LIST, $1); }
    | unstr_delimiters RW_OR unstr_delimiter                                { $$ = DovListJoin(YYREDUCTION, EX_UNSTR_OR_LIST, $1, $3); }
    ;

unstr_delimiter
    : ident_or_literal                                                      { $$ = $1; }
    | RW_ALL ident_or_literal                                               { $$ = DovConstructNode(EX_UNSTR_ALL, $2); }
    ;

unstr_into_phrases
    : unstr_into_phrase                                                     { $$ = DovListFirst(EX_LIST, $1); }
    | unstr_into_phrases unstr_into_phrase                                  { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

unstr_into_phrase
    : identifier opt_unstr_delimiter_in opt_unstr_count_in                  { $$ = DovConstructNode(EX_UNSTR_INTO_PHRASE, $1, $2, $3); }
    ;

opt_unstr_delimiter_in
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_DELIMITER _in identifier                                           { $$ = DovConstructNode(EX_UNSTR_DELIMITER_IN, $3); }
    ;

opt_unstr_count_in
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_COUNT _in identifier                                               { $$ = DovConstructNode(EX_UNSTR_COUNT_IN, $3); }
    ;

opt_unstr_tallying
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_TALLYING _in identifier                                            { $$ = DovConstructNode(EX_UNSTR_TALLYING_IN, $3); }
    ;

opt_end_unstring
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_UNSTRING                                                       { $$ = DovKeywordNode(EX_END_UNSTRING); }
    ;

/* ---- SEARCH -----------------------------------------------------------------------------
 * SEARCH identifier [VARYING identifier] [[AT] END statement...]
 *     {WHEN condition {statement... | NEXT SENTENCE}}... [END-SEARCH]
 * SEARCH ALL identifier [[AT] END statement...] WHEN condition statement... [END-SEARCH]
 * search_stmt: STMT_SEARCH or STMT_SEARCH_ALL                                        */
search_stmt
    : RW_SEARCH identifier opt_search_varying opt_search_at_end search_whens opt_end_search
        { $$ = DovConstructNode(STMT_SEARCH, $2, $3, $4, $5, $6); }
    | RW_SEARCH RW_ALL identifier opt_search_at_end search_whens opt_end_search
        { $$ = DovConstructNode(STMT_SEARCH_ALL, $3, $4, $5, $6); }
    ;

opt_search_varying
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_VARYING identifier                                                 { $$ = DovConstructNode(EX_SEARCH_VARYING, $2); }
    ;

opt_search_at_end
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _at RW_END statement_list %prec PRTY_LOW                               { $$ = DovConstructNode(EX_SEARCH_AT_END, $3); }
    ;

search_whens
    : search_when                                                           { $$ = DovListFirst(EX_SEARCH_WHEN_PHRASE_LIST, $1); }
    | search_whens search_when                                              { $$ = DovListAppend(EX_SEARCH_WHEN_PHRASE_LIST, $1, $2); }
    ;

search_when
    : RW_WHEN condition statement_list %prec PRTY_LOW                        { $$ = DovConstructNode(EX_SEARCH_WHEN_PHRASE, $2, $3); }
    ;

opt_end_search
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_SEARCH                                                         { $$ = DovKeywordNode(EX_END_SEARCH); }
    ;
