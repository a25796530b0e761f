// Small programs printed through the templates alone (gen-src off) and
// parsed again: each case is one construct whose template once printed text
// that did not parse back to the same tree (a keyword printed twice or not
// at all, doubled parentheses, two text parts run together on one line, a
// doubled or a missing period, embedded text spread over many lines, a line
// of blanks inside text kept as it stands, pseudo-text run together with its
// delimiters, a continued literal split between the two quotes of a pair,
// a channel printed as a user word, a period printed twice); and every
// statement with every optional phrase and its explicit terminator. The
// trees are compared by operation names, argument slots and leaf images.
#include <gtest/gtest.h>

#include <algorithm>
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
    // Printed from source, the text is not the source's on purpose: a NOTE
    // statement's text comes back as a comment line.
    bool sourceTextChanges = false;
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
        // C10 to C12 are the channels, not user words.
        {"the channels C10, C11 and C12 in SPECIAL-NAMES",
         Program("       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SPECIAL-NAMES.\n"
                 "           C10 IS CH-TEN C11 IS CH-ELEVEN\n           C12 IS CH-TWELVE.\n" +
                 data + "       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "vsii"},
        // A paragraph without clauses ends with the period of its header.
        {"paragraphs of the configuration section without clauses",
         Program("       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SOURCE-COMPUTER.\n"
                 "       OBJECT-COMPUTER.\n       SPECIAL-NAMES.\n" +
                 data + "       PROCEDURE DIVISION.\n           STOP RUN.\n"),
         "mf"},
        // The data name of the header's RETURNING or GIVING phrase is all
        // the tree holds of it.
        {"a procedure division header with USING and RETURNING",
         Program(data + "       LINKAGE SECTION.\n       01  L PIC X(8).\n"
                        "       PROCEDURE DIVISION USING L RETURNING N.\n           GOBACK.\n"),
         "mf"},
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

// Prints the tree of `c` through the templates, parses the printed text
// again and compares the two trees.
void ExpectRoundTrip(const Case& c, const Scratch& scratch) {
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
        return;
    }
    const std::vector<std::string> after = vemlo_test::TreeShape(second);
    delete second;
    EXPECT_EQ(vemlo_test::ShapeDifference(before, after), "") << "printed:\n" << text.CStr();
}

TEST(TemplateRoundTrip, EachConstructParsesBackToAnEqualTree) {
    DovInstallGrammar();
    Scratch scratch;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        ExpectRoundTrip(c, scratch);
    }
}

// A program for the statement forms: files of each organisation and a sort
// file, data the statements take, and `statements` (one a line, indented as
// written) as the first sentence of paragraph P1.
std::string StatementProgram(const std::string& statements) {
    std::string text = Program(
        "       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n       SPECIAL-NAMES.\n"
        "           CONSOLE IS CNS\n           C01 IS TOP-PAGE\n           ALPHABET ALPH IS NATIVE.\n"
        "       INPUT-OUTPUT SECTION.\n       FILE-CONTROL.\n"
        "           SELECT SQF ASSIGN TO \"S\" FILE STATUS IS FS.\n"
        "           SELECT IXF ASSIGN TO \"I\" ORGANIZATION IS INDEXED\n"
        "               ACCESS MODE IS DYNAMIC RECORD KEY IS IXK.\n"
        "           SELECT RLF ASSIGN TO \"R\" ORGANIZATION IS RELATIVE\n"
        "               ACCESS MODE IS DYNAMIC RELATIVE KEY IS N.\n"
        "           SELECT SRT ASSIGN TO \"W\".\n"
        "       DATA DIVISION.\n       FILE SECTION.\n"
        "       FD  SQF.\n       01  SR PIC X(80).\n"
        "       FD  IXF.\n       01  IXR.\n           05  IXK PIC X(8).\n           05  IXD PIC X(72).\n"
        "       FD  RLF.\n       01  RR PIC X(80).\n"
        "       SD  SRT.\n       01  WR.\n           05  WK PIC X(8).\n           05  WD PIC X(72).\n"
        "       WORKING-STORAGE SECTION.\n"
        "       01  A PIC X(8).\n       01  B PIC X(8).\n       01  N PIC 9(4).\n       01  M PIC 9(4).\n"
        "       01  K PIC 9(4).\n       01  FS PIC XX.\n"
        "       01  TB.\n           05  E OCCURS 10 ASCENDING KEY IS EK INDEXED BY X1.\n"
        "               10  EK PIC 9(4).\n"
        "       01  G1.\n           05  F1 PIC X.\n       01  G2.\n           05  F1 PIC X.\n"
        "       01  C88 PIC 9.\n           88  YES VALUE 1.\n"
        "       PROCEDURE DIVISION.\n       P1.\n");
    std::size_t from = 0;
    while (from <= statements.size()) {
        const std::size_t end = std::min(statements.find('\n', from), statements.size());
        text += "           " + statements.substr(from, end - from) + "\n";
        from = end + 1;
    }
    return text + "           STOP RUN.\n       P2.\n           EXIT.\n";
}

// Every statement with every optional phrase it takes and its explicit
// terminator, printed through the templates and parsed again: a template
// that leaves a phrase or the terminator out (END-DISPLAY and the exception
// phrases of DISPLAY were once lost so) or prints a keyword the grammar does
// not read gives another tree. Statements of the report writer, of the
// communication section and of declaratives stand in programs of their own.
std::vector<Case> StatementForms() {
    struct Form {
        const char* name;
        const char* lang;
        const char* statements;
    };
    const Form forms[] = {
        {"ACCEPT FROM and ON EXCEPTION, END-ACCEPT", "mf",
         "ACCEPT A FROM DATE\n"
         "ACCEPT B\n"
         "    ON EXCEPTION CONTINUE\n"
         "    NOT ON EXCEPTION CONTINUE\n"
         "END-ACCEPT"},
        {"ACCEPT FROM a mnemonic", "ansi85", "ACCEPT A FROM CNS"},
        {"ADD TO with ROUNDED and SIZE ERROR, END-ADD", "ansi85",
         "ADD 1 2 TO N ROUNDED M\n"
         "    ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE\n"
         "END-ADD"},
        {"ADD GIVING", "ansi85", "ADD 1 N GIVING M ROUNDED ON SIZE ERROR CONTINUE END-ADD"},
        {"ADD CORRESPONDING", "ansi85",
         "ADD CORRESPONDING G1 TO G2 ROUNDED\n"
         "    ON SIZE ERROR CONTINUE\n"
         "END-ADD"},
        {"ALTER", "ansi85", "ALTER P2 TO PROCEED TO P1"},
        {"CALL USING, RETURNING, ON EXCEPTION, END-CALL", "mf",
         "CALL \"SUB\" USING BY REFERENCE A BY CONTENT B BY VALUE N\n"
         "    RETURNING M\n"
         "    ON EXCEPTION CONTINUE\n"
         "    NOT ON EXCEPTION CONTINUE\n"
         "END-CALL"},
        {"CALL ON OVERFLOW", "ansi85", "CALL \"SUB\" USING A ON OVERFLOW CONTINUE END-CALL"},
        {"CANCEL", "ansi85", "CANCEL \"SUB\" A"},
        {"CLOSE with its options", "ansi85", "CLOSE SQF WITH LOCK IXF RLF"},
        {"COMPUTE with ROUNDED and SIZE ERROR, END-COMPUTE", "ansi85",
         "COMPUTE N ROUNDED M = (N + 1) * 2 ** 3\n"
         "    ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE\n"
         "END-COMPUTE"},
        {"CONTINUE", "ansi85", "CONTINUE"},
        {"DELETE with INVALID KEY, END-DELETE", "ansi85",
         "DELETE IXF RECORD\n"
         "    INVALID KEY CONTINUE\n"
         "    NOT INVALID KEY CONTINUE\n"
         "END-DELETE"},
        {"DISPLAY UPON with NO ADVANCING and ON EXCEPTION, END-DISPLAY", "mf",
         "DISPLAY \"X\" A UPON CNS WITH NO ADVANCING\n"
         "    ON EXCEPTION CONTINUE\n"
         "    NOT ON EXCEPTION CONTINUE\n"
         "END-DISPLAY"},
        {"DISPLAY with END-DISPLAY alone", "mf", "DISPLAY \"X\" END-DISPLAY"},
        {"DIVIDE INTO", "ansi85",
         "DIVIDE 2 INTO N ROUNDED M ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE END-DIVIDE"},
        {"DIVIDE BY GIVING REMAINDER", "ansi85",
         "DIVIDE N BY 2 GIVING M ROUNDED REMAINDER K\n"
         "    ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE\n"
         "END-DIVIDE"},
        {"EVALUATE with ALSO, THRU, ANY, NOT, OTHER, END-EVALUATE", "ansi85",
         "EVALUATE N ALSO TRUE\n"
         "    WHEN 1 THRU 5 ALSO YES\n"
         "        CONTINUE\n"
         "    WHEN NOT 7 ALSO ANY\n"
         "    WHEN 8 ALSO FALSE\n"
         "        CONTINUE\n"
         "    WHEN OTHER\n"
         "        CONTINUE\n"
         "END-EVALUATE"},
        {"EXIT PROGRAM", "ansi85", "EXIT PROGRAM"},
        {"EXIT PERFORM", "mf",
         "PERFORM UNTIL N > 5\n"
         "    EXIT PERFORM\n"
         "END-PERFORM"},
        {"EXIT PERFORM CYCLE", "acu",
         "PERFORM UNTIL N > 5\n"
         "    EXIT PERFORM CYCLE\n"
         "END-PERFORM"},
        {"EXIT PARAGRAPH and SECTION", "acu", "EXIT PARAGRAPH\n" "EXIT SECTION"},
        {"GOBACK", "vsii", "GOBACK"},
        {"GO TO", "ansi85", "GO TO P2"},
        {"GO TO DEPENDING ON", "ansi85", "GO TO P1 P2 DEPENDING ON N"},
        {"IF with ELSE and END-IF", "ansi85",
         "IF N = 1\n"
         "    CONTINUE\n"
         "ELSE\n"
         "    MOVE 1 TO N\n"
         "END-IF"},
        {"IF with THEN and NEXT SENTENCE", "ansi85", "IF N = 1 THEN NEXT SENTENCE ELSE NEXT SENTENCE END-IF"},
        {"INITIALIZE REPLACING", "ansi85", "INITIALIZE G1 A\n" "    REPLACING ALPHANUMERIC DATA BY \"X\" NUMERIC BY 0"},
        {"INSPECT TALLYING and REPLACING", "ansi85",
         "INSPECT A TALLYING N FOR ALL \"A\" BEFORE INITIAL \"B\"\n"
         "    M FOR LEADING \"C\" AFTER \"D\" K FOR CHARACTERS\n"
         "    REPLACING ALL \"A\" BY \"B\" FIRST \"C\" BY \"D\"\n"
         "    CHARACTERS BY \"E\" BEFORE \"F\""},
        {"INSPECT CONVERTING", "ansi85",
         "INSPECT A CONVERTING \"ABC\" TO \"XYZ\"\n"
         "    AFTER INITIAL \"Q\" BEFORE \"R\""},
        {"MERGE", "ansi85",
         "MERGE SRT ON ASCENDING KEY WK ON DESCENDING KEY WD\n"
         "    COLLATING SEQUENCE IS ALPH\n"
         "    USING SQF RLF GIVING IXF"},
        {"MERGE OUTPUT PROCEDURE", "ansi85",
         "MERGE SRT ASCENDING WK USING SQF RLF\n"
         "    OUTPUT PROCEDURE IS P2 THRU P2"},
        {"MOVE", "ansi85", "MOVE A TO B N"},
        {"MOVE CORRESPONDING", "ansi85", "MOVE CORRESPONDING G1 TO G2"},
        {"MULTIPLY BY", "ansi85",
         "MULTIPLY 2 BY N ROUNDED ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE END-MULTIPLY"},
        {"MULTIPLY GIVING", "ansi85",
         "MULTIPLY 2 BY N GIVING M ROUNDED\n"
         "    ON SIZE ERROR CONTINUE\n"
         "END-MULTIPLY"},
        {"OPEN with every mode", "ansi85", "OPEN INPUT SQF WITH NO REWIND OUTPUT RLF I-O IXF EXTEND SQF"},
        {"PERFORM a range TIMES", "ansi85", "PERFORM P2 THRU P2 3 TIMES"},
        {"PERFORM WITH TEST AFTER UNTIL, END-PERFORM", "ansi85",
         "PERFORM WITH TEST AFTER UNTIL N > 5\n"
         "    ADD 1 TO N\n"
         "END-PERFORM"},
        {"PERFORM VARYING AFTER", "ansi85",
         "PERFORM P2 VARYING N FROM 1 BY 1 UNTIL N > 5\n"
         "    AFTER M FROM 1 BY 2 UNTIL M > 3"},
        {"PERFORM VARYING inline, END-PERFORM", "ansi85",
         "PERFORM WITH TEST BEFORE VARYING N FROM 1 BY 1 UNTIL N > 5\n"
         "    CONTINUE\n"
         "END-PERFORM"},
        {"PERFORM TIMES inline", "ansi85",
         "PERFORM N TIMES\n"
         "    CONTINUE\n"
         "END-PERFORM"},
        {"READ NEXT INTO with AT END, END-READ", "ansi85",
         "READ SQF NEXT RECORD INTO A\n"
         "    AT END CONTINUE\n"
         "    NOT AT END CONTINUE\n"
         "END-READ"},
        {"READ KEY with INVALID KEY, END-READ", "ansi85",
         "READ IXF RECORD INTO A KEY IS IXK\n"
         "    INVALID KEY CONTINUE\n"
         "    NOT INVALID KEY CONTINUE\n"
         "END-READ"},
        {"RELEASE FROM", "ansi85", "RELEASE WR FROM A"},
        {"RETURN INTO with AT END, END-RETURN", "ansi85",
         "RETURN SRT RECORD INTO A\n"
         "    AT END CONTINUE\n"
         "    NOT AT END CONTINUE\n"
         "END-RETURN"},
        {"REWRITE FROM with INVALID KEY, END-REWRITE", "ansi85",
         "REWRITE IXR FROM A\n"
         "    INVALID KEY CONTINUE\n"
         "    NOT INVALID KEY CONTINUE\n"
         "END-REWRITE"},
        {"SEARCH VARYING with AT END, END-SEARCH", "ansi85",
         "SEARCH E VARYING N\n"
         "    AT END CONTINUE\n"
         "    WHEN EK (X1) = 1\n"
         "        CONTINUE\n"
         "    WHEN EK (X1) = 2\n"
         "        NEXT SENTENCE\n"
         "END-SEARCH"},
        {"SEARCH ALL", "ansi85",
         "SEARCH ALL E\n"
         "    AT END CONTINUE\n"
         "    WHEN EK (X1) = 1 AND YES\n"
         "        CONTINUE\n"
         "END-SEARCH"},
        {"SET TO, UP BY, DOWN BY, TO TRUE", "ansi85",
         "SET X1 TO 1\n"
         "SET X1 UP BY 2\n"
         "SET X1 DOWN BY N\n"
         "SET YES TO TRUE"},
        {"SORT with every phrase", "ansi85",
         "SORT SRT ON ASCENDING KEY WK ON DESCENDING KEY WD\n"
         "    WITH DUPLICATES IN ORDER\n"
         "    COLLATING SEQUENCE IS ALPH\n"
         "    INPUT PROCEDURE IS P2 THRU P2\n"
         "    OUTPUT PROCEDURE IS P2"},
        {"SORT USING GIVING", "ansi85", "SORT SRT ASCENDING WK USING SQF GIVING RLF"},
        {"START KEY with INVALID KEY, END-START", "ansi85",
         "START IXF KEY IS NOT LESS THAN IXK\n"
         "    INVALID KEY CONTINUE\n"
         "    NOT INVALID KEY CONTINUE\n"
         "END-START"},
        {"STOP with a literal", "ansi85", "STOP \"PAUSE\""},
        {"STRING with POINTER and OVERFLOW, END-STRING", "ansi85",
         "STRING A DELIMITED BY SIZE \"X\" B DELIMITED BY \" \"\n"
         "    INTO A WITH POINTER N\n"
         "    ON OVERFLOW CONTINUE\n"
         "    NOT ON OVERFLOW CONTINUE\n"
         "END-STRING"},
        {"SUBTRACT FROM", "ansi85",
         "SUBTRACT 1 2 FROM N ROUNDED M\n"
         "    ON SIZE ERROR CONTINUE\n"
         "    NOT ON SIZE ERROR CONTINUE\n"
         "END-SUBTRACT"},
        {"SUBTRACT GIVING", "ansi85", "SUBTRACT 1 FROM N GIVING M ROUNDED\n" "    ON SIZE ERROR CONTINUE END-SUBTRACT"},
        {"SUBTRACT CORRESPONDING", "ansi85",
         "SUBTRACT CORR G1 FROM G2 ROUNDED\n"
         "    ON SIZE ERROR CONTINUE END-SUBTRACT"},
        {"UNSTRING with every phrase, END-UNSTRING", "ansi85",
         "UNSTRING A DELIMITED BY ALL \" \" OR \",\"\n"
         "    INTO B DELIMITER IN A COUNT IN N\n"
         "         B DELIMITER B COUNT M\n"
         "    WITH POINTER K TALLYING IN N\n"
         "    ON OVERFLOW CONTINUE\n"
         "    NOT ON OVERFLOW CONTINUE\n"
         "END-UNSTRING"},
        {"WRITE ADVANCING with END-OF-PAGE, END-WRITE", "ansi85",
         "WRITE SR FROM A AFTER ADVANCING 2 LINES\n"
         "    AT END-OF-PAGE CONTINUE\n"
         "    NOT AT END-OF-PAGE CONTINUE\n"
         "END-WRITE"},
        {"WRITE BEFORE ADVANCING PAGE and a mnemonic", "ansi85",
         "WRITE SR BEFORE ADVANCING PAGE\n"
         "WRITE SR AFTER TOP-PAGE"},
        {"WRITE with INVALID KEY, END-WRITE", "ansi85",
         "WRITE IXR FROM A\n"
         "    INVALID KEY CONTINUE\n"
         "    NOT INVALID KEY CONTINUE\n"
         "END-WRITE"},
        {"ENTRY USING", "vsii", "ENTRY \"E1\" USING A B"},
        {"READY TRACE and RESET TRACE", "vsii", "READY TRACE\n" "RESET TRACE"},
        {"SERVICE RELOAD", "vsii", "SERVICE RELOAD A"},
        {"EXAMINE TALLYING REPLACING", "mf",
         "EXAMINE A TALLYING ALL \"X\" REPLACING BY \"Y\"\n"
         "EXAMINE A REPLACING LEADING \"X\" BY \"Y\""},
        {"TRANSFORM", "mf", "TRANSFORM A CHARACTERS FROM \"ABC\" TO \"XYZ\""},
        {"CHAIN USING, END-CHAIN", "mf", "CHAIN \"PROG\" USING A B\n" "END-CHAIN"},
        {"UNLOCK", "mf", "UNLOCK IXF RECORD"},
        {"UNDELETE", "fsc", "UNDELETE IXF RECORD"},
        {"DELETE FILE", "mf", "DELETE FILE SQF RLF"},
        {"SET ADDRESS OF", "vsii", "SET ADDRESS OF G1 TO ADDRESS OF G2"},
        {"SET TO ON", "vsii", "SET A B TO ON"},
        {"NEXT SENTENCE", "ansi85", "NEXT SENTENCE"},
        {"INVOKE USING RETURNING", "mf", "INVOKE A \"NEW\" USING B RETURNING N"},
        {"EXIT PROGRAM GIVING, STOP RUN RETURNING", "mf", "EXIT PROGRAM GIVING N\nSTOP RUN RETURNING 4"},
        {"GOBACK GIVING", "mf", "GOBACK GIVING N"},
    };
    std::vector<Case> cases;
    for (const Form& f : forms) cases.push_back({f.name, StatementProgram(f.statements), f.lang});
    cases.push_back(
        {"declaratives: USE AFTER ERROR and EXCEPTION, USE FOR DEBUGGING",
         Program("       ENVIRONMENT DIVISION.\n       CONFIGURATION SECTION.\n"
                 "       SOURCE-COMPUTER. X WITH DEBUGGING MODE.\n       INPUT-OUTPUT SECTION.\n"
                 "       FILE-CONTROL.\n           SELECT SQF ASSIGN TO \"S\".\n       DATA DIVISION.\n"
                 "       FILE SECTION.\n       FD  SQF.\n       01  SR PIC X(80).\n       PROCEDURE DIVISION.\n"
                 "       DECLARATIVES.\n       D1 SECTION.\n           USE AFTER STANDARD ERROR PROCEDURE ON SQF.\n"
                 "       D1P.\n           EXIT.\n       D2 SECTION.\n"
                 "           USE AFTER STANDARD EXCEPTION PROCEDURE ON INPUT.\n       D2P.\n           EXIT.\n"
                 "       D3 SECTION.\n           USE FOR DEBUGGING ON ALL PROCEDURES.\n       D3P.\n"
                 "           EXIT.\n       END DECLARATIVES.\n       M SECTION.\n       P1.\n"
                 "           STOP RUN.\n"),
         "ansi85"});
    cases.push_back(
        {"the report writer: INITIATE, GENERATE, TERMINATE, SUPPRESS, USE BEFORE REPORTING",
         Program("       ENVIRONMENT DIVISION.\n       INPUT-OUTPUT SECTION.\n       FILE-CONTROL.\n"
                 "           SELECT PRF ASSIGN TO \"P\".\n       DATA DIVISION.\n       FILE SECTION.\n"
                 "       FD  PRF REPORT RPT.\n       WORKING-STORAGE SECTION.\n       01  N PIC 9(4).\n"
                 "       REPORT SECTION.\n       RD  RPT PAGE LIMIT IS 60 LINES HEADING 1 FIRST DETAIL 3.\n"
                 "       01  DL TYPE IS DETAIL LINE PLUS 1.\n           05  COLUMN 1 PIC 9(4) SOURCE N.\n"
                 "       PROCEDURE DIVISION.\n       DECLARATIVES.\n       D1 SECTION.\n"
                 "           USE BEFORE REPORTING DL.\n       D1P.\n           SUPPRESS PRINTING.\n"
                 "       END DECLARATIVES.\n       M SECTION.\n       P1.\n           OPEN OUTPUT PRF.\n"
                 "           INITIATE RPT.\n           GENERATE DL.\n           GENERATE RPT.\n"
                 "           TERMINATE RPT.\n           CLOSE PRF.\n           STOP RUN.\n"),
         "ansi85"});
    cases.push_back(
        {"the communication statements: ENABLE, RECEIVE, ACCEPT MESSAGE COUNT, SEND, PURGE, DISABLE",
         Program("       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01  A PIC X(80).\n"
                 "       COMMUNICATION SECTION.\n       CD  CI FOR INPUT\n           SYMBOLIC QUEUE IS Q1\n"
                 "           MESSAGE COUNT IS MC.\n       CD  CO FOR OUTPUT\n"
                 "           DESTINATION COUNT IS DC\n           TEXT LENGTH IS TL\n"
                 "           STATUS KEY IS SK\n           SYMBOLIC DESTINATION IS SD1.\n"
                 "       PROCEDURE DIVISION.\n       P1.\n           ENABLE INPUT TERMINAL CI WITH KEY \"K\".\n"
                 "           RECEIVE CI MESSAGE INTO A NO DATA CONTINUE\n"
                 "               WITH DATA CONTINUE END-RECEIVE.\n           ACCEPT CI MESSAGE COUNT.\n"
                 "           SEND CO FROM A WITH EMI AFTER ADVANCING 2 LINES.\n           PURGE CO.\n"
                 "           DISABLE OUTPUT CO WITH KEY \"K\".\n           STOP RUN.\n"),
         "ansi85"});
    const std::string data =
        "       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01  A PIC X(8).\n       01  N PIC 9(4).\n";
    cases.push_back({"EXHIBIT NAMED, ON with AND EVERY, UNTIL and ELSE",
                     Program(data + "       PROCEDURE DIVISION.\n           EXHIBIT NAMED A N.\n"
                                    "           ON 2 AND EVERY 3 UNTIL 10\n               MOVE 1 TO N\n"
                                    "           ELSE\n               MOVE 2 TO N.\n           STOP RUN.\n"),
                     "osvs"});
    cases.push_back({"NOTE", Program(data + "       PROCEDURE DIVISION.\n           NOTE THIS IS A NOTE.\n"
                                            "           STOP RUN.\n"),
                     "osvs", false, nullptr, true});
    return cases;
}

TEST(TemplateRoundTrip, EveryStatementWithEveryPhraseParsesBackToAnEqualTree) {
    DovInstallGrammar();
    Scratch scratch;
    for (const Case& c : StatementForms()) {
        SCOPED_TRACE(c.name);
        ExpectRoundTrip(c, scratch);
    }
}

// Printed from source, each of them comes back byte for byte, and source
// printing finds every slot in its template (a slot the template leaves
// out gives "printing arg #N that is not in the table").
TEST(TemplateRoundTrip, EveryStatementWithEveryPhrasePrintsFromSourceWithoutAMessage) {
    DovInstallGrammar();
    Scratch scratch;
    for (const Case& c : StatementForms()) {
        SCOPED_TRACE(c.name);
        if (c.sourceTextChanges) continue;
        DovExpr* root = Parse(scratch.Write("in.cbl", c.text), c.lang, scratch.Dir() / "copies");
        ASSERT_NE(root, nullptr) << c.text;
        VString text;
        DovTokenList messages;
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        EXPECT_EQ(printer.PrintToString(text, root, &messages), 0);
        delete root;
        EXPECT_EQ(std::string(text.CStr()), c.text);
        EXPECT_EQ(vemlo_test::Texts(messages), "");
    }
}

}  // namespace
