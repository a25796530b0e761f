// A syntax error under many levels of nesting whose trial points stay open
// until the error: the parse tries each alternative of a level once for
// each way the level around it can stand, not once for each way of every
// level, and stops trying when the trials have redone too much, so that 40
// levels take no longer than a handful (a hang shows as ctest's timeout).
// The error is reported once, at its token, and recovery keeps every token.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"
#include "tests/support/deep_programs.h"

using vemlo_grammar_test::GrammarRun;
using vemlo_test::BrokenNesting;
using vemlo_test::BrokenNestings;
using vemlo_test::BrokenProgram;

namespace {

TEST(BrokenNesting, ErrorUnderFortyLevelsIsReportedOnceAtItsToken) {
    for (const BrokenNesting& n : BrokenNestings()) {
        for (int depth : {1, 40}) {
            SCOPED_TRACE(std::string(n.name) + " nested " + std::to_string(depth) + " deep");
            GrammarRun run;
            EXPECT_EQ(run.ParseText(BrokenProgram(n, depth)), 2) << run.MessageText();
            EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
            const auto messages = run.Messages();
            const std::string at = std::string(". at token: ") + n.error;
            const auto reported = [&at](const std::string& m) {
                return m.rfind("ERROR: syntax error", 0) == 0 && m.size() >= at.size() &&
                       m.compare(m.size() - at.size(), at.size(), at) == 0;
            };
            EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), reported)) << run.MessageText();
            EXPECT_EQ(run.TokenDifference(), "");
        }
    }
}

// Under the NOT phrases every way of attaching them is a stack of its own:
// the trials stop when they have redone too much, and the error is
// reported where the furthest way found stopped (the token every way stops
// at here), with a message that says so.
TEST(BrokenNesting, TrialsThatRedoTooMuchStopAtTheFurthestErrorFoundWithAMessage) {
    const BrokenNesting* notPhrases = nullptr;
    for (const BrokenNesting& n : BrokenNestings())
        if (std::string(n.name).find("NOT ON SIZE ERROR") != std::string::npos) notPhrases = &n;
    ASSERT_NE(notPhrases, nullptr);
    struct Case {
        int depth;
        std::string message;
    };
    const Case cases[] = {
        {3, "ERROR: syntax error. at token: keyword TO"},
        {40, "ERROR: syntax error (too many readings tried; the furthest one is taken). at token: keyword TO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        GrammarRun run;
        EXPECT_EQ(run.ParseText(BrokenProgram(*notPhrases, c.depth)), 2);
        EXPECT_EQ(run.Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

}  // namespace
