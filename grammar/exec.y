/* ==== EXEC blocks ==============================================================================
 * exec_stmt: the statement node of an EXEC SQL / EXEC CICS / other EXEC block.
 * Owned by the EXEC/SQL family (SQL rules in sql.y, CICS rules in cics.y).
 * Placeholder until then: RW__SPARE_2 is a code no word has, so the
 * alternative never matches; replace it with the family's rules.             */
exec_stmt
    : RW__SPARE_2
    ;
