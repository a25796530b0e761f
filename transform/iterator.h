// Tree iterators: a pre-order walk over one subtree, one node per step,
// forward or backward, without recursion or allocation; it climbs through
// the parent links. Searches by predicate and collection of the
// matching nodes; the transformation searches built on them are static
// members of DovTransform (SearchNext, SearchPrevious, CollectMatches).
#pragma once

#include <cstdint>

#include "tree/link.h"

class DovExpr;

// A test of a node: nonzero for a match. `data` is the caller's, passed
// through unchanged; it is wide enough to carry a pointer.
using DovTreePredicate = int (*)(DovExpr* node, std::intptr_t data);

class DovTreeIterator {
public:
    DovTreeIterator() = default;
    // Bounded to the subtree of `root`, standing on it.
    explicit DovTreeIterator(DovExpr* root) : current(root), root(root) {}
    DovTreeIterator(DovExpr* root, DovExpr* current) : current(current), root(root) {}

    // The next node in pre-order within the root's subtree, made current;
    // null (and the iterator null) at the end. An empty argument slot on the
    // way ends the iteration as well.
    DovExpr* Next();
    // The previous node in pre-order, made current; null (and the iterator
    // null) at the root or when the iterator is null.
    DovExpr* Previous();
    // The first node after (before) the current one for which the predicate
    // holds, else null. A null predicate or a null current node gives null
    // and leaves the iterator where it is.
    DovExpr* FindNext(DovTreePredicate predicate, std::intptr_t data);
    DovExpr* FindPrevious(DovTreePredicate predicate, std::intptr_t data);
    // Every node of the subtree, the root included, in pre-order, for which
    // the predicate holds, as links {node, -1}. Walks the iterator from the
    // root to the end.
    DovLinkList Collect(DovTreePredicate predicate, std::intptr_t data);

    DovExpr* current = nullptr;  // null when the iteration is over or has not started
    DovExpr* root = nullptr;     // the subtree the iteration is bounded to

private:
    // The places in their parents of the nodes the latest steps went
    // through, so that a step in a wide argument list need not search the
    // list for the node it comes from. Each one is checked against the tree
    // before it is used: moving the iterator or changing the tree between
    // steps makes a place merely useless, never wrong.
    struct Place {
        const DovExpr* node = nullptr;
        int index = -1;
    };
    static constexpr int kPlaces = 8;

    // The index of `node` in its parent and the parent; -1 (parent null)
    // for a node without one or one its parent does not hold.
    int IndexInParent(const DovExpr* node, DovExpr*& parent);
    // Argument `index` of `parent`, its place noted.
    DovExpr* Enter(DovExpr* parent, int index);

    Place places_[kPlaces];
    int next_place_ = 0;
};

// 1 when `node` is a COBOL_PROGRAM node other than the one `other` points
// to, else 0: with Collect from a program, its nested programs.
int DovIsOtherProgram(DovExpr* node, std::intptr_t other);
