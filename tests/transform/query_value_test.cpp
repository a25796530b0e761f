// Value records, the variable list, the value stack and the register " H".
#include <gtest/gtest.h>

#include <string>

#include "transform/transform.h"
#include "tree/leaf.h"

namespace {

DovQueryValue* Str(const char* text) { return new DovQueryValue(QV_STR, VString(), new DovCharString(text), 1); }

TEST(QueryVarList, FreshVariables) {
    DovQueryVarList vars;
    vars.Create(true);
    ASSERT_EQ(vars.Count(), 3);
    EXPECT_STREQ(vars.ValueAt(0)->name.CStr(), "E");
    EXPECT_STREQ(vars.ValueAt(1)->name.CStr(), "ROOT");
    EXPECT_STREQ(vars.ValueAt(2)->name.CStr(), " H");
    EXPECT_EQ(vars.ValueAt(0)->kind, QV_NODE);
    EXPECT_EQ(vars.ValueAt(1)->kind, QV_NODE);
    EXPECT_EQ(vars.ValueAt(2)->kind, QV_NONE);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(vars.ValueAt(i)->node, nullptr);
        EXPECT_EQ(vars.ValueAt(i)->owned, 0);
    }
    EXPECT_EQ(vars.Find("H"), -1);
    EXPECT_EQ(vars.Find(" H"), 2);
    EXPECT_EQ(vars.Find("ROOT"), 1);
    EXPECT_EQ(DovQueryH(&vars), vars.ValueAt(2));
    EXPECT_EQ(vars.At(3), nullptr);
    EXPECT_EQ(vars.At(-1), nullptr);
    DovQueryVarList empty;
    empty.Create(false);
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.Top(), nullptr);
    EXPECT_EQ(DovQueryH(&empty), nullptr);
}

TEST(QueryVarList, StackOperations) {
    DovQueryVarList stack;
    stack.Push(nullptr);
    EXPECT_EQ(stack.Count(), 0);
    auto* a = Str("a");
    a->owned = 0;
    stack.Push(a);
    EXPECT_EQ(a->owned, 1);  // pushing takes ownership
    stack.Push(Str("b"));
    DovQueryValue* top = nullptr;
    EXPECT_EQ(stack.Top(&top), top);
    EXPECT_STREQ(top->node->Value().CStr(), "b");
    DovQueryValue* popped = stack.Pop();
    ASSERT_NE(popped, nullptr);
    EXPECT_EQ(popped->owned, 1);
    EXPECT_STREQ(popped->node->Value().CStr(), "b");
    delete popped;
    EXPECT_EQ(stack.Count(), 1);
    EXPECT_EQ(stack.Drop(), 1);
    EXPECT_EQ(stack.Drop(), 0);
    EXPECT_EQ(stack.Append(Str("x")), 0);
    EXPECT_EQ(stack.Append(Str("y")), 1);
    DovQueryVarList copy;
    copy.Copy(stack);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.ValueAt(1)->node, stack.ValueAt(1)->node);
    EXPECT_EQ(copy.ValueAt(1)->owned, 0);  // the copy only refers to the nodes
    copy.Destroy();
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_STREQ(stack.ValueAt(1)->node->Value().CStr(), "y");
}

TEST(QueryVarList, PopOfAnEmptyStackSaysSoOncePerAttempt) {
    DovQueryVarList stack;
    testing::internal::CaptureStdout();
    EXPECT_EQ(stack.Pop(), nullptr);
    EXPECT_EQ(stack.Pop(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n!!! POP->Assert!\n!!! POP->Assert!");
}

TEST(QueryVarList, RegisterReleasesOnlyWhatItOwns) {
    DovQueryVarList vars;
    vars.Create(true);
    auto* tree = new DovExprOper(EX_LIST);
    auto* leaf = new DovCharString("tree");
    tree->AddArg(leaf);
    // A tree node in " H" is never deleted by a new value.
    DovQuerySetH(&vars, leaf, QV_STR, 0);
    DovQuerySetH(&vars, new DovCharString("one"), QV_STR, 1);
    EXPECT_STREQ(leaf->Value().CStr(), "tree");
    // An owned value that has been attached to a tree since belongs to it.
    DovExpr* attached = DovQueryH(&vars)->node;
    tree->AddArg(attached);
    DovQuerySetH(&vars, new DovCharString("two"), QV_STR, 1);
    EXPECT_EQ(tree->Args(1), attached);
    EXPECT_STREQ(attached->Value().CStr(), "one");
    // The same node stored again stays alive.
    DovExpr* two = DovQueryH(&vars)->node;
    DovQuerySetH(&vars, two, QV_STR, 1);
    EXPECT_STREQ(DovQueryH(&vars)->node->Value().CStr(), "two");
    DovQueryResetH(&vars);
    EXPECT_EQ(DovQueryH(&vars)->kind, QV_NODE);
    EXPECT_EQ(DovQueryH(&vars)->node->Oper(), NULL_NODE);
    EXPECT_EQ(DovQueryH(&vars)->owned, 1);
    DovQueryResetH(&vars);
    delete tree;
}

TEST(QueryVarList, ReplaceNodeFollowsAndClears) {
    auto* root = new DovExprOper(EX_LIST);
    auto* sub = new DovExprOper(EX_LIST);
    auto* inner = new DovCharString("in");
    sub->AddArg(inner);
    root->AddArg(sub);
    auto* other = new DovCharString("other");
    DovQueryVarList vars;
    vars.Create(true);
    DovQuerySetH(&vars, sub, QV_NODE, 0);
    vars.Append(new DovQueryValue(QV_NODE, "IN", inner, 0));
    vars.Append(new DovQueryValue(QV_NODE, "ROOTV", root, 0));
    vars.ReplaceNode(sub, other);
    EXPECT_EQ(DovQueryH(&vars)->node, other);
    EXPECT_EQ(vars.ValueAt(vars.Find("IN"))->node, nullptr);
    EXPECT_EQ(vars.ValueAt(vars.Find("ROOTV"))->node, root);
    vars.ReplaceNode(root, nullptr);
    EXPECT_EQ(vars.ValueAt(vars.Find("ROOTV"))->node, nullptr);
    delete root;
    delete other;
}

TEST(QueryVarList, DeleteVarNode) {
    auto* root = new DovExprOper(STMT_MOVE);
    auto* src = new DovCharString("A");
    root->SetArg(0, src);
    DovQueryVarList vars;
    vars.Create(true);
    vars.Append(new DovQueryValue(QV_NODE, "V", src, 0));
    vars.Append(new DovQueryValue(QV_NODE, "W", nullptr, 0));
    DovQuerySetH(&vars, src, QV_NODE, 0);
    EXPECT_EQ(vars.DeleteVarNode("NOPE"), 96);
    EXPECT_EQ(vars.DeleteVarNode("W"), 98);
    EXPECT_EQ(vars.DeleteVarNode("V"), 0);
    EXPECT_EQ(vars.ValueAt(vars.Find("V"))->node, nullptr);
    EXPECT_EQ(DovQueryH(&vars)->node, nullptr);
    ASSERT_NE(root->Args(0), nullptr);
    EXPECT_EQ(root->Args(0)->Oper(), NULL_NODE);  // the emptied slot holds a null node
    delete root;
}

TEST(QueryVarList, CheckOperands) {
    const struct {
        const char* second;  // pushed first
        const char* first;   // the top
        int oper;
        int ok;
    } cases[] = {
        {"I", "I", QK_SUB, 1}, {"I", "I", QK_ADD, 1}, {"I", "I", QK_MOD, 1}, {"S", "S", QK_ADD, 1},
        {"S", "S", QK_MUL, 0}, {"I", "S", QK_ADD, 0},  {"S", "I", QK_ADD, 0}, {"-", "-", QK_ADD, 1},
        {"-", "-", QK_SUB, 0},
    };
    for (const auto& c : cases) {
        DovQueryVarList types;
        types.Push(Str(c.second));
        types.Push(Str(c.first));
        EXPECT_EQ(types.CheckOperands(c.oper), c.ok) << c.second << c.first << c.oper;
        EXPECT_EQ(types.Count(), c.ok ? 1 : 0);
        if (c.ok) {
            EXPECT_STREQ(types.Top()->node->Value().CStr(), c.first);
        }
    }
    DovQueryVarList one;
    one.Push(Str("I"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(one.CheckOperands(QK_ADD), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n!!! POP->Assert!");
    EXPECT_EQ(one.Count(), 0);
}

}  // namespace
