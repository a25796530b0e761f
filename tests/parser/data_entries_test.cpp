// Data description entries placed by level: nesting, record boundaries,
// parked markers, the level-number check, the level limit, and the 66, 78
// and 88 entries.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "tests/parser/services_fixture.h"
#include "tree/symtab.h"

namespace vemlo_test {
namespace {

class DataEntriesTest : public ParserServicesTest {
protected:
    void TearDown() override {
        // What a test leaves open is closed and freed here.
        parser.AddDataEntry(0, nullptr, NULL_NODE);
        delete parser.dataList;
        parser.dataList = nullptr;
        delete table_;
        ParserServicesTest::TearDown();
    }

    // A DECL_DD_ENTRY of the level image and a name: a definition when
    // `defined`, else a plain leaf; null name for none.
    DovExpr* Entry(const char* level, const char* name, bool defined = false, DovOper op = DECL_DD_ENTRY) {
        DovExpr* e = new DovExprOper(op);
        e->SetArg(0, IntLeaf(level));
        if (name) e->SetArg(2, defined ? Def(name) : Leaf(name));
        return e;
    }
    DovExpr* Def(const char* name) {
        DovSymTabElt* elt = SymTabFindOrAdd(table_, name);
        if (elt->Category() == NC_UNKNOWN) elt->SetCategory(NC_DATA_NAME);
        auto* def = new DovNamedObjDef(NC_DATA_NAME, DovLink(elt), DovLinkList());
        elt->Links().Append(DovLink(def));
        DovToken* t = Tok(name);
        def->Tokens().AppendToken(t);
        return def;
    }
    // VALUE v [THRU w] as the grammar builds it.
    DovExpr* Value(const char* v, const char* thru = nullptr) {
        DovExpr* range = new DovExprOper(EX_VALUE_RANGE);
        range->SetArg(0, Leaf(v));
        if (thru) {
            range->SetArg(1, Leaf(thru));
            DovToken* t = Tok("THRU");
            range->ArgSlots(1)->tokens.AppendToken(t);
        }
        DovExpr* cond = new DovExprOper(EX_COND_VALUE);
        cond->SetArg(0, DovListExpr(EX_VALUE_RANGE_LIST, range));
        DovToken* t = Tok("VALUE");
        cond->ArgSlots(0)->tokens.AppendToken(t);
        return cond;
    }
    int Add(int level, DovExpr* entry) { return parser.AddDataEntry(level, entry, DECL_DD); }
    int Add(int level, const char* name) { return Add(level, Entry(LevelImage(level).c_str(), name)); }
    static std::string LevelImage(int level) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02d", level);
        return buf;
    }

    // The data list as nested names: A(B(C),D) E; markers by operation name.
    static std::string Records(const DovExpr* node) {
        if (!node) return "";
        switch (node->Oper()) {
            case DECL_DD_LIST: {
                std::string out;
                for (int i = 0; i < node->NumArgs(); ++i) {
                    if (i) out += ' ';
                    out += Records(DovArgOrNull(node, i));
                }
                return out;
            }
            case DECL_DD: {
                std::string out = Records(DovArgOrNull(node, 0));
                const DovExpr* subs = DovArgOrNull(node, 1);
                if (subs && subs->Oper() == DECL_DD_LIST) {
                    out += '(';
                    for (int i = 0; i < subs->NumArgs(); ++i) {
                        if (i) out += ',';
                        out += Records(DovArgOrNull(subs, i));
                    }
                    out += ')';
                }
                return out;
            }
            case DECL_DD_ENTRY:
            case DECL_COND_ENTRY:
            case DECL_CONST_ENTRY:
            case DECL_DD_ENTRY_WANG_DISPLAY: {
                const DovExpr* name = DovArgOrNull(node, 2);
                return name ? std::string(name->Image().CStr()) : std::string("?");
            }
            default:
                return DovOperName(node->Oper());
        }
    }
    std::string Closed() {
        parser.AddDataEntry(0, nullptr, NULL_NODE);
        return Records(parser.dataList);
    }

    DovExpr* table_ = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
};

TEST_F(DataEntriesTest, LevelsNestAndALowerLevelClosesTheGroup) {
    EXPECT_EQ(Add(1, "A"), 1);
    EXPECT_EQ(Add(5, "B"), 2);
    EXPECT_EQ(Add(10, "C"), 3);
    EXPECT_EQ(Add(5, "D"), 2);
    EXPECT_EQ(Add(10, "E"), 3);
    EXPECT_EQ(Add(1, "F"), 1);
    EXPECT_EQ(parser.AddDataEntry(0, nullptr, NULL_NODE), 0);
    EXPECT_EQ(Records(parser.dataList), "A(B(C),D(E)) F");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DataEntriesTest, LevelsOfAnyStepAreSiblingsByValue) {
    Add(1, "A");
    Add(3, "B");
    Add(7, "C");
    Add(5, "D");  // below 07, above 03: a child of B, sibling of C
    EXPECT_EQ(Closed(), "A(B(C,D))");
}

TEST_F(DataEntriesTest, A77ClosesTheRecordAndStandsAlone) {
    Add(1, "A");
    Add(5, "B");
    EXPECT_EQ(Add(77, "X"), 1);
    Add(77, "Y");
    Add(1, "C");
    EXPECT_EQ(Closed(), "A(B) X Y C");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DataEntriesTest, A66EntryEndsTheGroupsOfItsRecord) {
    Add(1, "A");
    Add(5, "B");
    Add(10, "C");
    DovExpr* e = Entry("66", "R");
    e->SetArg(12, new DovExprOper(DX_RENAMES));
    EXPECT_EQ(Add(66, e), 2);
    EXPECT_EQ(Closed(), "A(B(C),R)");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DataEntriesTest, ParkedCopyMarkerLandsBeforeTheNextEntryAtItsLevel) {
    Add(1, "A");
    Add(5, "B");
    DovExpr* copy = new DovExprOper(STMT_INLINED_COPY_BEG);
    DovToken* t = Tok("COPY");
    copy->ArgSlots(0)->tokens.AppendToken(t);
    EXPECT_EQ(parser.AddDataEntry(99, copy, DECL_DD), -1);
    EXPECT_NE(parser.parkedMarkers, nullptr);
    Add(5, "C");
    EXPECT_EQ(parser.parkedMarkers, nullptr);
    Add(10, "D");
    EXPECT_EQ(Closed(), "A(B,STMT_INLINED_COPY_BEG,C(D))");
    EXPECT_EQ(TokenImages(parser.dataList), "01 A 05 B COPY 05 C 10 D");
}

TEST_F(DataEntriesTest, ClosingMarkerWaitsBehindAParkedOneAndElseStaysBelowTheInnermostEntry) {
    Add(1, "A");
    Add(5, "B");
    // Nothing parked: the end of the copybook goes below B.
    EXPECT_EQ(parser.AddDataEntry(99, new DovExprOper(STMT_INLINED_COPY_END), DECL_DD), 3);
    Add(5, "C");
    // A REPLACE parked first: the closing marker waits with it.
    EXPECT_EQ(parser.AddDataEntry(99, new DovExprOper(STMT_REPLACE), DECL_DD), -1);
    EXPECT_EQ(parser.AddDataEntry(99, new DovExprOper(STMT_INLINED_COPY_END), DECL_DD), -1);
    Add(5, "D");
    EXPECT_EQ(Closed(), "A(B(STMT_INLINED_COPY_END),C,STMT_REPLACE,STMT_INLINED_COPY_END,D)");
}

TEST_F(DataEntriesTest, ClosingMarkerAfterACondition88IsItsSibling) {
    Add(1, "A");
    DovExpr* c = Entry("88", "C1", true);
    c->SetArg(14, Value("'Y'"));
    Add(88, c);
    parser.AddDataEntry(99, new DovExprOper(STMT_INLINED_INCLUDE_END), DECL_DD);
    EXPECT_EQ(Closed(), "A(C1,STMT_INLINED_INCLUDE_END)");
}

TEST_F(DataEntriesTest, MarkersParkedAtTheEndOfASectionFollowTheLastRecord) {
    Add(1, "A");
    parser.AddDataEntry(99, new DovExprOper(STMT_REPLACE), DECL_DD);
    EXPECT_EQ(Closed(), "A STMT_REPLACE");
}

TEST_F(DataEntriesTest, RecordHeadOtherThan01Or77Or78IsReported) {
    Add(5, "A");
    Add(10, "B");
    EXPECT_EQ(Closed(), "A(B)");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:Non-01(77,78) Data Description Entry heads Record Description");
}

TEST_F(DataEntriesTest, LevelNumberCheckReportsTheImage) {
    struct Case {
        const char* image;
        int value;
        bool good;
    } cases[] = {{"01", 1, true},  {"1", 1, true},   {"49", 49, true},  {"66", 66, true}, {"77", 77, true},
                 {"78", 78, true}, {"88", 88, true}, {"00", 0, false},  {"50", 50, false}, {"65", 65, false},
                 {"89", 89, false}, {"99", 99, false}};
    for (const Case& c : cases) {
        ClearMessages();
        DovExpr* level = IntLeaf(c.image, 3, 7);
        EXPECT_EQ(parser.CheckLevelNumber(level), c.value) << c.image;
        std::vector<std::string> got = Messages();
        if (c.good) {
            EXPECT_TRUE(got.empty()) << c.image;
        } else {
            ASSERT_EQ(got.size(), 1u) << c.image;
            EXPECT_EQ(got[0], std::string("E:Level number should be between 01 and 49, or 66, 77, 78, 88, not ") +
                                  c.image);
            EXPECT_EQ(messages.First()->Beg(), DovTxtPosn(3, 7, 1));
        }
        delete level;
    }
}

TEST_F(DataEntriesTest, EntriesWithBadLevelsAreKeptInTheTree) {
    Add(1, "A");
    Add(5, "B");
    // Level 00 (already reported by the level check) starts a record of its
    // own; a data entry given with level 99 is placed as the deepest level.
    Add(0, Entry("00", "Z"));
    Add(1, "C");
    Add(99, Entry("99", "N"));
    EXPECT_EQ(Closed(), "A(B) Z C(N)");
}

TEST_F(DataEntriesTest, The51stNestedLevelIsReportedAndPlacedAtTheDeepestLevel) {
    for (int level = 1; level <= 50; ++level) {
        std::string name = "L" + std::to_string(level);
        EXPECT_EQ(Add(level == 1 ? 1 : level, Entry(LevelImage(level).c_str(), name.c_str())), level);
    }
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Add(51, Entry("51", "L51")), 50);
    EXPECT_EQ(Add(52, Entry("52", "L52")), 50);
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "E:Too many levels in record structure definition");
    std::string records = Closed();
    EXPECT_NE(records.find("L50(L51,L52)"), std::string::npos) << records;
    // The run goes on: the next record is placed as usual.
    Add(1, "NEXT");
    records = Closed();
    EXPECT_EQ(records.substr(records.size() - 5), " NEXT");
}

TEST_F(DataEntriesTest, ConditionEntryBecomesDeclCondEntryWithItsValue) {
    Add(1, "A");
    DovExpr* c = Entry("88", "OK", true);
    c->SetArg(14, Value("'Y'", "'Z'"));
    DovToken* period = Tok(".");
    c->Tokens().AppendToken(period);
    Add(88, c);
    EXPECT_TRUE(Messages().empty());
    DovExpr* holder = DovArgOrNull(DovArgOrNull(parser.levelStack[0].holder, 1), 0);
    ASSERT_NE(holder, nullptr);
    DovExpr* cond = DovArgOrNull(holder, 0);
    ASSERT_EQ(cond->Oper(), DECL_COND_ENTRY);
    EXPECT_EQ(parser.levelStack[1].holder, holder);
    EXPECT_EQ(DovArgOrNull(cond, 3)->Oper(), EX_COND_VALUE);
    EXPECT_EQ(TokenImages(cond), "88 OK VALUE 'Y' THRU 'Z' .");
}

TEST_F(DataEntriesTest, ConditionEntryClauseChecks) {
    Add(1, "A");
    DovExpr* c = Entry("88", nullptr);
    c->SetArg(4, new DovExprOper(DX_VALUE));  // any node as PICTURE
    Add(88, c);
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "E:In condition-name clause 'Picture' is present. It must not be present.");
    EXPECT_EQ(got[1], "E:In condition-name clause 'Value' is missing. It must be present.");
    EXPECT_EQ(got[2], "E:Condition has no data-name");
    EXPECT_EQ(Closed(), "A(?)");
}

TEST_F(DataEntriesTest, ConstantEntryBecomesDeclConstEntryAndItsNameAConstantName) {
    DovExpr* k = Entry("78", "MAXN", true);
    k->SetArg(14, Value("100"));
    EXPECT_EQ(Add(78, k), 1);
    EXPECT_TRUE(Messages().empty());
    DovExpr* entry = DovArgOrNull(parser.levelStack[0].holder, 0);
    ASSERT_EQ(entry->Oper(), DECL_CONST_ENTRY);
    EXPECT_EQ(Shape(DovArgOrNull(entry, 3)), "EX_CONST_VALUE('100')");
    EXPECT_EQ(TokenImages(entry), "78 MAXN VALUE 100");
    auto* def = static_cast<DovNamedObjDef*>(DovArgOrNull(entry, 2));
    EXPECT_EQ(def->Category(), NC_CONSTANT_NAME);
    EXPECT_EQ(def->Element()->Category(), NC_CONSTANT_NAME);
}

TEST_F(DataEntriesTest, ConstantEntryFaults) {
    // A name already defined as a data item, and a range as value.
    Add(1, "USED");
    DovExpr* k = Entry("78", "USED", true);
    DovExpr* first = DovArgOrNull(parser.levelStack[0].holder, 0);
    first->SetArg(2, Def("USED"));
    k->SetArg(14, Value("1", "9"));
    k->SetArg(11, new DovExprOper(DX_VALUE));  // any node as GLOBAL
    Add(78, k);
    std::vector<std::string> got = Messages();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "E:In 78-level constant clause 'Global' is present. It must not be present.");
    EXPECT_EQ(got[1], "E:Name in 78-level constant is not new constant-name");
    EXPECT_EQ(got[2], "E:Incorrect Value clause");
    // The malformed value stays, with its tokens.
    DovExpr* entry = DovArgOrNull(parser.levelStack[1].holder, 0);
    EXPECT_EQ(entry->Oper(), DECL_CONST_ENTRY);
    EXPECT_EQ(DovArgOrNull(entry, 3)->Oper(), EX_COND_VALUE);
    EXPECT_EQ(TokenImages(entry), "78 USED VALUE 1 THRU 9");
}

TEST_F(DataEntriesTest, DataEntryValueBecomesDxValueUnlessMalformed) {
    Add(1, "A");
    DovExpr* b = Entry("05", "B");
    b->SetArg(14, Value("ZERO"));
    b->ArgSlots(14)->order = 3;
    Add(5, b);
    EXPECT_EQ(Shape(DovArgOrNull(b, 14)), "DX_VALUE('ZERO')");
    EXPECT_EQ(b->ArgSlots(14)->order, 3);
    EXPECT_EQ(TokenImages(b), "05 B VALUE ZERO");
    EXPECT_TRUE(Messages().empty());

    DovExpr* c = Entry("05", "C");
    c->SetArg(14, Value("1", "5"));
    Add(5, c);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:Incorrect Value clause");
    EXPECT_EQ(DovArgOrNull(c, 14)->Oper(), EX_COND_VALUE);
}

TEST_F(DataEntriesTest, RenamesEntryNeedsItsRenamesClause) {
    Add(1, "A");
    Add(66, Entry("66", "R"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "E:In 66-level data-name clause 'Renames' is missing. It must be present.");
}

TEST_F(DataEntriesTest, WangDisplayEntriesStayOnlyInADisplayWsRecord) {
    auto usage = [](DovOper type) { return Phrase(DX_USAGE, "USAGE", new DovExprOper(type)); };
    DovExpr* ws = Entry("01", "SCREEN1", false, DECL_DD_ENTRY_WANG_DISPLAY);
    ws->SetArg(5, usage(DU_DISPLAY_WS));
    Add(1, ws);
    DovExpr* field = Entry("05", "F1", false, DECL_DD_ENTRY_WANG_DISPLAY);
    Add(5, field);
    EXPECT_EQ(ws->Oper(), DECL_DD_ENTRY_WANG_DISPLAY);
    EXPECT_EQ(field->Oper(), DECL_DD_ENTRY_WANG_DISPLAY);

    DovExpr* plain = Entry("01", "REC", false, DECL_DD_ENTRY_WANG_DISPLAY);
    Add(1, plain);
    DovExpr* sub = Entry("05", "G", false, DECL_DD_ENTRY_WANG_DISPLAY);
    sub->SetArg(21, Leaf("COL"));  // a Wang slot, whose text must stay
    Add(5, sub);
    EXPECT_EQ(plain->Oper(), DECL_DD_ENTRY);
    EXPECT_EQ(sub->Oper(), DECL_DD_ENTRY);
    EXPECT_EQ(sub->NumArgs(), DovOperArgCount(DECL_DD_ENTRY));
    EXPECT_EQ(TokenImages(sub), "05 G COL");
    EXPECT_EQ(Closed(), "SCREEN1(F1) REC(G)");
}

TEST_F(DataEntriesTest, RandomEntrySequencesKeepEveryTokenInOrder) {
    // Bounded random sequences of entries and markers, bad levels among
    // them: whatever the levels, every token reaches the data list, in
    // source order, and nothing leaks.
    std::mt19937 rng(19);
    const int levels[] = {1, 1, 1, 5, 5, 10, 15, 49, 66, 77, 78, 88, 88, 0, 50, 99};
    const DovOper markers[] = {STMT_INLINED_COPY_BEG, STMT_INLINED_COPY_END,    STMT_REPLACE,
                               STMT_REPLACE_OFF,      STMT_INLINED_INCLUDE_BEG, STMT_INLINED_INCLUDE_END};
    for (int round = 0; round < 300; ++round) {
        std::string expected;
        auto expect = [&expected](const std::string& image) {
            if (!expected.empty()) expected += ' ';
            expected += image;
        };
        const int count = 1 + static_cast<int>(rng() % 40);
        for (int k = 0; k < count; ++k) {
            const std::string name = "N" + std::to_string(round) + "_" + std::to_string(k);
            if (rng() % 6 == 0) {
                DovExpr* marker = new DovExprOper(markers[rng() % 6]);
                DovToken* t = Tok(name.c_str());
                marker->Tokens().AppendToken(t);
                expect(name);
                parser.AddDataEntry(99, marker, DECL_DD);
                continue;
            }
            const int level = levels[rng() % (sizeof levels / sizeof levels[0])];
            DovExpr* e = Entry(LevelImage(level).c_str(), name.c_str(), level == 78 || level == 88);
            expect(LevelImage(level));
            expect(name);
            if (rng() % 2) {
                const bool thru = rng() % 3 == 0;
                const std::string v = "V" + name, w = "W" + name;
                e->SetArg(14, Value(v.c_str(), thru ? w.c_str() : nullptr));
                expect("VALUE");
                expect(v);
                if (thru) {
                    expect("THRU");
                    expect(w);
                }
            }
            Add(level, e);
        }
        parser.AddDataEntry(0, nullptr, NULL_NODE);
        ASSERT_EQ(parser.levelDepth, 0);
        ASSERT_EQ(parser.parkedMarkers, nullptr);
        EXPECT_EQ(TokenImages(parser.dataList), expected) << "round " << round;
        delete parser.dataList;
        parser.dataList = nullptr;
        ClearMessages();
    }
}

TEST(SlotLayoutTest, SlotsTheServicesUseHaveTheirCatalogueNumbers) {
    // The services address these slots by number.
    struct Case {
        const char* name;
        int slot;
    } cases[] = {
        {"DD_LEVEL", 0},           {"DD_COPY_BEF_NAME", 1},   {"DD_DATA_NAME", 2},
        {"DD_PICTURE", 4},         {"DD_USAGE", 5},           {"DD_GLOBAL", 11},
        {"DD_RENAMES", 12},        {"DD_VALUE", 14},          {"DD_UNINLINED_COPY", 15},
        {"DD_OFFSET_GLOBAL", 20},  {"WDD_USAGE", 5},          {"WDD_COLUMN", 21},
        {"WDD_SOURCE", 25},        {"DDCOND_VALUE", 3},       {"DDCOND_UNINLINED_COPY", 4},
        {"DDCONST_VALUE", 3},      {"DDCONST_UNINLINED_COPY", 4},
        {"DX_USAGE__TYPE", 0},     {"EX_COND_VALUE__RANGES", 0}, {"EX_COND_VALUE__WHEN_FALSE", 1},
        {"EX_VALUE_RANGE__FROM", 0}, {"EX_VALUE_RANGE__TO", 1}, {"DDH_ENTRY", 0},
        {"DDH_ARGS", 1},           {"RGDH_ARGS", 1},          {"SCRDH_ARGS", 1},
        {"PROG_ENVIR_DIV", 1},     {"DE_SEC_CONFIG", 1},      {"CS_SPEC_NAMES", 3},
        {"SN_CONSOLE", 8},         {"IX_DSPL_POSN_SPEC", 0},  {"IX_DSPL_DATA_NAME", 1},
        {"IX_DSPL_FROM_UPON", 5},  {"IX_DSPL_MODE_IS_BLOCK", 6}, {"IX_DSPL_WITH", 7},
        {"IX_DSPL_BELL", 8},       {"IX_DSPL_BLANK", 29},     {"IX_DSPL_UNINLINED_COPY", 30},
        {"IX_DSPL_NO_ADVANCING", 31}, {"IX_ACCP_FROM_UPON", 5}, {"IX_ACCP_WITH", 7},
        {"IX_ACCP_UNINLINED_COPY", 30}, {"IX_ACCP_CONVERT", 31}, {"IX_ACCP_LOWER", 38},
        {"IX_DSPL_ANSI_NO_ADVANCING", 3}, {"IX_DSPL_FUNC_UNINLINED_COPY", 2},
        {"IX_ACCP_ANSI_UNINLINED_COPY", 2}, {"IX_ACCP_FUNC_UNINLINED_COPY", 2},
    };
    for (const Case& c : cases) {
        int kind = 0;
        EXPECT_EQ(DovOperNameLookup(c.name, &kind), c.slot) << c.name;
        EXPECT_EQ(kind, NAME_KIND_SLOT) << c.name;
    }
    EXPECT_EQ(DovOperArgCount(DECL_DD_ENTRY), 21);
    EXPECT_EQ(DovOperArgCount(DISPLAY_SCREEN_ITEM), 32);
    EXPECT_EQ(DovOperArgCount(ACCEPT_SCREEN_ITEM), 39);
}

}  // namespace
}  // namespace vemlo_test
