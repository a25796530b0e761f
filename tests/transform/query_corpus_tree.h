// A stand-in for a parsed program tree, made from a real COBOL source file
// while the parser is not there: the lexer's tokens of the file, sentence by
// sentence, grouped into statement nodes at their verbs, with user words as
// name uses linked to a symbol table, literals as constant leaves and every
// other word as a token string. The shape is not the grammar's, but the
// sizes, texts, positions, links and operations are those of real code.
#pragma once

#include <string>
#include <vector>

#include "tree/expr.h"

namespace vemlo_test {

// The tree of one file (the copybook folder is searched for COPY members);
// null when the file cannot be read. The caller deletes it.
DovExpr* BuildCorpusTree(const std::string& file, const std::string& copy_dir);

// Every node of a tree in pre-order.
std::vector<DovExpr*> TreeNodes(DovExpr* root);

}  // namespace vemlo_test
