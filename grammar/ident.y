/* ---- Identification division paragraphs -----------------------------------------
 * [AUTHOR. ...] [INSTALLATION. ...] [DATE-WRITTEN. ...] [DATE-COMPILED. ...]
 * [SECURITY. ...] [REMARKS. ...]
 * opt_id_paragraphs: the paragraphs after PROGRAM-ID (program.y takes its
 * value); null until this family writes them.
 * Owned by the identification/environment/data family.                       */
opt_id_paragraphs
    : /* empty */
    ;
