// Output files of generating mode: their names from gen-file, gen-sfx and
// gen-main-dir, the refusals that protect the inputs, the directories made
// on the way, and a tree written through the generating step.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "tests/printer/printer_fixture.h"

namespace {

namespace fs = std::filesystem;

DovGenNaming Naming(const char* file, const char* sfx, const char* dir) {
    DovGenNaming n;
    n.genFile = file;
    n.genSfx = sfx;
    n.genMainDir = dir;
    n.defaultSfx = ".xxx";
    return n;
}

TEST(GenOutputName, EveryForm) {
    struct Case {
        const char* what;
        const char* input;
        DovGenNaming naming;
        const char* output;
    } cases[] = {
        {"gen-file wins", "src/a.cbl", Naming("out/one.cob", ".new", "main"), "out/one.cob"},
        {"beside the input, default suffix", "src/a.cbl", Naming("", ".xxx", ""), "src/a.xxx"},
        {"beside the input, own suffix", "src/a.cbl", Naming("", ".cob", ""), "src/a.cob"},
        {"an input without extension gets the suffix", "src/prog", Naming("", ".xxx", ""), "src/prog.xxx"},
        {"a dot in a directory is no extension", "v1.2/prog", Naming("", ".xxx", ""), "v1.2/prog.xxx"},
        {"main directory, default suffix keeps the name", "src/a.cbl", Naming("", ".xxx", "gen"), "gen/src/a.cbl"},
        {"main directory, own suffix", "src/a.cbl", Naming("", ".cob", "gen"), "gen/src/a.cob"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_STREQ(DovGenOutputName(c.input, c.naming).CStr(), c.output);
    }
}

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("vemlo_gen_output_" + std::to_string(::getpid()) + "_" + std::to_string(++n_));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Str(const char* rel) const { return (path_ / rel).string(); }

private:
    static inline int n_ = 0;
    fs::path path_;
};

TEST(GenOutputName, OutputsThatWouldOverwriteAnInputAreRefusedUpFront) {
    TempDir dir;
    const std::string a = dir.Str("a.cbl"), b = dir.Str("b.cob");
    std::ofstream(a) << "a";
    std::ofstream(b) << "b";
    auto list = [](std::initializer_list<std::string> names) {
        VStringList l;
        for (const auto& n : names) l.Append(n.c_str());
        return l;
    };
    struct Case {
        const char* what;
        VStringList inputs;
        DovGenNaming naming;
        int rc;
        std::string error;
    } cases[] = {
        {"safe", list({a, b}), Naming("", ".xxx", ""), 0, ""},
        {"one gen-file for two inputs", list({a, b}), Naming("one.cob", ".xxx", ""), kDovGenOneFileForSeveral,
         "Cannot specify one output file 'one.cob' for several input files"},
        {"gen-sfx equal to the input's extension", list({a}), Naming("", ".cbl", ""), kDovGenOutputIsInput,
         "Output file '" + a + "' would overwrite the input file '" + a + "'"},
        {"gen-file naming the input, spelled differently", list({a}), Naming((dir.Str(".") + "/a.cbl").c_str(), ".xxx", ""),
         kDovGenOutputIsInput, "Output file '" + dir.Str(".") + "/a.cbl' would overwrite the input file '" + a + "'"},
        // a.cbl becomes a.cob, beside the input b.cob, which becomes itself.
        {"an output naming an input", list({a, b}), Naming("", ".cob", ""), kDovGenOutputIsInput,
         "Output file '" + b + "' would overwrite the input file '" + b + "'"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        VString error;
        EXPECT_EQ(DovCheckGenOutputs(c.inputs, c.naming, error), c.rc);
        EXPECT_EQ(std::string(error.CStr()), c.error);
    }
    std::ifstream in(a);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "a");
}

TEST(GenerateFile, WritesTheTreeAndMakesTheDirectoriesOnTheWay) {
    vemlo_test::ResetPrintState();
    TempDir dir;
    DovPrettyPrinterImpl printer;
    printer.gen_posn = 1;
    auto* move = new DovExprOper(STMT_MOVE, new DovCharString("A"), new DovCharString("B"));
    const std::string mainDir = dir.Str("gen");
    VString output, error;
    DovTokenList messages;
    EXPECT_EQ(DovGenerateFile(printer, "deep/er/prog.cbl", move, Naming("", ".cob", mainDir.c_str()), output, &messages,
                              error),
              0)
        << error.CStr();
    EXPECT_EQ(std::string(output.CStr()), mainDir + "/deep/er/prog.cob");
    EXPECT_EQ(printer.gen_posn, 0);
    std::ifstream in(output.CStr());
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), "       MOVE A TO B\n");

    std::ofstream(dir.Str("blocker")) << "x";  // a file where a directory must go
    const std::string blocked = dir.Str("blocker") + "/sub/prog.cob";
    EXPECT_EQ(DovGenerateFile(printer, "prog.cbl", move, Naming(blocked.c_str(), ".xxx", ""), output, &messages, error),
              kDovGenCannotMakeDir);
    EXPECT_EQ(std::string(error.CStr()).rfind("Cannot create directory for '" + blocked + "': ", 0), 0u)
        << error.CStr();
    delete move;
}

}  // namespace
