// Operands, identifiers, literals, expressions and conditions: golden
// shapes of snippets inside a minimal program, the precedence table and the
// trial-parsing cases.
#include <gtest/gtest.h>

#include <string>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;

struct Case {
    const char* source;  // statements of one paragraph
    const char* shape;   // of the first statement
};

void Check(const Case& c) {
    SCOPED_TRACE(c.source);
    GrammarRun run;
    EXPECT_EQ(run.ParseStatements(c.source), 0) << run.MessageText();
    EXPECT_EQ(run.StatementShape(0), c.shape);
    EXPECT_EQ(run.SyntaxErrors(), 0);
    EXPECT_EQ(run.TokenDifference(), "");
}

TEST(OperandTrials, SubscriptsAndReferenceModification) {
    const Case cases[] = {
        {"MOVE A(1) TO B.", "STMT_MOVE(TABLE_ELT(A,SUBSCRIPT_LIST(1)),EX_LIST(B))"},
        {"MOVE A (1:2) TO B.", "STMT_MOVE(REFERENCE_MOD(A,1,2),EX_LIST(B))"},
        {"MOVE X(1:) TO B.", "STMT_MOVE(REFERENCE_MOD(X,1,null),EX_LIST(B))"},
        {"MOVE X(I + 1) TO B.", "STMT_MOVE(TABLE_ELT(X,SUBSCRIPT_LIST(OP_ADD_IX(I,1))),EX_LIST(B))"},
        {"MOVE X OF G(1, 2)(3:4) TO B.",
         "STMT_MOVE(REFERENCE_MOD(TABLE_ELT(X OF G,SUBSCRIPT_LIST(1,2)),3,4),EX_LIST(B))"},
        {"IF A (1) = B CONTINUE END-IF.",
         "STMT_IF(CMP_EQ(TABLE_ELT(A,SUBSCRIPT_LIST(1)),B),STMT_LIST(STMT_CONTINUE),null,EX_END_IF)"},
    };
    for (const Case& c : cases) Check(c);
}

}  // namespace
