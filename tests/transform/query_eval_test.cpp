// The evaluator on a small tree built by hand:
//
//   COBOL_PROGRAM
//     3: SECTION_PROC
//          2: STMT_LIST
//               STMT_MOVE  0: NAME_USE "WS-A" (linked to the table's element)
//                          1: EX_LIST  TOKEN_STRING "ws-b", INT_NUM_CONST 7,
//                                      TOKEN_STRING "ALPHA", TOKEN_STRING ""
//               STMT_IF    0: INT_NUM_CONST -7   1: STMT_LIST (empty)
//                          2: (empty)            3: (empty)
//     6: SYMBOL_TABLE_ELT_LIST  SYMBOL_TABLE_ELT "WS-A"
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/transform/query_test_util.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/symtab.h"
#include "tree/walk.h"

namespace {

class QueryEval : public testing::Test {
protected:
    void SetUp() override {
        prog = new DovExprOper(COBOL_PROGRAM);
        auto* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
        prog->SetArg(kDovProgSymbolTableArg, table);
        elt = new DovSymTabElt("WS-A", NC_UNKNOWN, DovLinkList());
        table->AddArg(elt);
        section = new DovExprOper(SECTION_PROC);
        prog->SetArg(3, section);
        stmts = new DovExprOper(STMT_LIST);
        section->SetArg(2, stmts);
        use = new DovNameUse(DovLink(elt));
        dests = new DovExprOper(EX_LIST);
        wsb = new DovTokenString("ws-b");
        seven = new DovIntNumConst(7);
        alpha = new DovTokenString("ALPHA");
        empty = new DovTokenString("");
        dests->AddArg(wsb);
        dests->AddArg(seven);
        dests->AddArg(alpha);
        dests->AddArg(empty);
        move = new DovExprOper(STMT_MOVE, use, dests);
        minus7 = new DovIntNumConst("-7", -7);
        ifs = new DovExprOper(STMT_IF, minus7, new DovExprOper(STMT_LIST));
        stmts->AddArg(move);
        stmts->AddArg(ifs);
    }
    void TearDown() override { delete prog; }

    // The query's result at `node`; the query must compile.
    int Eval(const char* text, DovExpr* node) {
        query = std::make_unique<DovQuery>(text);
        VString message;
        int column = 0;
        const int code = query->Compile(nullptr, message, column);
        EXPECT_EQ(code, 0) << text << ": " << message.CStr() << " at " << column;
        return code ? -1 : query->Match(node);
    }
    // The integer left in " H" by the last evaluation.
    long long HInt() {
        DovQueryValue* h = DovQueryH(query->vars);
        EXPECT_TRUE(h && h->kind == QV_INT && h->node);
        return h && h->node ? h->node->IntValue() : 0;
    }
    std::string Tic() {
        std::ostringstream os;
        DovExpr::PutTic(prog, os);
        return os.str();
    }

    DovExpr *prog, *section, *stmts, *move, *ifs, *dests, *wsb, *seven, *alpha, *empty, *minus7;
    DovNameUse* use;
    DovSymTabElt* elt;
    std::unique_ptr<DovQuery> query;
};

TEST_F(QueryEval, ConnectivesGroupToTheRight) {
    EXPECT_EQ(Eval("TRUE OR FALSE AND FALSE", move), 1);
    EXPECT_EQ(Eval("FALSE AND TRUE OR TRUE", move), 0);
    EXPECT_EQ(Eval("STMT_IF OR STMT_MOVE AND ARGNO == 2", move), 1);
    EXPECT_EQ(Eval("(FALSE AND TRUE) OR TRUE", move), 1);
    EXPECT_EQ(Eval("NOT STMT_IF AND NOT OP == STMT_IF", move), 1);
    EXPECT_EQ(Eval("FROMSRC OR FALSE", move), 0);
}

TEST_F(QueryEval, OperationTests) {
    EXPECT_EQ(Eval("STMT_MOVE", move), 1);
    EXPECT_EQ(Eval("stmt_move", ifs), 0);
    EXPECT_EQ(Eval("OP != STMT_MOVE", ifs), 1);
    EXPECT_EQ(Eval("OP > STMT_MOVE", ifs), 0);  // STMT_IF's code is below STMT_MOVE's
    EXPECT_EQ(Eval("OP < STMT_MOVE", ifs), 1);
    EXPECT_EQ(Eval("OP == NULL", move), 0);
    EXPECT_EQ(Eval("OP != NULL", move), 1);
    EXPECT_EQ(Eval("TRUE", nullptr), 1);
    EXPECT_EQ(Eval("STMT_MOVE", nullptr), 0);
}

TEST_F(QueryEval, ArgumentsAndEmptySlots) {
    EXPECT_EQ(Eval("ARG(3)", move), 0);  // past the count
    EXPECT_EQ(Eval("ARG(3) == NULL", move), 0);
    EXPECT_EQ(Eval("ARG(3) == NULL", ifs), 1);  // an empty slot: a missing node
    EXPECT_EQ(Eval("ARG(3)", ifs), 0);
    EXPECT_EQ(Eval("ARG(1) == NAME_USE", move), 1);
    EXPECT_EQ(Eval("CHILD(2).ARG(2) == INT_NUM_CONST", move), 1);
    EXPECT_EQ(Eval("ARG(0)", move), 0);
    EXPECT_EQ(Eval("ARG(MOVE_DESTS).ARG(4).IMAGE == ''", move), 1);
    EXPECT_EQ(Eval("INT N AND ARG(N)", move), 0);  // N is 0: slot -1
    EXPECT_EQ(Eval("ARG(2).INDEX == 1", dests), 0);
    EXPECT_EQ(Eval("ARG(2).PARENT == EX_LIST", dests), 1);
}

TEST_F(QueryEval, ParentFindAndAncestors) {
    EXPECT_EQ(Eval("PARENT", prog), 0);  // the root has none
    EXPECT_EQ(Eval("PARENT == NULL", prog), 0);
    EXPECT_EQ(Eval("PARENT", move), 1);
    EXPECT_EQ(Eval("PARENT.PARENT == SECTION_PROC", move), 1);
    EXPECT_EQ(Eval("FIND(STMT_MOVE)", stmts), 1);
    EXPECT_EQ(Eval("FIND(STMT_MOVE)", section), 0);  // direct children only
    EXPECT_EQ(Eval("FIND(INT_NUM_CONST)", move), 0);
    EXPECT_EQ(Eval("FIND(STMT_IF).ARG(1).INTVALUE < 0", stmts), 1);
    EXPECT_EQ(Eval("FIND(TOKEN_STRING).IMAGE == 'ALPHA'", dests), 1);  // tries every match
    EXPECT_EQ(Eval("ISDESCOF(STMT_MOVE)", move), 0);  // never the node itself
    EXPECT_EQ(Eval("ISDESCOF(STMT_MOVE)", wsb), 1);
    EXPECT_EQ(Eval("ISDESCOF(COBOL_PROGRAM).ARG(4) == SECTION_PROC", wsb), 1);
    EXPECT_EQ(Eval("ISDESCOF(STMT_IF)", wsb), 0);
}

TEST_F(QueryEval, EnclosingNodes) {
    // ENCL-STMT is the enclosing entry, ENCL-SECTION the enclosing section.
    EXPECT_EQ(Eval("ENCL-STMT == STMT_MOVE", wsb), 1);
    EXPECT_EQ(Eval("ENCL-STMT == STMT_MOVE", move), 1);
    EXPECT_EQ(Eval("ENCL-SECTION == SECTION_PROC", wsb), 1);
    EXPECT_EQ(Eval("ENCL-SECTION == STMT_MOVE", wsb), 0);
    EXPECT_EQ(Eval("ENCL-STMT", stmts), 0);  // none below the program
    EXPECT_EQ(Eval("ENCL-STMT == NULL", stmts), 1);
}

TEST_F(QueryEval, LinksAndSpecialNodes) {
    EXPECT_EQ(Eval("LINK == SYMBOL_TABLE_ELT", use), 1);
    EXPECT_EQ(Eval("LINK.IMAGE == 'WS-A'", use), 1);
    EXPECT_EQ(Eval("LINK", wsb), 0);
    EXPECT_EQ(Eval("SPECREG", use), 0);
    EXPECT_EQ(Eval("SPECREG", nullptr), 0);
    EXPECT_EQ(Eval("FROMSRC", move), 0);
    DovExprSetFlagField(move, 1);
    EXPECT_EQ(Eval("FROMSRC", move), 1);
    DovExprSetFlagField(move, 2);
    EXPECT_EQ(Eval("FROMSRC", move), -2);  // the two bits read as a signed number
    EXPECT_EQ(Eval("NOT FROMSRC", move), 0);
    DovExprSetFlagField(move, 0);
    EXPECT_EQ(Eval("NOT FROMSRC", move), 1);
    EXPECT_EQ(Eval("E.PARENT == STMT_LIST", move), 1);
    EXPECT_EQ(Eval("NODE V AND V == NULL_NODE", move), 1);
}

TEST_F(QueryEval, StringTests) {
    EXPECT_EQ(Eval("IMAGE", move), 0);
    EXPECT_EQ(Eval("IMAGE", use), 1);
    EXPECT_EQ(Eval("IMAGE == 'WS-A'", use), 1);
    EXPECT_EQ(Eval("IMAGE == 'ws-a'", use), 0);
    EXPECT_EQ(Eval("IMAGE ~ 'ws-a'", use), 1);
    EXPECT_EQ(Eval("IMAGE != 'ws-a'", use), 1);
    EXPECT_EQ(Eval("IMAGE != 'WS-A'", use), 0);
    EXPECT_EQ(Eval("VALUE == '7'", seven), 1);
    EXPECT_EQ(Eval("IMAGE.UPPER == 'WS-B'", wsb), 1);
    EXPECT_EQ(Eval("IMAGE.UPPER.LOWER == 'ws-b'", wsb), 1);
    EXPECT_EQ(Eval("IMAGE.SUBSTR(1,2) == 's-'", wsb), 1);
    EXPECT_EQ(Eval("IMAGE.SUBSTR(3,100) == 'b'", wsb), 1);
    EXPECT_EQ(Eval("IMAGE.SUBSTR(9,1) == ''", wsb), 1);
    // A string expression is tested on its computed text, not on the node.
    EXPECT_EQ(Eval("'A' + 'B' == 'AB'", move), 1);
    EXPECT_EQ(Eval("'A' + 'B' == LIKE 'A*'", use), 1);
    EXPECT_EQ(Eval("'A' + 'B' == 'WS-A'", use), 0);
    EXPECT_EQ(Eval("STR S AND S == ''", move), 1);  // a new string variable is empty
    EXPECT_EQ(Eval("STR S AND S + 'A' == 'A'", move), 1);
}

TEST_F(QueryEval, NullTestsOfTheImage) {
    EXPECT_EQ(Eval("IMAGE == NULL", move), 1);  // no image
    EXPECT_EQ(Eval("IMAGE == NULL", use), 0);
    EXPECT_EQ(Eval("IMAGE != NULL", move), 0);
    EXPECT_EQ(Eval("IMAGE != NULL", use), 1);
    EXPECT_EQ(Eval("IMAGE", move), 0);
    EXPECT_EQ(Eval("VALUE ~ NULL", seven), 0);
    EXPECT_EQ(Eval("ARG(3).IMAGE == NULL", ifs), 1);  // a missing node has none
    EXPECT_EQ(Eval("ARG(3).IMAGE", ifs), 0);
    EXPECT_EQ(Eval("IMAGE.LOWER == NULL", use), 0);
    EXPECT_EQ(Eval("IMAGE.LOWER == NULL", move), 1);
    EXPECT_EQ(Eval("NOT IMAGE == NULL", use), 1);
}

TEST_F(QueryEval, StringRelationsCompareByTheRelation) {
    EXPECT_EQ(Eval("IMAGE > 'M'", use), 1);
    EXPECT_EQ(Eval("IMAGE > 'M'", alpha), 0);
    EXPECT_EQ(Eval("IMAGE < 'M'", alpha), 1);
    EXPECT_EQ(Eval("IMAGE >= 'ALPHA'", alpha), 1);
    EXPECT_EQ(Eval("IMAGE <= 'ALPH'", alpha), 0);
    EXPECT_EQ(Eval("IMAGE NOT > 'M'", alpha), 1);
}

TEST_F(QueryEval, LikeTakesThePatternFromTheQuery) {
    EXPECT_EQ(Eval("IMAGE == LIKE 'WS-*'", use), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE 'WS-?'", use), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE 'WS-'", use), 0);
    EXPECT_EQ(Eval("IMAGE ~ LIKE 'ws-*'", use), 1);
    EXPECT_EQ(Eval("IMAGE != LIKE 'WS-*'", use), 0);
    EXPECT_EQ(Eval("IMAGE == LIKE '*'", empty), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE '?'", empty), 0);
    EXPECT_EQ(Eval("IMAGE == LIKE 'W*A'", use), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE '*A'", use), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE 'WS-A*'", use), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE ''", empty), 1);
    EXPECT_EQ(Eval("IMAGE == LIKE ''", alpha), 0);
}

TEST_F(QueryEval, CaseBlindTestsUpperCaseTheCurrentString) {
    EXPECT_EQ(Eval("IMAGE ~ 'WS-B'", wsb), 1);
    EXPECT_STREQ(DovQueryString.CStr(), "WS-B");
    // A later exact test on the current string sees the upper-cased text.
    DovQueryNode exact;
    exact.kind = QK_STREQ;
    exact.text = "ws-b";
    DovExpr* node = wsb;
    EXPECT_EQ(DovQueryNode::Eval(&exact, &node, query->vars, nullptr, 0), 0);
    exact.text = "WS-B";
    EXPECT_EQ(DovQueryNode::Eval(&exact, &node, query->vars, nullptr, 0), 1);
}

TEST_F(QueryEval, IntegerTests) {
    EXPECT_EQ(Eval("ARGNO == 2", move), 1);
    EXPECT_EQ(HInt(), 2);
    EXPECT_EQ(Eval("ARGNO != 2", move), 0);
    EXPECT_EQ(Eval("ARGNO > 3", dests), 1);
    EXPECT_EQ(Eval("INTVALUE == 7", seven), 1);
    EXPECT_EQ(Eval("INTVALUE < 0", minus7), 1);
    EXPECT_EQ(Eval("INTVALUE == 7", wsb), 0);
    EXPECT_EQ(Eval("INDEX == 2", seven), 1);
    EXPECT_EQ(HInt(), 2);
    EXPECT_EQ(Eval("INDEX == 1", seven), 0);
    EXPECT_EQ(Eval("INDEX == 1", prog), 0);  // no parent
    EXPECT_EQ(Eval("INT N AND INTVALUE == N", seven), 0);
    EXPECT_EQ(Eval("INT N AND ARGNO == N", seven), 1);  // a leaf has no arguments
    EXPECT_EQ(Eval("INT N AND INDEX == N", use), 0);    // N - 1 = -1 against index 0
    EXPECT_EQ(Eval("INT N AND INDEX > N", use), 1);
}

TEST_F(QueryEval, AnOperatorTakesItsLeftOperandFirst) {
    struct Case {
        const char* query;
        int result;
    };
    const Case cases[] = {
        {"10 - 4 == 6", 1},
        {"10 - 4 < 0", 0},
        {"10 - 4 - 3 == 3", 1},  // one level groups from the left
        {"10 - (4 - 3) == 9", 1},
        {"7 DIV 2 == 3", 1},
        {"7 MOD 2 == 1", 1},
        {"2 DIV 7 == 0", 1},
        {"2 MOD 7 == 2", 1},
        {"100 DIV 10 DIV 5 == 2", 1},
        {"2 * 3 + 4 == 10", 1},
        {"2 + 3 * 4 == 14", 1},
        {"20 - 3 * 4 == 8", 1},
        {"2 * (3 + 4) == 14", 1},
        {"2 * (10 - 4) DIV 4 == 3", 1},
        {"INT X AND X - 1 > 0", 0},  // X is 0
        {"INT X AND X - 1 < 0", 1},
        {"'A' + 'B' == 'AB'", 1},
        {"'A' + 'B' + 'C' == 'ABC'", 1},
        {"STR S AND 'X' + S + 'Y' == 'XY'", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(Eval(c.query, move), c.result) << c.query;
    // Negative operands (X is 0): the quotient is truncated toward zero and
    // the remainder has the sign of the left operand. " H" holds the value
    // compared.
    struct Signed {
        const char* query;
        std::int64_t value;
    };
    const Signed signed_cases[] = {
        {"INT X AND X + (X - 7) DIV 2 < 0", -3},
        {"INT X AND X + (X - 7) MOD 2 < 0", -1},
        {"INT X AND X + 7 DIV (X - 2) < 0", -3},
        {"INT X AND X + 7 MOD (X - 2) > 0", 1},
    };
    for (const Signed& c : signed_cases) {
        EXPECT_EQ(Eval(c.query, move), 1) << c.query;
        EXPECT_EQ(HInt(), c.value) << c.query;
    }
}

TEST_F(QueryEval, DivisionByZeroIsFalseAndPushesNothing) {
    // (A variable right before a relation is a test of its own value, so
    // the divisor X stands inside a longer operand.)
    for (const char* query : {"INT X AND 2 DIV (X + 0) > 0", "INT X AND 2 DIV (X + 0) < 1",
                              "INT X AND 2 MOD X * 1 < 1", "INT X AND 2 MOD X * 1 > 0", "7 DIV (3 - 3) == 0",
                              "7 MOD 0 == 0", "INT X AND 2 DIV (X + 0) == 0 OR FALSE"})
        EXPECT_EQ(Eval(query, move), 0) << query;
    EXPECT_EQ(Eval("INT X AND NOT 2 DIV (X + 0) == 0", move), 1);  // the negation of a false condition
    EXPECT_EQ(Eval("INT X AND X DIV 2 == 0", move), 1);  // zero divided is no fault
    VString message;
    int column = 0;
    DovQuery q("7 DIV 0 > 0");
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    DovQueryVarList stack;
    DovExpr* node = move;
    EXPECT_EQ(DovQueryNode::Eval(q.chain->condition, &node, q.vars, &stack, 0), 0);
    EXPECT_EQ(stack.Count(), 0);
}

TEST_F(QueryEval, ArithmeticWrapsAndMissingOperands) {
    DovQuery q("TRUE");
    VString message;
    int column = 0;
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    DovExpr* node = move;
    // The quotients and products that overflow wrap; none is undefined.
    struct Case {
        std::uint8_t kind;
        std::int64_t left, right, result;
    };
    const Case cases[] = {
        {QK_DIV, INT64_MIN, -1, INT64_MIN}, {QK_MOD, INT64_MIN, -1, 0},
        {QK_DIV, -1, INT64_MIN, 0},         {QK_MOD, -1, INT64_MIN, -1},
        {QK_MUL, INT64_MIN, -1, INT64_MIN}, {QK_SUB, INT64_MIN, 1, INT64_MAX},
        {QK_ADD, INT64_MAX, 1, INT64_MIN},  {QK_SUB, 0, INT64_MIN, INT64_MIN},
    };
    for (const Case& c : cases) {
        DovQueryVarList stack;
        stack.Push(new DovQueryValue(QV_INT, VString(), new DovIntNumConst(c.left), 1));
        stack.Push(new DovQueryValue(QV_INT, VString(), new DovIntNumConst(c.right), 1));
        DovQueryNode op;
        op.kind = c.kind;
        EXPECT_EQ(DovQueryNode::Eval(&op, &node, q.vars, &stack, 0), 1);
        EXPECT_EQ(DovQueryH(q.vars)->node->IntValue(), c.result) << int(c.kind) << " " << c.left << " " << c.right;
        EXPECT_EQ(stack.Count(), 1);
        stack.Destroy();
    }
    DovQueryVarList stack;
    // An empty stack is a missing operand.
    DovQueryNode add;
    add.kind = QK_ADD;
    testing::internal::CaptureStdout();
    EXPECT_EQ(DovQueryNode::Eval(&add, &node, q.vars, &stack, 0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n!!! POP->Assert!");
    // Any kind that is no step is false.
    DovQueryNode odd;
    odd.kind = QK_LPAREN;
    EXPECT_EQ(DovQueryNode::Eval(&odd, &node, q.vars, &stack, 0), 0);
    EXPECT_EQ(DovQueryNode::Eval(nullptr, &node, q.vars, &stack, 0), 0);
}

TEST_F(QueryEval, PatternTable) {
    const struct {
        const char* pattern;
        const char* text;
        int match;
    } cases[] = {
        // A "*" takes any run, also none, and is tried again with a longer
        // run when what follows it fails further on.
        {"*EXIT*", "MAIN-EXIT", 1}, {"*EXIT*", "EXIT", 1},   {"*EXIT*", "EXITS", 1},    {"*EXIT*", "EXI", 0},
        {"*B", "ABXB", 1},          {"*B", "ABXC", 0},       {"A*", "A", 1},            {"RESP*", "RESP", 1},
        {"RESP*", "RES", 0},        {"A*C", "ABC", 1},       {"A*C", "ABCBC", 1},       {"A*C", "ABCB", 0},
        {"A*X", "ABC", 0},          {"A**", "A", 1},         {"**", "", 1},             {"*", "", 1},
        {"*", "A", 1},              {"*A*B*C", "XAYBZC", 1}, {"*A*B*C", "XAYBZCB", 0},  {"A*C*E", "ABCDE", 1},
        {"A*B*B", "ABAB", 1},       {"*AB*AB", "ABABAB", 1}, {"*ABC", "ABABC", 1},      {"*AAB", "AAAAB", 1},
        {"A*B*B", "ABA", 0},
        // "?" is exactly one character.
        {"?B?", "ABC", 1},          {"A?C", "AC", 0},        {"?", "", 0},              {"?", "A", 1},
        {"??", "A", 0},             {"*?", "AB", 1},         {"*?", "", 0},             {"?*", "A", 1},
        {"*?B", "BB", 1},           {"*?B", "B", 0},         {"A?*?C", "AXYC", 1},      {"A?*?C", "AXC", 0},
        // No wildcard: the same text.
        {"ABC", "ABC", 1},          {"ABC", "ABD", 0},       {"", "", 1},               {"", "A", 0},
        {"A", "", 0},               {"AB", "A", 0},          {"A", "AB", 0},
        // Wildcard characters in the text are characters like any other.
        {"A*", "A*", 1},            {"*", "**", 1},          {"?", "*", 1},             {"A", "*", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DovQueryMatchPattern(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
    EXPECT_EQ(DovQueryCompareStr("", "", 1), 1);
    EXPECT_EQ(DovQueryCompareStr("", "A", 4), 1);
    EXPECT_EQ(DovQueryCompareStr("A", "A", 6), 0);
    EXPECT_EQ(DovQueryCompareInt(3, 2, 2), 1);
    EXPECT_EQ(DovQueryCompareInt(3, 2, 102), 0);
    EXPECT_EQ(DovQueryCompareInt(3, 3, 101), 0);
    EXPECT_EQ(DovQueryCompareInt(3, 3, 0), 0);
}

// Whether `text` matches `pattern`, by the table of which pattern prefix
// matches which text prefix.
bool ReferenceMatch(const std::string& pattern, const std::string& text) {
    std::vector<std::vector<bool>> m(pattern.size() + 1, std::vector<bool>(text.size() + 1, false));
    m[0][0] = true;
    for (std::size_t i = 1; i <= pattern.size(); ++i) {
        const char c = pattern[i - 1];
        for (std::size_t j = 0; j <= text.size(); ++j) {
            if (c == '*')
                m[i][j] = m[i - 1][j] || (j > 0 && m[i][j - 1]);
            else
                m[i][j] = j > 0 && m[i - 1][j - 1] && (c == '?' || c == text[j - 1]);
        }
    }
    return m[pattern.size()][text.size()];
}

TEST(QueryPattern, AgreesWithTheReferenceOnRandomPatterns) {
    std::mt19937 rng(55);
    const char patternChars[] = "AB*?";
    const char textChars[] = "AB*";
    for (int round = 0; round < 20000; ++round) {
        std::string pattern, text;
        for (int n = static_cast<int>(rng() % 8); n > 0; --n) pattern += patternChars[rng() % 4];
        for (int n = static_cast<int>(rng() % 10); n > 0; --n) text += textChars[rng() % (round % 4 == 0 ? 3 : 2)];
        ASSERT_EQ(DovQueryMatchPattern(pattern.c_str(), text.c_str()) != 0, ReferenceMatch(pattern, text))
            << pattern << " / " << text;
    }
}

TEST_F(QueryEval, MatchWithAnotherVariableList) {
    DovQuery q("ARG(3)");
    VString message;
    int column = 0;
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    DovQueryVarList mine;
    mine.Copy(*q.vars);
    mine.ValueAt(0)->node = ifs;
    EXPECT_EQ(q.MatchWith(&mine, 0), 0);  // the empty slot is a missing node
    EXPECT_EQ(q.MatchWith(&mine, 1), 1);  // unless the flag says otherwise
    EXPECT_EQ(DovQueryMatchNode(ifs, &q), 0);
    EXPECT_EQ(DovQueryMatchNode(ifs, nullptr), 0);
    DovQuery none;
    EXPECT_EQ(none.Match(ifs), 0);  // nothing compiled
    EXPECT_EQ(none.MatchWith(&mine, 0), 0);
}

TEST_F(QueryEval, RegisterKeepsNoTreeNodeBetweenMatches) {
    // "+ + AND" compiles into a list that starts by pushing the register.
    DovQuery q("+ + AND TRUE");
    VString message;
    int column = 0;
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    DovQuerySetH(q.vars, wsb, QV_STR, 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(q.Match(move), 0);  // the tree node left in " H" is not taken up
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(DovQueryH(q.vars)->node, nullptr);
}

TEST_F(QueryEval, SearchingNeverChangesTheTree) {
    const std::string before = Tic();
    const char* queries[] = {
        "STMT_MOVE", "ARG(1).LINK.IMAGE ~ 'ws-a'", "IMAGE.UPPER.SUBSTR(0,2) == LIKE 'W*'", "INT X AND X + 1 > 0",
        "FIND(TOKEN_STRING).IMAGE > 'A'", "ISDESCOF(STMT_LIST).INDEX == 1", "ENCL-SECTION.ARG(3)", "'A' + 'B' == 'AB'",
        "PARENT.ARGNO > 1 OR FROMSRC OR SPECREG", "NODE V AND V == NULL_NODE",
    };
    std::vector<DovExpr*> nodes;
    WalkTheTree(prog, &nodes, [](DovExpr* n, void* c) -> int {
        static_cast<std::vector<DovExpr*>*>(c)->push_back(n);
        return DOV_WALK_DESCEND;
    });
    for (const char* text : queries) {
        DovQuery q(text);
        VString message;
        int column = 0;
        ASSERT_EQ(q.Compile(nullptr, message, column), 0) << text;
        for (DovExpr* n : nodes) q.Match(n);
    }
    EXPECT_EQ(Tic(), before);
    EXPECT_EQ(elt->References().Count(), 1);  // no copy of the name use linked itself
}

TEST_F(QueryEval, AssignmentsWhenAllowed) {
    DovQuery q("INTVALUE = 5");
    q.allowAssignments = true;
    VString message;
    int column = 0;
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    EXPECT_EQ(q.Match(seven), 1);
    EXPECT_EQ(seven->IntValue(), 5);
    EXPECT_EQ(q.Match(wsb), 0);
    DovQuery s("IMAGE = 'WS-C'");
    s.allowAssignments = true;
    ASSERT_EQ(s.Compile(nullptr, message, column), 0);
    EXPECT_EQ(s.Match(wsb), 1);
    EXPECT_STREQ(wsb->Image().CStr(), "WS-C");
    // Variables set by the query itself.
    DovQuery vars("INT N AND N = 2 AND ARG(N) == EX_LIST AND STR S AND S = 'x' AND S == 'x'");
    vars.allowAssignments = true;
    ASSERT_EQ(vars.Compile(nullptr, message, column), 0) << message.CStr() << column;
    EXPECT_EQ(vars.Match(move), 1);
    EXPECT_EQ(vars.vars->ValueAt(vars.vars->Find("N"))->node->IntValue(), 2);
    // A node replaced by a free node: the placeholder of a node variable.
    DovQuery v("NODE V AND OP = V");
    v.allowAssignments = true;
    ASSERT_EQ(v.Compile(nullptr, message, column), 0);
    EXPECT_EQ(v.Match(ifs), 1);
    ASSERT_NE(stmts->Args(1), nullptr);
    EXPECT_EQ(stmts->Args(1)->Oper(), NULL_NODE);
    EXPECT_EQ(v.vars->ValueAt(0)->node, stmts->Args(1));  // "E" followed the node
    EXPECT_EQ(v.Match(move), 0);  // the placeholder is in the tree now
    // Not by a node that has a place in a tree while the current one has one.
    DovQuery n("OP = ARG(1)");
    n.allowAssignments = true;
    ASSERT_EQ(n.Compile(nullptr, message, column), 0);
    EXPECT_EQ(n.Match(move), 0);
    // A parentless node cannot be replaced by one inside it.
    DovExpr* loose = new DovExprOper(STMT_MOVE, new DovTokenString("X"), nullptr);
    EXPECT_EQ(n.Match(loose), 0);
    delete loose;
    // Nor a node by one of its ancestors.
    DovQuery up("OP = PARENT");
    up.allowAssignments = true;
    ASSERT_EQ(up.Compile(nullptr, message, column), 0);
    EXPECT_EQ(up.Match(move), 0);
    EXPECT_EQ(stmts->Args(0), move);
}

}  // namespace
