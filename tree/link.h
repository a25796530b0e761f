// Links from nodes to other nodes of the same tree (symbol-table elements,
// definitions, uses). A link never owns its target; its index stands in for
// the target while a stored tree is read back.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "lbase/small_blocks.h"

#include "lbase/vstring.h"

class DovExpr;

struct DovLink {
    DovExpr* target = nullptr;
    std::int32_t index = -1;

    DovLink() = default;
    explicit DovLink(DovExpr* t, std::int32_t ix = -1) : target(t), index(ix) {}

    // The shared link {null, -1}.
    static DovLink& Null();
};

std::ostream& operator<<(std::ostream& os, const DovLink& link);

// A list of links in insertion order.
//
// Removal is cheap where it is common: at the front (a tree is deleted in
// the order its links were made) and, once the list is known to name no
// target twice, after the first match. That knowledge is found by a check
// when a list sees several removals in a row, and is lost by anything that
// may change targets: an append or a hand-out of a changeable link.
class DovLinkList {
public:
    DovLinkList() = default;
    DovLinkList(const DovLinkList& other);
    DovLinkList& operator=(const DovLinkList& other);

    void Clear() {
        links_.clear();
        head_ = 0;
        removals_ = 0;
        distinct_ = true;
    }
    void Append(const DovLink& link) {
        links_.push_back(link);
        removals_ = 0;
        distinct_ = Count() == 1;
    }
    // Removes every link whose target is `node`.
    void Remove(const DovExpr* node);
    // The link at position n, or the shared null link past the end.
    DovLink& Nth(int n);
    int Count() const { return static_cast<int>(links_.size() - head_); }
    bool IsEmpty() const { return Count() == 0; }

    // The links' array comes from DovSmallBlocks.
    using Vector = std::vector<DovLink, DovSmallBlockAllocator<DovLink>>;
    Vector::iterator begin() {
        distinct_ = false;
        return links_.begin() + head_;
    }
    Vector::iterator end() {
        distinct_ = false;
        return links_.end();
    }
    Vector::const_iterator begin() const { return links_.begin() + head_; }
    Vector::const_iterator end() const { return links_.end(); }

    // TIC form: "=" index ":" per link (the index as an unsigned 32-bit
    // number), then "&". Reading appends links without targets; the indexes
    // are resolved once the whole tree is read.
    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);

    // The shared empty list.
    static DovLinkList& Empty();

private:
    // True when no target occurs twice among the links.
    bool TargetsAreDistinct() const;

    Vector links_;  // links_[head_..] are the list; those before are removed
    std::uint32_t head_ = 0;
    std::uint16_t removals_ = 0;  // removals since the last append or check
    bool distinct_ = true;        // known: no target occurs twice
};

std::ostream& operator<<(std::ostream& os, const DovLinkList& list);
