#include <gtest/gtest.h>

#include <string>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::NewProgram;
using vemlo_test::TableOf;

class SourceText : public testing::Test {
protected:
    ~SourceText() override { delete program_; }

    DovExpr* Name(const char* name) { return new DovNameUse(DovLink(SymTabFindOrAdd(TableOf(program_), name))); }
    DovExpr* Qual(const char* name, const char* qualifier = nullptr) {
        auto* list = new DovExprOper(OF_IN_LIST, {Name(name)});
        if (qualifier) list->AddArg(Name(qualifier));
        return new DovNamedObjUse(list, NC_DATA_NAME, 0);
    }
    static DovExpr* Int(long long v) { return new DovIntNumConst(v); }
    static DovExpr* Op(DovOper op, std::initializer_list<DovExpr*> args) { return new DovExprOper(op, args); }

    DovExpr* program_ = NewProgram();
};

TEST_F(SourceText, EveryForm) {
    struct Case {
        DovExpr* expr;
        const char* text;
    };
    const Case cases[] = {
        {new DovNullNode, "-[undefined]-"},
        {Op(EX_VALUE_RANGE, {Int(1), Int(9)}), "1 THRU 9"},
        {Op(EX_VALUE_RANGE, {Int(1), new DovNullNode}), "1"},
        {Op(EX_VALUE_RANGE, {Int(1), nullptr}), "1"},
        {Op(EX_VALUE_RANGE_LIST, {Op(EX_VALUE_RANGE, {Int(1), Int(3)}), Int(7)}), "1 THRU 3 7"},
        {Op(EX_VALUE_WHEN_FALSE, {Int(0)}), "0"},
        {Op(EX_LIST, {Int(1), Int(2), Int(3)}), "1 , 2 , 3"},
        {Op(EX_LIST, {}), ""},
        {Op(FIG_ALL, {new DovStrConst("'X'")}), "ALL 'X'"},
        {new DovExprOper(FIG_ZERO), "ZERO"},
        {new DovExprOper(FIG_SPACE), "SPACES"},
        {new DovExprOper(FIG_HIGH_VALUE), "HIGH-VALUES"},
        {new DovExprOper(FIG_LOW_VALUE), "LOW-VALUES"},
        {new DovExprOper(FIG_QUOTE), "QUOTE"},
        {new DovExprOper(FIG_NULL), "NULL"},
        {new DovExprOper(EX_INDEX_ALL), "ALL"},
        {new DovStrConst("\"ABC\""), "'ABC'"},
        {new DovIntNumConst("007", 7), "7"},
        {new DovRealNumConst("1.50"), "1.50"},
        {Name("PLAIN"), "PLAIN"},
        {Qual("X", "G"), "X OF G"},
        {Op(REFERENCE_MOD, {Qual("A"), Int(1), Int(2)}), "A(1:2)"},
        {Op(REFERENCE_MOD, {Qual("A"), Int(1), new DovNullNode}), "A(1:-[undefined]-)"},
        {Op(TABLE_ELT, {Qual("A"), Op(SUBSCRIPT_LIST, {Int(1)})}), "A(-[unknown]-)"},
        {Op(TABLE_ELT, {Qual("A"), Op(OP_ADD_IX, {Qual("I"), Int(1)})}), "A(I + 1)"},
        {Op(TABLE_ELT, {Qual("A"), Op(OP_SUB_IX, {Qual("I"), Int(2)})}), "A(I - 2)"},
        {Op(AR_SUB, {Op(AR_ADD, {Qual("A"), Qual("B")}), Qual("C")}), "A + B - C"},
        {Op(STR_CONCATENATE, {new DovStrConst("'A'"), Qual("B")}), "'A' & B"},
        {Op(AR_MUL, {Int(2), Int(3)}), "-[unknown]-"},
        {new DovCharString("TEXT"), "-[unknown]-"},
        {DovMakeNamedObjDef("D", NC_DATA_NAME, false, program_), "-[unknown]-"},
    };
    EXPECT_EQ(std::string(DovExprSourceText(nullptr).CStr()), "-[undefined]-");
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(DovExprSourceText(c.expr).CStr()), c.text) << DovOperName(c.expr->Oper());
        delete c.expr;
    }
}

// Missing slots and odd list members are spelled as missing, never read.
TEST_F(SourceText, MissingParts) {
    vemlo_test::MessageCapture capture;
    DovExprOper refmod(REFERENCE_MOD);
    EXPECT_EQ(std::string(DovExprSourceText(&refmod).CStr()), "-[undefined]-(-[undefined]-:-[undefined]-)");
    DovExprOper oddName(OF_IN_LIST, {Op(TABLE_ELT, {Qual("A"), Int(1)}), new DovNullNode});
    EXPECT_EQ(std::string(DovExprSourceText(&oddName).CStr()), "A(1) OF -[undefined]-");
    DovExprOper use(NAMED_OBJ_USE);
    EXPECT_EQ(std::string(DovExprSourceText(&use).CStr()), "-[undefined]-");
    EXPECT_TRUE(capture.Messages().empty()) << capture.Joined();
}

}  // namespace
