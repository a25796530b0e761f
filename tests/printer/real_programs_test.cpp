// Constructs of a real CICS/DB2/IMS application, read as its programs are
// read (-lang=vsii -lang2=mf, copybooks from a folder): printed from source,
// each comes back byte for byte, main file and copybooks, each with the line
// ends its source has (CR LF files with their carriage returns); printed
// through the templates, each parses back to an equal tree.
// A replaced literal keeps the blank before it, a removed statement leaves
// no text. And every corpus program with one sentence of its procedure
// division made unparsable, on a line chosen at random from a fixed random
// start value, still comes back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/files.h"
#include "grammar/cobol_grammar.h"
#include "tests/lexer/temp_dir.h"
#include "tests/printer/printer_fixture.h"
#include "tests/support/corpus.h"
#include "tests/support/tree_shape.h"
#include "tree/walk.h"

namespace {

namespace fs = std::filesystem;
using vemlo_test::OptionParser;

struct Copybook {
    const char* name;  // file name in the copybook folder
    std::string text;
};

struct Fixture {
    const char* what;
    std::string program;
    std::vector<Copybook> copybooks;
};

const char kHead[] =
    "       IDENTIFICATION DIVISION.\n"
    "       PROGRAM-ID. T.\n"
    "       DATA DIVISION.\n"
    "       WORKING-STORAGE SECTION.\n";

std::string Lines(const std::string& line, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += line;
    return s;
}

// The data and the tail of the first fixture: an ordinary statement thirty
// times after the refused one, then a DISPLAY inside an IF.
std::string AfterARefusedStatement(const std::string& refused) {
    return std::string(kHead) +
           "       01  PRM-INFO PIC X(80).\n"
           "       01  WS-NO-SUMRY-READ PIC 9(5) VALUE 0.\n"
           "       01  WS-A PIC 9(5) VALUE 0.\n"
           "       01  WS-FLAG PIC X VALUE 'N'.\n"
           "           88 DEBUG-ON VALUE 'Y'.\n"
           "       PROCEDURE DIVISION.\n"
           "       0000-MAIN.\n" +
           refused + Lines("           ADD 1 TO WS-A.\n", 30) +
           "           IF DEBUG-ON\n"
           "              DISPLAY 'DEBUG: AUTH SMRY READ : ' WS-NO-SUMRY-READ\n"
           "           END-IF\n"
           "           GOBACK.\n";
}

// `text` with CR LF line ends.
std::string CrLf(const std::string& text) { return vemlo_test::WithLineEnds(text, "\r\n"); }

const char kCustomerRecord[] =
    "\t\t     05  CUST-FIRST-NAME          PIC X(25).\n"
    "\t\t     05  CUST-LAST-NAME           PIC X(25).\n";

std::vector<Fixture> Fixtures() {
    return {
        {"a refused statement, thirty lines before a DISPLAY inside an IF",
         AfterARefusedStatement("           ACCEPT PRM-INFO FROM 'A'.\n"), {}},
        {"the same with a misspelt verb",
         AfterARefusedStatement("           ACCEPTT PRM-INFO FROM SYSIN.\n"), {}},
        {"a CICS option the option table refuses, and one written twice, one option a line",
         std::string(kHead) +
             "       01  A PIC S9(15) COMP-3.\n"
             "       01  B PIC X(8).\n"
             "       01  C PIC X(8).\n"
             "       01  D PIC X(8).\n"
             "       PROCEDURE DIVISION.\n"
             "           EXEC CICS FORMATTIME ABSTIME(A)\n"
             "                     YYDDD(B)\n"
             "                     TIME(C)\n"
             "                     MILLISECONDS(D)\n"
             "           END-EXEC\n"
             "           EXEC CICS ASKTIME NOHANDLE\n"
             "                     ABSTIME(A)\n"
             "                     NOHANDLE\n"
             "           END-EXEC\n"
             "           GOBACK.\n",
         {}},
        {"tab characters: a copybook's entries, a VALUES continuation, an SQL line kept as text",
         std::string(kHead) +
             "       01  CUST.\n"
             "           COPY CUSTREC.\n"
             "       01  WS-CODE PIC X(3).\n"
             "           88 CODE-OK VALUES\n"
             "\t\t                            '201',\n"
             "\t\t                            '202',\n"
             "                                    '203'.\n"
             "       01  WS-FLAG PIC X.\n"
             "       01  WS-DESC PIC X(10).\n"
             "       PROCEDURE DIVISION.\n"
             "181000     EXEC SQL\n"
             "181100          SELECT DESCR INTO :WS-DESC FROM TBL\n"
             "181200           WHERE A = 1 AND\n"
             "181300           \t ((:WS-FLAG = '1'))\n"
             "181400           FETCH FIRST 1 ROW ONLY WITH UR\n"
             "181500     END-EXEC.\n"
             "           GOBACK.\n",
         {{"CUSTREC.cpy", kCustomerRecord}}},
        {"a copybook of DLI calls with CR LF line ends, a tab and no last line end",
         std::string(kHead) +
             "       01  GU-FUNC PIC X(4) VALUE 'GU  '.\n"
             "       01  SEG-AREA PIC X(100).\n"
             "       LINKAGE SECTION.\n"
             "       01  PCB-A PIC X(40).\n"
             "       01  PCB-B PIC X(40).\n"
             "       PROCEDURE DIVISION.\n"
             "       COPY DLICALLS.\n"
             "       0000-MAIN.\n"
             "           PERFORM 1000-GU.\n"
             "           GOBACK.\n",
         {{"DLICALLS.cpy",
           "       DLI-ENTRY-POINT.\r\n"
           "           ENTRY 'DLITCBL' USING PCB-A PCB-B.\r\n"
           "       1000-GU.\r\n"
           "           CALL 'CBLTDLI' USING GU-FUNC\r\n"
           "\t\t\t\tPCB-A\r\n"
           "                                SEG-AREA."}}},
        {"a CICS statement the grammar refuses as a whole, its words kept as text, in a CR LF file",
         CrLf(std::string(kHead) +
              "       01  A PIC X.\n"
              "       PROCEDURE DIVISION.\n"
              "           EXEC CICS SYNCPOINT ROLLBACK END-EXEC\n"
              "           GOBACK.\n"),
         {}},
        {"a program behind a byte-order mark with CR LF line ends, its copybooks with carriage returns alone "
         "and behind a mark",
         "\xEF\xBB\xBF" +
             CrLf(std::string(kHead) +
                  "       COPY ONECR.\n"
                  "       COPY MARKED.\n"
                  "       PROCEDURE DIVISION.\n"
                  "      d    DISPLAY A.\n"
                  "           GOBACK.\n"),
         {{"ONECR.cpy", "       01  A PIC X.\r      * ONE\r\r       01  B PIC X.\r"},
          {"MARKED.cpy", "\xEF\xBB\xBF" "       01  C PIC X.\n"}}},
        {"partial-word tags of COPY REPLACING, one of them replaced by nothing",
         std::string(kHead) +
             "       COPY TAGS REPLACING ==:PFX:== BY ==XX== ==::== BY ====.\n"
             "       PROCEDURE DIVISION.\n"
             "           MOVE SPACE TO XX-A-VAR0.\n"
             "           GOBACK.\n",
         {{"TAGS.cpy", "       01  :PFX:-A::.\n           05  :PFX:-A::-VAR0 PIC X.\n"}}},
    };
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

using vemlo_test::Texts;

// Parses `file` as the programs of the application are read, with the
// copybooks of `copybooks`.
DovExpr* Parse(const fs::path& file, const fs::path& copybooks) {
    OptionParser parser({"-lang=vsii", "-lang2=mf", "-copylib-dir=" + copybooks.string(), "-copylib-sfx=.cpy"});
    DovTokenList messages;
    return parser.Ok() ? parser.Parse(file, messages) : nullptr;
}

// `root` printed from source (and deleted), its copybooks into `copies`
// when given; the print must succeed.
std::string PrintFromSource(DovExpr* root, const fs::path& copies = {}) {
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    if (!copies.empty()) printer.gen_copy_dir = copies.string().c_str();
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, root, &messages), 0) << Texts(messages);
    delete root;
    return text.CStr();
}

// The fixture's program and copybooks written into `in`; the program's path.
fs::path WriteFixture(const Fixture& f, const fs::path& in) {
    std::ofstream(in / "T.cbl", std::ios::binary) << f.program;
    for (const Copybook& c : f.copybooks) std::ofstream(in / c.name, std::ios::binary) << c.text;
    return in / "T.cbl";
}

// The nodes of `op` in the tree, in walk order.
std::vector<DovExpr*> NodesOf(DovExpr* root, DovOper op) {
    struct Search {
        DovOper op;
        std::vector<DovExpr*> found;
    } search{op, {}};
    WalkTheTree(root, &search, [](DovExpr* n, void* c) -> int {
        auto* s = static_cast<Search*>(c);
        if (n && n->Oper() == s->op) s->found.push_back(n);
        return DOV_WALK_DESCEND;
    });
    return search.found;
}

// The lines of `text`, each with its line end.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(at, next - at));
        at = next;
    }
    return lines;
}

// Where a line of a fixed-format procedure division can be damaged: the
// blank after its first word, when the word stands in the text area, is no
// literal and the line is no comment, continuation or directive; npos when
// the line has no such place.
std::size_t DamagePlace(const std::string& line) {
    if (line.size() < 13 || line[6] != ' ') return std::string::npos;
    std::size_t word = line.find_first_not_of(' ', 7);
    if (word == std::string::npos || word >= 60) return std::string::npos;
    const char c = line[word];
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::string::npos;
    std::size_t end = word;
    while (end < 71 && end < line.size() && line[end] != ' ' && line[end] != '\r' && line[end] != '\n' &&
           line[end] != '.' && line[end] != '\'' && line[end] != '"')
        ++end;
    if (end >= 71 || end >= line.size() || line[end] != ' ') return std::string::npos;
    // EXEC followed by a parenthesis is no EXEC block: nothing to refuse.
    if (Upper(line.substr(word, end - word)) == "EXEC") return std::string::npos;
    if (line.find_first_not_of(' ', end) >= std::min<std::size_t>(line.size(), 72)) return std::string::npos;
    return end;
}

// The program with one line of its procedure division damaged, the line
// chosen by `random`; empty when it has none to damage.
std::string Damaged(const std::string& text, std::mt19937& random) {
    std::vector<std::string> lines = Lines(text);
    std::vector<std::size_t> candidates;
    bool procedure = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Upper(lines[i]).find("PROCEDURE DIVISION") != std::string::npos && lines[i].size() > 6 &&
            lines[i][6] == ' ') {
            procedure = true;
            continue;
        }
        if (procedure && DamagePlace(lines[i]) != std::string::npos) candidates.push_back(i);
    }
    if (candidates.empty()) return {};
    const std::size_t line = candidates[random() % candidates.size()];
    lines[line][DamagePlace(lines[line])] = ')';
    std::string out;
    for (const std::string& l : lines) out += l;
    return out;
}

bool HasSyntaxError(const DovTokenList& messages) {
    for (const DovToken* m : messages)
        if (std::string(m->image.CStr()).find("syntax error") != std::string::npos) return true;
    return false;
}

// The source of a copybook written as `name` in the copybook folder (letter
// case aside, with or without its extension).
fs::path CopybookSource(const fs::path& folder, const std::string& name) {
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string file = Upper(e.path().filename().string()), stem = Upper(e.path().stem().string());
        if (file == Upper(name) || stem == Upper(name)) return e.path();
    }
    return {};
}

// The tests parse with the grammar and write into a scratch folder.
class RealPrograms : public ::testing::Test {
protected:
    void SetUp() override { DovInstallGrammar(); }
    // A fresh folder `name` under the scratch folder.
    fs::path Fresh(const char* name) const { return dir_.Fresh(name); }

private:
    vemlo_test::TempDir dir_;
};

using DamagedCorpus = RealPrograms;

TEST_F(RealPrograms, PrintedFromSourceComeBackByteForByte) {
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.what);
        const fs::path in = Fresh("in"), copies = Fresh("copies");
        DovExpr* root = Parse(WriteFixture(f, in), in);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(PrintFromSource(root, copies), f.program);
        for (const Copybook& c : f.copybooks)
            EXPECT_EQ(vemlo_test::ReadFileBytes(copies / c.name), c.text) << c.name;
    }
}

TEST_F(RealPrograms, PrintedThroughTheTemplatesParseBackToAnEqualTree) {
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.what);
        const fs::path in = Fresh("in"), out = Fresh("out"), copies = Fresh("copies");
        DovExpr* root = Parse(WriteFixture(f, in), in);
        ASSERT_NE(root, nullptr);
        const std::vector<std::string> before = vemlo_test::TreeShape(root);
        DovPrettyPrinterImpl printer;
        printer.gen_copy_dir = copies.string().c_str();
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToFile((out / "T.cbl").string().c_str(), root, &messages), 0) << Texts(messages);
        delete root;
        DovExpr* second = Parse(out / "T.cbl", copies);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(vemlo_test::ShapeDifference(before, vemlo_test::TreeShape(second)), "")
            << vemlo_test::ReadFileBytes(out / "T.cbl");
        delete second;
    }
}

// A literal a transformation replaced by a new one keeps the separation its
// source had: the blank before it stood among the old literal's tokens.
TEST_F(RealPrograms, AReplacedLiteralKeepsTheBlankInFrontOfIt) {
    const fs::path in = Fresh("in");
    std::ofstream(in / "T.cbl") << kHead
                                << "       01  A PIC XX VALUE 'AA'.\n"
                                   "       01  B PIC XX VALUE\n"
                                   "                      'BB'.\n"
                                   "       PROCEDURE DIVISION.\n"
                                   "           GOBACK.\n";
    DovExpr* root = Parse(in / "T.cbl", in);
    ASSERT_NE(root, nullptr);
    const std::vector<DovExpr*> literals = NodesOf(root, STR_CONST);
    ASSERT_EQ(literals.size(), 2u);
    const char* images[] = {"'ZZ'", "'YY'"};
    for (int i = 0; i < 2; ++i) delete literals[i]->ReplThis(new DovStrConst(VString(images[i])));
    const std::string printed = PrintFromSource(root);
    EXPECT_NE(printed.find("       01  A PIC XX VALUE 'ZZ'.\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("       01  B PIC XX VALUE\n                      'YY'.\n"), std::string::npos) << printed;
}

// A statement a transformation removed leaves no text behind: the lines
// around it are copied as they stand, its own are not.
TEST_F(RealPrograms, ARemovedStatementLeavesNoText) {
    const fs::path in = Fresh("in");
    const std::string head = std::string(kHead) + "       01  A PIC 9.\n       PROCEDURE DIVISION.\n       P1.\n";
    std::ofstream(in / "T.cbl") << head << "           MOVE 1 TO A\n           ADD 2 TO A\n      * NOTE\n"
                                << "           ADD 3 TO A\n           GOBACK.\n";
    DovExpr* root = Parse(in / "T.cbl", in);
    ASSERT_NE(root, nullptr);
    const std::vector<DovExpr*> adds = NodesOf(root, STMT_ADD);
    ASSERT_EQ(adds.size(), 2u);
    delete adds[0]->DelThis();
    EXPECT_EQ(PrintFromSource(root),
              head + "           MOVE 1 TO A\n      * NOTE\n           ADD 3 TO A\n           GOBACK.\n");
}

TEST_F(DamagedCorpus, EveryProgramWithASyntaxErrorPrintedFromSourceComesBackByteForByte) {
    VEMLO_REQUIRE_CORPUS();
    std::mt19937 random(20261211);
    for (const vemlo_test::CorpusFolder& folder : vemlo_test::kCorpusFolders) {
        OptionParser parser(vemlo_test::CorpusOptions(folder));
        ASSERT_TRUE(parser.Ok()) << folder.name;
        const fs::path copybooks = *vemlo_test::CorpusDir() / folder.copybooks;
        for (const fs::path& program : vemlo_test::CorpusFiles(folder.name)) {
            if (Upper(program.extension().string()) == ".CPY") continue;
            const std::string damaged = Damaged(vemlo_test::ReadFileBytes(program), random);
            if (damaged.empty()) continue;
            SCOPED_TRACE(std::string(folder.name) + "/" + program.filename().string());
            const fs::path in = Fresh("in"), copies = Fresh("copies");
            const fs::path file = in / program.filename();
            std::ofstream(file, std::ios::binary) << damaged;
            DovTokenList messages;
            DovExpr* root = parser.Parse(file, messages);
            if (!root) continue;
            EXPECT_TRUE(HasSyntaxError(messages)) << "the damage made no syntax error";
            EXPECT_EQ(PrintFromSource(root, copies), damaged);
            for (const auto& e : fs::recursive_directory_iterator(copies)) {
                if (!e.is_regular_file()) continue;
                const std::string written = fs::relative(e.path(), copies).string();
                const fs::path source = CopybookSource(copybooks, written);
                EXPECT_FALSE(source.empty()) << written;
                if (!source.empty()) {
                    EXPECT_EQ(vemlo_test::ReadFileBytes(e.path()), vemlo_test::ReadFileBytes(source)) << written;
                }
            }
        }
    }
}

}  // namespace
