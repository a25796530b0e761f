#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexer/lexer.h"
#include "tests/lexer/lexer_fixture.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/symtab.h"

namespace {

using vemlo_test::LexerTest;

std::string Msg(int severity, int line, const std::string& text) {
    return std::to_string(severity) + "@" + std::to_string(line) + ":" + text;
}

// A source root with an empty symbol table, as the parser builds it, reached
// through the lexer's callbacks.
class ConstantsTest : public LexerTest {
protected:
    ConstantsTest() {
        root_ = new DovExprOper(COBOL_FILE);
        root_->SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
        lexer.currentRootCallback = [] { return root_; };
        lexer.nameLookupCallback = [](const VString& name) -> DovExpr* {
            return SymTabFind(root_->Args(kDovFileSymbolTableArg), name);
        };
        DovDialsAdd(lexer.dials, DIAL_MF);
    }
    ~ConstantsTest() override {
        delete root_;
        root_ = nullptr;
    }
    // The 78-level entries declared so far.
    std::vector<DovExpr*> Entries() const {
        std::vector<DovExpr*> out;
        DovExpr* list = root_->Args(2);
        for (int i = 0; list && i < list->NumArgs(); ++i) out.push_back(list->Args(i)->Args(0));
        return out;
    }
    static DovExpr* root_;
};
DovExpr* ConstantsTest::root_ = nullptr;

TEST_F(ConstantsTest, SetConstantThenTestIt) {
    auto lines = ReadAll(
        "      $SET CONSTANT Lang\"Ab c\" LEVEL(12) NEG(-3)\n"
        "      $IF LANG = \"Ab c\"\n"
        "       ACTIVE-1.\n"
        "      $END\n"
        "      $IF LEVEL > 11\n"
        "       ACTIVE-2.\n"
        "      $END\n"
        "      $IF LEVEL = 12\n"
        "       ACTIVE-3.\n"
        "      $END\n"
        "      $IF NEG < 0\n"
        "       ACTIVE-4.\n"
        "      $END\n"
        "      $IF LEVEL DEFINED\n"
        "       ACTIVE-5.\n"
        "      $END\n"
        "      $IF OTHER DEFINED\n"
        "       SKIPPED.\n"
        "      $END\n");
    std::vector<std::string> active;
    for (const auto& l : lines)
        if (l.code == 0) active.push_back(l.text.substr(7));
    EXPECT_EQ(active, (std::vector<std::string>{"ACTIVE-1.", "ACTIVE-2.", "ACTIVE-3.", "ACTIVE-4.", "ACTIVE-5."}));
    EXPECT_TRUE(Messages().empty()) << MessageTexts()[0];

    auto entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    DovExpr* lang = entries[0];
    EXPECT_EQ(lang->Oper(), DECL_CONST_ENTRY);
    EXPECT_EQ(lang->Args(0)->IntValue(), 78);
    EXPECT_TRUE(lang->Args(2)->Image() == "LANG");
    ASSERT_EQ(lang->Args(3)->Oper(), EX_CONST_VALUE);
    EXPECT_TRUE(static_cast<DovStrConst*>(lang->Args(3)->Args(0))->StrValue() == "Ab c");
    EXPECT_EQ(entries[2]->Args(3)->Args(0)->IntValue(), -3);
}

TEST_F(ConstantsTest, ATakenNameGetsASuffix) {
    EXPECT_EQ(lexer.SetPreprocessorConstant("X(1)", root_), 0);
    EXPECT_EQ(lexer.SetPreprocessorConstant("x(2)", root_), 0);
    auto entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1]->Args(2)->Image() == "X-1");
}

TEST_F(ConstantsTest, ValueFromEveryNodeThatNamesTheConstant) {
    ASSERT_EQ(lexer.SetPreprocessorConstant("K(7)", root_), 0);
    ASSERT_EQ(Entries().size(), 1u);
    DovExpr* entry = Entries()[0];
    auto* def = dynamic_cast<DovNamedObjDef*>(entry->Args(2));
    ASSERT_NE(def, nullptr);
    DovNamedObjUse use;
    use.SetDefinition(def);
    DovNamedObjUse unresolved;
    struct Case {
        const char* what;
        DovExpr* node;
        bool found;
    };
    const Case cases[] = {
        {"entry", entry, true},
        {"definition", def, true},
        {"use", &use, true},
        {"element", SymTabFind(root_->Args(kDovFileSymbolTableArg), "K"), true},
        {"unresolved use", &unresolved, false},
        {"value clause", entry->Args(3), false},
        {"nothing", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VString text;
        int isNumber = 0;
        long long number = 0;
        EXPECT_EQ(DovPreprocessorConstantValue(c.node, text, isNumber, number), c.found);
        if (!c.found) continue;
        EXPECT_TRUE(text == "7");
        EXPECT_EQ(isNumber, 1);
        EXPECT_EQ(number, 7);
    }
    use.SetDefinition(nullptr);
}

TEST_F(ConstantsTest, BadSettings) {
    ReadAll("      $SET CONSTANT A\"x\" B C(1)\n"
            "      $SET CONSTANT D(12 E(1)\n"
            "      $SET CONSTANT F(1X) G()\n"
            "      $SET CONSTANT H'open\n"
            "      $SET CONSTANT (5)\n"
            "      $SET CONSTANT N(99999999999999999999999)\n");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{
                                  Msg(MSG_ERR, 1, "Bad constant set: B"),
                                  Msg(MSG_ERR, 2, "Bad constant set: D(12"),
                                  Msg(MSG_ERR, 3, "Bad numeric constant set: F(1X)"),
                                  Msg(MSG_ERR, 4, "Non-numeric literal 'open has no ending delimiter"),
                                  Msg(MSG_ERR, 5, "Bad constant set: (5)"),
                                  Msg(MSG_ERR, 6,
                                      "Bad numeric constant set: N(99999999999999999999999): Integer number "
                                      "'99999999999999999999999' does not fit in 64 bits"),
                              }));
    EXPECT_EQ(Entries().size(), 1u);  // only A: each error ends its line
    EXPECT_EQ(lexer.SetPreprocessorConstant("G()", root_), 2);
    EXPECT_EQ(lexer.SetPreprocessorConstant("N(99999999999999999999)", root_), 2);
}

TEST_F(LexerTest, ConstantsNeedASourceRoot) {
    DovNullNode notARoot;
    EXPECT_EQ(lexer.SetPreprocessorConstant("A(1)", &notARoot), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                  "971@0:DovLexer::SetPreprocessorConstant: no source root to declare 'A' in"});
}

}  // namespace
