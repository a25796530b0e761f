// A synthetic COBOL program of a chosen size for the benchmarks: fixed
// format, ANSI-85, working-storage groups of data items, paragraphs of
// MOVE / ADD / IF / PERFORM statements over those items, and a few
// copybooks (COPY members of data items, one of them with REPLACING).
// The cost per line of lexing (or parsing) the program of 100,000 lines
// against the one of 10,000 lines shows whether the cost grows linearly.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace vemlo_bench {

// A folder of this process's own under the temporary directory, removed
// when the object goes: benchmarks run side by side never read each other's
// half-written programs.
class BenchTempDir {
public:
    explicit BenchTempDir(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {}
    BenchTempDir(const BenchTempDir&) = delete;
    BenchTempDir& operator=(const BenchTempDir&) = delete;
    ~BenchTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }

    const std::filesystem::path path;
};

struct SyntheticProgram {
    std::string file;     // the main program
    std::string copyDir;  // folder of its copybooks (suffix ".cpy")
    long long lines = 0;  // lines of the main program (members not counted)
};

namespace synthetic_detail {

inline std::string Num(long long n, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, n);
    return buf;
}

// One fixed-format line: `text` is written as a whole line whose first six
// columns are blank; the sequence number takes their place, so the
// indicator is text[6] and areas A and B begin at text[7].
inline void Line(std::ofstream& out, long long& count, const std::string& text) {
    out << Num((count + 1) % 1000000, 6) << (text.size() > 6 ? text.substr(6) : std::string()) << '\n';
    ++count;
}

inline void Copybook(const std::filesystem::path& path, const std::string& prefix) {
    std::ofstream out(path);
    long long n = 0;
    Line(out, n, "       01  " + prefix + "-REC.");
    for (int i = 1; i <= 8; ++i) {
        Line(out, n, "           05  " + prefix + "-F" + std::to_string(i) + "  PIC X(10).");
        Line(out, n, "           05  " + prefix + "-N" + std::to_string(i) + "  PIC S9(7)V99 PACKED-DECIMAL.");
    }
}

}  // namespace synthetic_detail

// Writes the program of about `lines` lines (at least a skeleton) and its
// copybooks into `dir`; the same folder and size always give the same text.
inline SyntheticProgram WriteSyntheticProgram(const std::filesystem::path& dir, long long lines) {
    using synthetic_detail::Line;
    using synthetic_detail::Num;
    std::filesystem::create_directories(dir);
    synthetic_detail::Copybook(dir / "CUSTREC.cpy", "CUST");
    synthetic_detail::Copybook(dir / "ORDREC.cpy", "ORDR");
    synthetic_detail::Copybook(dir / "GENREC.cpy", ":PFX:");

    SyntheticProgram program;
    program.copyDir = dir.string();
    program.file = (dir / ("SYN" + std::to_string(lines) + ".cbl")).string();
    std::ofstream out(program.file);
    long long& n = program.lines;

    // About a third of the lines are data items, the rest paragraphs.
    const long long groups = std::max(1LL, lines / 3 / 12);
    const long long paragraphs = std::max(1LL, (lines - groups * 12 - 40) / 10);

    Line(out, n, "       IDENTIFICATION DIVISION.");
    Line(out, n, "       PROGRAM-ID. SYNTH.");
    Line(out, n, "      * A generated program for the benchmarks.");
    Line(out, n, "       ENVIRONMENT DIVISION.");
    Line(out, n, "       DATA DIVISION.");
    Line(out, n, "       WORKING-STORAGE SECTION.");
    Line(out, n, "       COPY CUSTREC.");
    Line(out, n, "       COPY ORDREC.");
    Line(out, n, "       COPY GENREC REPLACING ==:PFX:== BY ==GEN==.");
    for (long long g = 0; g < groups; ++g) {
        const std::string id = Num(g, 6);
        Line(out, n, "       01  WS-GROUP-" + id + ".");
        Line(out, n, "           05  WS-NAME-" + id + "      PIC X(30) VALUE SPACES.");
        Line(out, n, "           05  WS-COUNT-" + id + "     PIC 9(5) COMP VALUE ZERO.");
        Line(out, n, "           05  WS-AMOUNT-" + id + "    PIC S9(9)V99 PACKED-DECIMAL VALUE 0.");
        Line(out, n, "           05  WS-FLAG-" + id + "      PIC X VALUE 'N'.");
        Line(out, n, "               88  WS-DONE-" + id + "  VALUE 'Y'.");
        Line(out, n, "           05  WS-TABLE-" + id + " OCCURS 10 TIMES");
        Line(out, n, "                   INDEXED BY WS-IX-" + id + ".");
        Line(out, n, "               10  WS-ENTRY-" + id + "  PIC X(8).");
        Line(out, n, "               10  WS-RATE-" + id + "   PIC 9V9(4) VALUE 1.0500.");
        Line(out, n, "           05  WS-TEXT-" + id + "      PIC X(40)");
        Line(out, n, "                   VALUE \"GENERATED TEXT OF THE GROUP\".");
    }
    Line(out, n, "       PROCEDURE DIVISION.");
    Line(out, n, "       MAIN-PARA.");
    Line(out, n, "           PERFORM PARA-" + Num(0, 6) + " THRU PARA-" + Num(paragraphs - 1, 6) + ".");
    Line(out, n, "           STOP RUN.");
    for (long long p = 0; p < paragraphs; ++p) {
        const std::string g = Num(p % groups, 6);
        Line(out, n, "       PARA-" + Num(p, 6) + ".");
        Line(out, n, "           MOVE CUST-F1 TO WS-NAME-" + g + ".");
        Line(out, n, "           ADD 1 TO WS-COUNT-" + g + " GIVING WS-COUNT-" + g + ".");
        Line(out, n, "           COMPUTE WS-AMOUNT-" + g + " = WS-AMOUNT-" + g + " * 1.05");
        Line(out, n, "                   + ORDR-N2 - GEN-N3.");
        Line(out, n, "           IF WS-COUNT-" + g + " > 100 AND NOT WS-DONE-" + g);
        Line(out, n, "              MOVE 'Y' TO WS-FLAG-" + g);
        Line(out, n, "           ELSE");
        Line(out, n, "              DISPLAY 'PARAGRAPH " + Num(p, 6) + "' WS-NAME-" + g);
        Line(out, n, "           END-IF.");
    }
    return program;
}

}  // namespace vemlo_bench
