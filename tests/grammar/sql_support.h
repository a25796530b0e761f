// What the EXEC and SQL grammar tests share: a whole parse of a small
// program around a few EXEC blocks, the compact shape of a subtree, and
// searches for nodes of one operation.
#pragma once

#include <string>
#include <vector>

#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tree/expr.h"

namespace vemlo_test {

// One parse of a source text, with its tree and messages; the tree is
// deleted with the object.
class SqlParse {
public:
    // Parses `source`, a whole fixed-format program.
    explicit SqlParse(const std::string& source);
    // Parses the file `path` with parser options given as on a command line
    // (-lang=vsii, -copylib-dir=DIR, ...).
    SqlParse(const std::string& path, const std::vector<std::string>& options);
    // Parses `statements` (procedure division lines, each placed in area B)
    // inside a small program whose working storage declares `data` lines.
    static std::string Program(const std::vector<std::string>& statements,
                               const std::vector<std::string>& data = {});
    ~SqlParse();
    SqlParse(const SqlParse&) = delete;
    SqlParse& operator=(const SqlParse&) = delete;

    DovExpr* Root() const { return root_; }
    int Status() const { return status_; }
    // The texts of the error messages, in order.
    std::vector<std::string> Errors() const;
    // The error messages with their positions.
    std::vector<const DovToken*> ErrorTokens() const;
    // The number of "syntax error" messages.
    int SyntaxErrors() const;

private:
    void Run(const std::string& path);

    TempDir dir_;
    DovParserImpl parser_;
    DovExpr* root_ = nullptr;
    DovTokenList messages_;
    int status_ = -1;
};

// Places one EXEC SQL statement, written on one line, on lines of area B.
std::vector<std::string> ExecSql(const std::string& sql);

// Every node of `op` in the subtree, in pre-order.
std::vector<DovExpr*> FindAll(DovExpr* root, DovOper op);
// The first node of `op`, or null.
DovExpr* FindFirst(DovExpr* root, DovOper op);

// The compact shape of a subtree: the operation name and the shapes of the
// slots in parentheses, "-" for an empty slot, "null" for a null node; an
// identifier or literal is its text alone, another leaf with text shows it
// in brackets (NAME_USE[P1]).
std::string Shape(const DovExpr* node);

// Every token attached to the subtree (node lists and slot lists), in walk
// order, as their spellings.
std::vector<std::string> TreeTokens(const DovExpr* node);

}  // namespace vemlo_test
