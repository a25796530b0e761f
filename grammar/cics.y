/* ==== Embedded CICS ============================================================================
 * Nonterminals start with cics_. Owned by the CICS family; reached from
 * exec_stmt (exec.y).                                                        */
