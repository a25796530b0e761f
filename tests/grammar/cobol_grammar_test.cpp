// The COBOL grammar's tables over the frame, with a token source of plain
// token codes standing in for the parser's token adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "tree/token_codes.h"

namespace {

std::vector<int> tokens;
std::size_t next_token = 0;
int reports = 0;
int report_code = -1;

// Called before each token is handed out, with its index.
void (*before_token)(std::size_t index) = nullptr;

int CodeSource() {
    yylval = nullptr;
    yyposn = nullptr;
    if (before_token) before_token(next_token);
    return next_token < tokens.size() ? tokens[next_token++] : 0;
}

void CountReport(const char*, int code, YYSTYPE*, YYPOSN*) {
    ++reports;
    report_code = code;
}

int ParseCodes(const std::vector<int>& codes) {
    tokens = codes;
    next_token = 0;
    reports = 0;
    report_code = -1;
    const DovGrammarServices saved = DovCobolGrammar.services;
    DovCobolGrammar.services = {};
    DovCobolGrammar.services.lex = CodeSource;
    DovCobolGrammar.services.report_syntax_error = CountReport;
    const int result = yyparse();
    DovCobolGrammar.services = saved;
    // The start symbol's position is the caller's (the parser drops it).
    delete yyretposn;
    yyretposn = nullptr;
    return result;
}

using V = std::vector<int>;
const V kIdDivision = {RW_ID_DIVISION, SEP_DOT, RW_PROGRAM_ID, SEP_DOT, TK_USER_DEFD_WORD, SEP_DOT};

V Join(std::initializer_list<V> parts) {
    V out;
    for (const V& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(CobolGrammar, AcceptsTheProgramFrame) {
    const V procedure = {RW_PROCEDURE, RW_DIVISION, SEP_DOT};
    const V cases[] = {
        // Two sections with paragraphs, PERFORM ... THRU, GO TO, STOP RUN.
        Join({kIdDivision, procedure,
              {TK_AREA_A_NAME, RW_SECTION, SEP_DOT, TK_AREA_A_NAME, SEP_DOT, RW_PERFORM, TK_USER_DEFD_WORD, RW_THRU,
               TK_USER_DEFD_WORD, RW_GO, RW_TO, TK_USER_DEFD_WORD, SEP_DOT, TK_AREA_A_NAME, RW_SECTION, SEP_DOT,
               TK_AREA_A_NAME, SEP_DOT, RW_STOP, RW_RUN, SEP_DOT}}),
        // The first program without the division header, or without both.
        Join({{RW_PROGRAM_ID, SEP_DOT, TK_USER_DEFD_WORD, SEP_DOT}, procedure, {RW_GOBACK, SEP_DOT}}),
        Join({procedure, {RW_CONTINUE, SEP_DOT}}),
        // PROGRAM-ID with attributes and a literal name, no procedure division.
        {RW_ID_DIVISION, SEP_DOT, RW_PROGRAM_ID, SEP_DOT, TK_NONNUM_LIT, RW_IS, RW_COMMON, RW_INITIAL, RW_PROGRAM,
         SEP_DOT},
        // EXIT in its forms, NEXT SENTENCE, segment numbers, qualified names,
        // a sentence that is only a period.
        Join({kIdDivision, procedure,
              {TK_INT_NUM_LIT, RW_SECTION, TK_INT_NUM_LIT, SEP_DOT, TK_INT_NUM_LIT, SEP_DOT, RW_EXIT, SEP_DOT,
               RW_EXIT, RW_PROGRAM, RW_EXIT, RW_PARAGRAPH, RW_EXIT, RW_SECTION, RW_EXIT_PERFORM, RW_EXIT_PERFORM,
               RW_CYCLE, RW_NEXT_SENTENCE, SEP_DOT, SEP_DOT, RW_PERFORM, TK_USER_DEFD_WORD, RW_OF, TK_AREA_A_NAME,
               RW_THROUGH, TK_USER_DEFD_WORD, RW_IN, TK_USER_DEFD_WORD, RW_GO, TK_USER_DEFD_WORD, SEP_DOT}}),
        // Programs one after another, with END PROGRAM.
        Join({kIdDivision, procedure, {RW_GOBACK, SEP_DOT, RW_END_PROGRAM, TK_USER_DEFD_WORD, SEP_DOT}, kIdDivision,
              {RW_END_PROGRAM, TK_USER_DEFD_WORD, SEP_DOT}, kIdDivision}),
    };
    int i = 0;
    for (const V& c : cases) {
        SCOPED_TRACE(i++);
        EXPECT_EQ(ParseCodes(c), 0);
        EXPECT_EQ(reports, 0);
    }
}

TEST(CobolGrammar, GarbageSentenceIsReportedOnceAndTheNextParagraphParses) {
    const V program =
        Join({kIdDivision,
              {RW_PROCEDURE, RW_DIVISION, SEP_DOT, TK_AREA_A_NAME, SEP_DOT, RW_RUN, RW_RUN, RW_STOP, SEP_DOT,
               TK_AREA_A_NAME, SEP_DOT, RW_STOP, RW_RUN, SEP_DOT}});
    EXPECT_EQ(ParseCodes(program), 0);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(report_code, RW_RUN);
    EXPECT_EQ(yynerrs, 1);
}

TEST(CobolGrammar, EmptySourceAndBadStartAreRejected) {
    EXPECT_EQ(ParseCodes({}), 1);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(ParseCodes({RW_STOP, RW_RUN, SEP_DOT}), 1);
    EXPECT_EQ(reports, 1);
}

TEST(CobolGrammar, WithoutATokenSourceTheParseGivesUp) {
    const DovGrammarServices saved = DovCobolGrammar.services;
    DovCobolGrammar.services = {};
    EXPECT_EQ(yyparse(), 1);
    DovCobolGrammar.services = saved;
}

TEST(CobolGrammar, DialectsAndEmbeddedLanguages) {
    DovDials set = DovNoDials();
    EXPECT_TRUE(DovGrammarAcceptsDials(set));
    DovDialsAdd(set, DIAL_MF);
    DovDialsAdd(set, DIAL_ANSI85);
    EXPECT_TRUE(DovGrammarAcceptsDials(set));
    for (int refused : {DIAL_WANG, DIAL_DML}) {
        DovDials with = set;
        DovDialsAdd(with, refused);
        EXPECT_FALSE(DovGrammarAcceptsDials(with)) << refused;
    }
    EXPECT_FALSE(DovGrammarAcceptsDials(DovAllDials()));
    EXPECT_EQ(DovGrammarHasSql, 1);
    EXPECT_EQ(DovGrammarHasCics, 1);
}

int RuleNumber(const char* text) {
    const DovGrammarTables& t = DovCobolGrammarTables;
    for (int r = 0; r < t.rule_count; ++r)
        if (std::string(t.rule_texts[r]) == text) return r;
    return -1;
}

unsigned counts[4096];
int names_rule = -1, reserved_rule = -1;
std::vector<std::string> marker_faults;

// The name is token 4 of kIdDivision: the marker before it must have been
// reduced before it is read, and the one after it before token 5.
void CheckMarkers(std::size_t index) {
    if (index == 4 && counts[names_rule] != 1) marker_faults.push_back("reserved-word check still on at the name");
    if (index == 4 && counts[reserved_rule] != 0) marker_faults.push_back("check back on before the name");
    if (index == 5 && counts[reserved_rule] != 1) marker_faults.push_back("check still off after the name");
}

TEST(CobolGrammar, ProgramIdMarkersTakeEffectBeforeTheNextTokenIsRead) {
    names_rule = RuleNumber("mark_names_as_words :");
    reserved_rule = RuleNumber("mark_words_reserved :");
    ASSERT_GT(names_rule, 0);
    ASSERT_GT(reserved_rule, 0);
    ASSERT_LT(DovCobolGrammarTables.rule_count, 4096);
    std::fill(std::begin(counts), std::end(counts), 0u);
    marker_faults.clear();
    DovCobolGrammar.rule_counts = counts;
    before_token = CheckMarkers;
    EXPECT_EQ(ParseCodes(Join({kIdDivision, {RW_PROCEDURE, RW_DIVISION, SEP_DOT, RW_GOBACK, SEP_DOT}})), 0);
    before_token = nullptr;
    DovCobolGrammar.rule_counts = nullptr;
    EXPECT_TRUE(marker_faults.empty()) << marker_faults.front();
    EXPECT_EQ(counts[names_rule], 1u);
}

TEST(CobolGrammar, TablesComeFromTheGrammarFile) {
    const DovGrammarTables& t = DovCobolGrammarTables;
    EXPECT_STREQ(t.name, "cobol");
    EXPECT_EQ(t.lhs[0], -1);
    EXPECT_EQ(t.len[0], 2);
    EXPECT_GE(t.max_token, 1733);
    ASSERT_NE(t.token_names, nullptr);
    EXPECT_STREQ(t.token_names[RW_PROGRAM_ID], "RW_PROGRAM_ID");
    EXPECT_STREQ(t.rule_texts[1], "source_file : first_program program_list");
}

// The frame calls the action function only for the rules listed as having
// an action: the list must hold every rule with an action case and no other.
TEST(CobolGrammar, ActionRulesListTheRulesWithAnAction) {
    const DovGrammarTables& t = DovCobolGrammarTables;
    ASSERT_NE(t.action_rules, nullptr);
    std::vector<bool> listed(static_cast<std::size_t>(t.rule_count), false);
    int previous = -1;
    for (const int* a = t.action_rules; *a >= 0; ++a) {
        ASSERT_LT(*a, t.rule_count);
        EXPECT_GT(*a, previous);
        previous = *a;
        listed[static_cast<std::size_t>(*a)] = true;
    }
    struct Case {
        const char* rule;
        bool has_action;
    };
    for (const Case& c : {Case{"device_is_value : RW_CRT", true}, Case{"device_is_value : mnemonic_name_def", true},
                          Case{"_is : RW_IS", false}, Case{"_is :", false},
                          Case{"source_file : first_program program_list", false}}) {
        const int rule = RuleNumber(c.rule);
        ASSERT_GT(rule, 0) << c.rule;
        EXPECT_EQ(listed[static_cast<std::size_t>(rule)], c.has_action) << c.rule;
    }
}

}  // namespace
