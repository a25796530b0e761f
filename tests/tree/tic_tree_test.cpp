#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

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
