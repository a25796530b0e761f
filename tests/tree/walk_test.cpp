#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/small_stack_run.h"
#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;
using vemlo_test::Images;
using vemlo_test::Word;

// (A (B C) D) with leaves named by their text.
DovExpr* SmallTree() {
    return new DovExprOper(EX_LIST, new DovCharString("A"),
                           new DovExprOper(EX_LIST, new DovCharString("B"), new DovCharString("C")),
                           new DovCharString("D"));
}

std::string Name(DovExpr* n) { return n->IsTerminal() ? n->Image().CStr() : "L"; }

TEST(WalkTheTree, PreOrderAndResults) {
    DovExpr* t = SmallTree();
    std::vector<std::string> seen;
    WalkTheTree(t, &seen, [](DovExpr* n, void* ctx) -> int {
        static_cast<std::vector<std::string>*>(ctx)->push_back(Name(n));
        return 1;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"L", "A", "L", "B", "C", "D"}));

    seen.clear();
    int r = WalkTheTree(t, &seen, [](DovExpr* n, void* ctx) -> int {
        static_cast<std::vector<std::string>*>(ctx)->push_back(Name(n));
        if (Name(n) == "B") return 4;
        return n->IsTerminal() ? 1 : (n->Parent() ? 1 : 1);
    });
    EXPECT_EQ(r, 4);
    EXPECT_EQ(seen, (std::vector<std::string>{"L", "A", "L", "B"}));

    seen.clear();
    WalkTheTree(t, &seen, [](DovExpr* n, void* ctx) -> int {
        static_cast<std::vector<std::string>*>(ctx)->push_back(Name(n));
        return n->Parent() ? 2 : 1;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"L", "A", "L", "D"}));
    EXPECT_EQ(WalkTheTree(nullptr, nullptr, [](DovExpr*, void*) -> int { return 1; }), 2);
    delete t;
}

TEST(WalkTheTree, RemovedNodeRevisitsIndex) {
    auto* list = new DovExprOper(EX_LIST, new DovCharString("x"), new DovCharString("x"), new DovCharString("y"));
    std::vector<std::string> seen;
    WalkTheTree(list, &seen, [](DovExpr* n, void* ctx) -> int {
        if (!n->IsTerminal()) return 1;
        static_cast<std::vector<std::string>*>(ctx)->push_back(Name(n));
        if (n->Image() == "x") {
            delete n->DelThis();
            return 3;
        }
        return 1;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"x", "x", "y"}));
    EXPECT_EQ(list->NumArgs(), 1);
    delete list;
}

TEST(WalkTheTree, TracedOrNotTheSameVisitsAndResults) {
    // A traced walk takes another path through the children: both visit the
    // same nodes in the same order, descend into arguments a callback adds,
    // and return the last child's result.
    for (int trace : {0, 1}) {
        SCOPED_TRACE(trace);
        DovExpr* t = SmallTree();
        DovExpr* empty = new DovExprOper(EX_LIST);
        t->AddArg(empty);
        std::vector<std::string> seen;
        std::ostringstream lines;
        std::streambuf* saved = std::cout.rdbuf(lines.rdbuf());
        DovWalkTrace = trace;
        const int r = WalkTheTree(t, &seen, [](DovExpr* n, void* ctx) -> int {
            auto& names = *static_cast<std::vector<std::string>*>(ctx);
            names.push_back(Name(n));
            if (!n->IsTerminal() && n->NumArgs() == 0) n->AddArg(new DovCharString("E"));
            return Name(n) == "E" ? 2 : 1;
        });
        DovWalkTrace = 0;
        std::cout.rdbuf(saved);
        EXPECT_EQ(seen, (std::vector<std::string>{"L", "A", "L", "B", "C", "D", "L", "E"}));
        EXPECT_EQ(r, 2);
        std::size_t entered = 0;
        for (std::size_t at = 0; (at = lines.str().find("+++WalkTheTree", at)) != std::string::npos; ++at) ++entered;
        EXPECT_EQ(entered, trace ? seen.size() : 0u);
        delete t;
    }
}

TEST(NamedWalk, TokenListsInTextOrderAndStops) {
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    DovToken* t1 = Word("MOVE");
    DovToken* t2 = Word("TO");
    DovToken* t3 = Word("B-TEXT");
    move->ArgSlots(0)->tokens.AppendToken(t1);
    move->ArgSlots(1)->tokens.AppendToken(t2);
    move->Args(1)->Tokens().AppendToken(t3);
    struct Ctx {
        std::vector<std::string> events;
    } ctx;
    DovNamedWalk(
        move, &ctx, "test",
        [](DovExpr* n, DovExpr*, void* c) -> int {
            static_cast<Ctx*>(c)->events.push_back("pre " + Name(n));
            return 1;
        },
        [](DovExpr* n, DovExpr*, void* c, int r) -> int {
            static_cast<Ctx*>(c)->events.push_back("post " + Name(n));
            return r;
        },
        [](DovTokenList* l, DovExpr*, DovExpr*, void* c) -> int {
            for (DovToken* t : *l) static_cast<Ctx*>(c)->events.push_back(std::string("tok ") + t->image.CStr());
            return 1;
        });
    std::vector<std::string> want = {"pre L",   "tok MOVE", "pre A",      "post A", "tok TO",
                                     "pre B",   "tok B-TEXT", "post B", "post L"};
    EXPECT_EQ(ctx.events, want);

    ctx.events.clear();
    int r = move->NamedWalk(
        move, &ctx, "stop", nullptr,
        [](DovExpr* n, DovExpr*, void* c, int r) -> int {
            static_cast<Ctx*>(c)->events.push_back("post " + Name(n));
            return r;
        },
        [](DovTokenList* l, DovExpr*, DovExpr*, void*) -> int {
            for (DovToken* t : *l)
                if (t->image == "TO") return 4;
            return 1;
        });
    EXPECT_EQ(r, 4);
    EXPECT_EQ(ctx.events, (std::vector<std::string>{"post A"}));
    delete move;
}

TEST(DovSrcPosnBeg, FirstSignificantToken) {
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    DovTokenList& lead = move->ArgSlots(0)->tokens;
    lead.AddNewToken(SEP_SPACE, DovTxtPosn(1, 1, 1), " ");
    lead.AddNewToken(CM_COMMENT, DovTxtPosn(2, 6, 1), "* c");
    lead.AddNewToken(SEP_COMMA, DovTxtPosn(3, 1, 1), ",");
    move->Args(0)->Tokens().AddNewToken(TK_USER_DEFD_WORD, DovTxtPosn(3, 11, 1), "A");
    EXPECT_EQ(DovSrcPosnBeg(move), DovTxtPosn(3, 11, 1));
    EXPECT_EQ(DovSrcPosnBeg(nullptr), DovNullPosn);
    DovExprOper bare(STMT_MOVE);
    EXPECT_EQ(DovSrcPosnBeg(&bare), DovNullPosn);
    delete move;
}

TEST(TokenWalks, GatherDropAndRaise) {
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    move->ArgSlots(0)->tokens.AddNewToken(TK_USER_DEFD_WORD, DovNullPosn, "MOVE");
    move->ArgSlots(1)->tokens.AddNewToken(SEP_SPACE, DovNullPosn, " ");
    move->ArgSlots(1)->tokens.AddNewToken(CM_COMMENT, DovNullPosn, "*c");
    move->Tokens().AddNewToken(SEP_DOT, DovNullPosn, ".");
    DovTokenList comments;
    DovGatherComments(move, &comments);
    EXPECT_EQ(Images(comments), "*c");
    DovDropSpaceTokens(move);
    EXPECT_TRUE(move->ArgSlots(1)->tokens.IsEmpty());
    DovTokenList all;
    EXPECT_EQ(DovGatherTokens(move, &all), 1);
    EXPECT_EQ(Images(all), "MOVE.");

    // A comment in front of a statement's first argument moves up to the
    // statement's own slot when that slot holds only comments and blanks.
    auto* list = new DovExprOper(STMT_LIST, move);
    move->ArgSlots(0)->tokens.AddNewToken(CM_COMMENT, DovNullPosn, "*lead");
    move->ArgSlots(0)->tokens.AddNewToken(TK_USER_DEFD_WORD, DovNullPosn, "MOVE");
    DovRaiseComments(list);
    EXPECT_EQ(Images(list->ArgSlots(0)->tokens), "*lead");
    EXPECT_EQ(Images(move->ArgSlots(0)->tokens), "MOVE");
    delete list;
}

// Every walk over a tree nested far deeper than a walk that calls itself per
// level could follow on a small stack, and the deletion of that tree.
TEST(DeepTrees, EveryWalkFollowsEveryLevel) {
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([] {
        constexpr int kDepth = 20000;
        auto* bottom = new DovCharString("A");
        DovToken* token = Word("A", 7, 12);
        bottom->Tokens().AppendToken(token);
        DovExpr* top = vemlo_test::NestedMoves(kDepth, bottom);

        int visits = 0;
        EXPECT_EQ(WalkTheTree(top, &visits, [](DovExpr*, void* c) -> int { return ++*static_cast<int*>(c), 1; }), 1);
        EXPECT_EQ(visits, kDepth + 1);
        EXPECT_EQ(WalkTheTree(top, nullptr, [](DovExpr* n, void*) -> int { return n->IsTerminal() ? 4 : 1; }), 4);

        // Pre- and post-order callbacks for every node, a token list for
        // every slot and every node.
        struct Counts {
            int pre = 0, post = 0, lists = 0;
        } counts;
        DovNamedWalk(
            top, &counts, "deep", [](DovExpr*, DovExpr*, void* c) -> int { return ++static_cast<Counts*>(c)->pre, 1; },
            [](DovExpr*, DovExpr*, void* c, int r) -> int { return ++static_cast<Counts*>(c)->post, r; },
            [](DovTokenList*, DovExpr*, DovExpr*, void* c) -> int { return ++static_cast<Counts*>(c)->lists, 1; });
        EXPECT_EQ(counts.pre, kDepth + 1);
        EXPECT_EQ(counts.post, kDepth + 1);
        EXPECT_EQ(counts.lists, 3 * kDepth + 1);
        EXPECT_EQ(DovSrcPosnBeg(top), DovTxtPosn(7, 12, 1));

        EXPECT_EQ(DovFindOperBelow(top, CHAR_STRING), bottom);
        EXPECT_EQ(DovExprContains(top, bottom), 1);
        DovFillNullArgs(top);
        EXPECT_EQ(bottom->Parent()->Args(1)->Oper(), NULL_NODE);
        EXPECT_EQ(top->Args(1)->Oper(), NULL_NODE);
        delete top;
    }));
}

TEST(DovExprPath, AddRemoveAndOverflow) {
    DovExprPath path;
    DovTokenList msgs;
    DovNullNode n;
    path.top = 1023;
    EXPECT_EQ(path.Add(&n, &msgs), 0);
    EXPECT_EQ(path.top, 1024);
    EXPECT_EQ(path.Add(&n, &msgs), 'C');
    EXPECT_EQ(Images(msgs), "DovExprPath::Add: expr stack overflow");
    DovExprPath empty;
    DovTokenList m2;
    EXPECT_EQ(empty.Remove(&m2), 'C');
    EXPECT_EQ(empty.top, 0);
    EXPECT_EQ(Images(m2), "DovExprPath::Remove: empty expr stack");
}

// The overflow is reported at the deepest node that has a position: the
// node being added, else the nearest one above it on the path.
TEST(DovExprPath, OverflowAtTheDeepestPlacedNode) {
    DovExprOper placed(STMT_MOVE);
    DovToken* keyword = Word("MOVE", 9, 12);
    placed.ArgSlots(0)->tokens.AppendToken(keyword);
    DovNullNode unplaced;
    DovCharString leaf("A");
    DovToken* text = Word("A", 11, 20);
    leaf.Tokens().AppendToken(text);
    struct Case {
        const char* what;
        DovExpr* added;
        std::vector<DovExpr*> path;  // the last entries, deepest last
        DovTxtPosn at;
    };
    const Case cases[] = {
        {"the node added", &leaf, {&placed, &unplaced}, DovTxtPosn(11, 20, 1)},
        {"the node above", &unplaced, {&leaf, &placed, &unplaced, nullptr}, DovTxtPosn(9, 12, 1)},
        {"none", &unplaced, {&unplaced, nullptr}, DovNullPosn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DovExprPath path;
        path.top = DovExprPath::kCapacity;
        for (std::size_t i = 0; i < c.path.size(); ++i) path.nodes[path.top - c.path.size() + i] = c.path[i];
        DovTokenList msgs;
        EXPECT_EQ(path.Add(c.added, &msgs), 'C');
        ASSERT_NE(msgs.First(), nullptr);
        EXPECT_EQ(msgs.First()->Beg(), c.at);
    }
}

TEST(DovExprPath, SetAndDeepestValid) {
    DovExpr* t = SmallTree();
    DovExpr* b_list = t->Args(1);
    DovExpr* c = b_list->Args(1);
    DovExprPath path;
    DovTokenList msgs;
    ASSERT_EQ(path.Set(c, &msgs), 0);
    ASSERT_EQ(path.Depth(), 2);
    EXPECT_EQ(path.At(0), b_list);
    EXPECT_EQ(path.At(1), c);
    EXPECT_EQ(path.DeepestValid(), c);
    delete c->ReplThis(new DovCharString("C2"));
    EXPECT_EQ(path.DeepestValid(), b_list);
    DovExprPath root_path;
    EXPECT_EQ(root_path.Set(t, &msgs), 0);
    EXPECT_TRUE(root_path.IsEmpty());
    delete t;
}

TEST(DovExprPath, TooDeepAChain) {
    DovExpr* root = new DovExprOper(EX_LIST);
    DovExpr* cur = root;
    for (int i = 0; i < 1024; ++i) {
        auto* next = new DovExprOper(EX_LIST);
        cur->AddArg(next);
        cur = next;
    }
    DovExprPath path;
    DovTokenList msgs;
    EXPECT_EQ(path.Set(cur, &msgs), 'C');
    EXPECT_EQ(Images(msgs), "DovExprPath::Set: expr path overflow");
    DovExprPath ok;
    EXPECT_EQ(ok.Set(cur->Parent(), &msgs), 0);
    EXPECT_EQ(ok.Depth(), 1023);
    delete root;
}

}  // namespace
