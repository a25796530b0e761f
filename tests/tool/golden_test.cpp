// Whole runs of the built program over fixtures of ours: what each run
// prints, line for line, and its exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/tool/queries.h"
#include "tests/tool/run_vemlo.h"
#include "transform/query/query.h"

using vemlo_tool_test::ExampleQueries;
using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

const char* kMove9 = "TWOMOVES.cbl:9:12:            MOVE \"ABCD\" TO WS-A.";
const char* kMove11 = "TWOMOVES.cbl:11:12:            MOVE WS-A TO WS-B.";

}  // namespace

TEST(VemloQueries, EveryExampleCompiles) {
    for (const auto& q : ExampleQueries()) {
        DovQuery query{VString(q.query)};
        VString message;
        int column = -1;
        EXPECT_EQ(query.Compile(nullptr, message, column), 0) << q.query << ": " << message << " at " << column;
    }
}

TEST(VemloQueries, TheReadmeShowsEveryExample) {
    std::ifstream in(std::string(VEMLO_SOURCE_ROOT) + "/README.md");
    ASSERT_TRUE(in) << "README.md";
    const std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const auto& q : ExampleQueries()) {
        EXPECT_NE(readme.find(std::string("-q=\"") + q.query + "\""), std::string::npos) << q.query;
        EXPECT_NE(readme.find(q.title), std::string::npos) << q.title;
    }
}

TEST(VemloGolden, EachExampleQueryPrintsExactlyItsFindings) {
    for (const auto& q : ExampleQueries()) {
        const VemloRun run = RunVemlo({std::string("-q=") + q.query, q.file});
        ASSERT_TRUE(run.exited) << q.title;
        EXPECT_EQ(run.status, 0) << q.title;
        std::vector<std::string> expected = {std::string("*Reading* ") + q.file};
        expected.insert(expected.end(), q.findings.begin(), q.findings.end());
        expected.push_back("Errors: 0, Warnings: 0");
        EXPECT_EQ(run.out, Join(expected)) << q.title;
    }
}

TEST(VemloGolden, TwoMatchesPrintTheReadingLineTheFindingsAndTheSummary) {
    const VemloRun run = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Join({"*Reading* TWOMOVES.cbl", kMove9, kMove11, "Errors: 0, Warnings: 0"}));
    EXPECT_EQ(run.err, "");
}

TEST(VemloGolden, WithoutSourceLinesEachMatchIsFound) {
    const VemloRun run = RunVemlo({"-q=STMT_MOVE", "-no-print-src", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.out, Join({"*Reading* TWOMOVES.cbl", "TWOMOVES.cbl:9:12: Found", "TWOMOVES.cbl:11:12: Found",
                             "Errors: 0, Warnings: 0"}));
}

TEST(VemloGolden, SilentPrintsOnlyWhatTheSearchReports) {
    const VemloRun none = RunVemlo({"-silent", "-q=STMT_GOTO", "TWOMOVES.cbl"});
    ASSERT_TRUE(none.exited);
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
    const VemloRun two = RunVemlo({"-silent", "-q=STMT_MOVE", "TWOMOVES.cbl"});
    EXPECT_EQ(two.out, Join({kMove9, kMove11}));
}

TEST(VemloGolden, FindOnlyMatchesWithoutMessages) {
    const VemloRun run = RunVemlo({"-find-only", "-progress", "-q=STMT_MOVE", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    // The grep counts no uses, so no list of applied transformations.
    EXPECT_EQ(run.out, Join({"*Reading* TWOMOVES.cbl", "*Searching*", "Errors: 0, Warnings: 0", ""}));
    const VemloRun transforming = RunVemlo({"-progress", "-q=STMT_GOTO", "TWOMOVES.cbl"});
    EXPECT_EQ(transforming.out, Join({"*Reading* TWOMOVES.cbl", "*Transforming*", "Errors: 0, Warnings: 0", ""}));
}

TEST(VemloGolden, StatisticsCountLinesAndLinesOfCode) {
    const VemloRun run = RunVemlo({"-stat", "-q=STMT_GOTO", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    // 13 lines; the last is a comment and holds no token.
    EXPECT_EQ(run.out, Join({"*Reading* TWOMOVES.cbl", "Lines:           13", "LinesOfCode:     12",
                             "Errors: 0, Warnings: 0"}));
}

TEST(VemloGolden, ProgressShowsLineNumbersOfLongFiles) {
    const VemloRun run = RunVemlo({"-progress", "-q=STMT_GOTO", "-no-print-src", "LONG.cbl"});
    ASSERT_TRUE(run.exited);
    const std::string blanks(27, ' ');
    EXPECT_NE(run.err.find("    100 LONG.cbl" + blanks + "\r"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("    300 LONG.cbl" + blanks + "\r"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Resolving Names" + blanks + "\r"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), std::string::npos);
}

TEST(VemloGolden, ErrorsAreSearchedUnderTheDefaultBailoutAndStoppedUnderErrors) {
    const VemloRun searched = RunVemlo({"-q=STMT_MOVE", "-no-print-src", "SYNERR.cbl"});
    ASSERT_TRUE(searched.exited);
    EXPECT_EQ(searched.status, 0) << searched.out;
    EXPECT_NE(searched.out.find("SYNERR.cbl:10:12: Found\n"), std::string::npos) << searched.out;
    EXPECT_EQ(searched.out.find("bailout"), std::string::npos) << searched.out;

    const VemloRun stopped = RunVemlo({"-bailout-level=errors", "-q=STMT_MOVE", "SYNERR.cbl"});
    ASSERT_TRUE(stopped.exited);
    EXPECT_EQ(stopped.status, 2) << stopped.out;
    EXPECT_NE(stopped.out.find("ERROR: SYNERR.cbl: Parsing errors have caused bailout. This file will not be "
                               "processed.\n"),
              std::string::npos)
        << stopped.out;
    EXPECT_EQ(stopped.out.find(": Found"), std::string::npos) << stopped.out;
}

TEST(VemloGolden, TheLastFileDecidesTheStatus) {
    const VemloRun bailsFirst = RunVemlo({"-bailout-level=errors", "-q=STMT_MOVE", "SYNERR.cbl", "TWOMOVES.cbl"});
    ASSERT_TRUE(bailsFirst.exited);
    EXPECT_EQ(bailsFirst.status, 0);
    EXPECT_NE(bailsFirst.out.find(std::string(kMove11) + "\nErrors: 0, Warnings: 0\n\n"), std::string::npos)
        << bailsFirst.out;
    const VemloRun bailsLast = RunVemlo({"-bailout-level=errors", "-q=STMT_MOVE", "TWOMOVES.cbl", "SYNERR.cbl"});
    ASSERT_TRUE(bailsLast.exited);
    EXPECT_EQ(bailsLast.status, 2);
}

TEST(VemloGolden, ABadQueryStopsEveryFileWithTheCompilersCode) {
    const VemloRun run = RunVemlo({"-q=STMT_MOVE)", "-no-print-err-pos", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 91);
    EXPECT_NE(run.out.find("ERROR: Incorrect Query 'STMT_MOVE)': Unexpected ')'"), std::string::npos) << run.out;
    const VemloRun none = RunVemlo({"TWOMOVES.cbl"});
    EXPECT_EQ(none.status, 'T');
    EXPECT_NE(none.out.find("ERROR: No query specified\n"), std::string::npos) << none.out;
}

// CICS commands read as written: the map form of SEND whatever the place of
// MAP among its options, and RESP of ASSIGN as the command's response
// option, which a query for commands without RESP tells apart.
TEST(VemloGolden, CicsCommandsAreFoundAsWritten) {
    const VemloRun map = RunVemlo({"-q=CS_STMT_SEND_MAP", "CICSMAP.cbl"});
    ASSERT_TRUE(map.exited);
    EXPECT_EQ(map.status, 0);
    EXPECT_EQ(map.out, Join({"*Reading* CICSMAP.cbl",
                             "CICSMAP.cbl:9:22:            EXEC CICS SEND MAPSET('ELMAP') MAP('EL01') FROM(EL01O)",
                             "Errors: 0, Warnings: 0"}));
    const VemloRun noResp = RunVemlo({"-q=STMT_EXEC_CICS AND NOT ARG(1).FIND(CS_CL_RESP)", "CICSMAP.cbl"});
    ASSERT_TRUE(noResp.exited);
    EXPECT_EQ(noResp.out, Join({"*Reading* CICSMAP.cbl",
                                "CICSMAP.cbl:9:12:            EXEC CICS SEND MAPSET('ELMAP') MAP('EL01') FROM(EL01O)",
                                "CICSMAP.cbl:12:12:            EXEC CICS ASSIGN SYSID(WS-SYSID) END-EXEC.",
                                "Errors: 0, Warnings: 0"}));
}
