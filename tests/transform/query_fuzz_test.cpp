// Random and mutated query texts: the compiler never crashes or hangs and
// gives every rejected text a known code and a column inside the text;
// what compiles is evaluated on a corpus tree, which the search leaves as
// it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/corpus.h"
#include "tests/transform/query_corpus_tree.h"
#include "tests/transform/query_test_util.h"
#include "tree/leaf.h"

namespace {

const char* const kVocabulary[] = {
    "(", ")", "((", "))", " AND ", " OR ", "&&", "||", "!", "NOT ", "==", "!=", "=", "~", ">", ">=", "<", "<=",
    ".", ",", "+", "-", "*", " DIV ", " MOD ", "'", "\"", "''", "'a''b'", "'x*'", "\\", "//", "\n", " ",
    "OP", "ARG", "CHILD", "FIND", "PARENT", "LINK", "ISDESCOF", "ENCL-STMT", "ENCL-SECTION", "IMAGE",
    "VALUE", "LOWER", "UPPER", "SUBSTR", "LIKE", "NULL", "ARGNO", "INTVALUE", "INDEX", "FROMSRC", "SPECREG",
    "NODE ", "INT ", "STR ", "TRUE", "FALSE", "E", "ROOT", "X", "STMT_MOVE", "NAME_USE", "TOKEN_STRING",
    "MOVE_SOURCE", "0", "1", "2", "99999999999999999999999", "\xff", std::string(1, '\0').c_str(),
};

std::string Mutate(std::mt19937& rng, const std::vector<std::string>& baseTexts) {
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    std::string text = baseTexts[pick(baseTexts.size())];
    const int edits = 1 + static_cast<int>(pick(2));
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = text.empty() ? 0 : pick(text.size() + 1);
        switch (pick(6)) {
        case 0:  // a random byte
            text.insert(at, 1, static_cast<char>(rng() & 0xff));
            break;
        case 1:  // a word of the language
            text.insert(at, kVocabulary[pick(std::size(kVocabulary))]);
            break;
        case 2:  // a cut
            if (!text.empty()) text.erase(at > 0 ? at - 1 : 0, 1 + pick(4));
            break;
        case 3:  // a byte replaced
            if (!text.empty()) text[pick(text.size())] = static_cast<char>(rng() & 0xff);
            break;
        case 4:  // another query spliced in
            text.insert(at, baseTexts[pick(baseTexts.size())]);
            break;
        default:  // a part repeated
            if (!text.empty()) {
                const std::size_t from = pick(text.size());
                text.insert(at, text.substr(from, 1 + pick(8)));
            }
            break;
        }
    }
    return text;
}

std::string RandomText(std::mt19937& rng) {
    std::string text;
    const int words = static_cast<int>(rng() % 12);
    for (int i = 0; i < words; ++i) text += kVocabulary[rng() % std::size(kVocabulary)];
    return text;
}

std::string Tic(DovExpr* root) {
    std::ostringstream os;
    DovExpr::PutTic(root, os);
    return os.str();
}

// A small tree for when the corpus is absent.
DovExpr* FallbackTree() {
    auto* move = new DovExprOper(STMT_MOVE, new DovTokenString("WS-A"), new DovIntNumConst(7));
    auto* list = new DovExprOper(STMT_LIST);
    list->AddArg(move);
    list->AddArg(new DovExprOper(STMT_IF, new DovIntNumConst("-7", -7), nullptr));
    return list;
}

TEST(QueryFuzz, CompilerAndEvaluatorOnMutatedQueries) {
    std::vector<std::string> baseTexts;
    for (const auto& c : vemlo_test::QueryCompileCases()) baseTexts.emplace_back(c.query);

    DovExpr* tree = nullptr;
    if (auto dir = vemlo_test::CorpusDir())
        tree = vemlo_test::BuildCorpusTree((*dir / "nist" / "NC101A.CBL").string(), (*dir / "nist-copy").string());
    if (!tree) tree = FallbackTree();
    const std::vector<DovExpr*> all = vemlo_test::TreeNodes(tree);
    ASSERT_FALSE(all.empty());
    // Nodes spread over the whole tree, and the missing node.
    std::vector<DovExpr*> nodes;
    const std::size_t step = std::max<std::size_t>(1, all.size() / 300);
    for (std::size_t i = 0; i < all.size(); i += step) nodes.push_back(all[i]);
    nodes.push_back(nullptr);
    const std::string before = Tic(tree);

    const std::set<int> codes = {84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 97};
    std::mt19937 rng(2811);
    int compiled = 0, rejected = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string text = round % 4 == 3 ? RandomText(rng) : Mutate(rng, baseTexts);
        const VString vtext(text.data(), static_cast<int>(text.size()));
        for (bool assign : {false, true}) {
            DovQuery q(vtext);
            q.allowAssignments = assign;
            VString message;
            int column = -100;
            testing::internal::CaptureStdout();
            const int code = q.Compile(nullptr, message, column);
            const std::string printed = testing::internal::GetCapturedStdout();
            EXPECT_EQ(printed, "") << "compiling printed for: " << text;
            if (code) {
                EXPECT_TRUE(codes.count(code)) << code << " for: " << text;
                EXPECT_GE(column, 0) << text;
                EXPECT_LE(column, static_cast<int>(text.size())) << text;
                EXPECT_STREQ(message.CStr(), DovQueryErrorText(code));
                EXPECT_EQ(q.chain, nullptr);
                if (!assign) ++rejected;
                continue;
            }
            EXPECT_TRUE(message.IsEmpty());
            if (assign) continue;  // assignments change trees: compiled and released only
            ++compiled;
            testing::internal::CaptureStdout();
            for (DovExpr* n : nodes) q.Match(n);
            testing::internal::GetCapturedStdout();
        }
    }
    EXPECT_GT(compiled, 100);
    EXPECT_GT(rejected, 100);
    EXPECT_EQ(Tic(tree), before);
    delete tree;
}

TEST(QueryFuzz, EveryQueryOfTheTableAtEveryCorpusNode) {
    VEMLO_REQUIRE_CORPUS();
    auto dir = vemlo_test::CorpusDir();
    DovExpr* tree =
        vemlo_test::BuildCorpusTree((*dir / "nist" / "NC101A.CBL").string(), (*dir / "nist-copy").string());
    ASSERT_NE(tree, nullptr);
    const std::vector<DovExpr*> nodes = vemlo_test::TreeNodes(tree);
    EXPECT_GT(nodes.size(), 1000u);
    const std::string before = Tic(tree);
    int matched = 0;
    for (const auto& c : vemlo_test::QueryCompileCases()) {
        DovQuery q(c.query);
        VString message;
        int column = 0;
        if (q.Compile(nullptr, message, column)) continue;
        testing::internal::CaptureStdout();
        for (DovExpr* n : nodes) matched += q.Match(n) != 0;
        testing::internal::GetCapturedStdout();
    }
    EXPECT_GT(matched, 0);
    EXPECT_EQ(Tic(tree), before);
    delete tree;
}

}  // namespace
