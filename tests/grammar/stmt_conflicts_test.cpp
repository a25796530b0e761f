// The statement families' entries of the conflict register: for each, the
// input that takes the shift and the one that needs the other way.
#include <gtest/gtest.h>

#include "tests/grammar/grammar_fixture.h"
#include "tests/grammar/stmt_cases.h"

namespace {

using vemlo_stmt_test::Case;
using vemlo_stmt_test::CheckCases;

// S01: an integer after PERFORM is an inline count before TIMES, a
// procedure name otherwise.
TEST(StmtConflicts, S01) {
    const Case cases[] = {
        {"PERFORM 4 TIMES CONTINUE END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_TIMES(4),STMT_LIST(STMT_CONTINUE),EX_END_PERFORM)"},
        {"PERFORM 100 THRU 200.", "STMT_PERFORM_PROC(EX_PROC_RANGE(100,200),null)"},
    };
    CheckCases(cases);
}

// S01 nested: the count of every inline PERFORM opens a trial that stays
// open until the sentence's period, so everything inside is parsed under as
// many open trials as there are levels. The statements of each level, with
// trials of their own (subscript, reference modification, parenthesised
// condition, NOT phrase), give the trees they give outside any trial.
TEST(StmtConflicts, S01NestedTrialsBuildWhatTheSameStatementsBuildAlone) {
    const std::string body =
        "MOVE T (1) TO Y (1:2) IF ((A)) = (B) CONTINUE END-IF "
        "ADD 1 TO B SIZE ERROR ADD 2 TO C NOT SIZE ERROR CONTINUE END-ADD END-ADD ";
    vemlo_grammar_test::GrammarRun alone;
    ASSERT_EQ(alone.ParseStatements(vemlo_stmt_test::Wrap(body + "CONTINUE.")), 0);
    ASSERT_EQ(alone.SyntaxErrors(), 0) << alone.MessageText();
    std::string body_shapes;
    for (std::size_t i = 0; i + 1 < alone.Statements().size(); ++i) body_shapes += alone.StatementShape(i) + ",";
    ASSERT_EQ(alone.Statements().size(), 4u);

    const int levels = 40;
    std::string source, shape = "STMT_CONTINUE";
    for (int i = 0; i < levels; ++i) {
        source += "PERFORM 2 TIMES " + body;
        shape = "STMT_PERFORM_BLOCK(EX_PERF_TIMES(2),STMT_LIST(" + body_shapes + shape + "),EX_END_PERFORM)";
    }
    source += "CONTINUE";
    for (int i = 0; i < levels; ++i) source += " END-PERFORM";
    vemlo_grammar_test::GrammarRun nested;
    nested.ParseStatements(vemlo_stmt_test::Wrap(source + "."));
    EXPECT_EQ(nested.SyntaxErrors(), 0) << nested.MessageText();
    EXPECT_EQ(nested.StatementShape(0), shape);
    EXPECT_EQ(nested.TokenDifference(), "");
}

// S02, S03: a word after a tallied operand is one more operand unless FOR
// follows it.
TEST(StmtConflicts, S02) {
    const Case cases[] = {
        {"INSPECT A TALLYING C FOR ALL X Y.",
         "STMT_INSPECT(A,EX_STR_TALLYING(EX_STR_TALLY_CLAUSE_LIST(EX_STR_TALLY_CLAUSE(C,EX_STR_TALLY_PHRASE_LIST("
         "EX_STR_TALLY_PHRASE(EX_STR_ALL,EX_STR_TALLY_UNIT_LIST(EX_STR_TALLY_UNIT(X,null),EX_STR_TALLY_UNIT(Y,"
         "null))))))),null)"},
        {"INSPECT A TALLYING C FOR ALL X D FOR LEADING Y.",
         "STMT_INSPECT(A,EX_STR_TALLYING(EX_STR_TALLY_CLAUSE_LIST(EX_STR_TALLY_CLAUSE(C,EX_STR_TALLY_PHRASE_LIST("
         "EX_STR_TALLY_PHRASE(EX_STR_ALL,EX_STR_TALLY_UNIT_LIST(EX_STR_TALLY_UNIT(X,null))))),EX_STR_TALLY_CLAUSE(D,"
         "EX_STR_TALLY_PHRASE_LIST(EX_STR_TALLY_PHRASE(EX_STR_LEADING,EX_STR_TALLY_UNIT_LIST(EX_STR_TALLY_UNIT(Y,"
         "null))))))),null)"},
    };
    CheckCases(cases);
}

// S05: NOT after a nested statement is the inner statement's when it is of
// its kind, the enclosing statement's otherwise.
TEST(StmtConflicts, S05) {
    const Case cases[] = {
        {"ADD 1 TO B SIZE ERROR ADD 2 TO C NOT SIZE ERROR CONTINUE.",
         "STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),EX_LIST(B)),EX_ON_SIZE_ERROR(STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO("
         "EX_LIST(2),EX_LIST(C)),null,EX_NOT_ON_SIZE_ERROR(STMT_LIST(STMT_CONTINUE)),null))),null,null)"},
        {"READ F AT END ADD 1 TO C NOT AT END CONTINUE.",
         "STMT_READ(F,null,null,null,null,null,null,EX_ON_AT_END(STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),"
         "EX_LIST(C)),null,null,null))),EX_NOT_ON_AT_END(STMT_LIST(STMT_CONTINUE)),null)"},
    };
    CheckCases(cases);
}

}  // namespace
