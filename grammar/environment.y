/* ---- ENVIRONMENT DIVISION -------------------------------------------------------------
 * [ENVIRONMENT DIVISION.] [CONFIGURATION SECTION. ...] [INPUT-OUTPUT SECTION. ...]
 * opt_environment_division: DIVISION_ENVIRONMENT or a null value; the
 * program rules (program.y) set it into PROG_ENVIR_DIV.
 * Owned by the identification/environment/data family; a stub until then.   */
opt_environment_division
    : /* empty */
    ;
