#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "lbase/lbase.h"
#include "tests/support/child_process.h"

namespace {

using vemlo_test::RunInChild;

struct PrintCase {
    int code;
    const char* text;
    const char* printed;
    int warnings, errors;
};

TEST(DovPrintMessage, PrefixesAndCounters) {
    const PrintCase cases[] = {
        {MSG_INFO, "x", "x\n", 0, 0},
        {MSG_INFO, "", "\n", 0, 0},
        {MSG_WARN, "x", "Warning: x\n", 1, 0},
        {MSG_ERR, "x", "ERROR: x\n", 0, 1},
        {MSG_SEVERE, "x", "SEVERE ERROR: x\n", 0, 1},
        {973, "x", "", 0, 0},
        {967, "x", "", 0, 0},
    };
    for (const auto& c : cases) {
        auto r = RunInChild([&] {
            DovPrintMessage(c.code, c.text);
            std::cout << "|" << DovWarningCount() << "," << DovErrorCount();
        });
        EXPECT_EQ(r.out, std::string(c.printed) + "|" + std::to_string(c.warnings) + "," +
                             std::to_string(c.errors))
            << c.code;
    }
}

TEST(DovPrintMessage, WarningCountsWhenSwitchedOff) {
    auto r = RunInChild([] {
        DovWarningsSwitch = 0;
        DovPrintMessage(MSG_WARN, "hidden");
        DovPrintPosnMessage(MSG_WARN, DovTxtPosn(3, 0, 0), "hidden too");
        std::cout << DovWarningCount();
        DovResetMessageCounters();
        std::cout << DovWarningCount();
    });
    EXPECT_EQ(r.out, "20");
}

TEST(DovPrintMessage, TerminalEndsWithStatusOneAfterHook) {
    auto r = RunInChild([] {
        DovExitHook = [](int status) { std::cout << "hook " << status << "\n"; };
        DovPrintMessage(MSG_TERMINAL, "x");
        std::cout << "not reached\n";
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_EQ(r.out, "Terminal ERROR: x\nhook 1\n");
}

TEST(DovPrintPosnMessage, PositionInFront) {
    auto r = RunInChild([] {
        int ix = DovSrcFileNames().FindOrAdd("PROG1.cbl", false, true);
        DovPrintPosnMessage(MSG_ERR, DovTxtPosn(12, 7, ix), "bad");
        DovPrintPosnMessage(MSG_ERR, DovNullPosn, "no place");
    });
    EXPECT_EQ(r.out, "PROG1.cbl:12:8: ERROR: bad\nERROR: no place\n");
}

// Every form a position takes in front of a line: a place (an unknown file
// has the bad-file name, the largest line prints unsigned, the column one
// up), the infinite mark, nothing for the null position;
// and nothing at all for a line not printed.
TEST(DovPrintPosnMessage, PositionFormsAndPrefixes) {
    auto r = RunInChild([] {
        const int a = DovSrcFileNames().FindOrAdd("A.cbl", false, true);
        const int unknown = DovSrcFileNames().Count() + 7;
        const std::string long_text(300, 't');
        DovPrintPosnMessage(MSG_INFO, DovTxtPosn(7, 0, a), "line");
        DovPrintPosnMessage(MSG_INFO, DovTxtPosn(4294967295u, 999, a), "");
        DovPrintPosnMessage(MSG_WARN, DovTxtPosn(4294967295u, 9, a), VString());
        DovPrintPosnMessage(MSG_SEVERE, DovTxtPosn(12, 3, unknown), "s");
        DovPrintPosnMessage(MSG_INFO, DovTxtPosn(0, 5, a), "c");
        DovPrintPosnMessage(MSG_ERR, DovTxtPosn(0, 1, a), "i");
        DovPrintPosnMessage(MSG_INFO, DovNullPosn, VString(long_text.c_str()));
        DovPrintPosnMessage(975, DovTxtPosn(1, 1, a), "not printed");
        std::cout << DovWarningCount() << ' ' << DovErrorCount();
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.out, "A.cbl:7:1: line\n"
                     "A.cbl:4294967295:1000: \n"
                     "A.cbl:4294967295:10: Warning: \n"
                     "-(bad)-:12:4: SEVERE ERROR: s\n"
                     "A.cbl:0:6: c\n"
                     "(infty): ERROR: i\n" +
                         std::string(300, 't') + "\n1 2");
}

TEST(DovTerminalError, Aborts) {
    auto r = RunInChild([] { DovTerminalError("gone"); });
    EXPECT_FALSE(r.exited);
    EXPECT_EQ(r.out, "\nTERMINAL ERROR: gone\n");
}

}  // namespace
