// Every file of the shared corpus through the line reader: no crash, every
// line counted and placed where the source-file reader finds it again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lexer/lexer.h"
#include "tests/lexer/lexer_fixture.h"
#include "tests/support/corpus.h"

namespace {

using vemlo_test::LexerTest;

std::vector<std::filesystem::path> AllCorpusFiles() {
    std::vector<std::filesystem::path> files;
    auto root = vemlo_test::CorpusDir();
    if (!root) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*root))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The lines the line reader must see: every newline ends one, and text after
// the last newline is one more unless it is only a CR and a Ctrl-Z.
std::uint32_t ExpectedLines(const std::string& text) {
    std::uint32_t lines = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ++lines;
            start = i + 1;
        }
    std::string tail = text.substr(start);
    if (!tail.empty() && tail.back() == '\r') tail.pop_back();
    if (!tail.empty() && tail.back() == '\x1a') tail.pop_back();
    return lines + (tail.empty() ? 0 : 1);
}

std::string RightTrimmed(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\f')) s.pop_back();
    return s;
}

TEST_F(LexerTest, EveryCorpusFileLineByLine) {
    VEMLO_REQUIRE_CORPUS();
    auto files = AllCorpusFiles();
    ASSERT_FALSE(files.empty());
    DovSrcFile src;
    int compared = 0;
    for (int dialect : {DIAL_ANSI85, DIAL_MF, DIAL_OSVS}) {
        for (const auto& file : files) {
            SCOPED_TRACE(file.string());
            std::ifstream in(file, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            lexer.dials = DovNoDials();
            DovDialsAdd(lexer.dials, dialect);
            lexer.Reset();
            ASSERT_EQ(lexer.SetInput(file.c_str()), 0);
            const int startCount = lexer.linesRead;
            std::uint32_t last = 0;
            for (int code; (code = lexer.GetLine()) != SEP_EOF;) {
                DovTxtPosn at = lexer.CurrentPosn();
                ASSERT_EQ(at.Line(), last + 1);
                last = at.Line();
                ASSERT_LE(lexer.current->lineLen, kDovFixedLineLimit);
                std::string line(lexer.current->line, lexer.current->lineLen);
                if (code != 0 || dialect != DIAL_ANSI85 || at.Line() % 37 != 1) continue;
                VString back, message;
                ASSERT_EQ(src.GetSrcLine(at, back, message), 0) << message;
                const std::string source(back.CStr(), back.Len());
                // The line reader expands TABs; the source line keeps them.
                if (source.find('\t') != std::string::npos) continue;
                EXPECT_EQ(line, RightTrimmed(source.substr(0, kDovFixedLineLimit))) << "line " << at.Line();
                ++compared;
            }
            EXPECT_EQ(last, ExpectedLines(text));
            EXPECT_EQ(static_cast<std::uint32_t>(lexer.linesRead - startCount), last);
            lexer.CloseInput();
        }
    }
    EXPECT_GT(compared, 1000);
}

}  // namespace
