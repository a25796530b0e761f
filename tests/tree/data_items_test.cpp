#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::DataRow;
using vemlo_test::MessageCapture;
using vemlo_test::NewProgram;
using vemlo_test::TableOf;

std::string Str(const VString& s) { return s.CStr(); }

int Slot(const char* name) {
    int kind = 0;
    int slot = DovOperNameLookup(name, &kind);
    EXPECT_EQ(kind, NAME_KIND_SLOT) << name;
    return slot;
}

// A table of rows at the given depths, named D0, D1, ... in order, ended.
std::vector<DovDataItemRow> RowsAtDepths(const std::vector<int>& depths, std::vector<std::string>& names) {
    names.clear();
    for (std::size_t i = 0; i < depths.size(); ++i) names.push_back("D" + std::to_string(i));
    std::vector<DovDataItemRow> rows;
    for (std::size_t i = 0; i < depths.size(); ++i) rows.push_back(DataRow(depths[i], names[i].c_str()));
    rows.push_back(DovDataItemRow{0, 0, nullptr, nullptr, DU_NONE, nullptr});
    return rows;
}

struct Declared {
    DovExpr* program = NewProgram();
    DovExprOper list{DECL_DD_LIST};
    VString message;
    ~Declared() { delete program; }
    int Declare(const std::vector<DovDataItemRow>& rows, int hide = 0) {
        return DovDeclDataItemHierarchy(&list, rows.data(), hide, program, message);
    }
};

TEST(DovDeclDataItemHierarchy, DepthsNest) {
    Declared d;
    std::vector<std::string> names;
    ASSERT_EQ(d.Declare(RowsAtDepths({0, 1, 1, 0}, names)), 0);
    ASSERT_EQ(d.list.NumArgs(), 2);
    DovExpr* first = d.list.Args(0);
    EXPECT_EQ(first->Oper(), DECL_DD);
    ASSERT_EQ(first->Args(1)->Oper(), DECL_DD_LIST);
    ASSERT_EQ(first->Args(1)->NumArgs(), 2);
    EXPECT_EQ(Str(first->Args(1)->Args(1)->Args(0)->Args(2)->Image()), "D2");
    EXPECT_EQ(first->Args(1)->Args(0)->Args(1), nullptr);
    EXPECT_EQ(d.list.Args(1)->Args(1), nullptr);
    EXPECT_EQ(Str(d.list.Args(1)->Args(0)->Args(2)->Image()), "D3");
    EXPECT_EQ(Str(DovFullQualNameStr(first->Args(1)->Args(1)->Args(0)->Args(2))), "D2 OF D0");
}

TEST(DovDeclDataItemHierarchy, DepthFaults) {
    struct Case {
        std::vector<int> depths;
        int declaredRows;  // rows entered before the fault
        const char* message;
    };
    std::vector<int> deepest;
    for (int i = 0; i <= 30; ++i) deepest.push_back(i);
    std::vector<int> tooDeep = deepest;
    tooDeep.push_back(31);
    const Case cases[] = {
        {{0, 1, 1, 0}, 4, nullptr},
        {{0, 1, 2, 0}, 3, "DovDeclDataItemHierarchy: bad depth switch"},
        {{0, 2}, 1, "DovDeclDataItemHierarchy: bad depth switch"},
        {deepest, 31, nullptr},
        {tooDeep, 31, "DovDeclDataItemHierarchy: Nesting of DDs is too deep"},
        {{-1}, 0, "DovDeclDataItemHierarchy: Stack is empty"},
        {{0, -1}, 1, "DovDeclDataItemHierarchy: Stack is empty"},
        {{1}, 0, "DovDeclDataItemHierarchy: no entry to nest 'D0' under"},
        {{}, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depths.size());
        Declared d;
        std::vector<std::string> names;
        int result = d.Declare(RowsAtDepths(c.depths, names));
        EXPECT_EQ(result, c.message ? 43 : 0);
        EXPECT_EQ(Str(d.message), c.message ? c.message : "");
        // Every row before the fault is declared; the refused row leaves no
        // symbol behind.
        EXPECT_EQ(TableOf(d.program)->NumArgs(), c.declaredRows);
        for (int i = 0; i < static_cast<int>(names.size()); ++i)
            EXPECT_EQ(SymTabFind(TableOf(d.program), names[i].c_str()) != nullptr, i < c.declaredRows) << i;
    }
}

TEST(DovDeclDataItemHierarchy, HiddenTopLevel) {
    Declared d;
    std::vector<std::string> names;
    ASSERT_EQ(d.Declare(RowsAtDepths({0, 1, 0}, names), 1), 0);
    EXPECT_EQ(d.list.Args(0)->Oper(), DECL_DD_HIDDEN);
    EXPECT_EQ(d.list.Args(0)->Args(1)->Args(0)->Oper(), DECL_DD);
    EXPECT_EQ(d.list.Args(1)->Oper(), DECL_DD_HIDDEN);
}

TEST(DovDeclDataItemHierarchy, RowsWithClauses) {
    Declared d;
    auto* value = new DovIntNumConst(7);
    const DovDataItemRow rows[] = {
        {0, 1, "REC", "", DU_NONE, nullptr},
        {1, 5, "NUM", "S9(4)", DU_COMP, value},
        {1, 77, "PLAIN", nullptr, DU_NONE, nullptr},
        {1, 123, "BIG", nullptr, DU_NONE, nullptr},
        {0, 0, nullptr, nullptr, DU_NONE, nullptr},
    };
    ASSERT_EQ(DovDeclDataItemHierarchy(&d.list, rows, 0, d.program, d.message), 0);
    DovExpr* rec = d.list.Args(0)->Args(0);
    DovExpr* num = d.list.Args(0)->Args(1)->Args(0)->Args(0);
    DovExpr* plain = d.list.Args(0)->Args(1)->Args(1)->Args(0);
    DovExpr* big = d.list.Args(0)->Args(1)->Args(2)->Args(0);

    EXPECT_EQ(Str(num->Args(Slot("DD_LEVEL"))->Image()), "05");
    EXPECT_EQ(num->Args(Slot("DD_LEVEL"))->IntValue(), 5);
    EXPECT_EQ(Str(plain->Args(0)->Image()), "77");
    EXPECT_EQ(Str(big->Args(0)->Image()), "123");
    EXPECT_EQ(Str(rec->Args(0)->Image()), "01");

    DovExpr* pic = num->Args(Slot("DD_PICTURE"));
    ASSERT_EQ(pic->Oper(), DX_PICTURE);
    EXPECT_EQ(pic->Args(0)->Oper(), CHAR_STRING);
    EXPECT_EQ(Str(pic->Args(0)->Image()), "S9(4)");
    DovExpr* usage = num->Args(Slot("DD_USAGE"));
    ASSERT_EQ(usage->Oper(), DX_USAGE);
    EXPECT_EQ(usage->Args(0)->Oper(), DU_COMP);
    DovExpr* val = num->Args(Slot("DD_VALUE"));
    ASSERT_EQ(val->Oper(), DX_VALUE);
    EXPECT_EQ(val->Args(0), value);

    // Without clauses only the level and the name are filled.
    for (DovExpr* entry : {rec, plain}) {
        ASSERT_EQ(entry->Oper(), DECL_DD_ENTRY);
        for (int i = 0; i < entry->NumArgs(); ++i)
            EXPECT_EQ(entry->Args(i) != nullptr, i == Slot("DD_LEVEL") || i == Slot("DD_DATA_NAME")) << i;
    }
    DovExpr* def = num->Args(Slot("DD_DATA_NAME"));
    ASSERT_EQ(def->Oper(), NAMED_OBJ_DEF);
    EXPECT_EQ(static_cast<DovNamedObjDef*>(def)->Category(), NC_DATA_NAME);
    EXPECT_EQ(def->Parent(), num);
}

TEST(DovDeclDataItemHierarchy, BadUsageAndMissingList) {
    Declared d;
    const DovDataItemRow rows[] = {
        {0, 1, "A", nullptr, DU_NONE, nullptr},
        {0, 1, "B", nullptr, 4000, nullptr},
        {0, 0, nullptr, nullptr, DU_NONE, nullptr},
    };
    EXPECT_EQ(DovDeclDataItemHierarchy(&d.list, rows, 0, d.program, d.message), 43);
    EXPECT_EQ(Str(d.message), "DovDeclDataItemHierarchy: bad usage code 4000 for 'B'");
    EXPECT_EQ(d.list.NumArgs(), 1);
    EXPECT_EQ(DovDeclDataItemHierarchy(nullptr, rows, 0, d.program, d.message), 43);
    EXPECT_EQ(Str(d.message), "DovDeclDataItemHierarchy: no DECL_DD_LIST to declare into");
    EXPECT_EQ(DovDeclDataItemHierarchy(&d.list, nullptr, 0, d.program, d.message), 0);
}

TEST(DovDeclDataItem, ATakenNameSharesItsElement) {
    DovExpr* program = NewProgram();
    DovExpr* table = TableOf(program);
    SymTabAddUnique("X", NC_CONSTANT_NAME, table);
    DovNamedObjDef* d1 = nullptr;
    DovNamedObjDef* d2 = nullptr;
    DovExpr* h1 = DovDeclDataItem(d1, 1, "X", 0, "", nullptr, nullptr, program);
    DovExpr* h2 = DovDeclDataItem(d2, 1, "X", 0, "", nullptr, nullptr, program);
    EXPECT_EQ(table->NumArgs(), 1);
    DovSymTabElt* x = SymTabFind(table, "X");
    EXPECT_EQ(x->Category(), NC_DATA_NAME);
    ASSERT_EQ(x->References().Count(), 2);
    EXPECT_EQ(x->Links().Nth(0).target, d1);
    EXPECT_EQ(x->Links().Nth(1).target, d2);
    EXPECT_EQ(h1->Parent(), nullptr);
    EXPECT_EQ(d1->Parent(), h1->Args(0));

    // With `unique` a taken name gets a suffix.
    DovNamedObjDef* d3 = nullptr;
    DovExpr* h3 = DovDeclDataItem(d3, 1, "X", 1, "", nullptr, nullptr, program);
    EXPECT_EQ(Str(d3->Image()), "X-1");
    delete h1;
    delete h2;
    delete h3;
    delete program;
}

TEST(DovDeclConstant, TakenNamesGetSuffixes) {
    auto* file = new DovExprOper(COBOL_FILE);
    file->SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    DovExpr* table = file->Args(kDovFileSymbolTableArg);
    std::vector<DovExpr*> holders;
    std::vector<DovNamedObjDef*> defs;
    for (DovExpr* value : {static_cast<DovExpr*>(new DovStrConst("'A'")), static_cast<DovExpr*>(nullptr),
                           static_cast<DovExpr*>(new DovIntNumConst(3))}) {
        DovNamedObjDef* def = nullptr;
        holders.push_back(DovDeclConstant(def, "LANG", value, file));
        defs.push_back(def);
    }
    EXPECT_EQ(Str(defs[0]->Image()), "LANG");
    EXPECT_EQ(Str(defs[1]->Image()), "LANG-1");
    EXPECT_EQ(Str(defs[2]->Image()), "LANG-2");
    EXPECT_EQ(table->NumArgs(), 3);
    for (int i = 0; i < 3; ++i) {
        DovExpr* entry = holders[i]->Args(0);
        ASSERT_EQ(entry->Oper(), DECL_CONST_ENTRY);
        EXPECT_EQ(holders[i]->Parent(), nullptr);
        EXPECT_EQ(holders[i]->Args(1), nullptr);
        EXPECT_EQ(Str(entry->Args(Slot("DDCONST_LEVEL"))->Image()), "78");
        EXPECT_EQ(entry->Args(Slot("DDCONST_LEVEL"))->IntValue(), 78);
        EXPECT_EQ(entry->Args(Slot("DDCONST_NAME")), defs[i]);
        EXPECT_EQ(defs[i]->Category(), NC_CONSTANT_NAME);
        EXPECT_EQ(defs[i]->Element()->Category(), NC_CONSTANT_NAME);
        EXPECT_EQ(entry->Args(Slot("DDCONST_COPY_BEF_NAME")), nullptr);
        EXPECT_EQ(entry->Args(Slot("DDCONST_VALUE_COMPD")), nullptr);
    }
    EXPECT_EQ(holders[1]->Args(0)->Args(Slot("DDCONST_VALUE")), nullptr);
    DovExpr* value = holders[2]->Args(0)->Args(Slot("DDCONST_VALUE"));
    ASSERT_EQ(value->Oper(), EX_CONST_VALUE);
    EXPECT_EQ(value->Args(0)->IntValue(), 3);
    for (DovExpr* h : holders) delete h;
    delete file;
}

TEST(DovAddDataEntry, MakesTheDivisionAndSectionOnce) {
    DovExpr* program = NewProgram();
    const int ws = Slot("DS_WORKING_STORAGE");
    program->SetArg(2, new DovNullNode, -1, 0);
    std::vector<DovExpr*> entries;
    for (const char* name : {"A", "B"}) {
        DovNamedObjDef* def = nullptr;
        entries.push_back(DovDeclDataItem(def, 1, name, 0, "X", nullptr, nullptr, program));
        EXPECT_EQ(DovAddDataEntry(entries.back(), ws, SECTION_WORKING_STORAGE, program), 0);
    }
    DovExpr* division = program->Args(2);
    ASSERT_EQ(division->Oper(), DIVISION_DATA);
    EXPECT_EQ(division->NumArgs(), DovOperArgCount(DIVISION_DATA));
    DovExpr* section = division->Args(ws);
    ASSERT_EQ(section->Oper(), SECTION_WORKING_STORAGE);
    DovExpr* list = section->Args(0);
    ASSERT_EQ(list->Oper(), DECL_DD_LIST);
    ASSERT_EQ(list->NumArgs(), 2);
    EXPECT_EQ(list->Args(0), entries[0]);
    EXPECT_EQ(list->Args(1), entries[1]);

    // Another section of the same division.
    DovNamedObjDef* def = nullptr;
    DovExpr* linkage = DovDeclDataItem(def, 1, "L", 0, "", nullptr, nullptr, program);
    EXPECT_EQ(DovAddDataEntry(linkage, Slot("DS_LINKAGE"), SECTION_LINKAGE, program), 0);
    EXPECT_EQ(program->Args(2), division);
    EXPECT_EQ(division->Args(Slot("DS_LINKAGE"))->Args(0)->Args(0), linkage);
    delete program;
}

TEST(DovAddDataEntry, RefusesWhatCannotHoldTheEntry) {
    DovExpr* program = NewProgram();
    DovNamedObjDef* def = nullptr;
    DovExpr* entry = DovDeclDataItem(def, 1, "A", 0, "", nullptr, nullptr, program);
    DovExprOper notProgram(STMT_MOVE);
    struct Case {
        DovExpr* entry;
        int slot;
        DovOper section;
        DovExpr* program;
    };
    const Case cases[] = {
        {nullptr, 4, SECTION_WORKING_STORAGE, program},
        {entry, 4, SECTION_WORKING_STORAGE, nullptr},
        {entry, 4, SECTION_WORKING_STORAGE, &notProgram},
        {entry, 99, SECTION_WORKING_STORAGE, program},
        {entry, -1, SECTION_WORKING_STORAGE, program},
        {entry, 4, NULL_NODE, program},
        {entry, 4, DECL_DD_LIST, program},
    };
    for (const Case& c : cases) {
        MessageCapture capture;
        EXPECT_EQ(DovAddDataEntry(c.entry, c.slot, c.section, c.program), 1);
        ASSERT_EQ(capture.Messages().size(), 1u);
        EXPECT_EQ(capture.Messages()[0].code, MSG_SEVERE);
        EXPECT_EQ(capture.Messages()[0].text.rfind("DovAddDataEntry: ", 0), 0u) << capture.Messages()[0].text;
        EXPECT_EQ(program->Args(2), nullptr);
        EXPECT_EQ(entry->Parent(), nullptr);
    }
    delete entry;
    delete program;
}

TEST(DovMakeMove, Shape) {
    auto* source = new DovIntNumConst(1);
    auto* target = new DovCharString("T");
    DovExpr* move = DovMakeMove(source, target);
    ASSERT_EQ(move->Oper(), STMT_MOVE);
    EXPECT_EQ(move->Args(Slot("MOVE_SOURCE")), source);
    DovExpr* dests = move->Args(Slot("MOVE_DESTS"));
    ASSERT_EQ(dests->Oper(), IDENT_LIST);
    ASSERT_EQ(dests->NumArgs(), 1);
    EXPECT_EQ(dests->Args(0), target);
    EXPECT_EQ(target->Parent(), dests);
    delete move;
}

}  // namespace
