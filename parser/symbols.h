// Name resolution helpers of symbols.cpp: the walk step that resolves every
// named-object use of a finished program, and the GLOBAL test that makes
// names of an enclosing program visible in the programs nested in it.
#pragma once

#include <cstdint>

#include "tree/expr.h"

class DovParserImpl;

// Bit of a symbol-table element's extra word (DovSymTabElt::ExtraWord): the
// name has been reported as not defined once.
constexpr std::uint32_t kDovUndefinedReported = 1;

// Context of DovSymTabResolveWalker: the parser that resolves and the
// program being finished, where the walk starts (null: the program of each
// use is found from the use).
struct DovResolveWalkContext {
    DovParserImpl* parser = nullptr;
    DovExpr* program = nullptr;
};

// WalkTheTree step: a NAMED_OBJ_USE is resolved with SymTabQualResolve and
// not descended into (2). A COBOL_PROGRAM other than the context's program
// (a nested program, finished and resolved before) and a symbol table are
// not entered either (2). Any other node, or none, gives 1. Without a
// context parser the working parser resolves.
int DovSymTabResolveWalker(DovExpr* node, void* context);

// True when the definition lies in an entry declared GLOBAL: a data entry
// whose own entry or any containing entry has a GLOBAL clause (condition
// names and indexes below it included), or a file, or a record of a file,
// whose FD entry has one.
bool DovIsGlobalDef(const DovExpr* def);
