// The grep's source lines against the source-file reader, which reads the
// file afresh for a line: the same line or the same message for every line
// of every file, in any order and across files.
#include <gtest/gtest.h>

#include <algorithm>
#include <ios>
#include <string>
#include <vector>

#include "lexer/src_file.h"
#include "tests/transform/grep_test_util.h"
#include "transform/grep/source_lines.h"

namespace {

using vemlo_test::ScratchDir;

struct Answer {
    int rc;
    std::string line, message;
};

Answer FromReader(const DovTxtPosn& at) {
    DovSrcFile reader;
    DovTxtPosn where = at;
    VString line, message;
    const int rc = reader.GetSrcLine(where, line, message);
    return {rc, std::string(line.Ptr(), static_cast<std::size_t>(line.Len())), message.CStr()};
}

Answer FromLines(WyrGrepSourceLines& lines, const DovTxtPosn& at) {
    VString line, message;
    const int rc = lines.GetLine(at, line, message);
    return {rc, std::string(line.Ptr(), static_cast<std::size_t>(line.Len())), message.CStr()};
}

void ExpectSame(WyrGrepSourceLines& lines, const DovTxtPosn& at) {
    SCOPED_TRACE(DovTxtPosnStr(at).CStr());
    const Answer want = FromReader(at), got = FromLines(lines, at);
    EXPECT_EQ(got.rc, want.rc);
    EXPECT_EQ(got.line, want.line);
    if (want.rc != 0) {
        EXPECT_EQ(got.message, want.message);
    }
}

std::uint32_t IndexOf(const std::string& path) {
    return static_cast<std::uint32_t>(DovSrcFileNames().FindOrAdd(VString(path.c_str()), false, true));
}

TEST(GrepSourceLines, AsTheReaderGivesThem) {
    const std::string long_line(200, 'x');
    const std::vector<std::string> texts = {
        "",
        "one line without end",
        "one line\n",
        "\n\n\n",
        "crlf\r\nlines\r\n\r\nend",
        "ctrl-z \x1a inside\n\x1a\n",
        "\ttab\t \tcolumns\n",
        std::string(79, 'a') + "\n" + std::string(80, 'b') + "\n" + std::string(81, 'c') + "\n" + long_line,
        std::string(80, 'd') + "\r\r\r\n" + std::string(78, 'e') + "\x1a\x1a\r\x1a" + "ff\n",
        std::string("nul\0byte\n\xff\xfe high\n", 17),
        "lone\rcarriage\r\rreturns\r",
        "\xEF\xBB\xBF" "marked\r\nfirst line\r\n",
        "\xEF\xBB\xBF",
    };
    ScratchDir dir;
    for (std::size_t t = 0; t < texts.size(); ++t) {
        SCOPED_TRACE(t);
        const std::uint32_t index = IndexOf(dir.Write("F" + std::to_string(t) + ".CBL", texts[t]));
        WyrGrepSourceLines lines;
        // Forward, then backward: past the end and line 0 included.
        for (std::uint32_t l = 0; l <= 7; ++l) ExpectSame(lines, DovTxtPosn(l, 3, index));
        for (std::uint32_t l = 7; l-- > 0;) ExpectSame(lines, DovTxtPosn(l, 0, index));
    }
}

// A file of several reading windows: lines that cross a window's end,
// carriage returns on both sides of one, lines asked for in and out of order.
TEST(GrepSourceLines, FileLongerThanItsWindow) {
    std::string text;
    std::uint32_t count = 0;
    for (; text.size() < 300000; ++count) {
        text.append(count % 97, static_cast<char>('a' + count % 26));
        if (count % 13 == 0) text += std::string(count % 7, '\r') + "tail\r";
        text += '\n';
    }
    text += std::string(100, 'z') + "\r";
    ScratchDir dir;
    const std::uint32_t index = IndexOf(dir.Write("BIG.CBL", text));
    WyrGrepSourceLines lines;
    for (std::uint32_t l = 1; l <= count + 2; l += 3) ExpectSame(lines, DovTxtPosn(l, 0, index));
    for (std::uint32_t l = count + 2; l > 0; l -= std::min<std::uint32_t>(l, 1117)) ExpectSame(lines, DovTxtPosn(l, 0, index));
    for (std::uint32_t i = 0; i < 200; ++i) ExpectSame(lines, DovTxtPosn((i * 7919u) % (count + 2), 0, index));
}

TEST(GrepSourceLines, SeveralFilesAndUnreadableOnes) {
    ScratchDir dir;
    const std::uint32_t a = IndexOf(dir.Write("A.CBL", "a1\na2\na3\n"));
    const std::uint32_t b = IndexOf(dir.Write("B.CPY", "b1\nb2\n"));
    const std::uint32_t gone = IndexOf((dir.Path() / "GONE.CBL").string());
    const std::uint32_t folder = IndexOf(dir.Path().string());
    const std::uint32_t unknown = static_cast<std::uint32_t>(DovSrcFileNames().Count()) + 5;
    WyrGrepSourceLines lines;
    EXPECT_TRUE(lines.IsEmpty());
    for (const DovTxtPosn& at : {DovTxtPosn(2, 0, a), DovTxtPosn(1, 0, b), DovTxtPosn(3, 0, a), DovTxtPosn(1, 0, gone),
                                 DovTxtPosn(2, 0, b), DovTxtPosn(1, 0, a), DovTxtPosn(1, 0, unknown),
                                 DovTxtPosn(1, 0, 0)})
        ExpectSame(lines, at);
    // A folder opens but fails to read, as it does for the reader.
    EXPECT_THROW(FromReader(DovTxtPosn(1, 0, folder)), std::ios_base::failure);
    EXPECT_THROW(FromLines(lines, DovTxtPosn(1, 0, folder)), std::ios_base::failure);
    ExpectSame(lines, DovTxtPosn(2, 0, b));
    EXPECT_FALSE(lines.IsEmpty());
    lines.Clear();
    EXPECT_TRUE(lines.IsEmpty());
    ExpectSame(lines, DovTxtPosn(3, 0, a));
}

}  // namespace
