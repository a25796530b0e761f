#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;
using vemlo_test::Word;

// The first positional operation with exactly n argument slots.
DovOper PositionalWith(int n) {
    for (int c = 1; c <= 1400; ++c)
        if (!DovOperIsList(static_cast<DovOper>(c)) && DovOperArgCount(static_cast<DovOper>(c)) == n)
            return static_cast<DovOper>(c);
    return NULL_NODE;
}

TEST(DovExpr, NewNodesAndSerialNumbers) {
    DovNullNode a;
    DovNullNode b;
    EXPECT_EQ(b.Serial(), a.Serial() + 1);
    EXPECT_FALSE(a.GenBeg().IsSet());
    EXPECT_FALSE(a.GenEnd().IsSet());
    EXPECT_EQ(a.PrintedLength(), 0);
    EXPECT_EQ(a.Flag(), 0);
    EXPECT_EQ(a.Parent(), nullptr);
    EXPECT_TRUE(a.Tokens().IsEmpty());
    EXPECT_EQ(a.IsNull(), 1);
    // Lines of any length: the printed length is kept whole.
    a.SetPrintedLength(100000);
    EXPECT_EQ(a.PrintedLength(), 100000);
    a.SetPrintedLength(-100000);
    EXPECT_EQ(a.PrintedLength(), -100000);
}

TEST(DovExpr, CopyIsDeepAndKeepsSerial) {
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovExprOper(EX_LIST, new DovCharString("B")));
    DovToken* kw = Word("MOVE");
    move->ArgSlots(0)->tokens.AppendToken(kw);
    DovToken* tail = Word("X");
    move->Tokens().AppendToken(tail);
    move->ArgSlots(1)->order = 4;
    move->ArgSlots(1)->code = 9;
    DovExpr* copy = move->Copy();
    EXPECT_EQ(copy->Serial(), move->Serial());
    EXPECT_EQ(copy->Parent(), nullptr);
    ASSERT_EQ(copy->NumArgs(), 2);
    EXPECT_NE(copy->Args(0), move->Args(0));
    EXPECT_EQ(copy->Args(0)->Parent(), copy);
    EXPECT_EQ(copy->Args(1)->Args(0)->Parent(), copy->Args(1));
    EXPECT_EQ(copy->ArgSlots(1)->order, 4);
    EXPECT_EQ(copy->ArgSlots(1)->code, 9);
    EXPECT_FALSE(copy->ArgSlots(0)->tokens.IsEmpty());
    delete move;
    EXPECT_TRUE(copy->Args(0)->Image() == "A");
    EXPECT_TRUE(copy->Args(1)->Args(0)->Image() == "B");
    delete copy;
}

TEST(DovExprOper, PrinterFields) {
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    EXPECT_EQ(move->SubdivCount(), 0);
    EXPECT_EQ(move->Subdivs(), nullptr);
    EXPECT_EQ(move->SubdivWidth(0), 0);
    EXPECT_EQ(move->PrinterMark(), 0);
    const int widths[] = {4, 7, 2};
    move->SetSubdivs(widths, 3);
    move->SetPrinterMark(12);
    ASSERT_EQ(move->SubdivCount(), 3);
    EXPECT_EQ(move->Subdivs()[2], 2);
    EXPECT_EQ(move->SubdivWidth(1), 7);
    EXPECT_EQ(move->SubdivWidth(3), 0);
    EXPECT_EQ(move->SubdivWidth(-1), 0);
    EXPECT_EQ(move->PrinterMark(), 12);
    // Every node keeps its own fields; a copy has the widths, not the mark.
    auto* other = new DovExprOper(STMT_GOTO);
    EXPECT_EQ(other->SubdivCount(), 0);
    EXPECT_EQ(other->PrinterMark(), 0);
    auto* copy = static_cast<DovExprOper*>(move->Copy());
    ASSERT_EQ(copy->SubdivCount(), 3);
    EXPECT_EQ(copy->SubdivWidth(0), 4);
    EXPECT_EQ(copy->PrinterMark(), 0);
    // Replacing the widths of one leaves the other's.
    const int one[] = {9};
    copy->SetSubdivs(one, 1);
    EXPECT_EQ(copy->SubdivCount(), 1);
    EXPECT_EQ(move->SubdivCount(), 3);
    move->SetSubdivs(nullptr, 0);
    EXPECT_EQ(move->SubdivCount(), 0);
    EXPECT_EQ(move->Subdivs(), nullptr);
    EXPECT_EQ(move->PrinterMark(), 12);
    delete move;
    delete other;
    EXPECT_EQ(copy->SubdivWidth(0), 9);
    delete copy;
    // A node made after the deletions starts without fields, wherever it is.
    for (int i = 0; i < 4; ++i) {
        auto* fresh = new DovExprOper(STMT_MOVE);
        EXPECT_EQ(fresh->SubdivCount(), 0);
        EXPECT_EQ(fresh->PrinterMark(), 0);
        fresh->SetPrinterMark(i + 1);
        delete fresh;
    }
}

// Lengths that fit 16 bits stay in the node; the others go to the printer
// table. Either way a node reads back what it was given, a copy takes it,
// and a node made where a deleted one stood starts at 0.
TEST(DovExpr, PrintedLengthsOfEveryRange) {
    const int lengths[] = {0, 1, -1, 32767, -32767, -32768, 32768, 100000, -100000, INT32_MAX, INT32_MIN};
    for (int len : lengths) {
        for (int oper = 0; oper < 2; ++oper) {
            SCOPED_TRACE(testing::Message() << "length " << len << (oper ? " operator node" : " leaf"));
            DovExpr* node = oper ? static_cast<DovExpr*>(new DovExprOper(STMT_MOVE)) : new DovCharString("A");
            node->SetPrintedLength(len);
            EXPECT_EQ(node->PrintedLength(), len);
            DovExpr* copy = node->Copy();
            EXPECT_EQ(copy->PrintedLength(), len);
            // Back and forth across the boundary.
            node->SetPrintedLength(7);
            EXPECT_EQ(node->PrintedLength(), 7);
            node->SetPrintedLength(len);
            EXPECT_EQ(node->PrintedLength(), len);
            copy->SetPrintedLength(40000);
            EXPECT_EQ(node->PrintedLength(), len);
            EXPECT_EQ(copy->PrintedLength(), 40000);
            delete node;
            EXPECT_EQ(copy->PrintedLength(), 40000);
            delete copy;
            DovExpr* fresh = oper ? static_cast<DovExpr*>(new DovExprOper(STMT_MOVE)) : new DovCharString("B");
            EXPECT_EQ(fresh->PrintedLength(), 0);
            if (oper) {
                EXPECT_EQ(static_cast<DovExprOper*>(fresh)->SubdivCount(), 0);
            }
            delete fresh;
        }
    }
}

// The slot count is the slot array's length: it follows every edit, and
// nodes without slots have none.
TEST(DovExpr, SlotCountFollowsTheSlots) {
    for (DovExpr* leaf : {static_cast<DovExpr*>(new DovNullNode), static_cast<DovExpr*>(new DovCharString("A"))}) {
        EXPECT_EQ(leaf->NumArgs(), 0);
        delete leaf;
    }
    DovExprOper list(EX_LIST);
    EXPECT_EQ(list.NumArgs(), 0);
    for (int i = 1; i <= 9; ++i) {
        list.AddArg(new DovCharString("x"));
        EXPECT_EQ(list.NumArgs(), i);
    }
    list.InsArg(new DovCharString("y"), 0);
    EXPECT_EQ(list.NumArgs(), 10);
    delete list.DelArg(0, 1, 0);
    EXPECT_EQ(list.NumArgs(), 9);
    delete list.DelArg(0, 0, 0);
    EXPECT_EQ(list.NumArgs(), 9);
    delete list.DelArgSlot(8, 1, 0);
    EXPECT_EQ(list.NumArgs(), 8);
    DovExpr* copy = list.Copy();
    EXPECT_EQ(copy->NumArgs(), 8);
    delete copy;
    const DovOper three = PositionalWith(3);
    ASSERT_NE(three, NULL_NODE);
    DovExprOper fixed(three);
    EXPECT_EQ(fixed.NumArgs(), 3);
    const DovOper one = PositionalWith(1);
    ASSERT_NE(one, NULL_NODE);
    fixed.SetOper(one, 0, 1);
    EXPECT_EQ(fixed.NumArgs(), 1);
}

// A program or a file deletes its symbol table before its other children.
// In every order the references from outside the deleted tree are cut and
// those inside leave nothing behind.
TEST(DovExprOper, DeletingATreeWithItsSymbolTable) {
    struct Case {
        DovOper oper;
        int table_at;
    };
    const Case cases[] = {
        {COBOL_PROGRAM, kDovProgSymbolTableArg}, {COBOL_FILE, kDovFileSymbolTableArg}, {EX_LIST, 0}, {EX_LIST, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << DovOperName(c.oper) << ", table in slot " << c.table_at);
        auto* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
        auto* elt = new DovSymTabElt("ITEM", NC_DATA_NAME, DovLinkList());
        table->AddArg(elt);
        auto* def = new DovNamedObjDef(NC_DATA_NAME, DovLink(elt), DovLinkList());
        auto* use = new DovNamedObjUse(new DovNameUse(DovLink(elt)), NC_DATA_NAME, 0);
        use->SetDefinition(def);
        DovExpr* parts[3] = {def, use, new DovExprOper(EX_LIST, new DovNameUse(DovLink(elt)))};
        auto* root = new DovExprOper(c.oper);
        const int slots = root->NumArgs() > 0 ? root->NumArgs() : 4;
        ASSERT_LT(c.table_at, slots);
        for (int i = 0, part = 0; i < slots; ++i) {
            DovExpr* child = i == c.table_at ? table : part < 3 ? parts[part++] : nullptr;
            if (DovOperIsList(c.oper))
                root->AddArg(child);
            else
                root->SetArg(i, child);
        }
        // References from outside the tree, to the element and to the
        // definition.
        DovNameUse outside_use{DovLink(elt)};
        DovNamedObjUse outside_obj(nullptr, NC_DATA_NAME, 0);
        outside_obj.SetDefinition(def);
        EXPECT_EQ(elt->References().Count(), 4);
        delete root;
        EXPECT_EQ(outside_use.Link().target, nullptr);
        EXPECT_EQ(outside_obj.Link().target, nullptr);
    }
}

TEST(DovExpr, OperationsAClassDoesNotCarry) {
    MessageCapture cap;
    DovExprOper move(STMT_MOVE);
    const std::string head = "at expr node STMT_MOVE #" + std::to_string(move.Serial()) + " with 2 args: ";
    EXPECT_EQ(move.Image().Len(), 0);
    EXPECT_EQ(cap.Joined(), "Image() " + head + "this function must not be called");
    EXPECT_EQ(cap.Messages()[0].code, MSG_SEVERE);
    cap.Clear();
    EXPECT_EQ(move.IntValue(), -1);
    EXPECT_EQ(move.SetImage("x"), '!');
    DovLink& link = move.Link();
    EXPECT_EQ(link.target, nullptr);
    EXPECT_EQ(link.index, -1);
    EXPECT_TRUE(move.Links().IsEmpty());
    EXPECT_EQ(cap.Joined(), "IntValue() " + head + "this function must not be called\nSetImage() " + head +
                                "this function must not be called\nLink() " + head +
                                "this function must not be called\nLinks() " + head +
                                "this function must not be called");
    cap.Clear();
    DovNullNode leaf;
    EXPECT_EQ(leaf.FindArg(&move), -1);
    EXPECT_EQ(leaf.Args(0), nullptr);
    EXPECT_EQ(cap.Messages().size(), 2u);
}

DovExpr* g_recursive_node = nullptr;

TEST(DovExpr, RecursiveReportsAreCut) {
    DovNullNode leaf;
    g_recursive_node = &leaf;
    std::vector<std::string> seen;
    static std::vector<std::string>* out;
    out = &seen;
    DovMessageCallback saved = DovMessageHook;
    DovMessageHook = [](int, const DovTxtPosn&, const VString& text) {
        out->push_back(text.CStr());
        if (out->size() == 1) g_recursive_node->Value();  // a report raised while reporting
    };
    leaf.Image();
    DovMessageHook = saved;
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], "Recursive error calls -- cut them");
}

TEST(DovExprOper, SlotsFollowTheCatalogue) {
    DovExprOper prog(COBOL_PROGRAM);
    EXPECT_EQ(prog.NumArgs(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(prog.Args(i), nullptr);
    DovExprOper list(EX_LIST);
    EXPECT_EQ(list.NumArgs(), 0);

    // Fewer children than slots: every slot is there, the rest empty.
    DovOper three = PositionalWith(3);
    MessageCapture cap;
    DovExprOper few(three, new DovNullNode, new DovNullNode);
    EXPECT_EQ(few.NumArgs(), 3);
    EXPECT_EQ(few.Args(2), nullptr);
    EXPECT_TRUE(cap.Messages().empty());
    // More children than slots are kept, with a report.
    DovExprOper many(PositionalWith(1), new DovNullNode, new DovNullNode);
    EXPECT_EQ(many.NumArgs(), 2);
    EXPECT_NE(cap.Joined().find("bad arg_no, must be 1"), std::string::npos);
}

TEST(DovExprOper, SlotEditing) {
    MessageCapture cap;
    DovExprOper list(EX_LIST);
    auto* a = new DovCharString("A");
    list.AddArg(a);
    EXPECT_EQ(list.NumArgs(), 1);
    EXPECT_EQ(a->Parent(), &list);
    DovNullNode refused;
    list.InsArg(&refused, 3);
    EXPECT_NE(cap.Joined().find("arg #3 is not available."), std::string::npos);
    EXPECT_EQ(list.NumArgs(), 1);
    EXPECT_EQ(refused.Parent(), nullptr);

    DovToken* t = Word("T");
    list.ArgSlots(0)->tokens.AppendToken(t);
    DovExpr* got = list.DelArg(0, -1, 0);
    EXPECT_EQ(got, a);
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(list.NumArgs(), 0);
    delete a;

    DovExprOper move(STMT_MOVE);
    move.SetArg(0, new DovCharString("X"), 5, 7);
    EXPECT_EQ(move.ArgSlots(0)->order, 5);
    EXPECT_EQ(move.ArgSlots(0)->code, 7);
    move.SetArg(0, new DovCharString("Y"), -1, 0);
    EXPECT_EQ(move.ArgSlots(0)->order, 5);
    EXPECT_EQ(move.ArgSlots(0)->code, 7);
    DovExpr* y = move.DelArg(0, -1, 0);
    EXPECT_EQ(move.NumArgs(), 2);
    EXPECT_EQ(move.Args(0), nullptr);
    EXPECT_EQ(move.ArgSlots(0)->order, 5);
    delete y;
    EXPECT_EQ(move.FindArg(&list), -1);
}

TEST(DovExprOper, StoringANodeInItsOwnSlotKeepsIt) {
    DovExprOper move(STMT_MOVE);
    auto* x = new DovCharString("X");
    move.SetArg(0, x, -1, 0);
    move.SetArg(0, x, 3, 2);
    EXPECT_EQ(move.Args(0), x);
    EXPECT_TRUE(x->Image() == "X");
    EXPECT_EQ(move.ArgSlots(0)->order, 3);
}

TEST(DovExprOper, AttachingANodeThatHasAParentMovesIt) {
    MessageCapture cap;
    DovExprOper from(EX_LIST);
    DovExprOper to(STMT_MOVE);
    auto* x = new DovCharString("X");
    from.AddArg(x);
    to.SetArg(1, x, -1, 0);
    EXPECT_NE(cap.Joined().find("attaching node CHAR_STRING that has non-null parent."), std::string::npos);
    EXPECT_EQ(x->Parent(), &to);
    EXPECT_EQ(from.Args(0), nullptr);
}

TEST(DovExprOper, CyclesAreRefused) {
    MessageCapture cap;
    auto* root = new DovExprOper(EX_LIST);
    auto* mid = new DovExprOper(EX_LIST);
    root->AddArg(mid);
    mid->AddArg(root);
    mid->AddArg(mid);
    EXPECT_EQ(mid->NumArgs(), 0);
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_NE(cap.Joined().find("own subtree"), std::string::npos);
    delete root;
}

TEST(DovExprOper, DeletingAnAttachedNodeClearsItsSlot) {
    MessageCapture cap;
    DovExprOper move(STMT_MOVE);
    auto* x = new DovCharString("X");
    move.SetArg(0, x, -1, 0);
    delete x;
    EXPECT_EQ(move.Args(0), nullptr);
    EXPECT_NE(cap.Joined().find("DovExpr::~DovExpr at expr node CHAR_STRING"), std::string::npos);
    EXPECT_NE(cap.Joined().find("deleting node that is being pointed to"), std::string::npos);
}

TEST(DovExprOper, SetOper) {
    MessageCapture cap;
    DovOper three = PositionalWith(3);
    DovOper one = PositionalWith(1);
    DovExprOper n(three, new DovNullNode, new DovCharString("B"), nullptr);
    n.SetOper(one, 0, 0);
    EXPECT_EQ(n.Oper(), one);
    EXPECT_EQ(n.NumArgs(), 3);
    EXPECT_NE(cap.Joined().find("new arg_no 1 is not equal to old arg_no"), std::string::npos);
    cap.Clear();
    n.SetOper(one, 0, 1);
    EXPECT_EQ(n.NumArgs(), 1);
    EXPECT_NE(cap.Joined().find("arg #1 is not NULL"), std::string::npos);
    EXPECT_EQ(cap.Joined().find("arg #2"), std::string::npos);
    cap.Clear();
    n.SetOper(three, 0, 1);
    EXPECT_EQ(cap.Joined().find("Growing nodes not allowed") != std::string::npos, true);
    n.SetOper(EX_LIST, 0, 0);
    EXPECT_NE(cap.Joined().find("changing the List/Positional kind of oper"), std::string::npos);
}

TEST(DovExprOper, Siblings) {
    MessageCapture cap;
    DovExprOper list(EX_LIST, new DovCharString("A"), new DovCharString("B"));
    auto* b_oper = new DovExprOper(EX_LIST);
    list.ReplThis(nullptr);  // a root: no parent
    EXPECT_NE(cap.Joined().find("no parent"), std::string::npos);
    delete list.Args(1)->ReplThis(b_oper);
    EXPECT_EQ(list.Args(1), b_oper);
    b_oper->InsSibAfter(new DovCharString("C"));
    ASSERT_EQ(list.NumArgs(), 3);
    EXPECT_TRUE(list.Args(2)->Image() == "C");
    b_oper->InsSibBefore(new DovCharString("AB"));
    EXPECT_TRUE(list.Args(1)->Image() == "AB");
    EXPECT_EQ(list.Args(0)->NextSib(), list.Args(1));
    EXPECT_EQ(list.Args(3)->PrevSib(), list.Args(2));
    cap.Clear();
    EXPECT_EQ(list.Args(3)->NextSib(), nullptr);
    EXPECT_NE(cap.Joined().find("no next sibling"), std::string::npos);
    EXPECT_EQ(list.Args(0)->PrevSib(), nullptr);
    EXPECT_NE(cap.Joined().find("no previous sibling"), std::string::npos);
    cap.Clear();
    DovExprOper root(EX_LIST);
    DovNullNode refused;
    root.InsSibAfter(&refused);
    EXPECT_NE(cap.Joined().find("no parent"), std::string::npos);
    EXPECT_EQ(refused.Parent(), nullptr);
}

TEST(DovExprOper, ReplThisNullInListAndFixedParents) {
    DovExprOper list(EX_LIST, new DovCharString("A"), new DovCharString("B"));
    delete list.Args(0)->ReplThis(nullptr);
    EXPECT_EQ(list.NumArgs(), 1);
    DovExprOper move(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    delete move.Args(0)->ReplThis(nullptr);
    EXPECT_EQ(move.NumArgs(), 2);
    EXPECT_EQ(move.Args(0), nullptr);
}

struct HookEvent {
    int kind;
    int index;
};
std::vector<HookEvent>* g_events;

TEST(DovExprOper, TreeChangeHookOrder) {
    std::vector<HookEvent> events;
    g_events = &events;
    DovTreeChangeHook = [](int kind, DovExpr*, DovExpr*, int index, const VString&) {
        g_events->push_back({kind, index});
    };
    DovExprOper list(EX_LIST);
    events.clear();
    list.InsArg(new DovNullNode, 0);
    list.SetArg(0, new DovNullNode, -1, 0);
    delete list.DelArg(0, 1, 0);
    DovTreeChangeHook = nullptr;
    std::vector<std::pair<int, int>> got;
    for (auto e : events) got.push_back({e.kind, e.index});
    std::vector<std::pair<int, int>> want = {{3, 0}, {1, 0}, {2, 0}, {1, 0}, {2, 0}, {4, 0}};
    EXPECT_EQ(got, want);
}

TEST(DovListExpr, Joins) {
    MessageCapture cap;
    auto* a = new DovExprOper(EX_LIST, new DovCharString("1"), new DovCharString("2"));
    auto* b = new DovExprOper(EX_LIST, new DovCharString("3"));
    DovToken* t = Word("T");
    b->ArgSlots(0)->tokens.AppendToken(t);
    DovExpr* j = DovListExpr(EX_LIST, a, b);
    ASSERT_EQ(j, a);
    ASSERT_EQ(a->NumArgs(), 3);
    EXPECT_TRUE(a->Args(2)->Image() == "3");
    EXPECT_FALSE(a->ArgSlots(2)->tokens.IsEmpty());

    DovExpr* two = DovListExpr(EX_LIST, new DovCharString("x"), new DovCharString("y"));
    EXPECT_EQ(two->Oper(), EX_LIST);
    EXPECT_EQ(two->NumArgs(), 2);
    DovExpr* grown = DovListExpr(EX_LIST, two, new DovNullNode);
    EXPECT_EQ(grown, two);
    EXPECT_EQ(two->NumArgs(), 2);
    DovExpr* front = DovListExpr(EX_LIST, new DovCharString("w"), two);
    EXPECT_EQ(front, two);
    EXPECT_TRUE(two->Args(0)->Image() == "w");
    DovExpr* one = DovListExpr(EX_LIST, new DovCharString("z"));
    EXPECT_EQ(one->NumArgs(), 1);
    EXPECT_EQ(DovListExpr(EX_LIST, nullptr, nullptr), nullptr);
    EXPECT_TRUE(cap.Messages().empty());
    DovExpr* bad = DovListExpr(STMT_MOVE, new DovCharString("p"), new DovCharString("q"));
    EXPECT_NE(cap.Joined().find("DovListExpr: oper STMT_MOVE is not a list oper"), std::string::npos);
    EXPECT_EQ(bad->NumArgs(), 2);
    for (DovExpr* e : {j, two, one, bad}) delete e;
}

TEST(TreeSearch, EnclosingAndLast) {
    auto* prog = new DovExprOper(COBOL_PROGRAM);
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    auto* sentence = new DovExprOper(SENTENCE);
    auto* stmts = new DovExprOper(STMT_LIST, move);
    sentence->SetArg(0, stmts, -1, 0);
    prog->SetArg(3, sentence, -1, 0);
    DovExpr* a = move->Args(0);
    EXPECT_EQ(DovEnclosingEntry(a), move);
    EXPECT_EQ(DovEnclosingEntry(sentence), nullptr);
    EXPECT_EQ(DovExprRoot(a), prog);
    EXPECT_EQ(DovEnclosingOper(a, SENTENCE), sentence);
    EXPECT_EQ(DovEnclosingList(a), stmts);
    EXPECT_EQ(DovFindOperBelow(prog, STMT_MOVE), move);
    EXPECT_EQ(DovExprContains(prog, a), 1);
    EXPECT_EQ(DovIsLastInSentence(move), 1);
    stmts->AddArg(new DovExprOper(STMT_MOVE));
    EXPECT_EQ(DovIsLastInSentence(move), 0);
    delete prog;
}

TEST(TreeEdit, DropNullsExaminesEveryListElement) {
    // Consecutive removals: the element that moves into a freed index must
    // be looked at too.
    auto* list = new DovExprOper(EX_LIST, new DovNullNode, new DovNullNode, new DovCharString("K"),
                                 new DovNullNode, new DovNullNode);
    DovDropNullNodes(list);
    ASSERT_EQ(list->NumArgs(), 1);
    EXPECT_TRUE(list->Args(0)->Image() == "K");
    delete list;

    auto* outer = new DovExprOper(EX_LIST, new DovExprOper(EX_LIST, new DovNullNode),
                                  new DovExprOper(EX_LIST, new DovNullNode), new DovCharString("K"));
    DovDropNullListArgs(outer);
    ASSERT_EQ(outer->NumArgs(), 1);
    EXPECT_TRUE(outer->Args(0)->Image() == "K");
    delete outer;

    DovExpr* none = nullptr;
    DovFillNullArgs(none);
    EXPECT_EQ(none->Oper(), NULL_NODE);
    delete none;
    DovExpr* move = new DovExprOper(STMT_MOVE);
    DovFillNullArgs(move);
    EXPECT_EQ(move->Args(1)->Oper(), NULL_NODE);
    delete move;
}

TEST(TreeEdit, SpliceList) {
    auto* inner = new DovExprOper(EX_LIST, new DovCharString("b"), new DovCharString("c"));
    auto* outer = new DovExprOper(EX_LIST, new DovCharString("a"), inner, new DovCharString("d"));
    DovSpliceList(inner);
    ASSERT_EQ(outer->NumArgs(), 4);
    const char* want[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(outer->Args(i)->Image() == want[i]);
        EXPECT_EQ(outer->Args(i)->Parent(), outer);
    }
    delete outer;
}

}  // namespace
