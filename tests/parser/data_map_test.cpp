// The data map listing of hand-built, laid-out data divisions.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "parser/parser.h"
#include "tests/parser/data_fixture.h"

namespace {

using vemlo_test::DataTree;
using vemlo_test::Int;
using vemlo_test::Item;
using vemlo_test::Op;

const char kRule[] = "--+-------------------------------+----------+--+-------+-+------+------+------\n";
const char kHead[] = "Lv|Data-Name                      |PIC       |CT|USAGE  |S|Offset|Length|OfsGlb\n";

const std::string kGolden = R"(
Records for FILE: IN-FILE
--+-------------------------------+----------+--+-------+-+------+------+------
Lv|Data-Name                      |PIC       |CT|USAGE  |S|Offset|Length|OfsGlb
--+-------------------------------+----------+--+-------+-+------+------+------
01|IN-REC                         |X(80)     |AN|DISPLAY| |     0|    80|     0
--+-------------------------------+----------+--+-------+-+------+------+------

Records for FILE: (copy-expr)

WORKING-STORAGE SECTION:
--+-------------------------------+----------+--+-------+-+------+------+------
Lv|Data-Name                      |PIC       |CT|USAGE  |S|Offset|Length|OfsGlb
78|MAX-N                          | 5
--+-------------------------------+----------+--+-------+-+------+------+------
01|CUSTOMER-REC                   |          | G|DISPLAY| |     0|UNDEF |     0
05|. CUST-ID                      |9(6)      | N|DISPLAY| |     0|     6|     0
88|. . VALID-ID                   | 1 THRU 99999 WHEN FALSE 0
05|. CUST-NAME                    |X(20)     |AN|DISPLAY| |     6|    20|     6
88|. . NO-NAME                    | '?'
05|. CUST-INITIALS                |X(2)      |AN|DISPLAY| |     6|     2|     6  |  REDEFINES CUST-NAME
05|. BALANCE                      |S9(7)V99  | N|COMP-3 | |    26|     5|    26
05|. ORDERS                       |          | G|DISPLAY| |    32|UNDEF |    32  |  OCCURS 1 TO 10 TIMES DEPENDING ON ORDER-COUNT (loc-len=4)
10|. . ORDER-NO                   |9(4)      | N|COMP   |*|    32|     2|    32
10|. . FILLER                     |X         |AN|DISPLAY| |    34|     1|    34
05|. A-DATA-NAME-THAT-IS-FAR-TOO-LONG-FOR-ITS-COLUMN|X(3)|AN|DISPLAY| |UNDEF|     3|UNDEF
66|CUST-KEY                       |          |  |DISPLAY| |     0|    26|        |  RENAMES CUST-ID THROUGH CUST-NAME
--+-------------------------------+----------+--+-------+-+------+------+------
77|ORDER-COUNT                    |S9(4)     | N|BINARY | |     0|     2|     0
--+-------------------------------+----------+--+-------+-+------+------+------
01|PTRS                           |          | G|DISPLAY| |     0|    16|     8
05|. P1                           |          | P|POINTER| |     0|     4|     8
05|. P2                           |          |PP|PROCPTR| |     4|     4|    12
05|. IX                           |          |IX|INDEX  | |     8|     4|    16
05|. D1                           |X(4)      |AN|DISPL-1| |    12|     4|    20
78|REC-END                        | NEXT
78|TWICE                          | LENGTH OF CUSTOMER-REC * 2
--+-------------------------------+----------+--+-------+-+------+------+------

LINKAGE SECTION:
--+-------------------------------+----------+--+-------+-+------+------+------
Lv|Data-Name                      |PIC       |CT|USAGE  |S|Offset|Length|OfsGlb
--+-------------------------------+----------+--+-------+-+------+------+------
01|LK-AREA                        |          | G|DISPLAY| |     0|   402|     0
05|. LK-LEN                       |9(4)      | N|COMP-5 | |     0|     2|     0
05|. LK-TEXT                      |X(80)     |AN|DISPLAY| |     2|   400|     2  |  OCCURS 5 TIMES (loc-len=80)
--+-------------------------------+----------+--+-------+-+------+------+------
)";

std::string MapOf(DovExpr* root) {
    std::ostringstream out;
    DovPrintDataMap(out, root);
    return out.str();
}

// Every kind of row: rule lines before 01 and 77, 66 with THROUGH, 88 with
// ranges and WHEN FALSE, 78 values, REDEFINES, OCCURS with DEPENDING ON,
// a synchronized item, unknown layout, a long name, LINKAGE and a file.
void BuildFixture(DataTree& t) {
    DovExpr* ws = t.Section(SECTION_WORKING_STORAGE);
    t.Const(ws, nullptr, "MAX-N", Int(5));
    ASSERT_TRUE(t.Declare(ws, {Item(0, 1, "CUSTOMER-REC"), Item(1, 5, "CUST-ID", "9(6)"),
                               Item(1, 5, "CUST-NAME", "X(20)"), Item(1, 5, "CUST-INITIALS", "X(2)"),
                               Item(1, 5, "BALANCE", "S9(7)V99", DU_COMP_3), Item(1, 5, "ORDERS"),
                               Item(2, 10, "ORDER-NO", "9(4)", DU_COMP), Item(2, 10, "FILLER", "X"),
                               Item(1, 5, "A-DATA-NAME-THAT-IS-FAR-TOO-LONG-FOR-ITS-COLUMN", "X(3)"),
                               Item(0, 66, "CUST-KEY"), Item(0, 77, "ORDER-COUNT", "S9(4)", DU_BINARY),
                               Item(0, 1, "PTRS"), Item(1, 5, "P1", nullptr, DU_POINTER),
                               Item(1, 5, "P2", nullptr, DU_PROC_POINTER), Item(1, 5, "IX", nullptr, DU_INDEX),
                               Item(1, 5, "D1", "X(4)", DU_DISPLAY_1)}));
    t.Cond("CUST-ID", "VALID-ID", Op(EX_VALUE_RANGE_LIST, {Op(EX_VALUE_RANGE, {Int(1), Int(99999)})}),
           Int(0));
    t.Cond("CUST-NAME", "NO-NAME", Op(EX_VALUE_RANGE_LIST, {Op(EX_VALUE_RANGE, {new DovStrConst("'?'"), nullptr})}));
    t.Redefines("CUST-INITIALS", "CUST-NAME");
    t.OccursRange("ORDERS", 1, 10, "ORDER-COUNT");
    t.Sync("ORDER-NO");
    t.Renames("CUST-KEY", "CUST-ID", "CUST-NAME");
    t.Const(ws, nullptr, "REC-END", new DovExprOper(EX_VAL_NEXT));
    t.Const(ws, nullptr, "TWICE", Op(AR_MUL, {Op(EX_VAL_LENGTH_OF, {t.Use("CUSTOMER-REC")}), Int(2)}));
    DovExpr* link = t.Section(SECTION_LINKAGE);
    ASSERT_TRUE(t.Declare(link, {Item(0, 1, "LK-AREA"), Item(1, 5, "LK-LEN", "9(4)", DU_COMP_5),
                                 Item(1, 5, "LK-TEXT", "X(80)")}));
    t.OccursExpr("LK-TEXT", t.Use("MAX-N"));
    ASSERT_TRUE(t.Declare(t.FileRecords("IN-FILE"), {Item(0, 1, "IN-REC", "X(80)")}));
    t.CopyMarkerFile();
}

TEST(DataMap, GoldenListing) {
    DataTree t;
    BuildFixture(t);
    DovLayoutSettings settings;
    settings.storageMode = 2;  // word mode: the SYNC item is aligned
    settings.unfoldFlexArrays = 0;
    t.Layout(settings);
    EXPECT_TRUE(t.Messages().empty());
    EXPECT_EQ(MapOf(t.file), kGolden);
}

// The listing reads the tree and changes nothing in it.
TEST(DataMap, ChangesNothing) {
    DataTree t;
    BuildFixture(t);
    t.Layout();
    std::ostringstream before, after;
    t.file->Print(before);
    const std::string map = MapOf(t.file);
    t.file->Print(after);
    EXPECT_EQ(before.str(), after.str());
    EXPECT_EQ(MapOf(t.file), map);
}

TEST(DataMap, EmptyWorkingStorage) {
    DataTree t;
    t.Section(SECTION_WORKING_STORAGE);
    t.Layout();
    EXPECT_EQ(MapOf(t.file), "\nWORKING-STORAGE SECTION:\n" + std::string(kRule) + kHead + kRule);
}

// Without a layout run the number columns are blank; a record's rule line
// follows the head's even for the first record.
TEST(DataMap, WithoutLayout) {
    DataTree t;
    ASSERT_TRUE(t.Declare(t.Section(SECTION_LOCAL_STORAGE), {Item(0, 77, "N", "9(3)")}));
    EXPECT_EQ(MapOf(t.file), "\nLOCAL-STORAGE SECTION:\n" + std::string(kRule) + kHead + kRule +
                                 "77|N                              |9(3)      |  |DISPLAY| |      |      |      \n" +
                                 kRule);
}

TEST(DataMap, PadRight) {
    EXPECT_STREQ(PadRight("AB", 5).CStr(), "AB   ");
    EXPECT_STREQ(PadRight("ABCDEF", 3).CStr(), "ABCDEF");
    EXPECT_STREQ(PadRight("", 0).CStr(), "");
    EXPECT_EQ(PadRight("X", 70000).Len(), 65535);
}

}  // namespace
