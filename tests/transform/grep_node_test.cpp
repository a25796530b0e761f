// The grep at the nodes of a tree: the match messages with and without the
// source line, the node without a position, find-only runs, the node dump
// and an unreadable source. The tree stands in for a parsed file: it is
// built from the real lexer's tokens of a fixture file on disk, with their
// real positions, so that the source lines are read from that file.
#include <gtest/gtest.h>

#include <string>

#include "tests/transform/grep_test_util.h"
#include "tests/transform/query_corpus_tree.h"
#include "transform/transform.h"
#include "lbase/fast_ostream.h"
#include "tree/leaf.h"

namespace {

using vemlo_test::GrepRun;
using vemlo_test::Messages;
using vemlo_test::Printed;
using vemlo_test::ScratchDir;
using Strings = std::vector<std::string>;

const char* const kSourceLines[] = {
    "       IDENTIFICATION DIVISION.",
    "       PROGRAM-ID. GREPFIX.",
    "       PROCEDURE DIVISION.",
    "       MAIN-PARA.",
    "           MOVE 1 TO WS-A.",
    "           DISPLAY WS-A.",
    "           IF WS-A = 1",
    "              MOVE 2 TO WS-B.",
    "      *    MOVE 9 TO WS-C.",
    "           ADD 1 TO WS-A.  MOVE 3 TO WS-C.",
    "           STOP RUN.",
};

struct Fixture {
    ScratchDir dir;
    std::string path;
    DovExpr* root = nullptr;
    // The fixture's lines, each with `suffix` appended.
    explicit Fixture(const std::string& suffix = "") {
        std::string text;
        for (const char* line : kSourceLines) text += std::string(line) + suffix + "\n";
        path = dir.Write("GREPFIX.CBL", text);
        root = vemlo_test::BuildCorpusTree(path, dir.Path().string());
    }
    ~Fixture() { delete root; }
};

std::vector<DovExpr*> NodesOf(DovExpr* root, DovOper op) {
    std::vector<DovExpr*> out;
    for (DovExpr* n : vemlo_test::TreeNodes(root))
        if (n->Oper() == op) out.push_back(n);
    return out;
}

// Runs the grep over the fixture's tree as the driver does: Prepare, then
// ApplyAll with the apply flag.
std::string RunGrep(Fixture& f, const char* query, int print_src, int apply, DovTokenList& msgs) {
    WyrGrep grep;
    grep.query_text = query;
    grep.print_src = print_src;
    EXPECT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    EXPECT_EQ(grep.ApplyAll(f.root, apply, &msgs, nullptr), 0);
    return Printed(msgs);
}

TEST(GrepNodes, SourceLinesInWalkOrder) {
    Fixture f;
    ASSERT_NE(f.root, nullptr);
    DovTokenList msgs;
    const std::string printed = RunGrep(f, "STMT_MOVE OR STMT_ADD", 1, 1, msgs);
    const std::string& p = f.path;
    EXPECT_EQ(printed, p + ":5:12:            MOVE 1 TO WS-A.\n" +
                           p + ":8:15:               MOVE 2 TO WS-B.\n" +
                           p + ":10:12:            ADD 1 TO WS-A.  MOVE 3 TO WS-C.\n" +
                           p + ":10:28:            ADD 1 TO WS-A.  MOVE 3 TO WS-C.\n");
    for (const DovToken* t : msgs) EXPECT_EQ(t->code, MSG_INFO);
}

TEST(GrepNodes, FoundWithoutPrintSrc) {
    Fixture f;
    ASSERT_NE(f.root, nullptr);
    DovTokenList msgs;
    const std::string printed = RunGrep(f, "STMT_MOVE", 0, 1, msgs);
    const std::string& p = f.path;
    EXPECT_EQ(printed, p + ":5:12: Found\n" + p + ":8:15: Found\n" + p + ":10:28: Found\n");
}

TEST(GrepNodes, FindOnlyLeavesNoMessages) {
    Fixture f;
    ASSERT_NE(f.root, nullptr);
    DovTokenList msgs;
    EXPECT_EQ(RunGrep(f, "STMT_MOVE", 1, 0, msgs), "");
    EXPECT_TRUE(msgs.IsEmpty());

    // At one node: a match is 0 all the same, no match 'A'.
    WyrGrep grep;
    grep.query_text = "STMT_MOVE";
    ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    DovExprOper move(STMT_MOVE), other(STMT_IF);
    EXPECT_EQ(grep.TransformNode(&move, 0, &msgs, nullptr), 0);
    EXPECT_EQ(grep.TransformNode(&other, 0, &msgs, nullptr), 'A');
    EXPECT_EQ(grep.TransformNode(&other, 1, &msgs, nullptr), 'A');
    EXPECT_TRUE(msgs.IsEmpty());
}

TEST(GrepNodes, UnknownPosition) {
    for (int print_src : {1, 0}) {
        SCOPED_TRACE(print_src);
        WyrGrep grep;
        grep.query_text = "STMT_MOVE";
        grep.print_src = print_src;
        DovTokenList msgs;
        ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
        // A node without tokens, and one whose token has no position.
        DovExprOper bare(STMT_MOVE);
        DovExprOper unplaced(STMT_MOVE);
        DovToken* token = new DovToken(TK_USER_DEFD_WORD, "X", {DovTxtPosn(0, 0, 3), DovTxtPosn(0, 0, 3)});
        unplaced.Tokens().AppendToken(token);
        EXPECT_EQ(grep.TransformNode(&bare, 1, &msgs, nullptr), 0);
        EXPECT_EQ(grep.TransformNode(&unplaced, 1, &msgs, nullptr), 0);
        EXPECT_EQ(Messages(msgs), (Strings{"INFO|(unknown_posn): Found", "INFO|(unknown_posn): Found"}));
        EXPECT_EQ(Printed(msgs), "(unknown_posn): Found\n(unknown_posn): Found\n");
    }
}

TEST(GrepNodes, NodeDump) {
    Fixture f;
    ASSERT_NE(f.root, nullptr);
    WyrGrep grep;
    grep.query_text = "STMT_DISPLAY";
    grep.node_dump = 1;
    DovTokenList msgs;
    ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    ASSERT_EQ(grep.ApplyAll(f.root, 1, &msgs, nullptr), 0);
    const Strings got = Messages(msgs);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "INFO|           DISPLAY WS-A.");
    // The dump of the matched node, without a position.
    DovExpr* display = nullptr;
    for (DovExpr* n : vemlo_test::TreeNodes(f.root))
        if (n->Oper() == STMT_DISPLAY) display = n;
    ASSERT_NE(display, nullptr);
    FastOstrstream os;
    display->Print(os);
    EXPECT_EQ(got[1], "INFO|" + std::string(VString(os).CStr()));
    int n = 0;
    for (const DovToken* t : msgs)
        if (n++ == 1) {
            EXPECT_EQ(t->Beg(), DovNullPosn);
        }
}

// The source cannot be read: an error at the node's position, and the node
// still counts as matched.
TEST(GrepNodes, UnreadableSource) {
    DovTxtPosn at;
    {
        Fixture f;
        ASSERT_NE(f.root, nullptr);
        DovExpr* move = nullptr;
        for (DovExpr* n : vemlo_test::TreeNodes(f.root))
            if (n->Oper() == STMT_MOVE && !move) move = n;
        ASSERT_NE(move, nullptr);
        at = DovSrcPosnBeg(move);
    }
    // The folder of the fixture is gone now.
    DovExprOper node(STMT_MOVE);
    DovToken* token = new DovToken(TK_USER_DEFD_WORD, "MOVE", {at, at});
    node.Tokens().AppendToken(token);
    WyrGrep grep;
    grep.query_text = "STMT_MOVE";
    DovTokenList msgs;
    ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    EXPECT_EQ(grep.TransformNode(&node, 1, &msgs, nullptr), 0);
    ASSERT_EQ(Messages(msgs).size(), 1u);
    EXPECT_EQ(msgs.First()->code, MSG_ERR);
    EXPECT_EQ(msgs.First()->Beg(), at);
    const std::string name = DovSrcFileName(at.FileIndex()).CStr();
    EXPECT_EQ(Messages(msgs)[0], "ERR|SrcPrintText: cannot open file '" + name + "'");
}

// A run of matches reads forward in one open file; a match before the last
// one rewinds it.
TEST(GrepNodes, ReaderGoesBackAndForth) {
    Fixture f;
    ASSERT_NE(f.root, nullptr);
    WyrGrep grep;
    grep.query_text = "STMT_MOVE";
    DovTokenList msgs;
    ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    const std::vector<DovExpr*> moves = NodesOf(f.root, STMT_MOVE);
    ASSERT_EQ(moves.size(), 3u);
    for (DovExpr* n : {moves[2], moves[0], moves[1], moves[1]}) EXPECT_EQ(grep.TransformNode(n, 1, &msgs, nullptr), 0);
    EXPECT_EQ(Messages(msgs), (Strings{"INFO|           ADD 1 TO WS-A.  MOVE 3 TO WS-C.",
                                       "INFO|           MOVE 1 TO WS-A.", "INFO|              MOVE 2 TO WS-B.",
                                       "INFO|              MOVE 2 TO WS-B."}));
}

}  // namespace

// Matches that alternate between two files on the same line numbers get
// the line of their own file each time.
TEST(GrepNodes, TwoFilesSameLines) {
    Fixture a;
    Fixture b(" *> B");
    ASSERT_NE(a.root, nullptr);
    ASSERT_NE(b.root, nullptr);
    WyrGrep grep;
    grep.query_text = "STMT_MOVE";
    DovTokenList msgs;
    ASSERT_EQ(grep.Prepare(nullptr, nullptr, &msgs), 0);
    const std::vector<DovExpr*> in_a = NodesOf(a.root, STMT_MOVE), in_b = NodesOf(b.root, STMT_MOVE);
    ASSERT_EQ(in_a.size(), 3u);
    ASSERT_EQ(in_b.size(), 3u);
    for (DovExpr* n : {in_a[0], in_b[0], in_a[0], in_b[2], in_a[2], in_a[2], in_b[2]})
        EXPECT_EQ(grep.TransformNode(n, 1, &msgs, nullptr), 0);
    EXPECT_EQ(Messages(msgs), (Strings{"INFO|           MOVE 1 TO WS-A.", "INFO|           MOVE 1 TO WS-A. *> B",
                                       "INFO|           MOVE 1 TO WS-A.",
                                       "INFO|           ADD 1 TO WS-A.  MOVE 3 TO WS-C. *> B",
                                       "INFO|           ADD 1 TO WS-A.  MOVE 3 TO WS-C.",
                                       "INFO|           ADD 1 TO WS-A.  MOVE 3 TO WS-C.",
                                       "INFO|           ADD 1 TO WS-A.  MOVE 3 TO WS-C. *> B"}));
}
