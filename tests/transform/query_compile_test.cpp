// The query compiler: every construct compiled into its steps, every
// rejection with its code and column.
#include <gtest/gtest.h>

#include <string>

#include "tests/transform/query_test_util.h"

namespace {

using vemlo_test::CompileDump;

struct CompileCase {
    const char* query;
    const char* expected;  // the step dump, or E<code>@<column>
};

const CompileCase kCases[] = {
    // Empty queries and bare operation names.
    {"", "TRUE"},
    {"// only a comment", "TRUE"},
    {"stmt_move", "OP(STMT_MOVE,1)"},
    {"STMT_MOVE", "OP(STMT_MOVE,1)"},
    {"NOT STMT_MOVE", "NOT OP(STMT_MOVE,1)"},
    // OP and node tests.
    {"OP ~ STMT_MOVE", "E87@5"},
    {"OP == NO_SUCH_NAME", "E85@6"},
    // ARG / CHILD, navigation.
    {"ARG(1) == STMT_MOVE", "ARG(0,0,'1') OP(STMT_MOVE,1)"},
    {"ARG(2)", "ARG(1,0,'2') NOTNULL"},
    {"CHILD(2)", "ARG(1,0,'2') NOTNULL"},
    {"PARENT.PARENT == STMT_IF", "PARENT PARENT OP(STMT_IF,1)"},
    // String tests.
    {"IMAGE ~ 'move'", "IMAGE STRVAL STREQ_NOCASE(0,1,'MOVE')"},
    {"VALUE == LIKE 'A*'", "VALUE STRVAL LIKE(0,1,'A*')"},
    {"IMAGE != 'A'", "IMAGE STRNULL NOT STREQ(0,1,'A')"},
    {"IMAGE == abc", "E90@9"},
    {"IMAGE == 'abc", "E88@9"},
    {"IMAGE ==", "E90@8"},
    {"IMAGE > 'A'", "IMAGE STRVAL STREQ(0,2,'A')"},
    // Integer tests.
    {"INTVALUE > 5", "INTVALUE(5,2) INTCONST(5,0,'5') TRUE"},
    {"ARGNO != 2", "ARGNO(2,101) INTCONST(2,0,'2') TRUE"},
    {"INDEX == 3", "INDEX(2,1) INTCONST(3,0,'3') TRUE"},
    // Chains and groups.
    {"STMT_MOVE AND (STMT_IF OR STMT_GOTO", "E92@35"},
    {"STMT_MOVE)", "E91@10"},
    {"STMT_MOVE STMT_IF", "E87@10"},
    // Declarations and arithmetic.
    {"INT X AND X + 1 > 5", "VAR(0,0,'X') TRUE AND VAR(0,0,'X') PUSH INTCONST(1,0,'1') PUSH ADD INTCMP(5,2) INTCONST(5,0,'5') TRUE"},
    {"INT X AND (X + 1) * 2 > 5", "E87@18"},
    {"INT X AND X * (1 + 2) > 5", "VAR(0,0,'X') TRUE AND VAR(0,0,'X') PUSH INTCONST(1,0,'1') PUSH INTCONST(2,0,'2') PUSH ADD MUL INTCMP(5,2) INTCONST(5,0,'5') TRUE"},
    {"X > 5", "E85@0"},
    {"INT N AND STR N", "E95@14"},
    {"3 MOD 2", "INTCONST(3,0,'3') PUSH INTCONST(2,0,'2') PUSH MOD"},
    {"3 DIV 2", "INTCONST(3,0,'3') PUSH INTCONST(2,0,'2') PUSH DIV"},
    // Compiled form of whole chains.
    {"TRUE", "TRUE"},
    {"STMT_MOVE AND STMT_IF OR STMT_GOTO", "OP(STMT_MOVE,1) AND OP(STMT_IF,1) OR OP(STMT_GOTO,1)"},
    {"IMAGE == 'X'", "IMAGE STRVAL STREQ(0,1,'X')"},
    {"OP != STMT_MOVE", "NOT OP(STMT_MOVE,1)"},
    {"PARENT", "PARENT NOTNULL"},
    // Rejections of questions the language leaves open.
    {"5 == INTVALUE", "E84@2"},
    {"'A' == IMAGE", "E84@4"},
    {"INTVALUE == NULL", "E87@12"},
    {"ARG(PARENT)", "E86@4"},
    {"INDEX == MOVE_SOURCE", "E84@9"},
    // Assignments are forbidden unless asked for.
    {"NODE V AND OP = V", "E87@14"},
    // Stray parentheses, empty conditions, null tests.
    {"TRUE)", "E91@4"},
    {")", "E91@0"},
    {"STMT_MOVE AND", "E91@13"},
    {"IMAGE == NULL", "IMAGE STRNULL TRUE"},
    {"IMAGE != NULL", "IMAGE STRNULL(1,0) TRUE"},
    {"IMAGE", "IMAGE STRNULL(1,0) TRUE"},
    {"ISDESCOF(STMT_IF)", "ISDESCOF(STMT_IF,0)"},
    // ISDESCOF, FIND, string operations, variables as operands.
    {"ISDESCOF(STMT_IF).ARG(1) == STMT_MOVE", "ISDESCOF(STMT_IF,0) ARG(0,0,'1') OP(STMT_MOVE,1)"},
    {"FIND(STMT_MOVE)", "FIND(STMT_MOVE,0,'STMT_MOVE') NOTNULL"},
    {"FIND(STMT_MOVE).ARG(1) == NULL", "FIND(STMT_MOVE,0,'STMT_MOVE') ARG(0,0,'1') ISNULL"},
    {"IMAGE.LOWER.SUBSTR(0,2) == 'ab'", "IMAGE STRVAL LOWER SUBSTR(0,2) STREQ(0,1,'ab')"},
    {"INT N AND ARG(N)", "VAR(0,0,'N') TRUE AND ARG(0,1,'N') NOTNULL"},
    {"E.PARENT == STMT_IF", "VAR(0,0,'E') PARENT OP(STMT_IF,1)"},
    {"NODE V AND V.MOVE_SOURCE", "VAR(0,0,'V') TRUE AND VAR(0,0,'V') ARG(0,0,'MOVE_SOURCE') NOTNULL"},
    {"'A' + 'B' == 'BA'", "STRCONST(0,0,'A') PUSH STRCONST(0,0,'B') PUSH ADD VALUE STRVAL STREQ(0,1,'BA')"},
    {"OP > STMT_MOVE", "OP(STMT_MOVE,2)"},
    {"OP == NULL", "ISNULL"},
    {"OP != NULL", "NOTNULL"},
    {"INT N AND ARGNO == N", "VAR(0,0,'N') TRUE AND ARGNO(3,1) VAR(0,0,'N')"},
    // SPECREG, FROMSRC, enclosing nodes, links.
    {"SPECREG", "SPECREG"},
    {"FROMSRC", "FROMSRC"},
    {"ENCL-STMT == STMT_IF", "ENCLSTMT OP(STMT_IF,1)"},
    {"ENCL-SECTION", "ENCLSECTION NOTNULL"},
    {"LINK", "LINK NOTNULL"},
    // Errors: a missing "(" (93), names (85, 86), commands (87), numbers (94), types (95), "," (97), ")" (92), syntax (84).
    {"ISDESCOF STMT_IF", "E93@9"},
    {"ARG 1", "E93@4"},
    {"FIND STMT_IF", "E93@5"},
    {"IMAGE.SUBSTR 1", "E93@13"},
    {"ISDESCOF(NOPE)", "E85@9"},
    {"FIND(1)", "E85@5"},
    {"FIND(MOVE_SOURCE)", "E85@5"},
    {"ARG(STMT_MOVE)", "E86@4"},
    {"ARG('x')", "E86@4"},
    {"ARG(FOO)", "E86@4"},
    {"IMAGE.FOO == 'x'", "E87@6"},
    {"ARGNO ~ 1", "E87@8"},
    {"ARGNO", "E87@5"},
    {"ARG(1) STMT_IF", "E87@7"},
    {"ARGNO == X", "E94@9"},
    {"INDEX == 'a'", "E94@9"},
    {"IMAGE.SUBSTR(A,1) == 'x'", "E95@13"},
    {"'A' - 'B' > 1", "E95@10"},
    {"1 + 'A' > 1", "E95@8"},
    {"IMAGE.SUBSTR(1 2) == 'x'", "E97@15"},
    {"1 + (2 AND 3)", "E92@6"},
    {"INT X AND X * (1 > 2)", "E92@16"},
    {"PARENT STMT_IF", "E84@7"},
    {"PARENT = X", "E84@7"},
    {"IMAGE 'A'", "E84@6"},
    {"(STMT_MOVE OR STMT_IF) AND IMAGE", "[OP(STMT_MOVE,1) OR OP(STMT_IF,1)] AND IMAGE STRNULL(1,0) TRUE"},
    {"TRUE OR FALSE AND FALSE", "TRUE OR FALSE AND FALSE"},
    {"ARG(1).ARG(2).PARENT == STMT_MOVE", "ARG(0,0,'1') ARG(1,0,'2') PARENT OP(STMT_MOVE,1)"},
    // More chains, relations and spellings.
    {"INT X AND X DIV 2 > 0", "VAR(0,0,'X') TRUE AND VAR(0,0,'X') PUSH INTCONST(2,0,'2') PUSH DIV INTCMP(0,2) INTCONST(0,0,'0') TRUE"},
    {"IMAGE ~ ~ 'X'", "E84@8"},
    {"IMAGE NOT == 'A'", "IMAGE STRNULL NOT STREQ(0,1,'A')"},
    {"IMAGE == ~ 'x*'", "IMAGE STRVAL STREQ_NOCASE(0,1,'X*')"},
    {"IMAGE ~ LIKE 'x*'", "IMAGE STRVAL LIKE_NOCASE(0,1,'X*')"},
    {"\"it's\" + 'a' == 'x'", "STRCONST(0,0,'it's') PUSH STRCONST(0,0,'a') PUSH ADD VALUE STRVAL STREQ(0,1,'x')"},
    {"ARG(0)", "ARG(-1,0,'0') NOTNULL"},
    {"STMT_MOVE && STMT_IF || STMT_GOTO", "OP(STMT_MOVE,1) AND OP(STMT_IF,1) OR OP(STMT_GOTO,1)"},
    {"! STMT_MOVE", "NOT OP(STMT_MOVE,1)"},
    {"INT X AND X == 3", "VAR(0,0,'X') TRUE AND VAR(0,0,'X') INTVALUE(3,1) INTCONST(3,0,'3') TRUE"},
    {"STR S AND S == 'x'", "VAR(0,0,'S') TRUE AND VAR(0,0,'S') VALUE STRVAL STREQ(0,1,'x')"},
    {"NODE V AND V == STMT_IF", "VAR(0,0,'V') TRUE AND VAR(0,0,'V') OP(STMT_IF,1)"},
    {"INT X AND INDEX == X", "VAR(0,0,'X') TRUE AND INDEX(3,1) VAR(0,0,'X')"},
    {"ARGNO >= 3 AND INTVALUE <= 2", "ARGNO(3,3) INTCONST(3,0,'3') TRUE AND INTVALUE(2,5) INTCONST(2,0,'2') TRUE"},
    {"A-B", "E85@0"},
    {"STMT_MOVE (STMT_IF)", "E87@11"},
};

TEST(QueryCompile, EveryConstructAndRejection) {
    for (const CompileCase& c : kCases) EXPECT_EQ(CompileDump(c.query), c.expected) << "query: " << c.query;
}

struct AssignCase {
    const char* query;
    const char* forbidden;
    const char* allowed;
};

// Each form of assignment: error 87 at the '=' in a searching query; the
// assignment step with its subchain when assignments are allowed.
const AssignCase kAssignCases[] = {
    {"NODE V AND OP = V", "E87@14", "VAR(0,0,'V') TRUE AND SETNODE{VAR(0,0,'V') TRUE}"},
    {"OP = ARG(1)", "E87@3", "SETNODE{ARG(0,0,'1') NOTNULL}"},
    {"ARG(1) = ARG(2)", "E87@7", "ARG(0,0,'1') SETNODE{ARG(1,0,'2') NOTNULL}"},
    {"IMAGE = \"x\"", "E87@6", "IMAGE STRVAL SETSTR{STRCONST(0,0,'x') TRUE}"},
    {"ARGNO = 5", "E87@6", "SETINT{INTCONST(5,0,'5') TRUE}"},
    {"INT X AND X = 5", "E87@12", "VAR(0,0,'X') TRUE AND VAR(0,0,'X') SETINT{INTCONST(5,0,'5') TRUE}"},
    {"OP = OP = OP", "E87@3", "SETNODE{SETNODE{NOTNULL}}"},
};

TEST(QueryCompile, AssignmentsOnlyWhenAllowed) {
    for (const AssignCase& c : kAssignCases) {
        EXPECT_EQ(CompileDump(c.query, false), c.forbidden) << "query: " << c.query;
        EXPECT_EQ(CompileDump(c.query, true), c.allowed) << "query: " << c.query;
    }
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(QueryCompile, NestingIsBounded) {
    const int limit = kDovQueryMaxNesting;
    // Groups: the limit compiles, one more is error 92 at the '(' past it.
    const std::string groups = Repeat("(", limit) + "TRUE" + Repeat(")", limit);
    EXPECT_EQ(CompileDump(groups.c_str()).substr(0, 2), "[[");
    const std::string deeper = Repeat("(", limit + 1) + "TRUE" + Repeat(")", limit + 1);
    EXPECT_EQ(CompileDump(deeper.c_str()), "E92@" + std::to_string(limit));
    // Arithmetic parentheses count with the groups around them.
    const std::string arith = "1 + " + Repeat("(", limit + 1) + "1" + Repeat(")", limit + 1) + " > 1";
    EXPECT_EQ(CompileDump(arith.c_str()), "E92@" + std::to_string(4 + limit));
    const std::string inner = "1 + " + Repeat("(", limit - 1) + "1" + Repeat(")", limit - 1) + " > 1";
    EXPECT_EQ(CompileDump(inner.c_str()).substr(0, 8), "INTCONST");
    // Chained assignments nest too.
    const std::string assigns = Repeat("OP = ", limit + 10) + "OP";
    EXPECT_EQ(CompileDump(assigns.c_str(), true), "E92@" + std::to_string(5 * limit + 3));
    // No text overflows the stack, however deep it opens.
    EXPECT_EQ(CompileDump(Repeat("(", 200000).c_str()), "E92@" + std::to_string(limit));
    EXPECT_EQ(CompileDump(Repeat("1 + (", 200000).c_str()).substr(0, 4), "E92@");
}

TEST(QueryCompile, LongFlatQueriesCompileAndRelease) {
    const std::string chain = Repeat("TRUE AND ", 100000) + "TRUE";
    DovQuery q(chain.c_str());
    VString message;
    int column = 0;
    ASSERT_EQ(q.Compile(nullptr, message, column), 0);
    EXPECT_EQ(q.Match(nullptr), 1);
    const std::string sum = Repeat("1 + ", 50000) + "1 > 5";
    DovQuery s(sum.c_str());
    ASSERT_EQ(s.Compile(nullptr, message, column), 0);
    EXPECT_EQ(s.Match(nullptr), 1);
}

TEST(QueryCompile, MessageAndColumnOfAnError) {
    DovQuery q("OP == NO_SUCH_NAME");
    VString message;
    int column = -1;
    EXPECT_EQ(q.Compile(nullptr, message, column), 85);
    EXPECT_STREQ(message.CStr(), "Invalid operation name");
    EXPECT_EQ(column, 6);
    EXPECT_EQ(q.chain, nullptr);
    EXPECT_EQ(q.Match(nullptr), 0);
    // A new compilation replaces chain and variables.
    q.text = "INT N AND N > 1";
    EXPECT_EQ(q.Compile(nullptr, message, column), 0);
    EXPECT_EQ(q.vars->Find("N"), 3);
    q.text = "TRUE";
    EXPECT_EQ(q.Compile(nullptr, message, column), 0);
    EXPECT_EQ(q.vars->Find("N"), -1);
}

TEST(QueryCompile, CallersVariableList) {
    DovQueryVarList mine;
    mine.Create(true);
    DovQuery q("INT N AND N > 1");
    VString message;
    int column = 0;
    EXPECT_EQ(q.Compile(&mine, message, column), 0);
    EXPECT_EQ(mine.Find("N"), 3);
    EXPECT_EQ(q.vars->Find("N"), -1);
}

TEST(QueryCompile, ErrorTexts) {
    const struct {
        int code;
        const char* text;
    } texts[] = {
        {0, "Ok"}, {30, "BAD Signal"}, {84, "Syntax error"}, {85, "Invalid operation name"},
        {86, "Invalid clause number constant"}, {87, "Unknown or disallowed command"},
        {88, "Open string constant"}, {89, "Parameter missing"}, {90, "String constant is not quoted"},
        {91, "Unexpected ')'"}, {92, "Expected ')' missing"}, {93, "Expected '(' missing"},
        {94, "Invalid integer number"}, {95, "Type mismatch"}, {96, "Unhandled error"}, {97, "',' required"},
        {98, "No such variable"}, {99, "Var already connected to a tree"},
        {100, "Var is not connected to any tree"}, {101, "No such arg (child) clause"}, {102, "No IMAGE/VALUE"},
        {103, "No INTVALUE"}, {104, "'DO' required"}, {105, "'THEN' required"}, {106, "';' required"},
        {107, "'END' required"}, {108, "Unhandled error"}, {-1, "Unhandled error"},
    };
    for (const auto& t : texts) EXPECT_STREQ(DovQueryErrorText(t.code), t.text) << t.code;
}

}  // namespace
