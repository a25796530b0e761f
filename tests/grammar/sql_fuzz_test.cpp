// Bounded random mutation of EXEC SQL blocks: words dropped, repeated,
// swapped or replaced inside the block. Every mutant parses to the end: the
// block stays one EXEC SQL node (a statement or a syntax error), the
// statement after it is there, and the tree holds exactly the delivered
// tokens.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;

const char* const kBaseTexts[] = {
    "SELECT A + B * 2, T.*, COUNT(*) INTO :X, :Y :YI FROM S.T R WHERE A BETWEEN 1 AND 2 OR B IN (1, 2) "
    "GROUP BY A HAVING SUM(B) > 0",
    "DECLARE C1 INSENSITIVE SCROLL CURSOR WITH HOLD FOR SELECT A FROM T WHERE (A, B) = (1, 2) ORDER BY A DESC "
    "FOR UPDATE OF A",
    "INSERT INTO T (A, B) VALUES (:A, DEFAULT), 3",
    "UPDATE T SET A = CASE WHEN B THEN 1 ELSE 2 END WHERE CURRENT OF C1",
    "FETCH ABSOLUTE 3 FROM C1 INTO :A.B INDICATOR :I",
    "WHENEVER SQLERROR GO TO :P9",
    "DECLARE T TABLE (A DECIMAL (5, 2) NOT NULL, B CHAR (3) CHECK (B <> 'X'))",
    "INSERT INTO T (U CROSS JOIN V) UNION JOIN W",
};

const char* const kWords[] = {"SELECT", "FROM",  "WHERE", "(", ")", ",", ":", ".", "=", "<", ">", "*",
                              "AND",    "OR",    "NOT",   "NULL", "IS", "INTO", "VALUES", "1", "'S'", "X",
                              "CURSOR", "TABLE", "JOIN",  "BY", "ORDER", "CASE", "END", "+", "-", "|"};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string Mutate(std::vector<std::string> words, std::mt19937& rng) {
    const int edits = 1 + static_cast<int>(rng() % 3);
    for (int e = 0; e < edits && !words.empty(); ++e) {
        const std::size_t i = rng() % words.size();
        switch (rng() % 4) {
            case 0: words.erase(words.begin() + static_cast<long>(i)); break;
            case 1: words.insert(words.begin() + static_cast<long>(i), words[i]); break;
            case 2: std::swap(words[i], words[rng() % words.size()]); break;
            default: words[i] = kWords[rng() % (sizeof kWords / sizeof *kWords)]; break;
        }
    }
    // The block on lines of area B.
    std::string out = "EXEC SQL", line;
    for (const std::string& w : words) {
        if (line.size() + w.size() > 50) {
            out += line + "\n";
            line.clear();
        }
        line += " " + w;
    }
    return out + line + "\nEND-EXEC.\nSTOP RUN.";
}

TEST(SqlFuzz, MutatedBlocksParseOnAndKeepTheirTokens) {
    std::mt19937 rng(24);
    for (int round = 0; round < 300; ++round) {
        const std::string text = Mutate(Split(kBaseTexts[round % (sizeof kBaseTexts / sizeof *kBaseTexts)]), rng);
        SCOPED_TRACE(text);
        GrammarRun run;
        run.ParseStatements(text);
        ASSERT_NE(run.root(), nullptr) << run.MessageText();
        EXPECT_EQ(FindAll(run.root(), STMT_EXEC_SQL).size(), 1u);
        EXPECT_NE(FindFirst(run.root(), STMT_STOP), nullptr);
        EXPECT_EQ(run.TokenDifference(), "");
        EXPECT_LE(run.SyntaxErrors(), 1);
    }
}

}  // namespace
