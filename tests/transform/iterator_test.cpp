// Tree iterators: stepping forward and back, searching by predicate,
// collecting, the transformation searches driven by an iterator and the
// nested-program predicate.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::Leaf;
using vemlo_test::Name;
using vemlo_test::Op;
using vemlo_test::Scripted;
using Strings = std::vector<std::string>;

struct TreeDeleter {
    void operator()(DovExpr* e) const { delete e; }
};
using Tree = std::unique_ptr<DovExpr, TreeDeleter>;

int Always(DovExpr*, std::intptr_t) { return 1; }
int NamedAs(DovExpr* node, std::intptr_t name) { return Name(node) == reinterpret_cast<const char*>(name); }
std::intptr_t Data(const char* name) { return reinterpret_cast<std::intptr_t>(name); }

Strings Names(const DovLinkList& links) {
    Strings out;
    for (const DovLink& l : links) {
        EXPECT_EQ(l.index, -1);
        out.push_back(Name(l.target));
    }
    return out;
}

// Steps with `step` from where the iterator stands until it gives null.
Strings Walk(DovTreeIterator& it, DovExpr* (DovTreeIterator::*step)()) {
    Strings out;
    while (DovExpr* e = (it.*step)()) out.push_back(Name(e));
    return out;
}

// root(A(A1), B)
Tree Small() { return Tree(Op("root", {Op("A", {Leaf("A1")}), Leaf("B")})); }

// top(P(Q(q1, q2), R), S(s1(t1)), U), the iteration bounded to P and S in
// turn.
Tree Larger() {
    return Tree(Op("top", {Op("P", {Op("Q", {Leaf("q1"), Leaf("q2")}), Leaf("R")}), Op("S", {Op("s1", {Leaf("t1")})}),
                           Leaf("U")}));
}

TEST(TreeIterator, ForwardFromTheRoot) {
    Tree t = Small();
    DovTreeIterator it(t.get());
    EXPECT_EQ(Walk(it, &DovTreeIterator::Next), (Strings{"A", "A1", "B"}));
    EXPECT_EQ(it.current, nullptr);
    // Over is over.
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.Previous(), nullptr);
}

TEST(TreeIterator, BackwardFromTheLastNode) {
    Tree t = Small();
    DovTreeIterator it(t.get(), t->Args(1));
    EXPECT_EQ(Walk(it, &DovTreeIterator::Previous), (Strings{"A1", "A", "root"}));
    EXPECT_EQ(it.current, nullptr);
}

TEST(TreeIterator, CollectTakesTheRootAndEveryNode) {
    Tree t = Small();
    DovTreeIterator it(t.get(), t->Args(1));
    EXPECT_EQ(Names(it.Collect(Always, 0)), (Strings{"root", "A", "A1", "B"}));
    EXPECT_EQ(it.current, nullptr);
    EXPECT_TRUE(it.Collect(nullptr, 0).IsEmpty());
    DovTreeIterator none;
    EXPECT_TRUE(none.Collect(Always, 0).IsEmpty());
}

TEST(TreeIterator, ARootWithoutArgumentsHasNoNextNode) {
    Tree t(Op("alone"));
    DovTreeIterator it(t.get());
    EXPECT_EQ(it.Next(), nullptr);
    DovTreeIterator back(t.get());
    EXPECT_EQ(back.Previous(), nullptr);
    DovTreeIterator leaf(Leaf("x"));
    EXPECT_EQ(leaf.Next(), nullptr);
    delete leaf.root;
}

TEST(TreeIterator, TheWalkStaysInsideItsSubtree) {
    Tree t = Larger();
    DovExpr* p = t->Args(0);
    DovExpr* s = t->Args(1);
    DovTreeIterator in_p(p);
    EXPECT_EQ(Walk(in_p, &DovTreeIterator::Next), (Strings{"Q", "q1", "q2", "R"}));
    DovTreeIterator in_s(s);
    EXPECT_EQ(Walk(in_s, &DovTreeIterator::Next), (Strings{"s1", "t1"}));
    // Backward from the deepest last node of P, and from S's last node.
    DovTreeIterator back_p(p, p->Args(1));
    EXPECT_EQ(Walk(back_p, &DovTreeIterator::Previous), (Strings{"q2", "q1", "Q", "P"}));
    // The whole tree, both ways: backward is forward reversed.
    DovTreeIterator all(t.get());
    Strings forward = Walk(all, &DovTreeIterator::Next);
    EXPECT_EQ(forward, (Strings{"P", "Q", "q1", "q2", "R", "S", "s1", "t1", "U"}));
    DovTreeIterator from_end(t.get(), t->Args(2));
    Strings backward = Walk(from_end, &DovTreeIterator::Previous);
    EXPECT_EQ(backward, (Strings{"t1", "s1", "S", "R", "q2", "q1", "Q", "P", "top"}));
    // A current node whose climb passes the top of the tree without meeting
    // the root ends the walk.
    DovTreeIterator astray(s, t->Args(2));
    EXPECT_EQ(astray.Next(), nullptr);
    EXPECT_EQ(astray.current, nullptr);
}

TEST(TreeIterator, AnEmptySlotEndsTheIteration) {
    Tree t(Op("root", {Op("A", {nullptr, Leaf("a2")}), Leaf("B")}));
    DovTreeIterator it(t.get());
    EXPECT_EQ(Walk(it, &DovTreeIterator::Next), (Strings{"A"}));
    // With the slot filled by a null node, every node is visited.
    DovExpr* root = t.release();
    DovFillNullArgs(root);
    t.reset(root);
    DovTreeIterator filled(t.get());
    EXPECT_EQ(Walk(filled, &DovTreeIterator::Next), (Strings{"A", "NULL", "a2", "B"}));
}

TEST(TreeIterator, ChangesBetweenStepsAreFollowed) {
    Tree t(Op("root", {Leaf("a"), Leaf("b"), Leaf("c"), Leaf("d")}));
    DovTreeIterator it(t.get());
    EXPECT_EQ(Name(it.Next()), "a");
    EXPECT_EQ(Name(it.Next()), "b");
    // Two new nodes in front shift b two places on.
    t->InsArg(Leaf("x"), 0);
    t->InsArg(Leaf("y"), 0);
    EXPECT_EQ(Name(it.Next()), "c");
    EXPECT_EQ(Name(it.Previous()), "b");
    EXPECT_EQ(Name(it.Previous()), "a");
    // a leaves; the node now before b is x.
    it.current = t->Args(3);
    delete t->DelArg(2, 1, 0);
    EXPECT_EQ(Name(it.current), "b");
    EXPECT_EQ(Name(it.Previous()), "x");
    // Moved by hand to the other end.
    it.current = t->Args(t->NumArgs() - 1);
    EXPECT_EQ(Name(it.Previous()), "c");
    EXPECT_EQ(Name(it.Next()), "d");
    EXPECT_EQ(it.Next(), nullptr);
}

TEST(TreeIterator, AWideListBothWays) {
    std::vector<DovExpr*> items;
    Strings expected;
    for (int i = 0; i < 3000; ++i) {
        std::string n = "s" + std::to_string(i);
        items.push_back(Op(n.c_str(), {Leaf((n + "a").c_str()), Leaf((n + "b").c_str())}));
        for (const char* suffix : {"", "a", "b"}) expected.push_back(n + suffix);
    }
    Tree t(Op("list", items));
    DovTreeIterator it(t.get());
    EXPECT_EQ(Walk(it, &DovTreeIterator::Next), expected);
    DovTreeIterator back(t.get(), t->Args(2999)->Args(1));
    Strings backward = Walk(back, &DovTreeIterator::Previous);
    expected.pop_back();
    expected.insert(expected.begin(), "list");
    EXPECT_EQ(Strings(backward.rbegin(), backward.rend()), expected);
}

TEST(TreeIterator, FindNextAndFindPrevious) {
    Tree t = Larger();
    DovTreeIterator it(t.get());
    EXPECT_EQ(Name(it.FindNext(NamedAs, Data("R"))), "R");
    EXPECT_EQ(Name(it.current), "R");
    EXPECT_EQ(Name(it.FindPrevious(NamedAs, Data("Q"))), "Q");
    // The current node itself is not looked at.
    EXPECT_EQ(it.FindNext(NamedAs, Data("Q")), nullptr);
    EXPECT_EQ(it.current, nullptr);

    // A null predicate gives null without moving.
    DovTreeIterator still(t.get(), t->Args(1));
    EXPECT_EQ(still.FindNext(nullptr, 0), nullptr);
    EXPECT_EQ(still.FindPrevious(nullptr, 0), nullptr);
    EXPECT_EQ(Name(still.current), "S");
    DovTreeIterator unset;
    EXPECT_EQ(unset.FindNext(Always, 0), nullptr);
}

TEST(TreeIterator, SearchNextReportsDWhenNothingMatches) {
    Tree t = Larger();
    Scripted s;
    DovTreeIterator it(t.get());
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 'D');
    EXPECT_EQ(it.current, nullptr);
    // Every node after the start was asked, in search mode.
    EXPECT_EQ(s.names, (Strings{"P", "Q", "q1", "q2", "R", "S", "s1", "t1", "U"}));
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 'D');
    EXPECT_EQ(s.names.size(), 9u);
}

TEST(TreeIterator, SearchesStopOnEachMatch) {
    Tree t = Larger();
    Scripted s;
    std::vector<int> applies;
    s.body = [&applies](Scripted&, DovExpr* node, int apply, DovTokenList*, DovExpr**) -> char {
        applies.push_back(apply);
        std::string n = Name(node);
        if (n == "q2" || n == "s1" || n == "top") return 0;
        return 'A';
    };
    DovTreeIterator it(t.get());
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 0);
    EXPECT_EQ(Name(it.current), "q2");
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 0);
    EXPECT_EQ(Name(it.current), "s1");
    EXPECT_EQ(DovTransform::SearchPrevious(&s, it, &msgs), 0);
    EXPECT_EQ(Name(it.current), "q2");
    EXPECT_EQ(DovTransform::SearchPrevious(&s, it, &msgs), 0);
    EXPECT_EQ(Name(it.current), "top");
    EXPECT_EQ(DovTransform::SearchPrevious(&s, it, &msgs), 'D');
    for (int a : applies) EXPECT_EQ(a, 0);

    DovLinkList found;
    DovTreeIterator all(t.get(), t->Args(2));
    EXPECT_EQ(DovTransform::CollectMatches(&s, all, found, &msgs), 0);
    EXPECT_EQ(Names(found), (Strings{"top", "q2", "s1"}));
    EXPECT_EQ(all.current, nullptr);
}

TEST(TreeIterator, AnErrorStopsTheSearch) {
    Tree t = Larger();
    Scripted s;
    s.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        std::string n = Name(node);
        if (n == "q1") return 0;
        if (n == "R") return 'C';
        return 'A';
    };
    DovTreeIterator it(t.get(), t->Args(0));
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 0);
    EXPECT_EQ(DovTransform::SearchNext(&s, it, &msgs), 'C');
    EXPECT_EQ(Name(it.current), "R");

    s.names.clear();
    DovLinkList found;
    DovTreeIterator all(t.get());
    EXPECT_EQ(DovTransform::CollectMatches(&s, all, found, &msgs), 'C');
    EXPECT_EQ(Names(found), (Strings{"q1"}));
    EXPECT_EQ(s.names.back(), "R");
    DovTreeIterator none;
    EXPECT_EQ(DovTransform::CollectMatches(&s, none, found, &msgs), 0);
}

// A COBOL_PROGRAM node named by a token, with its contained programs in a
// program list.
DovExpr* Program(const char* name, std::vector<DovExpr*> contained = {}) {
    auto* p = new DovExprOper(COBOL_PROGRAM);
    p->Tokens().AddNewToken(TK_USER_DEFD_WORD, DovNullPosn, name);
    p->SetArg(0, Op((std::string(name) + "-id").c_str()));
    if (!contained.empty())
        p->SetArg(4, new DovExprOper(COBOL_PROGRAM_LIST, contained.data(), static_cast<int>(contained.size())));
    return p;
}

TEST(TreeIterator, OtherProgramsAreTheNestedOnes) {
    DovExpr* root = Op("file", {Program("MAIN", {Program("INNER1", {Program("DEEP")}), Program("INNER2")}),
                                Program("NEXT")});
    DovFillNullArgs(root);
    Tree t(root);
    DovExpr* main_program = t->Args(0);
    DovTreeIterator it(main_program);
    EXPECT_EQ(Names(it.Collect(DovIsOtherProgram, reinterpret_cast<std::intptr_t>(main_program))),
              (Strings{"INNER1", "DEEP", "INNER2"}));
    EXPECT_EQ(DovIsOtherProgram(main_program, reinterpret_cast<std::intptr_t>(main_program)), 0);
    EXPECT_EQ(DovIsOtherProgram(main_program, 0), 1);
    EXPECT_EQ(DovIsOtherProgram(t.get(), 0), 0);
    EXPECT_EQ(DovIsOtherProgram(nullptr, 0), 0);
}

}  // namespace
