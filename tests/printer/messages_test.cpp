// Printer messages: AddPError on a node, AddError without one, a pass
// without a message list, the debug echo.
#include <gtest/gtest.h>

#include "tests/printer/printer_fixture.h"
#include "tests/tree/tree_fixture.h"

namespace {

using vemlo_test::P;
using vemlo_test::PrintPass;

TEST(PrinterMessages, AddPErrorNamesThePositionAndTheOperation) {
    const int file = DovSrcFileNames().FindOrAdd("prog.cbl", false, true);
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    // The subtree begins at its first token that is no blank, comma,
    // semicolon or comment.
    auto* node = new DovExprOper(STMT_REPLACE);
    node->ArgSlots(0)->tokens.AddNewToken(CM_COMMENT, P(11, 7, file), "* note");
    node->ArgSlots(0)->tokens.AddNewToken(SEP_SPACE, P(12, 6, file), " ");
    node->ArgSlots(0)->tokens.AddNewToken(TK_USER_DEFD_WORD, P(12, 7, file), "REPLACE");
    node->AddPError(MSG_SEVERE, "bad phrase");
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "prog.cbl:12:8: STMT_REPLACE: bad phrase");
    const DovToken* t = pass.Messages().First();
    EXPECT_EQ(t->code, MSG_SEVERE);
    EXPECT_EQ(t->Beg(), P(12, 7, file));
    EXPECT_EQ(t->End(), P(12, 7, file));
    delete node;
}

TEST(PrinterMessages, AddPErrorWithoutSourceTokensUsesTheNullPosition) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    auto* node = new DovExprOper(STMT_LIST);
    node->AddPError(MSG_WARN, "text");
    ASSERT_EQ(pass.MessageTexts().size(), 1u);
    EXPECT_EQ(pass.MessageTexts()[0], "(null): STMT_LIST: text");
    EXPECT_TRUE(pass.Messages().First()->Beg().IsNull());
    EXPECT_EQ(pass.Messages().First()->code, MSG_WARN);
    delete node;
}

TEST(PrinterMessages, AddErrorKeepsTheTextAtTheNullPosition) {
    DovPrettyPrinterImpl p;
    PrintPass pass(p);
    DovExpr::AddError(MSG_ERR, "RecomputeGenTable: something");
    DovExpr::AddError(MSG_INFO, "second");
    ASSERT_EQ(pass.MessageTexts(), (std::vector<std::string>{"RecomputeGenTable: something", "second"}));
    const DovToken* t = pass.Messages().First();
    EXPECT_EQ(t->code, MSG_ERR);
    EXPECT_TRUE(t->Beg().IsNull());
    EXPECT_TRUE(t->End().IsNull());
}

TEST(PrinterMessages, WithoutAMessageListTheReportIsTerminal) {
    vemlo_test::ResetPrintState();
    vemlo_test::MessageCapture capture;
    auto* node = new DovExprOper(STMT_LIST);
    node->AddPError(MSG_WARN, "lost");
    DovExpr::AddError(MSG_WARN, "lost too");
    ASSERT_EQ(capture.Messages().size(), 2u);
    EXPECT_EQ(capture.Messages()[0].code, MSG_TERMINAL);
    EXPECT_EQ(capture.Messages()[0].text, "DovExpr::AddPError: no list of error messages specified");
    EXPECT_EQ(capture.Messages()[1].code, MSG_TERMINAL);
    EXPECT_EQ(capture.Messages()[1].text, "DovExpr::AddError: no list of error messages specified");
    delete node;
}

TEST(PrinterMessages, DebugFlagsEchoEveryMessage) {
    for (int flags : {0, 8}) {
        DovPrettyPrinterImpl p;
        p.debug_flags = flags;
        PrintPass pass(p);
        testing::internal::CaptureStdout();
        DovExpr::AddError(MSG_WARN, "echoed");
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("ERROR: ") != std::string::npos, flags != 0) << out;
        EXPECT_EQ(out.find("echoed") != std::string::npos, flags != 0) << out;
        EXPECT_EQ(pass.MessageTexts().size(), 1u);
    }
}

}  // namespace
