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

}  // namespace vemlo_test
