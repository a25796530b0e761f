// Small programs printed through the templates alone (gen-src off) and
// parsed again: each case is one construct whose template once printed text
// that did not parse back to the same tree (a keyword printed twice or not
// at all, doubled parentheses, two text parts run together on one line, a
// doubled or a missing period, embedded text spread over many lines, a line
// of blanks inside text kept as it stands, pseudo-text run together with its
// delimiters, a continued literal split between the two quotes of a pair).
// The trees are compared by operation names, argument slots and leaf images.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "grammar/cobol_grammar.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/tree_shape.h"

namespace {

namespace fs = std::filesystem;

class Scratch {
public:
    Scratch() {
        dir_ = fs::temp_directory_path() / ("vemlo_tpl_round_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "copies");
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name) << text;
        return dir_ / name;
    }
    const fs::path& Dir() const { return dir_; }

private:
    fs::path dir_;
};

DovExpr* Parse(const fs::path& file, const std::string& lang, const fs::path& copies) {
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    const std::string langWord = "-lang=" + lang, copyWord = "-copylib-dir=" + copies.string();
    const char* argv[] = {langWord.c_str(), copyWord.c_str()};
    VStringList files, problems;
    if (SetCLFlag(table, 0, 2, argv, files, problems) != 0) return nullptr;
    VString error;
    if (parser.ResolveDialectDefaults(error) != 0) return nullptr;
    DovExpr* root = nullptr;
    DovTokenList messages;
    parser.Parse(file.string().c_str(), root, &messages);
    return root;
}

// A program: the identification division, then `body` as it stands.
std::string Program(const std::string& body) {
    return "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. T.\n" + body;
}

const char kData[] =
    "       DATA DIVISION.\n"
    "       WORKING-STORAGE SECTION.\n"
    "       01  A PIC X(8).\n"
    "       01  N PIC 9(4).\n";

// A program whose procedure division holds one EXEC SQL block with `sql`
// (written on one line; keep it short enough for the fixed format).
std::string SqlProgram(const std::string& sql) {
    return Program(std::string(kData) + "       PROCEDURE DIVISION.\n           EXEC SQL\n               " + sql +
                   "\n           END-EXEC.\n           STOP RUN.\n");
}

struct Case {
    const char* name;
    std::string text;
    const char* lang;
    bool syntaxError = false;  // the parser reads the text as a syntax error on purpose
    const char* printed = nullptr;  // text the printed program must hold, where the tree cannot tell
};

std::vector<Case> Cases() {
    const std::string data = kData;
    return {
        {"file section after the data division header",
         Program("       ENVIRONMENT DIVISION.\n       INPUT-OUTPUT SECTION.\n       FILE-CONTROL.\n"
                 "           SELECT F ASSIGN TO \"F\".\n       DATA DIVISION.\n       FILE SECTION.\n"
                 "       FD  F.\n       01  R PIC X(80).\n       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "ansi85"},
        {"environment division right after PROGRAM-ID",
         Program("       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SOURCE-COMPUTER. X.\n" +
                 data + "       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "ansi85"},
        {"GO TO DEPENDING ON",
         Program(data + "       PROCEDURE DIVISION.\n       P1.\n           GO TO P2 P3 DEPENDING ON N.\n"
                        "       P2.\n           STOP RUN.\n       P3.\n           STOP RUN.\n"),
         "ansi85"},
        {"FUNCTION arguments and a reference modification among them",
         Program(data + "       PROCEDURE DIVISION.\n           COMPUTE N = FUNCTION MAX(1, N, 3).\n"
                        "           MOVE FUNCTION UPPER-CASE(A(1:2)) TO A.\n           STOP RUN.\n"),
         "ansi85"},
        {"THRU ranges and single values",
         Program(data + "       PROCEDURE DIVISION.\n           EVALUATE N\n           WHEN 1 THRU 5\n"
                        "               MOVE 0 TO N\n           WHEN 7\n               MOVE 1 TO N\n"
                        "           END-EVALUATE.\n           STOP RUN.\n"),
         "ansi85"},
        {"ACCEPT FROM and DISPLAY UPON",
         Program("       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SPECIAL-NAMES.\n"
                 "           CONSOLE IS CNS.\n" +
                 data + "       PROCEDURE DIVISION.\n           ACCEPT A FROM DATE.\n           DISPLAY A UPON CNS.\n"
                        "           STOP RUN.\n"),
         "ansi85"},
        {"an I-O-CONTROL paragraph without clauses",
         Program("       ENVIRONMENT DIVISION.\n       INPUT-OUTPUT SECTION.\n       FILE-CONTROL.\n"
                 "           SELECT F ASSIGN TO \"F\".\n       I-O-CONTROL.\n       DATA DIVISION.\n"
                 "       FILE SECTION.\n       FD  F.\n       01  R PIC X(80).\n       PROCEDURE DIVISION.\n"
                 "           STOP RUN.\n"),
         "ansi85"},
        {"pseudo-text whose text is an equal sign, and empty pseudo-text",
         Program(data + "       PROCEDURE DIVISION.\n       P1.\n       REPLACE == = == BY ==EQUAL==\n"
                        "               ==NOT== BY ====.\n           IF N = 1 MOVE 0 TO N.\n"
                        "       REPLACE OFF.\n           STOP RUN.\n"),
         "ansi85"},
        {"a literal of doubled quotes continued where a pair would be split at the margin",
         Program(data + "       PROCEDURE DIVISION.\n           MOVE  \"" + std::string(54, '"') +
                 "\n      -    \"" + std::string(60, '"') + "\n      -    \"" + std::string(26, '"') +
                 "\" TO A.\n           STOP RUN.\n"),
         "ansi85"},
        {"the same in pseudo-text",
         Program(data + "       PROCEDURE DIVISION.\n       P1.\n       REPLACE ==\"Z\"== BY  ==\"" +
                 std::string(42, '"') + "\n      -    \"" + std::string(60, '"') + "\n      -    \"" +
                 std::string(38, '"') + "\"==.\n           MOVE \"Z\" TO A.\n       REPLACE OFF.\n           STOP RUN.\n"),
         "ansi85"},
        {"embedded SQL kept as text, over several lines",
         Program("       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n"
                 "                EXEC SQL DECLARE Z#T TABLE\n"
                 "                        (ACCTNO     CHAR(8)  NOT NULL,\n"
                 "                         COMMENTS   CHAR(50) NOT NULL)\n"
                 "                         END-EXEC.\n"
                 "       01  A PIC X.\n       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "vsii", true},
        // Without the period after its END-EXEC, the marker of the INCLUDE
        // that follows would end the entry with a period of its own.
        {"an SQL block in the data division before an SQL INCLUDE whose member is missing",
         Program("       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n"
                 "       EXEC SQL BEGIN DECLARE SECTION END-EXEC.\n       01  A PIC X.\n"
                 "       EXEC SQL END DECLARE SECTION END-EXEC.\n       EXEC SQL INCLUDE NOSUCHMEMBER END-EXEC.\n"
                 "       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "mf", false, "EXEC SQL INCLUDE NOSUCHMEMBER END-EXEC.\n"},
        // Text kept as it stands: a blank of it must not be printed where a
        // line ends anyway (after the line end of EXEC SQL, at the right
        // margin), or a line of blanks reads back as one more element.
        {"an SQL statement kept as text on the line after EXEC SQL, left of the indentation",
         Program(data + "       PROCEDURE DIVISION.\n       P1.\n       EXEC SQL\n           DROP TABLE IF EXISTS T\n"
                        "       END-EXEC.\n           STOP RUN.\n"),
         "mf", true},
        {"a sentence kept as text whose first line ends at the right margin",
         Program(data + "       PROCEDURE DIVISION.\n       P1.\n           DISPLAY FUNCTION TRIM(A,                            TRAILING)\n"
                        "           CALL \"X\" USING A.\n           STOP RUN.\n"),
         "vsii", true},
        // The leading option of a CICS command prints its own keyword.
        {"CICS ADDRESS SET",
         Program("       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01  P USAGE POINTER.\n"
                 "       LINKAGE SECTION.\n       01  L PIC X(80).\n       PROCEDURE DIVISION.\n"
                 "           EXEC CICS ADDRESS SET(ADDRESS OF L) USING(P) END-EXEC.\n           STOP RUN.\n"),
         "vsii"},
        // MAP after other options and RESP among the items of ASSIGN: both
        // print in the form the tree holds.
        {"CICS SEND MAP and ASSIGN RESP after other options",
         Program("       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01  D PIC X(80).\n"
                 "       01  R PIC S9(8) COMP.\n       PROCEDURE DIVISION.\n"
                 "           EXEC CICS SEND MAPSET('S1') FROM(D) MAP('M1') END-EXEC.\n"
                 "           EXEC CICS ASSIGN RESP(R) APPLID(D) NOHANDLE END-EXEC.\n           STOP RUN.\n"),
         "vsii"},
        // SQL statements whose keywords come from a clause node of their own
        // (FROM, the parentheses of a column list or of a query, TO).
        {"SQL DELETE FROM a table", SqlProgram("DELETE FROM EMP WHERE EMP_NO > :N"), "mf"},
        {"SQL DELETE at a cursor", SqlProgram("DELETE FROM EMP WHERE CURRENT OF C1"), "mf"},
        {"SQL INSERT with a column list", SqlProgram("INSERT INTO EMP (EMP_NO, EMP_NAME) VALUES (:N, :A)"), "mf"},
        {"SQL INSERT of rows of one value, in parentheses and bare", SqlProgram("INSERT INTO EMP VALUES (:N), 5, (:A, 6)"),
         "mf"},
        {"SQL SELECT from a query in parentheses", SqlProgram("SELECT B INTO :A FROM (SELECT B FROM T) X"), "mf"},
        {"SQL CONNECT TO DEFAULT", SqlProgram("CONNECT TO DEFAULT"), "mf"},
        {"SQL CONNECT TO a server with a name and a user", SqlProgram("CONNECT TO 'DB' AS 'C' USER 'U'"), "mf"},
        {"SQL DISCONNECT a connection", SqlProgram("DISCONNECT 'C'"), "mf"},
        {"SQL DESCRIBE INPUT", SqlProgram("DESCRIBE INPUT P USING SQL DESCRIPTOR D"), "mf"},
        {"SQL DESCRIBE OUTPUT", SqlProgram("DESCRIBE P USING SQL DESCRIPTOR D"), "mf"},
        {"SQL SET DESCRIPTOR COUNT", SqlProgram("SET DESCRIPTOR D :N = COUNT"), "mf"},
        {"SQL SET CONCURRENCY", SqlProgram("SET CONCURRENCY LOCKCC"), "mf"},
        {"SQL SET SCROLLOPTION", SqlProgram("SET SCROLLOPTION FAST FORWARD"), "mf"},
    };
}

TEST(TemplateRoundTrip, EachConstructParsesBackToAnEqualTree) {
    DovInstallGrammar();
    Scratch scratch;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        DovExpr* first = Parse(scratch.Write("in.cbl", c.text), c.lang, scratch.Dir() / "copies");
        ASSERT_NE(first, nullptr) << c.text;
        const std::vector<std::string> before = vemlo_test::TreeShape(first);
        // A case the parser does not read tests nothing of the printer.
        if (!c.syntaxError) {
            for (const std::string& line : before)
                EXPECT_EQ(line.find("SYNTAX_ERROR"), std::string::npos) << c.text;
        }
        VString text;
        DovTokenList messages;
        DovPrettyPrinterImpl printer;
        ASSERT_EQ(printer.PrintToString(text, first, &messages), 0);
        delete first;
        if (c.printed) {
            EXPECT_NE(std::string(text.CStr()).find(c.printed), std::string::npos) << text.CStr();
        }
        for (const DovToken* m : messages)
            EXPECT_EQ(std::string(m->image.CStr()).find("must not be NULL"), std::string::npos) << m->image.CStr();
        DovExpr* second = Parse(scratch.Write("out.cbl", text.CStr()), c.lang, scratch.Dir() / "copies");
        if (!second) {
            ADD_FAILURE() << "the printed text does not parse:\n" << text.CStr();
            continue;
        }
        const std::vector<std::string> after = vemlo_test::TreeShape(second);
        delete second;
        EXPECT_EQ(vemlo_test::ShapeDifference(before, after), "") << "printed:\n" << text.CStr();
    }
}

}  // namespace
