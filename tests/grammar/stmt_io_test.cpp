// Input-output statements: golden shapes of OPEN, CLOSE, READ, WRITE,
// REWRITE, DELETE, START, RETURN, RELEASE, SORT, MERGE, the report writer
// and communication statements, ACCEPT and DISPLAY items, and the choice
// between the AT and INVALID KEY phrases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"
#include "tests/grammar/stmt_cases.h"

namespace {

using vemlo_grammar_test::GrammarRun;
using vemlo_stmt_test::Case;
using vemlo_stmt_test::CheckCases;
using vemlo_stmt_test::Wrap;

TEST(StmtIo, Files) {
    const Case cases[] = {
        {"OPEN INPUT F G OUTPUT H I-O J EXTEND K.",
         "STMT_OPEN(EX_LIST(EX_OPEN_CLAUSE(null,IOCX_INPUT,EX_LIST(EX_OPEN_FILE_NAME(F,null),EX_OPEN_FILE_NAME(G,null))),"
         "EX_OPEN_CLAUSE(null,IOCX_OUTPUT,EX_LIST(EX_OPEN_FILE_NAME(H,null))),EX_OPEN_CLAUSE(null,IOCX_I_O,EX_LIST("
         "EX_OPEN_FILE_NAME(J,null))),EX_OPEN_CLAUSE(null,IOCX_EXTEND,EX_LIST(EX_OPEN_FILE_NAME(K,null)))))"},
        {"OPEN INPUT F REVERSED OUTPUT G WITH NO REWIND.",
         "STMT_OPEN(EX_LIST(EX_OPEN_CLAUSE(null,IOCX_INPUT,EX_LIST(EX_OPEN_FILE_NAME(F,IOCX_REVERSED))),"
         "EX_OPEN_CLAUSE(null,IOCX_OUTPUT,EX_LIST(EX_OPEN_FILE_NAME(G,IOCX_WITH_NO_REWIND)))))"},
        {"CLOSE F WITH LOCK G REEL FOR REMOVAL H.",
         "STMT_CLOSE(EX_LIST(EX_CLOSE_ITEM(F,null,IOCX_WITH_LOCK),EX_CLOSE_ITEM(G,IOCX_REEL,IOCX_FOR_REMOVAL),"
         "EX_CLOSE_ITEM(H,null,null)))"},
        {"READ F NEXT RECORD INTO X AT END CONTINUE NOT AT END STOP RUN END-READ.",
         "STMT_READ(F,EX_READ_NEXT,null,EX_READ_INTO(X),null,null,null,EX_ON_AT_END(STMT_LIST(STMT_CONTINUE)),"
         "EX_NOT_ON_AT_END(STMT_LIST(STMT_STOP(EX_RUN,null,null))),EX_END_READ)"},
        {"READ F KEY IS K INVALID KEY CONTINUE NOT INVALID KEY STOP RUN.",
         "STMT_READ(F,null,null,null,null,EX_READ_KEY_IS(REC_KEY_USE(K)),null,EX_ON_INVALID_KEY(STMT_LIST("
         "STMT_CONTINUE)),EX_NOT_ON_INVALID_KEY(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)"},
        // NOT INVALID KEY after AT END: the word after NOT decides.
        {"READ F AT END CONTINUE NOT INVALID KEY STOP RUN.",
         "STMT_READ(F,null,null,null,null,null,null,EX_ON_AT_END(STMT_LIST(STMT_CONTINUE)),"
         "EX_NOT_ON_INVALID_KEY(STMT_LIST(STMT_STOP(EX_RUN,null,null))),null)"},
        {"WRITE R FROM X AFTER ADVANCING PAGE AT END-OF-PAGE CONTINUE NOT AT EOP STOP RUN END-WRITE.",
         "STMT_WRITE(R,EX_WRITE_FROM(X),IOCX_ADVANCING(EX_AFTER,EX_PAGE),null,EX_ON_AT_EOP(STMT_LIST(STMT_CONTINUE)),"
         "EX_NOT_ON_AT_EOP(STMT_LIST(STMT_STOP(EX_RUN,null,null))),EX_END_WRITE)"},
        {"WRITE R BEFORE 2 LINES.", "STMT_WRITE(R,null,IOCX_ADVANCING(EX_BEFORE,EX_LINES(2)),null,null,null,null)"},
        {"WRITE R INVALID KEY CONTINUE NOT INVALID KEY STOP RUN.",
         "STMT_WRITE(R,null,null,null,EX_ON_INVALID_KEY(STMT_LIST(STMT_CONTINUE)),EX_NOT_ON_INVALID_KEY(STMT_LIST("
         "STMT_STOP(EX_RUN,null,null))),null)"},
        {"REWRITE R INVALID KEY CONTINUE END-REWRITE.",
         "STMT_REWRITE(R,null,null,EX_ON_INVALID_KEY(STMT_LIST(STMT_CONTINUE)),null,EX_END_REWRITE)"},
        {"DELETE FILE F G.", "STMT_DELETE_FILE(EX_LIST(F,G))"},
        {"DELETE F RECORD INVALID CONTINUE.", "STMT_DELETE(F,null,EX_ON_INVALID_KEY(STMT_LIST(STMT_CONTINUE)),null,null)"},
        {"START F KEY IS NOT LESS THAN K INVALID KEY CONTINUE END-START.",
         "STMT_START(F,CMP_NOT_LT(START_KEY,REC_KEY_USE(K)),null,EX_ON_INVALID_KEY(STMT_LIST(STMT_CONTINUE)),null,"
         "EX_END_START)"},
        {"START F KEY > K.", "STMT_START(F,CMP_GT(START_KEY,REC_KEY_USE(K)),null,null,null,null)"},
        {"RETURN S INTO X AT END CONTINUE END-RETURN.",
         "STMT_RETURN(S,EX_READ_INTO(X),EX_ON_AT_END(STMT_LIST(STMT_CONTINUE)),null,EX_END_RETURN)"},
        {"RELEASE R FROM X.", "STMT_RELEASE(R,EX_RELEASE_FROM(X))"},
    };
    CheckCases(cases);
}

TEST(StmtIo, SortMergeReportsCommunication) {
    const Case cases[] = {
        {"SORT S ON ASCENDING KEY A B DESCENDING C WITH DUPLICATES IN ORDER COLLATING SEQUENCE IS ALPHA "
         "INPUT PROCEDURE IS P-1 THRU P-2 GIVING F.",
         "STMT_SORT(S,EX_LIST(EX_SORT_KEY(EX_ASCENDING,EX_LIST(A,B)),EX_SORT_KEY(EX_DESCENDING,EX_LIST(C))),"
         "EX_WITH_DUPS_IN_ORDER,EX_SORT_COLL_SEQCE(ALPHA),EX_INPUT_PROC_IS(EX_PROC_RANGE(P-1,P-2)),"
         "EX_GIVING(EX_LIST(F)))"},
        {"MERGE S ON ASCENDING KEY A USING F G OUTPUT PROCEDURE P-1.",
         "STMT_MERGE(S,EX_LIST(EX_SORT_KEY(EX_ASCENDING,EX_LIST(A))),null,EX_SORT_USING(EX_LIST(F,G)),"
         "EX_OUTPUT_PROC_IS(EX_PROC_RANGE(P-1,-)))"},
        {"GENERATE R.", "STMT_GENERATE(R)"},
        {"INITIATE R1 R2.", "STMT_INITIATE(EX_LIST(R1,R2))"},
        {"TERMINATE R1.", "STMT_TERMINATE(EX_LIST(R1))"},
        {"SUPPRESS PRINTING.", "STMT_SUPPRESS_PRINTING"},
        {"SEND CD1 FROM X WITH EMI AFTER ADVANCING 2 LINES.",
         "STMT_SEND(CD1,X,EX_SEND_EMI,IOCX_ADVANCING(EX_AFTER,EX_LINES(2)),null)"},
        {"RECEIVE CD1 MESSAGE INTO X NO DATA CONTINUE.",
         "STMT_RECEIVE(CD1,EX_RECV_MESSAGE,X,EX_ON_NO_DATA(STMT_LIST(STMT_CONTINUE)),null,null)"},
        {"ENABLE INPUT TERMINAL CD1 WITH KEY \"PW\".", "STMT_ENABLE(EX_ABLE_INPUT_TERMINAL,CD1,\"PW\")"},
        {"DISABLE OUTPUT CD1 KEY K.", "STMT_DISABLE(EX_ABLE_OUTPUT,CD1,K)"},
        {"PURGE CD1.", "STMT_PURGE(CD1)"},
        {"ACCEPT CD1 MESSAGE COUNT.", "STMT_ACCEPT_MSG_COUNT(CD1)"},
    };
    CheckCases(cases);
}

// The items are collected as screen items and turned into their plain
// forms when the program is finished.
TEST(StmtIo, AcceptDisplayItems) {
    const Case cases[] = {
        {"ACCEPT X FROM DATE.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_DATE(null)),-)),null,null,null)"},
        {"ACCEPT X FROM DEV.", "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(DEV),-)),null,null,null)"},
        {"DISPLAY \"A\" X UPON C.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_ANSI_ITEM(\"A\",-,-,-),DISPLAY_FUNC_ITEM(X,DSPL_UPON(C),"
         "-)),null,null,null)"},
        {"DISPLAY \"A\" UNIT 3.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_FUNC_ITEM(\"A\",DSPL_UNIT(3),-)),null,null,null)"},
        {"DISPLAY \"A\" NO ADVANCING.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_ANSI_ITEM(\"A\",-,-,DSPL_NO_ADVANCING)),null,null,null)"},
    };
    CheckCases(cases);
}

// A second AUTO in one ACCEPT item is refused by the screen holder; the
// first stays. AUTO is a screen word, so the snippet is read as mf.
TEST(StmtIo, AcceptWithAutoTwice) {
    GrammarRun run;
    VString error;
    run.parser().primaryDialect = DIAL_MF;
    ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
    run.ParseStatements(Wrap("ACCEPT X WITH AUTO AUTO."));
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    std::vector<DovExpr*> items = vemlo_grammar_test::FindAll(run.root(), ACCEPT_SCREEN_ITEM);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(vemlo_grammar_test::Shape(items[0]->Args(22)), "ACCP_AUTO");
    EXPECT_EQ(run.Messages(),
              std::vector<std::string>{"ERROR: Clause Auto is set more than once. Ignoring second instance."});
    EXPECT_EQ(run.TokenDifference(), "");
}

// READ with both AT END and INVALID KEY: reported, AT END kept.
TEST(StmtIo, ReadWithAtEndAndInvalidKey) {
    GrammarRun run;
    run.ParseStatements(Wrap("READ F AT END CONTINUE INVALID KEY STOP RUN."));
    EXPECT_EQ(run.StatementShape(0),
              "STMT_READ(F,null,null,null,null,null,null,EX_ON_AT_END(STMT_LIST(STMT_CONTINUE)),null,null)");
    EXPECT_EQ(run.Messages(), std::vector<std::string>{"ERROR: Both AT AND and INVALID KEY used"});
    EXPECT_EQ(run.TokenDifference(), "");

    GrammarRun write;
    write.ParseStatements(Wrap("WRITE R AT EOP CONTINUE INVALID KEY STOP RUN."));
    EXPECT_EQ(write.StatementShape(0),
              "STMT_WRITE(R,null,null,null,EX_ON_AT_EOP(STMT_LIST(STMT_CONTINUE)),null,null)");
    EXPECT_EQ(write.Messages(), std::vector<std::string>{"ERROR: Both AT END-OF-PAGE and INVALID KEY used"});
    EXPECT_EQ(write.TokenDifference(), "");
}

// An item left unfinished by a syntax error does not hand its tokens to
// the first item of the next parse.
TEST(StmtIo, UnfinishedItemDoesNotLeakIntoTheNextParse) {
    {
        GrammarRun broken;
        broken.ParseStatements("ACCEPT X FROM .");
        EXPECT_GT(broken.SyntaxErrors(), 0);
    }
    GrammarRun run;
    run.ParseStatements("ACCEPT X FROM DEV.");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace
