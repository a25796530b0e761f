// Preprocessor constants: declared into the source root as 78-level entries,
// read back through the symbol table.
#include "lexer/lexer_object.h"
#include "tree/data_items.h"
#include "tree/expr.h"
#include "tree/leaf.h"
#include "tree/link.h"
#include "tree/named.h"
#include "tree/symtab.h"

namespace {

// Slots of a 78-level entry, of its value clause and of the source root.
constexpr int kConstValueSlot = 3;     // DECL_CONST_ENTRY: the VALUE clause
constexpr int kValueLiteralSlot = 0;   // EX_CONST_VALUE: the literal
constexpr int kRootDataSlot = 2;       // COBOL_FILE: the declared data entries

// The 78-level entry above a definition, or null.
DovExpr* EntryOf(const DovNamedObjDef* def) {
    DovExpr* parent = def ? def->Parent() : nullptr;
    return parent && parent->Oper() == DECL_CONST_ENTRY ? parent : nullptr;
}

// The 78-level entry that `node` declares or names: the entry itself, the
// entry above a definition, the entry of a use's definition, or the entry of
// the first definition among an element's references. Links are followed
// only to nodes that are still alive.
DovExpr* ConstantEntry(DovExpr* node) {
    if (!node) return nullptr;
    if (node->Oper() == DECL_CONST_ENTRY) return node;
    if (auto* def = dynamic_cast<DovNamedObjDef*>(node)) return EntryOf(def);
    if (auto* use = dynamic_cast<DovNamedObjUse*>(node)) return EntryOf(use->Definition());
    if (auto* element = dynamic_cast<DovSymTabElt*>(node)) {
        for (const DovLink& link : element->References())
            if (DovIsLiveLinkedNode(link.target))
                if (DovExpr* entry = EntryOf(dynamic_cast<DovNamedObjDef*>(link.target))) return entry;
    }
    return nullptr;
}

}  // namespace

bool DovPreprocessorConstantValue(DovExpr* element, VString& text, int& isNumber, long long& number) {
    DovExpr* entry = ConstantEntry(element);
    DovExpr* clause = entry && entry->NumArgs() > kConstValueSlot ? entry->Args(kConstValueSlot) : nullptr;
    if (!clause || clause->Oper() != EX_CONST_VALUE || clause->NumArgs() <= kValueLiteralSlot) return false;
    DovExpr* literal = clause->Args(kValueLiteralSlot);
    if (!literal) return false;
    if (literal->Oper() == INT_NUM_CONST) {
        text = literal->Image();
        number = literal->IntValue();
        isNumber = 1;
        return true;
    }
    if (auto* str = dynamic_cast<DovStrConst*>(literal)) {
        text = str->StrValue();
        isNumber = 0;
        return true;
    }
    return false;
}

void DovLexer::DeclareConstant(DovExpr* root, const VString& name, const VString& image, bool isString,
                               long long value) {
    if (!root || (root->Oper() != COBOL_FILE && root->Oper() != COBOL_PROGRAM)) {
        Report(MSG_SEVERE, CurrentPosn(),
               DovFormat("DovLexer::SetPreprocessorConstant: no source root to declare '%s' in", name.CStr()));
        return;
    }
    DovExpr* literal = isString ? static_cast<DovExpr*>(new DovStrConst(image))
                                : static_cast<DovExpr*>(new DovIntNumConst(image, value));
    DovNamedObjDef* def = nullptr;
    root->SetArgToList(kRootDataSlot, DECL_DD_LIST, DovDeclConstant(def, name, literal, root));
}
