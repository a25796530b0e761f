// The consistency check of a tree: every node reachable once, every link
// pointing into the same tree, links and back links agreeing.
#include <unordered_set>

#include "lbase/fast_ostream.h"
#include "tree/expr.h"
#include "tree/named.h"
#include "tree/walk.h"

namespace {

struct CheckState {
    DovTokenList* msgs = nullptr;
    std::unordered_set<const DovExpr*> nodes;
    char result = 0;
};

CheckState* g_check = nullptr;

void Finding(DovExpr* at, const VString& text) {
    if (g_check->msgs) g_check->msgs->AddNewToken(MSG_ERR, DovSrcPosnBeg(at), text);
}

}  // namespace

void DovCheckLink(DovLink* link, DovExpr* holder, int backcheck) {
    if (!link || !link->target || !g_check) return;
    if (!g_check->nodes.count(link->target)) {
        g_check->result = '%';
        DovExpr* target = link->target;
        VString target_name;
        if (DovIsLiveLinkedNode(target)) {
            // A live node of another tree: its side of the link goes as well,
            // so that neither side keeps a pointer the other may outlive.
            target_name = DovOperName(target->Oper());
            if (target->NumLinkLists()) target->Links().Remove(holder);
            if (target->NumLinks() && target->Link().target == holder) target->Link() = DovLink();
        } else {
            // Possibly freed memory: named by its address and never read.
            FastOstrstream where;
            where << "@" << static_cast<const void*>(target);
            target_name = VString(where);
        }
        Finding(holder, DovFormat("Link at %s points to non-tree node %s. Link nullified.",
                                  DovOperName(holder->Oper()), target_name.CStr()));
        link->target = nullptr;
        link->index = -1;
    }
    if (!backcheck) return;
    if (!link->target) {
        Finding(holder, DovFormat("One of the links at %s is ENULL.", DovOperName(holder->Oper())));
        return;
    }
    DovExpr* target = link->target;
    if (target->NumLinks() && target->Link().target != holder)
        Finding(holder, DovFormat("One of the links at %s points to %s:%s but it does NOT point back.",
                                  DovOperName(holder->Oper()), DovTxtPosnStr(DovSrcPosnBeg(target)).CStr(),
                                  DovOperName(target->Oper())));
}

char DovCheckTree(DovExpr* root, DovTokenList* msgs) {
    CheckState state;
    state.msgs = msgs;
    CheckState* saved = g_check;
    g_check = &state;
    DovExpr::node_ctr = 0;
    // Numbering and the duplicate test share one walk: a node reached twice
    // is numbered twice and reported at its second visit.
    WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (!g_check->nodes.insert(n).second) {
            g_check->result = '%';
            Finding(n, DovFormat("%s appears in the tree more than one time", DovOperName(n->Oper())));
        }
        return DovNumberNode(n, nullptr);
    });
    WalkTheTree(root, nullptr, [](DovExpr* n, void*) -> int {
        if (n->NumLinks()) DovCheckLink(&n->Link(), n, 0);
        if (n->NumLinkLists())
            for (DovLink& l : n->Links()) DovCheckLink(&l, n, 1);
        return DOV_WALK_DESCEND;
    });
    g_check = saved;
    return state.result;
}
