// Access to the shared folder of real COBOL sources. Tests that read it
// skip themselves when it is absent.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace vemlo_test {

// The corpus folder, or nothing when it does not exist. The environment
// variable VEMLO_CORPUS_DIR overrides the folder configured at build time.
std::optional<std::filesystem::path> CorpusDir();

// The regular files of one corpus subfolder, sorted by name; empty when the
// corpus or the folder is absent.
std::vector<std::filesystem::path> CorpusFiles(const char* subfolder);

}  // namespace vemlo_test

// Skips the current test when the corpus is absent.
#define VEMLO_REQUIRE_CORPUS()                                           \
    do {                                                                 \
        if (!::vemlo_test::CorpusDir()) GTEST_SKIP() << "corpus absent"; \
    } while (0)
