// Control-flow statements: golden shapes of IF, EVALUATE, PERFORM, GO TO,
// ALTER, CALL, CANCEL, EXIT, STOP, ENTER and USE, their messages, and the
// binding of nested phrases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;

struct Case {
    const char* source;  // statements of one paragraph
    const char* shape;   // of the first statement
};

// Breaks a statement text into lines that fit the program area (the words
// of the cases hold no blanks inside literals).
std::string Wrap(const std::string& text) {
    std::string out, line, word;
    auto flush_word = [&] {
        if (word.empty()) return;
        if (!line.empty() && line.size() + 1 + word.size() > 56) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char ch : text) {
        if (ch == ' ' || ch == '\n') flush_word();
        else word += ch;
    }
    flush_word();
    return out + line;
}

// The words of some statements (CHAIN, INVOKE, ADDRESS, RETURNING) are
// keywords of other dialects; those cases are read as mf.
void Check(const Case& c, int dialect = DIAL_ANSI85) {
    SCOPED_TRACE(c.source);
    GrammarRun run;
    if (dialect != DIAL_ANSI85) {
        VString error;
        run.parser().primaryDialect = dialect;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
    }
    EXPECT_LE(run.ParseStatements(Wrap(c.source)), 1) << run.MessageText();
    EXPECT_EQ(run.StatementShape(0), c.shape);
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
}

TEST(StmtControl, IfAndElse) {
    const Case cases[] = {
        {"IF A = 1 MOVE 1 TO B ELSE MOVE 2 TO B END-IF.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_MOVE(1,EX_LIST(B))),EX_ELSE(STMT_LIST(STMT_MOVE(2,EX_LIST(B)))),"
         "EX_END_IF)"},
        // Unterminated: the period ends it.
        {"IF A = 1 THEN CONTINUE ELSE NEXT SENTENCE.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_CONTINUE),EX_ELSE(STMT_LIST(STMT_NEXT_SENTENCE)),null)"},
        // ELSE binds to the nearest IF.
        {"IF A = 1 IF B = 2 CONTINUE ELSE STOP RUN.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_IF(CMP_EQ(B,2),STMT_LIST(STMT_CONTINUE),"
         "EX_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)),null,null)"},
        // END-IF closes the inner IF; the ELSE after it is the outer one's.
        {"IF A = 1 IF B = 2 CONTINUE END-IF ELSE STOP RUN.",
         "STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_IF(CMP_EQ(B,2),STMT_LIST(STMT_CONTINUE),null,EX_END_IF)),"
         "EX_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(StmtControl, Evaluate) {
    const Case cases[] = {
        {"EVALUATE A ALSO TRUE WHEN 1 THRU 5 ALSO B > 2 CONTINUE WHEN OTHER STOP RUN END-EVALUATE.",
         "STMT_EVALUATE(EX_EVAL_SUBJ_LIST(A,EX_TRUE),EX_EVAL_WHEN_BLOCK_LIST(EX_EVAL_WHEN_BLOCK("
         "EX_EVAL_WHEN_PHRASE_LIST(EX_EVAL_WHEN_PHRASE(EX_EVAL_OBJ_LIST(EX_EXPR_RANGE(1,5),"
         "EX_EXPR_RANGE(CMP_GT(B,2),-)))),STMT_LIST(STMT_CONTINUE))),"
         "EX_EVAL_WHEN_OTHER(STMT_LIST(STMT_STOP(EX_RUN,null,null))),EX_END_EVALUATE)"},
        // Two WHEN phrases share one block; ANY and FALSE are objects.
        {"EVALUATE TRUE WHEN ANY WHEN FALSE CONTINUE.",
         "STMT_EVALUATE(EX_EVAL_SUBJ_LIST(EX_TRUE),EX_EVAL_WHEN_BLOCK_LIST(EX_EVAL_WHEN_BLOCK("
         "EX_EVAL_WHEN_PHRASE_LIST(EX_EVAL_WHEN_PHRASE(EX_EVAL_OBJ_LIST(EX_EXPR_RANGE(EX_ANY,-))),"
         "EX_EVAL_WHEN_PHRASE(EX_EVAL_OBJ_LIST(EX_EXPR_RANGE(EX_FALSE,-)))),STMT_LIST(STMT_CONTINUE))),"
         "null,null)"},
        // ANY as a subject.
        {"EVALUATE ANY ALSO A WHEN 1 ALSO 2 CONTINUE.",
         "STMT_EVALUATE(EX_EVAL_SUBJ_LIST(EX_ANY,A),EX_EVAL_WHEN_BLOCK_LIST(EX_EVAL_WHEN_BLOCK("
         "EX_EVAL_WHEN_PHRASE_LIST(EX_EVAL_WHEN_PHRASE(EX_EVAL_OBJ_LIST(EX_EXPR_RANGE(1,-),EX_EXPR_RANGE(2,-)))),"
         "STMT_LIST(STMT_CONTINUE))),null,null)"},
        // WHEN OTHER with no statements still has its node.
        {"EVALUATE A WHEN 1 CONTINUE WHEN OTHER END-EVALUATE.",
         "STMT_EVALUATE(EX_EVAL_SUBJ_LIST(A),EX_EVAL_WHEN_BLOCK_LIST(EX_EVAL_WHEN_BLOCK("
         "EX_EVAL_WHEN_PHRASE_LIST(EX_EVAL_WHEN_PHRASE(EX_EVAL_OBJ_LIST(EX_EXPR_RANGE(1,-)))),"
         "STMT_LIST(STMT_CONTINUE))),EX_EVAL_WHEN_OTHER(null),EX_END_EVALUATE)"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(StmtControl, Perform) {
    const Case cases[] = {
        {"PERFORM P-1 THRU P-2.", "STMT_PERFORM_PROC(EX_PROC_RANGE(P-1,P-2),null)"},
        {"PERFORM P-1 3 TIMES.", "STMT_PERFORM_PROC(EX_PROC_RANGE(P-1,-),EX_PERF_TIMES(3))"},
        {"PERFORM P-1 WITH TEST AFTER UNTIL A > 1.",
         "STMT_PERFORM_PROC(EX_PROC_RANGE(P-1,-),EX_PERF_UNTIL(EX_PERF_WITH_TEST(EX_AFTER),CMP_GT(A,1)))"},
        {"PERFORM P-1 VARYING I FROM 1 BY 1 UNTIL I > 5 AFTER J FROM K BY 2 UNTIL J > 3.",
         "STMT_PERFORM_PROC(EX_PROC_RANGE(P-1,-),EX_PERF_VARYING(null,EX_PERF_VARN_LIST("
         "EX_PERF_VARIATION(I,1,1,CMP_GT(I,5)),EX_PERF_VARIATION(J,K,2,CMP_GT(J,3)))))"},
        {"PERFORM UNTIL A = 1 ADD 1 TO A END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_UNTIL(null,CMP_EQ(A,1)),STMT_LIST(STMT_ADD(EX_ARITH_ADD_TO(EX_LIST(1),"
         "EX_LIST(A)),null,null,null)),EX_END_PERFORM)"},
        {"PERFORM 4 TIMES CONTINUE END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_TIMES(4),STMT_LIST(STMT_CONTINUE),EX_END_PERFORM)"},
        {"PERFORM N TIMES CONTINUE END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_TIMES(N),STMT_LIST(STMT_CONTINUE),EX_END_PERFORM)"},
        {"PERFORM CONTINUE END-PERFORM.", "STMT_PERFORM_BLOCK(null,STMT_LIST(STMT_CONTINUE),EX_END_PERFORM)"},
        // A loop with no statement, run for its VARYING or UNTIL alone.
        {"PERFORM VARYING I FROM 1 BY 1 UNTIL I = 10 END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_VARYING(null,EX_PERF_VARN_LIST(EX_PERF_VARIATION(I,1,1,CMP_EQ(I,10)))),null,"
         "EX_END_PERFORM)"},
        {"PERFORM WITH TEST AFTER UNTIL A = 1 END-PERFORM.",
         "STMT_PERFORM_BLOCK(EX_PERF_UNTIL(EX_PERF_WITH_TEST(EX_AFTER),CMP_EQ(A,1)),null,EX_END_PERFORM)"},
        {"PERFORM 4 TIMES END-PERFORM.", "STMT_PERFORM_BLOCK(EX_PERF_TIMES(4),null,EX_END_PERFORM)"},
        {"PERFORM N TIMES END-PERFORM.", "STMT_PERFORM_BLOCK(EX_PERF_TIMES(N),null,EX_END_PERFORM)"},
    };
    for (const Case& c : cases) Check(c);
}

TEST(StmtControl, GoToAlterCall) {
    const Case cases[] = {
        {"GO TO P-1.", "STMT_GOTO(EX_LIST(P-1))"},
        {"GO P-1 P-2 DEPENDING ON K.", "STMT_GOTO_DEPENDING(EX_LIST(P-1,P-2),EX_DEPENDING_ON(K))"},
        {"ALTER P-1 TO PROCEED TO P-2.", "STMT_ALTER(EX_ALTER_ITEM(P-1,P-2))"},
        {"ALTER P-1 TO P-2 P-3 TO P-4.",
         "STMT_ALTER(EX_LIST(EX_ALTER_ITEM(P-1,P-2),EX_ALTER_ITEM(P-3,P-4)))"},
        {"CALL \"SUB\" USING A BY CONTENT B C ON EXCEPTION CONTINUE END-CALL.",
         "STMT_CALL(null,\"SUB\",null,EX_CALL_USING(EX_CALL_PARAM_LIST(EX_CALL_PARAM(null,A,null,EX_PT_BY_REFERENCE),"
         "EX_CALL_PARAM(EX_PT_BY_CONTENT,B,null,EX_PT_BY_CONTENT),EX_CALL_PARAM(null,C,null,EX_PT_BY_CONTENT))),"
         "null,EX_ON_CALL_EXCEPTION(STMT_LIST(STMT_CONTINUE)),null,EX_END_CALL)"},
        {"CALL P ON OVERFLOW CONTINUE.",
         "STMT_CALL(null,P,null,null,null,EX_ON_CALL_EXCEPTION(STMT_LIST(STMT_CONTINUE)),null,null)"},
        {"CANCEL \"SUB\" P.", "STMT_CANCEL(EX_LIST(\"SUB\",P))"},
        {"EXIT PROGRAM.", "STMT_EXIT_PROGRAM(null)"},
        {"STOP \"END\".", "STMT_STOP(null,\"END\",null)"},
    };
    for (const Case& c : cases) Check(c);
}

// The call convention or PROGRAM before the program, WITH ... LINKAGE, a
// parameter's SIZE, GIVING INTO and GIVING ADDRESS OF; CHAIN, INVOKE, ENTRY.
TEST(StmtControl, CallChainInvokeEntry) {
    const Case cases[] = {
        {"CALL PROGRAM \"SUB\".", "STMT_CALL(EX_CALL_PROGRAM,\"SUB\",null,null,null,null,null,null)"},
        {"CALL CONV \"SUB\" WITH LNK LINKAGE USING BY VALUE A SIZE 4 RETURNING ADDRESS OF P.",
         "STMT_CALL(CONV,\"SUB\",EX_CALL_WITH_LINKAGE(LNK),EX_CALL_USING(EX_CALL_PARAM_LIST(EX_CALL_PARAM("
         "EX_PT_BY_VALUE,A,EX_CALL_PARAM_SIZE(4),EX_PT_BY_VALUE))),EX_CALL_GIVING(EX_CALL_GIVING_ADDRESS_OF(P)),"
         "null,null,null)"},
        {"CALL X GIVING INTO R END-CALL.",
         "STMT_CALL(null,X,null,null,EX_CALL_GIVING(EX_CALL_GIVING_INTO(R)),null,null,EX_END_CALL)"},
        {"CHAIN \"NEXT\" USING A B END-CHAIN.",
         "STMT_CHAIN(\"NEXT\",EX_CALL_USING(EX_CALL_PARAM_LIST(EX_CALL_PARAM(null,A,null,EX_PT_BY_REFERENCE),"
         "EX_CALL_PARAM(null,B,null,EX_PT_BY_REFERENCE))),EX_END_CHAIN)"},
        {"CHAIN P.", "STMT_CHAIN(P,null,null)"},
        {"INVOKE OBJ \"M\" USING A RETURNING R.",
         "STMT_INVOKE(OBJ,\"M\",EX_CALL_USING(EX_CALL_PARAM_LIST(EX_CALL_PARAM(null,A,null,EX_PT_BY_REFERENCE))),R)"},
        {"INVOKE OBJ \"M\".", "STMT_INVOKE(OBJ,\"M\",null,null)"},
        {"ENTRY \"E\" USING A B.", "STMT_ENTRY(\"E\",null,null,IDENT_LIST(A,B),null)"},
        {"ENTRY \"E\" CONV WITH LNK LINKAGE GIVING R.",
         "STMT_ENTRY(\"E\",CONV,EX_CALL_WITH_LINKAGE(LNK),null,R)"},
    };
    for (const Case& c : cases) Check(c, DIAL_MF);
}

// The GIVING argument of EXIT PROGRAM, GOBACK and STOP RUN.
TEST(StmtControl, ExitGiving) {
    const Case cases[] = {
        {"EXIT PROGRAM GIVING R.", "STMT_EXIT_PROGRAM(EX_EXIT_GIVING(EX_EXIT_ARG(R,-)))"},
        {"EXIT PROGRAM RETURNING ADDRESS OF P.",
         "STMT_EXIT_PROGRAM(EX_EXIT_GIVING(EX_EXIT_ARG(SR_ADDRESS_OF(P),-)))"},
        {"GOBACK RETURNING 0 SIZE IS 4.", "STMT_GOBACK(EX_EXIT_GIVING(EX_EXIT_ARG(0,4)))"},
        {"GOBACK GIVING \"X\".", "STMT_GOBACK(EX_EXIT_GIVING(EX_EXIT_ARG(\"X\",null)))"},
        {"GOBACK.", "STMT_GOBACK(null)"},
        {"STOP RUN GIVING ADDRESS OF P.",
         "STMT_STOP(EX_RUN,null,EX_EXIT_GIVING(EX_EXIT_ARG(SR_ADDRESS_OF(P),-)))"},
        {"STOP RUN RETURNING 8 SIZE 2.", "STMT_STOP(EX_RUN,null,EX_EXIT_GIVING(EX_EXIT_ARG(8,2)))"},
    };
    for (const Case& c : cases) Check(c, DIAL_MF);
}

// GIVING ADDRESS OF: the keywords' tokens are the SR_ADDRESS_OF node's own.
TEST(StmtControl, ExitGivingAddressOfTokensGoToTheInnerNode) {
    GrammarRun run;
    VString error;
    run.parser().primaryDialect = DIAL_MF;
    ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
    run.ParseStatements("EXIT PROGRAM GIVING ADDRESS OF P.");
    ASSERT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    DovExpr* address = vemlo_grammar_test::FindFirst(run.root(), SR_ADDRESS_OF);
    ASSERT_NE(address, nullptr);
    // The words a node holds itself: in front of its slots and at its end.
    auto own_words = [](DovExpr* node) {
        std::vector<std::string> words;
        auto add = [&](const DovTokenList& list) {
            for (const DovToken* t : list)
                if (t && t->code != SEP_SPACE) words.push_back(DovTokenText(*t).CStr());
        };
        for (int i = 0; i < node->NumArgs(); ++i) add(node->ArgSlots(i)->tokens);
        add(node->Tokens());
        return words;
    };
    EXPECT_EQ(own_words(address), (std::vector<std::string>{"ADDRESS", "OF"}));
    EXPECT_EQ(own_words(vemlo_grammar_test::FindFirst(run.root(), EX_EXIT_ARG)), std::vector<std::string>{});
    EXPECT_EQ(run.TokenDifference(), "");
}

// ON counter [AND EVERY n] [UNTIL n] statements [ELSE statements]; the ELSE
// binds to the nearest IF or ON.
TEST(StmtControl, OnStatement) {
    const Case cases[] = {
        {"ON 2 AND EVERY 3 UNTIL 10 MOVE 1 TO A ELSE MOVE 2 TO A.",
         "STMT_ON(2,EX_ON_ANDEVERY(3),EX_ON_UNTIL(10),STMT_LIST(STMT_MOVE(1,EX_LIST(A))),"
         "EX_ON_ELSE(STMT_LIST(STMT_MOVE(2,EX_LIST(A)))))"},
        {"ON N NEXT SENTENCE.", "STMT_ON(N,null,null,STMT_LIST(STMT_NEXT_SENTENCE),null)"},
        {"ON 1 IF A = 1 NEXT SENTENCE ELSE STOP RUN.",
         "STMT_ON(1,null,null,STMT_LIST(STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_NEXT_SENTENCE),"
         "EX_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)),null)"},
        {"ON 1 IF A = 1 NEXT SENTENCE END-IF OTHERWISE STOP RUN.",
         "STMT_ON(1,null,null,STMT_LIST(STMT_IF(CMP_EQ(A,1),STMT_LIST(STMT_NEXT_SENTENCE),null,EX_END_IF)),"
         "EX_ON_ELSE(STMT_LIST(STMT_STOP(EX_RUN,null,null))))"},
    };
    // OTHERWISE is a keyword of the old IBM dialects and of mf.
    for (const Case& c : cases) Check(c, DIAL_MF);
}

// NOTE (old IBM dialects): the text up to the period becomes comment lines
// of the STMT_NOTE node (one per source line, the words run together), in
// place of the NOTE keyword and its end token.
TEST(StmtControl, NoteKeepsItsTextAsComments) {
    GrammarRun run;
    VString error;
    run.parser().primaryDialect = DIAL_OSVS;
    ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
    run.ParseStatements("NOTE THIS IS\n  MORE TEXT.\nMOVE 1 TO A.");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.StatementShape(0), "STMT_NOTE");
    EXPECT_EQ(run.StatementShape(1), "STMT_MOVE(1,EX_LIST(A))");
    DovExpr* note = vemlo_grammar_test::FindFirst(run.root(), STMT_NOTE);
    ASSERT_NE(note, nullptr);
    std::vector<std::string> comments;
    for (const DovToken* t : note->Tokens()) {
        ASSERT_NE(t, nullptr);
        EXPECT_FALSE(t->code == RW_NOTE || t->code == TK_END_NOTE);
        if (t->code == CM_PERSISTENT) comments.push_back(t->image.CStr());
    }
    EXPECT_EQ(comments, (std::vector<std::string>{"* NOTETHISIS", "* MORETEXT"}));
}

// GO TO with several names needs DEPENDING: reported, and the list kept.
TEST(StmtControl, GoToWithoutDependingReported) {
    GrammarRun run;
    run.ParseStatements("GO TO P-1 P-2.");
    EXPECT_EQ(run.StatementShape(0), "STMT_GOTO(EX_LIST(P-1,P-2))");
    EXPECT_EQ(run.Messages(),
              std::vector<std::string>{"ERROR: More than one procedure name in GO TO without DEPENDING"});
    EXPECT_EQ(run.TokenDifference(), "");

    GrammarRun one;
    one.ParseStatements("GO TO P-1.");
    EXPECT_EQ(one.Messages(), std::vector<std::string>{});
}

// ENTER leaves no statement, only its warning.
TEST(StmtControl, EnterIsIgnored) {
    GrammarRun run;
    run.ParseStatements("ENTER COBOL CONTINUE.");
    EXPECT_EQ(run.StatementShape(0), "STMT_CONTINUE");
    EXPECT_EQ(run.StatementShape(1), "(none)");
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"WARNING: ENTER statement is ignored"});
    // Its words stay in the tree, in front of the next statement's.
    EXPECT_EQ(run.TokenDifference(), "");

    for (const char* text : {"CONTINUE ENTER COBOL.", "ENTER ASM ROUTINE CONTINUE.", "ENTER COBOL."}) {
        SCOPED_TRACE(text);
        GrammarRun more;
        more.ParseStatements(text);
        EXPECT_EQ(more.SyntaxErrors(), 0) << more.MessageText();
        EXPECT_EQ(more.TokenDifference(), "");
    }
}

// USE outside DECLARATIVES warns and keeps its node; inside it is silent.
TEST(StmtControl, UseStatements) {
    struct UseCase {
        const char* source;
        const char* shape;
        const char* warning;
    } cases[] = {
        {"USE AFTER STANDARD ERROR PROCEDURE ON F.", "STMT_USE_AFTER(null,IOCX_ERROR,EX_LIST(F),null)",
         "WARNING: USE AFTER PROCEDURE statement can appear in DECLARATIVES only"},
        {"USE GLOBAL AFTER EXCEPTION PROCEDURE INPUT.", "STMT_USE_AFTER(EX_USE_GLOBAL,IOCX_ERROR,IOCX_INPUT,null)",
         "WARNING: USE AFTER PROCEDURE statement can appear in DECLARATIVES only"},
        {"USE BEFORE REPORTING R.", "STMT_USE_BEFORE_REPORTING(null,R)",
         "WARNING: USE BEFORE REPORTING statement should appear in DECLARATIVES only"},
        {"USE AFTER ERROR PROCEDURE ON F G GIVING S1 S2.",
         "STMT_USE_AFTER(null,IOCX_ERROR,EX_LIST(F,G),EX_USE_GIVING(EX_USE_ARG(S1,S2)))",
         "WARNING: USE AFTER PROCEDURE statement can appear in DECLARATIVES only"},
        {"USE AFTER ERROR PROCEDURE OUTPUT GIVING S1.",
         "STMT_USE_AFTER(null,IOCX_ERROR,IOCX_OUTPUT,EX_USE_GIVING(EX_USE_ARG(S1,-)))",
         "WARNING: USE AFTER PROCEDURE statement can appear in DECLARATIVES only"},
        {"USE FOR DEBUGGING ON ALL PROCEDURES P-1.",
         "STMT_USE_FOR_DEBUGGING(EX_LIST(EX_DEBUG_ALL_PROCEDURES,P-1))",
         "WARNING: USE FOR DEBUGGING statement should appear in DECLARATIVES only"},
    };
    for (const UseCase& c : cases) {
        SCOPED_TRACE(c.source);
        GrammarRun run;
        run.ParseStatements(Wrap(c.source));
        EXPECT_EQ(run.StatementShape(0), c.shape);
        EXPECT_EQ(run.Messages(), std::vector<std::string>{c.warning});
        EXPECT_EQ(run.TokenDifference(), "");
    }

    GrammarRun inside;
    inside.ParseText(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. T.\n"
        "       PROCEDURE DIVISION.\n"
        "       DECLARATIVES.\n"
        "       D-1 SECTION.\n"
        "           USE AFTER STANDARD ERROR PROCEDURE ON F.\n"
        "       END DECLARATIVES.\n"
        "       P-0.\n"
        "           STOP RUN.\n");
    EXPECT_EQ(inside.Messages(), std::vector<std::string>{});
    EXPECT_EQ(inside.SyntaxErrors(), 0);
    EXPECT_EQ(inside.ShapeOf(STMT_USE_AFTER), "STMT_USE_AFTER(null,IOCX_ERROR,EX_LIST(F),null)");
}

}  // namespace
