// Parse-state records, the run copies and the lexeme queue.
#include <gtest/gtest.h>

#include "grammar/parse_state.h"

namespace {

TEST(ParseState, FirstRecordHasSixteenZeroedCellsAndEachGrowthDoublesIt) {
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
    YYMoreStack(p);
    EXPECT_EQ(p->stacksize, 64u);
    EXPECT_EQ(p->ssp - p->ss, 15);
    EXPECT_EQ(p->vs[15], DovIntToValue(2015));
    YYFreeState(p);
}

TEST(ParseState, RecordHasSizePlusFourZeroedCells) {
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

TEST(ParseState, UndoingSavedCellsGivesBackTheirContentsAtEachMark) {
    YYParseState* p = YYNewState(12);
    auto fill = [p](int from, int to, int base) {
        for (int i = from; i <= to; ++i) {
            p->ss[i] = base + i;
            p->vs[i] = DovIntToValue(base + i);
        }
    };
    fill(0, 8, 100);
    DovSavedCells saved;
    saved.Save(*p, 4, 6);
    fill(2, 6, 200);
    const int mark = saved.Size();
    // Cell 5 is saved a second time with what the first change left there.
    saved.Save(*p, 2, 5);
    fill(2, 8, 300);
    saved.UndoTo(*p, mark);
    EXPECT_EQ(saved.Size(), mark);
    const int at_mark[] = {100, 101, 202, 203, 204, 205, 306, 307, 308};
    for (int i = 0; i <= 8; ++i) EXPECT_EQ(p->ss[i], at_mark[i]) << i;
    saved.UndoTo(*p, 0);
    const int at_start[] = {100, 101, 202, 203, 104, 105, 106, 307, 308};
    for (int i = 0; i <= 8; ++i) {
        EXPECT_EQ(p->ss[i], at_start[i]) << i;
        EXPECT_EQ(p->vs[i], DovIntToValue(at_start[i])) << i;
    }
    YYFreeState(p);
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
    EXPECT_EQ(yylexq.capacity, 2 * capacity);
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
    EXPECT_EQ(yylexq.capacity, 2 * capacity);
    EXPECT_EQ(yylexq.read, 2);
    EXPECT_EQ(yylexq.end, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(yylexq.yylexemes[i], 300 + i);
}

}  // namespace
