/* ==== Embedded SQL =============================================================================
 * Nonterminals start with sql_. Owned by the EXEC/SQL family; reached from
 * exec_stmt (exec.y).                                                        */
