// Printing trees nested far deeper than a thread's stack would hold at one
// frame a level: every kind of nesting, 100,000 levels deep, printed from
// source comes back byte for byte, and printed through the templates parses
// again to an equal tree.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "grammar/cobol_grammar.h"
#include "tests/lexer/temp_dir.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/deep_programs.h"
#include "tests/support/tree_shape.h"

namespace {

using vemlo_test::Texts;

// The address checker's frames are several times larger and slower; its
// run keeps to a depth that still needs a stack of its own.
#ifdef __SANITIZE_ADDRESS__
constexpr int kDepth = 10000;
#else
constexpr int kDepth = 100000;
#endif

class DeepPrint : public ::testing::TestWithParam<std::size_t> {};

TEST_P(DeepPrint, ComesBackFromSourceAndThroughTheTemplates) {
    DovInstallGrammar();
    const vemlo_test::TempDir dir;
    const vemlo_test::Nesting& n = vemlo_test::DeepNestings()[GetParam()];
    SCOPED_TRACE(n.name);
    const std::string source = vemlo_test::DeepProgram(n, kDepth);
    vemlo_test::OptionParser parser({"-lang=ansi85"});
    ASSERT_TRUE(parser.Ok());
    DovTokenList messages;
    DovExpr* root = parser.Parse(dir.Write("DEEP.cbl", source), messages);
    ASSERT_NE(root, nullptr) << Texts(messages);
    const std::vector<std::string> shape = vemlo_test::TreeShape(root);

    DovPrettyPrinterImpl fromSource;
    fromSource.gen_src = 1;
    VString text;
    EXPECT_EQ(fromSource.PrintToString(text, root, &messages), 0) << Texts(messages);
    EXPECT_TRUE(text.CStr() == source);

    DovPrettyPrinterImpl templates;
    DovTokenList printMessages;
    ASSERT_EQ(templates.PrintToString(text, root, &printMessages), 0) << Texts(printMessages);
    delete root;
    DovTokenList againMessages;
    DovExpr* again = parser.Parse(dir.Write("AGAIN.cbl", text.CStr()), againMessages);
    ASSERT_NE(again, nullptr) << Texts(againMessages);
    EXPECT_EQ(vemlo_test::ShapeDifference(shape, vemlo_test::TreeShape(again)), "");
    delete again;
}

INSTANTIATE_TEST_SUITE_P(EveryNesting, DeepPrint,
                         ::testing::Range<std::size_t>(0, vemlo_test::DeepNestings().size()));

}  // namespace
