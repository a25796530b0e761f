#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "lbase/lbase.h"

namespace {

TEST(Ebcdic, TablesAreInverse) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(DovAsciiToEbcdicTable[DovEbcdicToAsciiTable[b]], b);
        EXPECT_EQ(DovEbcdicToAsciiTable[DovAsciiToEbcdicTable[b]], b);
    }
    VString out;
    DovEbcdicToAscii(VString("\xC1\xF1\x40\x5F\xAD", 5), out);
    EXPECT_TRUE(out == "A1 ^[");
    VString back;
    DovAsciiToEbcdic(out, back);
    EXPECT_TRUE(back == "\xC1\xF1\x40\x5F\xAD");
}

struct NameCase {
    const char* fn;
    const char* in;
    const char* want;
};

VString ApplyNameFn(const NameCase& c) {
    VString in(c.in);
    VString fn(c.fn);
    if (fn == "ext") return DovExtension(in);
    if (fn == "repl") return DovReplaceExtension(in, ".xxx");
    if (fn == "base") return DovBaseName(in, false);
    if (fn == "base+") return DovBaseName(in, true);
    if (fn == "dir") return DovDirName(in);
    return DovRemoveDotDot(in);
}

TEST(FileNames, Parts) {
    const NameCase cases[] = {
        {"repl", "dir.d/prog", "dir.d/prog.xxx"},
        {"repl", "prog.cbl", "prog.xxx"},
        {"repl", "prog", "prog.xxx"},
        {"repl", ".profile", ".xxx"},
        {"ext", "dir.d/prog", ""},
        {"ext", "prog.cbl", ".cbl"},
        {"base", "a/b/prog.cbl", "prog"},
        {"base+", "a/b/prog.cbl", "prog.cbl"},
        {"base", "a/b/", ""},
        {"base", "dir.d/prog", "prog"},
        {"base", "a\\b\\p.cob", "p"},
        {"dir", "a/b/prog.cbl", "a/b"},
        {"dir", "a/b/", "a/b"},
        {"dir", "prog.cbl", ""},
        {"dir", "/prog.cbl", ""},
        {"dotdot", "a/b/../../c", "c"},
        {"dotdot", "x/a/../b", "x/b"},
        {"dotdot", "/../b", "b"},
        {"dotdot", "../b", "../b"},
        {"dotdot", "a\\..\\b", "b"},
        {"dotdot", "x/../", ""},
        {"dotdot", "a/./b", "a/./b"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ApplyNameFn(c) == c.want) << c.fn << "(" << c.in << ") = '" << ApplyNameFn(c) << "'";
}

TEST(DovEscapeString, PrintableForm) {
    EXPECT_TRUE(DovEscapeString("a\tb") == "a\\tb");
    EXPECT_TRUE(DovEscapeString("a\\b") == "a\\b");
    EXPECT_TRUE(DovEscapeString("\x1b") == "\\0x1b");
    EXPECT_TRUE(DovEscapeString("\x07") == "\\0x 7");
    EXPECT_TRUE(DovEscapeString("\xff") == "\\0xff");
    EXPECT_TRUE(DovEscapeString("\b\n\f\r") == "\\b\\n\\f\\r");
    EXPECT_EQ(DovEscapeString(nullptr).Len(), 0);
}

TEST(CaseCompare, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(DovStrNCaseCompare("-inc COPYA", "-INC ", 5), 0);
    EXPECT_NE(DovStrNCaseCompare("-INCX", "-INC ", 5), 0);
    EXPECT_EQ(DovStrNCaseCompare("ab", "AB", 10), 0);
    EXPECT_EQ(DovStrNCaseCompare("abc", "abd", 0), 0);
    EXPECT_EQ(DovStrCaseCompare("Hello", "hELLO"), 0);
    EXPECT_EQ(DovStrCaseCompare("a", "b"), -1);
    EXPECT_EQ(DovStrCaseCompare("b", "A"), 1);
    EXPECT_EQ(DovStrCaseCompare("ab", "a"), 1);
    // Bytes above 127 order before every ASCII byte.
    EXPECT_EQ(DovCharCaseCompare('\xe4', 'a'), -1);
    EXPECT_EQ(DovCharCaseCompare('Q', 'q'), 0);
}

struct IntLitCase {
    const char* text;
    int result;
    std::int64_t value;
    const char* message;
};

TEST(DovIntLiteralValue, Table) {
    const IntLitCase cases[] = {
        {"-12", 0, -12, ""},
        {"+7", 0, 7, ""},
        {"0042", 0, 42, ""},
        {"-", 0, 0, ""},
        {"H'0A1B'", 0, 2587, ""},
        {"H'FF'", 0, 255, ""},
        {"H''", 0, 0, ""},
        {"12a", 33, 0, "Expecting integer number here, not '12a'"},
        {"H'0A1'", 33, 0, "Bad character ''' in hexadecimal number 'H'0A1''"},
        {"H'0a'", 33, 0, "Bad character 'a' in hexadecimal number 'H'0a''"},
        {"H'0", 33, 0, "Bad character '' in hexadecimal number 'H'0'"},
        {"H'", 33, 0, "Bad character '' in hexadecimal number 'H''"},
        {"9223372036854775807", 0, INT64_MAX, ""},
        {"-9223372036854775808", 0, INT64_MIN, ""},
        {"000000000000000000000000000002", 0, 2, ""},
        {"H'7FFFFFFFFFFFFFFF'", 0, INT64_MAX, ""},
        {"H'000000000000000000000001'", 0, 1, ""},
        // Beyond 64 bits: a message, and the nearest value rather than a
        // wrapped one.
        {"9223372036854775808", 33, INT64_MAX, "Integer number '9223372036854775808' does not fit in 64 bits"},
        {"-9223372036854775809", 33, INT64_MIN, "Integer number '-9223372036854775809' does not fit in 64 bits"},
        {"99999999999999999999999", 33, INT64_MAX, "Integer number '99999999999999999999999' does not fit in 64 bits"},
        {"+18446744073709551617", 33, INT64_MAX, "Integer number '+18446744073709551617' does not fit in 64 bits"},
        {"H'8000000000000000'", 33, INT64_MAX, "Integer number 'H'8000000000000000'' does not fit in 64 bits"},
        {"H'FFFFFFFFFFFFFFFF'", 33, INT64_MAX, "Integer number 'H'FFFFFFFFFFFFFFFF'' does not fit in 64 bits"},
        {"H'010000000000000001'", 33, INT64_MAX, "Integer number 'H'010000000000000001'' does not fit in 64 bits"},
        // A character that does not belong is reported before the size.
        {"99999999999999999999999x", 33, 5, "Expecting integer number here, not '99999999999999999999999x'"},
        {"H'FFFFFFFFFFFFFFFFFFG0'", 33, 5, "Bad character 'G' in hexadecimal number 'H'FFFFFFFFFFFFFFFFFFG0''"},
    };
    for (const auto& c : cases) {
        std::int64_t v = 5;
        VString msg;
        int r = DovIntLiteralValue(c.text, v, msg);
        EXPECT_EQ(r, c.result) << c.text;
        if (r == 0 || c.value != 0) {
            EXPECT_EQ(v, c.value) << c.text;
        }
        EXPECT_TRUE(msg == c.message) << c.text << ": " << msg;
        EXPECT_EQ(msg.Len(), static_cast<int>(std::strlen(c.message))) << c.text << ": NUL inside the message";
    }
}

}  // namespace
