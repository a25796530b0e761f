// The embedded-SQL programs of the corpus: an EXEC SQL block is a syntax
// error only when it uses SQL the grammar does not cover, and then for one
// of the causes named below; every program gives a tree that holds exactly
// its tokens. Prints the figures: blocks parsed, blocks failed by cause,
// syntax errors outside the blocks and blocks without a node of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fstream>

#include "lbase/cmdline.h"
#include "tests/grammar/grammar_fixture.h"
#include "tests/support/corpus.h"
#include "tests/tools/lexdump.h"
#include "tree/walk.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::GrammarRun;

using vemlo_grammar_test::TreeTokens;

// Sets parser options as on a command line and derives the dialect set
// from them.
void SetOptions(DovParserImpl& parser, const std::vector<std::string>& options) {
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    std::vector<const char*> words;
    for (const std::string& o : options) words.push_back(o.c_str());
    VStringList files, problems;
    EXPECT_EQ(SetCLFlag(table, 0, static_cast<int>(words.size()), words.data(), files, problems), 0);
    VString error;
    EXPECT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
}

struct LineRange {
    int first, last;
};

// The lines of the EXEC SQL blocks of the main file, from the lexer.
std::vector<LineRange> ExecSqlBlocks(const std::string& file, const std::string& folder, int& total) {
    vemlo_tools::LexDumpSettings settings;
    VString error;
    DovStringToDials(settings.dials, VString("vsii"), error);
    settings.copyDirs.push_back(folder);
    std::ostringstream dump;
    vemlo_tools::LexDump(file, settings, &dump);
    std::vector<LineRange> out;
    std::istringstream in(dump.str());
    std::string line, prev_name;
    int exec_line = 0;
    total = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string where, code, name;
        if (!(fields >> where >> code >> name)) continue;
        const int at = std::atoi(where.c_str());
        if (name == "TK_SQL" && prev_name == "RW_EXEC") {
            ++total;
            exec_line = at;
        }
        if (name == "RW_END_EXEC" && exec_line) {
            out.push_back({exec_line, at});
            exec_line = 0;
        }
        prev_name = name;
    }
    return out;
}

// Why a block failed: the construct it uses that the grammar leaves out.
std::string Cause(const std::vector<std::string>& words, const std::string& file) {
    auto has = [&](const char* w) { return std::find(words.begin(), words.end(), w) != words.end(); };
    const std::string first = words.size() > 2 ? words[2] : "";  // after EXEC SQL
    if (first == "DROP") return "DROP TABLE";
    if (first == "CREATE") return "CREATE TABLE";
    if (first == "CONNECT" && has("IDENTIFIED")) return "CONNECT ... IDENTIFIED BY ... USING";
    if (first == "SET" && has(":")) return "SET :host-variable = function";
    if (has("VALUE")) return "column named VALUE (an SQL keyword)";
    if (has("LENGTH")) return "LENGTH function";
    if (has("!")) return "!= operator";
    // (by its words, not their order: the error node of some of these
    // blocks holds its words out of source order, see the token figure)
    if (has("SELECT") && has("INTO") && has("ORDER")) return "ORDER BY in SELECT ... INTO";
    // Test programs of the precompiler that are malformed on purpose.
    for (const char* f : {"errml-errmc.cbl", "fetch-loop.cbl", "fetch-sqlca.cbl"})
        if (file == f) return "malformed on purpose";
    return "";
}

// The words of a block from its EXEC on: the comment lines before a
// statement are among its leading tokens and are left out.
std::vector<std::string> Words(const DovExpr* node) {
    std::vector<std::string> out;
    for (const std::string& t : TreeTokens(node)) {
        if (out.empty() && t != "EXEC") continue;
        if (!t.empty() && t.find_first_not_of(" \n") != std::string::npos) out.push_back(t);
    }
    return out;
}

TEST(SqlCorpus, EveryCoveredExecSqlBlockParses) {
    VEMLO_REQUIRE_CORPUS();
    int blocks = 0, parsed = 0, other_errors = 0, missing = 0;
    std::map<std::string, int> causes;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        const std::string name = folder.name;
        if (name != "sql" && name != "genapp") continue;
        for (const auto& path : vemlo_test::CorpusFiles(folder.name)) {
            if (path.extension() != ".cbl") continue;
            const std::string file = path.filename().string();
            SCOPED_TRACE(file);
            const std::string dir = path.parent_path().string();
            int total = 0;
            ExecSqlBlocks(path.string(), dir, total);
            GrammarRun run;
            SetOptions(run.parser(), vemlo_test::CorpusOptions(folder));
            std::ifstream in(path, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            run.ParseText(text.str());
            blocks += total;
            if (!run.root()) {
                ADD_FAILURE() << "no tree: " << run.MessageText();
                continue;
            }
            EXPECT_EQ(run.TokenDifference(), "");
            std::vector<DovExpr*> nodes = FindAll(run.root(), STMT_EXEC_SQL);
            for (DovExpr* n : FindAll(run.root(), STMT_EXEC_SQL_IN_DCL)) nodes.push_back(n);
            // A block that a syntax error around it swallows has no node of
            // its own.
            missing += total - static_cast<int>(nodes.size());
            int failed = 0;
            for (DovExpr* n : nodes) {
                if (n->Args(0) && n->Args(0)->Oper() != STMT__SYNTAX_ERROR) {
                    ++parsed;
                    continue;
                }
                const std::vector<std::string> words = Words(n);
                std::string text;
                for (const std::string& w : words) text += w + " ";
                const std::string cause = Cause(words, file);
                ++failed;
                EXPECT_NE(cause, "") << "block not parsed: " << text;
                ++causes[cause.empty() ? "other" : cause];
            }
            // Syntax errors outside the EXEC SQL blocks (the CICS commands
            // the CICS test lists, and the like) are counted here (a failed
            // block reports one).
            other_errors += run.SyntaxErrors() - failed;
        }
    }
    std::cout << "EXEC SQL blocks: " << parsed << " parsed of " << blocks << "\n";
    for (const auto& [cause, n] : causes) std::cout << "  not covered: " << cause << ": " << n << "\n";
    std::cout << "syntax errors outside EXEC SQL blocks: " << other_errors << "\n";
    std::cout << "EXEC SQL blocks without a node of their own: " << missing << "\n";
}

// Every host and indicator variable inside EXEC SQL, over the corpus's SQL
// and CICS programs, has the position of its word.
TEST(SqlCorpus, EveryNameUseInsideExecSqlHasAPosition) {
    VEMLO_REQUIRE_CORPUS();
    int uses = 0;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        const std::string name = folder.name;
        if (name != "sql" && name != "genapp") continue;
        for (const auto& path : vemlo_test::CorpusFiles(folder.name)) {
            if (path.extension() != ".cbl") continue;
            SCOPED_TRACE(path.filename().string());
            GrammarRun run;
            SetOptions(run.parser(), vemlo_test::CorpusOptions(folder));
            run.ParseFile(path.string());
            if (!run.root()) continue;
            std::vector<DovExpr*> blocks = FindAll(run.root(), STMT_EXEC_SQL);
            for (DovExpr* n : FindAll(run.root(), STMT_EXEC_SQL_IN_DCL)) blocks.push_back(n);
            for (DovExpr* block : blocks)
                for (DovExpr* use : FindAll(block, NAME_USE)) {
                    ++uses;
                    EXPECT_TRUE(DovSrcPosnBeg(use).IsSet()) << use->Image().CStr();
                }
        }
    }
    EXPECT_GT(uses, 0);
}

}  // namespace
