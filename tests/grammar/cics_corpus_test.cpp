// The EXEC CICS blocks of the CICS application in the corpus (genapp):
// every block is parsed inside a minimal program under VS COBOL II. A block
// whose command and options these rules cover must give a typed CICS
// statement with no message at all and lose no token; the others (a command
// with no rule, an option with no rule) are listed here with their cause,
// must give exactly their syntax errors inside the block, keep every token,
// and let the statement after them parse.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "tests/grammar/cics_support.h"
#include "tests/grammar/grammar_fixture.h"
#include "tests/support/corpus.h"

namespace {

using vemlo_cics_test::CicsBlock;
using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::GrammarRun;

// The block as the only statement of a paragraph, followed by a statement
// that must still parse; columns stay as in the source.
std::string ProgramOf(const CicsBlock& block) {
    std::string body = block.text;
    std::string upper = body;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::size_t exec = upper.find("EXEC");
    if (exec != std::string::npos) body.replace(0, exec, std::string(exec, ' '));
    const std::size_t end = upper.rfind("END-EXEC");
    if (end != std::string::npos) body = body.substr(0, end + 8);
    std::string source =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. T.\n"
        "       PROCEDURE DIVISION.\n"
        "       P-0.\n";
    std::istringstream in(body);
    for (std::string line; std::getline(in, line);) source += "       " + line + "\n";
    source += "           .\n           EXEC CICS RETURN END-EXEC.\n";
    return source;
}

// Why a block is not covered: the command with no rule, or the first
// option word with no rule for its command.
std::string CauseOf(const CicsBlock& block) {
    static const std::set<std::string> kNoRule = {"DEFINE COUNTER", "QUERY COUNTER", "GET COUNTER",
                                                  "GET CONTAINER", "ENQ", "DEQ"};
    const std::string command = vemlo_cics_test::CommandOf(block);
    if (kNoRule.count(command)) return "command " + command;
    if (command == "DELETE COUNTER") return "option COUNTER (DELETE)";
    if (command == "SYNCPOINT ROLLBACK") return "option ROLLBACK (SYNCPOINT)";
    return "";
}

struct Figures {
    int blocks = 0;
    int typed = 0;
    std::map<std::string, int> causes;
};

Figures RunCorpus() {
    Figures f;
    for (const auto& file : vemlo_test::CorpusFiles("genapp")) {
        for (const CicsBlock& block : vemlo_cics_test::CicsBlocksOf(file)) {
            ++f.blocks;
            const std::string where = file.filename().string() + ":" + std::to_string(block.line);
            SCOPED_TRACE(where);
            GrammarRun run;
            run.parser().primaryDialect = DIAL_VSII;
            VString error;
            run.parser().ResolveDialectDefaults(error);
            run.ParseText(ProgramOf(block));
            EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
            const std::vector<DovExpr*> execs = FindAll(run.root(), STMT_EXEC_CICS);
            EXPECT_EQ(execs.size(), 2u) << run.MessageText();
            // The statement after the block.
            if (execs.size() != 2u) continue;
            EXPECT_EQ(execs[1]->Args(0)->Oper(), CS_STMT_RETURN);
            const std::string cause = CauseOf(block);
            const int typed = vemlo_cics_test::TypedCicsStatements(run.root()) - 1;
            if (cause.empty()) {
                EXPECT_EQ(run.Messages().size(), 0u) << run.MessageText();
                EXPECT_EQ(typed, 1);
            } else {
                ++f.causes[cause];
                EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
                // A covered command with an option that has no rule keeps
                // its typed statement; a command with no rule does not.
                EXPECT_EQ(typed, cause.rfind("option", 0) == 0 ? 1 : 0) << run.MessageText();
            }
            f.typed += typed;
        }
    }
    return f;
}

TEST(CicsCorpus, GenappBlocks) {
    VEMLO_REQUIRE_CORPUS();
    const Figures f = RunCorpus();
    std::ostringstream out;
    out << "genapp: " << f.blocks << " EXEC CICS blocks, " << f.typed << " typed CICS statements";
    for (const auto& [cause, n] : f.causes) out << "; " << cause << ": " << n;
    std::cout << out.str() << '\n';
    // What these rules leave out, with the number of blocks each.
    const std::map<std::string, int> expected = {
        {"command DEFINE COUNTER", 37}, {"command QUERY COUNTER", 36}, {"command GET COUNTER", 2},
        {"command GET CONTAINER", 2},   {"command ENQ", 2},            {"command DEQ", 2},
        {"option COUNTER (DELETE)", 37}, {"option ROLLBACK (SYNCPOINT)", 10},
    };
    EXPECT_EQ(f.causes, expected) << out.str();
}

// Whole programs under VS COBOL II with the copybooks of the folder: the
// number of typed CICS statements equals the number of blocks whose command
// these rules cover, and no token is lost. The only syntax errors are those
// of the blocks listed above and one for each EXEC SQL block that uses SQL
// the SQL rules leave out.
TEST(CicsCorpus, GenappPrograms) {
    VEMLO_REQUIRE_CORPUS();
    const auto files = vemlo_test::CorpusFiles("genapp");
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        if (file.extension() != ".cbl") continue;
        SCOPED_TRACE(file.filename().string());
        int covered = 0, uncovered = 0;
        for (const CicsBlock& block : vemlo_cics_test::CicsBlocksOf(file))
            CauseOf(block).rfind("command", 0) == 0 ? ++uncovered : ++covered;
        int blockErrors = 0;
        for (const CicsBlock& block : vemlo_cics_test::CicsBlocksOf(file))
            if (!CauseOf(block).empty()) ++blockErrors;
        GrammarRun run;
        run.parser().primaryDialect = DIAL_VSII;
        VString error;
        run.parser().ResolveDialectDefaults(error);
        run.parser().copyDirs.Append(VString(file.parent_path().string().c_str()));
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        run.ParseText(text.str());
        if (!run.root()) {
            ADD_FAILURE() << "no tree: " << run.MessageText();
            continue;
        }
        int sqlErrors = 0;
        for (const DovExpr* sql : FindAll(run.root(), STMT_EXEC_SQL))
            if (sql->Args(0) && sql->Args(0)->Oper() == STMT__SYNTAX_ERROR) ++sqlErrors;
        EXPECT_EQ(run.SyntaxErrors(), blockErrors + sqlErrors) << run.MessageText();
        EXPECT_EQ(vemlo_cics_test::TypedCicsStatements(run.root()), covered);
        EXPECT_EQ(static_cast<int>(FindAll(run.root(), STMT_EXEC_CICS).size()), covered + uncovered);
        EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
    }
}

}  // namespace
