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

// `text` with each line feed written as `lineEnd` (CR LF, a carriage return
// alone).
inline std::string WithLineEnds(const std::string& text, const std::string& lineEnd) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

}  // namespace vemlo_test
