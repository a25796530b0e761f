// Argument slots of the data description nodes that the data layout and the
// data map read and fill (the slot order of the operation catalogue).
#pragma once

namespace dov_data_slots {

// DECL_DD and DECL_DD_HIDDEN holders.
constexpr int kHolderEntry = 0;
constexpr int kHolderArgs = 1;

// DECL_DD_ENTRY.
constexpr int kDdLevel = 0;
constexpr int kDdDataName = 2;
constexpr int kDdRedefines = 3;
constexpr int kDdPicture = 4;
constexpr int kDdUsage = 5;
constexpr int kDdSign = 8;
constexpr int kDdSynchronized = 9;
constexpr int kDdRenames = 12;
constexpr int kDdOccurs = 13;
constexpr int kDdValue = 14;
constexpr int kDdCategory = 16;
constexpr int kDdLength = 17;
constexpr int kDdOffsetLocal = 18;
constexpr int kDdOffset01 = 19;
constexpr int kDdOffsetGlobal = 20;

// DX_OCCURS.
constexpr int kOccursTimes = 0;
constexpr int kOccursDepending = 1;
constexpr int kOccursEltLength = 4;

// EX_RENAMES_THRU.
constexpr int kRenamesFrom = 0;
constexpr int kRenamesTo = 1;

// DECL_COND_ENTRY.
constexpr int kCondLevel = 0;
constexpr int kCondName = 2;
constexpr int kCondValue = 3;

// DECL_CONST_ENTRY.
constexpr int kConstLevel = 0;
constexpr int kConstName = 2;
constexpr int kConstValue = 3;
constexpr int kConstValueCompd = 5;

// Sections, file descriptions and programs.
constexpr int kSectionEntries = 0;
constexpr int kFdEntry = 0;
constexpr int kFdRecords = 1;
constexpr int kFdFileName = 1;
constexpr int kProgDataDiv = 2;

// From a program down to its SPECIAL-NAMES clauses.
constexpr int kProgEnvirDiv = 1;
constexpr int kEnvirConfigSection = 1;
constexpr int kConfigSpecialNames = 3;
constexpr int kSpecialNamesCurrency = 5;
constexpr int kSpecialNamesDecimalPoint = 6;

}  // namespace dov_data_slots
