#include "tree/named.h"

#include <ostream>
#include <cstddef>

#include "tree/symtab.h"
#include "tree/walk.h"

namespace {


// Link targets are looked at only while they are alive.
DovSymTabElt* AsElement(DovExpr* node) {
    return DovIsLiveLinkedNode(node) ? dynamic_cast<DovSymTabElt*>(node) : nullptr;
}

// Only a DovNamedObjDef carries a definition's live mark.
DovNamedObjDef* AsDefinition(DovExpr* node) {
    return DovIsLiveDefinition(node) ? static_cast<DovNamedObjDef*>(node) : nullptr;
}

DovNamedObjUse* AsNamedUse(DovExpr* node) {
    return DovIsLiveLinkedNode(node) ? dynamic_cast<DovNamedObjUse*>(node) : nullptr;
}

// Points `link`, the element link of `self`, at `element` (null: none),
// keeping the old and the new element's "References" in step.
void RelinkElement(DovExpr* self, DovLink& link, DovSymTabElt* element) {
    if (DovSymTabElt* old = AsElement(link.target)) old->Links().Remove(self);
    link = DovLink(element);
    if (element) element->Links().Append(DovLink(self));
}

// Links `node` through `link`, its element link, to the element of `name`
// in its table, adding the element when the name is new. '!' when the node
// has no table.
char RelinkByName(DovExpr* node, DovLink& link, const char* label, const VString& name, VString* error) {
    DovTextChanged(node, name);
    DovExpr* table = SymTabAround(node);
    if (!table) {
        VString text = DovFormat("no symbol table to enter name '%s' in", name.CStr());
        DovExprReport(node, MSG_SEVERE, label, text);
        if (error) *error = text;
        return '!';
    }
    RelinkElement(node, link, SymTabFindOrAdd(table, name));
    return 0;
}

const VString& ElementName(const DovLink& link) {
    DovSymTabElt* elt = AsElement(link.target);
    return elt ? elt->Name() : VString::Empty;
}

void PrintCategory(std::ostream& os, DovNameCategory category) { os << " cat=" << category; }

}  // namespace

// --- DovSymTabElt ------------------------------------------------------------

DovSymTabElt::DovSymTabElt(const VString& name, DovNameCategory category, const DovLinkList& references)
    : DovExpr(SYMBOL_TABLE_ELT), name_(name), category_(category), references_(references) {}

DovSymTabElt::DovSymTabElt(const DovSymTabElt& other)
    : DovExpr(other), name_(other.name_), category_(other.category_), word_(other.word_) {}

DovSymTabElt::~DovSymTabElt() {
    Unlink();
    references_.Clear();
}

const std::vector<DovNamedObjDef*>& DovSymTabElt::Definitions() const {
    const std::uint64_t now = DovDefinitionGeneration();
    if (definitions_stamp_ == now) return definitions_;
    definitions_.clear();
    for (const DovLink& l : references_)
        if (DovIsLiveDefinition(l.target)) definitions_.push_back(static_cast<DovNamedObjDef*>(l.target));
    definitions_stamp_ = now;
    return definitions_;
}

void DovSymTabElt::Unlink() {
    for (DovLink& l : references_) {
        if (!DovIsLiveLinkedNode(l.target)) continue;
        DovLink* back = nullptr;
        if (auto* use = dynamic_cast<DovNameUse*>(l.target))
            back = &use->Link();
        else if (auto* def = dynamic_cast<DovNamedObjDef*>(l.target))
            back = &def->Link();
        if (back && back->target == this) *back = DovLink();
    }
    // The nodes listed no longer point here: keeping them would leave
    // pointers that nothing updates when those nodes go away.
    references_.Clear();
    definitions_stamp_ = 0;
}

char DovSymTabElt::SetImage(const VString& name, VString* error) {
    DovTextChanged(this, name);
    DovExpr* table = Parent();
    if (table && table->Oper() == SYMBOL_TABLE_ELT_LIST) {
        DovSymTabElt* other = SymTabFind(table, name);
        if (other && other != this) {
            // Two elements of one name would split the name's references.
            VString text = DovFormat("name '%s' is already in the symbol table", name.CStr());
            DovExprReport(this, MSG_SEVERE, "DovSymTabElt::SetImage", text);
            if (error) *error = text;
            return '!';
        }
    }
    SetName(name);
    DovSymTabResort(this);
    DovResetFromSrc(this);
    return 0;
}

void DovSymTabElt::SetName(const VString& name) {
    DovExpr* table = Parent();
    if (table && table->HasNameIndex()) DovNameIndexSlotsChanging(table, false);
    name_ = name;
}

void DovSymTabElt::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "SYMBOL_TABLE_ELT " << name_;
    PrintCategory(os, category_);
    if (DovDumpVerbosity > 1) os << " refs=" << references_;
    DovExpr::Print(os);
}

// --- DovNameUse --------------------------------------------------------------

DovNameUse::DovNameUse(const DovLink& element) : DovExpr(NAME_USE), element_(element) {
    if (DovSymTabElt* elt = AsElement(element_.target)) elt->Links().Append(DovLink(this));
}

DovNameUse::DovNameUse(const DovNameUse& other) : DovExpr(other), element_(other.element_) {
    if (DovSymTabElt* elt = AsElement(element_.target)) elt->Links().Append(DovLink(this));
}

DovNameUse::~DovNameUse() { Unlink(); }

void DovNameUse::Unlink() {
    RelinkElement(this, element_, nullptr);
}

const VString& DovNameUse::Image() const { return ElementName(element_); }

DovSymTabElt* DovNameUse::Element() const { return AsElement(element_.target); }

void DovNameUse::SetElement(DovSymTabElt* element) { RelinkElement(this, element_, element); }

char DovNameUse::SetImage(const VString& name, VString* error) {
    return RelinkByName(this, element_, "DovNameUse::SetImage", name, error);
}

void DovNameUse::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "NAME_USE img=" << Image() << " ste=" << element_;
    DovExpr::Print(os);
}

// --- DovNamedObjDef ----------------------------------------------------------

DovNamedObjDef::DovNamedObjDef(DovNameCategory category, const DovLink& element, const DovLinkList& uses)
    : DovExpr(NAMED_OBJ_DEF), category_(category), element_(element), uses_(uses) {
    if (DovSymTabElt* elt = AsElement(element_.target)) elt->Links().Append(DovLink(this));
}

DovNamedObjDef::DovNamedObjDef(const DovNamedObjDef& other)
    : DovExpr(other), category_(other.category_), element_(other.element_) {
    if (DovSymTabElt* elt = AsElement(element_.target)) elt->Links().Append(DovLink(this));
}

DovNamedObjDef::~DovNamedObjDef() { Unlink(); }

void DovNamedObjDef::Unlink() {
    for (DovLink& l : uses_) {
        auto* use = AsNamedUse(l.target);
        if (use && use->Link().target == this) use->Link() = DovLink();
    }
    uses_.Clear();
    RelinkElement(this, element_, nullptr);
}

const VString& DovNamedObjDef::Image() const { return ElementName(element_); }

DovSymTabElt* DovNamedObjDef::Element() const { return AsElement(element_.target); }

void DovNamedObjDef::SetElement(DovSymTabElt* element) { RelinkElement(this, element_, element); }

char DovNamedObjDef::SetImage(const VString& name, VString* error) {
    return RelinkByName(this, element_, "DovNamedObjDef::SetImage", name, error);
}

void DovNamedObjDef::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "NAMED_OBJ_DEF img=" << Image();
    PrintCategory(os, category_);
    if (DovDumpVerbosity > 1) os << " ste=" << element_ << " uses=" << uses_;
    DovExpr::Print(os);
}

// --- DovNamedObjUse ----------------------------------------------------------

DovNamedObjUse::DovNamedObjUse() : DovExprOper(NAMED_OBJ_USE) {}

DovNamedObjUse::DovNamedObjUse(DovExpr* names, DovNameCategory category, int setting)
    : DovExprOper(NAMED_OBJ_USE), category_(category), setting_(setting) {
    SetArg(0, names, -1, 0);
}

DovNamedObjUse::DovNamedObjUse(const DovNamedObjUse& other)
    : DovExprOper(other), category_(other.category_), definition_(other.definition_), setting_(other.setting_) {
    if (auto* def = AsDefinition(definition_.target)) def->Links().Append(DovLink(this));
}

DovNamedObjUse::~DovNamedObjUse() { Unlink(); }

void DovNamedObjUse::Unlink() {
    if (auto* def = AsDefinition(definition_.target)) def->Links().Remove(this);
    definition_ = DovLink();
}

DovNamedObjDef* DovNamedObjUse::Definition() const { return AsDefinition(definition_.target); }

void DovNamedObjUse::SetDefinition(DovNamedObjDef* def) {
    if (DovNamedObjDef* old = Definition()) old->Links().Remove(this);
    definition_ = DovLink(def);
    if (def) def->Links().Append(DovLink(this));
}

void DovNamedObjUse::Print(std::ostream& os) const {
    DovDumpIndent(os);
    os << "NAMED_OBJ_USE ";
    PrintCategory(os, category_);
    if (DovDumpVerbosity > 1) os << " def=" << definition_;
    DovExpr::Print(os);
    PrintArgs(os);
}

// --- file-level definitions --------------------------------------------------

int DovIsFileLevelDef(DovExpr* node) {
    if (!node) return 0;
    DovExpr* d = node;
    if (node->Oper() == NAMED_OBJ_USE) {
        DovNamedObjUse* use = AsNamedUse(node);
        d = use ? use->Definition() : nullptr;
    } else if (node->Oper() == SYMBOL_TABLE_ELT) {
        auto* elt = AsElement(node);
        d = nullptr;
        if (!elt) return 0;
        for (const DovLink& l : elt->References()) {
            if (!DovIsLiveLinkedNode(l.target) || l.target->Oper() != NAMED_OBJ_DEF) continue;
            if (d) return 0;  // more than one definition
            d = l.target;
        }
    }
    auto* def = AsDefinition(d);
    if (!def) return 0;
    DovExpr* p = def->Parent();
    if (!p) return 0;
    DovNameCategory cat = def->Category();
    if (cat != NC_PROC_NAME && cat != NC_PARA_NAME && cat != NC_SECTION_NAME) {
        p = p->Parent();
        if (!p) return 0;
    }
    while (p->Oper() == DECL_DD || p->Oper() == DECL_DD_LIST) {
        p = p->Parent();
        if (!p) return 0;
    }
    return p->Oper() == COBOL_FILE ? 1 : 0;
}

// --- live marks ----------------------------------------------------------------

namespace {

// The addresses of the live marked nodes: an open-addressing table with
// linear probing. An entry is the address with bit 1 set and bit 2 set for a
// definition (node addresses are at least 8-aligned); 0 is a free place and
// 1 a place whose node has gone (free again when no search passes it). The
// table is rebuilt when free places run short, at a size fitted to the live
// nodes, so it shrinks again after a large file.
class LiveTable {
public:
    void Insert(const DovExpr* node, bool definition) {
        if ((filled_ + 1) * 4 > capacity_ * 3) Rebuild();
        const std::uintptr_t entry = Entry(node, definition);
        std::size_t i = Home(node);
        while (places_[i] > kGone) i = (i + 1) & (capacity_ - 1);
        if (places_[i] == kFree) ++filled_;
        places_[i] = entry;
        ++live_;
    }

    void Erase(const DovExpr* node) {
        std::uintptr_t* place = Find(node);
        if (!place) return;
        --live_;
        std::size_t i = static_cast<std::size_t>(place - places_);
        if (places_[(i + 1) & (capacity_ - 1)] != kFree) {
            *place = kGone;
            return;
        }
        // No search runs on past a free place, so none passes this one
        // now, nor the gone places right before it: they are free again.
        do {
            places_[i] = kFree;
            --filled_;
            i = (i - 1) & (capacity_ - 1);
        } while (places_[i] == kGone);
    }

    // 0: not live; 1: live; 2: a live definition.
    int Lookup(const DovExpr* node) const {
        const std::uintptr_t* place = Find(node);
        if (!place) return 0;
        return (*place & kDefinitionBit) ? 2 : 1;
    }

private:
    static constexpr std::uintptr_t kFree = 0;
    static constexpr std::uintptr_t kGone = 1;
    static constexpr std::uintptr_t kMarkBit = 2;
    static constexpr std::uintptr_t kDefinitionBit = 4;
    static constexpr std::uintptr_t kFlagBits = 7;

    static std::uintptr_t Entry(const DovExpr* node, bool definition) {
        return reinterpret_cast<std::uintptr_t>(node) | kMarkBit | (definition ? kDefinitionBit : 0);
    }

    // Places spread evenly over the table. (Keeping the nodes of one chunk
    // of memory on neighbouring places was tried: the chunks' dense runs
    // overlapped into probe runs of a hundred places and more on a large
    // program, for no gain in time.)
    std::size_t Home(const DovExpr* node) const {
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
        const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(node));
        return static_cast<std::size_t>(((address >> 3) * kMix) >> shift_);
    }

    std::uintptr_t* Find(const DovExpr* node) const {
        if (!node || capacity_ == 0) return nullptr;
        const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(node);
        for (std::size_t i = Home(node);; i = (i + 1) & (capacity_ - 1)) {
            const std::uintptr_t e = places_[i];
            if (e == kFree) return nullptr;
            if (e != kGone && (e & ~kFlagBits) == address) return &places_[i];
        }
    }

    void Rebuild() {
        std::size_t capacity = 64;
        while (capacity < (live_ + 1) * 2) capacity *= 2;
        std::uintptr_t* old = places_;
        const std::size_t oldCapacity = capacity_;
        places_ = new std::uintptr_t[capacity]();
        capacity_ = capacity;
        shift_ = 64;
        for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
        filled_ = live_;
        for (std::size_t i = 0; i < oldCapacity; ++i) {
            const std::uintptr_t e = old[i];
            if (e <= kGone) continue;
            std::size_t j = Home(reinterpret_cast<const DovExpr*>(e & ~kFlagBits));
            while (places_[j] != kFree) j = (j + 1) & (capacity_ - 1);
            places_[j] = e;
        }
        delete[] old;
    }

    std::uintptr_t* places_ = nullptr;
    std::size_t capacity_ = 0;  // a power of two, or 0
    unsigned shift_ = 64;       // 64 - log2(capacity_)
    std::size_t live_ = 0;      // entries of live nodes
    std::size_t filled_ = 0;    // places not free (live and gone)
};

LiveTable& LiveLinkedNodes() {
    static auto* live = new LiveTable;
    return *live;
}

std::uint64_t g_definition_generation = 1;

}  // namespace

DovLiveMark::DovLiveMark(const DovExpr* node, bool definition) : node_(node), definition_(definition) {
    LiveLinkedNodes().Insert(node, definition);
    if (definition) ++g_definition_generation;
}

DovLiveMark::~DovLiveMark() {
    LiveLinkedNodes().Erase(node_);
    if (definition_) ++g_definition_generation;
}

bool DovIsLiveLinkedNode(const DovExpr* node) { return LiveLinkedNodes().Lookup(node) != 0; }

bool DovIsLiveDefinition(const DovExpr* node) { return LiveLinkedNodes().Lookup(node) == 2; }

std::uint64_t DovDefinitionGeneration() { return g_definition_generation; }
