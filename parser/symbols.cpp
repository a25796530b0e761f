// Symbol-table definition and qualified-name resolution: the lookup of a
// name from the innermost open program, the making of definitions and the
// resolution of every named-object use to its one definition.
#include <iostream>
#include <string>

#include "parser/parser_impl.h"
#include "parser/symbols.h"
#include "tree/leaf.h"
#include "tree/qualname.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

// Slots of the entries that carry a GLOBAL clause.
constexpr int kDdGlobalArg = 11;  // DECL_DD_ENTRY, DECL_DD_ENTRY_WANG_DISPLAY
constexpr int kFdGlobalArg = 8;   // DECL_FD_ENTRY
// FCX_DEVICE: EXTERNAL / DYNAMIC.
constexpr int kDeviceExtDynArg = 0;

// The dialects under which a name may be defined twice without a warning:
// ansi85, vsii, xopen, mf, ms, rm85 and wang.
constexpr int kQuietDuplicateDialects[] = {DIAL_ANSI85, DIAL_VSII, DIAL_XOPEN, DIAL_MF,
                                           DIAL_MS,     DIAL_RM85, DIAL_WANG};

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

// Set while resolution defines a name in place of its use (ASSIGN TO): that
// definition belongs to the program being finished, whatever is innermost.
bool g_definingForUse = false;

bool IsQualList(const DovExpr* node) {
    return node && (node->Oper() == OF_IN_LIST || node->Oper() == SQL_VAR_NAME_LIST);
}

bool IsProcCategory(int category) {
    return category == NC_PROC_NAME || category == NC_PARA_NAME || category == NC_SECTION_NAME;
}

// Categories whose names an enclosing program's table lends to the programs
// nested in it.
bool IsNestedVisibleCategory(int category) {
    return category == NC_SYMBOLIC_CHAR || category == NC_SYMBOLIC_CONSTANT ||
           category == NC_USER_FIGURATIVE_CONST || category == NC_CONSTANT_NAME || category == NC_PROGRAM_NAME;
}

// A live definition is always a NAMED_OBJ_DEF: its operation never changes.
DovNamedObjDef* AsDef(DovExpr* node) {
    return DovIsLiveDefinition(node) ? static_cast<DovNamedObjDef*>(node) : nullptr;
}

// The table of program-stack level `level`.
DovExpr* LevelTable(const DovParserImpl* parser, int level) { return SymTabOfHolder(parser->programStack[level]); }

// Whether one of the element's definitions lies in a GLOBAL entry.
bool HasGlobalDef(const DovSymTabElt* element) {
    for (const DovLink& link : element->References())
        if (DovNamedObjDef* def = AsDef(link.target))
            if (DovIsGlobalDef(def)) return true;
    return false;
}

// The element a name item of a qualified name stands for.
DovSymTabElt* ElementOf(DovExpr* item) {
    if (!DovIsLiveLinkedNode(item)) return nullptr;
    if (auto* use = dynamic_cast<DovNameUse*>(item)) return use->Element();
    if (auto* def = dynamic_cast<DovNamedObjDef*>(item)) return def->Element();
    if (auto* elt = dynamic_cast<DovSymTabElt*>(item)) return elt;
    return nullptr;
}

// The qualified-name text of any name expression: " OF " between the names
// of a list, the text of a single name.
VString QualText(const DovExpr* names) {
    if (!names) return VString();
    if (IsQualList(names)) return DovQualNameStr(names);
    if (names->IsTerminal()) return names->Image();
    std::string text;
    for (int i = 0; i < names->NumArgs(); ++i) {
        const DovExpr* item = DovArgOrNull(names, i);
        if (i > 0) text += " OF ";
        if (item && item->IsTerminal()) text += item->Image().CStr();
    }
    return VString(text.data(), static_cast<int>(text.size()));
}

// The nearest SECTION_PROC above `node`; null when a DIVISION_PROCEDURE or
// the top comes first.
DovExpr* SectionOfUse(DovExpr* node) {
    for (DovExpr* p = node ? node->Parent() : nullptr; p; p = p->Parent()) {
        if (p->Oper() == SECTION_PROC) return p;
        if (p->Oper() == DIVISION_PROCEDURE) return nullptr;
    }
    return nullptr;
}

// The nearest SECTION_PROC or DIVISION_PROCEDURE above a definition.
DovExpr* SectionOfDef(DovExpr* def) {
    for (DovExpr* p = def ? def->Parent() : nullptr; p; p = p->Parent())
        if (p->Oper() == SECTION_PROC || p->Oper() == DIVISION_PROCEDURE) return p;
    return nullptr;
}

// Links a use to a definition; the definition's "Uses" gets the use with
// its serial number.
void LinkUse(DovNamedObjUse* use, DovNamedObjDef* def) {
    use->SetDefinition(def);
    DovLinkList& uses = def->Links();
    if (uses.Count() > 0) uses.Nth(uses.Count() - 1).index = use->Serial();
}

// Replaces a use in its parent by `node`, which takes every token of the
// use, and deletes the use.
void ReplaceUse(DovParserImpl* parser, DovNamedObjUse* use, DovExpr* node) {
    DovGatherTokens(use, &node->Tokens());
    use->ReplThis(node);
    parser->ForgetNodesWithin(use);
    delete use;
}

}  // namespace

bool DovIsGlobalDef(const DovExpr* def) {
    if (!def) return false;
    for (const DovExpr* p = def->Parent(); p && p->Oper() != COBOL_PROGRAM; p = p->Parent()) {
        // A holder (DECL_DD, DECL_FD) answers for the entry in its slot 0;
        // the subordinate entries and records lie in its slot 1.
        const DovExpr* entry = p;
        if (p->Oper() == DECL_DD || p->Oper() == DECL_DD_HIDDEN || p->Oper() == DECL_FD) entry = DovArgOrNull(p, 0);
        if (!entry) continue;
        switch (entry->Oper()) {
            case DECL_DD_ENTRY:
            case DECL_DD_ENTRY_WANG_DISPLAY:
                if (!Absent(DovArgOrNull(entry, kDdGlobalArg))) return true;
                break;
            case DECL_FD_ENTRY:
                if (!Absent(DovArgOrNull(entry, kFdGlobalArg))) return true;
                break;
            default:
                break;
        }
    }
    return false;
}

// ==========================================================================
// Lookup and definition
// ==========================================================================

DovSymTabElt* DovParserImpl::FindNameInProg(const VString& name) {
    if (DovSymTabTraceLevel) std::cout << "*FindNameInProg: " << name << std::endl;
    const int innermost = programCount - 1;
    DovExpr* innerTable = currentSymTab ? currentSymTab : (innermost >= 0 ? LevelTable(this, innermost) : nullptr);
    if (!innerTable) return nullptr;  // no source root: nothing to look in

    int insertAt = 0;
    if (DovSymTabElt* elt = SymTabFindOrPlace(innerTable, name, insertAt)) return elt;
    for (int level = innermost - 1; level >= 0; --level) {
        DovExpr* table = LevelTable(this, level);
        if (!table || table == innerTable) continue;
        DovSymTabElt* elt = SymTabFind(table, name);
        if (!elt) continue;
        // The source level lends every name; an enclosing program its
        // constants, symbolic characters, program names and GLOBAL items.
        if (level == 0 || IsNestedVisibleCategory(elt->Category()) || HasGlobalDef(elt)) return elt;
    }
    auto* elt = new DovSymTabElt(name, NC_UNKNOWN, DovLinkList());
    SymTabInsertAt(innerTable, elt, insertAt);
    return elt;
}

DovNamedObjDef* DovParserImpl::SymTabDefine(DovSymTabElt* element, int category, int flag) {
    // 1. Only an element can be defined.
    if (!element || element->Oper() != SYMBOL_TABLE_ELT) {
        if (messageCallback)
            messageCallback(MSG_TERMINAL, currentPosn, "DovParserImpl::SymTabDefine: expect SYMBOL_TABLE_ELT node");
        return nullptr;
    }
    const auto newCategory = static_cast<DovNameCategory>(category);

    // A name lent by an enclosing program (a GLOBAL item, a constant ...)
    // that the innermost program declares again gets its own element there:
    // the local definition hides the lent one instead of joining it.
    if (newCategory != NC_PROGRAM_NAME && !g_definingForUse && currentSymTab && element->Parent() &&
        element->Parent() != currentSymTab) {
        for (int level = 1; level < programCount - 1; ++level)
            if (LevelTable(this, level) == element->Parent()) {
                element = SymTabFindOrAdd(currentSymTab, element->Name());
                break;
            }
    }

    // 2. Program names are known at source level. A source-level table that
    // already holds another element of the name keeps it, and the element
    // stays where it is.
    if (newCategory == NC_PROGRAM_NAME) {
        DovExpr* sourceTable = programCount > 0 ? LevelTable(this, 0) : nullptr;
        if (sourceTable && element->Parent() != sourceTable && !SymTabFind(sourceTable, element->Name())) {
            if (element->Parent()) element->DelThis();
            DovSymTabAddElt(sourceTable, element);
        }
    }

    // 3. A name defined again, where the dialects do not allow it quietly.
    const DovNameCategory oldCategory = element->Category();
    if (flag == 0 && oldCategory != NC_UNKNOWN) {
        bool quiet = false;
        for (int d : kQuietDuplicateDialects) quiet = quiet || DovDialsLevel(lexer.dials, d) != 0;
        if (!quiet)
            ParserError(MSG_WARN, DovNullPosn,
                        DovFormat("Duplicate definition of %s '%s'", DovNameCategoryStr(newCategory).CStr(),
                                  element->Name().CStr()));
    }

    // 4. The element's category: the first one stays.
    if (oldCategory == NC_UNKNOWN || oldCategory == newCategory) {
        element->SetCategory(newCategory);
    } else if (!sameParaDataName) {
        ParserError(MSG_ERR, DovNullPosn,
                    DovFormat("%s '%s' is already defined. You cannot redefine it as %s",
                              DovNameCategoryStr(oldCategory).CStr(), element->Name().CStr(),
                              DovNameCategoryStr(newCategory).CStr()));
    }

    // 5. The definition, entered in the element's "References".
    auto* def = new DovNamedObjDef(newCategory, DovLink(element), DovLinkList());

    // 6. Trace.
    if (structureTrace) {
        std::cout << "=SymTabDef: ";
        element->Print(std::cout);
        std::cout << std::flush;
    }
    return def;
}

// ==========================================================================
// Resolution
// ==========================================================================

int DovSymTabResolveWalker(DovExpr* node, void* context) {
    if (!node) return DOV_WALK_DESCEND;
    auto* walk = static_cast<DovResolveWalkContext*>(context);
    const DovOper op = node->Oper();
    if (op == NAMED_OBJ_USE) {
        DovParserImpl* parser = walk && walk->parser ? walk->parser : WorkingParser;
        // The walk enters no other program: the use lies in the context's.
        if (parser) parser->SymTabQualResolve(dynamic_cast<DovNamedObjUse*>(node), walk ? walk->program : nullptr);
        return DOV_WALK_SKIP;
    }
    if (op == SYMBOL_TABLE_ELT_LIST) return DOV_WALK_SKIP;
    if (op == COBOL_PROGRAM && walk && walk->program && node != walk->program) return DOV_WALK_SKIP;
    return DOV_WALK_DESCEND;
}

void DovParserImpl::SymTabQualResolve(DovNamedObjUse* use, DovExpr* program) {
    // 1. Only a use can be resolved.
    if (!use || use->Oper() != NAMED_OBJ_USE) {
        if (messageCallback)
            messageCallback(MSG_TERMINAL, currentPosn, "DovParserImpl::SymTabQualResolve: expect NAMED_OBJ_USE node");
        return;
    }

    // 2. Resolved before. A link to anything but a live definition counts as
    // none.
    DovLink& link = use->Link();
    if (link.target && DovIsLiveLinkedNode(link.target)) return;
    if (link.target) link = DovLink();

    // 3. The qualified name and its kind.
    DovExpr* names = DovArgOrNull(use, 0);
    int kind = 0;
    if (names && names->Oper() == OF_IN_LIST) kind = 1;
    if (names && names->Oper() == SQL_VAR_NAME_LIST) kind = 2;
    // The name's text and the use's position, only for messages and traces.
    auto text = [names] { return QualText(names); };
    auto at = [use] { return DovSrcPosnBeg(use); };
    if (kind == 0)
        ParserError(MSG_SEVERE, at(),
                    DovFormat("Qualified name '%s' has unknown list oper %s", text().CStr(),
                              DovOperName(names ? names->Oper() : NULL_NODE)));

    // 4. Trace.
    if (structureTrace) std::cout << "*SymTabResolve: qe=" << text() << " type=" << kind << " @" << at() << std::endl;

    // 5. A debugging operand may name anything.
    if (debuggingOperand) use->SetCategory(NC_UNKNOWN);

    // 6. The candidates: every definition of the name.
    const int count = names ? names->NumArgs() : 0;
    const bool plain = !names || names->IsTerminal();
    const int nameIndex = plain ? -1 : (kind == 1 ? 0 : count - 1);
    DovSymTabElt* element = ElementOf(plain ? names : DovArgOrNull(names, nameIndex));
    if (!element) return;
    const int items = plain ? 1 : count;
    DovLinkList candidates;
    for (DovNamedObjDef* def : element->Definitions()) candidates.Append(DovLink(def));

    // A name lent by an enclosing program is seen through its GLOBAL
    // definitions only (and the categories every nested program sees).
    DovExpr* owner = element->Parent() ? element->Parent()->Parent() : nullptr;
    // Climbing from the use costs a step per level, for every use.
    DovExpr* useProgram = program ? program : DovEnclosingOper(use, COBOL_PROGRAM);
    if (owner && owner->Oper() == COBOL_PROGRAM && useProgram && owner != useProgram) {
        DovLinkList seen;
        for (const DovLink& c : candidates) {
            auto* def = static_cast<DovNamedObjDef*>(c.target);
            if (IsNestedVisibleCategory(def->Category()) || DovIsGlobalDef(def)) seen.Append(c);
        }
        candidates = seen;
    }

    // 7. Qualifiers, from the inside out.
    if (!plain) {
        for (int k = 1; k < count; ++k) {
            const int i = kind == 1 ? k : count - 1 - k;
            DovSymTabElt* qualifier = ElementOf(DovArgOrNull(names, i));
            if (qualifier)
                DovRestrictDefs(candidates, qualifier->References());
            else
                candidates.Clear();
        }
    }
    if (structureTrace)
        for (const DovLink& c : candidates) std::cout << "??Def: " << DovFullQualNameStr(c.target) << std::endl;

    // 8. A paragraph name defined in several sections: the one in the
    // section of the use.
    if (candidates.Count() >= 2 && element->Category() == NC_PARA_NAME && items == 1) {
        if (DovExpr* section = SectionOfUse(use)) {
            for (const DovLink& c : candidates)
                if (SectionOfDef(c.target) == section) {
                    const DovLink only = c;
                    candidates.Clear();
                    candidates.Append(only);
                    break;
                }
        }
    }

    // 9. A name in ASSIGN TO.
    DovExpr* parent = use->Parent();
    DovExpr* device = parent && parent->Oper() == EX_LIST ? parent->Parent() : nullptr;
    if (items == 1 && device && device->Oper() == FCX_DEVICE) {
        DovExpr* extDyn = DovArgOrNull(device, kDeviceExtDynArg);
        if ((extDyn && extDyn->Oper() == FCX_EXTERNAL) || (assignExternal && Absent(extDyn) && candidates.IsEmpty())) {
            auto* ref = new DovExprOper(FCX_EXTERNAL_FILE_REF, new DovCharString(element->Name()));
            ReplaceUse(this, use, ref);
            return;
        }
        if (candidates.IsEmpty()) {
            g_definingForUse = true;
            DovNamedObjDef* def = SymTabDefine(element, NC_DATA_NAME, 0);
            g_definingForUse = false;
            if (def) ReplaceUse(this, use, def);
            return;
        }
    }

    // 10. Several candidates: those of the expected kind.
    if (candidates.Count() >= 2 && sameParaDataName) {
        const int expected = use->Category();
        DovLinkList kept;
        for (const DovLink& c : candidates) {
            const int cat = static_cast<DovNamedObjDef*>(c.target)->Category();
            if (cat == expected || (expected == NC_PROC_NAME && (cat == NC_PARA_NAME || cat == NC_SECTION_NAME)))
                kept.Append(c);
        }
        candidates = kept;
    }

    // 11. One definition.
    if (candidates.Count() == 1) {
        auto* def = static_cast<DovNamedObjDef*>(candidates.Nth(0).target);
        LinkUse(use, def);
        if (structureTrace) std::cout << "==Def: " << DovFullQualNameStr(def) << std::endl;
        const int expected = use->Category();
        const DovNameCategory actual = element->Category();
        if (!sameParaDataName) {
            if (expected == NC_PROC_NAME && actual != NC_PARA_NAME && actual != NC_SECTION_NAME)
                ParserError(MSG_ERR, at(),
                            DovFormat("Paragraph or Section name is expected here, but you use %s '%s' instead",
                                      DovNameCategoryStr(actual).CStr(), text().CStr()));
            else if (expected != NC_UNKNOWN && expected != NC_PROC_NAME && IsProcCategory(actual))
                ParserError(MSG_ERR, at(),
                            DovFormat("Data, file, index, condition or similar name is expected here, but you use "
                                      "%s '%s' instead",
                                      DovNameCategoryStr(actual).CStr(), text().CStr()));
        }
        use->SetCategory(actual);
        return;
    }

    // 12. Several definitions: the nearest one before the use.
    if (candidates.Count() >= 2) {
        const bool report = use->Setting() == 0;
        if (report) ParserError(MSG_ERR, at(), DovFormat("Object '%s' used here is defined more than once.", text().CStr()));
        int chosen = 0;
        DovNamedObjDef* best = nullptr;
        int number = 0;
        for (const DovLink& c : candidates) {
            auto* def = static_cast<DovNamedObjDef*>(c.target);
            ++number;
            if (def->Serial() < use->Serial() && (!best || def->Serial() > best->Serial())) {
                best = def;
                chosen = number;
            }
            if (report)
                ParserError(MSG_ERR, DovSrcPosnBeg(def),
                            DovFormat("-- Definition #%d: %s", number, DovFullQualNameStr(def).CStr()));
        }
        if (!best) {
            if (!report) {
                ParserError(MSG_ERR, at(),
                            DovFormat("Object '%s' used here is defined more than once, but none of definitions "
                                      "precedes the use",
                                      text().CStr()));
                use->Link() = DovLink();
                return;
            }
            best = static_cast<DovNamedObjDef*>(candidates.Nth(0).target);
            chosen = 1;
        }
        LinkUse(use, best);
        if (report)
            ParserError(MSG_ERR, at(),
                        DovFormat("-- Using definition #%d: %s", chosen, DovFullQualNameStr(best).CStr()));
        return;
    }

    // 13. No definition.
    if (use->Category() == NC_FILE_NAME && items == 1 && parent && parent->Oper() == DECL_FC_ENTRY) {
        ParserError(MSG_ERR, at(),
                    DovFormat("File-name '%s' is defined in FC entry but not in FD entry", text().CStr()));
        return;
    }
    if (element->Category() == NC_UNKNOWN) {
        if (multiUndefdErrs) {
            ParserError(MSG_ERR, at(), DovFormat("Object named '%s' is not defined", text().CStr()));
        } else if ((element->ExtraWord() & kDovUndefinedReported) == 0) {
            ParserError(MSG_ERR, at(), DovFormat("Object named '%s' is not defined (1 error per name)", text().CStr()));
            element->SetExtraWord(element->ExtraWord() | kDovUndefinedReported);
        }
    }
    // 14. The candidate list goes with this frame.
}
