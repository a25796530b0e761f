// Where vemlo reports what it finds and what it warns about: every statement
// at its own first word, in its own file, also around a copybook COPYed
// inside a sentence; every name inside EXEC SQL at its word; the lexer's
// warnings at the column they are about; and, over the corpus, no position
// past the end of its file.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/lexer/temp_dir.h"
#include "tests/support/corpus.h"
#include "tests/tool/run_vemlo.h"

using vemlo_tool_test::RunVemlo;
using vemlo_tool_test::VemloRun;

namespace {

const std::string kHead =
    "       IDENTIFICATION DIVISION.\n"
    "       PROGRAM-ID. T.\n"
    "       DATA DIVISION.\n"
    "       WORKING-STORAGE SECTION.\n"
    "       01 WS-A PIC X.\n"
    "       01 WS-B PIC X.\n"
    "       PROCEDURE DIVISION.\n";  // lines 1-7

// The "file:line:col" of every finding of a run, in order, with the file
// name cut to its last component.
std::vector<std::string> Places(const VemloRun& run) {
    std::vector<std::string> out;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t found = line.rfind(": Found");
        if (found == std::string::npos || found + 7 != line.size()) continue;
        std::string place = line.substr(0, found);
        const std::size_t slash = place.rfind('/');
        if (slash != std::string::npos) place = place.substr(slash + 1);
        out.push_back(place);
    }
    return out;
}

// The lines of the messages of a run that hold `text`, file names cut to
// their last component.
std::vector<std::string> MessagesWith(const VemloRun& run, const std::string& text) {
    std::vector<std::string> out;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(text) == std::string::npos) continue;
        const std::size_t slash = line.rfind('/', line.find(": "));
        out.push_back(slash == std::string::npos ? line : line.substr(slash + 1));
    }
    return out;
}

// A copybook COPYed inside a sentence: each statement is found at its own
// first word, in its own file (the member's statements in the member, the
// statements after the COPY in the program), and the begin and end of the
// member are statements of their own, the end at the end of the member's
// last line, not on a line past it.
TEST(VemloPositions, StatementsAroundACopybookCopiedInsideASentence) {
    const vemlo_test::TempDir dir;
    dir.Write("SETIF.cpy",
              "      * SETS WS-B\n"
              "           IF WS-A = 'X'\n"
              "              MOVE 'Y' TO WS-B\n"
              "           END-IF\n");
    dir.Write("SETB.cpy", "           MOVE 'Y' TO WS-B\n");
    dir.Write("ENDS.cpy", "           MOVE 'Y' TO WS-B.\n");
    struct Case {
        const char* what;
        std::string body;  // from line 8
        std::vector<std::string> places;
    } const cases[] = {
        {"after a MOVE in the same sentence",
         "           MOVE 'A' TO WS-A\n           COPY SETIF.\n           MOVE 'B' TO WS-B\n           STOP RUN.\n",
         {"T.cbl:8:12", "T.cbl:9:12", "SETIF.cpy:2:12", "SETIF.cpy:3:15", "SETIF.cpy:4:18", "T.cbl:10:12",
          "T.cbl:11:12"}},
        {"twice in a row",
         "           MOVE 'A' TO WS-A\n           COPY SETB.\n           COPY SETB.\n           STOP RUN.\n",
         {"T.cbl:8:12", "T.cbl:9:12", "SETB.cpy:1:12", "SETB.cpy:1:28", "T.cbl:10:12", "SETB.cpy:1:12",
          "SETB.cpy:1:28", "T.cbl:11:12"}},
        {"after a statement inside an IF",
         "           IF WS-A = 'A'\n              MOVE 'A' TO WS-A\n           COPY SETB.\n"
         "              MOVE 'B' TO WS-B\n           END-IF\n           STOP RUN.\n",
         {"T.cbl:8:12", "T.cbl:9:15", "T.cbl:10:12", "SETB.cpy:1:12", "SETB.cpy:1:28", "T.cbl:11:15",
          "T.cbl:13:12"}},
        {"inside an EVALUATE WHEN",
         "           EVALUATE WS-A\n           WHEN 'A'\n              MOVE 'A' TO WS-A\n           COPY SETB.\n"
         "           WHEN OTHER\n              MOVE 'B' TO WS-B\n           END-EVALUATE\n           STOP RUN.\n",
         {"T.cbl:8:12", "T.cbl:10:15", "T.cbl:11:12", "SETB.cpy:1:12", "SETB.cpy:1:28", "T.cbl:13:15",
          "T.cbl:15:12"}},
        {"supplying the sentence's period",
         "           MOVE 'A' TO WS-A\n           COPY ENDS.\n           STOP RUN.\n",
         {"T.cbl:8:12", "T.cbl:9:12", "ENDS.cpy:1:12", "ENDS.cpy:1:29", "T.cbl:10:12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = dir.Write("T.cbl", kHead + c.body);
        const VemloRun run = RunVemlo({"-lang=vsii", "-copylib-dir=" + dir.Path(), "-no-print-src",
                                       "-q=STMT_MOVE OR STMT_IF OR STMT_EVALUATE OR STMT_STOP OR "
                                       "STMT_INLINED_COPY_BEG OR STMT_INLINED_COPY_END",
                                       file});
        ASSERT_TRUE(run.exited);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Places(run), c.places) << run.out;
    }
}

// Every name inside EXEC SQL is found at its word: host and indicator
// variables, table, column and cursor names, in SELECT INTO, INSERT,
// UPDATE, DELETE and DECLARE CURSOR.
TEST(VemloPositions, NamesInsideExecSqlAreFoundAtTheirWords) {
    const vemlo_test::TempDir dir;
    const std::string file = dir.Write(
        "S.cbl",
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. S.\n"
        "       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01 HV-NUM PIC S9(9) COMP.\n"
        "       01 HV-IND PIC S9(4) COMP.\n"
        "       PROCEDURE DIVISION.\n"
        "           EXEC SQL SELECT NUM INTO :HV-NUM:HV-IND FROM ACCT\n"   // 8
        "                WHERE NUM = :HV-NUM END-EXEC.\n"                  // 9
        "           EXEC SQL INSERT INTO ACCT (NUM) VALUES (:HV-NUM)\n"    // 10
        "                END-EXEC.\n"
        "           EXEC SQL UPDATE ACCT SET NUM = :HV-NUM INDICATOR :HV-IND\n"  // 12
        "                END-EXEC.\n"
        "           EXEC SQL DELETE FROM ACCT WHERE NUM = :HV-NUM END-EXEC.\n"   // 14
        "           EXEC SQL DECLARE C1 CURSOR FOR SELECT NUM FROM ACCT\n"       // 15
        "                WHERE NUM > :HV-NUM END-EXEC.\n"                         // 16
        "           STOP RUN.\n");
    // (Character strings outside the SQL, such as PICTURE strings, have no
    // place of their own: only the placed ones are compared.)
    const VemloRun run = RunVemlo({"-lang=vsii", "-sql", "-no-print-src", "-q=NAME_USE OR CHAR_STRING", file});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.status, 0) << run.out;
    const std::vector<std::string> want = {
        "S.cbl:8:28", "S.cbl:8:38", "S.cbl:8:45", "S.cbl:8:57", "S.cbl:9:23", "S.cbl:9:30",
        "S.cbl:10:33", "S.cbl:10:39", "S.cbl:10:53",
        "S.cbl:12:28", "S.cbl:12:37", "S.cbl:12:44", "S.cbl:12:62",
        "S.cbl:14:33", "S.cbl:14:44", "S.cbl:14:51",
        "S.cbl:15:29", "S.cbl:15:50", "S.cbl:15:59", "S.cbl:16:23", "S.cbl:16:30",
    };
    std::vector<std::string> places;
    for (const std::string& p : Places(run))
        if (p.find(':') != std::string::npos && p.rfind("(unknown_posn)", 0) != 0) places.push_back(p);
    EXPECT_EQ(places, want) << run.out;
    const VemloRun uses = RunVemlo({"-lang=vsii", "-sql", "-no-print-src", "-q=NAME_USE", file});
    EXPECT_EQ(Places(uses).size(), 8u) << uses.out;
    EXPECT_EQ(uses.out.find("(unknown_posn)"), std::string::npos) << uses.out;
}

// The lexer's warnings stand where they are about: a character in the
// indicator area at its column (7), a copybook that is not found at its
// name in the COPY statement, also when the COPY is on the file's last line.
TEST(VemloPositions, LexerWarningsStandWhereTheyAreAbout) {
    const vemlo_test::TempDir dir;
    const std::string file = dir.Write("W.cbl",
                                       "       IDENTIFICATION DIVISION.\n"
                                       "       PROGRAM-ID. W.\n"
                                       "      X DATA DIVISION.\n"
                                       "       PROCEDURE DIVISION.\n"
                                       "           COPY NOSUCH1.\n"
                                       "           STOP RUN.\n"
                                       "           COPY NOSUCH2.\n");
    const VemloRun run = RunVemlo({"-lang=vsii", "-copylib-dir=" + dir.Path(), "-q=STMT_STOP", file});
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(MessagesWith(run, "Warning:"),
              (std::vector<std::string>{
                  "W.cbl:3:7: Warning: Unrecognized character 'X' in indicator area.",
                  "W.cbl:5:17: Warning: Cannot find/open file 'NOSUCH1' in directories on Copylib path",
                  "W.cbl:7:17: Warning: Cannot find/open file 'NOSUCH2' in directories on Copylib path",
              }))
        << run.out;
}

// The number of lines of each file, read once.
int LinesOf(const std::string& file, std::map<std::string, int>& cache) {
    auto it = cache.find(file);
    if (it != cache.end()) return it->second;
    std::ifstream in(file, std::ios::binary);
    int lines = 0;
    std::string line;
    while (std::getline(in, line)) ++lines;
    return cache[file] = lines;
}

// Over every program of the corpus with its copybooks: no node that a
// search matching every node reports lies on a line past the end of its
// file.
TEST(VemloPositions, NoCorpusNodeIsReportedPastTheEndOfItsFile) {
    VEMLO_REQUIRE_CORPUS();
    std::map<std::string, int> lines;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        SCOPED_TRACE(folder.name);
        std::vector<std::string> args = vemlo_test::CorpusOptions(folder);
        args.insert(args.end(), {"-q=// every node", "-no-print-src", "-silent"});
        int programs = 0;
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            const std::string name = file.filename().string();
            if (name.size() > 4 && (name.ends_with(".cpy") || name.ends_with(".CPY"))) continue;
            args.push_back(file.string());
            ++programs;
        }
        ASSERT_GT(programs, 0);
        const VemloRun run = RunVemlo(args);
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        std::istringstream out(run.out);
        std::string line;
        int checked = 0;
        while (std::getline(out, line)) {
            // file:line:col: Found
            const std::size_t found = line.rfind(": Found");
            if (found == std::string::npos || line.rfind("(unknown_posn)", 0) == 0) continue;
            const std::size_t col = line.rfind(':', found - 1);
            const std::size_t row = col == std::string::npos ? col : line.rfind(':', col - 1);
            if (row == std::string::npos) continue;
            const std::string file = line.substr(0, row);
            const int at = std::stoi(line.substr(row + 1, col - row - 1));
            ++checked;
            EXPECT_LE(at, LinesOf(file, lines)) << line;
        }
        EXPECT_GT(checked, 0);
    }
}

}  // namespace
