// The data layout over hand-built data divisions: lengths, offsets, global
// and local offsets, tables, REDEFINES, RENAMES, 78-level values and the
// messages of what cannot be laid out.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "parser/data_slots.h"
#include "parser/parser.h"
#include "tests/parser/data_fixture.h"
#include "tests/parser/layout_laws.h"

namespace {

using vemlo_test::DataTree;
using vemlo_test::Int;
using vemlo_test::Item;
using vemlo_test::Op;

constexpr long long U = kDovLayoutUnknown;

enum Field { LEN, OFF, GLOB, LOC, ELT, VAL };

struct Expect {
    const char* name;
    Field field;
    long long value;
};

struct Case {
    const char* title;
    DovLayoutSettings settings;
    std::function<void(DataTree&)> build;
    std::vector<Expect> expects;
    std::vector<std::string> messages;
};

DovLayoutSettings Mode(int storageMode, int unfold = 1, int trailingSep = 0) {
    DovLayoutSettings s;
    s.storageMode = storageMode;
    s.unfoldFlexArrays = unfold;
    s.trailingSepSign = trailingSep;
    return s;
}

long long Read(const DataTree& t, const Expect& e) {
    switch (e.field) {
        case LEN: return t.Length(e.name);
        case OFF: return t.Offset(e.name);
        case GLOB: return t.Global(e.name);
        case LOC: return t.Local(e.name);
        case ELT: return t.EltLength(e.name);
        case VAL: return t.ConstValue(e.name);
    }
    return 0;
}

const char* FieldName(Field f) {
    static const char* names[] = {"length", "offset", "global offset", "local offset", "element length", "value"};
    return names[f];
}

DovExpr* WS(DataTree& t) { return t.Section(SECTION_WORKING_STORAGE); }

// 01 A. 05 B PIC X(3). 05 C PIC 9(4) COMP.
void SmallRecord(DataTree& t) {
    ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(3)"), Item(1, 5, "C", "9(4)", DU_COMP)}));
}

const std::string kPacked31 =
    "Cannot compute length for DU_COMP_3 field of 32 digits: more than 31 digits. Length of this field is unknown.";

std::vector<Case> Cases() {
    return {
        {"byte mode", Mode(1), SmallRecord, {{"B", OFF, 0}, {"B", LEN, 3}, {"C", OFF, 3}, {"C", LEN, 2}, {"A", LEN, 5}}, {}},
        {"SYNC in word mode leaves one slack byte",
         Mode(2),
         [](DataTree& t) {
             SmallRecord(t);
             t.Sync("C");
         },
         {{"B", OFF, 0}, {"C", OFF, 4}, {"C", LEN, 2}, {"A", LEN, 6}},
         {}},
        {"SYNC in byte mode aligns nothing",
         Mode(1),
         [](DataTree& t) {
             SmallRecord(t);
             t.Sync("C");
         },
         {{"C", OFF, 3}, {"A", LEN, 5}},
         {}},
        {"OCCURS on an elementary item",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "T", "X(2)"), Item(1, 5, "N", "X")}));
             t.Occurs("T", 5);
         },
         {{"T", LEN, 10}, {"T", ELT, 2}, {"N", OFF, 10}, {"A", LEN, 11}},
         {}},
        {"OCCURS DEPENDING ON, unfolded to the upper bound",
         Mode(1, 1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "N", "99"), Item(1, 5, "T", "X(3)"),
                                           Item(1, 5, "Z", "X")}));
             t.OccursRange("T", 1, 10, "N");
         },
         {{"T", OFF, 2}, {"T", LEN, 30}, {"T", ELT, 3}, {"Z", OFF, 32}, {"A", LEN, 33}},
         {}},
        {"OCCURS DEPENDING ON, not unfolded: the rest of the record is unknown",
         Mode(1, 0),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "N", "99"), Item(1, 5, "T", "X(3)"),
                                           Item(1, 5, "Z", "X"), Item(0, 1, "NEXT-REC", "X")}));
             t.OccursRange("T", 1, 10, "N");
         },
         {{"T", LEN, U}, {"T", ELT, 3}, {"Z", OFF, U}, {"A", LEN, U}, {"NEXT-REC", OFF, 0}, {"NEXT-REC", LEN, 1}},
         {}},
        {"OCCURS 2 TO 5: room for the upper bound, whatever the lower one",
         Mode(1, 1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "N", "9"), Item(1, 5, "T", "X(3)"),
                                           Item(1, 5, "G"), Item(2, 10, "G1", "X(2)"), Item(2, 10, "I", "X"),
                                           Item(1, 5, "R", "X(2)"), Item(1, 5, "Z", "X")}));
             t.OccursRange("T", 2, 5, "N");
             t.OccursRange("G", 3, 4, "N");  // a table of groups ...
             t.OccursRange("I", 2, 3, nullptr);  // ... holding a table, without DEPENDING ON
             t.OccursRange("R", 0, 2, "N");
         },
         {{"T", OFF, 1}, {"T", LEN, 15}, {"T", ELT, 3}, {"G", OFF, 16}, {"I", LEN, 3}, {"G", ELT, 5}, {"G", LEN, 20},
          {"R", OFF, 36}, {"R", LEN, 4}, {"Z", OFF, 40}, {"A", LEN, 41}},
         {}},
        {"a table of groups",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "K", "X"), Item(1, 5, "G"),
                                           Item(2, 10, "G1", "X(2)"), Item(2, 10, "G2", "9(3)", DU_COMP),
                                           Item(1, 5, "Z", "X")}));
             t.Occurs("G", 3);
         },
         {{"G", OFF, 1}, {"G", LEN, 12}, {"G", ELT, 4}, {"G2", OFF, 3}, {"Z", OFF, 13}, {"A", LEN, 14}},
         {}},
        {"a table of groups with SYNC slack in word mode",
         Mode(2),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "G"), Item(2, 10, "G2", "9(4)", DU_COMP),
                                           Item(2, 10, "G1", "X"), Item(1, 5, "Z", "X")}));
             t.Occurs("G", 3);
             t.Sync("G2");
         },
         {{"G", LEN, 12}, {"G", ELT, 4}, {"G1", OFF, 2}, {"Z", OFF, 12}},
         {}},
        {"a shorter REDEFINES",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(4)"), Item(1, 5, "R", "X(2)"),
                                           Item(1, 5, "C", "X")}));
             t.Redefines("R", "B");
         },
         {{"R", OFF, 0}, {"R", LEN, 2}, {"C", OFF, 4}, {"A", LEN, 5}},
         {}},
        {"a longer REDEFINES pushes the next member",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "K", "X"), Item(1, 5, "B", "X(2)"),
                                           Item(1, 5, "R", "X(6)"), Item(1, 5, "C", "X")}));
             t.Redefines("R", "B");
         },
         {{"R", OFF, 1}, {"C", OFF, 7}, {"A", LEN, 8}},
         {}},
        {"a longer REDEFINES as the last member does not lengthen the group",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(2)"), Item(1, 5, "R", "X(6)"),
                                           Item(0, 1, "A2", "X")}));
             t.Redefines("R", "B");
         },
         {{"R", OFF, 0}, {"R", LEN, 6}, {"A", LEN, 2}, {"A2", GLOB, 8}},
         {}},
        {"a 66 entry after a longer REDEFINES does not lengthen the group",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(2)"), Item(1, 5, "R", "X(6)"),
                                           Item(1, 66, "RB"), Item(0, 1, "A2", "X")}));
             t.Redefines("R", "B");
             t.Renames("RB", "B");
         },
         {{"R", LEN, 6}, {"A", LEN, 2}, {"RB", OFF, 0}, {"RB", LEN, 2}, {"A2", GLOB, 8}},
         {}},
        {"a COPY marker after a longer REDEFINES does not lengthen the group",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(2)"), Item(1, 5, "R", "X(6)"),
                                           Item(0, 1, "A2", "X")}));
             t.Redefines("R", "B");
             t.Entry("A")->Parent()->Args(1)->AddArg(new DovExprOper(STMT_INLINED_COPY_END));
         },
         {{"A", LEN, 2}, {"A2", GLOB, 8}},
         {}},
        {"a REDEFINES whose target is missing",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(2)"), Item(1, 5, "R", "X(3)")}));
             t.Redefines("R", "NOWHERE");
         },
         {{"R", OFF, 2}, {"A", LEN, 5}},
         {"No Argument for REDEFINES found in current context"}},
        {"a record that redefines a record",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A", "X(5)"), Item(0, 1, "RA", "X(12)"), Item(0, 1, "C", "X")}));
             t.Redefines("RA", "A");
         },
         {{"RA", OFF, 0}, {"RA", GLOB, 0}, {"C", GLOB, 16}},
         {}},
        {"RENAMES and RENAMES THRU",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "X", "X(2)"), Item(1, 5, "Y", "X(3)"),
                                           Item(1, 5, "W", "X(4)"), Item(0, 66, "R"), Item(0, 66, "R2")}));
             t.Renames("R", "X", "Y");
             t.Renames("R2", "W");
         },
         {{"R", OFF, 0}, {"R", LEN, 5}, {"R2", OFF, 5}, {"R2", LEN, 4}},
         {}},
        {"RENAMES of names that are not there",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "X", "X(2)"), Item(0, 66, "R"), Item(0, 66, "R2")}));
             t.Renames("R", "NOPE");
             t.Renames("R2", "X", "NOPE");
         },
         {{"R", LEN, 0}, {"R2", LEN, 0}},
         {"Argument of RENAMES not found", "Arguments of RENAMES THROUGH not found"}},
        {"global offsets in WORKING-STORAGE",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A", "X(5)"), Item(0, 1, "B"), Item(1, 5, "B1", "X(4)"),
                                           Item(1, 5, "B2", "X(5)"), Item(0, 77, "C", "X")}));
         },
         {{"A", GLOB, 0}, {"B", GLOB, 8}, {"B2", GLOB, 12}, {"C", GLOB, 24}, {"C", OFF, 0}},
         {}},
        {"LINKAGE and FILE records have global base 0",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(t.Section(SECTION_LINKAGE), {Item(0, 1, "L1", "X(5)"), Item(0, 1, "L2", "X(9)")}));
             ASSERT_TRUE(t.Declare(t.FileRecords("IN-FILE"), {Item(0, 1, "F1", "X(5)"), Item(0, 1, "F2", "X(9)")}));
             ASSERT_TRUE(t.Declare(t.Section(SECTION_LOCAL_STORAGE), {Item(0, 1, "S1", "X(5)"), Item(0, 1, "S2", "X")}));
         },
         {{"L2", GLOB, 0}, {"F2", GLOB, 0}, {"F2", LEN, 9}, {"S2", GLOB, 8}},
         {}},
        {"78 NEXT after a 10-byte item at global offset 16; NEXT with nothing before",
         Mode(1),
         [](DataTree& t) {
             t.Const(WS(t), nullptr, "K0", new DovExprOper(EX_VAL_NEXT));
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "P", "X(16)"), Item(0, 1, "Q", "X(10)")}));
             t.Const(WS(t), nullptr, "K", new DovExprOper(EX_VAL_NEXT));
         },
         {{"Q", GLOB, 16}, {"K", VAL, 26}, {"K0", VAL, 0}},
         {}},
        {"78 NEXT inside a record follows the item before it",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "P", "X(3)"), Item(0, 1, "A"), Item(1, 5, "B", "X(4)"),
                                           Item(1, 5, "C", "X(2)")}));
             t.Const(nullptr, "C", "KC", new DovExprOper(EX_VAL_NEXT));
             t.Const(nullptr, "B", "KB", new DovExprOper(EX_VAL_NEXT));
         },
         {{"KB", VAL, 12}, {"KC", VAL, 14}},
         {}},
        {"START OF and LENGTH OF",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "P", "X(3)"), Item(0, 1, "A"), Item(1, 5, "B", "X(4)"),
                                           Item(1, 5, "C", "X(2)")}));
             t.Const(WS(t), nullptr, "S", Op(EX_VAL_START_OF, {t.Use("C")}));
             t.Const(WS(t), nullptr, "L", Op(EX_VAL_LENGTH_OF, {t.Use("A")}));
         },
         {{"S", VAL, 12}, {"L", VAL, 6}},
         {}},
        {"binary items in byte mode: 19 digits and PIC X",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B19", "9(19)", DU_COMP),
                                           Item(1, 5, "S9", "S9(9)", DU_BINARY), Item(1, 5, "X4", "X(4)", DU_COMP_5)}));
         },
         {{"B19", LEN, 8}, {"S9", OFF, 8}, {"S9", LEN, 4}, {"X4", LEN, 4}, {"A", LEN, 16}},
         {}},
        {"packed decimal: up to 18 digits as before, 19 to 31 digits at their real length, past 31 unknown",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(
                 WS(t), {Item(0, 1, "A"), Item(1, 5, "P1", "9", DU_COMP_3), Item(1, 5, "P18", "S9(18)", DU_COMP_3),
                         Item(1, 5, "P19", "9(19)", DU_PACKED_DECIMAL), Item(1, 5, "P31", "S9(31)", DU_COMP_3),
                         Item(1, 5, "Q19", "9(19)", DU_COMP_6), Item(1, 5, "Q31", "9(31)", DU_COMP_6),
                         Item(1, 5, "Z", "X"), Item(0, 1, "B"), Item(1, 5, "P32", "9(32)", DU_COMP_3),
                         Item(1, 5, "Y", "X")}));
         },
         {{"P1", LEN, 1},
          {"P18", LEN, 10},
          {"P19", LEN, 10},
          {"P31", LEN, 16},
          {"Q19", LEN, 10},
          {"Q31", LEN, 16},
          {"Z", OFF, 63},
          {"A", LEN, 64},
          {"P32", LEN, U},
          {"Y", OFF, U},
          {"B", LEN, U}},
         {kPacked31}},
        {"DISPLAY: a separate sign counts",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "S3", "S9(3)"), Item(1, 5, "U3", "9(3)"),
                                           Item(1, 5, "E", "S9(3)")}));
             t.SignSeparate("S3");
             t.SignSeparate("U3");
         },
         {{"S3", LEN, 4}, {"U3", LEN, 3}, {"E", LEN, 3}, {"A", LEN, 10}},
         {}},
        {"trailing separate sign setting",
         Mode(1, 1, 1),
         [](DataTree& t) { ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "E", "S9(3)")})); },
         {{"E", LEN, 4}},
         {}},
        {"fixed-size usages",
         [] {
             DovLayoutSettings s = Mode(1);
             s.pointerSize = 8;
             s.indexSize = 2;
             s.procPointerSize = 16;
             return s;
         }(),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "F1", nullptr, DU_COMP_1),
                                           Item(1, 5, "F2", nullptr, DU_COMP_2), Item(1, 5, "IX", nullptr, DU_INDEX),
                                           Item(1, 5, "PT", nullptr, DU_POINTER),
                                           Item(1, 5, "PP", nullptr, DU_PROC_POINTER),
                                           Item(1, 5, "BT", "1(8)", DU_BIT)}));
         },
         {{"F1", LEN, 4}, {"F2", LEN, 8}, {"IX", LEN, 2}, {"PT", LEN, 8}, {"PP", LEN, 16}, {"BT", LEN, 0}, {"A", LEN, 38}},
         {}},
        {"local offsets",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(3)"), Item(1, 5, "G"),
                                           Item(2, 10, "C", "X(2)"), Item(2, 10, "D", "X(4)")}));
         },
         {{"A", LOC, 0}, {"B", LOC, 0}, {"G", LOC, 3}, {"C", LOC, 0}, {"D", LOC, 2}, {"D", OFF, 5}},
         {}},
        {"OCCURS counts from constants, and a count that cannot be computed",
         Mode(1),
         [](DataTree& t) {
             t.Const(WS(t), nullptr, "N", Int(4));
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "T", "X(2)"), Item(1, 5, "V", "X(3)")}));
             t.OccursExpr("T", t.Use("N"));
             t.OccursExpr("V", t.Use("NOPE"));
         },
         {{"T", LEN, 8}, {"V", LEN, 3}, {"V", OFF, 8}},
         {"Cannot compute upper bound for array"}},
        {"a PIC repeat count named by a constant",
         Mode(1),
         [](DataTree& t) {
             t.Const(WS(t), nullptr, "W", Op(AR_ADD, {Int(3), Int(4)}));
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A", "X(W)")}));
         },
         {{"A", LEN, 7}, {"W", VAL, 7}},
         {}},
        {"a USAGE that has no length",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(3)", DU_DISPLAY_WS), Item(1, 5, "C", "X")}));
         },
         {{"B", LEN, 0}, {"C", OFF, 0}},
         {"Cannot compute length for DU_DISPLAY_WS field: not implemented. Length of this filed assumed to be 0 bytes."}},
        {"a table of items with a bad PICTURE is reported once",
         Mode(1),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "T", "X9Q")}));
             t.Occurs("T", 3);
         },
         {{"T", LEN, 0}},
         {"Cannot determine category for PIC string: X9Q"}},
        {"a table whose first member is a group keeps that member's group category",
         Mode(2),
         [](DataTree& t) {
             ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "G", nullptr, DU_COMP_1), Item(2, 10, "H"),
                                           Item(3, 15, "F1"), Item(3, 15, "F2")}));
             t.Occurs("G", 2);
         },
         {{"H", LEN, 8}, {"G", LEN, 16}, {"G", ELT, 8}},
         {}},
        {"a PICTURE without a category",
         Mode(1),
         [](DataTree& t) { ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A", "X9Q")})); },
         {{"A", LEN, 0}},
         {"Cannot determine category for PIC string: X9Q"}},
    };
}

TEST(DataLayout, EdgeCases) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.title);
        DataTree t;
        c.build(t);
        if (testing::Test::HasFatalFailure()) return;
        EXPECT_EQ(t.Layout(c.settings), 0);
        if (t.Entry("H")) {
            EXPECT_EQ(t.Category("H"), DCAT_GROUP);
        }
        for (const Expect& e : c.expects)
            EXPECT_EQ(Read(t, e), e.value) << e.name << " " << FieldName(e.field);
        EXPECT_EQ(t.Messages(), c.messages);
    }
}

TEST(DataLayout, BinaryItemSize) {
    const int signedBytes[] = {1, 1, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 7, 7, 8, 8};
    const int unsignedBytes[] = {1, 1, 2, 2, 3, 3, 3, 4, 4, 5, 5, 5, 6, 6, 7, 7, 8, 8};
    for (int d = 1; d <= 18; ++d) {
        EXPECT_EQ(BinaryItemSize(d, true, 1), signedBytes[d - 1]) << d;
        EXPECT_EQ(BinaryItemSize(d, false, 1), unsignedBytes[d - 1]) << d;
    }
    struct Row {
        int digits, mode, bytes;
    } rows[] = {{19, 1, 8}, {40, 1, 8}, {0, 1, 0}, {-3, 1, 0}, {1, 2, 2}, {4, 2, 2}, {5, 2, 4}, {9, 3, 4},
                {10, 3, 8}, {30, 2, 8}, {0, 2, 0}, {5, 0, 0}, {5, 4, 0}};
    for (const Row& r : rows) EXPECT_EQ(BinaryItemSize(r.digits, false, r.mode), r.bytes) << r.digits << " " << r.mode;
}

// 78-level value expressions: the arithmetic, the bit operations and the
// cases that have no value.
TEST(DataLayout, ConstantValues) {
    struct Row {
        const char* title;
        std::function<DovExpr*()> value;
        long long expected;  // DataTree::kMissing: no value
    };
    const long long none = DataTree::kMissing;
    const long long big = 4611686018427387904LL;  // 2^62
    const std::vector<Row> rows = {
        {"sum", [] { return Op(AR_ADD, {Int(3), Int(4), Int(5)}); }, 12},
        {"difference", [] { return Op(AR_SUB, {Int(10), Int(4), Int(1)}); }, 5},
        {"product and parentheses", [] { return Op(AR_MUL, {Op(OP_PARENS, {Op(AR_ADD, {Int(1), Int(2)})}), Int(4)}); }, 12},
        {"truncating division", [] { return Op(AR_DIV, {Int(-7), Int(2)}); }, -3},
        {"unary minus and plus", [] { return Op(AR_UN_MINUS, {Op(AR_UN_PLUS, {Int(6)})}); }, -6},
        {"bit and", [] { return Op(BIT_AND, {Int(12), Int(10)}); }, 8},
        {"bit or of negative values is sign-extended", [] { return Op(BIT_OR, {Int(-16), Int(1)}); }, -15},
        {"division by zero", [] { return Op(AR_DIV, {Int(1), Int(0)}); }, none},
        {"division overflow", [] { return Op(AR_DIV, {Int(INT64_MIN), Int(-1)}); }, none},
        {"product overflow", [] { return Op(AR_MUL, {Int(big), Int(4)}); }, none},
        {"sum overflow", [] { return Op(AR_ADD, {Int(INT64_MAX), Int(1)}); }, none},
        {"negating the smallest value", [] { return Op(AR_UN_MINUS, {Int(INT64_MIN)}); }, none},
        {"a string", [] { return static_cast<DovExpr*>(new DovStrConst("'AB'")); }, none},
        {"an empty sum", [] { return static_cast<DovExpr*>(new DovExprOper(AR_ADD)); }, none},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.title);
        DataTree t;
        t.Const(WS(t), nullptr, "K", r.value());
        t.Layout();
        EXPECT_EQ(t.ConstValue("K"), r.expected);
        EXPECT_TRUE(t.Messages().empty());
    }
}

TEST(DataLayout, ConstantsThroughOtherConstants) {
    DataTree t;
    t.Const(WS(t), nullptr, "A", Int(5));
    t.Const(WS(t), nullptr, "B", Op(AR_MUL, {Int(2), t.Use("A")}));
    // C and D are defined through each other: no value, no endless
    // recursion.
    DovExpr* c = t.Const(WS(t), nullptr, "C", nullptr);
    t.Const(WS(t), nullptr, "D", Op(AR_ADD, {t.Use("C"), Int(1)}));
    c->SetArg(dov_data_slots::kConstValue, Op(EX_CONST_VALUE, {t.Use("D")}), -1, 0);
    t.Layout();
    EXPECT_EQ(t.ConstValue("A"), 5);
    EXPECT_EQ(t.ConstValue("B"), 10);
    EXPECT_EQ(t.ConstValue("C"), DataTree::kMissing);
    EXPECT_EQ(t.ConstValue("D"), DataTree::kMissing);
    // The image holds the low 32 bits.
    DovExpr* sum = Op(AR_ADD, {Int(4294967296LL), Int(7)});
    DovExpr* v = DovLayoutCalcValueExpr(sum);
    delete sum;
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->IntValue(), 4294967303LL);
    EXPECT_STREQ(v->Image().CStr(), "7");
    delete v;
}

TEST(DataLayout, EvaluatorIsTheTreeHook) {
    EXPECT_EQ(DovCalcValueExpr, &DovLayoutCalcValueExpr);
    EXPECT_EQ(DovLayoutCalcValueExpr(nullptr), nullptr);
    DovExpr* lit = Int(42);
    DovExpr* v = DovCalcValueExpr(lit);
    ASSERT_NE(v, nullptr);
    EXPECT_NE(v, lit);
    EXPECT_EQ(v->IntValue(), 42);
    delete v;
    delete lit;
}

std::string MapOf(DataTree& t) {
    std::ostringstream out;
    DovPrintDataMap(out, t.file);
    return out.str();
}

// A second run changes nothing, and the constant-values, local and global
// switches each fill only their own slots.
TEST(DataLayout, SecondRunAndSwitches) {
    auto build = [](DataTree& t) {
        ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(3)"), Item(1, 5, "G"),
                                      Item(2, 10, "C", "X(2)", DU_COMP_3), Item(1, 5, "T", "X(2)"), Item(0, 1, "Z", "X")}));
        t.Occurs("T", 3);
        t.Redefines("G", "B");
        t.Const(WS(t), nullptr, "K", new DovExprOper(EX_VAL_NEXT));
    };
    DataTree t;
    build(t);
    t.Layout();
    const std::string first = MapOf(t);
    t.messages.Clear();
    // Nothing is allocated a second time: every result slot is reused.
    const std::int32_t nodes = DovExpr::node_ctr;
    t.Layout();
    EXPECT_EQ(DovExpr::node_ctr, nodes);
    EXPECT_EQ(MapOf(t), first);
    EXPECT_TRUE(t.Messages().empty());

    DataTree bare;
    build(bare);
    bare.Layout(DovLayoutSettings(), 0, 0, 0);
    EXPECT_EQ(bare.Length("A"), 9);
    EXPECT_EQ(bare.Local("C"), DataTree::kMissing);
    EXPECT_EQ(bare.Global("Z"), DataTree::kMissing);
    EXPECT_EQ(bare.ConstValue("K"), DataTree::kMissing);
}

// The trace switches print the layout's steps; the results stay the same.
TEST(DataLayout, Traces) {
    DataTree t;
    ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(3)"), Item(1, 5, "R", "X")}));
    t.Redefines("R", "B");
    t.Const(WS(t), nullptr, "K", new DovExprOper(EX_VAL_NEXT));
    const int saved = DovLayoutTraceMask;
    DovLayoutTraceMask = 31;
    testing::internal::CaptureStdout();
    t.Layout();
    const std::string out = testing::internal::GetCapturedStdout();
    DovLayoutTraceMask = saved;
    EXPECT_NE(out.find("offset B level 5 at 0 length 3\n"), std::string::npos) << out;
    EXPECT_NE(out.find("group search for B: found\n"), std::string::npos) << out;
    EXPECT_NE(out.find("NEXT follows\n"), std::string::npos) << out;
    EXPECT_EQ(t.ConstValue("K"), 3);
}

// A nested program is laid out once, with its own records.
TEST(DataLayout, NestedProgram) {
    DataTree t;
    ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A", "X(3)")}));
    auto* inner = new DovExprOper(COBOL_PROGRAM);
    inner->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    auto* list = new DovExprOper(DECL_DD_LIST);
    auto* section = new DovExprOper(SECTION_WORKING_STORAGE);
    section->SetArg(0, list, -1, 0);
    auto* division = new DovExprOper(DIVISION_DATA);
    division->SetArg(4, section, -1, 0);
    inner->SetArg(dov_data_slots::kProgDataDiv, division, -1, 0);
    t.program->SetArg(4, Op(COBOL_PROGRAM_LIST, {inner}), -1, 0);
    std::vector<DovDataItemRow> rows = {Item(0, 1, "IN-A"), Item(1, 5, "IN-B", "X(2)"), Item(1, 5, "IN-R", "X"),
                                        DovDataItemRow{0, 0, nullptr, nullptr, DU_NONE, nullptr}};
    VString message;
    ASSERT_EQ(DovDeclDataItemHierarchy(list, rows.data(), 0, inner, message), 0);
    t.Redefines("IN-R", "MISSING");
    t.Layout();
    EXPECT_EQ(t.Length("A"), 3);
    EXPECT_EQ(t.Length("IN-A"), 3);
    EXPECT_EQ(t.Messages(), std::vector<std::string>{"No Argument for REDEFINES found in current context"});
}

// The law checker holds on laid-out records and finds broken ones.
TEST(LayoutLaws, HoldOnLaidOutRecordsAndCatchBrokenOnes) {
    DataTree t;
    ASSERT_TRUE(t.Declare(WS(t), {Item(0, 1, "A"), Item(1, 5, "B", "X(4)"), Item(1, 5, "R", "X(9)"),
                                  Item(1, 5, "G"), Item(2, 10, "G1", "S9(3)"), Item(2, 10, "G2", "9(5)V99", DU_COMP_3),
                                  Item(1, 5, "T", "X(2)"), Item(1, 5, "L", "X(7)"), Item(1, 5, "RL", "X(20)"),
                                  Item(1, 66, "RN"), Item(0, 1, "Z", "X(5)"), Item(0, 77, "N", "999")}));
    t.Redefines("R", "B");
    t.Redefines("RL", "L");
    t.Renames("RN", "B", "L");
    t.Occurs("G", 4);
    t.OccursRange("T", 1, 6, "N");
    t.SignSeparate("G1");
    t.Layout();
    vemlo_test::LayoutLawReport report = vemlo_test::CheckLayoutLaws(t.file);
    EXPECT_TRUE(report.violations.empty()) << report.violations.front();
    EXPECT_EQ(report.elementary, 8);
    EXPECT_EQ(report.groups, 2);
    EXPECT_EQ(t.Length("A"), 9 + 4 * 8 + 12 + 7);

    // Break a PIC length, a group length and a table length.
    t.Entry("B")->Args(dov_data_slots::kDdLength)->SetValue(5LL);
    t.Entry("G")->Args(dov_data_slots::kDdLength)->SetValue(30LL);
    report = vemlo_test::CheckLayoutLaws(t.file);
    const std::vector<std::string> expected = {"A: group length 60 but its members add up to 58",
                                               "B: length 5 but PIC X(4) holds 4", "G: table length 30 is not 8 x 4"};
    EXPECT_EQ(report.violations, expected);
}

}  // namespace
