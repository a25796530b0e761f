// Plain words taken from the line in one go (DovLexer::lineWords): the
// tokens, their places and their kept lists are those of the layers' own
// way, at every boundary of the shortcut.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/lexer/lexer_fixture.h"
#include "tests/support/corpus.h"
#include "tree/expr.h"

namespace {

using vemlo_test::LexerTest;

void Place(std::ostream& out, const DovTxtPosnRange& range) {
    out << '[' << range.beg.Line() << ':' << range.beg.Column() << ':' << range.beg.FileIndex() << '-'
        << range.end.Line() << ':' << range.end.Column() << ':' << range.end.FileIndex() << ']';
}

void Token(std::ostream& out, const DovToken* token) {
    if (!token) {
        out << "(null)";
        return;
    }
    out << token->code << " '" << std::string(token->image.CStr(), token->image.Len()) << "' ";
    Place(out, token->range);
}

// The whole item: its token, then every kept token with its place.
void Item(std::ostream& out, const DovTokenItem& item) {
    Token(out, item.token);
    for (const DovToken* kept : item.list) {
        out << "\n    ";
        Token(out, kept);
    }
    out << '\n';
}

class LineWords : public LexerTest {
protected:
    LineWords() {
        lexer.copyDirs = VStringArray(1);
        lexer.copyDirs.items[lexer.copyDirs.count++] = dir.Path().c_str();
        lexer.sqlSwitch = 1;
        lexer.cicsSwitch = 1;
    }

    // Every token up to the end with its kept list and the messages, read
    // with the shortcut on or off. What the grammar would tell the lexer
    // follows the tokens as the token dump has it.
    std::string Dump(const std::string& path, bool lineWords) {
        Messages().clear();
        lexer.lineWords = lineWords;
        lexer.Reset();
        if (lexer.SetInput(path.c_str()) != 0) return "(cannot open)";
        std::ostringstream out;
        int before = 0;
        for (int guard = 0; guard < 1000000; ++guard) {
            ItemPtr item(lexer.GetToken());
            const int code = item->token->code;
            delete lexer.TakeMarkerNode(code);
            if (code == RW_MODE && before == RW_DEBUGGING) lexer.debuggingLines = 1;
            if (code == RW_COMMA && before == RW_DECIMAL_POINT) lexer.decimalPoint = ',';
            before = code;
            Item(out, *item);
            if (code == SEP_EOF) break;
        }
        lexer.CloseInput();
        for (const std::string& m : MessageTexts()) out << m << '\n';
        return out.str();
    }

    // Lexes `source` both ways, expects the same, and returns how many
    // words the shortcut took.
    int Compare(const std::string& source) {
        const std::string path = dir.Write("src.cbl", source);
        const std::string layers = Dump(path, false);
        EXPECT_EQ(lexer.lineWordsTaken, 0);
        const std::string shortcut = Dump(path, true);
        EXPECT_EQ(shortcut, layers) << source;
        return lexer.lineWordsTaken;
    }
};

// A fixed-format line of 80 columns: `text` from column 8 padded to column
// 72, then the sequence area.
std::string Card(const std::string& text, const std::string& sequence, char indicator = ' ') {
    std::string line = std::string("000000") + indicator + text;
    line.resize(72, ' ');
    return line + sequence + "\n";
}

struct Case {
    const char* what;
    std::string source;
    int dialect;
    int lineFormat;
    int taken;  // words the shortcut takes
};

TEST_F(LineWords, SameTokensAtEveryBoundary) {
    dir.Write("MEM.cpy", Fixed("01 M-A PIC X.") + Fixed("01 M-B PIC X."));
    dir.Write("REP.cpy", Fixed("01 R-A PIC X. 01 R-B PIC X."));
    const Case cases[] = {
        // MOVE (after the first token) A TO B: B ends its line.
        {"words and a word at the line's end", Fixed("MOVE A TO B") + Fixed("MOVE C TO D"), DIAL_ANSI85,
         LINE_FORMAT_FIXED, 6},
        {"a word continued on the next line", Fixed("MOVE ABC") + "000000-    DEF TO X\n", DIAL_ANSI85,
         LINE_FORMAT_FIXED, 2},
        {"a literal continued on the next line",
         Fixed("MOVE 'ABC                                                         ") +
             "000000-    'DEF' TO X Y\n",
         DIAL_ANSI85, LINE_FORMAT_FIXED, 2},
        {"period, comma and semicolon before a blank or the line's end",
         Fixed("MOVE A TO B. MOVE C, D; E TO F.") + Fixed("ADD G TO H,") + Fixed("ADD I TO J;"), DIAL_ANSI85,
         LINE_FORMAT_FIXED, 14},
        {"period, comma and semicolon inside words", Fixed("MOVE 1,5 TO A.B C;D 2.5 E.F.") + Fixed("X"),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 6},
        {"parentheses, colon, ampersand and equal signs",
         Fixed("MOVE A(1) TO B(I: 2) C&D E=F G == H X.") + Fixed("Y"), DIAL_ANSI85, LINE_FORMAT_FIXED, 13},
        {"literal prefixes", Fixed("MOVE X'0F' TO N N\"A\" X XB G'1' B H BX'1' X.") + Fixed("Y"), DIAL_ANSI85,
         LINE_FORMAT_FIXED, 5},
        {"COPY and REPLACE statements",
         Fixed("WORKING-STORAGE SECTION. COPY MEM. 01 A PIC X.") +
             Fixed("COPY REP REPLACING ==R-A== BY ==Q-A==.") + Fixed("01 B PIC X. REPLACE ==B== BY ==C==.") +
             Fixed("01 B PIC X. REPLACE OFF. 01 B PIC X.") + Fixed("01 LAST PIC X."),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 37},
        {"picture strings", Fixed("05 A PIC 9(5)V99 VALUE 0. 05 B PICTURE IS X(10). 05 C PIC S9,999.") +
                                Fixed("05 D PIC ZZ9 COMP."),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 22},
        {"EXEC blocks",
         Fixed("EXEC SQL SELECT A, B INTO :X FROM T -- note") + Fixed("WHERE C = 1 END-EXEC.") +
             Fixed("EXEC CICS ASSIGN APPLID(X) END-EXEC. MOVE A TO B.") + Fixed("EXEC OTHER A B END-EXEC. Y"),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 30},
        {"EXEC words in a dialect that keeps their case",
         Fixed("EXEC SQL select a, Bc INTO :x from t") + Fixed("where c = 1 END-EXEC. move a to b."), DIAL_NET,
         LINE_FORMAT_FIXED, 16},
        {"pseudo-text", Fixed("REPLACE ==MOVE A== BY ==MOVE B==. MOVE A TO C.") + Fixed("REPLACE OFF. MOVE A TO C."),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 10},
        {"areas, the sequence area, comment and debugging lines",
         Card("PROCEDURE DIVISION.", "SEQ00100") + Card("PARA-1.", "SEQ00200") +
             Card("    A COMMENT LINE", "SEQ00300", '*') + Card("    MOVE A TO B", "SEQ00400") +
             Card("    DISPLAY A", "", 'D') + "\n" + Card("    STOP RUN.", "ABCDEFGH") +
             Card(std::string(64, ' ') + "C", "SEQ") + Card(std::string(63, ' ') + "CD", "ABC") + Card("E.", ""),
         DIAL_ANSI85, LINE_FORMAT_FIXED, 10},
        {"floating comments", Fixed("MOVE A *> A COMMENT") + Fixed("TO B *> ANOTHER") + Fixed("C. D"), DIAL_MF,
         LINE_FORMAT_FIXED, 3},
        {"free format", "IDENTIFICATION DIVISION.\nPROGRAM-ID. P.\n  MOVE A TO B.\n-C D\n*> REMARK\nMOVE E TO F.\n",
         DIAL_MF, LINE_FORMAT_FREE, 12},
        {"NOTE paragraphs", Fixed("NOTE THIS IS A NOTE") + Fixed("ON TWO LINES. MOVE A TO B."), DIAL_OSVS,
         LINE_FORMAT_FIXED, 11},
        {"a word longer than the raw-word limit", Fixed("MOVE " + std::string(60, 'A')) +
                                                      "000000-    " + std::string(61, 'B') + "\n" +
                                                      "000000-    " + std::string(50, 'C') + " TO D E\n",
         DIAL_ANSI85, LINE_FORMAT_FIXED, 4},
        {"a word of the raw-word limit and one over it",
         "MOVE " + std::string(158, 'A') + "\n" + std::string(159, 'B') + " TO C.\nD\n", DIAL_MF, LINE_FORMAT_FREE,
         5},
        {"the last line without a line break", Fixed("MOVE A TO B") + "       C D", DIAL_ANSI85, LINE_FORMAT_FIXED, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, c.dialect);
        lexer.lineFormat = c.lineFormat;
        EXPECT_EQ(Compare(c.source), c.taken);
    }
}

// Every program of the corpus, copybooks in line: the same tokens, places
// and kept lists with the shortcut on and off.
TEST_F(LineWords, SameTokensOverTheCorpus) {
    VEMLO_REQUIRE_CORPUS();
    struct Folder {
        const char* name;
        const char* copybooks;
        const char* suffix;
        int dialect;
    };
    const Folder folders[] = {
        {"nist", "nist-copy", ".CPY", DIAL_ANSI85},
        {"sql", "sql", nullptr, DIAL_MF},
        {"genapp", "genapp", nullptr, DIAL_VSII},
        {"course", "course", nullptr, DIAL_VSII},
    };
    int files = 0;
    long long taken = 0;
    for (const Folder& folder : folders) {
        lexer.dials = DovNoDials();
        DovDialsAdd(lexer.dials, folder.dialect);
        lexer.copyDirs = VStringArray(1);
        lexer.copyDirs.items[lexer.copyDirs.count++] = (*vemlo_test::CorpusDir() / folder.copybooks).c_str();
        if (folder.suffix) {
            lexer.copySuffixes = VStringArray(2);
            lexer.copySuffixes.items[lexer.copySuffixes.count++] = folder.suffix;
        }
        for (const auto& file : vemlo_test::CorpusFiles(folder.name)) {
            if (file.extension() == ".cpy" || file.extension() == ".CPY") continue;
            SCOPED_TRACE(file.string());
            const std::string layers = Dump(file.string(), false);
            const std::string shortcut = Dump(file.string(), true);
            taken += lexer.lineWordsTaken;
            // The first difference only: a whole dump is too long to read.
            if (shortcut != layers) {
                std::size_t at = 0;
                while (at < layers.size() && at < shortcut.size() && layers[at] == shortcut[at]) ++at;
                const std::size_t from = at > 300 ? at - 300 : 0;
                ADD_FAILURE() << "layers:\n" << layers.substr(from, 600) << "\nshortcut:\n" << shortcut.substr(from, 600);
            }
            ++files;
        }
    }
    EXPECT_GT(files, 450);
    EXPECT_GT(taken, 100000);
}

}  // namespace
