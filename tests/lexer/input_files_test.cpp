#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "generated/tree/oper_enum.h"
#include "lexer/keywords.h"
#include "tests/lexer/lexer_fixture.h"
#include "tests/support/child_process.h"

namespace {

using vemlo_test::LexerTest;

class ScopedDebugTrace {
public:
    ScopedDebugTrace() { setenv("DOV_DEBUG", "1", 1); }
    ~ScopedDebugTrace() { unsetenv("DOV_DEBUG"); }
};

void SetList(VStringArray& array, std::initializer_list<std::string> items) {
    array = VStringArray(static_cast<int>(items.size()) > 0 ? static_cast<int>(items.size()) : 1);
    for (const auto& item : items) array.items[array.count++] = item.c_str();
}

class CopybookSearch : public LexerTest {
protected:
    // The paths that a member search tried, in order, from the open traces.
    std::vector<std::string> Probes(const std::string& member, bool* found = nullptr, std::string* path = nullptr) {
        ScopedDebugTrace trace;
        testing::internal::CaptureStdout();
        VString opened;
        bool ok = lexer.PushInput(member.c_str(), STMT_INLINED_COPY_END, opened);
        std::string out = testing::internal::GetCapturedStdout();
        if (found) *found = ok;
        if (path) *path = opened.CStr();
        std::vector<std::string> probes;
        std::istringstream lines(out);
        const std::string head = "@@DovOpenInFile: file='";
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(head, 0) == 0) probes.push_back(line.substr(head.size(), line.find("', bin") - head.size()));
        return probes;
    }
    std::string main_;

    void SetUp() override {
        main_ = dir.Write("main.cbl", "       MAIN-LINE.\n");
        ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    }
};

TEST_F(CopybookSearch, DirectoriesBySuffixesWithTheLowerCaseRetry) {
    const std::string a = dir.Path("a"), b = dir.Path("b") + "/";
    SetList(lexer.copyDirs, {a, b});
    SetList(lexer.copySuffixes, {".cpy", "cbl", ""});
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    bool found = true;
    auto probes = Probes("X", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(probes, (std::vector<std::string>{a + "/X.cpy", a + "/x.cpy", a + "/X.cbl", a + "/x.cbl", a + "/X",
                                                 a + "/x", b + "X.cpy", b + "x.cpy", b + "X.cbl", b + "x.cbl",
                                                 b + "X", b + "x"}));
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"969@0:Cannot find/open file 'X' in directories on Copylib path"});
    EXPECT_EQ(lexer.inputLevel, 1);

    // The first path that opens ends the search.
    dir.Write("b/x.cbl", "       MEMBER-LINE.\n");
    std::string path;
    probes = Probes("X", &found, &path);
    EXPECT_TRUE(found);
    EXPECT_EQ(path, b + "x.cbl");
    EXPECT_EQ(probes.back(), b + "x.cbl");
    EXPECT_EQ(lexer.inputLevel, 2);
    EXPECT_EQ(lexer.current->kind, STMT_INLINED_COPY_END);
    EXPECT_EQ(lexer.CurrentPosn(), DovTxtPosn(0, 0, DovSrcFileNames().FindOrAdd(path.c_str(), false, false)));
    EXPECT_EQ(lexer.GetLine(), 0);
    EXPECT_EQ(std::string(lexer.current->line), "       MEMBER-LINE.");
}

TEST_F(CopybookSearch, NamesWithADotOrNoDirectory) {
    SetList(lexer.copyDirs, {""});
    SetList(lexer.copySuffixes, {".cpy"});
    lexer.copyNameCase = COPY_NAME_EXACT;
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    EXPECT_EQ(Probes("X"), (std::vector<std::string>{"X.cpy", "X"}));
    EXPECT_EQ(Probes("X.INC"), (std::vector<std::string>{"X.INC", "X.INC"}));
    lexer.copyNameCase = COPY_NAME_UPPER;
    EXPECT_EQ(Probes("ab"), (std::vector<std::string>{"ab.cpy", "AB.CPY", "ab", "AB"}));
}

TEST_F(CopybookSearch, LibraryFolderMembersGetSuffixesAndRetries) {
    // COPY X OF LIB reaches the search as LIB's folder, '/' and X.
    SetList(lexer.copyDirs, {dir.Path("unused")});
    SetList(lexer.copySuffixes, {".cpy", ".cbl"});
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    const std::string lib = dir.Path("LIB");
    dir.Write("LIB/x.cbl", "       LIB-MEMBER.\n");
    bool found = false;
    std::string path;
    auto probes = Probes(lib + "/X", &found, &path);
    EXPECT_TRUE(found);
    EXPECT_EQ(probes, (std::vector<std::string>{lib + "/X.cpy", lib + "/x.cpy", lib + "/X.cbl", lib + "/x.cbl"}));
    EXPECT_EQ(path, lib + "/x.cbl");
    // The folder part keeps its case; the bare name is the last try.
    probes = Probes(lib + "/Y", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(probes.back(), lib + "/y");
    EXPECT_EQ(probes.size(), 6u);
}

TEST_F(CopybookSearch, TenSuffixesKeepTheBareNameLast) {
    SetList(lexer.copyDirs, {dir.Path("d")});
    SetList(lexer.copySuffixes, {".s0", ".s1", ".s2", ".s3", ".s4", ".s5", ".s6", ".s7", ".s8", ".s9"});
    ASSERT_EQ(lexer.copySuffixes.count, lexer.copySuffixes.capacity);
    lexer.Reset();
    lexer.Reset();  // a second reset adds no second bare-name try
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    lexer.copyNameCase = COPY_NAME_EXACT;
    dir.Write("d/M", "       BARE.\n");
    bool found = false;
    auto probes = Probes("M", &found);
    EXPECT_TRUE(found);
    ASSERT_EQ(probes.size(), 11u);
    EXPECT_EQ(probes.back(), dir.Path("d") + "/M");
}

TEST_F(CopybookSearch, FoldersAreNotMembers) {
    SetList(lexer.copyDirs, {dir.Path("d")});
    SetList(lexer.copySuffixes, {".cpy"});
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    dir.Write("d/SUB/file", "x");
    bool found = true;
    Probes("SUB", &found);
    EXPECT_FALSE(found);
}

// A member is a regular file. A device (also through a link), a FIFO or a
// folder met on the path is never opened, let alone read (/dev/zero never
// ends; a FIFO's open waits for a writer): the search goes on, and when
// nothing else is found the message names what was met. A regular file
// later on the path is the member.
TEST_F(CopybookSearch, OnlyRegularFilesAreMembers) {
    const std::string d = dir.Path("d"), e = dir.Path("e");
    dir.Write("d/SUB.cpy/file", "x");
    ASSERT_EQ(mkfifo((d + "/PIPE.cpy").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", d + "/ZERO.cpy");
    dir.Write("d/LATER.cpy/file", "x");
    dir.Write("e/LATER.cpy", "       LATER-MEMBER.\n");
    SetList(lexer.copyDirs, {d, e});
    SetList(lexer.copySuffixes, {".cpy"});
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(main_.c_str()), 0);
    struct Case {
        std::string member;
        std::string path;  // what the message names; empty when the member is found
    };
    const Case cases[] = {
        {"/dev/zero", "/dev/zero"}, {"/dev/urandom", "/dev/urandom"}, {"ZERO", d + "/ZERO.cpy"},
        {"PIPE", d + "/PIPE.cpy"},  {"SUB", d + "/SUB.cpy"},          {"LATER", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        Messages().clear();
        bool found = false;
        std::string path;
        Probes(c.member, &found, &path);
        if (c.path.empty()) {
            EXPECT_TRUE(found);
            EXPECT_EQ(path, e + "/LATER.cpy");
            EXPECT_TRUE(Messages().empty());
            VString name;
            lexer.PopInput(false, name);
        } else {
            EXPECT_FALSE(found);
            EXPECT_EQ(MessageTexts(), std::vector<std::string>{"969@0:Cannot find/open file '" + c.member +
                                                                "' in directories on Copylib path: '" + c.path +
                                                                "' is not a regular file"});
        }
        EXPECT_EQ(lexer.inputLevel, 1);
    }
}

TEST_F(CopybookSearch, OverlongPathsAndSwitchedOffInlining) {
    std::string longDir(1600, 'd');
    SetList(lexer.copyDirs, {longDir});
    bool found = true;
    EXPECT_TRUE(Probes("X", &found).empty());
    EXPECT_FALSE(found);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"970@0:COPYLIB file name too long: dir='" + longDir +
                                                        "', name='X'"});
    Messages().clear();
    lexer.copyInline = 0;
    dir.Write("Y.cpy", "");
    SetList(lexer.copyDirs, {dir.Path()});
    EXPECT_TRUE(Probes("Y", &found).empty());
    EXPECT_FALSE(found);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CopybookSearch, TwentyLevelsOpenTheTwentyFirstIsRefused) {
    SetList(lexer.copyDirs, {dir.Path()});
    std::string member = dir.Write("M.cpy", "       M1.\n       M2.\n");
    VString path;
    for (int level = 2; level <= kDovMaxInputLevels; ++level)
        ASSERT_TRUE(lexer.PushInput("M", STMT_INLINED_COPY_END, path)) << level;
    EXPECT_EQ(lexer.inputLevel, 20);
    EXPECT_EQ(lexer.GetLine(), 0);
    EXPECT_FALSE(lexer.PushInput("M", STMT_INLINED_INCLUDE_END, path));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"971@1:COPY/-INC statements are nested too deep"});
    // Reading goes on in the current level.
    EXPECT_EQ(lexer.GetLine(), 0);
    EXPECT_EQ(std::string(lexer.current->line), "       M2.");
    EXPECT_EQ(lexer.GetLine(), SEP_EOF);

    VString name;
    for (int level = 20; level > 1; --level) {
        EXPECT_EQ(lexer.PopInput(false, name), STMT_INLINED_COPY_END);
        EXPECT_TRUE(name == member.c_str());
    }
    EXPECT_EQ(lexer.PopInput(false, name), kDovMainInputKind);  // the main level stays
    EXPECT_EQ(lexer.inputLevel, 1);
    EXPECT_EQ(lexer.PopInput(true, name), kDovMainInputKind);
    EXPECT_TRUE(name == main_.c_str());
    EXPECT_EQ(lexer.inputLevel, 0);
    EXPECT_EQ(lexer.current, nullptr);
}

TEST_F(LexerTest, SetInputTwiceAndMissingMainFile) {
    std::string main = dir.Write("m.cbl", "X\n");
    EXPECT_EQ(lexer.SetInput(main.c_str()), 0);
    EXPECT_EQ(lexer.SetInput(main.c_str()), 11);
    lexer.CloseInput();
    EXPECT_EQ(lexer.SetInput(dir.Path("none.cbl").c_str()), 11);
    EXPECT_EQ(lexer.SetInput(dir.Path().c_str()), 11);  // a folder
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  "971@0:DovLexer::SetInput: input_level!=0",
                                  "970@0:Cannot open main file '" + dir.Path("none.cbl") + "' for input",
                                  "970@0:Cannot open main file '" + dir.Path() + "' for input",
                              }));
}

TEST_F(LexerTest, CloseInputClosesMembersLeftOpen) {
    std::string main = dir.Write("m.cbl", "X\n");
    dir.Write("C.cpy", "Y\n");
    SetList(lexer.copyDirs, {dir.Path()});
    ASSERT_EQ(lexer.SetInput(main.c_str()), 0);
    VString path;
    ASSERT_TRUE(lexer.PushInput("C", STMT_INLINED_COPY_END, path));
    lexer.errorFlag = 1;
    lexer.CloseInput();
    EXPECT_EQ(lexer.inputLevel, 0);
    EXPECT_EQ(lexer.errorFlag, 0);
    EXPECT_EQ(lexer.SetInput(main.c_str()), 0);
}

TEST_F(LexerTest, ManyFilesGetTheirOwnIndexes) {
    std::vector<std::uint32_t> seen;
    for (int f = 0; f < 40; ++f) {
        ASSERT_TRUE(Open("X\n", ("f" + std::to_string(f) + ".cbl").c_str()));
        seen.push_back(lexer.CurrentPosn().FileIndex());
        EXPECT_TRUE(DovSrcFileName(seen.back()) == dir.Path("f" + std::to_string(f) + ".cbl").c_str());
        lexer.CloseInput();
    }
    for (int f = 1; f < 40; ++f) EXPECT_NE(seen[f], seen[f - 1]);
}

TEST(DovLexer, CopyingIsRefused) {
    auto r = vemlo_test::RunInChild([] {
        DovLexer a(nullptr, nullptr, nullptr, nullptr, nullptr);
        DovLexer b(a);
        (void)b;
    });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exit_status, 1);
    EXPECT_NE(r.out.find("DovLexer::DovLexer(const DovLexer &) must not be called"), std::string::npos) << r.out;
}

}  // namespace

namespace {

TEST_F(LexerTest, ExcludedKeywordsStayUnreservedForTheProcess) {
    ASSERT_NE(FindKeyword("ZERO-FILL"), nullptr);
    ASSERT_NE(FindKeyword("ZERO-FILL")->dials, 0u);
    SetList(lexer.excludedKeywords, {"zero-fill", "NOT-A-KEYWORD"});
    lexer.Reset();
    EXPECT_TRUE(lexer.excludedKeywords.items[0] == "ZERO-FILL");
    EXPECT_EQ(FindKeyword("ZERO-FILL")->dials, 0u);

    // A later parse without the option still finds it unreserved.
    DovLexer next(nullptr, nullptr, nullptr, nullptr, nullptr);
    next.Reset();
    EXPECT_EQ(DovReservedKeyword("ZERO-FILL", DovAllDials().word, true, true), nullptr);
}

}  // namespace
