// The data layout: storage lengths and offsets of the data description
// entries of a parsed tree, stored in the tree itself as INT_NUM_CONST nodes
// (DD_LENGTH, DD_OFFSET_01, DD_OFFSET_LOCAL, DD_OFFSET_GLOBAL, DD_CATEGORY,
// DX_OCCURS__ELT_LENGTH and, for 78-level constants, DDCONST_VALUE_COMPD).
// A number that cannot be computed is stored as kDovLayoutUnknown.
#pragma once

#include <cstdint>

#include "tree/pic.h"

class DovExpr;
class DovTokenList;

// The stored value of a length or offset that cannot be computed.
constexpr std::int64_t kDovLayoutUnknown = -2;

// The settings of one layout run, taken from the parser options.
struct DovLayoutSettings {
    int storageMode = 1;        // 1 byte, 2 word, 3 fsc
    int trailingSepSign = 0;
    int pointerSize = 4;
    int procPointerSize = 4;
    int indexSize = 4;
    int unfoldFlexArrays = 1;
};

// Lays out every data section and file description of every program of
// `root` (nested programs included); messages are appended to `messages`.
// The three switches ask for DD_OFFSET_LOCAL, DD_OFFSET_GLOBAL and the
// values of 78-level constants. Always 0. Running it twice gives the same
// results.
int DovCalcLengthsAndOffsets(DovExpr* root, DovTokenList* messages, int localOffsets, int globalOffsets,
                             int constantValues, const DovLayoutSettings& settings);

// Lays out a DECL_DD_LIST, a DECL_DD holder or a DECL_DD_ENTRY with the
// current run state (the offset carried on from the item before).
void DovCalcDataOffsets(DovExpr* node, const DovLayoutSettings& settings);

// The PICTURE symbols in force at `node`: those of the SPECIAL-NAMES
// paragraph of the nearest program around it that has one (a contained
// program without one uses its container's), else the defaults. A CURRENCY
// SIGN literal that is not one character long is left out.
DovPicSymbols DovPicSymbolsOf(const DovExpr* node);

// Storage length of an elementary item; aligns the run's current offset
// for a synchronized item and sets DD_CATEGORY.
std::int64_t ElementaryItemLength(DovExpr* entry, const DovLayoutSettings& settings);

// Bytes of a binary item of `digits` digits in storage mode `mode`.
int BinaryItemSize(int digits, bool isSigned, int mode);

// The evaluator of constant expressions (also installed as the tree
// library's DovCalcValueExpr): a new INT_NUM_CONST owned by the caller, or
// null when no value can be computed (a missing name, an unknown length, a
// division by zero, an overflow, a constant defined through itself).
DovExpr* DovLayoutCalcValueExpr(DovExpr* node);

// Installs DovLayoutCalcValueExpr as the tree library's DovCalcValueExpr.
// Done at start-up and by every layout run; callable again at any time.
void DovInstallLayoutHooks();

// The DECL_DD_ENTRY whose data name is the definition that `use` (a
// NAMED_OBJ_USE) is resolved to: mode 1 among the holders of the list that
// holds `entry`'s holder, mode 0 anywhere below that list. Null otherwise.
DovExpr* DovFindDefInGroup(DovExpr* entry, DovExpr* use, int mode);

// The entry at the end of `entry`'s REDEFINES chain; null when a target is
// missing or `entry` is no DECL_DD_ENTRY.
DovExpr* FollowRedefines(DovExpr* entry);

// The offset of `entry` inside its WORKING-STORAGE or LOCAL-STORAGE
// section, or inside its record in LINKAGE: 0 and the offset, or 1.
int DataItemGlobalOffset(DovExpr* entry, std::int64_t& offset);

// `base` when `node` lies in WORKING-STORAGE or LOCAL-STORAGE, else 0.
std::int64_t GlobalBaseFor(DovExpr* node, std::int64_t base);

// Gives a 66-level entry the offset and length of what it renames.
void ResolveRenames(DovExpr* entry);

// The data entry that the value NEXT of a 78-level entry follows, or null.
DovExpr* FindPrecedingEntry(DovExpr* constEntry);
// The last DECL_DD_ENTRY in a list, holder or entry, or null.
DovExpr* LastDataEntryIn(DovExpr* node);
// Whether every subordinate of a holder is a 78- or 88-level entry (an
// empty list too); false without a subordinate list.
bool HasOnlyConstSubordinates(DovExpr* holder);

// Trace switches of the layout (bits: 1 offsets, 2 global offsets, 4 NEXT
// search, 8 group search, 16 value expressions); 0, nothing sets it in the
// tool. Traces go to standard output.
extern int DovLayoutTraceMask;
