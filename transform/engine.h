// The transformation engine: the walk record, the default tree walker, the
// walker's expression path and the trace lines of the engine.
#pragma once

#include "transform/base.h"
#include "tree/walk.h"

// What ApplyAll hands to the walker function, unchanged down the recursion.
struct DovTransWalkRecord {
    DovTransform* transform = nullptr;
    int apply = 0;
    DovExpr* start = nullptr;  // the node ApplyAll was called on
    DovTokenList* msgs = nullptr;
};

// The default walker: pre-order over the subtree, with the cut-off callback,
// the path of nodes above the current one and, for transformations that
// modify the tree, the path re-check and the restart from the deepest node
// still in the tree ('B').
char DovTransWalker(DovExpr* node, DovTransWalkRecord& record);

// The application being run: set by SearchTransform around the call of
// TransformNode (a nested application gives it back when it ends) and read
// by WillTransform. Empty outside every application.
struct DovTransApplication {
    DovExpr* node = nullptr;
    DovTokenList* msgs = nullptr;
    int apply = 0;
};
extern DovTransApplication DovTransCurrent;

// The one path of the walker. Each ApplyAll works on its own view (from its
// base to the top) and leaves the path as it found it.
DovExprPath& DovTransWalkPath();

// The node text of the trace lines: "e=", address, " op=", operation name,
// " @=", begin position; "e=NULL" for no node.
VString DovTransNodeText(DovExpr* node);
// Entry line: label, ": ", instance name, " ", node text, " t=", apply,
// " eaft=", "asked" or "no".
void DovTransTraceEnter(const char* label, const DovTransform* t, const VString& node_text, int apply,
                        bool after_asked);
// Exit line: label, ": ", instance name, " ", node text, " eaft=", the
// after-node's address, " rc=", the result in decimal.
void DovTransTraceLeave(const char* label, const DovTransform* t, const VString& node_text, const DovExpr* after_node,
                        int rc);
