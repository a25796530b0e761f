// Speed of the transformation walker: a transformation that applies nowhere
// (the common case of a search) and one that applies everywhere without
// changing anything, with and without the path re-check. Speed of the tree
// iterator stepping through the same tree forward and backward.
#include <benchmark/benchmark.h>

#include "transform/transform.h"
#include "tree/tree.h"

namespace {

// A statement list of n MOVE statements, each with two operands.
DovExpr* MakeStatements(int n) {
    auto* list = new DovExprOper(STMT_LIST);
    for (int i = 0; i < n; ++i) list->AddArg(new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B")));
    return list;
}

class Counter : public DovTransform {
public:
    Counter(bool modifies, char result) : DovTransform("Counter", ""), modifies_(modifies), result_(result) {}
    DovTransform* Clone() const override { return new Counter(*this); }
    bool ModifiesTree() const override { return modifies_; }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override {
        ++count;
        return result_;
    }
    long count = 0;

private:
    bool modifies_;
    char result_;
};

void Walk(benchmark::State& state, bool modifies, char result) {
    DovExpr* t = MakeStatements(static_cast<int>(state.range(0)));
    Counter c(modifies, result);
    DovTokenList msgs;
    for (auto _ : state) benchmark::DoNotOptimize(c.ApplyAll(t, 1, &msgs, nullptr));
    state.SetItemsProcessed(c.count);
    delete t;
}

void BM_WalkNotApplicable(benchmark::State& state) { Walk(state, false, 'A'); }
void BM_WalkAppliedNoCheck(benchmark::State& state) { Walk(state, false, 0); }
void BM_WalkAppliedWithPathCheck(benchmark::State& state) { Walk(state, true, 0); }
BENCHMARK(BM_WalkNotApplicable)->Arg(20000);
BENCHMARK(BM_WalkAppliedNoCheck)->Arg(20000);
BENCHMARK(BM_WalkAppliedWithPathCheck)->Arg(20000);

void Iterate(benchmark::State& state, bool forward) {
    DovExpr* t = MakeStatements(static_cast<int>(state.range(0)));
    long steps = 0;
    for (auto _ : state) {
        DovTreeIterator it(t);
        if (!forward) {
            // Start on the last node of the tree.
            it.current = t->Args(t->NumArgs() - 1);
            it.current = it.current->Args(it.current->NumArgs() - 1);
        }
        while (forward ? it.Next() : it.Previous()) ++steps;
    }
    state.SetItemsProcessed(steps);
    delete t;
}

void BM_IteratorNext(benchmark::State& state) { Iterate(state, true); }
void BM_IteratorPrevious(benchmark::State& state) { Iterate(state, false); }
BENCHMARK(BM_IteratorNext)->Arg(200)->Arg(2000)->Arg(20000);
BENCHMARK(BM_IteratorPrevious)->Arg(200)->Arg(2000)->Arg(20000);

}  // namespace
