// Speed of the grep over whole files: Prepare once, then ApplyAll over the
// tree of each NIST program (built from its tokens while the parser is not
// there, see tests/transform/query_corpus_tree.h), with the match messages
// as the source lines (print-src) or as "Found". Only ApplyAll is timed; the
// messages are dropped after each file, as the driver does after printing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/transform/query_corpus_tree.h"
#include "transform/transform.h"

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

const char* const kQueries[] = {
    "STMT_MOVE",
    "NAME_USE",
};

// range(0): the query; range(1): print-src.
void BM_GrepNist(benchmark::State& state) {
    const std::vector<std::string> files = NistPrograms();
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    const std::string copyDir = (CorpusFolder() / "nist-copy").string();
    std::vector<DovExpr*> trees;
    long long nodes_per_pass = 0;
    for (const std::string& file : files) {
        DovExpr* tree = vemlo_test::BuildCorpusTree(file, copyDir);
        if (!tree) continue;
        nodes_per_pass += static_cast<long long>(vemlo_test::TreeNodes(tree).size());
        trees.push_back(tree);
    }
    WyrGrep grep;
    grep.query_text = kQueries[state.range(0)];
    grep.print_src = static_cast<int>(state.range(1));
    long long nodes = 0, matches = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (DovExpr* tree : trees) {
            DovTokenList msgs;
            if (grep.Prepare(nullptr, nullptr, &msgs) != 0) {
                state.SkipWithError("query does not compile");
                break;
            }
            const auto start = std::chrono::steady_clock::now();
            grep.ApplyAll(tree, 1, &msgs, nullptr);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            for (const DovToken* t : msgs) matches += t != nullptr;
        }
        nodes += nodes_per_pass;
        state.SetIterationTime(seconds);
    }
    for (DovExpr* tree : trees) delete tree;
    state.SetLabel(std::string(kQueries[state.range(0)]) + (state.range(1) ? " print-src" : " Found"));
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["matches/s"] = benchmark::Counter(static_cast<double>(matches), benchmark::Counter::kIsRate);
    state.counters["matches"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GrepNist)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
