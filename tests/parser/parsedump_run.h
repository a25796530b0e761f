// Runs the parsedump tool in process for the tests: the status it returns
// and what it wrote to its output and error streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tests/tools/parsedump.h"

namespace vemlo_test {

struct DumpRun {
    int status;
    std::string out;
    std::string err;
};

// parsedump ARGS...
inline DumpRun Parsedump(std::vector<std::string> args) {
    args.insert(args.begin(), "parsedump");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = vemlo_tools::ParseDumpMain(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

}  // namespace vemlo_test
