#include <gtest/gtest.h>

#include <string>

#include "lbase/lbase.h"

namespace {

TEST(VString, EmptyFormsAreAlike) {
    VString none(static_cast<const char*>(nullptr));
    VString blank("");
    EXPECT_EQ(none.Ptr(), nullptr);
    EXPECT_NE(blank.Ptr(), nullptr);
    for (const VString* s : {&none, &blank}) {
        EXPECT_EQ(s->Len(), 0);
        EXPECT_TRUE(*s == nullptr);
        EXPECT_TRUE(*s == "");
    }
    EXPECT_EQ(none.Compare(blank), 0);
    EXPECT_EQ(VString(nullptr, 5).Ptr(), nullptr);
    EXPECT_EQ(VString("abc", 0).Ptr(), nullptr);
}

struct SubStrCase {
    const char* text;
    int start, count;
    const char* want;
};

TEST(VString, SubStr) {
    const SubStrCase cases[] = {
        {"abcde", 2, -1, "cde"}, {"abcde", 2, 10, "cde"}, {"abcde", 2, 0, ""},  {"abcde", -1, 2, ""},
        {"abcde", 1, -2, ""},    {"abcde", 5, 1, ""},     {"abcde", 0, 5, "abcde"}, {"", 0, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.start) + " " + std::to_string(c.count));
        EXPECT_TRUE(VString(c.text).SubStr(c.start, c.count) == c.want);
    }
}

struct EditCase {
    const char* what;
    VString got;
    const char* want;
};

TEST(VString, ConvertedCopies) {
    const EditCase cases[] = {
        {"UpTo absent", VString("abc").UpTo('x'), "abc"},
        {"UpTo first", VString("abc").UpTo('a'), ""},
        {"UpTo middle", VString("ab.c").UpTo('.'), "ab"},
        {"StripPair both", VString("(abc)").StripPair('(', ')'), "abc"},
        {"StripPair open only", VString("(abc").StripPair('(', ')'), "abc"},
        {"StripPair neither", VString("abc").StripPair('(', ')'), "abc"},
        {"StripPair open alone", VString("(").StripPair('(', ')'), ""},
        {"StripPair close alone", VString(")").StripPair('(', ')'), ""},
        {"Trim", VString(" \t a b \r\n").Trim(), "a b"},
        {"Trim keeps form feed", VString("\fab \f").Trim(), "\fab \f"},
        {"Trim all blank", VString(" \n\t").Trim(), ""},
        {"ToUpper", VString("ab-1\xe4z").ToUpper(), "AB-1\xe4Z"},
        {"ToLower", VString("AB-1\xc4Z").ToLower(), "ab-1\xc4z"},
    };
    for (const auto& c : cases) EXPECT_TRUE(c.got == c.want) << c.what << ": got '" << c.got << "'";
}

TEST(VString, Queries) {
    VString s("hello world");
    EXPECT_TRUE(s.StartsWith("hello"));
    EXPECT_TRUE(s.StartsWith(""));
    EXPECT_FALSE(VString("he").StartsWith("hello"));
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(VString().Find(""), 0);
    EXPECT_EQ(s.Find("world"), 6);
    EXPECT_EQ(VString("ab").Find("abc"), -1);
    EXPECT_EQ(s.CountChar('o'), 2);
    EXPECT_TRUE(VString().AllCharsIn("x"));
    EXPECT_FALSE(VString("a").AllCharsIn(""));
    EXPECT_EQ(s.CountCharsIn("lo"), 5);
    const char list[] = "ONE\0TWO\0THREE\0";
    for (const char* w : {"ONE", "TWO", "THREE"}) EXPECT_EQ(VString(w).IsOneOf(list), 1) << w;
    EXPECT_EQ(VString("FOUR").IsOneOf(list), 0);
    EXPECT_EQ(VString("").IsOneOf(list), 0);
    EXPECT_EQ(VString("ONE").IsOneOf(nullptr), 0);
}

TEST(VString, NulInsideCountedText) {
    VString s("ab\0cd", 5);
    EXPECT_EQ(s.Len(), 5);
    EXPECT_FALSE(s.HasChar('c'));
    EXPECT_EQ(s.IndexOf('c'), 3);
    EXPECT_FALSE(s.HasChar('\0'));
}

TEST(VString, EditsInPlace) {
    VString s("a.b.c");
    s.ReplaceChar('.', '/');
    EXPECT_TRUE(s == "a/b/c");
    s.RemoveChars("/");
    EXPECT_TRUE(s == "abc");
    s.RemoveChars("");
    EXPECT_TRUE(s == "abc");
    s.RemoveChars("cba");
    EXPECT_EQ(s.Ptr(), nullptr);
}

TEST(VString, AssignmentAndJoining) {
    VString s("keep");
    const VString& alias = s;
    s = alias;
    EXPECT_TRUE(s == "keep");
    VString empty;
    EXPECT_EQ((empty + empty).Ptr(), nullptr);
    EXPECT_TRUE(empty + s == "keep");
    s += VString("er");
    EXPECT_TRUE(s == "keeper");
    VString taken;
    taken.Adopt(s);
    EXPECT_TRUE(taken == "keeper");
    EXPECT_EQ(s.Ptr(), nullptr);
}

TEST(VString, LongTextsDoNotWrap) {
    // Joining past 65535 characters must keep every character.
    std::string big(40000, 'x');
    VString a(big.c_str());
    VString b = a + a;
    EXPECT_EQ(b.Len(), 80000);
    EXPECT_EQ(b.CountChar('x'), 80000);
}

TEST(DovFormat, ExactlySized) {
    std::string big(20000, 'q');
    big += "END";
    VString s = DovFormat("%s", big.c_str());
    EXPECT_EQ(s.Len(), 20003);
    EXPECT_TRUE(s == big.c_str());
    VString none = DovFormat("%s", "");
    EXPECT_NE(none.Ptr(), nullptr);
    EXPECT_EQ(none.Len(), 0);
    EXPECT_TRUE(none == "");
    EXPECT_TRUE(DovFormat("%d-%s", 42, "x") == "42-x");
    // Around the size where formatting moves from the first buffer to a second one.
    for (int n : {255, 256, 510, 511, 512, 513, 1024}) {
        std::string text(static_cast<std::size_t>(n), 'b');
        text.back() = 'E';
        VString got = DovFormat("%s", text.c_str());
        EXPECT_EQ(got.Len(), n);
        EXPECT_TRUE(got == text.c_str()) << n;
    }
}

TEST(FastOstrstream, StringTakesItsText) {
    FastOstrstream os;
    os << "line " << 42;
    VString s(os);
    EXPECT_TRUE(s == "line 42");
    FastOstrstream nothing;
    EXPECT_EQ(VString(nothing).Ptr(), nullptr);
    FastOstrstream big;
    for (int i = 0; i < 10000; ++i) big << "0123456789";
    EXPECT_EQ(VString(big).Len(), 100000);
}

TEST(DovCharCase, OnlyAsciiLettersChange) {
    for (int c = 0; c < 256; ++c) {
        int up = DovCharToUpper(c), low = DovCharToLower(c);
        EXPECT_EQ(up, c >= 'a' && c <= 'z' ? c - 32 : c);
        EXPECT_EQ(low, c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
}

}  // namespace
