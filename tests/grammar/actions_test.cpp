// The node shapes and value helpers of the grammar actions.
#include <gtest/gtest.h>

#include "grammar/actions.h"

namespace {

TEST(Actions, KeywordAndConstructNodes) {
    YYSTYPE k = DovKeywordNode(STMT_CONTINUE);
    ASSERT_NE(DovN(k), nullptr);
    EXPECT_EQ(DovN(k)->Oper(), STMT_CONTINUE);
    EXPECT_EQ(DovN(k)->NumArgs(), 0);
    DovDeleteExprCell(&k);

    YYSTYPE from = DovAbsentNode();
    YYSTYPE to = DovKeywordNode(STMT_CONTINUE);
    YYSTYPE range = DovConstructNode(EX_PROC_RANGE, from, to);
    DovExpr* r = DovN(range);
    ASSERT_EQ(r->NumArgs(), 2);
    EXPECT_EQ(r->Args(0), DovN(from));
    EXPECT_EQ(r->Args(1), DovN(to));
    // A value that is no node leaves its slot empty.
    YYSTYPE half = DovConstructNode(EX_PROC_RANGE, DovKeywordNode(STMT_GOBACK), DovIntToValue(7));
    EXPECT_EQ(DovArgOrNull(DovN(half), 1), nullptr);
    // DovSetSlot fills a node made earlier.
    DovSetSlot(half, 1, DovKeywordNode(STMT_EXIT));
    EXPECT_EQ(DovN(half)->Args(1)->Oper(), STMT_EXIT);
    DovDeleteExprCell(&range);
    DovDeleteExprCell(&half);
}

TEST(Actions, AbsentPartIsANullNode) {
    YYSTYPE v = DovAbsentNode();
    ASSERT_NE(DovN(v), nullptr);
    EXPECT_EQ(DovN(v)->Oper(), NULL_NODE);
    EXPECT_TRUE(DovN(v)->IsNull());
    DovDeleteExprCell(&v);
}

TEST(Actions, ListsAreOneNodeOfAllTheirItems) {
    YYSTYPE list = DovListFirst(STMT_LIST, DovKeywordNode(STMT_GOBACK));
    ASSERT_EQ(DovN(list)->Oper(), STMT_LIST);
    EXPECT_EQ(DovN(list)->NumArgs(), 1);
    list = DovListAppend(STMT_LIST, list, DovKeywordNode(STMT_CONTINUE));
    list = DovListAppend(STMT_LIST, list, DovKeywordNode(STMT_EXIT));
    DovExpr* l = DovN(list);
    ASSERT_EQ(l->NumArgs(), 3);
    EXPECT_EQ(l->Args(0)->Oper(), STMT_GOBACK);
    EXPECT_EQ(l->Args(1)->Oper(), STMT_CONTINUE);
    EXPECT_EQ(l->Args(2)->Oper(), STMT_EXIT);
    for (int i = 0; i < 3; ++i) EXPECT_NE(l->Args(i)->Oper(), STMT_LIST);
    DovDeleteExprCell(&list);
}

TEST(Actions, DeleteExprCellReleasesNodesOnlyAndClearsTheCell) {
    YYSTYPE node = DovKeywordNode(STMT_GOBACK);
    DovDeleteExprCell(&node);
    EXPECT_EQ(node, nullptr);
    YYSTYPE code = DovIntToValue(830);  // an operation code travelling as a value
    DovDeleteExprCell(&code);
    EXPECT_EQ(code, nullptr);
    YYSTYPE none = nullptr;
    DovDeleteExprCell(&none);
    DovDeleteExprCell(nullptr);
}

TEST(Actions, ValuesAreWideEnoughForNodePointers) {
    static_assert(sizeof(YYSTYPE) == sizeof(void*));
    DovExpr* n = new DovNullNode;
    EXPECT_EQ(DovN(n), n);
    EXPECT_EQ(DovN(DovIntToValue(1400)), nullptr);
    EXPECT_EQ(DovN(DovIntToValue(1)), nullptr);
    EXPECT_EQ(DovValueToInt(DovIntToValue(1400)), 1400);
    delete n;
}

TEST(Actions, ReleasingACellLeavesANodeOfATreeAlone) {
    DovExpr* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    DovExpr* element = new DovExprOper(STMT_CONTINUE);
    table->AddArg(element);
    YYSTYPE cell = element;
    DovDeleteExprCell(&cell);
    EXPECT_EQ(cell, nullptr);
    ASSERT_EQ(table->NumArgs(), 1);
    EXPECT_EQ(table->Args(0), element);
    delete table;
}

}  // namespace
