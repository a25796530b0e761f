// Source files as real editors and compilers leave them: a byte-order mark
// in front, line ends of a lone carriage return, debugging lines marked with
// a lower-case d, partial-word tags in COPY REPLACING, listing directives
// with a period, EXIT PARAGRAPH and EXIT PERFORM CYCLE under the dialects
// whose compilers have them, and names of 31 characters where the compiler
// allows them. Each parses with no message, to the tree it would have
// without the peculiarity.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/grammar/grammar_fixture.h"
#include "tests/lexer/temp_dir.h"
#include "tests/support/files.h"

namespace {

using vemlo_grammar_test::FindAll;
using vemlo_grammar_test::GrammarRun;
using vemlo_grammar_test::Shape;

// A fixed-format line: `text` from column 8 (area A), or from column 12
// when it starts with a blank; `indicator` in column 7.
std::string L(const std::string& text, char indicator = ' ') {
    return std::string("      ") + indicator + (text.empty() || text[0] != ' ' ? "" : "   ") + text + "\n";
}

const std::string kHead = L("IDENTIFICATION DIVISION.") + L("PROGRAM-ID. T.");

struct Case {
    const char* what;
    int primary, secondary;
    std::string program;
    std::vector<std::pair<std::string, std::string>> copybooks;  // name, text
    std::vector<std::string> names;       // data and paragraph names defined, in order
    std::vector<std::string> statements;  // shapes of the statements, in order
};

// The names the program defines (data entries and paragraphs), in order.
std::vector<std::string> DefinedNames(const GrammarRun& run) {
    std::vector<std::string> out;
    for (DovExpr* def : FindAll(run.Program(), NAMED_OBJ_DEF)) out.push_back(def->Image().CStr());
    return out;
}

std::vector<std::string> StatementShapes(const GrammarRun& run) {
    std::vector<std::string> out;
    for (DovExpr* s : run.Statements()) out.push_back(Shape(s));
    return out;
}

// `text` with sequence numbers in columns 1 to 6 (000100, 000200, ...).
std::string Sequenced(const std::string& text) {
    std::string out;
    int line = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        char number[8];
        std::snprintf(number, sizeof number, "%04d00", ++line);
        out += number + text.substr(at + 6, next - at - 6);
        at = next;
    }
    return out;
}

const char kMark[] = "\xEF\xBB\xBF";

TEST(RealSources, ParseWithoutMessagesToTheirTrees) {
    const std::string data = L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") + L("01  I PIC 9.");
    const std::string simple = kHead + data + L("PROCEDURE DIVISION.") + L("P-1.") + L(" MOVE 1 TO I.") +
                               L(" STOP RUN.");
    const std::vector<std::string> simpleNames = {"T", "I", "P-1"};
    const std::vector<std::string> simpleStatements = {"STMT_MOVE(1,EX_LIST(I))", "STMT_STOP(EX_RUN,null,null)"};
    const std::string tags = L("01  :PFX:-A::.") + L(" 05  :PFX:-A::-VAR0 PIC X.");
    const std::string name31 = "A234567890123456789012345678901";
    const Case cases[] = {
        {"a byte-order mark in front of the program", DIAL_ANSI85, DIAL_NONE, kMark + Sequenced(simple), {},
         simpleNames, simpleStatements},
        {"a byte-order mark in front of a copybook", DIAL_ANSI85, DIAL_NONE,
         kHead + L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") + L("COPY DATA1.") +
             L("PROCEDURE DIVISION.") + L("P-1.") + L(" MOVE 1 TO I.") + L(" STOP RUN."),
         {{"DATA1.cpy", kMark + Sequenced(L("01  I PIC 9."))}},
         simpleNames, simpleStatements},
        {"lines that end with a carriage return alone", DIAL_ANSI85, DIAL_NONE,
         vemlo_test::WithLineEnds(simple, "\r"), {}, simpleNames, simpleStatements},
        {"lines that end with CR LF", DIAL_ANSI85, DIAL_NONE, vemlo_test::WithLineEnds(simple, "\r\n"), {},
         simpleNames, simpleStatements},
        {"debugging lines with a lower-case d, not compiled", DIAL_VSII, DIAL_MF,
         kHead + data + L("PROCEDURE DIVISION.") + L("P-1.") + L(" MOVE 1 TO I.") +
             L(" DISPLAY 'DEBUG 2 '", 'd') + L("     UPON CONSOLE", 'd') + L(" STOP RUN."),
         {}, simpleNames, simpleStatements},
        {"debugging lines with a lower-case d, compiled", DIAL_VSII, DIAL_MF,
         kHead + L("ENVIRONMENT DIVISION.") + L("CONFIGURATION SECTION.") +
             L("SOURCE-COMPUTER. X WITH DEBUGGING MODE.") + data + L("PROCEDURE DIVISION.") + L("P-1.") +
             L(" MOVE 1 TO I.") + L(" DISPLAY 'DEBUG 2 '", 'd') + L(" STOP RUN."),
         {}, simpleNames,
         {"STMT_MOVE(1,EX_LIST(I))",
          "STMT_DISPLAY(DISPLAY_ITEM_LIST(DISPLAY_ANSI_ITEM('DEBUG 2 ',-,-,-)),null,null,null)",
          "STMT_STOP(EX_RUN,null,null)"}},
        {"partial-word tags in COPY REPLACING, one of them replaced by nothing", DIAL_VSII, DIAL_NONE,
         kHead + L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") +
             L("COPY TAGS REPLACING ==:PFX:== BY ==XX== ==::== BY ====.") + L("PROCEDURE DIVISION.") +
             L("P-1.") + L(" MOVE SPACE TO XX-A-VAR0.") + L(" STOP RUN."),
         {{"TAGS.cpy", tags}},
         {"T", "XX-A", "XX-A-VAR0", "P-1"},
         {"STMT_MOVE(FIG_SPACE,EX_LIST(XX-A-VAR0))", "STMT_STOP(EX_RUN,null,null)"}},
        {"partial-word tags at the start and the end of words", DIAL_VSII, DIAL_NONE,
         kHead + L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") +
             L("COPY TAGS REPLACING ==:P:== BY ==W== ==:S:== BY ====.") + L("PROCEDURE DIVISION.") + L("P-1.") +
             L(" STOP RUN."),
         {{"TAGS.cpy", L("01  :P:-REC:S:.") + L(" 05  :S:FLD-:P: PIC X.") + L(" 05  :P:-MID:S:-END PIC X.")}},
         {"T", "W-REC", "FLD-W", "W-MID-END", "P-1"},
         {"STMT_STOP(EX_RUN,null,null)"}},
        {"listing directives with a separator period", DIAL_VSII, DIAL_NONE,
         kHead + L("EJECT.") + data + L(" SKIP1.") + L("PROCEDURE DIVISION.") + L("P-1.") + L(" MOVE 1 TO I.") +
             L(" SKIP2.") + L("SKIP3.") + L(" STOP RUN."),
         {}, simpleNames, simpleStatements},
        {"EXIT PARAGRAPH and EXIT PERFORM CYCLE under VS COBOL II and MF", DIAL_VSII, DIAL_MF,
         kHead + data + L("PROCEDURE DIVISION.") + L("P-1.") + L(" PERFORM 3 TIMES") + L("     EXIT PERFORM CYCLE") +
             L(" END-PERFORM") + L(" EXIT PARAGRAPH.") + L(" STOP RUN."),
         {}, simpleNames,
         {"STMT_PERFORM_BLOCK(EX_PERF_TIMES(3),STMT_LIST(STMT_EXIT_PERFORM(EX_EXIT_CYCLE)),EX_END_PERFORM)",
          "STMT_EXIT_PARAGRAPH",
          "STMT_STOP(EX_RUN,null,null)"}},
        {"a name of 31 characters under MF", DIAL_VSII, DIAL_MF,
         kHead + L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") + L("01  " + name31 + " PIC X.") +
             L("PROCEDURE DIVISION.") + L("P-1.") + L(" MOVE SPACE TO " + name31 + ".") + L(" STOP RUN."),
         {}, {"T", name31, "P-1"},
         {"STMT_MOVE(FIG_SPACE,EX_LIST(" + name31 + "))", "STMT_STOP(EX_RUN,null,null)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vemlo_test::TempDir dir;
        for (const auto& [name, text] : c.copybooks) dir.Write(name, text);
        GrammarRun run;
        run.parser().primaryDialect = c.primary;
        run.parser().secondaryDialect = c.secondary;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
        run.parser().copyDirs = VStringArray(1);
        run.parser().copyDirs.items[run.parser().copyDirs.count++] = dir.Path().c_str();
        EXPECT_EQ(run.ParseFile(dir.Write("T.cbl", c.program)), 0) << run.MessageText();
        EXPECT_EQ(run.MessageText(), "");
        EXPECT_EQ(DefinedNames(run), c.names);
        EXPECT_EQ(StatementShapes(run), c.statements);
        EXPECT_EQ(run.TokenDifference(), "");
    }
}

// The limits that stay: 31 characters are too many where MF is not among the
// dialects, 32 where it is.
TEST(RealSources, NamesLongerThanTheDialectAllowsAreReported) {
    struct Limit {
        int secondary;
        std::string name;
        int length;
    } const limits[] = {
        {DIAL_NONE, "A234567890123456789012345678901", 30},
        {DIAL_MF, "A2345678901234567890123456789012", 31},
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(l.name);
        GrammarRun run;
        run.parser().primaryDialect = DIAL_VSII;
        run.parser().secondaryDialect = l.secondary;
        VString error;
        ASSERT_EQ(run.parser().ResolveDialectDefaults(error), 0);
        run.ParseText(kHead + L("DATA DIVISION.") + L("WORKING-STORAGE SECTION.") + L("01  " + l.name + " PIC X.") +
                      L("PROCEDURE DIVISION.") + L("P-1.") + L(" STOP RUN."));
        EXPECT_EQ(run.Messages(), std::vector<std::string>{"ERROR: User defined word '" + l.name +
                                                           "' is longer than " + std::to_string(l.length) +
                                                           " characters."});
    }
}

}  // namespace
