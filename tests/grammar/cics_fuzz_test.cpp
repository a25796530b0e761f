// Token-level random mutations of EXEC CICS blocks parsed as whole
// programs: tokens of the blocks' bodies dropped, doubled, swapped or
// replaced by CICS words, parentheses, literals, names, a period and
// END-EXEC. Every run ends with a tree
// that holds every delivered token once, and the parse never gives up.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/grammar/cics_support.h"
#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;

const char* const kBlocks[] = {
    "EXEC CICS SEND MAP('M1') FROM(D) MAPSET('S1') CURSOR ERASE END-EXEC",
    "EXEC CICS RECEIVE MAP('M1') INTO(D) MAPSET('S1') RESP(R) END-EXEC",
    "EXEC CICS ASSIGN SYSID(S) APPLID(A OF B) END-EXEC",
    "EXEC CICS HANDLE CONDITION NOTFND(P-0) ERROR MAPFAIL(P-0) END-EXEC",
    "EXEC CICS HANDLE AID CLEAR(P-0) PF3 END-EXEC",
    "EXEC CICS ADDRESS SET(ADDRESS OF L) USING(P) END-EXEC",
    "EXEC CICS READ FILE('F1') INTO(R) LENGTH(LENGTH OF R) RIDFLD(K) KEYLENGTH(8) GTEQ END-EXEC",
    "EXEC CICS WRITEQ TS QUEUE(Q) FROM(D) ITEM(I) NOSUSPEND RESP(R) RESP2(R2) END-EXEC",
    "EXEC CICS FORMATTIME ABSTIME(T) MMDDYYYY(D) DATESEP('/') TIME(T2) TIMESEP END-EXEC",
    "EXEC CICS LINK PROGRAM(P) COMMAREA(C) LENGTH(100) END-EXEC",
    "EXEC CICS SYNCPOINT ROLLBACK END-EXEC",
    "EXEC CICS DEFINE COUNTER(C) POOL(P) VALUE(V) END-EXEC",
};

const char* const kWords[] = {"END-EXEC", "(",      ")",     "'LIT'", "NAME",  "OF",
                              "IN",    "MAP",    "SET",      "ADDRESS", "LENGTH", "RESP",  "ASSIGN", "HANDLE",
                              "AID",   "CONDITION", "ERROR", "SEND",   "RECEIVE", "CURSOR", "UPDATE", "12",
                              "LABEL", "IGNORE", "ABEND",    "ABCODE", ".",     "FILE",  "TS",    "TD"};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> words;
    std::string w;
    for (char c : text) {
        if (c == ' ' || c == '(' || c == ')') {
            if (!w.empty()) words.push_back(w);
            w.clear();
            if (c != ' ') words.push_back(std::string(1, c));
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(w);
    return words;
}

// The words written from column 12, at most 50 columns to a line.
std::string Lines(const std::vector<std::string>& words) {
    std::string out, line;
    for (const std::string& w : words) {
        if (!line.empty() && line.size() + 1 + w.size() > 50) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    return out + line + "\n";
}

TEST(CicsFuzz, TokenMutationsOfBlocks) {
    std::mt19937 rng(2512);
    const int kWordCount = static_cast<int>(sizeof kWords / sizeof kWords[0]);
    for (int round = 0; round < 300; ++round) {
        // The bodies are mutated; EXEC CICS at the head of each block stays,
        // so that every block is read as CICS.
        std::vector<std::string> words;
        const int blocks = 1 + static_cast<int>(rng() % 3);
        for (int b = 0; b < blocks; ++b) {
            std::vector<std::string> body = Split(kBlocks[rng() % (sizeof kBlocks / sizeof kBlocks[0])]);
            body.erase(body.begin(), body.begin() + 2);
            const int edits = static_cast<int>(rng() % 4);
            for (int e = 0; e < edits && !body.empty(); ++e) {
                const std::size_t at = rng() % body.size();
                switch (rng() % 4) {
                    case 0: body.erase(body.begin() + static_cast<long>(at)); break;
                    case 1: body.insert(body.begin() + static_cast<long>(at), body[at]); break;
                    case 2:
                        if (at + 1 < body.size()) std::swap(body[at], body[at + 1]);
                        break;
                    default: body[at] = kWords[rng() % kWordCount]; break;
                }
            }
            words.push_back("EXEC");
            words.push_back("CICS");
            words.insert(words.end(), body.begin(), body.end());
        }
        words.push_back(".");
        words.push_back("EXEC CICS RETURN END-EXEC.");
        const std::string source = Lines(words);
        SCOPED_TRACE(source);
        GrammarRun run;
        const int status = run.ParseStatements(source);
        ASSERT_NE(status, 3) << run.MessageText();
        ASSERT_NE(run.root(), nullptr);
        ASSERT_EQ(vemlo_cics_test::LostOrDuplicated(run), "") << run.MessageText();
    }
}

}  // namespace
