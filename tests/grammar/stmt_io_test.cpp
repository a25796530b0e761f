// Input-output statements: golden shapes of OPEN, CLOSE, READ, WRITE,
// REWRITE, DELETE, START, RETURN, RELEASE, SORT, MERGE, the report writer
// and communication statements, ACCEPT and DISPLAY items, and the choice
// between the AT and INVALID KEY phrases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexer/keywords.h"
#include "tests/grammar/grammar_fixture.h"
#include "tests/grammar/stmt_cases.h"
#include "tree/named.h"

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

// UNDELETE shares UNLOCK's rule; each keeps its own statement and token.
TEST(StmtIo, UnlockAndUndelete) {
    const Case cases[] = {
        {"UNLOCK F RECORD.", "STMT_UNLOCK(F)"},
        {"UNDELETE F RECORD.", "STMT_UNDELETE(F)"},
        {"UNDELETE F. UNLOCK G.", "STMT_UNDELETE(F)"},
    };
    CheckCases(cases, DIAL_FSC);

    auto run_fsc = [](const char* text, vemlo_grammar_test::GrammarRun& run) {
        VString error;
        run.parser().primaryDialect = DIAL_FSC;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
        run.ParseStatements(text);
    };
    vemlo_grammar_test::GrammarRun two;
    run_fsc("UNDELETE F. UNLOCK G.", two);
    EXPECT_EQ(two.StatementShape(1), "STMT_UNLOCK(G)");
    // Out of place, the word is reported as itself.
    vemlo_grammar_test::GrammarRun misplaced;
    run_fsc("MOVE A TO UNDELETE.", misplaced);
    EXPECT_NE(misplaced.MessageText().find("keyword UNDELETE"), std::string::npos) << misplaced.MessageText();
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
        {"DISPLAY \"A\" X UPON C WITH NO ADVANCING.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_ANSI_ITEM(\"A\",-,-,-),DISPLAY_ANSI_ITEM(X,DSPL_UPON(C),-,"
         "DSPL_NO_ADVANCING)),null,null,null)"},
    };
    CheckCases(cases);
}

// After DISPLAY ... UPON and ACCEPT ... FROM a device keyword gives its IOF_
// node in every dialect that reserves the word, and a user word the use of a
// mnemonic-name; the finished item takes the form its device asks for
// (CONSOLE the plain item, CRT the screen item, any other device the device
// item).
TEST(StmtIo, DevicesAfterUponAndFrom) {
    struct Device {
        const char* word;
        const char* node;
        DovOper display;  // the DISPLAY item's form when the word is reserved
        DovOper accept;   // the ACCEPT item's
    };
    constexpr DovOper kDisplayFunc = DISPLAY_FUNC_ITEM, kAcceptFunc = ACCEPT_FUNC_ITEM;
    const Device devices[] = {
        {"TAB", "IOF_TAB", kDisplayFunc, kAcceptFunc},
        {"PRINTER", "IOF_PRINTER", kDisplayFunc, kAcceptFunc},
        {"FORMFEED", "IOF_FORMFEED", kDisplayFunc, kAcceptFunc},
        {"CRT", "IOF_CRT", DISPLAY_SCREEN_ITEM, ACCEPT_SCREEN_ITEM},
        {"CRT-UNDER", "IOF_CRT_UNDER", DISPLAY_SCREEN_ITEM, kAcceptFunc},
        {"CONSOLE", "IOF_CONSOLE", DISPLAY_ANSI_ITEM, ACCEPT_ANSI_ITEM},
        {"COMMAND-LINE", "IOF_COMMAND_LINE", kDisplayFunc, kAcceptFunc},
        {"ARGUMENT-NUMBER", "IOF_ARG_NUMBER", kDisplayFunc, kAcceptFunc},
        {"ARGUMENT-VALUE", "IOF_ARG_VALUE", kDisplayFunc, kAcceptFunc},
        {"ENVIRONMENT-NAME", "IOF_ENV_NAME", kDisplayFunc, kAcceptFunc},
        {"ENVIRONMENT-VALUE", "IOF_ENV_VALUE", kDisplayFunc, kAcceptFunc},
        {"SYSIN", "IOF_SYSIN", kDisplayFunc, kAcceptFunc},
        {"SYSIPT", "IOF_SYSIN", kDisplayFunc, kAcceptFunc},
        {"SYSOUT", "IOF_SYSOUT", kDisplayFunc, kAcceptFunc},
        {"SYSLIST", "IOF_SYSOUT", kDisplayFunc, kAcceptFunc},
        {"SYSLST", "IOF_SYSOUT", kDisplayFunc, kAcceptFunc},
        {"SYSPCH", "IOF_SYSPUNCH", kDisplayFunc, kAcceptFunc},
        {"SYSPUNCH", "IOF_SYSPUNCH", kDisplayFunc, kAcceptFunc},
        {"C01", "IOF_C01", kDisplayFunc, kAcceptFunc},
        {"C02", "IOF_C02", kDisplayFunc, kAcceptFunc},
        {"C03", "IOF_C03", kDisplayFunc, kAcceptFunc},
        {"C04", "IOF_C04", kDisplayFunc, kAcceptFunc},
        {"C05", "IOF_C05", kDisplayFunc, kAcceptFunc},
        {"C06", "IOF_C06", kDisplayFunc, kAcceptFunc},
        {"C07", "IOF_C07", kDisplayFunc, kAcceptFunc},
        {"C08", "IOF_C08", kDisplayFunc, kAcceptFunc},
        {"C09", "IOF_C09", kDisplayFunc, kAcceptFunc},
        {"C10", "IOF_C010", kDisplayFunc, kAcceptFunc},
        {"C11", "IOF_C011", kDisplayFunc, kAcceptFunc},
        {"C12", "IOF_C012", kDisplayFunc, kAcceptFunc},
        {"CSP", "IOF_CSP", kDisplayFunc, kAcceptFunc},
        {"S01", "IOF_S01", kDisplayFunc, kAcceptFunc},
        {"S02", "IOF_S02", kDisplayFunc, kAcceptFunc},
        {"S03", "IOF_S03", kDisplayFunc, kAcceptFunc},
        {"S04", "IOF_S04", kDisplayFunc, kAcceptFunc},
        {"S05", "IOF_S05", kDisplayFunc, kAcceptFunc},
    };
    // Every primary dialect the grammar parses.
    const int dialects[] = {DIAL_ANSI74, DIAL_ANSI85, DIAL_OSVS, DIAL_VSII,   DIAL_SAA,    DIAL_XOPEN,
                            DIAL_MF,     DIAL_MS,     DIAL_RM,   DIAL_RM85,   DIAL_DOSVS,  DIAL_UNIVAC,
                            DIAL_FSC,    DIAL_NET,    DIAL_FSCNET, DIAL_ICOBOL, DIAL_ACU};
    for (const Device& d : devices) {
        bool reservedSomewhere = false, userWordSomewhere = false;
        for (int dialect : dialects) {
            SCOPED_TRACE(std::string(d.word) + " under " + DovDialectNames[dialect].CStr());
            GrammarRun run;
            run.parser().primaryDialect = dialect;
            VString error;
            ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
            run.ParseStatements(Wrap(std::string("DISPLAY X UPON ") + d.word + ". ACCEPT X FROM " + d.word + "."));
            ASSERT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
            EXPECT_EQ(run.TokenDifference(), "");
            // The lexer reserves these words inside ACCEPT and DISPLAY with its
            // extra keywords on.
            const bool reserved = DovReservedKeyword(d.word, run.parser().dials.word, true, true) != nullptr;
            (reserved ? reservedSomewhere : userWordSomewhere) = true;
            for (DovOper phrase : {DSPL_UPON, ACCP_FROM}) {
                DovExpr* node = vemlo_grammar_test::FindFirst(run.root(), phrase);
                ASSERT_NE(node, nullptr);
                DovExpr* device = node->Args(0);
                ASSERT_NE(device, nullptr);
                if (reserved) {
                    EXPECT_EQ(vemlo_grammar_test::Shape(device), d.node);
                } else {
                    ASSERT_EQ(device->Oper(), NAMED_OBJ_USE);
                    EXPECT_EQ(static_cast<DovNamedObjUse*>(device)->Category(), NC_MNEMONIC_NAME);
                }
            }
            EXPECT_NE(vemlo_grammar_test::FindFirst(run.root(), reserved ? d.display : kDisplayFunc), nullptr);
            EXPECT_NE(vemlo_grammar_test::FindFirst(run.root(), reserved ? d.accept : kAcceptFunc), nullptr);
        }
        EXPECT_TRUE(reservedSomewhere) << d.word;
        EXPECT_TRUE(userWordSomewhere) << d.word;
    }
}

// UPON a mnemonic name WITH NO ADVANCING: both phrases stay, without a
// message about a lost clause.
TEST(StmtIo, DisplayUponWithNoAdvancingLosesNothing) {
    GrammarRun run;
    run.ParseStatements(Wrap("DISPLAY 98765 UPON OUT-DEVICE WITH NO ADVANCING."));
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.MessageText(), "");
    EXPECT_EQ(run.StatementShape(0), "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_ANSI_ITEM(98765,DSPL_UPON(OUT-DEVICE),-,"
                                     "DSPL_NO_ADVANCING)),null,null,null)");
}

// OPEN with a locking mode before the open mode (mf words).
TEST(StmtIo, OpenWithLockingMode) {
    const Case cases[] = {
        {"OPEN EXCLUSIVE I-O F INPUT G.",
         "STMT_OPEN(EX_LIST(EX_OPEN_CLAUSE(EX_OPEN_LOCKING(FCX_LOCK_MODE_WITH(FCX_EXCLUSIVE,null)),IOCX_I_O,"
         "EX_LIST(EX_OPEN_FILE_NAME(F,null))),EX_OPEN_CLAUSE(null,IOCX_INPUT,EX_LIST(EX_OPEN_FILE_NAME(G,null)))))"},
        {"OPEN MANUAL WITH LOCK ON MULTIPLE RECORD I-O F.",
         "STMT_OPEN(EX_LIST(EX_OPEN_CLAUSE(EX_OPEN_LOCKING(FCX_LOCK_MODE_WITH(FCX_MANUAL,FCX_LOCK_ON_MULT_RECS)),"
         "IOCX_I_O,EX_LIST(EX_OPEN_FILE_NAME(F,null)))))"},
    };
    CheckCases(cases, DIAL_MF);
}

// CLOSE ... WITH DISP (a disposition of the old IBM dialects).
TEST(StmtIo, CloseWithDisp) {
    const Case cases[] = {
        {"CLOSE F WITH DISP G.", "STMT_CLOSE(EX_LIST(EX_CLOSE_ITEM(F,null,IOCX_WITH_DISP),EX_CLOSE_ITEM(G,null,null)))"},
    };
    CheckCases(cases, DIAL_OSVS);
}

// START with FIRST / LAST KEY, WITH SIZE and REVERSED ORDER.
TEST(StmtIo, StartFirstLastSizeReversed) {
    const Case cases[] = {
        {"START F FIRST KEY IS K WITH SIZE 3 INVALID KEY CONTINUE.",
         "STMT_START(F,START_KEY_FIRST_LAST(START_KEY_FIRST,REC_KEY_USE(K)),EX_START_WITH_SIZE(3),"
         "EX_ON_INVALID_KEY(STMT_LIST(STMT_CONTINUE)),null,null)"},
        {"START F LAST KEY K REVERSED ORDER.",
         "STMT_START(F,START_KEY_FIRST_LAST(START_KEY_LAST,REC_KEY_USE(K)),EX_START_WITH_REV_ORDER,null,null,null)"},
        {"START F KEY >= K WITH REVERSED END-START.",
         "STMT_START(F,CMP_GE(START_KEY,REC_KEY_USE(K)),EX_START_WITH_REV_ORDER,null,null,EX_END_START)"},
    };
    CheckCases(cases);
}

// The ACCEPT sources, the exception phrases with ESCAPE and the key's
// identifier, and each phrase of an ACCEPT or DISPLAY item in its clause.
// The words are keywords of mf or of the acu family.
TEST(StmtIo, AcceptDisplayPhrases) {
    const Case mf[] = {
        {"ACCEPT X FROM ENVIRONMENT.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_ENVIRONMENT),-)),null,null,null)"},
        {"ACCEPT X FROM ESCAPE KEY.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_ESC_KEY),-)),null,null,null)"},
        {"ACCEPT X FROM EXCEPTION STATUS.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_EXC_STATUS),-)),null,null,null)"},
        {"ACCEPT X FROM LINE NUMBER.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_LINE_NUMBER),-)),null,null,null)"},
        {"ACCEPT X ON EXCEPTION K CONTINUE NOT ON EXCEPTION STOP RUN END-ACCEPT.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_ANSI_ITEM(X,-,-)),ON_ACCEPT_EXCEPTION(K,STMT_LIST(STMT_CONTINUE)),"
         "NOT_ON_ACCEPT_EXCEPTION(null,STMT_LIST(STMT_STOP(EX_RUN,null,null))),EX_END_ACCEPT)"},
        {"ACCEPT X ON ESCAPE KEY CONTINUE.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_ANSI_ITEM(X,-,-)),ON_ACCEPT_EXCEPTION(null,STMT_LIST(STMT_CONTINUE)),"
         "null,null)"},
        {"ACCEPT X AT 0101 WITH PROMPT IS \"_\" LEFT-JUSTIFY SPACE-FILL TAB NO BEEP.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(null,X,-,-,DSPL_AT(0101),-,-,DSPL_WITH,ACCP_NO_BEEP,-,-,-,-,"
         "-,-,-,-,-,-,-,-,ACCP_PROMPT(\"_\"),-,-,-,-,-,ACCP_LEFT_JUSTIFY,-,-,-,-,ACCP_TAB,-,-,ACCP_SPACE_FILL,-,-,-)),"
         "null,null,null)"},
        {"ACCEPT X LINE 3 COL 4 MODE IS BLOCK BLINK BELL REVERSE-VIDEO SIZE 5 FOREGROUND-COLOR 2 CONTROL C AUTO "
         "REQUIRED.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(null,X,DSPL_LINE_NUMBER(3),DSPL_COLUMN_NUMBER(4),-,-,"
         "DSPL_MODE_IS_BLOCK,-,DSPL_BELL,DSPL_BLINK,-,-,-,-,-,DSPL_REVERSE_VIDEO,DSPL_SIZE(5),-,"
         "DSPL_FOREGROUND_COLOR(2),-,DSPL_CONTROL(C),-,ACCP_AUTO,-,ACCP_REQUIRED,-,-,-,-,-,-,-,-,-,-,-,-,-,-)),"
         "null,null,null)"},
        {"DISPLAY \"A\" AT 0101 BLANK SCREEN ERASE EOL HIGHLIGHT UNDERLINE BACKGROUND-COLOR 3.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_SCREEN_ITEM(null,\"A\",-,-,DSPL_AT(0101),-,-,-,-,-,DSPL_ERASE("
         "DSPL_EOL),-,DSPL_HIGHLIGHT,-,-,-,-,DSPL_UNDERLINE,-,DSPL_BACKGROUND_COLOR(3),-,-,-,-,-,-,-,-,-,"
         "DSPL_BLANK(DSPL_SCREEN),-,-)),null,null,null)"},
        // POSITION ends with its operand: X is the next item.
        {"DISPLAY \"A\" POSITION 5 X UPON C.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_SCREEN_ITEM(null,\"A\",-,-,DSPL_POSITION(5),-,-,-,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-),DISPLAY_FUNC_ITEM(X,DSPL_UPON(C),-)),null,null,null)"},
    };
    CheckCases(mf, DIAL_MF);
    // The position phrase before the operand; after a literal, a
    // parenthesis opens the next item's.
    const Case ms[] = {
        {"DISPLAY (1, 1) ERASE.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_SCREEN_ITEM(EX_ADIS_MS_POSN(1,1),DSPL_MS_ERASE,-,-,-,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)),null,null,null)"},
        {"DISPLAY (L + 1, C) \"A\" (L - 2, 5) X.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_SCREEN_ITEM(EX_ADIS_MS_POSN(OP_ADD_IX(L,1),C),\"A\",-,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-),DISPLAY_SCREEN_ITEM(EX_ADIS_MS_POSN(OP_SUB_IX(L,2),5),X,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)),null,null,null)"},
        {"ACCEPT (3, 10) X.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(EX_ADIS_MS_POSN(3,10),X,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)),null,null,null)"},
        {"ACCEPT CD1 MESSAGE COUNT.", "STMT_ACCEPT_MSG_COUNT(CD1)"},
        // Several items. A parenthesis right after an identifier is read
        // as its subscripts (the shift of the subscript trial), not as the
        // next item's position.
        {"ACCEPT (1, 1) X Y.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(EX_ADIS_MS_POSN(1,1),X,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-),ACCEPT_ANSI_ITEM(Y,-,-)),null,null,null)"},
        {"ACCEPT (1, 1) X (2, 1) Y.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(EX_ADIS_MS_POSN(1,1),TABLE_ELT(X,SUBSCRIPT_LIST(2,1)),-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-),ACCEPT_ANSI_ITEM(Y,-,-)),null,null,null)"},
    };
    CheckCases(ms, DIAL_MS);
    const Case acu[] = {
        {"ACCEPT X ECHO CONVERT OFF TIMEOUT AFTER 5 UPPER REVERSE HIGH UPDATE.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_SCREEN_ITEM(null,X,-,-,-,-,-,-,-,-,-,-,DSPL_HIGH,-,-,DSPL_REVERSE,-,-,"
         "-,-,-,-,-,-,-,ACCP_ECHO,-,-,-,-,-,ACCP_CONVERT,-,ACCP_OFF,ACCP_TIMEOUT(5),-,ACCP_UPDATE,ACCP_UPPER,-)),"
         "null,null,null)"},
        {"DISPLAY \"A\" LOW.",
         "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_SCREEN_ITEM(null,\"A\",-,-,-,-,-,-,-,-,-,-,DSPL_LOW,-,-,-,-,-,-,-,-,-,"
         "-,-,-,-,-,-,-,-,-,-)),null,null,null)"},
    };
    CheckCases(acu, DIAL_ACU);
    const Case fsc[] = {
        {"ACCEPT X FROM USER NAME.",
         "STMT_ACCEPT(ACCEPT_ITEM_LIST(ACCEPT_FUNC_ITEM(X,ACCP_FROM(ACCP_USER_NAME),-)),null,null,null)"},
    };
    CheckCases(fsc, DIAL_FSC);
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
