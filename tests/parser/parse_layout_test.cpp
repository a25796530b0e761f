// The data layout inside a parse: Parse lays out the tree its grammar built
// with the options' settings, its messages join the parse's, parsedump
// -data-map lists the result. (The layout laws over the NIST programs are
// checked with the COBOL grammar, in the grammar tests.)
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "parser/data_slots.h"
#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tests/parser/parsedump_run.h"
#include "tests/tools/parsedump.h"
#include "tree/tree.h"

namespace {

using vemlo_test::DumpRun;
using vemlo_test::Parsedump;

// A stand-in grammar: one program whose WORKING-STORAGE holds
// 01 A. 05 B PIC X(3). 05 C PIC 9(4) COMP SYNC. 05 D REDEFINES NOWHERE PIC X.
int BuildDataDivision() {
    DovExpr* root = WorkingParser->root;
    auto* program = new DovExprOper(COBOL_PROGRAM);
    program->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    root->SetArg(0, new DovExprOper(COBOL_PROGRAM_LIST, {program}), -1, 0);
    auto* list = new DovExprOper(DECL_DD_LIST);
    auto* section = new DovExprOper(SECTION_WORKING_STORAGE);
    section->SetArg(0, list, -1, 0);
    auto* division = new DovExprOper(DIVISION_DATA);
    division->SetArg(4, section, -1, 0);
    program->SetArg(dov_data_slots::kProgDataDiv, division, -1, 0);
    const DovDataItemRow rows[] = {{0, 1, "A", nullptr, DU_NONE, nullptr},
                                   {1, 5, "B", "X(3)", DU_NONE, nullptr},
                                   {1, 5, "C", "9(4)", DU_COMP, nullptr},
                                   {1, 5, "D", "X", DU_NONE, nullptr},
                                   {0, 0, nullptr, nullptr, DU_NONE, nullptr}};
    VString message;
    if (DovDeclDataItemHierarchy(list, rows, 0, program, message) != 0) return 1;
    DovExpr* group = list->Args(0)->Args(1);
    group->Args(1)->Args(0)->SetArg(dov_data_slots::kDdSynchronized, new DovExprOper(DX_SYNCHRONIZED), -1, 0);
    group->Args(2)->Args(0)->SetArg(dov_data_slots::kDdRedefines,
                                    new DovExprOper(DX_REDEFINES, {DovMakeDataNameUse("NOWHERE", program)}), -1, 0);
    return 0;
}

class ParseLayout : public ::testing::Test {
protected:
    void SetUp() override {
        saved = DovGrammar;
        DovGrammar = DovGrammarHooks();
        DovGrammar.parse = BuildDataDivision;
        source = dir.Write("prog.cbl", "000100 IDENTIFICATION DIVISION.\n");
    }
    void TearDown() override { DovGrammar = saved; }

    vemlo_test::TempDir dir;
    std::string source;
    DovGrammarHooks saved;
};

// The data map row of C up to its offset column.
std::string RowOfC() {
    std::string row = "05|. C";
    row.resize(34, ' ');
    row += "|9(4)";
    row.resize(45, ' ');
    return row + "| N|COMP   |*";
}

TEST_F(ParseLayout, DataMapFollowsTheTree) {
    DumpRun run = Parsedump({"-data-map", source});
    EXPECT_EQ(run.status, 1) << run.err;  // the layout's error makes status 2
    const std::size_t tree = run.out.find("COBOL_FILE");
    const std::size_t map = run.out.find("\nWORKING-STORAGE SECTION:\n");
    ASSERT_NE(map, std::string::npos) << run.out;
    EXPECT_LT(tree, map);
    EXPECT_NE(run.out.find(RowOfC() + "|     3|     2|     3\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ERROR: No Argument for REDEFINES found in current context\nstatus 2 "), std::string::npos)
        << run.out;
    // Word mode aligns the synchronized item; no -data-map, no listing.
    run = Parsedump({"-data-map", "-lo-stor-mode=word", source});
    EXPECT_NE(run.out.find(RowOfC() + "|     4|     2|     4\n"), std::string::npos) << run.out;
    run = Parsedump({source});
    EXPECT_EQ(run.out.find("WORKING-STORAGE SECTION:"), std::string::npos);
    EXPECT_NE(run.out.find("DCAT_GROUP"), std::string::npos) << run.out;
    // Without lengths and offsets the tree holds none.
    run = Parsedump({"-no-leng-offs", source});
    EXPECT_EQ(run.out.find("DCAT_GROUP"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("status 0 "), std::string::npos) << run.out;
}

}  // namespace
