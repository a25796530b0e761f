#include "tree/link.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "lbase/tic.h"

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

void DovLinkList::PutTic(std::ostream& os) const {
    for (const DovLink& l : links_) os << '=' << static_cast<std::uint32_t>(l.index) << ':';
    os << '&';
}

char DovLinkList::GetTic(std::istream& is, VString& message) {
    for (;;) {
        int c = is.get();
        if (c == '&') return TIC_OK;
        if (c != '=') {
            message = "DovLinkList::GetTic: bad list finisher";
            return TIC_BAD_FORMAT;
        }
        int index = 0;
        if (char r = GetTicIntNo(is, index, true, ':', message)) return r;
        Append(DovLink(nullptr, index));
    }
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
