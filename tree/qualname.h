// Qualified names (X OF G OF R): spelling them, finding the node that
// declares a name, narrowing candidate definitions by their qualifiers,
// resolving a use to its one definition, the builders of name uses, and
// renaming a definition with every use re-spelled so that it stays
// unambiguous.
//
// A qualified name is an OF_IN_LIST (or SQL_VAR_NAME_LIST) of NAME_USE nodes,
// the name first and then its qualifiers from the inside out. Nodes of the
// wrong kind are programming errors: they are reported with MSG_TERMINAL and
// the operation returns a neutral result.
#pragma once

#include "lbase/vstring.h"
#include "tree/named.h"

// The names of an OF_IN_LIST or SQL_VAR_NAME_LIST joined by " OF ".
VString DovQualNameStr(const DovExpr* list);
// The names from the last to the first joined by `separator` (R.G.X).
VString DovQualNameStr(const DovExpr* list, char separator);

// A new NAME_USE linked to the element of a NAMED_OBJ_DEF.
DovNameUse* DovNameUseForDef(const DovExpr* def);

// The node that declares a NAMED_OBJ_DEF: its parent for procedure, paragraph
// and section names, otherwise the parent of its parent (the DECL_DD holder
// of a data item).
DovExpr* DovNamedObjDeclForDef(const DovExpr* def);

// The node that holds the name that a declaring node declares: a
// NAMED_OBJ_DEF, a NULL_NODE for an unnamed (FILLER) item, or null when the
// node declares no name.
DovExpr* DovNamedObjDefForDecl(DovExpr* decl);

// The nearest named holder above `node` (DECL_FD, DECL_DD, DECL_CD_ENTRY,
// DECL_RD, DECL_RGD, DECL_SCRD, SECTION_PROC or PARA_PROC) that declares a
// name (a NULL_NODE name counts), stopping at the COBOL_PROGRAM; null when
// there is none.
DovExpr* DovEnclosingNamedDecl(DovExpr* node);

// A new OF_IN_LIST: the definition's name and the name of every enclosing
// named holder up to the program; unnamed holders are skipped.
DovExpr* DovFullQualNameExpr(const DovExpr* def);
// The full qualified name as text, "A OF B OF C".
VString DovFullQualNameStr(const DovExpr* def);
// The same from the outside in, joined by `separator` ("C.B.A").
VString DovFullQualNameStr(const DovExpr* def, char separator);

// A new OF_IN_LIST with the fewest qualifiers that single the definition out
// among its homonyms; `notUnique` becomes 1 when even every qualifier leaves
// it ambiguous, else 0.
DovExpr* DovShortestUniqueQualNameExpr(const DovExpr* def, int& notUnique);
// That list inside a new NAMED_OBJ_USE resolved to the definition.
DovNamedObjUse* DovShortestUniqueQualNameExpr(const DovExpr* def);

// Keeps in `defs` (links to candidate NAMED_OBJ_DEFs) only those declared
// below the declaring node of one of the NAMED_OBJ_DEFs in `quals` (the
// "References" of a qualifier's element); the order is kept.
void DovRestrictDefs(DovLinkList& defs, const DovLinkList& quals);

// Resolves an unresolved NAMED_OBJ_USE: links it to its definition when
// exactly one candidate survives its qualifiers; otherwise it stays
// unresolved with category 0.
void SymTabResolve(DovExpr* use);

// The definition a NAMED_OBJ_USE is resolved to, or null.
DovNamedObjDef* DovDefForNamedObjUse(DovExpr* use);

// A new unresolved NAMED_OBJ_USE holding `expr`.
DovNamedObjUse* DovMakeNamedObjUse(DovExpr* expr, DovNameCategory category, int setting);
// A new unresolved NAMED_OBJ_USE of OF_IN_LIST(NAME_USE of `element`); the
// tokens of `tokens` (when given) move onto the NAME_USE.
DovNamedObjUse* DovMakeNamedObjUseForElt(DovExpr* element, DovNameCategory category, DovTokenList* tokens);
// A new unresolved data-name use of `name`, entered in the symbol table of
// the program around `node`.
DovNamedObjUse* DovMakeDataNameUse(const VString& name, DovExpr* node);

// Moves a definition to the element of `name`; its uses are not touched.
void DovRenameDef(DovExpr* def, const VString& name);
// Renames a definition and re-spells the uses of it and of its new
// homonyms. With `undo` set, a name that leaves the definition ambiguous
// even with every qualifier is taken back and the result is 1; else 0.
int DovRenameDefAndAllUses(DovExpr* def, const VString& name, int undo);
// Re-spells the uses of every definition below the declaring node of `def`.
void DovRenameDefUses(DovExpr* def);
// Walk callback of the re-spelling; always 1.
int DovRenameDefUsesWalker(DovExpr* node, void* context);
