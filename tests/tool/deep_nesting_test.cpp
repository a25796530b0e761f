// Programs nested as deep as the grammar reads them, through the whole
// program: nested IF, EVALUATE, inline PERFORM, parentheses and NOT at
// 1,000, 10,000 and 100,000 levels. Each run either finds the innermost
// MOVE or stops with the search path's overflow message at a source
// position (status 67); none crashes, also under the sanitizers.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/lexer/temp_dir.h"
#include "tests/support/deep_programs.h"
#include "tests/tool/run_vemlo.h"

using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

using vemlo_test::DeepMoveLine;
using vemlo_test::DeepNestings;
using vemlo_test::DeepProgram;
using vemlo_test::Nesting;

// Where each run ends: a nesting whose search path stays within its 1,024
// entries finds its MOVE; a deeper one stops with status 67.
struct Case {
    const Nesting* nesting;
    int depth;
    bool overflows;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const Nesting& n : DeepNestings())
        for (int depth : {1000, 10000, 100000}) {
            // A parenthesis or a NOT adds one node to the path; a statement
            // adds its list and its phrase as well.
            const bool oneNodeALevel = std::string(n.name) == "parentheses" || std::string(n.name) == "NOT";
            cases.push_back({&n, depth, !(oneNodeALevel && depth == 1000)});
        }
    return cases;
}

TEST(DeepNesting, EveryDepthEndsWithItsMatchOrThePathMessage) {
    const vemlo_test::TempDir dir;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(std::string(c.nesting->name) + " nested " + std::to_string(c.depth) + " deep");
        dir.Write("DEEP.cbl", DeepProgram(*c.nesting, c.depth));
        const VemloRun run = RunVemlo({"-q=STMT_MOVE", "DEEP.cbl"}, dir.Path());
        ASSERT_TRUE(run.exited) << "signal " << run.signal << "\n" << run.out.substr(0, 400);
        if (c.overflows) {
            EXPECT_EQ(run.status, 67) << run.out.substr(0, 400);
            // The message stands at a place in the program, the deepest
            // node on the path that has one.
            static const std::regex kMessage(
                "\\*Reading\\* DEEP\\.cbl\n"
                "DEEP\\.cbl:[1-9][0-9]*:[1-9][0-9]*: SEVERE ERROR: DovExprPath::Add: expr stack overflow\n"
                "Errors: 1, Warnings: 0\n");
            EXPECT_TRUE(std::regex_match(run.out, kMessage)) << run.out.substr(0, 400);
        } else {
            EXPECT_EQ(run.status, 0) << run.out.substr(0, 400);
            const std::string moveLine = std::to_string(DeepMoveLine(*c.nesting, c.depth));
            EXPECT_EQ(run.out, "*Reading* DEEP.cbl\nDEEP.cbl:" + moveLine +
                                   ":12:            MOVE 1 TO A END-IF\nErrors: 0, Warnings: 0\n");
        }
    }
}

}  // namespace
