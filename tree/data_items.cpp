#include "tree/data_items.h"

#include "tree/leaf.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

// Slots of a data description entry, of a 78-level entry, of an entry
// holder and of a program.
constexpr int kDdLevel = 0;
constexpr int kDdDataName = 2;
constexpr int kDdPicture = 4;
constexpr int kDdUsage = 5;
constexpr int kDdValue = 14;
constexpr int kConstLevel = 0;
constexpr int kConstName = 2;
constexpr int kConstValue = 3;
constexpr int kHolderArgs = 1;
constexpr int kProgDataDiv = 2;
constexpr int kSectionEntries = 0;

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

bool IsHolder(const DovExpr* node) {
    return node && (node->Oper() == DECL_DD || node->Oper() == DECL_DD_HIDDEN) && node->NumArgs() > kHolderArgs;
}

// The last holder of `list` when a row may nest under it: its slot for
// subordinate entries is empty or already holds a DECL_DD_LIST.
DovExpr* NestingHolder(DovExpr* list) {
    DovExpr* last = list->NumArgs() > 0 ? DovArgOrNull(list, list->NumArgs() - 1) : nullptr;
    if (!IsHolder(last)) return nullptr;
    DovExpr* sub = DovArgOrNull(last, kHolderArgs);
    return Absent(sub) || sub->Oper() == DECL_DD_LIST ? last : nullptr;
}

// The DECL_DD_LIST below `holder`, made when missing.
DovExpr* SubordinateList(DovExpr* holder) {
    DovExpr* sub = DovArgOrNull(holder, kHolderArgs);
    if (sub && sub->Oper() == DECL_DD_LIST) return sub;
    sub = new DovExprOper(DECL_DD_LIST);
    holder->SetArg(kHolderArgs, sub, -1, 0);
    return sub;
}

}  // namespace

int DovDeclDataItemHierarchy(DovExpr* list, const DovDataItemRow* rows, int hideTopLevel, DovExpr* symbolHolder,
                             VString& message) {
    if (!list || list->Oper() != DECL_DD_LIST) {
        message = "DovDeclDataItemHierarchy: no DECL_DD_LIST to declare into";
        return kDovDataItemNestingError;
    }
    DovExpr* saved[kDovDataItemMaxNesting] = {};
    int current = 0;
    DovExpr* into = list;
    for (const DovDataItemRow* row = rows; row && row->name; ++row) {
        int depth = row->depth;
        // The depth is checked before anything is built, so that a refused
        // row leaves no entry and no symbol behind.
        if (depth == current + 1) {
            if (current > kDovDataItemMaxNesting - 1) {
                message = "DovDeclDataItemHierarchy: Nesting of DDs is too deep";
                return kDovDataItemNestingError;
            }
            if (!NestingHolder(into)) {
                message = DovFormat("DovDeclDataItemHierarchy: no entry to nest '%s' under", row->name);
                return kDovDataItemNestingError;
            }
        } else if (depth == current - 1) {
            if (current < 1) {
                message = "DovDeclDataItemHierarchy: Stack is empty";
                return kDovDataItemNestingError;
            }
        } else if (depth != current) {
            message = "DovDeclDataItemHierarchy: bad depth switch";
            return kDovDataItemNestingError;
        }
        if (row->usage != DU_NONE && !DovOperIsValid(static_cast<std::uint16_t>(row->usage))) {
            message = DovFormat("DovDeclDataItemHierarchy: bad usage code %d for '%s'", row->usage, row->name);
            return kDovDataItemNestingError;
        }

        DovExpr* usage = row->usage != DU_NONE ? new DovExprOper(static_cast<DovOper>(row->usage)) : nullptr;
        DovNamedObjDef* def = nullptr;
        DovExpr* holder = DovDeclDataItem(def, row->level, row->name, 0, row->picture ? row->picture : "", usage,
                                          row->value, symbolHolder);
        if (depth == 0 && hideTopLevel) holder->SetOper(DECL_DD_HIDDEN, 0, 0);

        if (depth == current + 1) {
            saved[current] = into;
            into = SubordinateList(NestingHolder(into));
            current = depth;
        } else if (depth == current - 1) {
            current = depth;
            into = saved[current];
        }
        into->AddArg(holder);
    }
    return 0;
}

DovExpr* DovDeclDataItem(DovNamedObjDef*& def, int level, const VString& name, int unique, const VString& picture,
                         DovExpr* usage, DovExpr* value, DovExpr* symbolHolder) {
    def = DovMakeNamedObjDef(name, NC_DATA_NAME, unique != 0, symbolHolder);
    auto* entry = new DovExprOper(DECL_DD_ENTRY);
    entry->SetArg(kDdLevel, new DovIntNumConst(DovFormat("%02d", level), level), -1, 0);
    entry->SetArg(kDdDataName, def, -1, 0);
    if (picture.Len() != 0) entry->SetArg(kDdPicture, new DovExprOper(DX_PICTURE, new DovCharString(picture)), -1, 0);
    if (usage) entry->SetArg(kDdUsage, new DovExprOper(DX_USAGE, usage), -1, 0);
    if (value) entry->SetArg(kDdValue, new DovExprOper(DX_VALUE, value), -1, 0);
    return new DovExprOper(DECL_DD, entry, nullptr);
}

DovExpr* DovDeclConstant(DovNamedObjDef*& def, const VString& name, DovExpr* value, DovExpr* symbolHolder) {
    def = DovMakeNamedObjDef(name, NC_CONSTANT_NAME, true, symbolHolder);
    auto* entry = new DovExprOper(DECL_CONST_ENTRY);
    entry->SetArg(kConstLevel, new DovIntNumConst("78", 78), -1, 0);
    entry->SetArg(kConstName, def, -1, 0);
    if (value) entry->SetArg(kConstValue, new DovExprOper(EX_CONST_VALUE, value), -1, 0);
    return new DovExprOper(DECL_DD, entry, nullptr);
}

int DovAddDataEntry(DovExpr* entry, int sectionSlot, DovOper sectionOper, DovExpr* program) {
    // Everything is checked before the division or section is made, so that
    // a refused entry changes nothing.
    const char* fault = nullptr;
    DovExpr* division = DovArgOrNull(program, kProgDataDiv);
    DovExpr* section = Absent(division) ? nullptr : DovArgOrNull(division, sectionSlot);
    int divisionSlots = Absent(division) ? DovOperArgCount(DIVISION_DATA) : division->NumArgs();
    int sectionSlots = !Absent(section)               ? section->NumArgs()
                       : DovOperIsList(sectionOper) ? 0
                                                    : DovOperArgCount(sectionOper);
    if (!entry)
        fault = "no entry to add";
    else if (!program || program->NumArgs() <= kProgDataDiv)
        fault = "the program has no DATA DIVISION slot";
    else if (sectionSlot < 0 || sectionSlot >= divisionSlots)
        fault = "the DATA DIVISION has no such section slot";
    else if (sectionSlots <= kSectionEntries)
        fault = "the section has no slot for entries";
    if (fault) {
        DovMessageHook(MSG_SEVERE, program ? DovSrcPosnBeg(program) : DovNullPosn,
                       DovFormat("DovAddDataEntry: %s (section %s in slot %d)", fault, DovOperName(sectionOper),
                                 sectionSlot));
        return 1;
    }
    if (Absent(division)) {
        division = new DovExprOper(DIVISION_DATA);
        program->SetArg(kProgDataDiv, division, -1, 0);
    }
    if (Absent(section)) {
        section = new DovExprOper(sectionOper);
        division->SetArg(sectionSlot, section, -1, 0);
    }
    section->SetArgToList(kSectionEntries, DECL_DD_LIST, entry);
    return 0;
}

DovExpr* DovMakeMove(DovExpr* source, DovExpr* target) {
    auto* targets = new DovExprOper(IDENT_LIST);
    if (target) targets->AddArg(target);
    return new DovExprOper(STMT_MOVE, source, targets);
}
