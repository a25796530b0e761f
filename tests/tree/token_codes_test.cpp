// The generated token codes and keyword tables against the families, fixed
// codes and totals they must keep.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tree/tree.h"

namespace {

struct FamilyRanges {
    const char* prefix;
    std::vector<std::pair<int, int>> ranges;
};

// Written out here on purpose rather than read from tokens.def: the test must
// catch a data file that drifts from them.
const std::vector<FamilyRanges>& Families() {
    static const std::vector<FamilyRanges> families = {
        {"PRTY_", {{257, 257}}},
        {"RW_", {{258, 298}, {302, 395}, {425, 426}, {442, 957}, {973, 1133}}},
        {"RW__NOT_KEYWORD", {{1134, 1134}}},
        {"TK_", {{299, 299}, {414, 421}, {963, 967}}},
        {"CMB_", {{300, 301}}},
        {"SEP_", {{396, 411}}},
        {"PRESERVED_", {{412, 413}}},
        {"UW_", {{422, 424}, {1734, 1734}}},
        {"OP_", {{427, 441}}},
        {"CM_", {{958, 962}}},
        {"MSG_", {{968, 972}}},
        {"ST_", {{1135, 1158}}},
        {"STK_", {{1159, 1413}}},
        {"CTK_", {{1414, 1733}}},
    };
    return families;
}

const FamilyRanges* FamilyOf(const std::string& name) {
    const FamilyRanges* best = nullptr;
    for (const auto& f : Families())
        if (name.rfind(f.prefix, 0) == 0 && (!best || std::strlen(f.prefix) > std::strlen(best->prefix))) best = &f;
    return best;
}

TEST(TokenCodes, EveryCodeHasOneNameInsideItsFamily) {
    std::set<std::string> seen;
    for (int code = kDovFirstTokenCode; code <= kDovLastTokenCode; ++code) {
        const char* name = DovTokenName(code);
        ASSERT_NE(name, nullptr) << code;
        SCOPED_TRACE(std::to_string(code) + " " + name);
        EXPECT_TRUE(seen.insert(name).second) << "name given twice";
        const FamilyRanges* f = FamilyOf(name);
        ASSERT_NE(f, nullptr);
        bool inside = false;
        for (auto [a, b] : f->ranges) inside = inside || (code >= a && code <= b);
        EXPECT_TRUE(inside) << "outside family " << f->prefix;
    }
    EXPECT_EQ(kDovFirstTokenCode, 257);
    EXPECT_EQ(kDovLastTokenCode, 1734);
    EXPECT_EQ(DovTokenNames[kDovLastTokenCode - kDovFirstTokenCode + 1], nullptr);
    EXPECT_EQ(DovTokenName(256), nullptr);
    EXPECT_EQ(DovTokenName(1735), nullptr);
}

TEST(TokenCodes, FixedCodes) {
    const std::pair<int, const char*> fixed[] = {
        {PRTY_LOW, "PRTY_LOW"},
        {RW_ACCEPT, "RW_ACCEPT"},
        {RW_DATA_DIVISION, "RW_DATA_DIVISION"},
        {RW_FILE_SECTION, "RW_FILE_SECTION"},
        {RW_INPUT_OUTPUT_SECTION, "RW_INPUT_OUTPUT_SECTION"},
        {RW_ENVIRONMENT_DIVISION, "RW_ENVIRONMENT_DIVISION"},
        {RW_ID_DIVISION, "RW_ID_DIVISION"},
        {RW_END_DECLARATIVES, "RW_END_DECLARATIVES"},
        {RW_END_PROGRAM, "RW_END_PROGRAM"},
        {TK_AREA_A_NAME, "TK_AREA_A_NAME"},
        {CMB_NOT_ON_AT, "CMB_NOT_ON_AT"},
        {CMB_ON_BEF_KWD, "CMB_ON_BEF_KWD"},
        {SEP_UNINLINED_COPY, "SEP_UNINLINED_COPY"},
        {SEP_REPLACE, "SEP_REPLACE"},
        {SEP_ERROR, "SEP_ERROR"},
        {SEP_DOT, "SEP_DOT"},
        {SEP_SPACE, "SEP_SPACE"},
        {SEP_EOF, "SEP_EOF"},
        {PRESERVED_SPACE, "PRESERVED_SPACE"},
        {PRESERVED_STRING, "PRESERVED_STRING"},
        {TK_NONNUM_LIT, "TK_NONNUM_LIT"},
        {TK_USER_DEFD_WORD, "TK_USER_DEFD_WORD"},
        {TK_FUNC_NAME_WITH_ARGS, "TK_FUNC_NAME_WITH_ARGS"},
        {UW_SYMBOLIC_CHAR, "UW_SYMBOLIC_CHAR"},
        {UW_CONSTANT_NAME, "UW_CONSTANT_NAME"},
        {OP_ABBR_AND_OR, "OP_ABBR_AND_OR"},
        {OP_UN_PLUS, "OP_UN_PLUS "},
        {OP_UN_MINUS, "OP_UN_MINUS"},
        {OP_LE, "OP_LE"},
        {CM_BLANK_LINE, "CM_BLANK_LINE"},
        {CM_COMMENT, "CM_COMMENT"},
        {CM_LIBR_INC, "CM_LIBR_INC"},
        {TK_COPY, "TK_COPY"},
        {TK__INC, "TK__INC"},
        {TK_SQL, "TK_SQL"},
        {MSG_INFO, "MSG_INFO"},
        {MSG_TERMINAL, "MSG_TERMINAL"},
        {RW_TIMESTAMP, "RW_TIMESTAMP"},
        {RW__NOT_KEYWORD, "RW__NOT_KEYWORD"},
        {ST_EXACT_NUM_LIT, "ST_EXACT_NUM_LIT"},
        {ST_DELIM_IDENT, "ST_DELIM_IDENT"},
        {ST_RIGHT_ANGLE, "ST_RIGHT_ANGLE"},
        {STK_WITH_HOLD, "STK_WITH_HOLD"},
        {STK_WITH_RETURN, "STK_WITH_RETURN"},
        {STK_ABSOLUTE, "STK_ABSOLUTE"},
        {STK_ZONE, "STK_ZONE"},
        {CTK_ABCODE, "CTK_ABCODE"},
        {CTK_YYYYMMDD, "CTK_YYYYMMDD"},
        {UW_USER_FIG_CONST, "UW_USER_FIG_CONST"},
    };
    const int codes[] = {257, 258, 292, 293, 294, 295, 296, 297, 298, 299, 300, 301, 396, 400, 401, 404, 405, 411,
                         412, 413, 414, 419, 421, 422, 424, 427, 434, 435, 441, 958, 959, 962, 963, 964, 967, 968,
                         972, 1133, 1134, 1135, 1139, 1158, 1159, 1160, 1161, 1413, 1414, 1733, 1734};
    ASSERT_EQ(std::size(fixed), std::size(codes));
    for (std::size_t i = 0; i < std::size(fixed); ++i) {
        EXPECT_EQ(fixed[i].first, codes[i]) << fixed[i].second;
        EXPECT_STREQ(DovTokenName(codes[i]), fixed[i].second);
    }
    // The message severities are the same numbers in both enumerations.
    EXPECT_EQ(MSG_ERR, 970);
    EXPECT_STREQ(DovTokenName(MSG_SEVERE), "MSG_SEVERE");
}

TEST(Keywords, TableTotals) {
    int count = 0;
    std::set<std::string> words, extra;
    std::map<std::uint32_t, int> by_flags;
    for (const KeywordEntry* e = DovKeywordTable; e->word; ++e, ++count) {
        SCOPED_TRACE(e->word);
        EXPECT_TRUE(words.insert(e->word).second) << "listed twice";
        const char* name = DovTokenName(e->code);
        ASSERT_NE(name, nullptr);
        std::string want = std::string("RW_") + e->word;
        for (char& c : want)
            if (c == '-') c = '_';
        EXPECT_EQ(want, name);
        EXPECT_NE(e->dials & ~1u, 0u) << "reserved nowhere";
        EXPECT_EQ(e->dials & 0xfc000000u, 0u) << "bits beyond the dialects";
        if (e->dials & 1u) extra.insert(e->word);
        ++by_flags[e->dials];
    }
    EXPECT_EQ(count, 769);
    EXPECT_EQ(count, kDovKeywordCount);
    EXPECT_EQ(DovKeywordTable[count].code, -1);
    EXPECT_EQ(DovKeywordTable[count].dials, 0u);
    EXPECT_STREQ(DovKeywordTable[0].word, "ACCEPT");
    EXPECT_STREQ(DovKeywordTable[count - 1].word, "ZEROS");

    const std::set<std::string> want_extra = {
        "ARGUMENT-NUMBER", "ARGUMENT-VALUE", "ASCII", "CALL-CONVENTION", "COMMAND-LINE", "DATABASE-NAME",
        "EBCDIC", "ENVIRONMENT-NAME", "ENVIRONMENT-VALUE", "EXTENT", "F", "FILE-CLASS", "FILENAME", "FORMFEED",
        "LIBRARY", "PRINT-CLASS", "RECOVERY-BLOCKS", "RECOVERY-STATUS", "S", "SWITCH", "SWITCH-0", "SWITCH-1",
        "SWITCH-2", "SWITCH-3", "SWITCH-4", "SWITCH-5", "SWITCH-6", "SWITCH-7", "SWITCH-8", "TAB", "U", "V",
        "VOLUME"};
    EXPECT_EQ(extra, want_extra);

    // The common words of the standard dialects, and the words of single
    // dialects.
    EXPECT_EQ(by_flags[0xffd35e], 254);
    EXPECT_EQ(by_flags[0xfc8f54], 45);
    EXPECT_EQ(by_flags[0x80000], 83);
    EXPECT_EQ(by_flags[0x40000], 39);
    EXPECT_EQ(by_flags[0x1000000], 21);
    EXPECT_EQ(by_flags[0x10018], 20);
}

TEST(Keywords, WordOfCodeIgnoresDialects) {
    EXPECT_STREQ(DovKeywordWordOfCode(RW_MOVE), "MOVE");
    EXPECT_STREQ(DovKeywordWordOfCode(RW_I_O_CONTROL), "I-O-CONTROL");
    EXPECT_STREQ(DovKeywordWordOfCode(RW_SWITCH_1), "SWITCH-1");
    EXPECT_EQ(DovKeywordWordOfCode(RW_DATA_DIVISION), nullptr);
    EXPECT_EQ(DovKeywordWordOfCode(SEP_DOT), nullptr);
}

void CheckNameTable(const char* const* table, int first, int last, int count) {
    int n = 0;
    while (table[n]) ++n;
    ASSERT_EQ(n, count);
    ASSERT_EQ(last - first + 1, count);
    for (int i = 1; i < n; ++i) EXPECT_LT(std::strcmp(table[i - 1], table[i]), 0) << table[i];
}

TEST(Keywords, SqlAndCicsNameTables) {
    CheckNameTable(DovSqlKeywordNames, kDovSqlKeywordFirst, kDovSqlKeywordLast, 253);
    CheckNameTable(DovCicsKeywordNames, kDovCicsKeywordFirst, kDovCicsKeywordLast, 320);
    EXPECT_STREQ(DovSqlKeywordName(1161), "ABSOLUTE");
    EXPECT_STREQ(DovSqlKeywordName(1413), "ZONE");
    EXPECT_STREQ(DovSqlKeywordName(STK_CURRENT_DATE), "CURRENT_DATE");
    EXPECT_EQ(DovSqlKeywordName(STK_WITH_HOLD), nullptr);
    EXPECT_EQ(DovSqlKeywordName(1414), nullptr);
    EXPECT_STREQ(DovCicsKeywordName(1414), "ABCODE");
    EXPECT_STREQ(DovCicsKeywordName(1733), "YYYYMMDD");
    EXPECT_STREQ(DovCicsKeywordName(CTK_L40), "L40");
    EXPECT_EQ(DovCicsKeywordName(1734), nullptr);
    // Each name is its token's name without the prefix.
    for (int code = kDovSqlKeywordFirst; code <= kDovSqlKeywordLast; ++code)
        EXPECT_EQ(std::string("STK_") + DovSqlKeywordName(code), DovTokenName(code));
    for (int code = kDovCicsKeywordFirst; code <= kDovCicsKeywordLast; ++code)
        EXPECT_EQ(std::string("CTK_") + DovCicsKeywordName(code), DovTokenName(code));
}

}  // namespace
