#include <gtest/gtest.h>

#include "grammar/grammar.h"
#include "tests/grammar/frame_test_actions.h"

using frame_test::rec;
using frame_test::SetInput;

TEST(FrameSmoke, AcceptsOneStatement) {
    SetInput("A X B ;");
    DovGrammar g = frame_test::MakeGrammar();
    EXPECT_EQ(DovRunGrammar(g), 0);
    EXPECT_EQ(frame_test::ValueText(yyretlval), "prog(stmts(b(a(A0) x(X1) B2 ;3)))");
    DovDeleteExprCell(&yyretlval);
    delete yyretposn;
    yyretposn = nullptr;
}
