/* ==== Input-output, sort/merge, report writer, communication, ACCEPT/DISPLAY ============
 * io_stmt: the statement node. Owned by the input-output family.
 * Placeholder until then: RW__SPARE_1 is a code no word has, so the
 * alternative never matches; replace it with the family's statements.       */
io_stmt
    : RW__SPARE_1
    ;
