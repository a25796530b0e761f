#include "tree/symtab.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "tree/walk.h"

namespace {

// Byte order of the names (strcmp order); a name that is a prefix of another
// sorts first, so names holding a zero byte keep apart too.
int NameCompare(const VString& a, const VString& b) {
    int n = a.Len() < b.Len() ? a.Len() : b.Len();
    int c = n > 0 ? std::memcmp(a.CStr(), b.CStr(), static_cast<std::size_t>(n)) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    return a.Len() < b.Len() ? -1 : a.Len() > b.Len() ? 1 : 0;
}

// i is within the table's slots. The element class has no subclasses, so
// the kind tag and the exact type stand for a dynamic_cast.
DovSymTabElt* EltAt(DovExpr* table, int i) {
    DovExpr* node = table->SlotAt(i)->arg;
    if (!node || node->Oper() != SYMBOL_TABLE_ELT || typeid(*node) != typeid(DovSymTabElt)) return nullptr;
    return static_cast<DovSymTabElt*>(node);
}

const VString& NameOf(DovExpr* node) {
    if (!node || node->Oper() != SYMBOL_TABLE_ELT || typeid(*node) != typeid(DovSymTabElt)) return VString::Empty;
    return static_cast<DovSymTabElt*>(node)->Name();
}

const VString& EltName(DovExpr* table, int i) { return NameOf(table->SlotAt(i)->arg); }

void TraceInsert(DovExpr* table, int index, const VString& name) {
    if (DovSymTabTraceLevel < 1) return;
    std::cout << "+SymTabAddElt: " << index << ' ' << name << std::endl;
    if (DovSymTabTraceLevel >= 2) table->Print(std::cout);
}

bool IsBadDef(DovExpr* def, const char* what) {
    if (def && def->Oper() == NAMED_OBJ_DEF && dynamic_cast<DovNamedObjDef*>(def)) return false;
    DovMessageHook(MSG_TERMINAL, def ? DovSrcPosnBeg(def) : DovNullPosn, DovFormat("%s: bad def node", what));
    return true;
}

// --- the name index ------------------------------------------------------------
//
// A hash of the names of a table's elements, so that a lookup does not
// probe the slots. The slots stay what the tree holds; the index only
// answers for them, and only while nothing but the functions here has
// changed them: every other slot change, a rename and the table's end tell
// the index (DovNameIndexSlotsChanging, DovSymTabElt::SetName), which then
// is stale. A stale index is built anew from the slots once the lookups
// since the change pay for it, and only over a table whose slots hold
// elements in strictly ascending name order: there the binary search and
// the hash give the same answers. Until then lookups search the slots.
//
// While a parser builds a program the table may defer its order
// (SymTabDeferOrder): a new name then goes to the end of the slots, the
// index answering every lookup, and the slots are sorted once when the
// program is finished (SymTabSettleOrder). The names of a table are
// distinct, so the sorted slots are those that inserting each name at its
// place would have left. Whatever here reads the slots' order (the slot
// search, a resort, an index built anew) sorts them first; a trace or a
// tree-change hook, which show each insertion's place, turn the deferral
// off.

std::uint64_t NameHash(const VString& name) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto* p = reinterpret_cast<const unsigned char*>(name.CStr());
    for (int i = 0, n = name.Len(); i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ull;
    return h ^ (h >> 29);
}

class NameIndex {
public:
    bool IsBuilt() const { return built_; }

    // The element named `name`, or null.
    DovSymTabElt* Find(const VString& name, std::uint64_t hash) const {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Place& p = places_[i];
            if (!p.elt) return nullptr;
            if (p.hash == hash && p.elt->Name() == name) return p.elt;
        }
    }

    void Add(DovSymTabElt* elt, std::uint64_t hash) {
        if ((count_ + 1) * 2 > places_.size()) Grow();
        Put(elt, hash);
        ++count_;
    }

    // New names may go to the end of the slots.
    bool Defers() const { return defers_ && built_ && DovSymTabTraceLevel < 1 && !DovTreeChangeHook; }
    void SetDefers(bool on) { defers_ = on; }
    bool IsUnsorted() const { return unsorted_; }
    void SetUnsorted() { unsorted_ = true; }

    // Sorts slots left out of order by deferred insertions. The elements
    // stay the same, so the hash stays right.
    void Sort(DovExpr* table) {
        if (!unsorted_) return;
        unsorted_ = false;
        const int n = table->NumArgs();
        std::vector<DovExpr*> elts(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) elts[static_cast<std::size_t>(i)] = table->SlotAt(i)->arg;
        std::stable_sort(elts.begin(), elts.end(), [](DovExpr* a, DovExpr* b) {
            return NameCompare(NameOf(a), NameOf(b)) < 0;
        });
        for (int i = 0; i < n; ++i) table->SlotAt(i)->arg = elts[static_cast<std::size_t>(i)];
    }

    void MakeStale() {
        built_ = false;
        places_.clear();
        count_ = 0;
        lookups_ = 0;
    }

    // After a change: counts a lookup, and when the lookups since the change
    // come to a sixteenth of the slots, builds the index if the slots allow.
    void CountLookup(DovExpr* table) {
        if (++lookups_ * 16 < table->NumArgs()) return;
        lookups_ = 0;
        const int n = table->NumArgs();
        for (int i = 0; i < n; ++i) {
            DovSymTabElt* e = EltAt(table, i);
            if (!e || (i > 0 && NameCompare(EltAt(table, i - 1)->Name(), e->Name()) >= 0)) return;
        }
        std::size_t room = 16;
        while (room < static_cast<std::size_t>(n) * 2) room *= 2;
        places_.assign(room, Place{});
        mask_ = room - 1;
        for (int i = 0; i < n; ++i) {
            DovSymTabElt* e = EltAt(table, i);
            Put(e, NameHash(e->Name()));
        }
        count_ = static_cast<std::size_t>(n);
        built_ = true;
    }

private:
    struct Place {
        DovSymTabElt* elt = nullptr;
        std::uint64_t hash = 0;
    };

    void Put(DovSymTabElt* elt, std::uint64_t hash) {
        std::size_t i = hash & mask_;
        while (places_[i].elt) i = (i + 1) & mask_;
        places_[i] = Place{elt, hash};
    }

    void Grow() {
        std::vector<Place> old(std::max<std::size_t>(16, places_.size() * 2));
        old.swap(places_);
        mask_ = places_.size() - 1;
        for (const Place& p : old)
            if (p.elt) Put(p.elt, p.hash);
    }

    std::vector<Place> places_;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
    int lookups_ = 0;  // while stale
    bool built_ = false;
    bool defers_ = false;   // SymTabDeferOrder until SymTabSettleOrder
    bool unsorted_ = false; // deferred insertions left the slots out of order
};

// The records by table; the node's header bit tells that it has one.
std::unordered_map<const DovExpr*, NameIndex>& Indexes() {
    static auto* indexes = new std::unordered_map<const DovExpr*, NameIndex>;
    return *indexes;
}

// The last table asked for and its record: lookups come in runs on one
// table.
const DovExpr* g_last_table = nullptr;
NameIndex* g_last_index = nullptr;

// The table whose slots the functions here are changing themselves.
const DovExpr* g_editing = nullptr;

// The record of `table`, made (stale) when it has none; null for a node
// that is not an operator node of symbol-table elements.
NameIndex* IndexOf(DovExpr* table) {
    if (table == g_last_table) return g_last_index;
    if (!table) return nullptr;
    NameIndex* index = nullptr;
    if (table->HasNameIndex()) {
        index = &Indexes().find(table)->second;
    } else {
        if (table->Oper() != SYMBOL_TABLE_ELT_LIST || !dynamic_cast<DovExprOper*>(table)) return nullptr;
        index = &Indexes()[table];
        table->SetHasNameIndex(true);
    }
    g_last_table = table;
    g_last_index = index;
    return index;
}

// The lookup by the index: true with the answer in `elt` when the index
// gives one (never while the trace is on: it shows the slot probes).
bool IndexedFind(DovExpr* table, const VString& name, DovSymTabElt*& elt) {
    if (DovSymTabTraceLevel >= 1) return false;
    NameIndex* index = IndexOf(table);
    if (!index) return false;
    if (!index->IsBuilt()) {
        index->Sort(table);
        index->CountLookup(table);
        if (!index->IsBuilt()) return false;
    }
    elt = index->Find(name, NameHash(name));
    if (elt && elt->Parent() != table) {
        // Cannot happen while every change tells the index; should one
        // not, the slots answer.
        index->MakeStale();
        return false;
    }
    return true;
}

}  // namespace

void DovNameIndexSlotsChanging(DovExpr* table, bool gone) {
    if (!gone) {
        if (table != g_editing) IndexOf(table)->MakeStale();
        return;
    }
    if (table == g_last_table) {
        g_last_table = nullptr;
        g_last_index = nullptr;
    }
    Indexes().erase(table);
    table->SetHasNameIndex(false);
}

namespace {

// Sorts the slots of `table` when deferred insertions left them out of
// order.
void SortSlots(DovExpr* table) {
    if (table && table->HasNameIndex()) IndexOf(table)->Sort(table);
}

// The binary search over the slots, with the trace.
DovSymTabElt* SearchSlots(DovExpr* table, const VString& name, int* index) {
    SortSlots(table);
    int n = table ? table->NumArgs() : 0;
    int i = n / 2;
    int step = n / 2;
    int cmp1 = 0;
    int cmp2 = 0;
    int found = -1;
    int insert = 0;
    if (n > 0) {
        int c = 0;
        for (;;) {
            c = NameCompare(EltName(table, i), name);
            ++cmp1;
            if (c == 0) {
                found = i;
                break;
            }
            step /= 2;
            if (step == 0) break;
            i += c < 0 ? step : -step;
        }
        if (found < 0 && c < 0) {
            insert = n;
            for (int j = i + 1; j < n; ++j) {
                int c2 = NameCompare(EltName(table, j), name);
                ++cmp2;
                if (c2 < 0) continue;
                if (c2 == 0)
                    found = j;
                else
                    insert = j;
                break;
            }
        } else if (found < 0) {
            insert = 0;
            for (int j = i - 1; j >= 0; --j) {
                int c2 = NameCompare(EltName(table, j), name);
                ++cmp2;
                if (c2 > 0) continue;
                if (c2 == 0)
                    found = j;
                else
                    insert = j + 1;
                break;
            }
        }
    }
    int ix = found >= 0 ? found : insert;
    DovSymTabElt* elt = found >= 0 ? EltAt(table, found) : nullptr;
    if (DovSymTabTraceLevel >= 1) {
        std::cout << (found >= 0 ? "*SymTabFound:" : "*SymTabNOTfound:") << " tbl=" << static_cast<const void*>(table)
                  << " ix=" << ix << " cmp1=" << cmp1 << " cmp2=" << cmp2;
        if (found >= 0) {
            std::cout << ' ';
            if (elt) elt->Print(std::cout);
            else std::cout << std::endl;
        } else {
            std::cout << " name=" << name << std::endl;
        }
    }
    if (index) *index = ix;
    return elt;
}

// The place of an absent name in a table whose names ascend: the first name
// past `name`, found by halving alone, without the slot search's trace.
int PlaceInSortedTable(DovExpr* table, const VString& name) {
    int lo = 0;
    int hi = table->NumArgs();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (NameCompare(EltName(table, mid), name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

}  // namespace

DovSymTabElt* SymTabFindOrPlace(DovExpr* table, const VString& name, int& index) {
    DovSymTabElt* elt = nullptr;
    if (!IndexedFind(table, name, elt)) return SearchSlots(table, name, &index);
    if (elt) return elt;
    // A deferring table takes the name at its end.
    NameIndex* names = IndexOf(table);
    if (names->Defers()) {
        index = table->NumArgs();
        return nullptr;
    }
    names->Sort(table);
    index = PlaceInSortedTable(table, name);
    return nullptr;
}

DovSymTabElt* SymTabFind(DovExpr* table, const VString& name, int* index) {
    DovSymTabElt* elt = nullptr;
    // An index is not asked for its place: that takes the search.
    if (!index && IndexedFind(table, name, elt)) return elt;
    return SearchSlots(table, name, index);
}

void DovSymTabAddElt(DovExpr* table, DovSymTabElt* elt) {
    if (!table || !elt) return;
    int index = 0;
    if (DovSymTabElt* old = SymTabFindOrPlace(table, elt->Name(), index)) {
        DovMessageHook(MSG_SEVERE, DovSrcPosnBeg(old),
                       DovFormat("DovSymTabAddElt: name '%s' should not be declared yet", elt->Name().CStr()));
        return;
    }
    SymTabInsertAt(table, elt, index);
}

void SymTabInsertAt(DovExpr* table, DovSymTabElt* elt, int index) {
    if (!table || !elt) return;
    NameIndex* names = IndexOf(table);
    const std::uint64_t hash = names && names->Defers() ? NameHash(elt->Name()) : 0;
    if (names && names->Defers() && !elt->Parent() && index == table->NumArgs() && !names->Find(elt->Name(), hash)) {
        // The index answers for the appended name; the slots are out of
        // order when it sorts before the last.
        const int n = table->NumArgs();
        const bool after_last = n == 0 || NameCompare(EltName(table, n - 1), elt->Name()) < 0;
        g_editing = table;
        table->InsArg(elt, n);
        g_editing = nullptr;
        names->Add(elt, hash);
        if (!after_last) names->SetUnsorted();
        return;
    }
    if (names && names->IsUnsorted()) {
        // The place was given while the table deferred its order.
        names->Sort(table);
        index = PlaceInSortedTable(table, elt->Name());
    }
    // The index takes the element in when the insertion leaves the names
    // strictly ascending. Only a plain insertion is made under the index's
    // eyes: with a change hook, which may edit the table meanwhile, or an
    // insertion that reports, the index is told as of any other change.
    if (!names || !names->IsBuilt() || elt->Parent() || DovTreeChangeHook || index < 0 || index > table->NumArgs()) {
        table->InsArg(elt, index);
    } else {
        g_editing = table;
        table->InsArg(elt, index);
        g_editing = nullptr;
        const int n = table->NumArgs();
        const bool placed = index < n && EltAt(table, index) == elt &&
                            (index == 0 || NameCompare(EltName(table, index - 1), elt->Name()) < 0) &&
                            (index == n - 1 || NameCompare(elt->Name(), EltName(table, index + 1)) < 0);
        if (placed && table->HasNameIndex())
            names->Add(elt, NameHash(elt->Name()));
        else if (table->HasNameIndex())
            DovNameIndexSlotsChanging(table, false);
    }
    TraceInsert(table, index, elt->Name());
}

DovSymTabElt* SymTabFindOrAdd(DovExpr* table, const VString& name) {
    int index = 0;
    if (DovSymTabElt* elt = SymTabFindOrPlace(table, name, index)) return elt;
    auto* elt = new DovSymTabElt(name, NC_UNKNOWN, DovLinkList());
    SymTabInsertAt(table, elt, index);
    return elt;
}

DovSymTabElt* SymTabAddUnique(const VString& name, DovNameCategory category, DovExpr* table) {
    VString candidate = name;
    int index = 0;
    for (int k = 1; SymTabFindOrPlace(table, candidate, index); ++k) candidate = DovFormat("%s-%d", name.CStr(), k);
    auto* elt = new DovSymTabElt(candidate, category, DovLinkList());
    SymTabInsertAt(table, elt, index);
    return elt;
}

DovExpr* SymTabForDef(DovExpr* def) {
    if (IsBadDef(def, "SymTabForDef")) return nullptr;
    DovSymTabElt* elt = static_cast<DovNamedObjDef*>(def)->Element();
    return elt ? elt->Parent() : nullptr;
}

DovExpr* SymTabOfHolder(DovExpr* holder) {
    if (!holder) return nullptr;
    int slot = holder->Oper() == COBOL_FILE ? kDovFileSymbolTableArg : kDovProgSymbolTableArg;
    DovExpr* table = holder->NumArgs() > slot ? holder->Args(slot) : nullptr;
    return table && table->Oper() == SYMBOL_TABLE_ELT_LIST ? table : nullptr;
}

DovExpr* SymTabAround(DovExpr* node) {
    DovExpr* holder = DovEnclosingOper(node, COBOL_PROGRAM);
    return SymTabOfHolder(holder ? holder : DovEnclosingOper(node, COBOL_FILE));
}

DovExpr* SymTabForExpr(DovExpr* node) {
    if (!node || node->Oper() == NULL_NODE) return nullptr;
    DovExpr* program = DovEnclosingOper(node, COBOL_PROGRAM);
    if (!program || program->NumArgs() <= kDovProgSymbolTableArg) return nullptr;
    return program->Args(kDovProgSymbolTableArg);
}

bool SymTabIsDefined(const VString& name, DovExpr* program) {
    if (!program || program->NumArgs() <= kDovProgSymbolTableArg) return false;
    DovSymTabElt* elt = SymTabFind(program->Args(kDovProgSymbolTableArg), name);
    if (!elt) return false;
    for (const DovLink& l : elt->References())
        if (l.target && l.target->Oper() == NAMED_OBJ_DEF) return true;
    return false;
}

void SymTabDeleteDef(DovExpr* node) {
    if (IsBadDef(node, "SymTabDeleteDef")) return;
    auto* def = static_cast<DovNamedObjDef*>(node);
    DovSymTabElt* elt = def->Element();
    // The definition is left unlinked: a link kept to an element that is
    // deleted here, or that no longer lists it, would go stale.
    def->SetElement(nullptr);
    if (!elt || !elt->References().IsEmpty()) return;
    if (elt->Parent()) elt->DelThis();
    delete elt;
}

DovNamedObjDef* DovMakeNamedObjDef(const VString& name, DovNameCategory category, bool unique, DovExpr* holder) {
    DovExpr* table = SymTabOfHolder(holder);
    if (!table) {
        DovMessageHook(MSG_SEVERE, holder ? DovSrcPosnBeg(holder) : DovNullPosn,
                       DovFormat("DovMakeNamedObjDef: no symbol table for name '%s'", name.CStr()));
        return new DovNamedObjDef(category, DovLink(), DovLinkList());
    }
    DovSymTabElt* elt = nullptr;
    if (unique) {
        elt = SymTabAddUnique(name, category, table);
    } else {
        elt = SymTabFindOrAdd(table, name);
        elt->SetCategory(category);
    }
    return new DovNamedObjDef(elt->Category(), DovLink(elt), DovLinkList());
}

void SymTabRenameEltUnique(DovExpr* node, VString& name) {
    auto* elt = node && node->Oper() == SYMBOL_TABLE_ELT ? dynamic_cast<DovSymTabElt*>(node) : nullptr;
    if (!elt) return;
    constexpr int kMaxSuffixedLen = 30;
    DovExpr* table = elt->Parent();
    VString candidate = name;
    for (int k = 1;; ++k) {
        bool taken = false;
        for (int i = 0; table && i < table->NumArgs() && !taken; ++i) {
            DovSymTabElt* other = EltAt(table, i);
            taken = other && other->Name() == candidate;
        }
        if (!taken) break;
        VString suffix = DovFormat("-%d", k);
        if (name.Len() + suffix.Len() <= kMaxSuffixedLen)
            candidate = name + suffix;
        else
            candidate = name.SubStr(0, kMaxSuffixedLen - suffix.Len()) + suffix;
    }
    elt->SetName(candidate);
    name = candidate;
    for (const DovLink& l : elt->References())
        if (l.target) l.target->SetFlag(0);
    // A renamed element left where it stood would hide names from the
    // binary search.
    DovSymTabResort(elt);
}

void DovSymTabResort(DovSymTabElt* elt) {
    DovExpr* table = elt ? elt->Parent() : nullptr;
    if (!table || table->Oper() != SYMBOL_TABLE_ELT_LIST) return;
    SortSlots(table);
    int i = table->FindArg(elt);
    if (i < 0) return;
    int n = table->NumArgs();
    bool after_prev = i == 0 || NameCompare(EltName(table, i - 1), elt->Name()) < 0;
    bool before_next = i == n - 1 || NameCompare(elt->Name(), EltName(table, i + 1)) < 0;
    if (after_prev && before_next) return;
    table->DelArg(i, 1, 0);
    int index = 0;
    SymTabFind(table, elt->Name(), &index);
    table->InsArg(elt, index);
}

void SymTabDeferOrder(DovExpr* table) {
    if (NameIndex* names = IndexOf(table)) names->SetDefers(true);
}

void SymTabSettleOrder(DovExpr* table) {
    if (!table || !table->HasNameIndex()) return;
    NameIndex* names = IndexOf(table);
    names->Sort(table);
    names->SetDefers(false);
}
