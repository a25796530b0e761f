// RunTool called directly, each run in a child process of its own (the
// option registry is filled once per process): the steps that need no
// parsed tree, with tools of the tests' own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "tests/support/child_process.h"
#include "tests/tool/run_vemlo.h"
#include "tool/tool.h"
#include "transform/transform.h"
#include "tree/expr.h"

namespace {

namespace fs = std::filesystem;

// What the search function of a run does.
struct SearchPlan {
    unsigned char result = 0;
    bool makeRoot = false;
};
std::vector<SearchPlan> g_plans;
int g_searchCalls = 0;

unsigned char PlannedSearch(DovExpr*& root, const VString& file, DovParser*, DovPrettyPrinter*,
                            DovTokenList* messages) {
    const SearchPlan plan = g_searchCalls < static_cast<int>(g_plans.size()) ? g_plans[g_searchCalls] : SearchPlan();
    ++g_searchCalls;
    messages->AddNewToken(MSG_INFO, DovTxtPosn(3, 4, DovSrcFileNames().FindOrAdd(file, false, true)),
                          VString("hit"));
    if (plan.makeRoot) root = new DovNullNode();
    return plan.result;
}

// A transformation whose pre-processing fails or reports.
class PreProcessing : public DovTransform {
public:
    PreProcessing(char result, const char* message)
        : DovTransform(VString("Pre"), VString("pre-processing test")), result_(result), message_(message) {}
    DovTransform* Clone() const override { return new PreProcessing(result_, message_); }
    char PreProcess(const VString&, DovParser*, DovPrettyPrinter*, DovTokenList* msgs) override {
        if (message_) msgs->AddNewToken(MSG_WARN, DovNullPosn, VString(message_));
        return result_;
    }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }

private:
    char result_;
    const char* message_;
};

struct ToolRun {
    int status = -1;
    std::string out;
};

struct ToolCall {
    std::vector<std::string> args;
    DovToolSearchFn search = nullptr;
    DovTransform* transform = nullptr;
    int parse = 0;
    int generate = 0;
    const DovCommandLineFlag* extra = nullptr;
    DovDials allowed = DovAllDials();
};

ToolRun Call(const ToolCall& call, const std::string& cwd) {
    const vemlo_test::ChildResult r = vemlo_test::RunInChild([&] {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) DovExit(126);
        unsetenv("DOV_TOOL_OPTIONS");
        std::vector<const char*> argv = {"vemlo"};
        for (const std::string& a : call.args) argv.push_back(a.c_str());
        DovTool tool(VString("%s: Vemlo ver %s."), VString("vemlo"), VString("4-2-0"));
        const int result = RunTool(tool, static_cast<int>(argv.size()), argv.data(), call.allowed, DIAL_ANSI85,
                                   DIAL_NONE, call.extra, call.search, ".xxx", call.transform, call.parse,
                                   call.generate, 1);
        DovExit(result & 0xff);
    });
    ToolRun run;
    run.status = r.exited ? r.exit_status : -1000 - r.signal;
    run.out = r.out;
    return run;
}

class RunToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vemlo_driver_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        g_plans.clear();
        g_searchCalls = 0;
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Write(const std::string& name, const std::string& text = "       IDENTIFICATION DIVISION.\n") {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name) << text;
    }
    ToolRun Call(const ToolCall& call) { return ::Call(call, dir_.string()); }
    fs::path dir_;
};

}  // namespace

TEST_F(RunToolTest, SearchFunctionRunsForEveryFileAndTheLastDecidesTheStatus) {
    Write("A.cbl");
    Write("B.cbl");
    g_plans = {{7, false}, {0, false}};
    ToolRun run = Call({{"A.cbl", "B.cbl"}, PlannedSearch});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "*Reading* A.cbl\nA.cbl:3:5: hit\nErrors: 0, Warnings: 0\n\n"
              "*Reading* B.cbl\nB.cbl:3:5: hit\nErrors: 0, Warnings: 0\n\n");
    g_plans = {{0, false}, {7, false}};
    run = Call({{"A.cbl", "B.cbl"}, PlannedSearch});
    EXPECT_EQ(run.status, 7);
}

TEST_F(RunToolTest, SilentLeavesOnlyWhatTheSearchReports) {
    Write("A.cbl");
    EXPECT_EQ(Call({{"-silent", "A.cbl"}, PlannedSearch}).out, "A.cbl:3:5: hit\n");
    // The parser's options, "progress" among them, exist only when parsing.
    EXPECT_EQ(Call({{"-progress", "A.cbl"}, PlannedSearch}).out, "ERROR: Unknown option: -progress\n");
}

TEST_F(RunToolTest, FailedPreProcessingSkipsTheFile) {
    Write("A.cbl");
    PreProcessing fails('x', nullptr);
    ToolRun run = Call({{"A.cbl"}, nullptr, &fails, 1});
    EXPECT_EQ(run.status, 'x');
    EXPECT_EQ(run.out,
              "*Reading* A.cbl\nERROR: A.cbl: Failed to pre-process. This file will not be processed.\n"
              "Errors: 1, Warnings: 0\n");
    PreProcessing reports(0, "look");
    run = Call({{"A.cbl"}, nullptr, &reports, 1});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "*Reading* A.cbl\nERROR: A.cbl: Failed to pre-process. This file will not be processed.\n"
              "Warning: look\nErrors: 1, Warnings: 1\n");
    // Silent still prints a summary that counts something.
    run = Call({{"-silent", "A.cbl"}, nullptr, &fails, 1});
    EXPECT_EQ(run.out, "ERROR: A.cbl: Failed to pre-process. This file will not be processed.\n"
                       "Errors: 1, Warnings: 0\n");
}

TEST_F(RunToolTest, GeneratedFileNames) {
    Write("src/PROG.cbl");
    Write("src/NOEXT");
    Write("a.b/PROG");
    struct Case {
        std::vector<std::string> args;
        std::string written;
    } cases[] = {
        {{"src/PROG.cbl"}, "src/PROG.xxx"},
        {{"src/NOEXT"}, "src/NOEXT.xxx"},
        {{"a.b/PROG"}, "a.b/PROG.xxx"},
        {{"-gen-sfx=.new", "src/PROG.cbl"}, "src/PROG.new"},
        {{"-gen-main-dir=out", "src/PROG.cbl"}, "out/src/PROG.cbl"},
        {{"-gen-main-dir=out2", "-gen-sfx=.new", "src/PROG.cbl"}, "out2/src/PROG.new"},
        {{"-gen-file=one.cob", "src/PROG.cbl"}, "one.cob"},
    };
    for (const Case& c : cases) {
        g_plans = {{0, true}};
        g_searchCalls = 0;
        const ToolRun run = Call({c.args, PlannedSearch, nullptr, 0, 1});
        EXPECT_NE(run.out.find("\n Writing  " + c.written + "\n"), std::string::npos) << run.out;
        EXPECT_TRUE(fs::is_directory((dir_ / c.written).parent_path())) << c.written;
    }
    g_plans = {{0, true}};
    g_searchCalls = 0;
    const ToolRun findOnly = Call({{"-find-only", "src/PROG.cbl"}, PlannedSearch, nullptr, 0, 1});
    EXPECT_EQ(findOnly.out.find("Writing"), std::string::npos) << findOnly.out;
}

TEST_F(RunToolTest, GeneratingChecksComeFirst) {
    Write("A.cbl");
    Write("B.cbl");
    Write("plain");
    ToolRun run = Call({{"-gen-file=one.cob", "A.cbl", "B.cbl"}, PlannedSearch, nullptr, 0, 1});
    EXPECT_EQ(run.status, 21);
    EXPECT_EQ(run.out, "ERROR: Cannot specify one output file 'one.cob' for several input files\n");

    g_plans = {{0, true}, {0, true}};
    run = Call({{"-gen-main-dir=plain/x", "A.cbl", "B.cbl"}, PlannedSearch, nullptr, 0, 1});
    EXPECT_EQ(run.status, 10);
    EXPECT_EQ(run.out, "*Reading* A.cbl\nA.cbl:3:5: hit\n Writing  plain/x/A.cbl\n"
                       "ERROR: Cannot create directory for 'plain/x/A.cbl': Not a directory\n");
}

TEST_F(RunToolTest, RegistryOverflowIsReported) {
    Write("A.cbl");
    static int values[130];
    static std::vector<DovCommandLineFlag> many;
    static std::vector<std::string> names;
    names.clear();
    many.clear();
    for (int i = 0; i < 130; ++i) names.push_back("extra-" + std::to_string(i));
    for (int i = 0; i < 130; ++i) {
        DovCommandLineFlag f;
        f.kind = 'b';
        f.name = names[i].c_str();
        f.value = &values[i];
        f.help = "extra";
        f.mask = 1;
        many.push_back(f);
    }
    many.push_back(DovCommandLineFlag());
    ToolCall call{{"A.cbl"}, PlannedSearch};
    call.extra = many.data();
    const ToolRun run = Call(call);
    EXPECT_EQ(run.status, 23);
    EXPECT_EQ(run.out, "ERROR: DovAddCommandLineFlags: too many options\n");
}

TEST_F(RunToolTest, ForbiddenDialectStopsBeforeTheFiles) {
    Write("A.cbl");
    ToolCall call{{"-lang=osvs", "A.cbl"}, PlannedSearch, nullptr, 1};
    call.allowed = DovNoDials();
    DovDialsAdd(call.allowed, DIAL_ANSI85);
    const ToolRun run = Call(call);
    EXPECT_EQ(run.status, 22);
    EXPECT_EQ(run.out.rfind("ERROR: ", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("*Reading*"), std::string::npos) << run.out;
}
