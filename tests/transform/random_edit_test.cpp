// Random edits while the walker runs: a transformation that replaces,
// deletes, inserts and moves nodes anywhere the walk allows, at random,
// must leave a consistent tree and a balanced walker path. Under the
// sanitizers this also shows that the walker never looks into a node that
// an edit freed.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"
#include "tree/tree.h"

namespace {

using vemlo_test::HookCapture;

std::vector<std::string> g_tree_reports;
void TreeReport(int, const DovTxtPosn&, const VString& text) { g_tree_reports.push_back(text.CStr()); }

void Collect(DovExpr* n, std::vector<DovExpr*>& out) {
    if (!n) return;
    out.push_back(n);
    for (int i = 0; i < n->NumArgs(); ++i) Collect(DovArgOrNull(n, i), out);
}

void CheckConsistent(DovExpr* root) {
    ASSERT_EQ(root->Parent(), nullptr);
    std::set<DovExpr*> seen;
    std::vector<DovExpr*> stack{root};
    while (!stack.empty()) {
        DovExpr* n = stack.back();
        stack.pop_back();
        ASSERT_TRUE(seen.insert(n).second) << "node reachable twice";
        for (int i = 0; i < n->NumArgs(); ++i) {
            DovExpr* c = DovArgOrNull(n, i);
            if (!c) continue;
            ASSERT_EQ(c->Parent(), n);
            stack.push_back(c);
        }
    }
}

class RandomEditor : public DovTransform {
public:
    RandomEditor(unsigned startValue, int budget) : DovTransform("RandomEditor", "edits at random"), rng_(startValue), budget_(budget) {}
    DovTransform* Clone() const override { return new RandomEditor(*this); }
    bool ModifiesTree() const override { return true; }

    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    // A small random subtree with NULL_NODEs and empty slots among its
    // arguments.
    DovExpr* NewTree(int depth) {
        std::size_t kind = Pick(depth > 0 ? 5 : 3);
        if (kind == 0) return new DovNullNode;
        if (kind <= 2) return new DovCharString("leaf");
        std::size_t n = Pick(4);
        std::vector<DovExpr*> args;
        for (std::size_t i = 0; i < n; ++i) args.push_back(Pick(5) == 0 ? nullptr : NewTree(depth - 1));
        return new DovExprOper(Pick(2) ? EX_LIST : STMT_LIST, args.data(), static_cast<int>(args.size()));
    }

    char TransformNode(DovExpr* node, int, DovTokenList*, DovExpr**) override {
        ++visits;
        if (budget_ <= 0) return 'A';
        DovExpr* root = DovExprRoot(node);
        std::set<DovExpr*> above;  // the node and its ancestors
        for (DovExpr* p = node; p; p = p->Parent()) above.insert(p);
        DovExpr* parent = node->Parent();
        std::size_t kind = Pick(9);
        switch (kind) {
        case 0:
            return 'A';
        case 1:  // applied, nothing changed
            break;
        case 2:        // replace this node
            if (!parent) return 'A';
            delete node->ReplThis(NewTree(2));
            break;
        case 3:  // delete this node
            if (!parent) return 'A';
            delete node->DelThis();
            break;
        case 4: {  // insert a sibling before or after
            if (!parent) return 'A';
            int at = parent->FindArg(node);
            parent->InsArg(NewTree(2), at + static_cast<int>(Pick(2)));
            break;
        }
        case 5:  // add a child, walked next
            if (node->IsTerminal() || node->IsNull()) return 'A';
            node->InsArg(NewTree(1), static_cast<int>(Pick(static_cast<std::size_t>(node->NumArgs()) + 1)));
            break;
        case 6: {  // replace an ancestor up to the start node: the walk restarts
            // (the walk of a subtree owns that subtree, not what is above it)
            std::vector<DovExpr*> candidates;
            for (DovExpr* p = node == start ? nullptr : parent; p && p->Parent(); p = p == start ? nullptr : p->Parent())
                candidates.push_back(p);
            if (candidates.empty()) return 'A';
            DovExpr* victim = candidates[Pick(candidates.size())];
            delete victim->ReplThis(Pick(3) ? NewTree(2) : nullptr);
            break;
        }
        case 7: {  // delete or replace a node off the path (perhaps the next one)
            std::vector<DovExpr*> all, off;
            Collect(root, all);
            for (DovExpr* n : all)
                if (!above.count(n)) off.push_back(n);
            if (off.empty()) return 'A';
            DovExpr* victim = off[Pick(off.size())];
            if (Pick(2)) {
                delete victim->DelThis();
            } else {
                delete victim->ReplThis(NewTree(1));
            }
            break;
        }
        case 8: {  // move a node off the path under another operator node
            std::vector<DovExpr*> all, off, opers;
            Collect(root, all);
            for (DovExpr* n : all) {
                if (!above.count(n)) off.push_back(n);
                if (!n->IsTerminal() && !n->IsNull()) opers.push_back(n);
            }
            if (off.empty() || opers.empty()) return 'A';
            DovExpr* moved = off[Pick(off.size())];
            DovExpr* target = opers[Pick(opers.size())];
            if (DovExprContains(moved, target)) return 'A';
            moved = moved->DelThis();
            int at = static_cast<int>(Pick(static_cast<std::size_t>(target->NumArgs()) + 1));
            target->InsArg(moved, at);
            break;
        }
        }
        --budget_;
        ++edits;
        ++done[kind];
        return 0;
    }

    int visits = 0;
    int edits = 0;
    DovExpr* start = nullptr;
    // Applications per kind of edit.
    int done[9] = {};

private:
    std::mt19937 rng_;
    int budget_;
};

TEST(RandomEdit, WalkerStaysSoundWhileTheTreeChanges) {
    DovMessageCallback saved = DovMessageHook;
    DovMessageHook = TreeReport;
    HookCapture hook;
    int done[9] = {};
    for (unsigned variant = 1; variant <= 600; ++variant) {
        SCOPED_TRACE(variant);
        RandomEditor maker(variant * 7919u, 0);
        DovExpr* root = new DovExprOper(EX_LIST);
        for (int i = 0; i < 4; ++i) root->AddArg(maker.NewTree(4));

        // Mostly the whole tree; sometimes a subtree below the root.
        std::vector<DovExpr*> all;
        Collect(root, all);
        DovExpr* start = variant % 4 ? root : all[maker.Pick(all.size())];

        RandomEditor t(variant, 1 + static_cast<int>(variant % 40));
        t.start = start;
        DovTokenList msgs;
        const DovExprPath& path = DovTransWalkPath();
        std::int32_t base = path.base, top = path.top;
        char rc = t.ApplyAll(start, 1, &msgs, nullptr);
        // Only a walk whose own start node was replaced gives 'B' back.
        EXPECT_TRUE(rc == 0 || (rc == 'B' && start != root)) << int(rc);
        EXPECT_EQ(path.base, base);
        EXPECT_EQ(path.top, top);
        EXPECT_EQ(DovTransform::NestedDepth(), 0);
        EXPECT_TRUE(msgs.IsEmpty());
        CheckConsistent(root);
        for (int k = 0; k < 9; ++k) done[k] += t.done[k];

        // A second walk over what is left, without edits, sees each node
        // once.
        std::vector<DovExpr*> left;
        Collect(root, left);
        std::size_t walkable = 0;
        for (DovExpr* n : left) walkable += n->Oper() != NULL_NODE;
        RandomEditor quiet(variant, 0);
        EXPECT_EQ(quiet.ApplyAll(root, 1, &msgs, nullptr), 0);
        EXPECT_EQ(static_cast<std::size_t>(quiet.visits), walkable);
        delete root;
    }
    DovMessageHook = saved;
    EXPECT_TRUE(g_tree_reports.empty()) << g_tree_reports.front();
    // Every kind of edit but "not applicable" happened.
    for (int k = 1; k < 9; ++k) EXPECT_GT(done[k], 0) << k;
    // The only library message a random edit can cause is a lost next node.
    for (const std::string& text : hook.Texts())
        EXPECT_EQ(text, "DovTransWalker: next expression to be transformed was lost");
}

TEST(RandomEdit, TracesNeverLookIntoFreedNodes) {
    // The trace lines name the node after its application too, when an
    // edit may have freed it.
    HookCapture hook;
    int saved = DovTransformDebugLevel;
    for (int level : {1, 2}) {
        DovTransformDebugLevel = level;
        for (unsigned variant = 1; variant <= 40; ++variant) {
            SCOPED_TRACE(variant);
            RandomEditor maker(variant * 31u, 0);
            DovExpr* root = new DovExprOper(EX_LIST);
            for (int i = 0; i < 3; ++i) root->AddArg(maker.NewTree(3));
            RandomEditor t(variant, 10);
            t.start = root;
            DovTokenList msgs;
            DovExpr* after = nullptr;
            testing::internal::CaptureStdout();
            char rc = t.ApplyAll(root, 1, &msgs, &after);
            std::string out = testing::internal::GetCapturedStdout();
            EXPECT_EQ(rc, 0);
            EXPECT_EQ(after, root);
            EXPECT_FALSE(out.empty());
            CheckConsistent(root);
            delete root;
        }
    }
    DovTransformDebugLevel = saved;
}

}  // namespace
