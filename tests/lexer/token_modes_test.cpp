// Modes of the token layer that follow from the tokens themselves: the word
// after FUNCTION, the name after PROGRAM-ID, DECIMAL-POINT IS COMMA, the
// recording mode, the context words of ACCEPT and DISPLAY, the names of
// EXEC CICS ASSIGN and the words inside the parentheses of EXEC CICS. None
// of these cases sets a switch of the lexer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"

namespace {

using vemlo_test::LexerTest;
using V = std::vector<std::string>;

class TokenModes : public LexerTest {
protected:
    V Of(int dialect, const std::string& text) {
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, dialect);
        lexer.cicsSwitch = 1;
        return Lex(Fixed(text), &DovLexer::GetToken);
    }
};

TEST_F(TokenModes, Table) {
    struct Case {
        int dialect;
        const char* text;
        V tokens;
    };
    const Case cases[] = {
        {DIAL_ANSI85, "FUNCTION LENGTH(B) LENGTH",
         {"RW_FUNCTION", "TK_FUNC_NAME_WITH_ARGS LENGTH", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD B", "SEP_RIGHT_PAR",
          "RW_LENGTH"}},
        {DIAL_ANSI85, "FUNCTION CURRENT-DATE TO", {"RW_FUNCTION", "TK_FUNC_NAME_NO_ARGS CURRENT-DATE", "RW_TO"}},
        {DIAL_ANSI85, "PROGRAM-ID. SORT IS INITIAL.",
         {"RW_PROGRAM_ID", "SEP_DOT", "TK_USER_DEFD_WORD SORT", "RW_IS", "RW_INITIAL", "SEP_DOT"}},
        {DIAL_ANSI85, "DECIMAL-POINT IS COMMA. MOVE 1,5 TO X.",
         {"RW_DECIMAL_POINT", "RW_IS", "RW_COMMA", "SEP_DOT", "RW_MOVE", "TK_REAL_NUM_LIT 1,5", "RW_TO",
          "TK_USER_DEFD_WORD X", "SEP_DOT"}},
        {DIAL_VSII, "RECORDING MODE IS F. F", {"RW_RECORDING", "RW_MODE", "RW_IS", "RW_F", "SEP_DOT",
                                               "TK_USER_DEFD_WORD F"}},
        {DIAL_VSII, "RECORDING V", {"RW_RECORDING", "RW_V"}},
        // Context words count only in a procedure division's ACCEPT and
        // DISPLAY, up to the next statement.
        {DIAL_MF, "ACCEPT X FROM COMMAND-LINE", {"RW_ACCEPT", "TK_USER_DEFD_WORD X", "RW_FROM",
                                                 "TK_USER_DEFD_WORD COMMAND-LINE"}},
        {DIAL_MF, "PROCEDURE DIVISION. ACCEPT X FROM COMMAND-LINE MOVE COMMAND-LINE",
         {"RW_PROCEDURE", "RW_DIVISION", "SEP_DOT", "RW_ACCEPT", "TK_USER_DEFD_WORD X", "RW_FROM", "RW_COMMAND_LINE",
          "RW_MOVE", "TK_USER_DEFD_WORD COMMAND-LINE"}},
        {DIAL_MF, "PROCEDURE DIVISION. DISPLAY X UPON COMMAND-LINE. COMMAND-LINE",
         {"RW_PROCEDURE", "RW_DIVISION", "SEP_DOT", "RW_DISPLAY", "TK_USER_DEFD_WORD X", "RW_UPON",
          "RW_COMMAND_LINE", "SEP_DOT", "TK_USER_DEFD_WORD COMMAND-LINE"}},
        {DIAL_ANSI85, "EXEC CICS ASSIGN ABCODE(LENGTH) APPLID(X) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_ASSIGN", "TK_CHAR_STRING ABCODE", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD LENGTH",
          "SEP_RIGHT_PAR", "TK_CHAR_STRING APPLID", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD X", "SEP_RIGHT_PAR",
          "RW_END_EXEC"}},
        // The options every command takes stay keywords among the names of
        // ASSIGN.
        {DIAL_ANSI85, "EXEC CICS ASSIGN SYSID(S) RESP(R) NOHANDLE RESP2(R2) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_ASSIGN", "TK_CHAR_STRING SYSID", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD S",
          "SEP_RIGHT_PAR", "CTK_RESP", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD R", "SEP_RIGHT_PAR", "CTK_NOHANDLE",
          "CTK_RESP2", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD R2", "SEP_RIGHT_PAR", "RW_END_EXEC"}},
        // Inside an option's parentheses a word is a COBOL word, whatever
        // its spelling; ADDRESS OF and LENGTH OF keep their keywords.
        {DIAL_ANSI85, "EXEC CICS READ INTO(MAP) RESP(RESP) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_READ", "CTK_INTO", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD MAP", "SEP_RIGHT_PAR",
          "CTK_RESP", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD RESP", "SEP_RIGHT_PAR", "RW_END_EXEC"}},
        {DIAL_ANSI85, "EXEC CICS READ LENGTH(LENGTH  OF X) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_READ", "CTK_LENGTH", "SEP_LEFT_PAR", "CTK_LENGTH", "RW_OF",
          "TK_USER_DEFD_WORD X", "SEP_RIGHT_PAR", "RW_END_EXEC"}},
        {DIAL_ANSI85, "EXEC CICS GETMAIN SET(ADDRESS OF A(LENGTH)) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_GETMAIN", "CTK_SET", "SEP_LEFT_PAR", "CTK_ADDRESS", "RW_OF",
          "TK_USER_DEFD_WORD A", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD LENGTH", "SEP_RIGHT_PAR", "SEP_RIGHT_PAR",
          "RW_END_EXEC"}},
        // Two words that look ahead, one after the other.
        {DIAL_ANSI85, "EXEC CICS LINK COMMAREA(LENGTH LENGTH OF X) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_LINK", "CTK_COMMAREA", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD LENGTH", "CTK_LENGTH",
          "RW_OF", "TK_USER_DEFD_WORD X", "SEP_RIGHT_PAR", "RW_END_EXEC"}},
        {DIAL_ANSI85, "EXEC CICS RETURN ABCODE(X) END-EXEC",
         {"RW_EXEC", "TK_CICS", "CTK_RETURN", "CTK_ABCODE", "SEP_LEFT_PAR", "TK_USER_DEFD_WORD X", "SEP_RIGHT_PAR",
          "RW_END_EXEC"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Messages().clear();
        EXPECT_EQ(Of(c.dialect, c.text), c.tokens);
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(TokenModes, AWordReadBackIsNotClassifiedAgain) {
    // FUNCTION, then LENGTH read ahead and given back: still a function name,
    // and the word after it a reserved word again.
    lexer.dials = DovNoDials();
    DovDialsAdd(lexer.dials, DIAL_ANSI85);
    ASSERT_TRUE(Open(Fixed("FUNCTION LENGTH LENGTH")));
    delete lexer.GetToken();
    DovTokenItem* name = lexer.GetToken();
    lexer.UnGetToken(name);
    ItemPtr again(lexer.GetToken());
    EXPECT_EQ(Describe(again->token), "TK_FUNC_NAME_WITH_ARGS LENGTH");
    ItemPtr next(lexer.GetToken());
    EXPECT_EQ(Describe(next->token), "RW_LENGTH");
}

}  // namespace
