#include <gtest/gtest.h>

#include <vector>

#include "tree/expr.h"

namespace {

// Distinct fake record pointers; the array never follows them.
DovArgSlot* P(std::size_t i) { return reinterpret_cast<DovArgSlot*>((i + 1) * 16); }

std::vector<DovArgSlot*> Items(const DovSlotArray& a) { return {a.begin(), a.end()}; }

TEST(SlotArray, ResizeFillsNullAndKeepsTheFront) {
    DovSlotArray a;
    EXPECT_TRUE(a.empty());
    a.resize(3);
    EXPECT_EQ(Items(a), (std::vector<DovArgSlot*>{nullptr, nullptr, nullptr}));
    a[1] = P(1);
    a.resize(40);
    EXPECT_EQ(a.size(), 40u);
    EXPECT_EQ(a[1], P(1));
    for (std::size_t i = 3; i < 40; ++i) EXPECT_EQ(a[i], nullptr);
    a.resize(2);
    EXPECT_EQ(Items(a), (std::vector<DovArgSlot*>{nullptr, P(1)}));
    a.clear();
    EXPECT_TRUE(a.empty());
}

TEST(SlotArray, InsertAndEraseAtEveryPlaceMatchAVector) {
    DovSlotArray a;
    std::vector<DovArgSlot*> want;
    // Grows through every size class and past the largest one.
    for (std::size_t i = 0; i < 100; ++i) {
        const std::size_t at = (i * 7) % (want.size() + 1);
        a.insert(a.begin() + at, P(i));
        want.insert(want.begin() + static_cast<std::ptrdiff_t>(at), P(i));
        ASSERT_EQ(Items(a), want);
    }
    a.push_back(P(500));
    want.push_back(P(500));
    EXPECT_EQ(a.back(), P(500));
    a.pop_back();
    want.pop_back();
    for (std::size_t i = 0; !want.empty(); ++i) {
        const std::size_t at = (i * 5 + 3) % want.size();
        a.erase(a.begin() + at);
        want.erase(want.begin() + static_cast<std::ptrdiff_t>(at));
        ASSERT_EQ(Items(a), want);
    }
    EXPECT_TRUE(a.empty());
    a.push_back(P(1));
    a.erase(a.begin());
    EXPECT_TRUE(a.empty());
}

}  // namespace
