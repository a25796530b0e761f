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
class DovLinkList {
public:
    DovLinkList() = default;
    DovLinkList(const DovLinkList&) = default;
    DovLinkList& operator=(const DovLinkList&) = default;

    void Clear() { links_.clear(); }
    void Append(const DovLink& link) { links_.push_back(link); }
    // Removes every link whose target is `node`.
    void Remove(const DovExpr* node);
    // The link at position n, or the shared null link past the end.
    DovLink& Nth(int n);
    int Count() const { return static_cast<int>(links_.size()); }
    bool IsEmpty() const { return links_.empty(); }

    // The links' array comes from DovSmallBlocks.
    using Vector = std::vector<DovLink, DovSmallBlockAllocator<DovLink>>;
    Vector::iterator begin() { return links_.begin(); }
    Vector::iterator end() { return links_.end(); }
    Vector::const_iterator begin() const { return links_.begin(); }
    Vector::const_iterator end() const { return links_.end(); }

    // TIC form: "=" index ":" per link (the index as an unsigned 32-bit
    // number), then "&". Reading appends links without targets; the indexes
    // are resolved once the whole tree is read.
    void PutTic(std::ostream& os) const;
    char GetTic(std::istream& is, VString& message);

    // The shared empty list.
    static DovLinkList& Empty();

private:
    Vector links_;
};

std::ostream& operator<<(std::ostream& os, const DovLinkList& list);
