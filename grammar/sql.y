/* ==== Embedded SQL =============================================================
 * The statement inside EXEC SQL ... END-EXEC, with its clauses, queries and
 * conditions. Inside the block the lexer delivers SQL tokens only: the SQL
 * keywords (STK_), the SQL operators and punctuation (ST_), identifiers
 * (ST_IDENT, a CHAR_STRING node), string and numeric literals (ST_STR_LITER,
 * ST_EXACT_NUM_LIT, ST_APPROX_NUM_LIT, their literal nodes). WITH HOLD and
 * WITH RETURN arrive as one token each.
 *
 * Host variables and WHENEVER targets are names of the COBOL program: they
 * become NAMED_OBJ_USE nodes over symbol-table elements of the current
 * program (grammar/sql_actions.h). Every other SQL name stays the identifier
 * node of its token.
 *
 * Keyword-only nonterminals (sql_char_word, sql_varchar_word, sql_decimal_word,
 * the optional LEVEL, FROM, OUTPUT, AS, WORK and ROW/ROWS words) have no
 * action and yield null; their tokens go to the next node.                   */

/* ---- SQL statement dispatcher -------------------------------------------------
 * sql_statement: the statement's SQL_STMT_ node                             */
sql_statement
    : sql_declare_section_stmt          { $$ = $1; }
    | sql_whenever_stmt                 { $$ = $1; }
    | sql_declare_table_stmt            { $$ = $1; }
    | sql_declare_cursor_stmt           { $$ = $1; }
    | sql_connect_stmt                  { $$ = $1; }
    | sql_set_stmt                      { $$ = $1; }
    | sql_transaction_stmt              { $$ = $1; }
    | sql_select_stmt                   { $$ = $1; }
    | sql_insert_stmt                   { $$ = $1; }
    | sql_delete_stmt                   { $$ = $1; }
    | sql_update_stmt                   { $$ = $1; }
    | sql_cursor_stmt                   { $$ = $1; }
    | sql_dynamic_stmt                  { $$ = $1; }
    | sql_descriptor_stmt               { $$ = $1; }
    ;

/* ---- BEGIN / END DECLARE SECTION ------------------------------------------------
 * BEGIN DECLARE SECTION    END DECLARE SECTION                              */
sql_declare_section_stmt
    : STK_BEGIN STK_DECLARE STK_SECTION { $$ = DovKeywordNode(SQL_STMT_BEGIN_DECLARE_SECTION); }
    | STK_END STK_DECLARE STK_SECTION   { $$ = DovKeywordNode(SQL_STMT_END_DECLARE_SECTION); }
    ;

/* ---- WHENEVER ----------------------------------------------------------------------
 * WHENEVER { SQLERROR | SQLWARNING | NOT FOUND }
 *          { GO TO [:]name | GOTO [:]name | CONTINUE | PERFORM [:]name }
 * sql_whenever_stmt: SQL_STMT_WHENEVER    sql_when_condition: SQL_ERR_ node
 * sql_when_action: SQL_ACT_ node    sql_proc_target: NAMED_OBJ_USE (proc-name) */
sql_whenever_stmt
    : STK_WHENEVER sql_when_condition sql_when_action { $$ = DovConstructNode(SQL_STMT_WHENEVER, $2, $3); }
    ;

sql_when_condition
    : STK_SQLERROR                      { $$ = DovKeywordNode(SQL_ERR_SQLERROR); }
    | STK_SQLWARNING                    { $$ = DovKeywordNode(SQL_ERR_SQLWARNING); }
    | STK_NOT STK_FOUND                 { $$ = DovKeywordNode(SQL_ERR_NOT_FOUND); }
    ;

sql_when_action
    : STK_GO STK_TO sql_proc_target     { $$ = DovConstructNode(SQL_ACT_GOTO, $3); }
    | STK_GOTO sql_proc_target          { $$ = DovConstructNode(SQL_ACT_GOTO, $2); }
    | STK_CONTINUE                      { $$ = DovKeywordNode(SQL_ACT_CONTINUE); }
    | STK_PERFORM sql_proc_target       { $$ = DovConstructNode(SQL_ACT_PERFORM, $2); }
    ;

sql_proc_target
    : ST_IDENT                          { $$ = DovSqlProcTarget($1); }
    | ST_COLON ST_IDENT                 { $$ = DovSqlProcTarget($2); }
    ;

/* ---- DECLARE TABLE -------------------------------------------------------------------
 * DECLARE table TABLE ( name type [constraint] [, ...] )
 * sql_col_def_list: SQL_COL_DEF_LIST    sql_col_def: SQL_COL_DEF
 * opt_sql_constraint: SQL_CONSTR_ node or a null node                       */
sql_declare_table_stmt
    : STK_DECLARE sql_table_name STK_TABLE ST_LEFT_PAR sql_col_def_list ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_STMT_DECLARE_TABLE, $2, $5); }
    ;

sql_col_def_list
    : sql_col_def                       { $$ = DovListFirst(SQL_COL_DEF_LIST, $1); }
    | sql_col_def_list ST_COMMA sql_col_def { $$ = DovListJoin(YYREDUCTION, SQL_COL_DEF_LIST, $1, $3); }
    ;

sql_col_def
    : ST_IDENT sql_data_type opt_sql_constraint { $$ = DovConstructNode(SQL_COL_DEF, $1, $2, $3); }
    ;

opt_sql_constraint
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_NOT STK_NULL                  { $$ = DovKeywordNode(SQL_CONSTR_NOT_NULL); }
    | STK_NOT STK_NULL STK_WITH STK_DEFAULT { $$ = DovKeywordNode(SQL_CONSTR_NOT_NULL_DEFAULT); }
    | STK_PRIMARY STK_KEY               { $$ = DovKeywordNode(SQL_CONSTR_PRIMARY_KEY); }
    | STK_UNIQUE                        { $$ = DovKeywordNode(SQL_CONSTR_UNIQUE); }
    | STK_CHECK ST_LEFT_PAR sql_search_cond ST_RIGHT_PAR { $$ = DovConstructNode(SQL_CONSTR_CHECK, $3); }
    ;

/* ---- SQL data types ------------------------------------------------------------------
 * CHAR(n) VARCHAR(n) BIT(n) BIT VARYING(n) NUMERIC(p[,s]) DECIMAL[(p[,s])]
 * INTEGER SMALLINT FLOAT[(n)] REAL DOUBLE PRECISION DATE TIME TIMESTAMP
 * sql_data_type: SQL_TYPE_ node; absent lengths leave their slots empty    */
sql_data_type
    : sql_char_word ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_CHAR, $3); }
    | sql_varchar_word ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_VARCHAR, $3); }
    | STK_BIT ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_BIT, $3); }
    | STK_BIT STK_VARYING ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_VARBIT, $4); }
    | STK_NUMERIC ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_NUMERIC, $3, nullptr); }
    | STK_NUMERIC ST_LEFT_PAR ST_EXACT_NUM_LIT ST_COMMA ST_EXACT_NUM_LIT ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_TYPE_NUMERIC, $3, $5); }
    | sql_decimal_word                  { $$ = DovKeywordNode(SQL_TYPE_DECIMAL); }
    | sql_decimal_word ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_DECIMAL, $3, nullptr); }
    | sql_decimal_word ST_LEFT_PAR ST_EXACT_NUM_LIT ST_COMMA ST_EXACT_NUM_LIT ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_TYPE_DECIMAL, $3, $5); }
    | STK_INTEGER                       { $$ = DovKeywordNode(SQL_TYPE_INT); }
    | STK_INT                           { $$ = DovKeywordNode(SQL_TYPE_INT); }
    | STK_SMALLINT                      { $$ = DovKeywordNode(SQL_TYPE_SMALLINT); }
    | STK_FLOAT                         { $$ = DovKeywordNode(SQL_TYPE_FLOAT); }
    | STK_FLOAT ST_LEFT_PAR ST_EXACT_NUM_LIT ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TYPE_FLOAT, $3); }
    | STK_REAL                          { $$ = DovKeywordNode(SQL_TYPE_REAL); }
    | STK_DOUBLE STK_PRECISION          { $$ = DovKeywordNode(SQL_TYPE_DOUBLE_PRECISION); }
    | STK_DATE                          { $$ = DovKeywordNode(SQL_TYPE_DATE); }
    | STK_TIME                          { $$ = DovKeywordNode(SQL_TYPE_TIME); }
    | STK_TIMESTAMP                     { $$ = DovKeywordNode(SQL_TYPE_TIMESTAMP); }
    ;

sql_char_word    : STK_CHARACTER | STK_CHAR ;
sql_varchar_word : sql_char_word STK_VARYING | STK_VARCHAR ;
sql_decimal_word : STK_DECIMAL | STK_DEC ;

/* ---- CONNECT, DISCONNECT ---------------------------------------------------------------
 * CONNECT TO server    DISCONNECT server
 * server: DEFAULT | CURRENT | ALL | name [AS name] [USER name]
 * sql_server: SQL_SERVER_ node    sql_simple_value: the token's node        */
sql_connect_stmt
    : STK_CONNECT STK_TO sql_server     { $$ = DovConstructNode(SQL_STMT_CONNECT, $3); }
    | STK_DISCONNECT sql_server         { $$ = DovConstructNode(SQL_STMT_DISCONNECT, $2); }
    ;

sql_server
    : STK_DEFAULT                       { $$ = DovKeywordNode(SQL_SERVER_DEFAULT); }
    | STK_CURRENT                       { $$ = DovKeywordNode(SQL_SERVER_CURRENT); }
    | STK_ALL                           { $$ = DovKeywordNode(SQL_SERVER_ALL); }
    | sql_simple_value opt_sql_connect_as opt_sql_connect_user
                                        { $$ = DovConstructNode(SQL_SERVER_SPEC, $1, $2, $3); }
    ;

opt_sql_connect_as
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_AS sql_simple_value           { $$ = DovConstructNode(SQL_CONNECT_AS, $2); }
    ;

opt_sql_connect_user
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_USER sql_simple_value         { $$ = DovConstructNode(SQL_CONNECT_USER, $2); }
    ;

sql_simple_value
    : ST_STR_LITER                      { $$ = $1; }
    | ST_EXACT_NUM_LIT                  { $$ = $1; }
    | ST_IDENT                          { $$ = $1; }
    ;

/* ---- SET statements ---------------------------------------------------------------------
 * SET AUTOCOMMIT {ON|OFF}   SET CONNECTION server   SET {CATALOG|SCHEMA|NAMES} value
 * SET SESSION AUTHORIZATION value   SET CONCURRENCY type   SET SCROLLOPTION option
 * SET TRANSACTION ISOLATION [LEVEL] level
 * sql_set_stmt: SQL_STMT_SET_ node (SET DESCRIPTOR is with the descriptors)  */
sql_set_stmt
    : STK_SET STK_AUTOCOMMIT sql_flag   { $$ = DovConstructNode(SQL_STMT_SET_AUTOCOMMIT, $3); }
    | STK_SET STK_CONNECTION sql_server { $$ = DovConstructNode(SQL_STMT_SET_CONNECTION, $3); }
    | STK_SET STK_CATALOG sql_name_value { $$ = DovConstructNode(SQL_STMT_SET_CATALOG, $3); }
    | STK_SET STK_SCHEMA sql_name_value { $$ = DovConstructNode(SQL_STMT_SET_SCHEMA, $3); }
    | STK_SET STK_NAMES sql_name_value  { $$ = DovConstructNode(SQL_STMT_SET_NAMES, $3); }
    | STK_SET STK_SESSION STK_AUTHORIZATION sql_name_value
                                        { $$ = DovConstructNode(SQL_STMT_SET_SESSION_AUTH, $4); }
    | STK_SET STK_CONCURRENCY sql_concurrency { $$ = DovConstructNode(SQL_STMT_SET_CONCURRENCY, $3); }
    | STK_SET STK_SCROLLOPTION sql_scroll_option { $$ = DovConstructNode(SQL_STMT_SET_SCROLL_OPTION, $3); }
    | STK_SET STK_TRANSACTION STK_ISOLATION sql_level_word sql_isolation_level
                                        { $$ = DovConstructNode(SQL_STMT_SET_TRN_ISOLATION, $5); }
    ;

sql_level_word : /* empty */ | STK_LEVEL ;

sql_flag
    : STK_ON                            { $$ = DovKeywordNode(SQL_FLAG_ON); }
    | STK_OFF                           { $$ = DovKeywordNode(SQL_FLAG_OFF); }
    ;

sql_name_value
    : sql_simple_value                  { $$ = $1; }
    | sql_user_value                    { $$ = $1; }
    ;

sql_concurrency
    : STK_LOCKCC                        { $$ = DovKeywordNode(SQL_CONC_LOCKCC); }
    | STK_OPTCC                         { $$ = DovKeywordNode(SQL_CONC_OPTCC); }
    | STK_OPTCCVAL                      { $$ = DovKeywordNode(SQL_CONC_OPTCCVAL); }
    | STK_READONLY                      { $$ = DovKeywordNode(SQL_CONC_READONLY); }
    | STK_READ STK_ONLY                 { $$ = DovKeywordNode(SQL_CONC_READONLY); }
    ;

sql_scroll_option
    : STK_DYNAMIC                       { $$ = DovKeywordNode(SQL_SCROLLOPT_DYNAMIC); }
    | STK_FAST STK_FORWARD              { $$ = DovKeywordNode(SQL_SCROLLOPT_FASTFORWARD); }
    | STK_FORWARD                       { $$ = DovKeywordNode(SQL_SCROLLOPT_FORWARD); }
    | STK_KEYSET                        { $$ = DovKeywordNode(SQL_SCROLLOPT_KEYSET); }
    ;

sql_isolation_level
    : STK_READ STK_COMMITTED            { $$ = DovKeywordNode(SQL_TIL_READ_COMMITTED); }
    | STK_READ STK_UNCOMMITTED          { $$ = DovKeywordNode(SQL_TIL_READ_UNCOMMITTED); }
    | STK_REPEATABLE STK_READ           { $$ = DovKeywordNode(SQL_TIL_REPEATABLE_READ); }
    | STK_SERIALIZABLE                  { $$ = DovKeywordNode(SQL_TIL_SERIALIZABLE); }
    ;

/* ---- COMMIT, ROLLBACK ---------------------------------------------------------------------
 * COMMIT [WORK]    ROLLBACK [WORK]                                           */
sql_transaction_stmt
    : STK_COMMIT sql_work_word          { $$ = DovKeywordNode(SQL_STMT_COMMIT); }
    | STK_ROLLBACK sql_work_word        { $$ = DovKeywordNode(SQL_STMT_ROLLBACK); }
    ;

sql_work_word : /* empty */ | STK_WORK ;

/* ---- SELECT ... INTO ---------------------------------------------------------------------------
 * SELECT [ALL|DISTINCT] items INTO host-variables [FROM references] [WHERE condition]
 *        [GROUP BY columns] [HAVING condition]
 * sql_select_stmt: SQL_STMT_SELECT    opt_sql_quantifier: SQL_QUAL_ node or a null node
 * sql_select_list: SQL_SEL_ITEM_LIST_STAR or SQL_SEL_ITEM_LIST               */
sql_select_stmt
    : STK_SELECT opt_sql_quantifier sql_select_list STK_INTO sql_host_var_list opt_sql_from
      opt_sql_where opt_sql_group_by opt_sql_having
                                        { $$ = DovConstructNode(SQL_STMT_SELECT, $2, $3, DovConstructNode(SQL_INTO_VARS, $5), $6, $7, $8, $9); }
    ;

opt_sql_quantifier
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_ALL                           { $$ = DovKeywordNode(SQL_QUAL_ALL); }
    | STK_DISTINCT                      { $$ = DovKeywordNode(SQL_QUAL_DISTINCT); }
    ;

sql_select_list
    : ST_STAR                           { $$ = DovKeywordNode(SQL_SEL_ITEM_LIST_STAR); }
    | sql_select_items                  { $$ = $1; }
    ;

sql_select_items
    : sql_select_item                   { $$ = DovListFirst(SQL_SEL_ITEM_LIST, $1); }
    | sql_select_items ST_COMMA sql_select_item { $$ = DovListJoin(YYREDUCTION, SQL_SEL_ITEM_LIST, $1, $3); }
    ;

sql_select_item
    : sql_value_expr                    { $$ = DovConstructNode(SQL_SEL_ITEM_EXPR, $1); }
    | ST_IDENT ST_DOT ST_STAR           { $$ = DovConstructNode(SQL_SEL_ITEM_TABLE_STAR, DovConstructNode(SQL_TABLE_REF, nullptr, $1)); }
    | ST_IDENT ST_DOT ST_IDENT ST_DOT ST_STAR
                                        { $$ = DovConstructNode(SQL_SEL_ITEM_TABLE_STAR, DovConstructNode(SQL_TABLE_REF, $1, $3)); }
    ;

opt_sql_from
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_FROM sql_table_ref_list       { $$ = DovConstructNode(SQL_FROM, $2); }
    ;

/* ---- Table references, WHERE, GROUP BY, HAVING ---------------------------------------------------
 * reference: { table | ( query ) } [[AS] variable]    table: [schema .] name
 * sql_table_ref_list: SQL_TABLE_REF_LIST    sql_table_ref: SQL_TABLE_REF_ITEM
 * sql_table_name: SQL_TABLE_REF    opt_sql_where: SQL_WHERE or a null node   */
sql_table_ref_list
    : sql_table_ref                     { $$ = DovListFirst(SQL_TABLE_REF_LIST, $1); }
    | sql_table_ref_list ST_COMMA sql_table_ref { $$ = DovListJoin(YYREDUCTION, SQL_TABLE_REF_LIST, $1, $3); }
    ;

sql_table_ref
    : sql_table_primary opt_sql_range_var { $$ = DovConstructNode(SQL_TABLE_REF_ITEM, $1, $2); }
    ;

sql_table_primary
    : sql_table_name                    { $$ = $1; }
    | ST_LEFT_PAR sql_query_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TABLE_EXPR, $2); }
    ;

opt_sql_range_var
    : /* empty */                       { $$ = DovAbsentNode(); }
    | ST_IDENT                          { $$ = DovConstructNode(SQL_RANGE_VAR_DEF, $1); }
    | STK_AS ST_IDENT                   { $$ = DovConstructNode(SQL_RANGE_VAR_DEF, $2); }
    ;

sql_table_name
    : ST_IDENT                          { $$ = DovConstructNode(SQL_TABLE_REF, nullptr, $1); }
    | ST_IDENT ST_DOT ST_IDENT          { $$ = DovConstructNode(SQL_TABLE_REF, $1, $3); }
    ;

opt_sql_where
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_WHERE sql_search_cond         { $$ = DovConstructNode(SQL_WHERE, $2); }
    ;

opt_sql_group_by
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_GROUP STK_BY sql_col_ref_list { $$ = DovConstructNode(SQL_SEL_GROUP_BY, $3); }
    ;

opt_sql_having
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_HAVING sql_search_cond        { $$ = DovConstructNode(SQL_SEL_HAVING, $2); }
    ;

/* ---- Column references ----------------------------------------------------------------------------
 * [[schema .] table .] column
 * sql_col_ref_list: SQL_COL_REF_LIST    sql_col_ref: SQL_COL_REF            */
sql_col_ref_list
    : sql_col_ref                       { $$ = DovListFirst(SQL_COL_REF_LIST, $1); }
    | sql_col_ref_list ST_COMMA sql_col_ref { $$ = DovListJoin(YYREDUCTION, SQL_COL_REF_LIST, $1, $3); }
    ;

sql_col_ref
    : ST_IDENT                          { $$ = DovConstructNode(SQL_COL_REF, nullptr, $1); }
    | ST_IDENT ST_DOT ST_IDENT          { $$ = DovConstructNode(SQL_COL_REF, DovConstructNode(SQL_TABLE_REF, nullptr, $1), $3); }
    | ST_IDENT ST_DOT ST_IDENT ST_DOT ST_IDENT
                                        { $$ = DovConstructNode(SQL_COL_REF, DovConstructNode(SQL_TABLE_REF, $1, $3), $5); }
    ;

/* ---- INSERT ------------------------------------------------------------------------------------------
 * INSERT INTO table { [( columns )] query | DEFAULT VALUES }
 * sql_insert_stmt: SQL_STMT_INSERT    sql_insert_source: SQL_INSERT_COLS or SQL_DEFAULT_VALUES */
sql_insert_stmt
    : STK_INSERT STK_INTO sql_table_name sql_insert_source { $$ = DovConstructNode(SQL_STMT_INSERT, $3, $4); }
    ;

sql_insert_source
    : sql_query_expr                    { $$ = DovConstructNode(SQL_INSERT_COLS, DovAbsentNode(), $1); }
    | ST_LEFT_PAR sql_col_ref_list ST_RIGHT_PAR sql_query_expr
                                        { $$ = DovConstructNode(SQL_INSERT_COLS, DovConstructNode(SQL_OP_PARENS, $2), $4); }
    | STK_DEFAULT STK_VALUES            { $$ = DovKeywordNode(SQL_DEFAULT_VALUES); }
    ;

/* ---- DELETE, UPDATE (searched and positioned) ------------------------------------------------------------
 * DELETE [FROM table] [WHERE condition]    DELETE [FROM table] WHERE CURRENT OF cursor
 * UPDATE [table] SET assignments [WHERE condition]
 * UPDATE [table] SET assignments WHERE CURRENT OF cursor
 * opt_sql_delete_table: SQL_FROM_TABLE or a null node
 * sql_update_assign_list: SQL_UPDATE_ASSIGN_LIST                              */
sql_delete_stmt
    : STK_DELETE opt_sql_delete_table opt_sql_where { $$ = DovConstructNode(SQL_STMT_DELETE, $2, $3); }
    | STK_DELETE opt_sql_delete_table STK_WHERE STK_CURRENT STK_OF sql_cursor_name
                                        { $$ = DovConstructNode(SQL_STMT_DELETE_CURSOR, $2, $6); }
    ;

opt_sql_delete_table
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_FROM sql_table_name           { $$ = DovConstructNode(SQL_FROM_TABLE, $2); }
    ;

sql_update_stmt
    : STK_UPDATE opt_sql_update_table STK_SET sql_update_assign_list opt_sql_where
                                        { $$ = DovConstructNode(SQL_STMT_UPDATE, $2, $4, $5); }
    | STK_UPDATE opt_sql_update_table STK_SET sql_update_assign_list STK_WHERE STK_CURRENT STK_OF sql_cursor_name
                                        { $$ = DovConstructNode(SQL_STMT_UPDATE_CURSOR, $2, $4, $8); }
    ;

opt_sql_update_table
    : /* empty */                       { $$ = DovAbsentNode(); }
    | sql_table_name                    { $$ = $1; }
    ;

sql_update_assign_list
    : sql_update_assign                 { $$ = DovListFirst(SQL_UPDATE_ASSIGN_LIST, $1); }
    | sql_update_assign_list ST_COMMA sql_update_assign { $$ = DovListJoin(YYREDUCTION, SQL_UPDATE_ASSIGN_LIST, $1, $3); }
    ;

sql_update_assign
    : sql_col_ref ST_EQ sql_value_expr  { $$ = DovConstructNode(SQL_UPDATE_ASSIGN, $1, $3); }
    ;

/* ---- DECLARE CURSOR -----------------------------------------------------------------------------------
 * DECLARE cursor [INSENSITIVE] [SCROLL] CURSOR [WITH HOLD] [WITH RETURN]
 *     FOR { query [ORDER BY items] [FOR {READ|FETCH} ONLY | FOR UPDATE [OF columns]]
 *           [OPTIMIZE FOR n {ROW|ROWS}] | prepared-statement }
 * sql_declare_cursor_stmt: SQL_STMT_DECLARE_CURSOR    sql_cursor_name: SQL_CURSOR_REF
 * sql_cursor_spec: SQL_DECL_CURSOR_STATIC or SQL_DECL_CURSOR_DYNAMIC          */
sql_declare_cursor_stmt
    : STK_DECLARE sql_cursor_name opt_sql_insensitive opt_sql_scroll STK_CURSOR opt_sql_with_hold
      opt_sql_with_return STK_FOR sql_cursor_spec
                                        { $$ = DovConstructNode(SQL_STMT_DECLARE_CURSOR, $2, $3, $4, $6, $7, $9); }
    ;

sql_cursor_name
    : ST_IDENT                          { $$ = DovConstructNode(SQL_CURSOR_REF, $1); }
    | sql_host_var_ref                  { $$ = DovConstructNode(SQL_CURSOR_REF, $1); }
    ;

opt_sql_insensitive
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_INSENSITIVE                   { $$ = DovKeywordNode(SQL_DECL_INSENSITIVE); }
    ;

opt_sql_scroll
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_SCROLL                        { $$ = DovKeywordNode(SQL_DECL_SCROLL); }
    ;

opt_sql_with_hold
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_WITH_HOLD                     { $$ = DovKeywordNode(SQL_DECL_WHOLD); }
    ;

opt_sql_with_return
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_WITH_RETURN                   { $$ = DovKeywordNode(SQL_DECL_WRETURN); }
    ;

sql_cursor_spec
    : sql_query_expr opt_sql_order_by opt_sql_access opt_sql_optimize
                                        { $$ = DovConstructNode(SQL_DECL_CURSOR_STATIC, $1, $2, $3, $4); }
    | sql_prepared_name                 { $$ = DovConstructNode(SQL_DECL_CURSOR_DYNAMIC, $1); }
    ;

opt_sql_order_by
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_ORDER STK_BY sql_order_item_list { $$ = DovConstructNode(SQL_ORDER_BY, $3); }
    ;

sql_order_item_list
    : sql_order_item                    { $$ = DovListFirst(SQL_ORDER_ITEM_LIST, $1); }
    | sql_order_item_list ST_COMMA sql_order_item { $$ = DovListJoin(YYREDUCTION, SQL_ORDER_ITEM_LIST, $1, $3); }
    ;

sql_order_item
    : sql_col_ref opt_sql_direction     { $$ = DovConstructNode(SQL_ORDER_ITEM, $1, $2); }
    | ST_EXACT_NUM_LIT opt_sql_direction { $$ = DovConstructNode(SQL_ORDER_ITEM, $1, $2); }
    ;

opt_sql_direction
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_ASC                           { $$ = DovKeywordNode(SQL_ORDER_ASC); }
    | STK_DESC                          { $$ = DovKeywordNode(SQL_ORDER_DESC); }
    ;

opt_sql_access
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_FOR STK_READ STK_ONLY         { $$ = DovConstructNode(SQL_DECL_FOR, DovKeywordNode(SQL_DECL_ACC_READONLY)); }
    | STK_FOR STK_FETCH STK_ONLY        { $$ = DovConstructNode(SQL_DECL_FOR, DovKeywordNode(SQL_DECL_ACC_READONLY)); }
    | STK_FOR STK_UPDATE opt_sql_update_of { $$ = DovConstructNode(SQL_DECL_FOR, DovConstructNode(SQL_DECL_ACC_UPDATE, $3)); }
    ;

opt_sql_update_of
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_OF sql_col_ref_list           { $$ = DovConstructNode(SQL_DECL_ACC_UPDATE_OF, $2); }
    ;

opt_sql_optimize
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_OPTIMIZE STK_FOR ST_EXACT_NUM_LIT sql_row_word { $$ = DovConstructNode(SQL_OPTIMIZE_FOR, $3); }
    ;

sql_row_word : STK_ROW | STK_ROWS ;

/* ---- OPEN, CLOSE, FETCH -----------------------------------------------------------------------------------
 * OPEN cursor [USING ...]    CLOSE cursor
 * FETCH [NEXT|PRIOR|FIRST|LAST|ABSOLUTE n|RELATIVE n] [FROM] cursor [INTO ...]
 * sql_cursor_stmt: SQL_STMT_OPEN_CURSOR, SQL_STMT_CLOSE_CURSOR or SQL_STMT_FETCH_CURSOR
 * opt_sql_row_selector: SQL_ROWSEL_ node or a null node                     */
sql_cursor_stmt
    : STK_OPEN sql_cursor_name opt_sql_using { $$ = DovConstructNode(SQL_STMT_OPEN_CURSOR, $2, $3); }
    | STK_CLOSE sql_cursor_name         { $$ = DovConstructNode(SQL_STMT_CLOSE_CURSOR, $2); }
    | STK_FETCH opt_sql_row_selector sql_from_word sql_cursor_name opt_sql_into
                                        { $$ = DovConstructNode(SQL_STMT_FETCH_CURSOR, $2, $4, $5); }
    ;

sql_from_word : /* empty */ | STK_FROM ;

opt_sql_row_selector
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_NEXT                          { $$ = DovKeywordNode(SQL_ROWSEL_NEXT); }
    | STK_PRIOR                         { $$ = DovKeywordNode(SQL_ROWSEL_PRIOR); }
    | STK_FIRST                         { $$ = DovKeywordNode(SQL_ROWSEL_FIRST); }
    | STK_LAST                          { $$ = DovKeywordNode(SQL_ROWSEL_LAST); }
    | STK_ABSOLUTE ST_EXACT_NUM_LIT     { $$ = DovConstructNode(SQL_ROWSEL_ABSOLUTE, $2); }
    | STK_RELATIVE ST_EXACT_NUM_LIT     { $$ = DovConstructNode(SQL_ROWSEL_RELATIVE, $2); }
    ;

/* ---- Dynamic SQL ---------------------------------------------------------------------------------------------
 * PREPARE name FROM text    EXECUTE IMMEDIATE text    EXECUTE name [INTO ...] [USING ...]
 * DESCRIBE INPUT name USING SQL DESCRIPTOR d    DESCRIBE [OUTPUT] name USING SQL DESCRIPTOR d
 * ALLOCATE DESCRIPTOR d    ALLOCATE cursor CURSOR FOR name
 * DEALLOCATE DESCRIPTOR d    DEALLOCATE PREPARE name
 * sql_prepared_name: SQL_PREPPED_REF    sql_descriptor_name: SQL_DESCR_REF
 * opt_sql_into, opt_sql_using: SQL_INTO_ / SQL_USING_ node or a null node
 * sql_text: a string literal or a host variable                             */
sql_dynamic_stmt
    : STK_PREPARE sql_prepared_name STK_FROM sql_text { $$ = DovConstructNode(SQL_STMT_PREPARE, $2, $4); }
    | STK_EXECUTE STK_IMMEDIATE sql_text { $$ = DovConstructNode(SQL_STMT_EXECUTE_IMMEDIATE, $3); }
    | STK_EXECUTE sql_prepared_name opt_sql_into opt_sql_using
                                        { $$ = DovConstructNode(SQL_STMT_EXECUTE_PREPARED, $2, $3, $4); }
    | STK_DESCRIBE STK_INPUT sql_prepared_name STK_USING STK_SQL STK_DESCRIPTOR sql_descriptor_name
                                        { $$ = DovConstructNode(SQL_STMT_DESCRIBE_INPUT, $3, $7); }
    | STK_DESCRIBE sql_output_word sql_prepared_name STK_USING STK_SQL STK_DESCRIPTOR sql_descriptor_name
                                        { $$ = DovConstructNode(SQL_STMT_DESCRIBE_OUTPUT, $3, $7); }
    | STK_ALLOCATE STK_DESCRIPTOR sql_descriptor_name { $$ = DovConstructNode(SQL_STMT_ALLOCATE_DESCRIPTOR, $3); }
    | STK_ALLOCATE sql_cursor_name STK_CURSOR STK_FOR sql_prepared_name
                                        { $$ = DovConstructNode(SQL_STMT_ALLOCATE_CURSOR, $2, $5); }
    | STK_DEALLOCATE STK_DESCRIPTOR sql_descriptor_name { $$ = DovConstructNode(SQL_STMT_DEALLOCATE_DESCRIPTOR, $3); }
    | STK_DEALLOCATE STK_PREPARE sql_prepared_name { $$ = DovConstructNode(SQL_STMT_DEALLOCATE_PREPARE, $3); }
    ;

sql_output_word : /* empty */ | STK_OUTPUT ;

sql_prepared_name
    : ST_IDENT                          { $$ = DovConstructNode(SQL_PREPPED_REF, $1); }
    | sql_host_var_ref                  { $$ = DovConstructNode(SQL_PREPPED_REF, $1); }
    ;

sql_text
    : ST_STR_LITER                      { $$ = $1; }
    | sql_host_var_ref                  { $$ = $1; }
    ;

opt_sql_into
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_INTO sql_host_var_list        { $$ = DovConstructNode(SQL_INTO_VARS, $2); }
    | STK_INTO STK_SQL STK_DESCRIPTOR sql_descriptor_name { $$ = DovConstructNode(SQL_INTO_DESCR, $4); }
    ;

opt_sql_using
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_USING sql_host_var_list       { $$ = DovConstructNode(SQL_USING_VARS, $2); }
    | STK_USING STK_SQL STK_DESCRIPTOR sql_descriptor_name { $$ = DovConstructNode(SQL_USING_DESCR, $4); }
    ;

sql_descriptor_name
    : sql_simple_value                  { $$ = DovConstructNode(SQL_DESCR_REF, $1); }
    ;

/* ---- GET DESCRIPTOR, SET DESCRIPTOR -------------------------------------------------------------------------
 * GET DESCRIPTOR d { :h = COUNT | VALUE n :h = item [, ...] }
 * SET DESCRIPTOR d { :h = COUNT | VALUE n item = value [, ...] }
 * sql_descriptor_stmt: SQL_STMT_GET_DESCRIPTOR or SQL_STMT_SET_DESCRIPTOR     */
sql_descriptor_stmt
    : STK_GET STK_DESCRIPTOR sql_descriptor_name sql_get_descr_args
                                        { $$ = DovConstructNode(SQL_STMT_GET_DESCRIPTOR, $3, $4); }
    | STK_SET STK_DESCRIPTOR sql_descriptor_name sql_set_descr_args
                                        { $$ = DovConstructNode(SQL_STMT_SET_DESCRIPTOR, $3, $4); }
    ;

sql_get_descr_args
    : sql_host_var_ref ST_EQ STK_COUNT  { $$ = DovConstructNode(SQL_GET_COUNT, $1); }
    | STK_VALUE sql_simple_value sql_get_assign_list { $$ = DovConstructNode(SQL_GET_VALUES, $2, $3); }
    ;

sql_get_assign_list
    : sql_get_assign                    { $$ = DovListFirst(SQL_GET_ASSIGN_LIST, $1); }
    | sql_get_assign_list ST_COMMA sql_get_assign { $$ = DovListJoin(YYREDUCTION, SQL_GET_ASSIGN_LIST, $1, $3); }
    ;

sql_get_assign
    : sql_host_var_ref ST_EQ ST_IDENT   { $$ = DovConstructNode(SQL_GET_ASSIGN, $1, $3); }
    ;

sql_set_descr_args
    : sql_host_var_ref ST_EQ STK_COUNT  { $$ = DovConstructNode(SQL_SET_COUNT, $1); }
    | STK_VALUE sql_simple_value sql_set_assign_list { $$ = DovConstructNode(SQL_SET_VALUES, $2, $3); }
    ;

sql_set_assign_list
    : sql_set_assign                    { $$ = DovListFirst(SQL_SET_ASSIGN_LIST, $1); }
    | sql_set_assign_list ST_COMMA sql_set_assign { $$ = DovListJoin(YYREDUCTION, SQL_SET_ASSIGN_LIST, $1, $3); }
    ;

sql_set_assign
    : ST_IDENT ST_EQ sql_simple_value   { $$ = DovConstructNode(SQL_SET_ASSIGN, $1, $3); }
    ;

/* ---- Host variables ----------------------------------------------------------------------------------------------
 * :name[.name...] [[INDICATOR] :name[.name...]]
 * sql_host_var_list: SQL_IND_HOST_VAR_LIST    sql_ind_host_var: SQL_IND_HOST_VAR
 * sql_host_var_ref: SQL_HOST_VAR_REF over NAMED_OBJ_USE (data-name)
 * sql_host_var_names: SQL_VAR_NAME_LIST of the identifiers, in written order */
sql_host_var_list
    : sql_ind_host_var                  { $$ = DovListFirst(SQL_IND_HOST_VAR_LIST, $1); }
    | sql_host_var_list ST_COMMA sql_ind_host_var { $$ = DovListJoin(YYREDUCTION, SQL_IND_HOST_VAR_LIST, $1, $3); }
    ;

sql_ind_host_var
    : sql_host_var_ref                  { $$ = DovConstructNode(SQL_IND_HOST_VAR, $1, nullptr); }
    | sql_host_var_ref sql_host_var_ref { $$ = DovConstructNode(SQL_IND_HOST_VAR, $1, $2); }
    | sql_host_var_ref STK_INDICATOR sql_host_var_ref { $$ = DovConstructNode(SQL_IND_HOST_VAR, $1, $3); }
    ;

sql_host_var_ref
    : ST_COLON sql_host_var_names       { $$ = DovSqlHostVarRef($2); }
    ;

sql_host_var_names
    : ST_IDENT                          { $$ = DovSqlFirstName(YYREDUCTION, $1); }
    | sql_host_var_names ST_DOT ST_IDENT { $$ = DovListJoin(YYREDUCTION, SQL_VAR_NAME_LIST, $1, $3); }
    ;

/* ---- Value expressions ----------------------------------------------------------------------------------------------
 * Levels, loosest first: + - || (left-associative); * /; unary + -; primaries.
 * A chain of one operator is one list node (a + b + c); a parenthesised
 * operand is an SQL_OP_PARENS node and is never merged.
 * sql_value_expr, sql_term, sql_factor, sql_primary: the expression node    */
sql_value_expr
    : sql_term                          { $$ = $1; }
    | sql_value_expr ST_PLUS sql_term   { $$ = DovListJoin(YYREDUCTION, SQL_OP_ADD, $1, $3); }
    | sql_value_expr ST_MINUS sql_term  { $$ = DovListJoin(YYREDUCTION, SQL_OP_SUB, $1, $3); }
    | sql_value_expr ST_VERT ST_VERT sql_term { $$ = DovListJoin(YYREDUCTION, SQL_OP_CONCAT, $1, $4); }
    ;

sql_term
    : sql_factor                        { $$ = $1; }
    | sql_term ST_STAR sql_factor       { $$ = DovListJoin(YYREDUCTION, SQL_OP_MUL, $1, $3); }
    | sql_term ST_SLASH sql_factor      { $$ = DovListJoin(YYREDUCTION, SQL_OP_DIV, $1, $3); }
    ;

sql_factor
    : sql_primary                       { $$ = $1; }
    | ST_PLUS sql_factor                { $$ = DovConstructNode(SQL_OP_UN_PLUS, $2); }
    | ST_MINUS sql_factor               { $$ = DovConstructNode(SQL_OP_UN_MINUS, $2); }
    ;

/* CONFLICT Q01, Q02 (register): after "( value" a ")" may close a
 * parenthesised value or a one-value row constructor (sql_expr_list). The
 * shift (the parenthesised value) is tried first; test SqlShapes.*.          */
sql_primary
    : ST_STR_LITER                      { $$ = $1; }
    | ST_EXACT_NUM_LIT                  { $$ = $1; }
    | ST_APPROX_NUM_LIT                 { $$ = $1; }
    | STK_DEFAULT                       { $$ = DovKeywordNode(SQL_VALUE_DEFAULT); }
    | STK_NULL                          { $$ = DovKeywordNode(SQL_VALUE_NULL); }
    | sql_col_ref                       { $$ = $1; }
    | sql_ind_host_var                  { $$ = $1; }
    | ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_PARENS, $2); }
    | sql_user_value                    { $$ = $1; }
    | sql_datetime_value                { $$ = $1; }
    | sql_aggregate                     { $$ = $1; }
    | sql_function                      { $$ = $1; }
    ;

sql_user_value
    : STK_USER                          { $$ = DovKeywordNode(SQL_SF_CURRENT_USER); }
    | STK_CURRENT_USER                  { $$ = DovKeywordNode(SQL_SF_CURRENT_USER); }
    | STK_SESSION_USER                  { $$ = DovKeywordNode(SQL_SF_SESSION_USER); }
    | STK_SYSTEM_USER                   { $$ = DovKeywordNode(SQL_SF_SYSTEM_USER); }
    ;

sql_datetime_value
    : STK_CURRENT_DATE                  { $$ = DovKeywordNode(SQL_SF_CURRENT_DATE); }
    | STK_CURRENT STK_DATE              { $$ = DovKeywordNode(SQL_SF_CURRENT_DATE); }
    | STK_CURRENT_TIME                  { $$ = DovKeywordNode(SQL_SF_CURRENT_TIME); }
    | STK_CURRENT STK_TIME              { $$ = DovKeywordNode(SQL_SF_CURRENT_TIME); }
    | STK_CURRENT_TIMESTAMP             { $$ = DovKeywordNode(SQL_SF_CURRENT_TIMESTAMP); }
    | STK_CURRENT STK_TIMESTAMP         { $$ = DovKeywordNode(SQL_SF_CURRENT_TIMESTAMP); }
    ;

/* ---- Aggregate functions --------------------------------------------------------------------------------------------
 * COUNT(*)    {COUNT|AVG|MAX|MIN|SUM} ( [ALL|DISTINCT] expression )
 * sql_aggregate: SQL_AF_ node                                                */
sql_aggregate
    : STK_COUNT ST_LEFT_PAR ST_STAR ST_RIGHT_PAR { $$ = DovKeywordNode(SQL_AF_COUNT_STAR); }
    | STK_COUNT ST_LEFT_PAR opt_sql_quantifier sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_AF_COUNT, $3, $4); }
    | STK_AVG ST_LEFT_PAR opt_sql_quantifier sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_AF_AVG, $3, $4); }
    | STK_MAX ST_LEFT_PAR opt_sql_quantifier sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_AF_MAX, $3, $4); }
    | STK_MIN ST_LEFT_PAR opt_sql_quantifier sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_AF_MIN, $3, $4); }
    | STK_SUM ST_LEFT_PAR opt_sql_quantifier sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_AF_SUM, $3, $4); }
    ;

/* ---- Scalar functions ------------------------------------------------------------------------------------------------
 * BIT_LENGTH OCTET_LENGTH CHAR_LENGTH CHARACTER_LENGTH CASE CAST CONVERT DATEPART
 * LEFT RIGHT DAY MONTH YEAR LOWER UPPER DATEADD DATEDIFF REPLACE POSITION RAND
 * STR SUBSTRING TRIM
 * sql_function: SQL_SF_ node; absent optional arguments leave their slots empty */
sql_function
    : STK_BIT_LENGTH ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_BIT_LENGTH, $3); }
    | STK_OCTET_LENGTH ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_OCTET_LENGTH, $3); }
    | STK_CHAR_LENGTH ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_CHAR_LENGTH, $3); }
    | STK_CHARACTER_LENGTH ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_CHAR_LENGTH, $3); }
    | STK_CASE sql_when_expr_list STK_ELSE sql_value_expr STK_END { $$ = DovConstructNode(SQL_SF_CASE, $2, $4); }
    | STK_CAST ST_LEFT_PAR sql_value_expr STK_AS sql_data_type ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_CAST, $3, $5); }
    | STK_CONVERT ST_LEFT_PAR sql_data_type ST_COMMA sql_value_expr opt_sql_convert_style ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_CONVERT, $3, $5, $6); }
    | STK_CONVERT ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_CONVERT, $3, $5, $7); }
    | STK_DATEPART ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_DATEPART, $3, $5); }
    | STK_LEFT ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_LEFT, $3, $5); }
    | STK_RIGHT ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_RIGHT, $3, $5); }
    | STK_DAY ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_DAY, $3); }
    | STK_MONTH ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_MONTH, $3); }
    | STK_YEAR ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_YEAR, $3); }
    | STK_LOWER ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_LOWER, $3); }
    | STK_UPPER ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_UPPER, $3); }
    | STK_DATEADD ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_DATEADD, $3, $5, $7); }
    | STK_DATEDIFF ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_DATEDIFF, $3, $5, $7); }
    | STK_REPLACE ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_REPLACE, $3, $5, $7); }
    | STK_POSITION ST_LEFT_PAR sql_value_expr STK_IN sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_POSITION, $3, $5); }
    | STK_RAND ST_LEFT_PAR opt_sql_rand_arg ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_RAND, $3); }
    | STK_STR ST_LEFT_PAR sql_value_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_SF_STR, $3, nullptr, nullptr); }
    | STK_STR ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_STR, $3, $5, nullptr); }
    | STK_STR ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_STR, $3, $5, $7); }
    | STK_SUBSTRING ST_LEFT_PAR sql_value_expr STK_FROM sql_value_expr STK_FOR sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_SUBSTRING, $3, $5, $7); }
    | STK_SUBSTRING ST_LEFT_PAR sql_value_expr ST_COMMA sql_value_expr ST_COMMA sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_SUBSTRING, $3, $5, $7); }
    | STK_TRIM ST_LEFT_PAR sql_trim_spec sql_value_expr STK_FROM sql_value_expr ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_SF_TRIM, $3, $4, $6); }
    ;

opt_sql_convert_style
    : /* empty */                       { $$ = DovAbsentNode(); }
    | ST_COMMA ST_EXACT_NUM_LIT         { $$ = $2; }
    ;

/* The empty argument of RAND yields null: the slot stays empty. */
opt_sql_rand_arg
    : /* empty */
    | sql_value_expr                    { $$ = $1; }
    ;

sql_when_expr_list
    : sql_when_expr                     { $$ = DovListFirst(SQL_WHEN_EXPR_LIST, $1); }
    | sql_when_expr_list sql_when_expr  { $$ = DovListAppend(SQL_WHEN_EXPR_LIST, $1, $2); }
    ;

sql_when_expr
    : STK_WHEN sql_value_expr STK_THEN sql_value_expr { $$ = DovConstructNode(SQL_WHEN_EXPR, $2, $4); }
    ;

sql_trim_spec
    : STK_LEADING                       { $$ = DovKeywordNode(SQL_TRIM_LEADING); }
    | STK_TRAILING                      { $$ = DovKeywordNode(SQL_TRIM_TRAILING); }
    | STK_BOTH                          { $$ = DovKeywordNode(SQL_TRIM_BOTH); }
    ;

/* ---- Search conditions ---------------------------------------------------------------------------------------------------
 * OR (loosest), AND, NOT, then predicates and parenthesised conditions.
 * sql_search_cond, sql_bool_term, sql_bool_factor: the condition node
 * sql_comp_op: the comparison's operation code (a small integer, no node)   */
sql_search_cond
    : sql_bool_term                     { $$ = $1; }
    | sql_search_cond STK_OR sql_bool_term { $$ = DovListJoin(YYREDUCTION, SQL_OP_OR, $1, $3); }
    ;

sql_bool_term
    : sql_bool_factor                   { $$ = $1; }
    | sql_bool_term STK_AND sql_bool_factor { $$ = DovListJoin(YYREDUCTION, SQL_OP_AND, $1, $3); }
    ;

sql_bool_factor
    : sql_bool_primary                  { $$ = $1; }
    | STK_NOT sql_bool_factor           { $$ = DovConstructNode(SQL_OP_NOT, $2); }
    ;

sql_bool_primary
    : sql_predicate                     { $$ = $1; }
    | ST_LEFT_PAR sql_search_cond ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_PARENS, $2); }
    ;

sql_predicate
    : sql_row_value sql_comp_op sql_row_value { $$ = DovSqlCompare($1, $2, $3); }
    | sql_row_value STK_BETWEEN sql_row_value STK_AND sql_row_value
                                        { $$ = DovConstructNode(SQL_OP_BETWEEN, $1, $3, $5); }
    | sql_value_expr STK_NOT STK_BETWEEN sql_value_expr STK_AND sql_value_expr
                                        { $$ = DovConstructNode(SQL_OP_NOT_BETWEEN, $1, $4, $6); }
    | sql_row_value STK_IN ST_LEFT_PAR sql_expr_list ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_IN, $1, $4); }
    | sql_value_expr STK_NOT STK_IN ST_LEFT_PAR sql_expr_list ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_OP_NOT_IN, $1, $5); }
    | sql_value_expr STK_LIKE sql_value_expr { $$ = DovConstructNode(SQL_OP_LIKE, $1, $3); }
    | sql_value_expr STK_NOT STK_LIKE sql_value_expr { $$ = DovConstructNode(SQL_OP_NOT_LIKE, $1, $4); }
    | sql_col_ref STK_IS STK_NULL       { $$ = DovConstructNode(SQL_OP_IS_NULL, $1); }
    | sql_col_ref STK_IS STK_NOT STK_NULL { $$ = DovConstructNode(SQL_OP_IS_NOT_NULL, $1); }
    | STK_EXISTS ST_LEFT_PAR sql_query_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_EXISTS, $3); }
    | STK_UNIQUE ST_LEFT_PAR sql_query_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_UNIQUE, $3); }
    ;

sql_comp_op
    : ST_EQ                             { $$ = DovIntToValue(SQL_OP_EQ); }
    | ST_LT ST_GT                       { $$ = DovIntToValue(SQL_OP_NE); }
    | ST_RIGHT_ANGLE ST_EQ              { $$ = DovIntToValue(SQL_OP_NE); }
    | ST_GT                             { $$ = DovIntToValue(SQL_OP_GT); }
    | ST_GT ST_EQ                       { $$ = DovIntToValue(SQL_OP_GE); }
    | ST_RIGHT_ANGLE ST_LT              { $$ = DovIntToValue(SQL_OP_GE); }
    | ST_LT                             { $$ = DovIntToValue(SQL_OP_LT); }
    | ST_LT ST_EQ                       { $$ = DovIntToValue(SQL_OP_LE); }
    | ST_RIGHT_ANGLE ST_GT              { $$ = DovIntToValue(SQL_OP_LE); }
    ;

/* ---- Row values ------------------------------------------------------------------------------------------------------------
 * value-expression | ( expressions ) | ( query )
 * sql_row_value: the expression or an SQL_ROW_CONSTRUCTOR
 * sql_expr_list: SQL_EXPR_LIST                                               */
sql_row_value
    : sql_value_expr                    { $$ = $1; }
    | ST_LEFT_PAR sql_expr_list ST_RIGHT_PAR { $$ = DovConstructNode(SQL_ROW_CONSTRUCTOR, $2); }
    | ST_LEFT_PAR sql_query_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_ROW_CONSTRUCTOR, $2); }
    ;

sql_expr_list
    : sql_value_expr                    { $$ = DovListFirst(SQL_EXPR_LIST, $1); }
    | sql_expr_list ST_COMMA sql_value_expr { $$ = DovListJoin(YYREDUCTION, SQL_EXPR_LIST, $1, $3); }
    ;

/* ---- Query expressions and joined tables ---------------------------------------------------------------------------------
 * query: joined-table | query {UNION|EXCEPT} [ALL] [CORRESPONDING [BY (cols)]] term
 * term: primary | term INTERSECT [ALL] [CORRESPONDING ...] primary
 * primary: SELECT ... FROM ... | TABLE table | VALUES rows
 * joined-table: operand [NATURAL] type JOIN operand [ON cond | USING (cols)]
 *             | operand CROSS JOIN operand | ( joined-table )
 * sql_query_expr, sql_query_term, sql_query_primary: the query node
 * sql_joined_table: SQL_OP_JOIN, SQL_OP_CROSS_JOIN or SQL_OP_PARENS          */
sql_query_expr
    : sql_joined_table                  { $$ = $1; }
    | sql_nonjoin_query                 { $$ = $1; }
    ;

sql_nonjoin_query
    : sql_query_term                    { $$ = $1; }
    | sql_nonjoin_query STK_UNION opt_sql_all opt_sql_corresponding sql_query_term
                                        { $$ = DovConstructNode(SQL_OP_UNION, $1, $3, $4, $5); }
    | sql_nonjoin_query STK_EXCEPT opt_sql_all opt_sql_corresponding sql_query_term
                                        { $$ = DovConstructNode(SQL_OP_EXCEPT, $1, $3, $4, $5); }
    ;

sql_query_term
    : sql_query_primary                 { $$ = $1; }
    | sql_query_term STK_INTERSECT opt_sql_all opt_sql_corresponding sql_query_primary
                                        { $$ = DovConstructNode(SQL_OP_INTERSECT, $1, $3, $4, $5); }
    ;

sql_query_primary
    : sql_query_spec                    { $$ = $1; }
    | STK_TABLE sql_table_name          { $$ = DovConstructNode(SQL_OP_TABLE, $2); }
    | STK_VALUES sql_row_list           { $$ = DovConstructNode(SQL_OP_VALUES, $2); }
    ;

sql_query_spec
    : STK_SELECT opt_sql_quantifier sql_select_list STK_FROM sql_table_ref_list opt_sql_where
      opt_sql_group_by opt_sql_having   { $$ = DovConstructNode(SQL_EXPR_SELECT, $2, $3, $5, $6, $7, $8); }
    ;

sql_row_list
    : sql_row_value                     { $$ = DovListFirst(SQL_ROW_CONSTRUCTOR_LIST, DovSqlValuesRow($1)); }
    | sql_row_list ST_COMMA sql_row_value { $$ = DovListJoin(YYREDUCTION, SQL_ROW_CONSTRUCTOR_LIST, $1, DovSqlValuesRow($3)); }
    ;

opt_sql_all
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_ALL                           { $$ = DovKeywordNode(SQL_ALL); }
    ;

opt_sql_corresponding
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_CORRESPONDING                 { $$ = DovConstructNode(SQL_CORRESPONDING, DovAbsentNode()); }
    | STK_CORRESPONDING STK_BY ST_LEFT_PAR sql_col_ref_list ST_RIGHT_PAR
                                        { $$ = DovConstructNode(SQL_CORRESPONDING, DovConstructNode(SQL_CORRESP_BY, $4)); }
    ;

/* CONFLICT Q03 (register): after "( joined-table" a ")" may close a
 * parenthesised joined table or a query in parentheses (a join operand, a
 * table expression). The shift is tried first; test SqlShapes.*.            */
sql_joined_table
    : sql_join_operand opt_sql_natural sql_join_type STK_JOIN sql_join_operand opt_sql_join_spec
                                        { $$ = DovConstructNode(SQL_OP_JOIN, $1, $2, $3, $5, $6); }
    | sql_join_operand STK_CROSS STK_JOIN sql_join_operand { $$ = DovConstructNode(SQL_OP_CROSS_JOIN, $1, $4); }
    | ST_LEFT_PAR sql_joined_table ST_RIGHT_PAR { $$ = DovConstructNode(SQL_OP_PARENS, $2); }
    ;

sql_join_operand
    : sql_table_name                    { $$ = $1; }
    | ST_LEFT_PAR sql_query_expr ST_RIGHT_PAR { $$ = DovConstructNode(SQL_TABLE_EXPR, $2); }
    ;

opt_sql_natural
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_NATURAL                       { $$ = DovKeywordNode(SQL_JOIN_NATURAL); }
    ;

sql_join_type
    : STK_INNER                         { $$ = DovKeywordNode(SQL_JOIN_INNER); }
    | STK_LEFT                          { $$ = DovKeywordNode(SQL_JOIN_LEFT); }
    | STK_LEFT STK_OUTER                { $$ = DovKeywordNode(SQL_JOIN_LEFT_OUTER); }
    | STK_RIGHT                         { $$ = DovKeywordNode(SQL_JOIN_RIGHT); }
    | STK_RIGHT STK_OUTER               { $$ = DovKeywordNode(SQL_JOIN_RIGHT_OUTER); }
    | STK_UNION                         { $$ = DovKeywordNode(SQL_JOIN_UNION); }
    ;

opt_sql_join_spec
    : /* empty */                       { $$ = DovAbsentNode(); }
    | STK_ON sql_search_cond            { $$ = DovConstructNode(SQL_JOIN_ON, $2); }
    | STK_USING ST_LEFT_PAR sql_col_ref_list ST_RIGHT_PAR { $$ = DovConstructNode(SQL_JOIN_USING, $3); }
    ;
