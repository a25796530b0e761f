// Random command lines and DOV_TOOL_OPTIONS values: vemlo always ends with a
// status of its own (never a signal, a crash status or a hang).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/tool/run_vemlo.h"

using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

const std::vector<std::string> kPieces = {
    "-q=STMT_MOVE", "-qf=", "-q=", "-help", "-pf", "-v", "-no-v", "-bailout-level=", "errors", "7", "-stat",
    "-silent", "-progress", "-find-only", "-lang=", "ansi85", "wang", "mf", "-lang2=osvs", "-copylib-dir=",
    "-line-format=", "free", "-lo-pointer-size=", "-exclude-keywords=MOVE,IF", "TWOMOVES.cbl", "CORE.cbl",
    "NOFILE", ".", "-", "--", "=", "\"", "-no-", "-print-src", "-no-print-src", "-set-constants=A'B'",
};

std::string Mutate(std::mt19937& rng, std::string word) {
    std::uniform_int_distribution<int> op(0, 3), byte(1, 255);
    const int edits = std::uniform_int_distribution<int>(0, 3)(rng);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = word.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, word.size())(rng);
        switch (op(rng)) {
            case 0: word.insert(at, 1, static_cast<char>(byte(rng))); break;
            case 1: if (at < word.size()) word.erase(at, 1); break;
            case 2: if (at < word.size()) word[at] = static_cast<char>(byte(rng)); break;
            default: word += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(rng)]; break;
        }
    }
    return word;
}

std::string Describe(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) text += "[" + w + "] ";
    return text;
}

}  // namespace

TEST(VemloFuzz, RandomCommandLinesEndWithAStatus) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    for (int round = 0; round < 120; ++round) {
        std::vector<std::string> args;
        const int count = std::uniform_int_distribution<int>(0, 5)(rng);
        for (int i = 0; i < count; ++i) {
            std::string word = kPieces[pick(rng)];
            if (std::uniform_int_distribution<int>(0, 1)(rng)) word = Mutate(rng, word);
            args.push_back(word);
        }
        std::string env;
        const bool withEnv = std::uniform_int_distribution<int>(0, 2)(rng) == 0;
        if (withEnv) env = Mutate(rng, kPieces[pick(rng)] + " " + kPieces[pick(rng)]);
        const VemloRun run = RunVemlo(args, std::string(), withEnv ? env.c_str() : nullptr);
        ASSERT_TRUE(run.exited) << Describe(args) << " env " << env << " signal " << run.signal;
        // 30 to 32: a fatal signal or an interrupt; 125 and above: no exit of
        // vemlo's own.
        EXPECT_TRUE(run.status < 30 || (run.status > 32 && run.status < 125))
            << run.status << ": " << Describe(args) << " env " << env << "\n" << run.out;
        EXPECT_EQ(run.out.find("SEVERE ERROR"), std::string::npos) << Describe(args) << "\n" << run.out;
    }
}
