#include "tree/link.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "lbase/tic.h"
#include "tree/expr.h"
#include "tree/named.h"

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
    // The target by its serial number, which stays the same from run to run
    // where an address does not. A target that is no live linked node may
    // be freed memory and is not read.
    if (!link.target)
        os << "none";
    else if (DovIsLiveLinkedNode(link.target))
        os << link.target->Serial();
    else
        os << "?";
    return os << ")";
}

DovLinkList::DovLinkList(const DovLinkList& other)
    : links_(other.begin(), other.end()), distinct_(other.distinct_) {}

DovLinkList& DovLinkList::operator=(const DovLinkList& other) {
    if (this != &other) {
        links_.assign(other.begin(), other.end());
        head_ = 0;
        removals_ = 0;
        distinct_ = other.distinct_;
    }
    return *this;
}

bool DovLinkList::TargetsAreDistinct() const {
    std::vector<const DovExpr*> targets;
    targets.reserve(static_cast<std::size_t>(Count()));
    for (const DovLink& l : *this) targets.push_back(l.target);
    std::sort(targets.begin(), targets.end());
    return std::adjacent_find(targets.begin(), targets.end()) == targets.end();
}

void DovLinkList::Remove(const DovExpr* node) {
    // The check costs some scans of the list: it is made once removals
    // have come in a row, as when a tree is deleted.
    constexpr std::uint16_t kRemovalsBeforeCheck = 16;
    if (!distinct_ && removals_ >= kRemovalsBeforeCheck && Count() > kRemovalsBeforeCheck) {
        distinct_ = TargetsAreDistinct();
        removals_ = 0;
    }
    if (removals_ < kRemovalsBeforeCheck) ++removals_;
    std::size_t i = head_;
    while (i < links_.size() && links_[i].target != node) ++i;
    if (i == links_.size()) return;
    if (i == head_) {
        i = ++head_;
    } else {
        links_.erase(links_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // links_[i..] follow the removed link. Unless the targets are known to
    // be distinct, they may name the node again.
    if (!distinct_)
        links_.erase(std::remove_if(links_.begin() + static_cast<std::ptrdiff_t>(i), links_.end(),
                                    [node](const DovLink& l) { return l.target == node; }),
                     links_.end());
    // The removed front is given back once it is half the array.
    if (head_ == links_.size()) {
        links_.clear();
        head_ = 0;
    } else if (head_ >= 16 && head_ * 2 >= links_.size()) {
        links_.erase(links_.begin(), links_.begin() + head_);
        head_ = 0;
    }
}

DovLink& DovLinkList::Nth(int n) {
    distinct_ = false;
    if (n >= 0 && n < Count()) return links_[head_ + static_cast<std::size_t>(n)];
    return DovLink::Null();
}

void DovLinkList::PutTic(std::ostream& os) const {
    for (const DovLink& l : *this) os << '=' << static_cast<std::uint32_t>(l.index) << ':';
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
