// Arithmetic statements: golden shapes of ADD, SUBTRACT, MULTIPLY, DIVIDE
// and COMPUTE with their formats, ROUNDED, REMAINDER, the SIZE ERROR
// phrases and their binding inside IF and around IF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"
#include "tests/grammar/stmt_cases.h"

namespace {

using vemlo_stmt_test::Case;
using vemlo_stmt_test::CheckCases;

TEST(StmtArith, Formats) {
    const Case cases[] = {
        {"ADD A B TO C ROUNDED D ON SIZE ERROR CONTINUE NOT ON SIZE ERROR STOP RUN END-ADD.",
         "STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(A,B),EX_LIST(IDENT_ROUNDED(C),D)),EX_ON_SIZE_ERROR(STMT_LIST("
         "STMT_CONTINUE)),EX_NOT_ON_SIZE_ERROR(STMT_LIST(STMT_STOP(EX_RUN,null,null))),EX_END_ADD)"},
        {"ADD A TO B GIVING C.", "STMT_ADD(EX_ARITH_ADD_GIVING(EX_LIST(A,B),EX_LIST(C)),null,null,null)"},
        {"ADD A B GIVING C.", "STMT_ADD(EX_ARITH_ADD_GIVING(EX_LIST(A,B),EX_LIST(C)),null,null,null)"},
        {"ADD CORR A TO B.", "STMT_ADD(EX_ARITH_ADD_CORR_TO(A,B),null,null,null)"},
        {"SUBTRACT A FROM B GIVING C ROUNDED.",
         "STMT_SUBTRACT(EX_ARITH_SUB_FROM_GIVING(EX_LIST(A),B,EX_LIST(IDENT_ROUNDED(C))),null,null,null)"},
        {"SUBTRACT 1 FROM B END-SUBTRACT.",
         "STMT_SUBTRACT(EX_ARITH_SUB_FROM(EX_LIST(1),EX_LIST(B)),null,null,EX_END_SUBTRACT)"},
        {"SUBTRACT CORRESPONDING A FROM B.", "STMT_SUBTRACT(EX_ARITH_SUB_CORR_FROM(A,B),null,null,null)"},
        {"MULTIPLY A BY B GIVING C.", "STMT_MULTIPLY(EX_ARITH_MUL_BY_GIVING(A,B,EX_LIST(C)),null,null,null)"},
        {"MULTIPLY 2 BY B.", "STMT_MULTIPLY(EX_ARITH_MUL_BY(2,EX_LIST(B)),null,null,null)"},
        {"DIVIDE A INTO B GIVING C REMAINDER R.",
         "STMT_DIVIDE(EX_ARITH_DIV_INTO_GIVING(A,B,EX_LIST(C),EX_ARITH_DIV_REMAINDER(R)),null,null,null)"},
        {"DIVIDE A BY B GIVING C REMAINDER R ON SIZE ERROR CONTINUE.",
         "STMT_DIVIDE(EX_ARITH_DIV_BY_GIVING(A,B,EX_LIST(C),EX_ARITH_DIV_REMAINDER(R)),"
         "EX_ON_SIZE_ERROR(STMT_LIST(STMT_CONTINUE)),null,null)"},
        {"DIVIDE 2 INTO B END-DIVIDE.", "STMT_DIVIDE(EX_ARITH_DIV_INTO(2,EX_LIST(B)),null,null,EX_END_DIVIDE)"},
        {"COMPUTE X ROUNDED = A + B SIZE ERROR CONTINUE.",
         "STMT_COMPUTE(EX_LIST(IDENT_ROUNDED(X)),AR_ADD(A,B),EX_ON_SIZE_ERROR(STMT_LIST(STMT_CONTINUE)),null,null)"},
    };
    CheckCases(cases);
}

// A phrase binds to the nearest statement that can take it.
TEST(StmtArith, SizeErrorNesting) {
    const Case cases[] = {
        // SIZE ERROR inside IF; the ELSE belongs to the IF inside the phrase.
        {"IF A = 1 ADD 1 TO B SIZE ERROR IF C = 2 CONTINUE ELSE STOP RUN.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),EX_LIST(B)),EX_ON_SIZE_ERROR("
         "STMT_LIST(STMT_IF(CMP_EQ(C,2),STMT_LIST(STMT_CONTINUE),EX_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))),"
         "null))),null,null)),null,null)"},
        // END-ADD closes the ADD, so the ELSE is the IF's.
        {"IF A = 1 ADD 1 TO B SIZE ERROR CONTINUE END-ADD ELSE STOP RUN.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),EX_LIST(B)),EX_ON_SIZE_ERROR("
         "STMT_LIST(STMT_CONTINUE)),null,EX_END_ADD)),EX_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)"},
        // NOT SIZE ERROR after a nested ADD is the inner ADD's.
        {"ADD 1 TO B SIZE ERROR ADD 2 TO C NOT SIZE ERROR CONTINUE.",
         "STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),EX_LIST(B)),EX_ON_SIZE_ERROR(STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO("
         "EX_LIST(2),EX_LIST(C)),null,EX_NOT_ON_SIZE_ERROR(STMT_LIST(STMT_CONTINUE)),null))),null,null)"},
        // ... unless the inner statement cannot take it: NOT ON EXCEPTION is the CALL's.
        {"CALL \"X\" ON EXCEPTION ADD 2 TO C NOT ON EXCEPTION CONTINUE.",
         "STMT_CALL(null,\"X\",null,null,null,EX_ON_CALL_EXCEPTION(STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(2),"
         "EX_LIST(C)),null,null,null))),EX_NOT_ON_CALL_EXCEPTION(STMT_LIST(STMT_CONTINUE)),null)"},
    };
    CheckCases(cases);
}

}  // namespace
