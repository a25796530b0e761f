// Speed of the main print pass over the trees of the NIST programs (built
// from their tokens while the parser gives no trees, see
// tests/transform/query_corpus_tree.h): each tree printed into a string,
// through the templates (range 0) or from its source (range 1). Reports the
// printed lines per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "printer/printer.h"
#include "tests/transform/query_corpus_tree.h"

namespace {

std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("VEMLO_CORPUS_DIR");
    return env && *env ? env : VEMLO_CORPUS_DIR;
}

void BM_PrintNistToStrings(benchmark::State& state) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusFolder() / "nist", ec))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    const std::string copyDir = (CorpusFolder() / "nist-copy").string();
    std::vector<DovExpr*> trees;
    for (const std::string& file : files)
        if (DovExpr* tree = vemlo_test::BuildCorpusTree(file, copyDir)) trees.push_back(tree);
    DovPrettyPrinterImpl printer;
    printer.gen_src = static_cast<int>(state.range(0));
    long long lines = 0, failures = 0;
    for (auto _ : state) {
        for (DovExpr* tree : trees) {
            VString text;
            DovTokenList messages;
            if (printer.PrintToString(text, tree, &messages) != 0) ++failures;
            lines += std::count(text.CStr(), text.CStr() + text.Len(), '\n');
            benchmark::DoNotOptimize(text.CStr());
        }
    }
    state.counters["lines_per_second"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["trees"] = static_cast<double>(trees.size());
    state.counters["failed_prints"] = static_cast<double>(failures);
    for (DovExpr* tree : trees) delete tree;
}
BENCHMARK(BM_PrintNistToStrings)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
