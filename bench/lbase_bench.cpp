// Speed of the string operations that every later stage leans on.
#include <benchmark/benchmark.h>

#include <sstream>

#include "lbase/lbase.h"

static void BM_VStringAppend(benchmark::State& state) {
    VString word("IDENTIFICATION");
    for (auto _ : state) {
        VString s;
        for (int i = 0; i < 64; ++i) s += word;
        benchmark::DoNotOptimize(s.Len());
    }
}
BENCHMARK(BM_VStringAppend);

static void BM_DovFormat(benchmark::State& state) {
    for (auto _ : state) {
        VString s = DovFormat("%s:%d:%d: %s", "PROG1.cbl", 1234, 12, "Unexpected word");
        benchmark::DoNotOptimize(s.Len());
    }
}
BENCHMARK(BM_DovFormat);

static void BM_TicStringRoundTrip(benchmark::State& state) {
    VString text("MOVE WS-A TO WS-B:\tthen\\more");
    for (auto _ : state) {
        std::stringstream ss;
        text.PutTic(ss, ':');
        VString back, msg;
        back.GetTic(ss, ':', msg);
        benchmark::DoNotOptimize(back.Len());
    }
}
BENCHMARK(BM_TicStringRoundTrip);
