// The program frame and the procedure division frame through Parse: golden
// shapes, the garbage sentence, token conservation.
#include <gtest/gtest.h>

#include <string>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

const char* const kGolden =
    "       IDENTIFICATION DIVISION.\n"
    "       PROGRAM-ID. GOLDEN.\n"
    "       PROCEDURE DIVISION.\n"
    "       S1 SECTION.\n"
    "       P1.\n"
    "           PERFORM P2 THRU P3.\n"
    "           GO TO P3.\n"
    "       S2 SECTION.\n"
    "       P2.\n"
    "           CONTINUE.\n"
    "       P3.\n"
    "           STOP RUN.\n";

TEST(ProgramFrame, GoldenProgram) {
    GrammarRun run;
    ASSERT_EQ(run.ParseText(kGolden), 0) << run.MessageText();
    EXPECT_EQ(Shape(run.Program()->Args(0)), "DIVISION_IDENTIFICATION(DIVISION_IDENTIFICATION_HEADER,"
                                             "PARA_PROGRAM_ID(def:GOLDEN,null))");
    EXPECT_EQ(Shape(run.ProcedureDivision()),
              "DIVISION_PROCEDURE(null,null,null,null,null,null,null,SECTION_PROC_LIST("
              "SECTION_PROC(def:S1,null,PARA_PROC_LIST(PARA_PROC(def:P1,SENTENCE_LIST("
              "SENTENCE(STMT_LIST(STMT_PERFORM_PROC(EX_PROC_RANGE(P2,P3),null))),"
              "SENTENCE(STMT_LIST(STMT_GOTO(EX_LIST(P3)))))))),"
              "SECTION_PROC(def:S2,null,PARA_PROC_LIST(PARA_PROC(def:P2,SENTENCE_LIST("
              "SENTENCE(STMT_LIST(STMT_CONTINUE)))),PARA_PROC(def:P3,SENTENCE_LIST("
              "SENTENCE(STMT_LIST(STMT_STOP(EX_RUN,null,null)))))))))");
    EXPECT_EQ(run.TokenDifference(), "");
}

TEST(ProgramFrame, GarbageSentenceIsReportedOnceAndTheNextParagraphParses) {
    GrammarRun run;
    const int status = run.ParseText(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. G.\n"
        "       PROCEDURE DIVISION.\n"
        "       P1.\n"
        "           RUN RUN STOP.\n"
        "       P2.\n"
        "           STOP RUN.\n");
    EXPECT_EQ(status, 2) << run.MessageText();
    EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
    EXPECT_EQ(run.ShapeOf(STMT__SYNTAX_ERROR).rfind("STMT__SYNTAX_ERROR(", 0), 0u);
    EXPECT_NE(run.ShapeOf(PARA_PROC_LIST).find("PARA_PROC(def:P2,SENTENCE_LIST(SENTENCE(STMT_LIST(STMT_STOP"),
              std::string::npos)
        << run.ShapeOf(PARA_PROC_LIST);
    EXPECT_EQ(run.TokenDifference(), "");
}

}  // namespace

// A program whose last statement has no period, followed by the next
// program's header: the period is supplied before IDENTIFICATION DIVISION
// (and ID DIVISION) as before any other word that closes a statement, and
// the next program keeps its header (ID is an mf word).
TEST(ProgramFrame, ThePeriodBeforeTheNextProgramIsSupplied) {
    for (const char* header : {"IDENTIFICATION DIVISION.", "ID DIVISION."}) {
        SCOPED_TRACE(header);
        GrammarRun run;
        run.parser().primaryDialect = DIAL_MF;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
        run.ParseText(std::string("       IDENTIFICATION DIVISION.\n"
                                  "       PROGRAM-ID. P.\n"
                                  "       PROCEDURE DIVISION.\n"
                                  "           STOP RUN\n"
                                  "       ") +
                      header +
                      "\n"
                      "       PROGRAM-ID. Q.\n"
                      "       PROCEDURE DIVISION.\n"
                      "           STOP RUN.\n");
        EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
        const auto programs = vemlo_grammar_test::FindAll(run.root(), COBOL_PROGRAM);
        ASSERT_EQ(programs.size(), 2u);
        EXPECT_EQ(Shape(programs[1]->Args(0)), "DIVISION_IDENTIFICATION(DIVISION_IDENTIFICATION_HEADER,"
                                               "PARA_PROGRAM_ID(def:Q,null))");
        EXPECT_EQ(run.TokenDifference(), "");
    }
}
