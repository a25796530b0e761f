// Runs the built vemlo program as a child process and collects what it
// wrote and how it ended.
#pragma once

#include <string>
#include <vector>

namespace vemlo_tool_test {

struct VemloRun {
    bool exited = false;  // ended through exit
    int status = -1;      // the exit status when exited
    int signal = 0;       // the signal that ended it otherwise
    std::string out;
    std::string err;
};

// `args` after the program name; `cwd` the working directory (the fixture
// folder when empty); `envOptions` the value of DOV_TOOL_OPTIONS (unset
// when null).
VemloRun RunVemlo(const std::vector<std::string>& args, const std::string& cwd = std::string(),
                  const char* envOptions = nullptr);

// The fixture folder of these tests.
std::string FixtureDir();

// The banner that vemlo prints for no arguments, -v, -help and -pf.
std::string Banner();

}  // namespace vemlo_tool_test
