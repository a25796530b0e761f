/* ==== Embedded CICS ============================================================================
 * Nonterminals start with cics_. Owned by the CICS family; reached from
 * exec_stmt (exec.y). The command heads (cics_command), the options
 * (cics_option) and the condition names (cics_condition_name) are generated
 * from grammar/cics_rules.def into cics_rules.y.inc, which the main grammar
 * includes right after this file.
 *
 * Inside EXEC CICS ... END-EXEC the CICS words arrive as CTK_ tokens, OF and
 * IN as RW_OF and RW_IN, other words as user words, the parentheses as
 * SEP_LEFT_PAR and SEP_RIGHT_PAR.                                            */

/* ---- CICS statements -----------------------------------------------------------------------
 * command-head [option]...
 * ASSIGN { name ( reference ) | response-option }...
 * HANDLE AID { key [( procedure-name )] | response-option }...
 * HANDLE CONDITION { condition [( procedure-name )] | response-option }...
 * IGNORE CONDITION { condition | response-option }...
 * cics_statement: the CS_STMT_ statement node, or the syntax-error node
 *
 * The statement node exists before its options and items: each option and
 * each item goes to the CICS holder as it is read, in source order. The
 * holder decides the form of SEND, RECEIVE and ADDRESS (SEND MAP, RECEIVE
 * MAP, ADDRESS SET) from their options, wherever MAP or SET stands.
 *
 * The words of ASSIGN are read as plain words (no reserved words, no symbol
 * lookup) and its references in parentheses normally. The lexer follows
 * that from the tokens themselves (ASSIGN first, then the parentheses), so
 * a word read ahead in a trial gets the same class; the markers
 * cics_plain_words and cics_normal_words set the parser's switches to match
 * outside trial mode.                                                       */
cics_statement
    : cics_command cics_start cics_option_list      { $$ = DovCicsFinishCommand(YYREDUCTION); }
    | cics_assign_command cics_start cics_plain_words cics_assignment_list cics_normal_words
      { $$ = DovCicsFinishItems(); }
    | cics_handle_command cics_start cics_handler_list
      { $$ = DovCicsFinishItems(); }
    | error                                         { $$ = DovCicsErrorStatement(YYREDUCTION); }
    ;

/* The start of the option or item list: the statement node just made by
 * the command head (the cell left of this rule) becomes the holder's
 * current statement.                                                        */
cics_start
    : /* empty */                                   { DovCicsStart(YYREDUCTION, YYVALARG(0)); }
    ;

cics_option_list
    : /* empty */
    | cics_option_list cics_option
    ;

/* ---- Null marker ------------------------------------------------------------------------------
 * null_marker: a new null node (slot 0 of a CICS statement)                 */
null_marker
    : /* empty */                                   { $$ = DovAbsentNode(); }
    ;

/* ---- Heads of ASSIGN, HANDLE and IGNORE -----------------------------------------------------
 * cics_assign_command, cics_handle_command: the statement node, the
 * marker's null node in slot 0 (as cics_command)                            */
cics_assign_command
    : CTK_ASSIGN null_marker                        { $$ = DovCicsCommand(CS_STMT_ASSIGN, $2); }
    ;

cics_handle_command
    : CTK_HANDLE CTK_AID null_marker                { $$ = DovCicsCommand(CS_STMT_HANDLE_AID, $3); }
    | CTK_HANDLE CTK_CONDITION null_marker          { $$ = DovCicsCommand(CS_STMT_HANDLE_CONDITION, $3); }
    | CTK_IGNORE CTK_CONDITION null_marker          { $$ = DovCicsCommand(CS_STMT_IGNORE_CONDITION, $3); }
    ;

/* ---- ASSIGN ------------------------------------------------------------------------------------------
 * name ( reference ) | response-option, any number in any order
 * cics_assignment_list: nothing (each group goes to the CS_ASSIGNMENT_LIST
 * of slot 1, each response option to its slot)
 * cics_assignment: CS_GRP_ASSIGN (the name's CHAR_STRING, the reference)    */
cics_assignment_list
    : /* empty */
    | cics_assignment_list cics_assignment          { DovCicsItem(CS_ASSIGNMENT_LIST, $2); }
    | cics_assignment_list cics_normal_words cics_response_option cics_plain_words
    ;

cics_assignment
    : TK_CHAR_STRING cics_normal_words SEP_LEFT_PAR cics_arg_value SEP_RIGHT_PAR cics_plain_words
      { $$ = DovCicsAssignGroup($1, $4); }
    ;

cics_plain_words
    : /* empty */                                   { DovCicsWordSwitches(0); }
    ;

cics_normal_words
    : /* empty */                                   { DovCicsWordSwitches(1); }
    ;

/* ---- HANDLE and IGNORE -----------------------------------------------------------------------------
 * condition [( procedure-name )] | response-option, any number in any order
 * cics_handler_list: nothing (each handler goes to the CS_COND_HANDLER_LIST
 * of slot 1, each response option to its slot)
 * cics_handler: CS_GRP_CONDITION_HANDLER (name, procedure name or nothing)  */
cics_handler_list
    : /* empty */
    | cics_handler_list cics_handler                { DovCicsItem(CS_COND_HANDLER_LIST, $2); }
    | cics_handler_list cics_response_option
    ;

cics_handler
    : cics_condition_name                           { $$ = DovCicsHandler($1, 0); }
    | cics_condition_name SEP_LEFT_PAR procedure_ref SEP_RIGHT_PAR
      { $$ = DovCicsHandler($1, $3); }
    ;

/* ---- Option arguments --------------------------------------------------------------------------------
 * each: the argument node; ADDRESS OF / LENGTH OF give SR_ADDRESS_OF /
 * SR_LENGTH_OF over the identifier                                            */
cics_arg_value
    : cics_address_of                               { $$ = $1; }
    | cics_length_of                                { $$ = $1; }
    | operand                                       { $$ = $1; }
    ;

cics_arg_scalar
    : operand                                       { $$ = $1; }
    | cics_length_of                                { $$ = $1; }
    ;

cics_arg_pointer
    : identifier                                    { $$ = $1; }
    | cics_address_of                               { $$ = $1; }
    ;

cics_arg_name
    : TK_NONNUM_LIT                                 { $$ = $1; }
    | identifier                                    { $$ = $1; }
    ;

cics_arg_data
    : identifier                                    { $$ = $1; }
    ;

cics_arg_update
    : identifier                                    { $$ = $1; }
    ;

cics_arg_datapointer
    : identifier                                    { $$ = $1; }
    ;

cics_arg_file
    : operand                                       { $$ = $1; }
    ;

cics_arg_sysid
    : operand                                       { $$ = $1; }
    ;

cics_arg_interval
    : operand                                       { $$ = $1; }
    ;

cics_arg_label
    : procedure_ref                                 { $$ = $1; }
    ;

cics_address_of
    : CTK_ADDRESS RW_OF identifier                  { $$ = DovCicsAddressOf($3); }
    ;

cics_length_of
    : CTK_LENGTH RW_OF identifier                   { $$ = DovCicsLengthOf($3); }
    ;

/* ---- Placeholders of READ, WRITE and REWRITE ----------------------------------------------------------
 * empty_io_arg, empty_rewrite_arg: a new null node                           */
empty_io_arg
    : /* empty */                                   { $$ = DovAbsentNode(); }
    ;

empty_rewrite_arg
    : /* empty */                                   { $$ = DovAbsentNode(); }
    ;
