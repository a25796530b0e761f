// The parsedump tool: options through the parser's option groups, the tree,
// the messages and one status line per file, and its exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tests/parser/parsedump_run.h"
#include "tests/tools/parsedump.h"

namespace {

using vemlo_test::DumpRun;
using vemlo_test::Parsedump;

class ParsedumpTool : public ::testing::Test {
protected:
    void SetUp() override {
        saved = DovGrammar;
        DovGrammar = DovGrammarHooks();
        source = dir.Write("prog.cbl",
                           "000100 IDENTIFICATION DIVISION.\n"
                           "000200 PROGRAM-ID. P.\n"
                           "000300 PROCEDURE DIVISION.\n"
                           "000400     STOP RUN.\n");
    }
    void TearDown() override { DovGrammar = saved; }

    vemlo_test::TempDir dir;
    std::string source;
    DovGrammarHooks saved;
};

TEST_F(ParsedumpTool, LexOnlyPrintsTheStatusLine) {
    DumpRun run = Parsedump({"-lex-only", source});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "status 0 tokens 14 lines 4\n");
}

TEST_F(ParsedumpTool, MessagesComeWithTheirPositions) {
    const std::string bad = dir.Write("bad.cbl", "000100 MOVE 'OPEN TO X.\n");
    DumpRun run = Parsedump({"-lex-only", "-lang=ansi85", bad});
    EXPECT_EQ(run.status, 0);  // lex-only: status 0 whatever the messages
    EXPECT_EQ(run.out, bad + ":1:24: ERROR: End-of-file in non-numeric literal\nstatus 0 tokens 3 lines 1\n");
}

TEST_F(ParsedumpTool, EveryFileGetsItsStatusAndABadOneSetsTheExitStatus) {
    const std::string absent = dir.Path("absent.cbl");
    DumpRun run = Parsedump({"-lex-only", source, absent, source});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "status 0 tokens 14 lines 4\n"
              "ERROR: Cannot open main file '" + absent + "' for input\n"
              "status 11 tokens 0 lines 0\n"
              "status 0 tokens 14 lines 4\n");
    run = Parsedump({"-lex-only", "-lang=wang", source});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "SEVERE ERROR: Parser cannot parse this mix of dialects: Wang \nstatus 20 tokens 0 lines 0\n");
}

TEST_F(ParsedumpTool, WithAGrammarTheTreeIsPrinted) {
    DovGrammar.parse = [] {
        WorkingParser->ParserError(MSG_WARN, DovTxtPosn(2, 7, 0), "look here");
        return 0;
    };
    DumpRun run = Parsedump({source});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("COBOL_FILE", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("END_COBOL_FILE"), std::string::npos);
    EXPECT_NE(run.out.find(": Warning: look here\nstatus 1 tokens 0 lines 0\n"), std::string::npos) << run.out;
    // -no-warnings drops the warning but keeps the status.
    run = Parsedump({"-no-warnings", source});
    EXPECT_EQ(run.out.find("look here"), std::string::npos);
    EXPECT_NE(run.out.find("status 1 "), std::string::npos);
    // Without a grammar the parse fails.
    DovGrammar.parse = nullptr;
    run = Parsedump({source});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "ERROR: DovParserImpl::Parse: no grammar is installed\nstatus 3 tokens 0 lines 0\n");
}

TEST_F(ParsedumpTool, TicPrintsATreeThatReadsBackAsTheDumpedOne) {
    DovGrammar.parse = [] { return 0; };
    DumpRun dump = Parsedump({source});
    DumpRun tic = Parsedump({"-tic", source});
    ASSERT_EQ(tic.status, 0) << tic.err;
    const std::string tail = "status 0 tokens 0 lines 0\n";
    ASSERT_GE(tic.out.size(), tail.size());
    EXPECT_EQ(tic.out.substr(tic.out.size() - tail.size()), tail);
    EXPECT_EQ(tic.out.rfind("COBOL_FILE", 0), std::string::npos) << tic.out;

    std::istringstream in(tic.out.substr(0, tic.out.size() - tail.size()));
    DovExpr* root = nullptr;
    VString error;
    ASSERT_EQ(DovExpr::GetTicTree(in, root, error), 0) << error.CStr();
    ASSERT_NE(root, nullptr);
    std::ostringstream again;
    root->Print(again);
    delete root;
    EXPECT_EQ(again.str() + tail, dump.out);
}

TEST_F(ParsedumpTool, CopybookOptionsReachTheLexer) {
    dir.Write("lib/MEM.CPY", "000100 01 X PIC X(3).\n000200 01 Y PIC X(3).\n");
    const std::string file = dir.Write("copy.cbl", "000100 COPY MEM.\n");
    DumpRun run = Parsedump({"-lex-only", "-copylib-dir=" + dir.Path("lib"), "-copylib-sfx=.CPY", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("ERROR"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" lines 3\n"), std::string::npos) << run.out;
    // Not found without the folder.
    run = Parsedump({"-lex-only", "-copylib-sfx=.CPY", file});
    EXPECT_NE(run.out.find(": Warning: Cannot find/open file 'MEM'"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" lines 1\n"), std::string::npos) << run.out;
}

TEST_F(ParsedumpTool, ABadCommandLineIsRefused) {
    DumpRun run = Parsedump({"-bogus", source});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("parsedump: Unknown option: -bogus\n"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    run = Parsedump({"-lex-only"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: parsedump"), std::string::npos);
    run = Parsedump({"-lang=klingon", source});
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
    run = Parsedump({"-lo-pointer-size=big", source});
    EXPECT_EQ(run.status, 2);
}

}  // namespace
