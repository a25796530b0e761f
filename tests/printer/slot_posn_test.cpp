// The slot-position pass and the source order of a node's print slots, on
// trees built by hand with placed tokens.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/printer/printer_fixture.h"
#include "tests/support/small_stack_run.h"
#include "tests/tree/tree_fixture.h"

namespace {

using vemlo_test::Add;
using vemlo_test::Leaf;
using vemlo_test::P;
using vemlo_test::W;
using vemlo_test::WorkingParserScope;

// The gap tokens of a list: its SEP_SPACE tokens with an empty image.
std::vector<DovTxtPosnRange> Gaps(const DovTokenList& list) {
    std::vector<DovTxtPosnRange> gaps;
    for (const DovToken* t : list)
        if (t->code == SEP_SPACE && t->image.IsEmpty()) gaps.push_back(t->range);
    return gaps;
}

bool Same(const DovTxtPosnRange& a, const DovTxtPosnRange& b) { return a.beg == b.beg && a.end == b.end; }

// MOVE A TO B C on line 5: "MOVE" 11-15, "A" 16-17, "TO" 18-20, "B" 21-22,
// "C" 24-25 (0-based columns, ends one past the last character).
DovExpr* Move() {
    auto* move = new DovExprOper(STMT_MOVE);
    Add(move->ArgSlots(0)->tokens, W("MOVE", 5, 11, 15));
    move->SetArg(0, Leaf("A", 5, 16, 17));
    auto* dests = new DovExprOper(IDENT_LIST);
    dests->AddArg(Leaf("B", 5, 21, 22));
    dests->AddArg(Leaf("C", 5, 24, 25));
    Add(move->ArgSlots(1)->tokens, W("TO", 5, 18, 20));
    move->SetArg(1, dests);
    return move;
}

TEST(SlotPosn, GapTokensWhereThePositionsDiffer) {
    WorkingParserScope parser;
    DovExpr* move = Move();
    const DovTxtPosnRange range = SetSlotPosnOper(move);
    EXPECT_EQ(range.beg, P(5, 11));
    EXPECT_EQ(range.end, P(5, 25));
    // Between a slot's keyword and its argument.
    ASSERT_EQ(Gaps(move->ArgSlots(0)->tokens).size(), 1u);
    EXPECT_TRUE(Same(Gaps(move->ArgSlots(0)->tokens)[0], {P(5, 15), P(5, 16)}));
    ASSERT_EQ(Gaps(move->ArgSlots(1)->tokens).size(), 1u);
    EXPECT_TRUE(Same(Gaps(move->ArgSlots(1)->tokens)[0], {P(5, 20), P(5, 21)}));
    // Between list elements: from the end of the previous one.
    DovExpr* dests = move->Args(1);
    EXPECT_TRUE(Gaps(dests->ArgSlots(0)->tokens).empty());
    ASSERT_EQ(Gaps(dests->ArgSlots(1)->tokens).size(), 1u);
    EXPECT_TRUE(Same(Gaps(dests->ArgSlots(1)->tokens)[0], {P(5, 22), P(5, 24)}));
    // The gap token is appended behind the slot's own tokens.
    EXPECT_EQ(move->ArgSlots(0)->tokens.First()->code, TK_USER_DEFD_WORD);
    EXPECT_EQ(move->ArgSlots(0)->tokens.Last()->code, SEP_SPACE);
    EXPECT_TRUE(parser.Messages().IsEmpty());
    delete move;
}

TEST(SlotPosn, ASecondRunAddsNothing) {
    WorkingParserScope parser;
    DovExpr* move = Move();
    DovSetSlotPosn(move);
    DovSetSlotPosn(move);
    EXPECT_EQ(Gaps(move->ArgSlots(0)->tokens).size(), 1u);
    EXPECT_EQ(Gaps(move->ArgSlots(1)->tokens).size(), 1u);
    EXPECT_EQ(Gaps(move->Args(1)->ArgSlots(1)->tokens).size(), 1u);
    delete move;
}

TEST(SlotPosn, NoGapTokenWhereThePositionsMeetOrAreMissing) {
    WorkingParserScope parser;
    struct Case {
        const char* what;
        DovTxtPosn keywordEnd;  // null: the slot has no tokens
        DovTxtPosn childBeg;    // null: the child has no placed token
        int gaps;
    };
    const Case cases[] = {
        {"meeting", P(5, 16), P(5, 16), 0},
        {"apart", P(5, 15), P(5, 16), 1},
        {"next line", P(5, 15), P(6, 7), 1},
        {"other file", P(5, 15), P(5, 16, 2), 1},
        {"no tokens", DovNullPosn, P(5, 16), 0},
        {"unplaced child", P(5, 15), DovNullPosn, 0},
        {"infinite child", P(5, 15), DovInftyPosn, 0},
        {"infinite keyword", DovInftyPosn, P(5, 16), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* node = new DovExprOper(STMT_MOVE);
        if (c.keywordEnd.IsSet()) {
            Add(node->ArgSlots(0)->tokens,
                new DovToken(TK_USER_DEFD_WORD, "MOVE", DovTxtPosnRange{P(5, 11), c.keywordEnd}));
        }
        auto* leaf = new DovCharString("A");
        if (c.childBeg.IsSet()) {
            auto* t = new DovToken(TK_USER_DEFD_WORD, "A", DovTxtPosnRange{c.childBeg, c.childBeg});
            leaf->Tokens().AppendToken(t);
        }
        node->SetArg(0, leaf);
        SetSlotPosnOper(node);
        const auto gaps = Gaps(node->ArgSlots(0)->tokens);
        ASSERT_EQ(static_cast<int>(gaps.size()), c.gaps);
        if (c.gaps) {
            EXPECT_TRUE(Same(gaps[0], {c.keywordEnd, c.childBeg}));
        }
        delete node;
    }
}

TEST(SlotPosn, AnArgumentWithoutTokensFollowsThePreviousArgument) {
    WorkingParserScope parser;
    auto* node = new DovExprOper(STMT_MOVE);
    node->SetArg(0, Leaf("A", 7, 11, 12));
    node->SetArg(1, Leaf("B", 8, 11, 12));
    SetSlotPosnOper(node);
    EXPECT_TRUE(Gaps(node->ArgSlots(0)->tokens).empty());
    ASSERT_EQ(Gaps(node->ArgSlots(1)->tokens).size(), 1u);
    EXPECT_TRUE(Same(Gaps(node->ArgSlots(1)->tokens)[0], {P(7, 12), P(8, 11)}));
    delete node;
}

TEST(SlotPosn, TheSymbolTableHasNoSourceRange) {
    WorkingParserScope parser;
    DovExpr* program = vemlo_test::NewProgram();
    DovExpr* table = vemlo_test::TableOf(program);
    auto* elt = new DovExprOper(EX_LIST);
    elt->AddArg(Leaf("X", 90, 1, 2));
    elt->AddArg(Leaf("Y", 95, 1, 2));
    table->AddArg(elt);
    program->SetArg(0, Leaf("P", 3, 7, 8));
    const DovTxtPosnRange range = SetSlotPosnOper(program);
    EXPECT_EQ(range.beg, P(3, 7));
    EXPECT_EQ(range.end, P(3, 8));
    // Nothing below the symbol table was touched.
    EXPECT_TRUE(Gaps(elt->ArgSlots(1)->tokens).empty());
    delete program;
}

// A data description entry: its 16 slots that are not derived, with the
// given source order indexes (-1: none), each slot holding one word.
DovExpr* Entry(const std::vector<int>& orders) {
    auto* entry = new DovExprOper(DECL_DD_ENTRY);
    for (int i = 0; i < 16; ++i) {
        const int order = i < static_cast<int>(orders.size()) ? orders[i] : -1;
        entry->SetArg(i, Leaf("w", 20 + i, 11, 12), order, 1);
    }
    return entry;
}

std::vector<int> SlotOrder(const std::vector<DovPrintSlot>& entries) {
    std::vector<int> slots;
    for (const DovPrintSlot& e : entries) slots.push_back(e.index);
    return slots;
}

TEST(SourcePrint, Ordering) {
    struct Case {
        const char* what;
        std::vector<int> orders;
        std::vector<int> slots;
        char rc;
        const char* message;
    };
    const std::vector<int> inSlotOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const Case cases[] = {
        {"no indexes", {}, inSlotOrder, 0, ""},
        {"fixed clauses in order", {0, 1, 2}, inSlotOrder, 0, ""},
        {"free clauses by index",
         {-1, -1, -1, -1, 1, 0, -1, -1, -1, -1, -1, -1, -1, -1, 2},
         {0, 1, 2, 5, 4, 14, 3, 6, 7, 8, 9, 10, 11, 12, 13, 15},
         0,
         ""},
        {"an index skipped",
         {-1, -1, -1, -1, 0, 3},
         {0, 1, 2, 4, 5, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         0,
         ""},
        {"free indexes after the fixed ones", {0, 1, 2, 4, 3}, {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         0, ""},
        {"fixed clauses out of order",
         {0, 2, 1},
         inSlotOrder,
         '3',
         "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY: clause 'Copy before name' has index 2 instead of 1"},
        {"the first problem is kept",
         {1, 2, 0},
         inSlotOrder,
         '3',
         "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY: clause 'Level Number' has index 1 instead of 0"},
        {"an index repeated",
         {-1, -1, -1, -1, 0, 0},
         {0, 1, 2, 4, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         '3',
         "SourcePrint: all_arg_no (16) != ord_arg_no (15)"},
        {"a free index below the fixed ones", {0, 1, 2, 1}, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, '3',
         "SourcePrint: all_arg_no (16) != ord_arg_no (15)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DovExpr* entry = Entry(c.orders);
        std::vector<DovPrintSlot> out;
        VString message;
        EXPECT_EQ(SourcePrint(entry, out, message), c.rc);
        EXPECT_EQ(SlotOrder(out), c.slots);
        EXPECT_STREQ(message.CStr(), c.message);
        for (const DovPrintSlot& e : out) {
            EXPECT_EQ(e.holder, entry);
            EXPECT_EQ(e.slot, entry->ArgSlots(e.index));
        }
        delete entry;
    }
}

TEST(SourcePrint, AMessageAlreadyGivenIsKept) {
    DovExpr* entry = Entry({1, 0});
    std::vector<DovPrintSlot> out;
    VString message = "earlier";
    EXPECT_EQ(SourcePrint(entry, out, message), '3');
    EXPECT_STREQ(message.CStr(), "earlier");
    delete entry;
}

TEST(SourcePrint, ListArgumentsAfterTheFixedClausesGiveOneEntryPerElement) {
    DovExpr* entry = Entry({});
    auto* values = new DovExprOper(EX_LIST);
    for (int i = 0; i < 3; ++i) values->AddArg(Leaf("v", 40, 20 + 3 * i, 21 + 3 * i));
    entry->SetArg(14, values);
    auto* names = new DovExprOper(EX_LIST);  // in a fixed slot: one entry
    names->AddArg(Leaf("n", 41, 11, 12));
    names->AddArg(Leaf("m", 41, 14, 15));
    entry->SetArg(2, names);
    std::vector<DovPrintSlot> out;
    VString message;
    ASSERT_EQ(SourcePrint(entry, out, message), 0) << message.CStr();
    ASSERT_EQ(out.size(), 18u);
    EXPECT_EQ(out[2].slot, entry->ArgSlots(2));
    EXPECT_EQ(out[14].slot, values->ArgSlots(0));
    EXPECT_EQ(out[14].holder, entry);
    EXPECT_EQ(out[14].index, 14);
    EXPECT_EQ(out[15].slot, values->ArgSlots(1));
    EXPECT_EQ(out[15].holder, values);
    EXPECT_EQ(out[15].index, 1);
    EXPECT_EQ(out[16].slot, values->ArgSlots(2));
    EXPECT_EQ(out[16].holder, values);
    EXPECT_EQ(out[16].index, 2);
    EXPECT_EQ(out[17].index, 15);
    delete entry;
}

TEST(SourcePrint, DerivedSlotsAndLeavesGiveNoEntries) {
    auto* entry = new DovExprOper(DECL_DD_ENTRY);
    ASSERT_EQ(entry->NumArgs(), 21);
    std::vector<DovPrintSlot> out;
    VString message;
    EXPECT_EQ(SourcePrint(entry, out, message), 0);
    EXPECT_EQ(out.size(), 16u);
    DovExpr* leaf = Leaf("x", 1, 1, 2);
    EXPECT_EQ(SourcePrint(leaf, out, message), 0);
    EXPECT_TRUE(out.empty());
    auto* empty = new DovExprOper(STMT_LIST);
    EXPECT_EQ(SourcePrint(empty, out, message), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(message.IsEmpty());
    delete entry;
    delete leaf;
    delete empty;
}

TEST(SourcePrint, EveryOperationGivesItsSlotsButTheDerivedOnes) {
    // Fresh slots have no order index: the entries are the slots in slot
    // order, as the catalogue tells which are derived.
    for (int code = 1; code < kDovOperCatalogueSize; ++code) {
        if (!DovOperIsValid(code) || DovOperIsList(code) || DovOperArgCount(code) <= 0) continue;
        SCOPED_TRACE(DovOperName(code));
        auto* node = new DovExprOper(static_cast<DovOper>(code));
        std::vector<int> expected;
        for (int i = 0; i < node->NumArgs(); ++i)
            if (!DovOperArgIsDerived(code, i)) expected.push_back(i);
        std::vector<DovPrintSlot> out;
        VString message;
        EXPECT_EQ(SourcePrint(node, out, message), 0) << message.CStr();
        std::vector<int> indexes;
        for (const DovPrintSlot& e : out) indexes.push_back(e.index);
        EXPECT_EQ(indexes, expected);
        delete node;
    }
}

TEST(SourcePrint, AListOfMoreThan64ElementsGivesEveryOne) {
    auto* list = new DovExprOper(EX_LIST);
    for (int i = 0; i < 130; ++i) list->AddArg(Leaf("v", 1, 1 + 2 * i, 2 + 2 * i));
    std::vector<DovPrintSlot> out;
    VString message;
    ASSERT_EQ(SourcePrint(list, out, message), 0) << message.CStr();
    ASSERT_EQ(out.size(), 130u);
    for (int i = 0; i < 130; ++i) {
        EXPECT_EQ(out[i].slot, list->ArgSlots(i));
        EXPECT_EQ(out[i].holder, list);
        EXPECT_EQ(out[i].index, i);
    }
    delete list;
}

TEST(SlotPosn, MisorderedFixedClausesGiveOneWarningPerNode) {
    WorkingParserScope parser;
    auto* list = new DovExprOper(DECL_DD_LIST);
    list->AddArg(Entry({1, 2, 0}));  // three clauses out of place: one warning
    list->AddArg(Entry({0, 1, 2}));
    list->AddArg(Entry({0, 2, 1}));
    DovSetSlotPosn(list);
    const auto texts = parser.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0],
              "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY: clause 'Level Number' has index 1 instead of 0");
    EXPECT_EQ(texts[1],
              "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY: clause 'Copy before name' has index 2 instead "
              "of 1");
    const DovToken* first = parser.Messages().First();
    EXPECT_EQ(first->code, MSG_WARN);
    EXPECT_EQ(first->Beg(), P(20, 11));  // where the entry begins
    EXPECT_EQ(parser.Messages().Last()->Beg(), P(20, 11));
    // The pass went on: every entry got its gap tokens.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Gaps(list->Args(i)->ArgSlots(1)->tokens).size(), 1u) << i;
    delete list;
}

TEST(SlotPosn, AnEntryThatTheOrderLosesIsReportedAndNotVisited) {
    WorkingParserScope parser;
    DovExpr* entry = Entry({-1, -1, -1, -1, 0, 0});
    DovSetSlotPosn(entry);
    ASSERT_EQ(parser.Texts().size(), 1u);
    EXPECT_EQ(parser.Texts()[0], "SourcePrint: all_arg_no (16) != ord_arg_no (15)");
    EXPECT_EQ(parser.Messages().First()->code, MSG_WARN);
    EXPECT_EQ(parser.Messages().First()->Beg(), P(20, 11));
    // Slot 5 lost its place in the order: it gets no gap token.
    EXPECT_TRUE(Gaps(entry->ArgSlots(5)->tokens).empty());
    EXPECT_EQ(Gaps(entry->ArgSlots(4)->tokens).size(), 1u);
    delete entry;
}

TEST(SlotPosn, WarningsWithoutAWorkingParserGoToTheMessageHook) {
    vemlo_test::MessageCapture capture;
    DovExpr* entry = Entry({0, 2, 1});
    DovSetSlotPosn(entry);
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0].code, MSG_WARN);
    EXPECT_NE(capture.Messages()[0].text.find("SourcePrint: bad order of fixed clauses"), std::string::npos);
    delete entry;
}

TEST(SlotPosn, TheLastPositionIsTheEndOfTheLastPlacedToken) {
    WorkingParserScope parser;
    DovExpr* move = Move();
    Add(move->Tokens(), W(".", 5, 25, 26));
    DovSetSlotPosn(move);
    EXPECT_EQ(DovSlotPosnLastPosn(), P(5, 26));
    // Unplaced tokens do not count.
    auto* bare = new DovExprOper(STMT_LIST);
    Add(bare->Tokens(), new DovToken(SEP_SPACE, " "));
    SetSlotPosnOper(bare);
    EXPECT_EQ(DovSlotPosnLastPosn(), P(5, 26));
    // A new pass starts from the null position.
    DovSetSlotPosn(bare);
    EXPECT_TRUE(DovSlotPosnLastPosn().IsNull());
    delete move;
    delete bare;
}

// A chain far deeper than a pass that calls itself per level could follow
// on a small stack: each MOVE holds the next one as its argument behind its
// keyword, the last one a leaf on the next line.
TEST(SlotPosn, AChainOfAnyDepthIsWalked) {
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([] {
        WorkingParserScope parser;
        constexpr int kDepth = 20000;
        DovExpr* top = vemlo_test::NestedMoves(kDepth, Leaf("A", 2, 11, 12));
        DovExpr* deepest = top;
        for (DovExpr* n = top; n->Oper() == STMT_MOVE; n = n->Args(0)) {
            Add(n->ArgSlots(0)->tokens, W("MOVE", 1, 11, 15));
            deepest = n;
        }

        const DovTxtPosnRange range = SetSlotPosnOper(top);
        EXPECT_EQ(range.beg, P(1, 11));
        EXPECT_EQ(range.end, P(2, 12));
        // Every level gets its gap token: back to the next keyword's begin
        // above the last level, on to the leaf at the last one.
        ASSERT_EQ(Gaps(top->ArgSlots(0)->tokens).size(), 1u);
        EXPECT_TRUE(Same(Gaps(top->ArgSlots(0)->tokens)[0], {P(1, 15), P(1, 11)}));
        ASSERT_EQ(Gaps(deepest->ArgSlots(0)->tokens).size(), 1u);
        EXPECT_TRUE(Same(Gaps(deepest->ArgSlots(0)->tokens)[0], {P(1, 15), P(2, 11)}));
        delete top;
    }));
}

TEST(SlotPosn, ANullRootIsNothing) {
    DovSetSlotPosn(nullptr);
    EXPECT_TRUE(SetSlotPosnOper(nullptr).beg.IsNull());
}

TEST(SlotPosn, TracesAtTheTokenTraceLevel) {
    WorkingParserScope parser;
    parser.Parser().tokenTrace = 2;
    DovExpr* move = Move();
    testing::internal::CaptureStdout();
    DovSetSlotPosn(move);
    const std::string out = testing::internal::GetCapturedStdout();
    for (const char* text : {"\n@SetSlotPosnOper: STMT_MOVE", "$SetSlotPosnOper: toks#", "=SetSlotPosnOper: arg #",
                             "*SetSlotPosnOper: rc ", "+SetSlotPosnOper: add space token ",
                             "+UpdateErrorExpr: set last_posn to "})
        EXPECT_NE(out.find(text), std::string::npos) << text;
    delete move;
}

TEST(UnchangedFromSource, Table) {
    struct Case {
        const char* what;
        int genSrc;
        int flag;
        int unplacedInSlot;   // 0 none, 1 a word, 2 a comment
        int unplacedOwn;
        int result;
    };
    const Case cases[] = {
        {"unchanged", 1, 1, 0, 0, 1},       {"PrettyPrint mode", 0, 1, 0, 0, 0}, {"not from source", 1, 0, 0, 0, 0},
        {"unplaced slot token", 1, 1, 1, 0, 0}, {"unplaced comment", 1, 1, 2, 0, 1}, {"unplaced own token", 1, 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DovPrettyPrinterImpl p;
        p.gen_src = c.genSrc;
        vemlo_test::PrintPass pass(p);
        DovExpr* move = Move();
        move->SetFlag(c.flag);
        if (c.unplacedInSlot)
            Add(move->ArgSlots(1)->tokens, new DovToken(c.unplacedInSlot == 1 ? TK_USER_DEFD_WORD : CM_COMMENT, "X"));
        if (c.unplacedOwn) Add(move->Tokens(), new DovToken(SEP_SPACE, "."));
        EXPECT_EQ(DovUnchangedFromSource(move), c.result);
        delete move;
    }
    vemlo_test::ResetPrintState();
    EXPECT_EQ(DovUnchangedFromSource(nullptr), 0);
}

// Random statement trees with tokens in source order, as a parse leaves
// them: the pass only appends empty SEP_SPACE tokens, each exactly where a
// slot's last position and its child's begin differ, and no node's begin
// position moves.
struct Snapshot {
    std::map<const DovTokenList*, std::vector<DovToken>> lists;
    std::map<const DovExpr*, DovTxtPosn> begins;
};

void Take(DovExpr* node, Snapshot& s) {
    if (!node) return;
    s.begins[node] = DovSrcPosnBeg(node);
    for (const DovToken* t : node->Tokens()) s.lists[&node->Tokens()].push_back(*t);
    s.lists[&node->Tokens()];
    for (int i = 0; i < node->NumArgs(); ++i) {
        DovArgSlot* slot = node->ArgSlots(i);
        s.lists[&slot->tokens];
        for (const DovToken* t : slot->tokens) s.lists[&slot->tokens].push_back(*t);
        Take(slot->arg, s);
    }
}

struct Builder {
    std::mt19937 rng;
    int line = 1;
    int col = 7;
    DovTxtPosnRange Next(int width) {
        if (rng() % 4 == 0) {
            ++line;
            col = 7 + static_cast<int>(rng() % 8);
        }
        col += static_cast<int>(rng() % 3);  // sometimes adjacent
        const DovTxtPosnRange r{P(line, col), P(line, col + width)};
        col += width;
        return r;
    }
    DovToken* Word(const char* image) {
        auto* t = new DovToken(TK_USER_DEFD_WORD, image, Next(static_cast<int>(strlen(image))));
        return t;
    }
    DovExpr* Name() {
        auto* leaf = new DovCharString("N");
        Add(leaf->Tokens(), Word("N"));
        return leaf;
    }
    DovExpr* Statement(int depth) {
        auto* move = new DovExprOper(STMT_MOVE);
        Add(move->ArgSlots(0)->tokens, Word("MOVE"));
        move->SetArg(0, Name());
        auto* dests = new DovExprOper(IDENT_LIST);
        Add(move->ArgSlots(1)->tokens, Word("TO"));
        const int n = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < n; ++i) {
            // A separator stands in front of its element.
            DovToken* comma = i > 0 && rng() % 3 == 0 ? Word(",") : nullptr;
            dests->AddArg(Name());
            if (comma) Add(dests->ArgSlots(i)->tokens, comma);
        }
        move->SetArg(1, dests);
        if (depth > 0 && rng() % 2) {
            auto* list = new DovExprOper(STMT_LIST);
            list->AddArg(move);
            list->AddArg(Statement(depth - 1));
            return list;
        }
        if (rng() % 2) Add(move->Tokens(), Word("."));
        return move;
    }
};

TEST(SlotPosn, RandomTreesOnlyGainGapTokens) {
    WorkingParserScope parser;
    for (unsigned trial = 1; trial <= 200; ++trial) {
        SCOPED_TRACE(trial);
        Builder b{std::mt19937(trial)};
        auto* root = new DovExprOper(STMT_LIST);
        const int n = 1 + static_cast<int>(trial % 5);
        for (int i = 0; i < n; ++i) root->AddArg(b.Statement(3));
        Snapshot before;
        Take(root, before);
        DovSetSlotPosn(root);
        Snapshot after;
        Take(root, after);
        ASSERT_EQ(before.begins, after.begins);
        ASSERT_EQ(before.lists.size(), after.lists.size());
        int added = 0;
        for (const auto& [list, old] : before.lists) {
            const auto& now = after.lists[list];
            ASSERT_GE(now.size(), old.size());
            for (std::size_t i = 0; i < old.size(); ++i) {
                EXPECT_EQ(now[i].code, old[i].code);
                EXPECT_STREQ(now[i].image.CStr(), old[i].image.CStr());
            }
            for (std::size_t i = old.size(); i < now.size(); ++i) {
                EXPECT_EQ(now[i].code, SEP_SPACE);
                EXPECT_TRUE(now[i].image.IsEmpty());
                EXPECT_FALSE(now[i].range.beg == now[i].range.end);
                EXPECT_LE(DovTxtPosnCompare(now[i].range.beg, now[i].range.end), 0);
                ++added;
            }
            EXPECT_LE(now.size() - old.size(), 1u);
        }
        EXPECT_GT(added, 0);
        EXPECT_TRUE(parser.Messages().IsEmpty());
        delete root;
    }
}

}  // namespace
