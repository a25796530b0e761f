// The character layer, separators, literals and raw words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"
#include "tree/expr.h"

namespace {

using vemlo_test::LexerTest;
using V = std::vector<std::string>;

class RawWords : public LexerTest {
protected:
    void Dialect(int dialect) {
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, dialect);
    }
    V Raw(const std::string& source) { return Lex(source, &DovLexer::GetRawTextWord); }
    V Collapsed(const std::string& source) { return Lex(source, &DovLexer::GetSpaceCollapsedRawTextWord); }
};

TEST_F(RawWords, LineBreakIsOneSpaceAndCommentsWaitForTheNextItem) {
    ASSERT_TRUE(Open(Fixed("A") + Fixed(" HERE", '*') + "\n" + Fixed("B")));
    std::vector<ItemPtr> items = Items(&DovLexer::GetCharAB);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Describe(items[0]->token), "'A'");
    EXPECT_EQ(Describe(items[1]->token), "SEP_SPACE");
    EXPECT_EQ(Describe(items[2]->token), "'B'");
    // The comment line and the empty line travel with the line break.
    EXPECT_EQ(Kept(*items[1]), (V{"CM_COMMENT * HERE", "CM_COMMENT"}));
    EXPECT_TRUE(items[2]->list.IsEmpty());
    EXPECT_EQ(items[1]->token->Beg().Line(), 4u);
    EXPECT_EQ(items[2]->token->Beg().Column(), 7u);
}

TEST_F(RawWords, CommentImages) {
    lexer.lineFormat = LINE_FORMAT_FIXED;
    ASSERT_TRUE(Open(Fixed("SLASH", '/') + "*COLUMN ONE\n" + Fixed("X")));
    ItemPtr first(lexer.GetCharAB());
    V kept = Kept(*first);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0], "CM_COMMENT /SLASH");
    // A comment that begins in column 1 is marked by the high bit.
    EXPECT_EQ(kept[1], std::string("CM_COMMENT ") + static_cast<char>('*' | 0x80) + "COLUMN ONE");
}

TEST_F(RawWords, ContinuedWordJoinsWithoutBreak) {
    // The continuation's text starts in column 12.
    EXPECT_EQ(Raw(Fixed("MOVE ABC") + "000000-    DEF TO X\n"), (V{"TK_CHAR_STRING MOVE", "SEP_SPACE", "TK_CHAR_STRING ABCDEF",
                                                                  "SEP_SPACE", "TK_CHAR_STRING TO", "SEP_SPACE",
                                                                  "TK_CHAR_STRING X"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RawWords, LiteralContinuedAtColumn72) {
    // The literal is open at column 72; trailing blanks of the line are gone
    // by the time the line is read and come back as padding.
    std::string first = "       MOVE \"ABC" + std::string(10, ' ');
    std::string source = "000100" + first.substr(6) + "\n" + "000200-    \"DEF\".\n";
    ASSERT_TRUE(Open(source));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 3u);
    const std::string image(words[1]->token->image.CStr());
    // C stands in column 16: columns 17..72 are blanks of the value.
    EXPECT_EQ(image, "\"ABC" + std::string(72 - 16, ' ') + "DEF\"");
    EXPECT_EQ(words[1]->token->Beg().Line(), 1u);
    EXPECT_EQ(words[1]->token->End().Line(), 2u);
    EXPECT_EQ(Describe(words[2]->token), "SEP_DOT");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RawWords, LiteralForms) {
    struct Case {
        std::string text;
        std::string image;
    };
    const Case cases[] = {
        {"'IT''S'", "'IT''S'"},
        {"\"a\"\"b\"", "\"a\"\"b\""},
        {"x'0a'", "X'0A'"},
        {"h'ff'", "H'FF'"},
        {"b'01'", "B'01'"},
        {"N\"ab\"", "N\"ab\""},
        {"n'ab'", "N'ab'"},
        {"g'Ab'", "G'Ab'"},
        {"'mixed Case'", "'mixed Case'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Messages().clear();
        EXPECT_EQ(Raw(Fixed(c.text)), V{"TK_NONNUM_LIT " + c.image});
        EXPECT_TRUE(Messages().empty());
    }
    // A prefix letter without a delimiter is an ordinary character.
    EXPECT_EQ(Raw(Fixed("XY")), V{"TK_CHAR_STRING XY"});
}

TEST_F(RawWords, LiteralLengthLimits) {
    EXPECT_EQ(Raw(Fixed("'" + std::string(60, 'A') + "'")).size(), 1u);
    EXPECT_TRUE(Messages().empty());
    // 161 characters: the literal keeps 160 and says so once.
    lexer.lineFormat = LINE_FORMAT_FREE;
    EXPECT_EQ(Raw("'" + std::string(161, 'L') + "'"), V{"TK_NONNUM_LIT '" + std::string(160, 'L') + "'"});
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "970@1:Nonnumeric literal is longer than 160 bytes: '" + std::string(160, 'L'));
    lexer.lineFormat = LINE_FORMAT_FIXED;
    Messages().clear();
    // Continued over three lines, with the padding to column 72 counted.
    std::string body(161, 'B');
    ASSERT_TRUE(Open(Fixed("'" + body.substr(0, 60)) + Fixed("'" + body.substr(60, 60), '-') +
                     Fixed("'" + body.substr(120) + "'.", '-')));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 2u);
    // Padding to column 72 counts: the 60 characters of a line fill columns
    // 9..68, so each continued line adds 4 blanks.
    std::string value = std::string(words[0]->token->image.CStr());
    EXPECT_EQ(value.size(), 160u + 2u);
    EXPECT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("Nonnumeric literal is longer than 160 bytes"), std::string::npos);

    Messages().clear();
    ASSERT_TRUE(Open(Fixed("X'" + std::string(55, '0')) + Fixed("'" + std::string(55, '0'), '-') +
                     Fixed("'" + std::string(55, '0'), '-') + Fixed("'" + std::string(55, '0'), '-') +
                     Fixed("'" + std::string(55, '0'), '-') + Fixed("'" + std::string(55, '0') + "'", '-')));
    words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0]->token->image.Len(), 320 + 3);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("longer than 320 bytes"), std::string::npos);
}

// The characters of a literal up to its delimiter or its line's end are
// taken as one run: doubled delimiters, the digit forms' case and a literal
// that fills its line up to column 72 come out as character by character.
TEST_F(RawWords, LiteralRunsEndAtDelimitersAndLineEnds) {
    EXPECT_EQ(Raw(Fixed("'AB''CD'")), V{"TK_NONNUM_LIT 'AB''CD'"});
    EXPECT_EQ(Raw(Fixed("x'0a1b'")), V{"TK_NONNUM_LIT X'0A1B'"});
    EXPECT_EQ(Raw(Fixed("n'ab'")), V{"TK_NONNUM_LIT N'ab'"});
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(Open(Fixed("'" + std::string(64, 'Q')) + Fixed("'R'.", '-')));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(std::string(words[0]->token->image.CStr()), "'" + std::string(64, 'Q') + "R'");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RawWords, BrokenLiterals) {
    // Not continued: closed where the line ends.
    EXPECT_EQ(Raw(Fixed("'ABC") + Fixed("X")), (V{"TK_NONNUM_LIT 'ABC'", "SEP_SPACE", "TK_CHAR_STRING X"}));
    EXPECT_EQ(MessageTexts(), V{"970@1:Nonnumeric literal continues on the next line illegaly: 'ABC'"});
    Messages().clear();
    EXPECT_EQ(Raw(Fixed("X'AB")), V{"TK_NONNUM_LIT X'AB'"});
    EXPECT_EQ(MessageTexts(), V{"970@1:End-of-file in hexadecimal literal"});
    Messages().clear();
    // A continuation whose first word is no delimiter breaks the literal.
    EXPECT_EQ(Raw(Fixed("'ABC") + Fixed("  DEF", '-')), (V{"TK_NONNUM_LIT 'ABC'", "SEP_SPACE", "TK_CHAR_STRING DEF"}));
    EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(RawWords, Separators) {
    struct Case {
        std::string text;
        V words;
    };
    const Case cases[] = {
        {"A. B", {"TK_CHAR_STRING A", "SEP_DOT", "SEP_SPACE", "TK_CHAR_STRING B"}},
        {"A.", {"TK_CHAR_STRING A", "SEP_DOT"}},
        {"1.5", {"TK_CHAR_STRING 1.5"}},
        {"A,B", {"TK_CHAR_STRING A,B"}},
        {"A, B; C", {"TK_CHAR_STRING A", "SEP_COMMA", "SEP_SPACE", "TK_CHAR_STRING B", "SEP_SEMI", "SEP_SPACE",
                     "TK_CHAR_STRING C"}},
        {"X(1:2)", {"TK_CHAR_STRING X", "SEP_LEFT_PAR", "TK_CHAR_STRING 1", "SEP_COLON", "TK_CHAR_STRING 2",
                    "SEP_RIGHT_PAR"}},
        {"A & B", {"TK_CHAR_STRING A", "SEP_SPACE", "SEP_AMPER", "SEP_SPACE", "TK_CHAR_STRING B"}},
        {"==A,==", {"SEP_EQEQ", "TK_CHAR_STRING A", "SEP_COMMA", "SEP_EQEQ"}},
        {"A = B >= C", {"TK_CHAR_STRING A", "SEP_SPACE", "TK_CHAR_STRING =", "SEP_SPACE", "TK_CHAR_STRING B",
                        "SEP_SPACE", "TK_CHAR_STRING >=", "SEP_SPACE", "TK_CHAR_STRING C"}},
        {"move a-b", {"TK_CHAR_STRING MOVE", "SEP_SPACE", "TK_CHAR_STRING A-B"}},
        {"A*>B", {"TK_CHAR_STRING A*>B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Raw(Fixed(c.text)), c.words);
    }
}

TEST_F(RawWords, FloatingCommentsByDialect) {
    Dialect(DIAL_MF);
    ASSERT_TRUE(Open(Fixed("A *> NOTE THIS") + Fixed("B")));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(Describe(words[1]->token), "TK_CHAR_STRING B");
    EXPECT_EQ(Kept(*words[1]), (V{"SEP_SPACE", "CM_COMMENT *>  NOTE THIS", "SEP_SPACE"}));

    Dialect(DIAL_ANSI85);
    EXPECT_EQ(Raw(Fixed("A *> B")), (V{"TK_CHAR_STRING A", "SEP_SPACE", "TK_CHAR_STRING *>", "SEP_SPACE",
                                       "TK_CHAR_STRING B"}));
    Dialect(DIAL_WANG);
    EXPECT_EQ(Raw(Fixed("A % WANG NOTE") + Fixed("B")),
              (V{"TK_CHAR_STRING A", "SEP_SPACE", "SEP_SPACE", "TK_CHAR_STRING B"}));
}

TEST_F(RawWords, CommentLineInsideAFloatingCommentMarkIsKept) {
    // The '>' of "*>" is the first character of a continuation line: the
    // comment line before it travels with it and must not be lost.
    Dialect(DIAL_MF);
    ASSERT_TRUE(Open(Fixed("A *") + Fixed("HERE", '*') + Fixed("    > REST", '-') + Fixed("B")));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(Describe(words[1]->token), "TK_CHAR_STRING B");
    EXPECT_EQ(Kept(*words[1]), (V{"SEP_SPACE", "CM_COMMENT *HERE", "CM_COMMENT *>  REST", "SEP_SPACE"}));
}

// The image of a floating comment is its mark and one blank, then the rest
// of the line exactly as it stands, blanks included.
TEST_F(RawWords, FloatingCommentImageKeepsTheWholeRest) {
    const struct {
        int dialect;
        const char* line;
        const char* image;
    } cases[] = {
        {DIAL_MF, "AA *> a remark", "CM_COMMENT *>  a remark"},
        {DIAL_MF, "AA *>   three", "CM_COMMENT *>    three"},
        {DIAL_MF, "AA *>tight", "CM_COMMENT *> tight"},
        {DIAL_MF, "AA *>", "CM_COMMENT *> "},
        {DIAL_WANG, "AA % wang note", "CM_COMMENT *%  wang note"},
        {DIAL_WANG, "AA %x", "CM_COMMENT *% x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Dialect(c.dialect);
        ASSERT_TRUE(Open(Fixed(c.line) + Fixed("B")));
        std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
        ASSERT_EQ(words.size(), 2u);
        EXPECT_EQ(Describe(words[1]->token), "TK_CHAR_STRING B");
        const V kept = Kept(*words[1]);
        ASSERT_EQ(kept.size(), 3u);
        EXPECT_EQ(kept[1], c.image);
    }
}

// A floating comment's token covers its whole text, its mark included also
// when nothing follows the mark: source printing copies the token's range.
TEST_F(RawWords, FloatingCommentRangeCoversTheWholeComment) {
    const struct {
        const char* line;
        unsigned endColumn;  // 0-based, after the comment
    } cases[] = {{"AA *>", 12}, {"AA *> x", 14}, {"   *>", 12}};
    Dialect(DIAL_MF);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(Open(Fixed(c.line) + Fixed("B")));
        std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
        ASSERT_FALSE(words.empty());
        const DovToken* comment = nullptr;
        for (const ItemPtr& w : words)
            for (const DovToken* t : w->list)
                if (t->code == CM_COMMENT) comment = t;
        ASSERT_NE(comment, nullptr);
        EXPECT_EQ(comment->End().Column(), c.endColumn);
        EXPECT_EQ(comment->End().Line(), comment->Beg().Line());
    }
}

TEST_F(RawWords, BlanksCollapseIntoTheNextWord) {
    ASSERT_TRUE(Open(Fixed("A   , B")));
    std::vector<ItemPtr> words = Items(&DovLexer::GetSpaceCollapsedRawTextWord);
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(Kept(*words[1]), (V{"SEP_SPACE", "SEP_COMMA", "SEP_SPACE"}));
    // With the comma kept as a word it stays in the stream.
    lexer.Reset();
    ASSERT_EQ(lexer.SetInput(dir.Path("src.cbl").c_str()), 0);
    DovReplacePhrase commaPhrase;
    commaPhrase.from.push_back(new DovTokenItem(new DovToken(SEP_COMMA, VString())));
    lexer.replaceStage.phrases.push_back(std::move(commaPhrase));
    EXPECT_EQ(Words(&DovLexer::GetSpaceCollapsedRawTextWord), (V{"TK_CHAR_STRING A", "SEP_COMMA", "TK_CHAR_STRING B"}));
}

TEST_F(RawWords, PushBackStackGrows) {
    ASSERT_TRUE(Open(Fixed("Z")));
    for (int i = 0; i < 500; ++i)
        lexer.UnGetSpaceCollapsedRawTextWord(
            new DovTokenItem(new DovToken(TK_CHAR_STRING, std::to_string(i).c_str())));
    for (int i = 499; i >= 0; --i) {
        ItemPtr item(lexer.GetSpaceCollapsedRawTextWord());
        ASSERT_EQ(Describe(item->token), "TK_CHAR_STRING " + std::to_string(i));
    }
    EXPECT_EQ(Words(&DovLexer::GetSpaceCollapsedRawTextWord), V{"TK_CHAR_STRING Z"});
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RawWords, LongWordIsTruncatedOnce) {
    std::string word(60, 'W');
    ASSERT_TRUE(Open(Fixed(word) + Fixed(word, '-') + Fixed(word, '-')));
    std::vector<ItemPtr> words = Items(&DovLexer::GetRawTextWord);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0]->token->image.Len(), kDovMaxRawWord);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].severity, MSG_ERR);
    EXPECT_EQ(Messages()[0].text.rfind("GetRawTextWord: text-word '", 0), 0u);
    // The whole word's span is kept.
    EXPECT_EQ(words[0]->token->End().Line(), 3u);
}

TEST_F(RawWords, IndicatorWarnings) {
    ASSERT_TRUE(Open(Fixed("A", 'X') + Fixed("B", 'X') + Fixed("C", 'X')));
    Words(&DovLexer::GetRawTextWord);
    EXPECT_EQ(MessageTexts(), V{"969@1:Unrecognized character 'X' in indicator area."});
    Messages().clear();
    ASSERT_TRUE(Open(Fixed("A", 'X') + Fixed("B", 'Y') + Fixed("C", 'X')));
    Words(&DovLexer::GetRawTextWord);
    EXPECT_EQ(Messages().size(), 3u);
}

TEST_F(RawWords, ContinuationWithoutLineBefore) {
    EXPECT_EQ(Raw(Fixed("  ABC", '-')), V{"TK_CHAR_STRING ABC"});
    EXPECT_EQ(MessageTexts(), V{"970@1:There is no line to be continued"});
}

TEST_F(RawWords, IncLineBecomesPendingNode) {
    ASSERT_TRUE(Open(Fixed("A") + "-INC MEMBER OTHER WORDS\n" + Fixed("B")));
    std::vector<ItemPtr> items = Items(&DovLexer::GetRawTextWord);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(Describe(items[1]->token), "SEP_COPY_INC");
    EXPECT_TRUE(items[1]->token->Beg().IsNull());
    DovExpr* node = lexer.TakeMarkerNode(SEP_COPY_INC);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Oper(), STMT_UNINLINED_COPY);
    EXPECT_EQ(node->ArgSlots(0)->tokens.First()->code, TK__INC);
    ASSERT_NE(node->Args(0), nullptr);
    EXPECT_EQ(node->Args(0)->Oper(), OF_IN_LIST);
    EXPECT_STREQ(node->Args(0)->Args(0)->Image().CStr(), "MEMBER");
    delete node;
}

TEST_F(RawWords, FreeFormat) {
    lexer.lineFormat = LINE_FORMAT_FREE;
    EXPECT_EQ(Raw("MOVE 'AB\n-'CD' TO X.\n*comment\n"),
              (V{"TK_CHAR_STRING MOVE", "SEP_SPACE", "TK_NONNUM_LIT 'AB" + std::string(72 - 8, ' ') + "CD'",
                 "SEP_SPACE", "TK_CHAR_STRING TO", "SEP_SPACE", "TK_CHAR_STRING X", "SEP_DOT"}));
}

TEST(NonnumLiteralValue, Images) {
    struct Case {
        const char* image;
        const char* value;
        bool error;
    };
    const Case cases[] = {
        {"'ABC'", "ABC", false},    {"\"A\"\"B\"", "A\"B", false}, {"X'C1'", "C1", false},
        {"h'0A'", "0A", false},     {"N'ab'", "ab", false},         {"''", "", false},
        {"ABC", "", true},          {"'AB'C'", "AB", true},         {"'ABC", "ABC", true},
    };
    static std::vector<int> severities;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        severities.clear();
        VString value = DovNonnumLiteralValue(
            [](int severity, const DovTxtPosn&, const VString&) { severities.push_back(severity); }, c.image,
            DovNullPosn);
        EXPECT_STREQ(value.CStr(), c.value);
        EXPECT_EQ(!severities.empty(), c.error);
        if (!severities.empty()) {
            EXPECT_EQ(severities[0], MSG_SEVERE);
        }
    }
}

}  // namespace
