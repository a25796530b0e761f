/* ==== EXEC ... END-EXEC blocks ================================================
 * EXEC SQL sql-statement END-EXEC       EXEC CICS command END-EXEC
 * EXEC subsystem text END-EXEC          (any other subsystem, or SQL / CICS
 *                                        while that handling is off)
 * For any other subsystem the lexer hands the words between EXEC and
 * END-EXEC to the EXEC-token collector, so the grammar sees EXEC directly
 * followed by END-EXEC; the block's node is built from the collected tokens,
 * line by line, and the tokens up to EXEC go to its subsystem slot.
 * The CICS form is reached through cics_statement (cics.y).
 * exec_stmt: STMT_EXEC_SQL, STMT_EXEC_CICS or STMT_EXEC
 * exec_data_entry: the same node in its data-division form
 *                  (STMT_EXEC_SQL_IN_DCL, STMT_EXEC_IN_DCL), period optional
 *
 * An SQL statement these rules do not cover is a syntax error inside the
 * block (an entry boundary of error recovery, synced on END-EXEC): the
 * block's node holds the syntax-error node with every skipped token.        */
exec_stmt
    : RW_EXEC TK_SQL sql_statement RW_END_EXEC { $$ = DovConstructNode(STMT_EXEC_SQL, $3); }
    | RW_EXEC TK_CICS cics_statement RW_END_EXEC { $$ = DovConstructNode(STMT_EXEC_CICS, $3); }
    | RW_EXEC RW_END_EXEC               { $$ = DovExecTokenBlock(YYREDUCTION); }
    | RW_EXEC TK_SQL error RW_END_EXEC  { $$ = DovExecSqlError(YYREDUCTION); }
    ;

exec_data_entry
    : exec_stmt _dot                    { $$ = DovExecInDataDivision($1); }
    ;

/* ---- EXEC CICS until the CICS rules are in ----------------------------------
 * EXEC CICS words END-EXEC: the CICS words are kept as they come, in one
 * token block, so that a CICS program parses and loses no token.
 * DELETE THIS SECTION (down to the end of the file) when cics.y defines
 * cics_statement: the CICS rules take its place.
 * cics_statement: an EX_EXEC_TOKEN_LIST holding the tokens (the words' own
 *                 tokens stay on the list; the values of words and literals are dropped)     */
cics_statement
    : /* empty */                       { $$ = DovKeywordNode(EX_EXEC_TOKEN_LIST); }
    | cics_statement cics_any_token     { $$ = DovExecBlockWord($1, &$2); }
    ;

cics_any_token
    : cics_keyword_token
    | TK_USER_DEFD_WORD                 { $$ = $1; }
    | TK_AREA_A_NAME                    { $$ = $1; }
    | TK_CHAR_STRING                    { $$ = $1; }
    | TK_INT_NUM_LIT                    { $$ = $1; }
    | TK_NONNUM_LIT                     { $$ = $1; }
    | UW_SYMBOLIC_CHAR                  { $$ = $1; }
    | UW_SYMBOLIC_CONSTANT              { $$ = $1; }
    | UW_CONSTANT_NAME                  { $$ = $1; }
    | UW_USER_FIG_CONST                 { $$ = $1; }
    ;

cics_keyword_token
    : SEP_LEFT_PAR | SEP_RIGHT_PAR | SEP_EQEQ | RW_OF | RW_IN
    | CTK_ABCODE | CTK_ABEND | CTK_ABPROGRAM | CTK_ABSTIME | CTK_ACEE | CTK_ADDRESS | CTK_AFTER
    | CTK_AID | CTK_ALARM | CTK_ALLOCATE | CTK_ALLOCERR | CTK_ALTERNATE | CTK_ASIS | CTK_ASKTIME
    | CTK_ASSIGN | CTK_AT | CTK_ATTACH | CTK_ATTACHID | CTK_AUXILIARY | CTK_BELOW | CTK_BIF
    | CTK_BMS | CTK_BUFFER | CTK_CANCEL | CTK_CBIDERR | CTK_CBUFF | CTK_CCERROR | CTK_CHANGED
    | CTK_CHANNEL | CTK_CICSDATAKEY | CTK_CNOTCOMPL | CTK_COMMAREA | CTK_COMPLETE | CTK_CONDITION
    | CTK_CONFIRM | CTK_CONSISTENT | CTK_CONTAINER | CTK_CONVERSE | CTK_CONVID | CTK_CTLCHAR
    | CTK_CURSOR | CTK_CWA | CTK_DATA | CTK_DATALENGTH | CTK_DATAONLY | CTK_DATAPOINTER
    | CTK_DATASET | CTK_DATE | CTK_DATEFORM | CTK_DATESEP | CTK_DAYCOUNT | CTK_DAYOFMONTH
    | CTK_DAYOFWEEK | CTK_DCT | CTK_DDMMYY | CTK_DDMMYYYY | CTK_DEBKEY | CTK_DEBREC | CTK_DEEDIT
    | CTK_DEFAULT | CTK_DEFRESP | CTK_DELAY | CTK_DELETE | CTK_DELETEQ | CTK_DEQ | CTK_DEST
    | CTK_DISABLED | CTK_DSSTAT | CTK_DUMP | CTK_DUMPCODE | CTK_DUPKEY | CTK_DUPREC | CTK_EIB
    | CTK_ENDACTIVITY | CTK_ENDBR | CTK_ENDDATA | CTK_ENDFILE | CTK_ENDINPT | CTK_ENQ | CTK_ENQBUSY
    | CTK_ENTRYNAME | CTK_ENVDEFERR | CTK_EOC | CTK_EODS | CTK_EOF | CTK_EQUAL | CTK_ERASE
    | CTK_ERASEAUP | CTK_ERROR | CTK_EXPIRED | CTK_EXTRACT | CTK_FCT | CTK_FIELD | CTK_FILE
    | CTK_FILENOTFOUND | CTK_FLENGTH | CTK_FMH | CTK_FOR | CTK_FORMATTIME | CTK_FORMFEED
    | CTK_FREEKB | CTK_FREEMAIN | CTK_FROM | CTK_FRSET | CTK_FULLDATE | CTK_FUNCERR | CTK_GENERIC
    | CTK_GETMAIN | CTK_GTEQ | CTK_HANDLE | CTK_HONEOM | CTK_HOURS | CTK_IGNORE | CTK_IGREQCD
    | CTK_IGREQID | CTK_ILLOGIC | CTK_IMMEDIATE | CTK_INBFMH | CTK_INITIMG | CTK_INPARTN
    | CTK_INPUTMSG | CTK_INPUTMSGLEN | CTK_INQUIRE | CTK_INTERVAL | CTK_INTO | CTK_INVERRTERM
    | CTK_INVITE | CTK_INVLDC | CTK_INVMPSZ | CTK_INVPARTN | CTK_INVPARTNSET | CTK_INVREQ
    | CTK_IOERR | CTK_ISCINVREQ | CTK_ISSUE | CTK_ITEM | CTK_ITEMERR | CTK_JIDERR | CTK_JOURNALNAME
    | CTK_JTYPEID | CTK_KEYLENGTH | CTK_L40 | CTK_L64 | CTK_L80 | CTK_LABEL | CTK_LAST | CTK_LDC
    | CTK_LEAVEKB | CTK_LENGERR | CTK_LENGTH | CTK_LINEADDR | CTK_LINK | CTK_LOAD | CTK_LOADING
    | CTK_LOCKED | CTK_MAIN | CTK_MAP | CTK_MAPERROR | CTK_MAPFAIL | CTK_MAPONLY | CTK_MAPPED
    | CTK_MAPPINGDEV | CTK_MAPSET | CTK_MASSINSERT | CTK_MAXFLENGTH | CTK_MAXLENGTH | CTK_MINUTES
    | CTK_MMDDYY | CTK_MMDDYYYY | CTK_MONTHOFYEAR | CTK_NAMEERROR | CTK_NETNAMEIDERR | CTK_NEXT
    | CTK_NOCHECK | CTK_NODEIDERR | CTK_NODUMP | CTK_NOEDIT | CTK_NOHANDLE | CTK_NOJBUFSP
    | CTK_NONVAL | CTK_NOPASSBKRD | CTK_NOPASSBKWR | CTK_NOQUEUE | CTK_NOSPACE | CTK_NOSPOOL
    | CTK_NOSTART | CTK_NOSTG | CTK_NOSUSPEND | CTK_NOTALLOC | CTK_NOTAUTH | CTK_NOTFND
    | CTK_NOTOPEN | CTK_NOTRUNCATE | CTK_NUMITEMS | CTK_NUMREC | CTK_OPENERR | CTK_OUTDESCERR
    | CTK_OUTDESCRERR | CTK_OUTPARTN | CTK_PAGING | CTK_PARTNERIDERR | CTK_PARTNFAIL | CTK_PASSBK
    | CTK_PCT | CTK_PGMIDERR | CTK_POP | CTK_POST | CTK_PPT | CTK_PRINT | CTK_PROGRAM | CTK_PROTECT
    | CTK_PSEUDOBIN | CTK_PUSH | CTK_PUT | CTK_QBUSY | CTK_QIDERR | CTK_QNAME | CTK_QUEUE
    | CTK_QZERO | CTK_RBA | CTK_RDATT | CTK_READ | CTK_READNEXT | CTK_READPREV | CTK_READQ
    | CTK_RECEIVE | CTK_RECORDBUSY | CTK_REPEATABLE | CTK_REQID | CTK_RESET | CTK_RESETBR
    | CTK_RESOURCE | CTK_RESP | CTK_RESP2 | CTK_RETPAGE | CTK_RETRIEVE | CTK_RETURN | CTK_REWRITE
    | CTK_RIDFLD | CTK_ROLLEDBACK | CTK_RRN | CTK_RTEFAIL | CTK_RTERMID | CTK_RTESOME | CTK_RTRANSID
    | CTK_SECONDS | CTK_SELNERR | CTK_SEND | CTK_SESSBUSY | CTK_SESSION | CTK_SESSIONERR | CTK_SET
    | CTK_SHARED | CTK_SIGNAL | CTK_SIGNOFF | CTK_SIGNON | CTK_SIT | CTK_SPOLBUSY | CTK_SPOLERR
    | CTK_SPOOLCLOSE | CTK_SPOOLOPEN | CTK_SPOOLREAD | CTK_SPOOLWRITE | CTK_START | CTK_STARTBR
    | CTK_STATE | CTK_STORAGE | CTK_STRELERR | CTK_STRFIELD | CTK_SUPPRESSED | CTK_SUSPEND
    | CTK_SYMBOLERR | CTK_SYNCONRETURN | CTK_SYNCPOINT | CTK_SYSBUSY | CTK_SYSID | CTK_SYSIDERR
    | CTK_TABLES | CTK_TASK | CTK_TCT | CTK_TCTUA | CTK_TD | CTK_TEMPLATERR | CTK_TERMERR
    | CTK_TERMID | CTK_TERMIDERR | CTK_TERMINAL | CTK_TEXT | CTK_TIME | CTK_TIMESEP | CTK_TOKEN
    | CTK_TRANSID | CTK_TRANSIDERR | CTK_TS | CTK_TSIOERR | CTK_TWA | CTK_UNCOMMITTED | CTK_UNEXPIN
    | CTK_UNLOCK | CTK_UNTIL | CTK_UPDATE | CTK_USERDATAKEY | CTK_USERID | CTK_USERIDERR | CTK_USING
    | CTK_WAIT | CTK_WAITCICS | CTK_WEB | CTK_WRBRK | CTK_WRITE | CTK_WRITEQ | CTK_WRONGSTAT
    | CTK_XCTL | CTK_YEAR | CTK_YYDDD | CTK_YYDDMM | CTK_YYMMDD | CTK_YYYYDDD | CTK_YYYYDDMM
    | CTK_YYYYMMDD
    ;
