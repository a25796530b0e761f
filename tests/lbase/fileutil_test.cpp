#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

#include "lbase/lbase.h"
#include "tests/support/child_process.h"

namespace {

using vemlo_test::RunInChild;

// The open helpers' switches cannot stand in for each other, nor be ints.
static_assert(std::is_invocable_v<decltype(&DovOpenInFile), std::ifstream&, const char*, DovFileMode, DovOpenTrace>);
static_assert(!std::is_invocable_v<decltype(&DovOpenInFile), std::ifstream&, const char*, DovOpenTrace, DovFileMode>);
static_assert(!std::is_invocable_v<decltype(&DovOpenInFile), std::ifstream&, const char*, int, int>);
static_assert(std::is_invocable_v<decltype(&DovOpenOutFile), std::ofstream&, const VString&, DovFileMode, DovWriteMode>);
static_assert(!std::is_invocable_v<decltype(&DovOpenOutFile), std::ofstream&, const VString&, DovWriteMode, DovFileMode>);
static_assert(!std::is_invocable_v<decltype(&DovOpenOutFile), std::ofstream&, const VString&, int, int>);

// Sets (or, with null, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_.c_str(), old_.c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }

private:
    std::string name_, old_;
    bool had_ = false;
};

class FileHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        char buf[] = "/tmp/vemlo-fileutil-XXXXXX";
        ASSERT_NE(mkdtemp(buf), nullptr);
        dir_ = buf;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Path(const std::string& rel) const { return dir_ + "/" + rel; }
    static bool IsDir(const std::string& p) {
        struct stat st;
        return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    static std::string Read(const std::string& p) {
        std::ifstream in(p);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    std::string dir_;
    ScopedEnv no_debug_{"DOV_DEBUG", nullptr};
    ScopedEnv no_keep_{"DOV_NO_RM", nullptr};
};

TEST_F(FileHelpers, OpenOutFileDropsDotDotAndTraces) {
    ASSERT_EQ(mkdir(Path("a").c_str(), 0755), 0);
    const std::string root = dir_;
    auto r = RunInChild([&] {
        setenv("DOV_DEBUG", "", 1);
        if (chdir(root.c_str()) != 0) return;
        std::ofstream out;
        int rc = DovOpenOutFile(out, "a/b/../c.txt", DovFileMode::Text, DovWriteMode::Truncate);
        out << "one\n";
        out.close();
        std::cout << "rc=" << rc << std::endl;
    });
    EXPECT_EQ(r.out, "@@DovOpenOutFile: file='a/b/../c.txt' norm='a/c.txt', bin=0, ret=0\nrc=0\n");
    EXPECT_EQ(Read(Path("a/c.txt")), "one\n");
    EXPECT_FALSE(IsDir(Path("a/b")));
}

TEST_F(FileHelpers, OpenOutFileAppendsOrTruncates) {
    const VString path = Path("f.txt").c_str();
    for (auto [mode, text, want] : {std::tuple{DovWriteMode::Truncate, "ab", "ab"},
                                    std::tuple{DovWriteMode::Append, "cd", "abcd"},
                                    std::tuple{DovWriteMode::Truncate, "e", "e"}}) {
        std::ofstream out;
        ASSERT_EQ(DovOpenOutFile(out, path, DovFileMode::Binary, mode), 0);
        out << text;
        out.close();
        EXPECT_EQ(Read(path.CStr()), want);
    }
    std::ofstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(DovOpenOutFile(out, Path("missing/x.txt").c_str(), DovFileMode::Text, DovWriteMode::Truncate), 10);
    // An open stream is closed first and reopened on the new file.
    EXPECT_EQ(DovOpenOutFile(out, path, DovFileMode::Text, DovWriteMode::Truncate), 0);
    EXPECT_EQ(DovOpenOutFile(out, Path("g.txt").c_str(), DovFileMode::Text, DovWriteMode::Truncate), 0);
    EXPECT_TRUE(DovFileExists(Path("g.txt").c_str()));
}

TEST_F(FileHelpers, OpenInFile) {
    { std::ofstream(Path("in.txt")) << "data"; }
    const std::string in_path = Path("in.txt"), missing = Path("missing.txt");
    auto r = RunInChild([&] {
        setenv("DOV_DEBUG", "1", 1);
        std::ifstream in;
        std::cout << DovOpenInFile(in, missing.c_str(), DovFileMode::Binary, DovOpenTrace::On) << in.fail()
                  << std::endl;
        std::cout << DovOpenInFile(in, in_path.c_str(), DovFileMode::Text, DovOpenTrace::On);
        std::string word;
        in >> word;
        std::cout << word << std::endl;
        std::cout << DovOpenInFile(in, missing.c_str(), DovFileMode::Text, DovOpenTrace::Off) << std::endl;
        std::cout << DovOpenInFile(in, nullptr, DovFileMode::Text, DovOpenTrace::Off) << std::endl;
    });
    EXPECT_EQ(r.out, "@@DovOpenInFile: file='" + missing + "', bin=1, ret=11\n111\n@@DovOpenInFile: file='" +
                         in_path + "', bin=0, ret=0\n0data\n11\n11\n");
}

TEST_F(FileHelpers, MkDirMakesEveryPrefix) {
    const std::string root = dir_;
    auto r = RunInChild([&] {
        setenv("DOV_DEBUG", "", 1);
        if (chdir(root.c_str()) != 0) return;
        int err = 0;
        std::cout << DovMkDir("./x/y/file", &err) << std::endl;
        std::cout << DovMkDir("./x/y/file", &err) << std::endl;
        std::cout << DovMkDir("p\\q\\file", &err) << std::endl;
        std::cout << DovMkDir("nosep", &err) << DovMkDir(nullptr, &err) << err << std::endl;
    });
    EXPECT_EQ(r.out,
              "@@DovMkDir: dir='./x', ret=0\n@@DovMkDir: dir='./x/y', ret=0\n0\n0\n"
              "@@DovMkDir: dir='p', ret=0\n@@DovMkDir: dir='p/q', ret=0\n0\n000\n");
    EXPECT_TRUE(IsDir(Path("x/y")));
    EXPECT_FALSE(IsDir(Path("x/y/file")));
    EXPECT_TRUE(IsDir(Path("p/q")));
    EXPECT_FALSE(DovFileExists(Path("nosep").c_str()));
}

TEST_F(FileHelpers, MkDirLongPathAndFailure) {
    std::string deep = dir_;
    for (int i = 0; i < 12; ++i) deep += "/" + std::string(60, char('a' + i));
    EXPECT_EQ(DovMkDir((deep + "/file").c_str(), nullptr), 0);
    EXPECT_TRUE(IsDir(deep));

    { std::ofstream(Path("plain")) << "x"; }
    int err = 0;
    EXPECT_EQ(DovMkDir(Path("plain/sub/file").c_str(), &err), 1);
    EXPECT_EQ(err, ENOTDIR);
    EXPECT_EQ(DovMkDir(Path("plain/sub/file").c_str(), nullptr), 1);
}

TEST(DovIsAbsolutePath, Cases) {
    struct Case {
        const char* path;
        bool want;
    };
    for (const Case& c : {Case{"/x", true}, Case{"\\x", true}, Case{"C:x", true}, Case{"x", false},
                          Case{"", false}, Case{nullptr, false}, Case{"ab:c", false}, Case{"./x", false}}) {
        EXPECT_EQ(DovIsAbsolutePath(c.path), c.want) << (c.path ? c.path : "(null)");
    }
}

TEST_F(FileHelpers, RmFileAndNoRm) {
    const std::string kept = Path("kept.txt"), gone = Path("gone.txt");
    { std::ofstream(kept) << "x"; }
    { std::ofstream(gone) << "x"; }
    auto r = RunInChild([&] {
        setenv("DOV_DEBUG", "", 1);
        setenv("DOV_NO_RM", "", 1);
        std::cout << DovRmFile(kept.c_str());
        unsetenv("DOV_NO_RM");
        std::cout << DovRmFile(gone.c_str());
        std::cout << DovRmFile(gone.c_str()) << std::endl;
    });
    EXPECT_EQ(r.out, "0@@DovRmFile: file='" + gone + "', ret=0\n0@@DovRmFile: file='" + gone + "', ret=-1\n0\n");
    EXPECT_TRUE(DovFileExists(kept.c_str()));
    EXPECT_FALSE(DovFileExists(gone.c_str()));
    EXPECT_TRUE(DovFileExists(dir_.c_str()));
    EXPECT_FALSE(DovFileExists(""));
}

TEST_F(FileHelpers, TempFileName) {
    ScopedEnv tmp("TMPDIR", (dir_ + "/").c_str());
    VString a = DovTempFileName("vx", "src/prog.cbl");
    VString b = DovTempFileName("vx", "");
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_TRUE(a.StartsWith(Path("vx").c_str())) << a;
    EXPECT_EQ(a.Len(), static_cast<int>(Path("vx").size()) + 6);
    EXPECT_TRUE(DovFileExists(a));  // reserved: nobody else gets the name
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(DovTempFileName("a/b", "").StartsWith(Path("a_b").c_str()));
    {
        ScopedEnv debug("DOV_DEBUG", "");
        EXPECT_TRUE(DovTempFileName("vx", "src/prog.cbl").StartsWith(Path("prog").c_str()));
        EXPECT_TRUE(DovTempFileName("vx", "").StartsWith(Path("vx").c_str()));
    }
    {
        ScopedEnv bad("TMPDIR", Path("no-such-dir").c_str());
        VString fallback = DovTempFileName("vemlo-test-", "");
        ASSERT_FALSE(fallback.IsEmpty());
        EXPECT_FALSE(fallback.StartsWith(dir_.c_str())) << fallback;
        unlink(fallback.CStr());
    }
}

TEST(DovCallExec, RunsAndWaits) {
    ScopedEnv no_debug("DOV_DEBUG", nullptr);
    VStringList args;
    args.Append("-c");
    args.Append("exit 5");
    char status = -1;
    VString message;
    EXPECT_EQ(DovCallExec("/bin/sh", &status, args, message), 0);
    EXPECT_EQ(status, 5);
    EXPECT_TRUE(message.IsEmpty());

    VStringList none;
    EXPECT_EQ(DovCallExec("true", &status, none, message), 0);  // found along PATH
    EXPECT_EQ(status, 0);
}

TEST(DovCallExec, MissingProgram) {
    auto r = RunInChild([] {
        setenv("DOV_DEBUG", "", 1);
        VStringList args;
        args.Append("one");
        args.Append("two words");
        char status = 0;
        VString message;
        int rc = DovCallExec("vemlo-no-such-program", &status, args, message);
        std::cout << "rc=" << rc << " status=" << int(status) << "\n" << message << std::endl;
    });
    EXPECT_EQ(r.out,
              "@@DovCallExec: 'vemlo-no-such-program', args:\n  'one'\n  'two words'\n"
              "\nDovCallExec: cannot exec 'vemlo-no-such-program': No such file or directory\n"
              "rc=13 status=13\n"
              "DovCallExec: cannot exec 'vemlo-no-such-program', probably because executable was not found\n");
    EXPECT_EQ(r.exit_status, 0);
}

}  // namespace
