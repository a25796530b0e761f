// Speed of the grammar frame on the COBOL tables: a long procedure division
// of paragraphs and simple statements, fed as plain token codes (no values,
// no positions), so that only the automaton's own work is measured.
#include <benchmark/benchmark.h>

#include <vector>

#include "grammar/grammar.h"
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

}  // namespace
