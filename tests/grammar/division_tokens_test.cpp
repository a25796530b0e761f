// Token conservation over the golden programs of the identification,
// environment and data division rules: every token the adapter delivered is
// in the tree once (and, but for clauses kept in slot order, in source
// order), for each edge case those rules have (null parts, the
// SPECIAL-NAMES and SELECT forms, FD and RD entries, report groups in both
// forms, the screen section, and the two programs that hold a syntax error).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;

struct Program {
    const char* name;
    int dialect;                     // the primary dialect
    std::vector<const char*> lines;  // from column 8, before the procedure division
    int syntaxErrors;
    // Whether the tree holds the tokens in source order too: the clauses of
    // a CD entry and the attributes of a screen entry sit in slot order
    // (a repeated one's tokens go with the next clause).
    bool ordered = true;
};

std::string Source(const Program& p) {
    std::string text = "       IDENTIFICATION DIVISION.\n";
    for (const char* line : p.lines) text += std::string("       ") + line + "\n";
    return text + "       PROCEDURE DIVISION.\n           STOP RUN.\n";
}

const Program kPrograms[] = {
    {"absent parts", DIAL_ANSI85, {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL."}, 0},
    {"common initial", DIAL_ANSI85, {"PROGRAM-ID. P IS INITIAL COMMON PROGRAM."}, 0},
    {"switches", DIAL_MF,
     {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    SWITCH 9 IS S9",
      "    SWITCH 3 IS S3 ON STATUS IS S3-ON", "    CONSOLE IS CRT", "    CURRENCY SIGN IS \"E\"",
      "    DECIMAL-POINT IS COMMA."},
     0},
    {"select forms", DIAL_MF,
     {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.", "    SELECT F1 ASSIGN TO DISK",
      "        FILE STATUS IS FS1.", "    SELECT F2 ASSIGN DISK FROM \"f2.dat\".",
      "    SELECT OPTIONAL F3 ASSIGN TO \"f3\" ORGANIZATION IS INDEXED",
      "        ACCESS MODE IS DYNAMIC RECORD KEY IS K3", "        ALTERNATE RECORD KEY IS K4 WITH DUPLICATES.",
      "I-O-CONTROL.", "    SAME RECORD AREA FOR F1 F2."},
     0},
    {"source computer alone", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.",
      "SOURCE-COMPUTER. X-86 WITH DEBUGGING MODE.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC 9."},
     0},
    {"data division header alone", DIAL_ANSI85, {"PROGRAM-ID. P.", "DATA DIVISION."}, 0},
    {"entries and clauses", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 R.",
      "   05 A PIC S9(4) USAGE IS COMP SIGN IS LEADING SEPARATE.", "   05 PIC X(3) VALUE \"ABC\".",
      "   05 B REDEFINES A PIC X(4) JUST RIGHT.", "   05 T OCCURS 1 TO 5 TIMES DEPENDING ON N",
      "        ASCENDING KEY IS K INDEXED BY I1 I2.", "      10 K PIC 9.", "         88 K-ON VALUE 1 THRU 3.",
      "   66 RA RENAMES A THRU B.", "01 N PIC 9 VALUE ZERO."},
     0},
    {"usages by dialect", DIAL_ACU,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC 9 COMP.", "01 B COMPUTATIONAL-1.",
      "01 C COMP-2."},
     0},
    {"value expression", DIAL_MF,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "78 K VALUE 1 + 2 * 3.", "78 L VALUE K - 1."},
     0},
    {"linage counter", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.", "    SELECT F ASSIGN TO \"f\".", "DATA DIVISION.",
      "FILE SECTION.", "FD F", "    LABEL RECORDS ARE STANDARD", "    RECORD CONTAINS 80 CHARACTERS",
      "    BLOCK CONTAINS 2 RECORDS", "    LINAGE IS 60 LINES WITH FOOTING AT 55",
      "        LINES AT TOP 2 LINES AT BOTTOM 4", "    DATA RECORD IS R.", "01 R PIC X(80)."},
     0},
    {"recording mode", DIAL_VSII,
     {"PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.", "    SELECT F ASSIGN TO \"f\".", "DATA DIVISION.",
      "FILE SECTION.", "FD F RECORDING MODE IS F.", "01 R.", "   05 V PIC X.", "   05 S PIC X."},
     0},
    {"report groups", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "REPORT SECTION.", "RD REP CONTROLS ARE FINAL",
      "   PAGE LIMIT IS 60 LINES HEADING 1 FIRST DETAIL 5.", "01 TYPE IS RH.", "01 TYPE PAGE HEADING.",
      "01 TYPE DE LINE PLUS 1.", "   05 COLUMN 3 PIC X(4) VALUE \"W\".", "01 TYPE PF.", "01 TYPE REPORT FOOTING.",
      "01 TYPE CONTROL HEADING FINAL NEXT GROUP NEXT PAGE."},
     0},
    {"communication", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "COMMUNICATION SECTION.",
      "CD C1 FOR OUTPUT DESTINATION COUNT IS DC TEXT LENGTH IS TL",
      "    DESTINATION TABLE OCCURS 2 TIMES SYMBOLIC DESTINATION IS SDN.", "01 M PIC X(10)."},
     0,
     false},
    {"empty screen section", DIAL_MF, {"PROGRAM-ID. P.", "DATA DIVISION.", "SCREEN SECTION."}, 0},
    {"screen attributes", DIAL_ACU,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "SCREEN SECTION.", "01 S1 BOLD.", "01 S3 DIM.",
      "01 S5 HIGHLIGHT LOWLIGHT BLINK."},
     0,
     false},
    {"syntax error inside an entry", DIAL_ANSI85,
     {"PROGRAM-ID. P.", "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC X \"JUNK\" 7.", "01 B PIC X."},
     1},
};

TEST(DivisionTokens, GoldenProgramsKeepTheirTokens) {
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        GrammarRun run;
        run.parser().primaryDialect = p.dialect;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
        run.ParseText(Source(p));
        EXPECT_EQ(run.SyntaxErrors(), p.syntaxErrors) << run.MessageText();
        EXPECT_EQ(run.TokenLossOrDuplication(), "");
        if (p.ordered) {
            EXPECT_EQ(run.TokenDifference(), "");
        }
    }
}

}  // namespace

namespace {

// What recovery skips inside an entry after its error clause is reduced
// stays in that clause, before the entry's period; the next entry parses.
TEST(DivisionTokens, SkippedTokensStayInTheEntrysErrorClause) {
    GrammarRun run;
    run.ParseText(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. P.\n"
        "       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01 A PIC X \"JUNK\" 7.\n"
        "       01 B PIC X.\n"
        "       PROCEDURE DIVISION.\n"
        "           STOP RUN.\n");
    EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
    const std::vector<DovExpr*> errors = vemlo_grammar_test::FindAll(run.root(), STMT__SYNTAX_ERROR);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(vemlo_grammar_test::Shape(errors[0]), "STMT__SYNTAX_ERROR(EX_EXEC_TOKEN_LIST( ,\"JUNK\", ,7))");
    DovExpr* ws = vemlo_grammar_test::FindFirst(run.root(), SECTION_WORKING_STORAGE);
    ASSERT_NE(ws, nullptr);
    EXPECT_EQ(vemlo_grammar_test::FindAll(ws, DECL_DD_ENTRY).size(), 2u);
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace
