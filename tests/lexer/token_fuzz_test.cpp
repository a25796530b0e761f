// Random mutations of a source that uses every layer of the lexer (COPY
// with REPLACING, REPLACE, EXEC SQL and CICS, NOTE, literals, continuation
// lines, floating comments) lexed down to tokens: no crash, no hang, the
// end of input always reached.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/lexer/lexer_fixture.h"
#include "tree/expr.h"

namespace {

using vemlo_test::LexerTest;

const char kMain[] =
    "000100 IDENTIFICATION DIVISION.\n"
    "000200 PROGRAM-ID. FUZZ.\n"
    "000300 DATA DIVISION.\n"
    "000400 WORKING-STORAGE SECTION.\n"
    "000500     COPY MEMB REPLACING ==:P:== BY ==WS== LEADING \"A\" BY \"B\".\n"
    "000600 01  X PIC S9(5)V99 VALUE -12.5E3.\n"
    "000700 01  Y PIC X(20) VALUE 'HELLO \"WORLD\" ''QUOTED'' AND A LONG LITERAL THAT GO\n"
    "000800-    'ES ON'.\n"
    "000900     REPLACE ==OLD== BY ==NEW== ==,== BY == ==.\n"
    "001000 PROCEDURE DIVISION.\n"
    "001100     MOVE X'C1F2' TO Y *> floating\n"
    "001200     NOTE THIS IS A NOTE. \n"
    "001300     EXEC SQL SELECT A, B INTO :X, :Y FROM T -- a comment\n"
    "001400          WHERE C <= 1.5 END-EXEC\n"
    "001500     EXEC CICS SEND MAP('M1') MAPSET(\"S\") RESP(R) END-EXEC\n"
    "001600     COMPUTE X = FUNCTION RANDOM(1) ** 2 + OLD\n"
    "001700     REPLACE OFF.\n"
    "001800     -INC MEMB\n"
    "001900     STOP RUN.\n";

const char kMember[] =
    "000100 01  :P:-A PIC 9.\n"
    "000200 01  AB PIC N(4) VALUE N\"ab\".\n"
    "000300     COPY MEMB.\n";

TEST_F(LexerTest, RandomMutationsDownToTokens) {
    std::mt19937 rng(4711);
    const char specials[] = {'\0', '\t', '\r', '\n', '=', '"', '\'', ' ', '*', '-', '.', ',', '(', ')', ':', '>'};
    for (int round = 0; round < 2000; ++round) {
        std::string text(kMain, sizeof kMain - 1);
        std::string member(kMember, sizeof kMember - 1);
        for (std::string* s : {&text, &member}) {
            int edits = 1 + static_cast<int>(rng() % 12);
            for (int e = 0; e < edits; ++e) {
                std::size_t at = rng() % (s->size() + 1);
                switch (rng() % 4) {
                    case 0: s->insert(at, 1, specials[rng() % sizeof specials]); break;
                    case 1: if (at < s->size()) s->erase(at, 1 + rng() % 6); break;
                    case 2: s->insert(at, std::string(rng() % 300, static_cast<char>('A' + rng() % 26))); break;
                    default: if (at < s->size()) (*s)[at] = static_cast<char>(rng() % 256); break;
                }
            }
        }
        dir.Write("MEMB.cpy", member);
        lexer.Reset();
        lexer.copyDirs.count = 0;
        lexer.copyDirs.items[lexer.copyDirs.count++] = dir.Path().c_str();
        lexer.sqlSwitch = 1;
        lexer.cicsSwitch = 1;
        lexer.dials.word = static_cast<std::uint32_t>(rng());
        lexer.lineFormat = 1 + static_cast<int>(rng() % 4);
        ASSERT_EQ(lexer.SetInput(dir.Write("src.cbl", text).c_str()), 0);
        bool ended = false;
        for (int guard = 0; guard < 200000 && !ended; ++guard) {
            DovTokenItem* item = lexer.GetToken();
            ASSERT_NE(item, nullptr);
            ended = item->token->code == SEP_EOF;
            if (!ended && item->token->code >= SEP_UNINLINED_COPY && item->token->code <= SEP_REPLACE)
                delete lexer.TakeMarkerNode(item->token->code);
            delete item;
        }
        ASSERT_TRUE(ended) << "no end of input in round " << round;
        lexer.CloseInput();
        Messages().clear();
    }
}

}  // namespace
