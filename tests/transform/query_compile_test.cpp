// The query compiler: every construct compiled into its steps, every
// rejection with its code and column.
#include <gtest/gtest.h>

#include <string>

#include "tests/transform/query_test_util.h"

namespace {

using vemlo_test::CompileDump;

TEST(QueryCompile, EveryConstructAndRejection) {
    for (const vemlo_test::CompileCase& c : vemlo_test::QueryCompileCases()) EXPECT_EQ(CompileDump(c.query), c.expected) << "query: " << c.query;
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
