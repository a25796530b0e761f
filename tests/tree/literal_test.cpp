#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tree/tree.h"

namespace {

std::string S(const VString& v) { return std::string(v.CStr(), static_cast<std::size_t>(v.Len())); }

struct ImageCase {
    const char* image;
    std::string value;
    const char* error;
};

TEST(DovStringImageValue, Table) {
    const ImageCase cases[] = {
        {"'AB''C'", "AB''C", ""},
        {"\"SAY \"\"HI\"\"\"", "SAY \"\"HI\"\"", ""},
        {"'ABC' trailing", "ABC", ""},
        {"''", "", ""},
        {"X'C1C2'", "\xC1\xC2", ""},
        {"x'0a'", "\x0A", ""},
        {"h\"41\"", "A", ""},
        {"X'00'", " ", ""},
        {"X'ABC'", "\xAB\xC0", ""},
        {"X''", "", ""},
        {"X'GG'", "", "$Bad hex string image: not hexadecimal digits"},
        {"X'C1", "", "$Bad hex string image: Unterminated string image$"},
        {"XC1", "", "$Bad string image: [x|H|h|H] must be followed by ['|\"]$"},
        {"B'101'", "101", ""},
        {"b'1x'", "1X", ""},
        {"B101", "", "$Bad string image: [b|B] must be followed by ['|\"]$"},
        {"B'10", "", "$Bad bit string image: Unterminated string image$"},
        {"'ABC", "", "$Bad string image: Unterminated string image$"},
        {"'AB''", "", "$Bad string image: Unterminated string image$"},
        {"Z'..'", "", "$Bad string image: Bad string image format$"},
        {"", "", "$Bad string image: Bad string image format$"},
    };
    for (const ImageCase& c : cases) {
        VString error = "stale";
        VString value = DovStringImageValue(c.image, error);
        EXPECT_EQ(S(value), c.value) << c.image;
        EXPECT_STREQ(error.CStr(), c.error) << c.image;
    }
}

TEST(DovStringImageValue, LongValuesAreCut) {
    std::string text(400, 'A');
    VString error;
    EXPECT_EQ(DovStringImageValue(VString(("'" + text + "'").c_str()), error).Len(), kDovMaxLiteralValue);
    std::string hex(400, 'F');
    EXPECT_EQ(DovStringImageValue(VString(("X'" + hex + "'").c_str()), error).Len(), 160);
    EXPECT_TRUE(error.IsEmpty());
}

TEST(DovStringImage, Forms) {
    EXPECT_STREQ(DovStringImage("").CStr(), "''");
    EXPECT_STREQ(DovStringImage("ABC").CStr(), "'ABC'");
    EXPECT_STREQ(DovStringImage(VString("A\x01", 2)).CStr(), "X'4101'");
    EXPECT_STREQ(DovStringImage("\xC1\xC2").CStr(), "X'C1C2'");
    // Doubled apostrophes keep their round trip.
    EXPECT_STREQ(DovStringImage("AB''C").CStr(), "'AB''C'");
    // A lone apostrophe cannot stand between apostrophes.
    EXPECT_STREQ(DovStringImage("DON'T").CStr(), "\"DON'T\"");
    EXPECT_STREQ(DovStringImage("'").CStr(), "\"'\"");
    // Both kinds of quote, neither doubled: only the hexadecimal form is exact.
    EXPECT_STREQ(DovStringImage("A'B\"C").CStr(), "X'4127422243'");
}

TEST(DovStringImage, RoundTripsThroughTheDecoder) {
    // Images the decoder accepts and gives back unchanged.
    for (const char* image : {"'AB''C'", "''''", "'X'", "\"DON'T\""}) {
        VString error;
        VString value = DovStringImageValue(image, error);
        EXPECT_STREQ(DovStringImage(value).CStr(), image);
    }
    // Random values without zero bytes (the decoder turns X'00' into a
    // blank) come back from their image.
    std::mt19937 rng(7);
    const char alphabet[] = "AB'\" \x01\x7F\xC1-";
    for (int round = 0; round < 2000; ++round) {
        std::string value;
        int len = static_cast<int>(rng() % 12);
        for (int i = 0; i < len; ++i) value += alphabet[rng() % (sizeof alphabet - 1)];
        VString v(value.data(), static_cast<int>(value.size()));
        VString image = DovStringImage(v);
        VString error;
        VString back = DovStringImageValue(image, error);
        ASSERT_TRUE(error.IsEmpty()) << image;
        ASSERT_EQ(S(back), value) << image;
    }
}

TEST(DovStringImageValue, RandomImagesNeverFailBadly) {
    std::mt19937 rng(11);
    const char alphabet[] = "'\"XxHhBbZ019AFG \x00\xFF";
    for (int round = 0; round < 20000; ++round) {
        std::string image;
        int len = static_cast<int>(rng() % 10);
        for (int i = 0; i < len; ++i) image += alphabet[rng() % (sizeof alphabet - 1)];
        VString error;
        VString value = DovStringImageValue(VString(image.data(), static_cast<int>(image.size())), error);
        if (!error.IsEmpty()) {
            EXPECT_TRUE(value.IsEmpty());
        }
        EXPECT_LE(value.Len(), kDovMaxLiteralValue);
    }
}

}  // namespace
