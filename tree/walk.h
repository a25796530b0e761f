// Walks over program trees and the expression path kept during a walk.
#pragma once

#include <cstdint>

#include "lbase/txtposn.h"
#include "tree/expr.h"

// Results of walk callbacks and walks.
enum DovWalkResult : int {
    DOV_WALK_DESCEND = 1,  // go on into the node's arguments
    DOV_WALK_SKIP = 2,     // do not descend (also the result for a null node)
    DOV_WALK_REMOVED = 3,  // the node removed itself: revisit the same index
    DOV_WALK_STOP = 4,     // stop the whole walk
};

using DovWalkCallback = int (*)(DovExpr* node, void* context);

// When nonzero, both walks write trace lines to standard output.
extern int DovWalkTrace;

int WalkTheTree(DovExpr* node, void* context, DovWalkCallback cb);
void DovNamedWalk(DovExpr* node, void* context, const char* name, DovExpr::PreFn pre, DovExpr::PostFn post,
                  DovExpr::TokensFn tokens);

// Begin position of a subtree: that of its first token that is not a blank,
// comma, semicolon or comment; the null position when there is none. The
// words of a COPY statement or the end of a member that stand in one token
// list in front of a word of another file (a marker folded into the text)
// are passed over: the begin is that word's.
DovTxtPosn DovSrcPosnBeg(DovExpr* node);
// Clears the source marks of a subtree; returns the node.
DovExpr* DovResetFromSrc(DovExpr* node);
// The same walk without telling the tree-change hook.
void DovResetFromSrcWalk(DovExpr* node);
// Moves leading comments in front of the nodes they precede.
void DovRaiseComments(DovExpr* node);
// Deletes every SEP_SPACE token of a subtree.
void DovDropSpaceTokens(DovExpr* node);
// Moves every token (every comment) of a subtree to the end of `list`.
int DovGatherTokens(DovExpr* node, DovTokenList* list);
void DovGatherComments(DovExpr* node, DovTokenList* list);

// The stack of nodes from the root to the current node of a walk.
class DovExprPath {
public:
    static constexpr int kCapacity = 1024;

    char Add(DovExpr* node, DovTokenList* msgs);
    char Remove(DovTokenList* msgs);
    char Set(DovExpr* node, DovTokenList* msgs);
    DovExpr* DeepestValid() const;

    bool IsEmpty() const { return top <= base; }
    int Depth() const { return top > base ? top - base : 0; }
    DovExpr* At(int i) const { return nodes[base + i]; }
    DovExpr* Last() const { return IsEmpty() ? nullptr : nodes[top - 1]; }

    std::int32_t base = 0;
    std::int32_t top = 0;
    DovExpr* nodes[kCapacity] = {};
};
