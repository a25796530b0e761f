// Golden shapes of the data division rules: the division frame, data
// description entries and their clauses, USAGE by dialect, VALUE
// expressions, FD entries with LINAGE, RD entries and report groups, the
// SCREEN SECTION, and the recovery from a syntax error inside an entry.
#include <gtest/gtest.h>

#include <sstream>

#include "parser/data_map.h"
#include "tests/grammar/data_fixture.h"
#include "tests/grammar/grammar_fixture.h"
#include "tree/oper.h"

namespace {

using vemlo_test::CountOper;
using vemlo_test::FindOper;
using vemlo_test::ParseCobol;
using vemlo_test::Shape;

std::vector<std::string> Program(std::initializer_list<std::string> data) {
    std::vector<std::string> lines = {"IDENTIFICATION DIVISION.", "PROGRAM-ID. P."};
    lines.insert(lines.end(), data.begin(), data.end());
    lines.push_back("PROCEDURE DIVISION.");
    lines.push_back("    STOP RUN.");
    return lines;
}

std::string DataShape(const vemlo_test::DataParse& p) {
    DovExpr* program = p.Program();
    return program ? Shape(program->Args(2)) : "no program";
}

TEST(DataShapes, DivisionAbsentOrHeaderAlone) {
    auto absent = ParseCobol(Program({}), {"-lang=ansi85"});
    EXPECT_EQ(DataShape(absent), "~");
    EXPECT_FALSE(absent.Said("DATA DIVISION header is missing"));
    auto headless = ParseCobol(Program({"WORKING-STORAGE SECTION.", "01 A PIC X."}), {"-lang=ansi85"});
    EXPECT_EQ(headless.SyntaxErrors(), 0);
    EXPECT_TRUE(headless.Said("DATA DIVISION header is missing"));
    auto mf = ParseCobol(Program({"WORKING-STORAGE SECTION.", "01 A PIC X."}), {"-lang=mf"});
    EXPECT_FALSE(mf.Said("DATA DIVISION header is missing"));
    auto header = ParseCobol(Program({"DATA DIVISION."}));
    EXPECT_EQ(DataShape(header), "DIVISION_DATA_HEADER");
    auto sections = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "LINKAGE SECTION."}));
    EXPECT_EQ(DataShape(sections), "DIVISION_DATA(DIVISION_DATA_HEADER,~,~,~,SECTION_WORKING_STORAGE,~,"
                                   "SECTION_LINKAGE)");
}

TEST(DataShapes, EntriesAndClauses) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 R.",
                                 "   05 A PIC S9(4) USAGE IS COMP SIGN IS LEADING SEPARATE.",
                                 "   05 PIC X(3) VALUE \"ABC\".", "   05 B REDEFINES A PIC X(4) JUST RIGHT.",
                                 "   05 T OCCURS 1 TO 5 TIMES DEPENDING ON N",
                                 "        ASCENDING KEY IS K INDEXED BY I1 I2.", "      10 K PIC 9.",
                                 "01 N PIC 9 VALUE ZERO."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* ws = FindOper(p.root, SECTION_WORKING_STORAGE);
    ASSERT_NE(ws, nullptr);
    DovExpr* r = FindOper(ws, DECL_DD);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(Shape(r->Args(0)->Args(2)), "def:R");
    DovExpr* members = r->Args(1);
    ASSERT_NE(members, nullptr);
    ASSERT_EQ(members->NumArgs(), 4);
    DovExpr* a = members->Args(0)->Args(0);
    EXPECT_EQ(Shape(a->Args(4)), "DX_PICTURE(S9(4))");
    EXPECT_EQ(Shape(a->Args(5)), "DX_USAGE(DU_COMP)");
    EXPECT_EQ(Shape(a->Args(8)), "DX_SIGN(DX_SIGN_LEADING,DX_SIGN_SEPARATE)");
    // No name: a null node in the name slot; no COPY marker: nothing.
    DovExpr* unnamed = members->Args(1)->Args(0);
    EXPECT_EQ(Shape(unnamed->Args(2)), "~");
    EXPECT_EQ(Shape(unnamed->Args(1)), "~");
    EXPECT_EQ(Shape(unnamed->Args(14)), "DX_VALUE(\"ABC\")");
    EXPECT_EQ(Shape(members->Args(2)->Args(0)->Args(3)), "DX_REDEFINES(use:A)");
    EXPECT_EQ(Shape(members->Args(3)->Args(0)->Args(13)),
              "DX_OCCURS(EX_INT_CONST_RANGE(1,5),EX_DEPENDING_ON(use:N),DX_OCCURS_KEY_LIST(DX_OCCURS_KEY("
              "EX_ASCENDING,EX_LIST(use:K))),DX_INDEXED_BY(DX_INDEX_DEFS_LIST(def:I1,def:I2)),1)");
}

TEST(DataShapes, CompUsagesByDialect) {
    struct Case {
        const char* lang;
        const char* comp;
        const char* comp1;
        const char* comp2;
    } cases[] = {
        {"-lang=vsii", "DU_COMP", "DU_COMP_1", "DU_COMP_2"},
        {"-lang=rm", "DU_COMP_RM", "DU_COMP_1_RM", "DU_COMP_2"},
        {"-lang=acu", "DU_COMP", "DU_COMP_1_ACU", "DU_COMP_2_ACU"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang);
        auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC 9 COMP.",
                                     "01 B COMPUTATIONAL-1.", "01 C COMP-2."}),
                            {c.lang});
        EXPECT_EQ(p.SyntaxErrors(), 0);
        DovExpr* usage[3] = {};
        int n = 0;
        for (DovExpr* list = FindOper(p.root, SECTION_WORKING_STORAGE); list && n < 3;) {
            DovExpr* dd = list->Args(0);
            for (int i = 0; dd && i < dd->NumArgs() && n < 3; ++i) usage[n++] = dd->Args(i)->Args(0)->Args(5);
            break;
        }
        ASSERT_EQ(n, 3);
        EXPECT_EQ(Shape(usage[0]), std::string("DX_USAGE(") + c.comp + ")");
        EXPECT_EQ(Shape(usage[1]), std::string("DX_USAGE(") + c.comp1 + ")");
        EXPECT_EQ(Shape(usage[2]), std::string("DX_USAGE(") + c.comp2 + ")");
    }
}

// All operators of a VALUE expression have one precedence, left to right.
TEST(DataShapes, ValueExpressionsAssociateToTheLeft) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "78 K VALUE 1 + 2 * 3.",
                                 "78 L VALUE K - 1.", "01 A PIC 9 VALUE UNKNOWN-ONE."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* k = FindOper(p.root, DECL_CONST_ENTRY);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(Shape(k->Args(3)), "EX_CONST_VALUE(AR_MUL(AR_ADD(1,2),3))");
    EXPECT_TRUE(p.Said("Undefined 78-level constant"));
}

// A VALUE term may be a value in parentheses, which the constant's computed
// value follows (here 3, (3 + 1) * 2 and 2 * (3 + (1 - 2))).
TEST(DataShapes, ParenthesisedValueTerms) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "78 K2 VALUE 3.",
                                 "78 K6 VALUE (K2 + 1) * 2.", "78 K7 VALUE 2 * (K2 + (1 - 2))."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_FALSE(p.Said("In 78-level constant clause 'Value' is missing. It must be present."));
    const auto constants = vemlo_grammar_test::FindAll(p.root, DECL_CONST_ENTRY);
    ASSERT_EQ(constants.size(), 3u);
    EXPECT_EQ(Shape(constants[1]->Args(3)), "EX_CONST_VALUE(AR_MUL(OP_PARENS(AR_ADD(use:K2,1)),2))");
    EXPECT_EQ(Shape(constants[2]->Args(3)),
              "EX_CONST_VALUE(AR_MUL(2,OP_PARENS(AR_ADD(use:K2,OP_PARENS(AR_SUB(1,2))))))");
    constexpr int kComputed = 5;  // DDCONST_VALUE_COMPD
    EXPECT_EQ(Shape(constants[0]->Args(kComputed)), "3");
    EXPECT_EQ(Shape(constants[1]->Args(kComputed)), "8");
    EXPECT_EQ(Shape(constants[2]->Args(kComputed)), "4");
}

// A table with a range of occurrences, with or without DEPENDING ON, has room
// for its upper bound, whatever the lower one: in its length, the offsets
// behind it, the tables around it and the data map.
TEST(DataShapes, TablesWithARangeHaveRoomForTheUpperBound) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 N PIC 9 VALUE 3.", "01 R.",
                                 "   05 T PIC X(3) OCCURS 2 TO 5 TIMES DEPENDING ON N.",
                                 "   05 G OCCURS 0 TO 3 TIMES DEPENDING ON N.", "      10 G1 PIC X(2).",
                                 "      10 I PIC X OCCURS 2 TO 4 TIMES.", "   05 Z PIC X."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    std::ostringstream out;
    DovPrintDataMap(out, p.root);
    const std::string map = out.str();
    // The row of a name, from its offset column on.
    auto columns = [&map](const std::string& level, const std::string& name) {
        const std::size_t at = map.find("\n" + level + "|" + name + " ");
        if (at == std::string::npos) return std::string("no row of ") + name;
        const std::size_t end = map.find('\n', at + 1);
        return map.substr(at + 60, end - at - 60);
    };
    EXPECT_EQ(columns("05", ". T"), "     0|    15|     8  |  OCCURS 2 TO 5 TIMES DEPENDING ON N (loc-len=3)") << map;
    EXPECT_EQ(columns("10", ". . I"), "    17|     4|    25  |  OCCURS 2 TO 4 TIMES (loc-len=1)") << map;
    EXPECT_EQ(columns("05", ". G"), "    15|    18|    23  |  OCCURS 0 TO 3 TIMES DEPENDING ON N (loc-len=6)")
        << map;
    EXPECT_EQ(columns("05", ". Z"), "    33|     1|    41") << map;
    EXPECT_EQ(columns("01", "R"), "     0|    34|     8") << map;
}

TEST(DataShapes, FileDescriptionWithLinageCounter) {
    auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.",
                         "    SELECT F ASSIGN TO \"f\".", "DATA DIVISION.", "FILE SECTION.", "FD F",
                         "    LABEL RECORDS ARE STANDARD", "    RECORD CONTAINS 80 CHARACTERS",
                         "    BLOCK CONTAINS 2 RECORDS", "    LINAGE IS 60 LINES WITH FOOTING AT 55",
                         "        LINES AT TOP 2 LINES AT BOTTOM 4", "    DATA RECORD IS R.", "01 R PIC X(80).",
                         "PROCEDURE DIVISION.", "    STOP RUN."});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* fd = FindOper(p.root, DECL_FD);
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(Shape(fd->Args(0)),
              "DECL_FD_ENTRY(FDX_LEVEL,def:F,FDX_RECORD_CONTAINS(80),~,FDX_LINAGE(60,FDX_LIN_FOOTING(55),"
              "FDX_LIN_TOP(2),FDX_LIN_BOTTOM(4),def:LINAGE-COUNTER),~,~,~,~,FDX_BLOCK_CONTAINS(2,FDX_RECORDS),"
              "FDX_DATA_RECORDS(EX_LIST(use:R)),FDX_LABEL_RECORDS(FDX_STANDARD))");
    EXPECT_EQ(CountOper(fd->Args(1), DECL_DD_ENTRY), 1);
}

// VALUE OF implementor-name IS value: the name is plain text, never looked
// up (not even when a data item has the same name); a data name after IS is
// a use, reported when it names nothing.
TEST(DataShapes, ValueOfNamesAreTheImplementorsAndOnlyTheValueIsLookedUp) {
    struct Case {
        const char* clause;
        const char* shape;
        const char* undefined;  // the name reported as not defined, or null
    } cases[] = {
        {"VALUE OF LABELID IS \"DUMMY\"", "FDX_VALUE_OF(FDX_VALUE_OF_ITEM_LIST(FDX_VALUE_OF_ITEM(LABELID,\"DUMMY\")))",
         nullptr},
        {"VALUE OF LABELID IS FNAME", "FDX_VALUE_OF(FDX_VALUE_OF_ITEM_LIST(FDX_VALUE_OF_ITEM(LABELID,use:FNAME)))",
         nullptr},
        {"VALUE OF FNAME IS \"DUMMY\"", "FDX_VALUE_OF(FDX_VALUE_OF_ITEM_LIST(FDX_VALUE_OF_ITEM(FNAME,\"DUMMY\")))",
         nullptr},
        {"VALUE OF LABELID IS NOWHERE", "FDX_VALUE_OF(FDX_VALUE_OF_ITEM_LIST(FDX_VALUE_OF_ITEM(LABELID,use:NOWHERE)))",
         "NOWHERE"},
        {"VALUE OF FILE-ID IS FNAME LABELID IS \"B\"",
         "FDX_VALUE_OF(FDX_VALUE_OF_ITEM_LIST(FDX_VALUE_OF_ITEM(FDX_VO_FILE_ID,use:FNAME),FDX_VALUE_OF_ITEM(LABELID,"
         "\"B\")))",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clause);
        auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.",
                             "    SELECT F ASSIGN TO \"f\".", "DATA DIVISION.", "FILE SECTION.", "FD F",
                             "    LABEL RECORDS ARE STANDARD", std::string("    ") + c.clause + ".", "01 R PIC X(80).",
                             "WORKING-STORAGE SECTION.", "01 FNAME PIC X(8).", "PROCEDURE DIVISION.",
                             "    STOP RUN."});
        EXPECT_EQ(p.SyntaxErrors(), 0);
        EXPECT_EQ(Shape(FindOper(p.root, FDX_VALUE_OF)), c.shape);
        EXPECT_EQ(p.Said("is not defined"), c.undefined != nullptr);
        if (c.undefined) {
            EXPECT_TRUE(p.Said(std::string("Object named '") + c.undefined + "' is not defined"));
        }
    }
}

TEST(DataShapes, RecordingModeWordsAreKeywordsOnlyThere) {
    auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "ENVIRONMENT DIVISION.", "FILE-CONTROL.",
                         "    SELECT F ASSIGN TO \"f\".", "DATA DIVISION.", "FILE SECTION.",
                         "FD F RECORDING MODE IS F.", "01 R.", "   05 V PIC X.", "   05 S PIC X.",
                         "PROCEDURE DIVISION.", "    MOVE V TO S.", "    STOP RUN."},
                        {"-lang=vsii"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_EQ(Shape(FindOper(p.root, FDX_REC_MODE)), "FDX_REC_MODE(FDX_MODE_FIXED)");
    EXPECT_EQ(CountOper(p.root, DECL_DD_ENTRY) - CountOper(p.root->Args(2), DECL_DD_ENTRY), 3);
}

TEST(DataShapes, ReportDescriptionAndGroups) {
    auto p = ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "DATA DIVISION.", "REPORT SECTION.",
                         "RD REP CONTROLS ARE FINAL", "   PAGE LIMIT IS 60 LINES HEADING 1 FIRST DETAIL 5.",
                         "01 TYPE IS RH.", "01 TYPE IS REPORT HEADING.", "01 TYPE PH.", "01 TYPE PAGE HEADING.",
                         "01 TYPE DE LINE PLUS 1.", "   05 COLUMN 3 PIC X(4) VALUE \"W\".", "01 TYPE DETAIL.",
                         "01 TYPE PF.", "01 TYPE PAGE FOOTING.", "01 TYPE RF.", "01 TYPE REPORT FOOTING.",
                         "01 TYPE CH FINAL.", "01 TYPE CONTROL HEADING FINAL NEXT GROUP NEXT PAGE.",
                         "PROCEDURE DIVISION.", "    STOP RUN."});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* rd = FindOper(p.root, DECL_RD_ENTRY);
    ASSERT_NE(rd, nullptr);
    EXPECT_EQ(Shape(rd), "DECL_RD_ENTRY(def:REP,~,~,EX_RD_CONTROLS(EX_LIST(EX_RD_FINAL)),EX_RD_PAGE_LIMITS(60,"
                         "EX_LIST(EX_RD_HEADING(1),EX_RD_FIRST_DETAIL(5))),~,def:LINE-COUNTER,def:PAGE-COUNTER)");
    // The short forms give the nodes of the long forms.
    std::vector<std::string> types;
    for (DovExpr* list = FindOper(p.root, DECL_RD); list;) {
        DovExpr* groups = list->Args(1);
        for (int i = 0; groups && i < groups->NumArgs(); ++i)
            types.push_back(Shape(groups->Args(i)->Args(0)->Args(8)));
        break;
    }
    ASSERT_EQ(types.size(), 12u);
    for (int i = 0; i < 12; i += 2) EXPECT_EQ(types[i], types[i + 1]) << i;
    EXPECT_EQ(types[0], "EX_RGD_TYPE(EX_RGD_REPORT_HEADING)");
    EXPECT_EQ(types[4], "EX_RGD_TYPE(EX_RGD_DETAIL)");
    EXPECT_EQ(types[10], "EX_RGD_TYPE(EX_RGD_CONTROL_HEADING(EX_RD_FINAL))");
}

TEST(DataShapes, ScreenSection) {
    auto empty = ParseCobol(Program({"DATA DIVISION.", "SCREEN SECTION."}), {"-lang=mf"});
    EXPECT_EQ(empty.SyntaxErrors(), 0);
    DovExpr* section = FindOper(empty.root, SECTION_SCREEN);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(Shape(section->Args(0)), "~");

    auto p = ParseCobol(Program({"DATA DIVISION.", "SCREEN SECTION.", "01 S1 BOLD.", "01 S2 HIGHLIGHT.",
                                 "01 S3 DIM.", "01 S4 LOWLIGHT.", "01 S5 HIGHLIGHT LOWLIGHT BLINK."}),
                        {"-lang=acu"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    std::vector<std::string> attrs;
    DovExpr* list = FindOper(p.root, SECTION_SCREEN)->Args(0);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->NumArgs(); ++i) attrs.push_back(Shape(list->Args(i)->Args(0)->Args(12)));
    ASSERT_EQ(attrs.size(), 5u);
    EXPECT_EQ(attrs[0], "DSPL_HIGHLIGHT");
    EXPECT_EQ(attrs[1], "DSPL_HIGHLIGHT");
    EXPECT_EQ(attrs[2], "DSPL_LOWLIGHT");
    EXPECT_EQ(attrs[3], "DSPL_LOWLIGHT");
    EXPECT_EQ(attrs[4], "DSPL_HIGHLIGHT");
    EXPECT_TRUE(p.Said("is set more than once"));
}

// A syntax error inside an entry becomes its error clause; the entry is
// finished at its period and the next entry parses.
TEST(DataShapes, SyntaxErrorInsideAnEntry) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC X \"JUNK\" 7.",
                                 "01 B PIC X."}));
    EXPECT_EQ(p.SyntaxErrors(), 1);
    DovExpr* ws = FindOper(p.root, SECTION_WORKING_STORAGE);
    ASSERT_NE(ws, nullptr);
    DovExpr* list = ws->Args(0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->NumArgs(), 2);
    DovExpr* a = list->Args(0)->Args(0);
    EXPECT_EQ(Shape(a->Args(2)), "def:A");
    ASSERT_NE(a->Args(15), nullptr);
    EXPECT_EQ(a->Args(15)->Oper(), STMT__SYNTAX_ERROR);
    EXPECT_EQ(Shape(list->Args(1)->Args(0)->Args(2)), "def:B");
}

// D03: a COPY marker after the level number is the COPY before the name.
TEST(DataTrials, CopyBeforeTheName) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "WORKING-STORAGE SECTION.", "77 COPY NOSUCHBOOK.",
                                 "01 B PIC X."}));
    DovExpr* ws = FindOper(p.root, SECTION_WORKING_STORAGE);
    ASSERT_NE(ws, nullptr);
    EXPECT_EQ(CountOper(ws, DECL_DD_ENTRY), 2);
}

// D07, D08: the DESTINATION and NEXT conflicts of CD and report entries.
TEST(DataTrials, CommunicationDestinations) {
    auto p = ParseCobol(Program({"DATA DIVISION.", "COMMUNICATION SECTION.",
                                 "CD C1 FOR OUTPUT DESTINATION COUNT IS DC TEXT LENGTH IS TL",
                                 "    DESTINATION TABLE OCCURS 2 TIMES SYMBOLIC DESTINATION IS SDN.",
                                 "01 M PIC X(10)."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* cd = FindOper(p.root, DECL_CD_ENTRY);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(Shape(cd->Args(3)), "EX_CD_LIST(EX_CD_DEST_COUNT_IS(def:DC),EX_CD_TEXT_LENGTH_IS(def:TL),"
                                  "EX_CD_DEST_TABLE_OCCURS(2),EX_CD_QUEUE_IS(EX_CD_SYMB_DEST,def:SDN))");
    EXPECT_EQ(CountOper(cd->Args(4), DECL_DD_ENTRY), 1);
}

}  // namespace

namespace {

// An EXEC SQL INCLUDE whose member is not found stands in the procedure
// division as its marker statement, like a COPY that is not inlined; it
// used to end the program with a terminal message.
TEST(DataTrials, UninlinedIncludeInTheProcedureDivision) {
    auto p = vemlo_test::ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "DATA DIVISION.",
                                     "WORKING-STORAGE SECTION.", "01 A PIC X.", "PROCEDURE DIVISION.",
                                     "    EXEC SQL INCLUDE NOSUCHMEMBER END-EXEC.", "    STOP RUN."},
                                    {"-lang=mf"});
    ASSERT_NE(p.root, nullptr);
    EXPECT_EQ(vemlo_test::CountOper(p.root, STMT_UNINLINED_INCLUDE), 1);
    EXPECT_NE(vemlo_test::FindOper(p.root, STMT_STOP), nullptr);
}

}  // namespace

// An EXEC block among the data entries is a data-division EXEC node of its
// own, between the entries around it, with every token kept in order.
TEST(DataShapes, ExecBlockAmongTheEntries) {
    vemlo_grammar_test::GrammarRun run;
    run.ParseText("       IDENTIFICATION DIVISION.\n"
                  "       PROGRAM-ID. P.\n"
                  "       DATA DIVISION.\n"
                  "       WORKING-STORAGE SECTION.\n"
                  "       01 A PIC X.\n"
                  "           EXEC SQL BEGIN DECLARE SECTION END-EXEC.\n"
                  "       01 B PIC X.\n"
                  "           EXEC SQL END DECLARE SECTION END-EXEC\n"
                  "       01 C PIC X.\n"
                  "       PROCEDURE DIVISION.\n"
                  "           STOP RUN.\n");
    EXPECT_EQ(run.SyntaxErrors(), 0) << run.MessageText();
    DovExpr* ws = vemlo_grammar_test::FindFirst(run.root(), SECTION_WORKING_STORAGE);
    ASSERT_NE(ws, nullptr);
    EXPECT_EQ(vemlo_grammar_test::FindAll(ws, STMT_EXEC_SQL_IN_DCL).size(), 2u);
    EXPECT_EQ(vemlo_grammar_test::FindAll(ws, DECL_DD_ENTRY).size(), 3u);
    EXPECT_EQ(run.TokenDifference(), "");
}
