// What the EXEC CICS tests share: the token check that allows clause order,
// counts of typed CICS statements, and the EXEC CICS blocks of a source
// file read from its text.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"

namespace vemlo_cics_test {

// "" when every token delivered for the parse is in the tree once.
inline std::string LostOrDuplicated(const vemlo_grammar_test::GrammarRun& run) {
    return run.TokenLossOrDuplication();
}

// The words of `source` written over lines that fit the program area (at
// most 56 columns from column 12), for GrammarRun::ParseStatements.
std::string Wrapped(const std::string& source);

// The number of STMT_EXEC_CICS nodes under `root` whose statement is a CICS
// statement node (not a syntax-error node).
int TypedCicsStatements(DovExpr* root);

// One EXEC CICS ... END-EXEC block of a fixed-format source: its text
// (columns 8 to 72 of its lines, joined by newlines, comment lines left
// out) and the line it starts on.
struct CicsBlock {
    std::string text;
    int line = 0;
};
std::vector<CicsBlock> CicsBlocksOf(const std::filesystem::path& file);

// The command words of a block (the first word, and the second for the
// commands named by two words), upper case: "SEND MAP", "LINK", "DEFINE".
std::string CommandOf(const CicsBlock& block);

}  // namespace vemlo_cics_test
