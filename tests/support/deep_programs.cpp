#include "tests/support/deep_programs.h"

#include <cstddef>

namespace vemlo_test {

namespace {

bool NestsACondition(const Nesting& n) { return n.before[0] != '\0'; }

const char kHeading[] =
    "       IDENTIFICATION DIVISION.\n"
    "       PROGRAM-ID. DEEP.\n"
    "       DATA DIVISION.\n"
    "       WORKING-STORAGE SECTION.\n"
    "       01  T PIC 9 OCCURS 10.\n"
    "       01  A PIC 9.\n"
    "       PROCEDURE DIVISION.\n"
    "       P1.\n";

}  // namespace

const std::vector<Nesting>& DeepNestings() {
    static const std::vector<Nesting> nestings = {
        {"IF", "", "           IF T (1) = A\n", "           END-IF\n"},
        {"EVALUATE", "", "           EVALUATE A WHEN 1\n", "           END-EVALUATE\n"},
        {"PERFORM", "", "           PERFORM 2 TIMES\n", "           END-PERFORM\n"},
        {"parentheses", "           IF\n", "            (\n", "            )\n"},
        {"NOT", "           IF\n", "            NOT\n", ""},
        {"NOT (", "           IF\n", "            NOT (\n", "            )\n"},
    };
    return nestings;
}

std::string DeepProgram(const Nesting& n, int depth) {
    const bool condition = NestsACondition(n);
    std::string text = kHeading;
    text += n.before;
    text.reserve(text.size() + std::size_t(depth) * 40);
    for (int i = 0; i < depth; ++i) text += n.open;
    text += condition ? "             A = 1\n" : "           MOVE 1 TO A\n";
    for (int i = 0; i < depth; ++i) text += n.close;
    if (condition) text += "           MOVE 1 TO A END-IF\n";
    text += "           .\n"
            "           STOP RUN.\n";
    return text;
}

int DeepMoveLine(const Nesting& n, int depth) {
    if (!NestsACondition(n)) return 8 + depth + 1;
    // The IF, the levels, the relation and the closing lines.
    const int closeLines = n.close[0] ? depth : 0;
    return 8 + 1 + depth + 1 + closeLines + 1;
}

const std::vector<BrokenNesting>& BrokenNestings() {
    // TRIM and ABS are not intrinsic functions of the default dialect: a
    // function name the lexer does not know opens a trial at its '('
    // (arguments or a reference modification), as a known one does at its
    // own. The levels of PERFORM open one at their count.
    static const std::vector<BrokenNesting> nestings = {
        {"AND of functions",
         "           IF FUNCTION UPPER-CASE (FUNCTION TRIM (A)) =\n"
         "              FUNCTION UPPER-CASE (FUNCTION TRIM (A))\n",
         "              AND FUNCTION UPPER-CASE (FUNCTION TRIM (A)) =\n"
         "              FUNCTION UPPER-CASE (FUNCTION TRIM (A))\n",
         "              AND FUNCTION UPPER@CASE (FUNCTION TRIM (A)) =\n"
         "              FUNCTION UPPER-CASE (FUNCTION TRIM (A))\n"
         "              MOVE 1 TO A\n"
         "           END-IF.\n",
         "user-word UPPER@CASE"},
        {"unclosed FUNCTION ABS(", "           COMPUTE A =\n", "              FUNCTION ABS(\n", "              A .\n",
         "."},
        {"PERFORM 2 TIMES without END-PERFORM", "", "           PERFORM 2 TIMES\n",
         "              ADD 1 TO A\n           .\n", "."},
        {"PERFORM 2 TIMES MOVE T (1) without END-PERFORM", "", "           PERFORM 2 TIMES MOVE T (1) TO A\n",
         "              ADD 1 TO A\n           .\n", "."},
        {"PERFORM 2 TIMES EXEC CICS RECEIVE MAP without END-PERFORM", "",
         "           PERFORM 2 TIMES EXEC CICS RECEIVE MAP('M') INTO(A)\n"
         "              END-EXEC\n",
         "              ADD 1 TO A\n           .\n", "."},
        // Each NOT phrase may be the inner statement's or the outer one's:
        // the ways do not meet again.
        {"ADD ON SIZE ERROR ADD NOT ON SIZE ERROR without END-ADD", "",
         "           ADD 1 TO A ON SIZE ERROR ADD 1 TO A NOT ON SIZE ERROR\n", "              ADD TO A .\n",
         "keyword TO"},
        // Shapes that back off one level at a time: unclosed parentheses
        // and subscripts, IF without END-IF, NOT with parentheses.
        {"unclosed parentheses", "           COMPUTE A =\n", "              (\n", "              A .\n", "."},
        {"unclosed subscripts", "           MOVE\n", "              T (\n", "              1 TO A .\n", "("},
        {"IF T (1) without END-IF", "", "           IF T (1) = 1\n", "              ADD TO A .\n", "keyword TO"},
        {"unclosed NOT (", "           IF\n", "              NOT (\n", "              A = 1 MOVE 1 TO A .\n",
         "keyword MOVE"},
    };
    return nestings;
}

std::string BrokenProgram(const BrokenNesting& n, int depth) {
    std::string text = kHeading;
    text += n.before;
    for (int i = 0; i < depth; ++i) text += n.level;
    text += n.after;
    text += "           STOP RUN.\n";
    return text;
}

}  // namespace vemlo_test
