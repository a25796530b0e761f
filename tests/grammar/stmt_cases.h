// Shared by the statement-family tests: a table of statement snippets and
// the shape of the first statement each one parses to.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/grammar/grammar_fixture.h"

namespace vemlo_stmt_test {

struct Case {
    const char* source;  // statements of one paragraph, on one logical line
    const char* shape;   // of the first statement
};

// Breaks a statement text into lines that fit the program area (the words
// of the cases hold no blanks inside literals).
inline std::string Wrap(const std::string& text) {
    std::string out, line, word;
    auto flush_word = [&] {
        if (word.empty()) return;
        if (!line.empty() && line.size() + 1 + word.size() > 56) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char ch : text) {
        if (ch == ' ' || ch == '\n') flush_word();
        else word += ch;
    }
    flush_word();
    return out + line;
}

// Parses each case in `dialect`: no syntax error, the shape, token
// conservation.
template <std::size_t N>
void CheckCases(const Case (&cases)[N], int dialect = DIAL_ANSI85) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        vemlo_grammar_test::GrammarRun run;
        if (dialect != DIAL_ANSI85) {
            VString error;
            run.parser().primaryDialect = dialect;
            ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
        }
        run.ParseStatements(Wrap(c.source));
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        EXPECT_EQ(run.StatementShape(0), c.shape);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

}  // namespace vemlo_stmt_test
