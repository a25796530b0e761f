#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "tests/support/small_stack_run.h"
#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;

std::string Write(DovExpr* root) {
    std::ostringstream os;
    DovExpr::PutTic(root, os);
    return os.str();
}

char Read(const std::string& text, DovExpr*& root, VString& error) {
    std::istringstream in(text);
    return DovExpr::GetTicTree(in, root, error);
}

// The file-name part of every tree text written by this process.
std::string NamesPart() {
    std::ostringstream os;
    DovNameTable& names = DovSrcFileNames();
    os << names.Count() << "\n";
    for (int i = 0; i < names.Count(); ++i) names.At(i).name.PutTicCounted(os);
    return os.str();
}

TEST(TicTree, SingleNullNode) {
    DovNullNode n;
    n.SetSerial(77);
    std::string text = Write(&n);
    EXPECT_EQ(text, NamesPart() + "1\n\no1:0:0:0:#");
    if (DovSrcFileNames().Count() == 1) {
        EXPECT_EQ(text, "1\n7:-(bad)-1\n\no1:0:0:0:#");
    }
    DovExpr* back = nullptr;
    VString error;
    ASSERT_EQ(Read(text, back, error), 0) << error;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Oper(), NULL_NODE);
    EXPECT_EQ(back->Serial(), 0);
    delete back;
}

DovExpr* Fixture() {
    int file = DovSrcFileNames().FindOrAdd("FIXTURE.cbl", false, true);
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovExprOper(EX_LIST, new DovCharString("B"), nullptr));
    move->ArgSlots(0)->tokens.AddNewToken(RW_MOVE, DovTxtPosn(3000, 300, static_cast<std::uint32_t>(file)), "MOVE");
    move->ArgSlots(1)->code = -3;
    move->ArgSlots(1)->order = 2;
    move->Args(1)->SetFlag(3);
    move->Args(0)->SetFlag(2);
    move->Tokens().AddNewToken(SEP_DOT, DovTxtPosn(3000, 320, static_cast<std::uint32_t>(file)), ".");
    return new DovExprOper(STMT_LIST, move, new DovNullNode);
}

TEST(TicTree, WriteReadWriteIsIdentical) {
    DovExpr* tree = Fixture();
    std::string first = Write(tree);
    DovExpr* back = nullptr;
    VString error;
    ASSERT_EQ(Read(first, back, error), 0) << error;
    EXPECT_EQ(Write(back), first);
    // Flags 2 and 3 and negative slot codes come back as they were.
    DovExpr* move = back->Args(0);
    EXPECT_EQ(move->Args(1)->Flag(), 3);
    EXPECT_EQ(move->Args(0)->Flag(), 2);
    EXPECT_EQ(move->ArgSlots(1)->code, -3);
    EXPECT_EQ(move->ArgSlots(0)->tokens.First()->range.beg.Line(), 3000u);
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(back, &msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty());
    delete tree;
    delete back;
}

struct CorruptCase {
    const char* what;
    std::string text;
    char result;
    const char* message;
};

TEST(TicTree, CorruptInputs) {
    MessageCapture quiet;
    const std::string names = NamesPart();
    const CorruptCase cases[] = {
        {"bad start", names + "1\nxo1:0:0:0:#", '<', "DovExpr::GetTicOp: bad start for operation"},
        {"busy index", names + "3\n\no3:2:0:0:#0:-1:#1\no1:0:0:1:#0:-1:#1\no1:0:0:1:#", '=', "Node with this index busy"},
        {"index out of range", names + "1\n\no1:0:0:5:#", '=', "Node index 5 out of range"},
        {"wrong argument count", names + "1\n\no7:2:0:0:#", '@', "Bad number of args for oper: 2. Expected: 7"},
        {"undefined code", names + "1\n\no1396:0:0:0:#", '@', "Bad number of args for oper: 0. Expected: -1"},
        {"huge list count", names + "1\n\no3:2000000000:0:0:#0:-1:#0", ';', nullptr},
        {"huge node count", names + "99999999999\n\no1:0:0:0:#", 0, nullptr},
        // One large index costs no memory for all the smaller ones.
        {"huge node index", names + "99999999999\n\no1:0:0:2000000000:#", 0, nullptr},
        {"bad arg code", names + "2\n\no3:1:0:0:#0:-1:#7", '<', "DovExprOper::GetTic: bad arg code '7'"},
        {"end of input", names + "2\n\no3:1:0:0:#0:-1:#", '<', nullptr},
        {"negative count", "-1\n", ';', nullptr},
    };
    for (const auto& c : cases) {
        DovExpr* root = reinterpret_cast<DovExpr*>(1);
        VString error;
        char r = Read(c.text, root, error);
        if (c.result) {
            EXPECT_EQ(r, c.result) << c.what << ": " << error;
            EXPECT_EQ(root, nullptr) << c.what;
        }
        if (c.message) {
            EXPECT_TRUE(error == c.message) << c.what << ": " << error;
        }
        delete (r == 0 ? root : nullptr);
        // No map stays in force after a read, failed or not.
        EXPECT_EQ(DovTicFileIndexMap, nullptr) << c.what;
    }
    std::istringstream pos("[3,0,n2]");
    DovTxtPosn p;
    VString error;
    ASSERT_EQ(p.GetTic(pos, error), 0);
    EXPECT_EQ(p.FileIndex(), 2u);
}

// Trees of any depth are written and read back, the text of each level
// before and after its children's in turn: named-object uses, each holding
// the next in its slot, with a category after the slot at every level.
TEST(TicTree, DeepNesting) {
    ASSERT_TRUE(vemlo_test::RunOnSmallStack([] {
        constexpr int kDepth = 20000;
        DovExpr* chain = new DovCharString("A");
        for (int i = 0; i < kDepth; ++i)
            chain = new DovNamedObjUse(chain, i % 2 ? NC_DATA_NAME : NC_PARA_NAME, 0);
        const std::string text = Write(chain);
        delete chain;

        DovExpr* root = nullptr;
        VString error;
        ASSERT_EQ(Read(text, root, error), 0) << error;
        int levels = 0;
        DovExpr* n = root;
        for (; n->Oper() == NAMED_OBJ_USE; n = n->Args(0)) {
            const DovNameCategory want = (kDepth - 1 - levels) % 2 ? NC_DATA_NAME : NC_PARA_NAME;
            ASSERT_EQ(static_cast<DovNamedObjUse*>(n)->Category(), want) << "level " << levels;
            ++levels;
        }
        EXPECT_EQ(levels, kDepth);
        EXPECT_EQ(n->Oper(), CHAR_STRING);
        EXPECT_EQ(Write(root), text);
        delete root;

        // A fault at the bottom fails the read, and what was read goes.
        std::string bad = text;
        bad[bad.rfind("#1")] = '7';  // the last child mark
        root = reinterpret_cast<DovExpr*>(1);
        EXPECT_EQ(Read(bad, root, error), '<');
        EXPECT_EQ(root, nullptr);
    }));
}

TEST(DovCheckTree, SoundAndDuplicated) {
    DovExpr* tree = Fixture();
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(tree, &msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty());
    EXPECT_EQ(tree->Serial(), 0);
    EXPECT_EQ(DovExpr::node_ctr, 6);

    // Force one node into a second slot behind the editing operations' back.
    DovExpr* shared = tree->Args(1);
    DovArgSlot* extra = new DovArgSlot;
    tree->AddArg(nullptr);
    tree->ArgSlots(2)->arg = shared;
    EXPECT_EQ(DovCheckTree(tree, &msgs), '%');
    EXPECT_EQ(vemlo_test::Images(msgs), "NULL_NODE appears in the tree more than one time");
    tree->ArgSlots(2)->arg = nullptr;
    delete extra;
    delete tree;
}

TEST(TicTree, MutatedTextsNeverCrash) {
    MessageCapture quiet;
    DovExpr* tree = Fixture();
    const std::string good = Write(tree);
    delete tree;
    std::mt19937 rng(12345);
    const char alphabet[] = "0123456789:-#o\n[],nsT=&|";
    for (int round = 0; round < 20000; ++round) {
        std::string text = good;
        int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = rng() % text.size();
            switch (rng() % 3) {
                case 0: text[at] = alphabet[rng() % (sizeof alphabet - 1)]; break;
                case 1: text.erase(at, 1 + rng() % 3); break;
                case 2: text.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]); break;
            }
            if (text.empty()) text = "\n";
        }
        DovExpr* root = nullptr;
        VString error;
        if (Read(text, root, error) == 0) delete root;
        ASSERT_EQ(DovTicFileIndexMap, nullptr);
        quiet.Clear();
    }
}

}  // namespace

namespace {

struct NamedFixture {
    DovExpr* prog = nullptr;
    DovNamedObjDef* def = nullptr;
    DovNamedObjUse* use = nullptr;
    DovNameUse* name_use = nullptr;
};

// A program with a symbol table, a definition, a qualified use resolved to
// it and one leaf of every class.
NamedFixture MakeNamed() {
    NamedFixture f;
    int file = DovSrcFileNames().FindOrAdd("NAMED.cbl", false, true);
    f.prog = vemlo_test::NewProgram();
    f.def = DovMakeNamedObjDef("WS-A", NC_DATA_NAME, false, f.prog);
    f.def->Tokens().AddNewToken(TK_USER_DEFD_WORD, DovTxtPosn(12, 11, static_cast<std::uint32_t>(file)), "WS-A");
    auto* elt = static_cast<DovSymTabElt*>(SymTabFind(vemlo_test::TableOf(f.prog), "WS-A"));
    f.name_use = new DovNameUse(DovLink(elt));
    f.use = new DovNamedObjUse(new DovExprOper(OF_IN_LIST, f.name_use), NC_DATA_NAME, 1);
    f.use->SetDefinition(f.def);
    auto* leaves = new DovExprOper(EX_LIST, new DovIntNumConst(-42), new DovRealNumConst("1.5E3"),
                                   new DovStrConst("'DON''T'"), new DovTokenString("TOKEN"),
                                   new DovCharString("CHARS"), new DovNullNode);
    f.prog->SetArg(2, new DovExprOper(EX_LIST, f.def, f.use, leaves), -1, 0);
    return f;
}

TEST(TicTree, EveryNodeClassRoundTrips) {
    NamedFixture f = MakeNamed();
    std::string first = Write(f.prog);
    DovExpr* back = nullptr;
    VString error;
    {
        MessageCapture cap;
        ASSERT_EQ(Read(first, back, error), 0) << error;
        EXPECT_TRUE(cap.Messages().empty()) << cap.Joined();
    }
    EXPECT_EQ(Write(back), first);
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(back, &msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty()) << vemlo_test::Images(msgs);

    DovExpr* list = back->Args(2);
    auto* def = dynamic_cast<DovNamedObjDef*>(list->Args(0));
    auto* use = dynamic_cast<DovNamedObjUse*>(list->Args(1));
    ASSERT_TRUE(def && use);
    EXPECT_EQ(use->Link().target, def);
    EXPECT_EQ(def->Uses().Count(), 1);
    auto* elt = SymTabFind(vemlo_test::TableOf(back), "WS-A");
    ASSERT_NE(elt, nullptr);
    EXPECT_EQ(def->Link().target, elt);
    EXPECT_EQ(elt->Links().Count(), 2);
    EXPECT_EQ(use->Args(0)->Args(0)->Link().target, elt);
    DovExpr* leaves = list->Args(2);
    EXPECT_EQ(leaves->Args(0)->IntValue(), -42);
    EXPECT_TRUE(leaves->Args(2)->Value() == DovStrConst("'DON''T'").Value());
    EXPECT_TRUE(leaves->Args(1)->Image() == "1.5E3");
    delete back;
    delete f.prog;
}

TEST(TicTree, LinksLeavingTheTreeAreWrittenAsNone) {
    NamedFixture f = MakeNamed();
    // Write only the use: its definition lies outside the written subtree.
    DovExpr* use = f.use->DelThis();
    std::string text = Write(use);
    EXPECT_NE(text.find("4294967295:"), std::string::npos);
    DovExpr* back = nullptr;
    VString error;
    ASSERT_EQ(Read(text, back, error), 0) << error;
    EXPECT_EQ(back->Link().target, nullptr);
    delete back;
    delete use;
    delete f.prog;
}

// A writer of its own (as for transformation files) numbers the tree, sets
// the link indexes and writes the root's node text: the links come out as
// the whole-tree writer writes them.
TEST(TicTree, NumberedTreeKeepsItsLinksNodeByNode) {
    NamedFixture f = MakeNamed();
    DovExpr* elt = SymTabFind(vemlo_test::TableOf(f.prog), "WS-A");
    ASSERT_NE(elt, nullptr);
    DovExpr::node_ctr = 0;
    WalkTheTree(f.prog, nullptr, DovNumberNode);
    WalkTheTree(f.prog, nullptr, DovSetLinkIndexes);
    EXPECT_EQ(f.use->Link().index, f.def->Serial());
    EXPECT_EQ(f.def->Link().index, elt->Serial());
    EXPECT_EQ(f.name_use->Link().index, elt->Serial());
    ASSERT_EQ(f.def->Uses().Count(), 1);
    for (const DovLink& l : f.def->Uses()) EXPECT_EQ(l.index, f.use->Serial());
    for (const DovLink& l : elt->Links()) EXPECT_EQ(l.index, l.target->Serial());
    std::ostringstream nodes;
    f.prog->PutTicNode(nodes);
    const std::string whole = Write(f.prog);
    ASSERT_GE(whole.size(), nodes.str().size());
    EXPECT_EQ(whole.substr(whole.size() - nodes.str().size()), nodes.str());

    // Numbering only the use: its definition keeps an old number that is a
    // valid number of this tree all the same, yet it was not numbered here.
    DovExpr* use = f.use->DelThis();
    f.def->SetSerial(1);
    DovExpr::node_ctr = 0;
    WalkTheTree(use, nullptr, DovNumberNode);
    WalkTheTree(use, nullptr, DovSetLinkIndexes);
    EXPECT_EQ(DovExpr::node_ctr, 3);
    EXPECT_EQ(use->Link().index, -1);
    std::ostringstream alone;
    use->PutTicNode(alone);
    EXPECT_NE(alone.str().find("4294967295:"), std::string::npos);
    delete use;
    delete f.prog;
}

TEST(DovCheckTree, LinkOutsideTheTreeIsNullified) {
    NamedFixture f = MakeNamed();
    DovExpr* use = f.use->DelThis();
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(use, &msgs), '%');
    EXPECT_EQ(vemlo_test::Images(msgs),
              "Link at NAMED_OBJ_USE points to non-tree node NAMED_OBJ_DEF. Link nullified."
              "Link at NAME_USE points to non-tree node SYMBOL_TABLE_ELT. Link nullified.");
    EXPECT_EQ(use->Link().target, nullptr);
    EXPECT_EQ(use->Link().index, -1);
    EXPECT_EQ(f.def->Uses().Count(), 0);
    delete use;
    delete f.prog;
}

TEST(DovCheckTree, LinkToAFreedNodeIsNotRead) {
    NamedFixture f = MakeNamed();
    DovExpr* use = f.use->DelThis();
    // Break the tree behind the classes' back: the definition goes while the
    // use still points at it.
    f.def->Links().Clear();
    delete f.def->DelThis();
    use->Link().target = reinterpret_cast<DovExpr*>(f.def);  // now freed memory
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(use, &msgs), '%');
    EXPECT_NE(vemlo_test::Images(msgs).find("points to non-tree node @"), std::string::npos);
    EXPECT_EQ(use->Link().target, nullptr);
    delete use;
    delete f.prog;
}

TEST(TicTree, InconsistentLinksAreRepairedOnReading) {
    MessageCapture cap;
    NamedFixture f = MakeNamed();
    std::string text = Write(f.prog);
    // Drop the definition's back link to the use: "=N:&" becomes "&".
    std::size_t uses = text.find(":=", text.find("\no805:"));
    ASSERT_NE(uses, std::string::npos);
    std::size_t end = text.find('&', uses);
    std::string broken = text.substr(0, uses + 1) + text.substr(end);
    DovExpr* back = nullptr;
    VString error;
    ASSERT_EQ(Read(broken, back, error), 0) << error;
    auto* def = dynamic_cast<DovNamedObjDef*>(back->Args(2)->Args(0));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->Uses().Count(), 1);
    EXPECT_NE(cap.Joined().find("link without its back link"), std::string::npos);
    // Deleting in either order must stay clean under the sanitizers.
    delete back->Args(2)->Args(0)->DelThis();
    delete back;
    delete f.prog;
}

TEST(TicTree, MutatedNamedTreesNeverCrash) {
    // Every mutated file name read is entered in the process's name table,
    // so the rounds are kept moderate.
    MessageCapture quiet;
    NamedFixture f = MakeNamed();
    const std::string good = Write(f.prog);
    delete f.prog;
    std::mt19937 rng(777);
    const char alphabet[] = "0123456789:-#o\n[],nsT=&|";
    for (int round = 0; round < 4000; ++round) {
        std::string text = good;
        std::size_t at = rng() % text.size();
        switch (rng() % 3) {
            case 0: text[at] = alphabet[rng() % (sizeof alphabet - 1)]; break;
            case 1: text.erase(at, 1 + rng() % 2); break;
            case 2: text.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]); break;
        }
        DovExpr* root = nullptr;
        VString error;
        if (Read(text, root, error) == 0) {
            DovTokenList msgs;
            DovCheckTree(root, &msgs);
            delete root;
        }
        quiet.Clear();
    }
}

}  // namespace

namespace {

// A node's line, each slot's line one level deeper (a list's elements
// without slot names), and after a nested argument the next slot back at
// its own level, at any depth.
TEST(DebugDump, NestedArguments) {
    DovExprOper list(EX_LIST, new DovExprOper(EX_LIST, new DovCharString("A")), new DovCharString("B"));
    std::ostringstream os;
    list.Print(os);
    EXPECT_EQ(os.str(),
              "EX_LIST\n"
              " 1. 0.-1. EX_LIST\n"
              " 2. 0.-1. . CHAR_STRING A\n"
              " 1. 1.-1. CHAR_STRING B\n");
    EXPECT_EQ(DovDumpDepth, 0);

    ASSERT_TRUE(vemlo_test::RunOnSmallStack([] {
        constexpr int kDepth = 4000;
        DovExpr* top = vemlo_test::NestedMoves(kDepth, new DovCharString("A"));
        std::ostringstream deep;
        top->Print(deep);
        delete top;
        const std::string text = deep.str();
        // The bottom leaf, then the empty second slot of each MOVE from the
        // deepest up.
        const std::string leaf = std::to_string(kDepth) + ". 0.-1. ";
        EXPECT_NE(text.find(leaf), std::string::npos);
        const std::string last = " 1. 1 -1. MOVE_DESTS: (NULL)\n";
        EXPECT_EQ(text.substr(text.size() - last.size()), last);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 * kDepth + 1);
        EXPECT_EQ(DovDumpDepth, 0);
    }));
}

TEST(DebugDump, Verbosity) {
    DovExprOper move(STMT_MOVE, new DovCharString("A"), nullptr);
    move.ArgSlots(0)->tokens.AddNewToken(RW_MOVE, DovNullPosn, "MOVE");
    move.ArgSlots(0)->order = 3;
    std::ostringstream one;
    move.Print(one);
    EXPECT_EQ(one.str(),
              "STMT_MOVE\n"
              "        . / RW_MOVE MOVE\n"
              " 1. 0. 3. MOVE_SOURCE: CHAR_STRING A\n"
              " 1. 1 -1. MOVE_DESTS: (NULL)\n");
    DovDumpVerbosity = 2;
    std::ostringstream two;
    move.Print(two);
    DovDumpVerbosity = 1;
    EXPECT_NE(two.str().find("STMT_MOVE #" + std::to_string(move.Serial()) + " @"), std::string::npos);

    // The printer's subdivisions and the slot numbers: signed in decimal,
    // their 16-bit pattern in hexadecimal.
    int subdivs[] = {3, -1};
    move.SetSubdivs(subdivs, 2);
    std::ostringstream dec;
    move.Print(dec);
    std::ostringstream hex;
    hex << std::hex;
    move.Print(hex);
    move.SetSubdivs(nullptr, 0);
    EXPECT_EQ(dec.str().substr(0, dec.str().find('\n')), "STMT_MOVE SD[2]: 3 -1 ");
    EXPECT_EQ(hex.str(),
              "STMT_MOVE SD[2]: 3 ffff \n"
              "        . / RW_MOVE MOVE\n"
              " 1. 0. 3. MOVE_SOURCE: CHAR_STRING A\n"
              " 1. 1 ffff. MOVE_DESTS: (NULL)\n");
}

}  // namespace
