// LinesOfCode of -stat: the lexer counts the lines, of the main file and
// its copybooks together, that hold at least one token it hands out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "lexer/lexer.h"
#include "tree/expr.h"

namespace {

void Ignore(int, const DovTxtPosn&, const VString&) {}

struct Counts {
    int lines = 0;
    int code = 0;
};

Counts Lex(const std::string& dir, const std::string& file) {
    DovLexer lexer(Ignore, nullptr, nullptr, nullptr, nullptr);
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    lexer.copyDirs = VStringArray(2);
    lexer.copyDirs.items[lexer.copyDirs.count++] = dir.c_str();
    lexer.Reset();
    Counts counts;
    if (lexer.SetInput((dir + "/" + file).c_str()) != 0) return counts;
    for (int i = 0; i < 10000; ++i) {
        std::unique_ptr<DovTokenItem> item(lexer.GetToken());
        const int code = item->token->code;
        delete lexer.TakeMarkerNode(code);
        if (code == SEP_EOF) break;
    }
    counts.lines = lexer.linesRead;
    counts.code = lexer.codeLines;
    lexer.CloseInput();
    return counts;
}

}  // namespace

TEST(LinesOfCode, CountsLinesWithTokensInTheFileAndItsCopybooks) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "vemlo_code_lines";
    std::filesystem::create_directories(dir);
    {
        std::ofstream main(dir / "MAIN.cbl");
        main << "       IDENTIFICATION DIVISION.\n"
                "       PROGRAM-ID. MAIN.\n"
                "      * a comment line\n"
                "\n"
                "       DATA DIVISION.\n"
                "       WORKING-STORAGE SECTION.\n"
                "       COPY MEMBER.\n"
                "       01  B PIC X.\n"
                "       PROCEDURE DIVISION.\n"
                "           MOVE \"A\"\n"
                "             TO B. STOP RUN.\n";
        std::ofstream member(dir / "member.cpy");
        member << "      * member\n"
                  "       01  A PIC X.\n"
                  "       01  C PIC X.\n";
    }
    const Counts counts = Lex(dir.string(), "MAIN.cbl");
    EXPECT_EQ(counts.lines, 14);
    // Main file: every line but the comment, the empty line and the COPY
    // line (whose words go to the copy layer); member: its two entries.
    EXPECT_EQ(counts.code, 10);
    std::filesystem::remove_all(dir);
}
