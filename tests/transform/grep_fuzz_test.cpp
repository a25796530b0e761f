// Query files mutated at random: both readers end on every input, never
// give more than the limit, the whole-file reader gives exactly the block a
// plain model picks, the section reader gives trimmed lines; and Prepare on
// such files answers with a known code and its message.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/transform/grep_test_util.h"
#include "transform/transform.h"
#include "tree/leaf.h"

namespace {

using vemlo_test::GrepRun;
using vemlo_test::ScratchDir;
using namespace std::string_literals;

const std::vector<std::string> kBaseTexts = {
    "QUERY MAIN\nSTMT_MOVE\n",
    "# comment\nquery   Main  \n  STMT_MOVE\n\n  OR STMT_IF\nQUERY OTHER\nSTMT_GOTO\n",
    "QUERYMAIN\r\nIMAGE == 'A'\r\n* c\r\nQUERY MAIN\r\nSTMT_ADD",
    "STMT_MOVE OR STMT_IF\n",
    "#c\0*d\0STMT_IF\0rest"s,
    "",
    "QUERY X\n\n\nQUERY MAIN\n\n",
    "// note\nARG(1) == NAME_USE\n",
};

const std::vector<std::string> kPieces = {
    "QUERY ", "query main", "QUERY MAIN\n", "MAIN", "\n", "\r\n", "\r", "#", "*", "\0"s, " ", "\t",
    "STMT_MOVE", " OR ", "(", ")", "'", "==", "\xff", std::string(300, 'x'), "\n\n\n",
};

std::string Mutate(std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    std::string text = kBaseTexts[pick(kBaseTexts.size())];
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = pick(text.size() + 1);
        switch (pick(5)) {
        case 0: text.insert(at, 1, static_cast<char>(rng() & 0xff)); break;
        case 1: text.insert(at, kPieces[pick(kPieces.size())]); break;
        case 2:
            if (!text.empty()) text.erase(at > 0 ? at - 1 : 0, 1 + pick(5));
            break;
        case 3:
            if (!text.empty()) text[pick(text.size())] = static_cast<char>(rng() & 0xff);
            break;
        default: text.insert(at, kBaseTexts[pick(kBaseTexts.size())]); break;
        }
    }
    return text;
}

// The whole-file reader's rule, plainly: blocks end at NUL bytes; the first
// block that does not begin with '#' or '*', or the last one, is the query.
// True when the query is within the limit (and then it is in `query`).
bool WholeModel(const std::string& content, std::size_t limit, std::string& query) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = content.find('\0', start);
        const bool last = nul == std::string::npos;
        const std::string block = content.substr(start, last ? std::string::npos : nul - start);
        if (block.size() > limit) return false;
        const bool comment = !block.empty() && (block[0] == '#' || block[0] == '*');
        if (!comment || last) {
            query = block;
            return true;
        }
        start = nul + 1;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

TEST(GrepFuzz, ReadersOnMutatedFiles) {
    std::mt19937 rng(2029);
    for (int round = 0; round < 4000; ++round) {
        const std::string content = Mutate(rng);
        const std::uint32_t limit = round % 3 == 0 ? VString::kMaxLen : static_cast<std::uint32_t>(rng() % 40);
        SCOPED_TRACE(round);

        std::istringstream whole(content);
        VString text = "stale";
        const WyrGrepReadResult r = WyrGrepReadWholeQuery(whole, text, limit);
        std::string expected;
        const bool fits = WholeModel(content, limit, expected);
        ASSERT_EQ(r == WyrGrepReadResult::kTooLong, !fits);
        if (fits) {
            ASSERT_EQ(std::string(text.CStr(), static_cast<std::size_t>(text.Len())), expected);
        }

        for (const char* name : {"MAIN", "X"}) {
            std::istringstream is(content);
            VString got = "stale";
            const WyrGrepReadResult n = WyrGrepReadNamedQuery(is, name, got, limit);
            if (n != WyrGrepReadResult::kOk) {
                if (n == WyrGrepReadResult::kNotFound) {
                    ASSERT_EQ(got, "stale");
                }
                continue;
            }
            ASSERT_LE(static_cast<std::uint32_t>(got.Len()), limit);
            const std::string s(got.CStr(), static_cast<std::size_t>(got.Len()));
            if (s.empty()) continue;
            ASSERT_FALSE(IsBlank(s.front()));
            ASSERT_FALSE(IsBlank(s.back()));
            // Every line is trimmed; no comment line is taken.
            std::size_t b = 0;
            while (b <= s.size()) {
                std::size_t e = s.find('\n', b);
                if (e == std::string::npos) e = s.size();
                const std::string line = s.substr(b, e - b);
                if (!line.empty()) {
                    ASSERT_FALSE(IsBlank(line.front()));
                    ASSERT_FALSE(IsBlank(line.back()));
                }
                b = e + 1;
            }
        }
    }
}

TEST(GrepFuzz, PrepareOnMutatedFiles) {
    ScratchDir dir;
    std::mt19937 rng(29);
    DovExprOper move(STMT_MOVE);
    DovTokenString word("A");
    for (int round = 0; round < 600; ++round) {
        SCOPED_TRACE(round);
        const std::string content = Mutate(rng);
        dir.Write("q.txt", content);
        GrepRun run;
        run.grep.query_file = round % 2 ? "q.txt:main" : "q.txt";
        run.grep.print_query = 1;
        run.grep.print_err_pos = round % 3 ? 1 : 0;
        const int rc = run.Prepare();
        const bool known = rc == 0 || rc == 'T' || (rc >= 84 && rc <= 97);
        ASSERT_TRUE(known) << rc;
        if (rc == 0) {
            ASSERT_NE(run.grep.query.chain, nullptr);
            for (DovExpr* n : {static_cast<DovExpr*>(&move), static_cast<DovExpr*>(&word)}) {
                const char r = run.grep.TransformNode(n, 1, &run.msgs, nullptr);
                ASSERT_TRUE(r == 0 || r == 'A');
            }
        } else {
            // Every failure says why, last.
            ASSERT_FALSE(run.msgs.IsEmpty());
            ASSERT_EQ(run.msgs.Last()->code, MSG_ERR);
        }
    }
}

}  // namespace
