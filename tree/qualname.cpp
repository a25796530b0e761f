#include "tree/qualname.h"

#include <iostream>
#include <string>
#include <vector>

#include "tree/source_text.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

// The services read nodes they are handed as const; positions and links are
// looked up through the node interface, which takes them as they are.
DovExpr* Mutable(const DovExpr* node) { return const_cast<DovExpr*>(node); }

DovTxtPosn BegOf(const DovExpr* node) { return node ? DovSrcPosnBeg(Mutable(node)) : DovNullPosn; }

void Terminal(const DovExpr* node, const char* text) { DovMessageHook(MSG_TERMINAL, BegOf(node), text); }

bool IsQualList(const DovExpr* node) {
    return node && (node->Oper() == OF_IN_LIST || node->Oper() == SQL_VAR_NAME_LIST);
}

// A live definition behind a link target or child, or null.
DovNamedObjDef* AsDef(DovExpr* node) {
    if (!DovIsLiveLinkedNode(node) || node->Oper() != NAMED_OBJ_DEF) return nullptr;
    return dynamic_cast<DovNamedObjDef*>(node);
}

// The node as a definition; anything else is reported with `text`.
DovNamedObjDef* CheckDef(const DovExpr* node, const char* text) {
    DovNamedObjDef* def = AsDef(Mutable(node));
    if (!def) Terminal(node, text);
    return def;
}

bool IsProcCategory(DovNameCategory category) {
    return category == NC_PROC_NAME || category == NC_PARA_NAME || category == NC_SECTION_NAME;
}

bool IsNamedHolder(DovOper op) {
    switch (op) {
        case DECL_FD:
        case DECL_DD:
        case DECL_CD_ENTRY:
        case DECL_RD:
        case DECL_RGD:
        case DECL_SCRD:
        case SECTION_PROC:
        case PARA_PROC:
            return true;
        default:
            return false;
    }
}

// The name an item of a qualified name stands for: that of the node it links
// to (a NAME_USE's element), or a leaf's own text.
VString NameOf(const DovExpr* item) {
    if (!item) return VString();
    DovExpr* node = Mutable(item);
    if (node->NumLinks() > 0) {
        DovExpr* target = node->Link(0).target;
        return DovIsLiveLinkedNode(target) && target->IsTerminal() ? target->Image() : VString();
    }
    return node->IsTerminal() ? node->Image() : VString();
}

// The element a name item of a qualified name is linked to, or null.
DovSymTabElt* ElementOf(DovExpr* item) {
    if (!DovIsLiveLinkedNode(item)) return nullptr;
    if (auto* use = dynamic_cast<DovNameUse*>(item)) return use->Element();
    if (auto* def = dynamic_cast<DovNamedObjDef*>(item)) return def->Element();
    return nullptr;
}

// Text of a name expression for trace lines, whatever its shape.
VString TraceText(const DovExpr* names) {
    return IsQualList(names) ? DovQualNameStr(names) : DovExprSourceText(names);
}

VString ToVString(const std::string& s) { return VString(s.data(), static_cast<int>(s.size())); }

}  // namespace

VString DovQualNameStr(const DovExpr* list) {
    if (!IsQualList(list)) {
        Terminal(list, "DovQualNameStr: bad operation");
        return VString();
    }
    std::string text;
    for (int i = 0; i < list->NumArgs(); ++i) {
        if (i > 0) text += " OF ";
        VString name = NameOf(DovArgOrNull(list, i));
        text.append(name.CStr(), static_cast<std::size_t>(name.Len()));
    }
    return ToVString(text);
}

VString DovQualNameStr(const DovExpr* list, char separator) {
    if (!IsQualList(list)) {
        Terminal(list, "DovQualNameStr: bad operation");
        return VString();
    }
    std::string text;
    for (int i = list->NumArgs() - 1; i >= 0; --i) {
        VString name = NameOf(DovArgOrNull(list, i));
        text.append(name.CStr(), static_cast<std::size_t>(name.Len()));
        if (i > 0) text += separator;
    }
    return ToVString(text);
}

DovNameUse* DovNameUseForDef(const DovExpr* node) {
    DovNamedObjDef* def = CheckDef(node, "DovNameUseForDef: bad def node");
    if (!def) return new DovNameUse(DovLink());
    // Element() passes over a stale link, which must not be copied.
    return new DovNameUse(DovLink(def->Element(), def->Link().index));
}

DovExpr* DovNamedObjDeclForDef(const DovExpr* node) {
    DovNamedObjDef* def = CheckDef(node, "DovNamedObjDeclForDef: expecting NAMED_OBJ_DEF");
    if (!def) return nullptr;
    DovExpr* parent = def->Parent();
    if (IsProcCategory(def->Category()) || !parent) return parent;
    return parent->Parent();
}

DovExpr* DovNamedObjDefForDecl(DovExpr* decl) {
    if (!decl) return nullptr;
    switch (decl->Oper()) {
        case PARA_PROGRAM_ID:
        case SNX_ON_STATUS:
        case SNX_OFF_STATUS:
        case SNX_ALPHABET:
        case SNX_CLASS:
        case FCX_SPLIT_REC_KEY:
        case DECL_CD_ENTRY:
        case SECTION_PROC:
        case PARA_PROC:
            return DovArgOrNull(decl, 0);
        case SNX_FUNC_SWITCH:
        case SNX_CALL_CONVENTION:
        case DECL_FC_ENTRY:
            return DovArgOrNull(decl, 1);
        case DECL_FD: {
            DovExpr* x = DovArgOrNull(DovArgOrNull(decl, 0), 1);
            if (x && x->Oper() == NAMED_OBJ_USE) {
                auto* use = dynamic_cast<DovNamedObjUse*>(x);
                return use ? use->Definition() : nullptr;
            }
            return x;
        }
        case DECL_DD:
        case DECL_SCRD: {
            // A screen item names itself in slot 1 of its entry, a data item
            // in slot 2; both read alike.
            DovExpr* x = DovArgOrNull(DovArgOrNull(decl, 0), decl->Oper() == DECL_DD ? 2 : 1);
            return x && (x->Oper() == NULL_NODE || x->Oper() == NAMED_OBJ_DEF) ? x : nullptr;
        }
        case DECL_RD:
            return DovArgOrNull(DovArgOrNull(decl, 0), 0);
        case DECL_RGD:
            return DovArgOrNull(DovArgOrNull(decl, 0), 1);
        default:
            return nullptr;
    }
}

DovExpr* DovEnclosingNamedDecl(DovExpr* node) {
    for (DovExpr* p = node ? node->Parent() : nullptr; p; p = p->Parent()) {
        if (p->Oper() == COBOL_PROGRAM) return nullptr;
        if (IsNamedHolder(p->Oper()) && DovNamedObjDefForDecl(p)) return p;
    }
    return nullptr;
}

DovExpr* DovFullQualNameExpr(const DovExpr* node) {
    DovNamedObjDef* def = CheckDef(node, "DovFullQualNameExpr: bad def node");
    auto* list = new DovExprOper(OF_IN_LIST);
    if (!def) return list;
    list->AddArg(DovNameUseForDef(def));
    for (DovExpr* h = DovEnclosingNamedDecl(DovNamedObjDeclForDef(def)); h; h = DovEnclosingNamedDecl(h))
        if (DovNamedObjDef* q = AsDef(DovNamedObjDefForDecl(h))) list->AddArg(DovNameUseForDef(q));
    return list;
}

VString DovFullQualNameStr(const DovExpr* def) {
    DovExpr* list = DovFullQualNameExpr(def);
    VString text = DovQualNameStr(list);
    delete list;
    return text;
}

VString DovFullQualNameStr(const DovExpr* def, char separator) {
    DovExpr* list = DovFullQualNameExpr(def);
    VString text = DovQualNameStr(list, separator);
    delete list;
    return text;
}

void DovRestrictDefs(DovLinkList& defs, const DovLinkList& quals) {
    // The declaring nodes of the qualifier's definitions, looked up once.
    std::vector<DovExpr*> scopes;
    for (const DovLink& q : quals)
        if (DovNamedObjDef* qdef = AsDef(q.target))
            if (DovExpr* scope = DovNamedObjDeclForDef(qdef)) scopes.push_back(scope);
    DovLinkList kept;
    for (const DovLink& cell : defs) {
        DovNamedObjDef* d = AsDef(cell.target);
        if (!d) {
            // Only a live definition may be looked at; the report names it
            // when it still is a node.
            Terminal(DovIsLiveLinkedNode(cell.target) ? cell.target : nullptr,
                     "DovRestrictDefs: e1def expecting NAMED_OBJ_DEF");
            continue;
        }
        bool match = false;
        for (DovExpr* p = d->Parent(); p && !match; p = p->Parent()) {
            for (DovExpr* s : scopes)
                if (p == s) match = true;
            if (p->Oper() == COBOL_PROGRAM) break;
        }
        if (match) kept.Append(cell);
    }
    defs = kept;
}

DovExpr* DovShortestUniqueQualNameExpr(const DovExpr* node, int& notUnique) {
    notUnique = 0;
    DovNamedObjDef* def = CheckDef(node, "DovShortestUniqueQualNameExpr: bad def node");
    auto* result = new DovExprOper(OF_IN_LIST);
    if (!def) {
        notUnique = 1;
        return result;
    }
    DovLinkList candidates;
    if (DovSymTabElt* elt = def->Element())
        for (const DovLink& l : elt->References())
            if (DovNamedObjDef* d = AsDef(l.target)) candidates.Append(DovLink(d));
    if (candidates.IsEmpty()) Terminal(def, "DovShortestUniqueQualNameExpr: defs empty");
    result->AddArg(DovNameUseForDef(def));
    DovExpr* from = def->Parent();
    while (candidates.Count() > 1) {
        DovExpr* h = DovEnclosingNamedDecl(from);
        if (!h) break;
        from = h;
        DovNamedObjDef* q = AsDef(DovNamedObjDefForDecl(h));
        // A data item's own holder names the item itself, which qualifies
        // nothing.
        if (!q || q == def || !q->Element()) continue;
        int before = candidates.Count();
        DovRestrictDefs(candidates, q->Element()->References());
        if (candidates.Count() < before) result->AddArg(DovNameUseForDef(q));
    }
    // No candidate left can only come of a definition outside the tree; it
    // is no more unique than several.
    if (candidates.Count() != 1) notUnique = 1;
    if (DovSymTabTraceLevel >= 1)
        std::cout << "$$ShrtstUniqName for '" << DovFullQualNameStr(def) << "' at " << BegOf(def) << " is '"
                  << DovQualNameStr(result) << "' not_unique=" << notUnique << std::endl;
    return result;
}

DovNamedObjUse* DovShortestUniqueQualNameExpr(const DovExpr* node) {
    DovNamedObjDef* def = CheckDef(node, "DovShortestUniqueQualNameExpr: bad def node");
    if (!def) return new DovNamedObjUse(new DovExprOper(OF_IN_LIST), NC_UNKNOWN, 0);
    int notUnique = 0;
    auto* use = new DovNamedObjUse(DovShortestUniqueQualNameExpr(def, notUnique), def->Category(), 0);
    use->SetDefinition(def);
    return use;
}

void SymTabResolve(DovExpr* node) {
    auto* use = node && node->Oper() == NAMED_OBJ_USE ? dynamic_cast<DovNamedObjUse*>(node) : nullptr;
    if (!use) return;
    DovLink& link = use->Link();
    if (DovIsLiveLinkedNode(link.target)) return;
    // A link left behind by a cut counts as none.
    link = DovLink();
    use->SetCategory(NC_UNKNOWN);
    DovExpr* names = DovArgOrNull(use, 0);
    if (DovSymTabTraceLevel >= 1) std::cout << "*SymTabResolve: qe=" << TraceText(names) << std::endl;
    if (!IsQualList(names) || names->NumArgs() == 0) return;
    DovSymTabElt* first = ElementOf(DovArgOrNull(names, 0));
    if (!first) return;

    DovLinkList candidates;
    for (const DovLink& l : first->References())
        if (DovNamedObjDef* d = AsDef(l.target)) candidates.Append(DovLink(d));
    for (int i = 0; i < names->NumArgs() && !candidates.IsEmpty(); ++i) {
        // A qualifier that names nothing leaves no candidate.
        DovSymTabElt* elt = ElementOf(DovArgOrNull(names, i));
        DovRestrictDefs(candidates, elt ? elt->References() : DovLinkList::Empty());
    }
    if (DovSymTabTraceLevel >= 1)
        for (const DovLink& l : candidates) std::cout << "??Def: " << DovFullQualNameStr(l.target) << std::endl;
    if (candidates.Count() != 1) return;
    DovNamedObjDef* def = AsDef(candidates.Nth(0).target);
    link = DovLink(def);
    def->Links().Append(DovLink(use, use->Serial()));
    if (DovSymTabTraceLevel >= 1) std::cout << "==Def: " << DovFullQualNameStr(def) << std::endl;
    use->SetCategory(first->Category());
}

DovNamedObjDef* DovDefForNamedObjUse(DovExpr* node) {
    auto* use = node && node->Oper() == NAMED_OBJ_USE ? dynamic_cast<DovNamedObjUse*>(node) : nullptr;
    if (!use) {
        Terminal(node, "DovDefForNamedObjUse: bad use node");
        return nullptr;
    }
    DovExpr* target = use->Link().target;
    if (!DovIsLiveLinkedNode(target)) return nullptr;
    if (DovNamedObjDef* def = AsDef(target)) return def;
    Terminal(target, "DovDefForNamedObjUse: bad def node");
    return nullptr;
}

DovNamedObjUse* DovMakeNamedObjUse(DovExpr* expr, DovNameCategory category, int setting) {
    return new DovNamedObjUse(expr, category, setting);
}

DovNamedObjUse* DovMakeNamedObjUseForElt(DovExpr* element, DovNameCategory category, DovTokenList* tokens) {
    // Only a symbol-table element can list the use among its references.
    DovExpr* elt = DovIsLiveLinkedNode(element) && element->Oper() == SYMBOL_TABLE_ELT ? element : nullptr;
    auto* name = new DovNameUse(DovLink(elt));
    if (tokens) name->Tokens().AppendList(*tokens);
    return new DovNamedObjUse(new DovExprOper(OF_IN_LIST, {name}), category, 0);
}

DovNamedObjUse* DovMakeDataNameUse(const VString& name, DovExpr* node) {
    DovExpr* table = SymTabForExpr(node);
    DovSymTabElt* elt = nullptr;
    if (table && table->Oper() == SYMBOL_TABLE_ELT_LIST)
        elt = SymTabFindOrAdd(table, name);
    else
        DovMessageHook(MSG_SEVERE, BegOf(node),
                       DovFormat("DovMakeDataNameUse: no symbol table for name '%s'", name.CStr()));
    DovExpr* list = DovListExpr(OF_IN_LIST, new DovNameUse(DovLink(elt)), nullptr);
    return new DovNamedObjUse(list, NC_DATA_NAME, 0);
}

void DovRenameDef(DovExpr* node, const VString& name) {
    DovNamedObjDef* def = CheckDef(node, "DovRenameDef: bad def node");
    if (!def) return;
    if (DovSymTabTraceLevel >= 1) {
        std::cout << "**RenameDef: '" << DovFullQualNameStr(def) << "' at " << BegOf(def) << " to '" << name << "'"
                  << std::endl;
        def->Print(std::cout);
    }
    // A definition without an element (or with one outside every table)
    // goes to the table around it.
    DovExpr* table = def->Element() ? SymTabForDef(def) : nullptr;
    if (!table) table = SymTabAround(def);
    if (!table || table->Oper() != SYMBOL_TABLE_ELT_LIST) {
        DovMessageHook(MSG_SEVERE, BegOf(def), DovFormat("DovRenameDef: no symbol table for name '%s'", name.CStr()));
        return;
    }
    SymTabDeleteDef(def);
    DovSymTabElt* elt = SymTabFindOrAdd(table, name);
    elt->SetCategory(def->Category());
    def->SetElement(elt);
}

int DovRenameDefAndAllUses(DovExpr* node, const VString& name, int undo) {
    DovNamedObjDef* def = CheckDef(node, "DovRenameDefAndAllUses: bad def node");
    if (!def) return 1;
    if (DovSymTabTraceLevel >= 1)
        std::cout << "\n=== DovRenameDefAndAllUses: from '" << DovFullQualNameStr(def) << "' to '" << name << "'"
                  << std::endl;
    VString oldName = def->Image();
    DovRenameDef(def, name);
    int notUnique = 0;
    delete DovShortestUniqueQualNameExpr(def, notUnique);
    if (notUnique && undo) {
        DovRenameDef(def, oldName);
        return 1;
    }
    DovResetFromSrc(def);
    // Re-spelling makes and drops name uses, which changes the element's
    // references: the definitions are taken first.
    std::vector<DovNamedObjDef*> homonyms;
    if (DovSymTabElt* elt = def->Element())
        for (const DovLink& l : elt->References())
            if (DovNamedObjDef* d = AsDef(l.target)) homonyms.push_back(d);
    for (DovNamedObjDef* d : homonyms) WalkTheTree(DovNamedObjDeclForDef(d), nullptr, DovRenameDefUsesWalker);
    return 0;
}

void DovRenameDefUses(DovExpr* node) {
    if (DovNamedObjDef* def = AsDef(node)) WalkTheTree(DovNamedObjDeclForDef(def), nullptr, DovRenameDefUsesWalker);
}

int DovRenameDefUsesWalker(DovExpr* node, void*) {
    DovNamedObjDef* def = AsDef(node);
    if (!def) return DOV_WALK_DESCEND;
    int notUnique = 0;
    DovExpr* name = DovShortestUniqueQualNameExpr(def, notUnique);
    if (notUnique)
        DovMessageHook(MSG_SEVERE, BegOf(def),
                       "DovRenameDefUsesWalker: cannot create a unique name for this definition. Strange.");
    std::vector<DovNamedObjUse*> uses;
    for (const DovLink& l : def->Uses())
        if (DovIsLiveLinkedNode(l.target))
            if (auto* use = dynamic_cast<DovNamedObjUse*>(l.target)) uses.push_back(use);
    for (DovNamedObjUse* use : uses) {
        if (use->NumArgs() < 1) continue;
        if (DovSymTabTraceLevel >= 1)
            std::cout << "--ChangeUse: fr '" << TraceText(DovArgOrNull(use, 0)) << "' at " << BegOf(use) << " to '"
                      << DovQualNameStr(name) << "'" << std::endl;
        delete use->DelArg(0, 0, 0);
        use->SetArg(0, name->Copy(), -1, 0);
    }
    delete name;
    return DOV_WALK_DESCEND;
}
