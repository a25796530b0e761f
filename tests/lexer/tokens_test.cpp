// Text words and the grammar's tokens.
#include <gtest/gtest.h>

#include <algorithm>

#include <random>
#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"
#include "tree/expr.h"

namespace {

using vemlo_test::LexerTest;
using V = std::vector<std::string>;

// What the EXEC and NOTE callbacks were given.
V& Handed() {
    static V handed;
    return handed;
}

DovExpr* TakeExecToken(DovTokenItem* item) {
    Handed().push_back(LexerTest::Describe(item->token));
    delete item;
    return nullptr;
}

int SeeNoteText(DovTokenItem* item) {
    Handed().push_back(item ? LexerTest::Describe(item->token) : "(end)");
    return 0;
}

class Tokens : public LexerTest {
protected:
    Tokens() {
        Handed().clear();
        Dialect(DIAL_ANSI85);
        lexer.sqlSwitch = 1;
        lexer.cicsSwitch = 1;
        lexer.execTokenCallback = TakeExecToken;
        lexer.noteTextCallback = SeeNoteText;
    }
    void Dialect(int dialect) {
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, dialect);
    }
    // The tokens of `text` written from column 8 of one line.
    V Of(const std::string& text) { return Lex(Fixed(text), &DovLexer::GetToken); }
    std::vector<ItemPtr> ItemsOf(const std::string& source) {
        if (!Open(source)) return {};
        return Items(&DovLexer::GetToken);
    }
};

TEST_F(Tokens, Words) {
    struct Case {
        std::string text;
        V tokens;
        int messages;
    };
    const Case cases[] = {
        {"12.5", {"TK_REAL_NUM_LIT 12.5"}, 0},
        {"-7", {"TK_INT_NUM_LIT -7"}, 0},
        {"+0.5", {"TK_REAL_NUM_LIT +0.5"}, 0},
        {"1E5", {"TK_INT_NUM_LIT 1E5"}, 0},
        {"1.5E-3", {"TK_REAL_NUM_LIT 1.5E-3"}, 0},
        {std::string(19, '9'), {"TK_USER_DEFD_WORD " + std::string(19, '9')}, 0},
        {"+" + std::string(19, '1'), {"TK_INT_NUM_LIT +" + std::string(19, '1')}, 1},
        {std::string(17, '1') + ".5", {"TK_REAL_NUM_LIT " + std::string(17, '1') + ".5"}, 0},
        {std::string(18, '1') + ".5", {"TK_REAL_NUM_LIT " + std::string(18, '1') + ".5"}, 1},
        {"A--B", {"TK_USER_DEFD_WORD A--B"}, 0},
        {"-AB", {"TK_USER_DEFD_WORD -AB"}, 1},
        {"AB-", {"TK_USER_DEFD_WORD AB-"}, 1},
        {"A_B", {"TK_USER_DEFD_WORD A_B"}, 1},
        {"move a to b.", {"RW_MOVE", "TK_USER_DEFD_WORD A", "RW_TO", "TK_USER_DEFD_WORD B", "SEP_DOT"}, 0},
        {"PIC IS 9(5)V99.", {"RW_PIC", "RW_IS", "TK_PIC_CHAR_STRING 9(5)V99", "SEP_DOT"}, 0},
        {"PICTURE S9(4) COMP.", {"RW_PICTURE", "TK_PIC_CHAR_STRING S9(4)", "RW_COMP", "SEP_DOT"}, 0},
        {"PIC X (3)", {"RW_PIC", "TK_PIC_CHAR_STRING X", "SEP_LEFT_PAR", "TK_INT_NUM_LIT 3", "SEP_RIGHT_PAR"}, 0},
        {"A(1) ** B >= C", {"TK_USER_DEFD_WORD A", "SEP_LEFT_PAR", "TK_INT_NUM_LIT 1", "SEP_RIGHT_PAR", "OP_EXP",
                            "TK_USER_DEFD_WORD B", "OP_GE", "TK_USER_DEFD_WORD C"},
         0},
        {"X'C1' H'0F'", {"TK_NONNUM_LIT X'C1'", "TK_INT_NUM_LIT H'0F'"}, 0},
        {std::string(31, 'W'), {"TK_USER_DEFD_WORD " + std::string(31, 'W')}, 1},
        {"A, B; C", {"TK_USER_DEFD_WORD A", "TK_USER_DEFD_WORD B", "TK_USER_DEFD_WORD C"}, 0},
        {"SWITCH-1", {"TK_USER_DEFD_WORD SWITCH-1"}, 0},
        // A period with a word straight after it ends the sentence there.
        {"TO PRINT-REC.PERFORM W", {"RW_TO", "TK_USER_DEFD_WORD PRINT-REC", "SEP_DOT", "RW_PERFORM",
                                    "TK_USER_DEFD_WORD W"},
         0},
        {"A.B.C9", {"TK_USER_DEFD_WORD A", "SEP_DOT", "TK_USER_DEFD_WORD B", "SEP_DOT", "TK_USER_DEFD_WORD C9"}, 0},
        {"PIC ZZ.ZZ.", {"RW_PIC", "TK_PIC_CHAR_STRING ZZ.ZZ", "SEP_DOT"}, 0},
        {"X1.5", {"TK_USER_DEFD_WORD X1.5"}, 1},
        {"A.-B", {"TK_USER_DEFD_WORD A.-B"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Messages().clear();
        EXPECT_EQ(Of(c.text), c.tokens);
        EXPECT_EQ(static_cast<int>(Messages().size()), c.messages);
    }
}

// A user-defined word may have 31 characters where MF is among the
// dialects, 30 elsewhere.
TEST_F(Tokens, UserWordLengthFollowsTheDialects) {
    struct Case {
        int dialect;
        std::size_t length;
        std::vector<std::string> messages;
    };
    const std::string w31(31, 'W'), w32(32, 'W');
    const Case cases[] = {
        {DIAL_MF, 31, {}},
        {DIAL_MF, 32, {"970@1:User defined word '" + w32 + "' is longer than 31 characters."}},
        {DIAL_VSII, 31, {"970@1:User defined word '" + w31 + "' is longer than 30 characters."}},
        {DIAL_VSII, 30, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dialect) + "/" + std::to_string(c.length));
        Messages().clear();
        Dialect(c.dialect);
        const std::string word(c.length, 'W');
        EXPECT_EQ(Of(word), V{"TK_USER_DEFD_WORD " + word});
        EXPECT_EQ(MessageTexts(), c.messages);
    }
}

TEST_F(Tokens, DecimalPointIsComma) {
    ASSERT_TRUE(Open(Fixed("12,5 1.5")));
    lexer.decimalPoint = ',';
    EXPECT_EQ(Words(&DovLexer::GetToken), (V{"TK_REAL_NUM_LIT 12,5", "TK_USER_DEFD_WORD 1.5"}));
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(Tokens, WordsBreakWithoutSeparatorSpace) {
    lexer.sepSpaceRequired = 0;
    ASSERT_TRUE(Open(Fixed("A+B A,B ** -X +7 PIC +++9")));
    std::vector<ItemPtr> items = Items(&DovLexer::GetToken);
    V got;
    for (const auto& item : items) got.push_back(Describe(item->token));
    EXPECT_EQ(got, (V{"TK_USER_DEFD_WORD A", "OP_PLUS", "TK_USER_DEFD_WORD B", "TK_USER_DEFD_WORD A",
                      "TK_USER_DEFD_WORD B", "OP_MUL", "OP_MUL", "OP_MINUS", "TK_USER_DEFD_WORD X",
                      "TK_INT_NUM_LIT +7", "RW_PIC", "TK_PIC_CHAR_STRING +++9"}));
    // A+B: three tokens in three consecutive columns.
    EXPECT_EQ(items[0]->token->Beg().Column(), 7u);
    EXPECT_EQ(items[1]->token->Beg().Column(), 8u);
    EXPECT_EQ(items[2]->token->Beg().Column(), 9u);
    EXPECT_EQ(items[2]->token->End().Column(), 10u);
}

// The words on either side of an inner period keep their own columns.
TEST_F(Tokens, InnerPeriodSplitsInPlace) {
    ASSERT_TRUE(Open(Fixed("REC.STOP")));
    std::vector<ItemPtr> items = Items(&DovLexer::GetToken);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->token->End().Column(), 10u);
    EXPECT_EQ(items[1]->token->code, SEP_DOT);
    EXPECT_EQ(items[1]->token->Beg().Column(), 10u);
    EXPECT_EQ(items[2]->token->code, RW_STOP);
    EXPECT_EQ(items[2]->token->Beg().Column(), 11u);
}

TEST_F(Tokens, ExecSql) {
    std::vector<ItemPtr> items = ItemsOf(Fixed("EXEC SQL SELECT X INTO :Y FROM T END-EXEC."));
    V got;
    for (const auto& item : items) got.push_back(Describe(item->token));
    EXPECT_EQ(got, (V{"RW_EXEC", "TK_SQL", "STK_SELECT", "ST_IDENT X", "STK_INTO", "ST_COLON", "ST_IDENT Y",
                      "STK_FROM", "ST_IDENT T", "RW_END_EXEC", "SEP_DOT"}));
    EXPECT_EQ(Kept(*items[2]), V{"SEP_SPACE"});
    EXPECT_EQ(Kept(*items[9]), V{"SEP_SPACE"});
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(Lex(Fixed("EXEC SQL SELECT A, B.C INTO :X FROM T") + Fixed("  WHERE A<=1.5 AND B='x' END-EXEC"),
                  &DovLexer::GetToken),
              (V{"RW_EXEC", "TK_SQL", "STK_SELECT", "ST_IDENT A", "ST_COMMA", "ST_IDENT B", "ST_DOT", "ST_IDENT C",
                 "STK_INTO", "ST_COLON", "ST_IDENT X", "STK_FROM", "ST_IDENT T", "STK_WHERE", "ST_IDENT A", "ST_LT",
                 "ST_EQ", "ST_APPROX_NUM_LIT 1.5", "STK_AND", "ST_IDENT B", "ST_EQ", "ST_STR_LITER 'x'",
                 "RW_END_EXEC"}));
    EXPECT_TRUE(Handed().empty());
}

TEST_F(Tokens, SqlDashDashCommentsRunToTheLineEnd) {
    std::vector<ItemPtr> items =
        ItemsOf(Fixed("EXEC SQL INSERT INTO T VALUES (:A) -- 01 here") + Fixed("  , (:B) END-EXEC."));
    V got;
    for (const auto& item : items) got.push_back(Describe(item->token));
    EXPECT_EQ(got, (V{"RW_EXEC", "TK_SQL", "STK_INSERT", "STK_INTO", "ST_IDENT T", "STK_VALUES", "ST_LEFT_PAR",
                      "ST_COLON", "ST_IDENT A", "ST_RIGHT_PAR", "ST_COMMA", "ST_LEFT_PAR", "ST_COLON", "ST_IDENT B",
                      "ST_RIGHT_PAR", "RW_END_EXEC", "SEP_DOT"}));
    V kept = Kept(*items[10]);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), "CM_INLINE_COMMENT --"), 1) << ::testing::PrintToString(kept);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Tokens, ExecOfOtherSubsystemsGoesToTheCallback) {
    EXPECT_EQ(Of("EXEC DLI GU USING PCB(1) END-EXEC"), (V{"RW_EXEC", "RW_END_EXEC"}));
    EXPECT_EQ(Handed(), (V{"TK_CHAR_STRING DLI", "TK_CHAR_STRING GU", "TK_CHAR_STRING USING", "TK_CHAR_STRING PCB",
                           "SEP_LEFT_PAR", "TK_CHAR_STRING 1", "SEP_RIGHT_PAR"}));
    Handed().clear();
    lexer.sqlSwitch = 0;
    EXPECT_EQ(Of("EXEC SQL COMMIT END-EXEC"), (V{"RW_EXEC", "RW_END_EXEC"}));
    EXPECT_EQ(Handed(), (V{"TK_CHAR_STRING SQL", "TK_CHAR_STRING COMMIT"}));
    Handed().clear();
    EXPECT_EQ(Of("EXEC 'LIT' X END-EXEC"), (V{"RW_EXEC", "RW_END_EXEC"}));
    EXPECT_EQ(Handed(), (V{"TK_NONNUM_LIT 'LIT'", "TK_CHAR_STRING X"}));
    EXPECT_EQ(MessageTexts(), V{"970@1:EXEC subsystem specifier expected."});
}

TEST_F(Tokens, ExecCics) {
    EXPECT_EQ(Of("EXEC CICS LINK PROGRAM(P) LENGTH(-12) RESP(R) OF X END-EXEC"),
              (V{"RW_EXEC", "TK_CICS", "CTK_LINK", "CTK_PROGRAM", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD P",
                 "SEP_RIGHT_PAR", "CTK_LENGTH", "SEP_LEFT_PAR", "TK_INT_NUM_LIT -12", "SEP_RIGHT_PAR", "CTK_RESP",
                 "SEP_LEFT_PAR", "TK_USER_DEFD_WORD R", "SEP_RIGHT_PAR", "RW_OF", "TK_USER_DEFD_WORD X",
                 "RW_END_EXEC"}));
    EXPECT_TRUE(Messages().empty());
    // A period inside is reported and left out, its text kept.
    std::vector<ItemPtr> items = ItemsOf(Fixed("EXEC CICS RETURN. END-EXEC"));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(Describe(items[3]->token), "RW_END_EXEC");
    EXPECT_EQ(Kept(*items[3]), (V{"SEP_DOT", "SEP_SPACE"}));
    EXPECT_EQ(MessageTexts(), V{"970@1:This token cannot be used in CICS: '.'."});
}

TEST_F(Tokens, EndOfFileInsideExecAndNote) {
    EXPECT_EQ(Of("EXEC SQL COMMIT"), (V{"RW_EXEC", "TK_SQL", "STK_COMMIT", "RW_END_EXEC"}));
    EXPECT_EQ(MessageTexts(), V{"970@1:Unexpected end-of-file within EXEC ... END-EXEC statement"});
    Messages().clear();
    Dialect(DIAL_OSVS);
    EXPECT_EQ(Of("NOTE NO END"), (V{"RW_NOTE", "SEP_DOT"}));
    EXPECT_EQ(MessageTexts(), V{"970@1:Unexpected end-of-file within NOTE statement"});
}

TEST_F(Tokens, NoteParagraph) {
    Dialect(DIAL_OSVS);
    std::vector<ItemPtr> items = ItemsOf(Fixed("NOTE THIS IS") + Fixed("  TEXT. MOVE"));
    V got;
    for (const auto& item : items) got.push_back(Describe(item->token));
    EXPECT_EQ(got, (V{"RW_NOTE", "TK_END_NOTE", "SEP_DOT", "RW_MOVE"}));
    EXPECT_EQ(Handed(), (V{"RW_NOTE", "TK_CHAR_STRING THIS", "TK_CHAR_STRING IS", "TK_CHAR_STRING \n",
                           "TK_CHAR_STRING TEXT"}));
    // The end of the paragraph stands where its period does.
    EXPECT_EQ(items[1]->token->Beg(), items[2]->token->Beg());

    Dialect(DIAL_ANSI85);
    Handed().clear();
    EXPECT_EQ(Of("NOTE X."), (V{"TK_USER_DEFD_WORD NOTE", "TK_USER_DEFD_WORD X", "SEP_DOT"}));
    EXPECT_TRUE(Handed().empty());
}

TEST_F(Tokens, IntrinsicFunctionNames) {
    struct Case {
        const char* name;
        const char* token;
        int messages;
    };
    const Case cases[] = {
        {"CURRENT-DATE", "TK_FUNC_NAME_NO_ARGS CURRENT-DATE", 0},
        {"RANDOM", "TK_CHAR_STRING RANDOM", 0},
        {"MAX", "TK_FUNC_NAME_WITH_ARGS MAX", 0},
        {"FOO", "TK_CHAR_STRING FOO", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Messages().clear();
        ASSERT_TRUE(Open(Fixed(std::string("FUNCTION ") + c.name)));
        ItemPtr function(lexer.GetToken());
        EXPECT_EQ(Describe(function->token), "RW_FUNCTION");
        // The grammar asks for a function name with reserved words off.
        lexer.intrinsicNames = 1;
        lexer.reservedCheck = 0;
        ItemPtr name(lexer.GetToken());
        lexer.intrinsicNames = 0;
        lexer.reservedCheck = 1;
        EXPECT_EQ(Describe(name->token), c.token);
        EXPECT_EQ(static_cast<int>(Messages().size()), c.messages);
    }
}

TEST_F(Tokens, JoinedWordTooLong) {
    // Raw words of 100 characters each, joined as one picture string.
    const std::string part(100, '9');
    ASSERT_TRUE(Open(Fixed("PIC " + part.substr(0, 50)) + Fixed(part.substr(50) + "(2)", '-') +
                     Fixed(part.substr(0, 60), '-') + Fixed("(3)", '-')));
    std::vector<ItemPtr> items = Items(&DovLexer::GetToken);
    ASSERT_EQ(items.size(), 2u);
    const DovToken* pic = items[1]->token;
    EXPECT_EQ(pic->code, TK_PIC_CHAR_STRING);
    EXPECT_EQ(pic->image.Len(), 103);
    EXPECT_EQ(pic->End().Line(), 4u);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text.rfind("DovLexer::GetTextWord: text-word '", 0), 0u);
}

TEST_F(Tokens, SecondUnGetIsTerminal) {
    ASSERT_TRUE(Open(Fixed("A B")));
    DovTokenItem* a = lexer.GetToken();
    DovTokenItem* b = lexer.GetToken();
    lexer.UnGetToken(b);
    lexer.UnGetToken(a);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].severity, MSG_TERMINAL);
    EXPECT_EQ(Messages()[0].text, "DovLexer::UnGetToken: cannot unget");
    ItemPtr back(lexer.GetToken());
    EXPECT_EQ(Describe(back->token), "TK_USER_DEFD_WORD A");
}

TEST_F(Tokens, StatementTokensGoToTheCopyNode) {
    dir.Write("MEM.cpy", Fixed("M."));
    lexer.copyDirs = VStringArray(1);
    lexer.copyDirs.items[lexer.copyDirs.count++] = dir.Path().c_str();
    ASSERT_TRUE(Open(Fixed("A.") + Fixed("NOTE", '*') + Fixed("  COPY MEM.")));
    ItemPtr a(lexer.GetToken()), dot(lexer.GetToken()), marker(lexer.GetToken());
    EXPECT_EQ(Describe(marker->token), "SEP_INLINED_COPY");
    EXPECT_TRUE(marker->list.IsEmpty());
    std::unique_ptr<DovExpr> node(lexer.TakeMarkerNode(marker->token->code));
    ASSERT_NE(node, nullptr);
    V lead;
    for (const DovToken* t : node->ArgSlots(0)->tokens) lead.push_back(Describe(t));
    EXPECT_EQ(lead, (V{"CM_COMMENT *NOTE", "SEP_SPACE", "TK_COPY COPY"}));
}

TEST_F(Tokens, StatisticsAndEnd) {
    ASSERT_TRUE(Open(Fixed("MOVE A TO B.") + Fixed("STOP RUN.")));
    EXPECT_EQ(Words(&DovLexer::GetToken).size(), 8u);
    EXPECT_EQ(lexer.tokensReturned, 9);  // SEP_EOF counts
    EXPECT_EQ(lexer.linesRead, 2);
    // The end stays the end.
    ItemPtr again(lexer.GetToken());
    EXPECT_EQ(again->token->code, SEP_EOF);
}

// Random damage to a program never crashes the lexer, and it always reaches
// the end of the file.
TEST_F(Tokens, MutatedSourcesReachTheEnd) {
    const std::string base = Fixed("IDENTIFICATION DIVISION.") + Fixed("PROGRAM-ID. P.") +
                             Fixed("DATA DIVISION.") + Fixed("01 X PIC X(10) VALUE 'ABC''D'.") +
                             Fixed("01 Y PIC 9(3)V99 VALUE 12.5.") + Fixed("PROCEDURE DIVISION.") +
                             Fixed("    MOVE X\"C1\" TO X. COPY NOTHERE REPLACING ==A== BY ==B==.") +
                             Fixed("    REPLACE ==X== BY ==Y==. EXEC SQL SELECT A INTO :B END-EXEC.") +
                             Fixed("    COMPUTE Y = Y ** 2 + 1. *> NOTE") + Fixed("    'CONTINUED", '-') +
                             "-INC MEMBER\n" + Fixed("    STOP RUN.");
    const char alphabet[] = " '\"=.,;()*-+<>:&\n\tXACOPYREPLACINGEXECSQLEND-EXEC9";
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        std::string source = base;
        const int edits = 1 + static_cast<int>(random() % 12);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % source.size();
            const char c = alphabet[random() % (sizeof alphabet - 1)];
            switch (random() % 3) {
                case 0: source[at] = c; break;
                case 1: source.insert(at, 1, c); break;
                default: source.erase(at, 1); break;
            }
        }
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, static_cast<int>(1 + random() % kDovDialectCount));
        lexer.sepSpaceRequired = static_cast<int>(random() % 2);
        ASSERT_TRUE(Open(source));
        int count = 0;
        bool ended = false;
        for (; count < 10000 && !ended; ++count) {
            ItemPtr item(lexer.GetToken());
            ended = item->token->code == SEP_EOF;
            delete lexer.TakeMarkerNode(item->token->code);
        }
        ASSERT_TRUE(ended) << source;
        lexer.CloseInput();
    }
}

}  // namespace
