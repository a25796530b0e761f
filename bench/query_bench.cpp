// Speed of the query evaluator: one compiled query evaluated at every node
// of the NIST programs' trees (built from their tokens while the parser is
// not there, see tests/transform/query_corpus_tree.h). Only the evaluation
// is timed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "tests/transform/query_corpus_tree.h"
#include "transform/transform.h"

namespace {

using vemlo_bench::CorpusFolder;

const char* const kQueries[] = {
    "STMT_MOVE",
    "STMT_MOVE AND ARG(1).ARG(2) == NAME_USE",
    "IMAGE ~ LIKE 'WS-*' OR ISDESCOF(STMT_IF)",
    "INTVALUE > 5 AND ENCL-STMT == STMT_MOVE",
    // Several "*": a mismatch goes back to the latest one.
    "IMAGE ~ LIKE '*A*E*-?X*'",
};

void BM_QueryNist(benchmark::State& state) {
    const std::vector<std::string> files = vemlo_bench::CorpusFiles("nist");
    if (files.empty()) {
        state.SkipWithError("corpus absent");
        return;
    }
    const std::string copyDir = (CorpusFolder() / "nist-copy").string();
    DovQuery query(kQueries[state.range(0)]);
    VString message;
    int column = 0;
    if (query.Compile(nullptr, message, column) != 0) {
        state.SkipWithError(message.CStr());
        return;
    }
    long long nodes = 0, matches = 0;
    for (auto _ : state) {
        double seconds = 0;
        for (const std::string& file : files) {
            DovExpr* tree = vemlo_test::BuildCorpusTree(file, copyDir);
            if (!tree) continue;
            const std::vector<DovExpr*> all = vemlo_test::TreeNodes(tree);
            const auto start = std::chrono::steady_clock::now();
            for (DovExpr* node : all) matches += query.Match(node) != 0;
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            nodes += static_cast<long long>(all.size());
            delete tree;
        }
        state.SetIterationTime(seconds);
    }
    state.SetLabel(kQueries[state.range(0)]);
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.counters["matches"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_QueryNist)->DenseRange(0, 4)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
