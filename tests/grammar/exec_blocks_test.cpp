// EXEC ... END-EXEC blocks: the generic form of any other subsystem keeps
// its text line by line, an SQL statement the grammar does not cover is a
// syntax error inside its block that keeps the block's tokens, and the rest
// of the program parses on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grammar/sql_actions.h"
#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

using vemlo_grammar_test::TreeTokens;

// The spellings that are not blanks or line ends.
std::vector<std::string> Words(const std::vector<std::string>& tokens) {
    std::vector<std::string> out;
    for (const std::string& t : tokens) {
        const bool blank = std::all_of(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\n'; });
        if (!blank) out.push_back(t);
    }
    return out;
}

// "" when the positioned tokens of the tree, in walk order, stand in
// source order with none twice; else the first token out of order.
std::string OrderFault(const DovExpr* root) {
    std::vector<const DovToken*> tokens;
    struct Walk {
        static void Run(const DovExpr* n, std::vector<const DovToken*>& out) {
            if (!n) return;
            for (int i = 0; i < n->NumArgs(); ++i) {
                if (const DovArgSlot* slot = n->ArgSlots(i))
                    for (const DovToken* t : slot->tokens) out.push_back(t);
                Run(n->Args(i), out);
            }
            for (const DovToken* t : n->Tokens()) out.push_back(t);
        }
    };
    Walk::Run(root, tokens);
    const DovToken* last = nullptr;
    for (const DovToken* t : tokens) {
        if (!t->Beg().IsSet() || t->Beg().FileIndex() != (last ? last->Beg().FileIndex() : t->Beg().FileIndex()))
            continue;
        if (last && DovTxtPosnCompare(last->Beg(), t->Beg()) >= 0 &&
            !(DovTxtPosnCompare(last->Beg(), t->Beg()) == 0 && t->code != last->code))
            return std::string("token '") + DovTokenText(*t).CStr() + "' after '" + DovTokenText(*last).CStr() + "'";
        last = t;
    }
    return "";
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(ExecBlocks, OtherSubsystemKeepsItsLinesAndComments) {
    GrammarRun run;
    run.ParseText(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. T.\n"
        "       PROCEDURE DIVISION.\n"
        "           EXEC DLI GU USING PCB(1)\n"
        "               SEGMENT(ROOT)\n"
        "      * a comment inside the block\n"
        "               INTO(AREA1) END-EXEC.\n");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    ASSERT_EQ(FindAll(run.root(), STMT_EXEC).size(), 1u);
    DovExpr* exec = FindFirst(run.root(), STMT_EXEC);
    EXPECT_EQ(OrderFault(exec), "");
    EXPECT_EQ(Shape(exec->Args(0)), "DLI");
    DovExpr* lines = exec->Args(1);
    ASSERT_NE(lines, nullptr);
    ASSERT_EQ(lines->Oper(), EX_EXEC_LINE_LIST);
    // The rest of the first line, the second line and the last line; the
    // comment line has no words of its own.
    ASSERT_EQ(lines->NumArgs(), 3);
    EXPECT_EQ(lines->Args(0)->NumArgs(), 6);  // GU USING PCB ( 1 )
    EXPECT_EQ(lines->Args(1)->NumArgs(), 4);  // SEGMENT ( ROOT )
    EXPECT_EQ(lines->Args(2)->NumArgs(), 4);  // INTO ( AREA1 )
    // The comment sits in the slot of the line it stands before.
    bool comment_in_slot = false;
    for (const DovToken* t : lines->ArgSlots(2)->tokens) comment_in_slot |= t->code == CM_COMMENT;
    EXPECT_TRUE(comment_in_slot);
    // The words of the block reach the tree through the EXEC collector, not
    // as lexemes, so conservation is checked on the node itself: every word
    // of the block is in it, once, in source order; EXEC belongs
    // to the subsystem slot, END-EXEC stays on the node.
    const std::vector<std::string> expected = {"EXEC", "DLI", "GU", "USING", "PCB", "(", "1", ")", "SEGMENT", "(",
                                               "ROOT", ")", "* a comment inside the block", "INTO", "(", "AREA1", ")",
                                               "END-EXEC"};
    EXPECT_EQ(Words(TreeTokens(exec)), expected);
    bool exec_in_subsys = false;
    for (const DovToken* t : exec->ArgSlots(0)->tokens) exec_in_subsys |= t->code == RW_EXEC;
    EXPECT_TRUE(exec_in_subsys);
    bool end_on_node = false;
    for (const DovToken* t : exec->Tokens()) end_on_node |= t->code == RW_END_EXEC;
    EXPECT_TRUE(end_on_node);
}

TEST(ExecBlocks, UncoveredSqlIsAnErrorInsideTheBlock) {
    GrammarRun run;
    run.ParseStatements(
        "EXEC SQL DROP TABLE IF EXISTS T1 END-EXEC.\n"
        "EXEC SQL COMMIT END-EXEC.\n"
        "STOP RUN.");
    EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
    const std::vector<DovExpr*> blocks = FindAll(run.root(), STMT_EXEC_SQL);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0]->Args(0)->Oper(), STMT__SYNTAX_ERROR);
    EXPECT_EQ(Shape(blocks[1]), "STMT_EXEC_SQL(SQL_STMT_COMMIT)");
    // The skipped words are in the failed block.
    const std::vector<std::string> words = Words(TreeTokens(blocks[0]));
    for (const char* w : {"TABLE", "IF", "EXISTS", "T1"}) EXPECT_TRUE(Contains(words, w)) << w;
    // The statement after the blocks still parses.
    EXPECT_NE(FindFirst(run.root(), STMT_STOP), nullptr);
}

TEST(ExecBlocks, EndOfFileInsideABlockClosesIt) {
    GrammarRun run;
    run.ParseStatements("EXEC SQL COMMIT");
    EXPECT_EQ(FindAll(run.root(), STMT_EXEC_SQL).size(), 1u);
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace

namespace {

// Until the CICS rules are in, an EXEC CICS block is one token block that
// keeps every word.
TEST(ExecBlocks, CicsBlockIsKeptAsTokens) {
    GrammarRun run;
    run.ParseStatements(
        "EXEC CICS SEND MAP('M1') MAPSET('S1')\n"
        "     ERASE RESP(WS-RESP) END-EXEC.\n"
        "STOP RUN.");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(run.TokenDifference(), "");
    DovExpr* exec = FindFirst(run.root(), STMT_EXEC_CICS);
    ASSERT_NE(exec, nullptr);
    const std::vector<std::string> words = Words(TreeTokens(exec));
    for (const char* w : {"SEND", "MAP", "'M1'", "MAPSET", "ERASE", "RESP", "WS-RESP"})
        EXPECT_TRUE(Contains(words, w)) << w;
    EXPECT_NE(FindFirst(run.root(), STMT_STOP), nullptr);
}

// With SQL handling off, an EXEC SQL block is a generic block.
TEST(ExecBlocks, SqlSwitchedOffIsAGenericBlock) {
    GrammarRun run;
    run.parser().sqlSwitch = 0;
    run.ParseStatements("EXEC SQL SELECT A INTO :B FROM T END-EXEC.\nSTOP RUN.");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    EXPECT_EQ(FindAll(run.root(), STMT_EXEC_SQL).size(), 0u);
    DovExpr* exec = FindFirst(run.root(), STMT_EXEC);
    ASSERT_NE(exec, nullptr);
    EXPECT_EQ(Shape(exec->Args(0)), "SQL");
    const std::vector<std::string> expected = {"EXEC", "SQL", "SELECT", "A", "INTO", ":", "B", "FROM", "T", "END-EXEC"};
    EXPECT_EQ(Words(TreeTokens(exec)), expected);
}

// In the data division an EXEC block takes its data-division form, with
// the same slots.
TEST(ExecBlocks, DataDivisionForm) {
    struct Case {
        DovOper from, to;
    };
    for (const Case c : {Case{STMT_EXEC, STMT_EXEC_IN_DCL}, Case{STMT_EXEC_SQL, STMT_EXEC_SQL_IN_DCL},
                         Case{STMT_EXEC_CICS, STMT_EXEC_CICS}}) {
        DovExpr* node = new DovExprOper(c.from);
        const int slots = node->NumArgs();
        YYSTYPE value = DovExecInDataDivision(node);
        EXPECT_EQ(value, node);
        EXPECT_EQ(node->Oper(), c.to);
        EXPECT_EQ(node->NumArgs(), slots);
        delete node;
    }
}

}  // namespace
