/* ---- Identification division paragraphs -----------------------------------------
 * [AUTHOR. ...] [INSTALLATION. ...] [DATE-WRITTEN. ...] [DATE-COMPILED. ...]
 * [SECURITY. ...] [REMARKS. ...]
 * The lexer turns the comment paragraphs into comment lines, so what reaches
 * the grammar after PROGRAM-ID is at most a COPY or REPLACE marker. The
 * division has no slot for one: its tokens go on to the next node and the
 * marker node is released.
 * opt_id_paragraphs: null                                                    */
opt_id_paragraphs
    : /* empty */
    | id_markers
    ;

id_markers
    : copy_marker                           { DovMarkerTokensOn(YYREDUCTION, &$1); }
    | id_markers copy_marker                { DovMarkerTokensOn(YYREDUCTION, &$2); }
    ;
