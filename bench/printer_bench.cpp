// The slot-position pass over a large statement tree, and the output layer
// writing fixed-format lines.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "printer/printer.h"
#include "tree/tree.h"

namespace {

DovToken* Word(const char* image, int line, int col, int width) {
    const DovTxtPosn beg(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(col), 1);
    const DovTxtPosn end(static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(col + width), 1);
    return new DovToken(TK_USER_DEFD_WORD, image, DovTxtPosnRange{beg, end});
}

DovExpr* Name(const char* image, int line, int col) {
    auto* leaf = new DovCharString(image);
    DovToken* t = Word(image, line, col, 1);
    leaf->Tokens().AppendToken(t);
    return leaf;
}

// n statements "MOVE A TO B C." on lines of their own.
DovExpr* Statements(int n) {
    auto* list = new DovExprOper(STMT_LIST);
    for (int line = 1; line <= n; ++line) {
        auto* move = new DovExprOper(STMT_MOVE);
        DovToken* kw = Word("MOVE", line, 11, 4);
        move->ArgSlots(0)->tokens.AppendToken(kw);
        move->SetArg(0, Name("A", line, 16));
        auto* dests = new DovExprOper(IDENT_LIST);
        dests->AddArg(Name("B", line, 21));
        dests->AddArg(Name("C", line, 23));
        DovToken* to = Word("TO", line, 18, 2);
        move->ArgSlots(1)->tokens.AppendToken(to);
        move->SetArg(1, dests);
        list->AddArg(move);
    }
    return list;
}

void BM_SlotPosnPass(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        DovExpr* tree = Statements(n);
        state.ResumeTiming();
        DovSetSlotPosn(tree);
        state.PauseTiming();
        delete tree;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_SlotPosnPass)->Arg(1000)->Arg(20000);

class NullBuf : public std::streambuf {
protected:
    int_type overflow(int_type ch) override { return ch; }
};

void BM_OutputLayerLines(benchmark::State& state) {
    DovPrettyPrinterImpl printer;
    printer.gen_73to80_fmt = "%08d";
    DovTokenList messages;
    NullBuf buf;
    std::ostream out(&buf);
    DovBeginPrintPass(&printer, &messages, nullptr);
    DovPrinting.SetLineFormatColumns(printer.gen_line_format);
    DovPrinting.copyLevels[0].stream = &out;
    DovPrinting.currentLevel = 1;
    const char line[] = "MOVE WS-TOTAL-AMOUNT TO WS-PRINT-AMOUNT OF WS-REPORT-LINE.\n";
    for (auto _ : state) PrintStr(line, 1, 0);
    DovEndPrintPass();
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sizeof line - 1));
}
BENCHMARK(BM_OutputLayerLines);

}  // namespace
