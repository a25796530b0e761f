// Access to the shared folder of real COBOL sources. Tests that read it
// skip themselves when it is absent.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vemlo_test {

// The corpus folder, or nothing when it does not exist. The environment
// variable VEMLO_CORPUS_DIR overrides the folder configured at build time.
std::optional<std::filesystem::path> CorpusDir();

// The regular files of one corpus subfolder, sorted by name; empty when the
// corpus or the folder is absent.
std::vector<std::filesystem::path> CorpusFiles(const char* subfolder);

// The file names listed in nist-accepted.txt (the NIST programs another
// compiler accepts), without trailing blanks; empty when the corpus is absent.
std::set<std::string> AcceptedNistNames();

// One program folder of the corpus with what its programs need: the folder
// of their copybooks, their dialect and the copybook suffix.
struct CorpusFolder {
    const char* name;
    const char* copybooks;
    const char* lang;
    const char* suffix;  // null: the default
};

// The program folders of the corpus.
inline constexpr CorpusFolder kCorpusFolders[] = {
    {"nist", "nist-copy", "ansi85", ".CPY"},
    {"sql", "sql", "mf", nullptr},
    {"genapp", "genapp", "vsii", nullptr},
    {"course", "course", "vsii", nullptr},
};

// The parser options for the programs of `folder`: -lang, -copylib-dir and,
// where it has one, -copylib-sfx. Only while the corpus is present.
inline std::vector<std::string> CorpusOptions(const CorpusFolder& folder) {
    std::vector<std::string> words = {std::string("-lang=") + folder.lang,
                                      "-copylib-dir=" + (*CorpusDir() / folder.copybooks).string()};
    if (folder.suffix) words.push_back(std::string("-copylib-sfx=") + folder.suffix);
    return words;
}

}  // namespace vemlo_test

// Skips the current test when the corpus is absent.
#define VEMLO_REQUIRE_CORPUS()                                           \
    do {                                                                 \
        if (!::vemlo_test::CorpusDir()) GTEST_SKIP() << "corpus absent"; \
    } while (0)
