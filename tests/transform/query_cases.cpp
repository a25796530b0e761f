// The table of compiled queries shared by the compiler test and the fuzz
// test, which mutates its queries.
#include "tests/transform/query_test_util.h"

namespace vemlo_test {
namespace {

const CompileCase kCases[] = {
    // Empty queries and bare operation names.
    {"", "TRUE"},
    {"NOT", "NOT TRUE"},
    {"INT X", "VAR(0,0,'X') TRUE"},
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
    // Tokens as the compiler meets them: strings, comments, spellings.
    {"IMAGE == 'it''s'", "IMAGE STRVAL STREQ(0,1,'it's')"},
    {"IMAGE == 'a\\'b'", "IMAGE STRVAL STREQ(0,1,'a'b')"},
    {"IMAGE == 'a\\nb'", "IMAGE STRVAL STREQ(0,1,'a\nb')"},
    {"IMAGE == \"a'b\"", "IMAGE STRVAL STREQ(0,1,'a'b')"},
    {"IMAGE == ''", "IMAGE STRVAL STREQ(0,1)"},
    {"IMAGE == '''", "E87@11"},
    {"'abc", "E88@0"},
    {"STMT_MOVE // note\nOR STMT_IF", "OP(STMT_MOVE,1) OR OP(STMT_IF,1)"},
    {"STMT_MOVE // OR STMT_IF", "OP(STMT_MOVE,1)"},
    {"STMT_MOVE / STMT_IF", "E87@10"},
    {"12abc", "E84@2"},
    {"INTVALUE == 12abc", "E84@14"},
    {"arg(2)", "ARG(1,0,'2') NOTNULL"},
    {"arg 2", "E93@4"},
    {"Image == 'x'", "IMAGE STRVAL STREQ(0,1,'x')"},
    {"a - b", "E85@0"},
    {"ENCL-STMT", "ENCLSTMT NOTNULL"},
    {"INTVALUE > 99999999999999999999", "INTVALUE(9223372036854775807,2) INTCONST(9223372036854775807,0,'99999999999999999999') TRUE"},
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

}  // namespace

const std::vector<CompileCase>& QueryCompileCases() {
    static const std::vector<CompileCase> cases(std::begin(kCases), std::end(kCases));
    return cases;
}

}  // namespace vemlo_test
