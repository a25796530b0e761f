// Constructs of a real CICS/DB2/IMS application, read as its programs are
// read (-lang=vsii -lang2=mf, copybooks from a folder): printed from source,
// each comes back byte for byte, main file and copybooks (CR LF files
// compared with their carriage returns dropped, as the source reader drops
// them); printed through the templates, each parses back to an equal tree.
// And a replaced literal printed from source keeps the blank before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "tests/printer/printer_fixture.h"
#include "tests/support/tree_shape.h"
#include "tree/walk.h"
#ifdef VEMLO_TEST_WITH_GRAMMAR
#include "grammar/cobol_grammar.h"
#endif

namespace {

namespace fs = std::filesystem;

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
        {"a CICS statement the grammar refuses as a whole, its words kept as text",
         std::string(kHead) +
             "       01  A PIC X.\n"
             "       PROCEDURE DIVISION.\n"
             "           EXEC CICS SYNCPOINT ROLLBACK END-EXEC\n"
             "           GOBACK.\n",
         {}},
    };
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string WithoutCarriageReturns(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

class Scratch {
public:
    Scratch() {
        dir_ = fs::temp_directory_path() / ("vemlo_real_programs_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // A fresh folder `name` under the scratch folder.
    fs::path Fresh(const char* name) const {
        const fs::path p = dir_ / name;
        fs::remove_all(p);
        fs::create_directories(p);
        return p;
    }

private:
    fs::path dir_;
};

// Parses `file` as the programs of the application are read, with the
// copybooks of `copybooks`.
DovExpr* Parse(const fs::path& file, const fs::path& copybooks, DovTokenList* messages = nullptr) {
    DovParserImpl parser;
    const DovCommandLineFlagTable& table = *parser.DefineOptions(kDovParserOptionGroups);
    const std::string copyWord = "-copylib-dir=" + copybooks.string();
    const char* argv[] = {"-lang=vsii", "-lang2=mf", copyWord.c_str(), "-copylib-sfx=.cpy"};
    VStringList files, problems;
    if (SetCLFlag(table, 0, 4, argv, files, problems) != 0) return nullptr;
    VString error;
    if (parser.ResolveDialectDefaults(error) != 0) return nullptr;
    DovExpr* root = nullptr;
    DovTokenList own;
    parser.Parse(file.string().c_str(), root, messages ? messages : &own);
    return root;
}

// The fixture's program and copybooks written into `in`; the program's path.
fs::path WriteFixture(const Fixture& f, const fs::path& in) {
    std::ofstream(in / "T.cbl", std::ios::binary) << f.program;
    for (const Copybook& c : f.copybooks) std::ofstream(in / c.name, std::ios::binary) << c.text;
    return in / "T.cbl";
}

std::string Texts(const DovTokenList& messages) {
    std::string s;
    for (const DovToken* m : messages) s += std::string(m->image.CStr()) + "\n";
    return s;
}

void InstallGrammar() {
#ifdef VEMLO_TEST_WITH_GRAMMAR
    DovInstallGrammar();
#endif
}

TEST(RealPrograms, PrintedFromSourceComeBackByteForByte) {
    InstallGrammar();
#ifndef VEMLO_TEST_WITH_GRAMMAR
    GTEST_SKIP() << "no grammar: nothing parses";
#endif
    Scratch scratch;
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.what);
        const fs::path in = scratch.Fresh("in"), copies = scratch.Fresh("copies");
        DovExpr* root = Parse(WriteFixture(f, in), in);
        ASSERT_NE(root, nullptr);
        DovPrettyPrinterImpl printer;
        printer.gen_src = 1;
        printer.gen_copy_dir = copies.string().c_str();
        VString text;
        DovTokenList messages;
        EXPECT_EQ(printer.PrintToString(text, root, &messages), 0) << Texts(messages);
        delete root;
        EXPECT_EQ(std::string(text.CStr()), WithoutCarriageReturns(f.program));
        for (const Copybook& c : f.copybooks)
            EXPECT_EQ(ReadAll(copies / c.name), WithoutCarriageReturns(c.text)) << c.name;
    }
}

TEST(RealPrograms, PrintedThroughTheTemplatesParseBackToAnEqualTree) {
    InstallGrammar();
#ifndef VEMLO_TEST_WITH_GRAMMAR
    GTEST_SKIP() << "no grammar: nothing parses";
#endif
    Scratch scratch;
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.what);
        const fs::path in = scratch.Fresh("in"), out = scratch.Fresh("out"), copies = scratch.Fresh("copies");
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
            << ReadAll(out / "T.cbl");
        delete second;
    }
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

// A literal a transformation replaced by a new one keeps the separation its
// source had: the blank before it stood among the old literal's tokens.
TEST(RealPrograms, AReplacedLiteralKeepsTheBlankInFrontOfIt) {
    InstallGrammar();
#ifndef VEMLO_TEST_WITH_GRAMMAR
    GTEST_SKIP() << "no grammar: nothing parses";
#endif
    Scratch scratch;
    const fs::path in = scratch.Fresh("in");
    const std::string program = std::string(kHead) +
                                "       01  A PIC XX VALUE 'AA'.\n"
                                "       01  B PIC XX VALUE\n"
                                "                      'BB'.\n"
                                "       PROCEDURE DIVISION.\n"
                                "           GOBACK.\n";
    std::ofstream(in / "T.cbl") << program;
    DovExpr* root = Parse(in / "T.cbl", in);
    ASSERT_NE(root, nullptr);
    const std::vector<DovExpr*> literals = NodesOf(root, STR_CONST);
    ASSERT_EQ(literals.size(), 2u);
    const char* images[] = {"'ZZ'", "'YY'"};
    for (int i = 0; i < 2; ++i) delete literals[i]->ReplThis(new DovStrConst(VString(images[i])));
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, root, &messages), 0) << Texts(messages);
    delete root;
    const std::string printed = text.CStr();
    EXPECT_NE(printed.find("       01  A PIC XX VALUE 'ZZ'.\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("       01  B PIC XX VALUE\n                      'YY'.\n"), std::string::npos) << printed;
}

// A statement a transformation removed leaves no text behind: the lines
// around it are copied as they stand, its own are not.
TEST(RealPrograms, ARemovedStatementLeavesNoText) {
    InstallGrammar();
#ifndef VEMLO_TEST_WITH_GRAMMAR
    GTEST_SKIP() << "no grammar: nothing parses";
#endif
    Scratch scratch;
    const fs::path in = scratch.Fresh("in");
    const std::string head = std::string(kHead) + "       01  A PIC 9.\n       PROCEDURE DIVISION.\n       P1.\n";
    std::ofstream(in / "T.cbl") << head << "           MOVE 1 TO A\n           ADD 2 TO A\n      * NOTE\n"
                                << "           ADD 3 TO A\n           GOBACK.\n";
    DovExpr* root = Parse(in / "T.cbl", in);
    ASSERT_NE(root, nullptr);
    const std::vector<DovExpr*> adds = NodesOf(root, STMT_ADD);
    ASSERT_EQ(adds.size(), 2u);
    delete adds[0]->DelThis();
    DovPrettyPrinterImpl printer;
    printer.gen_src = 1;
    VString text;
    DovTokenList messages;
    EXPECT_EQ(printer.PrintToString(text, root, &messages), 0) << Texts(messages);
    delete root;
    EXPECT_EQ(std::string(text.CStr()),
              head + "           MOVE 1 TO A\n      * NOTE\n           ADD 3 TO A\n           GOBACK.\n");
}

}  // namespace
