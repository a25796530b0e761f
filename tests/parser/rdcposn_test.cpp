// Position reduction: which node of a reduction takes which tokens; and the
// collectors of EXEC blocks and NOTE paragraphs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parser/parser.h"
#include "parser/token_adapter.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

// A position list of tokens named by their images.
DovTokenList* Posn(std::initializer_list<const char*> images) {
    auto* list = new DovTokenList;
    for (const char* image : images) list->AddNewToken(TK_CHAR_STRING, DovNullPosn, image);
    return list;
}

std::string Images(const DovTokenList& list) {
    std::string out;
    for (const DovToken* t : list) {
        if (!out.empty()) out += ' ';
        out += std::string(t->image.CStr(), t->image.Len());
    }
    return out;
}

// Working parser for the duration of a test (for the error flag and the
// collectors).
class WithWorkingParser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(WorkingParser, nullptr);
        WorkingParser = &parser;
    }
    void TearDown() override {
        delete parser.execList;
        parser.execList = nullptr;
        delete parser.noteComment;
        parser.noteComment = nullptr;
        parser.noteQueue.Clear();
        WorkingParser = nullptr;
    }
    DovParserImpl parser;
};

using RdcPosnTest = WithWorkingParser;

struct Term {
    std::initializer_list<const char*> tokens;  // empty: no position list
    int value;                                   // index into the nodes, -1 none, -2 a small integer
};

TEST(RdcPosn, KeywordTokensGoToTheNextNodeTermsSlotAndTheRestToTheTail) {
    // $$ = CS_GRP_ASSIGN(A, B); terms: KW1 A KW2 B KW3.
    DovExpr* a = new DovCharString("A");
    DovExpr* b = new DovCharString("B");
    auto* top = new DovExprOper(CS_GRP_ASSIGN, a, b);
    YYPOSN posns[] = {Posn({"kw1"}), Posn({"a"}), Posn({"kw2", "kw2b"}), Posn({"b"}), Posn({"kw3"})};
    YYSTYPE values[] = {DovIntToValue(RW_ASSIGN), a, nullptr, b, DovIntToValue(5)};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 5, 0, 0, nullptr, top);
    EXPECT_EQ(Images(top->ArgSlots(0)->tokens), "kw1 a");
    EXPECT_EQ(Images(top->ArgSlots(1)->tokens), "kw2 kw2b b");
    EXPECT_EQ(Images(top->Tokens()), "kw3");
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->IsEmpty());
    for (YYPOSN p : posns) EXPECT_EQ(p, nullptr);
    delete result;
    delete top;
}

TEST(RdcPosn, AValueOneLevelDownTakesItsTokensInItsParentsSlot) {
    // $$ = CS_STMT_ASSIGN whose slot 1 holds a list of one group; the term
    // is that group.
    DovExpr* group = new DovExprOper(CS_GRP_ASSIGN);
    DovExpr* list = DovListExpr(CS_ASSIGNMENT_LIST, group);
    auto* top = new DovExprOper(CS_STMT_ASSIGN);
    top->SetArg(1, list);
    YYPOSN posns[] = {Posn({"assign"}), Posn({"g"})};
    YYSTYPE values[] = {nullptr, group};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 2, 0, 0, nullptr, top);
    EXPECT_EQ(Images(list->ArgSlots(0)->tokens), "assign g");
    EXPECT_TRUE(top->Tokens().IsEmpty());
    delete result;
    delete top;
}

TEST(RdcPosn, AListReductionGivesEveryTokenToTheListNode) {
    DovExpr* first = new DovCharString("X");
    DovExpr* second = new DovCharString("Y");
    DovExpr* list = DovListExpr(CS_ASSIGNMENT_LIST, first, second);
    YYPOSN posns[] = {Posn({"x"}), Posn({","}), Posn({"y"})};
    YYSTYPE values[] = {first, nullptr, second};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 3, 0, 0, nullptr, list);
    EXPECT_EQ(Images(list->Tokens()), "x , y");
    EXPECT_TRUE(list->ArgSlots(0)->tokens.IsEmpty());
    delete result;
    delete list;
}

TEST(RdcPosn, ANonNodeResultPassesTheTokensUp) {
    YYPOSN posns[] = {Posn({"on"}), nullptr, Posn({"size", "error"})};
    YYSTYPE values[] = {DovIntToValue(RW_ON), nullptr, DovIntToValue(RW_SIZE)};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 3, 0, 0, nullptr, DovIntToValue(CMB_ON_BEF_KWD));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(Images(*result), "on size error");
    delete result;
}

TEST(RdcPosn, AValueNotFoundInTheResultKeepsItsTokensForTheTail) {
    DovExpr* stray = new DovCharString("S");
    auto* top = new DovExprOper(CS_GRP_ASSIGN);
    YYPOSN posns[] = {Posn({"s"})};
    YYSTYPE values[] = {stray};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 1, 0, 0, nullptr, top);
    EXPECT_EQ(Images(top->Tokens()), "s");
    delete result;
    delete top;
    delete stray;
}

TEST(RdcPosn, NothingToReduceFreesTheEmptyPositions) {
    YYPOSN posns[] = {new DovTokenList, nullptr, new DovTokenList};
    YYSTYPE values[] = {nullptr, nullptr, nullptr};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 3, 0, 0, nullptr, nullptr);
    for (YYPOSN p : posns) EXPECT_EQ(p, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->IsEmpty());
    delete result;
    // No terms at all.
    RdcPosn(&result, nullptr, nullptr, 0, 0, 0, nullptr, nullptr);
    ASSERT_NE(result, nullptr);
    delete result;
}

// The result is the first term's list itself (the others are moved into
// it), whether or not any term had tokens.
TEST(RdcPosn, TheFirstTermsListBecomesTheResult) {
    struct Case {
        bool first_null;   // the first term has no list
        bool with_tokens;  // the later lists hold tokens
        const char* images;
    };
    for (const Case& c : {Case{false, false, ""}, Case{true, false, ""}, Case{false, true, "a b"},
                          Case{true, true, "a b"}}) {
        YYPOSN posns[] = {c.first_null ? nullptr : new DovTokenList, c.with_tokens ? Posn({"a"}) : new DovTokenList,
                          c.with_tokens ? Posn({"b"}) : new DovTokenList};
        const YYPOSN taken = posns[0] ? posns[0] : posns[1];
        YYSTYPE values[] = {nullptr, nullptr, nullptr};
        YYPOSN result = nullptr;
        RdcPosn(&result, posns, values, 3, 0, 0, nullptr, nullptr);
        for (YYPOSN p : posns) EXPECT_EQ(p, nullptr);
        EXPECT_EQ(result, taken);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(Images(*result), c.images);
        delete result;
    }
}

TEST_F(RdcPosnTest, TheErrorFlagStopsOneReduction) {
    parser.errorReduction = 1;
    auto* top = new DovExprOper(CS_GRP_ASSIGN);
    YYPOSN posns[] = {Posn({"e"})};
    YYSTYPE values[] = {nullptr};
    YYPOSN result = nullptr;
    RdcPosn(&result, posns, values, 1, 0, 0, nullptr, top);
    EXPECT_EQ(parser.errorReduction, 0);
    ASSERT_NE(posns[0], nullptr);  // untouched
    EXPECT_EQ(Images(*posns[0]), "e");
    EXPECT_TRUE(top->Tokens().IsEmpty());
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->IsEmpty());
    delete result;
    // The next reduction is an ordinary one.
    RdcPosn(&result, posns, values, 1, 0, 0, nullptr, top);
    EXPECT_EQ(Images(top->Tokens()), "e");
    delete result;
    delete top;
}

TEST_F(RdcPosnTest, TheTraceNamesTheSlotsThatTakeTokens) {
    parser.tokenTrace = 1;
    DovExpr* a = new DovCharString("A");
    auto* top = new DovExprOper(CS_GRP_ASSIGN, a, nullptr);
    YYPOSN posns[] = {Posn({"kw"}), Posn({"a"}), Posn({"tail"})};
    YYSTYPE values[] = {nullptr, a, nullptr};
    YYPOSN result = nullptr;
    testing::internal::CaptureStdout();
    RdcPosn(&result, posns, values, 3, 0, 0, nullptr, top);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("@@@RdcPosn: CS_GRP_ASSIGN[0] takes tokens from CHAR_STRING which is term #1: "), std::string::npos)
        << out;
    EXPECT_NE(out.find("@@@RdcPosn: CS_GRP_ASSIGN TAIL takes remaining tokens: "), std::string::npos) << out;
    delete result;
    delete top;
}

// One EXEC-token item: a token of `code` and `image`, with a kept blank
// when `blankBefore`.
DovTokenItem* ExecItem(int code, const char* image, bool blankBefore = false) {
    auto* item = new DovTokenItem(new DovToken(code, image));
    if (blankBefore) item->list.AddNewToken(SEP_SPACE, DovNullPosn, "");
    return item;
}

using Collectors = WithWorkingParser;

TEST_F(Collectors, ExecTokensArePreservedAndSplitIntoLines) {
    // EXEC DLI GU "\n" SEGMENT "\n" * comment on the line of X, X END-EXEC
    CollectExecToken(ExecItem(SEP_SPACE, ""));
    CollectExecToken(ExecItem(TK_CHAR_STRING, "DLI"));
    CollectExecToken(ExecItem(TK_CHAR_STRING, "GU", true));
    CollectExecToken(ExecItem(TK_CHAR_STRING, "\n"));
    CollectExecToken(ExecItem(TK_CHAR_STRING, "SEGMENT", true));
    DovTokenItem* last = ExecItem(TK_CHAR_STRING, "X");
    last->list.AddNewToken(CM_COMMENT, DovNullPosn, "* note");
    DovExpr* open = CollectExecToken(last);
    ASSERT_EQ(open, parser.execList);
    ASSERT_EQ(open->Oper(), EX_EXEC_TOKEN_LIST);
    ASSERT_EQ(open->NumArgs(), 6);
    // Every token of an element is preserved text.
    const DovExpr* gu = open->Args(2);
    EXPECT_EQ(std::string(gu->Image().CStr()), "GU");
    for (const DovToken* t : gu->Tokens()) EXPECT_TRUE(t->code == PRESERVED_SPACE || t->code == PRESERVED_STRING);
    // A comment line keeps its code.
    EXPECT_EQ(open->Args(5)->Tokens().First()->code, CM_COMMENT);

    DovExpr* stmt = SplitExecLines(STMT_EXEC);
    EXPECT_EQ(parser.execList, nullptr);
    ASSERT_NE(stmt, nullptr);
    ASSERT_EQ(stmt->Oper(), STMT_EXEC);
    ASSERT_NE(stmt->Args(0), nullptr);
    EXPECT_EQ(std::string(stmt->Args(0)->Image().CStr()), "DLI");
    DovExpr* lines = stmt->Args(1);
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->Oper(), EX_EXEC_LINE_LIST);
    ASSERT_EQ(lines->NumArgs(), 2);
    EXPECT_EQ(lines->Args(0)->NumArgs(), 1);  // GU
    EXPECT_EQ(lines->Args(1)->NumArgs(), 2);  // SEGMENT X
    // The comment moved from X to its line's slot.
    ASSERT_NE(lines->ArgSlots(1)->tokens.First(), nullptr);
    EXPECT_EQ(lines->ArgSlots(1)->tokens.First()->code, CM_COMMENT);
    for (const DovToken* t : lines->Args(1)->Args(1)->Tokens()) EXPECT_NE(t->code, CM_COMMENT);
    // No token of the block is lost: the leading blank went with DLI, the
    // line end to its line's slot.
    DovTokenList all;
    DovGatherTokens(stmt, &all);
    int count = 0;
    for (const DovToken* t : all) count += t != nullptr;
    EXPECT_EQ(count, 9);
    delete stmt;

    // Without an open list: an empty statement.
    DovExpr* empty = SplitExecLines(STMT_EXEC);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Args(0), nullptr);
    delete empty;
}

TEST_F(Collectors, NoteTextBecomesPersistentCommentLines) {
    DovTokenItem note(new DovToken(RW_NOTE, "", DovTxtPosnRange{DovTxtPosn(3, 7, 0), DovTxtPosn(3, 11, 0)}));
    DovTokenItem text(new DovToken(TK_CHAR_STRING, "TEXT", DovTxtPosnRange{DovTxtPosn(3, 12, 0), DovTxtPosn(3, 16, 0)}));
    DovTokenItem newline(new DovToken(TK_CHAR_STRING, "\n"));
    DovTokenItem more(new DovToken(TK_CHAR_STRING, "MORE", DovTxtPosnRange{DovTxtPosn(4, 11, 0), DovTxtPosn(4, 15, 0)}));
    CollectNoteText(&note);
    CollectNoteText(&text);
    CollectNoteText(&newline);
    CollectNoteText(&more);
    CollectNoteText(nullptr);
    ASSERT_EQ(parser.noteComment, nullptr);
    std::vector<const DovToken*> queued;
    for (const DovToken* t : parser.noteQueue) queued.push_back(t);
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0]->code, CM_PERSISTENT);
    EXPECT_EQ(std::string(queued[0]->image.CStr()), "* NOTETEXT");
    EXPECT_EQ(queued[0]->Beg().Line(), 3u);
    EXPECT_EQ(queued[0]->End().Column(), 16);
    EXPECT_EQ(std::string(queued[1]->image.CStr()), "* MORE");
    // The items stay the caller's.
    EXPECT_NE(text.token, nullptr);
    EXPECT_TRUE(IsNoteKeywordToken(note.token));
    DovToken end(TK_END_NOTE, "");
    EXPECT_TRUE(IsNoteKeywordToken(&end));
    EXPECT_FALSE(IsNoteKeywordToken(text.token));
}

TEST(TokenExprTest, SpellsTheTokenAndATerminalValue) {
    DovExpr* name = new DovCharString("CUSTOMER");
    YYSTYPE value = name;
    const std::string withValue = TokenExpr(TK_USER_DEFD_WORD, &value).CStr();
    EXPECT_NE(withValue.find("CUSTOMER"), std::string::npos) << withValue;
    const std::string plain = TokenExpr(SEP_DOT, nullptr).CStr();
    EXPECT_FALSE(plain.empty());
    auto* node = new DovExprOper(CS_GRP_ASSIGN);
    YYSTYPE nodeValue = node;
    const std::string dump = TokenExpr(RW_ASSIGN, &nodeValue).CStr();
    EXPECT_NE(dump.find("  TokenExpr:\n"), std::string::npos) << dump;
    delete node;
    delete name;
}

}  // namespace
