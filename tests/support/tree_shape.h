// The shape of a tree as the round-trip checks compare it: one node a line,
// indented two blanks a level (below 64 levels, the level's number in
// brackets after the 64th level's blanks), holding the operation name and, for a leaf,
// its image in quotes; "-" for an empty slot and "(derived)" for a slot the
// parser fills in itself (file names, levels), whose content is left out.
// Positions, tokens and comments are not part of the shape, so that a tree
// printed and parsed again compares equal to the first one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tree/expr.h"

namespace vemlo_test {

// The shape lines of the subtree at `node` (one "-" line for null).
std::vector<std::string> TreeShape(const DovExpr* node);

// The index of the first line where `a` and `b` differ (the shorter one's
// length when one is the start of the other); std::string::npos when they are
// equal.
std::size_t FirstShapeDifference(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The place where two shapes part: up to `context` common lines before the
// difference, then up to `context` lines of each, marked "- " (a) and "+ " (b);
// empty when they are equal.
std::string ShapeDifference(const std::vector<std::string>& a, const std::vector<std::string>& b,
                            std::size_t context = 6);

}  // namespace vemlo_test
