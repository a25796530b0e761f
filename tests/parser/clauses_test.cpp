// Clause holders, the clause-table check, the CICS holder, and the
// normalisation of screen ACCEPT and DISPLAY items, on nodes built as the
// grammar actions build them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/parser/services_fixture.h"
#include "tree/symtab.h"

namespace vemlo_test {
namespace {

// Slots of DECL_DD_ENTRY used below.
constexpr int kPicture = 4;
constexpr int kUsage = 5;
constexpr int kOccurs = 13;

class ClausesTest : public ParserServicesTest {};

// An option or clause node whose keyword token is its own.
DovExpr* Opt(DovOper op, const char* keyword, int line = 1, int column = 0) {
    DovExpr* node = new DovExprOper(op);
    DovToken* t = Tok(keyword, line, column);
    node->Tokens().AppendToken(t);
    return node;
}

TEST_F(ClausesTest, ClausesGoToTheirSlotsNumberedInSourceOrder) {
    DovClauseHolder holder;
    DovExpr* entry = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kUsage, Opt(DX_USAGE, "COMP"));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    holder.AddToList(kOccurs, EX_LIST, Leaf("A"));
    holder.AddToList(kOccurs, EX_LIST, Leaf("B"));
    EXPECT_EQ(holder.Finish(), entry);
    EXPECT_EQ(holder.current, nullptr);
    EXPECT_EQ(holder.counter, 0);
    EXPECT_EQ(entry->ArgSlots(kUsage)->order, 0);
    EXPECT_EQ(entry->ArgSlots(kPicture)->order, 1);
    DovExpr* list = DovArgOrNull(entry, kOccurs);
    ASSERT_EQ(Shape(list), "EX_LIST('A','B')");
    EXPECT_EQ(list->ArgSlots(0)->order, 2);
    EXPECT_EQ(list->ArgSlots(1)->order, 3);
    EXPECT_TRUE(Messages().empty());
    delete entry;
}

TEST_F(ClausesTest, NullNodeInASlotCountsAsAbsent) {
    DovClauseHolder holder;
    DovExpr* entry = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    entry->SetArg(kPicture, new DovNullNode);
    DovToken* t = Tok("KEPT");
    DovArgOrNull(entry, kPicture)->Tokens().AppendToken(t);
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    EXPECT_EQ(DovArgOrNull(entry, kPicture)->Oper(), DX_VALUE);
    EXPECT_TRUE(Messages().empty());
    // Text that the placeholder held stays in front of the clause.
    EXPECT_EQ(TokenImages(entry), "KEPT PIC");
    delete holder.Finish();
}

TEST_F(ClausesTest, RepeatedClauseGivesOneMessageAndItsTokensGoToTheEntry) {
    DovClauseHolder holder;
    DovExpr* entry = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC1", 4, 20));
    DovExpr* first = DovArgOrNull(entry, kPicture);
    holder.SetClause(kUsage, Opt(DX_USAGE, "COMP", 4, 30));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC2", 5, 12));
    DovToken* period = Tok(".");
    entry->Tokens().AppendToken(period);
    EXPECT_EQ(holder.Finish(), entry);

    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "E:Clause Picture is set more than once. Ignoring second instance.");
    EXPECT_EQ(messages.First()->Beg(), DovTxtPosn(5, 12, 1));
    EXPECT_EQ(DovArgOrNull(entry, kPicture), first);
    EXPECT_EQ(entry->ArgSlots(kPicture)->order, 0);
    EXPECT_EQ(TokenImages(entry), "PIC1 COMP . PIC2");
    delete entry;
}

TEST_F(ClausesTest, RepeatedClauseThatIsThePendingErrorNodeIsForgotten) {
    DovClauseHolder holder;
    holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    DovExpr* err = GenErrNode(&parser);
    ASSERT_EQ(parser.errNode, err);
    holder.SetClause(kPicture, err);
    EXPECT_EQ(parser.errNode, nullptr);
    delete holder.Finish();
}

TEST_F(ClausesTest, TokensOfARefusedClauseMoveToTheNextClause) {
    DovClauseHolder holder;
    holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC1"));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC2"));
    DovExpr* usage = Opt(DX_USAGE, "COMP");
    holder.SetClause(kUsage, usage);
    EXPECT_TRUE(holder.gathered.IsEmpty());
    EXPECT_EQ(TokenImages(usage), "COMP PIC2");
    delete holder.Finish();
}

TEST_F(ClausesTest, SecondStartDeletesTheUnfinishedNodeAndKeepsItsTokens) {
    DovClauseHolder holder;
    DovExpr* first = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kPicture, Opt(DX_VALUE, "LOST?"));
    (void)first;
    DovExpr* second = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    EXPECT_EQ(holder.counter, 0);
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    EXPECT_EQ(second->ArgSlots(kPicture)->order, 0);
    EXPECT_EQ(holder.Finish(), second);
    EXPECT_EQ(TokenImages(second), "LOST? PIC");
    delete second;
}

TEST_F(ClausesTest, HolderDestroyedWhileCollectingDeletesItsNode) {
    // Checked by the leak checker: nothing of this survives.
    auto* holder = new DovClauseHolder;
    holder->Start(new DovExprOper(DECL_DD_ENTRY));
    holder->SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    holder->SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    delete holder;
    auto* cics = new DovCicsClauseHolder;
    cics->AddOption(Opt(CS_CL_SET, "SET"));
    delete cics;
}

TEST_F(ClausesTest, NodeDeletedByErrorRecoveryIsForgottenByItsHolder) {
    // Error recovery deletes a value that has no parent: the entry a holder
    // collects, or a parked CICS option. The holders must not touch them
    // again.
    DovClauseHolder holder;
    DovExpr* entry = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    holder.SetClause(kPicture, Opt(DX_VALUE, "PIC"));
    GenErrNode(&parser);
    DeleteErrValue(entry, 1);
    EXPECT_EQ(holder.current, nullptr);
    DovExpr* next = holder.Start(new DovExprOper(DECL_DD_ENTRY));
    EXPECT_EQ(holder.Finish(), next);
    delete next;

    DovCicsClauseHolder cics;
    DovExpr* option = Opt(CS_CL_MAP, "MAP");
    cics.AddOption(option);
    DeleteErrValue(option, 1);
    EXPECT_EQ(cics.parked, nullptr);
    DovExpr* stmt = cics.Start(new DovExprOper(CS_STMT_SEND_MAP));
    EXPECT_EQ(DovArgOrNull(stmt, 0), nullptr);
    delete cics.Finish();
    // The deleted nodes' text went to the pending error node.
    EXPECT_EQ(TokenImages(parser.errNode), "PIC MAP");
    delete parser.errNode;
    parser.errNode = nullptr;
}

TEST_F(ClausesTest, ClauseOutsideTheNodeIsReportedAndItsNodeFreed) {
    DovClauseHolder holder;
    holder.SetClause(0, Opt(DX_VALUE, "NOWHERE"));
    DovExpr* entry = holder.Start(new DovExprOper(DX_VALUE));
    holder.SetClause(7, Opt(DX_VALUE, "PAST"));
    holder.AddToList(-1, EX_LIST, Opt(DX_VALUE, "BEFORE"));
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "S:DovClauseHolder::SetClause: no current node");
    EXPECT_EQ(got[1], "S:DovClauseHolder::SetClause: clause #7 is not available in DX_VALUE");
    EXPECT_EQ(got[2], "S:DovClauseHolder::AddToList: clause #-1 is not available in DX_VALUE");
    EXPECT_EQ(holder.Finish(), entry);
    EXPECT_EQ(TokenImages(entry), "NOWHERE PAST BEFORE");
    delete entry;
}

TEST_F(ClausesTest, CheckClauseTableReportsForbiddenAndMissingClauses) {
    DovExpr* entry = new DovExprOper(DECL_DD_ENTRY);
    entry->SetArg(0, IntLeaf("66"));
    entry->SetArg(kPicture, Opt(DX_VALUE, "PIC"));
    entry->SetArg(kUsage, new DovNullNode);  // absent
    std::vector<int> req(entry->NumArgs(), CLAUSE_ALLOWED);
    req[0] = CLAUSE_REQUIRED;
    req[kPicture] = CLAUSE_FORBIDDEN;
    req[kUsage] = CLAUSE_FORBIDDEN;
    req[12] = CLAUSE_REQUIRED;
    CheckClauseTable(entry, req, "66-level data-name", DovTxtPosn(9, 3, 1));
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "E:In 66-level data-name clause 'Picture' is present. It must not be present.");
    EXPECT_EQ(got[1], "E:In 66-level data-name clause 'Renames' is missing. It must be present.");
    EXPECT_EQ(messages.First()->Beg(), DovTxtPosn(9, 3, 1));
    EXPECT_NE(DovArgOrNull(entry, kPicture), nullptr);  // nothing is changed

    // A slot without a display name is named by its number; slots past the
    // table are allowed; a node without arguments has nothing to check.
    ClearMessages();
    DovExpr* leaf = Leaf("X");
    CheckClauseTable(leaf, req, "x", DovNullPosn);
    CheckClauseTable(entry, std::vector<int>{CLAUSE_ALLOWED}, "x", DovNullPosn);
    EXPECT_TRUE(Messages().empty());
    delete leaf;
    delete entry;
}

// --- CICS -----------------------------------------------------------------------

TEST_F(ClausesTest, CicsOptionsGoToTheirTableSlots) {
    DovCicsClauseHolder holder;
    DovExpr* read = holder.Start(new DovExprOper(CS_STMT_READ));
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_FILE, "FILE")), 1);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_INTO, "INTO")), 5);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_RIDFLD, "RIDFLD")), 7);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_RESP2, "RESP2")), 16);
    EXPECT_EQ(holder.AddOption(nullptr), -1);
    EXPECT_EQ(holder.Finish(), read);
    EXPECT_EQ(read->ArgSlots(1)->order, 0);
    EXPECT_EQ(read->ArgSlots(16)->order, 3);
    EXPECT_TRUE(Messages().empty());
    delete read;
}

TEST_F(ClausesTest, CicsAlternativesSharingASlotGiveTheRepeatedClauseMessage) {
    struct Case {
        DovOper statement, first, second;
    } cases[] = {
        {CS_STMT_READ, CS_CL_DATASET, CS_CL_FILE},
        {CS_STMT_START, CS_CL_AFTER, CS_CL_AT},
        {CS_STMT_SEND_TEXT, CS_CL_L40, CS_CL_HONEOM},
    };
    for (const Case& c : cases) {
        ClearMessages();
        DovCicsClauseHolder holder;
        DovExpr* stmt = holder.Start(new DovExprOper(c.statement));
        int slot = holder.AddOption(Opt(c.first, "FIRST"));
        EXPECT_EQ(holder.AddOption(Opt(c.second, "SECOND")), slot);
        std::vector<std::string> got = Messages();
        ASSERT_EQ(got.size(), 1u) << DovOperName(c.statement);
        const std::string expected = std::string("E:Clause ") + DovOperArgName(c.statement, slot).CStr() +
                                     " is set more than once. Ignoring second instance.";
        EXPECT_EQ(got[0], expected);
        EXPECT_EQ(DovArgOrNull(stmt, slot)->Oper(), c.first);
        EXPECT_EQ(holder.Finish(), stmt);
        EXPECT_EQ(TokenImages(stmt), "FIRST SECOND");
        delete stmt;
    }
}

TEST_F(ClausesTest, RefusedCicsOptionIsReportedAndKeepsItsTokens) {
    DovCicsClauseHolder holder;
    DovExpr* abend = holder.Start(new DovExprOper(CS_STMT_ABEND));
    holder.AddOption(Opt(CS_CL_ABCODE, "ABCODE"));
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_FILE, "FILE", 7, 30)), -1);
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], "E:Option CS_CL_FILE can not be used in CICS statement CS_STMT_ABEND. Option ignored.");
    EXPECT_EQ(messages.First()->Beg(), DovTxtPosn(7, 30, 1));
    EXPECT_EQ(holder.Finish(), abend);
    EXPECT_EQ(TokenImages(abend), "ABCODE FILE");
    delete abend;
}

TEST_F(ClausesTest, RefusedSyntaxErrorOptionIsDeletedAndForgotten) {
    DovCicsClauseHolder holder;
    DovExpr* link = holder.Start(new DovExprOper(CS_STMT_LINK));
    DovExpr* err = GenErrNode(&parser);
    DovTokenList skipped;
    DovToken* t = Tok("GARBAGE");
    skipped.AppendToken(t);
    AttachErrTokens(&skipped, 0);
    EXPECT_EQ(holder.AddOption(err), -1);
    EXPECT_EQ(parser.errNode, nullptr);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0],
              "E:Option STMT__SYNTAX_ERROR can not be used in CICS statement CS_STMT_LINK. Option ignored.");
    holder.Finish();
    EXPECT_EQ(TokenImages(link), "GARBAGE");
    delete link;
}

TEST_F(ClausesTest, OptionBeforeItsStatementIsParkedAndPlacedAtStart) {
    DovCicsClauseHolder holder;
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_SET, "SET")), -1);
    ASSERT_NE(holder.parked, nullptr);
    DovExpr* stmt = holder.Start(new DovExprOper(CS_STMT_ADDRESS_SET));
    EXPECT_EQ(holder.parked, nullptr);
    EXPECT_EQ(DovArgOrNull(stmt, 0)->Oper(), CS_CL_SET);
    EXPECT_EQ(stmt->ArgSlots(0)->order, 0);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_USING, "USING")), 1);
    EXPECT_EQ(stmt->ArgSlots(1)->order, 1);
    delete holder.Finish();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ClausesTest, OnlyTheLaterOfTwoParkedOptionsIsPlaced) {
    DovCicsClauseHolder holder;
    holder.AddOption(Opt(CS_CL_MAP, "MAP1"));
    holder.AddOption(Opt(CS_CL_MAP, "MAP2"));
    DovExpr* stmt = holder.Start(new DovExprOper(CS_STMT_SEND_MAP));
    EXPECT_EQ(DovArgOrNull(stmt, 0)->Tokens().First()->image, "MAP2");
    holder.Finish();
    // The first one's text is kept; as any refused clause's text it goes to
    // the next clause placed.
    EXPECT_EQ(TokenImages(stmt), "MAP2 MAP1");
    delete stmt;
}

TEST_F(ClausesTest, ParkedOptionThatTheStatementRefusesIsReportedAtStart) {
    DovCicsClauseHolder holder;
    holder.AddOption(Opt(CS_CL_MAP, "MAP"));
    DovExpr* stmt = holder.Start(new DovExprOper(CS_STMT_SYNCPOINT));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:Option CS_CL_MAP can not be used in CICS statement CS_STMT_SYNCPOINT. Option ignored.");
    holder.Finish();
    EXPECT_EQ(TokenImages(stmt), "MAP");
    delete stmt;
    // A null statement drops the parked option; its tokens wait for the next.
    holder.AddOption(Opt(CS_CL_MAP, "MAP"));
    holder.Start(nullptr);
    EXPECT_EQ(holder.parked, nullptr);
    stmt = holder.Start(new DovExprOper(CS_STMT_SYNCPOINT));
    holder.Finish();
    EXPECT_EQ(TokenImages(stmt), "MAP");
    delete stmt;
}

// SEND, RECEIVE and ADDRESS wait for their form: the key option (MAP, SET)
// wherever it comes makes the statement its second form in place, and the
// options before it are placed then, in source order; without it Finish
// places them into the first form, which refuses what only the second takes.
TEST_F(ClausesTest, CicsOptionsWaitForTheFormTheKeyOptionDecides) {
    DovCicsClauseHolder holder;
    DovExpr* send = holder.Start(new DovExprOper(CS_STMT_SEND));
    send->SetArg(0, new DovNullNode);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_MAPSET, "MAPSET")), -1);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_FROM, "FROM")), -1);
    EXPECT_EQ(holder.waiting.size(), 2u);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_MAP, "MAP")), 0);
    EXPECT_EQ(holder.current, send);
    EXPECT_EQ(send->Oper(), CS_STMT_SEND_MAP);
    EXPECT_EQ(send->NumArgs(), DovOperArgCount(CS_STMT_SEND_MAP));
    EXPECT_TRUE(holder.waiting.empty());
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_ERASE, "ERASE")), 9);
    EXPECT_EQ(holder.Finish(), send);
    EXPECT_EQ(Shape(send),
              "CS_STMT_SEND_MAP(CS_CL_MAP(-),-,-,CS_CL_MAPSET(-),CS_CL_FROM(-),-,-,-,-,CS_CL_ERASE,-,-,-,-,-,-,-)");
    // Clause order is source order.
    EXPECT_EQ(send->ArgSlots(3)->order, 0);
    EXPECT_EQ(send->ArgSlots(4)->order, 1);
    EXPECT_EQ(send->ArgSlots(0)->order, 2);
    EXPECT_EQ(send->ArgSlots(9)->order, 3);
    EXPECT_TRUE(Messages().empty());
    delete send;

    DovExpr* plain = holder.Start(new DovExprOper(CS_STMT_SEND));
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_MAPSET, "MAPSET", 3, 20)), -1);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_FROM, "FROM")), -1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(holder.Finish(), plain);
    EXPECT_EQ(plain->Oper(), CS_STMT_SEND);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:Option CS_CL_MAPSET can not be used in CICS statement CS_STMT_SEND. Option ignored.");
    EXPECT_EQ(messages.First()->Beg(), DovTxtPosn(3, 20, 1));
    EXPECT_EQ(DovArgOrNull(plain, 4)->Oper(), CS_CL_FROM);
    EXPECT_EQ(TokenImages(plain), "FROM MAPSET");
    delete plain;
}

// An option that neither form takes is refused at once; an unfinished
// statement's waiting options go with it at the next Start, and a statement
// deleted by its owner takes them along: their text is kept.
TEST_F(ClausesTest, CicsWaitingOptionsAreNeverLost) {
    DovCicsClauseHolder holder;
    DovExpr* receive = holder.Start(new DovExprOper(CS_STMT_RECEIVE));
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_INTO, "INTO")), -1);
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_FILE, "FILE")), -1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:Option CS_CL_FILE can not be used in CICS statement CS_STMT_RECEIVE. Option ignored.");
    EXPECT_EQ(holder.waiting.size(), 1u);
    DovExpr* next = holder.Start(new DovExprOper(CS_STMT_SYNCPOINT));
    EXPECT_TRUE(holder.waiting.empty());
    holder.Finish();
    EXPECT_EQ(TokenImages(next), "INTO FILE");
    delete next;
    (void)receive;  // deleted by the second Start

    DovExpr* address = holder.Start(new DovExprOper(CS_STMT_ADDRESS));
    holder.AddOption(Opt(CS_CL_USING, "USING"));
    ASSERT_EQ(holder.waiting.size(), 1u);
    DovClauseHoldersForget(address);
    delete address;
    EXPECT_EQ(holder.current, nullptr);
    EXPECT_TRUE(holder.waiting.empty());
    DovExpr* last = holder.Start(new DovExprOper(CS_STMT_SYNCPOINT));
    holder.Finish();
    EXPECT_EQ(TokenImages(last), "USING");
    delete last;
}

TEST_F(ClausesTest, CicsHolderSetsFixedSlotsThroughSetClause) {
    DovCicsClauseHolder holder;
    DovExpr* stmt = holder.Start(new DovExprOper(CS_STMT_HANDLE_AID));
    holder.SetClause(0, new DovNullNode);
    holder.SetClause(1, Leaf("HANDLERS"));
    EXPECT_EQ(holder.AddOption(Opt(CS_CL_NOHANDLE, "NOHANDLE")), 2);
    EXPECT_EQ(stmt->ArgSlots(2)->order, 2);
    delete holder.Finish();
}

TEST_F(ClausesTest, FindCicsOptionSlotCases) {
    struct Case {
        int statement, option, slot;
    } cases[] = {
        {CS_STMT_HANDLE_AID, CS_CL_NOHANDLE, 2},
        {CS_STMT_ABEND, CS_CL_FILE, -1},
        {CS_STMT_ABEND, CS_CL_ABCODE, 1},
        {CS_STMT_ABEND, CS_CL_RESP2, 6},
        {CS_STMT_ADDRESS_SET, CS_CL_SET, 0},
        {CS_STMT_FORMATTIME, CS_CL_DATESEP, 5},
        {CS_STMT_FORMATTIME, CS_CL_TIMESEP, 15},
        {CS_STMT_SEND_MAP, CS_CL_CURSOR, 7},
        {CS_STMT_START, CS_CL_UNTIL, 3},
        {CS_STMT_READPREV, CS_CL_RRN, 11},
        {CS_STMT_XCTL, CS_CL_RESP2, 8},
        {CS_STMT_XCTL, CS_CL_ABCODE, -1},
        {CS_STMT_ASSIGN, CS_CL_NOHANDLE, 2},
        {STMT__SYNTAX_ERROR, CS_CL_FILE, -1},
        {CS_STMT_READ, STMT__SYNTAX_ERROR, -1},
        {0, 0, -1},
        {65535, 65535, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindCicsOptionSlot(c.statement, c.option), c.slot)
            << DovOperName(static_cast<std::uint16_t>(c.statement)) << " "
            << DovOperName(static_cast<std::uint16_t>(c.option));
}

TEST_F(ClausesTest, FindCicsFormCases) {
    struct Case {
        int statement, option, form;
    } cases[] = {
        {CS_STMT_SEND, CS_CL_MAP, CS_STMT_SEND_MAP},
        {CS_STMT_RECEIVE, CS_CL_MAP, CS_STMT_RECEIVE_MAP},
        {CS_STMT_ADDRESS, CS_CL_SET, CS_STMT_ADDRESS_SET},
        {CS_STMT_SEND, CS_CL_MAPSET, 0},
        {CS_STMT_SEND_MAP, CS_CL_MAP, 0},
        {CS_STMT_SEND_TEXT, CS_CL_MAP, 0},
        {CS_STMT_GETMAIN, CS_CL_SET, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindCicsForm(c.statement, c.option), c.form) << DovOperName(static_cast<std::uint16_t>(c.statement));
        EXPECT_EQ(HasCicsForm(c.statement), c.statement == CS_STMT_SEND || c.statement == CS_STMT_RECEIVE ||
                                                c.statement == CS_STMT_ADDRESS);
    }
}

// --- ACCEPT and DISPLAY items ----------------------------------------------------------

class ScreenItemsTest : public ParserServicesTest {
protected:
    void TearDown() override {
        delete stmt_;
        delete program_;
        ParserServicesTest::TearDown();
    }

    // A screen item in a statement: data name X in slot 1, the other slots as
    // given; the statement keeps it in its item list.
    DovExpr* Item(DovOper op, std::initializer_list<std::pair<int, DovExpr*>> clauses) {
        DovExpr* item = new DovExprOper(op);
        item->SetArg(1, Leaf("X"));
        for (auto [slot, node] : clauses) item->SetArg(slot, node);
        stmt_ = new DovExprOper(op == DISPLAY_SCREEN_ITEM ? STMT_DISPLAY : STMT_ACCEPT);
        stmt_->SetArg(0, DovListExpr(op == DISPLAY_SCREEN_ITEM ? DISPLAY_ITEM_LIST : ACCEPT_ITEM_LIST, item));
        return item;
    }
    static DovExpr* Device(DovOper phrase, DovOper device, const char* keyword, const char* word) {
        DovExpr* iof = new DovExprOper(device);
        DovToken* t = Tok(word);
        iof->Tokens().AppendToken(t);
        return Phrase(phrase, keyword, iof);
    }
    DovExpr* ItemNow() const { return DovArgOrNull(DovArgOrNull(stmt_, 0), 0); }
    DovExpr* Run() {
        WalkTheTree(stmt_, program_, DovScreenItemWalkStep);
        return ItemNow();
    }
    void UseProgramWithConsoleClause() {
        program_ = new DovExprOper(COBOL_PROGRAM);
        DovExpr* names = new DovExprOper(PARA_SPECIAL_NAMES);
        names->SetArg(8, Leaf("CONSOLE-IS-CRT"));
        DovExpr* config = new DovExprOper(SECTION_CONFIGURATION);
        config->SetArg(3, names);
        DovExpr* envir = new DovExprOper(DIVISION_ENVIRONMENT);
        envir->SetArg(1, config);
        program_->SetArg(1, envir);
    }

    DovExpr* stmt_ = nullptr;
    DovExpr* program_ = nullptr;
};

TEST_F(ScreenItemsTest, DisplayNormalisationTable) {
    struct Case {
        const char* what;
        DovOper device;  // DSPL_UPON of this device; 0 for none
        int extraSlot;   // a screen phrase in this slot; -1 for none
        bool consoleClause;
        const char* shape;
    } cases[] = {
        {"plain", OP_NONE, -1, false, "DISPLAY_ANSI_ITEM('X',-,-,-)"},
        {"upon console", IOF_CONSOLE, -1, false, "DISPLAY_ANSI_ITEM('X',DSPL_UPON(IOF_CONSOLE),-,-)"},
        {"upon printer", IOF_PRINTER, -1, false, "DISPLAY_FUNC_ITEM('X',DSPL_UPON(IOF_PRINTER),-)"},
        {"upon sysout", IOF_SYSOUT, -1, false, "DISPLAY_FUNC_ITEM('X',DSPL_UPON(IOF_SYSOUT),-)"},
        // The function form has no NO ADVANCING phrase.
        {"no advancing", OP_NONE, 31, false, "DISPLAY_ANSI_ITEM('X',-,-,'PHRASE')"},
        {"upon sysout, no advancing", IOF_SYSOUT, 31, false,
         "DISPLAY_ANSI_ITEM('X',DSPL_UPON(IOF_SYSOUT),-,'PHRASE')"},
        {"upon crt", IOF_CRT, -1, false, "DISPLAY_SCREEN_ITEM"},
        {"upon crt-under", IOF_CRT_UNDER, -1, false, "DISPLAY_SCREEN_ITEM"},
        {"line 5", OP_NONE, 2, false, "DISPLAY_SCREEN_ITEM"},
        {"position phrase", OP_NONE, 0, false, "DISPLAY_SCREEN_ITEM"},
        {"mode is block", OP_NONE, 6, false, "DISPLAY_SCREEN_ITEM"},
        {"blank", OP_NONE, 29, false, "DISPLAY_SCREEN_ITEM"},
        {"console is crt", OP_NONE, -1, true, "DISPLAY_SCREEN_ITEM"},
        {"console is crt, upon console", IOF_CONSOLE, -1, true, "DISPLAY_SCREEN_ITEM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearMessages();
        DovExpr* item = Item(DISPLAY_SCREEN_ITEM, {});
        if (c.device != OP_NONE) item->SetArg(5, Device(DSPL_UPON, c.device, "UPON", "DEV"));
        if (c.extraSlot >= 0) item->SetArg(c.extraSlot, Leaf("PHRASE"));
        if (c.consoleClause) UseProgramWithConsoleClause();
        const std::string before = TokenImages(stmt_);
        DovExpr* now = Run();
        std::string shape = Shape(now);
        if (now->Oper() == DISPLAY_SCREEN_ITEM) shape = "DISPLAY_SCREEN_ITEM";
        EXPECT_EQ(shape, c.shape);
        EXPECT_EQ(TokenImages(stmt_), before);
        EXPECT_TRUE(Messages().empty());
        delete stmt_;
        delete program_;
        stmt_ = program_ = nullptr;
    }
}

TEST_F(ScreenItemsTest, DisplayWithNoAdvancingBecomesAnsiWithoutMessage) {
    DovExpr* with = Leaf("WITH");
    DovExpr* item = Item(DISPLAY_SCREEN_ITEM, {{7, with}, {31, Leaf("NO-ADVANCING")}});
    item->ArgSlots(31)->order = 4;
    DovToken* t = Tok("END");
    item->Tokens().AppendToken(t);
    DovExpr* now = Run();
    EXPECT_EQ(Shape(now), "DISPLAY_ANSI_ITEM('X',-,-,'NO-ADVANCING')");
    EXPECT_EQ(now->ArgSlots(3)->order, 4);
    EXPECT_EQ(now->ArgSlots(0)->order, 0);
    EXPECT_TRUE(Messages().empty());
    // The WITH word's text stays, in its place.
    EXPECT_EQ(TokenImages(stmt_), "X WITH NO-ADVANCING END");
}

// DISPLAY X UPON device WITH NO ADVANCING: the ANSI form holds both
// phrases, so nothing is lost or reported, and the text stays in order.
TEST_F(ScreenItemsTest, NoAdvancingUponADeviceKeepsTheAnsiForm) {
    DovExpr* item = Item(DISPLAY_SCREEN_ITEM, {{5, Device(DSPL_UPON, IOF_PRINTER, "UPON", "PRINTER")},
                                               {7, Leaf("WITH")},
                                               {31, Leaf("NO-ADVANCING")}});
    item->ArgSlots(31)->order = 3;
    DovExpr* now = Run();
    EXPECT_EQ(Shape(now), "DISPLAY_ANSI_ITEM('X',DSPL_UPON(IOF_PRINTER),-,'NO-ADVANCING')");
    EXPECT_EQ(now->ArgSlots(3)->order, 3);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(TokenImages(stmt_), "X UPON PRINTER WITH NO-ADVANCING");
}

TEST_F(ScreenItemsTest, AcceptNormalisationTable) {
    struct Case {
        const char* what;
        DovOper device;
        int extraSlot;
        const char* shape;
    } cases[] = {
        {"plain", OP_NONE, -1, "ACCEPT_ANSI_ITEM('X',-,-)"},
        {"from console", IOF_CONSOLE, -1, "ACCEPT_ANSI_ITEM('X',ACCP_FROM(IOF_CONSOLE),-)"},
        {"from sysin", IOF_SYSIN, -1, "ACCEPT_FUNC_ITEM('X',ACCP_FROM(IOF_SYSIN),-)"},
        {"from crt", IOF_CRT, -1, "ACCEPT_SCREEN_ITEM"},
        // CRT-UNDER is not a screen device for ACCEPT.
        {"from crt-under", IOF_CRT_UNDER, -1, "ACCEPT_FUNC_ITEM('X',ACCP_FROM(IOF_CRT_UNDER),-)"},
        {"at", OP_NONE, 4, "ACCEPT_SCREEN_ITEM"},
        {"auto", OP_NONE, 22, "ACCEPT_SCREEN_ITEM"},
        {"timeout", OP_NONE, 34, "ACCEPT_SCREEN_ITEM"},
        {"lower", OP_NONE, 38, "ACCEPT_SCREEN_ITEM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearMessages();
        DovExpr* item = Item(ACCEPT_SCREEN_ITEM, {});
        if (c.device != OP_NONE) item->SetArg(5, Device(ACCP_FROM, c.device, "FROM", "DEV"));
        if (c.extraSlot >= 0) item->SetArg(c.extraSlot, Leaf("PHRASE"));
        const std::string before = TokenImages(stmt_);
        DovExpr* now = Run();
        std::string shape = Shape(now);
        if (now->Oper() == ACCEPT_SCREEN_ITEM) shape = "ACCEPT_SCREEN_ITEM";
        EXPECT_EQ(shape, c.shape);
        EXPECT_EQ(TokenImages(stmt_), before);
        EXPECT_TRUE(Messages().empty());
        delete stmt_;
        stmt_ = nullptr;
    }
}

TEST_F(ScreenItemsTest, AcceptWithWordIsReportedLostAndItsTokensStay) {
    DovExpr* item = Item(ACCEPT_SCREEN_ITEM, {{7, Leaf("WITH")}});
    item->SetArg(30, Leaf("COPYMARK"));
    DovExpr* now = Run();
    EXPECT_EQ(Shape(now), "ACCEPT_ANSI_ITEM('X',-,'COPYMARK')");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "W:ProcessAcceptItem: clause #7 was lost");
    EXPECT_EQ(TokenImages(stmt_), "X WITH COPYMARK");
}

TEST_F(ScreenItemsTest, ItemNamingAScreenSectionEntryKeepsItsScreenForm) {
    // The item's data name resolves to a definition inside the SCREEN SECTION.
    DovExpr* section = new DovExprOper(SECTION_SCREEN);
    DovExpr* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    DovSymTabElt* elt = SymTabFindOrAdd(table, "SCR");
    auto* def = new DovNamedObjDef(NC_SCREEN_NAME, DovLink(elt), DovLinkList());
    elt->Links().Append(DovLink(def));
    section->SetArg(0, def);
    auto* use = new DovNamedObjUse(Leaf("SCR"), NC_SCREEN_NAME, 0);
    use->SetDefinition(def);
    DovExpr* item = Item(DISPLAY_SCREEN_ITEM, {});
    item->SetArg(1, use);
    EXPECT_EQ(Run(), item);
    // Unresolved, the same item converts.
    use->SetDefinition(nullptr);
    EXPECT_EQ(Run()->Oper(), DISPLAY_ANSI_ITEM);
    delete stmt_;
    stmt_ = nullptr;
    delete section;
    delete table;
}

TEST_F(ScreenItemsTest, WalkDescendsIntoOtherNodesOnly) {
    DovExpr* item = Item(DISPLAY_SCREEN_ITEM, {});
    EXPECT_EQ(DovScreenItemWalkStep(stmt_, nullptr), DOV_WALK_DESCEND);
    EXPECT_EQ(DovScreenItemWalkStep(item, nullptr), DOV_WALK_SKIP);
    EXPECT_EQ(ItemNow()->Oper(), DISPLAY_ANSI_ITEM);
}

}  // namespace
}  // namespace vemlo_test
