/* ---- dispatcher: the statements of this family ------------------------------
 * io_stmt: the statement node of the alternative                                 */
io_stmt
    : open_stmt                                                    { $$ = $1; }
    | close_stmt                                                   { $$ = $1; }
    | read_stmt                                                    { $$ = $1; }
    | write_stmt                                                   { $$ = $1; }
    | rewrite_stmt                                                 { $$ = $1; }
    | delete_stmt                                                  { $$ = $1; }
    | start_stmt                                                   { $$ = $1; }
    | return_stmt                                                  { $$ = $1; }
    | release_stmt                                                 { $$ = $1; }
    | sort_stmt                                                    { $$ = $1; }
    | merge_stmt                                                   { $$ = $1; }
    | generate_stmt                                                { $$ = $1; }
    | initiate_stmt                                                { $$ = $1; }
    | terminate_stmt                                               { $$ = $1; }
    | suppress_stmt                                                { $$ = $1; }
    | send_stmt                                                    { $$ = $1; }
    | receive_stmt                                                 { $$ = $1; }
    | enable_stmt                                                  { $$ = $1; }
    | purge_stmt                                                   { $$ = $1; }
    | commit_stmt                                                  { $$ = $1; }
    | unlock_stmt                                                  { $$ = $1; }
    | accept_stmt                                                  { $$ = $1; }
    | display_stmt                                                 { $$ = $1; }
    | exhibit_stmt                                                 { $$ = $1; }
    ;

/* ---- INVALID KEY phrases (DELETE, READ, REWRITE, START, WRITE) -------------------
 * INVALID [KEY] statement...    NOT INVALID [KEY] statement...
 * opt_invalid_key: EX_ON_INVALID_KEY or null                                     */
opt_invalid_key
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_INVALID _key statement_list %prec PRTY_LOW                          { $$ = DovConstructNode(EX_ON_INVALID_KEY, $3); }
    ;

opt_not_invalid_key
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovAbsentNode(); }
    | not_invalid_key                                                         { $$ = $1; }
    ;

not_invalid_key
    : CMB_NOT_ON_AT RW_INVALID _key statement_list %prec PRTY_LOW            { $$ = DovConstructNode(EX_NOT_ON_INVALID_KEY, $4); }
    ;

/* ---- AT END phrases (READ, RETURN) -------------------------------------------------- */
opt_at_end
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _at RW_END statement_list %prec PRTY_LOW                               { $$ = DovConstructNode(EX_ON_AT_END, $3); }
    ;

opt_not_at_end
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovAbsentNode(); }
    | not_at_end                                                              { $$ = $1; }
    ;

not_at_end
    : CMB_NOT_ON_AT _at RW_END statement_list %prec PRTY_LOW                 { $$ = DovConstructNode(EX_NOT_ON_AT_END, $4); }
    ;

/* ---- OPEN, CLOSE ------------------------------------------------------------------------
 * OPEN {[[LOCKING [IS]] lock-mode] {INPUT|OUTPUT|I-O|EXTEND} {file [REVERSED | WITH [NO REWIND | LOCK]]}...}...
 * CLOSE {file [REEL|UNIT [FOR REMOVAL | WITH NO REWIND] | WITH {NO REWIND | LOCK | DISP}]}...
 * open_stmt: STMT_OPEN    close_stmt: STMT_CLOSE                                    */
open_stmt
    : RW_OPEN open_clauses                                                  { $$ = DovConstructNode(STMT_OPEN, $2); }
    ;

open_clauses
    : open_clause                                                           { $$ = DovListFirst(EX_LIST, $1); }
    | open_clauses open_clause                                              { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

open_clause
    : opt_open_locking open_mode open_files                                 { $$ = DovConstructNode(EX_OPEN_CLAUSE, $1, $2, $3); }
    ;

/* The locking mode of the file-control entry's LOCK MODE clause. */
opt_open_locking
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | lock_mode                                                             { $$ = DovConstructNode(EX_OPEN_LOCKING, $1); }
    | RW_LOCKING _is lock_mode                                              { $$ = DovConstructNode(EX_OPEN_LOCKING, $3); }
    ;

open_mode
    : RW_INPUT                                                              { $$ = DovKeywordNode(IOCX_INPUT); }
    | RW_OUTPUT                                                             { $$ = DovKeywordNode(IOCX_OUTPUT); }
    | RW_I_O                                                                { $$ = DovKeywordNode(IOCX_I_O); }
    | RW_EXTEND                                                             { $$ = DovKeywordNode(IOCX_EXTEND); }
    ;

open_files
    : open_file                                                             { $$ = DovListFirst(EX_LIST, $1); }
    | open_files open_file                                                  { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

open_file
    : io_file_name opt_open_option                                             { $$ = DovConstructNode(EX_OPEN_FILE_NAME, $1, $2); }
    ;

opt_open_option
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REVERSED                                                           { $$ = DovKeywordNode(IOCX_REVERSED); }
    | _with RW_LOCK                                                         { $$ = DovKeywordNode(IOCX_WITH_LOCK); }
    | _with RW_NO RW_REWIND                                                 { $$ = DovKeywordNode(IOCX_WITH_NO_REWIND); }
    ;

close_stmt
    : RW_CLOSE close_items                                                  { $$ = DovConstructNode(STMT_CLOSE, $2); }
    ;

close_items
    : close_item                                                            { $$ = DovListFirst(EX_LIST, $1); }
    | close_items close_item                                                { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

close_item
    : io_file_name opt_close_device opt_close_disposition                      { $$ = DovConstructNode(EX_CLOSE_ITEM, $1, $2, $3); }
    ;

opt_close_device
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REEL                                                               { $$ = DovKeywordNode(IOCX_REEL); }
    | RW_UNIT                                                               { $$ = DovKeywordNode(IOCX_UNIT); }
    ;

opt_close_disposition
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_LOCK                                                         { $$ = DovKeywordNode(IOCX_WITH_LOCK); }
    | _with RW_NO RW_REWIND                                                 { $$ = DovKeywordNode(IOCX_WITH_NO_REWIND); }
    | _for RW_REMOVAL                                                       { $$ = DovKeywordNode(IOCX_FOR_REMOVAL); }
    | _with RW_DISP                                                         { $$ = DovKeywordNode(IOCX_WITH_DISP); }
    ;

/* ---- READ --------------------------------------------------------------------------------
 * READ file [NEXT|PREVIOUS] [RECORD] [INTO identifier] [[WITH] [NO] LOCK] [KEY [IS] data-name]
 *     [AT END ...] [NOT AT END ...] [INVALID KEY ...] [NOT INVALID KEY ...] [END-READ]
 * read_stmt: STMT_READ (DovReadStmt picks AT END or INVALID KEY)                   */
read_stmt
    : RW_READ io_file_name opt_read_next _record opt_read_into opt_read_lock opt_read_key opt_at_end opt_invalid_key read_not_phrases opt_end_read
        { $$ = DovReadStmt($2, $3, $5, $6, $7, $8, $9, $10, $11); }
    ;

/* NOT AT END and NOT INVALID KEY both start with NOT: one rule takes either
 * or both, so that the word after NOT decides.
 * read_not_phrases: a pair (DovPhrasePair) of the two phrases or null nodes */
read_not_phrases
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovPhrasePair(DovAbsentNode(), DovAbsentNode()); }
    | not_at_end %prec PRTY_LOW                                             { $$ = DovPhrasePair($1, DovAbsentNode()); }
    | not_invalid_key %prec PRTY_LOW                                        { $$ = DovPhrasePair(DovAbsentNode(), $1); }
    | not_at_end not_invalid_key                                            { $$ = DovPhrasePair($1, $2); }
    ;

opt_read_next
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_NEXT                                                               { $$ = DovKeywordNode(EX_READ_NEXT); }
    | RW_PREVIOUS                                                           { $$ = DovKeywordNode(EX_READ_PREVIOUS); }
    ;

opt_read_into
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_INTO identifier                                                    { $$ = DovConstructNode(EX_READ_INTO, $2); }
    ;

opt_read_lock
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_LOCK                                                         { $$ = DovKeywordNode(EX_READ_LOCK); }
    | _with RW_KEPT RW_LOCK                                                 { $$ = DovKeywordNode(EX_READ_KEPT_LOCK); }
    | _with RW_NO RW_LOCK                                                   { $$ = DovKeywordNode(EX_READ_NO_LOCK); }
    | _with RW_IGNORE RW_LOCK                                               { $$ = DovKeywordNode(EX_READ_IGNORE_LOCK); }
    | _with RW_WAIT                                                         { $$ = DovKeywordNode(EX_READ_WAIT); }
    ;

opt_read_key
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_KEY _is io_record_key                                                 { $$ = DovConstructNode(EX_READ_KEY_IS, $3); }
    ;

io_record_key
    : data_name                                                             { $$ = DovConstructNode(REC_KEY_USE, $1); }
    ;

opt_end_read
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_READ                                                           { $$ = DovKeywordNode(EX_END_READ); }
    ;

/* ---- WRITE, REWRITE, DELETE --------------------------------------------------------------
 * WRITE record [FROM operand] [{BEFORE|AFTER} [ADVANCING] {n [LINE|LINES] | PAGE | mnemonic}]
 *     [AT {END-OF-PAGE|EOP} ...] [NOT AT {END-OF-PAGE|EOP} ...]
 *     [INVALID KEY ...] [NOT INVALID KEY ...] [END-WRITE]
 * REWRITE record [FROM operand] [INVALID KEY ...] [NOT INVALID KEY ...] [END-REWRITE]
 * DELETE file [RECORD] [INVALID KEY ...] [NOT INVALID KEY ...] [END-DELETE]
 * DELETE FILE file...
 * write_stmt: STMT_WRITE (DovWriteStmt picks END-OF-PAGE or INVALID KEY)          */
write_stmt
    : RW_WRITE record_name opt_write_from opt_write_advancing opt_at_eop opt_invalid_key write_not_phrases opt_end_write
        { $$ = DovWriteStmt($2, $3, $4, $5, $6, $7, $8); }
    ;

/* write_not_phrases: a pair of NOT AT END-OF-PAGE and NOT INVALID KEY, as
 * read_not_phrases */
write_not_phrases
    : /* empty */ %prec PRTY_LOW                                            { $$ = DovPhrasePair(DovAbsentNode(), DovAbsentNode()); }
    | not_at_eop %prec PRTY_LOW                                             { $$ = DovPhrasePair($1, DovAbsentNode()); }
    | not_invalid_key %prec PRTY_LOW                                        { $$ = DovPhrasePair(DovAbsentNode(), $1); }
    | not_at_eop not_invalid_key                                            { $$ = DovPhrasePair($1, $2); }
    ;

opt_write_from
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_FROM operand                                                       { $$ = DovConstructNode(EX_WRITE_FROM, $2); }
    ;

opt_write_advancing
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | before_after _advancing write_how_far                                 { $$ = DovConstructNode(IOCX_ADVANCING, $1, $3); }
    | before_after RW_POSITIONING write_how_far                             { $$ = DovConstructNode(IOCX_POSITIONING, $1, $3); }
    ;


write_how_far
    : operand _line                                                        { $$ = DovConstructNode(EX_LINES, $1); }
    | RW_PAGE                                                               { $$ = DovKeywordNode(EX_PAGE); }
    ;


opt_at_eop
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _at eop_word statement_list %prec PRTY_LOW                             { $$ = DovConstructNode(EX_ON_AT_EOP, $3); }
    ;

not_at_eop
    : CMB_NOT_ON_AT _at eop_word statement_list %prec PRTY_LOW               { $$ = DovConstructNode(EX_NOT_ON_AT_EOP, $4); }
    ;


opt_end_write
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_WRITE                                                          { $$ = DovKeywordNode(EX_END_WRITE); }
    ;

rewrite_stmt
    : RW_REWRITE record_name opt_write_from opt_invalid_key opt_not_invalid_key opt_end_rewrite
        { $$ = DovConstructNode(STMT_REWRITE, $2, $3, DovAbsentNode(), $4, $5, $6); }
    ;

opt_end_rewrite
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_REWRITE                                                        { $$ = DovKeywordNode(EX_END_REWRITE); }
    ;

delete_stmt
    : RW_DELETE io_file_name _record opt_invalid_key opt_not_invalid_key opt_end_delete
        { $$ = DovConstructNode(STMT_DELETE, $2, DovAbsentNode(), $4, $5, $6); }
    | RW_DELETE RW_FILE io_file_names                                       { $$ = DovConstructNode(STMT_DELETE_FILE, $3); }
    ;

opt_end_delete
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_DELETE                                                         { $$ = DovKeywordNode(EX_END_DELETE); }
    ;

/* ---- START ---------------------------------------------------------------------------------
 * START file [KEY [IS] relation data-name | {FIRST|LAST} KEY [IS] data-name]
 *     [[WITH] SIZE operand | [WITH] REVERSED [ORDER]]
 *     [INVALID KEY ...] [NOT INVALID KEY ...] [END-START]
 * start_stmt: STMT_START    opt_start_key: a node of the relation's code or
 * START_KEY_FIRST_LAST    opt_start_with: EX_START_WITH_SIZE,
 * EX_START_WITH_REV_ORDER or a null node                                          */
start_stmt
    : RW_START io_file_name opt_start_key opt_start_with opt_invalid_key opt_not_invalid_key opt_end_start
        { $$ = DovConstructNode(STMT_START, $2, $3, $4, $5, $6, $7); }
    ;

opt_start_key
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_KEY _is rel_op io_record_key                                          { $$ = DovStartKey($3, $4); }
    | start_first_last RW_KEY _is io_record_key                             { $$ = DovConstructNode(START_KEY_FIRST_LAST, $1, $4); }
    ;

start_first_last
    : RW_FIRST                                                              { $$ = DovKeywordNode(START_KEY_FIRST); }
    | RW_LAST                                                               { $$ = DovKeywordNode(START_KEY_LAST); }
    ;

opt_start_with
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_SIZE operand                                                 { $$ = DovConstructNode(EX_START_WITH_SIZE, $3); }
    | _with RW_REVERSED _order                                              { $$ = DovKeywordNode(EX_START_WITH_REV_ORDER); }
    ;

opt_end_start
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_START                                                          { $$ = DovKeywordNode(EX_END_START); }
    ;

/* ---- RETURN, RELEASE -----------------------------------------------------------------------
 * RETURN file [RECORD] [INTO identifier] [AT] END ... [NOT AT END ...] [END-RETURN]
 * RELEASE record [FROM identifier]                                                    */
return_stmt
    : RW_RETURN io_file_name _record opt_read_into opt_at_end opt_not_at_end opt_end_return
        { $$ = DovConstructNode(STMT_RETURN, $2, $4, $5, $6, $7); }
    ;

opt_end_return
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_RETURN                                                         { $$ = DovKeywordNode(EX_END_RETURN); }
    ;

release_stmt
    : RW_RELEASE record_name opt_release_from                                 { $$ = DovConstructNode(STMT_RELEASE, $2, $3); }
    ;

opt_release_from
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_FROM identifier                                                    { $$ = DovConstructNode(EX_RELEASE_FROM, $2); }
    ;

/* ---- SORT, MERGE ----------------------------------------------------------------------------
 * SORT file {[ON] {ASCENDING|DESCENDING} [KEY] data-name...}... [WITH DUPLICATES [IN ORDER]]
 *     [[COLLATING] SEQUENCE [IS] alphabet]
 *     {INPUT PROCEDURE [IS] range | USING file...} {OUTPUT PROCEDURE [IS] range | GIVING file...}
 * MERGE file keys [sequence] USING file... {OUTPUT PROCEDURE [IS] range | GIVING file...}
 * sort_stmt: STMT_SORT    merge_stmt: STMT_MERGE                                         */
sort_stmt
    : RW_SORT io_file_name sort_keys opt_sort_dups opt_collating sort_input sort_output
        { $$ = DovConstructNode(STMT_SORT, $2, $3, $4, $5, $6, $7); }
    ;

merge_stmt
    : RW_MERGE io_file_name sort_keys opt_collating sort_using sort_output
        { $$ = DovConstructNode(STMT_MERGE, $2, $3, $4, $5, $6); }
    ;

sort_keys
    : /* empty */                                                           { $$ = DovAbsentNode(); }
    | sort_keys sort_key                                                    { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

sort_key
    : _on_kwd ascending_descending _key data_name_list                                      { $$ = DovConstructNode(EX_SORT_KEY, $2, $4); }
    ;

opt_sort_dups
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _with RW_DUPLICATES _in _order                                        { $$ = DovKeywordNode(EX_WITH_DUPS_IN_ORDER); }
    ;


opt_collating
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _collating RW_SEQUENCE _is plain_name                                 { $$ = DovConstructNode(EX_SORT_COLL_SEQCE, $4); }
    ;

sort_input
    : RW_INPUT RW_PROCEDURE _is procedure_range                             { $$ = DovConstructNode(EX_INPUT_PROC_IS, $4); }
    | sort_using                                                            { $$ = $1; }
    ;

sort_using
    : RW_USING io_file_names                                               { $$ = DovConstructNode(EX_SORT_USING, $2); }
    ;

sort_output
    : RW_OUTPUT RW_PROCEDURE _is procedure_range                            { $$ = DovConstructNode(EX_OUTPUT_PROC_IS, $4); }
    | RW_GIVING io_file_names                                              { $$ = DovConstructNode(EX_GIVING, $2); }
    ;

/* ---- Report writer: GENERATE, INITIATE, TERMINATE, SUPPRESS ---------------------------------- */
generate_stmt
    : RW_GENERATE data_name                                                 { $$ = DovConstructNode(STMT_GENERATE, $2); }
    ;

initiate_stmt
    : RW_INITIATE data_name_list                                            { $$ = DovConstructNode(STMT_INITIATE, $2); }
    ;

terminate_stmt
    : RW_TERMINATE data_name_list                                           { $$ = DovConstructNode(STMT_TERMINATE, $2); }
    ;

suppress_stmt
    : RW_SUPPRESS _printing                                                 { $$ = DovKeywordNode(STMT_SUPPRESS_PRINTING); }
    ;


/* ---- Communication: SEND, RECEIVE, ENABLE, DISABLE, PURGE, ACCEPT MESSAGE COUNT ---------------
 * SEND cd [FROM identifier] [WITH {identifier|ESI|EMI|EGI}] [{BEFORE|AFTER} [ADVANCING] ...]
 *     [REPLACING [LINE]]
 * RECEIVE cd {MESSAGE|SEGMENT} INTO identifier [NO DATA ...] [WITH DATA ...] [END-RECEIVE]
 * {ENABLE|DISABLE} {INPUT [TERMINAL] | I-O TERMINAL | OUTPUT} cd [WITH] KEY operand
 * PURGE cd                                                                               */
send_stmt
    : RW_SEND data_name opt_send_from opt_send_with opt_write_advancing opt_send_replacing
        { $$ = DovConstructNode(STMT_SEND, $2, $3, $4, $5, $6); }
    ;

opt_send_from
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_FROM identifier                                                    { $$ = DovPassOn(YYREDUCTION, $2); }
    ;

opt_send_with
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_WITH identifier                                                    { $$ = DovPassOn(YYREDUCTION, $2); }
    | RW_WITH RW_ESI                                                        { $$ = DovKeywordNode(EX_SEND_ESI); }
    | RW_WITH RW_EMI                                                        { $$ = DovKeywordNode(EX_SEND_EMI); }
    | RW_WITH RW_EGI                                                        { $$ = DovKeywordNode(EX_SEND_EGI); }
    ;

opt_send_replacing
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_REPLACING _line                                                    { $$ = DovKeywordNode(EX_SEND_REPLACING_LINE); }
    ;


receive_stmt
    : RW_RECEIVE data_name receive_msgseg RW_INTO identifier opt_no_data opt_with_data opt_end_receive
        { $$ = DovConstructNode(STMT_RECEIVE, $2, $3, $5, $6, $7, $8); }
    ;

receive_msgseg
    : RW_MESSAGE                                                            { $$ = DovKeywordNode(EX_RECV_MESSAGE); }
    | RW_SEGMENT                                                            { $$ = DovKeywordNode(EX_RECV_SEGMENT); }
    ;

opt_no_data
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_NO RW_DATA statement_list %prec PRTY_LOW                            { $$ = DovConstructNode(EX_ON_NO_DATA, $3); }
    ;

opt_with_data
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_WITH_DATA statement_list %prec PRTY_LOW                             { $$ = DovConstructNode(EX_NOT_ON_NO_DATA, $2); }
    ;

opt_end_receive
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_RECEIVE                                                        { $$ = DovKeywordNode(EX_END_RECEIVE); }
    ;

enable_stmt
    : RW_ENABLE able_type data_name _with RW_KEY operand                    { $$ = DovConstructNode(STMT_ENABLE, $2, $3, $6); }
    | RW_DISABLE able_type data_name _with RW_KEY operand                   { $$ = DovConstructNode(STMT_DISABLE, $2, $3, $6); }
    ;

able_type
    : RW_INPUT                                                              { $$ = DovKeywordNode(EX_ABLE_INPUT); }
    | RW_INPUT RW_TERMINAL                                                  { $$ = DovKeywordNode(EX_ABLE_INPUT_TERMINAL); }
    | RW_I_O RW_TERMINAL                                                    { $$ = DovKeywordNode(EX_ABLE_I_O_TERMINAL); }
    | RW_OUTPUT                                                             { $$ = DovKeywordNode(EX_ABLE_OUTPUT); }
    ;

purge_stmt
    : RW_PURGE data_name                                                    { $$ = DovConstructNode(STMT_PURGE, $2); }
    ;

/* ---- COMMIT, ROLLBACK, UNLOCK, UNDELETE ----------------------------------------------------- */
commit_stmt
    : RW_COMMIT                                                             { $$ = DovKeywordNode(STMT_COMMIT); }
    | RW_ROLLBACK                                                           { $$ = DovKeywordNode(STMT_ROLLBACK); }
    ;

unlock_stmt
    : RW_UNLOCK io_file_name _record  /* UNDELETE reads as UNLOCK: the value tells them apart */
        { $$ = DovConstructNode(DovValueToInt($1) == RW_UNDELETE ? STMT_UNDELETE : STMT_UNLOCK, $2); }
    ;

/* ---- ACCEPT ------------------------------------------------------------------------------------
 * ACCEPT {[( line column )] identifier [FROM {device | mnemonic | DATE [YYYYMMDD] | DAY [YYYYDDD] | DAY-OF-WEEK | TIME
 *                            | ENVIRONMENT | ESCAPE KEY | EXCEPTION STATUS | LINE NUMBER
 *                            | USER NAME}]
 *     [UNIT n] [[AT] LINE [NUMBER] n] [[AT] {COL|COLUMN} [NUMBER] n] [AT n] [POSITION n]
 *     [MODE [IS] BLOCK] [WITH] [NO BEEP] [PROMPT [IS] x] [AUTO ... ZERO-FILL] [ECHO]
 *     [LEFT-JUSTIFY | RIGHT-JUSTIFY] [TRAILING-SIGN] [CONVERT] [TAB] [OFF]
 *     [{TIME-OUT|TIMEOUT} [AFTER] n] [SPACE-FILL] [UPDATE] [UPPER | LOWER]
 *     [screen attributes] ...}...
 *     [[ON] {EXCEPTION | ESCAPE [KEY]} [identifier] ...] [NOT [ON] ...] [END-ACCEPT]
 * ACCEPT cd MESSAGE COUNT
 * accept_stmt: STMT_ACCEPT or STMT_ACCEPT_MSG_COUNT
 * accept_item: ACCEPT_SCREEN_ITEM, its phrases collected by the screen holder       */
accept_stmt
    : RW_ACCEPT accept_items opt_on_accept_exc opt_not_on_accept_exc opt_end_accept
        { $$ = DovConstructNode(STMT_ACCEPT, $2, $3, $4, $5); }
    | RW_ACCEPT data_name RW_MESSAGE RW_COUNT                               { $$ = DovConstructNode(STMT_ACCEPT_MSG_COUNT, $2); }
    ;

accept_items
    : accept_item                                                           { $$ = DovListFirst(ACCEPT_ITEM_LIST, $1); }
    | accept_items accept_item                                              { $$ = DovListAppend(ACCEPT_ITEM_LIST, $1, $2); }
    ;

accept_item
    : identifier accept_item_start accept_phrases                           { $$ = DovScreenItemFinish(); }
    | ms_position identifier accept_item_start_at accept_phrases            { $$ = DovScreenItemFinish(); }
    ;

accept_item_start
    : /* empty */                                                           { DovScreenItemStart(YYREDUCTION, ACCEPT_SCREEN_ITEM, nullptr, &YYVALARG(0)); }
    ;

/* Reaches the position two cells to its left ($-1). */
accept_item_start_at
    : /* empty */                                                           { DovScreenItemStart(YYREDUCTION, ACCEPT_SCREEN_ITEM, &YYVALARG(-1), &YYVALARG(0)); }
    ;

accept_phrases
    : /* empty */
    | accept_phrases accept_phrase
    ;

accept_phrase
    : RW_FROM accept_source                                                 { DovScreenItemClause(YYREDUCTION, 5, DovConstructNode(ACCP_FROM, $2)); }
    | RW_WITH                                                               { DovScreenItemClause(YYREDUCTION, 7, DovKeywordNode(DSPL_WITH)); }
    | RW_UNIT operand                                                       { DovScreenItemClause(YYREDUCTION, 5, DovConstructNode(DSPL_UNIT, $2)); }
    | RW_NO RW_BEEP                                                         { DovScreenItemClause(YYREDUCTION, 8, DovKeywordNode(ACCP_NO_BEEP)); }
    | RW_PROMPT _is ident_or_literal                                        { DovScreenItemClause(YYREDUCTION, 21, DovConstructNode(ACCP_PROMPT, $3)); }
    | RW_ECHO                                                               { DovScreenItemClause(YYREDUCTION, 25, DovKeywordNode(ACCP_ECHO)); }
    | RW_LEFT_JUSTIFY                                                       { DovScreenItemClause(YYREDUCTION, 27, DovKeywordNode(ACCP_LEFT_JUSTIFY)); }
    | RW_RIGHT_JUSTIFY                                                      { DovScreenItemClause(YYREDUCTION, 27, DovKeywordNode(ACCP_RIGHT_JUSTIFY)); }
    | RW_TRAILING_SIGN                                                      { DovScreenItemClause(YYREDUCTION, 28, DovKeywordNode(ACCP_TRAILING_SIGN)); }
    | RW_CONVERT                                                            { DovScreenItemClause(YYREDUCTION, 31, DovKeywordNode(ACCP_CONVERT)); }
    | RW_TAB                                                                { DovScreenItemClause(YYREDUCTION, 32, DovKeywordNode(ACCP_TAB)); }
    | RW_OFF                                                                { DovScreenItemClause(YYREDUCTION, 33, DovKeywordNode(ACCP_OFF)); }
    | timeout_word _after operand                                           { DovScreenItemClause(YYREDUCTION, 34, DovConstructNode(ACCP_TIMEOUT, $3)); }
    | RW_SPACE_FILL                                                         { DovScreenItemClause(YYREDUCTION, 35, DovKeywordNode(ACCP_SPACE_FILL)); }
    | RW_UPDATE                                                             { DovScreenItemClause(YYREDUCTION, 36, DovKeywordNode(ACCP_UPDATE)); }
    | RW_UPPER                                                              { DovScreenItemClause(YYREDUCTION, 37, DovKeywordNode(ACCP_UPPER)); }
    | RW_LOWER                                                              { DovScreenItemClause(YYREDUCTION, 38, DovKeywordNode(ACCP_LOWER)); }
    | screen_input_phrase
    | screen_position_phrase
    | screen_item_attribute
    ;

timeout_word
    : RW_TIME_OUT
    | RW_TIMEOUT
    ;

accept_source
    : io_device_name                                                         { $$ = $1; }
    | RW_DATE opt_yyyymmdd                                                  { $$ = DovConstructNode(ACCP_DATE, $2); }
    | RW_DAY opt_yyyyddd                                                    { $$ = DovConstructNode(ACCP_DAY, $2); }
    | RW_DAY_OF_WEEK                                                        { $$ = DovKeywordNode(ACCP_DAY_OF_WEEK); }
    | RW_TIME                                                               { $$ = DovKeywordNode(ACCP_TIME); }
    | RW_ENVIRONMENT                                                        { $$ = DovKeywordNode(ACCP_ENVIRONMENT); }
    | RW_ESCAPE RW_KEY                                                      { $$ = DovKeywordNode(ACCP_ESC_KEY); }
    | RW_EXCEPTION RW_STATUS                                                { $$ = DovKeywordNode(ACCP_EXC_STATUS); }
    | RW_LINE RW_NUMBER                                                     { $$ = DovKeywordNode(ACCP_LINE_NUMBER); }
    | RW_USER RW_NAME                                                       { $$ = DovKeywordNode(ACCP_USER_NAME); }
    ;

opt_yyyymmdd
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_YYYYMMDD                                                           { $$ = DovKeywordNode(ACCP_DATE_YYYYMMDD); }
    ;

opt_yyyyddd
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_YYYYDDD                                                            { $$ = DovKeywordNode(ACCP_DATE_YYYYDDD); }
    ;

opt_on_accept_exc
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _on_kwd accept_exc_word opt_identifier statement_list %prec PRTY_LOW   { $$ = DovConstructNode(ON_ACCEPT_EXCEPTION, $3, $4); }
    ;

opt_not_on_accept_exc
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | CMB_NOT_ON_AT _on_kwd accept_exc_word opt_identifier statement_list %prec PRTY_LOW
        { $$ = DovConstructNode(NOT_ON_ACCEPT_EXCEPTION, $4, $5); }
    ;

accept_exc_word
    : RW_EXCEPTION
    | RW_ESCAPE _key
    ;

opt_end_accept
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_ACCEPT                                                         { $$ = DovKeywordNode(EX_END_ACCEPT); }
    ;

/* ---- DISPLAY, EXHIBIT -----------------------------------------------------------------------------
 * DISPLAY {[( line column ) {operand | ERASE} | operand] [UPON {device | mnemonic} | UNIT n | [AT] LINE n | [AT] COL n | AT n | POSITION n
 *                   | MODE [IS] BLOCK | WITH | NO ADVANCING | BLANK {SCREEN|LINE}
 *                   | screen attributes]...}...
 *     [[ON] EXCEPTION ...] [NOT [ON] EXCEPTION ...] [END-DISPLAY]
 * EXHIBIT [CHANGED] [NAMED] operand...
 * display_stmt: STMT_DISPLAY    display_item: DISPLAY_SCREEN_ITEM                   */
display_stmt
    : RW_DISPLAY display_items opt_on_display_exc opt_not_on_display_exc opt_end_display
        { $$ = DovConstructNode(STMT_DISPLAY, $2, $3, $4, $5); }
    ;

display_items
    : display_item                                                          { $$ = DovListFirst(DISPLAY_ITEM_LIST, $1); }
    | display_items display_item                                            { $$ = DovListAppend(DISPLAY_ITEM_LIST, $1, $2); }
    ;

display_item
    : operand display_item_start display_phrases                            { $$ = DovScreenItemFinish(); }
    | ms_position display_operand display_item_start_at display_phrases    { $$ = DovScreenItemFinish(); }
    ;

display_operand
    : operand                                                               { $$ = $1; }
    | RW_ERASE                                                              { $$ = DovKeywordNode(DSPL_MS_ERASE); }
    ;

display_item_start
    : /* empty */                                                           { DovScreenItemStart(YYREDUCTION, DISPLAY_SCREEN_ITEM, nullptr, &YYVALARG(0)); }
    ;

/* Reaches the position two cells to its left ($-1). */
display_item_start_at
    : /* empty */                                                           { DovScreenItemStart(YYREDUCTION, DISPLAY_SCREEN_ITEM, &YYVALARG(-1), &YYVALARG(0)); }
    ;

/* ---- Position phrase of an ACCEPT or DISPLAY item ----------------------------------
 * ( line column )    each coordinate: integer | identifier [{+|-} integer]
 * ms_position: EX_ADIS_MS_POSN    ms_coordinate: the value, OP_ADD_IX or OP_SUB_IX */
ms_position
    : SEP_LEFT_PAR ms_coordinate ms_coordinate SEP_RIGHT_PAR               { $$ = DovConstructNode(EX_ADIS_MS_POSN, $2, $3); }
    ;

ms_coordinate
    : integer                                                               { $$ = $1; }
    | identifier                                                            { $$ = $1; }
    | identifier OP_PLUS integer                                            { $$ = DovConstructNode(OP_ADD_IX, $1, $3); }
    | identifier OP_MINUS integer                                           { $$ = DovConstructNode(OP_SUB_IX, $1, $3); }
    ;

display_phrases
    : /* empty */
    | display_phrases display_phrase
    ;

display_phrase
    : RW_UPON io_device_name                                                { DovScreenItemClause(YYREDUCTION, 5, DovConstructNode(DSPL_UPON, $2)); }
    | RW_UNIT operand                                                       { DovScreenItemClause(YYREDUCTION, 5, DovConstructNode(DSPL_UNIT, $2)); }
    | RW_WITH                                                               { DovScreenItemClause(YYREDUCTION, 7, DovKeywordNode(DSPL_WITH)); }
    | RW_NO _advancing                                                      { DovScreenItemClause(YYREDUCTION, 31, DovKeywordNode(DSPL_NO_ADVANCING)); }
    | RW_BLANK screen_or_line                                               { DovScreenItemClause(YYREDUCTION, 29, DovConstructNode(DSPL_BLANK, $2)); }
    | screen_position_phrase
    | screen_item_attribute
    ;

/* Phrases of both ACCEPT and DISPLAY items: the position and mode phrases
 * and the screen attributes, each set in its clause of the item. */
screen_position_phrase
    : _at RW_LINE _number operand                                           { DovScreenItemClause(YYREDUCTION, 2, DovConstructNode(DSPL_LINE_NUMBER, $4)); }
    | _at col_word _number operand                                       { DovScreenItemClause(YYREDUCTION, 3, DovConstructNode(DSPL_COLUMN_NUMBER, $4)); }
    | RW_AT operand                                                         { DovScreenItemClause(YYREDUCTION, 4, DovConstructNode(DSPL_AT, $2)); }
    | pos_word operand                                                      { DovScreenItemClause(YYREDUCTION, 4, DovConstructNode(DSPL_POSITION, $2)); }
    | RW_MODE _is RW_BLOCK                                                  { DovScreenItemClause(YYREDUCTION, 6, DovKeywordNode(DSPL_MODE_IS_BLOCK)); }
    ;

screen_item_attribute
    : RW_BELL                                                               { DovScreenItemClause(YYREDUCTION, 8, DovKeywordNode(DSPL_BELL)); }
    | RW_BEEP                                                               { DovScreenItemClause(YYREDUCTION, 8, DovKeywordNode(DSPL_BELL)); }
    | RW_BLINK                                                              { DovScreenItemClause(YYREDUCTION, 9, DovKeywordNode(DSPL_BLINK)); }
    | RW_ERASE opt_eol_eos                                                  { DovScreenItemClause(YYREDUCTION, 10, DovConstructNode(DSPL_ERASE, $2)); }
    | RW_GRID                                                               { DovScreenItemClause(YYREDUCTION, 11, DovKeywordNode(DSPL_GRID)); }
    | RW_HIGHLIGHT                                                          { DovScreenItemClause(YYREDUCTION, 12, DovKeywordNode(DSPL_HIGHLIGHT)); }
    | RW_LOWLIGHT                                                           { DovScreenItemClause(YYREDUCTION, 12, DovKeywordNode(DSPL_LOWLIGHT)); }
    | RW_HIGH                                                               { DovScreenItemClause(YYREDUCTION, 12, DovKeywordNode(DSPL_HIGH)); }
    | RW_LOW                                                                { DovScreenItemClause(YYREDUCTION, 12, DovKeywordNode(DSPL_LOW)); }
    | RW_LEFTLINE                                                           { DovScreenItemClause(YYREDUCTION, 13, DovKeywordNode(DSPL_LEFTLINE)); }
    | RW_OVERLINE                                                           { DovScreenItemClause(YYREDUCTION, 14, DovKeywordNode(DSPL_OVERLINE)); }
    | RW_REVERSE_VIDEO                                                      { DovScreenItemClause(YYREDUCTION, 15, DovKeywordNode(DSPL_REVERSE_VIDEO)); }
    | RW_REVERSE                                                            { DovScreenItemClause(YYREDUCTION, 15, DovKeywordNode(DSPL_REVERSE)); }
    | RW_SIZE _is dd_int_or_name                                            { DovScreenItemClause(YYREDUCTION, 16, DovConstructNode(DSPL_SIZE, $3)); }
    | RW_UNDERLINE                                                          { DovScreenItemClause(YYREDUCTION, 17, DovKeywordNode(DSPL_UNDERLINE)); }
    | foreground_word _is dd_int_or_name                                    { DovScreenItemClause(YYREDUCTION, 18, DovConstructNode(DSPL_FOREGROUND_COLOR, $3)); }
    | background_word _is dd_int_or_name                                    { DovScreenItemClause(YYREDUCTION, 19, DovConstructNode(DSPL_BACKGROUND_COLOR, $3)); }
    | RW_CONTROL _is dd_int_or_name                                         { DovScreenItemClause(YYREDUCTION, 20, DovConstructNode(DSPL_CONTROL, $3)); }
    ;

opt_on_display_exc
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | _on_kwd RW_EXCEPTION statement_list %prec PRTY_LOW                     { $$ = DovConstructNode(ON_DISPLAY_EXCEPTION, $3); }
    ;

opt_not_on_display_exc
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | CMB_NOT_ON_AT _on_kwd RW_EXCEPTION statement_list %prec PRTY_LOW           { $$ = DovConstructNode(NOT_ON_DISPLAY_EXCEPTION, $4); }
    ;

opt_end_display
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_END_DISPLAY                                                        { $$ = DovKeywordNode(EX_END_DISPLAY); }
    ;

exhibit_stmt
    : RW_EXHIBIT opt_exhibit_changed opt_exhibit_named operand_list         { $$ = DovConstructNode(STMT_EXHIBIT, $2, $3, $4); }
    ;

opt_exhibit_changed
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_CHANGED                                                            { $$ = DovKeywordNode(EX_EXHIBIT_CHANGED); }
    ;

opt_exhibit_named
    : /* empty */ %prec PRTY_LOW                                             { $$ = DovAbsentNode(); }
    | RW_NAMED                                                              { $$ = DovKeywordNode(EX_EXHIBIT_NAMED); }
    ;

/* ---- File and device names -------------------------------------------------------------------
 * io_file_name: the use of a file name    io_file_names: EX_LIST of them
 * io_device_name (after ACCEPT ... FROM and DISPLAY ... UPON): the IOF_ node of
 * a device keyword, or the use of a mnemonic-name                                */
io_file_name
    : plain_name                                                            { $$ = $1; }
    ;

io_file_names
    : io_file_name                                                          { $$ = DovListFirst(EX_LIST, $1); }
    | io_file_names io_file_name                                            { $$ = DovListAppend(EX_LIST, $1, $2); }
    ;

io_device_name
    : device_name                                                           { $$ = $1; }
    | RW_CRT                                                                { $$ = DovKeywordNode(IOF_CRT); }
    | TK_USER_DEFD_WORD                                                     { $$ = DovPlainNameUse($1, NC_MNEMONIC_NAME, &YYPOSNARG(1)); }
    ;
