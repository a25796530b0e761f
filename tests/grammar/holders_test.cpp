// The grammar's clause holders: nine objects that live for the whole run,
// idle between parses; the screen phrases hand their nodes to ScreenHolder.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "grammar/cobol_actions.h"
#include "grammar/grammar.h"
#include "tests/grammar/grammar_fixture.h"
#include "tests/support/mutate.h"

namespace {

DovClauseHolder* const kHolders[] = {&ConfigurationHolder, &SpecialNamesHolder, &PhraseHolder, &FileControlHolder,
                                     &FdHolder,            &DataEntryHolder,    &RdHolder,     &ScreenHolder,
                                     &CicsHolder};

TEST(Holders, NineDistinctHoldersIdleAfterAParse) {
    std::set<const DovClauseHolder*> distinct(std::begin(kHolders), std::end(kHolders));
    EXPECT_EQ(distinct.size(), 9u);
    vemlo_grammar_test::GrammarRun run;
    ASSERT_EQ(run.ParseStatements("MOVE A TO B."), 0) << run.MessageText();
    for (const DovClauseHolder* h : kHolders) {
        EXPECT_EQ(h->current, nullptr);
        EXPECT_TRUE(h->gathered.IsEmpty());
    }
}

TEST(Holders, AScreenPhraseGoesToItsClauseOfTheScreenItem) {
    DovExpr* item = new DovExprOper(DECL_SCRD_ENTRY);
    ScreenHolder.Start(item);
    YYSTYPE val = nullptr;
    YYPOSN pos = nullptr;
    int reduce = 1;
    YYSTYPE cells[1] = {nullptr};
    YYPOSN posns[1] = {nullptr};
    DovGrammarReduction r{0, 0, cells, posns, val, pos, reduce, false, -1, 0, &DovCobolGrammar};
    DovScreenClause(r, 22, DovKeywordNode(ACCP_AUTO));
    DovScreenClause(r, 3, DovConstructNode(SCRD_COLUMN_NUMBER, DovKeywordNode(SCRD_PLUS), DovAbsentNode()));
    DovExpr* done = ScreenHolder.Finish();
    ASSERT_EQ(done, item);
    EXPECT_EQ(vemlo_grammar_test::Shape(done->Args(22)), "ACCP_AUTO");
    EXPECT_EQ(vemlo_grammar_test::Shape(done->Args(3)), "SCRD_COLUMN_NUMBER(SCRD_PLUS,null)");
    delete done;
    delete pos;
}

using vemlo_grammar_test::GrammarRun;

// The words of a subtree's tokens, blanks left out, joined by one blank.
std::string Words(const DovExpr* node) {
    std::string out;
    for (const std::string& t : vemlo_grammar_test::TreeTokens(node)) {
        if (t.find_first_not_of(" \n") == std::string::npos) continue;
        out += (out.empty() ? "" : " ") + t;
    }
    return out;
}

// An entry or statement that error recovery throws away while a holder
// collects it: every token the holder keeps for it goes to the error node of
// its own entry or statement, none is lost and none turns up in the next one.
TEST(Holders, ADiscardedEntryLeavesItsTokensInItsErrorNode) {
    struct Case {
        const char* name;
        int dialect;
        const char* division;    // lines before the procedure division
        const char* statements;  // the procedure division's paragraph
        const char* error;       // the words of the first error node
    } cases[] = {
        {"DISPLAY item", DIAL_ANSI85, "", "DISPLAY WS-X UPON 5.\nSTOP RUN.", "DISPLAY WS-X UPON 5 ."},
        {"DISPLAY item, a DISPLAY after it", DIAL_ANSI85, "", "DISPLAY WS-X LINE 3 UPON 5.\nDISPLAY WS-Y.",
         "DISPLAY WS-X LINE 3 UPON 5 ."},
        {"ACCEPT item", DIAL_MF, "", "ACCEPT WS-X FROM 'A'.\nACCEPT WS-Y.", "ACCEPT WS-X FROM 'A' ."},
        {"second item", DIAL_ANSI85, "", "DISPLAY WS-Y WS-X UPON 5.\nDISPLAY WS-Z.", "DISPLAY WS-Y WS-X UPON 5 ."},
        {"SELECT entry", DIAL_ANSI85,
         "ENVIRONMENT DIVISION.\nINPUT-OUTPUT SECTION.\nFILE-CONTROL.\n    SELECT F ASSIGN TO DISK\n"
         "    ORGANIZATION IS 5.\n    SELECT G ASSIGN TO DISK.",
         "STOP RUN.", "SELECT F ASSIGN TO DISK ORGANIZATION IS 5 ."},
        {"ALTERNATE RECORD KEY phrase", DIAL_ANSI85,
         "ENVIRONMENT DIVISION.\nINPUT-OUTPUT SECTION.\nFILE-CONTROL.\n    SELECT F ASSIGN TO DISK\n"
         "    ALTERNATE RECORD KEY IS K WITH 5.\n    SELECT G ASSIGN TO DISK.",
         "STOP RUN.", "SELECT F ASSIGN TO DISK ALTERNATE RECORD KEY IS K WITH 5 ."},
        {"screen entry", DIAL_MF, "DATA DIVISION.\nSCREEN SECTION.\n01 S1 LINE 5 COL (.\n01 S2 BLANK SCREEN.",
         "STOP RUN.", "01 S1 LINE 5 COL ( ."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GrammarRun run;
        run.parser().primaryDialect = c.dialect;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
        run.ParseStatements(c.statements, c.division);
        EXPECT_EQ(run.SyntaxErrors(), 1) << run.MessageText();
        const DovExpr* node = vemlo_grammar_test::FindFirst(run.root(), STMT__SYNTAX_ERROR);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(Words(node), c.error);
        EXPECT_EQ(run.TokenLossOrDuplication(), "");
    }
}

// Random damage to a program whose entries and statements holders collect:
// every tree that comes out holds each delivered token once.
TEST(Holders, DamagedEntriesKeepTheirTokens) {
    const std::string source =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. FUZZ.\n"
        "       ENVIRONMENT DIVISION.\n"
        "       INPUT-OUTPUT SECTION.\n"
        "       FILE-CONTROL.\n"
        "           SELECT F ASSIGN TO DISK ORGANIZATION IS INDEXED\n"
        "               RECORD KEY IS K ALTERNATE RECORD KEY IS A WITH DUPLICATES.\n"
        "       DATA DIVISION.\n"
        "       FILE SECTION.\n"
        "       FD F.\n"
        "       01 R.\n"
        "           05 K PIC X(4).\n"
        "           05 A PIC X(4).\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01 X PIC 9(3) VALUE 1.\n"
        "       SCREEN SECTION.\n"
        "       01 S1 LINE 5 COL 10 VALUE 'A' BLANK SCREEN.\n"
        "       PROCEDURE DIVISION.\n"
        "       P1.\n"
        "           DISPLAY X UPON CONSOLE LINE 3 COL 4 WITH NO ADVANCING.\n"
        "           ACCEPT X FROM DATE LINE 2 PROMPT '_' AUTO.\n"
        "           DISPLAY 'A' X UPON CRT.\n"
        "           STOP RUN.\n";
    const std::string alphabet = " .()=+-'ABX19\n";
    std::mt19937 random(20260413);  // a fixed random start value: the same rounds every run
    int trees = 0;
    for (int round = 0; round < 300; ++round) {
        std::string text = source;
        vemlo_test::MutateText(text, random, alphabet);
        if (text.empty() || text.back() != '\n') text += '\n';
        GrammarRun run;
        run.parser().primaryDialect = DIAL_MF;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
        run.ParseText(text);
        if (!run.root()) continue;
        ++trees;
        EXPECT_EQ(run.TokenLossOrDuplication(), "") << text;
    }
    EXPECT_GT(trees, 0);
}

}  // namespace
