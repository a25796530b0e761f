#include "tree/oper.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <istream>
#include <ostream>

namespace {

const char kBadOp[] = "bad-op";

// Where each catalogue operation's rows begin in the slot-name table (the
// rows of code c are [first[c], first[c + 1])), and whether any of them is
// derived; built on first use.
struct ArgRowIndex {
    int first[kDovOperCatalogueSize + 1];
    bool anyDerived[kDovOperCatalogueSize];
    ArgRowIndex() {
        int row = 0;
        for (int c = 0; c <= kDovOperCatalogueSize; ++c) {
            while (row < kDovArgNameTableRows && DovArgNameTable[row].oper < c) ++row;
            first[c] = row;
        }
        for (int c = 0; c < kDovOperCatalogueSize; ++c) {
            anyDerived[c] = false;
            for (int r = first[c]; r < first[c + 1]; ++r)
                if (DovArgNameTable[r].oper == c && DovArgNameTable[r].derived) anyDerived[c] = true;
        }
    }
};

const ArgRowIndex& RowIndex() {
    static const ArgRowIndex index;
    return index;
}

// The row of an operation's slot, or null. The table is sorted by operation
// and slot, so a binary search finds the row a linear scan would; catalogue
// codes search only their own rows.
const DovArgNameEntry* FindArgRow(std::uint16_t code, int slot) {
    const int oper = static_cast<std::int16_t>(code);
    const DovArgNameEntry* begin = DovArgNameTable;
    const DovArgNameEntry* end = DovArgNameTable + kDovArgNameTableRows;
    if (oper >= 0 && oper < kDovOperCatalogueSize) {
        const ArgRowIndex& index = RowIndex();
        begin = DovArgNameTable + index.first[oper];
        end = DovArgNameTable + index.first[oper + 1];
    }
    const DovArgNameEntry* row =
        std::lower_bound(begin, end, std::pair<int, int>(oper, slot),
                         [](const DovArgNameEntry& r, std::pair<int, int> k) {
                             return r.oper != k.first ? r.oper < k.first : r.slot < k.second;
                         });
    return row != end && row->oper == oper && row->slot == slot ? row : nullptr;
}

// Where the dictionary's slot records of each catalogue operation begin
// (they follow the operation's own record, in slot order), -1 for an
// operation without a record; built on first use.
struct SlotNameIndex {
    int first[kDovOperCatalogueSize];
    SlotNameIndex() {
        for (int& f : first) f = -1;
        for (int i = 0; i < kDovOperNameDictSize; ++i) {
            const DovNameDictEntry& e = DovOperNameDictionary[i];
            if (e.kind == NAME_KIND_OPER && e.value >= 0 && e.value < kDovOperCatalogueSize) first[e.value] = i + 1;
        }
    }
};

}  // namespace

const char* DovOperSlotName(std::uint16_t code, int slot) {
    static const SlotNameIndex index;
    if (!DovOperIsValid(code) || slot < 0 || index.first[code] < 0) return nullptr;
    const int at = index.first[code] + slot;
    if (at >= kDovOperNameDictSize) return nullptr;
    const DovNameDictEntry& e = DovOperNameDictionary[at];
    return e.kind == NAME_KIND_SLOT && e.value == slot ? e.name : nullptr;
}

const char* DovOperName(std::uint16_t code) {
    return DovOperIsValid(code) ? DovOperCatalogue[code].name : kBadOp;
}

const char* DovOperTemplate(std::uint16_t code) {
    return DovOperIsValid(code) ? DovOperCatalogue[code].printTemplate : kBadOp;
}

VString DovOperTemplateStr(std::uint16_t code) { return VString(DovOperTemplate(code)); }

int DovOperIsList(std::uint16_t code) { return DovOperIsValid(code) ? DovOperCatalogue[code].isList : 0; }

int DovOperIsEntryOrStatement(std::uint16_t code) {
    return DovOperIsValid(code) ? DovOperCatalogue[code].isStatement : 0;
}

int DovOperArgCount(std::uint16_t code) {
    return DovOperIsValid(code) ? DovOperCatalogue[code].argCount : -1;
}

void DovOperPutTic(std::uint16_t code, std::ostream& os) { VString(DovOperName(code)).PutTic(os, ':'); }

char DovOperGetTic(std::istream& is, DovOper& code, VString& message) {
    VString name;
    if (char r = name.GetTic(is, ':', message)) return r;
    // Entry 0 counts: a tree never holds it, but its name reads back.
    for (int i = 0; i < kDovOperCatalogueSize; ++i) {
        const char* candidate = DovOperCatalogue[i].name;
        if (std::strlen(candidate) == static_cast<std::size_t>(name.Len()) &&
            std::memcmp(candidate, name.CStr(), static_cast<std::size_t>(name.Len())) == 0) {
            code = static_cast<DovOper>(i);
            return 0;
        }
    }
    message = DovFormat("DovOperGetTic: oper '%s' not found", name.CStr());
    return ':';
}

VString DovOperArgName(std::uint16_t code, int slot, int* noName, const char* format) {
    if (const DovArgNameEntry* row = FindArgRow(code, slot)) {
        if (noName) *noName = 0;
        return VString(row->name);
    }
    if (noName) *noName = 1;
    return DovFormat(format ? format : "No. %d in Operation %s", slot, DovOperName(code));
}

int DovOperArgIsDerived(std::uint16_t code, int slot) {
    const int oper = static_cast<std::int16_t>(code);
    if (oper >= 0 && oper < kDovOperCatalogueSize && !RowIndex().anyDerived[oper]) return 0;
    const DovArgNameEntry* row = FindArgRow(code, slot);
    return row ? row->derived : 0;
}

int DovOperNameLookup(const VString& text, int* kind) {
    const char* s = text.CStr();
    const int len = text.Len();
    bool digits = true;
    for (int i = 0; i < len && digits; ++i) digits = s[i] >= '0' && s[i] <= '9';
    if (digits) {
        // A number too large for an int stays at INT_MAX rather than wrapping
        // into some unrelated (possibly valid) code.
        long long value = 0;
        for (int i = 0; i < len; ++i) value = std::min<long long>(value * 10 + (s[i] - '0'), INT_MAX);
        if (kind) *kind = NAME_KIND_NUMBER;
        return static_cast<int>(value);
    }
    for (const DovNameDictEntry& e : DovOperNameDictionary) {
        if (e.value == TIC_LAST_CODE) break;  // the end marker is never found
        if (std::strlen(e.name) == static_cast<std::size_t>(len) &&
            std::memcmp(e.name, s, static_cast<std::size_t>(len)) == 0) {
            if (kind) *kind = e.kind;
            return e.value;
        }
    }
    if (kind) *kind = NAME_KIND_NONE;
    return -1;
}
