// The layout and the data map over damaged data divisions (as a stored or
// half-built tree may be): slots emptied or given null nodes, levels and
// numbers changed at random, clauses moved. Both must finish without a
// crash, and the layout must stay repeatable.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "parser/data_slots.h"
#include "parser/parser.h"
#include "tests/parser/data_fixture.h"

namespace {

using vemlo_test::DataTree;
using vemlo_test::Int;
using vemlo_test::Item;
using vemlo_test::Op;

void Build(DataTree& t) {
    DovExpr* ws = t.Section(SECTION_WORKING_STORAGE);
    t.Const(ws, nullptr, "N", Int(3));
    ASSERT_TRUE(t.Declare(ws, {Item(0, 1, "A"), Item(1, 5, "B", "X(3)"), Item(1, 5, "C", "9(4)", DU_COMP),
                               Item(1, 5, "G"), Item(2, 10, "G1", "S9(5)", DU_COMP_3), Item(2, 10, "G2", "X"),
                               Item(1, 5, "R", "X(9)"), Item(1, 5, "T", "X(2)"), Item(0, 66, "RN"),
                               Item(0, 77, "K", "99"), Item(0, 1, "RA", "X(4)")}));
    t.Occurs("G", 4);
    t.OccursRange("T", 1, 5, "K");
    t.OccursExpr("T", Op(EX_INT_CONST_RANGE, {Int(1), t.Use("N")}));
    t.Redefines("R", "B");
    t.Redefines("RA", "A");
    t.Sync("C");
    t.Renames("RN", "B", "C");
    t.Cond("B", "B-OK", Op(EX_VALUE_RANGE_LIST, {Op(EX_VALUE_RANGE, {Int(1), Int(2)})}));
    t.Const(ws, nullptr, "E", new DovExprOper(EX_VAL_NEXT));
    t.Const(ws, nullptr, "S", Op(EX_VAL_START_OF, {t.Use("G2")}));
    t.Const(nullptr, "G2", "L", Op(AR_DIV, {Op(EX_VAL_LENGTH_OF, {t.Use("A")}), t.Use("N")}));
    ASSERT_TRUE(t.Declare(t.Section(SECTION_LINKAGE), {Item(0, 1, "LK"), Item(1, 5, "LK1", "X(2)")}));
    ASSERT_TRUE(t.Declare(t.FileRecords("F"), {Item(0, 1, "FR", "X(8)")}));
}

void Collect(DovExpr* node, std::vector<DovExpr*>& nodes) {
    if (!node) return;
    if (node->Oper() == SYMBOL_TABLE_ELT_LIST) return;
    nodes.push_back(node);
    for (int i = 0; i < node->NumArgs(); ++i) Collect(DovArgOrNull(node, i), nodes);
}

std::string Map(DovExpr* root) {
    std::ostringstream out;
    DovPrintDataMap(out, root);
    return out.str();
}

TEST(DataLayoutFuzz, DamagedTreesAreLaidOutAndListed) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE(round);
        DataTree t;
        Build(t);
        if (testing::Test::HasFatalFailure()) return;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            std::vector<DovExpr*> nodes;
            Collect(t.program->Args(dov_data_slots::kProgDataDiv), nodes);
            DovExpr* node = nodes[random() % nodes.size()];
            if (node->NumArgs() == 0) {
                if (node->Oper() == INT_NUM_CONST) {
                    const long long values[] = {0, -1, -2, 1, 77, 66, 88, 78, 999999999, INT64_MAX, INT64_MIN};
                    node->SetValue(values[random() % 11]);
                }
                continue;
            }
            const int slot = static_cast<int>(random() % static_cast<unsigned>(node->NumArgs()));
            switch (random() % 4) {
                case 0: delete node->DelArg(slot, 0, 1); break;
                case 1: node->SetArg(slot, new DovNullNode(), -1, 0); break;
                case 2: node->SetArg(slot, Int(static_cast<long long>(random() % 200) - 50), -1, 0); break;
                default: {
                    // A subtree moved to another slot of the same node.
                    const int other = static_cast<int>(random() % static_cast<unsigned>(node->NumArgs()));
                    if (other != slot) {
                        DovExpr* moved = node->DelArg(slot, 0, 1);
                        if (moved) node->SetArg(other, moved, -1, 0);
                    }
                    break;
                }
            }
        }
        t.Layout();
        const std::string first = Map(t.file);
        t.messages.Clear();
        t.Layout(DovLayoutSettings{2, 1, 8, 8, 8, 0});
        t.Layout(DovLayoutSettings{2, 1, 8, 8, 8, 0});
        const std::string word = Map(t.file);
        t.Layout();
        EXPECT_FALSE(first.empty());
        EXPECT_FALSE(word.empty());
    }
}

TEST(DataLayoutFuzz, RedefinesCycleEnds) {
    DataTree t;
    ASSERT_TRUE(t.Declare(t.Section(SECTION_WORKING_STORAGE),
                          {Item(0, 1, "A", "X(4)"), Item(0, 1, "B", "X(6)"), Item(0, 1, "C", "X(2)")}));
    t.Redefines("A", "B");
    t.Redefines("B", "A");
    t.Const(t.Section(SECTION_WORKING_STORAGE), nullptr, "S", Op(EX_VAL_START_OF, {t.Use("C")}));
    EXPECT_EQ(FollowRedefines(t.Entry("A")), nullptr);
    t.Layout();
    EXPECT_EQ(t.Length("C"), 2);
}

}  // namespace
