// The printer's passes: the main pass into a string or a file, its
// refusals, generated positions, and fragment printing.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "printer/templates/print_templates.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::ResetPrintState;

DovExprOper* Move(const char* from, const char* to) {
    return new DovExprOper(STMT_MOVE, new DovCharString(from), new DovCharString(to));
}

std::vector<std::string> Texts(const DovTokenList& list) {
    std::vector<std::string> v;
    for (const DovToken* t : list) v.push_back(t->image.CStr());
    return v;
}

bool HasText(const DovTokenList& list, const std::string& part) {
    for (const DovToken* t : list)
        if (std::string(t->image.CStr()).find(part) != std::string::npos) return true;
    return false;
}

TEST(PrintPass, PrintsATreeThroughItsTemplatesAndBuildsTheTableOnce) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(Move("A", "B"));
    list->AddArg(Move("C", "D"));
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, list, &messages), 0) << Texts(messages).size();
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n       MOVE C TO D\n");
    ASSERT_NE(printer.gen_table, nullptr);
    PrintTemplate* table = printer.gen_table;
    EXPECT_EQ(printer.PrintToString(text, list, &messages), 0);
    EXPECT_EQ(printer.gen_table, table);
    EXPECT_EQ(DovPrinting.inUse, 0);
    delete list;
}

TEST(PrintPass, ASecondPassWhileOneRunsIsRefused) {
    ResetPrintState();
    DovPrettyPrinterImpl running, other;
    DovTokenList runningMessages, messages;
    ASSERT_EQ(DovBeginPrintPass(&running, &runningMessages, nullptr), 0);
    DovExprOper* move = Move("A", "B");
    VString text;
    EXPECT_EQ(other.PrintToString(text, move, &messages), kDovPrintInUse);
    EXPECT_TRUE(HasText(messages, "PrettyPrint is already in use"));
    EXPECT_EQ(DovPrinting.inUse, 1);
    DovEndPrintPass();
    ResetPrintState();
    delete move;
}

TEST(PrintPass, ARefusedPassLeavesItsOutputFileAlone) {
    ResetPrintState();
    const std::string path = ::testing::TempDir() + "vemlo_print_pass_kept.cbl";
    { std::ofstream(path) << "KEEP ME\n"; }
    DovPrettyPrinterImpl running, other;
    DovTokenList runningMessages, messages;
    ASSERT_EQ(DovBeginPrintPass(&running, &runningMessages, nullptr), 0);
    DovExprOper* move = Move("A", "B");
    EXPECT_EQ(other.PrintToFile(path.c_str(), move, &messages), kDovPrintInUse);
    DovEndPrintPass();
    ResetPrintState();
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "KEEP ME");
    std::remove(path.c_str());
    delete move;
}

TEST(PrintPass, AnIndentationStepBelowOneIsRefused) {
    for (int step : {0, -3}) {
        ResetPrintState();
        DovPrettyPrinterImpl printer;
        printer.gen_indent_step = step;
        DovExprOper* move = Move("A", "B");
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, move, &messages), kDovPrintBadIndentStep);
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_TRUE(HasText(messages, "PrettyPrint: negative indentation step: " + std::to_string(step)));
        delete move;
    }
}

TEST(PrintPass, AFreeFormatPassTurnsTheAreaRulesOffForGood) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    printer.gen_line_format = DOV_GEN_LF_FSC_FREE;
    DovExprOper* move = Move("A", "B");
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, move, &messages), 0);
    EXPECT_EQ(printer.gen_observe_ab_rules, 0);
    EXPECT_STREQ(text.CStr(), " MOVE A TO B\n");
    printer.gen_line_format = DOV_GEN_LF_FIXED;
    EXPECT_EQ(printer.PrintToString(text, move, &messages), 0);
    EXPECT_EQ(printer.gen_observe_ab_rules, 0);
    delete move;
}

TEST(PrintPass, AFileThatCannotBeOpenedIsReported) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    DovExprOper* move = Move("A", "B");
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToFile("/nonexistent-vemlo-dir/out.cbl", move, &messages), 10);
    EXPECT_EQ(Texts(messages), std::vector<std::string>{"Cannot open file '/nonexistent-vemlo-dir/out.cbl' for output"});
    EXPECT_EQ(DovPrinting.inUse, 0);
    delete move;
}

TEST(PrintPass, PrintToStringKeepsTheTextPrintedBeforeAFailure) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    printer.gen_copy_dir = "unused-dir";
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(Move("A", "B"));
    list->AddArg(new DovExprOper(STMT_INLINED_COPY_END));  // closes nothing that was opened
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, list, &messages), '7');
    EXPECT_STREQ(text.CStr(), "       MOVE A TO B\n");
    EXPECT_TRUE(HasText(messages, "SourcePrint: empty file stack"));
    delete list;
}

TEST(PrintPass, ATextLongerThanAStringMayBeIsReportedNotCut) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    DovExprOper* move = Move("A", "B");
    const std::size_t saved = DovPrintStringLimit;
    DovPrintStringLimit = 10;
    VString text = "old";
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, move, &messages), kDovPrintTooLong);
    DovPrintStringLimit = saved;
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(HasText(messages, "PrettyPrint: printed text of 19 characters does not fit a string"));
    delete move;
}

TEST(PrintPass, GeneratedPositionsHoldOffsetColumnAndLevel) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    printer.gen_posn = 1;
    auto* list = new DovExprOper(STMT_LIST);
    DovExprOper* first = Move("A", "B");
    DovExprOper* second = Move("CC", "D");
    list->AddArg(first);
    list->AddArg(second);
    VString text;
    DovTokenList messages;
    ASSERT_EQ(printer.PrintToString(text, list, &messages), 0);
    ASSERT_STREQ(text.CStr(), "       MOVE A TO B\n       MOVE CC TO D\n");
    DovExpr* a = first->Args(0);
    EXPECT_EQ(a->GenBeg().posn, 12u);  // "       MOVE " before it
    EXPECT_EQ(a->GenBeg().flag, 12);
    EXPECT_EQ(a->GenEnd().posn, 13u);
    DovExpr* cc = second->Args(0);
    EXPECT_EQ(cc->GenBeg().posn, 19u + 12u);
    EXPECT_EQ(cc->GenEnd().posn, 19u + 14u);
    EXPECT_EQ(first->GenBeg().posn, 0u);  // the indentation comes with the first character
    // The final line end comes from the pass, after the root.
    EXPECT_EQ(list->GenEnd().posn, static_cast<std::uint32_t>(text.Len() - 1));
    delete list;
}

TEST(FragmentPrint, MovesThePositionsBehindTheFragmentByItsGrowth) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    printer.gen_posn = 1;
    ASSERT_EQ(RecomputeGenTable(&printer), 0);
    auto* list = new DovExprOper(STMT_LIST);
    auto* before = new DovCharString("X");
    auto* fragment = new DovCharString(std::string(70, 'F').c_str());
    auto* after = new DovCharString("Y");
    list->AddArg(before);
    list->AddArg(fragment);
    list->AddArg(after);
    auto set = [](DovExpr* n, std::uint32_t b, std::uint32_t e, int col, int level) {
        n->GenBeg() = DovGenPosn{b, static_cast<std::uint8_t>(col)};
        n->GenEnd() = DovGenPosn{e, static_cast<std::uint8_t>(level)};
    };
    set(list, 0, 300, 0, 0);
    set(before, 90, 95, 7, 0);
    set(fragment, 100, 150, 10, 0);
    set(after, 150, 160, 12, 0);
    DovPrinting.rightMargin = 219;
    std::ostringstream out;
    DovTokenList messages;
    EXPECT_EQ(printer.FragmentPrint(out, fragment, &messages), 0);
    EXPECT_EQ(out.str(), std::string(70, 'F'));
    EXPECT_EQ(fragment->GenBeg().posn, 100u);
    EXPECT_EQ(fragment->GenEnd().posn, 170u);
    EXPECT_EQ(before->GenBeg().posn, 90u);
    EXPECT_EQ(before->GenEnd().posn, 95u);
    EXPECT_EQ(after->GenBeg().posn, 170u);
    EXPECT_EQ(after->GenEnd().posn, 180u);
    EXPECT_EQ(after->GenBeg().flag, 12);
    EXPECT_EQ(list->GenBeg().posn, 0u);
    EXPECT_EQ(list->GenEnd().posn, 320u);
    EXPECT_EQ(DovPrinting.inUse, 0);

    // A root fragment prints but moves nothing.
    auto* root = new DovCharString("ROOT");
    set(root, 5, 9, 8, 0);
    std::ostringstream rootOut;
    EXPECT_EQ(printer.FragmentPrint(rootOut, root, &messages), 0);
    EXPECT_EQ(rootOut.str(), "ROOT");
    delete root;
    delete list;
}

TEST(FragmentPrint, NeedsAGenerationTableAndWritesNoCopybooks) {
    ResetPrintState();
    DovPrettyPrinterImpl printer;
    auto* leaf = new DovCharString("Z");
    std::ostringstream out;
    DovTokenList messages;
    EXPECT_EQ(printer.FragmentPrint(out, leaf, &messages), 0);
    EXPECT_TRUE(HasText(messages, "Must have gen_table set before using fragment print"));
    EXPECT_TRUE(out.str().empty());
    ASSERT_EQ(RecomputeGenTable(&printer), 0);
    printer.gen_copy_dir = "copies";
    DovTokenList more;
    EXPECT_EQ(printer.FragmentPrint(out, leaf, &more), 0);
    EXPECT_TRUE(HasText(more, "Do NOT print copy files in fragment print"));
    delete leaf;
}

}  // namespace
