// Helpers of the grep tests: a scratch folder that is the current directory
// while it lives, file writing, message lines and the printed form of a
// message list.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "transform/transform.h"

namespace vemlo_test {

// A fresh folder under the system's temporary folder; the current directory
// while the object lives (relative query-file names are looked up there).
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& Path() const { return dir_; }
    // Writes `text` (any bytes) into the file `name` below the folder,
    // making its folders; the full path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path dir_;
    std::filesystem::path saved_;
};

// "<code>|<text>" per token; the code as INFO, ERR or the number.
std::vector<std::string> Messages(const DovTokenList& list);

// The list as the driver prints it: every token through the positioned
// message printer, captured from standard output.
std::string Printed(const DovTokenList& list);

// A grep with its options defined, the query text or query file set.
struct GrepRun {
    WyrGrep grep;
    DovTokenList msgs;
    int rc = 0;
    // Prepare once; the messages stay in `msgs`.
    int Prepare();
};

}  // namespace vemlo_test
