// Release of compiled queries. Step lists and chains are released in a loop
// along their `next` links, so that long queries cannot exhaust the stack;
// groups and subchains nest no deeper than the compiler allows.
#include "transform/query/query.h"

DovQueryNode::~DovQueryNode() {
    DovQueryNode* rest = next;
    next = nullptr;
    while (rest) {
        DovQueryNode* after = rest->next;
        rest->next = nullptr;
        delete rest;
        rest = after;
    }
    delete subchain;
    subchain = nullptr;
}

DovQueryChain::~DovQueryChain() {
    delete group;
    group = nullptr;
    delete condition;
    condition = nullptr;
    DovQueryChain* rest = next;
    next = nullptr;
    while (rest) {
        DovQueryChain* after = rest->next;
        rest->next = nullptr;
        delete rest;
        rest = after;
    }
}
