// The print-template table: the printer's built-in templates, one
// unconditional entry per operation code (its text the catalogue's template)
// and its conditional entries; and the generation table that a printer
// builds from it and from its optional primary table, through which a node
// finds the template it prints with.
#pragma once

#include "printer/print_template.h"

class DovExpr;
class DovPrettyPrinterImpl;

// Entries of default_table: the 1396 defined codes and 13 conditional entries.
constexpr int kDovDefaultTableSize = 1409;

// The built-in table (generated from tree/operations.def and
// printer/templates/conditional_templates.def). Entries stand in code order,
// a code's conditional entry right before its unconditional one; the codes
// 1396..1399 have none. Building a generation table writes zero into the
// entries' fromPrimary and next, so the array is not const.
extern PrintTemplate default_table[kDovDefaultTableSize];
extern const int default_table_size;

// Builds `printer`'s generation table afresh from default_table and its
// primary_table: 0; '1' when an entry carries a code outside 1..1400 (the
// table built so far stays installed). Messages go through
// DovExpr::AddError.
char RecomputeGenTable(DovPrettyPrinterImpl* printer);

// The first entry of the current printer's generation table that applies to
// `node`: 0 with the entry in `*entry`; '*' with "PrettyPrint: cannot find
// operation %s in the table" when none does (`*entry` is then the slot, or
// null for a code outside 1..1400 or a printer without a table).
char FindCGentry(PrintTemplate** entry, DovExpr* node);
