/* ---- dispatcher: the statements of this family ------------------------------
 * control_stmt: the statement node of the alternative                                 */
control_stmt
    : if_stmt                                                      { $$ = $1; }
    | evaluate_stmt                                                { $$ = $1; }
    | perform_stmt                                                 { $$ = $1; }
    | goto_stmt                                                    { $$ = $1; }
    | alter_stmt                                                   { $$ = $1; }
    | call_stmt                                                    { $$ = $1; }
    | cancel_stmt                                                  { $$ = $1; }
    | chain_stmt                                                   { $$ = $1; }
    | invoke_stmt                                                  { $$ = $1; }
    | entry_stmt                                                   { $$ = $1; }
    | exit_stmt                                                    { $$ = $1; }
    | stop_stmt                                                    { $$ = $1; }
    | goback_stmt                                                  { $$ = $1; }
    | continue_stmt                                                { $$ = $1; }
    | next_sentence_stmt                                           { $$ = $1; }
    | enter_stmt                                                   { $$ = $1; }
    | trace_stmt                                                   { $$ = $1; }
    | service_stmt                                                 { $$ = $1; }
    | use_stmt                                                     { $$ = $1; }
    | note_stmt                                                    { $$ = $1; }
    | on_stmt                                                      { $$ = $1; }
    ;

/* ---- IF -------------------------------------------------------------------
 * IF condition [THEN] {statement... | NEXT SENTENCE}
 *     [{ELSE | OTHERWISE} {statement... | NEXT SENTENCE}] [END-IF]
 * if_stmt: STMT_IF    opt_else: EX_ELSE or null    opt_end_if: EX_END_IF or null
 * An ELSE or END-IF binds to the nearest open IF (the shift wins).          */
if_stmt
    : RW_IF condition _then statement_list opt_else opt_end_if   { $$ = DovConstructNode(STMT_IF, $2, $4, $5, $6); }
    ;

opt_else
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | else_word statement_list %prec PRTY_LOW                                { $$ = DovConstructNode(EX_ELSE, $2); }
    ;

opt_end_if
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_IF                                                  { $$ = DovKeywordNode(EX_END_IF); }
    ;

/* ---- EVALUATE ----------------------------------------------------------------
 * EVALUATE subject [ALSO subject]...
 *     {WHEN object [ALSO object]...}... statement...
 *     [WHEN OTHER statement...] [END-EVALUATE]
 * subject: condition, expression, TRUE, FALSE, ANY
 * object: [NOT] expression [THRU expression], condition, TRUE, FALSE, ANY
 * evaluate_stmt: STMT_EVALUATE    eval_when_block: EX_EVAL_WHEN_BLOCK
 * eval_object: EX_EXPR_RANGE                                                  */
evaluate_stmt
    : RW_EVALUATE eval_subjects eval_when_blocks opt_when_other opt_end_evaluate   { $$ = DovConstructNode(STMT_EVALUATE, $2, $3, $4, $5); }
    ;

eval_subjects
    : eval_subject                                               { $$ = DovListFirst(EX_EVAL_SUBJ_LIST, $1); }
    | eval_subjects RW_ALSO eval_subject                         { $$ = DovListJoin(YYREDUCTION, EX_EVAL_SUBJ_LIST, $1, $3); }
    ;

eval_subject
    : condition                                                  { $$ = $1; }
    | eval_truth                                                 { $$ = $1; }
    | RW_ANY                                                     { $$ = DovKeywordNode(EX_ANY); }
    ;

eval_truth
    : RW_TRUE                                                    { $$ = DovKeywordNode(EX_TRUE); }
    | RW_FALSE                                                   { $$ = DovKeywordNode(EX_FALSE); }
    ;

eval_when_blocks
    : eval_when_block                                            { $$ = DovListFirst(EX_EVAL_WHEN_BLOCK_LIST, $1); }
    | eval_when_blocks eval_when_block                           { $$ = DovListAppend(EX_EVAL_WHEN_BLOCK_LIST, $1, $2); }
    ;

eval_when_block
    : eval_when_phrases statement_list %prec PRTY_LOW                        { $$ = DovConstructNode(EX_EVAL_WHEN_BLOCK, $1, $2); }
    ;

eval_when_phrases
    : eval_when_phrase                                           { $$ = DovListFirst(EX_EVAL_WHEN_PHRASE_LIST, $1); }
    | eval_when_phrases eval_when_phrase                         { $$ = DovListAppend(EX_EVAL_WHEN_PHRASE_LIST, $1, $2); }
    ;

eval_when_phrase
    : RW_WHEN eval_objects                                       { $$ = DovConstructNode(EX_EVAL_WHEN_PHRASE, $2); }
    ;

eval_objects
    : eval_object                                                { $$ = DovListFirst(EX_EVAL_OBJ_LIST, $1); }
    | eval_objects RW_ALSO eval_object                           { $$ = DovListJoin(YYREDUCTION, EX_EVAL_OBJ_LIST, $1, $3); }
    ;

eval_object
    : condition                                                  { $$ = DovEvalRange($1, 0); }
    | eval_truth                                                 { $$ = DovEvalRange($1, 0); }
    | RW_ANY                                                     { $$ = DovEvalRange(DovKeywordNode(EX_ANY), 0); }
    | arith_expr thru_word arith_expr                            { $$ = DovEvalRange($1, $3); }
    | RW_NOT arith_expr thru_word arith_expr                     { $$ = DovEvalRange(DovConstructNode(LOG_NOT, $2), $4); }
    ;

opt_when_other
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_WHEN RW_OTHER eval_other_stmts %prec PRTY_LOW                     { $$ = DovConstructNode(EX_EVAL_WHEN_OTHER, $3); }
    ;

eval_other_stmts
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovAbsentNode(); }
    | statement_list %prec PRTY_LOW                                         { $$ = $1; }
    ;

opt_end_evaluate
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_EVALUATE                                            { $$ = DovKeywordNode(EX_END_EVALUATE); }
    ;

/* ---- PERFORM -------------------------------------------------------------------
 * PERFORM procedure [THRU procedure] [repeater]
 * PERFORM repeater [statement...] END-PERFORM    PERFORM statement... END-PERFORM
 * repeater: operand TIMES | [WITH TEST BEFORE|AFTER] UNTIL condition
 *         | [WITH TEST BEFORE|AFTER] VARYING variation [AFTER variation]...
 * perform_stmt: STMT_PERFORM_PROC or STMT_PERFORM_BLOCK (a loop with no
 * statement, run for its VARYING or UNTIL alone, holds a null node)
 * A word right after PERFORM is read as a procedure name; followed by
 * TIMES it is the count of an inline loop (perform_count).                   */
perform_stmt
    : RW_PERFORM procedure_range opt_perf_repeater                          { $$ = DovConstructNode(STMT_PERFORM_PROC, $2, $3); }
    | RW_PERFORM perf_loop opt_statement_list RW_END_PERFORM                { $$ = DovConstructNode(STMT_PERFORM_BLOCK, $2, $3, DovKeywordNode(EX_END_PERFORM)); }
    | RW_PERFORM perf_count_times opt_statement_list RW_END_PERFORM         { $$ = DovConstructNode(STMT_PERFORM_BLOCK, $2, $3, DovKeywordNode(EX_END_PERFORM)); }
    | RW_PERFORM statement_list RW_END_PERFORM                              { $$ = DovConstructNode(STMT_PERFORM_BLOCK, DovAbsentNode(), $2, DovKeywordNode(EX_END_PERFORM)); }
    ;

opt_perf_repeater
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | perf_loop                                                             { $$ = $1; }
    | operand RW_TIMES                                                      { $$ = DovConstructNode(EX_PERF_TIMES, $1); }
    ;

perf_count_times
    : procedure_ref RW_TIMES                                                { $$ = DovConstructNode(EX_PERF_TIMES, DovProcRefAsOperand($1)); }
    | TK_INT_NUM_LIT RW_TIMES                                               { $$ = DovConstructNode(EX_PERF_TIMES, $1); }
    ;

perf_loop
    : opt_perf_test RW_UNTIL condition                                      { $$ = DovConstructNode(EX_PERF_UNTIL, $1, $3); }
    | opt_perf_test RW_VARYING perf_variations                              { $$ = DovConstructNode(EX_PERF_VARYING, $1, $3); }
    ;

opt_perf_test
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_TEST before_after                                            { $$ = DovConstructNode(EX_PERF_WITH_TEST, $3); }
    ;

perf_variations
    : perf_variation                                                        { $$ = DovListFirst(EX_PERF_VARN_LIST, $1); }
    | perf_variations RW_AFTER perf_variation                               { $$ = DovListJoin(YYREDUCTION, EX_PERF_VARN_LIST, $1, $3); }
    ;

perf_variation
    : identifier RW_FROM operand RW_BY operand RW_UNTIL condition           { $$ = DovConstructNode(EX_PERF_VARIATION, $1, $3, $5, $7); }
    ;

/* ---- GO TO, ALTER ----------------------------------------------------------------
 * GO [TO] procedure [procedure... DEPENDING [ON] identifier]
 * ALTER procedure TO [PROCEED TO] procedure [procedure TO ...]...
 * goto_stmt: STMT_GOTO or STMT_GOTO_DEPENDING (DovGotoStmt checks the names)
 * alter_stmt: STMT_ALTER over one EX_ALTER_ITEM or an EX_LIST of them         */
goto_stmt
    : RW_GO _to opt_procedure_name_list opt_depending                        { $$ = DovGotoStmt($3, $4); }
    ;

opt_depending
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_DEPENDING _on identifier                                           { $$ = DovConstructNode(EX_DEPENDING_ON, $3); }
    ;

alter_stmt
    : RW_ALTER alter_items                                                  { $$ = DovConstructNode(STMT_ALTER, $2); }
    ;

alter_items
    : alter_item                                                            { $$ = $1; }
    | alter_items alter_item                                                { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

alter_item
    : procedure_ref RW_TO _proceed_to procedure_ref                         { $$ = DovConstructNode(EX_ALTER_ITEM, $1, $4); }
    ;


/* ---- CALL, CANCEL, CHAIN, ENTRY, INVOKE ---------------------------------------------
 * CALL [mnemonic | PROGRAM] {identifier | literal} [WITH name LINKAGE]
 *     [USING {[BY REFERENCE|CONTENT|VALUE] operand [SIZE [IS] value]}...]
 *     [{RETURNING|GIVING} {[INTO] identifier | ADDRESS OF identifier}]
 *     [ON OVERFLOW|EXCEPTION statement...] [NOT ON EXCEPTION statement...] [END-CALL]
 * CANCEL {identifier | literal}...
 * CHAIN {identifier | literal} [USING ...] [END-CHAIN]
 * ENTRY literal [mnemonic] [WITH name LINKAGE] [USING identifier...]
 *     [{RETURNING|GIVING} identifier]
 * INVOKE object method [USING ...] [RETURNING identifier]
 * call_stmt: STMT_CALL    call_param: EX_CALL_PARAM    chain_stmt: STMT_CHAIN
 * invoke_stmt: STMT_INVOKE                                                     */
call_stmt
    : RW_CALL call_target opt_with_linkage opt_call_using opt_call_giving
      opt_on_call_exception opt_not_on_call_exception opt_end_call
        { $$ = DovCallStmt(YYREDUCTION, $3, $4, $5, $6, $7, $8); }
    ;

/* The program, after a call convention or the word PROGRAM: a word that a
 * second word or a literal follows is the convention (the rules below keep
 * the choice until that token is read).
 * call_target: a DovPhrasePair of the leading term (or a null node) and the
 * program                                                                    */
call_target
    : ident_or_literal                                                      { $$ = DovPhrasePair(DovAbsentNode(), $1); }
    | call_leading ident_or_literal                                         { $$ = DovPhrasePair($1, $2); }
    ;

call_leading
    : TK_USER_DEFD_WORD                                                     { $$ = DovUseOfWord($1, NC_MNEMONIC_NAME); }
    | RW_PROGRAM                                                            { $$ = DovKeywordNode(EX_CALL_PROGRAM); }
    ;

opt_call_using
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_USING call_mode_reset call_params                                  { $$ = DovConstructNode(EX_CALL_USING, $3); }
    ;

call_mode_reset
    : /* empty */                                                           { DovCallModeSet(EX_PT_BY_REFERENCE); }
    ;

call_params
    : call_param                                                            { $$ = DovListFirst(EX_CALL_PARAM_LIST, $1); }
    | call_params call_param                                                { $$ = DovListAppend(EX_CALL_PARAM_LIST, $1, $2); }
    ;

call_param
    : opt_call_by operand opt_call_param_size                               { $$ = DovCallParam($1, $2, $3); }
    ;

opt_call_param_size
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovAbsentNode(); }
    | RW_SIZE _is integer                                                   { $$ = DovConstructNode(EX_CALL_PARAM_SIZE, $3); }
    ;

opt_call_by
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _by RW_REFERENCE                                                      { $$ = DovCallModeNode(EX_PT_BY_REFERENCE); }
    | _by RW_CONTENT                                                        { $$ = DovCallModeNode(EX_PT_BY_CONTENT); }
    | _by RW_VALUE                                                          { $$ = DovCallModeNode(EX_PT_BY_VALUE); }
    ;

opt_call_giving
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | giving_word _into identifier                                          { $$ = DovConstructNode(EX_CALL_GIVING, DovConstructNode(EX_CALL_GIVING_INTO, $3)); }
    | giving_word RW_ADDRESS _of identifier                                 { $$ = DovConstructNode(EX_CALL_GIVING, DovConstructNode(EX_CALL_GIVING_ADDRESS_OF, $4)); }
    ;


opt_on_call_exception
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _on_kwd RW_OVERFLOW statement_list %prec PRTY_LOW                      { $$ = DovConstructNode(EX_ON_CALL_EXCEPTION, $3); }
    | _on_kwd RW_EXCEPTION statement_list %prec PRTY_LOW                     { $$ = DovConstructNode(EX_ON_CALL_EXCEPTION, $3); }
    ;

opt_not_on_call_exception
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | CMB_NOT_ON_AT _on_kwd RW_EXCEPTION statement_list %prec PRTY_LOW           { $$ = DovConstructNode(EX_NOT_ON_CALL_EXCEPTION, $4); }
    ;

opt_end_call
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_CALL                                                           { $$ = DovKeywordNode(EX_END_CALL); }
    ;

cancel_stmt
    : RW_CANCEL cancel_items                                                { $$ = DovConstructNode(STMT_CANCEL, $2); }
    ;

cancel_items
    : ident_or_literal                                                      { $$ = DovListFirst(EX_LIST, $1); }
    | cancel_items ident_or_literal                                         { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

chain_stmt
    : RW_CHAIN ident_or_literal opt_call_using opt_end_chain                { $$ = DovConstructNode(STMT_CHAIN, $2, $3, $4); }
    ;

opt_end_chain
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_CHAIN                                                          { $$ = DovKeywordNode(EX_END_CHAIN); }
    ;

entry_stmt
    : RW_ENTRY literal opt_entry_mnemonic opt_with_linkage opt_entry_using opt_entry_giving
        { $$ = DovConstructNode(STMT_ENTRY, $2, $3, $4, $5, $6); }
    ;

opt_entry_mnemonic
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | TK_USER_DEFD_WORD                                                     { $$ = DovUseOfWord($1, NC_MNEMONIC_NAME); }
    ;

opt_entry_giving
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | giving_word identifier                                                { $$ = DovPassOn(YYREDUCTION, $2); }
    ;

invoke_stmt
    : RW_INVOKE ident_or_literal ident_or_literal opt_call_using opt_invoke_returning
        { $$ = DovConstructNode(STMT_INVOKE, $2, $3, $4, $5); }
    ;

opt_invoke_returning
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_RETURNING identifier                                               { $$ = DovPassOn(YYREDUCTION, $2); }
    ;

opt_entry_using
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_USING identifier_list                                              { $$ = DovPassOn(YYREDUCTION, $2); }
    ;

/* ---- EXIT, STOP, GOBACK, CONTINUE, NEXT SENTENCE, ENTER -----------------------
 * EXIT [PROGRAM [giving] | PARAGRAPH | SECTION | PERFORM [CYCLE]]
 * STOP {RUN [giving] | literal}    GOBACK [giving]    CONTINUE    NEXT SENTENCE
 * giving: {GIVING|RETURNING} {identifier | ADDRESS OF identifier
 *                             | [ALL] literal [SIZE [IS] integer]}
 * ENTER language-name [routine-name] (ignored with a warning)
 * each: its statement node    opt_exit_giving: EX_EXIT_GIVING or a null node
 * exit_arg: EX_EXIT_ARG (the size slot empty but for a literal)              */
exit_stmt
    : RW_EXIT                                                               { $$ = DovKeywordNode(STMT_EXIT); }
    | RW_EXIT RW_PROGRAM opt_exit_giving                                    { $$ = DovConstructNode(STMT_EXIT_PROGRAM, $3); }
    | RW_EXIT RW_PARAGRAPH                                                  { $$ = DovKeywordNode(STMT_EXIT_PARAGRAPH); }
    | RW_EXIT RW_SECTION                                                    { $$ = DovKeywordNode(STMT_EXIT_SECTION); }
    | RW_EXIT_PERFORM                                                       { $$ = DovConstructNode(STMT_EXIT_PERFORM, DovAbsentNode()); }
    | RW_EXIT_PERFORM RW_CYCLE                                              { $$ = DovConstructNode(STMT_EXIT_PERFORM, DovKeywordNode(EX_EXIT_CYCLE)); }
    ;

opt_exit_giving
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | giving_word exit_arg                                                  { $$ = DovConstructNode(EX_EXIT_GIVING, $2); }
    ;

/* ADDRESS OF: its keywords' tokens go to the inner SR_ADDRESS_OF node. */
exit_arg
    : identifier                                                            { $$ = DovConstructNode(EX_EXIT_ARG, $1, nullptr); }
    | RW_ADDRESS _of identifier                                             { $$ = DovExitAddressArg(YYREDUCTION, $3); }
    | literal_all opt_exit_size                                             { $$ = DovConstructNode(EX_EXIT_ARG, $1, $2); }
    ;

opt_exit_size
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_SIZE _is integer                                                   { $$ = $3; }
    ;

stop_stmt
    : RW_STOP RW_RUN opt_exit_giving                                        { $$ = DovConstructNode(STMT_STOP, DovKeywordNode(EX_RUN), DovAbsentNode(), $3); }
    | RW_STOP literal                                                       { $$ = DovConstructNode(STMT_STOP, DovAbsentNode(), $2, DovAbsentNode()); }
    ;

goback_stmt
    : RW_GOBACK opt_exit_giving                                             { $$ = DovConstructNode(STMT_GOBACK, $2); }
    ;

continue_stmt
    : RW_CONTINUE                                                           { $$ = DovKeywordNode(STMT_CONTINUE); }
    ;

next_sentence_stmt
    : RW_NEXT_SENTENCE                                                      { $$ = DovKeywordNode(STMT_NEXT_SENTENCE); }
    ;

enter_stmt
    : RW_ENTER enter_name opt_enter_name                                    { DovEnterStmt(); }
    ;

/* The language and routine names are words of no use here: their values
 * are symbol-table elements, which the table keeps. */
enter_name
    : TK_USER_DEFD_WORD
    | RW_COBOL
    ;

opt_enter_name
    : /* empty */ %prec PRTY_LOW
    | TK_USER_DEFD_WORD
    ;

/* ---- NOTE, ON ---------------------------------------------------------------------
 * NOTE comment-text .      (the lexer hands the text to the NOTE collector and
 *                           closes it with an end-of-note token)
 * ON operand [AND EVERY operand] [UNTIL operand] {statement... | NEXT SENTENCE}
 *     [{ELSE | OTHERWISE} {statement... | NEXT SENTENCE}]
 * note_stmt: STMT_NOTE holding the text as comment tokens
 * on_stmt: STMT_ON    opt_on_else: EX_ON_ELSE or a null node
 * An ELSE binds to the nearest open IF or ON (the shift wins).               */
note_stmt
    : RW_NOTE TK_END_NOTE                                                   { $$ = DovNoteStmt(YYREDUCTION); }
    ;

on_stmt
    : RW_ON operand opt_on_every opt_on_until statement_list opt_on_else
        { $$ = DovConstructNode(STMT_ON, $2, $3, $4, $5, $6); }
    ;

opt_on_every
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | RW_AND RW_EVERY operand                                               { $$ = DovConstructNode(EX_ON_ANDEVERY, $3); }
    ;

opt_on_until
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | RW_UNTIL operand                                                      { $$ = DovConstructNode(EX_ON_UNTIL, $2); }
    ;

opt_on_else
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | else_word statement_list %prec PRTY_LOW                                { $$ = DovConstructNode(EX_ON_ELSE, $2); }
    ;

/* ---- READY TRACE, RESET TRACE, SERVICE RELOAD -------------------------------- */
trace_stmt
    : RW_READY RW_TRACE                                                     { $$ = DovKeywordNode(STMT_READY_TRACE); }
    | RW_RESET RW_TRACE                                                     { $$ = DovKeywordNode(STMT_RESET_TRACE); }
    ;

service_stmt
    : RW_SERVICE RW_RELOAD identifier                                       { $$ = DovConstructNode(STMT_SERVICE_RELOAD, $3); }
    ;

/* ---- USE ---------------------------------------------------------------------------
 * USE [GLOBAL] AFTER STANDARD {EXCEPTION|ERROR} PROCEDURE ON {file...|INPUT|OUTPUT|I-O|EXTEND}
 *     [GIVING identifier [identifier]]
 * USE [GLOBAL] BEFORE REPORTING identifier
 * USE FOR DEBUGGING ON {ALL PROCEDURES | [ALL REFERENCES OF] identifier}...
 * use_stmt: STMT_USE_AFTER, STMT_USE_BEFORE_REPORTING or STMT_USE_FOR_DEBUGGING
 * opt_use_giving: EX_USE_GIVING over EX_USE_ARG (no node for a missing
 * second identifier) or a null node                                            */
use_stmt
    : RW_USE opt_use_global RW_AFTER _standard use_event RW_PROCEDURE _on use_on opt_use_giving
        { $$ = DovUseAfterStmt($2, $5, $8, $9); }
    | RW_USE opt_use_global RW_BEFORE RW_REPORTING identifier              { $$ = DovUseBeforeReportingStmt($2, $5); }
    | RW_USE _for RW_DEBUGGING use_debug_on _on use_debug_items use_debug_off  { $$ = DovUseForDebuggingStmt($6); }
    ;

opt_use_global
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_GLOBAL                                                             { $$ = DovKeywordNode(EX_USE_GLOBAL); }
    ;


opt_use_giving
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_GIVING identifier opt_use_second_arg                               { $$ = DovConstructNode(EX_USE_GIVING, DovConstructNode(EX_USE_ARG, $2, $3)); }
    ;

opt_use_second_arg
    : /* empty */ %prec PRTY_LOW                                             { $$ = nullptr; }
    | identifier                                                            { $$ = $1; }
    ;

use_event
    : RW_EXCEPTION                                                          { $$ = DovKeywordNode(IOCX_ERROR); }
    | RW_ERROR                                                              { $$ = DovKeywordNode(IOCX_ERROR); }
    | use_begin_end use_label_unit RW_LABEL                                 { $$ = $1; DovSetSlot($$, 0, $2); }
    ;

use_begin_end
    : RW_BEGINNING                                                          { $$ = DovKeywordNode(IOCX_BEGINNING); }
    | RW_ENDING                                                             { $$ = DovKeywordNode(IOCX_ENDING); }
    ;

use_label_unit
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | RW_FILE                                                               { $$ = DovKeywordNode(IOCX_FILE); }
    | RW_REEL                                                               { $$ = DovKeywordNode(IOCX_REEL); }
    | RW_UNIT                                                               { $$ = DovKeywordNode(IOCX_UNIT); }
    ;

use_on
    : io_file_names                                                        { $$ = $1; }
    | RW_INPUT                                                              { $$ = DovKeywordNode(IOCX_INPUT); }
    | RW_OUTPUT                                                             { $$ = DovKeywordNode(IOCX_OUTPUT); }
    | RW_I_O                                                                { $$ = DovKeywordNode(IOCX_I_O); }
    | RW_EXTEND                                                             { $$ = DovKeywordNode(IOCX_EXTEND); }
    ;

use_debug_on
    : /* empty */                                                           { DovDebuggingOperands(1); }
    ;

use_debug_off
    : /* empty */                                                           { DovDebuggingOperands(0); }
    ;

use_debug_items
    : use_debug_item                                                        { $$ = DovListFirst(EX_LIST, $1); }
    | use_debug_items use_debug_item                                        { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

use_debug_item
    : identifier                                                            { $$ = $1; }
    | RW_ALL RW_PROCEDURES                                                  { $$ = DovKeywordNode(EX_DEBUG_ALL_PROCEDURES); }
    | RW_ALL _references _of identifier                                     { $$ = DovConstructNode(EX_DEBUG_ALL_REFERENCES_OF, $4); }
    ;

