#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

// A stand-in for the parser's evaluator: integer constants only.
DovExpr* EvalIntOnly(DovExpr* node) {
    if (node && node->Oper() == NAMED_OBJ_DEF) node = node->Parent();
    if (node && node->Oper() == DECL_CONST_ENTRY) {
        DovExpr* clause = node->Args(3);
        node = clause && !clause->IsNull() && clause->NumArgs() > 0 ? clause->Args(0) : nullptr;
    }
    if (node && node->Oper() == INT_NUM_CONST) return new DovIntNumConst(node->IntValue());
    return nullptr;
}

class EvaluatorInstalled {
public:
    EvaluatorInstalled() { DovCalcValueExpr = EvalIntOnly; }
    ~EvaluatorInstalled() { DovCalcValueExpr = nullptr; }
};

struct PicCase {
    const char* pic;
    int result;
    const char* unrolled;
    int category;
    int size;
    int digits;
    const char* error;
};

TEST(DovPicCategory, Table) {
    const PicCase cases[] = {
        {"X(3)9(2)", 0, "XXX99", PIC_ALPHA_NUM, 5, 2, ""},
        {"X(0)", 0, "", PIC_ALPHA, 0, 0, ""},
        {"", 0, "", PIC_ALPHA, 0, 0, ""},
        {"A(2)B", 0, "AAB", PIC_ALPHA, 3, 0, ""},
        {"S9(5)V99", 0, "S99999V99", PIC_NUM, 7, 7, ""},
        {"9(3)PP", 0, "999PP", PIC_NUM, 3, 3, ""},
        {"X(10)", 0, "XXXXXXXXXX", PIC_ALPHA_NUM, 10, 0, ""},
        {"XXB", 0, "XXB", PIC_ALPHA_NUM_EDITED, 3, 0, ""},
        {"A0A", 0, "A0A", PIC_ALPHA_NUM_EDITED, 3, 0, ""},
        // A with B is alphabetic alone, alphanumeric edited with a 9 or X.
        {"AB9", 0, "AB9", PIC_ALPHA_NUM_EDITED, 3, 1, ""},
        {"A(2)B9(2)", 0, "AAB99", PIC_ALPHA_NUM_EDITED, 5, 2, ""},
        {"XB9", 0, "XB9", PIC_ALPHA_NUM_EDITED, 3, 1, ""},
        {"X/9", 0, "X/9", PIC_ALPHA_NUM_EDITED, 3, 1, ""},
        {"A9", 0, "A9", PIC_ALPHA_NUM, 2, 1, ""},
        // Insertion characters among 9s without A or X: numeric edited.
        {"99B99", 0, "99B99", PIC_NUM_EDITED, 5, 4, ""},
        {"9/9", 0, "9/9", PIC_NUM_EDITED, 3, 2, ""},
        {"BBB", 0, "BBB", PIC_ALPHA, 3, 0, ""},
        {"S9V9B", 36, "S9V9B", NULL_NODE, 5, 2, "Cannot determine category for PIC string: S9V9B"},
        {"ZZ9.99", 0, "ZZ9.99", PIC_NUM_EDITED, 6, 3, ""},
        {"$$,$$9.99CR", 0, "$$,$$9.99CR", PIC_NUM_EDITED, 11, 3, ""},
        {"+9.9(3)E+99", 0, "+9.999E+99", PIC_EXT_FLOAT, 10, 6, ""},
        {"1(8)", 0, "11111111", PIC_BIT, 8, 0, ""},
        {"N(4)", 0, "NNNN", PIC_NATIONAL, 8, 0, ""},
        {"GG", 0, "GG", PIC_NATIONAL, 4, 0, ""},
        {"NBN", 0, "NBN", PIC_NATIONAL_EDITED, 6, 0, ""},
        {"N0N/N", 0, "N0N/N", PIC_NATIONAL_EDITED, 10, 0, ""},
        {"GBG", 0, "GBG", PIC_NATIONAL_EDITED, 6, 0, ""},
        {"G0G", 36, "G0G", NULL_NODE, 3, 0, "Cannot determine category for PIC string: G0G"},
        {"<<9.99", 36, "<<9.99", NULL_NODE, 6, 3, "Cannot determine category for PIC string: <<9.99"},
        {"+9,9E+99", 36, "+9,9E+99", NULL_NODE, 8, 4, "Cannot determine category for PIC string: +9,9E+99"},
        {"XQ", 36, "XQ", NULL_NODE, 2, 0, "Cannot determine category for PIC string: XQ"},
        {"(3)X", '#', "", NULL_NODE, 0, 0, "DovUnrollPicStr: PIC string starts with '(': (3)X"},
        {"X(3", '"', "", NULL_NODE, 0, 0, "PIC string repeater is not closed with ')': X(3"},
        {"X(LEN)", 'r', "", NULL_NODE, 0, 0, "Using 78-level constant in PIC string with no context: X(LEN)"},
        {"X(100000)", 0, nullptr, PIC_ALPHA_NUM, 100000, 0, ""},
        {"9(18)", 0, "999999999999999999", PIC_NUM, 18, 18, ""},
        // Counts that do not fit, or text too long to unroll, are refused.
        {"X(9999999999)", 'L', "", NULL_NODE, 0, 0, "PIC string repeat count is too large: X(9999999999)"},
        {"X(99999999999999999999999)", 'L', "", NULL_NODE, 0, 0,
         "PIC string repeat count is too large: X(99999999999999999999999)"},
        {"X(999999999)", 'L', "", NULL_NODE, 0, 0, "PIC string is too long to unroll: X(999999999)"},
        {"X(9000000)X(9000000)", 'L', "", NULL_NODE, 0, 0, "PIC string is too long to unroll: X(9000000)X(9000000)"},
    };
    for (const PicCase& c : cases) {
        VString unrolled = "stale";
        VString error;
        int category = -1, size = -1, digits = -1;
        int r = DovPicCategory(c.pic, unrolled, category, size, digits, nullptr, error);
        EXPECT_EQ(r, c.result) << c.pic;
        EXPECT_EQ(category, c.category) << c.pic;
        EXPECT_STREQ(error.CStr(), c.error) << c.pic;
        if (r == 0 || r == 36) {
            EXPECT_EQ(size, c.size) << c.pic;
            EXPECT_EQ(digits, c.digits) << c.pic;
        }
        if (c.unrolled) {
            EXPECT_STREQ(unrolled.CStr(), c.unrolled) << c.pic;
        } else {
            EXPECT_EQ(unrolled.Len(), c.size) << c.pic;
        }

        // The unroll alone agrees.
        VString alone = "stale";
        VString error2;
        int r2 = DovUnrollPicStr(c.pic, alone, error2);
        EXPECT_EQ(r2, c.result == 36 ? 0 : c.result) << c.pic;
        if (r2 == 0) {
            EXPECT_EQ(alone, unrolled) << c.pic;
        } else {
            EXPECT_TRUE(alone.IsEmpty()) << c.pic;
        }
    }
}

// A program's own currency symbol and decimal comma, against the defaults.
TEST(DovPicCategory, ProgramSymbols) {
    const DovPicSymbols dollar;
    DovPicSymbols angle;
    angle.currency = '<';
    DovPicSymbols comma;
    comma.decimalComma = true;
    const struct {
        const char* pic;
        const DovPicSymbols* symbols;
        int result;
        int category;
        int size;
    } cases[] = {
        {"<(3),<<<.99", &angle, 0, PIC_NUM_EDITED, 10},
        {"<(3),<<<.99", &dollar, 36, NULL_NODE, 10},
        {"$$9.99", &angle, 36, NULL_NODE, 6},
        {"$$9.99", &dollar, 0, PIC_NUM_EDITED, 6},
        {"$$9.99", &comma, 0, PIC_NUM_EDITED, 6},
        {"ZZ.ZZ9,99", &comma, 0, PIC_NUM_EDITED, 9},
        {"+9,9E+99", &comma, 0, PIC_EXT_FLOAT, 8},
        {"+9.9E+99", &comma, 36, NULL_NODE, 8},
        {"+9.9E+99", &dollar, 0, PIC_EXT_FLOAT, 8},
        // The other categories do not depend on the symbols.
        {"S9(3)V9", &angle, 0, PIC_NUM, 4},
        {"AB9", &comma, 0, PIC_ALPHA_NUM_EDITED, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pic) + " currency " + c.symbols->currency +
                     (c.symbols->decimalComma ? " comma" : ""));
        VString unrolled, error;
        int category = -1, size = -1, digits = -1;
        EXPECT_EQ(DovPicCategory(c.pic, unrolled, category, size, digits, nullptr, error, *c.symbols), c.result);
        EXPECT_EQ(category, c.category);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(error.IsEmpty(), c.result == 0);
    }
}

TEST(DovPicCategoryMsg, FailuresBecomeErrorTokens) {
    DovTokenList messages;
    int size = -1;
    EXPECT_EQ(DovPicCategoryMsg("X(4)", size, &messages), PIC_ALPHA_NUM);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(DovPicCategoryMsg("XQ", size, &messages), NULL_NODE);
    EXPECT_EQ(DovPicCategoryMsg("X(LEN)", size, &messages), NULL_NODE);
    EXPECT_EQ(DovPicCategoryMsg("X(3", size, &messages), NULL_NODE);
    EXPECT_EQ(DovPicCategoryMsg("XQ", size, nullptr), NULL_NODE);
    std::vector<std::string> texts;
    for (const DovToken* t : messages) {
        EXPECT_EQ(t->code, MSG_ERR);
        EXPECT_TRUE(t->range.beg.IsNull());
        texts.push_back(t->image.CStr());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Cannot determine category for PIC string: XQ",
                                               "PIC string repeater is not closed with ')': X(3"}));
}

// A program holding the 78-level constants LEN (value 5, used once before
// its definition), TEXT (a string) and NEG (-1), and an item whose entry is
// the context of the PIC strings.
class ConstantProgram {
public:
    ConstantProgram() {
        prog = new DovExprOper(COBOL_PROGRAM);
        prog->SetArg(kDovProgSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST));
        DovExpr* table = prog->Args(kDovProgSymbolTableArg);
        // The first reference of LEN is a use.
        use = new DovNameUse(DovLink(SymTabFindOrAdd(table, "LEN")));
        auto* list = new DovExprOper(DECL_DD_LIST);
        list->AddArg(Constant("LEN", new DovIntNumConst(5)));
        list->AddArg(Constant("TEXT", new DovStrConst("'A'")));
        list->AddArg(Constant("NEG", new DovIntNumConst(-1)));
        list->AddArg(Constant("HUGE", new DovIntNumConst(5000000000LL)));
        item = new DovExprOper(DECL_DD_ENTRY);
        item->SetArg(3, use);
        list->AddArg(new DovExprOper(DECL_DD, item));
        auto* data = new DovExprOper(DIVISION_DATA);
        data->SetArg(4, list);
        prog->SetArg(2, data);
    }
    ~ConstantProgram() { delete prog; }

    DovExpr* prog;
    DovExpr* item;
    DovNameUse* use;

private:
    DovExpr* Constant(const char* name, DovExpr* value) {
        auto* entry = new DovExprOper(DECL_CONST_ENTRY);
        entry->SetArg(2, DovMakeNamedObjDef(name, NC_CONSTANT_NAME, false, prog));
        entry->SetArg(3, new DovExprOper(DX_VALUE, value));
        return new DovExprOper(DECL_DD, entry);
    }
};

TEST(DovUnrollPicStr, RepeatCountsFromConstants) {
    ConstantProgram p;
    EvaluatorInstalled evaluator;
    struct Case {
        const char* pic;
        int result;
        const char* unrolled;
        const char* error;
    } cases[] = {
        {"X(LEN)9", 0, "XXXXX9", ""},
        {"X(LEN)X(LEN)", 0, "XXXXXXXXXX", ""},
        {"X(TEXT)", 'r', "", "Cannot compute value of 78-level constant used in PIC string: X(TEXT)"},
        {"X(NONE)", 'r', "", "78-level name used in PIC string is not defined: X(NONE)"},
        {"X(NEG)", 'r', "", "Negative value of 78-level constant used in PIC string: X(NEG)"},
        {"X(HUGE)", 'L', "", "PIC string repeat count is too large: X(HUGE)"},
    };
    for (const Case& c : cases) {
        VString unrolled;
        VString error;
        EXPECT_EQ(DovUnrollPicStr(c.pic, unrolled, p.item, error), c.result) << c.pic;
        EXPECT_STREQ(unrolled.CStr(), c.unrolled) << c.pic;
        EXPECT_STREQ(error.CStr(), c.error) << c.pic;
    }
    // The program node itself is a context; a null node or a node outside
    // every program finds no table.
    VString unrolled, error;
    EXPECT_EQ(DovUnrollPicStr("X(LEN)", unrolled, p.prog, error), 0);
    DovNullNode outside;
    EXPECT_EQ(DovUnrollPicStr("X(LEN)", unrolled, &outside, error), 'r');
    EXPECT_STREQ(error.CStr(), "78-level name used in PIC string is not defined: X(LEN)");
    DovExpr* null_in_prog = new DovNullNode;
    p.prog->SetArg(3, null_in_prog);
    EXPECT_EQ(DovUnrollPicStr("X(LEN)", unrolled, null_in_prog, error), 'r');

    int category = 0, size = 0, digits = 0;
    EXPECT_EQ(DovPicCategory("S9(LEN)", unrolled, category, size, digits, p.item, error), 0);
    EXPECT_EQ(category, PIC_NUM);
    EXPECT_EQ(size, 5);
}

TEST(DovUnrollPicStr, WithoutAnEvaluatorNoConstantHasAValue) {
    ConstantProgram p;
    VString unrolled, error;
    EXPECT_EQ(DovUnrollPicStr("X(LEN)", unrolled, p.item, error), 'r');
    EXPECT_STREQ(error.CStr(), "Cannot compute value of 78-level constant used in PIC string: X(LEN)");
}

TEST(DovUnrollPicStr, RandomPicStringsStayBounded) {
    ConstantProgram p;
    EvaluatorInstalled evaluator;
    std::mt19937 rng(3);
    const char alphabet[] = "X9SVAB0N1()LEN(9)";
    for (int round = 0; round < 20000; ++round) {
        std::string pic;
        int len = static_cast<int>(rng() % 14);
        for (int i = 0; i < len; ++i) pic += alphabet[rng() % (sizeof alphabet - 1)];
        VString unrolled, error;
        int category = 0, size = 0, digits = 0;
        int r = DovPicCategory(pic.c_str(), unrolled, category, size, digits, rng() % 2 ? p.item : nullptr, error);
        if (r != 0 && r != 36) {
            EXPECT_TRUE(unrolled.IsEmpty()) << pic;
            EXPECT_FALSE(error.IsEmpty()) << pic;
        }
        EXPECT_LE(unrolled.Len(), kDovPicMaxUnrolled);
    }
}

// DIVISION_DATA > DECL_DD_LIST > DECL_DD (group: USAGE COMP, SYNC) >
// DECL_DD_LIST > DECL_DD (item: SIGN LEADING SEPARATE) and a second item
// under a group without clauses.
TEST(DovInheritedDataAttrs, NearestClauseWins) {
    auto* group_entry = new DovExprOper(DECL_DD_ENTRY);
    group_entry->SetArg(5, new DovExprOper(DX_USAGE, new DovExprOper(DU_COMP)));
    group_entry->SetArg(9, new DovExprOper(DX_SYNCHRONIZED));
    group_entry->SetArg(8, new DovExprOper(DX_SIGN, new DovExprOper(DX_SIGN_TRAILING), nullptr));
    auto* item_entry = new DovExprOper(DECL_DD_ENTRY);
    item_entry->SetArg(8, new DovExprOper(DX_SIGN, new DovExprOper(DX_SIGN_LEADING), new DovExprOper(DX_SIGN_SEPARATE)));
    item_entry->SetArg(5, new DovNullNode);
    auto* item = new DovExprOper(DECL_DD, item_entry, new DovExprOper(DECL_DD_LIST));
    auto* group = new DovExprOper(DECL_DD, group_entry, new DovExprOper(DECL_DD_LIST, item));

    auto* plain_entry = new DovExprOper(DECL_DD_ENTRY);
    auto* plain = new DovExprOper(DECL_DD, plain_entry, new DovExprOper(DECL_DD_LIST));
    auto* plain_group = new DovExprOper(DECL_DD, new DovExprOper(DECL_DD_ENTRY), new DovExprOper(DECL_DD_LIST, plain));
    // A constant entry's slots are not those of a data item.
    auto* constant = new DovExprOper(DECL_CONST_ENTRY);
    constant->SetArg(5, new DovExprOper(DX_USAGE, new DovExprOper(DU_BINARY)));
    auto* const_dd = new DovExprOper(DECL_DD, constant, new DovExprOper(DECL_DD_LIST, plain_group));

    auto* data = new DovExprOper(DIVISION_DATA);
    data->SetArg(4, new DovExprOper(DECL_DD_LIST, group, const_dd));
    // Clauses above the DATA DIVISION do not count.
    auto* outer_entry = new DovExprOper(DECL_DD_ENTRY);
    outer_entry->SetArg(9, new DovExprOper(DX_SYNCHRONIZED));
    DovExprOper outer(DECL_DD, outer_entry, data);

    int usage, sync, sign, sign_flag;
    DovInheritedDataAttrs(item_entry->Args(8), usage, sync, sign, sign_flag);
    EXPECT_EQ(usage, DU_COMP);
    EXPECT_EQ(sync, DX_SYNCHRONIZED);
    EXPECT_EQ(sign, DX_SIGN_LEADING);
    EXPECT_EQ(sign_flag, 1);
    EXPECT_EQ(DovInheritedUsage(item), DU_COMP);

    DovInheritedDataAttrs(group, usage, sync, sign, sign_flag);
    EXPECT_EQ(sign, DX_SIGN_TRAILING);
    EXPECT_EQ(sign_flag, 0);

    DovInheritedDataAttrs(plain, usage, sync, sign, sign_flag);
    EXPECT_EQ(usage, DU_DISPLAY);
    EXPECT_EQ(sync, NULL_NODE);
    EXPECT_EQ(sign, NULL_NODE);
    EXPECT_EQ(sign_flag, 0);
    EXPECT_EQ(DovInheritedUsage(plain_entry), DU_DISPLAY);
    EXPECT_EQ(DovInheritedUsage(nullptr), DU_DISPLAY);
}

}  // namespace
