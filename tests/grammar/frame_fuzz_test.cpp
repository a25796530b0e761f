// Random token strings through the frame: every run ends, and every token
// read ends up exactly once either in the accepted result or in a discard
// hook, whatever mix of trials, commits, recovery and aborts the input makes.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "tests/grammar/frame_test_actions.h"

namespace {

TEST(FrameFuzz, EveryTokenEndsUpOnceInTheResultOrAHook) {
    // Inputs are good statements with a few random edits (a token replaced,
    // inserted or deleted), so that runs mix trials, commits, recovery and
    // aborts.
    const char* const statements[] = {"A X X B ;", "A X C ;", "( ( V ) ) ;", "A X X X X C ;", "V ;", "A X B ;",
                                      "K ;", "A X Q", "Y ;"};
    const char* const letters[] = {"A", "B", "C", "X", ";", "(", ")", "V", "D", "Q", "K", "Y"};
    std::mt19937 rng(20);
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::string> words;
        for (int k = 1 + below(6); k > 0; --k) {
            std::istringstream in(statements[below(below(4) == 0 ? 9 : 6)]);
            for (std::string w; in >> w;) words.push_back(w);
        }
        for (int edits = below(4); edits > 0; --edits) {
            const int at = below(static_cast<int>(words.size()) + 1);
            switch (below(3)) {
            case 0:
                if (at < static_cast<int>(words.size())) words[at] = letters[below(12)];
                break;
            case 1:
                words.insert(words.begin() + at, letters[below(12)]);
                break;
            default:
                if (at < static_cast<int>(words.size())) words.erase(words.begin() + at);
                break;
            }
        }
        std::string input;
        for (const std::string& w : words) input += w + " ";
        SCOPED_TRACE(input);
        frame_test::SetInput(input);
        yyretlval = nullptr;
        yyretposn = nullptr;
        DovFrameGrammar g = frame_test::MakeGrammar(round % 2 == 1);
        const int result = DovRunGrammar(g);
        ASSERT_TRUE(result == 0 || result == 1);
        std::map<std::string, int> seen;
        auto count = [&](const std::string& names) {
            std::istringstream in(names);
            for (std::string w; in >> w;) ++seen[w];
        };
        if (result == 0) {
            count(frame_test::TokenNames(yyretposn));
            DovDeleteExprCell(&yyretlval);
            delete yyretposn;
        }
        yyretlval = nullptr;
        yyretposn = nullptr;
        for (const std::string& r : frame_test::rec.released_posns) count(r.substr(0, r.rfind('@')));
        ASSERT_EQ(static_cast<int>(seen.size()), frame_test::rec.lexed);
        for (const auto& [name, times] : seen) ASSERT_EQ(times, 1) << name;
        ASSERT_EQ(yylexq.read, yylexq.end);
    }
}

}  // namespace
