#include <gtest/gtest.h>

#include <sstream>

#include "tree/name_category.h"

namespace {

TEST(NameCategory, Names) {
    struct Case {
        int value;
        const char* name;
    };
    const Case cases[] = {
        {0, "unknown"},
        {1, "mnemonic-name"},
        {6, "user-figurative-const"},
        {10, "data-name"},
        {16, "report-group-desc-name"},
        {19, "proc-name"},
        {21, "section-name"},
        {22, "UDC#22"},
        {255, "UDC#255"},
    };
    for (const Case& c : cases) {
        auto category = static_cast<DovNameCategory>(c.value);
        std::ostringstream out;
        out << category;
        EXPECT_EQ(out.str(), c.name);
        EXPECT_TRUE(DovNameCategoryStr(category) == c.name) << c.value;
    }
    EXPECT_TRUE(DovNameCategoryStr(NC_DATA_NAME) == "data-name");
    EXPECT_TRUE(DovNameCategoryStr(NC_CONSTANT_NAME) == "constant-name");
}

TEST(NameCategory, NumberFollowsTheStream) {
    std::ostringstream out;
    out << std::hex << static_cast<DovNameCategory>(255);
    EXPECT_EQ(out.str(), "UDC#ff");
}

}  // namespace
