// Printing deeply nested trees. The print operations call themselves once
// per tree level: a tree the calling thread's stack holds is printed (from
// source byte for byte, through the templates to a text that parses to an
// equal tree); a deeper one is refused with a message before anything is
// written, and never runs the stack out.
#include <gtest/gtest.h>

#include <cstddef>
#include <regex>
#include <string>
#include <vector>

#include "grammar/cobol_grammar.h"
#include "tests/lexer/temp_dir.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/deep_programs.h"
#include "tests/support/files.h"
#include "tests/support/small_stack_run.h"
#include "tests/support/tree_shape.h"

namespace {

using vemlo_test::Texts;

// Nested this deep, every kind of nesting is a tree of some hundreds of
// levels: more than a print takes for granted, less than a thread's usual
// stack holds (also under the address checker).
constexpr int kHeldDepth = 100;
// Deeper than a small stack holds: more levels than a print takes for
// granted in every kind of nesting.
constexpr int kTooDeepForASmallStack = 300;
// Far more than any stack holds.
constexpr int kTooDeep = 100000;

class DeepPrint : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override { DovInstallGrammar(); }
    const vemlo_test::Nesting& Kind() const { return vemlo_test::DeepNestings()[GetParam()]; }
    // The tree of the program nested `depth` deep, written as DEEP.cbl.
    DovExpr* Parse(int depth, std::string* source = nullptr) {
        const std::string text = vemlo_test::DeepProgram(Kind(), depth);
        if (source) *source = text;
        DovTokenList messages;
        DovExpr* root = parser_.Parse(dir_.Write("DEEP.cbl", text), messages);
        EXPECT_NE(root, nullptr) << Texts(messages);
        return root;
    }

    vemlo_test::OptionParser parser_{{"-lang=ansi85"}};
    const vemlo_test::TempDir dir_;
};

TEST_P(DeepPrint, ATreeTheStackHoldsComesBackFromSourceAndThroughTheTemplates) {
    SCOPED_TRACE(Kind().name);
    std::string source;
    DovExpr* root = Parse(kHeldDepth, &source);
    ASSERT_NE(root, nullptr);
    const std::vector<std::string> shape = vemlo_test::TreeShape(root);

    DovPrettyPrinterImpl fromSource;
    fromSource.gen_src = 1;
    VString text;
    DovTokenList messages;
    EXPECT_EQ(fromSource.PrintToString(text, root, &messages), 0) << Texts(messages);
    EXPECT_TRUE(text.CStr() == source);

    DovPrettyPrinterImpl templates;
    ASSERT_EQ(templates.PrintToString(text, root, &messages), 0) << Texts(messages);
    delete root;
    DovExpr* again = parser_.Parse(dir_.Write("AGAIN.cbl", text.CStr()), messages);
    ASSERT_NE(again, nullptr) << Texts(messages);
    EXPECT_EQ(vemlo_test::ShapeDifference(shape, vemlo_test::TreeShape(again)), "");
    delete again;
}

TEST_P(DeepPrint, ATreeDeeperThanTheStackIsRefusedBeforeAnythingIsWritten) {
    SCOPED_TRACE(Kind().name);
    DovExpr* root = Parse(kTooDeep);
    ASSERT_NE(root, nullptr);
    DovPrettyPrinterImpl printer;
    for (int fromSource : {0, 1}) {
        printer.gen_src = fromSource;
        VString text("old");
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, root, &messages), kDovPrintTooDeep);
        EXPECT_TRUE(text.IsEmpty());
        static const std::regex kMessage("PrettyPrint: a tree of [0-9]+ levels is deeper than the stack holds\n");
        EXPECT_TRUE(std::regex_match(Texts(messages), kMessage)) << Texts(messages);
        // The output file keeps what it held.
        const std::string out = dir_.Write("OUT.cbl", "kept\n");
        EXPECT_EQ(printer.PrintToFile(VString(out.c_str()), root, &messages), kDovPrintTooDeep);
        EXPECT_EQ(vemlo_test::ReadFileBytes(out), "kept\n");
    }
    delete root;
}

// The room is that of the calling thread's stack: on a small one, trees of
// a few hundred levels are refused too.
TEST_P(DeepPrint, TheRoomIsThatOfTheCallingThreadsStack) {
    SCOPED_TRACE(Kind().name);
    DovExpr* root = Parse(kTooDeepForASmallStack);
    ASSERT_NE(root, nullptr);
    int result = -1;
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([&] {
        DovPrettyPrinterImpl printer;
        VString text;
        DovTokenList messages;
        result = printer.PrintToString(text, root, &messages);
    }));
    EXPECT_EQ(result, kDovPrintTooDeep);
    delete root;
}

INSTANTIATE_TEST_SUITE_P(EveryNesting, DeepPrint,
                         ::testing::Range<std::size_t>(0, vemlo_test::DeepNestings().size()));

}  // namespace
