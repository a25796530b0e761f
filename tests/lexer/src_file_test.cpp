#include <gtest/gtest.h>

#include <string>

#include "lexer/src_file.h"
#include "lbase/message.h"
#include "tests/lexer/temp_dir.h"
#include "tests/support/child_process.h"

namespace {

using vemlo_test::TempDir;

int FileIx(const std::string& path) { return DovSrcFileNames().FindOrAdd(path.c_str(), false, true); }

std::string Str(const VString& s) { return std::string(s.CStr(), s.Len()); }

// The line `line` of file `ix` through a reader; "!" and the message on failure.
std::string LineOf(DovSrcFile& src, int line, int ix) {
    DovTxtPosn p(line, 17, ix);
    VString text, msg;
    int rc = src.GetSrcLine(p, text, msg);
    EXPECT_EQ(p.Column(), 0u);
    if (rc != 0) return "!" + std::to_string(rc) + " " + Str(msg);
    return Str(text);
}

std::string Numbered(int lines, const char* eol) {
    std::string text;
    for (int i = 1; i <= lines; ++i) text += "LINE " + std::to_string(i) + eol;
    return text;
}

TEST(DovSrcFile, ReachesAnyLineOfALongFile) {
    TempDir dir;
    int ix = FileIx(dir.Write("long.cbl", Numbered(3000, "\n")));
    DovSrcFile src;
    EXPECT_EQ(LineOf(src, 2500, ix), "LINE 2500");
    EXPECT_EQ(src.posn, DovTxtPosn(2501, 0, ix));
    EXPECT_EQ(LineOf(src, 2501, ix), "LINE 2501");  // read on, no rewind
    EXPECT_EQ(LineOf(src, 12, ix), "LINE 12");      // rewinds
    EXPECT_EQ(LineOf(src, 3000, ix), "LINE 3000");
    EXPECT_EQ(LineOf(src, 3000, ix), "LINE 3000");  // same line twice: rewinds again
}

TEST(DovSrcFile, CrLfGivesTheSameLinesAndPositions) {
    TempDir dir;
    int lf = FileIx(dir.Write("lf.cbl", Numbered(50, "\n")));
    int crlf = FileIx(dir.Write("crlf.cbl", Numbered(50, "\r\n")));
    DovSrcFile a, b;
    for (int line : {1, 7, 49, 50, 3}) {
        EXPECT_EQ(LineOf(a, line, lf), LineOf(b, line, crlf));
        EXPECT_EQ(a.posn.Line(), b.posn.Line());
        EXPECT_EQ(a.posn.Column(), b.posn.Column());
    }
    VString msg;
    ASSERT_EQ(b.SetPosn(DovTxtPosn(9, 5, crlf), msg), 0);
    EXPECT_EQ(b.Getc(), '9');
}

// Lines as the lexer reads them: a carriage return alone ends a line as
// CR LF and LF do, and a byte-order mark in front of the first line is no
// text of it, also after a rewind.
TEST(DovSrcFile, LoneCarriageReturnsAndAByteOrderMarkReadAsTheLexerReadsThem) {
    TempDir dir;
    const int lf = FileIx(dir.Write("plain.cbl", "LINE 1\nLINE 2\n\nLINE 4\n"));
    const int cr = FileIx(dir.Write("cr.cbl", "\xEF\xBB\xBF" "LINE 1\rLINE 2\r\n\rLINE 4\r"));
    DovSrcFile a, b;
    for (int line : {1, 2, 3, 4, 1, 5}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(LineOf(a, line, lf), LineOf(b, line, cr));
        EXPECT_EQ(a.posn, DovTxtPosn(b.posn.Line(), b.posn.Column(), lf));
    }
    VString msg;
    ASSERT_EQ(b.SetPosn(DovTxtPosn(4, 5, cr), msg), 0);
    EXPECT_EQ(b.Getc(), '4');
    ASSERT_EQ(b.SetPosn(DovTxtPosn(1, 0, cr), msg), 0);
    EXPECT_EQ(b.Getc(), 'L');
    EXPECT_EQ(b.posn, DovTxtPosn(1, 1, cr));
}

TEST(DovSrcFile, TabsCountToTheNextMultipleOfEight) {
    TempDir dir;
    int ix = FileIx(dir.Write("tab.cbl", "one\ntwo\n\tABCDEF\n"));
    DovSrcFile src;
    VString msg;
    ASSERT_EQ(src.SetPosn(DovTxtPosn(3, 10, ix), msg), 0);
    EXPECT_EQ(src.Getc(), 'C');
    EXPECT_EQ(src.posn, DovTxtPosn(3, 11, ix));
}

TEST(DovSrcFile, LinesAreCutAtEightyCharacters) {
    TempDir dir;
    std::string eighty(80, 'E'), hundred(100, 'H');
    int ix = FileIx(dir.Write("wide.cbl", hundred + "\n" + eighty + "\r\n" + "AB\x1a" + "CD\n"));
    DovSrcFile src;
    EXPECT_EQ(LineOf(src, 1, ix), std::string(80, 'H'));
    EXPECT_EQ(LineOf(src, 2, ix), eighty);
    EXPECT_EQ(LineOf(src, 3, ix), "ABCD");
    // The Ctrl-Z is not returned but counts as a column.
    VString msg;
    ASSERT_EQ(src.SetPosn(DovTxtPosn(3, 3, ix), msg), 0);
    EXPECT_EQ(src.Getc(), 'C');
}

TEST(DovSrcFile, FailuresGiveFiveWithTheirText) {
    TempDir dir;
    int ix = FileIx(dir.Write("short.cbl", "A\nB\n"));
    int missing = FileIx(dir.Path("missing.cbl"));
    DovSrcFile src;
    EXPECT_EQ(LineOf(src, 1, missing), "!53 SrcPrintText: cannot open file '" + dir.Path("missing.cbl") + "'");
    EXPECT_EQ(LineOf(src, 1, 60000), "!53 SrcPrintText: cannot open file ''");
    EXPECT_EQ(LineOf(src, 9, ix),
              "!53 EOF encountered while reading source file: " + dir.Path("short.cbl") + ":9:1");
    // After running into the end the reader still serves earlier lines.
    EXPECT_EQ(LineOf(src, 2, ix), "B");
    EXPECT_EQ(LineOf(src, 3, ix), "");  // the empty line after the last newline
}

TEST(DovSrcFile, SwitchesBetweenManyFiles) {
    TempDir dir;
    // More files than a five-bit index could tell apart.
    std::vector<int> ix;
    for (int f = 0; f < 40; ++f)
        ix.push_back(FileIx(dir.Write("f" + std::to_string(f) + ".cbl", "F" + std::to_string(f) + "\n" +
                                                                          Numbered(2100, "\n"))));
    DovSrcFile src;
    for (int f = 39; f >= 0; f -= 3) {
        EXPECT_EQ(LineOf(src, 1, ix[f]), "F" + std::to_string(f));
        EXPECT_EQ(LineOf(src, 2101, ix[f]), "LINE 2100");
    }
    EXPECT_EQ(LineOf(src, 2, ix[0]), "LINE 1");
    EXPECT_EQ(LineOf(src, 1, ix[39]), "F39");  // opened again from its first line
}

TEST(DovSrcFile, TracesOpenCloseAndReset) {
    TempDir dir;
    std::string a = dir.Write("a.cbl", "X\nY\n"), b = dir.Write("b.cbl", "Z\n");
    int ia = FileIx(a), ib = FileIx(b);
    DovSrcFile src;
    DovSrcFileTraceFlags = 0x01;
    testing::internal::CaptureStdout();
    LineOf(src, 2, ia);
    LineOf(src, 1, ia);
    LineOf(src, 1, ib);
    std::string out = testing::internal::GetCapturedStdout();
    DovSrcFileTraceFlags = 0;
    EXPECT_EQ(out, "$SetPosn: OPEN FILE " + a + "\n\n$$$SetPosn: RESET $$$\n$SetPosn: CLOSE FILE " + a +
                       "\n$SetPosn: OPEN FILE " + b + "\n");
}

TEST(DovSrcFile, CopyingIsRefused) {
    auto r = vemlo_test::RunInChild([] {
        DovSrcFile a;
        DovSrcFile b(a);
        (void)b;
    });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_NE(r.out.find("DovSrcFile(const DovSrcFile &) must not be called"), std::string::npos) << r.out;
}

}  // namespace
