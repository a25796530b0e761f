// README.md against the built program, read from the README at test time:
// each command line of its examples table runs as written, through the
// shell, from the repository root (with this build's program in place of
// build/tool/vemlo), ends with status 0 and prints at least one finding;
// the status of each kind of run is one its exit status table lists.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/lexer/temp_dir.h"
#include "tests/support/child_process.h"
#include "tests/support/deep_programs.h"
#include "tests/tool/run_vemlo.h"

namespace {

const char kProgram[] = "build/tool/vemlo ";

std::string ReadReadme() {
    std::ifstream in(std::string(VEMLO_SOURCE_ROOT) + "/README.md");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The rows of the README table whose header line is `header`, without the
// separator row; empty when there is no such table.
std::vector<std::string> TableRows(const std::string& readme, const std::string& header) {
    std::vector<std::string> rows;
    std::istringstream in(readme);
    std::string line;
    while (std::getline(in, line) && line != header) {
    }
    if (!std::getline(in, line)) return rows;  // the separator row
    while (std::getline(in, line) && line.rfind("|", 0) == 0) rows.push_back(line);
    return rows;
}

// The command of an examples row: the text between its first and its last
// backtick ("" for a row without one).
std::string CommandOf(const std::string& row) {
    const std::size_t first = row.find('`'), last = row.rfind('`');
    return first < last ? row.substr(first + 1, last - first - 1) : "";
}

// The statuses of an exit status row's first cell: numbers, lists of them
// and ranges "A to B".
std::set<int> StatusesOf(const std::string& row) {
    std::set<int> statuses;
    std::istringstream cell(row.substr(1, row.find('|', 1) - 1));
    std::string word;
    int last = -1;
    bool range = false;
    while (cell >> word) {
        if (word == "to") {
            range = true;
            continue;
        }
        if (word.find_first_not_of("0123456789,") != std::string::npos || word[0] == ',') continue;
        const int n = std::atoi(word.c_str());
        for (int s = range ? last + 1 : n; s <= n; ++s) statuses.insert(s);
        last = n;
        range = false;
    }
    return statuses;
}

// A line of the form file:line:column: text that is not a message.
bool IsFinding(const std::string& line) {
    std::size_t at = line.find(':');
    for (int field = 0; field < 2; ++field) {
        const std::size_t next = line.find(':', at + 1);
        if (at == std::string::npos || next == std::string::npos || next == at + 1) return false;
        for (std::size_t i = at + 1; i < next; ++i)
            if (line[i] < '0' || line[i] > '9') return false;
        at = next;
    }
    const std::string text = line.substr(at + 1);
    for (const char* prefix : {" ERROR: ", " Warning: ", " SEVERE ERROR: "})
        if (text.rfind(prefix, 0) == 0) return false;
    return text.rfind(' ', 0) == 0;
}

TEST(VemloReadme, EveryCommandOfTheExamplesTableFindsALine) {
    const std::string readme = ReadReadme();
    ASSERT_FALSE(readme.empty()) << "README.md";
    const std::vector<std::string> rows = TableRows(readme, "| what | command |");
    ASSERT_FALSE(rows.empty()) << "README.md has no examples table (| what | command |) or it is empty";
    for (const std::string& row : rows) {
        const std::string command = CommandOf(row);
        SCOPED_TRACE(row);
        ASSERT_EQ(command.rfind(kProgram, 0), 0u) << "a command starts with " << kProgram;
        const std::string line = std::string("'") + VEMLO_PROGRAM + "' " + command.substr(sizeof kProgram - 1);
        const vemlo_test::ChildResult run = vemlo_test::RunInChild([&] {
            if (chdir(VEMLO_SOURCE_ROOT) != 0) _exit(126);
            unsetenv("DOV_TOOL_OPTIONS");
            execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        });
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
        int findings = 0;
        std::istringstream out(run.out);
        for (std::string l; std::getline(out, l);) findings += IsFinding(l) ? 1 : 0;
        EXPECT_GT(findings, 0) << run.out;
    }
}

TEST(VemloReadme, TheExitStatusTableListsTheStatusOfEveryKindOfRun) {
    std::set<int> listed;
    for (const std::string& row : TableRows(ReadReadme(), "| status | meaning |")) {
        const std::set<int> s = StatusesOf(row);
        listed.insert(s.begin(), s.end());
    }
    ASSERT_FALSE(listed.empty()) << "README.md has no exit status table (| status | meaning |)";

    const vemlo_test::TempDir scratch;
    // IFs nested 1,000 deep: the search path overflows.
    const std::string deep = scratch.Write("DEEP.cbl", vemlo_test::DeepProgram(vemlo_test::DeepNestings()[0], 1000));
    // A copybook that is not found is a warning and nothing else.
    const std::string warn = scratch.Write("WARN.cbl",
                                           "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. WARN.\n"
                                           "       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n"
                                           "       COPY NOSUCHCOPY.\n       PROCEDURE DIVISION.\n"
                                           "           STOP RUN.\n");
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"a search", {"-q=STMT_MOVE", "TWOMOVES.cbl"}, 0},
        {"warnings at bailout level warnings", {"-q=TRUE", "-bailout-level=warnings", warn}, 1},
        {"errors at bailout level errors", {"-q=TRUE", "-bailout-level=errors", "SYNERR.cbl"}, 2},
        {"a file the grammar cannot parse", {"-q=TRUE", "-lang=none", "TWOMOVES.cbl"}, 3},
        {"a missing input file", {"-q=TRUE", "NOSUCH.cbl"}, 11},
        {"a dialect without grammar", {"-q=TRUE", "-lang=wang", "TWOMOVES.cbl"}, 20},
        {"no input file", {"-q=TRUE"}, 21},
        {"a program nested deeper than the search path", {"-q=STMT_MOVE", deep}, 67},
        {"no query", {"TWOMOVES.cbl"}, 84},
        {"a query with a syntax error", {"-q=,", "TWOMOVES.cbl"}, 84},
        {"an unknown operation name", {"-q=NO_SUCH_NAME", "TWOMOVES.cbl"}, 85},
        {"a parenthesis too many", {"-q=STMT_MOVE)", "TWOMOVES.cbl"}, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const vemlo_tool_test::VemloRun run = vemlo_tool_test::RunVemlo(c.args);
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_EQ(run.status, c.status) << run.out;
        EXPECT_TRUE(listed.count(run.status)) << "status " << run.status << " is not in the README's table";
    }
}

// The arithmetic example of the README's query section, run as it is written
// there, from the source root.
TEST(VemloReadme, TheArithmeticExampleFindsEveryMove) {
    const std::string query = "STMT_MOVE AND 7 DIV 2 - 1 == 2";
    const std::string readme = ReadReadme();
    EXPECT_NE(readme.find("`build/tool/vemlo -q=\"" + query + "\" samples/PAYROLL.cbl`"), std::string::npos);

    const vemlo_tool_test::VemloRun run =
        vemlo_tool_test::RunVemlo({"-q=" + query, "samples/PAYROLL.cbl"}, VEMLO_SOURCE_ROOT);
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    // Every MOVE of the sample, and nothing else.
    const std::vector<std::string> moves = {
        "samples/PAYROLL.cbl:16:12: 001600     MOVE \"ANNA SMITH\" TO WS-NAME ",
        "samples/PAYROLL.cbl:17:12: 001700     MOVE 38.5 TO WS-HOURS ",
        "samples/PAYROLL.cbl:18:12: 001800     MOVE 21.40 TO WS-RATE ",
        "samples/PAYROLL.cbl:20:12: 002000     MOVE \"JOHN DOE\" TO WS-NAME ",
        "samples/PAYROLL.cbl:21:12: 002100     MOVE 40 TO WS-HOURS ",
        "samples/PAYROLL.cbl:22:12: 002200     MOVE 18.75 TO WS-RATE ",
    };
    std::vector<std::string> lines;
    for (std::size_t at = 0, nl; (nl = run.out.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(run.out.substr(at, nl - at));
    ASSERT_EQ(lines.size(), moves.size() + 2) << run.out;
    EXPECT_EQ(lines.front(), "*Reading* samples/PAYROLL.cbl");
    for (std::size_t i = 0; i < moves.size(); ++i) EXPECT_EQ(lines[i + 1].rfind(moves[i], 0), 0u) << lines[i + 1];
    EXPECT_EQ(lines.back(), "Errors: 0, Warnings: 0");
}

}  // namespace
