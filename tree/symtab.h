// Symbol tables: a SYMBOL_TABLE_ELT_LIST node in argument 6 of every
// COBOL_PROGRAM (and argument 3 of the COBOL_FILE) holding one
// SYMBOL_TABLE_ELT per distinct name, in strictly ascending byte order of the
// names (but while a parser builds the program: SymTabDeferOrder below).
#pragma once

#include "lbase/vstring.h"
#include "tree/named.h"

// The argument slots that hold symbol tables.
constexpr int kDovProgSymbolTableArg = 6;  // of COBOL_PROGRAM
constexpr int kDovFileSymbolTableArg = 3;  // of COBOL_FILE

// The element named `name`, or null. `*index` (when given) receives the
// element's index, or the index at which an element of that name belongs.
DovSymTabElt* SymTabFind(DovExpr* table, const VString& name, int* index = nullptr);

// As SymTabFind, with `index` set only when the name is absent (where to
// insert it: the end while the table defers its order). An element the
// name index finds needs no search of the slots for its own index.
DovSymTabElt* SymTabFindOrPlace(DovExpr* table, const VString& name, int& index);

// Inserts `elt` at its sorted place (at the end while the table defers its
// order). A name already in the table is reported and nothing is inserted;
// the caller keeps `elt`.
void DovSymTabAddElt(DovExpr* table, DovSymTabElt* elt);

// Inserts `elt` at `index`, which must come from a failed SymTabFind (or
// SymTabFindOrPlace) of the element's name in the same table.
void SymTabInsertAt(DovExpr* table, DovSymTabElt* elt, int index);

// The element named `name`, added with category 0 when absent.
DovSymTabElt* SymTabFindOrAdd(DovExpr* table, const VString& name);

// A new element named `name`, or NAME-1, NAME-2, ... when that is taken.
DovSymTabElt* SymTabAddUnique(const VString& name, DovNameCategory category, DovExpr* table);

// The table that holds the element of a NAMED_OBJ_DEF.
DovExpr* SymTabForDef(DovExpr* def);

// The symbol table of the COBOL_PROGRAM that is `node` or encloses it.
DovExpr* SymTabForExpr(DovExpr* node);

// The table of `holder`: argument 3 of a COBOL_FILE, argument 6 of anything
// else (a COBOL_PROGRAM); null when that slot holds no SYMBOL_TABLE_ELT_LIST.
DovExpr* SymTabOfHolder(DovExpr* holder);

// The table a name at `node` belongs in: that of the nearest COBOL_PROGRAM,
// or, outside every program, that of the COBOL_FILE; null when that holder
// has none.
DovExpr* SymTabAround(DovExpr* node);

// True when `program`'s table has an element `name` with a definition.
bool SymTabIsDefined(const VString& name, DovExpr* program);

// Takes a NAMED_OBJ_DEF out of its element's "References"; an element left
// without references is removed from its table and deleted.
void SymTabDeleteDef(DovExpr* def);

// A new NAMED_OBJ_DEF for `name`, entered in the table of `holder` (a
// COBOL_PROGRAM or the COBOL_FILE) but not placed in the tree. With
// `unique`, a taken name gets a numeric suffix.
DovNamedObjDef* DovMakeNamedObjDef(const VString& name, DovNameCategory category, bool unique, DovExpr* holder);

// Renames `elt` to `name`, or to the name with a suffix -1, -2, ... (at most
// 30 characters) when an element already carries it; `name` receives the
// name given. The element moves to its sorted place.
void SymTabRenameEltUnique(DovExpr* elt, VString& name);

// While a parser builds a program, new names may go to the end of `table`
// and the slots stay out of order (the lookups here answer all the same)
// until SymTabSettleOrder sorts them and ends that: nothing outside these
// functions may read the order of the slots meanwhile.
void SymTabDeferOrder(DovExpr* table);
void SymTabSettleOrder(DovExpr* table);

// Moves `elt` to its sorted place in its table after its name changed.
void DovSymTabResort(DovSymTabElt* elt);
