// Programs nested as deep as one likes, one kind of nesting each: IF,
// EVALUATE, inline PERFORM, parentheses, NOT and NOT with parentheses. The
// innermost statement is a MOVE in every program.
#pragma once

#include <string>
#include <vector>

namespace vemlo_test {

// One way of nesting: the lines that open a level, the ones that close it
// (from the inside out), and what stands before the levels. A nesting with
// a `before` line nests a condition, whose IF holds the MOVE.
struct Nesting {
    const char* name;
    const char* before;
    const char* open;
    const char* close;
};

const std::vector<Nesting>& DeepNestings();

// The heading's 8 lines, then the levels; ends with the MOVE's sentence
// and STOP RUN.
std::string DeepProgram(const Nesting& n, int depth);

// The line of the innermost MOVE.
int DeepMoveLine(const Nesting& n, int depth);

// One syntax error under levels of nesting whose trial points stay open
// until the error: in the first six shapes each level's alternatives reach
// the next level, so that a backtracking parse that tries every way again
// under every way of the levels around it takes time exponential in the
// depth. `before` stands before the levels, `level` is one level, `after`
// holds the error and the end of the sentence; `error` is the token at which
// the syntax error is reported, as the message spells it.
struct BrokenNesting {
    const char* name;
    const char* before;
    const char* level;
    const char* after;
    const char* error;
};

const std::vector<BrokenNesting>& BrokenNestings();

// The heading's 8 lines, `before`, `depth` levels, `after`, STOP RUN.
std::string BrokenProgram(const BrokenNesting& n, int depth);

}  // namespace vemlo_test
