// The grammar installed in the parser: Parse runs it through the hooks, and
// the parser's error services receive what recovery reports and discards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "parser/hooks.h"
#include "parser/parser.h"
#include "tests/lexer/temp_dir.h"
#include "tree/token_codes.h"

namespace {

// Stands in for the token adapter: fixed codes, each with a position list
// that holds its token, the value left null.
std::vector<int> codes;
std::size_t next_code = 0;

int FixedTokens() {
    yylval = nullptr;
    if (next_code >= codes.size()) {
        yyposn = nullptr;
        return 0;
    }
    const int code = codes[next_code++];
    yyposn = new DovTokenList;
    DovToken* token = new DovToken(code, ("t" + std::to_string(next_code - 1)).c_str());
    yyposn->AppendToken(token);
    return code;
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        saved_hooks_ = DovGrammar;
        saved_services_ = DovCobolGrammar.services;
        DovInstallGrammar();
        VString error;
        ASSERT_EQ(parser_.ResolveDialectDefaults(error), 0);
        source_ = dir_.Write("p.cbl", "       IDENTIFICATION DIVISION.\n");
    }
    void TearDown() override {
        DovGrammar = saved_hooks_;
        DovCobolGrammar.services = saved_services_;
        delete root_;
    }
    int Parse() {
        delete root_;
        root_ = nullptr;
        messages_.Clear();
        next_code = 0;
        return parser_.Parse(source_.c_str(), root_, &messages_);
    }
    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        for (const DovToken* t : messages_)
            if (t->code == MSG_ERR) out.push_back(t->image.CStr());
        return out;
    }

    DovGrammarHooks saved_hooks_;
    DovGrammarServices saved_services_;
    vemlo_test::TempDir dir_;
    std::string source_;
    DovParserImpl parser_;
    DovExpr* root_ = nullptr;
    DovTokenList messages_;
};

TEST_F(Installed, HooksAreTheGrammars) {
    EXPECT_EQ(DovGrammar.parse, &yyparse);
    EXPECT_EQ(DovGrammar.acceptsDials, &DovGrammarAcceptsDials);
    EXPECT_NE(DovGrammar.clearState, nullptr);
    EXPECT_NE(DovGrammar.dropLeftovers, nullptr);
    EXPECT_NE(DovCobolGrammar.services.report_syntax_error, nullptr);
    EXPECT_NE(DovCobolGrammar.services.delete_value, nullptr);
    EXPECT_NE(DovCobolGrammar.services.delete_posn, nullptr);
}

TEST_F(Installed, WithoutATokenSourceTheParseFailsWithAMessage) {
    DovCobolGrammar.services.lex = nullptr;
    EXPECT_EQ(Parse(), 3);
    EXPECT_EQ(Errors(), std::vector<std::string>{"yyparse: no token source is installed"});
}

TEST_F(Installed, SyntaxErrorReachesTheParsersMessages) {
    DovCobolGrammar.services.lex = FixedTokens;
    codes = {RW_ID_DIVISION, SEP_DOT, RW_PROGRAM_ID, SEP_DOT, TK_USER_DEFD_WORD, SEP_DOT, RW_PROCEDURE,
             RW_DIVISION,    SEP_DOT, TK_AREA_A_NAME, SEP_DOT, RW_RUN, RW_RUN, SEP_DOT, RW_STOP, RW_RUN, SEP_DOT};
    EXPECT_EQ(Parse(), 2);
    const std::vector<std::string> errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("syntax error. at token: ", 0), 0u) << errors[0];
    // A clean parse after it.
    codes = {RW_ID_DIVISION, SEP_DOT, RW_PROGRAM_ID, SEP_DOT, TK_USER_DEFD_WORD, SEP_DOT};
    EXPECT_EQ(Parse(), 0);
    EXPECT_TRUE(Errors().empty());
}

}  // namespace
