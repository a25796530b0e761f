// Parsing the accepted NIST COBOL-85 programs through the whole parser and
// grammar: source lines per second, and the heap in use right after a parse
// (the tree of the program and the parser's state) per source line. Then the
// data layout of the same programs against the parse that comes before it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "parser/data_layout.h"
#include "parser/options.h"
#include "parser/parser_impl.h"
#include "synthetic_program.h"

namespace {

std::filesystem::path CorpusDir() {
    if (const char* env = std::getenv("VEMLO_CORPUS_DIR")) return env;
    return VEMLO_CORPUS_DIR;
}

std::vector<std::string> AcceptedFiles() {
    std::vector<std::string> files;
    const std::filesystem::path dir = CorpusDir();
    std::ifstream in(dir / "nist-accepted.txt");
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) files.push_back((dir / "nist" / line).string());
    }
    return files;
}

DovParserImpl& NewParser(DovParserImpl& parser, const std::string& copyDir, const char* suffix) {
    parser.copyDirs.Append(VString(copyDir.c_str()));
    parser.copySuffixes.Append(VString(suffix));
    VString error;
    parser.ResolveDialectDefaults(error);
    return parser;
}

// Parses every file once; lines read, and the highest heap in use right
// after a parse above the level before it, per line of that file.
void ParsePass(DovParserImpl& parser, const std::vector<std::string>& files, long long& lines,
               double& peakPerLine) {
    for (const std::string& file : files) {
        const std::size_t before = mallinfo2().uordblks;
        DovExpr* root = nullptr;
        DovTokenList messages;
        parser.lineCount = 0;
        parser.Parse(file.c_str(), root, &messages);
        const std::size_t after = mallinfo2().uordblks;
        lines += parser.lineCount;
        if (parser.lineCount > 0 && after > before)
            peakPerLine = std::max(peakPerLine, double(after - before) / parser.lineCount);
        delete root;
    }
}

// Counters of a parse benchmark; growB is the heap in use after the last
// pass minus after the first (0: nothing grows from file to file).
void ReportParse(benchmark::State& state, long long lines, double peakPerLine, long long grow) {
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    state.counters["ns/line"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                   benchmark::Counter::kIs1000);
    state.counters["peak bytes/line"] = peakPerLine;
    state.counters["growB"] = double(grow);
}

void BM_ParseNistAccepted(benchmark::State& state) {
    const std::vector<std::string> files = AcceptedFiles();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    DovInstallGrammar();
    DovParserImpl parser;
    NewParser(parser, (CorpusDir() / "nist-copy").string(), ".CPY");
    long long lines = 0;
    double peakPerLine = 0;
    long long first = -1, last = 0;
    for (auto _ : state) {
        ParsePass(parser, files, lines, peakPerLine);
        last = static_cast<long long>(mallinfo2().uordblks);
        if (first < 0) first = last;
    }
    ReportParse(state, lines, peakPerLine, last - first);
}
BENCHMARK(BM_ParseNistAccepted)->Unit(benchmark::kMillisecond)->Iterations(2);

// Arg: lines of the synthetic program.
void BM_ParseSynthetic(benchmark::State& state) {
    const vemlo_bench::BenchTempDir dir("vemlo-bench-parse-synthetic");
    const vemlo_bench::SyntheticProgram program = vemlo_bench::WriteSyntheticProgram(dir.path, state.range(0));
    DovInstallGrammar();
    DovParserImpl parser;
    NewParser(parser, program.copyDir, ".cpy");
    long long lines = 0;
    double peakPerLine = 0;
    long long first = -1, last = 0;
    for (auto _ : state) {
        ParsePass(parser, {program.file}, lines, peakPerLine);
        last = static_cast<long long>(mallinfo2().uordblks);
        if (first < 0) first = last;
    }
    ReportParse(state, lines, peakPerLine, last - first);
}
BENCHMARK(BM_ParseSynthetic)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The data layout of every accepted program. The programs are parsed once
// without the layout (timed: "parse ms"); their first layout, the one a
// parse does, is timed on its own ("first layout ms"), and the iterations
// lay the same trees out again. "layout share %" is the first layout's time
// against the parse's.
void BM_LayoutNistAccepted(benchmark::State& state) {
    const std::vector<std::string> files = AcceptedFiles();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    DovInstallGrammar();
    DovParserImpl parser;
    parser.copyDirs.Append(VString((CorpusDir() / "nist-copy").string().c_str()));
    parser.copySuffixes.Append(VString(".CPY"));
    VString error;
    parser.ResolveDialectDefaults(error);
    parser.lengthsAndOffsets = 0;
    DovLayoutSettings settings;
    settings.storageMode = parser.storageMode;
    settings.trailingSepSign = parser.trailingSepSign;
    settings.pointerSize = parser.pointerSize;
    settings.procPointerSize = parser.procPointerSize;
    settings.indexSize = parser.indexSize;
    settings.unfoldFlexArrays = parser.unfoldFlexArrays;

    std::vector<DovExpr*> trees;
    auto start = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
        DovExpr* root = nullptr;
        DovTokenList messages;
        parser.Parse(file.c_str(), root, &messages);
        if (root) trees.push_back(root);
    }
    const double parseSeconds = SecondsSince(start);

    start = std::chrono::steady_clock::now();
    {
        DovTokenList messages;
        for (DovExpr* tree : trees) DovCalcLengthsAndOffsets(tree, &messages, 1, 1, 1, settings);
    }
    const double firstSeconds = SecondsSince(start);

    for (auto _ : state) {
        DovTokenList messages;
        for (DovExpr* tree : trees) DovCalcLengthsAndOffsets(tree, &messages, 1, 1, 1, settings);
        benchmark::DoNotOptimize(messages);
    }
    for (DovExpr* tree : trees) delete tree;
    state.counters["programs"] = static_cast<double>(trees.size());
    state.counters["parse ms"] = parseSeconds * 1000;
    state.counters["first layout ms"] = firstSeconds * 1000;
    state.counters["layout share %"] = parseSeconds > 0 ? 100 * firstSeconds / parseSeconds : 0;
}
BENCHMARK(BM_LayoutNistAccepted)->Unit(benchmark::kMillisecond);

}  // namespace
