// Speed of the whole lexer: every program of the NIST folder, its copybooks
// read in line, down to the grammar's tokens.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lexer/lexer.h"
#include "tree/expr.h"

namespace {

std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("VEMLO_CORPUS_DIR");
    return env && *env ? env : VEMLO_CORPUS_DIR;
}

std::vector<std::string> NistPrograms() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder() / "nist", ec))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

void IgnoreMessage(int, const DovTxtPosn&, const VString&) {}

void BM_LexNist(benchmark::State& state) {
    const std::vector<std::string> files = NistPrograms();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    const std::string copyDir = (CorpusFolder() / "nist-copy").string();
    DovLexer lexer(IgnoreMessage, nullptr, nullptr, nullptr, nullptr);
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    lexer.copyDirs = VStringArray(1);
    lexer.copyDirs.items[lexer.copyDirs.count++] = copyDir.c_str();
    lexer.copySuffixes = VStringArray(2);
    lexer.copySuffixes.items[lexer.copySuffixes.count++] = ".CPY";
    long long lines = 0, tokens = 0;
    for (auto _ : state) {
        for (const std::string& file : files) {
            lexer.Reset();
            if (lexer.SetInput(file.c_str()) != 0) continue;
            for (;;) {
                std::unique_ptr<DovTokenItem> item(lexer.GetToken());
                const int code = item->token->code;
                delete lexer.TakeMarkerNode(code);
                ++tokens;
                if (code == SEP_EOF) break;
            }
            lines += lexer.linesRead;
            lexer.CloseInput();
        }
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_LexNist)->Unit(benchmark::kMillisecond);

}  // namespace
