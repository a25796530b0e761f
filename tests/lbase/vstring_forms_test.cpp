// The two forms of VString: texts of up to VString::kShortMax characters
// inside the object, longer ones in a buffer of their own. Every operation
// must give the same result whichever form its operands and its result take.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <utility>

#include "lbase/lbase.h"

namespace {

// A text of `n` characters, each one different from its neighbours.
std::string TextOf(int n, char first = 'a') {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(first + i % 26));
    return s;
}

VString Make(const std::string& s) { return VString(s.data(), static_cast<int>(s.size())); }

// The string holds exactly `want`, NUL-terminated (an empty one may be
// without text).
void ExpectText(const VString& s, const std::string& want) {
    ASSERT_EQ(s.Len(), static_cast<int>(want.size()));
    if (!want.empty() || s.Ptr()) {
        EXPECT_EQ(s.Ptr(), s.CStr());
    }
    EXPECT_EQ(std::memcmp(s.CStr(), want.data(), want.size()), 0);
    EXPECT_EQ(s.CStr()[want.size()], '\0');
    for (int i = 0; i < s.Len(); ++i) EXPECT_EQ(s[i], want[static_cast<std::size_t>(i)]);
}

// Around the old and the present longest short text (11, 15).
const int kLengths[] = {0, 1, 10, 11, 12, 13, 14, 15, 16, 17, 40};

TEST(VStringForms, ConstructCopyAndMoveAtTheBoundary) {
    static_assert(sizeof(VString) == 16);
    for (int n : kLengths) {
        SCOPED_TRACE(n);
        const std::string text = TextOf(n);
        VString s(text.c_str());
        ExpectText(s, text);
        ExpectText(Make(text), text);
        VString copy(s);
        ExpectText(copy, text);
        EXPECT_TRUE(copy == s);
        if (n > 0) {
            EXPECT_NE(copy.Ptr(), s.Ptr());
        }
        VString moved(std::move(copy));
        ExpectText(moved, text);
        EXPECT_EQ(copy.Ptr(), nullptr);  // NOLINT: the moved-from state is part of the contract
        EXPECT_EQ(copy.Len(), 0);
        VString assigned("x");
        assigned = s;
        ExpectText(assigned, text);
        assigned = std::move(moved);
        ExpectText(assigned, text);
        EXPECT_EQ(moved.Ptr(), nullptr);  // NOLINT
        VString& alias = assigned;
        assigned = static_cast<const VString&>(alias);
        ExpectText(assigned, text);
        assigned = std::move(alias);
        ExpectText(assigned, text);
        assigned.Adopt(alias);
        ExpectText(assigned, text);
    }
}

TEST(VStringForms, AssignmentBetweenForms) {
    for (int from : kLengths) {
        for (int to : kLengths) {
            SCOPED_TRACE(std::to_string(from) + " <- " + std::to_string(to));
            const std::string want = TextOf(to, 'A');
            VString a = Make(TextOf(from));
            const VString b = Make(want);
            a = b;
            ExpectText(a, want);
            EXPECT_TRUE(a == b);
            VString c = Make(TextOf(from));
            VString d = Make(want);
            c = std::move(d);
            ExpectText(c, want);
            VString e = Make(TextOf(from));
            VString f = Make(want);
            e.Adopt(f);
            ExpectText(e, want);
            EXPECT_EQ(f.Ptr(), nullptr);
        }
    }
}

TEST(VStringForms, JoiningGrowsAcrossTheBoundary) {
    for (int left : kLengths) {
        for (int right : kLengths) {
            SCOPED_TRACE(std::to_string(left) + " + " + std::to_string(right));
            const std::string l = TextOf(left), r = TextOf(right, 'K');
            ExpectText(Make(l) + Make(r), l + r);
            VString s = Make(l);
            s += Make(r);
            ExpectText(s, l + r);
            // The joined string equals one made directly from the whole text.
            EXPECT_TRUE(s == Make(l + r));
            EXPECT_EQ(s.Compare(Make(l + r)), 0);
        }
        // A string joined to itself.
        VString self = Make(TextOf(left));
        self += self;
        ExpectText(self, TextOf(left) + TextOf(left));
    }
    // The empty text stays a text when joined to an empty string; joined to
    // a text it is that text.
    VString blank("");
    blank += VString("");
    EXPECT_NE(blank.Ptr(), nullptr);
    EXPECT_EQ(blank.Len(), 0);
    blank += VString();
    EXPECT_NE(blank.Ptr(), nullptr);
    for (int n : {3, 11, 15}) {
        VString s("");
        s += Make(TextOf(n));
        EXPECT_TRUE(s == Make(TextOf(n))) << n;
    }
}

TEST(VStringForms, ShrinkingBackToShort) {
    const std::string big = TextOf(30);
    for (int n : {0, 1, 10, 11, 12, 14, 15, 16}) {
        SCOPED_TRACE(n);
        VString s = Make(big);
        s = s.SubStr(2, n);
        if (n == 0) {
            EXPECT_EQ(s.Ptr(), nullptr);
        } else {
            ExpectText(s, big.substr(2, static_cast<std::size_t>(n)));
            EXPECT_TRUE(s == Make(big.substr(2, static_cast<std::size_t>(n))));
        }
    }
    for (int n : {11, 15}) {
        VString spaced(("  " + TextOf(n) + "   ").c_str());
        ExpectText(spaced.Trim(), TextOf(n));
    }
    VString dotted("a.b.c.d.e.f.g");
    dotted.RemoveChars(".");
    ExpectText(dotted, "abcdefg");
    EXPECT_TRUE(dotted == "abcdefg");
}

TEST(VStringForms, GrowingAndShrinkingOneCharacterAtATime) {
    // Every length on the way through the short form into the long one and
    // back; the length is kept differently in the two forms.
    VString s("");
    for (int n = 1; n <= 20; ++n) {
        s += VString(static_cast<char>('a' + (n - 1) % 26));
        ASSERT_EQ(s.Len(), n);
        ExpectText(s, TextOf(n));
        EXPECT_FALSE(s.IsEmpty());
        EXPECT_TRUE(s == Make(TextOf(n)));
    }
    for (int n = 19; n >= 0; --n) {
        s = s.SubStr(0, n);
        ASSERT_EQ(s.Len(), n) << n;
        EXPECT_EQ(s.IsEmpty(), n == 0);
        if (n > 0) {
            ExpectText(s, TextOf(n));
        }
    }
}

TEST(VStringForms, NulBytesAtTheEndOfTheShortForm) {
    // The last byte of a 15-character text is its terminator: a text may
    // still end in NULs, or be nothing but NULs, and keep its length.
    for (int n : {1, 14, 15, 16}) {
        SCOPED_TRACE(n);
        const std::string nuls(static_cast<std::size_t>(n), '\0');
        VString s = Make(nuls);
        ExpectText(s, nuls);
        EXPECT_FALSE(s.IsEmpty());
        EXPECT_NE(s.Ptr(), nullptr);
        EXPECT_FALSE(s == Make(std::string(static_cast<std::size_t>(n) - 1, '\0')));
        EXPECT_FALSE(s == VString());
        std::string ending = TextOf(n);
        ending.back() = '\0';
        ExpectText(Make(ending), ending);
        ExpectText(Make(ending) + Make(nuls), ending + nuls);
    }
}

TEST(VStringForms, EmptyTextAndNoText) {
    const VString none, blank("");
    EXPECT_EQ(none.Ptr(), nullptr);
    EXPECT_NE(blank.Ptr(), nullptr);
    for (const VString* s : {&none, &blank}) {
        EXPECT_EQ(s->Len(), 0);
        EXPECT_TRUE(s->IsEmpty());
        EXPECT_STREQ(s->CStr(), "");
        EXPECT_TRUE(*s == "");
    }
    EXPECT_TRUE(none == blank);
    EXPECT_EQ(VString(none).Ptr(), nullptr);
    EXPECT_NE(VString(blank).Ptr(), nullptr);
    VString was_long = Make(TextOf(20));
    was_long = blank;
    EXPECT_NE(was_long.Ptr(), nullptr);
    was_long = none;
    EXPECT_EQ(was_long.Ptr(), nullptr);
    VString dots("...");
    dots.RemoveChars(".");
    EXPECT_EQ(dots.Ptr(), nullptr);
}

TEST(VStringForms, EqualityAndOrderLookAtEveryCharacter) {
    for (int n : {1, 10, 11, 12, 13, 14, 15, 16}) {
        for (int at = 0; at < n; ++at) {
            std::string a = TextOf(n), b = a;
            b[static_cast<std::size_t>(at)] = '#';
            EXPECT_FALSE(Make(a) == Make(b)) << n << " at " << at;
            EXPECT_TRUE(Make(a) != Make(b)) << n << " at " << at;
            EXPECT_GT(Make(a).Compare(Make(b)), 0) << n << " at " << at;
        }
        EXPECT_FALSE(Make(TextOf(n)) == Make(TextOf(n + 1)));
        EXPECT_TRUE(Make(TextOf(n)).StartsWith(Make(TextOf(n - 1))));
        EXPECT_EQ(Make("xx" + TextOf(n)).Find(Make(TextOf(n))), 2);
    }
}

TEST(VStringForms, EmbeddedNulBytes) {
    for (int n : {3, 11, 12, 14, 15, 16, 20}) {
        SCOPED_TRACE(n);
        std::string a = TextOf(n);
        a[1] = '\0';
        std::string b = a;
        b.back() = '#';
        ExpectText(Make(a), a);
        EXPECT_TRUE(Make(a) == Make(a));
        EXPECT_FALSE(Make(a) == Make(b));
        EXPECT_EQ(Make(a).IndexOf(a.back()), n - 1);
        VString copy(Make(a));
        ExpectText(copy, a);
        ExpectText(Make(a) + Make(a), a + a);
    }
}

TEST(VStringForms, EditsAndConversionsInEitherForm) {
    for (int n : kLengths) {
        SCOPED_TRACE(n);
        const std::string low = TextOf(n);
        std::string up = low;
        for (char& c : up) c = static_cast<char>(DovCharToUpper(c));
        VString s = Make(low);
        if (n == 0) continue;
        ExpectText(s.ToUpper(), up);
        ExpectText(s.ToUpper().ToLower(), low);
        ExpectText(s, low);  // the original keeps its text
        VString edited(s);
        edited.ReplaceChar('a', '*');
        std::string want = low;
        for (char& c : want)
            if (c == 'a') c = '*';
        ExpectText(edited, want);
        ExpectText(s, low);
    }
}

TEST(VStringForms, TicRoundTrip) {
    for (int n : kLengths) {
        SCOPED_TRACE(n);
        std::string text = TextOf(n);
        if (n > 2) text[2] = '\n';
        std::stringstream counted;
        Make(text).PutTicCounted(counted);
        VString back("old text that is long"), message;
        EXPECT_EQ(back.GetTicCounted(counted, message), 0);
        if (n == 0) {
            EXPECT_EQ(back.Len(), 0);
        } else {
            ExpectText(back, text);
        }
        std::stringstream delimited;
        Make(text).PutTic(delimited, '|');
        VString again("x");
        EXPECT_EQ(again.GetTic(delimited, '|', message), 0);
        EXPECT_EQ(again.Len(), n);
        if (n > 0) {
            ExpectText(again, text);
        }
    }
}

TEST(VStringForms, FromAStream) {
    for (int n : kLengths) {
        FastOstrstream os;
        os << TextOf(n);
        VString s(os);
        if (n == 0) {
            EXPECT_EQ(s.Ptr(), nullptr);
        } else {
            ExpectText(s, TextOf(n));
        }
    }
}

TEST(VStringForms, ContainersMoveTheirStrings) {
    // Growing arrays and tables move their strings: every text survives.
    DovNameTable table(1);
    for (int n = 1; n <= 40; ++n) table.FindOrAdd(Make(TextOf(n)), true, true);
    ASSERT_EQ(table.Count(), 40);
    for (int n = 1; n <= 40; ++n) EXPECT_EQ(table.FindOrAdd(Make(TextOf(n)), true, false), n - 1) << n;
    VStringArray array(3);
    for (int i = 0; i < 3; ++i) array.items[array.count++] = Make(TextOf(10 + i));
    VStringArray copy(array);
    array = VStringArray(1);
    for (int i = 0; i < 3; ++i) ExpectText(copy.items[i], TextOf(10 + i));
}

}  // namespace
