// Parser messages, syntax-error reports and the syntax-error node that keeps
// the tokens error recovery skips.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "parser/parser.h"
#include "tests/support/small_stack_run.h"
#include "tree/leaf.h"
#include "tree/walk.h"

namespace {

struct Caught {
    int level;
    DovTxtPosn posn;
    std::string text;
};
std::vector<Caught> caught;
void Catch(int level, const DovTxtPosn& posn, const VString& text) { caught.push_back({level, posn, text.CStr()}); }

// The parser as the grammar sees it inside a parse: working, with a list.
class ErrorNodes : public ::testing::Test {
protected:
    void SetUp() override {
        caught.clear();
        parser.messageCallback = Catch;
        parser.messages = &messages;
        WorkingParser = &parser;
    }
    void TearDown() override {
        WorkingParser = nullptr;
        parser.messages = nullptr;
    }

    // A token with its begin and end on one line.
    static DovToken* Tok(int code, const char* image, int line, int column) {
        return new DovToken(code, image, {DovTxtPosn(line, column, 1), DovTxtPosn(line, column, 1)});
    }
    static void Add(DovTokenList& list, DovToken* token) { list.AppendToken(token); }
    int CountOf(int code) const {
        int n = 0;
        for (const DovToken* t : messages) n += t->code == code;
        return n;
    }

    // The items of the pending error node: code and text of each.
    std::vector<std::string> Items() const {
        std::vector<std::string> out;
        DovExpr* list = DovArgOrNull(parser.errNode, 0);
        for (int i = 0; list && i < list->NumArgs(); ++i) {
            DovExpr* item = DovArgOrNull(list, i);
            const DovToken* t = item ? item->Tokens().First() : nullptr;
            out.push_back(std::string(DovTokenName(t ? t->code : 0)) + ":" + item->Image().CStr() + ":" +
                          (t ? t->image.CStr() : ""));
        }
        return out;
    }

    DovParserImpl parser;
    DovTokenList messages;
};

TEST_F(ErrorNodes, WarningsAndErrorsGoToTheListOtherLevelsToTheCallback) {
    parser.currentPosn = DovTxtPosn(12, 7, 1);
    parser.ParserError(MSG_WARN, DovNullPosn, "empty position");
    parser.ParserError(MSG_ERR, DovTxtPosn(3, 4, 1), "placed");
    parser.ParserError(MSG_INFO, DovNullPosn, "information");
    parser.ParserError(MSG_SEVERE, DovTxtPosn(5, 0, 1), "severe");
    ASSERT_EQ(CountOf(MSG_WARN), 1);
    const DovToken* warn = messages.First();
    EXPECT_TRUE(warn->image == "empty position");
    EXPECT_EQ(warn->Beg(), DovTxtPosn(12, 7, 1));
    EXPECT_EQ(warn->End(), DovTxtPosn(12, 7, 1));
    EXPECT_EQ(messages.Last()->Beg(), DovTxtPosn(3, 4, 1));
    EXPECT_EQ(CountOf(MSG_INFO), 0);  // never in the list
    ASSERT_EQ(caught.size(), 2u);
    EXPECT_EQ(caught[0].level, MSG_INFO);
    EXPECT_EQ(caught[0].posn, DovTxtPosn(12, 7, 1));
    EXPECT_EQ(caught[1].level, MSG_SEVERE);
    EXPECT_EQ(caught[1].posn, DovTxtPosn(5, 0, 1));
}

TEST_F(ErrorNodes, WithoutAListTheMessageIsRefused) {
    parser.messages = nullptr;
    parser.ParserError(MSG_ERR, DovTxtPosn(1, 1, 1), "lost");
    ASSERT_EQ(caught.size(), 1u);
    EXPECT_EQ(caught[0].level, MSG_TERMINAL);
    EXPECT_EQ(caught[0].text, "DovParserImpl::ParserError: no list of error messages specified");
    EXPECT_TRUE(messages.IsEmpty());
}

TEST_F(ErrorNodes, TheRecoveryTracePrintsEveryMessage) {
    parser.errRecoveryTrace = 1;
    std::ostringstream out;
    std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
    parser.ParserError(MSG_ERR, DovTxtPosn(3, 4, 0), "bad");
    parser.ParserError(MSG_TERMINAL, DovTxtPosn(3, 4, 0), "worse");
    std::cout.rdbuf(saved);
    const std::string at = DovTxtPosnStr(DovTxtPosn(3, 4, 0)).CStr();
    EXPECT_EQ(out.str(), at + ": ERROR: lev=2: bad\n" + at + ": ERROR: lev=4: worse\n");
}

TEST_F(ErrorNodes, ASyntaxErrorIsReportedAtTheFirstRealToken) {
    DovTokenList* posn = new DovTokenList;
    Add(*posn, Tok(SEP_SPACE, " ", 4, 1));
    Add(*posn, Tok(CM_COMMENT, "* c", 4, 2));
    Add(*posn, Tok(SEP_COMMA, ",", 4, 3));
    Add(*posn, Tok(RW_MOVE, "MOVE", 4, 11));
    YYSTYPE value = nullptr;
    ReportSyntaxError("syntax error", RW_MOVE, &value, &posn);
    ASSERT_EQ(CountOf(MSG_ERR), 1);
    const DovToken* m = messages.First();
    EXPECT_EQ(m->Beg(), DovTxtPosn(4, 11, 1));
    const VString spelling = TokenExpr(RW_MOVE, &value);
    EXPECT_TRUE(m->image == DovFormat("syntax error. at token: %s", spelling.CStr())) << m->image;
    delete posn;
    // Nothing but blanks: the empty position, which becomes the current one.
    parser.currentPosn = DovTxtPosn(8, 2, 1);
    DovTokenList* blanks = new DovTokenList;
    Add(*blanks, Tok(SEP_SPACE, " ", 4, 1));
    ReportSyntaxError("syntax error", 0, &value, &blanks);
    EXPECT_EQ(messages.Last()->Beg(), DovTxtPosn(8, 2, 1));
    delete blanks;
    YYPOSN none = nullptr;
    ReportSyntaxError("syntax error", 0, &value, &none);
    EXPECT_EQ(CountOf(MSG_ERR), 3);
}

TEST_F(ErrorNodes, GenErrNodeKeepsOnePendingNode) {
    DovExpr* first = GenErrNode(&parser);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Oper(), STMT__SYNTAX_ERROR);
    ASSERT_NE(DovArgOrNull(first, 0), nullptr);
    EXPECT_EQ(DovArgOrNull(first, 0)->Oper(), EX_EXEC_TOKEN_LIST);
    EXPECT_EQ(DovArgOrNull(first, 0)->NumArgs(), 0);
    EXPECT_EQ(parser.errNode, first);
    EXPECT_EQ(GenErrNode(&parser), first);  // unattached: used again
    DovExpr* holder = new DovExprOper(SENTENCE_LIST);
    holder->AddArg(first);
    DovExpr* second = GenErrNode(&parser);  // attached: a new one, the pending stays
    EXPECT_NE(second, first);
    EXPECT_EQ(second->Oper(), STMT__SYNTAX_ERROR);
    EXPECT_EQ(parser.errNode, first);
    delete second;
    delete holder;
    parser.errNode = nullptr;
}

TEST_F(ErrorNodes, GenErrNodeTraces) {
    parser.errRecoveryTrace = 1;
    std::ostringstream out;
    std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
    DovExpr* node = GenErrNode(&parser);
    GenErrNode(&parser);
    DovExpr* holder = new DovExprOper(SENTENCE_LIST);
    holder->AddArg(node);
    delete GenErrNode(&parser);
    std::cout.rdbuf(saved);
    EXPECT_EQ(out.str(),
              "  GenErrNode: no err_node, generate new\n"
              "  GenErrNode: err_node is UN-attached, use it\n"
              "  GenErrNode: err_node is attached, generate new one\n");
    delete holder;
    parser.errNode = nullptr;
}

TEST_F(ErrorNodes, SkippedTokensBecomeItemsOfTheErrorNode) {
    GenErrNode(&parser);
    DovTokenList tokens;
    Add(tokens, Tok(SEP_SPACE, "", 5, 15));
    Add(tokens, Tok(CM_COMMENT, "* note", 5, 16));
    Add(tokens, Tok(TK_USER_DEFD_WORD, "ALPHA", 5, 17));
    Add(tokens, Tok(SEP_DOT, "", 5, 22));
    AttachErrTokens(&tokens, 1);
    EXPECT_TRUE(tokens.IsEmpty());
    EXPECT_EQ(Items(), (std::vector<std::string>{"PRESERVED_SPACE: : ", "CM_COMMENT::* note",
                                                 "PRESERVED_STRING:ALPHA:ALPHA", "PRESERVED_STRING:.:."}));
    // Tokens from before the first item go in front, in their order.
    DovTokenList earlier;
    Add(earlier, Tok(RW_ADD, "ADD", 4, 11));
    Add(earlier, Tok(TK_INT_NUM_LIT, "1", 4, 15));
    AttachErrTokens(&earlier, 0);
    std::vector<std::string> items = Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0], "PRESERVED_STRING:ADD:ADD");
    EXPECT_EQ(items[1], "PRESERVED_STRING:1:1");
    EXPECT_EQ(items[2], "PRESERVED_SPACE: : ");
    // Later tokens go to the end.
    DovTokenList later;
    Add(later, Tok(TK_USER_DEFD_WORD, "BETA", 6, 11));
    AttachErrTokens(&later, 1);
    EXPECT_EQ(Items().back(), "PRESERVED_STRING:BETA:BETA");
    // Each item holds exactly its one token.
    DovExpr* list = DovArgOrNull(parser.errNode, 0);
    for (int i = 0; i < list->NumArgs(); ++i) {
        const DovTokenList& t = DovArgOrNull(list, i)->Tokens();
        ASSERT_NE(t.First(), nullptr);
        EXPECT_EQ(t.First(), t.Last());
    }
}

TEST_F(ErrorNodes, NothingIsAttachedWithoutAPendingNode) {
    DovTokenList tokens;
    Add(tokens, Tok(RW_MOVE, "MOVE", 5, 11));
    AttachErrTokens(&tokens, 1);
    EXPECT_FALSE(tokens.IsEmpty());
    EXPECT_EQ(parser.errNode, nullptr);
    DovTokenList empty;
    GenErrNode(&parser);
    AttachErrTokens(&empty, 1);
    AttachErrTokens(nullptr, 1);
    EXPECT_TRUE(Items().empty());
}

TEST_F(ErrorNodes, DiscardedValuesGiveTheirTokensToTheErrorNode) {
    GenErrNode(&parser);
    DeleteErrValue(DovIntToValue(RW_MOVE), 0);  // a token code: left alone
    DeleteErrValue(nullptr, 1);
    // A loose node: its tokens move, the node goes.
    DovExpr* loose = new DovExprOper(EX_LIST);
    DovExpr* leaf = new DovCharString("X");
    Add(leaf->Tokens(), Tok(TK_USER_DEFD_WORD, "X", 7, 11));
    loose->AddArg(leaf);
    DeleteErrValue(loose, 1);
    EXPECT_EQ(Items(), (std::vector<std::string>{"PRESERVED_STRING:X:X"}));
    // A node with a parent, the source root and a program stay as they are.
    DovExpr* holder = new DovExprOper(EX_LIST);
    DovExpr* child = new DovCharString("Y");
    holder->AddArg(child);
    DeleteErrValue(child, 2);
    EXPECT_EQ(holder->NumArgs(), 1);
    DovExpr* file = new DovExprOper(COBOL_FILE);
    DovExpr* program = new DovExprOper(COBOL_PROGRAM);
    DeleteErrValue(file, 2);
    DeleteErrValue(program, 2);
    delete file;
    delete program;
    delete holder;
}

TEST_F(ErrorNodes, DiscardingTheNodeThatHoldsThePendingNodeForgetsIt) {
    DovExpr* errNode = GenErrNode(&parser);
    DovExpr* statement = new DovExprOper(SENTENCE_LIST);
    statement->AddArg(errNode);
    parser.dataList = new DovExprOper(DECL_DD_LIST);
    statement->AddArg(parser.dataList);
    parser.errRecoveryTrace = 1;
    std::ostringstream out;
    std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
    DeleteErrValue(statement, 1);
    std::cout.rdbuf(saved);
    parser.errRecoveryTrace = 0;
    EXPECT_EQ(parser.errNode, nullptr);
    EXPECT_EQ(parser.dataList, nullptr);  // nothing of the parse state points into freed nodes
    EXPECT_NE(out.str().find("=!!=ERR_NODE DELETED, set it to NULL\n"), std::string::npos) << out.str();
    // The pending node itself.
    DovExpr* again = GenErrNode(&parser);
    DeleteErrValue(again, 2);
    EXPECT_EQ(parser.errNode, nullptr);
}

TEST_F(ErrorNodes, DiscardedPositions) {
    GenErrNode(&parser);
    DovTokenList* popped = new DovTokenList;
    Add(*popped, Tok(RW_MOVE, "MOVE", 3, 11));
    DeleteErrPosn(popped, 1);  // handed over and deleted
    EXPECT_EQ(Items().size(), 1u);
    DovTokenList* lookahead = new DovTokenList;
    Add(*lookahead, Tok(RW_TO, "TO", 3, 16));
    DeleteErrPosn(lookahead, 0);  // handed over, the list stays the caller's
    EXPECT_TRUE(lookahead->IsEmpty());
    EXPECT_EQ(Items().size(), 2u);
    delete lookahead;
    DeleteErrPosn(nullptr, 2);
    DovExpr* pending = parser.errNode;
    DeleteErrPosn(nullptr, 1);
    EXPECT_EQ(parser.errNode, pending);
    // No list and mode -1: a new pending node.
    DovExpr* holder = new DovExprOper(SENTENCE_LIST);
    holder->AddArg(pending);
    DeleteErrPosn(nullptr, -1);
    ASSERT_NE(parser.errNode, nullptr);
    EXPECT_NE(parser.errNode, pending);
    EXPECT_EQ(parser.errNode->Oper(), STMT__SYNTAX_ERROR);
    delete holder;
}

TEST_F(ErrorNodes, MarkFromSourceMarksNodesAndSlots) {
    DovExpr* top = new DovExprOper(EX_LIST);
    DovExpr* a = new DovCharString("A");
    DovExpr* b = new DovExprOper(EX_LIST);
    DovExpr* move = new DovExprOper(STMT_MOVE);  // slots without a child
    top->AddArg(a);
    top->AddArg(b);
    b->AddArg(new DovCharString("C"));
    b->AddArg(move);
    b->SetFlag(2);                  // a mark already set stays
    top->ArgSlots(0)->code = -1;    // so does a slot flag that is not 0
    move->ArgSlots(0)->code = 2;
    DovMarkFromSource(top);
    EXPECT_EQ(top->Flag(), 1);
    EXPECT_EQ(a->Flag(), 1);
    EXPECT_EQ(b->Flag(), 2);
    EXPECT_EQ(DovArgOrNull(b, 0)->Flag(), 1);
    EXPECT_EQ(move->Flag(), 1);
    EXPECT_EQ(top->ArgSlots(0)->code, -1);
    EXPECT_EQ(top->ArgSlots(1)->code, 1);
    EXPECT_EQ(b->ArgSlots(0)->code, 1);
    EXPECT_EQ(b->ArgSlots(1)->code, 1);
    ASSERT_GT(move->NumArgs(), 1);
    EXPECT_EQ(move->ArgSlots(0)->code, 2);
    for (int i = 1; i < move->NumArgs(); ++i) {
        EXPECT_EQ(move->ArgSlots(i)->arg, nullptr);
        EXPECT_EQ(move->ArgSlots(i)->code, 1);
    }
    delete top;
}

// A tree nested far deeper than a pass that calls itself per level could
// follow on a small stack: every level is marked.
TEST(MarkFromSource, AChainOfAnyDepth) {
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([] {
        constexpr int kDepth = 20000;
        DovExpr* bottom = new DovCharString("A");
        DovExpr* top = bottom;
        for (int i = 0; i < kDepth; ++i) {
            auto* move = new DovExprOper(STMT_MOVE);
            move->SetArg(0, top);
            top = move;
        }
        DovMarkFromSource(top);
        EXPECT_EQ(top->Flag(), 1);
        EXPECT_EQ(top->ArgSlots(1)->code, 1);
        EXPECT_EQ(bottom->Flag(), 1);
        EXPECT_EQ(bottom->Parent()->ArgSlots(0)->code, 1);
        delete top;
    }));
}

}  // namespace

namespace {

// A pending node that no error alternative took, replaced at the next
// report: its tokens move to the new node and it is freed (the sanitizer
// build checks the freeing).
TEST_F(ErrorNodes, AReplacedPendingNodeGivesItsTokensToTheNewOne) {
    GenErrNode(&parser);
    DovTokenList* popped = new DovTokenList;
    Add(*popped, Tok(RW_MOVE, "MOVE", 3, 11));
    DeleteErrPosn(popped, 1);
    DovExpr* first = parser.errNode;
    DeleteErrPosn(nullptr, -1);
    ASSERT_NE(parser.errNode, nullptr);
    EXPECT_NE(parser.errNode, first);
    EXPECT_EQ(Items().size(), 1u);
    delete parser.errNode;
    parser.errNode = nullptr;
}

// A popped cell that holds the pending node: the parser forgets the node,
// and the cell's tokens go to a fresh pending node instead of being lost.
TEST_F(ErrorNodes, TokensOfADiscardedCellHoldingThePendingNodeAreKept) {
    DovExpr* errNode = GenErrNode(&parser);
    DovExpr* statement = new DovExprOper(SENTENCE_LIST);
    statement->AddArg(errNode);
    Add(statement->Tokens(), Tok(RW_MOVE, "MOVE", 3, 11));
    DeleteErrValue(statement, 1);
    ASSERT_NE(parser.errNode, nullptr);
    EXPECT_NE(parser.errNode, errNode);
    EXPECT_EQ(Items().size(), 1u);
    delete parser.errNode;
    parser.errNode = nullptr;
}

}  // namespace
