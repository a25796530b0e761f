#include <gtest/gtest.h>

#include <random>

#include "tree/dials.h"

namespace {

TEST(Dials, TextFormOfTheBounds) {
    EXPECT_TRUE(DovDialsToString(DovNoDials()) == "00000000000000000000");
    EXPECT_TRUE(DovDialsToString(DovAllDials()) == "11133173111111111111");
    EXPECT_EQ(DovAllDials().word, 0xffffffffu);
    EXPECT_EQ(DovNoDials().word, 0u);
    EXPECT_TRUE(DovDialsText(DovNoDials()) == "");
}

// Each dialect's field: its level when added, and that it touches no other
// dialect.
TEST(Dials, AddAndLevel) {
    const int highest[21] = {0, 1, 1, 1, 3, 3, 1, 7, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::uint32_t seen = 0;
    for (int d = 1; d <= kDovDialectCount; ++d) {
        SCOPED_TRACE(d);
        DovDials set;
        EXPECT_EQ(DovDialsAdd(set, d), d);
        EXPECT_EQ(DovDialsLevel(set, d), highest[d]);
        for (int other = 1; other <= kDovDialectCount; ++other) {
            if (other != d) {
                EXPECT_EQ(DovDialsLevel(set, other), 0);
            }
        }
        EXPECT_EQ(set.word & seen, 0u);
        seen |= set.word;
    }
    EXPECT_EQ(seen, 0x03fffffeu);  // bits 1..25

    DovDials set;
    DovDialsAdd(set, DIAL_MF);
    EXPECT_EQ(set.word, 7u << 9);
    for (int bad : {0, 21, 255, -1, 256}) {
        DovDials s = set;
        DovDialsAdd(s, bad);
        EXPECT_EQ(s, set) << bad;
        EXPECT_EQ(DovDialsLevel(DovAllDials(), bad), 0) << bad;
    }
    // Taken as a byte: 256 + 7 is mf.
    DovDials byByte;
    DovDialsAdd(byByte, 256 + DIAL_MF);
    EXPECT_EQ(byByte, set);
}

TEST(Dials, ParseText) {
    struct Case {
        const char* text;
        int result;
        const char* want;  // text form of the result, or the message
    };
    const Case cases[] = {
        {"00000000000000000000", 0, "00000000000000000000"},
        {"11133173111111111111", 0, "11133173111111111111"},
        {"00000070000000000000", 0, "00000070000000000000"},
        {"22222222222222222222", 0, "00022022000000000000"},  // only the low bits of each digit
        {"99999999999999999999", 0, "11111111111111111111"},
        {"000000000000000000", 21, "DovStringToDials: dialects string '000000000000000000' has bad length"},
        {"000000000000000000000", 21,
         "DovStringToDials: dialects string '000000000000000000000' has bad length"},
        {"", 21, "DovStringToDials: dialects string '' has bad length"},
        {"0000000000000000000a", 21, "DovStringToDials: bad char in dialects string '0000000000000000000a'"},
        {"0000 000000000000000", 21, "DovStringToDials: bad char in dialects string '0000 000000000000000'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DovDials set = DovAllDials();
        VString error;
        EXPECT_EQ(DovStringToDials(set, c.text, error), c.result);
        if (c.result == 0) {
            EXPECT_TRUE(DovDialsToString(set) == c.want) << DovDialsToString(set);
            EXPECT_TRUE(error.IsEmpty());
        } else {
            EXPECT_EQ(set, DovNoDials());
            EXPECT_TRUE(error == c.want) << error;
        }
    }
}

// Any set survives its text form, apart from the bits of no dialect.
TEST(Dials, RoundTrip) {
    std::mt19937 rng(7);
    for (int i = 0; i < 500; ++i) {
        DovDials set{static_cast<std::uint32_t>(rng())};
        DovDials back;
        VString error;
        ASSERT_EQ(DovStringToDials(back, DovDialsToString(set), error), 0);
        EXPECT_EQ(back.word, set.word & 0x03fffffeu);
    }
}

TEST(Dials, Check) {
    VString error;
    DovDials allowed;
    DovDialsAdd(allowed, DIAL_ANSI85);
    DovDials mfLow{1u << 9};  // mf at level 1: levels are not compared

    DovDials set;
    EXPECT_EQ(DovCheckDialects(set, DIAL_MF, DIAL_NONE, mfLow, error), 0);
    EXPECT_EQ(DovDialsLevel(set, DIAL_MF), 7);
    EXPECT_TRUE(error.IsEmpty());

    set = DovNoDials();
    EXPECT_EQ(DovCheckDialects(set, DIAL_MF, DIAL_NONE, allowed, error), 22);
    EXPECT_TRUE(error == "The specified combination of dialects is not allowed");
    EXPECT_EQ(DovDialsLevel(set, DIAL_MF), 7);  // the addition stays

    // A dialect already in the set is checked too.
    error = VString();
    set = DovNoDials();
    DovDialsAdd(set, DIAL_WANG);
    EXPECT_EQ(DovCheckDialects(set, DIAL_ANSI85, DIAL_NONE, allowed, error), 22);

    set = DovNoDials();
    EXPECT_EQ(DovCheckDialects(set, DIAL_ANSI85, DIAL_MF, DovAllDials(), error), 0);
    EXPECT_TRUE(DovDialsText(set) == "Ansi85 Mf ");
    set = DovNoDials();
    EXPECT_EQ(DovCheckDialects(set, DIAL_NONE, DIAL_NONE, DovNoDials(), error), 0);
}

TEST(Dials, TextOfAll) {
    EXPECT_TRUE(DovDialsText(DovAllDials()) ==
                "Ansi74 Ansi85 Osvs Vsii Saa Xopen Mf Ms Rm Rm85 Dosvs Univac Wang Fsc Net FscNet Icobol Acu "
                "Dml Idms ");
    DovDials low{1u << 4};  // vsii at level 1
    EXPECT_TRUE(DovDialsText(low) == "Vsii ");
}

TEST(Dials, NameLists) {
    EXPECT_TRUE(DovDialectNames[0] == "none");
    EXPECT_TRUE(DovDialectNames[DIAL_MF] == "mf");
    EXPECT_TRUE(DovDialectNames[DIAL_FSCNET] == "fscnet");
    EXPECT_TRUE(DovDialectNames[DIAL_IDMS] == "idms");
    EXPECT_TRUE(DovDialectNames[21].IsEmpty());
    EXPECT_TRUE(DovDialectDisplayNames[0] == "None");
    EXPECT_TRUE(DovDialectDisplayNames[DIAL_VSII] == "IBM VS/II revs. 3, 4");
    EXPECT_TRUE(DovDialectDisplayNames[DIAL_FSCNET] == "Synkronix/Fujitsu NetCobol");
    EXPECT_TRUE(DovDialectDisplayNames[DIAL_IDMS] == "IDMS");
    EXPECT_TRUE(DovDialectDisplayNames[21].IsEmpty());
    for (int i = 0; i <= kDovDialectCount; ++i) {
        EXPECT_FALSE(DovDialectNames[i].IsEmpty()) << i;
        EXPECT_FALSE(DovDialectDisplayNames[i].IsEmpty()) << i;
    }
}

}  // namespace
