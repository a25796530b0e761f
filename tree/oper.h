// The operation catalogue: per operation code its names, flags, argument
// count, fixed-order clause count and print template; the name dictionary of
// operation and slot names; and the display names of the argument slots.
// The tables are constant data generated from tree/operations.def.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "generated/tree/oper_enum.h"
#include "lbase/vstring.h"

// One record of the catalogue; the record of code c is DovOperCatalogue[c].
struct DovOperInfo {
    std::uint16_t code;
    const char* name;           // enumerator name, "COBOL_PROGRAM"
    const char* displayName;    // "Cobol Program"; null for entry 0
    const char* printTemplate;  // template of the pretty printer; null for entry 0
    std::int32_t isList;        // 1: any number of arguments, no slots of its own
    std::int32_t isStatement;   // 1: statement, description entry or statement phrase
    std::int32_t argCount;      // number of argument slots; -1 for an undefined code
    std::int32_t fixedOrder;    // leading slots in fixed order, the rest clauses in any order; -1: all
};

extern const DovOperInfo DovOperCatalogue[kDovOperCatalogueSize];

// Kinds of DovOperNameLookup and of the dictionary's records.
enum DovNameKind : int {
    NAME_KIND_NONE = 0,    // not found
    NAME_KIND_OPER = 1,    // operation name, value = its code
    NAME_KIND_SLOT = 2,    // slot name, value = the slot index in its operation
    NAME_KIND_NUMBER = 3,  // decimal digits, value = the number
};

// One record of the name dictionary. A slot record belongs to the nearest
// operation record before it.
struct DovNameDictEntry {
    std::int32_t value;
    const char* name;
    std::int32_t kind;
};

// "TIC_FIRST_CODE", then each defined operation followed by its slots in
// index order, last "TIC_LAST_CODE". All names are distinct.
extern const DovNameDictEntry DovOperNameDictionary[kDovOperNameDictSize];

// One row of the slot display-name table.
struct DovArgNameEntry {
    std::int16_t oper;
    std::int16_t slot;
    std::int16_t derived;  // 1: the system fills the slot, it holds no source text
    const char* name;      // null in the end row
};

// One row per slot of each operation, sorted by operation and slot, then an
// end row.
extern const DovArgNameEntry DovArgNameTable[kDovArgNameTableRows + 1];

// Every accessor takes the code as an unsigned 16-bit number; codes outside
// 1..1400 (entry 0 and TIC_LAST_CODE included) are invalid and give "bad-op",
// 0 or -1.
inline bool DovOperIsValid(std::uint16_t code) {
    return static_cast<std::uint16_t>(code - 1) < kDovOperCatalogueSize - 1;
}

// The begin and end nodes of a copybook (COPY or SQL INCLUDE) read in line.
inline bool DovIsCopyBegin(std::uint16_t code) {
    return code == STMT_INLINED_COPY_BEG || code == STMT_INLINED_INCLUDE_BEG;
}
inline bool DovIsCopyEnd(std::uint16_t code) {
    return code == STMT_INLINED_COPY_END || code == STMT_INLINED_INCLUDE_END;
}

const char* DovOperName(std::uint16_t code);
const char* DovOperTemplate(std::uint16_t code);
VString DovOperTemplateStr(std::uint16_t code);
int DovOperIsList(std::uint16_t code);
int DovOperIsEntryOrStatement(std::uint16_t code);
int DovOperArgCount(std::uint16_t code);

// TIC form of an operation: its enumerator name as a ':'-delimited string.
void DovOperPutTic(std::uint16_t code, std::ostream& os);
// Reads a name written by DovOperPutTic. 0 and the code on success; the
// reader's result character, or ':' with "DovOperGetTic: oper '%s' not found"
// in `message` for an unknown name.
char DovOperGetTic(std::istream& is, DovOper& code, VString& message);

// Display name of a slot. Without one, `*noName` (when given) is set to 1 and
// the result is `format` (default "No. %d in Operation %s") filled with the
// slot and the operation's name; with one it is set to 0.
VString DovOperArgName(std::uint16_t code, int slot, int* noName = nullptr, const char* format = nullptr);
// The name of a slot in the name dictionary (the name a query writes in
// ARG(...)), or null for a slot that has none: a list element, a slot past
// the operation's fixed ones, an unknown code.
const char* DovOperSlotName(std::uint16_t code, int slot);
// 1 for a derived slot, 0 for any other or unknown slot.
int DovOperArgIsDerived(std::uint16_t code, int slot);

// Value of an operation or slot name, or of a decimal number; the kind goes
// to `*kind` when given (DovNameKind). Unknown names give -1 and kind 0.
int DovOperNameLookup(const VString& text, int* kind = nullptr);
