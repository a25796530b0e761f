#include "tree/walk.h"

#include <iostream>

int DovWalkTrace = 0;

namespace {

bool IsBlankOrComment(int code) {
    return code == SEP_SPACE || code == SEP_COMMA || code == SEP_SEMI || code == CM_COMMENT || code == CM_PERSISTENT;
}

}  // namespace

namespace {

// The walk below `node` once its callback asked to descend. The result is
// that of the last child's walk (`r` when there was none). Without tracing
// a child's callback is called from here, so that a leaf costs no call of
// its own.
int WalkArgs(DovExpr* node, void* context, DovWalkCallback cb, int r) {
    for (int i = 0; i < node->NumArgs(); ++i) {
        DovExpr* child = node->SlotAt(i)->arg;
        // The next slot record is read once this child's subtree is done:
        // fetch it meanwhile.
        if (i + 1 < node->NumArgs()) __builtin_prefetch(node->SlotAt(i + 1));
        if (!child) continue;
        if (DovWalkTrace) {
            r = WalkTheTree(child, context, cb);
        } else {
            r = cb(child, context);
            if (r == DOV_WALK_DESCEND && child->NumArgs() > 0) r = WalkArgs(child, context, cb, r);
        }
        if (r == DOV_WALK_STOP) break;
        if (r == DOV_WALK_REMOVED) --i;
    }
    return r;
}

}  // namespace

int WalkTheTree(DovExpr* node, void* context, DovWalkCallback cb) {
    if (!node) return DOV_WALK_SKIP;
    // Taken before the callback, which may delete the node; the name is
    // read from the catalogue only when tracing.
    const DovOper oper = node->Oper();
    const void* addr = node;
    if (DovWalkTrace) std::cout << "+++WalkTheTree: " << DovOperName(oper) << " e=" << addr << std::endl;
    int r = cb(node, context);
    if (r == DOV_WALK_DESCEND && node->NumArgs() > 0) r = WalkArgs(node, context, cb, r);
    if (DovWalkTrace) std::cout << "---WalkTheTree: " << DovOperName(oper) << " e=" << addr << " ret=" << r << std::endl;
    return r;
}

int DovExpr::NamedWalk(DovExpr* root, void* context, const char* name, PreFn pre, PostFn post, TokensFn tokens) {
    if (DovWalkTrace) std::cout << name << "+++: " << DovOperName(Oper()) << " e=" << this << std::endl;
    int r = pre ? pre(this, root, context) : DOV_WALK_DESCEND;
    if (r == DOV_WALK_DESCEND) {
        for (int i = 0; i < NumArgs(); ++i) {
            DovArgSlot* slot = SlotAt(i);
            if (tokens && slot) {
                r = tokens(&slot->tokens, this, root, context);
                if (r == DOV_WALK_STOP) goto done;
            }
            if (DovExpr* child = slot ? slot->arg : nullptr) {
                r = child->NamedWalk(root, context, name, pre, post, tokens);
                if (r == DOV_WALK_STOP) goto done;
                if (r == DOV_WALK_REMOVED) --i;
            }
        }
        if (tokens) {
            r = tokens(&Tokens(), this, root, context);
            if (r == DOV_WALK_STOP) goto done;
        }
    }
    if (post) r = post(this, root, context, r);
done:
    if (DovWalkTrace) std::cout << name << "---: " << DovOperName(Oper()) << " e=" << this << " ret=" << r << std::endl;
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
                        for (DovToken* t : *list) {
                            if (IsBlankOrComment(t->code)) continue;
                            *static_cast<DovTxtPosn*>(ctx) = t->range.beg;
                            return DOV_WALK_STOP;
                        }
                        return DOV_WALK_DESCEND;
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
    if (msgs) msgs->AddNewToken(MSG_SEVERE, DovSrcPosnBeg(node), "DovExprPath::Add: expr stack overflow");
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
