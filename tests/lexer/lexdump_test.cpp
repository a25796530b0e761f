// The lexdump tool: one token per line, then the messages, and an exit
// status that tells whether an error was reported.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/lexer/temp_dir.h"
#include "tests/tools/lexdump.h"

namespace {

struct DumpRun {
    int status;
    std::string out;
    std::string err;
};

DumpRun Lexdump(std::vector<std::string> args) {
    args.insert(args.begin(), "lexdump");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = vemlo_tools::LexDumpMain(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(Lexdump, TokensThenMessages) {
    vemlo_test::TempDir dir;
    dir.Write("lib/MEM.CPY", "000100 01 X PIC X(3).\n");
    const std::string file = dir.Write("prog.cbl", "000100 COPY MEM.\n000200 MOVE 'AB' TO X.\n");
    DumpRun run = Lexdump({"-lang=ansi85", "-copylib-dir=" + dir.Path("lib"), "-copylib-sfx=.CPY", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1:8 397 SEP_INLINED_COPY \n"
              "1:8 415 TK_INT_NUM_LIT 01\n"
              "1:11 419 TK_USER_DEFD_WORD X\n"
              "1:13 801 RW_PIC \n"
              "1:17 417 TK_PIC_CHAR_STRING X(3)\n"
              "1:21 404 SEP_DOT \n"
              "1:22 399 SEP_COPY_EOF \n"
              "2:8 743 RW_MOVE \n"
              "2:13 414 TK_NONNUM_LIT 'AB'\n"
              "2:18 1027 RW_TO \n"
              "2:21 419 TK_USER_DEFD_WORD X\n"
              "2:22 404 SEP_DOT \n"
              "2:23 411 SEP_EOF \n");
}

TEST(Lexdump, ErrorsSetTheExitStatus) {
    vemlo_test::TempDir dir;
    const std::string file = dir.Write("bad.cbl", "000100 MOVE 'OPEN TO X.\n");
    DumpRun run = Lexdump({file});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("bad.cbl:1:24: ERROR: End-of-file in non-numeric literal\n"), std::string::npos) << run.out;
    // A warning alone does not.
    const std::string warned = dir.Write("warn.cbl", "000100XMOVE A TO B.\n");
    run = Lexdump({warned});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Warning: Unrecognized character 'X' in indicator area."), std::string::npos);
    EXPECT_EQ(Lexdump({dir.Path("absent.cbl")}).status, 1);
}

TEST(Lexdump, BadCommandLines) {
    EXPECT_EQ(Lexdump({}).status, 2);
    DumpRun run = Lexdump({"-lang=klingon", "x.cbl"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("unknown dialect 'klingon'"), std::string::npos);
    EXPECT_EQ(Lexdump({"-frobnicate", "x.cbl"}).status, 2);
}

}  // namespace
