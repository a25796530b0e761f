// The corpus as the benchmarks see it: its folder (VEMLO_CORPUS_DIR in the
// environment, else the one configured at build time) and the sorted files
// of one of its subfolders.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace vemlo_bench {

inline std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("VEMLO_CORPUS_DIR");
    return env && *env ? env : VEMLO_CORPUS_DIR;
}

// The regular files of CorpusFolder()/sub, sorted; empty when it is absent.
inline std::vector<std::string> CorpusFiles(const char* sub) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder() / sub, ec))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace vemlo_bench
