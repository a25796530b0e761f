#include "tree/named.h"

#include <ostream>
#include <unordered_set>

#include "tree/symtab.h"
#include "tree/walk.h"

namespace {


// Link targets are looked at only while they are alive.
DovSymTabElt* AsElement(DovExpr* node) {
    return DovIsLiveLinkedNode(node) ? dynamic_cast<DovSymTabElt*>(node) : nullptr;
}

DovNamedObjDef* AsDefinition(DovExpr* node) {
    return DovIsLiveLinkedNode(node) ? dynamic_cast<DovNamedObjDef*>(node) : nullptr;
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
    name_ = name;
    DovSymTabResort(this);
    DovResetFromSrc(this);
    return 0;
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

std::unordered_set<const DovExpr*>& LiveLinkedNodes() {
    static auto* live = new std::unordered_set<const DovExpr*>;
    return *live;
}

}  // namespace

DovLiveMark::DovLiveMark(const DovExpr* node) : node_(node) { LiveLinkedNodes().insert(node); }

DovLiveMark::~DovLiveMark() { LiveLinkedNodes().erase(node_); }

bool DovIsLiveLinkedNode(const DovExpr* node) { return node && LiveLinkedNodes().count(node) != 0; }
