// The data layout over the NIST suite: every program another compiler
// accepts, parsed with the COBOL grammar and laid out as Parse lays it out,
// keeps the two layout laws (an elementary DISPLAY item is as long as its
// PICTURE; a group is as long as its members, REDEFINES and OCCURS counted
// as the layout counts them), and the layout has nothing to report on it;
// nor has the rest of the parse, but for the messages listed as expected.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "grammar/grammar.h"
#include "lbase/cmdline.h"
#include "parser/hooks.h"
#include "parser/parser.h"
#include "tests/parser/layout_laws.h"
#include "tests/support/corpus.h"
#include "tree/tree.h"

namespace {

// The grammar is installed for one test and the hooks it replaced come back.
class GrammarInstalled {
public:
    GrammarInstalled() : saved_(DovGrammar) { DovInstallGrammar(); }
    ~GrammarInstalled() { DovGrammar = saved_; }
    GrammarInstalled(const GrammarInstalled&) = delete;
    GrammarInstalled& operator=(const GrammarInstalled&) = delete;

private:
    DovGrammarHooks saved_;
};

// The messages of the data layout among a parse's.
bool IsLayoutMessage(const std::string& text) {
    for (const char* layout : {"Cannot compute lower bound for array", "Cannot compute upper bound for array",
                               "No Argument for REDEFINES found in current context",
                               "Arguments of RENAMES THROUGH not found", "Argument of RENAMES not found",
                               "Cannot compute length for"})
        if (text.find(layout) != std::string::npos) return true;
    return false;
}

// Accepted programs that give no tree, with the cause.
const std::set<std::string> kNoTree = {};

// The parser options of a corpus folder, as the command line gives them.
void SetUpFor(DovParserImpl& parser, const vemlo_test::CorpusFolder& folder) {
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    const std::vector<std::string> args = vemlo_test::CorpusOptions(folder);
    std::vector<const char*> words;
    for (const std::string& a : args) words.push_back(a.c_str());
    VStringList rest, problems;
    ASSERT_EQ(SetCLFlag(table, 0, static_cast<int>(words.size()), words.data(), rest, problems), 0);
    VString error;
    ASSERT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
}

// Parses every accepted NIST program as the command line would and hands
// each one's name, tree (null when there is none) and message texts to
// `visit`; the tree is deleted afterwards. Returns how many were parsed.
template <typename Visit>
int ForEachAcceptedNist(Visit visit) {
    const std::set<std::string> accepted = vemlo_test::AcceptedNistNames();
    EXPECT_FALSE(accepted.empty());
    GrammarInstalled grammar;
    DovParserImpl parser;
    SetUpFor(parser, vemlo_test::kCorpusFolders[0]);
    if (testing::Test::HasFatalFailure()) return 0;
    int programs = 0;
    for (const auto& file : vemlo_test::CorpusFiles("nist")) {
        const std::string name = file.filename().string();
        if (!accepted.count(name)) continue;
        ++programs;
        DovExpr* root = nullptr;
        DovTokenList messages;
        parser.Parse(file.string().c_str(), root, &messages);
        std::vector<std::string> texts;
        for (const DovToken* m : messages) texts.push_back(m ? m->image.CStr() : "");
        visit(name, root, texts);
        delete root;
    }
    EXPECT_EQ(programs, static_cast<int>(accepted.size()));
    return programs;
}

TEST(LayoutCorpus, NistProgramsKeepTheLayoutLaws) {
    VEMLO_REQUIRE_CORPUS();
    int trees = 0, elementary = 0, groups = 0;
    const int programs = ForEachAcceptedNist([&](const std::string& name, DovExpr* root,
                                                 const std::vector<std::string>& messages) {
        EXPECT_EQ(root == nullptr, kNoTree.count(name) > 0) << name;
        for (const std::string& text : messages)
            if (IsLayoutMessage(text)) ADD_FAILURE() << name << ": " << text;
        if (!root) return;
        ++trees;
        const vemlo_test::LayoutLawReport report = vemlo_test::CheckLayoutLaws(root);
        elementary += report.elementary;
        groups += report.groups;
        EXPECT_EQ(report.skipped, 0) << name;
        for (const std::string& v : report.violations) ADD_FAILURE() << name << ": " << v;
    });
    EXPECT_GT(elementary, 0);
    EXPECT_GT(groups, 0);
    std::cout << "Layout laws held on " << trees << " of " << programs << " accepted NIST programs: " << elementary
              << " elementary items, " << groups << " groups\n";
}

// Messages an accepted program is meant to give: the program and the start
// of the text. Any other message on an accepted program is a fault here.
struct ExpectedMessage {
    const char* program;
    const char* start;
};
const ExpectedMessage kExpectedMessages[] = {
    // COPY ... OF library-name: the library names an environment variable,
    // which a test run does not set.
    {"SM207A.CBL", "Environment variable '"},
};

bool Expected(const std::string& program, const std::string& text) {
    for (const ExpectedMessage& e : kExpectedMessages)
        if (program == e.program && text.rfind(e.start, 0) == 0) return true;
    return false;
}

// A program another compiler accepts gets no message from the whole parse
// (names, PICTURE categories, the plain forms of ACCEPT and DISPLAY, the
// layout) but those listed above.
TEST(LayoutCorpus, NistAcceptedProgramsGiveOnlyTheExpectedMessages) {
    VEMLO_REQUIRE_CORPUS();
    std::set<std::string> seen;
    ForEachAcceptedNist([&](const std::string& name, DovExpr*, const std::vector<std::string>& messages) {
        for (const std::string& text : messages) {
            if (Expected(name, text)) seen.insert(name);
            else ADD_FAILURE() << name << ": " << text;
        }
    });
    // Each entry of the table still names a message the parse gives.
    for (const ExpectedMessage& e : kExpectedMessages) EXPECT_TRUE(seen.count(e.program)) << e.program;
}

// The programs of the other folders (their own dialects, COMP items, the
// EXEC interface block) keep the laws too, wherever the parse gives a tree.
TEST(LayoutCorpus, OtherFoldersKeepTheLayoutLaws) {
    VEMLO_REQUIRE_CORPUS();
    GrammarInstalled grammar;
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        if (std::string(folder.name) == "nist") continue;
        SCOPED_TRACE(folder.name);
        DovParserImpl parser;
        SetUpFor(parser, folder);
        if (testing::Test::HasFatalFailure()) return;
        int checked = 0;
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            const std::string ext = file.extension().string();
            if (ext == ".cpy" || ext == ".CPY" || ext == ".txt" || ext == ".md") continue;
            const std::string name = file.filename().string();
            DovExpr* root = nullptr;
            DovTokenList messages;
            parser.Parse(file.string().c_str(), root, &messages);
            for (const DovToken* m : messages) {
                const std::string text = m ? m->image.CStr() : "";
                if (IsLayoutMessage(text)) ADD_FAILURE() << name << ": " << text;
            }
            const vemlo_test::LayoutLawReport report = vemlo_test::CheckLayoutLaws(root);
            checked += report.elementary + report.groups;
            EXPECT_EQ(report.skipped, 0) << name;
            for (const std::string& v : report.violations) ADD_FAILURE() << name << ": " << v;
            delete root;
        }
        EXPECT_GT(checked, 0);
    }
}

}  // namespace
