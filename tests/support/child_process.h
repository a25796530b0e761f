// Runs a piece of test code in a forked child and collects what it printed
// and how it ended. Used by tests of code that ends the process.
#pragma once

#include <functional>
#include <string>

namespace vemlo_test {

struct ChildResult {
    bool exited = false;     // ended through exit/_exit
    int exit_status = -1;    // valid when exited
    int signal = 0;          // the signal that ended it, when not exited
    std::string out;         // everything written to standard output
    std::string err;         // everything written to standard error
};

// Forks; the child runs `body` with standard output and standard error sent
// to files, then ends with status 0 if `body` returns, 125 if it throws.
// Nothing is collected when the child cannot be made.
ChildResult RunInChild(const std::function<void()>& body);

}  // namespace vemlo_test
