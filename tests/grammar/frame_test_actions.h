// The actions, token source and hooks of the frame tests' grammars
// (tests/grammar/frame_test.y and the smaller ones beside it), and what they
// record.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "grammar/frame.h"

extern const DovGrammarTables FrameTestTables;
extern const DovGrammarTables WindowTestTables;
extern const DovGrammarTables SingleTestTables;
extern const DovGrammarTables NestTestTables;

namespace frame_test {

// A token of a test input: a letter of the test language ("A", "X", ";",
// "(", ...). Its value is a character-string node and its position a token
// list with one token, both named by the letter and its index ("X3").
struct Recorder {
    std::vector<std::string> built;   // each `{ }` action, in order: its node's text
    std::vector<std::string> probes;  // each `[ ]` probe: name and "/T" (trial) or "/N"
    std::vector<std::string> errors;  // each syntax-error report: the text and the lookahead's name
    std::vector<std::string> released;  // each discarded value: its name and "@" code
    std::vector<std::string> released_posns;  // each discarded position: its tokens' names and "@" code
    std::vector<std::string> left;    // the value left of a rule, as Left saw it
    int reduce_calls = 0;             // calls of the position reduction
    int lexed = 0;                    // tokens delivered by the token source
};
extern Recorder rec;

// Sets the input for the next run (letters separated by blanks) and clears
// the recorder.
void SetInput(const std::string& text);
// The grammar with the test's services; `reduce_hook` installs a counting
// position reduction instead of the frame's default.
DovFrameGrammar MakeGrammar(bool reduce_hook = false, const DovGrammarTables* tables = &FrameTestTables);
// The names of the tokens a position list holds, blank-separated.
std::string TokenNames(const DovTokenList* list);
// The text of a value's node ("" when it is no node).
std::string ValueText(YYSTYPE v);

}  // namespace frame_test

// Used by the grammar's actions.
YYSTYPE Build(const char* name, std::initializer_list<YYSTYPE> children);
template <typename... V>
YYSTYPE Build(const char* name, V... children) {
    return Build(name, {static_cast<YYSTYPE>(children)...});
}
void Probe(const char* name, bool trial);
// A level of nest_test.y: records `form` in `built`, releases the level's
// tokens and passes the value of the level inside it on.
YYSTYPE Level(const char* form, YYSTYPE inner, std::initializer_list<YYSTYPE> tokens);
void Left(YYSTYPE value);
