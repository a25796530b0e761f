#include "tests/support/corpus.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace vemlo_test {

std::optional<std::filesystem::path> CorpusDir() {
    const char* env = std::getenv("VEMLO_CORPUS_DIR");
    std::filesystem::path dir = env && *env ? env : VEMLO_CORPUS_DIR;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) return std::nullopt;
    return dir;
}

std::vector<std::filesystem::path> CorpusFiles(const char* subfolder) {
    std::vector<std::filesystem::path> files;
    auto dir = CorpusDir();
    if (!dir) return files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(*dir / subfolder, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::set<std::string> AcceptedNistNames() {
    std::set<std::string> names;
    const std::optional<std::filesystem::path> dir = CorpusDir();
    if (!dir) return names;
    std::ifstream in(*dir / "nist-accepted.txt");
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) names.insert(line);
    }
    return names;
}

}  // namespace vemlo_test
