#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lbase/lbase.h"

namespace {

struct IntCase {
    const char* text;
    bool negatives;
    char result;
    long long value;
    const char* message;
};

TEST(GetTicIntNo, Table) {
    const IntCase cases[] = {
        {"42:", false, 0, 42, ""},
        {"-5:", true, 0, -5, ""},
        {"-5:", false, ';', -5, "GetTicIntNo: negative number -5 is not allowed"},
        {":", false, 0, 0, ""},
        {"4x", false, ';', 4, "GetTicIntNo: bad char 'x'(120) after Int number. ':' expected"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        int v = 7;
        VString msg;
        EXPECT_EQ(GetTicIntNo(in, v, c.negatives, ':', msg), c.result) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_TRUE(msg == c.message) << c.text << ": " << msg;
    }
    std::istringstream in("4x");
    long long v = 0;
    VString msg;
    EXPECT_EQ(GetTicIntNo(in, v, false, ':', msg), ';');
    EXPECT_TRUE(msg == "GetTicIntNo: bad char 'x'(120) after Int64 number. ':' expected") << msg;
    // The end of input and a NUL byte print as a blank, never as a NUL inside the message.
    for (std::string text : {std::string("4"), std::string("4\0", 2)}) {
        std::istringstream odd(text);
        EXPECT_EQ(GetTicIntNo(odd, v, false, ':', msg), ';');
        const std::string want = "GetTicIntNo: bad char ' '(" + std::to_string(text.size() == 1 ? -1 : 0) +
                                 ") after Int64 number. ':' expected";
        EXPECT_EQ(std::string(msg.CStr(), static_cast<std::size_t>(msg.Len())), want);
    }
    // An endless run of digits wraps instead of overflowing.
    std::istringstream huge(std::string(40, '9') + ":");
    EXPECT_EQ(GetTicIntNo(huge, v, false, ':', msg), 0);
}

TEST(TicCounted, RoundTripsAnyBytes) {
    for (VString s : {VString(), VString("abc"), VString("a\0b\nc:", 6)}) {
        std::stringstream ss;
        s.PutTicCounted(ss);
        ss << "rest";
        VString back("old"), msg;
        EXPECT_EQ(back.GetTicCounted(ss, msg), 0);
        EXPECT_EQ(back.Len(), s.Len());
        EXPECT_TRUE(back == s);
        std::string rest;
        ss >> rest;
        EXPECT_EQ(rest, "rest");
    }
    std::stringstream ss;
    VString("abc").PutTicCounted(ss);
    EXPECT_EQ(ss.str(), "3:abc");
}

TEST(TicCounted, ShortOrBadInput) {
    VString s, msg;
    std::istringstream early("5:ab");
    EXPECT_EQ(s.GetTicCounted(early, msg), '9');
    EXPECT_TRUE(msg == "EOF or read error while reading TIC input stream");
    std::istringstream bad("x:ab");
    EXPECT_EQ(s.GetTicCounted(bad, msg), ';');
    // A corrupt huge length fails at the end of the input, not in allocation.
    std::istringstream huge("2000000000:abc");
    EXPECT_EQ(s.GetTicCounted(huge, msg), '9');
}

// The length is an ordinary 32-bit TIC number: its faults read as that
// reader's, and a length that does not fit is refused like a negative one.
TEST(TicCounted, LengthIsA32BitNumber) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"3;abc", "GetTicIntNo: bad char ';'(59) after Int number. ':' expected"},
        {"-3:abc", "GetTicIntNo: negative number -3 is not allowed"},
        {"4294967295:abc", "GetTicIntNo: negative number -1 is not allowed"},
        {"2147483648:abc", "GetTicIntNo: negative number -2147483648 is not allowed"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        VString s("old"), msg;
        EXPECT_EQ(s.GetTicCounted(in, msg), ';') << c.text;
        EXPECT_TRUE(msg == c.message) << c.text << ": " << msg;
        EXPECT_EQ(s.Len(), 0) << c.text;
    }
}

TEST(TicDelimited, EscapesAndRoundTrip) {
    std::stringstream ss;
    VString("a:b\tc\\d\x07\xe9").PutTic(ss, ':');
    EXPECT_EQ(ss.str(), "a\\058b\\tc\\\\d\\007\\233:");
    VString back, msg;
    EXPECT_EQ(back.GetTic(ss, ':', msg), 0);
    EXPECT_TRUE(back == "a:b\tc\\d\x07\xe9");

    std::stringstream nl;
    VString("line1\nline2:x").PutTic(nl, '\n');
    EXPECT_EQ(nl.str(), "line1\\nline2:x\n");

    std::stringstream empty;
    VString().PutTic(empty, ':');
    EXPECT_EQ(empty.str(), ":");
}

TEST(TicDelimited, ReaderEdges) {
    VString s, msg;
    std::istringstream bad("ab\\12x:");
    EXPECT_EQ(s.GetTic(bad, ':', msg), '<');
    EXPECT_TRUE(msg == "VString::GetTic: bad digits in '\\nnn' while getting 'ab'") << msg;
    std::istringstream open_end("abc");
    EXPECT_EQ(s.GetTic(open_end, ':', msg), 0);
    EXPECT_TRUE(s == "abc");
    std::istringstream other("\\q\\\\:");
    EXPECT_EQ(s.GetTic(other, ':', msg), 0);
    EXPECT_TRUE(s == "q\\");
}

TEST(TicDelimited, LengthLimit) {
    std::string ok(kTicMaxDelimited, 'k');
    std::stringstream a;
    VString(ok.c_str()).PutTic(a, ':');
    VString s, msg;
    EXPECT_EQ(s.GetTic(a, ':', msg), 0);
    EXPECT_EQ(s.Len(), kTicMaxDelimited);

    std::string over(kTicMaxDelimited + 1, 'k');
    std::stringstream b;
    VString(over.c_str()).PutTic(b, ':');
    EXPECT_EQ(s.GetTic(b, ':', msg), '?');
    EXPECT_TRUE(msg.StartsWith("VString::GetTic: max length reached while getting 'kkk"));
}

}  // namespace
