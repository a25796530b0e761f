#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"

namespace {

using vemlo_test::LexerTest;
using vemlo_test::ReadLine;

DovDials Dials(std::initializer_list<int> dialects) {
    DovDials d = DovNoDials();
    for (int n : dialects) DovDialsAdd(d, n);
    return d;
}

// The text from column 8 of every line the line reader passes on as
// ordinary text.
std::vector<std::string> Active(const std::vector<ReadLine>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines)
        if (l.code == 0) out.push_back(l.text.size() > 7 ? l.text.substr(7) : "");
    return out;
}

std::string Msg(int severity, int line, const std::string& text) {
    return std::to_string(severity) + "@" + std::to_string(line) + ":" + text;
}

TEST_F(LexerTest, ConditionalCompilationUnderMf) {
    lexer.dials = Dials({DIAL_MF});
    const char* source =
        "      $IF X = \"A\"\n"              // 1 undefined: false
        "       SKIPPED-1.\n"
        "      $ELSE\n"
        "       ACTIVE-1.\n"                 // 4
        "      $END\n"
        "      $IF 10 > 9\n"                 // 6 true
        "       ACTIVE-2.\n"
        "      $ELSE\n"
        "       SKIPPED-2.\n"
        "      $ELSE\n"                      // 10 second $ELSE
        "       SKIPPED-3.\n"
        "      $END\n"
        "      $IF 1 LIKE 2\n"               // 13 bad operator: no level
        "       ACTIVE-3.\n"
        "      $IF 'A' < 3\n"                // 15 cannot be evaluated: false level
        "       SKIPPED-4.\n"
        "          $IF 1 = 1\n"              // 17 inside a skipped part
        "       SKIPPED-5.\n"
        "          $ELSE\n"
        "       SKIPPED-6.\n"
        "          $END\n"
        "       SKIPPED-7.\n"
        "      $END\n"
        "       ACTIVE-4.\n"                 // 24
        "      $IF X NOT DEFINED\n"
        "       ACTIVE-5.\n"
        "      $END\n"
        "      $IF 9 NOT > 10\n"
        "       ACTIVE-6.\n"
        "      $END\n"
        "      $IF 'AB' NOT = \"AB\"\n"
        "       SKIPPED-8.\n"
        "      $END\n"
        "      $END\n"                       // 34 no $IF
        "      $ELSE\n"                      // 35 no $IF
        "       $DISPLAY hello  world\n"     // 36 moved to the indicator
        "       ACTIVE-7.\n";
    auto lines = ReadAll(source);
    EXPECT_EQ(Active(lines), (std::vector<std::string>{"ACTIVE-1.", "ACTIVE-2.", "ACTIVE-3.", "ACTIVE-4.",
                                                         "ACTIVE-5.", "ACTIVE-6.", "ACTIVE-7."}));
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{
                  Msg(MSG_WARN, 1, "Undefined constant 'X' in $IF condition. Assumed to be null-string."),
                  Msg(MSG_ERR, 10, "$IF at this level already has $ELSE. Ignored."),
                  Msg(MSG_ERR, 13, "Bad operation in $IF"),
                  Msg(MSG_ERR, 15, "Bad argument types in $IF."),
                  Msg(MSG_ERR, 15, "Condition could not be evaluated. Condition assumed False."),
                  Msg(MSG_ERR, 34, "No corresponding $IF for this $END. Ignored."),
                  Msg(MSG_ERR, 35, "No corresponding $IF for this $ELSE. Ignored."),
                  Msg(MSG_INFO, 36, "$DISPLAY: hello  world"),
              }));
    // Every directive line is a comment, the '$' moved to the indicator.
    EXPECT_EQ(lines[35].code, CM_COMMENT);
    EXPECT_EQ(lines[35].text, "      $DISPLAY hello  world ");
    EXPECT_EQ(lexer.ifDepth, 0);
}

TEST_F(LexerTest, EleventhNestedIfIsRefused) {
    lexer.dials = Dials({DIAL_MS});
    std::string source;
    for (int i = 0; i < 11; ++i) source += "      $IF 1 = 1\n";
    source += "       INNER.\n";
    for (int i = 0; i < 11; ++i) source += "      $END\n";
    source += "       AFTER.\n";
    auto lines = ReadAll(source);
    EXPECT_EQ(Active(lines), (std::vector<std::string>{"INNER.", "AFTER."}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  Msg(MSG_SEVERE, 11, "Embedded $IF: nesting too deep"),
                                  Msg(MSG_ERR, 23, "No corresponding $IF for this $END. Ignored."),
                              }));
}

TEST_F(LexerTest, IncompleteIfLines) {
    lexer.dials = Dials({DIAL_MF});
    auto lines = ReadAll("      $IF\n      $IF X\n      $IF 1 =\n       A.\n      $END\n       B.\n");
    EXPECT_EQ(Active(lines), (std::vector<std::string>{"B."}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  Msg(MSG_ERR, 1, "Non-space token expected here"),
                                  Msg(MSG_ERR, 2, "Non-space token expected here"),
                                  Msg(MSG_ERR, 3, "Non-space token expected here"),
                                  Msg(MSG_ERR, 3, "Condition could not be evaluated. Condition assumed False."),
                              }));
}

TEST_F(LexerTest, DollarLinesNeedMfOrMs) {
    lexer.dials = Dials({DIAL_ANSI85});
    auto lines = ReadAll("      $IF X = 1\n       A.\n");
    EXPECT_EQ(Active(lines), (std::vector<std::string>{"IF X = 1", "A."}));  // no directive here
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LexerTest, DollarLinesInFreeFormat) {
    lexer.dials = Dials({DIAL_MF});
    lexer.lineFormat = LINE_FORMAT_FREE;
    auto lines = ReadAll("  $IF 2 < 1\nSKIPPED.\n$ELSE\nACTIVE.\n$END\n");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "$IF 2 < 1  ");
    EXPECT_EQ(lines[1].code, CM_COMMENT);
    EXPECT_EQ(lines[3].code, 0);
}

TEST_F(LexerTest, DirectiveWordsAndOperands) {
    ASSERT_TRUE(Open("       x-y 'it''s' \"a b\"c  0042 99999999999999999999 'open\n"));
    ASSERT_EQ(lexer.GetLine(), 0);
    int index = 0;
    VString word, text, name;
    ASSERT_EQ(lexer.GetDirectiveWord(word, index), 0);
    EXPECT_TRUE(word == "X-Y");
    int defined, isNumber;
    long long number;
    ASSERT_EQ(lexer.GetDirectiveOperand(text, name, defined, isNumber, number, index), 0);
    EXPECT_TRUE(text == "it's");
    EXPECT_EQ(defined, 1);
    EXPECT_EQ(isNumber, 0);
    // A blank inside quotes does not end the word, and the quoted part keeps
    // its case.
    ASSERT_EQ(lexer.GetDirectiveWord(word, index), 0);
    EXPECT_TRUE(word == "\"a b\"C");
    ASSERT_EQ(lexer.GetDirectiveOperand(text, name, defined, isNumber, number, index), 0);
    EXPECT_EQ(isNumber, 1);
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(text == "0042");
    ASSERT_EQ(lexer.GetDirectiveOperand(text, name, defined, isNumber, number, index), 0);
    EXPECT_EQ(isNumber, 0);  // too long for a number
    EXPECT_EQ(defined, 1);
    EXPECT_EQ(lexer.GetDirectiveOperand(text, name, defined, isNumber, number, index), 2);
    EXPECT_EQ(lexer.GetDirectiveWord(word, index), 2);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  Msg(MSG_ERR, 1, "Non-numeric literal 'open has no ending delimiter"),
                                  Msg(MSG_ERR, 1, "Non-space token expected here"),
                              }));
}

TEST_F(LexerTest, CommentEntryParagraphs) {
    const char* source =
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. P.\n"
        "       AUTHOR. JOHN\n"
        "           SMITH.\n"
        "       DATE-WRITTEN. TODAY.\n"
        "       SOMETHING IN AREA A.\n"
        "            AUTHOR. AGAIN.\n"
        "           MORE.\n"
        "       ENVIRONMENT DIVISION.\n";
    auto ansi = ReadAll(source);
    EXPECT_EQ(Active(ansi), (std::vector<std::string>{"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.",
                                                       "SOMETHING IN AREA A.", "ENVIRONMENT DIVISION."}));
    EXPECT_EQ(ansi[2].text, "      *AUTHOR. JOHN");
    EXPECT_EQ(ansi[3].text, "      *    SMITH.");
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{Msg(MSG_WARN, 7,
                                            "Identification division section header 'AUTHOR.' appears at position 12")}));

    // Under OS/VS only the next division or PROGRAM-ID ends the paragraph.
    Messages().clear();
    lexer.dials = Dials({DIAL_OSVS});
    auto osvs = ReadAll(source);
    EXPECT_EQ(Active(osvs),
              (std::vector<std::string>{"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "ENVIRONMENT DIVISION."}));
    EXPECT_EQ(osvs[5].text, "      *SOMETHING IN AREA A.");

    // Free format: the line moves right to make room for the '*'.
    lexer.dials = Dials({DIAL_ANSI85});
    lexer.lineFormat = LINE_FORMAT_FREE;
    auto free = ReadAll("AUTHOR. ME.\n            STILL ME.\nDATA DIVISION.\n");
    ASSERT_EQ(free.size(), 3u);
    EXPECT_EQ(free[0].text, "*AUTHOR. ME.");
    EXPECT_EQ(free[1].text, "*            STILL ME.");
    EXPECT_EQ(free[2].code, 0);
}

TEST_F(LexerTest, ListingAndOptionsLines) {
    const char* source =
        "       PROCESS APOST\n"
        "       CBL LIB\n"
        "       *CONTROL NOSOURCE\n"
        "       IDENTIFICATION DIVISION.\n"
        "       PROCESS X\n"
        "       *CBL SOURCE\n"
        "       EJECT\n"
        "       SKIP2\n"
        "       TITLE 'X'\n"
        "       EJECT.\n"
        "           SKIP1.\n";
    struct {
        std::initializer_list<int> dialects;
        std::vector<std::string> active;
    } cases[] = {
        {{DIAL_OSVS}, {"IDENTIFICATION DIVISION.", "PROCESS X", "TITLE 'X'"}},
        {{DIAL_VSII}, {"IDENTIFICATION DIVISION.", "PROCESS X"}},
        {{DIAL_MF},
         {"PROCESS APOST", "CBL LIB", "*CONTROL NOSOURCE", "IDENTIFICATION DIVISION.", "PROCESS X",
          "*CBL SOURCE"}},
        {{DIAL_ANSI85},
         {"PROCESS APOST", "CBL LIB", "*CONTROL NOSOURCE", "IDENTIFICATION DIVISION.", "PROCESS X", "*CBL SOURCE",
          "EJECT", "SKIP2", "TITLE 'X'", "EJECT.", "    SKIP1."}},
    };
    for (const auto& c : cases) {
        lexer.dials = Dials(c.dialects);
        EXPECT_EQ(Active(ReadAll(source)), c.active);
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LexerTest, ProgramIdComments) {
    lexer.progidComments = 1;
    auto lines = ReadAll("       PROGRAM-ID. PROG-1 IS INITIAL PROGRAM.\n       PROGRAM-ID.   P2.\n");
    EXPECT_EQ(Active(lines), (std::vector<std::string>{"PROGRAM-ID. PROG-1.", "PROGRAM-ID.   P2."}));
}

}  // namespace
