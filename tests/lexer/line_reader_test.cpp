#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"

namespace {

using vemlo_test::LexerTest;
using vemlo_test::ReadLine;

DovDials Dials(const std::vector<int>& dialects) {
    DovDials d = DovNoDials();
    for (int n : dialects) DovDialsAdd(d, n);
    return d;
}

// "code|text" for each line read.
std::vector<std::string> Coded(const std::vector<ReadLine>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(std::to_string(l.code) + "|" + l.text);
    return out;
}

std::string Ordinary(const std::string& text) { return "0|" + text; }
std::string Comment(const std::string& text) { return std::to_string(CM_COMMENT) + "|" + text; }
std::string Blank(const std::string& text) { return std::to_string(CM_BLANK_LINE) + "|" + text; }

struct FormatCase {
    const char* what;
    int format;
    std::vector<int> dialects;
    int debugging;
    std::string source;
    std::vector<std::string> want;
};

class LineFormats : public LexerTest {};

TEST_F(LineFormats, Table) {
    const std::string c80 = "000100 MOVE A TO B." + std::string(53, ' ') + "SEQ12345";
    const FormatCase cases[] = {
        {"tab to the next multiple of 8", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "0001\tX\n000200\tMOVE\n",
         {Ordinary("0001    X"), Ordinary("000200  MOVE")}},
        {"tab in free format", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, "A\tB\n\t\tC\n",
         {Ordinary("A       B"), Ordinary("                C")}},
        {"CR and ^Z stripped", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "000100 MOVE\r\n000200 X\x1a\r\n\x1a",
         {Ordinary("000100 MOVE"), Ordinary("000200 X")}},
        {"a carriage return alone ends a line as LF and CR LF do", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0,
         "000100 A\r000200 B\r\n000300 C\n\r000500 E\r",
         {Ordinary("000100 A"), Ordinary("000200 B"), Ordinary("000300 C"), Blank(""), Ordinary("000500 E")}},
        {"a file of carriage returns alone in free format", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, "A\r\rB\x1a\rC",
         {Ordinary("A"), Blank(""), Ordinary("B"), Ordinary("C")}},
        {"a byte-order mark in front of the first line is no text", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0,
         "\xEF\xBB\xBF" "000100*NOTE\r\n000200 \xEF\xBB\xBF\r\n",
         {Comment("000100*NOTE"), Ordinary("000200 \xEF\xBB\xBF")}},
        {"a byte-order mark in front of a free-format line", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0,
         "\xEF\xBB\xBF" "D X.\n", {Comment("D X.")}},
        {"columns 73-80 cut", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, c80 + "\n",
         {Ordinary("000100 MOVE A TO B.")}},
        {"var keeps 256", LINE_FORMAT_VAR, {DIAL_ANSI85}, 0, "000100 " + std::string(300, 'X') + "\n",
         {Ordinary("000100 " + std::string(249, 'X'))}},
        {"free keeps 256", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, std::string(300, 'Y'),
         {Ordinary(std::string(256, 'Y'))}},
        {"last line without newline", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "000100 A\n000200 B",
         {Ordinary("000100 A"), Ordinary("000200 B")}},
        {"blank lines", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "000100\n\n      \f\n000200 A\n",
         {Blank("000100"), Blank(""), Blank(""), Ordinary("000200 A")}},
        {"blank line in free format", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, "\n   \nX\n", {Blank(""), Blank(""), Ordinary("X")}},
        {"comment indicators", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "000100* NOTE\n000200/PAGE\n000300-  'X'\n",
         {Comment("000100* NOTE"), Comment("000200/PAGE"), Ordinary("000300-  'X'")}},
        {"* and / in column 1", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "*00100 MOVE\n/00200 MOVE\n",
         {Comment("*00100 MOVE"), Comment("/00200 MOVE")}},
        {"* and / in column 1 under rm", LINE_FORMAT_FIXED, {DIAL_RM}, 0, "*00100 MOVE\n/00200 MOVE\n",
         {Ordinary("*00100 MOVE"), Ordinary("/00200 MOVE")}},
        {"* in column 1 under rm85", LINE_FORMAT_FIXED, {DIAL_RM85}, 0, "*00100 MOVE\n", {Ordinary("*00100 MOVE")}},
        {"debugging lines off, in either case", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0,
         "000100D    DISPLAY X.\n000200d    Y\n", {Comment("000100D    DISPLAY X."), Comment("000200d    Y")}},
        {"debugging lines on, in either case", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 1,
         "000100D    DISPLAY X.\n000200d    DISPLAY Y.\n",
         {Ordinary("000100     DISPLAY X."), Ordinary("000200     DISPLAY Y.")}},
        {"free debugging lines off", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, "D DISPLAY X.\nd Y\nDISPLAY Z.\n",
         {Comment("D DISPLAY X."), Comment("d Y"), Ordinary("DISPLAY Z.")}},
        {"free debugging lines on", LINE_FORMAT_FREE, {DIAL_ANSI85}, 1, "d DISPLAY X.\n",
         {Ordinary("  DISPLAY X.")}},
        {"free comments", LINE_FORMAT_FREE, {DIAL_ANSI85}, 0, "* C\n/ P\n", {Comment("* C"), Comment("/ P")}},
        {"-INC lines", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "-inc MEMBER  X\n-INC\n",
         {std::to_string(CM_LIBR_INC) + "|-inc MEMBER  X", Blank("-INC")}},
        {"END-OF-LIB", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "END-OF-LIB\n", {Comment("*ND-OF-LIB")}},
        {"@ lines under fsc", LINE_FORMAT_FIXED, {DIAL_FSC}, 0, "000100 @OPTIONS MAIN\n000200 @X\n",
         {Comment("000100 @OPTIONS MAIN"), Ordinary("000200 @X")}},
        {"@ lines without fsc", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "000100 @OPTIONS MAIN\n",
         {Ordinary("000100 @OPTIONS MAIN")}},
        {"#FILE and #LINE are comments", LINE_FORMAT_FIXED, {DIAL_ANSI85}, 0, "#FILE \"a b.cbl\"\n#LINE 7\n",
         {Comment("#FILE \"a b.cbl\""), Comment("#LINE 7")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        lexer.lineFormat = c.format;
        lexer.dials = Dials(c.dialects);
        ASSERT_TRUE(Open(c.source));
        lexer.debuggingLines = c.debugging;  // the grammar sets it after Reset
        auto lines = ReadLines();
        EXPECT_EQ(Coded(lines), c.want);
        EXPECT_TRUE(Messages().empty()) << MessageTexts()[0];
        lexer.CloseInput();
        Messages().clear();
    }
}

TEST_F(LexerTest, NulCharactersAreBlanksWithAWarning) {
    static const char kSource[] = "000100 A\0B\0\0C\n000200 D\n";
    auto lines = ReadAll(std::string(kSource, sizeof kSource - 1));
    EXPECT_EQ(Coded(lines), (std::vector<std::string>{"0|000100 A B  C", "0|000200 D"}));
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"969@1:Line has 3 NULL (0x00) characters, we replace them with spaces"});
}

// Lines far longer than the buffer: every NUL of the line counts, also past
// the kept part; a tab before the end of the kept part still expands; the
// line after starts at its own first character whatever the long line's
// length.
TEST_F(LexerTest, LongLinesCountEveryNulAndKeepTheNextLineWhole) {
    lexer.lineFormat = LINE_FORMAT_FREE;
    std::string source = "\tA" + std::string(300, 'B') + '\0' + std::string(700, 'C') + '\0' + "D\n";
    for (int n : {510, 511, 512, 513, 1023, 1024, 1025}) source += std::string(n, 'E') + "\n";
    source += "LAST";
    auto lines = ReadAll(source);
    std::vector<std::string> want = {"0|        A" + std::string(247, 'B')};
    for (int i = 0; i < 7; ++i) want.push_back("0|" + std::string(256, 'E'));
    want.push_back("0|LAST");
    EXPECT_EQ(Coded(lines), want);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"969@1:Line has 2 NULL (0x00) characters, we replace them with spaces"});
}

// The reader takes a file in chunks of kDovReadChunk bytes: a line break, a
// CR LF, a tab, a NUL or the file's end at any place around a chunk's end
// gives the same lines as at the start of a file.
TEST_F(LexerTest, LinesAcrossTheReadChunksReadAsAtTheStart) {
    lexer.lineFormat = LINE_FORMAT_FREE;
    const std::string tail =
        std::string("A\tB\r\n\r\nC") + '\0' + "D\r\n" + std::string(300, 'E') + "\t\r\n\nF\rG\r\rLAST";
    const auto want = Coded(ReadAll(tail));
    const auto wantMessages = Messages().size();
    ASSERT_EQ(want.size(), 9u);
    for (int pad = kDovReadChunk - 40; pad <= kDovReadChunk + 8; ++pad) {
        // One comment line of `pad` bytes, its line break included.
        const std::string source = "*" + std::string(static_cast<std::size_t>(pad - 2), 'X') + "\n" + tail;
        Messages().clear();
        auto lines = Coded(ReadAll(source));
        ASSERT_EQ(lines.size(), want.size() + 1) << "pad " << pad;
        lines.erase(lines.begin());
        EXPECT_EQ(lines, want) << "pad " << pad;
        EXPECT_EQ(Messages().size(), wantMessages) << "pad " << pad;
        lexer.CloseInput();
    }
    // Files that end at a chunk's end, with and without a line break.
    for (const char* last : {"\n", "Z", "\r\n", "\r"}) {
        const std::string source = std::string(kDovReadChunk - std::string(last).size(), 'Y') + last;
        auto lines = ReadAll(source);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].text, std::string(256, 'Y'));
        EXPECT_EQ(lexer.GetLine(), SEP_EOF);
        lexer.CloseInput();
    }
}

TEST_F(LexerTest, EmptyFileAndLoneLineBreak) {
    EXPECT_TRUE(ReadAll("").empty());
    lexer.CloseInput();
    auto lines = ReadAll("\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].code, CM_BLANK_LINE);
    lexer.CloseInput();
}

TEST_F(LexerTest, LastLineWithoutNewlineThenEofStays) {
    lexer.SetInput(dir.Write("a.cbl", "000100 A\n000200 B").c_str());
    EXPECT_EQ(lexer.GetLine(), 0);
    EXPECT_EQ(lexer.GetLine(), 0);
    EXPECT_EQ(lexer.CurrentPosn().Line(), 2u);
    EXPECT_EQ(lexer.GetLine(), SEP_EOF);
    EXPECT_EQ(lexer.GetLine(), SEP_EOF);
    EXPECT_EQ(lexer.CurrentPosn().Line(), 2u);
    EXPECT_EQ(lexer.linesRead, 2);
}

TEST_F(LexerTest, LineDirectivesRenumberAndRename) {
    auto lines = ReadAll("000100 A\n#LINE 100\n000200 B\n000300 C\n#FILE \"orig prog.cbl\"\n#LINE 5000\n000400 D\n");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2].line, 100u);
    EXPECT_EQ(lines[3].line, 101u);
    EXPECT_EQ(lines[6].line, 5000u);
    EXPECT_TRUE(DovSrcFileName(lexer.CurrentPosn().FileIndex()) == "orig prog.cbl");
    EXPECT_TRUE(lexer.current->path == "orig prog.cbl");
}

TEST_F(LexerTest, LineNumbersPastTwoThousand) {
    std::string source;
    for (int i = 1; i <= 5000; ++i) source += "       MOVE A TO B.\n";
    auto lines = ReadAll(source);
    ASSERT_EQ(lines.size(), 5000u);
    EXPECT_EQ(lines[2499].line, 2500u);
    EXPECT_EQ(lines.back().line, 5000u);
}

TEST_F(LexerTest, ProgressEveryIntervalLines) {
    static std::vector<std::uint32_t> seen;
    seen.clear();
    lexer.progress = [](const DovTxtPosn& p, const VString&) { seen.push_back(p.Line()); };
    lexer.progressInterval = 3;
    ReadAll("1\n2\n3\n4\n5\n6\n7\n");
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{3, 6}));
}

}  // namespace
