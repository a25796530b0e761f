// The transformation engine: one application at one node (SearchTransform),
// the walk over a subtree (ApplyAll and DovTransWalker), search mode and
// repeated application, and the engine's trace lines.
#include <iostream>
#include <memory>

#include "lbase/debug/debug_context.h"
#include "lbase/fast_ostream.h"
#include "lbase/message.h"
#include "transform/base.h"
#include "transform/engine.h"
#include "tree/expr.h"
#include "tree/walk.h"

namespace {

// The running applications, innermost last.
struct TransformStack {
    DovTransform* entries[DOV_MAX_NESTED_TRANSFORMS] = {};
    int depth = 0;
};

TransformStack g_stack;
DovExprPath g_walk_path;
// Beside each path entry: the slot of its parent (the entry below) in which
// the walk found it, or -1. Lets the path check and the search for the next
// argument look at the expected slot first instead of scanning wide lists;
// a node sits in one slot only, so the answers are those of FindArg.
int g_walk_slot[DovExprPath::kCapacity];

// The slot of `child` in `parent`, tried at `hint` first; -1 when absent.
int SlotOf(const DovExpr* parent, const DovExpr* child, int hint) {
    if (hint >= 0 && hint < parent->NumArgs() && DovArgOrNull(parent, hint) == child) return hint;
    return parent->FindArg(child);
}

// The node where processing goes on after a change: the deepest node of the
// node's former chain that is still linked to the root. `root` is the root
// the chain was taken from; the path holds the chain below it. The links
// are tested from the root down, so that a node cut off (and perhaps freed)
// by the change is never looked into.
DovExpr* DeepestStillLinked(DovExpr* root, const DovExprPath& path) {
    if (path.IsEmpty()) return root;
    if (root->FindArg(path.nodes[path.base]) < 0) return root;
    return path.DeepestValid();
}

// The chain from the root down to a node, taken before a change, to find
// the place again afterwards. Only made when asked for, so that walks
// without an after-pointer allocate nothing.
struct LocalChain {
    DovExpr* root = nullptr;
    std::unique_ptr<DovExprPath> path;

    char Set(DovExpr* node, DovTokenList* msgs) {
        path = std::make_unique<DovExprPath>();
        root = DovExprRoot(node);
        return path->Set(node, msgs);
    }
    bool IsSet() const { return path != nullptr; }
    DovExpr* Deepest() const { return DeepestStillLinked(root, *path); }
};

bool Tracing() { return DovTransformDebugLevel > 1; }

}  // namespace

DovTransApplication DovTransCurrent;

DovExprPath& DovTransWalkPath() { return g_walk_path; }

int DovTransform::NestedDepth() { return g_stack.depth; }

// --- traces -----------------------------------------------------------------

VString DovTransNodeText(DovExpr* node) {
    if (!node) return "e=NULL";
    FastOstrstream os;
    os << "e=" << static_cast<const void*>(node) << " op=" << DovOperName(node->Oper()) << " @=" << DovSrcPosnBeg(node);
    return VString(os);
}

void DovTransTraceEnter(const char* label, const DovTransform* t, const VString& node_text, int apply,
                        bool after_asked) {
    std::cout << label << ": " << (t ? t->name : VString::Empty) << " " << node_text << " t=" << apply
              << " eaft=" << (after_asked ? "asked" : "no") << std::endl;
}

void DovTransTraceLeave(const char* label, const DovTransform* t, const VString& node_text, const DovExpr* after_node,
                        int rc) {
    std::cout << label << ": " << (t ? t->name : VString::Empty) << " " << node_text
              << " eaft=" << static_cast<const void*>(after_node) << " rc=" << rc << std::endl;
}

// --- one application ----------------------------------------------------------

char DovTransform::SearchTransform(DovTransform* t, DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) {
    if (g_stack.depth >= DOV_MAX_NESTED_TRANSFORMS) {
        if (msgs)
            msgs->AddNewToken(MSG_SEVERE, DovSrcPosnBeg(node),
                              "DovTransform::SearchTransform: transformation stack limit exceeded");
        return DOV_TR_LIMIT;
    }
    g_stack.entries[g_stack.depth++] = t;

    LocalChain chain;
    if (after) {
        *after = nullptr;
        if (apply && node && t->ModifiesTree()) {
            char rc = chain.Set(node, msgs);
            if (rc) {
                --g_stack.depth;
                return rc;
            }
        }
    }

    // The node text is taken before the change: the node may be gone after.
    VString node_text;
    if (Tracing()) {
        node_text = DovTransNodeText(node);
        DovTransTraceEnter("->ApplyOnce", t, node_text, apply, after != nullptr);
    }
    // A nested application at a nonzero trace level could exhaust the
    // debug-context stack; past its end the contexts are left out.
    bool context = DovTransformDebugLevel != 0 && DovDebugContextStackPtr > 0;
    if (context) DovEnterDebugContext(new DovStringDebugContext(t->name.CStr()));

    // WillTransform reads the application being run; a nested one gives the
    // record back when it ends.
    DovTransApplication outer = DovTransCurrent;
    DovTransCurrent = DovTransApplication{node, msgs, apply};
    char rc = t->TransformNode(node, apply, msgs, after);
    DovTransCurrent = outer;

    if (after && !*after) *after = chain.IsSet() ? chain.Deepest() : node;
    // Leaving the context also deletes it.
    if (context) DovLeaveDebugContext();
    --g_stack.depth;
    if (Tracing()) DovTransTraceLeave("<-ApplyOnce", t, node_text, after ? *after : nullptr, rc);
    return rc;
}

char DovTransform::MatchesAt(DovTransform* t, DovExpr* node, int& found, DovTokenList* msgs) {
    found = 0;
    char rc = SearchTransform(t, node, 0, msgs, nullptr);
    if (rc == 0) {
        found = 1;
        return 0;
    }
    return rc == DOV_TR_NOT_APPLICABLE ? 0 : rc;
}

char DovTransform::ApplyRepeatedly(DovTransform* t, DovExpr* node, DovTokenList* msgs, DovExpr** after) {
    char rc;
    do rc = SearchTransform(t, node, 1, msgs, after);
    while (rc == 0);
    return rc == DOV_TR_NOT_APPLICABLE ? 0 : rc;
}

// --- the walk over a subtree ----------------------------------------------------

char DovTransform::ApplyAll(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) {
    DovExprPath& path = g_walk_path;
    const std::int32_t saved_base = path.base;
    path.base = path.top;
    char rc = path.Add(node ? node->Parent() : nullptr, msgs);
    if (rc) {
        path.base = saved_base;
        return rc;
    }
    LocalChain chain;
    if (after) {
        *after = nullptr;
        if (apply && node && ModifiesTree()) {
            rc = chain.Set(node, msgs);
            if (rc) {
                path.Remove(msgs);
                path.base = saved_base;
                return rc;
            }
        }
    }
    VString node_text;
    if (Tracing()) {
        node_text = DovTransNodeText(node);
        DovTransTraceEnter("=>ApplyAll", this, node_text, apply, after != nullptr);
    }

    DovTransWalkRecord record{this, apply, node, msgs};
    if (node && path.top < DovExprPath::kCapacity)
        g_walk_slot[path.top] = node->Parent() ? node->Parent()->FindArg(node) : -1;
    DovTransformWalkerFn walk = walker ? walker : DovTransWalker;
    rc = walk(node, record);
    if (rc == DOV_TR_NOT_APPLICABLE) rc = 0;

    if (after && !*after) *after = chain.IsSet() ? chain.Deepest() : node;
    path.Remove(msgs);
    path.base = saved_base;
    if (Tracing()) DovTransTraceLeave("<-ApplyAll", this, node_text, after ? *after : nullptr, rc);
    return rc;
}

namespace {

// The first child after slot j, skipping empty slots, and its slot: where
// the walk goes on after the child in slot j, wherever a change moves it.
DovExpr* NextArgAfter(DovExpr* node, int j, int& slot) {
    for (int k = j + 1; k < node->NumArgs(); ++k) {
        if (DovExpr* a = DovArgOrNull(node, k)) {
            slot = k;
            return a;
        }
    }
    slot = -1;
    return nullptr;
}

}  // namespace

char DovTransWalker(DovExpr* node, DovTransWalkRecord& record) {
    if (!node || node->Oper() == NULL_NODE) return DOV_TR_NOT_APPLICABLE;
    DovTransform* t = record.transform;
    VString node_text;
    if (Tracing()) {
        node_text = DovTransNodeText(node);
        DovTransTraceEnter(":>TrnWkr", t, node_text, -1, false);
    }

    char rc = DOV_TR_NOT_APPLICABLE;
    if (t->cut_off && t->cut_off(node, record.start)) {
        if (DovTransformDebugLevel != 0) std::cout << "TrWkr---CutOff## : " << std::endl;
    } else {
        DovExprPath& path = g_walk_path;
        char add = path.Add(node, record.msgs);
        if (add) return add;
        const bool modifies = t->ModifiesTree();
        bool descend = true;
        rc = DovTransform::SearchTransform(t, node, record.apply, record.msgs, nullptr);

        if (rc == 0 && modifies) {
            // Is the chain above the node still part of the tree?
            if (DovTransformDebugLevel != 0)
                std::cout << "TrWkr***: check expr stack: from " << path.base + 1 << " to " << path.top << std::endl;
            auto entry = [&path](int i) { return i >= path.base && i < path.top ? path.nodes[i] : nullptr; };
            for (int i = path.base + 1; i < path.top; ++i) {
                DovExpr* parent = entry(i - 1);
                if (!parent || SlotOf(parent, entry(i), g_walk_slot[i]) >= 0) continue;
                const bool only_this_node = i == path.top - 1;
                for (int k = i; k < path.top; ++k) path.nodes[k] = nullptr;
                descend = false;
                if (!only_this_node) rc = DOV_TR_RESTART;
                break;
            }
        } else if (rc != 0 && rc != DOV_TR_NOT_APPLICABLE) {
            descend = false;
        }

        // The node itself is only looked into while its path entry stands:
        // a cleared entry means it was cut off and may be gone.
        for (int j = 0; descend && j < node->NumArgs();) {
            DovExpr* child = DovArgOrNull(node, j);
            if (!child) {
                ++j;
                continue;
            }
            // The next slot record is read once this child's subtree is done:
            // fetch it meanwhile.
            if (j + 1 < node->NumArgs()) __builtin_prefetch(node->SlotAt(j + 1));
            int next_slot = -1;
            DovExpr* next = modifies ? NextArgAfter(node, j, next_slot) : nullptr;
            if (path.top < DovExprPath::kCapacity) g_walk_slot[path.top] = j;
            char c = DovTransWalker(child, record);
            if (c == DOV_TR_NOT_APPLICABLE || (c == 0 && !modifies)) {
                ++j;
            } else if (c == DOV_TR_RESTART) {
                if (path.Last() == node) continue;  // walk slot j again
                rc = DOV_TR_RESTART;
                break;
            } else if (c == 0) {
                if (!next) {
                    j = node->NumArgs();
                } else {
                    int at = SlotOf(node, next, next_slot);
                    if (at < 0) {
                        // The rest of the arguments is walked from the slot
                        // after the one just walked.
                        DovTransformMessageHook("DovTransWalker: next expression to be transformed was lost");
                        ++j;
                    } else {
                        j = at;
                    }
                }
            } else {
                rc = c;
                break;
            }
        }
        path.Remove(record.msgs);
    }
    if (Tracing()) DovTransTraceLeave(":<TrWkr", t, node_text, nullptr, rc);
    return rc;
}
