#include "tree/data_attrs.h"

#include "tree/expr.h"

namespace {

// Slots of a data description entry.
constexpr int kUsageArg = 5;
constexpr int kSignArg = 8;
constexpr int kSyncArg = 9;

bool Present(const DovExpr* node) { return node && !node->IsNull(); }

// The data description entry of a DECL_DD node; other entries (constants,
// conditions) have other slots.
const DovExpr* EntryOf(const DovExpr* decl) {
    if (decl->Oper() != DECL_DD) return nullptr;
    const DovExpr* entry = DovArgOrNull(decl, 0);
    if (!entry || (entry->Oper() != DECL_DD_ENTRY && entry->Oper() != DECL_DD_ENTRY_WANG_DISPLAY)) return nullptr;
    return entry;
}

}  // namespace

void DovInheritedDataAttrs(DovExpr* node, int& usage, int& sync, int& sign, int& sign_flag) {
    usage = NULL_NODE;
    sync = NULL_NODE;
    sign = NULL_NODE;
    sign_flag = 0;
    for (const DovExpr* p = node; p && p->Oper() != DIVISION_DATA; p = p->Parent()) {
        const DovExpr* entry = EntryOf(p);
        if (!entry) continue;
        if (usage == NULL_NODE) {
            const DovExpr* clause = DovArgOrNull(entry, kUsageArg);
            const DovExpr* kind = DovArgOrNull(clause, 0);
            if (Present(clause) && Present(kind)) usage = kind->Oper();
        }
        if (sync == NULL_NODE) {
            const DovExpr* clause = DovArgOrNull(entry, kSyncArg);
            if (Present(clause)) sync = clause->Oper();
        }
        if (sign == NULL_NODE) {
            const DovExpr* clause = DovArgOrNull(entry, kSignArg);
            const DovExpr* kind = DovArgOrNull(clause, 0);
            if (Present(clause) && Present(kind)) {
                sign = kind->Oper();
                sign_flag = Present(DovArgOrNull(clause, 1)) ? 1 : 0;
            }
        }
    }
    if (usage == NULL_NODE) usage = DU_DISPLAY;
}

int DovInheritedUsage(DovExpr* node) {
    int usage = 0;
    int sync = 0;
    int sign = 0;
    int sign_flag = 0;
    DovInheritedDataAttrs(node, usage, sync, sign, sign_flag);
    return usage;
}
