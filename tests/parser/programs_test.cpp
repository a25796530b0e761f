// The program frame: the source root and its special registers, the stack
// of open programs with END PROGRAM and the ending of programs, the CICS EIB
// block, and the placement of sections, paragraphs and sentences.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/parser/structure_fixture.h"

namespace structure_test {
namespace {

// Names of the data entries of a DECL_DD_LIST in walk order, a nested
// entry's name after "/" steps of its depth ("DEBUG-ITEM", "/DEBUG-LINE").
void EntryNames(DovExpr* list, int depth, std::vector<std::string>& out) {
    for (int i = 0; list && i < list->NumArgs(); ++i) {
        DovExpr* holder = DovArgOrNull(list, i);
        DovExpr* def = DovArgOrNull(DovArgOrNull(holder, 0), 2);
        out.push_back(std::string(depth, '/') + (def ? def->Image().CStr() : "?"));
        EntryNames(DovArgOrNull(holder, 1), depth + 1, out);
    }
}
std::vector<std::string> EntryNames(DovExpr* list) {
    std::vector<std::string> out;
    EntryNames(list, 0, out);
    return out;
}

int CountOper(DovExpr* root, DovOper op) {
    struct Ctx {
        DovOper op;
        int n;
    } ctx{op, 0};
    WalkTheTree(root, &ctx, [](DovExpr* node, void* c) -> int {
        auto* x = static_cast<Ctx*>(c);
        if (node->Oper() == x->op) ++x->n;
        return DOV_WALK_DESCEND;
    });
    return ctx.n;
}

// ---------------------------------------------------------------------------
// Source root and special registers
// ---------------------------------------------------------------------------

const std::vector<std::string> kDebugGroup = {"DEBUG-ITEM",  "/DEBUG-LINE",  "/DEBUG-NAME",    "/DEBUG-SUB-1",
                                              "/DEBUG-SUB-2", "/DEBUG-SUB-3", "/DEBUG-CONTENTS"};

std::vector<std::string> WithDebug(std::vector<std::string> rest) {
    std::vector<std::string> all = kDebugGroup;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

struct RegisterCase {
    const char* label;
    std::vector<int> dialects;
    std::vector<std::string> names;
};

class SpecialRegisters : public StructureTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(SpecialRegisters, OnlyThoseOfTheDialectsInForceInTableOrder) {
    const RegisterCase& c = GetParam();
    DovDials set = DovNoDials();
    for (int d : c.dialects) DovDialsAdd(set, d);
    parser.dials = set;
    InitSourceTree(&parser);
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(Root()->Oper(), COBOL_FILE);
    DovExpr* list = DovArgOrNull(Root(), 2);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Oper(), DECL_DD_LIST);
    EXPECT_EQ(EntryNames(list), c.names);
    // Every register is a data name of the source-level table.
    DovExpr* table = DovArgOrNull(Root(), 3);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(parser.currentSymTab, table);
    for (std::string name : c.names) {
        name.erase(0, name.find_first_not_of('/'));
        DovSymTabElt* elt = SymTabFind(table, name.c_str());
        ASSERT_NE(elt, nullptr) << name;
        EXPECT_EQ(elt->Category(), NC_DATA_NAME) << name;
    }
    EXPECT_TRUE(messages.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    ByDialect, SpecialRegisters,
    ::testing::Values(
        RegisterCase{"ms", {DIAL_MS}, WithDebug({"LIN", "COL"})},
        RegisterCase{"vsii",
                     {DIAL_VSII},
                     WithDebug({"RETURN-CODE", "SHIFT-IN", "SHIFT-OUT", "TALLY", "WHEN-COMPILED", "SORT-CONTROL",
                                "SORT-CORE-SIZE", "SORT-FILE-SIZE", "SORT-MESSAGE", "SORT-MODE-SIZE",
                                "SORT-RETURN"})},
        RegisterCase{"mf", {DIAL_MF}, WithDebug({"RETURN-CODE", "WHEN-COMPILED"})},
        RegisterCase{"osvs",
                     {DIAL_OSVS},
                     WithDebug({"CURRENT-DATE", "TIME-OF-DAY", "RETURN-CODE", "TALLY", "WHEN-COMPILED",
                                "SORT-CORE-SIZE", "SORT-FILE-SIZE", "SORT-MESSAGE", "SORT-MODE-SIZE",
                                "SORT-RETURN"})},
        RegisterCase{"icobol has none", {DIAL_ICOBOL}, {}},
        RegisterCase{"no dialect", {}, {}},
        RegisterCase{"ms and mf",
                     {DIAL_MF, DIAL_MS},
                     WithDebug({"RETURN-CODE", "WHEN-COMPILED", "LIN", "COL"})}),
    [](const ::testing::TestParamInfo<RegisterCase>& info) {
        std::string name = info.param.label;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(StructureTest, SpecialRegisterClauses) {
    parser.dials = Dials({DIAL_MS});
    InitSourceTree(&parser);
    DovExpr* list = DovArgOrNull(Root(), 2);
    ASSERT_EQ(list->NumArgs(), 3);
    // LIN: 01 LIN PIC 9(4) COMP.
    DovExpr* lin = DovArgOrNull(DovArgOrNull(list, 1), 0);
    EXPECT_EQ(DovArgOrNull(lin, 0)->IntValue(), 1);
    EXPECT_TRUE(DovArgOrNull(DovArgOrNull(lin, 4), 0)->Image() == "9(4)");
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(lin, 5), 0)->Oper(), DU_COMP);
    // DEBUG-ITEM is a group without PICTURE and USAGE; DEBUG-LINE is at level 5.
    DovExpr* debug = DovArgOrNull(DovArgOrNull(list, 0), 0);
    EXPECT_EQ(DovArgOrNull(debug, 4), nullptr);
    EXPECT_EQ(DovArgOrNull(debug, 5), nullptr);
    DovExpr* line = DovArgOrNull(DovArgOrNull(DovArgOrNull(DovArgOrNull(list, 0), 1), 0), 0);
    EXPECT_EQ(DovArgOrNull(line, 0)->IntValue(), 5);
}

TEST_F(StructureTest, ConstantSettingsAreDeclaredIntoTheRoot) {
    parser.dials = Dials({DIAL_MS});
    parser.constantSettings.Append("TITLE-TEXT'Report'");
    parser.constantSettings.Append("MAX-ROWS(40)");
    InitSourceTree(&parser);
    DovSymTabElt* title = SymTabFind(DovArgOrNull(Root(), 3), "TITLE-TEXT");
    DovSymTabElt* rows = SymTabFind(DovArgOrNull(Root(), 3), "MAX-ROWS");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(title->Category(), NC_CONSTANT_NAME);
    VString text;
    int isNumber = 0;
    long long number = 0;
    ASSERT_TRUE(DovPreprocessorConstantValue(rows, text, isNumber, number));
    EXPECT_EQ(isNumber, 1);
    EXPECT_EQ(number, 40);
    // The registers come first, the constants after them.
    EXPECT_EQ(DovArgOrNull(Root(), 2)->NumArgs(), 3 + 2);
    // A nested program sees them.
    Program("OUTER");
    Program("INNER");
    EXPECT_EQ(Elt("MAX-ROWS"), rows);
}

// ---------------------------------------------------------------------------
// The program stack
// ---------------------------------------------------------------------------

TEST_F(StructureTest, StartProgramPushesAProgramWithItsOwnTable) {
    InitSourceTree(&parser);
    parser.currencySign = '#';
    DovExpr* program = parser.StartProgram();
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->Oper(), COBOL_PROGRAM);
    EXPECT_EQ(parser.programCount, 2);
    EXPECT_EQ(parser.programStack[1], program);
    DovExpr* table = DovArgOrNull(program, 6);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Oper(), SYMBOL_TABLE_ELT_LIST);
    EXPECT_EQ(parser.currentSymTab, table);
    EXPECT_EQ(parser.currencySign, '$');
    // Not in the tree before it is finished.
    EXPECT_EQ(program->Parent(), nullptr);
    parser.FinishSource(0);
    EXPECT_EQ(program->Parent(), RootPrograms());
    EXPECT_EQ(parser.currentSymTab, DovArgOrNull(Root(), 3));
    // An ended program's empty slots hold null nodes.
    EXPECT_EQ(DovArgOrNull(program, 4)->Oper(), NULL_NODE);
    EXPECT_EQ(DovArgOrNull(program, 5)->Oper(), NULL_NODE);
}

TEST_F(StructureTest, AProgramWithoutASourceRootGetsOne) {
    DovExpr* program = parser.StartProgram();
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(parser.programStack[0], Root());
    EXPECT_EQ(parser.programStack[1], program);
    EXPECT_EQ(parser.programCount, 2);
    parser.FinishSource(0);
    EXPECT_EQ(program->Parent(), RootPrograms());
}

// A script of program actions: "S A" starts program A, "E A" is END
// PROGRAM A, "X n" ends n programs, "F" finishes the source.
struct StackCase {
    const char* label;
    const char* script;
    std::vector<std::string> messages;
    const char* shape;  // the programs of the root
};

class ProgramStack : public StructureTest, public ::testing::WithParamInterface<StackCase> {
protected:
    void Run(const char* script) {
        std::istringstream in(script);
        std::string step;
        while (in >> step) {
            std::string arg;
            if (step != "F") in >> arg;
            if (step == "S") Program(arg.c_str());
            if (step == "E") End(arg.c_str());
            if (step == "X") parser.FinishProgram(std::stoi(arg));
            if (step == "F") parser.FinishSource(0);
        }
    }
};

TEST_P(ProgramStack, EndsAndLinksPrograms) {
    const StackCase& c = GetParam();
    InitSourceTree(&parser);
    Run(c.script);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(ProgramShape(RootPrograms()), c.shape);
    EXPECT_EQ(parser.programCount, 1);
    EXPECT_TRUE(CaughtMessages().empty());
}

const char* kUnEnded = "ERR:There is more than one un-ENDed Program. Ending them all.";

INSTANTIATE_TEST_SUITE_P(
    Scripts, ProgramStack,
    ::testing::Values(
        StackCase{"TwoWithoutEndProgram", "S A S B F", {kUnEnded}, "A B"},
        StackCase{"OneWithoutEndProgram", "S A F", {}, "A"},
        StackCase{"Nested", "S A S B E B E A F", {}, "A(B)"},
        StackCase{"Sequence", "S A E A S B E B F", {}, "A B"},
        StackCase{"NestedThenUnEnded", "S A S B E B S C F", {kUnEnded}, "A(B) C"},
        StackCase{"InnerEndedOnly", "S A S B S C E C F", {kUnEnded}, "A B(C)"},
        StackCase{"OtherName",
                  "S A S B E A E B E A F",
                  {"ERR:END PROGRAM A does not end the current Program. Ignored."},
                  "A(B)"},
        StackCase{"NothingToEnd", "S A E A E A F", {"ERR:There are no more programs to END. Ignored."}, "A"},
        StackCase{"TooManyToEnd", "S A X 2 F", {"ERR:Do not have that many programs to end. Ignored."}, "A"},
        StackCase{"EndTwoAtOnce", "S A S B S C X 2 F", {}, "A(B C)"},
        StackCase{"NoProgram", "F", {}, ""}),
    [](const ::testing::TestParamInfo<StackCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, IgnoredEndProgramLeavesTheStackAsItWas) {
    InitSourceTree(&parser);
    DovExpr* a = Program("A");
    DovExpr* header = Op(END_COBOL_PROGRAM, {{0, Use({"OTHER"}, NC_PROGRAM_NAME)}});
    parser.EndProgram(header);
    EXPECT_EQ(header->Parent(), nullptr);  // still the caller's
    delete header;
    EXPECT_EQ(parser.programCount, 2);
    EXPECT_EQ(parser.programStack[1], a);
    EXPECT_EQ(parser.currentSymTab, DovArgOrNull(a, 6));
    End("A");
    EXPECT_EQ(DovArgOrNull(a, 5)->Oper(), END_COBOL_PROGRAM);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ERR:END PROGRAM OTHER does not end the current Program. Ignored."}));
}

TEST_F(StructureTest, EndProgramRefusesAnotherNode) {
    InitSourceTree(&parser);
    Program("A");
    DovExpr* wrong = new DovExprOper(SENTENCE_EMPTY);
    parser.EndProgram(wrong);
    delete wrong;
    ASSERT_EQ(CaughtMessages().size(), 1u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_TERMINAL);
    EXPECT_EQ(CaughtMessages()[0].text, "DovParserImpl::EndProgram: expecting END PROGRAM header");
    EXPECT_EQ(parser.programCount, 2);
}

TEST_F(StructureTest, NestingPastTheStackFinishesTheInnermostProgram) {
    InitSourceTree(&parser);
    std::vector<std::string> names;
    for (int i = 1; i <= 25; ++i) {
        names.push_back("P" + std::to_string(i));
        Program(names.back().c_str());
        EXPECT_LE(parser.programCount, kDovMaxProgramLevels);
        // The new program is the innermost one and gets the names.
        EXPECT_EQ(ProgramName(parser.programStack[parser.programCount - 1]), names.back());
    }
    EXPECT_EQ(Count("Too many levels of Nested Programs"), 6);
    parser.FinishSource(0);
    EXPECT_EQ(Count("Too many levels of Nested Programs"), 6);
    EXPECT_EQ(Count("There is more than one un-ENDed Program. Ending them all."), 1);
    EXPECT_EQ(Messages().size(), 7u);
    EXPECT_TRUE(CaughtMessages().empty());
    // P19 to P24 each gave way to the next one inside P18; every program is
    // in the tree once.
    std::string shape;
    for (int i = 1; i <= 18; ++i) shape += "P" + std::to_string(i) + (i < 18 ? " " : "");
    shape += "(P19 P20 P21 P22 P23 P24) P25";
    EXPECT_EQ(ProgramShape(RootPrograms()), shape);
    EXPECT_EQ(CountOper(Root(), COBOL_PROGRAM), 25);
    EXPECT_EQ(parser.programCount, 1);
}

TEST_F(StructureTest, AbortDeletesTheOpenProgramsAndForgetsWhatPointedIntoThem) {
    InitSourceTree(&parser);
    Program("A");
    DovExpr* b = Program("B");
    ProcDiv(b);
    Section("S1");
    Para("P1");
    ASSERT_NE(parser.currentParagraph, nullptr);
    EXPECT_EQ(parser.FinishSource(1), 0);
    EXPECT_EQ(parser.programCount, 1);
    EXPECT_EQ(RootPrograms(), nullptr);
    EXPECT_EQ(parser.currentSection, nullptr);
    EXPECT_EQ(parser.currentParagraph, nullptr);
    EXPECT_EQ(parser.procHolder, nullptr);
    EXPECT_EQ(parser.currentSymTab, DovArgOrNull(Root(), 3));
    EXPECT_TRUE(messages.IsEmpty());
}

TEST_F(StructureTest, Traces) {
    parser.structureTrace = 1;
    InitSourceTree(&parser);
    ::testing::internal::CaptureStdout();
    Program("A");
    End("A");
    parser.FinishSource(0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\n*=== DovParserImpl::StartProgram() ===\n"), std::string::npos);
    EXPECT_NE(out.find("\n*=== DovParserImpl::EndProgram() ===\n"), std::string::npos);
    EXPECT_NE(out.find("\n*=== DovParserImpl::FinishProgram(): 1 ===\n"), std::string::npos);
    EXPECT_NE(out.find("\n*=== DovParserImpl::FinishSource() === 0"), std::string::npos);
}

TEST_F(StructureTest, ResolvingReportsProgress) {
    static std::vector<std::string> progress;
    progress.clear();
    parser.progressCallback = [](const DovTxtPosn&, const VString& text) { progress.push_back(text.CStr()); };
    InitSourceTree(&parser);
    Program("A");
    End("A");
    EXPECT_EQ(progress, (std::vector<std::string>{"Resolving Names", "*"}));
    progress.clear();
    parser.resolveNames = 0;
    Program("B");
    End("B");
    EXPECT_TRUE(progress.empty());
}

// ---------------------------------------------------------------------------
// Procedure structure
// ---------------------------------------------------------------------------

// "A[P[SENTENCE]]": sections of the holder's slot with their paragraphs and
// what the paragraphs hold; "-" for an unnamed section or paragraph.
std::string ProcShape(DovExpr* sections) {
    std::string out;
    auto name = [](DovExpr* node) {
        DovExpr* def = DovArgOrNull(node, 0);
        return std::string(def && def->Oper() == NAMED_OBJ_DEF ? def->Image().CStr() : "-");
    };
    for (int i = 0; sections && i < sections->NumArgs(); ++i) {
        DovExpr* section = DovArgOrNull(sections, i);
        if (!out.empty()) out += ' ';
        out += name(section) + "[";
        DovExpr* paras = DovArgOrNull(section, 2);
        for (int j = 0; paras && j < paras->NumArgs(); ++j) {
            DovExpr* para = DovArgOrNull(paras, j);
            if (j > 0) out += ' ';
            out += name(para) + "[";
            DovExpr* sentences = DovArgOrNull(para, 1);
            for (int k = 0; sentences && k < sentences->NumArgs(); ++k)
                out += std::string(k > 0 ? " " : "") + DovOperName(DovArgOrNull(sentences, k)->Oper());
            out += "]";
        }
        out += "]";
    }
    return out;
}

struct ProcCase {
    const char* label;
    const char* script;  // "S name", "P name", "R" (ResetProcState) or an element operation
    const char* shape;
};

class ProcStructure : public StructureTest, public ::testing::WithParamInterface<ProcCase> {};

TEST_P(ProcStructure, PlacesElements) {
    const ProcCase& c = GetParam();
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovExpr* div = ProcDiv(program);
    std::istringstream in(c.script);
    std::string step;
    while (in >> step) {
        std::string arg;
        if (step == "S" || step == "P") in >> arg;
        if (step == "S")
            Section(arg.c_str());
        else if (step == "P")
            Para(arg.c_str());
        else if (step == "R")
            parser.ResetProcState();
        else {
            int kind = 0;
            const int op = DovOperNameLookup(step.c_str(), &kind);
            ASSERT_EQ(kind, NAME_KIND_OPER) << step;
            DovExpr* node = new DovExprOper(static_cast<DovOper>(op));
            EXPECT_EQ(parser.ProcessNewProc(node), 0) << step;
            EXPECT_NE(node->Parent(), nullptr) << step;
        }
    }
    EXPECT_EQ(ProcShape(DovArgOrNull(div, 7)), c.shape);
    EXPECT_TRUE(CaughtMessages().empty());
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ProcStructure,
    ::testing::Values(
        ProcCase{"SentenceFirst", "SENTENCE", "-[-[SENTENCE]]"},
        ProcCase{"SectionThenSentence", "S A SENTENCE", "A[-[SENTENCE]]"},
        ProcCase{"ParagraphFirst", "P X SENTENCE SENTENCE_EMPTY", "-[X[SENTENCE SENTENCE_EMPTY]]"},
        ProcCase{"TwoSections", "S A P X SENTENCE S B SENTENCE", "A[X[SENTENCE]] B[-[SENTENCE]]"},
        ProcCase{"ParagraphsOfASection", "S A P X P Y SENTENCE", "A[X[] Y[SENTENCE]]"},
        ProcCase{"CopyBeforeTheFirstSection", "STMT_UNINLINED_COPY S A", "-[-[STMT_UNINLINED_COPY]] A[]"},
        ProcCase{"Markers",
                 "P X SENTENCE_EMPTY STMT__SYNTAX_ERROR STMT_UNINLINED_COPY STMT_INLINED_COPY_BEG "
                 "STMT_INLINED_COPY_END STMT_REPLACE STMT_REPLACE_OFF STMT_INLINED_INCLUDE_BEG "
                 "STMT_INLINED_INCLUDE_END",
                 "-[X[SENTENCE_EMPTY STMT__SYNTAX_ERROR STMT_UNINLINED_COPY STMT_INLINED_COPY_BEG "
                 "STMT_INLINED_COPY_END STMT_REPLACE STMT_REPLACE_OFF STMT_INLINED_INCLUDE_BEG "
                 "STMT_INLINED_INCLUDE_END]]"},
        ProcCase{"AfterReset", "S A P X SENTENCE R SENTENCE", "A[X[SENTENCE]] -[-[SENTENCE]]"},
        ProcCase{"ParagraphAfterReset", "S A R P X", "A[] -[X[]]"}),
    [](const ::testing::TestParamInfo<ProcCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, DeclarativeSectionsGoIntoTheirOwnHolder) {
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    DovExpr* div = ProcDiv(program);
    DovExpr* decls = new DovExprOper(DECLARATIVE_SECTIONS);
    div->SetArg(5, decls, -1, 0);
    parser.procHolder = decls;
    parser.procSectionSlot = 0;
    Section("ERR-SECTION");
    Sentence();
    parser.procHolder = div;
    parser.procSectionSlot = 7;
    parser.ResetProcState();
    Sentence();
    EXPECT_EQ(ProcShape(DovArgOrNull(decls, 0)), "ERR-SECTION[-[SENTENCE]]");
    EXPECT_EQ(ProcShape(DovArgOrNull(div, 7)), "-[-[SENTENCE]]");
}

TEST_F(StructureTest, ProcessNewProcRefusesOtherNodes) {
    InitSourceTree(&parser);
    ProcDiv(Program("A"));
    DovExpr* move = new DovExprOper(STMT_MOVE);
    EXPECT_NE(parser.ProcessNewProc(move), 0);
    EXPECT_EQ(move->Parent(), nullptr);
    delete move;
    EXPECT_NE(parser.ProcessNewProc(nullptr), 0);
    ASSERT_EQ(CaughtMessages().size(), 2u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_TERMINAL);
    EXPECT_EQ(CaughtMessages()[0].text, "DovParserImpl::ProcessNewProc: bad proc type");
}

TEST_F(StructureTest, ProcessNewProcWithoutHolderKeepsTheNodeWithTheCaller) {
    InitSourceTree(&parser);
    Program("A");
    parser.procHolder = nullptr;
    DovExpr* sentence = new DovExprOper(SENTENCE);
    EXPECT_NE(parser.ProcessNewProc(sentence), 0);
    EXPECT_EQ(sentence->Parent(), nullptr);
    delete sentence;
    ASSERT_EQ(CaughtMessages().size(), 1u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_TERMINAL);
}

// ---------------------------------------------------------------------------
// CICS EIB block
// ---------------------------------------------------------------------------

// The EIB block of a program: the DECL_DD_HIDDEN holder in its LINKAGE
// SECTION, or null; `count` receives how many there are.
DovExpr* EibBlock(DovExpr* program, int* count = nullptr) {
    DovExpr* list = DovArgOrNull(DovArgOrNull(DovArgOrNull(program, 2), 6), 0);
    DovExpr* found = nullptr;
    int n = 0;
    for (int i = 0; list && i < list->NumArgs(); ++i) {
        DovExpr* holder = DovArgOrNull(list, i);
        DovExpr* def = DovArgOrNull(DovArgOrNull(holder, 0), 2);
        if (holder->Oper() == DECL_DD_HIDDEN && def && def->Image() == "CICS-BLOCKS") {
            found = holder;
            ++n;
        }
    }
    if (count) *count = n;
    return found;
}

struct EibCase {
    int setting;
    bool refers;
    bool block;
};

class EibSetting : public StructureTest, public ::testing::WithParamInterface<EibCase> {};

TEST_P(EibSetting, DecidedForEachProgram) {
    const EibCase& c = GetParam();
    parser.cicsEib = c.setting;
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    Storage(program, {Dd(1, "WS-A")});
    ProcDiv(program);
    if (c.refers) Sentence({Use({"EIBTRNID"}, NC_DATA_NAME)});
    End("A");
    EXPECT_EQ(EibBlock(program) != nullptr, c.block);
    EXPECT_EQ(parser.cicsEib, c.setting);
    if (c.refers && c.block) {
        EXPECT_TRUE(messages.IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(AutoNoYes, EibSetting,
                         ::testing::Values(EibCase{DOV_ANY_AUTO, true, true}, EibCase{DOV_ANY_AUTO, false, false},
                                           EibCase{DOV_ANY_NO, true, false}, EibCase{DOV_ANY_NO, false, false},
                                           EibCase{DOV_ANY_YES, true, true}, EibCase{DOV_ANY_YES, false, true}));

TEST_F(StructureTest, EibBlockLayout) {
    parser.cicsEib = DOV_ANY_YES;
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    // A LINKAGE SECTION with an entry: the block comes after it.
    Storage(program, {Dd(1, "DFHCOMMAREA")}, 6, SECTION_LINKAGE);
    End("A");
    DovExpr* list = DovArgOrNull(DovArgOrNull(DovArgOrNull(program, 2), 6), 0);
    std::vector<std::string> names = EntryNames(list);
    ASSERT_EQ(names.size(), 1u + kDovCicsEibRowCount);
    EXPECT_EQ(names[0], "DFHCOMMAREA");
    EXPECT_EQ(names[1], "CICS-BLOCKS");
    EXPECT_EQ(names[2], "/DFHEIBLK");
    EXPECT_EQ(names[3], "//EIBTIME");
    const std::vector<std::string> tail(names.end() - 4, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"//EIBNODAT", "//EIBRESP", "//EIBRESP2", "//EIBRLDBK"}));
    EXPECT_EQ(DovArgOrNull(list, 1)->Oper(), DECL_DD_HIDDEN);
    // EIBRESP2: S9(8) COMP.
    DovExpr* eibblk = DovArgOrNull(DovArgOrNull(DovArgOrNull(list, 1), 1), 0);
    DovExpr* fields = DovArgOrNull(eibblk, 1);
    DovExpr* resp2 = DovArgOrNull(DovArgOrNull(fields, fields->NumArgs() - 2), 0);
    EXPECT_TRUE(DovArgOrNull(resp2, 2)->Image() == "EIBRESP2");
    EXPECT_TRUE(DovArgOrNull(DovArgOrNull(resp2, 4), 0)->Image() == "S9(8)");
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(resp2, 5), 0)->Oper(), DU_COMP);
}

TEST_F(StructureTest, EibBlockMakesTheLinkageSection) {
    parser.cicsEib = DOV_ANY_YES;
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    Storage(program, {Dd(1, "WS-A")});
    DataDiv(program)->SetArg(6, new DovNullNode, -1, 0);
    End("A");
    DovExpr* linkage = DovArgOrNull(DovArgOrNull(program, 2), 6);
    ASSERT_NE(linkage, nullptr);
    EXPECT_EQ(linkage->Oper(), SECTION_LINKAGE);
    EXPECT_NE(EibBlock(program), nullptr);
    // The fields are data names of the program.
    DovSymTabElt* calen = SymTabFind(DovArgOrNull(program, 6), "EIBCALEN");
    ASSERT_NE(calen, nullptr);
    EXPECT_EQ(calen->Category(), NC_DATA_NAME);
}

TEST_F(StructureTest, EibFieldsInTheSecondCicsProgramOfARun) {
    // First file: a program without CICS, then a CICS program.
    InitSourceTree(&parser);
    DovExpr* plain = Program("PLAIN");
    Storage(plain, {Dd(1, "WS-A")});
    ProcDiv(plain);
    Sentence({Use({"WS-A"}, NC_DATA_NAME)});
    End("PLAIN");
    DovExpr* cics = Program("CICS1");
    Storage(cics, {Dd(1, "WS-B")});
    ProcDiv(cics);
    DovNamedObjUse* calen = Use({"EIBCALEN"}, NC_DATA_NAME);
    DovNamedObjUse* resp = Use({"EIBRESP"}, NC_DATA_NAME);
    DovNamedObjUse* resp2 = Use({"EIBRESP2"}, NC_DATA_NAME);
    Sentence({calen, resp, resp2});
    End("CICS1");
    parser.FinishSource(0);
    EXPECT_EQ(EibBlock(plain), nullptr);
    EXPECT_NE(EibBlock(cics), nullptr);
    for (DovNamedObjUse* use : {calen, resp, resp2}) {
        ASSERT_NE(use->Definition(), nullptr);
        EXPECT_EQ(use->Category(), NC_DATA_NAME);
        EXPECT_EQ(std::string(DovFullQualNameStr(use->Definition()).CStr()),
                  std::string(DovQualNameStr(DovArgOrNull(use, 0)).CStr()) + " OF DFHEIBLK");
    }
    EXPECT_TRUE(messages.IsEmpty()) << Messages()[0];
    EXPECT_EQ(parser.cicsEib, DOV_ANY_AUTO);

    // Second file of the run: another CICS program gets its block too.
    DovExpr* first = parser.root;
    parser.root = nullptr;
    InitSourceTree(&parser);
    DovExpr* cics2 = Program("CICS2");
    Storage(cics2, {Dd(1, "WS-C")});
    ProcDiv(cics2);
    DovNamedObjUse* aid = Use({"EIBAID"}, NC_DATA_NAME);
    Sentence({aid});
    End("CICS2");
    EXPECT_NE(EibBlock(cics2), nullptr);
    EXPECT_NE(aid->Definition(), nullptr);
    EXPECT_TRUE(messages.IsEmpty());
    delete first;
}

TEST_F(StructureTest, NestedCicsProgramsGetOneBlockEach) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    Storage(outer, {Dd(1, "WS-A")});
    ProcDiv(outer);
    DovNamedObjUse* outerUse = Use({"EIBCALEN"}, NC_DATA_NAME);
    Sentence({outerUse});
    DovExpr* inner = Program("INNER");
    Storage(inner, {Dd(1, "WS-B")});
    ProcDiv(inner);
    DovNamedObjUse* innerUse = Use({"EIBCALEN"}, NC_DATA_NAME);
    Sentence({innerUse});
    End("INNER");
    End("OUTER");
    int outerBlocks = 0;
    int innerBlocks = 0;
    EibBlock(outer, &outerBlocks);
    EibBlock(inner, &innerBlocks);
    EXPECT_EQ(outerBlocks, 1);
    EXPECT_EQ(innerBlocks, 1);
    ASSERT_NE(outerUse->Definition(), nullptr);
    ASSERT_NE(innerUse->Definition(), nullptr);
    EXPECT_EQ(DovEnclosingOper(outerUse->Definition(), COBOL_PROGRAM), outer);
    EXPECT_EQ(DovEnclosingOper(innerUse->Definition(), COBOL_PROGRAM), inner);
    EXPECT_TRUE(messages.IsEmpty());
}

TEST_F(StructureTest, WithoutNameResolutionUsesStayUnresolved) {
    parser.resolveNames = 0;
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    Storage(program, {Dd(1, "WS-A")});
    ProcDiv(program);
    DovNamedObjUse* use = Use({"WS-A"}, NC_DATA_NAME);
    DovNamedObjUse* calen = Use({"EIBCALEN"}, NC_DATA_NAME);
    Sentence({use, calen});
    End("A");
    EXPECT_EQ(use->Definition(), nullptr);
    EXPECT_EQ(EibBlock(program), nullptr);
    EXPECT_TRUE(messages.IsEmpty());
}

#if __has_include("parser/clauses.h")
// Screen items that use no screen feature take their plain form when their
// program is finished, once: a nested program finished before its parent is
// not processed again.
TEST_F(StructureTest, ScreenItemsOfFinishedProgramsTakeTheirPlainForm) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    Storage(outer, {Dd(1, "WS-A")});
    ProcDiv(outer);
    DovExpr* outerSentence = Sentence({Op(DISPLAY_SCREEN_ITEM, {{1, Use({"WS-A"}, NC_DATA_NAME)}})});
    DovExpr* inner = Program("INNER");
    Storage(inner, {Dd(1, "WS-B")});
    ProcDiv(inner);
    DovExpr* innerSentence = Sentence({Op(ACCEPT_SCREEN_ITEM, {{1, Use({"WS-B"}, NC_DATA_NAME)}})});
    End("INNER");
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(innerSentence, 0), 0)->Oper(), ACCEPT_ANSI_ITEM);
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(outerSentence, 0), 0)->Oper(), DISPLAY_SCREEN_ITEM);
    End("OUTER");
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(outerSentence, 0), 0)->Oper(), DISPLAY_ANSI_ITEM);
    EXPECT_EQ(DovArgOrNull(DovArgOrNull(innerSentence, 0), 0)->Oper(), ACCEPT_ANSI_ITEM);
    EXPECT_EQ(Messages(), std::vector<std::string>());
}
#endif

// ---------------------------------------------------------------------------
// Random sequences of the services
// ---------------------------------------------------------------------------

// The grammar may call the services in any order a damaged source leads it
// to: random programs, END PROGRAMs, data entries, procedure elements and
// uses must leave one consistent tree with every program in it once.
TEST_F(StructureTest, RandomServiceSequencesLeaveAConsistentTree) {
    const char* names[] = {"A", "B", "C", "D", "X", "Y"};
    const int categories[] = {NC_UNKNOWN, NC_DATA_NAME, NC_PROC_NAME, NC_FILE_NAME, NC_PARA_NAME};
    for (unsigned variant = 1; variant <= 60; ++variant) {
        SCOPED_TRACE(variant);
        unsigned state = variant * 2654435761u;
        auto next = [&state](int n) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 16) % static_cast<unsigned>(n));
        };
        NewFile();
        parser.cicsEib = next(3);
        parser.multiUndefdErrs = next(2);
        parser.assignExternal = next(2);
        parser.sameParaDataName = next(2);
        InitSourceTree(&parser);
        int started = 0;
        DovExpr* procOwner = nullptr;
        for (int step = 0; step < 160; ++step) {
            DovExpr* innermost = parser.programCount > 1 ? parser.programStack[parser.programCount - 1] : nullptr;
            if (innermost != procOwner) {
                procOwner = nullptr;
                parser.procHolder = nullptr;
                parser.ResetProcState();
            }
            const char* name = names[next(6)];
            switch (next(9)) {
                case 0:
                case 1:
                    Program(name);
                    ++started;
                    break;
                case 2:
                    End(next(2) && innermost ? ProgramName(innermost).c_str() : name);
                    break;
                case 3:
                    parser.FinishProgram(next(3));
                    break;
                case 4:
                    if (innermost) Storage(innermost, {Sub(Dd(1, name, next(2)), Dd(5, names[next(6)]))});
                    break;
                case 5:
                    if (innermost && !procOwner && !DovArgOrNull(innermost, 3)) {
                        ProcDiv(innermost);
                        procOwner = innermost;
                    }
                    break;
                case 6:
                    if (procOwner) next(2) ? (void)Section(name) : (void)Para(name);
                    break;
                case 7:
                    if (procOwner) {
                        std::vector<const char*> qualified = {name};
                        if (next(2)) qualified.push_back(names[next(6)]);
                        Sentence({Use(qualified, categories[next(5)], next(2))});
                    }
                    break;
                case 8:
                    if (innermost && !DovArgOrNull(innermost, 1)) {
                        DovExpr* device = Op(FCX_DEVICE, {{2, List(EX_LIST, {Use({name}, NC_DATA_NAME)})}});
                        if (next(2)) device->SetArg(0, new DovExprOper(FCX_EXTERNAL), -1, 0);
                        DovExpr* select = Op(DECL_FC_ENTRY, {{1, Use({names[next(6)]}, NC_FILE_NAME)},
                                                             {2, Op(FCX_ASSIGN, {{0, device}})}});
                        innermost->SetArg(1, List(DECL_FC_ENTRY_LIST, {select}), -1, 0);
                    }
                    break;
            }
            ASSERT_LE(parser.programCount, kDovMaxProgramLevels);
            ASSERT_TRUE(CaughtMessages().empty()) << CaughtMessages()[0].text;
        }
        if (next(4) == 0) {
            parser.FinishSource(1);
            EXPECT_EQ(parser.programCount, 1);
            continue;
        }
        parser.FinishSource(0);
        EXPECT_EQ(parser.programCount, 1);
        EXPECT_EQ(CountOper(Root(), COBOL_PROGRAM), started);
        DovTokenList findings;
        EXPECT_EQ(DovCheckTree(Root(), &findings), 0);
        for (const DovToken* t : findings) ADD_FAILURE() << t->image;
        EXPECT_TRUE(CaughtMessages().empty());
    }
}

}  // namespace
}  // namespace structure_test
