// Runs a piece of test code on a thread with a small machine stack, so that
// code calling itself once per tree level fails on trees a few thousand
// levels deep, whatever the stack limit of the test process.
#pragma once

#include <cstddef>
#include <functional>

namespace vemlo_test {

constexpr std::size_t kSmallStackBytes = 256 * 1024;

// Runs `body` to its end on a new thread whose stack holds `bytes`, and
// waits for it. False when the thread cannot be made (nothing is run).
bool RunOnSmallStack(const std::function<void()>& body, std::size_t bytes = kSmallStackBytes);

}  // namespace vemlo_test
