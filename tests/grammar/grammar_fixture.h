// What every grammar test stands on: a source text parsed by Parse with the
// COBOL grammar installed, its tree in a compact shape form, its messages,
// and the token-conservation check (the tokens gathered from the tree are
// exactly the tokens the token adapter delivered, in order).
//
// Shape form: an operation node is NAME(slot,slot,...) with `-` for an empty
// slot (a list node shows its members); NULL_NODE is `null`; a node with no
// slots is NAME; a terminal (literal, character string) is its image; a
// NAME_USE is its name; a NAMED_OBJ_USE is its qualified name ("A OF B");
// a NAMED_OBJ_DEF is def:NAME; a symbol-table element is elt:NAME.
//
//   vemlo_grammar_test::GrammarRun run;
//   ASSERT_EQ(run.ParseStatements("MOVE A(1) TO B."), 0) << run.MessageText();
//   EXPECT_EQ(run.StatementShape(0), "STMT_MOVE(TABLE_ELT(A,SUBSCRIPT_LIST(1)),EX_LIST(B))");
//   EXPECT_EQ(run.TokenDifference(), "");
#pragma once

#include <string>
#include <vector>

#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tree/expr.h"

namespace vemlo_grammar_test {

// The compact shape of a subtree (see above); "(none)" for null.
std::string Shape(const DovExpr* node);

// The spellings of every token of a subtree, in walk order (slot tokens,
// then the child, then the node's own tokens).
std::vector<std::string> TreeTokens(const DovExpr* node);

// The first node of `op` in pre-order under `root`, or null.
DovExpr* FindFirst(DovExpr* root, DovOper op);
// Every node of `op` under `root`, in pre-order.
std::vector<DovExpr*> FindAll(DovExpr* root, DovOper op);

class GrammarRun {
public:
    GrammarRun();
    ~GrammarRun();
    GrammarRun(const GrammarRun&) = delete;
    GrammarRun& operator=(const GrammarRun&) = delete;

    // The parser's options, to change before a parse (dialect ansi85 and
    // fixed format by default; names are not resolved, so that snippets need
    // no data division; set parser().resolveNames = 1 to resolve; empty
    // slots stay empty, as the grammar leaves them: fillNullArgs is 0).
    DovParserImpl& parser() { return parser_; }

    // Parses `source` as a whole file; the Parse status.
    int ParseText(const std::string& source);
    // Parses the file `path` as it is; the Parse status.
    int ParseFile(const std::string& path);
    // Parses `lines` (each written from column 12, one per line) as the
    // procedure division of a minimal program:
    //   IDENTIFICATION DIVISION. PROGRAM-ID. T. PROCEDURE DIVISION. P-0.
    int ParseStatements(const std::string& lines);
    // The same with `division` lines written from column 8 before the
    // procedure division (an environment or data division).
    int ParseStatements(const std::string& lines, const std::string& division);

    DovExpr* root() const { return root_; }
    // The program tree's first COBOL_PROGRAM, DIVISION_PROCEDURE.
    DovExpr* Program() const;
    DovExpr* ProcedureDivision() const;
    // The statements of the sentences of the procedure division, in order
    // (each sentence's STMT_LIST members).
    std::vector<DovExpr*> Statements() const;
    // The shape of statement i, "(none)" when there are fewer.
    std::string StatementShape(std::size_t i) const;
    // The shape of the first node of `op`.
    std::string ShapeOf(DovOper op) const;

    // The messages as "ERROR: text" / "WARNING: text", in order.
    std::vector<std::string> Messages() const;
    // All of them, one per line (for failure output).
    std::string MessageText() const;
    // The number of "syntax error" messages.
    int SyntaxErrors() const;
    // The number of delivered lexemes (what the grammar read, once each).
    int LexemeCount() const { return lexemes_; }
    // How often the rule whose text (btyacc's, "lhs : rhs ...") is `rule`
    // was reduced outside trial mode in the last parse; -1 when no rule has
    // that text.
    int Reductions(const std::string& rule) const;

    // "" when the tokens gathered from the tree are the delivered tokens in
    // order; otherwise the first difference.
    std::string TokenDifference() const;
    // "" when the tree holds exactly the delivered tokens, each once, in
    // whatever order (clauses collected in any order sit in slot order);
    // otherwise the first token lost or duplicated.
    std::string TokenLossOrDuplication() const;

private:
    DovParserImpl parser_;
    vemlo_test::TempDir dir_;
    DovExpr* root_ = nullptr;
    DovTokenList messages_;
    int lexemes_ = 0;
    std::vector<unsigned> rule_counts_;
};

}  // namespace vemlo_grammar_test
