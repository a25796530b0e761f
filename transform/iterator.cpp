// Tree iterators and the searches of a transformation driven by one.
#include "transform/iterator.h"

#include "transform/base.h"
#include "tree/expr.h"

int DovTreeIterator::IndexInParent(const DovExpr* node, DovExpr*& parent) {
    parent = node->Parent();
    if (!parent) return -1;
    for (const Place& p : places_)
        if (p.node == node && DovArgOrNull(parent, p.index) == node) return p.index;
    int at = node->FindMe(&parent);
    if (at < 0) {
        parent = nullptr;
        return -1;
    }
    places_[next_place_] = Place{node, at};
    next_place_ = (next_place_ + 1) % kPlaces;
    return at;
}

DovExpr* DovTreeIterator::Enter(DovExpr* parent, int index) {
    DovExpr* child = DovArgOrNull(parent, index);
    if (child) {
        places_[next_place_] = Place{child, index};
        next_place_ = (next_place_ + 1) % kPlaces;
    }
    return child;
}

DovExpr* DovTreeIterator::Next() {
    if (!current) return nullptr;
    if (current->NumArgs() > 0) return current = Enter(current, 0);
    if (current == root) return current = nullptr;
    const DovExpr* node = current;
    for (;;) {
        DovExpr* parent = nullptr;
        int at = IndexInParent(node, parent);
        // A node outside the root's subtree, or a broken parent link, ends
        // the walk instead of leaving the tree.
        if (at < 0) return current = nullptr;
        if (at < parent->NumArgs() - 1) return current = Enter(parent, at + 1);
        if (parent == root) return current = nullptr;
        node = parent;
    }
}

DovExpr* DovTreeIterator::Previous() {
    if (!current || current == root) return current = nullptr;
    DovExpr* parent = nullptr;
    int at = IndexInParent(current, parent);
    if (at < 0) return current = nullptr;
    if (at == 0) return current = parent;
    current = Enter(parent, at - 1);
    while (current && current->NumArgs() > 0) current = Enter(current, current->NumArgs() - 1);
    return current;
}

DovExpr* DovTreeIterator::FindNext(DovTreePredicate predicate, std::intptr_t data) {
    if (!current || !predicate) return nullptr;
    while (DovExpr* node = Next())
        if (predicate(node, data)) return node;
    return nullptr;
}

DovExpr* DovTreeIterator::FindPrevious(DovTreePredicate predicate, std::intptr_t data) {
    if (!current || !predicate) return nullptr;
    while (DovExpr* node = Previous())
        if (predicate(node, data)) return node;
    return nullptr;
}

DovLinkList DovTreeIterator::Collect(DovTreePredicate predicate, std::intptr_t data) {
    DovLinkList out;
    if (!predicate) return out;
    current = root;
    for (DovExpr* node = current; node; node = Next())
        if (predicate(node, data)) out.Append(DovLink(node, -1));
    return out;
}

int DovIsOtherProgram(DovExpr* node, std::intptr_t other) {
    return node && node->Oper() == COBOL_PROGRAM && reinterpret_cast<std::intptr_t>(node) != other ? 1 : 0;
}

// --- searches of a transformation ----------------------------------------------------

namespace {

using Step = DovExpr* (DovTreeIterator::*)();

char Search(DovTransform* t, DovTreeIterator& it, DovTokenList* msgs, Step step) {
    if (!it.current) return DOV_TR_NO_MATCH;
    while (DovExpr* node = (it.*step)()) {
        char rc = DovTransform::SearchTransform(t, node, 0, msgs, nullptr);
        if (rc == DOV_TR_NOT_APPLICABLE) continue;
        return rc;
    }
    return DOV_TR_NO_MATCH;
}

}  // namespace

char DovTransform::SearchNext(DovTransform* t, DovTreeIterator& it, DovTokenList* msgs) {
    return Search(t, it, msgs, &DovTreeIterator::Next);
}

char DovTransform::SearchPrevious(DovTransform* t, DovTreeIterator& it, DovTokenList* msgs) {
    return Search(t, it, msgs, &DovTreeIterator::Previous);
}

char DovTransform::CollectMatches(DovTransform* t, DovTreeIterator& it, DovLinkList& out, DovTokenList* msgs) {
    it.current = it.root;
    for (DovExpr* node = it.current; node; node = it.Next()) {
        char rc = SearchTransform(t, node, 0, msgs, nullptr);
        if (rc == 0)
            out.Append(DovLink(node, -1));
        else if (rc != DOV_TR_NOT_APPLICABLE)
            return rc;
    }
    return 0;
}
