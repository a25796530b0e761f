// Speed of building, copying, walking and storing program trees.
#include <benchmark/benchmark.h>

#include <sstream>

#include "tree/tree.h"

namespace {

// A statement list of n MOVE statements, each with two operands and tokens.
DovExpr* MakeStatements(int n) {
    auto* list = new DovExprOper(STMT_LIST);
    for (int i = 0; i < n; ++i) {
        auto* move = new DovExprOper(STMT_MOVE, new DovCharString("WS-A"), new DovCharString("WS-B"));
        move->ArgSlots(0)->tokens.AddNewToken(RW_MOVE, DovTxtPosn(static_cast<std::uint32_t>(i + 1), 11, 0), "MOVE");
        list->AddArg(move);
    }
    return list;
}

void BM_BuildTree(benchmark::State& state) {
    for (auto _ : state) {
        DovExpr* t = MakeStatements(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(t);
        delete t;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildTree)->Arg(1000)->Arg(20000);

void BM_WalkTree(benchmark::State& state) {
    DovExpr* t = MakeStatements(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        long count = 0;
        WalkTheTree(t, &count, [](DovExpr*, void* c) -> int {
            ++*static_cast<long*>(c);
            return 1;
        });
        benchmark::DoNotOptimize(count);
    }
    delete t;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkTree)->Arg(20000);

void BM_TicRoundTrip(benchmark::State& state) {
    DovExpr* t = MakeStatements(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::stringstream ss;
        DovExpr::PutTic(t, ss);
        DovExpr* back = nullptr;
        VString error;
        DovExpr::GetTicTree(ss, back, error);
        delete back;
    }
    delete t;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TicRoundTrip)->Arg(5000);

}  // namespace
