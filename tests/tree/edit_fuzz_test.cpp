// Random editing of random trees: every operation of the node core, applied
// in any order, must keep one owner per node and parent pointers that agree
// with the slots. Run under the sanitizers this also catches use after free.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;

struct Forest {
    std::vector<DovExpr*> roots;  // detached nodes owned by the test
};

void Collect(DovExpr* n, std::vector<DovExpr*>& out) {
    if (!n) return;
    out.push_back(n);
    for (int i = 0; i < n->NumArgs(); ++i) Collect(n->ArgSlots(i)->arg, out);
}

// Every child's parent is its holder and no node is reachable twice.
void CheckConsistent(const Forest& f) {
    std::set<DovExpr*> seen;
    std::vector<DovExpr*> stack;
    for (DovExpr* r : f.roots) {
        ASSERT_EQ(r->Parent(), nullptr);
        stack.push_back(r);
    }
    while (!stack.empty()) {
        DovExpr* n = stack.back();
        stack.pop_back();
        ASSERT_TRUE(seen.insert(n).second) << "node reachable twice";
        for (int i = 0; i < n->NumArgs(); ++i) {
            DovArgSlot* s = n->ArgSlots(i);
            ASSERT_NE(s, nullptr);
            if (!s->arg) continue;
            ASSERT_EQ(s->arg->Parent(), n);
            stack.push_back(s->arg);
        }
    }
}

class Editor {
public:
    explicit Editor(unsigned startValue) : rng_(startValue) {}

    DovOper RandomOper() {
        static const DovOper ops[] = {EX_LIST, STMT_LIST, STMT_MOVE, COBOL_PROGRAM, NULL_NODE, CHAR_STRING};
        return ops[Pick(sizeof ops / sizeof ops[0])];
    }

    DovExpr* NewNode() {
        DovOper op = RandomOper();
        if (op == NULL_NODE) return new DovNullNode;
        if (op == CHAR_STRING) return new DovCharString("s");
        return new DovExprOper(op);
    }

    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    DovExpr* AnyNode(Forest& f) {
        std::vector<DovExpr*> all;
        for (DovExpr* r : f.roots) Collect(r, all);
        return all.empty() ? nullptr : all[Pick(all.size())];
    }

    // Keeps the test's list of roots in step after an edit.
    void Resync(Forest& f, DovExpr* maybe_detached) {
        std::vector<DovExpr*> roots;
        for (DovExpr* r : f.roots)
            if (!r->Parent()) roots.push_back(r);
        if (maybe_detached && !maybe_detached->Parent()) {
            bool have = false;
            for (DovExpr* r : roots) have |= r == maybe_detached;
            if (!have) roots.push_back(maybe_detached);
        }
        f.roots = roots;
    }

    void Step(Forest& f) {
        DovExpr* a = AnyNode(f);
        DovExpr* b = AnyNode(f);
        if (!a) {
            f.roots.push_back(NewNode());
            return;
        }
        int n = a->NumArgs();
        int i = n > 0 ? static_cast<int>(Pick(static_cast<std::size_t>(n) + 1)) - 1 : 0;
        switch (Pick(13)) {
            case 0: f.roots.push_back(NewNode()); break;
            case 1:
                if (a->IsTerminal() || a->IsNull()) break;
                if (Pick(2)) {
                    DovExpr* fresh = NewNode();
                    a->InsArg(fresh, static_cast<int>(Pick(static_cast<std::size_t>(n) + 2)));
                    if (!fresh->Parent()) delete fresh;  // refused: still ours
                } else {
                    a->InsArg(b, static_cast<int>(Pick(static_cast<std::size_t>(n) + 2)));
                }
                break;
            case 2:
                if (n > 0 && i >= 0)
                    a->SetArg(i, Pick(2) ? b : NewNode(), static_cast<int>(Pick(5)) - 1, static_cast<int>(Pick(3)));
                break;
            case 3:
                if (n > 0 && i >= 0) {
                    DovExpr* got = a->DelArg(i, static_cast<int>(Pick(3)) - 1, static_cast<int>(Pick(2)));
                    if (got && Pick(2)) {
                        delete got;
                        got = nullptr;
                    }
                    Resync(f, got);
                }
                break;
            case 4:
                if (a->Parent()) {
                    DovExpr* got = a->DelThis();
                    Resync(f, got);
                }
                break;
            case 5:
                if (a->Parent() && b) {
                    DovExpr* got = a->ReplThis(Pick(3) ? NewNode() : b);
                    Resync(f, got);
                }
                break;
            case 6:
                // Deleting a node that is still attached: its slot must be
                // cleared, not left dangling.
                if (a->Parent() && Pick(4) == 0) {
                    delete a;
                    Resync(f, nullptr);
                }
                break;
            case 7:
                // The list joiner consumes its operand (a NULL_NODE or a list
                // of the same operation is deleted): never hand it one of the
                // roots this test still holds.
                if (n > 0 && i >= 0) a->SetArgToList(i, EX_LIST, Pick(2) || !b || !b->Parent() ? NewNode() : b);
                break;
            case 8:
                if (!a->IsTerminal() && !a->IsNull()) a->SetOper(RandomOper() == EX_LIST ? EX_LIST : STMT_MOVE, 0, 1);
                break;
            case 9:
                if (!a->IsTerminal() && !a->IsNull() && b) a->AddArg(b);
                break;
            case 10:
                if (n > 0 && i >= 0) {
                    auto* slot = new DovArgSlot;
                    slot->arg = Pick(2) ? NewNode() : nullptr;
                    if (slot->arg || Pick(2)) {
                        a->SetArg(i, slot);
                        // A refused record stays with us.
                        bool held = false;
                        for (int k = 0; k < a->NumArgs(); ++k) held |= a->ArgSlots(k) == slot;
                        if (!held) delete slot;
                    } else {
                        delete slot;
                    }
                }
                break;
            case 11:
                if (Pick(3) == 0) {
                    DovExpr* copy = a->Copy();
                    f.roots.push_back(copy);
                }
                break;
            case 12: {
                // Leaves carry no sibling insertion and roots have no parent:
                // both refuse, and the node stays ours.
                DovExpr* fresh = NewNode();
                if (Pick(2))
                    a->InsSibBefore(fresh);
                else
                    a->InsSibAfter(fresh);
                if (!fresh->Parent()) delete fresh;
                break;
            }
        }
        Resync(f, nullptr);
        if (f.roots.size() > 8) {
            delete f.roots.back();
            f.roots.pop_back();
        }
    }

private:
    std::mt19937 rng_;
};

TEST(TreeEditing, RandomEditsKeepTreesSound) {
    MessageCapture quiet;  // the edits report misuse on purpose
    for (unsigned variant = 1; variant <= 40; ++variant) {
        Editor ed(variant);
        Forest f;
        for (int step = 0; step < 600; ++step) {
            ed.Step(f);
            if (step % 50 == 0) {
                CheckConsistent(f);
                quiet.Clear();
            }
        }
        CheckConsistent(f);
        for (DovExpr* r : f.roots) delete r;
        quiet.Clear();
    }
}

}  // namespace
