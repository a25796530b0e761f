// The grammar's clause holders: nine objects that live for the whole run,
// idle between parses; the screen phrases hand their nodes to ScreenHolder.
#include <gtest/gtest.h>

#include <set>

#include "grammar/cobol_actions.h"
#include "grammar/grammar.h"
#include "tests/grammar/grammar_fixture.h"

namespace {

DovClauseHolder* const kHolders[] = {&ConfigurationHolder, &SpecialNamesHolder, &PhraseHolder, &FileControlHolder,
                                     &FdHolder,            &DataEntryHolder,    &RdHolder,     &ScreenHolder,
                                     &CicsHolder};

TEST(Holders, NineDistinctHoldersIdleAfterAParse) {
    std::set<const DovClauseHolder*> distinct(std::begin(kHolders), std::end(kHolders));
    EXPECT_EQ(distinct.size(), 9u);
    vemlo_grammar_test::GrammarRun run;
    ASSERT_EQ(run.ParseStatements("MOVE A TO B."), 0) << run.MessageText();
    for (const DovClauseHolder* h : kHolders) {
        EXPECT_EQ(h->current, nullptr);
        EXPECT_TRUE(h->gathered.IsEmpty());
    }
}

TEST(Holders, AScreenPhraseGoesToItsClauseOfTheScreenItem) {
    DovExpr* item = new DovExprOper(DECL_SCRD_ENTRY);
    ScreenHolder.Start(item);
    YYSTYPE val = nullptr;
    YYPOSN pos = nullptr;
    int reduce = 1;
    YYSTYPE cells[1] = {nullptr};
    YYPOSN posns[1] = {nullptr};
    DovGrammarReduction r{0, 0, cells, posns, val, pos, reduce, false, -1, 0, &DovCobolGrammar};
    DovScreenClause(r, 22, DovKeywordNode(ACCP_AUTO));
    DovScreenClause(r, 3, DovConstructNode(SCRD_COLUMN_NUMBER, DovKeywordNode(SCRD_PLUS), DovAbsentNode()));
    DovExpr* done = ScreenHolder.Finish();
    ASSERT_EQ(done, item);
    EXPECT_EQ(vemlo_grammar_test::Shape(done->Args(22)), "ACCP_AUTO");
    EXPECT_EQ(vemlo_grammar_test::Shape(done->Args(3)), "SCRD_COLUMN_NUMBER(SCRD_PLUS,null)");
    delete done;
    delete pos;
}

}  // namespace
