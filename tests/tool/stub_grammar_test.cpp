// The per-file loop over parsed trees, with a stand-in grammar that accepts
// every file at once (the parser still makes its source root) and reports
// what the test asks for: the bailout rule, the status of the last file,
// the statistics lines and the list of applied transformations.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "lbase/message.h"
#include "parser/parser.h"
#include "tests/support/child_process.h"
#include "tests/tool/run_vemlo.h"
#include "tool/tool.h"
#include "transform/grep/grep.h"
#include "transform/transform.h"
#include "tree/expr.h"

namespace {

// The message level the stand-in grammar files for each parse, in turn
// (0: none).
std::vector<int> g_levels;
int g_parses = 0;

int StubParse() {
    const int level = g_parses < static_cast<int>(g_levels.size()) ? g_levels[g_parses] : 0;
    ++g_parses;
    if (level && WorkingParser) WorkingParser->ParserError(level, DovNullPosn, VString("stub message"));
    return 0;
}

// Counts one use per tree, at its root.
class Counter : public DovTransform {
public:
    Counter() : DovTransform(VString("Counter"), VString("counts trees\nsecond line")) {}
    DovTransform* Clone() const override { return new Counter(); }
    char TransformNode(DovExpr* node, int, DovTokenList*, DovExpr**) override {
        if (node->Parent()) return 'A';
        WillTransform(this, 0);
        return 0;
    }
};

struct Outcome {
    int status = -1;
    std::string out;
};

enum class Use { Grep, Counter };

Outcome RunStubbed(const std::vector<std::string>& args, const std::vector<int>& levels, Use use = Use::Grep) {
    const vemlo_test::ChildResult r = vemlo_test::RunInChild([&] {
        if (chdir(vemlo_tool_test::FixtureDir().c_str()) != 0) DovExit(126);
        unsetenv("DOV_TOOL_OPTIONS");
        g_levels = levels;
        DovGrammar.parse = StubParse;
        std::vector<const char*> argv = {"vemlo"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        DovTool tool(VString("%s: Vemlo ver %s."), VString("vemlo"), VString("4-2-0"));
        WyrGrep grep;
        Counter counter;
        DovTransform* transform = use == Use::Grep ? static_cast<DovTransform*>(&grep) : &counter;
        const int result = RunTool(tool, static_cast<int>(argv.size()), argv.data(), DovAllDials(), DIAL_ANSI85,
                                   DIAL_NONE, nullptr, nullptr, ".xxx", transform, 1, 0, 1);
        DovExit(result & 0xff);
    });
    Outcome o;
    o.status = r.exited ? r.exit_status : -1000 - r.signal;
    o.out = r.out;
    return o;
}

const char* kBailout = "ERROR: TWOMOVES.cbl: Parsing errors have caused bailout. This file will not be processed.\n";

}  // namespace

TEST(StubGrammarRun, BailoutLevelDecidesWhichParsesAreSearched) {
    struct Case {
        const char* level;  // null: the default
        int message;
        bool searched;
        int status;
    } cases[] = {
        {nullptr, MSG_ERR, true, 0},       {nullptr, MSG_WARN, true, 0},      {"errors", MSG_ERR, false, 2},
        {"errors", MSG_WARN, true, 0},     {"warnings", MSG_WARN, false, 1},  {"warnings", 0, true, 0},
        {"severe", MSG_ERR, true, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-q=COBOL_FILE", "-no-print-src", "TWOMOVES.cbl"};
        if (c.level) args.insert(args.begin(), std::string("-bailout-level=") + c.level);
        const Outcome o = RunStubbed(args, {c.message});
        const std::string label = std::string(c.level ? c.level : "default") + "/" + std::to_string(c.message);
        EXPECT_EQ(o.status, c.status) << label << "\n" << o.out;
        EXPECT_EQ(o.out.find(kBailout) != std::string::npos, !c.searched) << label << "\n" << o.out;
        EXPECT_EQ(o.out.find("(unknown_posn): Found\n") != std::string::npos, c.searched) << label << "\n" << o.out;
    }
}

TEST(StubGrammarRun, TheLastFileDecidesTheStatus) {
    const std::vector<std::string> args = {"-bailout-level=errors", "-q=COBOL_FILE", "TWOMOVES.cbl", "CORE.cbl"};
    const Outcome bailsFirst = RunStubbed(args, {MSG_ERR, 0});
    EXPECT_EQ(bailsFirst.status, 0) << bailsFirst.out;
    const Outcome bailsLast = RunStubbed(args, {0, MSG_ERR});
    EXPECT_EQ(bailsLast.status, 2) << bailsLast.out;
    // The bailout counts as an error of its file; the summary and the empty
    // line follow.
    EXPECT_NE(bailsFirst.out.find("stub message\n" + std::string(kBailout) + "Errors: 2, Warnings: 0\n\n"),
              std::string::npos)
        << bailsFirst.out;
}

TEST(StubGrammarRun, AMatchPrintsTheReadingLineTheFindingAndTheSummaryOnly) {
    // The source root and its program stand-in: one COBOL_FILE node per tree.
    const Outcome o = RunStubbed({"-q=COBOL_FILE", "-no-print-src", "TWOMOVES.cbl"}, {});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "*Reading* TWOMOVES.cbl\n(unknown_posn): Found\nErrors: 0, Warnings: 0\n");
}

TEST(StubGrammarRun, StatisticsLinesHaveFiveColumnFields) {
    const Outcome o = RunStubbed({"-stat", "-q=FALSE", "TWOMOVES.cbl"}, {});
    EXPECT_EQ(o.out, "*Reading* TWOMOVES.cbl\nLines:            0\nLinesOfCode:      0\nErrors: 0, Warnings: 0\n");
}

TEST(StubGrammarRun, BadQueryStopsTheFileWithTheCompilersCode) {
    const Outcome o = RunStubbed({"-q=STMT_MOVE)", "-no-print-err-pos", "TWOMOVES.cbl"}, {});
    EXPECT_EQ(o.status, 91);
    EXPECT_NE(o.out.find("ERROR: Incorrect Query 'STMT_MOVE)': Unexpected ')' at col"), std::string::npos) << o.out;
    const Outcome none = RunStubbed({"TWOMOVES.cbl"}, {});
    EXPECT_EQ(none.status, 'T');
    EXPECT_EQ(none.out, "*Reading* TWOMOVES.cbl\nERROR: No query specified\nErrors: 1, Warnings: 0\n");
}

TEST(StubGrammarRun, AppliedListAccumulatesOverTheFiles) {
    const Outcome listed = RunStubbed({"-conv-list", "TWOMOVES.cbl", "CORE.cbl"}, {}, Use::Counter);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out,
              "*Reading* TWOMOVES.cbl\nList of applied transformations:\n1   Counter\nErrors: 0, Warnings: 0\n\n"
              "*Reading* CORE.cbl\nList of applied transformations:\n2   Counter\nErrors: 0, Warnings: 0\n\n");
    // find-only turns the list on by itself.
    const Outcome found = RunStubbed({"-find-only", "-progress", "TWOMOVES.cbl"}, {}, Use::Counter);
    EXPECT_EQ(found.out, "*Reading* TWOMOVES.cbl\n*Searching*\nList of applied transformations:\n1   Counter\n"
                         "Errors: 0, Warnings: 0\n\n");
    const Outcome plain = RunStubbed({"-progress", "TWOMOVES.cbl"}, {}, Use::Counter);
    EXPECT_EQ(plain.out, "*Reading* TWOMOVES.cbl\n*Transforming*\nErrors: 0, Warnings: 0\n\n");
    // With conv-info each use also says so at its node.
    const Outcome info = RunStubbed({"-conv-info", "TWOMOVES.cbl"}, {}, Use::Counter);
    EXPECT_EQ(info.out, "*Reading* TWOMOVES.cbl\nApplied Counter (counts trees)\nErrors: 0, Warnings: 0\n");
}

TEST(StubGrammarRun, TheGrepIsNeverListed) {
    const Outcome o = RunStubbed({"-find-only", "-q=TRUE", "TWOMOVES.cbl"}, {});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "*Reading* TWOMOVES.cbl\nErrors: 0, Warnings: 0\n");
}
