// WillTransform: counting uses in the usage map, the full map, the
// "Found"/"Applied" messages and the applied list.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"
#include "tree/tree.h"

namespace {

using vemlo_test::HookCapture;
using vemlo_test::MessageLines;
using vemlo_test::Name;
using vemlo_test::Op;
using vemlo_test::Scripted;
using Strings = std::vector<std::string>;

// Each test starts with an empty map and the switches as at start-up.
class Usage : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        DovUsageMap& map = DovTransformUsageMap();
        map.count = 0;
        map.full_reported = 0;
        DovConvInfo = 0;
        DovConvFoundMode = 0;
        DovConvList = 0;
    }
    // Runs `t` once at `node` with a body that announces itself.
    static char AnnounceAt(Scripted& t, DovExpr* node, int quiet, DovTokenList* msgs) {
        t.body = [quiet](Scripted& self, DovExpr*, int, DovTokenList*, DovExpr**) -> char {
            DovTransform::WillTransform(&self, quiet);
            return 0;
        };
        return DovTransform::SearchTransform(&t, node, 1, msgs, nullptr);
    }
    static std::string AppliedList() {
        std::ostringstream os;
        DovPrintAppliedTransformations(os);
        return os.str();
    }
};

TEST_F(Usage, SwitchesStartAsTheDriverExpects) {
    EXPECT_EQ(DovConvWarn, 1);
    EXPECT_EQ(DovConvInfo, 0);
    EXPECT_EQ(DovConvList, 0);
    EXPECT_EQ(DovConvFoundMode, 0);
    EXPECT_EQ(AppliedList(), "");
}

TEST_F(Usage, TwoUsesOneEntry) {
    DovExpr* node = Op("N");
    Scripted t(false, "MOVE-FIX");
    Scripted u(false, "OTHER");
    DovTokenList msgs;
    AnnounceAt(t, node, 0, &msgs);
    AnnounceAt(u, node, 0, &msgs);
    AnnounceAt(t, node, 0, &msgs);
    EXPECT_EQ(DovTransformUsageMap().count, 2);
    EXPECT_EQ(AppliedList(), "List of applied transformations:\n2   MOVE-FIX\n1   OTHER\n");
    EXPECT_TRUE(msgs.IsEmpty());  // info switch off
    delete node;
}

TEST_F(Usage, MessagesTable) {
    struct Case {
        const char* what;
        int found_mode;
        const char* descr;
        const char* expect;
    };
    const Case cases[] = {
        {"applied, two lines", 0, "first line\nsecond line", "968:Applied T (first line)@4:8"},
        {"found, one line", 1, "all of it", "968:Found T (all of it)@4:8"},
        {"found, empty description", 1, "", "968:Found T ()@4:8"},
        {"applied, starts with a newline", 0, "\nrest", "968:Applied T ()@4:8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DovExpr* root = Op("R", {Op("N", {}, 4, 8)});
        Scripted t(false, "T", c.descr);
        DovConvInfo = 1;
        DovConvFoundMode = c.found_mode;
        DovTokenList msgs;
        EXPECT_EQ(AnnounceAt(t, root->Args(0), 0, &msgs), 0);
        EXPECT_EQ(MessageLines(msgs), (Strings{c.expect}));
        delete root;
    }
}

TEST_F(Usage, QuietCountsNothingAndSaysNothing) {
    DovExpr* node = Op("N", {}, 1, 1);
    Scripted t(false, "Q", "quiet one");
    DovConvInfo = 1;
    DovConvFoundMode = 1;
    DovTokenList msgs;
    AnnounceAt(t, node, 1, &msgs);
    EXPECT_EQ(DovTransformUsageMap().count, 0);
    EXPECT_TRUE(msgs.IsEmpty());
    EXPECT_EQ(AppliedList(), "");
    delete node;
}

TEST_F(Usage, TraceLineAtLevelOne) {
    DovExpr* node = Op("N", {}, 2, 4);
    Scripted t(false, "TR");
    int saved = DovTransformDebugLevel;
    DovTransformDebugLevel = 1;
    DovTokenList msgs;
    testing::internal::CaptureStdout();
    AnnounceAt(t, node, 1, &msgs);
    std::string out = testing::internal::GetCapturedStdout();
    DovTransformDebugLevel = saved;
    std::string posn = DovTxtPosnStr(vemlo_test::Posn(2, 4)).CStr();
    EXPECT_EQ(out, "**WillTr: TR op=EX_LIST @=" + posn + " i=" + std::to_string(node->Serial()) + " t=1\n");
    delete node;
}

TEST_F(Usage, FullMapKeepsCountingAndReportsOnce) {
    HookCapture hook;
    DovExpr* node = Op("N");
    DovTokenList msgs;
    std::vector<std::unique_ptr<Scripted>> all;
    for (int i = 0; i < DOV_USAGE_MAP_SIZE + 2; ++i) {
        all.push_back(std::make_unique<Scripted>(false, "x"));
        all.back()->name = DovFormat("T%d", i);
    }
    for (int i = 0; i < DOV_USAGE_MAP_SIZE; ++i) AnnounceAt(*all[i], node, 0, &msgs);
    EXPECT_TRUE(hook.Texts().empty());
    AnnounceAt(*all[DOV_USAGE_MAP_SIZE], node, 0, &msgs);
    AnnounceAt(*all[DOV_USAGE_MAP_SIZE + 1], node, 0, &msgs);
    AnnounceAt(*all[DOV_USAGE_MAP_SIZE], node, 0, &msgs);
    EXPECT_EQ(hook.Texts(), (Strings{"SEVERE ERROR: DovTransform::WillTransform: too many transformations in a map"}));
    DovUsageMap& map = DovTransformUsageMap();
    EXPECT_EQ(map.count, DOV_USAGE_MAP_SIZE);
    EXPECT_EQ(map.Find("T200"), nullptr);
    // The names held go on counting.
    AnnounceAt(*all[0], node, 0, &msgs);
    AnnounceAt(*all[199], node, 0, &msgs);
    EXPECT_EQ(map.Find("T0")->count, 2);
    EXPECT_EQ(map.Find("T199")->count, 2);
    EXPECT_EQ(map.entries[DOV_USAGE_MAP_SIZE - 1].name, "T199");
    delete node;
}

TEST_F(Usage, NestedApplicationGivesTheOuterOneBackItsNode) {
    // The outer transformation looks at a child with another transformation
    // first and then announces its own work, which belongs at its own node.
    DovExpr* root = Op("R", {vemlo_test::Leaf("C")}, 5, 2);
    Scripted inner(false, "Inner");
    Scripted outer(false, "Outer", "outer work");
    DovConvInfo = 1;
    outer.body = [&inner](Scripted& self, DovExpr* node, int, DovTokenList* msgs, DovExpr**) -> char {
        int found = 0;
        DovTransform::MatchesAt(&inner, node->Args(0), found, msgs);
        DovTransform::WillTransform(&self, 0);
        return 0;
    };
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchTransform(&outer, root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(inner.names, (Strings{"C"}));
    EXPECT_EQ(MessageLines(msgs), (Strings{"968:Applied Outer (outer work)@5:2"}));
    EXPECT_EQ(DovTransCurrent.node, nullptr);
    delete root;
}

TEST_F(Usage, OutsideAnyApplicationNothingIsAttached) {
    Scripted t(false, "Loose");
    DovConvInfo = 1;
    DovTransform::WillTransform(&t, 0);
    EXPECT_EQ(DovTransformUsageMap().Find("Loose")->count, 1);
}

}  // namespace
