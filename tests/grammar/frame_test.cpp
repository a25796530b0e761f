// The frame on the tests' own grammar (tests/grammar/frame_test.y): trial
// parsing at the conflict after 'A', commit and replay, error reports and
// recovery, the discard hooks, growth of the stacks and the queue, abort.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "tests/grammar/frame_test_actions.h"

using frame_test::rec;
using frame_test::SetInput;
using frame_test::TokenNames;
using frame_test::ValueText;
using Strings = std::vector<std::string>;

namespace {

class Frame : public ::testing::Test {
protected:
    // Runs the grammar over `input`; keeps the result's text and tokens and
    // releases them.
    int Run(const std::string& input, bool reduce_hook = false, const DovGrammarTables* tables = &FrameTestTables) {
        SetInput(input);
        yyretlval = nullptr;
        yyretposn = nullptr;
        DovFrameGrammar g = frame_test::MakeGrammar(reduce_hook, tables);
        if (counts_) g.rule_counts = counts_;
        if (fold_) {
            g.services.foldable = [](int code) { return code == 308; };  // 'D'
            g.services.fold = [](YYSTYPE value, YYPOSN posn, YYSTYPE*, YYPOSN* next) {
                if (posn) (*next)->PrependList(*posn);
                delete posn;
                DovDeleteExprCell(&value);
            };
        }
        const int result = DovRunGrammar(g);
        result_ = ValueText(yyretlval);
        result_tokens_ = TokenNames(yyretposn);
        if (result == 0) {
            DovDeleteExprCell(&yyretlval);
            delete yyretposn;
        }
        yyretlval = nullptr;
        yyretposn = nullptr;
        return result;
    }

    std::string result_;
    std::string result_tokens_;
    unsigned* counts_ = nullptr;
    bool fold_ = false;
};

std::string Repeat(const std::string& word, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += word + " ";
    return out;
}

}  // namespace

TEST_F(Frame, ShiftIsTriedFirstThenTheReductionOnTheSameTokens) {
    ASSERT_EQ(Run("A X X B ;"), 0);
    // Under trial the shift path reads X X and fails at B; the reduction of
    // `a` then reads the same tokens again from the queue and commits; the
    // replay runs every action once.
    EXPECT_EQ(rec.probes, (Strings{"x1/T", "x+/T", "a/T", "x1/T", "x+/T", "b/T", "a/N", "x1/N", "x+/N", "b/N"}));
    EXPECT_EQ(rec.built, (Strings{"a(A0)", "x(X1)", "x(x(X1) X2)", "b(a(A0) x(x(X1) X2) B3 ;4)",
                                  "stmts(b(a(A0) x(x(X1) X2) B3 ;4))", "prog(stmts(b(a(A0) x(x(X1) X2) B3 ;4)))"}));
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_EQ(yynerrs, 0);
    EXPECT_EQ(rec.lexed, 5);  // each token read once from the source
    EXPECT_TRUE(rec.released.empty());
    EXPECT_EQ(result_tokens_, "A0 X1 X2 B3 ;4");
}

TEST_F(Frame, ShiftThatSucceedsKeepsItsTrialAcrossStatementsUntilACommit) {
    // The first statement takes the shift and does not commit; the trial
    // runs on into the second statement, whose own conflict opens a nested
    // trial point; the commit there replays both.
    ASSERT_EQ(Run("A X C ; A X B ;"), 0);
    EXPECT_EQ(rec.probes, (Strings{"x1/T", "c/T", "x1/T", "a/T", "x1/T", "b/T", "x1/N", "c/N", "a/N", "x1/N", "b/N"}));
    EXPECT_EQ(rec.built, (Strings{"x(X1)", "c(A0 x(X1) C2 ;3)", "stmts(c(A0 x(X1) C2 ;3))", "a(A4)", "x(X5)",
                                  "b(a(A4) x(X5) B6 ;7)", "stmts(stmts(c(A0 x(X1) C2 ;3)) b(a(A4) x(X5) B6 ;7))",
                                  "prog(stmts(stmts(c(A0 x(X1) C2 ;3)) b(a(A4) x(X5) B6 ;7)))"}));
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_EQ(rec.lexed, 8);
    EXPECT_EQ(result_tokens_, "A0 X1 C2 ;3 A4 X5 B6 ;7");
}

TEST_F(Frame, ErrorIsReportedAtTheFurthestTokenAnyAlternativeReached) {
    struct Case {
        const char* input;
        const char* error;      // the one report
        Strings released;       // values discarded by recovery
        Strings released_posns;
    };
    const Case cases[] = {
        // The shift path gets to the second C, the reduction only to the first.
        {"A X X C C ;", "syntax error at C4", {"C3@1", "x(x(X1) X2)@1", "A0@1", "C4@0"},
         {"C3@1", "X1 X2@1", "A0@1", "C4@0"}},
        // The reduction gets to the second B, the shift only to the first.
        {"A X X B B ;", "syntax error at B4", {"B3@1", "x(x(X1) X2)@1", "a(A0)@1", "B4@0"},
         {"B3@1", "X1 X2@1", "A0@1", "B4@0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        ASSERT_EQ(Run(c.input), 0);
        EXPECT_EQ(rec.errors, Strings{c.error});
        EXPECT_EQ(yynerrs, 1);
        // The way to the error is replayed with its actions: what recovery
        // pops are built nodes, and every token is either in the tree or
        // handed to a discard hook, once.
        EXPECT_EQ(rec.released, c.released);
        EXPECT_EQ(rec.released_posns, c.released_posns);
        EXPECT_EQ(result_, "prog(stmts(err(;5)))");
        EXPECT_EQ(result_tokens_, ";5");
    }
}

TEST_F(Frame, NoActionRunsAndNoMessageIsIssuedDuringAFailingTrial) {
    ASSERT_EQ(Run("A X X C C ;"), 0);
    // The probes of both trials, then the replay of the furthest way (the
    // shift) in normal mode; the first action runs only then.
    EXPECT_EQ(rec.probes, (Strings{"x1/T", "x+/T", "a/T", "x1/T", "x+/T", "x1/N", "x+/N"}));
    EXPECT_EQ(rec.built.front(), "x(X1)");
    EXPECT_EQ(rec.errors.size(), 1u);
}

TEST_F(Frame, ErrorsWithinThreeShiftedTokensOfTheLastAreSilent) {
    struct Case {
        const char* input;
        int reports;
        const char* result;
    };
    const Case cases[] = {
        // After the sync ';' one more token is shifted: the next error is silent.
        {"D ; ( D ;", 1, "prog(stmts(stmts(err(;1)) err(;4)))"},
        // Two more tokens (three with the ';'): the next error is reported.
        {"D ; ( ( D ;", 2, "prog(stmts(stmts(err(;1)) err(;5)))"},
        // A second bad token right after the first is skipped silently.
        {"D D D ;", 1, "prog(stmts(err(;3)))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        ASSERT_EQ(Run(c.input), 0);
        EXPECT_EQ(static_cast<int>(rec.errors.size()), c.reports);
        EXPECT_EQ(yynerrs, c.reports);
        EXPECT_EQ(result_, c.result);
    }
}

TEST_F(Frame, RecoveryWindowCountsOnlyTheShiftsOfTheWayTaken) {
    // The trial point at A2 opens two shifts after the error at D0. The shift
    // path shifts A2 X3 and fails at D4; the reduction of `e` starts again
    // from the trial point's count, so its failure at X3 is still inside the
    // window: silent, and recovered from at the ';' after it.
    ASSERT_EQ(Run("D ; A X D ;", false, &WindowTestTables), 0);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D0"});
    EXPECT_EQ(result_, "prog(stmts(stmts(err(;1)) err(;5)))");
    EXPECT_EQ(rec.released, (Strings{"D0@0", "A2@1", "X3@0", "D4@0"}));
    // Outside the window the same input reports both errors.
    ASSERT_EQ(Run("V ; A X D ;", false, &WindowTestTables), 0);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D4"});
}

TEST_F(Frame, RecoveryUnderTrialKeepsTheTrialPointsCells) {
    // The trial point at V2 opens on the sync ';'1 of the error at D0. The
    // shift path fails at D3 inside the recovery window: recovery under
    // trial pops V2, ';'1 and the error cell, below the trial point, and the
    // sync ';'4 then takes the place of ';'1. The trial commits at the end
    // of the input; its replay from the trial point still finds ';'1 there.
    ASSERT_EQ(Run("D ; V D ;", false, &WindowTestTables), 0);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D0"});
    EXPECT_EQ(rec.released, (Strings{"D0@0", "V2@1", ";1@1", "D3@0"}));
    EXPECT_EQ(result_, "prog(stmts(err(;4)))");
}

TEST_F(Frame, TokenAfterTheCompletedStartSymbolIsASyntaxError) {
    // After 'V ;' the start symbol is complete; the next V meets the final
    // state, which takes nothing but the end of input. Recovery pops the
    // finished start symbol and recovers from state 0.
    ASSERT_EQ(Run("V ; V ;", false, &SingleTestTables), 0);
    EXPECT_EQ(rec.errors, Strings{"syntax error at V2"});
    EXPECT_EQ(rec.released, (Strings{"one(V0 ;1)@1", "V2@0"}));
    EXPECT_EQ(result_, "err(;3)");
    ASSERT_EQ(Run("V ;", false, &SingleTestTables), 0);
    EXPECT_EQ(result_, "one(V0 ;1)");
}

TEST_F(Frame, ErrorAfterATrialThatRanOnIsReportedWhereTheTrialStopped) {
    // D0 ; D2 ; recover; the trial of A4 runs on past its statement and meets
    // D8: that is where the error is reported, after the replay of A4's
    // statement.
    ASSERT_EQ(Run("D ; D ; A X C ; D ;"), 0);
    EXPECT_EQ(rec.errors, (Strings{"syntax error at D0", "syntax error at D8"}));
    EXPECT_EQ(result_, "prog(stmts(stmts(stmts(stmts(err(;1)) err(;3)) c(A4 x(X5) C6 ;7)) err(;9)))");
}

TEST_F(Frame, QueueGrowsPastSixteenTokensOfOneTrial) {
    const int n = 20;
    ASSERT_EQ(Run("A " + Repeat("X", n) + "B ;"), 0);
    EXPECT_GE(yylexq.capacity, 32);
    EXPECT_EQ(rec.lexed, n + 3);
    std::string xs = "x(X1)";
    for (int i = 2; i <= n; ++i) xs = "x(" + xs + " X" + std::to_string(i) + ")";
    EXPECT_EQ(result_, "prog(stmts(b(a(A0) " + xs + " B21 ;22)))");
    EXPECT_TRUE(rec.errors.empty());
}

TEST_F(Frame, StacksGrowPastSixteenCellsInAndOutOfTrial) {
    const int n = 20;
    std::string nest = "V" + std::to_string(n);
    for (int i = n - 1; i >= 0; --i) nest = "(((" + std::to_string(i) + " " + nest + " )" + std::to_string(2 * n - i) + ")";
    const std::string deep = Repeat("(", n) + "V " + Repeat(")", n) + ";";
    ASSERT_EQ(Run(deep), 0);
    EXPECT_EQ(result_, "prog(stmts(n(" + nest + " ;" + std::to_string(2 * n + 1) + ")))");
    // The same nesting read under trial: the first statement takes the
    // shift without committing, so the deep one is parsed on trial, lies
    // under the trial point of the third statement and is replayed.
    ASSERT_EQ(Run("A X C ; " + deep + " A X B ;"), 0);
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_EQ(rec.built.back().substr(0, 28), "prog(stmts(stmts(stmts(c(A0 ");
}

// Every level's trial point stays open until the accept commits them all:
// 100,000 of them at once, each opened deeper than the one before it.
TEST_F(Frame, TrialPointsNestedToAnyDepthStayOpenTogether) {
    const int n = 100000;
    ASSERT_EQ(Run(Repeat("A X", n) + "V " + Repeat("C", n), false, &NestTestTables), 0);
    EXPECT_EQ(result_, "prog(V" + std::to_string(2 * n) + ")");
    EXPECT_EQ(rec.built.size(), static_cast<std::size_t>(n) + 1);
    EXPECT_EQ(std::count(rec.built.begin(), rec.built.end(), "c"), n);
    EXPECT_EQ(rec.lexed, 3 * n + 1);
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_TRUE(rec.released.empty());
}

// A trial that fails under nested trial points gives back exactly the
// stacks of its own point, also after the levels inside it were reduced
// below the inner points: the innermost level alone, and the outermost
// level after all the others.
TEST_F(Frame, TrialPointsNestedToAnyDepthFailOneByOne) {
    struct Case {
        std::string input;
        Strings built;
    };
    const int n = 1000;
    Strings inner_b(1, "b");
    for (int i = 0; i < n; ++i) inner_b.push_back("c");
    inner_b.push_back("prog(V" + std::to_string(2 * n + 2) + ")");
    const Case cases[] = {
        {Repeat("A X", n) + "A X V B " + Repeat("C", n), inner_b},
        {"A X A X A X V C C B", {"c", "c", "b", "prog(V6)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.substr(0, 40));
        ASSERT_EQ(Run(c.input, false, &NestTestTables), 0);
        EXPECT_EQ(rec.built, c.built);
        EXPECT_TRUE(rec.errors.empty());
        EXPECT_TRUE(rec.released.empty());
        EXPECT_EQ(result_tokens_.substr(0, 6), "A0 X1 ");
    }
}

// When every way fails under nested trial points, the error is reported
// where the furthest one stopped, replayed with the alternative each point
// had then: the innermost point's second one (its B), the first of the two
// outer ones, which gets to D9.
TEST_F(Frame, ErrorUnderNestedTrialPointsIsReachedByTheWayThatGotFurthest) {
    EXPECT_EQ(Run("A X A X A X V B C D", false, &NestTestTables), 1);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D9"});
    EXPECT_EQ(rec.built, (Strings{"b", "c"}));
}

// Each level's two ways both reach the next level, whose trial point then
// fails under either: it is tried once for each way of the level around it
// (its trials read that level's cells), not once for every way of all the
// levels, 2^40 times here.
TEST_F(Frame, ErrorUnderFortyNestedTrialPointsIsReachedWithoutTryingEveryWayOfEveryLevel) {
    const int n = 40;
    EXPECT_EQ(Run(Repeat("A X", n) + "V D", false, &NestTestTables), 1);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D" + std::to_string(2 * n + 1)});
    EXPECT_TRUE(rec.built.empty());
}

TEST_F(Frame, ActionsRunOnceAndPositionsAreReducedOncePerReduction) {
    unsigned counts[64] = {};
    counts_ = counts;
    ASSERT_EQ(Run("( ( V ) ) ;", true), 0);
    unsigned total = 0;
    for (unsigned c : counts) total += c;
    // nest: V, two nest: ( nest ), stmt, stmts, prog. The two nest rules hand
    // their tokens on themselves; the frame does not do it again.
    EXPECT_EQ(total, 6u);
    EXPECT_EQ(rec.reduce_calls, 6);
    EXPECT_EQ(result_tokens_, "(0 (1 V2 )3 )4 ;5");
    counts_ = nullptr;
}

TEST_F(Frame, DiscardHookCodes) {
    // 0: the lookahead skipped in recovery; 2: the cells left at abort, here
    // when the input ends inside the recovery window.
    EXPECT_EQ(Run("A X C ; D"), 1);
    EXPECT_EQ(rec.errors, Strings{"syntax error at D4"});
    EXPECT_EQ(rec.released, (Strings{"D4@0", "stmts(c(A0 x(X1) C2 ;3))@2"}));
    EXPECT_EQ(rec.released_posns, (Strings{"D4@0", "A0 X1 C2 ;3@2"}));
    // 1: cells popped in recovery (see ErrorIsReportedAtTheFurthestToken...).
    ASSERT_EQ(Run("A X D ;"), 0);
    EXPECT_EQ(rec.released, (Strings{"x(X1)@1", "A0@1", "D2@0"}));
}

TEST_F(Frame, AbortUnderTrialReleasesEachTokenOnce) {
    // 'A X Q' aborts while the trial of the shift is open: the stacks as the
    // trial point had them hold A0, the queue X1 and Q2; the trial's own
    // cells are copies of queued values.
    EXPECT_EQ(Run("A X Q"), 1);
    EXPECT_EQ(rec.released, (Strings{"A0@2", "X1@2", "Q2@2"}));
    EXPECT_EQ(rec.released_posns, (Strings{"A0@2", "X1@2", "Q2@2"}));
    EXPECT_TRUE(rec.errors.empty());
}

TEST_F(Frame, ParseAfterAnAbortedReplaySeesNoLeftoverToken) {
    // K's action gives up during the replay, while the queue still holds the
    // second trial's tokens: they are released, not read by the next parse.
    EXPECT_EQ(Run("A X C ; K ; A X B ;"), 1);
    EXPECT_EQ(rec.released, (Strings{"stmts(c(A0 x(X1) C2 ;3))@2", "K4@2", ";5@2", "A6@2", "X7@2", "B8@2", ";9@2"}));
    EXPECT_EQ(yylexq.read, 0);
    EXPECT_EQ(yylexq.end, 0);
    EXPECT_EQ(yypath, nullptr);
    ASSERT_EQ(Run("( V ) ;"), 0);
    EXPECT_EQ(result_, "prog(stmts(n((((0 V1 )2) ;3)))");
    EXPECT_EQ(rec.lexed, 4);
    EXPECT_TRUE(rec.errors.empty());
}

TEST_F(Frame, AcceptByAnActionReleasesWhatTheStacksHold) {
    // Y's action accepts: nothing reached the start symbol, so the cells go
    // to the discard hooks; the rest of the input is never read.
    EXPECT_EQ(Run("V ; Y ; V ;"), 0);
    EXPECT_EQ(rec.released, (Strings{"stmts(n(V0 ;1))@2", "Y2@2", ";3@2"}));
    EXPECT_EQ(rec.lexed, 4);
    // Met under trial, the accept commits first and is replayed.
    EXPECT_EQ(Run("A X C ; Y ; V ;"), 0);
    EXPECT_EQ(rec.released, (Strings{"stmts(c(A0 x(X1) C2 ;3))@2", "Y4@2", ";5@2", "V6@2", ";7@2"}));
}

TEST_F(Frame, EmptyInputIsReportedOnceAndAborts) {
    EXPECT_EQ(Run(""), 1);
    EXPECT_EQ(rec.errors, Strings{"syntax error at "});
    EXPECT_EQ(yynerrs, 1);
}

TEST_F(Frame, ErrorTokenSharesNoCellWithTheLookahead) {
    // The sync ';' follows the error at once: the error cell must not hold
    // the ';' value a second time (the reduction would hand its tokens on
    // twice).
    ASSERT_EQ(Run("D ;", true), 0);
    EXPECT_EQ(result_, "prog(stmts(err(;1)))");
    EXPECT_EQ(result_tokens_, ";1");
    ASSERT_EQ(Run("B ;"), 0);
    EXPECT_EQ(result_tokens_, ";1");
    EXPECT_EQ(rec.released, Strings{"B0@0"});
}

TEST_F(Frame, ActionsReachTheValueLeftOfTheirRule) {
    ASSERT_EQ(Run("A X B ; A X C ;"), 0);
    EXPECT_EQ(rec.left, (Strings{"a(A0)", "A4"}));
}

// A lookahead no alternative takes, of a code the services fold, goes into
// the next token where the error would be reported: after the trial at 'A'
// failed on it both ways, and outside any trial. Its tokens keep their place.
TEST_F(Frame, ALookaheadTheServicesFoldGoesIntoTheNextToken) {
    Run("A X D B ; V D ;", true);
    EXPECT_FALSE(rec.errors.empty());
    fold_ = true;
    ASSERT_EQ(Run("A X D B ; V D ;", true), 0);
    EXPECT_TRUE(rec.errors.empty());
    EXPECT_EQ(yynerrs, 0);
    EXPECT_EQ(result_tokens_, "A0 X1 D2 B3 ;4 V5 D6 ;7");
    // A code the services leave alone is still an error.
    Run("A X C C ;", true);
    EXPECT_EQ(rec.errors.size(), 1u);
}

TEST_F(Frame, GrammarWithoutTokenSourceGivesUp) {
    DovFrameGrammar g = frame_test::MakeGrammar();
    g.services.lex = nullptr;
    EXPECT_EQ(DovRunGrammar(g), 1);
}

TEST_F(Frame, TraceShowsTrialsAndErrorsOnStandardOutput) {
    DovGrammarTraceLevel = 1;
    testing::internal::CaptureStdout();
    Run("A X X C C ;");
    const std::string trace = testing::internal::GetCapturedStdout();
    DovGrammarTraceLevel = 0;
    EXPECT_NE(trace.find("grammar[frame_test,1]: state 2: conflict: trial point opened"), std::string::npos) << trace;
    EXPECT_NE(trace.find("every alternative failed: replaying to the furthest error at lexeme 4"), std::string::npos)
        << trace;
    EXPECT_NE(trace.find("syntax error (lookahead T_C)"), std::string::npos) << trace;
}
