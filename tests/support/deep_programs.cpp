#include "tests/support/deep_programs.h"

#include <cstddef>

namespace vemlo_test {

namespace {

bool NestsACondition(const Nesting& n) { return n.before[0] != '\0'; }

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
    std::string text =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. DEEP.\n"
        "       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01  T PIC 9 OCCURS 10.\n"
        "       01  A PIC 9.\n"
        "       PROCEDURE DIVISION.\n"
        "       P1.\n";
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

}  // namespace vemlo_test
