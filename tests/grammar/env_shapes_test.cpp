// Golden shapes of the environment division rules: null values for absent
// parts, SPECIAL-NAMES clauses and their checks, SELECT entries, and the
// lexer switches that SOURCE-COMPUTER and SPECIAL-NAMES imply.
#include <gtest/gtest.h>

#include "tests/grammar/data_fixture.h"
#include "tree/oper.h"

namespace {

using vemlo_test::CountOper;
using vemlo_test::FindOper;
using vemlo_test::ParseCobol;
using vemlo_test::Shape;

const char* kId[] = {"IDENTIFICATION DIVISION.", "PROGRAM-ID. P."};

std::vector<std::string> Program(std::initializer_list<std::string> body) {
    std::vector<std::string> lines(std::begin(kId), std::end(kId));
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

std::string EnvShape(const vemlo_test::DataParse& p) {
    DovExpr* program = p.Program();
    return program ? Shape(program->Args(1)) : "no program";
}

TEST(EnvShapes, AbsentPartsGiveNullValues) {
    struct Case {
        std::vector<std::string> lines;
        const char* shape;
    } cases[] = {
        {Program({}), "~"},
        {Program({"ENVIRONMENT DIVISION."}), "DIVISION_ENVIRONMENT(DIVISION_ENVIRONMENT_HEADER)"},
        {Program({"ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.", "INPUT-OUTPUT SECTION."}),
         "DIVISION_ENVIRONMENT(DIVISION_ENVIRONMENT_HEADER,SECTION_CONFIGURATION(SECTION_CONFIGURATION_HEADER),"
         "SECTION_INPUT_OUTPUT(SECTION_INPUT_OUTPUT_HEADER))"},
        {Program({"ENVIRONMENT DIVISION.", "FILE-CONTROL."}),
         "DIVISION_ENVIRONMENT(DIVISION_ENVIRONMENT_HEADER,~,SECTION_INPUT_OUTPUT(~,PARA_FILE_CONTROL("
         "PARA_FILE_CONTROL_HEADER)))"},
    };
    for (const Case& c : cases) {
        auto p = ParseCobol(c.lines);
        EXPECT_EQ(p.SyntaxErrors(), 0);
        EXPECT_EQ(EnvShape(p), c.shape);
    }
}

TEST(EnvShapes, SwitchNumbersAndTheirMessage) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    SWITCH 9 IS S9",
                                 "    SWITCH 3 IS S3 ON STATUS IS S3-ON", "    SWITCH-1 IS S1."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_TRUE(p.Said("Bad switch number: 9"));
    DovExpr* list = FindOper(p.root, SNX_FUNC_SWITCH_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Shape(list),
              "SNX_FUNC_SWITCH_LIST(SNX_FUNC_SWITCH(SW_SWITCH_0,SNX_IS(def:S9)),"
              "SNX_FUNC_SWITCH(SW_SWITCH_3,SNX_IS(def:S3),SNX_ON_STATUS(def:S3-ON)),"
              "SNX_FUNC_SWITCH(SW_SWITCH_1,SNX_IS(def:S1)))");
}

TEST(EnvShapes, ConsoleIsCrtAndCrtElsewhere) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    CONSOLE IS CRT",
                                 "    SYSOUT IS CRT", "    SYSIN IS KBD."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_TRUE(p.Said("CRT can only appear in CONSOLE IS CRT"));
    DovExpr* para = FindOper(p.root, PARA_SPECIAL_NAMES);
    ASSERT_NE(para, nullptr);
    EXPECT_EQ(Shape(para->Args(8)), "SNX_CONSOLE_IS_CRT");
    EXPECT_EQ(Shape(para->Args(1)),
              "SNX_FUNC_SWITCH_LIST(SNX_FUNC_SWITCH(IOF_SYSOUT,IOF_CRT),SNX_FUNC_SWITCH(IOF_SYSIN,SNX_IS(def:KBD)))");
}

TEST(EnvShapes, CurrencySignOfOneCharacter) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    CURRENCY SIGN IS \"AB\"."}));
    EXPECT_TRUE(p.Said("Currency Sign literal must have length of one"));
    auto q = ParseCobol(Program({"ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    CURRENCY SIGN IS \"E\"",
                                 "    CURRENCY \"F\"."}));
    EXPECT_FALSE(q.Said("Currency Sign literal"));
    EXPECT_TRUE(q.Said("is set more than once"));
}

// The category the data layout gives a PICTURE follows the program's
// CURRENCY SIGN and DECIMAL-POINT IS COMMA; a contained program uses its
// container's. Without the clauses '$' stays the only currency symbol.
TEST(EnvShapes, SpecialNamesSymbolsDecideThePictureCategory) {
    struct Case {
        const char* what;
        std::vector<std::string> names;  // SPECIAL-NAMES clauses, none: no paragraph
        const char* pic;
        bool nested;  // the item lies in a contained program
        int category;  // NULL_NODE: refused with the message
        long long length;
    } cases[] = {
        {"declared sign", {"CURRENCY SIGN IS \"<\"."}, "<(3),<<<.99", false, PIC_NUM_EDITED, 10},
        {"no clause", {}, "<(3),<<<.99", false, NULL_NODE, 0},
        {"no clause, dollar", {}, "$$9.99", false, PIC_NUM_EDITED, 6},
        {"declared sign replaces the dollar", {"CURRENCY SIGN IS \"W\"."}, "$$9.99", false, NULL_NODE, 0},
        {"declared sign in a contained program", {"CURRENCY SIGN IS \"W\"."}, "WWW9", true, PIC_NUM_EDITED, 4},
        {"decimal comma, floating point", {"DECIMAL-POINT IS COMMA."}, "+9,9(3)E+99", false, PIC_EXT_FLOAT, 10},
        {"decimal point, floating point with a comma", {}, "+9,9(3)E+99", false, NULL_NODE, 0},
        {"both clauses", {"CURRENCY SIGN IS \"W\"", "DECIMAL-POINT IS COMMA."}, "W.WW9,99", false, PIC_NUM_EDITED,
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines = {"IDENTIFICATION DIVISION.", "PROGRAM-ID. OUTER.", "ENVIRONMENT DIVISION.",
                                          "CONFIGURATION SECTION."};
        if (!c.names.empty()) lines.push_back("SPECIAL-NAMES.");
        for (const std::string& n : c.names) lines.push_back("    " + n);
        if (c.nested) lines.insert(lines.end(), {"PROCEDURE DIVISION.", "    STOP RUN.", "IDENTIFICATION DIVISION.",
                                                 "PROGRAM-ID. INNER."});
        lines.insert(lines.end(), {"DATA DIVISION.", "WORKING-STORAGE SECTION.", std::string("01 E PIC ") + c.pic + ".",
                                   "PROCEDURE DIVISION.", "    STOP RUN."});
        if (c.nested) lines.insert(lines.end(), {"END PROGRAM INNER.", "END PROGRAM OUTER."});
        auto p = ParseCobol(lines);
        EXPECT_EQ(p.SyntaxErrors(), 0);
        DovExpr* entry = FindOper(p.root, DECL_DD_ENTRY);
        ASSERT_NE(entry, nullptr);
        if (c.nested) {
            EXPECT_EQ(FindOper(p.Program()->Args(2), DECL_DD_ENTRY), nullptr);
        }
        const DovExpr* category = entry->Args(16);
        EXPECT_EQ(p.Said("Cannot determine category for PIC string"), c.category == NULL_NODE);
        if (c.category == NULL_NODE) continue;
        ASSERT_NE(category, nullptr);
        EXPECT_EQ(category->Oper(), c.category);
        ASSERT_NE(entry->Args(17), nullptr);
        EXPECT_EQ(entry->Args(17)->IntValue(), c.length);
    }
}

TEST(EnvShapes, AlphabetsAndClasses) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "SPECIAL-NAMES.", "    ALPHABET A1 IS STANDARD-1",
                                 "    ALPHABET A2 IS \"A\" THRU \"Z\" \"0\" ALSO \"1\" ALSO \"2\"",
                                 "    CLASS HEXA IS \"0\" THRU \"9\" \"A\"."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_EQ(Shape(FindOper(p.root, SNX_ALPHABET_LIST)),
              "SNX_ALPHABET_LIST(SNX_ALPHABET(def:A1,SNX_STANDARD_1),SNX_ALPHABET(def:A2,SNX_ALPHA_RANGE_LIST("
              "EX_ALPH_LITER_RANGE(\"A\",\"Z\"),EX_ALPH_LITER_RANGE(EX_ALPH_ALSO_LIST(\"0\",\"1\",\"2\")))))");
    EXPECT_EQ(Shape(FindOper(p.root, SNX_CLASS_LIST)),
              "SNX_CLASS_LIST(SNX_CLASS(def:HEXA,SNX_ALPHA_RANGE_LIST(EX_ALPH_LITER_RANGE(\"0\",\"9\"),"
              "EX_ALPH_LITER_RANGE(\"A\"))))");
}

TEST(EnvShapes, AssignDiskAgainstDiskFrom) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "FILE-CONTROL.", "    SELECT F1 ASSIGN TO DISK",
                                 "        FILE STATUS IS FS1.", "    SELECT F2 ASSIGN DISK FROM \"f2.dat\".",
                                 "    SELECT OPTIONAL F3 ASSIGN TO \"f3\" ORGANIZATION IS INDEXED",
                                 "        ACCESS MODE IS DYNAMIC RECORD KEY IS K3",
                                 "        ALTERNATE RECORD KEY IS K4 WITH DUPLICATES."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* list = FindOper(p.root, DECL_FC_ENTRY_LIST);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->NumArgs(), 3);
    EXPECT_EQ(Shape(list->Args(0)),
              "DECL_FC_ENTRY(~,use:F1,FCX_ASSIGN(FCX_DEVICE(~,DEV_DISK)),~,~,~,~,~,FCX_FILE_STATUS(use:FS1))");
    EXPECT_EQ(Shape(list->Args(1)), "DECL_FC_ENTRY(~,use:F2,FCX_ASSIGN(FCX_DEVICE(~,DEV_DISK_FROM_FILE,EX_LIST("
                                    "\"f2.dat\"))))");
    EXPECT_EQ(Shape(list->Args(2)),
              "DECL_FC_ENTRY(FCX_OPTIONAL,use:F3,FCX_ASSIGN(FCX_DEVICE(~,DEV_DISK_FILE,EX_LIST(\"f3\"))),"
              "FCX_ORGANIZATION(FCX_ORG_INDEXED),FCX_ACCESS_MODE(FCX_AM_DYNAMIC),~,FCX_RECORD_KEY(use:K3),"
              "FCX_ALTERNATE_RECORD_KEY_LIST(FCX_ALTERNATE_RECORD_KEY(use:K4,~,~,~,FCX_ALTKEY_WITH_DUPLICATES)))");
}

// SOURCE-COMPUTER without OBJECT-COMPUTER: the later names are looked up
// again, so the data and procedure divisions parse.
TEST(EnvShapes, SourceComputerAloneKeepsLaterNames) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.", "SOURCE-COMPUTER. X-86.",
                                 "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC 9.",
                                 "PROCEDURE DIVISION.", "    MOVE 1 TO A.", "    STOP RUN."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_EQ(Shape(FindOper(p.root, PARA_SOURCE_COMPUTER)), "PARA_SOURCE_COMPUTER(X-86)");
    EXPECT_NE(FindOper(p.root, DECL_DD_ENTRY), nullptr);
}

TEST(EnvShapes, DecimalPointIsCommaMakesARealLiteral) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.", "SPECIAL-NAMES.",
                                 "    DECIMAL-POINT IS COMMA.", "DATA DIVISION.", "WORKING-STORAGE SECTION.",
                                 "01 A PIC 99V9.", "PROCEDURE DIVISION.", "    MOVE 12,5 TO A.", "    STOP RUN."}));
    EXPECT_EQ(p.SyntaxErrors(), 0);
    DovExpr* real = FindOper(p.root, REAL_NUM_CONST);
    ASSERT_NE(real, nullptr);
    EXPECT_STREQ(real->Image().CStr(), "12,5");
}

TEST(EnvShapes, DebuggingModeCompilesDebuggingLines) {
    const auto source = [](bool debugging) {
        return Program({"ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.",
                        debugging ? "SOURCE-COMPUTER. X-86 WITH DEBUGGING MODE." : "SOURCE-COMPUTER. X-86.",
                        "DATA DIVISION.", "WORKING-STORAGE SECTION.", "01 A PIC 9.", "PROCEDURE DIVISION.",
                        "    MOVE 1 TO A.", "D   MOVE 2 TO A.", "    STOP RUN."});
    };
    auto with = ParseCobol(source(true));
    auto without = ParseCobol(source(false));
    EXPECT_EQ(with.SyntaxErrors(), 0);
    EXPECT_EQ(without.SyntaxErrors(), 0);
    EXPECT_EQ(CountOper(with.root, STMT_MOVE), 2);
    EXPECT_EQ(CountOper(without.root, STMT_MOVE), 1);
    EXPECT_EQ(Shape(FindOper(with.root, PARA_SOURCE_COMPUTER)), "PARA_SOURCE_COMPUTER(X-86,EX_CC_DEBUGGING_MODE)");
}

// D01, D02: a COPY marker after a paragraph or entry stays with it.
TEST(EnvTrials, IoControlAndObjectComputer) {
    auto p = ParseCobol(Program({"ENVIRONMENT DIVISION.", "CONFIGURATION SECTION.",
                                 "OBJECT-COMPUTER. X-86 MEMORY SIZE 8 WORDS SEGMENT-LIMIT IS 5.",
                                 "INPUT-OUTPUT SECTION.", "FILE-CONTROL.", "    SELECT F1 ASSIGN TO \"a\"",
                                 "        RESERVE 2 ALTERNATE AREAS.", "    SELECT F2 ASSIGN TO \"b\"",
                                 "        RESERVE 2 ALTERNATE RECORD KEY IS K2.", "I-O-CONTROL.",
                                 "    SAME RECORD AREA FOR F1 F2", "    RERUN ON F1 EVERY 100 RECORDS OF F2."}),
                        {"-lang=mf"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_EQ(Shape(FindOper(p.root, PARA_OBJECT_COMPUTER)),
              "PARA_OBJECT_COMPUTER(X-86,EX_CC_CLAUSE_LIST(EX_CC_MEMORY_SIZE(8,EX_CC_WORDS),EX_CC_SEGMENT_LIMIT(5)))");
    EXPECT_EQ(CountOper(p.root, FCX_RESERVE), 2);
    EXPECT_EQ(CountOper(p.root, FCX_ALTERNATE_RECORD_KEY), 1);
    EXPECT_EQ(Shape(FindOper(p.root, PARA_I_O_CONTROL)),
              "PARA_I_O_CONTROL(STMT_LIST(IOCX_SAME_AREA(IOCX_RECORD,EX_LIST(use:F1,use:F2)),"
              "IOCX_RERUN(IOCX_RERUN_ON(use:F1),IOCX_RECORDS_OF(100,use:F2))))");
}

}  // namespace

namespace {

// The SELECT entry names the file that its FD defines: one definition, so
// its uses resolve; a SELECT without FD is reported.
TEST(EnvShapes, SelectNamesTheFileOfItsFd) {
    auto p = vemlo_test::ParseCobol({"IDENTIFICATION DIVISION.", "PROGRAM-ID. P.", "ENVIRONMENT DIVISION.",
                                     "FILE-CONTROL.", "    SELECT F ASSIGN TO \"f\".", "    SELECT G ASSIGN TO \"g\".",
                                     "DATA DIVISION.", "FILE SECTION.", "FD F.", "01 R PIC X.",
                                     "PROCEDURE DIVISION.", "    STOP RUN."},
                                    {"-lang=ansi85"});
    EXPECT_EQ(p.SyntaxErrors(), 0);
    EXPECT_FALSE(p.Said("defined more than once"));
    EXPECT_TRUE(p.Said("File-name 'G' is defined in FC entry but not in FD entry"));
    EXPECT_FALSE(p.Said("File-name 'F'"));
}

}  // namespace
