// The driver's start-up, seen from outside: banner, listings, option
// sources, input checks and the statuses of the built program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tool/run_vemlo.h"

using vemlo_tool_test::Banner;
using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

TEST(VemloCli, NoArgumentsPrintsBannerAndEndsWith21) {
    const VemloRun run = RunVemlo({});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 21);
    EXPECT_EQ(run.out, Banner() + "ERROR: No input files specified\n");
    EXPECT_EQ(run.err, "");
}

TEST(VemloCli, HelpListsEveryGroupInRegistrationOrder) {
    const VemloRun run = RunVemlo({"-help"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 21);
    ASSERT_TRUE(StartsWith(run.out, Banner() + "Command-Line arguments parsed:\n")) << run.out;
    const std::string tail = "ERROR: No input files specified\n";
    ASSERT_GE(run.out.size(), tail.size());
    EXPECT_EQ(run.out.substr(run.out.size() - tail.size()), tail);

    // Headings in the order of registration.
    const std::vector<std::string> headings = {
        "*** Settings ***",        "*** Grep ***",         "*** Generic Reporting ***", "*** Cobol Dialects ***",
        "*** Extra Features ***",  "*** Copy Libraries ***", "*** Parser Messages ***",  "*** Length and Offset ***",
    };
    std::vector<std::string> seen;
    for (const std::string& line : Lines(run.out))
        if (StartsWith(line, "*** ")) seen.push_back(line);
    EXPECT_EQ(seen, headings);

    // progress, bailout-level and stat come last, under the parser's last
    // heading, with no heading of their own.
    const auto lengthAt = run.out.find("*** Length and Offset ***");
    const auto progressAt = run.out.find("\n-progress=");
    const auto bailoutAt = run.out.find("\n-bailout-level=");
    const auto statAt = run.out.find("\n-stat=");
    ASSERT_NE(progressAt, std::string::npos);
    ASSERT_NE(bailoutAt, std::string::npos);
    ASSERT_NE(statAt, std::string::npos);
    EXPECT_LT(lengthAt, run.out.find("\n-lo-unfold-flex-arrays="));
    EXPECT_LT(run.out.find("\n-lo-unfold-flex-arrays="), progressAt);
    EXPECT_LT(progressAt, bailoutAt);
    EXPECT_LT(bailoutAt, statAt);
    EXPECT_EQ(run.out.find("***", statAt), std::string::npos);
    EXPECT_NE(run.out.find("-bailout-level=warnings|errors|severe"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tDisplay Parsing Progress Indicator\n"), std::string::npos);
    EXPECT_NE(run.out.find("\tLevel of parser messages that cause bailout\n"), std::string::npos);
    EXPECT_NE(run.out.find("\tPrint short source program statistics\n"), std::string::npos);
    EXPECT_NE(run.out.find("\tInform about every trasnformation performed\n"), std::string::npos);
    // This program does not generate: no output-file options.
    EXPECT_EQ(run.out.find("gen-file"), std::string::npos);
    EXPECT_EQ(run.out.find("*** Cobol Output File ***"), std::string::npos);
}

TEST(VemloCli, VersionWithAFileGoesOnToTheFile) {
    const VemloRun run = RunVemlo({"-v", "-q=STMT_MOVE", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    ASSERT_TRUE(StartsWith(run.out, Banner() + "*Reading* TWOMOVES.cbl\n")) << run.out;
    EXPECT_NE(run.out.find("\nErrors: "), std::string::npos);
}

TEST(VemloCli, ValuesInTheShortForm) {
    const VemloRun run = RunVemlo({"-pf", "-bailout-level=errors", "-no-print-src"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 21);
    ASSERT_TRUE(StartsWith(run.out, Banner() + "-no-help\n-pf\n-no-v\n-q=\n")) << run.out;
    const std::vector<std::string> lines = Lines(run.out);
    auto has = [&](const std::string& l) {
        for (const std::string& x : lines)
            if (x == l) return true;
        return false;
    };
    EXPECT_TRUE(has("-no-print-src"));
    EXPECT_TRUE(has("-bailout-level=errors"));
    EXPECT_TRUE(has("-conv-warn"));
    EXPECT_TRUE(has("-no-find-only"));
    EXPECT_TRUE(has("-lang=ansi85"));
    EXPECT_TRUE(has("-lang2=none"));
    EXPECT_EQ(lines.back(), "ERROR: No input files specified");
}

TEST(VemloCli, CommandLineOverridesTheEnvironment) {
    struct Case {
        const char* env;
        std::vector<std::string> args;
        std::vector<std::string> expected;  // lines that must appear
    } cases[] = {
        {"-bailout-level=warnings -stat", {"-pf"}, {"-bailout-level=warnings", "-stat"}},
        {"-bailout-level=warnings -stat", {"-pf", "-bailout-level=severe", "-no-stat"},
         {"-bailout-level=severe", "-no-stat"}},
        {"-silent", {"-pf", "-no-silent"}, {"-no-silent"}},
        {"-q=\"STMT_MOVE OR STMT_IF\"", {"-pf"}, {"-q=STMT_MOVE OR STMT_IF"}},
    };
    for (const Case& c : cases) {
        const VemloRun run = RunVemlo(c.args, std::string(), c.env);
        ASSERT_TRUE(run.exited);
        EXPECT_EQ(run.status, 21);
        const std::vector<std::string> lines = Lines(run.out);
        for (const std::string& want : c.expected) {
            bool found = false;
            for (const std::string& l : lines) found = found || l == want;
            EXPECT_TRUE(found) << c.env << ": no line " << want << "\n" << run.out;
        }
    }
}

TEST(VemloCli, EnvironmentSilentAppliesToTheRun) {
    const VemloRun quiet = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl"}, std::string(), "-silent");
    ASSERT_TRUE(quiet.exited);
    EXPECT_EQ(quiet.out.find("*Reading*"), std::string::npos) << quiet.out;
    const VemloRun loud = RunVemlo({"-no-silent", "-q=STMT_MOVE", "TWOMOVES.cbl"}, std::string(), "-silent");
    ASSERT_TRUE(loud.exited);
    EXPECT_TRUE(StartsWith(loud.out, "*Reading* TWOMOVES.cbl\n")) << loud.out;
}

TEST(VemloCli, BadOptionsStopBeforeAnyFile) {
    struct Case {
        const char* env;
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {nullptr, {"-no-such-option", "TWOMOVES.cbl"}, "Unknown option"},
        {nullptr, {"-no-q", "TWOMOVES.cbl"}, "no- prefix"},
        {nullptr, {"-bailout-level=never", "TWOMOVES.cbl"}, "Selection option is assigned illegal value"},
        {"TWOMOVES.cbl", {"TWOMOVES.cbl"}, "File names not allowed in options taken from environment variables: "
                                          "TWOMOVES.cbl"},
        {"-no-such-option", {"TWOMOVES.cbl"}, "Unknown option"},
    };
    for (const Case& c : cases) {
        const VemloRun run = RunVemlo(c.args, std::string(), c.env);
        ASSERT_TRUE(run.exited);
        EXPECT_EQ(run.status, 21) << c.message;
        EXPECT_TRUE(StartsWith(run.out, "ERROR: ")) << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("*Reading*"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("Vemlo ver"), std::string::npos) << run.out;
    }
}

TEST(VemloCli, UnreadableSecondFileStopsBeforeTheFirstIsParsed) {
    const VemloRun run = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl", "NO-SUCH-FILE.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 11);
    EXPECT_EQ(run.out, "ERROR: Cannot open file 'NO-SUCH-FILE.cbl' for input\n");
}

TEST(VemloCli, DirectoryIsNoInputFile) {
    // A directory opens as a stream on this system, but holds no source.
    const VemloRun run = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl", "."});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 11);
    EXPECT_EQ(run.out, "ERROR: Cannot open file '.' for input\n");
}

TEST(VemloCli, EveryFileEndsWithItsSummaryAndSeveralFilesWithAnEmptyLine) {
    const VemloRun one = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl"});
    ASSERT_TRUE(one.exited);
    std::vector<std::string> lines = Lines(one.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "*Reading* TWOMOVES.cbl");
    EXPECT_TRUE(StartsWith(lines.back(), "Errors: ")) << one.out;

    const VemloRun two = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl", "CORE.cbl"});
    ASSERT_TRUE(two.exited);
    lines = Lines(two.out);
    int summaries = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!StartsWith(lines[i], "Errors: ")) continue;
        ++summaries;
        ASSERT_LT(i + 1, lines.size());
        EXPECT_EQ(lines[i + 1], "");
    }
    EXPECT_EQ(summaries, 2);
    const auto first = two.out.find("*Reading* TWOMOVES.cbl\n");
    const auto second = two.out.find("*Reading* CORE.cbl\n");
    EXPECT_EQ(first, 0u);
    EXPECT_LT(first, second);
    EXPECT_EQ(two.out.substr(two.out.size() - 2), "\n\n");
}

TEST(VemloCli, ProgressLeavesABlankedLineOnStandardError) {
    const VemloRun run = RunVemlo({"-progress", "-q=STMT_GOTO", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    const std::string blanking = std::string(27, ' ') + "\r";
    ASSERT_GE(run.err.size(), blanking.size());
    // The driver's call after the parse: the null position and no text.
    EXPECT_EQ(run.err.substr(run.err.size() - blanking.size()), blanking);
    EXPECT_TRUE(run.err.size() == blanking.size() || run.err[run.err.size() - blanking.size() - 1] == '\r');
    EXPECT_EQ(run.err.find('\n'), std::string::npos);
    // With progress a single file also ends with an empty line.
    EXPECT_EQ(run.out.substr(run.out.size() - 2), "\n\n") << run.out;
    EXPECT_EQ(run.out.find("      "), std::string::npos);
}
