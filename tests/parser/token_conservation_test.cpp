// Token conservation over the corpus: what the token adapter delivers in its
// positions (and in the nodes of the COPY markers, and at the end of input)
// is exactly what the lexer produced, in order. Each file is read twice with
// the same settings: once straight from the lexer, once through yylex.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/cmdline.h"
#include "tests/parser/token_fixture.h"
#include "tests/support/corpus.h"

namespace {

using vemlo_test::Copy;
using vemlo_test::PosnToken;

struct Entry {
    int code;
    std::string image;
    DovTxtPosn beg, end;
    bool main;  // the token of an item (not one kept before it)
};

void Add(std::vector<Entry>& out, const DovTokenList& list, bool main) {
    for (const PosnToken& t : Copy(list)) out.push_back({t.code, t.image, t.beg, t.end, main});
}

struct Pair {
    int first, second;
};
// The keyword pairs the adapter merges.
const Pair kPairs[] = {
    {RW_DATA, RW_DIVISION},    {RW_FILE, RW_SECTION},        {RW_INPUT_OUTPUT, RW_SECTION},
    {RW_ENVIRONMENT, RW_DIVISION}, {RW_ID, RW_DIVISION},     {RW_IDENTIFICATION, RW_DIVISION},
    {RW_END, RW_PROGRAM},      {RW_END, RW_DECLARATIVES},    {RW_EXIT, RW_PERFORM},
    {RW_NEXT, RW_SENTENCE},    {RW_WITH, RW_DATA},           {OP_MUL, OP_MUL},
    {OP_GT, OP_EQ},            {OP_LT, OP_EQ},               {OP_LT, OP_GT},
    {STK_WITH, STK_HOLD},      {STK_WITH, STK_RETURN},
};

bool Merges(int first, int second) {
    for (const Pair& p : kPairs)
        if (p.first == first && p.second == second) return true;
    return false;
}

// The lexer's stream as the adapter arranges it: a merged pair is one token
// spanning both, with the tokens kept before the second one in front of it.
std::vector<Entry> MergePairs(const std::vector<Entry>& in) {
    std::vector<Entry> out;
    int lastMain = -1;  // index in `out`
    bool lastMerged = false;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const Entry& e = in[i];
        if (e.main && lastMain >= 0 && !lastMerged && Merges(out[lastMain].code, e.code)) {
            Entry first = out[lastMain];
            first.end = e.end;
            // Kept tokens of the second move before the merged token.
            std::vector<Entry> kept(out.begin() + lastMain + 1, out.end());
            out.resize(lastMain);
            out.insert(out.end(), kept.begin(), kept.end());
            out.push_back(first);
            lastMain = static_cast<int>(out.size()) - 1;
            lastMerged = true;
            continue;
        }
        out.push_back(e);
        if (e.main) {
            lastMain = static_cast<int>(out.size()) - 1;
            lastMerged = false;
        }
    }
    return out;
}

bool IsMarkerCode(int code) {
    return code == SEP_UNINLINED_COPY || code == SEP_INLINED_COPY || code == SEP_COPY_INC || code == SEP_REPLACE;
}

std::vector<Entry>* collecting = nullptr;

// The grammar of the reference pass: tokens straight from the lexer.
int LexerPass() {
    DovLexer& lexer = WorkingParser->lexer;
    for (int guard = 0; guard < 5000000; ++guard) {
        DovTokenItem* item = lexer.GetToken();
        const int code = item->token->code;
        Add(*collecting, item->list, false);
        if (IsMarkerCode(code)) {
            if (DovExpr* node = lexer.TakeMarkerNode(code)) {
                DovTokenList gathered;
                DovGatherTokens(node, &gathered);
                Add(*collecting, gathered, false);
                delete node;
            }
        } else if (code == SEP_COPY_EOF) {
            collecting->push_back({code, "", item->token->Beg(), item->token->End(), false});
            if (DovExpr* node = lexer.TakeMarkerNode(code)) {
                DovTokenList gathered;
                DovGatherTokens(node, &gathered);
                Add(*collecting, gathered, false);
                delete node;
            }
        } else if (code != SEP_EOF) {
            collecting->push_back({code, std::string(item->token->image.CStr(), item->token->image.Len()),
                                   item->token->Beg(), item->token->End(), true});
        }
        delete item;
        if (code == SEP_EOF) break;
    }
    return 0;
}

// The grammar of the adapter pass: what yylex delivers.
int AdapterPass() {
    for (int guard = 0; guard < 5000000; ++guard) {
        const int code = yylex();
        if (DovExpr* v = DovValueNode(yylval)) {
            if (code == SEP_INLINED_COPY || code == SEP_UNINLINED_COPY) {
                DovTokenList gathered;
                DovGatherTokens(v, &gathered);
                Add(*collecting, gathered, false);
            }
        }
        if (yyposn) Add(*collecting, *yyposn, false);
        vemlo_test::DropValue(yylval);
        delete yyposn;
        yylval = nullptr;
        yyposn = nullptr;
        if (code == 0) break;
    }
    Add(*collecting, WorkingParser->trailingTokens, false);
    return 0;
}

std::string Show(const Entry& e) {
    std::ostringstream out;
    out << e.beg << "-" << e.end << " " << e.code << " '" << e.image << "'";
    return out.str();
}

// Compares the two streams; the periods the adapter supplies (empty, not
// in the lexer's stream) are counted apart. Returns "" or the first
// difference.
std::string Compare(const std::vector<Entry>& lexed, const std::vector<Entry>& adapted, int& supplied) {
    std::size_t i = 0, j = 0;
    while (i < lexed.size() || j < adapted.size()) {
        if (i < lexed.size() && j < adapted.size()) {
            const Entry& a = lexed[i];
            const Entry& b = adapted[j];
            if (DovTxtPosnCompare(a.beg, b.beg) == 0 && DovTxtPosnCompare(a.end, b.end) == 0 && a.image == b.image &&
                (a.code == b.code || !IsMarkerCode(a.code))) {
                ++i;
                ++j;
                continue;
            }
        }
        if (j < adapted.size() && adapted[j].code == SEP_DOT && adapted[j].image.empty() &&
            (i >= lexed.size() || !(lexed[i].code == SEP_DOT && DovTxtPosnCompare(lexed[i].beg, adapted[j].beg) == 0))) {
            ++supplied;
            ++j;
            continue;
        }
        std::ostringstream out;
        out << "lexer #" << i << " " << (i < lexed.size() ? Show(lexed[i]) : "(end)") << " vs adapter #" << j << " "
            << (j < adapted.size() ? Show(adapted[j]) : "(end)");
        return out.str();
    }
    return "";
}

TEST(TokenConservation, EveryCorpusProgramKeepsAllItsTokensInOrder) {
    VEMLO_REQUIRE_CORPUS();
    DovGrammarHooks saved = DovGrammar;
    const int savedSql = DovCanParseSql, savedCics = DovCanParseCics;
    // SQL and CICS words are classified as the grammar will have them.
    DovCanParseSql = DovCanParseCics = 1;
    int files = 0, supplied = 0;
    long long tokens = 0;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        SCOPED_TRACE(folder.name);
        DovParserImpl parser;
        const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
        const std::vector<std::string> words = vemlo_test::CorpusOptions(folder);
        std::vector<const char*> argv;
        for (const std::string& w : words) argv.push_back(w.c_str());
        VStringList rest, problems;
        ASSERT_EQ(SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), rest, problems), 0);
        VString error;
        ASSERT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            if (file.extension() == ".cpy" || file.extension() == ".CPY") continue;
            SCOPED_TRACE(file.string());
            std::vector<Entry> lexed, adapted;
            for (int pass = 0; pass < 2; ++pass) {
                collecting = pass == 0 ? &lexed : &adapted;
                DovGrammar = DovGrammarHooks();
                DovGrammar.parse = pass == 0 ? LexerPass : AdapterPass;
                DovExpr* root = nullptr;
                DovTokenList messages;
                std::ostringstream sink;
                std::streambuf* old = std::cout.rdbuf(sink.rdbuf());
                parser.Parse(file.string().c_str(), root, &messages);
                std::cout.rdbuf(old);
                delete root;
            }
            collecting = nullptr;
            const std::string diff = Compare(MergePairs(lexed), adapted, supplied);
            EXPECT_EQ(diff, "");
            tokens += static_cast<long long>(lexed.size());
            ++files;
        }
    }
    DovGrammar = saved;
    DovCanParseSql = savedSql;
    DovCanParseCics = savedCics;
    std::cout << "Token conservation: " << files << " programs, " << tokens << " tokens, " << supplied
              << " supplied periods\n";
    EXPECT_GT(files, 450);
}

}  // namespace
