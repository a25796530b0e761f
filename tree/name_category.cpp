#include "tree/name_category.h"

#include <ostream>

#include "lbase/fast_ostream.h"

namespace {

const char* const kCategoryNames[] = {
    "unknown",
    "mnemonic-name",
    "switch-cond-name",
    "alphabet-name",
    "symbolic-char",
    "symbolic-constant",
    "user-figurative-const",
    "class-name",
    "file-name",
    "cd-name",
    "data-name",
    "index-name",
    "split-key-name",
    "condition-name",
    "constant-name",
    "report-name",
    "report-group-desc-name",
    "screen-name",
    "program-name",
    "proc-name",
    "para-name",
    "section-name",
};

constexpr unsigned kNamedCategories = sizeof kCategoryNames / sizeof kCategoryNames[0];
static_assert(kNamedCategories == NC_SECTION_NAME + 1);

}  // namespace

std::ostream& operator<<(std::ostream& os, DovNameCategory category) {
    const unsigned value = static_cast<std::uint8_t>(category);
    if (value < kNamedCategories) return os << kCategoryNames[value];
    return os << "UDC#" << value;
}

VString DovNameCategoryStr(DovNameCategory category) {
    FastOstrstream text;
    text << category;
    return VString(text);
}
