// Speed and memory of the whole lexer: every program of the NIST folder, its
// copybooks read in line, down to the grammar's tokens; and a synthetic
// program of 10,000 and of 100,000 lines, to show the cost per line does not
// grow with the size of a program.
//
// Counters: "lines/s" (lines read, members included, per second of CPU
// time), "tokens/s", and "peakB/line": the most heap memory in use while one
// file is lexed, above the level before the file, divided by that file's
// lines; the highest value over the files. "growB" is the heap in use after
// the last file minus the level after the first pass (0: no growth per file).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench/heap_meter.h"
#include "bench/synthetic_program.h"
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

struct LexRun {
    long long lines = 0, tokens = 0;
    double peakPerLine = 0;
};

// Lexes one file to its end; adds its lines and tokens and the peak heap per
// line to `run`.
void LexFile(DovLexer& lexer, const std::string& file, LexRun& run) {
    const long long before = vemlo_bench::HeapInUse();
    vemlo_bench::ResetHeapPeak();
    lexer.Reset();
    if (lexer.SetInput(file.c_str()) != 0) return;
    for (;;) {
        std::unique_ptr<DovTokenItem> item(lexer.GetToken());
        const int code = item->token->code;
        delete lexer.TakeMarkerNode(code);
        ++run.tokens;
        if (code == SEP_EOF) break;
    }
    const long long lines = lexer.linesRead;
    run.lines += lines;
    lexer.CloseInput();
    if (lines > 0)
        run.peakPerLine =
            std::max(run.peakPerLine, static_cast<double>(vemlo_bench::HeapPeak() - before) / static_cast<double>(lines));
}

void Report(benchmark::State& state, const LexRun& run, long long grow) {
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(run.lines), benchmark::Counter::kIsRate);
    state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(run.tokens), benchmark::Counter::kIsRate);
    state.counters["peakB/line"] = run.peakPerLine;
    state.counters["growB"] = static_cast<double>(grow);
}

void SetCopybooks(DovLexer& lexer, const std::string& dir, const char* suffix) {
    lexer.copyDirs = VStringArray(1);
    lexer.copyDirs.items[lexer.copyDirs.count++] = dir.c_str();
    lexer.copySuffixes = VStringArray(2);
    lexer.copySuffixes.items[lexer.copySuffixes.count++] = suffix;
}

void BM_LexNist(benchmark::State& state) {
    const std::vector<std::string> files = NistPrograms();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    DovLexer lexer(IgnoreMessage, nullptr, nullptr, nullptr, nullptr);
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    SetCopybooks(lexer, (CorpusFolder() / "nist-copy").string(), ".CPY");
    LexRun run;
    long long level = -1;
    for (auto _ : state) {
        for (const std::string& file : files) LexFile(lexer, file, run);
        if (level < 0) level = vemlo_bench::HeapInUse();
    }
    Report(state, run, vemlo_bench::HeapInUse() - level);
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_LexNist)->Unit(benchmark::kMillisecond);

// Arg: lines of the synthetic program.
void BM_LexSynthetic(benchmark::State& state) {
    const vemlo_bench::BenchTempDir dir("vemlo-bench-synthetic");
    const vemlo_bench::SyntheticProgram program = vemlo_bench::WriteSyntheticProgram(dir.path, state.range(0));
    DovLexer lexer(IgnoreMessage, nullptr, nullptr, nullptr, nullptr);
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    SetCopybooks(lexer, program.copyDir, ".cpy");
    LexRun run;
    long long level = -1;
    for (auto _ : state) {
        LexFile(lexer, program.file, run);
        if (level < 0) level = vemlo_bench::HeapInUse();
    }
    Report(state, run, vemlo_bench::HeapInUse() - level);
    state.counters["ns/line"] = benchmark::Counter(static_cast<double>(run.lines),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                   benchmark::Counter::kIs1000);
}
BENCHMARK(BM_LexSynthetic)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
