// Option values of any size, seen from outside: list options with thousands
// of elements, DOV_TOOL_OPTIONS with blanks around its words, a constant
// setting beyond 64 bits.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/lexer/temp_dir.h"
#include "tests/tool/run_vemlo.h"

using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

// A program that copies MEMBER into its procedure division; the member
// holds one MOVE.
const char kCopyingProgram[] =
    "       IDENTIFICATION DIVISION.\n"
    "       PROGRAM-ID. P.\n"
    "       DATA DIVISION.\n"
    "       WORKING-STORAGE SECTION.\n"
    "       01 WS-A PIC X.\n"
    "       01 WS-B PIC X.\n"
    "       PROCEDURE DIVISION.\n"
    "           COPY MEMBER.\n"
    "           STOP RUN.\n";
const char kMember[] = "           MOVE WS-A TO WS-B.\n";

// "prefix0,prefix1,...": `n` elements.
std::string Numbered(const std::string& prefix, int n) {
    std::string list;
    for (int i = 0; i < n; ++i) list += (i ? "," : "") + prefix + std::to_string(i);
    return list;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// In `dir`, with the copybook at `member` and the list option `option`:
// the program finds the member's MOVE, and the short form of the options
// shows the list whole.
void FindsTheMember(const vemlo_test::TempDir& dir, const std::string& option, const std::string& member) {
    dir.Write(member, kMember);
    dir.Write("P.cbl", kCopyingProgram);
    const VemloRun run = RunVemlo({option, "-q=STMT_MOVE", "P.cbl"}, dir.Path());
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0) << run.out.substr(0, 300);
    EXPECT_EQ(run.out, "*Reading* P.cbl\n" + member + ":1:12:            MOVE WS-A TO WS-B.\nErrors: 0, Warnings: 0\n");
    const VemloRun values = RunVemlo({"-pf", option}, dir.Path());
    EXPECT_TRUE(HasLine(values.out, option)) << values.out.substr(0, 300);
}

}  // namespace

TEST(VemloOptionValues, ThreeThousandCopybookFoldersWithTheMemberInTheLast) {
    vemlo_test::TempDir dir;
    for (int i = 0; i < 3000; ++i) std::filesystem::create_directory(dir.Path("d" + std::to_string(i)));
    const std::string dirs = "-copylib-dir=" + Numbered("d", 3000);
    FindsTheMember(dir, dirs, "d2999/MEMBER.cpy");
    // The long listing shows every folder too.
    std::string quoted;
    for (int i = 0; i < 3000; ++i) quoted += std::string(i ? ",\"" : "\"") + "d" + std::to_string(i) + "\"";
    const VemloRun help = RunVemlo({"-help", dirs}, dir.Path());
    EXPECT_TRUE(HasLine(help.out, "-copylib-dir=string list (now: " + quoted + ")")) << help.out.substr(0, 300);
}

TEST(VemloOptionValues, FiveHundredCopybookSuffixesWithTheMembersTheLast) {
    vemlo_test::TempDir dir;
    FindsTheMember(dir, "-copylib-sfx=" + Numbered(".s", 500), "./MEMBER.s499");
}

// A blank starts no word in DOV_TOOL_OPTIONS: blanks alone are no option,
// and blanks after the last option add none.
TEST(VemloOptionValues, BlanksInTheEnvironmentStartNoWord) {
    const std::string findings =
        "TWOMOVES.cbl:9:12:            MOVE \"ABCD\" TO WS-A.\n"
        "TWOMOVES.cbl:11:12:            MOVE WS-A TO WS-B.\n";
    struct Case {
        const char* env;
        bool silent;
    } cases[] = {
        {"", false}, {" ", false}, {"    ", false}, {"-silent ", true}, {"   -silent    -no-stat   ", true},
    };
    for (const Case& c : cases) {
        const VemloRun run = RunVemlo({"-q=STMT_MOVE", "TWOMOVES.cbl"}, std::string(), c.env);
        ASSERT_TRUE(run.exited);
        EXPECT_EQ(run.status, 0) << "[" << c.env << "] " << run.out;
        EXPECT_EQ(run.out, c.silent ? findings : "*Reading* TWOMOVES.cbl\n" + findings + "Errors: 0, Warnings: 0\n")
            << "[" << c.env << "]";
    }
}

// A constant setting of 23 digits does not fit in 64 bits: it is refused with
// a message that says so, and the file is searched as without it.
TEST(VemloOptionValues, AConstantSettingBeyondSixtyFourBitsIsRefused) {
    const VemloRun run = RunVemlo({"-set-constants=A(99999999999999999999999),B(7)", "-q=STMT_MOVE", "TWOMOVES.cbl"});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "*Reading* TWOMOVES.cbl\n"
              "ERROR: Bad numeric constant set: A(99999999999999999999999): Integer number "
              "'99999999999999999999999' does not fit in 64 bits\n"
              "TWOMOVES.cbl:9:12:            MOVE \"ABCD\" TO WS-A.\n"
              "TWOMOVES.cbl:11:12:            MOVE WS-A TO WS-B.\n"
              "Errors: 1, Warnings: 0\n");
    // The constant is not declared with any value: nothing holds a wrapped one.
    const VemloRun values =
        RunVemlo({"-set-constants=A(99999999999999999999999)", "-q=INTVALUE == 200376420520689663", "TWOMOVES.cbl"});
    EXPECT_EQ(values.out.find("TWOMOVES.cbl:"), std::string::npos) << values.out;
}
