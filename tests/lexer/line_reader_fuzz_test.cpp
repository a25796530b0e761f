// Random mutations of a source full of directives through the line reader in
// every format and many dialect sets: no crash, no hang, lines in order.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/lexer/lexer_fixture.h"

namespace {

using vemlo_test::LexerTest;

const char kBaseText[] =
    "000100 IDENTIFICATION DIVISION.\n"
    "000200 PROGRAM-ID. FUZZ IS INITIAL.\n"
    "000300 AUTHOR. SOMEONE\n"
    "000400     ELSE.\n"
    "      $IF X = \"A\"\n"
    "      $IF 10 > 9\n"
    "      $SET CONSTANT A\"x y\" B(12) C(\n"
    "      $ELSE\n"
    "       $DISPLAY hi\n"
    "      $END\n"
    "      $END\n"
    "#LINE 4000\n"
    "#FILE \"other.cbl\"\n"
    "-INC MEMBER\n"
    "000500D    DISPLAY 'X'.\n"
    "       PROCESS APOST\n"
    "       CBL X\n"
    "       EJECT\n"
    "END-OF-LIB\n"
    "000600 @OPTIONS\n"
    "\tMOVE\t1 TO X.\r\n"
    "*COMMENT\n";

TEST_F(LexerTest, RandomMutationsOfDirectiveLines) {
    std::mt19937 rng(20240611);
    const char specials[] = {'\0', '\t', '\r', '\n', '\x1a', '$', '"', '\'', ' ', '*', '/', 'D', '(', ')', '\f'};
    for (int round = 0; round < 400; ++round) {
        std::string text(kBaseText, sizeof kBaseText - 1);
        int edits = 1 + static_cast<int>(rng() % 30);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = rng() % (text.size() + 1);
            switch (rng() % 4) {
                case 0: text.insert(at, 1, specials[rng() % sizeof specials]); break;
                case 1: if (at < text.size()) text.erase(at, 1 + rng() % 8); break;
                case 2: text.insert(at, std::string(rng() % 400, static_cast<char>('A' + rng() % 26))); break;
                default: if (at < text.size()) text[at] = static_cast<char>(rng() % 256); break;
            }
        }
        lexer.lineFormat = 1 + static_cast<int>(rng() % 4);
        lexer.dials.word = static_cast<std::uint32_t>(rng());
        lexer.progidComments = static_cast<int>(rng() % 2);
        ASSERT_TRUE(Open(text));
        lexer.debuggingLines = static_cast<int>(rng() % 2);
        int limit = lexer.lineFormat == LINE_FORMAT_FIXED ? kDovFixedLineLimit : kDovLineBufferSize;
        for (int guard = 0;; ++guard) {
            ASSERT_LT(guard, 100000);
            int code = lexer.GetLine();
            if (code == SEP_EOF) break;
            ASSERT_TRUE(code == 0 || code == CM_BLANK_LINE || code == CM_COMMENT || code == CM_LIBR_INC);
            ASSERT_LE(lexer.current->lineLen, limit);
            ASSERT_LE(lexer.ifDepth, kDovMaxIfDepth);
            int index = static_cast<int>(rng() % (limit + 4)) - 2;
            VString text1, name;
            int defined, isNumber;
            long long number;
            lexer.GetDirectiveOperand(text1, name, defined, isNumber, number, index);
        }
        lexer.CloseInput();
        Messages().clear();
    }
}

}  // namespace
