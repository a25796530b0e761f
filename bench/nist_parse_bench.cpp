// Parsing the accepted NIST COBOL-85 programs through the whole parser and
// grammar: source lines per second, and the heap in use right after a parse
// (the tree of the program and the parser's state) per source line.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "grammar/grammar.h"
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

}  // namespace
