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

void BM_ParseNistAccepted(benchmark::State& state) {
    const std::vector<std::string> files = AcceptedFiles();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    DovInstallGrammar();
    DovParserImpl parser;
    DovAppendSetting(parser.copyDirs, VString((CorpusDir() / "nist-copy").string().c_str()));
    DovAppendSetting(parser.copySuffixes, VString(".CPY"));
    VString error;
    parser.ResolveDialectDefaults(error);
    long long lines = 0;
    double peakPerLine = 0;
    for (auto _ : state) {
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
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    state.counters["peak bytes/line"] = peakPerLine;
}
BENCHMARK(BM_ParseNistAccepted)->Unit(benchmark::kMillisecond)->Iterations(1);

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
    DovAppendSetting(parser.copyDirs, VString((CorpusDir() / "nist-copy").string().c_str()));
    DovAppendSetting(parser.copySuffixes, VString(".CPY"));
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
