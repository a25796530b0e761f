// The slot-position pass as every parse runs it: Parse calls it through the
// parser's hook, and its warnings become the parse's messages and status.
// A stand-in grammar hands Parse a small tree built by hand.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "parser/hooks.h"
#include "tests/printer/printer_fixture.h"

namespace {

using vemlo_test::Add;
using vemlo_test::Leaf;
using vemlo_test::P;
using vemlo_test::W;

// The data description entry the stand-in grammar parses: its fixed
// clauses carry the source order indexes 0, 2, 1.
DovExpr* g_entry = nullptr;

int GrammarOfOneEntry() {
    auto* entry = new DovExprOper(DECL_DD_ENTRY);
    Add(entry->ArgSlots(0)->tokens, W("01", 3, 7, 9));
    entry->SetArg(0, Leaf("01", 3, 7, 9), 0, 1);
    entry->SetArg(1, nullptr, 2, 1);
    Add(entry->ArgSlots(2)->tokens, W("NAME-X", 3, 11, 17));
    entry->SetArg(2, Leaf("X", 3, 20, 21), 1, 1);
    auto* list = new DovExprOper(COBOL_PROGRAM_LIST);
    list->AddArg(entry);
    WorkingParser->root->SetArg(0, list);
    g_entry = entry;
    return 0;
}

class ParseHook : public testing::Test {
protected:
    void SetUp() override {
        saved_ = DovGrammar;
        DovGrammar = DovGrammarHooks{};
        DovGrammar.parse = GrammarOfOneEntry;
        path_ = std::filesystem::temp_directory_path() / ("printer_parse_hook_" + std::to_string(::getpid()) + ".cbl");
        std::ofstream(path_) << "       IDENTIFICATION DIVISION.\n";
        VString error;
        ASSERT_EQ(parser_.ResolveDialectDefaults(error), 0) << error.CStr();
    }
    void TearDown() override {
        DovGrammar = saved_;
        DovInstallPrinterHooks();
        std::filesystem::remove(path_);
    }

    DovGrammarHooks saved_;
    std::filesystem::path path_;
    DovParserImpl parser_;
};

TEST_F(ParseHook, ParseRunsThePassAndItsWarningIsAParseWarning) {
    DovInstallPrinterHooks();
    DovExpr* root = nullptr;
    DovTokenList messages;
    EXPECT_EQ(parser_.Parse(path_.string().c_str(), root, &messages), 1);
    ASSERT_NE(root, nullptr);
    ASSERT_FALSE(messages.IsEmpty());
    const DovToken* warning = messages.First();
    EXPECT_EQ(warning->code, MSG_WARN);
    EXPECT_STREQ(warning->image.CStr(),
                 "SourcePrint: bad order of fixed clauses in DECL_DD_ENTRY: clause 'Copy before name' has index 2 "
                 "instead of 1");
    EXPECT_EQ(warning->Beg(), P(3, 7));
    // The gap between NAME-X and X.
    bool gap = false;
    for (const DovToken* t : g_entry->ArgSlots(2)->tokens)
        gap = gap || (t->code == SEP_SPACE && t->Beg() == P(3, 17) && t->End() == P(3, 20));
    EXPECT_TRUE(gap);
    delete root;
}

TEST_F(ParseHook, WithoutThePrinterNoPassRuns) {
    DovSlotPosnHook = nullptr;
    DovExpr* root = nullptr;
    DovTokenList messages;
    EXPECT_EQ(parser_.Parse(path_.string().c_str(), root, &messages), 0);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(messages.IsEmpty());
    for (const DovToken* t : g_entry->ArgSlots(2)->tokens) EXPECT_NE(t->code, SEP_SPACE);
    delete root;
}

}  // namespace
