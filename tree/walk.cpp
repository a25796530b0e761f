#include "tree/walk.h"

#include <iostream>

#include "lbase/small_stack.h"

int DovWalkTrace = 0;

namespace {

bool IsBlankOrComment(int code) {
    return code == SEP_SPACE || code == SEP_COMMA || code == SEP_SEMI || code == CM_COMMENT || code == CM_PERSISTENT;
}

// The first token of a COPY statement (the word COPY, a -INC line) or the
// end of a member. Where the parser found no place for such a marker, its
// words went into the text in front of the token after them, which comes
// from another file (the member's first word, or the word after the member):
// a node that begins there begins at that word.
bool OpensMarkerText(int code) { return code == TK_COPY || code == TK__INC || code == SEP_COPY_EOF; }

}  // namespace

namespace {

// Trace lines: "+++WalkTheTree: " for the plain walk (`walk` null), the
// walk's name and "+++: " for a named walk; "---" and the result on the way
// out.
void TraceEnter(const char* walk, DovOper oper, const void* node) {
    if (walk)
        std::cout << walk << "+++: ";
    else
        std::cout << "+++WalkTheTree: ";
    std::cout << DovOperName(oper) << " e=" << node << std::endl;
}

void TraceLeave(const char* walk, DovOper oper, const void* node, int r) {
    if (walk)
        std::cout << walk << "---: ";
    else
        std::cout << "---WalkTheTree: ";
    std::cout << DovOperName(oper) << " e=" << node << " ret=" << r << std::endl;
}

// A node of the walks below whose arguments are being walked: the slot the
// walk is at (read again after every step, as the node may change under
// the walk) and, for the trace lines, the operation the node had when it
// was met.
struct WalkFrame {
    DovExpr* node;
    int slot;
    DovOper oper;
};

// The walk below `node` once its callback asked to descend, with a frame
// per level of the nodes above the one being walked instead of a call, so
// that a tree of any depth is walked. The result is that of the last
// child's walk (`r` when there was none): a child that descended ends with
// the result of its own last child.
int WalkArgs(DovExpr* node, void* context, DovWalkCallback cb, int r) {
    DovSmallStack<WalkFrame> above;
    DovOper oper = node->Oper();
    int slot = 0;
    for (;;) {
        const int n = node->NumArgs();
        if (slot < n) {
            DovExpr* child = node->SlotAt(slot)->arg;
            // The next slot record is read once this child's subtree is
            // done: fetch it meanwhile.
            if (slot + 1 < n) __builtin_prefetch(node->SlotAt(slot + 1));
            if (!child) {
                ++slot;
                continue;
            }
            // Taken before the callback, which may delete the node; the name
            // is read from the catalogue only when tracing.
            const DovOper childOper = child->Oper();
            if (DovWalkTrace) TraceEnter(nullptr, childOper, child);
            r = cb(child, context);
            if (r == DOV_WALK_DESCEND && child->NumArgs() > 0) {
                above.push_back({node, slot, oper});
                node = child;
                oper = childOper;
                slot = 0;
                continue;
            }
            if (DovWalkTrace) TraceLeave(nullptr, childOper, child, r);
        } else {
            // The node's arguments are done: `r` is its result.
            if (above.empty()) return r;
            if (DovWalkTrace) TraceLeave(nullptr, oper, node, r);
            const WalkFrame& up = above.back();
            node = up.node;
            slot = up.slot;
            oper = up.oper;
            above.pop_back();
        }
        // `r` is the result of the child at `slot`.
        if (r == DOV_WALK_STOP) {
            for (; !above.empty(); above.pop_back()) {
                if (DovWalkTrace) TraceLeave(nullptr, oper, node, r);
                node = above.back().node;
                oper = above.back().oper;
            }
            return r;
        }
        if (r != DOV_WALK_REMOVED) ++slot;
    }
}

}  // namespace

int WalkTheTree(DovExpr* node, void* context, DovWalkCallback cb) {
    if (!node) return DOV_WALK_SKIP;
    // Taken before the callback, which may delete the node; the name is
    // read from the catalogue only when tracing.
    const DovOper oper = node->Oper();
    if (DovWalkTrace) TraceEnter(nullptr, oper, node);
    int r = cb(node, context);
    if (r == DOV_WALK_DESCEND && node->NumArgs() > 0) r = WalkArgs(node, context, cb, r);
    if (DovWalkTrace) TraceLeave(nullptr, oper, node, r);
    return r;
}

// Pre-order with the post-order and token-list callbacks, a frame per
// level of the nodes whose arguments are being walked. A node's walk ends
// with its post-order callback and its trace line; a stop (4) ends every
// node still open at once, without their post-order callbacks.
int DovExpr::NamedWalk(DovExpr* root, void* context, const char* name, PreFn pre, PostFn post, TokensFn tokens) {
    DovSmallStack<WalkFrame> frames;
    DovExpr* enter = this;  // the next node to start, if any
    int r = DOV_WALK_DESCEND;
    for (;;) {
        DovExpr* ended = nullptr;  // the node whose walk ends with `r`
        if (enter) {
            DovExpr* node = enter;
            enter = nullptr;
            if (DovWalkTrace) TraceEnter(name, node->Oper(), node);
            r = pre ? pre(node, root, context) : DOV_WALK_DESCEND;
            if (r == DOV_WALK_DESCEND)
                frames.push_back({node, 0, node->Oper()});
            else
                ended = node;
        }
        if (!ended) {
            WalkFrame& f = frames.back();
            DovExpr* node = f.node;
            if (f.slot < node->NumArgs()) {
                DovArgSlot* slot = node->SlotAt(f.slot);
                if (tokens && slot) {
                    r = tokens(&slot->tokens, node, root, context);
                    if (r == DOV_WALK_STOP) break;
                }
                if (DovExpr* child = slot ? slot->arg : nullptr) {
                    enter = child;
                    continue;
                }
                ++f.slot;
                continue;
            }
            if (tokens) {
                r = tokens(&node->Tokens(), node, root, context);
                if (r == DOV_WALK_STOP) break;
            }
            frames.pop_back();
            ended = node;
        }
        if (post) r = post(ended, root, context, r);
        if (DovWalkTrace) TraceLeave(name, ended->Oper(), ended, r);
        if (frames.empty()) return r;
        if (r == DOV_WALK_STOP) break;
        // A child that removed itself: its index is walked again.
        if (r != DOV_WALK_REMOVED) ++frames.back().slot;
    }
    while (!frames.empty()) {
        if (DovWalkTrace) TraceLeave(name, frames.back().node->Oper(), frames.back().node, r);
        frames.pop_back();
    }
    return r;
}

void DovNamedWalk(DovExpr* node, void* context, const char* name, DovExpr::PreFn pre, DovExpr::PostFn post,
                  DovExpr::TokensFn tokens) {
    if (node) node->NamedWalk(node, context, name, pre, post, tokens);
}

DovTxtPosn DovSrcPosnBeg(DovExpr* node) {
    DovTxtPosn result = DovNullPosn;
    if (!node) return result;
    node->NamedWalk(node, &result, "DovSrcPosnBegWalker", nullptr, nullptr,
                    [](DovTokenList* list, DovExpr*, DovExpr*, void* ctx) -> int {
                        // The first marker's words, and the file they are in,
                        // while no word of another file follows them.
                        const DovToken* marker = nullptr;
                        std::uint32_t markerFile = 0;
                        for (DovToken* t : *list) {
                            if (IsBlankOrComment(t->code)) continue;
                            if (marker && t->range.beg.FileIndex() == markerFile) continue;
                            if (OpensMarkerText(t->code)) {
                                if (!marker) marker = t;
                                markerFile = t->range.beg.FileIndex();
                                continue;
                            }
                            *static_cast<DovTxtPosn*>(ctx) = t->range.beg;
                            return DOV_WALK_STOP;
                        }
                        if (!marker) return DOV_WALK_DESCEND;
                        *static_cast<DovTxtPosn*>(ctx) = marker->range.beg;
                        return DOV_WALK_STOP;
                    });
    return result;
}

DovExpr* DovResetFromSrc(DovExpr* node) {
    DovTreeChanged(DOV_CHANGE_DONE, node, nullptr, 0);
    DovResetFromSrcWalk(node);
    return node;
}

void DovResetFromSrcWalk(DovExpr* node) {
    if (node) {
        node->NamedWalk(
            node, nullptr, "ResetFromSrcWalker",
            [](DovExpr* n, DovExpr* root, void*) -> int {
                DovArgSlot* slot = n->FindMySlot();
                if (n != root && slot && slot->code >= 0) slot->code = 0;
                n->SetFlag(0);
                return (slot && slot->code < 0) ? DOV_WALK_SKIP : DOV_WALK_DESCEND;
            },
            nullptr, nullptr);
    }
}

void DovRaiseComments(DovExpr* node) {
    DovNamedWalk(node, nullptr, "DovRaiseCommentsWalker",
                 [](DovExpr* n, DovExpr*, void*) -> int {
                     DovArgSlot* slot = n->FindMySlot();
                     if (!slot || n->NumArgs() == 0) return DOV_WALK_DESCEND;
                     for (DovToken* t : slot->tokens)
                         if (t->code != CM_COMMENT && t->code != SEP_SPACE) return DOV_WALK_DESCEND;
                     DovTokenList& first = n->ArgSlots(0)->tokens;
                     while (first.First() && first.First()->code == CM_COMMENT) {
                         DovToken* t = first.PopFront();
                         slot->tokens.AppendToken(t);
                     }
                     return DOV_WALK_DESCEND;
                 },
                 nullptr, nullptr);
}

void DovDropSpaceTokens(DovExpr* node) {
    DovNamedWalk(node, nullptr, "ProcessToken", nullptr, nullptr,
                 [](DovTokenList* list, DovExpr*, DovExpr*, void*) -> int {
                     list->RemoveIf([](DovToken* t) -> int { return t->code == SEP_SPACE; });
                     return DOV_WALK_DESCEND;
                 });
}

int DovGatherTokens(DovExpr* node, DovTokenList* list) {
    if (!node) return 0;
    return node->NamedWalk(node, list, "DovGatherTokensWalker", nullptr, nullptr,
                           [](DovTokenList* l, DovExpr*, DovExpr*, void* ctx) -> int {
                               static_cast<DovTokenList*>(ctx)->AppendList(*l);
                               return DOV_WALK_DESCEND;
                           });
}

void DovGatherComments(DovExpr* node, DovTokenList* list) {
    DovNamedWalk(node, list, "DovGatherCommentsWalker", nullptr, nullptr,
                 [](DovTokenList* l, DovExpr*, DovExpr*, void* ctx) -> int {
                     DovTokenList kept;
                     while (DovToken* t = l->PopFront()) {
                         if (t->code == CM_COMMENT)
                             static_cast<DovTokenList*>(ctx)->AppendToken(t);
                         else
                             kept.AppendToken(t);
                     }
                     l->AppendList(kept);
                     return DOV_WALK_DESCEND;
                 });
}

DovTokenList* DovExpr::LeadingTokens() {
    if (NumArgs() > 0) return &ArgSlots(0)->tokens;
    return &Tokens();
}

// --- DovExprPath -------------------------------------------------------------

char DovExprPath::Add(DovExpr* node, DovTokenList* msgs) {
    if (top >= 0 && top <= kCapacity - 1) {
        nodes[top++] = node;
        return 0;
    }
    if (msgs) {
        // At the deepest node that has a position: the node itself, or the
        // nearest one above it on the path (a leaf whose text lies in its
        // parent's slot has none of its own).
        DovTxtPosn at = DovSrcPosnBeg(node);
        for (int i = top < kCapacity ? top : kCapacity; at.IsNull() && i-- > 0;) at = DovSrcPosnBeg(nodes[i]);
        msgs->AddNewToken(MSG_SEVERE, at, "DovExprPath::Add: expr stack overflow");
    }
    return 'C';
}

char DovExprPath::Remove(DovTokenList* msgs) {
    if (top > base) {
        --top;
        return 0;
    }
    if (msgs) msgs->AddNewToken(MSG_SEVERE, DovNullPosn, "DovExprPath::Remove: empty expr stack");
    return 'C';
}

char DovExprPath::Set(DovExpr* node, DovTokenList* msgs) {
    top = kCapacity;
    base = kCapacity - 1;
    for (DovExpr* cur = node; cur && cur->Parent(); cur = cur->Parent()) {
        if (base < 0) break;
        nodes[base] = cur;
        --base;
    }
    if (base < 0) {
        if (msgs) msgs->AddNewToken(MSG_SEVERE, DovNullPosn, "DovExprPath::Set: expr path overflow");
        return 'C';
    }
    ++base;
    return 0;
}

DovExpr* DovExprPath::DeepestValid() const {
    if (IsEmpty()) return nullptr;
    for (int i = base + 1; i < top; ++i)
        if (nodes[i - 1]->FindArg(nodes[i]) < 0) return nodes[i - 1];
    return nodes[top - 1];
}
