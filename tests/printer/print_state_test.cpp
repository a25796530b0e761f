// The output layer: indentation, the right margin and continuation lines,
// the identification area, tabs, the length pass and the counters.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>

#include "lexer/src_file.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::P;
using vemlo_test::PrintPass;

void Chars(const std::string& text, int mark = 0, int counting = 0) {
    for (char c : text) PrintChar(c, mark, counting);
}

TEST(PrintState, IndentPosByLineFormat) {
    struct Case {
        int format;
        int observe;
        int step;
        int level;
        int pos;
    };
    const Case cases[] = {
        {1, 1, 2, 0, 7},  {1, 1, 2, 1, 11},  {1, 1, 2, 2, 13},  {1, 1, 2, 16, 40}, {0, 1, 2, 2, 13},
        {4, 1, 2, 2, 13}, {99, 1, 2, 1, 11}, {1, 0, 2, 0, 7},   {1, 0, 2, 3, 13},  {2, 0, 2, 0, 1},
        {2, 0, 2, 1, 3},  {3, 0, 2, 5, 11},  {2, 0, 2, 25, 40}, {1, 1, 4, 3, 19},  {1, 1, 2, -3, 7},
        // Large levels and steps are capped, not wrapped.
        {1, 1, INT_MAX, INT_MAX, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " observe " << c.observe << " level " << c.level);
        DovPrettyPrinterImpl p;
        p.gen_line_format = c.format;
        p.gen_observe_ab_rules = c.observe;
        p.gen_indent_step = c.step;
        PrintPass pass(p);
        EXPECT_EQ(IndentPos(c.level), c.pos);
    }
}

TEST(PrintState, LineFormatColumns) {
    struct Case {
        int format, a, b, margin;
    };
    const Case cases[] = {{0, 7, 11, 72}, {1, 7, 11, 72}, {2, 1, 1, 219}, {3, 1, 1, 219}, {4, 7, 11, 219}, {-1, 7, 11, 72}};
    for (const Case& c : cases) {
        DovPrintState st;
        st.SetLineFormatColumns(c.format);
        EXPECT_EQ(st.areaA, c.a) << c.format;
        EXPECT_EQ(st.areaB, c.b) << c.format;
        EXPECT_EQ(st.rightMargin, c.margin) << c.format;
    }
}

TEST(PrintState, NewLineIsIndentedAtItsLevel) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovPrinting.g_xs = 1;
    Chars("MOVE A TO B.\n");
    DovPrinting.g_xs = 0;
    Chars("P1.\n");
    EXPECT_EQ(pass.Text(), std::string(11, ' ') + "MOVE A TO B.\n" + std::string(7, ' ') + "P1.\n");
    EXPECT_EQ(DovPrinting.line_no, 3);
    EXPECT_EQ(DovPrinting.charCount, static_cast<std::int64_t>(pass.Text().size()));
}

TEST(PrintState, SeventyThirdCharacterGoesToAContinuationLine) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    Chars(std::string(65, 'X'));  // after the 7 blanks of area A: 72 characters
    ASSERT_EQ(DovPrinting.g_xpos, 72);
    Chars("Y");
    ASSERT_EQ(pass.Lines().size(), 2u);
    EXPECT_EQ(pass.Lines()[0], std::string(7, ' ') + std::string(65, 'X'));
    EXPECT_EQ(pass.Lines()[1], "      -    Y");
    EXPECT_EQ(pass.Lines()[1].find('Y'), 11u);  // column 12
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "Out line 1: Attempting to print char 'Y' beyond right margin");
    const DovToken* warning = pass.Messages().First();
    EXPECT_EQ(warning->code, MSG_WARN);
    EXPECT_TRUE(warning->Beg().IsNull());
    EXPECT_TRUE(warning->End().IsNull());
}

TEST(PrintState, BlankPastTheMarginStartsALineOfTwelveBlanks) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    Chars("\n");
    Chars(std::string(65, 'X'));
    Chars(" Z");
    ASSERT_EQ(pass.Lines().size(), 3u);
    EXPECT_EQ(pass.Lines()[2], std::string(12, ' ') + "Z");
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "Out line 2: Attempting to print char ' ' beyond right margin");
}

// A line that ends in a blank ends its word: the next word must not be
// glued to it by a hyphen line.
TEST(PrintState, WordAfterABlankAtTheMarginStartsALineWithoutAHyphen) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    Chars(std::string(64, 'X') + " ");
    ASSERT_EQ(DovPrinting.g_xpos, 72);
    Chars("NOT");
    ASSERT_EQ(pass.Lines().size(), 2u);
    EXPECT_EQ(pass.Lines()[1], std::string(11, ' ') + "NOT");
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "Out line 1: Attempting to print char 'N' beyond right margin");
}

TEST(PrintState, FreeFormatHoldsTwoHundredNineteenCharacters) {
    DovPrettyPrinterImpl p;
    p.gen_line_format = DOV_GEN_LF_FREE;
    p.gen_observe_ab_rules = 0;
    PrintPass pass(p);
    Chars(std::string(218, 'X'));  // after 1 blank of area A
    EXPECT_TRUE(pass.Messages().IsEmpty());
    Chars("Y");
    EXPECT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.Lines().back(), "      -    Y");
}

TEST(PrintState, SequenceNumbersInColumns73To80) {
    DovPrettyPrinterImpl p;
    p.gen_73to80_fmt = "%08d";
    p.gen_73to80_start = 100;
    p.gen_73to80_step = 10;
    PrintPass pass(p);
    Chars("A.\n", 1);
    Chars("B.\n", 1);
    Chars("C.\n", 1);
    const auto lines = pass.Lines();
    ASSERT_EQ(lines.size(), 3u);
    const char* numbers[] = {"00000100", "00000110", "00000120"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(lines[i].size(), 80u) << i;
        EXPECT_EQ(lines[i].substr(72), numbers[i]);
        EXPECT_EQ(lines[i].substr(0, 9), std::string(7, ' ') + static_cast<char>('A' + i) + ".");
    }
}

TEST(PrintState, CharactersPastTheMarginAreDroppedWithASequenceFormat) {
    DovPrettyPrinterImpl p;
    p.gen_73to80_fmt = "%08d";
    PrintPass pass(p);
    for (int i = 0; i < 80; ++i) PutcLine(static_cast<char>('a' + i % 26), 1);
    PutcLine('\n', 1);
    ASSERT_EQ(pass.Lines().size(), 1u);
    EXPECT_EQ(pass.Lines()[0].size(), 80u);
    EXPECT_EQ(pass.Lines()[0].substr(72), "00000001");
    EXPECT_EQ(pass.Lines()[0][71], static_cast<char>('a' + 71 % 26));
}

TEST(PrintState, WithoutASequenceFormatPutcLineWritesPastTheMargin) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    for (int i = 0; i < 80; ++i) PutcLine('x', 1);
    EXPECT_EQ(pass.Text(), std::string(80, 'x'));
}

TEST(PrintState, ChangedLinesCarryTheMarkAndUnchangedOnesTheNumber) {
    DovPrettyPrinterImpl p;
    p.gen_73to80_fmt = "%06d";
    p.gen_mark_conv = "CONV";
    PrintPass pass(p);
    Chars("OLD.\n", 1);
    Chars("NEW.\n", 0);
    Chars("OLD", 1);
    Chars(" NEW.\n", 0);
    Chars("OLD.\n", 1);
    const auto lines = pass.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(72), "000001");
    EXPECT_EQ(lines[1].substr(72), "CONV");
    EXPECT_EQ(lines[2].substr(72), "CONV");
    EXPECT_EQ(lines[3].substr(72), "000004");
}

TEST(PrintState, MarkWithoutSequenceFormat) {
    DovPrettyPrinterImpl p;
    p.gen_mark_conv = "*CHG";
    PrintPass pass(p);
    Chars("NEW.\n", 0);
    Chars("OLD.\n", 1);
    EXPECT_EQ(pass.Lines()[0], std::string(7, ' ') + "NEW." + std::string(61, ' ') + "*CHG");
    EXPECT_EQ(pass.Lines()[1], std::string(7, ' ') + "OLD.");
}

TEST(PrintState, Tabs) {
    struct Case {
        int from, to;
    };
    for (const Case c : {Case{0, 8}, Case{7, 8}, Case{8, 16}, Case{15, 16}, Case{INT_MAX - 3, INT_MAX}}) {
        DovPrettyPrinterImpl p;
        PrintPass pass(p);
        DovPrinting.g_xpos = c.from;
        Putc('\t');
        EXPECT_EQ(DovPrinting.g_xpos, c.to) << c.from;
        EXPECT_EQ(pass.Text(), "\t");
    }
}

TEST(PrintState, SkipNewlineDropsOneNewlineAtTheStartOfALine) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovPrinting.skipNewline = 1;
    Chars("\n");
    EXPECT_EQ(pass.Text(), "");
    EXPECT_EQ(DovPrinting.skipNewline, 0);
    Chars("\n");
    EXPECT_EQ(pass.Text(), "\n");
    // Not at the start of a line: the newline is written and the flag stays.
    Chars("A");
    DovPrinting.skipNewline = 1;
    Chars("\n");
    EXPECT_EQ(pass.Text(), "\n" + std::string(7, ' ') + "A\n");
    EXPECT_EQ(DovPrinting.skipNewline, 1);
}

TEST(PrintState, LengthPassOnlyCounts) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    Chars("ABC\nDE", 0, 1);
    EXPECT_EQ(pass.Text(), "");
    EXPECT_EQ(DovPrinting.g_xpos, 5);  // no indentation, newline dropped
    EXPECT_EQ(DovPrinting.charCount, 0);
    EXPECT_EQ(DovPrinting.line_no, 1);
    Chars(std::string(100, 'X'), 0, 1);  // no margin check while measuring
    EXPECT_EQ(DovPrinting.g_xpos, 105);
    EXPECT_TRUE(pass.Messages().IsEmpty());
    DovPrinting.g_xpos = INT_MAX;
    PrintChar('X', 0, 1);
    EXPECT_EQ(DovPrinting.g_xpos, INT_MAX);
}

TEST(PrintState, GenGenFollowsTheFromSourceMark) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    Chars("OLD", 1);
    EXPECT_EQ(DovPrinting.gen_gen, 0);
    Chars("N", 0);
    EXPECT_EQ(DovPrinting.gen_gen, 1);
    Chars("OLD", 1);
    EXPECT_EQ(DovPrinting.gen_gen, 1);
    Chars("\n", 1);
    EXPECT_EQ(DovPrinting.gen_gen, 0);
    EXPECT_EQ(DovPrinting.lastChar, '\n');
}

TEST(PrintState, CountersSaturate) {
    DovPrettyPrinterImpl p;
    p.gen_73to80_fmt = "%d";
    p.gen_73to80_start = INT_MAX;
    p.gen_73to80_step = INT_MAX;
    PrintPass pass(p);
    DovPrinting.line_no = INT_MAX;
    DovPrinting.charCount = INT64_MAX;
    PutcLine('\n', 1);
    EXPECT_EQ(DovPrinting.line_no, INT_MAX);
    EXPECT_EQ(DovPrinting.charCount, INT64_MAX);
    // start + (line - 1) * step, computed without wrapping.
    const long long number = static_cast<long long>(INT_MAX) + (static_cast<long long>(INT_MAX) - 1) * INT_MAX;
    EXPECT_EQ(pass.Text(), std::string(72, ' ') + std::to_string(number) + "\n");
}

TEST(PrintState, NothingIsWrittenWithoutAStream) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovPrinting.currentLevel = 0;
    Putc('A');
    DovPrinting.currentLevel = kDovPrintCopyLevels + 1;
    Putc('B');
    EXPECT_EQ(pass.Text(), "");
    EXPECT_EQ(DovPrinting.charCount, 2);
}

TEST(PrintState, SequenceNumberFormats) {
    struct Case {
        const char* format;
        long long number;
        const char* text;
    };
    const Case cases[] = {
        {"%08d", 100, "00000100"}, {"%d", -5, "-5"},          {"SEQ%04d", 7, "SEQ0007"}, {"%x", 255, "ff"},
        {"%%%d", 3, "%3"},         {"%d-%d", 1, "1-%d"},      {"%s", 1, "%s"},           {"%n%d", 2, "%n2"},
        {"%999999d", 1, "%999999d"}, {"%.20d", 1, "00000000000000000001"}, {"%", 1, "%"}, {"plain", 1, "plain"},
        {"%ld", 12, "12"},
    };
    for (const Case& c : cases) EXPECT_STREQ(DovFormatSequenceNumber(c.format, c.number).CStr(), c.text) << c.format;
}

class SourceLineId : public testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() / ("printer_line_id_" + std::to_string(::getpid()) + ".cbl");
        std::ofstream out(path_);
        auto pad = [](std::string text, std::size_t width) {
            text.resize(width, ' ');
            return text;
        };
        out << pad("000100 IDENTIFICATION DIVISION.", 72) << "ABC00010\n"
            << "000200 PROGRAM-ID. P.\n"
            << pad("000300     MOVE A TO B.", 72) << "\n";
        out.close();
        file_ = DovSrcFileNames().FindOrAdd(VString(path_.string().c_str()), false, true);
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
    int file_ = 0;
};

TEST_F(SourceLineId, CopiesColumns73AndUpOfTheSourceLine) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovPrinting.CreateSourceReaders();
    ASSERT_GT(DovPrinting.readerCount, file_);
    DovSrcFile& reader = DovPrinting.readers[file_];
    VString message;
    ASSERT_EQ(reader.SetPosn(P(1, 30, file_), message), 0) << message.CStr();
    DovPrinting.currentReader = &reader;
    Chars("IDENTIFICATION DIVISION.", 1);
    DovPrinting.last_line_src_posn = P(1, 30, file_);
    PutcLine('\n', 1);
    EXPECT_EQ(pass.Lines()[0], std::string(7, ' ') + "IDENTIFICATION DIVISION." + std::string(41, ' ') + "ABC00010");

    // A line without an identification area, and the null position after a
    // character: nothing is copied.
    ASSERT_EQ(reader.SetPosn(P(2, 10, file_), message), 0);
    Chars("PROGRAM-ID. P.", 1);
    DovPrinting.last_line_src_posn = P(2, 10, file_);
    PutcLine('\n', 1);
    EXPECT_EQ(pass.Lines()[1], std::string(7, ' ') + "PROGRAM-ID. P.");
    DovPrinting.FreeSourceReaders();
    EXPECT_EQ(DovPrinting.currentReader, nullptr);
}

TEST_F(SourceLineId, NotCopiedWithoutTheLineIdFlagOrTheSetting) {
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        DovPrettyPrinterImpl p;
        if (variant == 1) p.gen_line_id_comments = 0;
        PrintPass pass(p);
        DovPrinting.CreateSourceReaders();
        DovSrcFile& reader = DovPrinting.readers[file_];
        VString message;
        ASSERT_EQ(reader.SetPosn(P(1, 30, file_), message), 0);
        DovPrinting.currentReader = &reader;
        Chars("X", 1);
        if (variant != 2) DovPrinting.last_line_src_posn = P(1, 30, file_);
        PutcLine('\n', variant == 0 ? 0 : 1);
        EXPECT_EQ(pass.Lines()[0], std::string(7, ' ') + "X");
    }
}

TEST_F(SourceLineId, ShortSourceLineAndEndOfFileCopyNothing) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovPrinting.CreateSourceReaders();
    DovSrcFile& reader = DovPrinting.readers[file_];
    VString message;
    ASSERT_EQ(reader.SetPosn(P(3, 20, file_), message), 0);
    DovPrinting.currentReader = &reader;
    Chars("MOVE A TO B.", 1);
    DovPrinting.last_line_src_posn = P(3, 20, file_);
    PutcLine('\n', 1);
    // Line 3 holds blanks up to column 72 and nothing after: blanks only.
    EXPECT_EQ(pass.Lines()[0].find_first_not_of(' ', 19), std::string::npos);
    // At the end of the file the reader stops without a message.
    Chars("X", 1);
    DovPrinting.last_line_src_posn = P(3, 20, file_);
    PutcLine('\n', 1);
    EXPECT_EQ(pass.Lines()[1], std::string(7, ' ') + "X");
    EXPECT_TRUE(pass.Messages().IsEmpty());
}

}  // namespace
