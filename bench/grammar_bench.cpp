// Speed of the grammar frame on the COBOL tables: a long procedure division
// of paragraphs and simple statements, fed as plain token codes (no values,
// no positions), so that only the automaton's own work is measured. Then
// whole parses of statements nested to a given depth, each level opening a
// trial that stays open to the end of the sentence, with their time and
// peak heap per level of nesting; and the same with one syntax error under
// the levels (tests/support/deep_programs.h), which every alternative of
// every level meets.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/heap_meter.h"
#include "bench/synthetic_program.h"
#include "grammar/grammar.h"
#include "tests/support/deep_programs.h"
#include "parser/parser_impl.h"
#include "tree/token_codes.h"

namespace {

std::vector<int> tokens;
std::size_t next_token = 0;

int Codes() {
    yylval = nullptr;
    yyposn = nullptr;
    return next_token < tokens.size() ? tokens[next_token++] : 0;
}

void BM_FrameCobolProcedure(benchmark::State& state) {
    tokens = {RW_ID_DIVISION, SEP_DOT, RW_PROGRAM_ID, SEP_DOT, TK_USER_DEFD_WORD, SEP_DOT,
              RW_PROCEDURE,   RW_DIVISION, SEP_DOT};
    for (int p = 0; p < state.range(0); ++p) {
        const int para[] = {TK_AREA_A_NAME, SEP_DOT, RW_PERFORM, TK_USER_DEFD_WORD, RW_THRU, TK_USER_DEFD_WORD,
                            RW_GO,          RW_TO,   TK_USER_DEFD_WORD, SEP_DOT, RW_CONTINUE, RW_EXIT, SEP_DOT};
        tokens.insert(tokens.end(), std::begin(para), std::end(para));
    }
    DovCobolGrammar.services = {};
    DovCobolGrammar.services.lex = Codes;
    for (auto _ : state) {
        next_token = 0;
        benchmark::DoNotOptimize(yyparse());
    }
    DovCobolGrammar.services = {};
    state.SetItemsProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(tokens.size()));
}
BENCHMARK(BM_FrameCobolProcedure)->Arg(1000);

// One level of a nested program: the line that opens it, the line that
// closes it, and what the innermost level holds.
struct Nesting {
    const char* name;
    const char* open;
    const char* close;
    const char* inner;
};

// Inline PERFORMs with a count: the count opens a trial (a count or a
// procedure name) that the sentence's period commits. The parenthesised
// conditions open one trial per parenthesis inside the PERFORM's trial.
const Nesting kInlinePerform = {"perform", "PERFORM 2 TIMES", "END-PERFORM", "CONTINUE"};
const Nesting kPerformParenIf = {"perform-if", "PERFORM 2 TIMES IF T (1) = ((1))", "END-IF END-PERFORM",
                                 "CONTINUE"};

// A fixed-format program whose one sentence nests `depth` levels.
void WriteNested(std::ostream& out, const Nesting& n, long long depth) {
    out << "       IDENTIFICATION DIVISION.\n"
           "       PROGRAM-ID. DEEP.\n"
           "       DATA DIVISION.\n"
           "       WORKING-STORAGE SECTION.\n"
           "       01 W.\n"
           "          05 T PIC 9 OCCURS 2.\n"
           "       PROCEDURE DIVISION.\n"
           "       P1.\n";
    for (long long i = 0; i < depth; ++i) out << "           " << n.open << '\n';
    out << "           " << n.inner << '\n';
    for (long long i = 0; i < depth; ++i) out << "           " << n.close << '\n';
    out << "           .\n"
           "           STOP RUN.\n";
}

double CpuNs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// Parses `text` again and again (as file DEEP.cbl in a folder of the
// bench's own) and sets the counters "ns/level" (CPU time of one parse per
// level, the deletion of the tree not counted) and "peakB/level" (the most
// heap in use during a parse, above the level before it, per level; the
// tree is part of it). Names are resolved, as vemlo resolves them. A status
// other than `expected` stops the benchmark with an error. With a `base`
// text (the same program without its levels), each iteration parses it too
// and "ns/level" counts only the time above it: what the levels cost.
void ParseTimed(benchmark::State& state, const std::string& name, const std::string& text, long long depth,
                int expected, const std::string& base = std::string()) {
    const vemlo_bench::BenchTempDir dir("vemlo-bench-nested-" + name);
    std::filesystem::create_directories(dir.path);
    const std::string file = (dir.path / "DEEP.cbl").string();
    const std::string baseFile = (dir.path / "BASE.cbl").string();
    std::ofstream(file) << text;
    if (!base.empty()) std::ofstream(baseFile) << base;
    DovInstallGrammar();
    DovParserImpl parser;
    VString error;
    parser.ResolveDialectDefaults(error);
    long long peak = 0;
    double cpuNs = 0;
    for (auto _ : state) {
        const long long before = vemlo_bench::HeapInUse();
        vemlo_bench::ResetHeapPeak();
        DovExpr* root = nullptr;
        DovTokenList messages;
        double start = CpuNs();
        const int status = parser.Parse(file.c_str(), root, &messages);
        cpuNs += CpuNs() - start;
        peak = std::max(peak, vemlo_bench::HeapPeak() - before);
        delete root;
        if (status != expected) {
            state.SkipWithError("the nested program does not parse as expected");
            break;
        }
        if (base.empty()) continue;
        root = nullptr;
        messages.Clear();
        start = CpuNs();
        parser.Parse(baseFile.c_str(), root, &messages);
        cpuNs -= CpuNs() - start;
        delete root;
    }
    state.counters["ns/level"] = cpuNs / double(depth) / double(std::max<long long>(1, state.iterations()));
    state.counters["peakB/level"] = double(peak) / double(depth);
}

// Arg: the depth of nesting.
void NestedParse(benchmark::State& state, const Nesting& n) {
    const long long depth = state.range(0);
    std::ostringstream text;
    WriteNested(text, n, depth);
    ParseTimed(state, n.name, text.str(), depth, 0);
}

void BM_NestedInlinePerform(benchmark::State& state) { NestedParse(state, kInlinePerform); }
BENCHMARK(BM_NestedInlinePerform)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

void BM_NestedPerformParenIf(benchmark::State& state) { NestedParse(state, kPerformParenIf); }
BENCHMARK(BM_NestedPerformParenIf)->Arg(1000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

// Args: the shape (its index in vemlo_test::BrokenNestings(), named in the
// label) and the depth. One syntax error under the levels: status 2. The
// time per level is counted above the same program without levels, whose
// heading and data division would otherwise hide the levels' own cost.
void BM_ErrorUnderNesting(benchmark::State& state) {
    const auto& shapes = vemlo_test::BrokenNestings();
    const auto& n = shapes[static_cast<std::size_t>(state.range(0))];
    const int depth = static_cast<int>(state.range(1));
    state.SetLabel(n.name);
    ParseTimed(state, "broken", vemlo_test::BrokenProgram(n, depth), depth, 2, vemlo_test::BrokenProgram(n, 0));
}
BENCHMARK(BM_ErrorUnderNesting)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (std::size_t i = 0; i < vemlo_test::BrokenNestings().size(); ++i)
            for (int depth : {8, 16, 32, 64}) b->Args({static_cast<long long>(i), depth});
    })
    ->Unit(benchmark::kMicrosecond);

}  // namespace
