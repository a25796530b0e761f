// Operands, identifiers, literals, expressions and conditions: golden
// shapes of snippets inside a minimal program, the precedence table and the
// trial-parsing cases. Every case also checks token conservation.
#include <gtest/gtest.h>

#include <string>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;

struct Case {
    const char* source;  // statements of one paragraph
    const char* shape;   // of the first statement
    int dialect = DIAL_ANSI85;
};

void Check(const Case& c) {
    SCOPED_TRACE(c.source);
    GrammarRun run;
    if (c.dialect != DIAL_ANSI85) {
        run.parser().primaryDialect = c.dialect;
        run.parser().dials = DovNoDials();
        VString error;
        run.parser().ResolveDialectDefaults(error);
    }
    EXPECT_EQ(run.ParseStatements(c.source), 0) << run.MessageText();
    EXPECT_EQ(run.StatementShape(0), c.shape);
    EXPECT_EQ(run.Messages().size(), 0u) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
}

const char* const kIfEnd = ",STMT_LIST(STMT_CONTINUE),null,EX_END_IF)";

std::string If(const std::string& condition) { return "STMT_IF(" + condition + kIfEnd; }

TEST(Conditions, RelationsAbbreviationsClassAndSign) {
    const std::string shapes[] = {
        If("LOG_OR(CMP_EQ(A,B),CMP_GT(null,C))"),
        If("LOG_OR(CMP_EQ(A,B),C)"),
        If("LOG_NOT(CMP_NOT_NUM(A))"),
        If("CMP_NOT_EQ(A,B)"),
        If("CMP_NOT_GT(A,B)"),
        If("CMP_NOT_EQ(A,B)"),
        If("CMP_NOT_EQ(A,B)"),
        If("CMP_NOT_EQ(A,B)"),
        If("LOG_AND(CMP_GT(A,B),CMP_NOT_LT(null,C))"),
        If("LOG_OR(CMP_GT(A,B),CMP_LT(null,C))"),
        If("LOG_AND(CMP_POS(A),CMP_ZER(B))"),
        If("LOG_OR(CMP_NOT_NEG(A),CMP_ALPH_UPPER(B))"),
        If("CMP_IS_NOT_CLASS(A,ALPHA-X)"),
        If("CMP_IS_CLASS(A,ALPHA-X)"),
        If("CMP_GE(A,B)"),
        If("CMP_GE(A,B)"),
        If("CMP_GE(A,B)"),
        If("CMP_LE(A,B)"),
        If("CMP_LT(A,B)"),
        If("CMP_GT(A,B)"),
        If("CMP_EQ(A,B)"),
        If("LOG_AND(OP_PARENS(CMP_EQ(A,B)),C)"),
        If("CMP_EQ(A,OP_PARENS(LOG_AND(B,C)))"),
        If("CMP_EQ(A,FIG_ZERO)"),
        If("CMP_EQ(A,AR_ADD(B,1))"),
    };
    const Case cases[] = {
        {"IF A = B OR > C CONTINUE END-IF.", shapes[0].c_str()},
        {"IF A = B OR C CONTINUE END-IF.", shapes[1].c_str()},
        {"IF NOT A IS NOT NUMERIC CONTINUE END-IF.", shapes[2].c_str()},
        {"IF A NOT = B CONTINUE END-IF.", shapes[3].c_str()},
        {"IF A NOT > B CONTINUE END-IF.", shapes[4].c_str()},
        {"IF A UNEQUAL B CONTINUE END-IF.", shapes[5].c_str(), DIAL_FSC},
        {"IF A IS UNEQUAL TO B CONTINUE END-IF.", shapes[6].c_str(), DIAL_FSC},
        {"IF A <> B CONTINUE END-IF.", shapes[7].c_str()},
        {"IF A > B AND NOT < C CONTINUE END-IF.", shapes[8].c_str()},
        {"IF A GREATER B OR IS LESS THAN C CONTINUE END-IF.", shapes[9].c_str()},
        {"IF A IS POSITIVE AND B ZERO CONTINUE END-IF.", shapes[10].c_str()},
        {"IF A NOT NEGATIVE OR B IS ALPHABETIC-UPPER CONTINUE END-IF.", shapes[11].c_str()},
        {"IF A IS NOT ALPHA-X CONTINUE END-IF.", shapes[12].c_str()},
        {"IF A ALPHA-X CONTINUE END-IF.", shapes[13].c_str()},
        {"IF A GREATER THAN OR EQUAL TO B CONTINUE END-IF.", shapes[14].c_str()},
        {"IF A > = B CONTINUE END-IF.", shapes[15].c_str()},
        {"IF A >= B CONTINUE END-IF.", shapes[16].c_str()},
        {"IF A LESS OR EQUAL B CONTINUE END-IF.", shapes[17].c_str()},
        {"IF A IS LESS THAN B CONTINUE END-IF.", shapes[18].c_str()},
        {"IF A EXCEEDS B CONTINUE END-IF.", shapes[19].c_str(), DIAL_FSC},
        {"IF A IS EQUAL B CONTINUE END-IF.", shapes[20].c_str()},
        {"IF (A = B) AND C CONTINUE END-IF.", shapes[21].c_str()},
        {"IF A = (B AND C) CONTINUE END-IF.", shapes[22].c_str()},
        {"IF A IS EQUAL TO ZEROES CONTINUE END-IF.", shapes[23].c_str()},
        {"IF A = B + 1 CONTINUE END-IF.", shapes[24].c_str()},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Precedence, ArithmeticAndLogicalHierarchy) {
    const std::string ifs[] = {If("LOG_OR(LOG_AND(LOG_NOT(A),B),C)"), If("LOG_OR(LOG_AND(A,B),LOG_AND(C,D))"),
                               If("LOG_OR(A,LOG_AND(B,C))"), If("LOG_AND(LOG_NOT(LOG_NOT(A)),B)")};
    const Case cases[] = {
        {"COMPUTE X = A + B * C.", "STMT_COMPUTE(EX_LIST(X),AR_ADD(A,AR_MUL(B,C)),null,null,null)"},
        {"COMPUTE X = A * B + C.", "STMT_COMPUTE(EX_LIST(X),AR_ADD(AR_MUL(A,B),C),null,null,null)"},
        {"COMPUTE X = A - B - C.", "STMT_COMPUTE(EX_LIST(X),AR_SUB(A,B,C),null,null,null)"},
        {"COMPUTE X = A - B + C.", "STMT_COMPUTE(EX_LIST(X),AR_ADD(AR_SUB(A,B),C),null,null,null)"},
        {"COMPUTE X = A / B * C.", "STMT_COMPUTE(EX_LIST(X),AR_MUL(AR_DIV(A,B),C),null,null,null)"},
        {"COMPUTE X = A ** B ** C.", "STMT_COMPUTE(EX_LIST(X),AR_EXP(A,B,C),null,null,null)"},
        {"COMPUTE X = A * B ** C.", "STMT_COMPUTE(EX_LIST(X),AR_MUL(A,AR_EXP(B,C)),null,null,null)"},
        {"COMPUTE X = - A ** 2.", "STMT_COMPUTE(EX_LIST(X),AR_EXP(AR_UN_MINUS(A),2),null,null,null)"},
        {"COMPUTE X = A * - B.", "STMT_COMPUTE(EX_LIST(X),AR_MUL(A,AR_UN_MINUS(B)),null,null,null)"},
        {"COMPUTE X = + A - B.", "STMT_COMPUTE(EX_LIST(X),AR_SUB(AR_UN_PLUS(A),B),null,null,null)"},
        {"COMPUTE X = A + B + C.", "STMT_COMPUTE(EX_LIST(X),AR_ADD(A,B,C),null,null,null)"},
        {"COMPUTE X = A + (B + C).", "STMT_COMPUTE(EX_LIST(X),AR_ADD(A,OP_PARENS(AR_ADD(B,C))),null,null,null)"},
        {"IF NOT A AND B OR C CONTINUE END-IF.", ifs[0].c_str()},
        {"IF A AND B OR C AND D CONTINUE END-IF.", ifs[1].c_str()},
        {"IF A OR B AND C CONTINUE END-IF.", ifs[2].c_str()},
        {"IF NOT NOT A AND B CONTINUE END-IF.", ifs[3].c_str()},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Operands, IdentifiersLiteralsAndFunctions) {
    const Case cases[] = {
        {"MOVE X(1:) TO B.", "STMT_MOVE(REFERENCE_MOD(X,1,null),EX_LIST(B))"},
        {"MOVE X(I + 1) TO B.", "STMT_MOVE(TABLE_ELT(X,SUBSCRIPT_LIST(OP_ADD_IX(I,1))),EX_LIST(B))"},
        {"MOVE X OF G IN R(1, 2)(3:4) TO B.",
         "STMT_MOVE(REFERENCE_MOD(TABLE_ELT(X OF G OF R,SUBSCRIPT_LIST(1,2)),3,4),EX_LIST(B))"},
        {"MOVE A(ALL, ZERO, I - 2) TO B.",
         "STMT_MOVE(TABLE_ELT(A,SUBSCRIPT_LIST(EX_INDEX_ALL,FIG_ZERO,OP_SUB_IX(I,2))),EX_LIST(B))"},
        {"MOVE A(I + 1:L) TO B.", "STMT_MOVE(REFERENCE_MOD(A,AR_ADD(I,1),L),EX_LIST(B))"},
        {"MOVE ZERO TO A.", "STMT_MOVE(FIG_ZERO,EX_LIST(A))"},
        {"MOVE ZEROS TO A.", "STMT_MOVE(FIG_ZERO,EX_LIST(A))"},
        {"MOVE ZEROES TO A.", "STMT_MOVE(FIG_ZERO,EX_LIST(A))"},
        {"MOVE SPACE TO A B.", "STMT_MOVE(FIG_SPACE,EX_LIST(A,B))"},
        {"MOVE HIGH-VALUES TO A.", "STMT_MOVE(FIG_HIGH_VALUE,EX_LIST(A))"},
        {"MOVE LOW-VALUE TO A.", "STMT_MOVE(FIG_LOW_VALUE,EX_LIST(A))"},
        {"MOVE QUOTES TO A.", "STMT_MOVE(FIG_QUOTE,EX_LIST(A))"},
        {"MOVE ALL \"*\" TO A.", "STMT_MOVE(FIG_ALL(\"*\"),EX_LIST(A))"},
        {"MOVE ALL SPACES TO A.", "STMT_MOVE(FIG_ALL(FIG_SPACE),EX_LIST(A))"},
        {"MOVE \"A\" & \"B\" & SPACES TO A.", "STMT_MOVE(STR_CONCATENATE(\"A\",\"B\",FIG_SPACE),EX_LIST(A))"},
        {"MOVE 1.5 TO A.", "STMT_MOVE(1.5,EX_LIST(A))"},
        {"MOVE ADDRESS OF A TO B.", "STMT_MOVE(SR_ADDRESS_OF(A),EX_LIST(B))", DIAL_MF},
        {"MOVE LENGTH OF A TO B.", "STMT_MOVE(SR_LENGTH_OF(A),EX_LIST(B))"},
        {"MOVE NULL TO A.", "STMT_MOVE(FIG_NULL,EX_LIST(A))", DIAL_MF},
        {"COMPUTE A ROUNDED B = 1.5.", "STMT_COMPUTE(EX_LIST(IDENT_ROUNDED(A),B),1.5,null,null,null)"},
        // The FUNCTION forms: with arguments, without (no argument node).
        {"MOVE FUNCTION CURRENT-DATE TO D.", "STMT_MOVE(INTR_FUNCTION(CURRENT-DATE,-),EX_LIST(D))"},
        {"COMPUTE X = FUNCTION MAX(A 1 B - 1).",
         "STMT_COMPUTE(EX_LIST(X),INTR_FUNCTION(MAX,OP_PARENS(FUNC_ARG_LIST(A,1,AR_SUB(B,1)))),null,null,null)"},
        {"COMPUTE X = FUNCTION LENGTH(A) + 1.",
         "STMT_COMPUTE(EX_LIST(X),AR_ADD(INTR_FUNCTION(LENGTH,OP_PARENS(FUNC_ARG_LIST(A))),1),null,null,null)"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Operands, AFunctionNameTheLexerDoesNotKnowIsReportedAndKept) {
    struct Unknown {
        const char* source;
        const char* shape;
    } const cases[] = {
        {"MOVE FUNCTION NO-SUCH TO D.", "STMT_MOVE(INTR_FUNCTION(NO-SUCH,null),EX_LIST(D))"},
        {"MOVE FUNCTION NO-SUCH(1) TO D.", "STMT_MOVE(INTR_FUNCTION(NO-SUCH,OP_PARENS(FUNC_ARG_LIST(1))),EX_LIST(D))"},
        // CONFLICT C06: the arguments are tried first, then the reference
        // modification.
        {"MOVE FUNCTION NO-SUCH(1:2) TO D.", "STMT_MOVE(REFERENCE_MOD(INTR_FUNCTION(NO-SUCH,null),1,2),EX_LIST(D))"},
    };
    for (const Unknown& c : cases) {
        SCOPED_TRACE(c.source);
        GrammarRun run;
        EXPECT_EQ(run.ParseStatements(c.source), 2);
        EXPECT_EQ(run.StatementShape(0), c.shape);
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

// The subscript / reference-modification conflicts: each identifier is built
// once (its rule reduced once outside trial mode), and no message comes from
// the trials.
TEST(OperandTrials, EachIdentifierIsBuiltOnceWithoutMessages) {
    const char* const kTable = "identifier_base : data_name SEP_LEFT_PAR mark_paren subscript_list SEP_RIGHT_PAR";
    const char* const kRefMod =
        "identifier : identifier_base SEP_LEFT_PAR mark_paren arith_expr SEP_COLON opt_arith_expr SEP_RIGHT_PAR";
    struct Trial {
        const char* source;
        const char* shape;
        int tables;
        int refmods;
    } const cases[] = {
        {"MOVE A(1) TO B.", "STMT_MOVE(TABLE_ELT(A,SUBSCRIPT_LIST(1)),EX_LIST(B))", 1, 0},
        {"MOVE A (1:2) TO B.", "STMT_MOVE(REFERENCE_MOD(A,1,2),EX_LIST(B))", 0, 1},
        {"IF A (1) = B CONTINUE END-IF.",
         "STMT_IF(CMP_EQ(TABLE_ELT(A,SUBSCRIPT_LIST(1)),B),STMT_LIST(STMT_CONTINUE),null,EX_END_IF)", 1, 0},
        {"MOVE A(1:FUNCTION LENGTH(B)) TO C.",
         "STMT_MOVE(REFERENCE_MOD(A,1,INTR_FUNCTION(LENGTH,OP_PARENS(FUNC_ARG_LIST(B)))),EX_LIST(C))", 0, 1},
        {"MOVE FUNCTION CURRENT-DATE(1:8) TO D.",
         "STMT_MOVE(REFERENCE_MOD(INTR_FUNCTION(CURRENT-DATE,-),1,8),EX_LIST(D))", 0, 1},
        {"COMPUTE X = FUNCTION MAX(A(1) B(2)).",
         "STMT_COMPUTE(EX_LIST(X),INTR_FUNCTION(MAX,OP_PARENS(FUNC_ARG_LIST(TABLE_ELT(A,SUBSCRIPT_LIST(1)),"
         "TABLE_ELT(B,SUBSCRIPT_LIST(2))))),null,null,null)",
         2, 0},
        // A subscripted name followed by a parenthesised condition.
        {"IF A (1) AND (B = C) CONTINUE END-IF.",
         "STMT_IF(LOG_AND(TABLE_ELT(A,SUBSCRIPT_LIST(1)),OP_PARENS(CMP_EQ(B,C))),STMT_LIST(STMT_CONTINUE),null,"
         "EX_END_IF)",
         1, 0},
        {"IF A (1) = (B) CONTINUE END-IF.",
         "STMT_IF(CMP_EQ(TABLE_ELT(A,SUBSCRIPT_LIST(1)),OP_PARENS(B)),STMT_LIST(STMT_CONTINUE),null,EX_END_IF)", 1,
         0},
        {"MOVE X(1, 2)(3:4) TO B.",
         "STMT_MOVE(REFERENCE_MOD(TABLE_ELT(X,SUBSCRIPT_LIST(1,2)),3,4),EX_LIST(B))", 1, 1},
    };
    for (const Trial& c : cases) {
        SCOPED_TRACE(c.source);
        GrammarRun run;
        EXPECT_EQ(run.ParseStatements(c.source), 0) << run.MessageText();
        EXPECT_EQ(run.StatementShape(0), c.shape);
        EXPECT_TRUE(run.Messages().empty()) << run.MessageText();
        EXPECT_EQ(run.Reductions(kTable), c.tables);
        EXPECT_EQ(run.Reductions(kRefMod), c.refmods);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

// The name of WITH ... LINKAGE and a function name are read as plain words
// even when the grammar reads them ahead during a trial.
TEST(OperandTrials, FunctionAndLinkageModesHoldForReadAheadTokens) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText("       IDENTIFICATION DIVISION.\n"
                            "       PROGRAM-ID. T.\n"
                            "       PROCEDURE DIVISION WITH PASCAL LINKAGE USING A.\n"
                            "       P-0.\n"
                            "           MOVE A(1:FUNCTION LENGTH(A)) TO B.\n"),
              0)
        << run.MessageText();
    EXPECT_EQ(run.ShapeOf(EX_CALL_WITH_LINKAGE), "EX_CALL_WITH_LINKAGE(PASCAL)");
    EXPECT_EQ(run.StatementShape(0),
              "STMT_MOVE(REFERENCE_MOD(A,1,INTR_FUNCTION(LENGTH,OP_PARENS(FUNC_ARG_LIST(A)))),EX_LIST(B))");
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace
