// The test helper that runs code in a child process: a child must end where
// its body ends, whatever the body does.
#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <stdexcept>

#include "tests/support/child_process.h"

namespace {

using vemlo_test::RunInChild;

TEST(RunInChild, ReportsHowTheChildEnded) {
    auto normal = RunInChild([] {
        std::cout << "out";
        std::cerr << "err";
    });
    EXPECT_TRUE(normal.exited);
    EXPECT_EQ(normal.exit_status, 0);
    EXPECT_EQ(normal.out, "out");
    EXPECT_EQ(normal.err, "err");

    auto killed = RunInChild([] { std::raise(SIGKILL); });
    EXPECT_FALSE(killed.exited);
    EXPECT_EQ(killed.signal, SIGKILL);

    // A throwing body ends the child; the exception must not carry on into
    // the child's copy of the test runner.
    auto threw = RunInChild([] {
        std::cout << "before";
        throw std::runtime_error("boom");
    });
    EXPECT_TRUE(threw.exited);
    EXPECT_EQ(threw.exit_status, 125);
    EXPECT_EQ(threw.out, "before");
}

}  // namespace
