// The message hook and the progress line, called directly in a child
// process whose output is collected.
#include <gtest/gtest.h>

#include <string>

#include "lbase/message.h"
#include "lbase/txtposn.h"
#include "tests/support/child_process.h"
#include "tool/hooks.h"

namespace {

int FileIndex(const char* name) { return DovSrcFileNames().FindOrAdd(VString(name), false, true); }

}  // namespace

TEST(ShowParseProgress, WritesTheSelfOverwritingLineToStandardError) {
    const std::string blanks(27, ' ');
    struct Case {
        int line;
        const char* text;
        std::string expected;
    } cases[] = {
        {300, "", "    300 PROG.cbl" + blanks + "\r"},
        {0, "Resolving Names", "Resolving Names" + blanks + "\r"},
        {0, "", blanks + "\r"},
        {1234567, "", "1234567 PROG.cbl" + blanks + "\r"},
        {100, "x", "    100 PROG.cbl: x" + blanks + "\r"},
    };
    for (const Case& c : cases) {
        const vemlo_test::ChildResult r = vemlo_test::RunInChild([&] {
            const DovTxtPosn at = c.line ? DovTxtPosn(c.line, 0, FileIndex("PROG.cbl")) : DovNullPosn;
            ShowParseProgress(at, VString(c.text));
        });
        ASSERT_TRUE(r.exited);
        EXPECT_EQ(r.err, c.expected);
        EXPECT_EQ(r.out, "");
    }
}

TEST(ToolMessageHook, PrintsThePositionOnlyWhenSet) {
    const vemlo_test::ChildResult r = vemlo_test::RunInChild([] {
        ToolMessageHook(MSG_WARN, DovTxtPosn(3, 4, FileIndex("A.cbl")), VString("w"));
        ToolMessageHook(MSG_ERR, DovNullPosn, VString("e"));
        ToolMessageHook(MSG_INFO, DovTxtPosn(7, 0, FileIndex("A.cbl")), VString("line"));
        ToolMessageHook(MSG_SEVERE, DovNullPosn, VString("s"));
        std::cout << DovErrorCount() << " " << DovWarningCount() << "\n";
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "A.cbl:3:5: Warning: w\nERROR: e\nA.cbl:7:1: line\nSEVERE ERROR: s\n2 1\n");
}

TEST(ToolMessageHook, TerminalMessageEndsTheProcessWithStatus1) {
    const vemlo_test::ChildResult r = vemlo_test::RunInChild([] {
        ToolMessageHook(MSG_TERMINAL, DovNullPosn, VString("cannot go on"));
        std::cout << "after\n";
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.out, "Terminal ERROR: cannot go on\n");
}

// Informations, which a search prints one per match: every form of
// position, empty and long texts, and no count of errors or warnings.
TEST(ToolMessageHook, InformationsAtEveryFormOfPosition) {
    const std::string long_text(300, 't');
    const int a = FileIndex("A.cbl");
    const int b = FileIndex("COPY/B.CPY");
    const int unknown = DovSrcFileNames().Count() + 7;
    const struct {
        DovTxtPosn at;
        std::string text;
        std::string line;
    } cases[] = {
        {DovTxtPosn(7, 0, a), "line", "A.cbl:7:1: line\n"},
        {DovTxtPosn(7, 0, a), "", "A.cbl:7:1: \n"},
        {DovTxtPosn(1, 72, b), long_text, "COPY/B.CPY:1:73: " + long_text + "\n"},
        {DovTxtPosn(4294967295u, 65535, a), "x", "A.cbl:4294967295:65536: x\n"},
        {DovTxtPosn(0, 5, a), "x", "A.cbl:0:6: x\n"},
        {DovTxtPosn(12, 3, unknown), "x", "-(bad)-:12:4: x\n"},
        {DovTxtPosn(12, 3, 0), "x", "-(bad)-:12:4: x\n"},
        {DovInftyPosn, "x", "(infty): x\n"},
        {DovNullPosn, "x", "x\n"},
    };
    std::string want;
    for (const auto& c : cases) want += c.line;
    want += "0 0\n";
    const vemlo_test::ChildResult got = vemlo_test::RunInChild([&] {
        for (const auto& c : cases) ToolMessageHook(MSG_INFO, c.at, VString(c.text.c_str()));
        std::cout << DovErrorCount() << " " << DovWarningCount() << "\n";
    });
    ASSERT_TRUE(got.exited);
    EXPECT_EQ(got.out, want);
}
