// The engine: pre-order walks with the path above each node, cut-off, stop
// codes, the path re-check and restart for transformations that change the
// tree, nesting limits, after-pointers and the trace lines.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "lbase/debug/debug_context.h"
#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"
#include "tree/tree.h"

namespace {

using vemlo_test::HookCapture;
using vemlo_test::Leaf;
using vemlo_test::MessageLines;
using vemlo_test::Name;
using vemlo_test::Op;
using vemlo_test::PathNames;
using vemlo_test::Posn;
using vemlo_test::Scripted;
using Strings = std::vector<std::string>;

// R( A( b, NULL, <empty>, C( d ) ), <empty>, NULL, e )
DovExpr* SampleTree() {
    return Op("R", {Op("A", {Leaf("b"), new DovNullNode, nullptr, Op("C", {Leaf("d")})}), nullptr, new DovNullNode,
                    Leaf("e")});
}

struct PathMark {
    std::int32_t base, top;
};
PathMark Mark() { return {DovTransWalkPath().base, DovTransWalkPath().top}; }

TEST(Walker, PreOrderWithPathSkippingNullNodesAndEmptySlots) {
    for (bool modifies : {false, true}) {
        SCOPED_TRACE(modifies);
        DovExpr* root = SampleTree();
        Scripted t(modifies);
        DovTokenList msgs;
        PathMark before = Mark();
        EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
        EXPECT_EQ(t.visits, (Strings{"R[R]", "A[R/A]", "b[R/A/b]", "C[R/A/C]", "d[R/A/C/d]", "e[R/e]"}));
        EXPECT_EQ(Mark().base, before.base);
        EXPECT_EQ(Mark().top, before.top);
        EXPECT_TRUE(msgs.IsEmpty());
        delete root;
    }
}

TEST(Walker, EveryNodeOnceWhenTheTransformationApplies) {
    // A transformation that applies everywhere but changes nothing.
    for (bool modifies : {false, true}) {
        SCOPED_TRACE(modifies);
        DovExpr* root = SampleTree();
        Scripted t(modifies);
        t.body = [](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char { return 0; };
        DovTokenList msgs;
        EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
        EXPECT_EQ(t.names, (Strings{"R", "A", "b", "C", "d", "e"}));
        delete root;
    }
}

TEST(Walker, StartOnASubtreeSeesOnlyIt) {
    DovExpr* root = SampleTree();
    DovExpr* a = root->Args(0);
    Scripted t;
    std::vector<DovExpr*> starts;
    t.cut_off = nullptr;
    t.body = [&](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char { return 'A'; };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(a, 0, &msgs, nullptr), 0);
    EXPECT_EQ(t.visits, (Strings{"A[A]", "b[A/b]", "C[A/C]", "d[A/C/d]"}));
    // The view's first entry is the start node's parent.
    delete root;
}

TEST(Walker, CutOffSkipsTheSubtree) {
    DovExpr* root = SampleTree();
    Scripted t;
    static DovExpr* seen_start;
    t.cut_off = [](DovExpr* node, DovExpr* start) -> int {
        seen_start = start;
        return Name(node) == "A";
    };
    std::string path_at_e;
    t.body = [&](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) == "e") path_at_e = PathNames();
        return 'A';
    };
    DovTokenList msgs;
    PathMark before = Mark();
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(t.names, (Strings{"R", "e"}));
    EXPECT_EQ(path_at_e, "R/e");
    EXPECT_EQ(seen_start, root);
    EXPECT_EQ(Mark().top, before.top);
    delete root;
}

TEST(Walker, StopCodesEndTheWalkAndComeBack) {
    // 'C' and any code other than 0 and 'A' stop the walk where it is.
    for (char code : {'C', 'D', 'x'}) {
        for (bool modifies : {false, true}) {
            SCOPED_TRACE(std::string(1, code) + (modifies ? " modifies" : ""));
            DovExpr* root = SampleTree();
            Scripted t(modifies);
            t.body = [code](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
                return Name(node) == "b" ? code : 'A';
            };
            DovTokenList msgs;
            PathMark before = Mark();
            EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), code);
            EXPECT_EQ(t.names, (Strings{"R", "A", "b"}));
            EXPECT_EQ(Mark().base, before.base);
            EXPECT_EQ(Mark().top, before.top);
            EXPECT_EQ(DovTransform::NestedDepth(), 0);
            delete root;
        }
    }
}

TEST(Walker, StopAtANodeDoesNotDescend) {
    DovExpr* root = SampleTree();
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        return Name(node) == "A" ? 'C' : 'A';
    };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 'C');
    EXPECT_EQ(t.names, (Strings{"R", "A"}));
    delete root;
}

TEST(Walker, ReplacingTheCurrentNodeGoesOnWithItsNextSibling) {
    // R( A( b, c, d ), e ): at c the transformation puts X( y ) in its place.
    DovExpr* root = Op("R", {Op("A", {Leaf("b"), Leaf("c"), Leaf("d")}), Leaf("e")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "c") return 'A';
        delete node->ReplThis(Op("X", {Leaf("y")}));
        return 0;
    };
    DovTokenList msgs;
    PathMark before = Mark();
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(t.visits, (Strings{"R[R]", "A[R/A]", "b[R/A/b]", "c[R/A/c]", "d[R/A/d]", "e[R/e]"}));
    EXPECT_EQ(Name(root->Args(0)->Args(1)), "X");
    EXPECT_EQ(Mark().top, before.top);
    delete root;
}

TEST(Walker, DeletingTheCurrentNodeGoesOnWithItsNextSibling) {
    DovExpr* root = Op("R", {Op("A", {Leaf("b"), Leaf("c"), Leaf("d")}), Leaf("e")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "A" && Name(node) != "c") return 'A';
        delete node->DelThis();
        return 0;
    };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    // A goes with its subtree: nothing below it is walked.
    EXPECT_EQ(t.names, (Strings{"R", "A", "e"}));
    delete root;
}

TEST(Walker, ReplacingAnAncestorRestartsAtTheDeepestNodeStillInTheTree) {
    // R( A( B( c, d ), f ), g ): at c the transformation replaces B by X( y ).
    DovExpr* root = Op("R", {Op("A", {Op("B", {Leaf("c"), Leaf("d")}), Leaf("f")}), Leaf("g")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "c") return 'A';
        DovExpr* b = node->Parent();
        delete b->ReplThis(Op("X", {Leaf("y")}));  // also deletes this node
        return 0;
    };
    DovTokenList msgs;
    PathMark before = Mark();
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    // A, the deepest node left of the old chain, walks its slot 0 again.
    EXPECT_EQ(t.visits, (Strings{"R[R]", "A[R/A]", "B[R/A/B]", "c[R/A/B/c]", "X[R/A/X]", "y[R/A/X/y]", "f[R/A/f]",
                                 "g[R/g]"}));
    EXPECT_EQ(Mark().base, before.base);
    EXPECT_EQ(Mark().top, before.top);
    EXPECT_TRUE(msgs.IsEmpty());
    delete root;
}

TEST(Walker, ReplacingTheGrandparentRestartsHigherUp) {
    // R( A( B( c ) ), g ): at c, A is replaced by Z; R walks its slot 0 again.
    DovExpr* root = Op("R", {Op("A", {Op("B", {Leaf("c")})}), Leaf("g")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "c") return 'A';
        delete node->Parent()->Parent()->ReplThis(Op("Z"));
        return 0;
    };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(t.names, (Strings{"R", "A", "B", "c", "Z", "g"}));
    delete root;
}

TEST(Walker, WithoutModifiesTreeNoPathCheck) {
    // The grep's kind: the walk trusts the tree. A transformation that says
    // it changes nothing but applies everywhere sees each node once.
    DovExpr* root = Op("R", {Op("A", {Leaf("b")}), Leaf("c")});
    Scripted t(false);
    t.body = [](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char { return 0; };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 0, &msgs, nullptr), 0);
    EXPECT_EQ(t.names, (Strings{"R", "A", "b", "c"}));
    delete root;
}

TEST(Walker, EmptySlotAfterTheCurrentArgumentIsNoWayBack) {
    // R( <empty>, x, <empty> ): the argument after x is an empty slot, so the
    // walk must go on past x, not back to the first empty slot.
    DovExpr* root = Op("R", {nullptr, Leaf("x"), nullptr, Leaf("z"), nullptr});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char { return 0; };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(t.names, (Strings{"R", "x", "z"}));
    delete root;
}

TEST(Walker, InsertedSiblingsAfterTheCurrentNodeAreNotWalked) {
    DovExpr* root = Op("R", {Leaf("a"), Leaf("b")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "a") return 'A';
        DovExpr* parent = node->Parent();
        int at = parent->FindArg(node);
        parent->InsArg(Leaf("new"), at + 1);
        parent->InsArg(Leaf("old"), at);
        return 0;
    };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(t.names, (Strings{"R", "a", "b"}));
    EXPECT_EQ(root->NumArgs(), 4);
    delete root;
}

TEST(Walker, LostNextArgumentIsReportedAndTheWalkGoesOn) {
    // At a the transformation deletes b, the argument after it.
    DovExpr* root = Op("R", {Leaf("a"), Leaf("b"), Leaf("c")});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char {
        if (Name(node) != "a") return 'A';
        delete node->Parent()->Args(1)->DelThis();
        return 0;
    };
    HookCapture hook;
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(hook.Texts(), (Strings{"DovTransWalker: next expression to be transformed was lost"}));
    EXPECT_EQ(t.names, (Strings{"R", "a", "c"}));
    delete root;
}

TEST(Walker, NestedApplyAllWorksOnItsOwnView) {
    // At A an inner transformation walks A's subtree; the outer walk then
    // goes on with the path it had.
    DovExpr* root = Op("R", {Op("A", {Leaf("b")}), Leaf("c")});
    Scripted inner(false, "Inner");
    Scripted outer(false, "Outer");
    std::string path_after_inner;
    outer.body = [&](Scripted&, DovExpr* node, int apply, DovTokenList* msgs, DovExpr**) -> char {
        if (Name(node) == "A") {
            EXPECT_EQ(inner.ApplyAll(node, apply, msgs, nullptr), 0);
            path_after_inner = PathNames();
        }
        return 'A';
    };
    DovTokenList msgs;
    EXPECT_EQ(outer.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(inner.visits, (Strings{"A[A]", "b[A/b]"}));
    EXPECT_EQ(path_after_inner, "R/A");
    EXPECT_EQ(outer.visits, (Strings{"R[R]", "A[R/A]", "b[R/A/b]", "c[R/c]"}));
    delete root;
}

TEST(Walker, TooDeepATreeStopsWithThePathMessage) {
    DovExpr* root = Op("top");
    DovExpr* cur = root;
    for (int i = 0; i < DovExprPath::kCapacity + 5; ++i) {
        DovExpr* next = Op("n", {}, 7, 3);
        cur->AddArg(next);
        cur = next;
    }
    Scripted t;
    DovTokenList msgs;
    PathMark before = Mark();
    EXPECT_EQ(t.ApplyAll(root, 0, &msgs, nullptr), 'C');
    EXPECT_EQ(MessageLines(msgs), (Strings{"971:DovExprPath::Add: expr stack overflow@7:3"}));
    EXPECT_EQ(Mark().base, before.base);
    EXPECT_EQ(Mark().top, before.top);
    delete root;
}

TEST(Walker, NullStartNodeIsNothingToDo) {
    Scripted t(true);
    DovTokenList msgs;
    DovExpr* after = reinterpret_cast<DovExpr*>(1);
    EXPECT_EQ(t.ApplyAll(nullptr, 1, &msgs, &after), 0);
    EXPECT_EQ(after, nullptr);
    EXPECT_TRUE(t.names.empty());
    EXPECT_EQ(DovTransWalkPath().top, DovTransWalkPath().base);
}

TEST(Walker, AnotherWalkerFunctionIsRun) {
    DovExpr* root = Op("R", {Leaf("a")});
    Scripted t;
    static int calls;
    calls = 0;
    t.walker = [](DovExpr* node, DovTransWalkRecord& rec) -> char {
        ++calls;
        EXPECT_EQ(rec.start, node);
        EXPECT_EQ(rec.apply, 1);
        return 'A';
    };
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, nullptr), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(t.names.empty());
    delete root;
}

// --- SearchTransform and its kin ------------------------------------------------

// Applies itself at the same node inside its own TransformNode, deeper and
// deeper, and passes the innermost result out.
class Nester : public DovTransform {
public:
    Nester() : DovTransform("Nester", "") {}
    DovTransform* Clone() const override { return new Nester(*this); }
    char TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr**) override {
        ++calls;
        deepest = std::max(deepest, NestedDepth());
        return SearchTransform(this, node, apply, msgs, nullptr);
    }
    int calls = 0;
    int deepest = 0;
};

TEST(SearchTransform, The1025thNestedApplicationStops) {
    DovExpr* node = Op("N", {}, 12, 7);
    Nester t;
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchTransform(&t, node, 0, &msgs, nullptr), 'C');
    EXPECT_EQ(t.calls, 1024);
    EXPECT_EQ(t.deepest, 1024);
    EXPECT_EQ(DovTransform::NestedDepth(), 0);
    EXPECT_EQ(MessageLines(msgs),
              (Strings{"971:DovTransform::SearchTransform: transformation stack limit exceeded@12:7"}));
    delete node;
}

TEST(SearchTransform, NestedLimitAtATraceLevelOutgrowsNoDebugContextStack) {
    // 1024 nested applications, more than the debug-context stack holds.
    DovExpr* node = Op("N", {}, 12, 7);
    Nester t;
    int saved = DovTransformDebugLevel;
    DovTransformDebugLevel = 1;
    int before = DovDebugContextStackPtr;
    DovTokenList msgs;
    EXPECT_EQ(DovTransform::SearchTransform(&t, node, 0, &msgs, nullptr), 'C');
    DovTransformDebugLevel = saved;
    EXPECT_EQ(t.calls, 1024);
    EXPECT_EQ(DovDebugContextStackPtr, before);
    delete node;
}

TEST(SearchTransform, NestedLimitStopsAWalk) {
    DovExpr* root = Op("R", {Leaf("a"), Leaf("b")});
    Nester t;
    DovTokenList msgs;
    EXPECT_EQ(t.ApplyAll(root, 0, &msgs, nullptr), 'C');
    EXPECT_EQ(t.calls, 1024);  // all at R; a and b are never reached
    EXPECT_EQ(DovTransWalkPath().top, 0);
    delete root;
}

TEST(SearchTransform, AfterPointer) {
    struct Case {
        const char* what;
        bool modifies;
        int apply;
        int action;  // 0 nothing, 1 replace the node, 2 replace its parent, 3 set after itself
        const char* expect;
    };
    const Case cases[] = {
        {"search mode: the node", true, 0, 0, "c"},
        {"no change: the node", true, 1, 0, "c"},
        {"grep kind: the node", false, 1, 0, "c"},
        {"node replaced: its parent", true, 1, 1, "B"},
        {"parent replaced: the grandparent", true, 1, 2, "A"},
        {"set by the transformation", true, 1, 3, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DovExpr* root = Op("R", {Op("A", {Op("B", {Leaf("c")})})});
        DovExpr* node = root->Args(0)->Args(0)->Args(0);
        Scripted t(c.modifies);
        t.body = [&c](Scripted&, DovExpr* n, int, DovTokenList*, DovExpr** after) -> char {
            if (c.action == 1) delete n->ReplThis(Leaf("new"));
            if (c.action == 2) delete n->Parent()->ReplThis(Leaf("new"));
            if (c.action == 3) *after = n->Parent()->Parent();
            return 0;
        };
        DovTokenList msgs;
        DovExpr* after = nullptr;
        EXPECT_EQ(DovTransform::SearchTransform(&t, node, c.apply, &msgs, &after), 0);
        EXPECT_EQ(Name(after), c.expect);
        delete root;
    }
}

TEST(SearchTransform, AfterPointerWhenTheNodeUnderTheRootGoes) {
    // The chain below the root is just the node; replacing it leaves the
    // root as the place to go on.
    DovExpr* root = Op("R", {Op("A", {Leaf("x")})});
    Scripted t(true);
    t.body = [](Scripted&, DovExpr* n, int, DovTokenList*, DovExpr**) -> char {
        if (n->Parent()) delete n->ReplThis(Leaf("new"));
        return 0;
    };
    DovTokenList msgs;
    DovExpr* after = nullptr;
    EXPECT_EQ(DovTransform::SearchTransform(&t, root->Args(0), 1, &msgs, &after), 0);
    EXPECT_EQ(after, root);
    // At the root itself the root stays the place.
    EXPECT_EQ(DovTransform::SearchTransform(&t, root, 1, &msgs, &after), 0);
    EXPECT_EQ(after, root);
    delete root;
}

TEST(ApplyAll, AfterPointer) {
    DovExpr* root = Op("R", {Op("A", {Leaf("b")})});
    DovExpr* a = root->Args(0);
    Scripted t(true);
    DovTokenList msgs;
    DovExpr* after = nullptr;
    EXPECT_EQ(t.ApplyAll(a, 0, &msgs, &after), 0);
    EXPECT_EQ(after, a);
    EXPECT_EQ(t.ApplyAll(a, 1, &msgs, &after), 0);
    EXPECT_EQ(after, a);
    // A walk that replaces its start node leaves its parent as the place.
    t.body = [](Scripted&, DovExpr* n, int, DovTokenList*, DovExpr**) -> char {
        if (Name(n) != "A") return 'A';
        delete n->ReplThis(Leaf("new"));
        return 0;
    };
    EXPECT_EQ(t.ApplyAll(a, 1, &msgs, &after), 0);
    EXPECT_EQ(after, root);
    delete root;
}

TEST(SearchTransform, MatchesAtAndApplyRepeatedly) {
    DovExpr* node = Op("N");
    Scripted t(true);
    int left = 3;
    t.body = [&left](Scripted&, DovExpr*, int apply, DovTokenList*, DovExpr**) -> char {
        if (apply) return left-- > 0 ? 0 : 'A';
        return left > 0 ? 0 : 'A';
    };
    DovTokenList msgs;
    int found = -1;
    EXPECT_EQ(DovTransform::MatchesAt(&t, node, found, &msgs), 0);
    EXPECT_EQ(found, 1);
    DovExpr* after = nullptr;
    EXPECT_EQ(DovTransform::ApplyRepeatedly(&t, node, &msgs, &after), 0);
    EXPECT_EQ(t.names.size(), 5u);  // one match, three applications, one refusal
    EXPECT_EQ(after, node);
    EXPECT_EQ(DovTransform::MatchesAt(&t, node, found, &msgs), 0);
    EXPECT_EQ(found, 0);

    t.body = [](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char { return 'x'; };
    EXPECT_EQ(DovTransform::MatchesAt(&t, node, found, &msgs), 'x');
    EXPECT_EQ(found, 0);
    EXPECT_EQ(DovTransform::ApplyRepeatedly(&t, node, &msgs, nullptr), 'x');
    delete node;
}

TEST(SearchTransform, DebugContextNamesTheTransformationOnce) {
    DovExpr* node = Op("N");
    Scripted t(false, "Ctx");
    int ptr_inside = -1;
    std::string text_inside;
    t.body = [&](Scripted&, DovExpr*, int, DovTokenList*, DovExpr**) -> char {
        ptr_inside = DovDebugContextStackPtr;
        text_inside = DovDebugContextStack[DovDebugContextStackPtr]->Describe();
        return 0;
    };
    int saved = DovTransformDebugLevel;
    DovTransformDebugLevel = 1;
    int before = DovDebugContextStackPtr;
    DovTokenList msgs;
    testing::internal::CaptureStdout();
    EXPECT_EQ(DovTransform::SearchTransform(&t, node, 0, &msgs, nullptr), 0);
    EXPECT_EQ(DovTransform::SearchTransform(&t, node, 0, &msgs, nullptr), 0);
    testing::internal::GetCapturedStdout();
    DovTransformDebugLevel = saved;
    EXPECT_EQ(ptr_inside, before - 1);
    EXPECT_EQ(text_inside, "Ctx");
    EXPECT_EQ(DovDebugContextStackPtr, before);
    delete node;
}

// Addresses differ from run to run.
std::string NoAddresses(const std::string& text) {
    return std::regex_replace(text, std::regex("0x[0-9a-f]+"), "ADDR");
}

TEST(Traces, LinesOfAWalkAtLevelTwo) {
    DovExpr* root = Op("R", {Leaf("a")}, 3, 7);
    Scripted t(true, "Tr");
    t.body = [](Scripted&, DovExpr* node, int, DovTokenList*, DovExpr**) -> char { return Name(node) == "a" ? 0 : 'A'; };
    int saved = DovTransformDebugLevel;
    DovTransformDebugLevel = 2;
    DovTokenList msgs;
    DovExpr* after = nullptr;
    testing::internal::CaptureStdout();
    EXPECT_EQ(t.ApplyAll(root, 1, &msgs, &after), 0);
    std::string out = NoAddresses(testing::internal::GetCapturedStdout());
    DovTransformDebugLevel = saved;
    const std::string r = "e=ADDR op=EX_LIST @=" + std::string(DovTxtPosnStr(Posn(3, 7)).CStr());
    const std::string a = "e=ADDR op=CHAR_STRING @=(null)";
    EXPECT_EQ(out, "=>ApplyAll: Tr " + r + " t=1 eaft=asked\n" +
                       ":>TrnWkr: Tr " + r + " t=-1 eaft=no\n" +
                       "->ApplyOnce: Tr " + r + " t=1 eaft=no\n" +
                       "<-ApplyOnce: Tr " + r + " eaft=0 rc=65\n" +
                       ":>TrnWkr: Tr " + a + " t=-1 eaft=no\n" +
                       "->ApplyOnce: Tr " + a + " t=1 eaft=no\n" +
                       "<-ApplyOnce: Tr " + a + " eaft=0 rc=0\n" +
                       "TrWkr***: check expr stack: from 1 to 3\n" +
                       ":<TrWkr: Tr " + a + " eaft=0 rc=0\n" +
                       ":<TrWkr: Tr " + r + " eaft=0 rc=65\n" +
                       "<-ApplyAll: Tr " + r + " eaft=ADDR rc=0\n");
    delete root;
}

TEST(Traces, CutOffLineAtLevelOne) {
    DovExpr* root = Op("R", {Leaf("a")});
    Scripted t;
    t.cut_off = [](DovExpr* node, DovExpr*) -> int { return node->IsTerminal(); };
    int saved = DovTransformDebugLevel;
    DovTransformDebugLevel = 1;
    DovTokenList msgs;
    testing::internal::CaptureStdout();
    EXPECT_EQ(t.ApplyAll(root, 0, &msgs, nullptr), 0);
    std::string out = testing::internal::GetCapturedStdout();
    DovTransformDebugLevel = saved;
    EXPECT_EQ(out, "TrWkr---CutOff## : \n");
    EXPECT_EQ(t.names, (Strings{"R"}));
    delete root;
}

TEST(Traces, NullNodeText) { EXPECT_EQ(DovTransNodeText(nullptr), "e=NULL"); }

}  // namespace
