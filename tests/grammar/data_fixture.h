// Parses small COBOL sources through the parser and the COBOL grammar and
// describes the parts of the tree in a compact shape, for the tests of the
// identification, environment and data division rules.
#pragma once

#include <string>
#include <vector>

#include "tree/expr.h"

namespace vemlo_test {

struct DataParse {
    DovExpr* root = nullptr;        // COBOL_FILE, owned
    int status = -1;                // the status of Parse
    std::vector<std::string> messages;  // "ERROR: text" / "Warning: text"
    DataParse() = default;
    DataParse(const DataParse&) = delete;
    DataParse& operator=(const DataParse&) = delete;
    DataParse(DataParse&& other) noexcept;
    ~DataParse();

    // The n-th program of the file (0 the first).
    DovExpr* Program(int n = 0) const;
    // Whether a message contains `text`.
    bool Said(const std::string& text) const;
    // The number of syntax-error messages.
    int SyntaxErrors() const;
};

// Parses `lines` (each written from column 8 of a fixed-format line; a line
// starting "D " or "* " has that indicator in column 7) with
// the given options (e.g. "-lang=rm").
DataParse ParseCobol(const std::vector<std::string>& lines, const std::vector<std::string>& options = {});

// The shape of a node: OPER(child, ...) with the children up to the last
// present slot; "~" for an empty slot or a null node; a definition or
// a use is def:NAME / use:NAME, a literal or word its image.
std::string Shape(const DovExpr* node);

// The first node of `op` in the subtree, in walk order; null when none.
DovExpr* FindOper(DovExpr* node, int op);
// The number of nodes of `op` in the subtree.
int CountOper(const DovExpr* node, int op);

}  // namespace vemlo_test
