// The driver's generating branch: RunTool with the generate switch on, each
// run in a child process of its own (the option registry is filled once per
// process), with a search function that hands a small tree to the printer.
// Output naming in all its forms, the directories made on the way, and the
// refusals that keep outputs from overwriting inputs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "printer/printer.h"
#include "tests/support/child_process.h"
#include "tool/tool.h"
#include "tree/tree.h"

namespace {

namespace fs = std::filesystem;

unsigned char MoveTree(DovExpr*& root, const VString&, DovParser*, DovPrettyPrinter*, DovTokenList*) {
    root = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    return 0;
}

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun Generate(const std::vector<std::string>& args, const fs::path& cwd) {
    const vemlo_test::ChildResult r = vemlo_test::RunInChild([&] {
        if (chdir(cwd.c_str()) != 0) DovExit(126);
        unsetenv("DOV_TOOL_OPTIONS");
        std::vector<const char*> argv = {"vemlo"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        DovTool tool(VString("%s: Vemlo ver %s."), VString("vemlo"), VString("4-2-0"));
        const int result = RunTool(tool, static_cast<int>(argv.size()), argv.data(), DovAllDials(), DIAL_ANSI85,
                                   DIAL_NONE, nullptr, MoveTree, ".xxx", nullptr, 0, 1, 1);
        DovExit(result & 0xff);
    });
    ToolRun run;
    run.status = r.exited ? r.exit_status : -1000 - r.signal;
    run.out = r.out;
    return run;
}

std::string Read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class GeneratingDriver : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vemlo_print_driver_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "src");
        std::ofstream(dir_ / "src" / "PROG.cbl") << kSource;
        std::ofstream(dir_ / "src" / "NOEXT") << kSource;
        std::ofstream(dir_ / "OTHER.cob") << kSource;
    }
    void TearDown() override { fs::remove_all(dir_); }
    static constexpr const char* kSource = "       IDENTIFICATION DIVISION.\n";
    fs::path dir_;
};

TEST_F(GeneratingDriver, EveryFormOfOutputNameGetsThePrintedTree) {
    struct Case {
        std::vector<std::string> args;
        std::string written;
    } cases[] = {
        {{"src/PROG.cbl"}, "src/PROG.xxx"},
        {{"src/NOEXT"}, "src/NOEXT.xxx"},
        {{"-gen-sfx=.new", "src/PROG.cbl"}, "src/PROG.new"},
        {{"-gen-main-dir=out", "src/PROG.cbl"}, "out/src/PROG.cbl"},
        {{"-gen-main-dir=deep/out", "-gen-sfx=.cob", "src/PROG.cbl"}, "deep/out/src/PROG.cob"},
        {{"-gen-file=made/one.cob", "src/PROG.cbl"}, "made/one.cob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        const ToolRun run = Generate(c.args, dir_);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(" Writing  " + c.written + "\n"), std::string::npos) << run.out;
        EXPECT_EQ(Read(dir_ / c.written), "       MOVE A TO B\n");
    }
    EXPECT_EQ(Read(dir_ / "src" / "PROG.cbl"), kSource);
}

TEST_F(GeneratingDriver, OutputsThatWouldOverwriteAnInputAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"-gen-sfx=.cbl", "src/PROG.cbl"},
         "ERROR: Output file 'src/PROG.cbl' would overwrite the input file 'src/PROG.cbl'\n"},
        {{"-gen-file=./src/PROG.cbl", "src/PROG.cbl"},
         "ERROR: Output file './src/PROG.cbl' would overwrite the input file 'src/PROG.cbl'\n"},
        // The first input's output is the second input.
        {{"-gen-sfx=.cob", "OTHER.cbl", "OTHER.cob"},
         "ERROR: Output file 'OTHER.cob' would overwrite the input file 'OTHER.cob'\n"},
        {{"-gen-main-dir=.", "src/PROG.cbl"},
         "ERROR: Output file './src/PROG.cbl' would overwrite the input file 'src/PROG.cbl'\n"},
        {{"-gen-file=one.cob", "src/PROG.cbl", "src/NOEXT"},
         "ERROR: Cannot specify one output file 'one.cob' for several input files\n"},
    };
    std::ofstream(dir_ / "OTHER.cbl") << kSource;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const ToolRun run = Generate(c.args, dir_);
        EXPECT_EQ(run.status, 21);
        EXPECT_EQ(run.out, c.message);
        EXPECT_EQ(Read(dir_ / "src" / "PROG.cbl"), kSource);
        EXPECT_EQ(Read(dir_ / "OTHER.cob"), kSource);
        EXPECT_FALSE(fs::exists(dir_ / "OTHER.cob.tmp"));
    }
}

TEST_F(GeneratingDriver, ADirectoryThatCannotBeMadeEndsTheRun) {
    std::ofstream(dir_ / "plain") << "x";
    const ToolRun run = Generate({"-gen-main-dir=plain/x", "src/PROG.cbl"}, dir_);
    EXPECT_EQ(run.status, 10);
    EXPECT_NE(run.out.find("ERROR: Cannot create directory for 'plain/x/src/PROG.cbl': Not a directory\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
