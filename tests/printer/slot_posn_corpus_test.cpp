// The slot-position pass over every program of the shared corpus that
// parses: it adds nothing but empty SEP_SPACE tokens, moves no statement's
// begin position, and warns only where the source deserves it.
//
// The pass runs inside Parse through the parser's hook; this test puts a
// checking wrapper in its place.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "grammar/cobol_grammar.h"
#include "parser/hooks.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/corpus.h"

namespace {

struct Snapshot {
    std::map<const DovTokenList*, std::vector<std::pair<int, std::string>>> lists;
    std::map<const DovExpr*, DovTxtPosn> statementBegins;
};

void Take(DovExpr* node, Snapshot& s) {
    if (!node) return;
    if (DovOperIsEntryOrStatement(node->Oper())) s.statementBegins[node] = DovSrcPosnBeg(node);
    auto& own = s.lists[&node->Tokens()];
    for (const DovToken* t : node->Tokens()) own.emplace_back(t->code, t->image.CStr());
    for (int i = 0; i < node->NumArgs(); ++i) {
        DovArgSlot* slot = node->ArgSlots(i);
        if (!slot) continue;
        auto& list = s.lists[&slot->tokens];
        for (const DovToken* t : slot->tokens) list.emplace_back(t->code, t->image.CStr());
        Take(slot->arg, s);
    }
}

struct Findings {
    int trees = 0;
    std::vector<std::string> problems;  // conservation or begin-position faults
};
Findings* g_findings = nullptr;

void CheckingSlotPosn(DovExpr* root) {
    Snapshot before;
    Take(root, before);
    DovSetSlotPosn(root);
    Snapshot after;
    Take(root, after);
    ++g_findings->trees;
    if (before.statementBegins != after.statementBegins) g_findings->problems.push_back("a statement's begin moved");
    if (before.lists.size() != after.lists.size()) g_findings->problems.push_back("token lists differ");
    for (const auto& [list, old] : before.lists) {
        const auto& now = after.lists[list];
        bool ok = now.size() >= old.size();
        for (std::size_t i = 0; ok && i < old.size(); ++i) ok = now[i] == old[i];
        for (std::size_t i = old.size(); ok && i < now.size(); ++i) ok = now[i].first == SEP_SPACE && now[i].second.empty();
        if (!ok) g_findings->problems.push_back("a token list changed other than by gap tokens");
    }
}

struct Folder {
    const char* name;
    const char* copybooks;
    const char* lang;
    const char* suffix;  // null: the default
};

// "SourcePrint:" warnings that the source deserves, as "<file>: <text>",
// each with the reason beside it.
const char* const kDeservedWarnings[] = {
    nullptr,
};

bool Deserved(const std::string& warning) {
    for (const char* const* w = kDeservedWarnings; *w; ++w)
        if (warning == *w) return true;
    return false;
}

TEST(SlotPosnCorpus, EveryParsedProgramOnlyGainsGapTokens) {
    VEMLO_REQUIRE_CORPUS();
    DovInstallGrammar();
    const Folder folders[] = {
        {"nist", "nist-copy", "ansi85", ".CPY"},
        {"sql", "sql", "mf", nullptr},
        {"genapp", "genapp", "vsii", nullptr},
        {"course", "course", "vsii", nullptr},
    };
    Findings findings;
    g_findings = &findings;
    const DovSlotPosnFn saved = DovSlotPosnHook;
    DovSlotPosnHook = CheckingSlotPosn;
    std::vector<std::string> warnings;
    int programs = 0;
    for (const Folder& folder : folders) {
        DovParserImpl parser;
        const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
        std::vector<std::string> words = {std::string("-lang=") + folder.lang,
                                          "-copylib-dir=" + (*vemlo_test::CorpusDir() / folder.copybooks).string()};
        if (folder.suffix) words.push_back(std::string("-copylib-sfx=") + folder.suffix);
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.c_str());
        VStringList files, problems;
        ASSERT_EQ(SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, problems), 0);
        VString error;
        ASSERT_EQ(parser.ResolveDialectDefaults(error), 0) << error.CStr();
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            if (file.extension() == ".cpy" || file.extension() == ".CPY") continue;
            ++programs;
            DovExpr* root = nullptr;
            DovTokenList messages;
            parser.Parse(file.string().c_str(), root, &messages);
            for (const DovToken* m : messages) {
                const std::string text = m->image.CStr();
                if (text.rfind("SourcePrint:", 0) == 0) warnings.push_back(file.filename().string() + ": " + text);
            }
            delete root;
        }
    }
    DovSlotPosnHook = saved;
    g_findings = nullptr;
    ASSERT_GT(findings.trees, 0) << "none of the " << programs << " corpus programs parses into a tree";
    std::cout << "Slot positions set on " << findings.trees << " of " << programs << " corpus programs\n";
    EXPECT_TRUE(findings.problems.empty()) << findings.problems.size() << " faults, first: " << findings.problems[0];
    for (const std::string& w : warnings) {
        std::cout << "  " << w << '\n';
        EXPECT_TRUE(Deserved(w)) << w;
    }
}

}  // namespace
