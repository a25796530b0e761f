// A name written as a literal (a program name after PROGRAM-ID and END
// PROGRAM) or as an SQL identifier becomes a name use of its own, and the
// literal's node goes. Its tokens stand where a name written as a word
// keeps them, the use's own list, in every build: the cell of the literal
// lets go of it, so that the position reduction cannot take a new node
// made at the freed node's address for the literal (the optimised build's
// allocator hands the address out again at once; the sanitizer build's
// does not).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"

namespace {

using vemlo_grammar_test::FindFirst;
using vemlo_grammar_test::GrammarRun;

std::vector<std::string> Spellings(const DovTokenList& list) {
    std::vector<std::string> out;
    for (const DovToken* t : list) out.emplace_back(t->image.CStr(), t->image.Len());
    return out;
}

// The tokens of every slot of `node`, in slot order.
std::vector<std::string> SlotSpellings(const DovExpr* node) {
    std::vector<std::string> out;
    for (int i = 0; i < node->NumArgs(); ++i)
        for (const std::string& s : Spellings(node->SlotAt(i)->tokens)) out.push_back(s);
    return out;
}

TEST(LiteralNames, TheNameUseKeepsTheTokensOfTheLiteralItReplaces) {
    struct Case {
        const char* name;
        const char* source;
        DovOper parent;  // the node whose first NAMED_OBJ_USE is the name
        bool free;
        bool sql;
        std::vector<std::string> tokens;
    };
    const Case cases[] = {
        // The 32 bytes of the report: END PROGRAM, then a literal that the
        // end of the file cuts short.
        {"END PROGRAM with an unterminated literal", "PROGRAM-ID. A. END PROGRAM 'ABC\n", END_COBOL_PROGRAM, true,
         false, {"", "'ABC'"}},
        {"END PROGRAM with a literal",
         "       IDENTIFICATION DIVISION.\n"
         "       PROGRAM-ID. 'A'.\n"
         "       PROCEDURE DIVISION.\n"
         "           STOP RUN.\n"
         "       END PROGRAM 'A'.\n",
         END_COBOL_PROGRAM, false, false, {"", "'A'"}},
        {"WHENEVER ... GO TO",
         "       IDENTIFICATION DIVISION.\n"
         "       PROGRAM-ID. A.\n"
         "       PROCEDURE DIVISION.\n"
         "           EXEC SQL WHENEVER SQLERROR GO TO P1 END-EXEC.\n"
         "       P1.\n"
         "           STOP RUN.\n",
         SQL_ACT_GOTO, false, true, {"", "P1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GrammarRun run;
        if (c.free) run.parser().lineFormat = DOV_LF_FREE;
        if (c.sql) {
            run.parser().primaryDialect = DIAL_MF;
            VString error;
            ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0) << error.CStr();
        }
        run.ParseText(c.source);
        DovExpr* parent = FindFirst(run.root(), c.parent);
        ASSERT_NE(parent, nullptr) << run.MessageText();
        DovExpr* use = FindFirst(parent, NAMED_OBJ_USE);
        ASSERT_NE(use, nullptr);
        EXPECT_EQ(Spellings(use->Tokens()), c.tokens);
        EXPECT_EQ(SlotSpellings(use), std::vector<std::string>{});
        ASSERT_GT(use->NumArgs(), 0);
        EXPECT_EQ(SlotSpellings(use->Args(0)), std::vector<std::string>{});
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

}  // namespace
