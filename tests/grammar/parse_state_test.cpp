// Parse-state records, the run copies and the lexeme queue.
#include <gtest/gtest.h>

#include "grammar/parse_state.h"

namespace {

TEST(ParseState, FirstRecordHasSixteenZeroedCellsAndGrowsBySixteen) {
    YYParseState* p = YYNewState(12);
    ASSERT_EQ(p->stacksize, 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(p->vs[i], nullptr);
        EXPECT_EQ(p->ps[i], nullptr);
    }
    EXPECT_EQ(p->Depth(), 0);
    for (int i = 0; i < 16; ++i) {
        p->ss[i] = 100 + i;
        p->vs[i] = DovIntToValue(2000 + i);
    }
    p->ssp = p->ss + 15;
    p->vsp = p->vs + 15;
    p->psp = p->ps + 15;
    YYMoreStack(p);
    EXPECT_EQ(p->stacksize, 32u);
    EXPECT_EQ(p->ssp - p->ss, 15);
    EXPECT_EQ(p->vsp - p->vs, 15);
    EXPECT_EQ(p->psp - p->ps, 15);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(p->ss[i], 100 + i);
        EXPECT_EQ(p->vs[i], DovIntToValue(2000 + i));
    }
    YYFreeState(p);
}

TEST(ParseState, SavedRecordHasDepthPlusFourZeroedCells) {
    for (int d : {0, 7, 40}) {
        YYParseState* p = YYNewState(d);
        EXPECT_EQ(p->stacksize, static_cast<unsigned>(d + 4));
        for (int i = 0; i < d + 4; ++i) {
            EXPECT_EQ(p->vs[i], nullptr);
            EXPECT_EQ(p->ps[i], nullptr);
        }
        YYFreeState(p);
    }
    YYFreeState(nullptr);
}

TEST(ParseState, RunCopiesGoFromTheLastCellSoAnUpwardMoveKeepsItsCells) {
    YYSTYPE v[6];
    for (int i = 0; i < 6; ++i) v[i] = DovIntToValue(i < 5 ? i + 1 : 0);
    YYSCopy(v + 1, v, 5);
    std::vector<int> got;
    for (YYSTYPE x : v) got.push_back(DovValueToInt(x));
    EXPECT_EQ(got, (std::vector<int>{1, 1, 2, 3, 4, 5}));
    DovTokenList lists[3];
    YYPOSN p[4] = {&lists[0], &lists[1], &lists[2], nullptr};
    YYPCopy(p + 1, p, 3);
    EXPECT_EQ(p[1], &lists[0]);
    EXPECT_EQ(p[3], &lists[2]);
}

// A token source of numbered tokens: code 300 + n, value 5000 + n (no node
// is ever made of them here), position a distinct fake address.
int source_calls = 0;
DovTokenList fake_posns[64];
int NumberedTokens() {
    const int n = source_calls++;
    yylval = DovIntToValue(5000 + n);
    yyposn = &fake_posns[n % 64];
    return 300 + n;
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ps_ = yyps;
        saved_source_ = DovGrammarTokenSource;
        DovGrammarTokenSource = NumberedTokens;
        source_calls = 0;
        work_ = YYNewState(12);
        yyps = work_;
        yylexq.read = yylexq.end = 0;
    }
    void TearDown() override {
        // The queued entries are fake: leave nothing for a later parse.
        for (int i = 0; i < yylexq.capacity; ++i) {
            yylexq.yylvals[i] = nullptr;
            yylexq.yylpsns[i] = nullptr;
        }
        yylexq.read = yylexq.end = 0;
        work_->save = nullptr;
        YYFreeState(work_);
        yyps = saved_ps_;
        DovGrammarTokenSource = saved_source_;
    }

    YYParseState* work_ = nullptr;
    YYParseState* saved_ps_ = nullptr;
    int (*saved_source_)() = nullptr;
};

TEST_F(Queue, OutsideTrialTokensPassStraightThrough) {
    DovLexemeQueueCreate();
    const DovLexemeQueue before = yylexq;
    EXPECT_EQ(YYLex1(), 300);
    EXPECT_EQ(yylval, DovIntToValue(5000));
    EXPECT_EQ(YYLex1(), 301);
    EXPECT_EQ(yylexq.read, before.read);
    EXPECT_EQ(yylexq.end, before.end);
    EXPECT_EQ(yylexq.yylexemes, before.yylexemes);
}

TEST_F(Queue, TrialTokensAreHandedOutAgainAndTheSeventeenthGrowsTheQueue) {
    DovLexemeQueueCreate();
    YYParseState trial_point;
    work_->save = &trial_point;  // a trial point is open
    const int capacity = yylexq.capacity;
    const int n = capacity + 1;
    for (int i = 0; i < n; ++i) ASSERT_EQ(YYLex1(), 300 + i);
    EXPECT_EQ(yylexq.capacity, capacity + 16);
    EXPECT_EQ(yylexq.end, n);
    // Back to the start: the same tokens, values and positions, without
    // asking the source again.
    yylexq.read = 0;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(YYLex1(), 300 + i);
        EXPECT_EQ(yylval, DovIntToValue(5000 + i));
        EXPECT_EQ(yyposn, &fake_posns[i % 64]);
    }
    EXPECT_EQ(source_calls, n);
    // Drained: the next token comes from the source and is queued.
    EXPECT_EQ(YYLex1(), 300 + n);
    EXPECT_EQ(yylexq.end, n + 1);
}

TEST_F(Queue, ExpandKeepsContentsAndIndexes) {
    DovLexemeQueueCreate();
    YYParseState trial_point;
    work_->save = &trial_point;
    for (int i = 0; i < 5; ++i) YYLex1();
    yylexq.read = 2;
    const int capacity = yylexq.capacity;
    yyexpand();
    EXPECT_EQ(yylexq.capacity, capacity + 16);
    EXPECT_EQ(yylexq.read, 2);
    EXPECT_EQ(yylexq.end, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(yylexq.yylexemes[i], 300 + i);
}

}  // namespace
