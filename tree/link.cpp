#include "tree/link.h"

#include <algorithm>
#include <ostream>

DovLink& DovLink::Null() {
    static DovLink null_link;
    // Callers may have written into the shared link through a reference;
    // it always comes back as {null, -1}.
    null_link = DovLink();
    return null_link;
}

std::ostream& operator<<(std::ostream& os, const DovLink& link) {
    os << "Link(#";
    if (link.index != -1) os << static_cast<std::uint32_t>(link.index) << ",";
    return os << static_cast<const void*>(link.target) << ")";
}

void DovLinkList::Remove(const DovExpr* node) {
    links_.erase(std::remove_if(links_.begin(), links_.end(), [node](const DovLink& l) { return l.target == node; }),
                 links_.end());
}

DovLink& DovLinkList::Nth(int n) {
    if (n >= 0 && n < Count()) return links_[static_cast<std::size_t>(n)];
    return DovLink::Null();
}

DovLinkList& DovLinkList::Empty() {
    static DovLinkList empty;
    empty.Clear();
    return empty;
}

std::ostream& operator<<(std::ostream& os, const DovLinkList& list) {
    os << "[";
    bool first = true;
    for (const DovLink& l : list) {
        if (!first) os << ",";
        first = false;
        os << l;
    }
    return os << "]";
}
