/* ---- DATA DIVISION ------------------------------------------------------------------------
 * [DATA DIVISION.] [FILE SECTION. ...] [WORKING-STORAGE SECTION. ...] ...
 * opt_data_division: DIVISION_DATA or a null value; the program rules
 * (program.y) set it into PROG_DATA_DIV.
 * Owned by the identification/environment/data family; a stub until then.   */
opt_data_division
    : /* empty */
    ;
