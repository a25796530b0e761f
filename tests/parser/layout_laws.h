// The two laws a laid-out tree keeps in byte mode, checked over any tree:
//   1. an elementary DISPLAY item with a PICTURE is as long as its PICTURE
//      (one more for a signed item with a separate sign); a table of them
//      is that length times its number of occurrences;
//   2. a group is as long as its members laid end to end: each member that
//      redefines nothing counts with the longest of itself and the members
//      that redefine it, except that members redefining the last member do
//      not count; 66 entries, which only rename members, do not count
//      either; a table of groups is that length times its occurrences.
// Items whose length is unknown, and tables whose count is no literal, are
// counted and left out of the check.
#pragma once

#include <string>
#include <vector>

class DovExpr;

namespace vemlo_test {

struct LayoutLawReport {
    int elementary = 0;  // elementary DISPLAY items checked
    int groups = 0;      // groups checked
    int skipped = 0;     // items left out (unknown lengths, counts not literal)
    std::vector<std::string> violations;
};

LayoutLawReport CheckLayoutLaws(DovExpr* root);

}  // namespace vemlo_test
