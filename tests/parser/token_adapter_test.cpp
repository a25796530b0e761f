// The token adapter: keyword pairs, recoding by the next token and by
// dialect, Area A checks, missing periods, values and positions, COPY
// markers with and without irreversible inlining, and the modes that follow
// from the tokens themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/mutate.h"
#include "tests/parser/token_fixture.h"

namespace {

using vemlo_test::Codes;
using vemlo_test::FindCode;
using vemlo_test::FindImage;
using vemlo_test::Lexeme;
using vemlo_test::TokenAdapterRun;

// A procedure division holding `statements` (fixed format, Area B).
std::string Program(const std::string& statements) {
    return "       IDENTIFICATION DIVISION.\n"
           "       PROGRAM-ID. P.\n"
           "       PROCEDURE DIVISION.\n"
           "           " + statements + "\n";
}

bool Contains(const std::vector<int>& codes, const std::vector<int>& run) {
    return std::search(codes.begin(), codes.end(), run.begin(), run.end()) != codes.end();
}

struct CodeCase {
    const char* name;
    const char* statements;
    std::vector<int> expected;  // a run of consecutive codes
};

TEST(TokenAdapter, MergingAndRecodingTable) {
    const CodeCase cases[] = {
        {"greater-equal with a blank", "IF A >  = B STOP RUN.", {RW_IF, TK_USER_DEFD_WORD, OP_GE, TK_USER_DEFD_WORD}},
        {"less-equal", "IF A < = B STOP RUN.", {TK_USER_DEFD_WORD, OP_LE, TK_USER_DEFD_WORD}},
        {"not-equal", "IF A < > B STOP RUN.", {TK_USER_DEFD_WORD, OP_NE, TK_USER_DEFD_WORD}},
        {"power", "COMPUTE A = B * * 2.", {TK_USER_DEFD_WORD, OP_EXP, TK_INT_NUM_LIT}},
        {"less alone", "IF A < B STOP RUN.", {TK_USER_DEFD_WORD, OP_LT, TK_USER_DEFD_WORD}},
        {"exit perform", "PERFORM UNTIL A EXIT PERFORM END-PERFORM.", {RW_EXIT_PERFORM, RW_END_PERFORM}},
        {"next sentence", "IF A NEXT SENTENCE.", {RW_NEXT_SENTENCE, SEP_DOT}},
        {"on size", "ADD 1 TO A ON SIZE ERROR STOP RUN.", {CMB_ON_BEF_KWD, RW_SIZE, RW_ERROR}},
        {"on overflow", "CALL 'X' ON OVERFLOW STOP RUN.", {CMB_ON_BEF_KWD, RW_OVERFLOW}},
        {"on with a data name", "SORT F ON KEY1 ASCENDING.", {TK_USER_DEFD_WORD, RW_ON, TK_USER_DEFD_WORD}},
        {"not at", "READ F NOT AT END STOP RUN.", {CMB_NOT_ON_AT, RW_AT, RW_END}},
        {"not invalid", "READ F NOT INVALID KEY STOP RUN.", {CMB_NOT_ON_AT, RW_INVALID}},
        {"not on size", "ADD 1 TO A NOT ON SIZE ERROR STOP RUN.", {CMB_NOT_ON_AT, CMB_ON_BEF_KWD, RW_SIZE}},
        {"not with a data name", "IF NOT A STOP RUN.", {RW_IF, RW_NOT, TK_USER_DEFD_WORD}},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TokenAdapterRun run;
        const auto codes = Codes(run.Run(Program(c.statements)));
        EXPECT_TRUE(Contains(codes, c.expected));
    }
}

TEST(TokenAdapter, MergedPairsOfTheDivisionHeaders) {
    TokenAdapterRun run;
    const auto lexemes = run.Run(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. P.\n"
        "       ENVIRONMENT DIVISION.\n"
        "       INPUT-OUTPUT SECTION.\n"
        "       DATA DIVISION.\n"
        "       FILE SECTION.\n"
        "       PROCEDURE DIVISION.\n"
        "           STOP RUN.\n"
        "       END PROGRAM P.\n");
    const auto codes = Codes(lexemes);
    for (int merged : {RW_ID_DIVISION, RW_ENVIRONMENT_DIVISION, RW_INPUT_OUTPUT_SECTION, RW_DATA_DIVISION,
                       RW_FILE_SECTION, RW_END_PROGRAM})
        EXPECT_NE(std::find(codes.begin(), codes.end(), merged), codes.end()) << merged;
    EXPECT_EQ(std::count(codes.begin(), codes.end(), RW_DIVISION), 1);  // PROCEDURE DIVISION stays a pair
    // The merged token spans both words.
    const Lexeme* id = FindCode(lexemes, RW_ID_DIVISION);
    ASSERT_NE(id, nullptr);
    ASSERT_FALSE(id->posn.empty());
    EXPECT_EQ(id->posn.back().beg.Column(), 7);
    EXPECT_EQ(id->posn.back().end.Column(), 23 + 7);  // one past DIVISION
}

TEST(TokenAdapter, TheBlankOfASplitOperatorStaysInThePosition) {
    TokenAdapterRun run;
    const auto lexemes = run.Run(Program("IF A >  = B STOP RUN."));
    const Lexeme* ge = FindCode(lexemes, OP_GE);
    ASSERT_NE(ge, nullptr);
    // The blank before '>' and the one between '>' and '=' come first.
    const auto codes = ge->PosnCodes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.back(), OP_GE);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), SEP_SPACE), 2);
    EXPECT_EQ(ge->posn.back().end.Column(), ge->posn.back().beg.Column() + 4);  // '>', two blanks, '='
}

TEST(TokenAdapter, MissingPeriodsBeforeEndProgramAndTheEndOfInput) {
    {
        TokenAdapterRun run;
        const auto lexemes = run.Run(Program("STOP RUN") + "       END PROGRAM P.\n");
        const auto codes = Codes(lexemes);
        ASSERT_TRUE(Contains(codes, {RW_RUN, SEP_DOT, RW_END_PROGRAM, TK_USER_DEFD_WORD, SEP_DOT}));
        const Lexeme* period = nullptr;
        for (std::size_t i = 0; i + 1 < lexemes.size(); ++i)
            if (lexemes[i + 1].code == RW_END_PROGRAM) period = &lexemes[i];
        ASSERT_NE(period, nullptr);
        ASSERT_FALSE(period->posn.empty());
        // The supplied period stands at the begin of END PROGRAM, empty.
        const Lexeme* end = FindCode(lexemes, RW_END_PROGRAM);
        EXPECT_EQ(period->posn.back().image, "");
        EXPECT_EQ(DovTxtPosnCompare(period->posn.back().beg, end->posn.back().beg), 0);
        EXPECT_EQ(DovTxtPosnCompare(period->posn.back().end, end->posn.back().beg), 0);
    }
    {
        TokenAdapterRun run;
        const auto lexemes = run.Run(Program("STOP RUN"));
        ASSERT_GE(lexemes.size(), 3u);
        EXPECT_EQ(lexemes[lexemes.size() - 3].code, RW_RUN);
        EXPECT_EQ(lexemes[lexemes.size() - 2].code, SEP_DOT);
        EXPECT_EQ(lexemes.back().code, 0);
    }
    // IDENTIFICATION DIVISION and ID DIVISION (an mf word) arrive merged and
    // close the statement as their first words do.
    for (const char* header : {"IDENTIFICATION DIVISION.", "ID DIVISION."}) {
        SCOPED_TRACE(header);
        TokenAdapterRun run;
        run.Dialect(DIAL_MF);
        const auto codes = Codes(run.Run(Program("STOP RUN") + "       " + header + "\n"));
        EXPECT_TRUE(Contains(codes, {RW_RUN, SEP_DOT, RW_ID_DIVISION, SEP_DOT}));
    }
    {
        // With the period present nothing is added.
        TokenAdapterRun run;
        const auto codes = Codes(run.Run(Program("STOP RUN.") + "       END PROGRAM P.\n"));
        EXPECT_TRUE(Contains(codes, {RW_RUN, SEP_DOT, RW_END_PROGRAM}));
        EXPECT_EQ(std::count(codes.begin(), codes.end(), SEP_DOT), 6);
    }
}

// The parser's procedure-division flag, set as the grammar sets it after
// the division header.
void ProcedureFlagAfterHeader(const Lexeme& lexeme) {
    static bool sawProcedure = false;
    if (lexeme.code == RW_PROCEDURE) sawProcedure = true;
    if (sawProcedure && lexeme.code == SEP_DOT) {
        WorkingParser->procDivision = 1;
        sawProcedure = false;
    }
}

TEST(TokenAdapter, AreaANamesInFixedFormatUnderAnsi85Only) {
    const std::string source = "       IDENTIFICATION DIVISION.\n"
                               "       PROGRAM-ID. P.\n"
                               "       PROCEDURE DIVISION.\n"
                               "       MAIN-PARA.\n"
                               "           PERFORM SUB-PARA.\n"
                               "       100.\n"
                               "           STOP RUN.\n";
    struct Case {
        int dialect;
        int nameCode;
    };
    for (const Case& c : {Case{DIAL_ANSI85, TK_AREA_A_NAME}, Case{DIAL_MF, TK_USER_DEFD_WORD}}) {
        SCOPED_TRACE(c.dialect);
        TokenAdapterRun run;
        run.Dialect(c.dialect);
        const auto lexemes = run.Run(source, ProcedureFlagAfterHeader);
        const Lexeme* main = FindImage(lexemes, "MAIN-PARA");
        const Lexeme* sub = FindImage(lexemes, "SUB-PARA");
        const Lexeme* number = FindImage(lexemes, "100");
        ASSERT_TRUE(main && sub && number);
        EXPECT_EQ(main->code, c.nameCode);
        EXPECT_EQ(number->code, c.nameCode == TK_AREA_A_NAME ? TK_AREA_A_NAME : TK_INT_NUM_LIT);
        EXPECT_EQ(sub->code, TK_USER_DEFD_WORD);  // in Area B
        EXPECT_EQ(main->valueOper, "SYMBOL_TABLE_ELT");
    }
}

TEST(TokenAdapter, AHeaderInAreaBIsWarnedAbout) {
    TokenAdapterRun run;
    run.Run("       IDENTIFICATION DIVISION.\n"
            "       PROGRAM-ID. P.\n"
            "       DATA DIVISION.\n"
            "           WORKING-STORAGE SECTION.\n"
            "       LINKAGE SECTION.\n"
            "       PROCEDURE DIVISION.\n"
            "           STOP RUN.\n");
    const auto texts = run.MessageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("This token should appear in Area A, not in Area B: ", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find("WORKING-STORAGE"), std::string::npos) << texts[0];
    ASSERT_NE(run.messages.First(), nullptr);
    EXPECT_EQ(run.messages.First()->code, MSG_WARN);
    EXPECT_EQ(run.messages.First()->Beg().Line(), 4u);
    EXPECT_EQ(run.status, 1);
}

TEST(TokenAdapter, ValuesByCode) {
    TokenAdapterRun run;
    const auto lexemes = run.Run(Program("MOVE 42 TO A. MOVE 1.5 TO B. MOVE 'X''Y' TO C."));
    const Lexeme* integer = FindCode(lexemes, TK_INT_NUM_LIT);
    ASSERT_NE(integer, nullptr);
    EXPECT_EQ(integer->valueOper, "INT_NUM_CONST");
    EXPECT_EQ(integer->intValue, 42);
    const Lexeme* real = FindCode(lexemes, TK_REAL_NUM_LIT);
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->valueOper, "REAL_NUM_CONST");
    EXPECT_EQ(real->valueImage, "1.5");
    const Lexeme* literal = FindCode(lexemes, TK_NONNUM_LIT);
    ASSERT_NE(literal, nullptr);
    EXPECT_EQ(literal->valueOper, "STR_CONST");
    const Lexeme* word = FindImage(lexemes, "A");
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->valueOper, "SYMBOL_TABLE_ELT");
    const Lexeme* keyword = FindCode(lexemes, RW_MOVE);
    ASSERT_NE(keyword, nullptr);
    EXPECT_EQ(keyword->valueOper, "");
    // The current position is the begin of the token delivered.
    EXPECT_EQ(DovTxtPosnCompare(keyword->at, keyword->posn.back().beg), 0);
}

// A literal beyond 64 bits is reported and keeps the nearest value that
// fits, which compares as the literal does; none is wrapped.
TEST(TokenAdapter, IntegerLiteralsBeyondSixtyFourBits) {
    TokenAdapterRun run;
    run.Dialect(DIAL_MF);
    const auto lexemes =
        run.Run(Program("MOVE -99999999999999999999 TO A.\n           MOVE H\"0102030405060708090A\" TO B.\n"
                        "           MOVE 9 TO C."));
    std::vector<std::int64_t> values;
    for (const Lexeme& l : lexemes)
        if (l.code == TK_INT_NUM_LIT) values.push_back(l.intValue);
    EXPECT_EQ(values, (std::vector<std::int64_t>{INT64_MIN, INT64_MAX, 9}));
    const std::vector<std::string> texts = run.MessageTexts();
    for (const char* literal : {"-99999999999999999999", "H\"0102030405060708090A\""})
        EXPECT_NE(std::find(texts.begin(), texts.end(),
                            std::string("Integer number '") + literal + "' does not fit in 64 bits"),
                  texts.end())
            << literal;
}

TEST(TokenAdapter, WithNameClassificationOffUserWordsArePlainStrings) {
    TokenAdapterRun run;
    bool inProcedure = false;
    const auto lexemes = run.Run(Program("MOVE ALPHA TO BETA."), [&](const Lexeme& l) {
        if (l.code == RW_PROCEDURE) inProcedure = true;
        if (inProcedure) WorkingParser->nameClassification = 0;
    });
    for (const char* name : {"ALPHA", "BETA"}) {
        const Lexeme* word = FindImage(lexemes, name);
        ASSERT_NE(word, nullptr) << name;
        EXPECT_EQ(word->code, TK_CHAR_STRING);
        EXPECT_EQ(word->valueOper, "CHAR_STRING");
        EXPECT_EQ(word->valueImage, name);
    }
}

// A program that copies a member holding one statement.
struct CopyRun {
    explicit CopyRun(int irreversible, int inlineCopy = 1) {
        run.parser.irrevInline = irreversible;
        run.parser.inlineCopy = inlineCopy;
        run.parser.copyDirs.Append(VString(run.dir.Path("").c_str()));
        run.dir.Write("mem.cpy", "      * member comment\n           DISPLAY 'IN'.\n");
        lexemes = run.Run(Program("DISPLAY 'A'.\n      * before copy\n           COPY MEM.\n           STOP RUN."));
    }
    TokenAdapterRun run;
    std::vector<Lexeme> lexemes;
};

TEST(TokenAdapter, CopyMarkersCarryTheirTokensInTheirNodes) {
    CopyRun copy(0);
    const auto codes = Codes(copy.lexemes);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), SEP_INLINED_COPY), 2);  // the COPY and its end
    const Lexeme* marker = FindCode(copy.lexemes, SEP_INLINED_COPY);
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(marker->posn.empty());
    EXPECT_FALSE(marker->carried.empty());
    bool comment = false;
    for (const auto& t : marker->carried) comment |= t.code == CM_COMMENT && t.image.find("before copy") != std::string::npos;
    EXPECT_TRUE(comment);
    EXPECT_NE(FindImage(copy.lexemes, "'IN'"), nullptr);
}

TEST(TokenAdapter, IrreversibleInliningDeliversNoMarker) {
    CopyRun copy(1);
    const auto codes = Codes(copy.lexemes);
    for (int marker : {SEP_INLINED_COPY, SEP_UNINLINED_COPY, SEP_COPY_EOF, SEP_REPLACE, SEP_COPY_INC})
        EXPECT_EQ(std::count(codes.begin(), codes.end(), marker), 0) << marker;
    // The comment before the COPY stands before the next token delivered.
    const Lexeme* display = nullptr;
    for (const Lexeme& l : copy.lexemes)
        if (l.code == RW_DISPLAY) display = &l;  // the member's DISPLAY comes second
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(Contains(codes, {RW_DISPLAY, TK_NONNUM_LIT, SEP_DOT, RW_DISPLAY, TK_NONNUM_LIT, SEP_DOT, RW_STOP}));
    bool comment = false;
    for (const Lexeme& l : copy.lexemes)
        if (l.code == RW_DISPLAY)
            for (const auto& t : l.posn) comment |= t.code == CM_COMMENT && t.image.find("before copy") != std::string::npos;
    EXPECT_TRUE(comment);
}

TEST(TokenAdapter, AnUninlinedCopyIsFollowedByASuppliedPeriod) {
    CopyRun copy(0, 0);
    const auto codes = Codes(copy.lexemes);
    // COPY after a period: no period of its own.
    EXPECT_TRUE(Contains(codes, {SEP_DOT, SEP_UNINLINED_COPY, RW_STOP})) << codes.size();
    const Lexeme* marker = FindCode(copy.lexemes, SEP_UNINLINED_COPY);
    ASSERT_NE(marker, nullptr);
    EXPECT_FALSE(marker->valueOper.empty());

    TokenAdapterRun run;
    run.parser.inlineCopy = 0;
    const auto lexemes = run.Run(Program("MOVE A TO B\n           COPY MEM.\n           STOP RUN."));
    EXPECT_TRUE(Contains(Codes(lexemes), {TK_USER_DEFD_WORD, SEP_UNINLINED_COPY, SEP_DOT, RW_STOP}));
}

// Lexer and adapter modes follow from the tokens, so a word gets
// the same class whether the grammar reads it on trial or not. None of these
// runs sets a switch.
struct ModeCase {
    const char* name;
    int dialect;
    const char* statements;  // in the procedure division unless `whole`
    bool whole;
    const char* word;
    int code;
    const char* valueOper;
};

TEST(TokenAdapter, ModesFollowFromTheTokens) {
    const ModeCase cases[] = {
        {"function name in a reference modification", DIAL_ANSI85,
         "MOVE A(1:FUNCTION LENGTH(B)) TO C.", false, "LENGTH", TK_FUNC_NAME_WITH_ARGS, "CHAR_STRING"},
        {"function without arguments", DIAL_ANSI85, "MOVE FUNCTION CURRENT-DATE TO C.", false, "CURRENT-DATE",
         TK_FUNC_NAME_NO_ARGS, "CHAR_STRING"},
        {"random", DIAL_ANSI85, "COMPUTE X = FUNCTION RANDOM.", false, "RANDOM", TK_CHAR_STRING, "CHAR_STRING"},
        {"the word after the function name is read normally", DIAL_ANSI85,
         "MOVE FUNCTION CURRENT-DATE TO LENGTH-X.", false, "LENGTH-X", TK_USER_DEFD_WORD, "SYMBOL_TABLE_ELT"},
        {"program name spelled like a keyword", DIAL_ANSI85,
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. SORT.\n       PROCEDURE DIVISION.\n           STOP RUN.\n",
         true, "SORT", TK_USER_DEFD_WORD, "SYMBOL_TABLE_ELT"},
        {"decimal comma", DIAL_ANSI85,
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. P.\n       ENVIRONMENT DIVISION.\n"
         "       CONFIGURATION SECTION.\n       SPECIAL-NAMES. DECIMAL-POINT IS COMMA.\n"
         "       PROCEDURE DIVISION.\n           MOVE 12,5 TO X.\n",
         true, "12,5", TK_REAL_NUM_LIT, "REAL_NUM_CONST"},
        {"source computer name", DIAL_ANSI85,
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. P.\n       ENVIRONMENT DIVISION.\n"
         "       CONFIGURATION SECTION.\n       SOURCE-COMPUTER. IBM-370.\n       OBJECT-COMPUTER. IBM-370X.\n"
         "       PROCEDURE DIVISION.\n           STOP RUN.\n",
         true, "IBM-370", TK_CHAR_STRING, "CHAR_STRING"},
        {"object computer name", DIAL_ANSI85,
         "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. P.\n       ENVIRONMENT DIVISION.\n"
         "       CONFIGURATION SECTION.\n       SOURCE-COMPUTER. IBM-370.\n       OBJECT-COMPUTER. IBM-370X.\n"
         "       PROCEDURE DIVISION.\n           STOP RUN.\n",
         true, "IBM-370X", TK_CHAR_STRING, "CHAR_STRING"},
        {"linkage type", DIAL_MF, "CALL 'X' WITH PASCAL LINKAGE.", false, "PASCAL", TK_CHAR_STRING, "CHAR_STRING"},
        {"a data name after WITH stays a name", DIAL_ANSI85, "INSPECT A REPLACING ALL 'A' BY B.", false, "B",
         TK_USER_DEFD_WORD, "SYMBOL_TABLE_ELT"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TokenAdapterRun run;
        run.Dialect(c.dialect);
        const auto lexemes = run.Run(c.whole ? std::string(c.statements) : Program(c.statements));
        const Lexeme* word = FindImage(lexemes, c.word);
        ASSERT_NE(word, nullptr);
        EXPECT_EQ(word->code, c.code);
        EXPECT_EQ(word->valueOper, c.valueOper);
    }
}

TEST(TokenAdapter, ContextKeywordsForTheRecordingMode) {
    TokenAdapterRun run;
    run.Dialect(DIAL_VSII);
    const auto lexemes = run.Run(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. P.\n"
        "       DATA DIVISION.\n"
        "       FILE SECTION.\n"
        "       FD F1 RECORDING MODE IS F.\n"
        "       01 R PIC X.\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01 F PIC X.\n"
        "       PROCEDURE DIVISION.\n"
        "           MOVE F TO R.\n");
    const auto codes = Codes(lexemes);
    EXPECT_TRUE(Contains(codes, {RW_RECORDING, RW_MODE, RW_IS, RW_F, SEP_DOT}));
    // The data name F elsewhere is a name.
    int names = 0;
    for (const Lexeme& l : lexemes)
        if (!l.posn.empty() && l.posn.back().image == "F") ++names;
    EXPECT_EQ(names, 2);
}

TEST(TokenAdapter, ContextKeywordsInsideAcceptAndDisplayOnly) {
    TokenAdapterRun run;
    run.Dialect(DIAL_MF);
    const auto codes = Codes(run.Run(Program("ACCEPT R FROM COMMAND-LINE\n"
                                             "           MOVE COMMAND-LINE TO R\n"
                                             "           DISPLAY R UPON COMMAND-LINE.\n"
                                             "           MOVE COMMAND-LINE TO R.")));
    EXPECT_TRUE(Contains(codes, {RW_FROM, RW_COMMAND_LINE, RW_MOVE, TK_USER_DEFD_WORD, RW_TO}));
    EXPECT_TRUE(Contains(codes, {RW_UPON, RW_COMMAND_LINE, SEP_DOT, RW_MOVE, TK_USER_DEFD_WORD, RW_TO}));
}

TEST(TokenAdapter, CicsAssignNamesArePlainWordsOutsideTheParentheses) {
    TokenAdapterRun run;
    run.parser.cicsSwitch = 1;
    const int saved = DovCanParseCics;
    DovCanParseCics = 1;
    const auto lexemes = run.Run(Program("EXEC CICS ASSIGN ABCODE(X) END-EXEC.\n"
                                         "           EXEC CICS RETURN ABCODE(Y) END-EXEC."));
    DovCanParseCics = saved;
    const auto codes = Codes(lexemes);
    EXPECT_TRUE(Contains(codes, {TK_CICS, CTK_ASSIGN, TK_CHAR_STRING, SEP_LEFT_PAR, TK_USER_DEFD_WORD, SEP_RIGHT_PAR,
                                 RW_END_EXEC}));
    EXPECT_TRUE(Contains(codes, {TK_CICS, CTK_RETURN, CTK_ABCODE, SEP_LEFT_PAR, TK_USER_DEFD_WORD}));
}

}  // namespace

namespace {

TEST(TokenAdapter, AReplaceMarkerArrivesAsAnInlinedCopyWithItsNode) {
    TokenAdapterRun run;
    const auto lexemes = run.Run(Program("REPLACE ==OLD-NAME== BY ==NEW-NAME==.\n           MOVE OLD-NAME TO B."));
    const auto codes = Codes(lexemes);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), SEP_REPLACE), 0);
    const Lexeme* marker = FindCode(lexemes, SEP_INLINED_COPY);
    ASSERT_NE(marker, nullptr);
    EXPECT_FALSE(marker->valueOper.empty());
    EXPECT_FALSE(marker->carried.empty());
    EXPECT_NE(FindImage(lexemes, "NEW-NAME"), nullptr);
}

TEST(TokenAdapter, OldCopySkipsTheMembersWordsUpToThePeriod) {
    for (int oldCopy : {0, 1}) {
        SCOPED_TRACE(oldCopy);
        TokenAdapterRun run;
        run.parser.oldCopy = oldCopy;
        run.parser.copyDirs.Append(VString(run.dir.Path("").c_str()));
        run.dir.Write("mem.cpy", "           DISPLAY 'IN'.\n");
        const auto codes = Codes(run.Run(Program("MOVE A TO B COPY MEM.\n           STOP RUN.")));
        EXPECT_EQ(std::count(codes.begin(), codes.end(), RW_DISPLAY), oldCopy ? 0 : 1);
        EXPECT_TRUE(Contains(codes, {RW_STOP, RW_RUN, SEP_DOT}));
    }
}

}  // namespace

namespace {

TEST(TokenAdapter, DamagedSourcesReachTheEndOfInput) {
    const std::string source =
        "000100 IDENTIFICATION DIVISION.\n"
        "000200 PROGRAM-ID. FUZZ.\n"
        "000300 ENVIRONMENT DIVISION.\n"
        "000400 CONFIGURATION SECTION.\n"
        "000500 SOURCE-COMPUTER. X-1.\n"
        "000600 DATA DIVISION.\n"
        "000700 WORKING-STORAGE SECTION.\n"
        "000800 01 A PIC X(10) VALUE 'ABC'.\n"
        "000900 COPY MEMBER REPLACING ==X== BY ==Y==.\n"
        "001000 PROCEDURE DIVISION.\n"
        "001100 P1.\n"
        "001200     IF A > = 1 ADD 1 TO B ON SIZE ERROR NEXT SENTENCE.\n"
        "001300     MOVE FUNCTION LENGTH(A) TO B NOT AT END\n"
        "001400     EXEC SQL SELECT C INTO :A FROM T WITH HOLD END-EXEC\n"
        "001500     ACCEPT A FROM COMMAND-LINE\n"
        "001600     COPY MEMBER.\n"
        "001700     END PROGRAM FUZZ.\n";
    const char alphabet[] = " .'\"=-*$()\n,;:><ABCXYZ09";
    std::mt19937 random(20261210);
    for (int round = 0; round < 200; ++round) {
        std::string text = source;
        vemlo_test::MutateText(text, random, std::string_view(alphabet, sizeof alphabet - 1));
        TokenAdapterRun run;
        run.parser.messageCallback = [](int, const DovTxtPosn&, const VString&) {};
        run.parser.oldCopy = static_cast<int>(random() % 2);
        run.parser.irrevInline = static_cast<int>(random() % 2);
        run.parser.inlineCopy = static_cast<int>(random() % 4 != 0);
        run.parser.copyDirs.Append(VString(run.dir.Path("").c_str()));
        run.dir.Write("MEMBER.cpy", "000100 01 X PIC X.\n");
        const unsigned flips = static_cast<unsigned>(random());
        int n = 0;
        const auto lexemes = run.Run(text, [&](const Lexeme& l) {
            ProcedureFlagAfterHeader(l);
            WorkingParser->nameClassification = (flips >> (n++ % 32)) & 1;
        });
        ASSERT_FALSE(lexemes.empty()) << text;
        EXPECT_EQ(lexemes.back().code, 0) << text;
        ASSERT_EQ(WorkingParser, nullptr);
    }
}

}  // namespace

namespace {

TEST(TokenAdapter, NameClassificationLeftOffAfterTheSourceComputerNameComesBackAtTheNextHeader) {
    // The grammar's marker before the SOURCE-COMPUTER name switches name
    // classification off and nothing in that paragraph switches it on.
    TokenAdapterRun run;
    int last = 0;
    const auto lexemes = run.Run(
        "       IDENTIFICATION DIVISION.\n"
        "       PROGRAM-ID. P.\n"
        "       ENVIRONMENT DIVISION.\n"
        "       CONFIGURATION SECTION.\n"
        "       SOURCE-COMPUTER. X-1 WITH DEBUGGING MODE.\n"
        "       DATA DIVISION.\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01 COUNTER PIC 9.\n"
        "       PROCEDURE DIVISION.\n"
        "           STOP RUN.\n",
        [&](const Lexeme& l) {
            if (last == RW_SOURCE_COMPUTER && l.code == SEP_DOT) WorkingParser->nameClassification = 0;
            last = l.code;
        });
    const Lexeme* computer = FindImage(lexemes, "X-1");
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->code, TK_CHAR_STRING);
    const Lexeme* counter = FindImage(lexemes, "COUNTER");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->code, TK_USER_DEFD_WORD);
    EXPECT_EQ(counter->valueOper, "SYMBOL_TABLE_ELT");
}

}  // namespace
