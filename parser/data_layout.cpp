#include "parser/data_layout.h"

#include <cstdarg>
#include <iostream>

#include "parser/data_slots.h"
#include "tree/data_attrs.h"
#include "tree/expr.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/pic.h"
#include "tree/token.h"
#include "tree/walk.h"

using namespace dov_data_slots;

int DovLayoutTraceMask = 0;

namespace {

constexpr std::int64_t kUnknown = kDovLayoutUnknown;
// Constants defined through other constants nest at most this deep; a
// deeper chain is taken for a cycle and has no value.
constexpr int kMaxValueDepth = 64;

// The state of one layout run; process-wide, like the run itself.
struct LayoutRun {
    DovLayoutSettings settings;
    DovTokenList* messages = nullptr;
    int localOffsets = 0;
    int globalOffsets = 0;
    int constantValues = 0;
    std::int64_t offset = 0;
    std::int64_t globalBase = 0;
    std::int64_t prevRecordLength = 0;
};
LayoutRun run;
int valueDepth = 0;

// ---- tracing ---------------------------------------------------------------

// Formats "%%", "%c" (int), "%d" (long long), "%s" (const char*) and "%D"
// (a line end and the dump of a node); any other conversion prints "?" and
// takes no argument.
void Trace(int bit, const char* format, ...) {
    if (!(DovLayoutTraceMask & bit)) return;
    va_list ap;
    va_start(ap, format);
    std::ostream& out = std::cout;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out << *p;
            continue;
        }
        switch (*++p) {
            case '%': out << '%'; break;
            case 'c': out << static_cast<char>(va_arg(ap, int)); break;
            case 'd': out << va_arg(ap, long long); break;
            case 's': {
                const char* s = va_arg(ap, const char*);
                out << (s ? s : "(null)");
                break;
            }
            case 'D': {
                const DovExpr* node = va_arg(ap, const DovExpr*);
                out << '\n';
                if (node)
                    node->Print(out);
                else
                    out << "(NULL)";
                break;
            }
            case '\0': out << '?'; --p; break;
            default: out << '?'; break;
        }
    }
    va_end(ap);
}

// The arguments of a trace are worked out only when its bit is on.
#define LAYOUT_TRACE(bit, ...)                                   \
    do {                                                         \
        if (DovLayoutTraceMask & (bit)) Trace((bit), __VA_ARGS__); \
    } while (0)

// ---- small helpers ------------------------------------------------------------

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

DovExpr* Arg(const DovExpr* node, int i) { return DovArgOrNull(node, i); }

bool IsHolder(const DovExpr* node) { return node && node->Oper() == DECL_DD; }
bool IsDataEntry(const DovExpr* node) { return node && node->Oper() == DECL_DD_ENTRY; }
bool IsUnknown(std::int64_t v) { return v == kUnknown; }

int LevelOf(const DovExpr* entry) {
    const DovExpr* level = Arg(entry, kDdLevel);
    return level && level->Oper() == INT_NUM_CONST ? static_cast<int>(level->IntValue()) : 0;
}

void Message(int severity, DovExpr* at, const VString& text) {
    if (run.messages) run.messages->AddNewToken(severity, DovSrcPosnBeg(at), text);
}

// The number in slot `slot` of `node`: false when the slot is empty, holds a
// null node or no integer.
bool SlotNumber(const DovExpr* node, int slot, std::int64_t& value) {
    const DovExpr* n = Arg(node, slot);
    if (!n || n->Oper() != INT_NUM_CONST) return false;
    value = n->IntValue();
    return true;
}

// The number in a slot, kUnknown when missing.
std::int64_t SlotOrUnknown(const DovExpr* node, int slot) {
    std::int64_t v = kUnknown;
    return SlotNumber(node, slot, v) ? v : kUnknown;
}

// A "0" node in the slot when it is empty or holds a null node (or anything
// that is no integer).
void EnsureNumber(DovExpr* node, int slot) {
    if (!node || slot >= node->NumArgs()) return;
    DovExpr* n = Arg(node, slot);
    if (!n || n->Oper() != INT_NUM_CONST) node->SetArg(slot, new DovIntNumConst("0", 0), -1, 0);
}

void SetNumber(DovExpr* node, int slot, std::int64_t value) {
    EnsureNumber(node, slot);
    DovExpr* n = Arg(node, slot);
    if (!n) return;  // a node without such a slot
    if (n->IntValue() != value || n->Image().IsEmpty()) n->SetValue(static_cast<long long>(value));
}

void SetCategory(DovExpr* entry, int category) {
    if (!DovOperIsValid(static_cast<std::uint16_t>(category)) || entry->NumArgs() <= kDdCategory) return;
    DovExpr* old = Arg(entry, kDdCategory);
    if (old && old->Oper() == category && old->NumArgs() == 0) return;
    entry->SetArg(kDdCategory, new DovExprOper(static_cast<DovOper>(category)), -1, 0);
}

std::int64_t RoundUp(std::int64_t value, std::int64_t to) { return (value + to - 1) / to * to; }

// Sums and products that may not overflow: kUnknown instead.
std::int64_t Add(std::int64_t a, std::int64_t b) {
    if (IsUnknown(a) || IsUnknown(b)) return kUnknown;
    std::int64_t r = 0;
    return __builtin_add_overflow(a, b, &r) ? kUnknown : r;
}
std::int64_t Sub(std::int64_t a, std::int64_t b) {
    if (IsUnknown(a) || IsUnknown(b)) return kUnknown;
    std::int64_t r = 0;
    return __builtin_sub_overflow(a, b, &r) ? kUnknown : r;
}
std::int64_t Mul(std::int64_t a, std::int64_t b) {
    if (IsUnknown(a) || IsUnknown(b)) return kUnknown;
    std::int64_t r = 0;
    return __builtin_mul_overflow(a, b, &r) ? kUnknown : r;
}

// Moves the current offset on by `n`; an unknown length makes it unknown.
void Advance(std::int64_t n) {
    if (IsUnknown(run.offset)) return;
    run.offset = Add(run.offset, n);
}

// The live definition a NAMED_OBJ_USE links to, or null; never a report.
DovNamedObjDef* DefOfUse(DovExpr* use) {
    if (!use || use->Oper() != NAMED_OBJ_USE) return nullptr;
    DovExpr* target = use->Link().target;
    if (!DovIsLiveLinkedNode(target) || target->Oper() != NAMED_OBJ_DEF) return nullptr;
    return dynamic_cast<DovNamedObjDef*>(target);
}

// The entry declaring the definition behind a name use, or null.
DovExpr* EntryOfUse(DovExpr* use) {
    DovNamedObjDef* def = DefOfUse(use);
    return def ? def->Parent() : nullptr;
}

bool HasRedefines(const DovExpr* entry) { return IsDataEntry(entry) && !Absent(Arg(entry, kDdRedefines)); }

// The first subordinate holder of `list` whose entry is a data entry, and its
// index; null and -1 when there is none.
DovExpr* FirstDataHolder(DovExpr* list, int& index) {
    index = -1;
    if (Absent(list)) return nullptr;
    for (int i = 0; i < list->NumArgs(); ++i) {
        DovExpr* h = Arg(list, i);
        if (IsHolder(h) && IsDataEntry(Arg(h, kHolderEntry))) {
            index = i;
            return h;
        }
    }
    return nullptr;
}

bool IsElementary(DovExpr* holder) {
    DovExpr* sub = Arg(holder, kHolderArgs);
    int index = -1;
    if (Absent(sub) || !FirstDataHolder(sub, index)) return true;
    return HasOnlyConstSubordinates(holder);
}

// ---- elementary lengths -------------------------------------------------------

// The length of an elementary item by its USAGE. `probe` only aligns the
// current offset: no category is set and nothing is reported.
std::int64_t ItemLength(DovExpr* entry, const DovLayoutSettings& settings, bool probe) {
    int usage = DU_DISPLAY, sync = NULL_NODE, sign = NULL_NODE, signSeparate = 0;
    DovInheritedDataAttrs(entry, usage, sync, sign, signSeparate);

    int size = 0, digits = 0, category = NULL_NODE;
    bool isSigned = false;
    DovExpr* picture = Arg(entry, kDdPicture);
    if (!Absent(picture)) {
        DovExpr* text = Arg(picture, 0);
        VString pic = text && text->IsTerminal() ? text->Image() : VString();
        VString unrolled, error;
        int cat = NULL_NODE;
        int sz = 0, dg = 0;
        if (DovPicCategory(pic, unrolled, cat, sz, dg, entry, error, DovPicSymbolsOf(entry)) != 0) {
            if (!probe) Message(MSG_ERR, entry, error);
        } else {
            size = sz;
            digits = dg;
            category = cat;
            if (!probe) SetCategory(entry, category);
        }
        isSigned = unrolled.HasChar('S');
    }

    std::int64_t length = 0;
    int align = 1;
    const bool word = settings.storageMode == 2;
    const bool fsc = settings.storageMode == 3;
    switch (usage) {
        case DU_DISPLAY:
        case DU_DISPLAY_1:
        case DU_COMP_RM:
        case DU_COMP_2_ACU:
            length = size + ((isSigned && (signSeparate || settings.trailingSepSign)) ? 1 : 0);
            break;
        case DU_COMP_1:
            length = 4;
            align = 4;
            if (!probe) SetCategory(entry, PIC_INT_FLOAT);
            break;
        case DU_COMP_1_ACU:
        case DU_COMP_1_RM:
            length = 2;
            align = 2;
            if (!probe && Absent(Arg(entry, kDdCategory))) SetCategory(entry, PIC_NUM);
            break;
        case DU_COMP_2:
            length = 8;
            align = 8;
            if (!probe) SetCategory(entry, PIC_INT_FLOAT);
            break;
        case DU_COMP_3:
        case DU_PACKED_DECIMAL:
        case DU_COMP_6:
            // Two digits a byte; COMP-3 adds a half byte for the sign. Past
            // 31 digits no compiler stores the item, so its length is unknown.
            if (digits >= 1 && digits <= 31) {
                length = usage == DU_COMP_6 ? (digits + 1) / 2 : digits / 2 + 1;
            } else if (digits > 31) {
                length = kUnknown;
                if (!probe)
                    Message(MSG_WARN, entry,
                            DovFormat("Cannot compute length for %s field of %d digits: more than 31 digits. "
                                      "Length of this field is unknown.",
                                      DovOperName(static_cast<std::uint16_t>(usage)), digits));
            }
            break;
        case DU_BIT:
            length = 0;
            break;
        case DU_INDEX:
            length = settings.indexSize;
            align = 4;
            if (!probe) SetCategory(entry, DCAT_INDEX);
            break;
        case DU_POINTER:
            length = settings.pointerSize;
            align = 4;
            if (!probe) SetCategory(entry, DCAT_POINTER);
            break;
        case DU_PROC_POINTER:
            length = settings.procPointerSize;
            align = 4;
            if (!probe) SetCategory(entry, DCAT_PROC_POINTER);
            break;
        case DU_BINARY:
        case DU_COMP:
        case DU_COMP_0:
        case DU_COMP_4:
        case DU_COMP_5:
        case DU_COMP_X:
            length = category == PIC_NUM ? BinaryItemSize(digits, isSigned, settings.storageMode) : size;
            if (word)
                align = length <= 2 ? 2 : length <= 4 ? 4 : 8;
            else if (fsc)
                align = length <= 2 ? 2 : 4;
            break;
        default:
            length = 0;
            if (!probe)
                Message(MSG_ERR, entry,
                        DovFormat("Cannot compute length for %s field: not implemented. Length of this filed "
                                  "assumed to be 0 bytes.",
                                  DovOperName(static_cast<std::uint16_t>(usage))));
            break;
    }

    if (settings.storageMode != 1 && sync != NULL_NODE && align > 1) {
        const std::int64_t from = IsUnknown(run.offset) ? 0 : run.offset;
        const std::int64_t aligned = RoundUp(from, align);
        if (!IsUnknown(run.offset)) run.offset = aligned;
    }
    return length;
}

// The name of an entry for traces.
const char* NameOf(const DovExpr* entry) {
    const DovExpr* name = Arg(entry, kDdDataName);
    if (!name) return "(noname)";
    if (name->Oper() == EX_FILLER) return "FILLER";
    return name->IsTerminal() ? name->Image().CStr() : "(noname)";
}

// Step 4: an entry placed at the current offset.
void LayOutEntry(DovExpr* entry, const DovLayoutSettings& settings) {
    const std::int64_t n = ItemLength(entry, settings, false);
    SetNumber(entry, kDdLength, n);
    SetNumber(entry, kDdOffset01, run.offset);
    Advance(n);
    LAYOUT_TRACE(1, "offset %s level %d at %d length %d\n", NameOf(entry), (long long)LevelOf(entry),
          (long long)SlotOrUnknown(entry, kDdOffset01), (long long)n);
}

// The one character of a nonnumeric literal's image ("<", '''' ...), or 0
// when the literal does not stand for exactly one character.
char OneCharacterOf(const VString& image) {
    const int len = image.Len();
    if (len < 3) return 0;
    const char quote = image[0];
    if ((quote != '"' && quote != '\'') || image[len - 1] != quote) return 0;
    if (len == 3) return image[1] == quote ? 0 : image[1];
    if (len == 4 && image[1] == quote && image[2] == quote) return quote;
    return 0;
}

// The SPECIAL-NAMES paragraph of a COBOL_PROGRAM, or null.
const DovExpr* SpecialNamesOf(const DovExpr* program) {
    const DovExpr* envir = Arg(program, kProgEnvirDiv);
    const DovExpr* config = Absent(envir) ? nullptr : Arg(envir, kEnvirConfigSection);
    const DovExpr* names = Absent(config) ? nullptr : Arg(config, kConfigSpecialNames);
    return Absent(names) || names->Oper() != PARA_SPECIAL_NAMES ? nullptr : names;
}

}  // namespace

// ---- public helpers -------------------------------------------------------------

DovPicSymbols DovPicSymbolsOf(const DovExpr* node) {
    DovPicSymbols symbols;
    for (const DovExpr* n = node; n; n = n->Parent()) {
        if (n->Oper() != COBOL_PROGRAM) continue;
        const DovExpr* names = SpecialNamesOf(n);
        if (!names) continue;
        const DovExpr* currency = Arg(names, kSpecialNamesCurrency);
        const DovExpr* literal = Absent(currency) ? nullptr : Arg(currency, 0);
        if (literal && literal->IsTerminal())
            if (char c = OneCharacterOf(literal->Image())) symbols.currency = c;
        symbols.decimalComma = !Absent(Arg(names, kSpecialNamesDecimalPoint));
        break;
    }
    return symbols;
}

int BinaryItemSize(int digits, bool isSigned, int mode) {
    static const int kSigned[18] = {1, 1, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 7, 7, 8, 8};
    static const int kUnsigned[18] = {1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8};
    if (mode == 1) {
        if (digits < 1) return 0;
        if (digits > 18) return 8;
        return isSigned ? kSigned[digits - 1] : kUnsigned[digits - 1];
    }
    if (mode == 2 || mode == 3) {
        if (digits < 1) return 0;
        if (digits <= 4) return 2;
        if (digits <= 9) return 4;
        return 8;
    }
    return 0;
}

std::int64_t ElementaryItemLength(DovExpr* entry, const DovLayoutSettings& settings) {
    return ItemLength(entry, settings, false);
}

bool HasOnlyConstSubordinates(DovExpr* holder) {
    DovExpr* sub = Arg(holder, kHolderArgs);
    if (Absent(sub)) return false;
    for (int i = 0; i < sub->NumArgs(); ++i) {
        DovExpr* h = Arg(sub, i);
        DovExpr* e = IsHolder(h) ? Arg(h, kHolderEntry) : nullptr;
        if (!e || (e->Oper() != DECL_CONST_ENTRY && e->Oper() != DECL_COND_ENTRY)) return false;
    }
    return true;
}

DovExpr* LastDataEntryIn(DovExpr* node) {
    if (!node) return nullptr;
    switch (node->Oper()) {
        case DECL_DD_LIST:
            for (int i = node->NumArgs() - 1; i >= 0; --i)
                if (DovExpr* e = LastDataEntryIn(Arg(node, i))) return e;
            return nullptr;
        case DECL_DD: return LastDataEntryIn(Arg(node, kHolderEntry));
        case DECL_DD_ENTRY: return node;
        default: return nullptr;
    }
}

DovExpr* FindPrecedingEntry(DovExpr* constEntry) {
    DovExpr* holder = constEntry ? constEntry->Parent() : nullptr;
    DovExpr* list = holder ? holder->Parent() : nullptr;
    while (IsHolder(holder) && list && list->Oper() == DECL_DD_LIST) {
        if (holder != constEntry->Parent() && HasOnlyConstSubordinates(holder) &&
            IsDataEntry(Arg(holder, kHolderEntry)))
            return Arg(holder, kHolderEntry);
        for (int i = list->FindArg(holder) - 1; i >= 0; --i)
            if (DovExpr* e = LastDataEntryIn(Arg(list, i))) {
                LAYOUT_TRACE(4, "NEXT follows%D\n", e);
                return e;
            }
        DovExpr* up = list->Parent();
        if (!IsHolder(up)) break;
        holder = up;
        list = holder->Parent();
    }
    LAYOUT_TRACE(4, "NEXT follows nothing\n");
    return nullptr;
}

namespace {

DovExpr* FindBelow(DovExpr* node, const DovExpr* def) {
    if (!node) return nullptr;
    switch (node->Oper()) {
        case DECL_DD_LIST:
            for (int i = 0; i < node->NumArgs(); ++i)
                if (DovExpr* e = FindBelow(Arg(node, i), def)) return e;
            return nullptr;
        case DECL_DD:
        case DECL_DD_HIDDEN:
            if (DovExpr* e = FindBelow(Arg(node, kHolderEntry), def)) return e;
            return FindBelow(Arg(node, kHolderArgs), def);
        case DECL_DD_ENTRY: return Arg(node, kDdDataName) == def ? node : nullptr;
        default: return nullptr;
    }
}

}  // namespace

DovExpr* DovFindDefInGroup(DovExpr* entry, DovExpr* use, int mode) {
    DovNamedObjDef* def = DefOfUse(use);
    DovExpr* holder = entry ? entry->Parent() : nullptr;
    DovExpr* list = holder ? holder->Parent() : nullptr;
    if (!def || !list || list->Oper() != DECL_DD_LIST) return nullptr;
    DovExpr* found = nullptr;
    if (mode == 1) {
        for (int i = 0; i < list->NumArgs() && !found; ++i) {
            DovExpr* h = Arg(list, i);
            DovExpr* e = IsHolder(h) ? Arg(h, kHolderEntry) : nullptr;
            if (IsDataEntry(e) && Arg(e, kDdDataName) == def) found = e;
        }
    } else if (mode == 0) {
        found = FindBelow(list, def);
    }
    LAYOUT_TRACE(8, "group search for %s: %s\n", def->Image().CStr(), found ? "found" : "not found");
    return found;
}

DovExpr* FollowRedefines(DovExpr* entry) {
    // A chain longer than the entries of its list is a cycle.
    const DovExpr* holder = entry ? entry->Parent() : nullptr;
    const DovExpr* list = holder ? holder->Parent() : nullptr;
    const int limit = list ? list->NumArgs() + 1 : 1;
    for (int steps = 0; entry && steps <= limit; ++steps) {
        if (!IsDataEntry(entry)) return nullptr;
        DovExpr* redefines = Arg(entry, kDdRedefines);
        if (Absent(redefines)) return entry;
        DovExpr* next = DovFindDefInGroup(entry, Arg(redefines, 0), 1);
        if (next == entry) return nullptr;
        entry = next;
    }
    return nullptr;
}

std::int64_t GlobalBaseFor(DovExpr* node, std::int64_t base) {
    DovExpr* p = node;
    while (p && (p->Oper() == DECL_DD_LIST || p->Oper() == DECL_DD || p->Oper() == DECL_DD_ENTRY)) p = p->Parent();
    if (p && (p->Oper() == SECTION_WORKING_STORAGE || p->Oper() == SECTION_LOCAL_STORAGE)) return base;
    return 0;
}

int DataItemGlobalOffset(DovExpr* entry, std::int64_t& offset) {
    std::int64_t stored = 0;
    if (!Absent(Arg(entry, kDdOffsetGlobal)) && SlotNumber(entry, kDdOffsetGlobal, stored)) {
        if (IsUnknown(stored)) return 1;
        offset = stored;
        return 0;
    }
    std::int64_t off01 = 0;
    if (Absent(Arg(entry, kDdLength)) || !SlotNumber(entry, kDdOffset01, off01) || IsUnknown(off01)) return 1;

    DovExpr* record = nullptr;
    DovExpr* p = entry ? entry->Parent() : nullptr;
    while (p && (p->Oper() == DECL_DD_ENTRY || p->Oper() == DECL_DD || p->Oper() == DECL_DD_LIST)) {
        if (p->Oper() == DECL_DD) record = p;
        p = p->Parent();
    }
    if (!p || !record) return 1;
    if (p->Oper() == SECTION_LINKAGE) {
        offset = off01;
        return 0;
    }
    if (p->Oper() != SECTION_WORKING_STORAGE && p->Oper() != SECTION_LOCAL_STORAGE) return 1;

    DovExpr* recordEntry = Arg(record, kHolderEntry);
    if (HasRedefines(recordEntry)) {
        DovExpr* target = FollowRedefines(DovFindDefInGroup(recordEntry, Arg(Arg(recordEntry, kDdRedefines), 0), 1));
        if (!target) return 1;
        record = target->Parent();
    }
    DovExpr* list = record->Parent();
    const int k = list ? list->FindArg(record) : -1;
    if (k < 0) return 1;
    std::int64_t total = 0;
    for (int i = 0; i < k; ++i) {
        DovExpr* h = Arg(list, i);
        DovExpr* e = IsHolder(h) ? Arg(h, kHolderEntry) : nullptr;
        if (!IsDataEntry(e) || HasRedefines(e) || Absent(Arg(e, kDdLength))) continue;
        std::int64_t length = SlotOrUnknown(e, kDdLength);
        if (IsUnknown(length)) return 1;
        for (int j = i + 1; j < list->NumArgs(); ++j) {
            DovExpr* hj = Arg(list, j);
            DovExpr* ej = IsHolder(hj) ? Arg(hj, kHolderEntry) : nullptr;
            if (!HasRedefines(ej) || FollowRedefines(ej) != e) continue;
            std::int64_t lj = SlotOrUnknown(ej, kDdLength);
            if (!IsUnknown(lj) && lj >= length) length = lj;
        }
        total = RoundUp(Add(total, length), 8);
        if (IsUnknown(total) || total < 0) return 1;
    }
    const std::int64_t answer = Add(off01, total);
    if (IsUnknown(answer)) return 1;
    offset = answer;
    LAYOUT_TRACE(2, "global offset %d\n", (long long)answer);
    return 0;
}

void ResolveRenames(DovExpr* entry) {
    DovExpr* renames = Arg(entry, kDdRenames);
    DovExpr* thru = Arg(renames, 0);
    DovExpr* from = Arg(thru, kRenamesFrom);
    DovExpr* to = Arg(thru, kRenamesTo);
    if (!Absent(to)) {
        DovExpr* a = DovFindDefInGroup(entry, from, 0);
        DovExpr* b = DovFindDefInGroup(entry, to, 0);
        if (a && b) {
            const std::int64_t start = SlotOrUnknown(a, kDdOffset01);
            SetNumber(entry, kDdOffset01, start);
            SetNumber(entry, kDdLength,
                      Sub(Add(SlotOrUnknown(b, kDdOffset01), SlotOrUnknown(b, kDdLength)), start));
            return;
        }
        Message(MSG_ERR, entry, "Arguments of RENAMES THROUGH not found");
    } else {
        if (DovExpr* a = DovFindDefInGroup(entry, from, 0)) {
            SetNumber(entry, kDdOffset01, SlotOrUnknown(a, kDdOffset01));
            SetNumber(entry, kDdLength, SlotOrUnknown(a, kDdLength));
            return;
        }
        Message(MSG_ERR, entry, "Argument of RENAMES not found");
    }
    SetNumber(entry, kDdOffset01, run.offset);
    SetNumber(entry, kDdLength, 0);
}

// ---- constant values --------------------------------------------------------------

namespace {

bool ValueOf(DovExpr* node, std::int64_t& value) {
    // A literal needs no temporary copy.
    if (node && node->Oper() == INT_NUM_CONST) {
        value = node->IntValue();
        return true;
    }
    DovExpr* v = DovLayoutCalcValueExpr(node);
    if (!v) return false;
    value = v->IntValue();
    delete v;
    return true;
}

DovExpr* NewValue(std::int64_t value) {
    return new DovIntNumConst(DovFormat("%d", static_cast<int>(static_cast<std::int32_t>(value))), value);
}

DovExpr* Evaluate(DovExpr* node) {
    if (!node || node->Oper() == NAME_USE) return nullptr;
    if (node->Oper() == NAMED_OBJ_DEF) node = node->Parent();
    else if (node->Oper() == NAMED_OBJ_USE) node = EntryOfUse(node);
    if (!node) return nullptr;
    if (node->Oper() == DECL_CONST_ENTRY) {
        DovExpr* clause = Arg(node, kConstValue);
        node = Absent(clause) ? nullptr : Arg(clause, 0);
        if (Absent(node)) return nullptr;
    }
    LAYOUT_TRACE(16, "value of%D\n", node);

    const int op = node->Oper();
    switch (op) {
        case EX_VAL_NEXT: {
            DovExpr* c = node;
            while (c && c->Oper() != DECL_CONST_ENTRY) c = c->Parent();
            if (!c) return nullptr;
            DovExpr* before = FindPrecedingEntry(c);
            if (!before) return NewValue(0);
            std::int64_t offset = 0, length = 0;
            if (DataItemGlobalOffset(before, offset) != 0) return nullptr;
            if (!SlotNumber(before, kDdLength, length) || IsUnknown(length)) return nullptr;
            const std::int64_t sum = Add(offset, length);
            return IsUnknown(sum) ? nullptr : NewValue(sum);
        }
        case EX_VAL_START_OF: {
            DovExpr* e = EntryOfUse(Arg(node, 0));
            std::int64_t offset = 0;
            if (!IsDataEntry(e) || DataItemGlobalOffset(e, offset) != 0) return nullptr;
            return NewValue(offset);
        }
        case EX_VAL_LENGTH_OF: {
            DovExpr* e = EntryOfUse(Arg(node, 0));
            std::int64_t length = 0;
            if (!IsDataEntry(e) || !SlotNumber(e, kDdLength, length) || IsUnknown(length)) return nullptr;
            return Arg(e, kDdLength)->Copy();
        }
        case AR_ADD:
        case AR_SUB:
        case AR_MUL:
        case AR_DIV:
        case BIT_AND:
        case BIT_OR: {
            if (node->NumArgs() < 1) return nullptr;
            std::int64_t acc = 0;
            std::uint32_t bits = op == BIT_AND ? 0xffffffffu : 0u;
            for (int i = 0; i < node->NumArgs(); ++i) {
                std::int64_t v = 0;
                if (!ValueOf(Arg(node, i), v)) return nullptr;
                std::int64_t r = 0;
                bool overflow = false;
                if (i == 0 && op != BIT_AND && op != BIT_OR) {
                    acc = v;
                    continue;
                }
                switch (op) {
                    case AR_ADD: overflow = __builtin_add_overflow(acc, v, &r); break;
                    case AR_SUB: overflow = __builtin_sub_overflow(acc, v, &r); break;
                    case AR_MUL: overflow = __builtin_mul_overflow(acc, v, &r); break;
                    case AR_DIV:
                        overflow = v == 0 || (v == -1 && acc == INT64_MIN);
                        if (!overflow) r = acc / v;
                        break;
                    case BIT_AND: bits &= static_cast<std::uint32_t>(v); break;
                    default: bits |= static_cast<std::uint32_t>(v); break;
                }
                if (overflow) return nullptr;
                if (op != BIT_AND && op != BIT_OR) acc = r;
            }
            if (op == BIT_AND || op == BIT_OR) acc = static_cast<std::int32_t>(bits);
            return NewValue(acc);
        }
        case AR_UN_MINUS: {
            std::int64_t v = 0;
            if (!ValueOf(Arg(node, 0), v) || v == INT64_MIN) return nullptr;
            return NewValue(-v);
        }
        case AR_UN_PLUS:
        case OP_PARENS: {
            std::int64_t v = 0;
            if (!ValueOf(Arg(node, 0), v)) return nullptr;
            return NewValue(v);
        }
        case INT_NUM_CONST: return node->Copy();
        default:
            // Anything else (a string, a data item, a clause) has no
            // integer value.
            return nullptr;
    }
}

}  // namespace

DovExpr* DovLayoutCalcValueExpr(DovExpr* node) {
    if (valueDepth >= kMaxValueDepth) return nullptr;
    ++valueDepth;
    DovExpr* result = Evaluate(node);
    --valueDepth;
    return result;
}

void DovInstallLayoutHooks() { DovCalcValueExpr = DovLayoutCalcValueExpr; }

namespace {

// The tree library evaluates named PIC repeat counts from the start.
const bool kHooksInstalled = (DovInstallLayoutHooks(), true);

// ---- records and groups -------------------------------------------------------------

void LayOutHolder(DovExpr* holder, const DovLayoutSettings& settings);

// Every DECL_DD_ENTRY of a record gets its global offset.
void SetGlobalOffsets(DovExpr* node, std::int64_t base) {
    if (!node) return;
    switch (node->Oper()) {
        case DECL_DD_LIST:
            for (int i = 0; i < node->NumArgs(); ++i) SetGlobalOffsets(Arg(node, i), base);
            break;
        case DECL_DD:
            SetGlobalOffsets(Arg(node, kHolderEntry), base);
            SetGlobalOffsets(Arg(node, kHolderArgs), base);
            break;
        case DECL_DD_ENTRY: {
            std::int64_t off01 = kUnknown;
            const bool has = SlotNumber(node, kDdOffset01, off01);
            SetNumber(node, kDdOffsetGlobal, has ? Add(off01, base) : kUnknown);
            break;
        }
        default: break;
    }
}

// DD_OFFSET_LOCAL of every data entry of `list`, against the list's first.
void SetLocalOffsets(DovExpr* list) {
    int index = -1;
    DovExpr* first = FirstDataHolder(list, index);
    if (!first) return;
    const std::int64_t base = SlotOrUnknown(Arg(first, kHolderEntry), kDdOffset01);
    for (int i = index; i < list->NumArgs(); ++i) {
        DovExpr* h = Arg(list, i);
        DovExpr* e = IsHolder(h) ? Arg(h, kHolderEntry) : nullptr;
        if (IsDataEntry(e)) SetNumber(e, kDdOffsetLocal, Sub(SlotOrUnknown(e, kDdOffset01), base));
    }
}

// The members of a group after its first data member F (index `first`):
// the end mark M moves on with each member; a REDEFINES member only
// stretches it. What has no storage of its own (a 66 entry, which only
// renames members; a COPY or REPLACE marker) is laid out where the members
// before it left the offset and does not apply M: a longer REDEFINES member
// before it still does not lengthen the group.
void LayOutLaterMembers(DovExpr* sub, int first, const DovLayoutSettings& settings) {
    std::int64_t mark = run.offset;
    for (int i = first + 1; i < sub->NumArgs(); ++i) {
        DovExpr* h = Arg(sub, i);
        DovExpr* e = IsHolder(h) ? Arg(h, kHolderEntry) : nullptr;
        if (!IsDataEntry(e) || LevelOf(e) == 66) {
            DovCalcDataOffsets(h, settings);
        } else if (HasRedefines(e)) {
            LayOutHolder(h, settings);
            const std::int64_t end = Add(SlotOrUnknown(e, kDdOffset01), SlotOrUnknown(e, kDdLength));
            if (IsUnknown(mark) || IsUnknown(end))
                mark = kUnknown;
            else if (end > mark)
                mark = end;
        } else {
            run.offset = mark;
            DovCalcDataOffsets(h, settings);
            mark = run.offset;
        }
    }
}

void LayOutHolder(DovExpr* holder, const DovLayoutSettings& settings) {
    DovExpr* entry = Arg(holder, kHolderEntry);
    if (!entry) return;
    const int level = LevelOf(entry);
    if (entry->Oper() == DECL_COND_ENTRY || level == 88) return;
    if (entry->Oper() == DECL_CONST_ENTRY) {
        if (run.constantValues && Absent(Arg(entry, kConstValueCompd)))
            if (DovExpr* value = DovLayoutCalcValueExpr(entry)) entry->SetArg(kConstValueCompd, value, -1, 0);
        return;
    }
    if (!IsDataEntry(entry) || level == 78) return;

    EnsureNumber(entry, kDdOffset01);
    EnsureNumber(entry, kDdLength);
    if (run.localOffsets) EnsureNumber(entry, kDdOffsetLocal);

    // 3. OCCURS bounds.
    DovExpr* occurs = Arg(entry, kDdOccurs);
    const bool table = occurs && occurs->Oper() == DX_OCCURS;
    std::int64_t upper = 1;
    bool flexible = false;
    if (table) {
        DovExpr* times = Arg(occurs, kOccursTimes);
        if (!Absent(times)) {
            DovExpr* low = nullptr;
            DovExpr* high = times;
            if ((times->Oper() == EX_INT_CONST_RANGE || times->Oper() == EX_VALUE_RANGE ||
                 times->Oper() == EX_EXPR_RANGE) &&
                !Absent(Arg(times, 1))) {
                low = Arg(times, 0);
                high = Arg(times, 1);
            }
            std::int64_t lower = 1;
            if (low && !ValueOf(low, lower)) Message(MSG_ERR, entry, "Cannot compute lower bound for array");
            if (!ValueOf(high, upper)) {
                Message(MSG_ERR, entry, "Cannot compute upper bound for array");
                upper = 1;
            }
        }
        flexible = !Absent(Arg(occurs, kOccursDepending));
    }
    // A table has room for as many elements as its upper bound allows,
    // whatever its lower bound: OCCURS 2 TO 5 holds at most five.
    const std::int64_t times = upper < 0 ? 0 : upper;
    const bool unknownTable = flexible && !settings.unfoldFlexArrays;

    // 4. RENAMES.
    if (level == 66) {
        ResolveRenames(entry);
        return;
    }
    // 5. A record starts at 0.
    if (level == 1 || level == 77) run.offset = 0;

    // 6. REDEFINES.
    bool redefined = false;
    std::int64_t saved = 0;
    if (HasRedefines(entry)) {
        DovExpr* target = DovFindDefInGroup(entry, Arg(Arg(entry, kDdRedefines), 0), 1);
        if (target) {
            redefined = true;
            saved = run.offset;
            run.offset = SlotOrUnknown(target, kDdOffset01);
        } else {
            Message(MSG_ERR, entry, "No Argument for REDEFINES found in current context");
        }
    }

    DovExpr* sub = Arg(holder, kHolderArgs);
    if (IsElementary(holder)) {
        // 8, 9. An elementary item, maybe a table of them.
        LayOutEntry(entry, settings);
        if (table) {
            const std::int64_t w = ItemLength(entry, settings, true);
            std::int64_t t = Mul(w, times);
            if (unknownTable) {
                t = kUnknown;
                run.offset = kUnknown;
            }
            SetNumber(entry, kDdLength, t);
            if (!IsUnknown(run.offset) && !IsUnknown(w)) run.offset = IsUnknown(t) ? kUnknown : Add(run.offset, t - w);
            SetNumber(occurs, kOccursEltLength, w);
        }
        if (!Absent(sub))
            for (int i = 0; i < sub->NumArgs(); ++i) DovCalcDataOffsets(Arg(sub, i), settings);
    } else {
        // 10. A group.
        SetCategory(entry, DCAT_GROUP);
        int first = -1;
        DovExpr* f = FirstDataHolder(sub, first);
        DovExpr* fEntry = Arg(f, kHolderEntry);
        if (!table) {
            const bool wasUnknown = IsUnknown(run.offset);
            if (wasUnknown) run.offset = 0;
            SetNumber(entry, kDdOffset01, run.offset);
            DovCalcDataOffsets(f, settings);
            LayOutLaterMembers(sub, first, settings);
            SetNumber(entry, kDdLength, Sub(run.offset, SlotOrUnknown(entry, kDdOffset01)));
            if (wasUnknown) {
                run.offset = kUnknown;
                SetNumber(entry, kDdOffset01, kUnknown);
            }
        } else {
            DovCalcDataOffsets(f, settings);
            SetNumber(entry, kDdOffset01, SlotOrUnknown(fEntry, kDdOffset01));
            LayOutLaterMembers(sub, first, settings);
            // The slack after the last member that lets every occurrence
            // start aligned as its first member.
            std::int64_t w = ItemLength(fEntry, settings, true);
            const std::int64_t groupOffset = SlotOrUnknown(entry, kDdOffset01);
            if (!IsUnknown(run.offset) && !IsUnknown(groupOffset)) {
                w = run.offset - groupOffset;
                std::int64_t t = Mul(w, times);
                if (unknownTable) {
                    t = kUnknown;
                    run.offset = kUnknown;
                }
                SetNumber(entry, kDdLength, t);
                if (!IsUnknown(run.offset)) run.offset = IsUnknown(t) ? kUnknown : Add(run.offset, t - w);
            } else {
                w = kUnknown;
                SetNumber(entry, kDdLength, kUnknown);
            }
            SetNumber(occurs, kOccursEltLength, w);
        }
        for (int i = 0; i < first; ++i) DovCalcDataOffsets(Arg(sub, i), settings);
        if (run.localOffsets) SetLocalOffsets(sub);
    }

    // 11. A redefining item never moves the offset on.
    if (redefined) run.offset = saved;

    // 12. Global offsets of a record.
    if (run.globalOffsets && (level == 1 || level == 77)) {
        const std::int64_t length = SlotOrUnknown(entry, kDdLength);
        const std::int64_t rounded = IsUnknown(length) || length < 0 ? 0 : RoundUp(length, 8);
        if (HasRedefines(entry)) {
            if (rounded > run.prevRecordLength) run.prevRecordLength = rounded;
        } else {
            run.globalBase += run.prevRecordLength;
            run.prevRecordLength = rounded;
        }
        run.globalBase = GlobalBaseFor(holder, run.globalBase);
        LAYOUT_TRACE(2, "record base %d\n", (long long)run.globalBase);
        SetGlobalOffsets(holder, run.globalBase);
    }
}

// ---- the whole tree ------------------------------------------------------------------

void StartBlock(DovExpr* entries) {
    run.globalBase = 0;
    run.prevRecordLength = 0;
    run.offset = 0;
    DovCalcDataOffsets(entries, run.settings);
}

int DataDivisionStep(DovExpr* node, void*) {
    switch (node->Oper()) {
        case SECTION_WORKING_STORAGE:
        case SECTION_LOCAL_STORAGE:
        case SECTION_LINKAGE:
            StartBlock(Arg(node, kSectionEntries));
            return DOV_WALK_SKIP;
        case DECL_FD:
            StartBlock(Arg(node, kFdRecords));
            return DOV_WALK_SKIP;
        case COBOL_PROGRAM:
        case DIVISION_PROCEDURE:
            return DOV_WALK_SKIP;
        default:
            return DOV_WALK_DESCEND;
    }
}

int ProgramStep(DovExpr* node, void*) {
    switch (node->Oper()) {
        case COBOL_PROGRAM: {
            DovExpr* data = Arg(node, kProgDataDiv);
            if (!Absent(data)) WalkTheTree(data, nullptr, DataDivisionStep);
            return DOV_WALK_DESCEND;
        }
        case DIVISION_DATA:
        case DIVISION_PROCEDURE:
        case SYMBOL_TABLE_ELT_LIST:
            // Nested programs hang below the program, not in its divisions.
            return DOV_WALK_SKIP;
        default:
            return DOV_WALK_DESCEND;
    }
}

}  // namespace

void DovCalcDataOffsets(DovExpr* node, const DovLayoutSettings& settings) {
    if (Absent(node)) return;
    switch (node->Oper()) {
        case DECL_DD_LIST:
            for (int i = 0; i < node->NumArgs(); ++i) DovCalcDataOffsets(Arg(node, i), settings);
            break;
        case DECL_DD: LayOutHolder(node, settings); break;
        case DECL_DD_ENTRY: LayOutEntry(node, settings); break;
        default: break;
    }
}

int DovCalcLengthsAndOffsets(DovExpr* root, DovTokenList* messages, int localOffsets, int globalOffsets,
                             int constantValues, const DovLayoutSettings& settings) {
    (void)kHooksInstalled;
    DovInstallLayoutHooks();
    run.settings = settings;
    run.messages = messages;
    run.localOffsets = localOffsets;
    run.globalOffsets = globalOffsets;
    run.constantValues = constantValues;
    run.offset = 0;
    run.globalBase = 0;
    run.prevRecordLength = 0;
    if (root) WalkTheTree(root, nullptr, ProgramStep);
    run.messages = nullptr;
    return 0;
}
