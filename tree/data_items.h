// Data items that no source line declares: tables of rows with depths turned
// into nested data description entries, single data items and 78-level
// constants, and two small builders for data entries and MOVE statements.
#pragma once

#include "lbase/vstring.h"
#include "tree/named.h"

// One row of a table of data items; a row with a null name ends the table.
struct DovDataItemRow {
    int depth;            // 0 at the top, 1 under the previous depth-0 row, ...
    int level;            // COBOL level number (1, 5, 77, ...)
    const char* name;     // data name; null ends the table
    const char* picture;  // PIC string; null or empty for none
    int usage;            // a DU_ operation code; DU_NONE for no USAGE node
    DovExpr* value;       // literal of the VALUE clause (taken over), or null
};

// Result of a refused table.
constexpr int kDovDataItemNestingError = 43;
// Lists saved while rows nest: at most this many levels below the top.
constexpr int kDovDataItemMaxNesting = 30;

// Declares `rows` into `list` (a DECL_DD_LIST), nesting each row under the
// last one of the depth above; names go into the symbol table of
// `symbolHolder` (the COBOL_FILE or a COBOL_PROGRAM). With `hideTopLevel`,
// depth-0 holders become DECL_DD_HIDDEN. 0 at the end row; 43 with a text in
// `message` when a row's depth does not fit, in which case that row and the
// rest are not declared (their values stay with the caller).
int DovDeclDataItemHierarchy(DovExpr* list, const DovDataItemRow* rows, int hideTopLevel, DovExpr* symbolHolder,
                             VString& message);

// A new DECL_DD holder of a data description entry: level, name (category
// data-name), and PICTURE, USAGE and VALUE clauses when given (`usage` and
// `value` are taken over). `def` receives the name's definition. With
// `unique`, a taken name is entered as NAME-1, NAME-2, ...; without, its
// element is shared and becomes a data-name.
DovExpr* DovDeclDataItem(DovNamedObjDef*& def, int level, const VString& name, int unique, const VString& picture,
                         DovExpr* usage, DovExpr* value, DovExpr* symbolHolder);

// A new DECL_DD holder of a 78-level constant entry; the name is entered as a
// constant-name under its first free spelling (NAME, NAME-1, ...). `value`
// (taken over) may be null.
DovExpr* DovDeclConstant(DovNamedObjDef*& def, const VString& name, DovExpr* value, DovExpr* symbolHolder);

// Appends `entry` to the DECL_DD_LIST of the section of operation
// `sectionOper` in slot `sectionSlot` of the DATA DIVISION of `program`,
// making the division, the section and the list when missing. 0; 1 with a
// report when the program or the slot cannot hold them (the caller keeps
// `entry`).
int DovAddDataEntry(DovExpr* entry, int sectionSlot, DovOper sectionOper, DovExpr* program);

// A new MOVE source TO target.
DovExpr* DovMakeMove(DovExpr* source, DovExpr* target);
