// parsedump -lex-only over every program of the shared corpus, copybooks
// included: every file ends with status 0 or 1.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/corpus.h"
#include "tests/tools/parsedump.h"

namespace {


int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CorpusParse, EveryProgramLexesWithStatus0Or1) {
    VEMLO_REQUIRE_CORPUS();
    int files = 0;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        SCOPED_TRACE(folder.name);
        std::vector<std::string> args = {"parsedump", "-lex-only"};
        for (std::string& word : vemlo_test::CorpusOptions(folder)) args.push_back(std::move(word));
        int programs = 0;
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            if (file.extension() == ".cpy" || file.extension() == ".CPY") continue;
            args.push_back(file.string());
            ++programs;
        }
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        std::ostringstream out, err;
        EXPECT_EQ(vemlo_tools::ParseDumpMain(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
        const std::string text = out.str();
        EXPECT_EQ(Count(text, "\nstatus 0 ") + Count(text, "\nstatus 1 ") + (text.rfind("status ", 0) == 0),
                  programs);
        EXPECT_EQ(Count(text, "SEVERE ERROR"), 0);
        EXPECT_EQ(Count(text, "Terminal ERROR"), 0);
        files += programs;
    }
    std::cout << "Lexed " << files << " corpus programs through the parser\n";
    EXPECT_GT(files, 450);
}

}  // namespace
