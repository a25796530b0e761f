// Randomly damaged sources through a lex-only parse: every run ends with
// status 0, counts at least the end-of-file token and leaves no parser
// working.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "parser/parser.h"
#include "tests/support/mutate.h"
#include "tests/lexer/temp_dir.h"

namespace {

const char kSource[] =
    "000100 IDENTIFICATION DIVISION.\n"
    "000200 PROGRAM-ID. FUZZ.\n"
    "000300 DATA DIVISION.\n"
    "000400 WORKING-STORAGE SECTION.\n"
    "000500 01 A PIC X(10) VALUE 'ABC''DEF'.\n"
    "000600 01 B PIC S9(4) COMP-3 VALUE -12.\n"
    "000700 COPY MEMBER REPLACING ==X== BY ==Y==.\n"
    "000800 PROCEDURE DIVISION.\n"
    "000900     EXEC SQL SELECT C INTO :A FROM T END-EXEC.\n"
    "001000     EXEC CICS RETURN END-EXEC.\n"
    "001100*   A COMMENT LINE\n"
    "001200     MOVE \"QUOTED\n"
    "001300-    \"CONTINUED\" TO A.\n"
    "001400     STOP RUN.\n";

TEST(ParseFuzz, DamagedSourcesLexToTheEnd) {
    vemlo_test::TempDir dir;
    dir.Write("MEMBER.cpy", "000100 01 X PIC X.\n");
    DovParserImpl parser;
    parser.lexOnly = 1;
    DovMessageCallback quiet = [](int, const DovTxtPosn&, const VString&) {};
    parser.messageCallback = quiet;
    parser.copyDirs.Append(dir.Path().c_str());
    VString error;
    ASSERT_EQ(parser.ResolveDialectDefaults(error), 0);
    const char alphabet[] = " .'\"=-*$()\n\t,;:ABCXYZ09\x01\xff";
    std::mt19937 random(20261210);
    for (int round = 0; round < 300; ++round) {
        std::string text = kSource;
        vemlo_test::MutateText(text, random, std::string_view(alphabet, sizeof alphabet - 1));
        const std::string file = dir.Write("fuzz.cbl", text);
        DovExpr* root = nullptr;
        DovTokenList messages;
        ASSERT_EQ(parser.Parse(file.c_str(), root, &messages), 0) << text;
        EXPECT_EQ(root, nullptr);
        EXPECT_GE(parser.tokenCount, 1);
        ASSERT_EQ(WorkingParser, nullptr);
    }
}

}  // namespace
