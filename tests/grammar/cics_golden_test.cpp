// EXEC CICS statements: golden shapes of commands, options, ASSIGN, HANDLE
// and IGNORE, where the tokens go, the map forms wherever MAP or SET stands,
// the response options among the items of ASSIGN, HANDLE and IGNORE, option
// arguments spelled like CICS words, refused and repeated options, and
// error recovery inside a block.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include "grammar/frame.h"
#include "tests/grammar/cics_support.h"
#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;
using vemlo_cics_test::Wrapped;

struct Case {
    const char* source;    // one EXEC CICS statement (and a period)
    const char* shape;     // of the CICS statement node
    int messages;          // messages expected (refused or repeated options)
};

void Check(const Case& c) {
    SCOPED_TRACE(c.source);
    GrammarRun run;
    run.ParseStatements(Wrapped(c.source));
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(static_cast<int>(run.Messages().size()), c.messages) << run.MessageText();
    DovExpr* exec = FindFirst(run.root(), STMT_EXEC_CICS);
    ASSERT_NE(exec, nullptr);
    EXPECT_EQ(Shape(exec->Args(0)), c.shape);
    EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
}

TEST(CicsGolden, HandleAssignIgnore) {
    const Case cases[] = {
        {"EXEC CICS HANDLE CONDITION NOTFND (P1) ERROR END-EXEC.",
         "CS_STMT_HANDLE_CONDITION(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(NOTFND,P1),"
         "CS_GRP_CONDITION_HANDLER(ERROR,-)),-,-,-)",
         0},
        // Handler names outside the condition keywords come as user words.
        {"EXEC CICS HANDLE AID CLEAR(P1) PF3(P2) END-EXEC.",
         "CS_STMT_HANDLE_AID(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(CLEAR,P1),"
         "CS_GRP_CONDITION_HANDLER(PF3,P2)),-,-,-)",
         0},
        {"EXEC CICS IGNORE CONDITION MYCOND END-EXEC.",
         "CS_STMT_IGNORE_CONDITION(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(MYCOND,-)),-,-,-)", 0},
        {"EXEC CICS HANDLE CONDITION END-EXEC.", "CS_STMT_HANDLE_CONDITION(null,null,-,-,-)", 0},
        // ABCODE is a CICS keyword elsewhere; in ASSIGN it is a plain word,
        // and the reference in parentheses is read normally.
        {"EXEC CICS ASSIGN ABCODE (X) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(ABCODE,X)),-,-,-)", 0},
        {"EXEC CICS ASSIGN SYSID(WS-SYS) APPLID(WS-A) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(SYSID,WS-SYS),CS_GRP_ASSIGN(APPLID,WS-A)),-,-,-)", 0},
        {"EXEC CICS ASSIGN END-EXEC.", "CS_STMT_ASSIGN(null,null,-,-,-)", 0},
    };
    for (const Case& c : cases) Check(c);
}

TEST(CicsGolden, CommandsAndOptions) {
    const Case cases[] = {
        {"EXEC CICS SYNCPOINT END-EXEC.", "CS_STMT_SYNCPOINT(null,-,-,-)", 0},
        {"EXEC CICS RETURN END-EXEC.", "CS_STMT_RETURN(null,-,-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS XCTL PROGRAM('P2') COMMAREA(WS-C) LENGTH(100) END-EXEC.",
         "CS_STMT_XCTL(null,CS_CL_PROGRAM('P2'),CS_CL_COMMAREA(WS-C),CS_CL_LENGTH(100),-,-,-,-,-)", 0},
        // PROGRAM alone is the bare form of a dual keyword (DUMP).
        {"EXEC CICS DUMP DUMPCODE('D1') PROGRAM END-EXEC.",
         "CS_STMT_DUMP(null,CS_CL_DUMPCODE('D1'),-,-,-,-,-,CS_CL_PROGRAM(-),-,-,-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS ABEND ABCODE('ABC1') NODUMP END-EXEC.",
         "CS_STMT_ABEND(null,CS_CL_ABCODE('ABC1'),-,CS_CL_NODUMP,-,-,-)", 0},
        {"EXEC CICS ABEND ABCODE(WS-CODE) END-EXEC.", "CS_STMT_ABEND(null,CS_CL_ABCODE(WS-CODE),-,-,-,-,-)", 0},
        {"EXEC CICS WRITEQ TS QUEUE(Q) FROM(D) LENGTH(LENGTH OF D) NOSUSPEND RESP(R) END-EXEC.",
         "CS_STMT_WRITEQ_TS(null,CS_CL_QUEUE(Q),CS_CL_FROM(D),CS_CL_LENGTH(SR_LENGTH_OF(D)),-,-,-,-,-,"
         "CS_CL_NOSUSPEND,-,CS_CL_RESP(R),-)",
         0},
        {"EXEC CICS GETMAIN SET(ADDRESS OF LS-AREA) FLENGTH(4096) END-EXEC.",
         "CS_STMT_GETMAIN(null,CS_CL_SET(SR_ADDRESS_OF(LS-AREA)),CS_CL_FLENGTH(4096),-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS READ FILE('F1') INTO(R) RIDFLD(K) KEYLENGTH(8) GENERIC GTEQ UPDATE END-EXEC.",
         "CS_STMT_READ(null,CS_CL_FILE('F1'),-,CS_CL_UPDATE(-),-,CS_CL_INTO(R),-,CS_CL_RIDFLD(K),"
         "CS_CL_KEYLENGTH(8),CS_CL_GENERIC,-,-,CS_CL_GTEQ,-,-,-,-)",
         0},
        {"EXEC CICS START TRANSID('T1') AFTER MINUTES(5) END-EXEC.",
         "CS_STMT_START(null,CS_CL_TRANSID('T1'),-,CS_CL_AFTER,-,CS_CL_MINUTES(5),-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS HANDLE ABEND LABEL(P9) END-EXEC.", "CS_STMT_HANDLE_ABEND(null,CS_CL_LABEL(P9),-,-,-)", 0},
        {"EXEC CICS FORMATTIME ABSTIME(T) DATESEP('/') TIMESEP END-EXEC.",
         "CS_STMT_FORMATTIME(null,CS_CL_ABSTIME(T),-,-,-,CS_CL_DATESEP('/'),-,-,-,-,-,-,-,-,-,CS_CL_TIMESEP(-),"
         "-,-,-,-,-,-,-,-,-,-)",
         0},
        {"EXEC CICS ADDRESS COMMAREA(P) EIB(ADDRESS OF E) END-EXEC.",
         "CS_STMT_ADDRESS(null,-,CS_CL_COMMAREA(P),-,CS_CL_EIB(SR_ADDRESS_OF(E)),-,-,-,-,-)", 0},
    };
    for (const Case& c : cases) Check(c);
}

TEST(CicsGolden, MapFormsAndCursor) {
    const Case cases[] = {
        {"EXEC CICS SEND MAP('M1') MAPSET('S1') ERASE END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,CS_CL_MAPSET('S1'),-,-,-,-,-,CS_CL_ERASE,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS SEND MAP('M1') CURSOR END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,-,-,-,-,CS_CL_CURSOR(-),-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS SEND MAP('M1') CURSOR(POS) END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,-,-,-,-,CS_CL_CURSOR(POS),-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS RECEIVE MAP('M1') INTO(D) ASIS MAPSET('S1') END-EXEC.",
         "CS_STMT_RECEIVE_MAP(CS_CL_MAP('M1'),-,-,CS_CL_MAPSET('S1'),CS_CL_INTO(D),-,CS_CL_ASIS,-,-,-,-,-)", 0},
        {"EXEC CICS RECEIVE INTO(D) LENGTH(L) END-EXEC.",
         "CS_STMT_RECEIVE(null,CS_CL_INTO(D),CS_CL_LENGTH(L),-,-,-,-,-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS ADDRESS SET(ADDRESS OF A) USING(P) END-EXEC.",
         "CS_STMT_ADDRESS_SET(CS_CL_SET(SR_ADDRESS_OF(A)),CS_CL_USING(P),-,-,-)", 0},
    };
    for (const Case& c : cases) Check(c);
}

// MAP (SET for ADDRESS) anywhere among the options makes the map form, with
// every option of that form taken in any order; without it the plain form
// stays, and what only the map form takes is refused there.
TEST(CicsGolden, MapOptionAnywhere) {
    const Case cases[] = {
        {"EXEC CICS SEND MAPSET('ELMAP') MAP('EL01') FROM(EL01O) ERASE CURSOR END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('EL01'),-,-,CS_CL_MAPSET('ELMAP'),CS_CL_FROM(EL01O),-,-,CS_CL_CURSOR(-),-,"
         "CS_CL_ERASE,-,-,-,-,-,-,-)",
         0},
        {"EXEC CICS SEND FROM(X) MAP('M1') MAPSET('S1') END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,CS_CL_MAPSET('S1'),CS_CL_FROM(X),-,-,-,-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS SEND ERASE DATAONLY FREEKB RESP(R) MAP(M) END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP(M),-,-,-,-,CS_CL_DATAONLY,-,-,-,CS_CL_ERASE,-,CS_CL_FREEKB,-,-,-,CS_CL_RESP(R),-)",
         0},
        {"EXEC CICS RECEIVE INTO(D) MAPSET('S1') MAP('M1') END-EXEC.",
         "CS_STMT_RECEIVE_MAP(CS_CL_MAP('M1'),-,-,CS_CL_MAPSET('S1'),CS_CL_INTO(D),-,-,-,-,-,-,-)", 0},
        {"EXEC CICS ADDRESS USING(P) SET(ADDRESS OF A) END-EXEC.",
         "CS_STMT_ADDRESS_SET(CS_CL_SET(SR_ADDRESS_OF(A)),CS_CL_USING(P),-,-,-)", 0},
        // Options of the plain form only are refused in the map form, and
        // the other way round; the plain forms stay without MAP or SET.
        {"EXEC CICS SEND CTLCHAR(C) MAP('M1') END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)", 1},
        {"EXEC CICS SEND MAPSET('S1') FROM(X) LENGTH(L) END-EXEC.",
         "CS_STMT_SEND(null,-,-,-,CS_CL_FROM(X),-,-,-,-,-,-,-,-,-,-,-,-,-,CS_CL_LENGTH(L),-,-,-,-)", 1},
        {"EXEC CICS RECEIVE INTO(D) LENGTH(L) RESP(R) END-EXEC.",
         "CS_STMT_RECEIVE(null,CS_CL_INTO(D),CS_CL_LENGTH(L),-,-,-,-,-,-,-,-,-,-,-,CS_CL_RESP(R),-)", 0},
        {"EXEC CICS ADDRESS COMMAREA(P) USING(Q) END-EXEC.",
         "CS_STMT_ADDRESS(null,-,CS_CL_COMMAREA(P),-,-,-,-,-,-,-)", 1},
        // MAP twice: the second is the repeated clause.
        {"EXEC CICS SEND MAP('M1') MAP('M2') END-EXEC.",
         "CS_STMT_SEND_MAP(CS_CL_MAP('M1'),-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)", 1},
    };
    for (const Case& c : cases) Check(c);
    GrammarRun run;
    run.ParseStatements("EXEC CICS SEND CTLCHAR(C) MAP('M1') END-EXEC.");
    EXPECT_NE(run.MessageText().find("Option CS_CL_CTLCHAR can not be used in CICS statement CS_STMT_SEND_MAP."),
              std::string::npos)
        << run.MessageText();
}

// NOHANDLE, RESP and RESP2 stand anywhere among the items of ASSIGN, HANDLE
// and IGNORE and fill the statement's own slots; they are never an item.
TEST(CicsGolden, ResponseOptionsAmongItems) {
    const Case cases[] = {
        {"EXEC CICS ASSIGN SYSID(WS-SYSID) RESP(WS-RESP) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(SYSID,WS-SYSID)),-,CS_CL_RESP(WS-RESP),-)", 0},
        {"EXEC CICS ASSIGN NOHANDLE SYSID(A) RESP2(R2) APPLID(B) RESP(R) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(SYSID,A),CS_GRP_ASSIGN(APPLID,B)),CS_CL_NOHANDLE,"
         "CS_CL_RESP(R),CS_CL_RESP2(R2))",
         0},
        {"EXEC CICS ASSIGN RESP(R) END-EXEC.", "CS_STMT_ASSIGN(null,null,-,CS_CL_RESP(R),-)", 0},
        {"EXEC CICS HANDLE CONDITION NOTFND(P1) RESP(X) ERROR END-EXEC.",
         "CS_STMT_HANDLE_CONDITION(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(NOTFND,P1),"
         "CS_GRP_CONDITION_HANDLER(ERROR,-)),-,CS_CL_RESP(X),-)",
         0},
        {"EXEC CICS HANDLE AID NOHANDLE CLEAR(P1) PF3(P2) END-EXEC.",
         "CS_STMT_HANDLE_AID(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(CLEAR,P1),"
         "CS_GRP_CONDITION_HANDLER(PF3,P2)),CS_CL_NOHANDLE,-,-)",
         0},
        {"EXEC CICS IGNORE CONDITION RESP(X) LENGERR RESP2(Y) END-EXEC.",
         "CS_STMT_IGNORE_CONDITION(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(LENGERR,-)),-,CS_CL_RESP(X),"
         "CS_CL_RESP2(Y))",
         0},
        // A second RESP is the repeated clause, not an item.
        {"EXEC CICS ASSIGN RESP(A) SYSID(S) RESP(B) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(SYSID,S)),-,CS_CL_RESP(A),-)", 1},
    };
    for (const Case& c : cases) Check(c);
}

// Inside an option's parentheses a word is a COBOL word, however it is
// spelled; ADDRESS OF and LENGTH OF keep their meaning, and the words
// outside the parentheses stay CICS words.
TEST(CicsGolden, ArgumentsSpelledLikeCicsWords) {
    const Case cases[] = {
        {"EXEC CICS READQ TS QUEUE(WS-Q) INTO(WS-REC) RESP(RESP) END-EXEC.",
         "CS_STMT_READQ_TS(null,CS_CL_QUEUE(WS-Q),CS_CL_INTO(WS-REC),-,-,-,-,-,CS_CL_RESP(RESP),-)", 0},
        {"EXEC CICS READQ TS QUEUE(QUEUE) INTO(MAP) LENGTH(LENGTH) ITEM(ITEM) END-EXEC.",
         "CS_STMT_READQ_TS(null,CS_CL_QUEUE(QUEUE),CS_CL_INTO(MAP),CS_CL_LENGTH(LENGTH),-,CS_CL_ITEM(ITEM),-,-,-,-)",
         0},
        {"EXEC CICS READ FILE(FILE) INTO(SET OF REC) RIDFLD(KEY(I)) END-EXEC.",
         "CS_STMT_READ(null,CS_CL_FILE(FILE),-,-,-,CS_CL_INTO(SET OF REC),-,"
         "CS_CL_RIDFLD(TABLE_ELT(KEY,SUBSCRIPT_LIST(I))),-,-,-,-,-,-,-,-,-)",
         0},
        {"EXEC CICS WRITEQ TS QUEUE(Q) FROM(D) LENGTH(LENGTH OF D) END-EXEC.",
         "CS_STMT_WRITEQ_TS(null,CS_CL_QUEUE(Q),CS_CL_FROM(D),CS_CL_LENGTH(SR_LENGTH_OF(D)),-,-,-,-,-,-,-,-,-)", 0},
        {"EXEC CICS HANDLE CONDITION ERROR(MAPFAIL) END-EXEC.",
         "CS_STMT_HANDLE_CONDITION(null,CS_COND_HANDLER_LIST(CS_GRP_CONDITION_HANDLER(ERROR,MAPFAIL)),-,-,-)", 0},
        {"EXEC CICS ASSIGN APPLID(APPLID) RESP(RESP) END-EXEC.",
         "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(APPLID,APPLID)),-,CS_CL_RESP(RESP),-)", 0},
    };
    for (const Case& c : cases) Check(c);
}

TEST(CicsGolden, RepeatedAndRefusedOptions) {
    const Case cases[] = {
        {"EXEC CICS LINK PROGRAM('P') RESP(WS-R1) RESP(WS-R2) END-EXEC.",
         "CS_STMT_LINK(null,CS_CL_PROGRAM('P'),-,-,-,-,-,-,-,-,-,CS_CL_RESP(WS-R1),-)", 1},
        {"EXEC CICS START TRANSID('T') AFTER AT END-EXEC.",
         "CS_STMT_START(null,CS_CL_TRANSID('T'),-,CS_CL_AFTER,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-,-)", 1},
        {"EXEC CICS ABEND FILE('F') END-EXEC.", "CS_STMT_ABEND(null,-,-,-,-,-,-)", 1},
    };
    for (const Case& c : cases) Check(c);
    GrammarRun run;
    run.ParseStatements("EXEC CICS ABEND FILE('F') END-EXEC.");
    EXPECT_NE(run.MessageText().find("Option CS_CL_FILE can not be used in CICS statement CS_STMT_ABEND. "
                                     "Option ignored."),
              std::string::npos)
        << run.MessageText();
    GrammarRun twice;
    twice.ParseStatements("EXEC CICS LINK RESP(WS-R1) RESP(WS-R2) END-EXEC.");
    EXPECT_NE(twice.MessageText().find("is set more than once. Ignoring second instance."), std::string::npos)
        << twice.MessageText();
}

// After a general command the statement node's own list is empty and its
// tokens (the command words, refused options) sit in slot 0's list; after
// ASSIGN, HANDLE or IGNORE they stay where the position reduction put them.
TEST(CicsGolden, TokenPlacement) {
    GrammarRun run;
    run.ParseStatements("EXEC CICS LINK PROGRAM('P') FILE('F') END-EXEC.");
    DovExpr* link = FindFirst(run.root(), CS_STMT_LINK);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->Tokens().IsEmpty());
    std::string slot0;
    for (const DovToken* t : link->ArgSlots(0)->tokens)
        if (t->code != SEP_SPACE) slot0 += std::to_string(t->code) + " ";
    // LINK, then the refused FILE ( 'F' ).
    EXPECT_EQ(slot0, std::to_string(CTK_LINK) + " " + std::to_string(CTK_FILE) + " " + std::to_string(SEP_LEFT_PAR) +
                         " " + std::to_string(TK_NONNUM_LIT) + " " + std::to_string(SEP_RIGHT_PAR) + " ");
    EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");

    GrammarRun assign;
    assign.ParseStatements("EXEC CICS ASSIGN APPLID(A) END-EXEC.");
    DovExpr* stmt = FindFirst(assign.root(), CS_STMT_ASSIGN);
    ASSERT_NE(stmt, nullptr);
    bool keyword_in_slot0 = false;
    for (const DovToken* t : stmt->ArgSlots(0)->tokens) keyword_in_slot0 |= t->code == CTK_ASSIGN;
    EXPECT_TRUE(keyword_in_slot0);
    EXPECT_EQ(assign.TokenDifference(), "");

    GrammarRun handle;
    handle.ParseStatements("EXEC CICS HANDLE CONDITION ERROR END-EXEC.");
    DovExpr* hc = FindFirst(handle.root(), CS_STMT_HANDLE_CONDITION);
    ASSERT_NE(hc, nullptr);
    bool handle_in_slot0 = false;
    for (const DovToken* t : hc->ArgSlots(0)->tokens) handle_in_slot0 |= t->code == CTK_HANDLE;
    EXPECT_TRUE(handle_in_slot0);
    EXPECT_EQ(handle.TokenDifference(), "");
}

// An option with no rule is a syntax error inside the block; the command
// keeps the options around it, every token stays in the tree and the
// statements after the block parse.
TEST(CicsGolden, ErrorRecovery) {
    GrammarRun run;
    run.ParseStatements(
        "EXEC CICS SYNCPOINT ROLLBACK END-EXEC.\n"
        "EXEC CICS DELETE COUNTER('C') POOL('P') RESP(R) END-EXEC.\n"
        "EXEC CICS DEFINE COUNTER('C') VALUE(V) END-EXEC.\n"
        "EXEC CICS RETURN END-EXEC.");
    EXPECT_EQ(run.SyntaxErrors(), 3) << run.MessageText();
    EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
    const auto stmts = run.Statements();
    ASSERT_EQ(stmts.size(), 4u);
    EXPECT_EQ(Shape(stmts[0]->Args(0)), "CS_STMT_SYNCPOINT(null,-,-,-)");
    EXPECT_EQ(Shape(stmts[1]->Args(0)), "CS_STMT_DELETE(null,-,-,-,-,-,-,-,-,-,-,CS_CL_RESP(R),-)");
    EXPECT_EQ(stmts[2]->Args(0)->Oper(), STMT__SYNTAX_ERROR);
    EXPECT_EQ(Shape(stmts[3]->Args(0)), "CS_STMT_RETURN(null,-,-,-,-,-,-,-,-,-,-)");
    EXPECT_EQ(vemlo_cics_test::TypedCicsStatements(run.root()), 3);
}

// A refused error option gives its skipped tokens to the command; the
// syntax-error node it leaves pending keeps no emptied items, so that the
// next error (here in an SQL block) orders its skipped tokens by source.
TEST(CicsGolden, RefusedErrorOptionLeavesNoEmptyItemsForTheNextError) {
    GrammarRun run;
    run.ParseStatements(
        "EXEC CICS SYNCPOINT ROLLBACK END-EXEC.\n"
        "EXEC SQL UPDATE H SET VALUE = :B, C = :D WHERE E = 1\n"
        "END-EXEC.");
    EXPECT_EQ(run.SyntaxErrors(), 2) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
    std::vector<DovExpr*> errors = vemlo_grammar_test::FindAll(run.root(), STMT__SYNTAX_ERROR);
    ASSERT_FALSE(errors.empty());
    for (DovExpr* error : errors) {
        DovExpr* list = DovArgOrNull(error, 0);
        if (!list) continue;
        for (int i = 0; i < list->NumArgs(); ++i) EXPECT_FALSE(list->Args(i)->Tokens().IsEmpty()) << i;
    }
}

// ASSIGN read ahead while a trial is open: the parenthesis of the SQL
// condition opens one (Q01), and no commit comes before the sentence ends,
// so the ASSIGN after it and the statement after that are read on trial.
// The words keep the class they get outside a trial.
TEST(CicsGolden, AssignReadAheadInTrial) {
    GrammarRun run;
    // The frame's trace shows the assignment group reduced on trial.
    std::ostringstream trace;
    std::streambuf* saved = std::cout.rdbuf(trace.rdbuf());
    DovGrammarTraceLevel = 2;
    run.ParseStatements(
        "EXEC SQL DELETE FROM T WHERE (A) = B END-EXEC\n"
        "EXEC CICS ASSIGN ABCODE(X) APPLID(Y) END-EXEC\n"
        "MOVE ABCODE TO Z\n"
        "EXEC CICS HANDLE ABEND LABEL(P-0) END-EXEC.");
    DovGrammarTraceLevel = 0;
    std::cout.rdbuf(saved);
    bool assignment_on_trial = false;
    std::istringstream lines(trace.str());
    for (std::string line, last; std::getline(lines, line); last = line)
        if (line.find("cics_assignment : TK_CHAR_STRING") != std::string::npos && last.find(",trial]") != std::string::npos)
            assignment_on_trial = true;
    EXPECT_TRUE(assignment_on_trial);
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.Messages().size(), 0u) << run.MessageText();
    DovExpr* assign = FindFirst(run.root(), CS_STMT_ASSIGN);
    ASSERT_NE(assign, nullptr);
    EXPECT_EQ(Shape(assign),
              "CS_STMT_ASSIGN(null,CS_ASSIGNMENT_LIST(CS_GRP_ASSIGN(ABCODE,X),CS_GRP_ASSIGN(APPLID,Y)),-,-,-)");
    EXPECT_EQ(run.StatementShape(2), "STMT_MOVE(ABCODE,EX_LIST(Z))");
    EXPECT_EQ(Shape(FindFirst(run.root(), CS_STMT_HANDLE_ABEND)), "CS_STMT_HANDLE_ABEND(null,CS_CL_LABEL(P-0),-,-,-)");
    EXPECT_EQ(vemlo_cics_test::LostOrDuplicated(run), "");
}

// IGNORE CONDITION keeps its tokens where the position reduction put them:
// the keywords before the marker's slot.
TEST(CicsGolden, IgnoreTokenPlacement) {
    GrammarRun run;
    run.ParseStatements("EXEC CICS IGNORE CONDITION LENGERR END-EXEC.");
    DovExpr* ic = FindFirst(run.root(), CS_STMT_IGNORE_CONDITION);
    ASSERT_NE(ic, nullptr);
    std::string slot0;
    for (const DovToken* t : ic->ArgSlots(0)->tokens)
        if (t->code != SEP_SPACE) slot0 += std::to_string(t->code) + " ";
    EXPECT_EQ(slot0, std::to_string(CTK_IGNORE) + " " + std::to_string(CTK_CONDITION) + " ");
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace
