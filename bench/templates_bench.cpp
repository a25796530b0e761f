// The template interpreter: both passes over a paragraph of MOVE statements
// printed through the built-in template table, and a long list.
#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

#include "printer/printer.h"
#include "printer/templates/interpreter.h"
#include "printer/templates/print_templates.h"
#include "tree/tree.h"

namespace {

class NullBuf : public std::streambuf {
protected:
    int_type overflow(int_type ch) override { return ch; }
};

// n statements "MOVE WS-SOURCE TO WS-TARGET-A WS-TARGET-B".
DovExprOper* Statements(int n) {
    auto* list = new DovExprOper(STMT_LIST);
    for (int i = 0; i < n; ++i) {
        auto* dests = new DovExprOper(IDENT_LIST, {new DovCharString("WS-TARGET-A"), new DovCharString("WS-TARGET-B")});
        list->AddArg(new DovExprOper(STMT_MOVE, new DovExprOper(IDENT_LIST, {new DovCharString("WS-SOURCE")}), dests));
    }
    return list;
}

// Runs both passes of `node` in a pass of `printer` into a null stream.
void BothPasses(DovPrettyPrinterImpl& printer, DovExpr* node, std::ostream& out, DovTokenList& messages) {
    DovBeginPrintPass(&printer, &messages, nullptr);
    DovPrinting.SetLineFormatColumns(printer.gen_line_format);
    DovPrinting.copyLevels[0].stream = &out;
    DovPrinting.currentLevel = 1;
    DovPrinting.g_xpos = 0;
    DovTemplatePrintNode(node, 1, 0);
    DovPrinting.g_xpos = 0;
    DovTemplatePrintNode(node, 0, 0);
    DovEndPrintPass();
}

void BM_TemplateStatements(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    DovPrettyPrinterImpl printer;
    DovTokenList messages;
    NullBuf buf;
    std::ostream out(&buf);
    DovBeginPrintPass(&printer, &messages, nullptr);
    RecomputeGenTable(&printer);
    DovEndPrintPass();
    DovExprOper* tree = Statements(n);
    for (auto _ : state) BothPasses(printer, tree, out, messages);
    delete tree;
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TemplateStatements)->Arg(1000)->Arg(20000);

void BM_TemplateLongList(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    DovPrettyPrinterImpl printer;
    DovTokenList messages;
    NullBuf buf;
    std::ostream out(&buf);
    DovBeginPrintPass(&printer, &messages, nullptr);
    RecomputeGenTable(&printer);
    DovEndPrintPass();
    auto* list = new DovExprOper(IDENT_LIST);
    for (int i = 0; i < n; ++i) list->AddArg(new DovCharString("WS-ITEM"));
    for (auto _ : state) BothPasses(printer, list, out, messages);
    delete list;
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_TemplateLongList)->Arg(1000)->Arg(20000);

}  // namespace
