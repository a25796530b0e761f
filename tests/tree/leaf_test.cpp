#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;
using vemlo_test::Word;

struct HookEvent {
    int kind;
    std::string text;
};
std::vector<HookEvent> g_events;

class HookRecorder {
public:
    HookRecorder() {
        g_events.clear();
        DovTreeChangeHook = [](int kind, DovExpr*, DovExpr*, int, const VString& text) {
            g_events.push_back({kind, text.CStr()});
        };
    }
    ~HookRecorder() { DovTreeChangeHook = nullptr; }
};

TEST(DovIntNumConst, ImagesAndValues) {
    DovIntNumConst n;
    EXPECT_STREQ(n.Image().CStr(), "0");
    EXPECT_EQ(n.IntValue(), 0);

    n.SetFlag(1);
    VString error;
    EXPECT_EQ(n.SetImage("H'FF'", &error), 0);
    EXPECT_EQ(n.IntValue(), 255);
    EXPECT_EQ(n.Flag(), 0);
    EXPECT_TRUE(error.IsEmpty());

    EXPECT_EQ(n.SetImage("12A", &error), 33);
    EXPECT_STREQ(n.Image().CStr(), "12A");
    EXPECT_STREQ(error.CStr(), "Expecting integer number here, not '12A'");
    EXPECT_EQ(n.IntValue(), 255);  // a bad image keeps the value
    EXPECT_EQ(n.SetImage("99999999999999999999999", &error), 33);
    EXPECT_STREQ(error.CStr(), "Integer number '99999999999999999999999' does not fit in 64 bits");
    EXPECT_EQ(n.IntValue(), 255);  // and so does one beyond 64 bits

    n.SetFlag(2);
    n.SetValue(-5LL);
    EXPECT_STREQ(n.Image().CStr(), "-5");
    EXPECT_EQ(n.IntValue(), -5);
    EXPECT_STREQ(n.Value().CStr(), "-5");
    EXPECT_EQ(n.Flag(), 2);

    DovIntNumConst big(5000000000LL);
    EXPECT_STREQ(big.Image().CStr(), "5000000000");
    DovIntNumConst imaged("007", 7);
    EXPECT_STREQ(imaged.Image().CStr(), "007");
    EXPECT_STREQ(imaged.Value().CStr(), "7");
}

TEST(DovStrConst, ImageValueAndCanonicalImage) {
    DovStrConst hex("X'C1'");
    EXPECT_STREQ(hex.Image().CStr(), "X'C1'");
    EXPECT_STREQ(hex.StrValue().CStr(), "\xC1");
    DovStrConst printable("X'41'");
    EXPECT_STREQ(printable.StrValue().CStr(), "A");
    EXPECT_STREQ(printable.Value().CStr(), "'A'");
    EXPECT_STREQ(hex.Value().CStr(), "X'C1'");

    DovStrConst bad("'OPEN");
    EXPECT_STREQ(bad.Image().CStr(), "$Bad string image: Unterminated string image$");
    EXPECT_STREQ(bad.StrValue().CStr(), "$Bad string image: Unterminated string image$");

    DovStrConst empty;
    EXPECT_STREQ(empty.Image().CStr(), "''");
    EXPECT_TRUE(empty.StrValue().IsEmpty());
}

TEST(DovStrConst, SetImageAndSetValue) {
    HookRecorder hooks;
    DovStrConst s("'A'");
    s.SetFlag(1);
    VString error;
    EXPECT_EQ(s.SetImage("Q'X'", &error), 33);
    EXPECT_STREQ(s.Image().CStr(), "Q'X'");
    EXPECT_TRUE(s.StrValue().IsEmpty());
    EXPECT_STREQ(error.CStr(), "$Bad string image: Bad string image format$");
    EXPECT_EQ(s.Flag(), 1);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0].kind, DOV_CHANGE_TEXT);

    g_events.clear();
    EXPECT_EQ(s.SetImage("'DON''T'", &error), 0);
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_STREQ(s.StrValue().CStr(), "DON''T");
    EXPECT_EQ(s.Flag(), 0);
    ASSERT_EQ(g_events.size(), 2u);
    EXPECT_EQ(g_events[0].kind, DOV_CHANGE_TEXT);
    EXPECT_EQ(g_events[0].text, "'DON''T'");
    EXPECT_EQ(g_events[1].kind, DOV_CHANGE_DONE);

    g_events.clear();
    s.SetValue("DON'T");
    EXPECT_STREQ(s.Image().CStr(), "\"DON'T\"");
    EXPECT_STREQ(s.StrValue().CStr(), "DON'T");
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0].text, "\"DON'T\"");
}

TEST(LeafNodes, TextLeaves) {
    HookRecorder hooks;
    DovTokenString t("EXEC");
    t.SetFlag(3);
    EXPECT_EQ(t.SetImage("SQL"), 0);
    EXPECT_STREQ(t.Value().CStr(), "SQL");
    EXPECT_EQ(t.Flag(), 0);
    t.SetFlag(3);
    t.SetValue("END-EXEC");
    EXPECT_STREQ(t.Image().CStr(), "END-EXEC");
    EXPECT_EQ(t.Flag(), 3);

    DovRealNumConst r;
    EXPECT_STREQ(r.Image().CStr(), "0.0");
    EXPECT_EQ(r.SetImage("1.5E3"), 0);
    EXPECT_STREQ(r.Value().CStr(), "1.5E3");
    EXPECT_EQ(t.IsTerminal(), 1);
    EXPECT_EQ(r.IsTerminal(), 1);
}

TEST(LeafNodes, OperationsLeavesDoNotCarry) {
    MessageCapture cap;
    DovRealNumConst r("2.5");
    EXPECT_EQ(r.IntValue(), -1);
    DovTokenString t("X");
    t.SetValue(4LL);
    EXPECT_EQ(cap.Messages().size(), 2u);
    EXPECT_NE(cap.Joined().find("IntValue() at expr node REAL_NUM_CONST"), std::string::npos);
    EXPECT_NE(cap.Joined().find("SetValue() at expr node TOKEN_STRING"), std::string::npos);
}

TEST(LeafNodes, CopiesAreSeparate) {
    std::vector<DovExpr*> leaves = {new DovTokenString("T"), new DovIntNumConst("H'10'", 16), new DovRealNumConst("3.25"),
                                    new DovStrConst("X'C1C2'"), new DovCharString("C"), new DovNullNode};
    for (DovExpr* leaf : leaves) {
        DovToken* tok = Word("w", 3, 4);
        leaf->Tokens().AppendToken(tok);
        leaf->SetFlag(2);
        DovExpr* copy = leaf->Copy();
        EXPECT_EQ(copy->Serial(), leaf->Serial());
        EXPECT_EQ(copy->Oper(), leaf->Oper());
        EXPECT_EQ(copy->Flag(), 2);
        EXPECT_EQ(copy->Parent(), nullptr);
        ASSERT_NE(copy->Tokens().First(), nullptr);
        EXPECT_NE(copy->Tokens().First(), leaf->Tokens().First());
        std::string image = leaf->IsTerminal() ? leaf->Image().CStr() : "";
        std::string value = leaf->IsTerminal() ? leaf->Value().CStr() : "";
        delete leaf;
        if (copy->IsTerminal()) {
            EXPECT_EQ(copy->Image().CStr(), image);
            EXPECT_EQ(copy->Value().CStr(), value);
        }
        EXPECT_STREQ(copy->Tokens().First()->image.CStr(), "w");
        delete copy;
    }
}

TEST(LeafNodes, DumpLines) {
    struct Case {
        DovExpr* node;
        const char* line;
    } cases[] = {
        {new DovTokenString("ABC"), "TOKEN_STRING ABC\n"},
        {new DovTokenString(""), "TOKEN_STRING\n"},
        {new DovIntNumConst("H'FF'", 255), "INT_NUM_CONST image=H'FF' value=255\n"},
        {new DovRealNumConst("1.5"), "REAL_NUM_CONST 1.5\n"},
        {new DovStrConst("'Q'"), "STR_CONST 'Q'\n"},
    };
    int saved = DovDumpVerbosity;
    DovDumpVerbosity = 1;
    for (const Case& c : cases) {
        std::ostringstream os;
        c.node->Print(os);
        EXPECT_EQ(os.str(), c.line);
        delete c.node;
    }
    DovDumpVerbosity = saved;
}

}  // namespace
