// The data map listing: for every data section and file description of a
// laid-out tree a fixed-width table of its entries with their PICTURE,
// category, USAGE, offsets and lengths, read from the results the data
// layout stored in the tree. Nothing in the tree changes.
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"

class DovExpr;

// Prints one block per SECTION_WORKING_STORAGE, SECTION_LOCAL_STORAGE,
// SECTION_LINKAGE and DECL_FD of `root`, in walk order. The walk's result.
int DovPrintDataMap(std::ostream& out, DovExpr* root);

// The rows of a subtree: a DECL_DD_LIST, a DECL_DD holder or an entry;
// `depth` is the depth of the list's elements minus one.
void PrintDataMapRow(std::ostream& out, DovExpr* node, int depth);

// `text` with blanks appended up to `width`; a longer text stays as it is.
VString PadRight(const VString& text, int width);
