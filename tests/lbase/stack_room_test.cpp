// The free room of the calling thread's stack: known on this system, never
// more than the thread's whole stack, and less further down a call chain.
#include <gtest/gtest.h>

#include <cstddef>

#include "lbase/stack_room.h"
#include "tests/support/small_stack_run.h"

namespace {

// The room seen `levels` calls further down, each call holding a frame of
// its own.
[[gnu::noinline]] std::size_t RoomBelow(int levels) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(levels);
    const std::size_t room = levels == 0 ? DovStackRoom() : RoomBelow(levels - 1);
    return room + static_cast<std::size_t>(frame[0] & 0);
}

TEST(StackRoom, IsThatOfTheCallingThread) {
    const std::size_t here = DovStackRoom();
    EXPECT_GT(here, vemlo_test::kSmallStackBytes);
    EXPECT_LT(RoomBelow(16), here - 16 * 1024);
    std::size_t onSmall = 0;
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([&] { onSmall = DovStackRoom(); }));
    EXPECT_GT(onSmall, 0u);
    EXPECT_LE(onSmall, vemlo_test::kSmallStackBytes);
}

}  // namespace
