#include "tests/parser/layout_laws.h"

#include "parser/data_layout.h"
#include "parser/data_slots.h"
#include "tree/tree.h"

using namespace dov_data_slots;

namespace vemlo_test {

namespace {

constexpr long long kNone = -999999;

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

long long Number(const DovExpr* node, int slot) {
    const DovExpr* n = DovArgOrNull(node, slot);
    return n && n->Oper() == INT_NUM_CONST ? n->IntValue() : kNone;
}

bool Known(long long v) { return v != kNone && v != kDovLayoutUnknown; }

std::string NameOf(const DovExpr* entry) {
    const DovExpr* name = DovArgOrNull(entry, kDdDataName);
    if (!name || name->Oper() == NULL_NODE) return "(noname)";
    if (name->Oper() == EX_FILLER) return "FILLER";
    return name->Image().CStr();
}

bool IsDataHolder(const DovExpr* h) {
    return h && h->Oper() == DECL_DD && DovArgOrNull(h, kHolderEntry) &&
           DovArgOrNull(h, kHolderEntry)->Oper() == DECL_DD_ENTRY;
}

// The members of a holder that are data entries with storage of their own:
// a 66 entry (placed as a member of its record) only names storage of the
// other members.
std::vector<DovExpr*> Members(const DovExpr* holder) {
    std::vector<DovExpr*> members;
    const DovExpr* sub = DovArgOrNull(holder, kHolderArgs);
    if (Absent(sub)) return members;
    for (int i = 0; i < sub->NumArgs(); ++i) {
        const DovExpr* h = DovArgOrNull(sub, i);
        if (IsDataHolder(h) && Number(h->Args(kHolderEntry), kDdLevel) != 66)
            members.push_back(h->Args(kHolderEntry));
    }
    return members;
}

// The number of elements a table has room for when its count is a literal:
// the upper bound, whatever the lower one; 1 without OCCURS; kNone when it is
// no literal.
long long Occurrences(const DovExpr* entry) {
    const DovExpr* occurs = DovArgOrNull(entry, kDdOccurs);
    if (Absent(occurs)) return 1;
    const DovExpr* times = DovArgOrNull(occurs, kOccursTimes);
    if (Absent(times)) return 1;
    if (times->Oper() == INT_NUM_CONST) return times->IntValue();
    if (times->Oper() == EX_INT_CONST_RANGE) {
        const DovExpr* b = DovArgOrNull(times, 1);
        if (b && b->Oper() == INT_NUM_CONST) return b->IntValue();
    }
    return kNone;
}

// Checks a table's length against its element length; the element length
// (or the item's length without OCCURS); kNone when unknown.
long long ElementLength(const DovExpr* entry, LayoutLawReport& report) {
    const long long length = Number(entry, kDdLength);
    if (Absent(DovArgOrNull(entry, kDdOccurs))) return Known(length) ? length : kNone;
    const long long high = Occurrences(entry);
    const long long element = Number(DovArgOrNull(entry, kDdOccurs), kOccursEltLength);
    if (high == kNone || !Known(element) || !Known(length)) return kNone;
    if (length != element * high)
        report.violations.push_back(NameOf(entry) + ": table length " + std::to_string(length) + " is not " +
                                    std::to_string(element) + " x " + std::to_string(high));
    return element;
}

void CheckElementary(const DovExpr* entry, LayoutLawReport& report) {
    int usage = 0, sync = 0, sign = 0, separate = 0;
    DovInheritedDataAttrs(const_cast<DovExpr*>(entry), usage, sync, sign, separate);
    const DovExpr* picture = DovArgOrNull(entry, kDdPicture);
    if (usage != DU_DISPLAY || Absent(picture) || !DovArgOrNull(picture, 0)) return;
    VString unrolled, error;
    int category = 0, size = 0, digits = 0;
    if (DovPicCategory(picture->Args(0)->Image(), unrolled, category, size, digits, const_cast<DovExpr*>(entry),
                       error, DovPicSymbolsOf(entry)) != 0)
        return;
    const long long element = ElementLength(entry, report);
    if (element == kNone) {
        ++report.skipped;
        return;
    }
    ++report.elementary;
    const long long expected = size + (unrolled.HasChar('S') && separate ? 1 : 0);
    if (element != expected)
        report.violations.push_back(NameOf(entry) + ": length " + std::to_string(element) + " but PIC " +
                                    picture->Args(0)->Image().CStr() + " holds " + std::to_string(expected));
}

void CheckGroup(const DovExpr* entry, const std::vector<DovExpr*>& members, LayoutLawReport& report) {
    // Members laid end to end; a block is a member with the members that
    // redefine it right after it.
    long long sum = 0;
    long long block = kNone;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const DovExpr* m = members[i];
        const long long length = Number(m, kDdLength);
        if (!Known(length)) {
            ++report.skipped;
            return;
        }
        if (Absent(DovArgOrNull(m, kDdRedefines))) {
            if (block != kNone) sum += block;
            block = length;
        } else if (block != kNone && length > block) {
            // Counts only when a member that redefines nothing follows.
            bool later = false;
            for (std::size_t j = i + 1; j < members.size() && !later; ++j)
                later = Absent(DovArgOrNull(members[j], kDdRedefines));
            if (later) block = length;
        }
    }
    if (block != kNone) sum += block;
    const long long element = ElementLength(entry, report);
    if (element == kNone) {
        ++report.skipped;
        return;
    }
    ++report.groups;
    if (element != sum)
        report.violations.push_back(NameOf(entry) + ": group length " + std::to_string(element) +
                                    " but its members add up to " + std::to_string(sum));
}

// The parts of a program that the layout lays out.
bool IsLaidOutPart(int op) {
    return op == SECTION_WORKING_STORAGE || op == SECTION_LOCAL_STORAGE || op == SECTION_LINKAGE || op == DECL_FD;
}

// Checks the records below the laid-out parts; entries elsewhere (the
// predefined DEBUG-ITEM record of the file) and hidden records (the EXEC
// interface block put into LINKAGE) have no layout.
void Visit(const DovExpr* node, LayoutLawReport& report, bool laidOut) {
    if (!node) return;
    const int op = node->Oper();
    if (op == DIVISION_PROCEDURE || op == SYMBOL_TABLE_ELT_LIST || op == DECL_DD_HIDDEN) return;
    laidOut = laidOut || IsLaidOutPart(op);
    if (laidOut && op == DECL_DD && IsDataHolder(node)) {
        const DovExpr* entry = node->Args(kHolderEntry);
        const long long level = Number(entry, kDdLevel);
        if (level != 66 && level != 78 && level != 88) {
            const std::vector<DovExpr*> members = Members(node);
            if (members.empty())
                CheckElementary(entry, report);
            else
                CheckGroup(entry, members, report);
        }
    }
    for (int i = 0; i < node->NumArgs(); ++i) Visit(DovArgOrNull(node, i), report, laidOut);
}

}  // namespace

LayoutLawReport CheckLayoutLaws(DovExpr* root) {
    LayoutLawReport report;
    Visit(root, report, false);
    return report;
}

}  // namespace vemlo_test
