// Every program of the shared corpus lexed to the grammar's tokens, members
// included: each reaches the end of its file with no severe message.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "tests/support/corpus.h"
#include "tests/tools/lexdump.h"

namespace {

struct Folder {
    const char* name;
    const char* copybooks;
    std::vector<std::string> suffixes;
    std::vector<int> dialects;
};

TEST(CorpusTokens, EveryProgramLexesToTheEnd) {
    VEMLO_REQUIRE_CORPUS();
    const Folder folders[] = {
        {"nist", "nist-copy", {".CPY"}, {DIAL_ANSI85}},
        {"sql", "sql", {}, {DIAL_MF}},
        {"genapp", "genapp", {}, {DIAL_VSII}},
        {"course", "course", {}, {DIAL_VSII}},
    };
    long long files = 0, tokens = 0, lines = 0, errors = 0;
    for (const Folder& folder : folders) {
        vemlo_tools::LexDumpSettings settings;
        for (int d : folder.dialects) DovDialsAdd(settings.dials, d);
        settings.copyDirs.push_back((*vemlo_test::CorpusDir() / folder.copybooks).string());
        settings.copySuffixes = folder.suffixes;
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            if (file.extension() == ".cpy" || file.extension() == ".CPY") continue;
            SCOPED_TRACE(file.string());
            const vemlo_tools::LexDumpResult result = vemlo_tools::LexDump(file.string(), settings, nullptr);
            EXPECT_EQ(result.lastCode, SEP_EOF);
            EXPECT_LT(result.worst, MSG_SEVERE);
            for (const auto& m : result.messages) {
                if (m.severity >= MSG_SEVERE) ADD_FAILURE() << DovTxtPosnStr(m.posn) << ": " << m.text;
                if (m.severity >= MSG_ERR) ++errors;
            }
            ++files;
            tokens += result.tokens;
            lines += result.lines;
        }
    }
    std::cout << "Lexed " << files << " files: " << tokens << " tokens, " << lines << " lines, " << errors
              << " error messages\n";
    EXPECT_GT(files, 450);
}

}  // namespace
