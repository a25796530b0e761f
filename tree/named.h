// Named nodes: symbol-table elements, definitions of named objects, uses of
// plain names and uses of named objects, and the links between them.
//
// Every NAME_USE or NAMED_OBJ_DEF linked to an element is listed once in the
// element's "References"; every NAMED_OBJ_USE linked to a definition is
// listed in the definition's "Uses". Constructors, copies, relinking,
// Unlink and destructors keep both sides in step.
#pragma once

#include <cstdint>
#include <vector>

#include "tree/expr.h"
#include "tree/link.h"
#include "tree/name_category.h"

// Marks a node that carries links as alive for as long as it exists. Links
// are plain pointers: code that holds one that may have gone stale (a check
// of a damaged tree, a back link left by a cut) asks before it touches the
// node behind it.
class DovLiveMark {
public:
    // `definition`: the node is a DovNamedObjDef.
    explicit DovLiveMark(const DovExpr* node, bool definition = false);
    ~DovLiveMark();
    DovLiveMark(const DovLiveMark&) = delete;
    DovLiveMark& operator=(const DovLiveMark&) = delete;

private:
    const DovExpr* node_;
    bool definition_;
};

// True while `node` is a live symbol-table element, name use, definition or
// named-object use.
bool DovIsLiveLinkedNode(const DovExpr* node);
// True while `node` is a live DovNamedObjDef.
bool DovIsLiveDefinition(const DovExpr* node);
// A number that changes whenever a DovNamedObjDef is made or destroyed.
std::uint64_t DovDefinitionGeneration();

class DovNamedObjDef;

// One name of a symbol table (SYMBOL_TABLE_ELT).
class DovSymTabElt : public DovExpr {
public:
    DovSymTabElt() : DovExpr(SYMBOL_TABLE_ELT) {}
    DovSymTabElt(const VString& name, DovNameCategory category, const DovLinkList& references);
    // Name, category and word; an empty "References" list.
    DovSymTabElt(const DovSymTabElt& other);
    ~DovSymTabElt() override;

    DovExpr* Copy() const override { return new DovSymTabElt(*this); }
    // Nulls the element links of the definitions and name uses listed here.
    void Unlink() override;
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return name_; }
    VString Value() const override { return name_; }
    // Renames the element and moves it to its sorted place in its table.
    char SetImage(const VString& name, VString* error = nullptr) override;
    int NumLinkLists() const override { return 1; }
    const char* LinkListName(int) const override { return "References"; }
    // Whoever may change the list through this makes the element forget
    // its definitions (see Definitions).
    DovLinkList& Links(int = 0) override {
        definitions_stamp_ = 0;
        return references_;
    }
    void PutTicNode(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;
    void Print(std::ostream& os) const override;

    // The live definitions among the references, in their order (one entry
    // per link). Kept between calls while no definition anywhere is made or
    // destroyed and the list is not handed out for changing, so a name used
    // many times does not scan its uses once per use.
    const std::vector<DovNamedObjDef*>& Definitions() const;

    const VString& Name() const { return name_; }
    // Stores the name as it is, without hooks or moving the element (the
    // table's name index is told).
    void SetName(const VString& name);
    DovNameCategory Category() const { return category_; }
    void SetCategory(DovNameCategory category) { category_ = category; }
    const DovLinkList& References() const { return references_; }
    // A word for the element's users; not part of the stored tree.
    std::uint32_t ExtraWord() const { return word_; }
    void SetExtraWord(std::uint32_t word) { word_ = word; }

private:
    DovLiveMark live_{this};
    VString name_;
    DovNameCategory category_ = NC_UNKNOWN;
    DovLinkList references_;
    std::uint32_t word_ = 0;
    mutable std::uint64_t definitions_stamp_ = 0;  // 0: not known
    mutable std::vector<DovNamedObjDef*> definitions_;
};

// A use of a plain name, linked to its symbol-table element (NAME_USE).
class DovNameUse : public DovExpr {
public:
    DovNameUse() : DovExpr(NAME_USE) {}
    explicit DovNameUse(const DovLink& element);
    DovNameUse(const DovNameUse& other);
    ~DovNameUse() override;

    DovExpr* Copy() const override { return new DovNameUse(*this); }
    void Unlink() override;
    int IsTerminal() const override { return 1; }
    const VString& Image() const override;
    VString Value() const override { return Image(); }
    // Links the node to the element of `name` in the enclosing program's
    // table, adding the element when the name is new.
    char SetImage(const VString& name, VString* error = nullptr) override;
    int NumLinks() const override { return 1; }
    const char* LinkName(int) const override { return "Symbol Table Element"; }
    DovLink& Link(int = 0) override { return element_; }
    void PutTicNode(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;
    void Print(std::ostream& os) const override;

    // The linked element, or null when the link is not to a SYMBOL_TABLE_ELT.
    DovSymTabElt* Element() const;
    // Moves the node from its old element's "References" to `element`'s.
    void SetElement(DovSymTabElt* element);

private:
    DovLiveMark live_{this};
    DovLink element_;
};

// The definition of a named object (NAMED_OBJ_DEF).
class DovNamedObjDef : public DovExpr {
public:
    DovNamedObjDef() : DovExpr(NAMED_OBJ_DEF) {}
    DovNamedObjDef(DovNameCategory category, const DovLink& element, const DovLinkList& uses);
    // Category and element link; an empty "Uses" list.
    DovNamedObjDef(const DovNamedObjDef& other);
    ~DovNamedObjDef() override;

    DovExpr* Copy() const override { return new DovNamedObjDef(*this); }
    // Unresolves the uses listed here and leaves the element's "References".
    void Unlink() override;
    int IsTerminal() const override { return 1; }
    const VString& Image() const override;
    VString Value() const override { return Image(); }
    char SetImage(const VString& name, VString* error = nullptr) override;
    int NumLinks() const override { return 1; }
    const char* LinkName(int) const override { return "Symbol Table Element"; }
    DovLink& Link(int = 0) override { return element_; }
    int NumLinkLists() const override { return 1; }
    const char* LinkListName(int) const override { return "Uses"; }
    DovLinkList& Links(int = 0) override { return uses_; }
    void PutTicNode(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;
    void Print(std::ostream& os) const override;

    DovNameCategory Category() const { return category_; }
    void SetCategory(DovNameCategory category) { category_ = category; }
    DovSymTabElt* Element() const;
    void SetElement(DovSymTabElt* element);
    const DovLinkList& Uses() const { return uses_; }

private:
    DovLiveMark live_{this, true};
    DovNameCategory category_ = NC_UNKNOWN;
    DovLink element_;
    DovLinkList uses_;
};

// A use of a named object (NAMED_OBJ_USE): one argument, the possibly
// qualified name, and a link to the definition it is resolved to.
class DovNamedObjUse : public DovExprOper {
public:
    // One empty argument slot, unresolved.
    DovNamedObjUse();
    // `names` in the argument slot, unresolved.
    DovNamedObjUse(DovExpr* names, DovNameCategory category, int setting);
    DovNamedObjUse(const DovNamedObjUse& other);
    ~DovNamedObjUse() override;

    DovExpr* Copy() const override { return new DovNamedObjUse(*this); }
    void Unlink() override;
    int NumLinks() const override { return 1; }
    const char* LinkName(int) const override { return "Definition"; }
    DovLink& Link(int = 0) override { return definition_; }
    void Print(std::ostream& os) const override;

    DovNameCategory Category() const { return category_; }
    void SetCategory(DovNameCategory category) { category_ = category; }
    // The builder's setting; not part of the stored tree.
    int Setting() const { return setting_; }
    void SetSetting(int setting) { setting_ = setting; }
    // The definition, or null when unresolved or not linked to a NAMED_OBJ_DEF.
    DovNamedObjDef* Definition() const;
    // Resolves the use to `def` (null: unresolved), moving it from the old
    // definition's "Uses" to the new one's.
    void SetDefinition(DovNamedObjDef* def);

protected:
    void PutTicTail(std::ostream& os) const override;
    char GetTicTail(std::istream& is, VString& message) override;

private:
    DovLiveMark live_{this};
    DovNameCategory category_ = NC_UNKNOWN;
    DovLink definition_;
    int setting_ = 0;
};

// 1 when the definition behind `node` (a NAMED_OBJ_USE's definition, a
// SYMBOL_TABLE_ELT's single definition, or the node itself) is declared at
// the level of the source file rather than inside a program.
int DovIsFileLevelDef(DovExpr* node);
