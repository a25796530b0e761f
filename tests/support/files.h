// Small file helpers the tests share.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vemlo_test {

// The whole file as bytes (line ends as they stand); empty when it cannot
// be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace vemlo_test
