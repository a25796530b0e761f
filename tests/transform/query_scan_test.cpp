// The query scanner: tokens, modes, keywords and relations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "transform/transform.h"

namespace {

std::string Str(const VString& v) { return std::string(v.CStr(), static_cast<std::size_t>(v.Len())); }

// Every token of `text`, joined by " | ".
std::string Tokens(const char* text) {
    const VString t(text);
    VString buf;
    int mode = QS_RESET;
    DovQueryNextToken(t, buf, mode);
    std::string out;
    for (int guard = 0; guard < 100; ++guard) {
        DovQueryNextToken(t, buf, mode);
        if (buf.IsEmpty()) break;
        if (!out.empty()) out += " | ";
        out += Str(buf);
    }
    return out;
}

TEST(QueryScan, Tokens) {
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"arg 2", "ARG | 2"},
        {"ENCL-STMT encl-section", "ENCL-STMT | ENCL-SECTION"},
        {"a-b", "A-B"},
        {"a - b", "A | - | B"},
        {"12abc", "12 | ABC"},
        {"x // note (\ny", "X | Y"},
        {"x // note\r y", "X | Y"},
        {"a / b", "A | / | B"},
        {"a//", "A"},
        {"@a[b]\\^_`c", "@A[B]\\^_`C"},
        {"== != >= <= > < = ! !!", "== | != | >= | <= | > | < | = | ! | ! | !"},
        {"&& & || | &&&", "&& | & | || | | | && | &"},
        {"( ) , + - * / ~ . { }", "( | ) | , | + | - | * | / | ~ | . | { | }"},
        {"'it''s'", "'it's'"},
        {"'a\\'b'", "'a'b'"},
        {"'x\\ny\\tz\\r\\\\'", "'x\ny\tz\r\\'"},
        {"\"a'b\"", "\"a'b\""},
        {"'' x", "'' | X"},
        {"''' x", "'' | '"},
        {"'a''\\b'", "'a'\\b'"},
        {"'abc", "'"},
        {"x 'abc", "X | '"},
        {"\t\n\r x", "X"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Tokens(c.text), c.tokens) << "text: " << c.text;
}

TEST(QueryScan, NonAsciiAndNulBytes) {
    const char raw[] = {'a', '\xe9', 'b', '\0', 'c'};
    const VString t(raw, 5);
    VString buf;
    int mode = QS_RESET;
    DovQueryNextToken(t, buf, mode);
    std::vector<std::string> got;
    for (int i = 0; i < 10; ++i) {
        DovQueryNextToken(t, buf, mode);
        if (buf.IsEmpty()) break;
        got.push_back(Str(buf));
    }
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], "A");
    EXPECT_EQ(got[1], "\xe9");
    EXPECT_EQ(got[3], std::string(1, '\0'));
}

TEST(QueryScan, Modes) {
    const VString t("  abc  def");
    VString buf;
    int mode = QS_RESET;
    DovQueryNextToken(t, buf, mode);
    EXPECT_EQ(mode, QS_READ);
    EXPECT_TRUE(buf.IsEmpty());
    EXPECT_EQ(Str(DovQueryNextToken(t, buf, mode)), "ABC");
    mode = QS_POSITION;
    DovQueryNextToken(t, buf, mode);
    EXPECT_EQ(mode, 2);  // the column of the last token
    EXPECT_EQ(Str(buf), "ABC");
    mode = QS_REREAD;
    EXPECT_EQ(Str(DovQueryNextToken(t, buf, mode)), "ABC");
    EXPECT_EQ(mode, QS_READ);
    EXPECT_EQ(Str(DovQueryNextToken(t, buf, mode)), "DEF");
    mode = QS_EQUALS;
    EXPECT_EQ(Str(DovQueryNextToken(t, buf, mode)), "==");
    EXPECT_EQ(mode, QS_REREAD);
    EXPECT_EQ(Str(DovQueryNextToken(t, buf, mode)), "DEF");
    EXPECT_TRUE(DovQueryNextToken(t, buf, mode).IsEmpty());
    EXPECT_TRUE(DovQueryNextToken(t, buf, mode).IsEmpty());  // stays at the end
    mode = QS_POSITION;
    DovQueryNextToken(t, buf, mode);
    EXPECT_EQ(mode, 10);
}

TEST(QueryScan, Keywords) {
    const struct {
        const char* word;
        int code;
    } rows[] = {
        {"OP", 7}, {"ARG", 17}, {"CHILD", 17}, {"+", 45}, {"-", 46}, {"*", 47}, {"DIV", 48}, {"MOD", 49},
        {"(", 50}, {")", 51}, {",", 52}, {"SUBSTR", 25}, {"TRUE", 2}, {"FALSE", 3}, {"IMAGE", 21},
        {"VALUE", 22}, {"FIND", 18}, {"PARENT", 19}, {"FROMSRC", 32}, {"ARGNO", 28}, {"NODE", 38},
        {"STR", 40}, {"INTVALUE", 29}, {"ISDESCOF", 30}, {"ENCL-STMT", 33}, {"ENCL-SECTION", 34},
        {"LOWER", 23}, {"UPPER", 24}, {"INDEX", 35}, {"SPECREG", 31}, {"INT", 39}, {"LINK", 20},
        {"AND", 0}, {"NOT", 0}, {"NULL", 0}, {"LIKE", 0}, {"image", 0}, {"OPS", 0}, {"", 0}, {"ARGN", 0},
    };
    for (const auto& r : rows) {
        VString w(r.word);
        EXPECT_EQ(DovQueryKeyword(w), r.code) << r.word;
    }
    VString child("CHILD");
    DovQueryKeyword(child);
    EXPECT_EQ(Str(child), "ARG");
    // Names are upper-cased by the scanner, so keywords are case-blind.
    EXPECT_EQ(Tokens("child Image"), "CHILD | IMAGE");
    const VString t("child");
    VString buf;
    int mode = QS_RESET, code = -1;
    DovQueryNextToken(t, buf, mode);
    DovQueryNextKeyword(t, buf, mode, code);
    EXPECT_EQ(code, 17);
    EXPECT_EQ(Str(buf), "ARG");
}

struct RelationResult {
    int relation, exact, negate;
    std::string next;  // the token the following read delivers
};

// The relation read at the token that follows the first `operand_tokens`
// tokens of `text`, and the token that the next read then delivers.
RelationResult Relation(const char* text, int operand_tokens) {
    const VString t(text);
    VString tok;
    int mode = QS_RESET;
    DovQueryNextToken(t, tok, mode);
    for (int i = 0; i < operand_tokens; ++i) DovQueryNextToken(t, tok, mode);
    DovQueryNextToken(t, tok, mode);  // the token after the operand
    RelationResult r{};
    r.relation = DovQueryRelation(t, tok, r.exact, r.negate, mode);
    DovQueryNextToken(t, tok, mode);
    r.next = Str(tok);
    return r;
}

TEST(QueryScan, Relations) {
    const struct {
        const char* text;
        int relation, exact, negate;
        const char* next;
    } cases[] = {
        {"IMAGE ~ 'X*'", 1, 0, 0, "'X*'"},
        {"IMAGE == ~ 'X*'", 1, 0, 0, "'X*'"},
        {"IMAGE ~ ~ 'X'", 0, 0, 0, "~"},
        {"IMAGE NOT == 'A'", 1, 1, 1, "'A'"},
        {"IMAGE ! > 'A'", 2, 1, 1, "'A'"},
        {"IMAGE NOT != 'A'", 1, 1, 1, "'A'"},
        {"ARG 1 == NULL", 7, 1, 0, ""},
        {"ARG 1 ~ NULL", 7, 0, 0, ""},
        {"ARG 1 != NULL", 7, 1, 1, ""},
        {"ARG 1 > NULL", 2, 1, 0, "NULL"},
        {"ARG 1 AND X", 7, 1, 1, "AND"},
        {"ARG 1 ) X", 7, 1, 1, ")"},
        {"ARG 1 || X", 7, 1, 1, "||"},
        {"ARG 1 = X", -1, 1, 0, "X"},
        {"X > 5", 2, 1, 0, "5"},
        {"X >= 5", 3, 1, 0, "5"},
        {"X < 5", 4, 1, 0, "5"},
        {"X <= 5", 5, 1, 0, "5"},
        {"X 5", 0, 1, 0, ""},
        {"X NOT 5", 0, 1, 1, ""},
    };
    for (const auto& c : cases) {
        const RelationResult r = Relation(c.text, std::strncmp(c.text, "ARG 1", 5) == 0 ? 2 : 1);
        EXPECT_EQ(r.relation, c.relation) << c.text;
        EXPECT_EQ(r.exact, c.exact) << c.text;
        EXPECT_EQ(r.negate, c.negate) << c.text;
        EXPECT_EQ(r.next, c.next) << c.text;
    }
}

TEST(QueryScan, ConnectivesAndUpperCase) {
    for (const char* w : {"||", "AND", "OR", "&&"}) {
        EXPECT_TRUE(DovQueryIsConnective(w, 0)) << w;
        EXPECT_TRUE(DovQueryIsConnective(w, 1)) << w;
    }
    EXPECT_TRUE(DovQueryIsConnective(")", 0));
    EXPECT_FALSE(DovQueryIsConnective(")", 1));
    EXPECT_FALSE(DovQueryIsConnective("NOT", 0));
    EXPECT_FALSE(DovQueryIsConnective("and", 0));
    char text[] = "az{|}~\x7f" "AZ\xe9";
    EXPECT_STREQ(DovQueryToUpper(text), "AZ[\\]^_" "AZ\xe9");
    EXPECT_EQ(DovQueryToUpper(nullptr), nullptr);
}

}  // namespace
