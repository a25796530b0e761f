// Speed of the data layout: WORKING-STORAGE sections of records shaped like
// those of business programs (groups, tables of groups, REDEFINES, packed
// and binary fields, 88 and 78 entries), laid out again and again. Each
// record holds 22 data entries; the counter "entries" gives the rate per
// data entry, to be set against the lexer's rate per line (bench_lexer).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "parser/data_layout.h"
#include "parser/data_map.h"
#include "parser/data_slots.h"
#include "tree/tree.h"

namespace {

using namespace dov_data_slots;

DovExpr* Entry(DovExpr* holder) { return holder->Args(kHolderEntry); }
DovExpr* Member(DovExpr* holder, int i) { return holder->Args(kHolderArgs)->Args(i); }

DovExpr* UseOf(DovExpr* entry, DovExpr* program) {
    auto* def = static_cast<DovNamedObjDef*>(entry->Args(kDdDataName));
    DovNamedObjUse* use = DovMakeDataNameUse(def->Image(), program);
    use->SetDefinition(def);
    return use;
}

void AddCond(DovExpr* holder, const std::string& name, DovExpr* program) {
    auto* entry = new DovExprOper(DECL_COND_ENTRY);
    entry->SetArg(kCondLevel, new DovIntNumConst("88", 88), -1, 0);
    entry->SetArg(kCondName, DovMakeNamedObjDef(name.c_str(), NC_CONDITION_NAME, true, program), -1, 0);
    entry->SetArg(kCondValue, new DovExprOper(EX_COND_VALUE, new DovIntNumConst(1LL), nullptr), -1, 0);
    DovExpr* sub = holder->Args(kHolderArgs);
    if (!sub || sub->Oper() != DECL_DD_LIST) {
        sub = new DovExprOper(DECL_DD_LIST);
        holder->SetArg(kHolderArgs, sub, -1, 0);
    }
    sub->AddArg(new DovExprOper(DECL_DD, entry, nullptr));
}

// A source file with one program whose WORKING-STORAGE holds `records`
// records, each followed by a 78-level constant VALUE NEXT.
DovExpr* BuildFile(int records, long long& entries) {
    auto* file = new DovExprOper(COBOL_FILE);
    file->SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    auto* program = new DovExprOper(COBOL_PROGRAM);
    program->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    file->SetArg(0, new DovExprOper(COBOL_PROGRAM_LIST, program), -1, 0);
    auto* list = new DovExprOper(DECL_DD_LIST);
    auto* section = new DovExprOper(SECTION_WORKING_STORAGE);
    section->SetArg(kSectionEntries, list, -1, 0);
    auto* division = new DovExprOper(DIVISION_DATA);
    division->SetArg(4, section, -1, 0);
    program->SetArg(kProgDataDiv, division, -1, 0);

    entries = 0;
    for (int r = 0; r < records; ++r) {
        const std::string p = "R" + std::to_string(r) + "-";
        std::vector<std::string> names = {"REC",  "KEY",   "NAME", "PARTS", "FIRST", "LAST", "AMOUNTS", "AMT",
                                          "QTY",  "FLAG",  "ADDR", "LINE1", "LINE2", "ZIP",  "CITY",    "DATES",
                                          "YY",   "MM",    "DD",   "COUNT", "TAIL",  "LONGTAIL"};
        for (std::string& n : names) n = p + n;
        const DovDataItemRow rows[] = {
            {0, 1, names[0].c_str(), nullptr, DU_NONE, nullptr},
            {1, 5, names[1].c_str(), "9(8)", DU_NONE, nullptr},
            {1, 5, names[2].c_str(), "X(30)", DU_NONE, nullptr},
            {1, 5, names[3].c_str(), nullptr, DU_NONE, nullptr},
            {2, 10, names[4].c_str(), "X(15)", DU_NONE, nullptr},
            {2, 10, names[5].c_str(), "X(15)", DU_NONE, nullptr},
            {1, 5, names[6].c_str(), nullptr, DU_NONE, nullptr},
            {2, 10, names[7].c_str(), "S9(7)V99", DU_COMP_3, nullptr},
            {2, 10, names[8].c_str(), "S9(4)", DU_COMP, nullptr},
            {2, 10, names[9].c_str(), "X", DU_NONE, nullptr},
            {1, 5, names[10].c_str(), nullptr, DU_NONE, nullptr},
            {2, 10, names[11].c_str(), "X(40)", DU_NONE, nullptr},
            {2, 10, names[12].c_str(), "X(40)", DU_NONE, nullptr},
            {2, 10, names[13].c_str(), "9(5)", DU_NONE, nullptr},
            {2, 10, names[14].c_str(), "X(20)", DU_NONE, nullptr},
            {1, 5, names[15].c_str(), nullptr, DU_NONE, nullptr},
            {2, 10, names[16].c_str(), "99", DU_NONE, nullptr},
            {2, 10, names[17].c_str(), "99", DU_NONE, nullptr},
            {2, 10, names[18].c_str(), "99", DU_NONE, nullptr},
            {1, 5, names[19].c_str(), "S9(4)", DU_BINARY, nullptr},
            {1, 5, names[20].c_str(), "X(10)", DU_NONE, nullptr},
            {1, 5, names[21].c_str(), "X(30)", DU_NONE, nullptr},
            {0, 0, nullptr, nullptr, DU_NONE, nullptr},
        };
        VString message;
        if (DovDeclDataItemHierarchy(list, rows, 0, program, message) != 0) break;
        entries += 22;
        DovExpr* record = list->Args(list->NumArgs() - 1);
        // PARTS REDEFINES NAME; AMOUNTS OCCURS 1 TO 12 DEPENDING ON COUNT;
        // LONGTAIL REDEFINES TAIL, longer, as the last member.
        Entry(Member(record, 2))
            ->SetArg(kDdRedefines, new DovExprOper(DX_REDEFINES, UseOf(Entry(Member(record, 1)), program)), -1, 0);
        auto* occurs = new DovExprOper(DX_OCCURS);
        occurs->SetArg(kOccursTimes,
                       new DovExprOper(EX_INT_CONST_RANGE, new DovIntNumConst(1LL), new DovIntNumConst(12LL)), -1, 0);
        occurs->SetArg(kOccursDepending,
                       new DovExprOper(EX_DEPENDING_ON, UseOf(Entry(Member(record, 6)), program)), -1, 0);
        Entry(Member(record, 3))->SetArg(kDdOccurs, occurs, -1, 0);
        Entry(Member(record, 8))
            ->SetArg(kDdRedefines, new DovExprOper(DX_REDEFINES, UseOf(Entry(Member(record, 7)), program)), -1, 0);
        AddCond(Member(record, 0), p + "KEY-OK", program);
        AddCond(Member(Member(record, 3), 2), p + "FLAG-ON", program);
        DovNamedObjDef* def = nullptr;
        list->AddArg(DovDeclConstant(def, (p + "END").c_str(), new DovExprOper(EX_VAL_NEXT), program));
    }
    return file;
}

void BM_LayoutRecords(benchmark::State& state) {
    long long entries = 0;
    DovExpr* file = BuildFile(static_cast<int>(state.range(0)), entries);
    DovLayoutSettings settings;
    DovTokenList messages;
    for (auto _ : state) {
        DovCalcLengthsAndOffsets(file, &messages, 1, 1, 1, settings);
        benchmark::DoNotOptimize(file);
    }
    if (!messages.IsEmpty()) state.SkipWithError("the layout reported a message");
    state.counters["entries"] = benchmark::Counter(static_cast<double>(entries) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    delete file;
}
BENCHMARK(BM_LayoutRecords)->Arg(10)->Arg(100)->Arg(1000);

// The listing of the same sections, for comparison.
void BM_DataMapRecords(benchmark::State& state) {
    long long entries = 0;
    DovExpr* file = BuildFile(static_cast<int>(state.range(0)), entries);
    DovTokenList messages;
    DovCalcLengthsAndOffsets(file, &messages, 1, 1, 1, DovLayoutSettings());
    for (auto _ : state) {
        std::ostringstream out;
        DovPrintDataMap(out, file);
        benchmark::DoNotOptimize(out);
    }
    state.counters["entries"] = benchmark::Counter(static_cast<double>(entries) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    delete file;
}
BENCHMARK(BM_DataMapRecords)->Arg(100);

}  // namespace
