// Symbol tables: the lookup of names from the innermost open program, the
// making of definitions, and the resolution of uses with qualifiers, the
// paragraph tie-break, ambiguity, ASSIGN names, undefined names and GLOBAL
// items of enclosing programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/parser/structure_fixture.h"

namespace structure_test {
namespace {

std::string FullName(const DovExpr* def) { return def ? DovFullQualNameStr(def).CStr() : "(none)"; }

// ---------------------------------------------------------------------------
// FindNameInProg
// ---------------------------------------------------------------------------

TEST_F(StructureTest, WithNoProgramOpenNamesGoToTheSourceLevel) {
    InitSourceTree(&parser);
    DovExpr* table = DovArgOrNull(Root(), 3);
    const int before = table->NumArgs();
    DovSymTabElt* elt = Elt("LOOSE-NAME");
    ASSERT_NE(elt, nullptr);
    EXPECT_EQ(elt->Parent(), table);
    EXPECT_EQ(elt->Category(), NC_UNKNOWN);
    EXPECT_EQ(table->NumArgs(), before + 1);
    EXPECT_EQ(Elt("LOOSE-NAME"), elt);
}

TEST_F(StructureTest, NewNamesGoToTheInnermostProgramInSortedOrder) {
    InitSourceTree(&parser);
    DovExpr* program = Program("A");
    std::vector<DovSymTabElt*> entered;
    for (const char* n : {"M", "B", "Z", "C"}) entered.push_back(Elt(n));
    // Until the program is finished the names are found, in any order.
    EXPECT_EQ(Elt("Z"), entered[2]);
    EXPECT_EQ(Elt("B"), entered[1]);
    End("A");
    DovExpr* table = DovArgOrNull(program, 6);
    std::vector<std::string> names;
    for (int i = 0; i < table->NumArgs(); ++i) names.push_back(DovArgOrNull(table, i)->Image().CStr());
    EXPECT_EQ(names, (std::vector<std::string>{"B", "C", "M", "Z"}));
    // Special registers are found at source level, not entered again.
    EXPECT_EQ(Elt("RETURN-CODE")->Parent(), DovArgOrNull(Root(), 3));
}

struct VisibilityCase {
    int category;
    bool visible;
};

class NestedVisibility : public StructureTest, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(NestedVisibility, AnEnclosingProgramLendsOnlySomeCategories) {
    const VisibilityCase& c = GetParam();
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    DovSymTabElt* outerElt = Elt("SHARED");
    parser.SymTabDefine(outerElt, c.category, 0);
    DovExpr* inner = Program("INNER");
    DovSymTabElt* seen = Elt("SHARED");
    if (c.visible) {
        EXPECT_EQ(seen, outerElt);
    } else {
        EXPECT_NE(seen, outerElt);
        EXPECT_EQ(seen->Parent(), DovArgOrNull(inner, 6));
        EXPECT_EQ(seen->Category(), NC_UNKNOWN);
    }
    EXPECT_EQ(outerElt->Parent(), DovArgOrNull(outer, 6));
}

INSTANTIATE_TEST_SUITE_P(
    Categories, NestedVisibility,
    ::testing::Values(VisibilityCase{NC_SYMBOLIC_CHAR, true}, VisibilityCase{NC_SYMBOLIC_CONSTANT, true},
                      VisibilityCase{NC_USER_FIGURATIVE_CONST, true}, VisibilityCase{NC_CONSTANT_NAME, true},
                      VisibilityCase{NC_DATA_NAME, false}, VisibilityCase{NC_FILE_NAME, false},
                      VisibilityCase{NC_CONDITION_NAME, false}, VisibilityCase{NC_INDEX_NAME, false},
                      VisibilityCase{NC_PARA_NAME, false}, VisibilityCase{NC_MNEMONIC_NAME, false}));

TEST_F(StructureTest, ANestedProgramsNameIsKnownEverywhere) {
    InitSourceTree(&parser);
    Program("OUTER");
    DovExpr* inner = Program("INNER");
    auto* def = static_cast<DovNamedObjDef*>(DovArgOrNull(DovArgOrNull(DovArgOrNull(inner, 0), 1), 0));
    DovSymTabElt* name = def->Element();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Parent(), DovArgOrNull(Root(), 3));
    End("INNER");
    Program("SIBLING");
    EXPECT_EQ(Elt("INNER"), name);
    End("SIBLING");
    End("OUTER");
    EXPECT_EQ(Elt("INNER"), name);
    EXPECT_TRUE(messages.IsEmpty());
}

// Each program's table comes in name order when the program is finished,
// a nested one's before its parent's; a parse given up midway takes its
// open programs, still out of order, with it.
TEST_F(StructureTest, TablesAreSortedWhenTheirProgramIsFinished) {
    auto names = [](DovExpr* program) {
        DovExpr* table = DovArgOrNull(program, 6);
        std::vector<std::string> out;
        for (int i = 0; i < table->NumArgs(); ++i) out.push_back(DovArgOrNull(table, i)->Image().CStr());
        return out;
    };
    const std::vector<std::string> sorted{"B", "C", "M", "Z"};
    for (bool abort : {false, true}) {
        NewFile();
        InitSourceTree(&parser);
        DovExpr* outer = Program("OUTER");
        for (const char* n : {"Z", "M"}) Elt(n);
        DovExpr* inner = Program("INNER");
        for (const char* n : {"M", "B", "Z", "C"}) Elt(n);
        Elt("LOCAL");
        if (abort) {
            parser.FinishSource(1);
            EXPECT_EQ(parser.programCount, 1);
            continue;
        }
        End("INNER");
        EXPECT_EQ(names(inner), (std::vector<std::string>{"B", "C", "LOCAL", "M", "Z"}));
        // Back in OUTER: its later names join the early ones.
        for (const char* n : {"C", "B"}) Elt(n);
        End("OUTER");
        EXPECT_EQ(names(outer), sorted);
        EXPECT_TRUE(messages.IsEmpty());
    }
}

TEST_F(StructureTest, FindNameInProgTrace) {
    InitSourceTree(&parser);
    DovSymTabTraceLevel = 1;
    ::testing::internal::CaptureStdout();
    Elt("TRACED");
    const std::string out = ::testing::internal::GetCapturedStdout();
    DovSymTabTraceLevel = 0;
    EXPECT_EQ(out.rfind("*FindNameInProg: TRACED\n", 0), 0u) << out;
}

// ---------------------------------------------------------------------------
// SymTabDefine
// ---------------------------------------------------------------------------

struct DuplicateCase {
    const char* label;
    int dialect;
    bool warns;
};

class DuplicateDefinition : public StructureTest, public ::testing::WithParamInterface<DuplicateCase> {};

TEST_P(DuplicateDefinition, WarnsOnlyOutsideTheTolerantDialects) {
    UseDialects({GetParam().dialect});
    InitSourceTree(&parser);
    Program("PROG");
    DovNamedObjDef* first = Define("TWICE", NC_DATA_NAME);
    DovNamedObjDef* second = Define("TWICE", NC_DATA_NAME);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    std::vector<std::string> expected;
    if (GetParam().warns) expected.push_back("WARN:Duplicate definition of data-name 'TWICE'");
    EXPECT_EQ(Messages(), expected);
    // Both definitions are references of the one element.
    EXPECT_EQ(first->Element(), second->Element());
    EXPECT_EQ(first->Element()->References().Count(), 2);
    // With flag 1 (paragraph names) never.
    messages.Clear();
    Define("TWICE", NC_DATA_NAME, 1);
    EXPECT_TRUE(messages.IsEmpty());
    delete first;
    delete second;
}

INSTANTIATE_TEST_SUITE_P(
    Dialects, DuplicateDefinition,
    ::testing::Values(DuplicateCase{"ansi74", DIAL_ANSI74, true}, DuplicateCase{"osvs", DIAL_OSVS, true},
                      DuplicateCase{"rm", DIAL_RM, true}, DuplicateCase{"dosvs", DIAL_DOSVS, true},
                      DuplicateCase{"icobol", DIAL_ICOBOL, true}, DuplicateCase{"ansi85", DIAL_ANSI85, false},
                      DuplicateCase{"vsii", DIAL_VSII, false}, DuplicateCase{"xopen", DIAL_XOPEN, false},
                      DuplicateCase{"mf", DIAL_MF, false}, DuplicateCase{"ms", DIAL_MS, false},
                      DuplicateCase{"rm85", DIAL_RM85, false}, DuplicateCase{"wang", DIAL_WANG, false}),
    [](const ::testing::TestParamInfo<DuplicateCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, RedefiningADataNameAsAParagraph) {
    for (int same : {0, 1}) {
        SCOPED_TRACE(same);
        messages.Clear();
        parser.sameParaDataName = same;
        InitSourceTree(&parser);
        Program("PROG");
        DovNamedObjDef* data = Define("NAME-X", NC_DATA_NAME);
        DovNamedObjDef* para = Define("NAME-X", NC_PARA_NAME, 1);
        ASSERT_NE(para, nullptr);
        std::vector<std::string> expected;
        if (!same) expected.push_back("ERR:data-name 'NAME-X' is already defined. You cannot redefine it as para-name");
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(para->Category(), NC_PARA_NAME);
        EXPECT_EQ(para->Element()->Category(), NC_DATA_NAME);  // the first category stays
        EXPECT_EQ(para->Element()->References().Count(), 2);
        delete data;
        delete para;
        NewFile();
    }
}

TEST_F(StructureTest, DefiningTheSameCategoryAgainKeepsIt) {
    InitSourceTree(&parser);
    Program("PROG");
    DovSymTabElt* elt = Elt("S1");
    DovNamedObjDef* a = parser.SymTabDefine(elt, NC_SECTION_NAME, 1);
    DovNamedObjDef* b = parser.SymTabDefine(elt, NC_SECTION_NAME, 1);
    EXPECT_EQ(elt->Category(), NC_SECTION_NAME);
    EXPECT_TRUE(messages.IsEmpty());
    delete a;
    delete b;
}

TEST_F(StructureTest, SymTabDefineRefusesOtherNodes) {
    InitSourceTree(&parser);
    DovExpr* notElt = new DovExprOper(SENTENCE_EMPTY);
    EXPECT_EQ(parser.SymTabDefine(reinterpret_cast<DovSymTabElt*>(notElt), NC_DATA_NAME, 0), nullptr);
    EXPECT_EQ(parser.SymTabDefine(nullptr, NC_DATA_NAME, 0), nullptr);
    delete notElt;
    ASSERT_EQ(CaughtMessages().size(), 2u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_TERMINAL);
    EXPECT_EQ(CaughtMessages()[0].text, "DovParserImpl::SymTabDefine: expect SYMBOL_TABLE_ELT node");
}

TEST_F(StructureTest, SymTabDefineTrace) {
    parser.structureTrace = 1;
    InitSourceTree(&parser);
    ::testing::internal::CaptureStdout();
    DovNamedObjDef* def = Define("TRACED", NC_DATA_NAME);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("=SymTabDef: ", 0), 0u) << out;
    EXPECT_NE(out.find("TRACED"), std::string::npos);
    delete def;
}

// ---------------------------------------------------------------------------
// SymTabQualResolve
// ---------------------------------------------------------------------------

// WORKING-STORAGE of two records with the same field names:
//   01 REC-A. 05 GRP. 10 FLD.   01 REC-B. 05 GRP. 10 FLD.   01 SOLO.
class Resolution : public StructureTest {
protected:
    void SetUp() override {
        StructureTest::SetUp();
        InitSourceTree(&parser);
        program = Program("PROG");
        DovExpr* recA = Dd(1, "REC-A");
        DovExpr* grpA = Dd(5, "GRP");
        Sub(grpA, Dd(10, "FLD"));
        Sub(recA, grpA);
        DovExpr* recB = Dd(1, "REC-B");
        DovExpr* grpB = Dd(5, "GRP");
        Sub(grpB, Dd(10, "FLD"));
        Sub(recB, grpB);
        Storage(program, {recA, recB, Dd(1, "SOLO")});
        ProcDiv(program);
    }
    // Resolves one use in a sentence of the program, now.
    DovNamedObjUse* Resolve(DovNamedObjUse* use) {
        Sentence({use});
        parser.SymTabQualResolve(use);
        return use;
    }

    DovExpr* program = nullptr;
};

struct QualCase {
    std::vector<const char*> names;
    const char* resolved;  // full qualified name, or null for unresolved
};

class Qualifiers : public Resolution, public ::testing::WithParamInterface<QualCase> {};

TEST_P(Qualifiers, NarrowTheDefinitions) {
    const QualCase& c = GetParam();
    DovNamedObjUse* use = Resolve(Use(c.names, NC_DATA_NAME));
    if (c.resolved) {
        EXPECT_EQ(FullName(use->Definition()), c.resolved);
        EXPECT_EQ(use->Category(), NC_DATA_NAME);
    } else {
        EXPECT_EQ(use->Definition(), nullptr);
    }
    // Narrowing to one or to none says nothing.
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(
    Names, Qualifiers,
    ::testing::Values(QualCase{{"FLD", "GRP", "REC-A"}, "FLD OF GRP OF REC-A"},
                      QualCase{{"FLD", "REC-B"}, "FLD OF GRP OF REC-B"},
                      QualCase{{"GRP", "REC-A"}, "GRP OF REC-A"}, QualCase{{"SOLO"}, "SOLO"},
                      QualCase{{"FLD", "SOLO"}, nullptr},          // a qualifier that holds no FLD
                      QualCase{{"FLD", "GRP", "NOWHERE"}, nullptr},  // an undefined qualifier
                      QualCase{{"REC-A", "FLD"}, nullptr}));

TEST_F(Resolution, SqlNamesHaveTheQualifiersFirst) {
    auto* list = new DovExprOper(SQL_VAR_NAME_LIST);
    for (const char* n : {"REC-B", "GRP", "FLD"}) list->AddArg(new DovNameUse(DovLink(Elt(n))));
    DovNamedObjUse* use = Resolve(DovMakeNamedObjUse(list, NC_DATA_NAME, 0));
    EXPECT_EQ(FullName(use->Definition()), "FLD OF GRP OF REC-B");
    EXPECT_TRUE(messages.IsEmpty());
}

TEST_F(Resolution, ResolvedUsesLinkBothWays) {
    DovNamedObjUse* use = Resolve(Use({"SOLO"}, NC_DATA_NAME));
    DovNamedObjDef* def = use->Definition();
    ASSERT_NE(def, nullptr);
    ASSERT_EQ(def->Uses().Count(), 1);
    EXPECT_EQ(def->Uses().begin()->target, use);
    EXPECT_EQ(def->Uses().begin()->index, use->Serial());
    // A resolved use is left alone.
    parser.SymTabQualResolve(use);
    EXPECT_EQ(def->Uses().Count(), 1);
    EXPECT_EQ(use->Definition(), def);
}

struct AmbiguityCase {
    const char* label;
    int setting;
    bool useFirst;  // the use is made before both definitions
    std::vector<std::string> messages;
    const char* resolved;
};

class Ambiguity : public StructureTest, public ::testing::WithParamInterface<AmbiguityCase> {};

TEST_P(Ambiguity, NearestPrecedingDefinition) {
    const AmbiguityCase& c = GetParam();
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovNamedObjUse* use = c.useFirst ? Use({"DUP"}, NC_DATA_NAME, c.setting) : nullptr;
    DovExpr* recA = Dd(1, "REC-A");
    Sub(recA, Dd(5, "DUP"));
    DovExpr* recB = Dd(1, "REC-B");
    Sub(recB, Dd(5, "DUP"));
    Storage(program, {recA, recB});
    ProcDiv(program);
    if (!use) use = Use({"DUP"}, NC_DATA_NAME, c.setting);
    Sentence({use});
    End("PROG");
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(FullName(use->Definition()), c.resolved);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Ambiguity,
    ::testing::Values(AmbiguityCase{"ReportedAfterBoth",
                                    0,
                                    false,
                                    {"ERR:Object 'DUP' used here is defined more than once.",
                                     "ERR:-- Definition #1: DUP OF REC-A", "ERR:-- Definition #2: DUP OF REC-B",
                                     "ERR:-- Using definition #2: DUP OF REC-B"},
                                    "DUP OF REC-B"},
                      AmbiguityCase{"ReportedBeforeBoth",
                                    0,
                                    true,
                                    {"ERR:Object 'DUP' used here is defined more than once.",
                                     "ERR:-- Definition #1: DUP OF REC-A", "ERR:-- Definition #2: DUP OF REC-B",
                                     "ERR:-- Using definition #1: DUP OF REC-A"},
                                    "DUP OF REC-A"},
                      AmbiguityCase{"SilentAfterBoth", 1, false, {}, "DUP OF REC-B"},
                      AmbiguityCase{"SilentBeforeBoth",
                                    1,
                                    true,
                                    {"ERR:Object 'DUP' used here is defined more than once, but none of "
                                     "definitions precedes the use"},
                                    "(none)"}),
    [](const ::testing::TestParamInfo<AmbiguityCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, AmbiguityMessagesArePlacedAtTheirNodes) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovNamedObjDef* defs[2] = {};
    std::vector<DovExpr*> entries;
    for (int i = 0; i < 2; ++i) {
        DovExpr* rec = Dd(1, i == 0 ? "REC-A" : "REC-B");
        DovExpr* dup = Dd(5, "DUP");
        defs[i] = static_cast<DovNamedObjDef*>(DovArgOrNull(DovArgOrNull(dup, 0), 2));
        DovToken* t = new DovToken(TK_USER_DEFD_WORD, "DUP", {DovTxtPosn(10 + i, 12, 1), DovTxtPosn(10 + i, 15, 1)});
        defs[i]->Tokens().AppendToken(t);
        entries.push_back(Sub(rec, dup));
    }
    Storage(program, entries);
    ProcDiv(program);
    DovNamedObjUse* use = Use({"DUP"}, NC_DATA_NAME);
    DovToken* t = new DovToken(TK_USER_DEFD_WORD, "DUP", {DovTxtPosn(30, 16, 1), DovTxtPosn(30, 19, 1)});
    DovArgOrNull(DovArgOrNull(use, 0), 0)->Tokens().AppendToken(t);
    Sentence({use});
    End("PROG");
    std::vector<int> lines;
    for (const DovToken* m : messages) lines.push_back(static_cast<int>(m->Beg().Line()));
    EXPECT_EQ(lines, (std::vector<int>{30, 10, 11, 30}));
}

TEST_F(StructureTest, SameParaDataNameKeepsTheCandidatesOfTheExpectedKind) {
    parser.sameParaDataName = 1;
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    Storage(program, {Dd(1, "BOTH")});
    ProcDiv(program);
    Section("MAIN");
    Para("BOTH");
    DovNamedObjUse* asProc = Use({"BOTH"}, NC_PROC_NAME);
    DovNamedObjUse* asData = Use({"BOTH"}, NC_DATA_NAME);
    DovNamedObjUse* asAny = Use({"BOTH"}, NC_UNKNOWN);
    Sentence({asProc, asData, asAny});
    End("PROG");
    ASSERT_NE(asProc->Definition(), nullptr);
    EXPECT_EQ(asProc->Definition()->Category(), NC_PARA_NAME);
    ASSERT_NE(asData->Definition(), nullptr);
    EXPECT_EQ(asData->Definition()->Category(), NC_DATA_NAME);
    // No particular kind: every definition has one, so none stays; no message.
    EXPECT_EQ(asAny->Definition(), nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>());
}

// Three sections: S1 and S2 each have a paragraph P, S3 has none.
struct TieCase {
    const char* label;
    int useSection;  // 1..3
    std::vector<std::string> messages;
    const char* resolved;
};

class ParagraphTieBreak : public StructureTest, public ::testing::WithParamInterface<TieCase> {};

TEST_P(ParagraphTieBreak, TheParagraphOfTheUsesSection) {
    const TieCase& c = GetParam();
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    ProcDiv(program);
    DovNamedObjUse* use = Use({"P"}, NC_PROC_NAME);
    for (int s = 1; s <= 3; ++s) {
        Section(("S" + std::to_string(s)).c_str());
        if (s < 3) Para("P");
        Para(("Q" + std::to_string(s)).c_str());
        if (s == c.useSection) Sentence({use});
    }
    End("PROG");
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(FullName(use->Definition()), c.resolved);
    // One definition gives the use the name's category; a choice among
    // several leaves the expected one.
    EXPECT_EQ(use->Category(), c.messages.empty() ? NC_PARA_NAME : NC_PROC_NAME);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, ParagraphTieBreak,
    ::testing::Values(TieCase{"First", 1, {}, "P OF S1"}, TieCase{"Second", 2, {}, "P OF S2"},
                      // The use was made before both: the first definition.
                      TieCase{"Third",
                              3,
                              {"ERR:Object 'P' used here is defined more than once.", "ERR:-- Definition #1: P OF S1",
                               "ERR:-- Definition #2: P OF S2", "ERR:-- Using definition #1: P OF S1"},
                              "P OF S1"}),
    [](const ::testing::TestParamInfo<TieCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, ParagraphFromAThirdSectionTakesTheNearestPrecedingOne) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    ProcDiv(program);
    Section("S1");
    Para("P");
    Section("S2");
    Para("P");
    Section("S3");
    DovNamedObjUse* use = Use({"P"}, NC_PROC_NAME);
    Sentence({use});
    DovNamedObjUse* qualified = Use({"P", "S1"}, NC_PROC_NAME);
    Sentence({qualified});
    End("PROG");
    EXPECT_EQ(FullName(use->Definition()), "P OF S2");
    EXPECT_EQ(FullName(qualified->Definition()), "P OF S1");
    EXPECT_EQ(Count("-- Using definition #2: P OF S2"), 1);
    EXPECT_EQ(Messages().size(), 4u);
}

struct KindCase {
    const char* label;
    int defined;   // category of the definition
    int expected;  // category the use expects
    const char* message;
};

class KindCheck : public StructureTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(KindCheck, TheUseTakesTheNamesCategory) {
    const KindCase& c = GetParam();
    for (int same : {0, 1}) {
        SCOPED_TRACE(same);
        parser.sameParaDataName = same;
        messages.Clear();
        InitSourceTree(&parser);
        DovExpr* program = Program("PROG");
        ProcDiv(program);
        Section("MAIN");
        if (c.defined == NC_DATA_NAME)
            Storage(program, {Dd(1, "NAME-X")});
        else
            Para("NAME-X");
        DovNamedObjUse* use = Use({"NAME-X"}, c.expected);
        Sentence({use});
        End("PROG");
        std::vector<std::string> expected;
        if (c.message && !same) expected.push_back(c.message);
        EXPECT_EQ(Messages(), expected);
        ASSERT_NE(use->Definition(), nullptr);
        EXPECT_EQ(use->Category(), c.defined);
        NewFile();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindCheck,
    ::testing::Values(
        KindCase{"DataAsProcedure", NC_DATA_NAME, NC_PROC_NAME,
                 "ERR:Paragraph or Section name is expected here, but you use data-name 'NAME-X' instead"},
        KindCase{"ParagraphAsData", NC_PARA_NAME, NC_DATA_NAME,
                 "ERR:Data, file, index, condition or similar name is expected here, but you use para-name "
                 "'NAME-X' instead"},
        KindCase{"ParagraphAsProcedure", NC_PARA_NAME, NC_PROC_NAME, nullptr},
        KindCase{"DataAsData", NC_DATA_NAME, NC_DATA_NAME, nullptr},
        KindCase{"DataAsAny", NC_DATA_NAME, NC_UNKNOWN, nullptr},
        KindCase{"ParagraphAsAny", NC_PARA_NAME, NC_UNKNOWN, nullptr}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, ADebuggingOperandMayNameAnything) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    Storage(program, {Dd(1, "WATCHED")});
    ProcDiv(program);
    Section("MAIN");
    DovNamedObjUse* use = Use({"WATCHED"}, NC_PROC_NAME);
    Sentence({use});
    parser.debuggingOperand = 1;
    parser.SymTabQualResolve(use);
    parser.debuggingOperand = 0;
    EXPECT_NE(use->Definition(), nullptr);
    EXPECT_EQ(use->Category(), NC_DATA_NAME);
    EXPECT_TRUE(messages.IsEmpty());
}

TEST_F(StructureTest, UndefinedNames) {
    for (int every : {0, 1}) {
        SCOPED_TRACE(every);
        parser.multiUndefdErrs = every;
        messages.Clear();
        InitSourceTree(&parser);
        DovExpr* program = Program("PROG");
        ProcDiv(program);
        Sentence({Use({"MISSING"}, NC_DATA_NAME), Use({"MISSING"}, NC_DATA_NAME), Use({"OTHER"}, NC_DATA_NAME)});
        Sentence({Use({"MISSING"}, NC_DATA_NAME)});
        End("PROG");
        if (every)
            EXPECT_EQ(Messages(), (std::vector<std::string>{"ERR:Object named 'MISSING' is not defined",
                                                            "ERR:Object named 'MISSING' is not defined",
                                                            "ERR:Object named 'OTHER' is not defined",
                                                            "ERR:Object named 'MISSING' is not defined"}));
        else
            EXPECT_EQ(Messages(),
                      (std::vector<std::string>{"ERR:Object named 'MISSING' is not defined (1 error per name)",
                                                "ERR:Object named 'OTHER' is not defined (1 error per name)"}));
        NewFile();
    }
}

TEST_F(StructureTest, ANameOfAnEnclosingProgramIsNotDefinedInANestedOne) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    Storage(outer, {Dd(1, "OUTER-ITEM")});
    ProcDiv(outer);
    Program("INNER");
    ProcDiv(parser.programStack[parser.programCount - 1]);
    DovNamedObjUse* a = Use({"OUTER-ITEM"}, NC_DATA_NAME);
    DovNamedObjUse* b = Use({"OUTER-ITEM"}, NC_DATA_NAME);
    Sentence({a, b});
    End("INNER");
    End("OUTER");
    EXPECT_EQ(a->Definition(), nullptr);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"ERR:Object named 'OUTER-ITEM' is not defined (1 error per name)"}));
}

TEST_F(StructureTest, FileNameWithoutFd) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovNamedObjUse* use = Use({"IN-FILE"}, NC_FILE_NAME);
    DovExpr* select = Op(DECL_FC_ENTRY, {{1, use}});
    program->SetArg(1, Op(DIVISION_ENVIRONMENT, {{2, Op(SECTION_INPUT_OUTPUT, {{1, Op(PARA_FILE_CONTROL, {{1, List(DECL_FC_ENTRY_LIST, {select})}})}})}}), -1, 0);
    End("PROG");
    EXPECT_EQ(use->Definition(), nullptr);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"ERR:File-name 'IN-FILE' is defined in FC entry but not in FD entry"}));
}

TEST_F(StructureTest, FileNameWithFd) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovNamedObjUse* use = Use({"IN-FILE"}, NC_FILE_NAME);
    DovExpr* select = Op(DECL_FC_ENTRY, {{1, use}});
    program->SetArg(1, Op(DIVISION_ENVIRONMENT, {{2, Op(SECTION_INPUT_OUTPUT, {{1, Op(PARA_FILE_CONTROL, {{1, List(DECL_FC_ENTRY_LIST, {select})}})}})}}), -1, 0);
    DovExpr* fd = Op(DECL_FD, {{0, Op(DECL_FD_ENTRY, {{1, Define("IN-FILE", NC_FILE_NAME)}})}});
    DataDiv(program)->SetArg(3, Op(SECTION_FILE, {{1, List(DECL_FD_LIST, {fd})}}), -1, 0);
    End("PROG");
    EXPECT_NE(use->Definition(), nullptr);
    EXPECT_TRUE(messages.IsEmpty());
}

// ASSIGN [EXTERNAL] name in a SELECT entry.
struct AssignCase {
    const char* label;
    bool external;        // ASSIGN TO EXTERNAL
    int assignExternal;   // the option
    bool defined;         // the name is a data item of the program
    const char* outcome;  // "ref", "def" or "use"
};

class AssignNames : public StructureTest, public ::testing::WithParamInterface<AssignCase> {};

TEST_P(AssignNames, ExternalReferenceDefinitionOrUse) {
    const AssignCase& c = GetParam();
    parser.assignExternal = c.assignExternal;
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    if (c.defined) Storage(program, {Dd(1, "DEVNAME")});
    DovNamedObjUse* use = Use({"DEVNAME"}, NC_DATA_NAME);
    DovToken* t = new DovToken(TK_USER_DEFD_WORD, "DEVNAME", {DovTxtPosn(5, 30, 1), DovTxtPosn(5, 37, 1)});
    DovArgOrNull(DovArgOrNull(use, 0), 0)->Tokens().AppendToken(t);
    DovExpr* refs = List(EX_LIST, {use});
    DovExpr* device = Op(FCX_DEVICE, {{2, refs}});
    if (c.external) device->SetArg(0, new DovExprOper(FCX_EXTERNAL), -1, 0);
    DovExpr* select = Op(DECL_FC_ENTRY, {{2, Op(FCX_ASSIGN, {{0, device}})}});
    program->SetArg(1, Op(DIVISION_ENVIRONMENT, {{2, Op(SECTION_INPUT_OUTPUT, {{1, Op(PARA_FILE_CONTROL, {{1, List(DECL_FC_ENTRY_LIST, {select})}})}})}}), -1, 0);
    End("PROG");
    EXPECT_TRUE(messages.IsEmpty()) << Messages()[0];
    ASSERT_EQ(refs->NumArgs(), 1);
    DovExpr* now = DovArgOrNull(refs, 0);
    const std::string outcome = c.outcome;
    if (outcome == "ref") {
        ASSERT_EQ(now->Oper(), FCX_EXTERNAL_FILE_REF);
        DovExpr* text = DovArgOrNull(now, 0);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Oper(), CHAR_STRING);
        EXPECT_TRUE(text->Image() == "DEVNAME");
    } else if (outcome == "def") {
        ASSERT_EQ(now->Oper(), NAMED_OBJ_DEF);
        auto* def = static_cast<DovNamedObjDef*>(now);
        EXPECT_EQ(def->Category(), NC_DATA_NAME);
        EXPECT_EQ(def->Element()->Category(), NC_DATA_NAME);
    } else {
        ASSERT_EQ(now, use);
        EXPECT_NE(use->Definition(), nullptr);
    }
    // The name's token stays in the tree.
    ASSERT_FALSE(now->Tokens().IsEmpty() && DovSrcPosnBeg(now).IsNull());
    EXPECT_EQ(DovSrcPosnBeg(now), DovTxtPosn(5, 30, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssignNames,
    ::testing::Values(AssignCase{"ExternalUndefined", true, 0, false, "ref"},
                      AssignCase{"ExternalDefined", true, 0, true, "ref"},
                      AssignCase{"OptionUndefined", false, 1, false, "ref"},
                      AssignCase{"OptionDefined", false, 1, true, "use"},
                      AssignCase{"PlainUndefined", false, 0, false, "def"},
                      AssignCase{"PlainDefined", false, 0, true, "use"}),
    [](const ::testing::TestParamInfo<AssignCase>& info) { return std::string(info.param.label); });

TEST_F(StructureTest, AssignNamesOfProgramsEndedTogetherStayInTheirPrograms) {
    InitSourceTree(&parser);
    std::vector<DovExpr*> programs;
    std::vector<DovExpr*> lists;
    for (const char* name : {"FIRST", "SECOND"}) {
        DovExpr* program = Program(name);
        DovExpr* refs = List(EX_LIST, {Use({"DEVNAME"}, NC_DATA_NAME)});
        DovExpr* select = Op(DECL_FC_ENTRY, {{2, Op(FCX_ASSIGN, {{0, Op(FCX_DEVICE, {{2, refs}})}})}});
        program->SetArg(1, Op(DIVISION_ENVIRONMENT, {{2, Op(SECTION_INPUT_OUTPUT, {{1, Op(PARA_FILE_CONTROL, {{1, List(DECL_FC_ENTRY_LIST, {select})}})}})}}), -1, 0);
        programs.push_back(program);
        lists.push_back(refs);
    }
    parser.FinishSource(0);  // both end in one call, the outer one first
    for (int i = 0; i < 2; ++i) {
        auto* def = dynamic_cast<DovNamedObjDef*>(DovArgOrNull(lists[i], 0));
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->Element()->Parent(), DovArgOrNull(programs[i], 6));
    }
}

TEST_F(StructureTest, UnknownListOperation) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    Storage(program, {Dd(1, "ITEM")});
    ProcDiv(program);
    DovExpr* names = List(EX_LIST, {new DovNameUse(DovLink(Elt("ITEM")))});
    DovNamedObjUse* use = DovMakeNamedObjUse(names, NC_DATA_NAME, 0);
    Sentence({use});
    End("PROG");
    ASSERT_EQ(CaughtMessages().size(), 1u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_SEVERE);
    EXPECT_EQ(CaughtMessages()[0].text, "Qualified name 'ITEM' has unknown list oper EX_LIST");
    EXPECT_NE(use->Definition(), nullptr);  // the last name is the name
}

TEST_F(StructureTest, SymTabQualResolveRefusesOtherNodes) {
    InitSourceTree(&parser);
    parser.SymTabQualResolve(nullptr);
    ASSERT_EQ(CaughtMessages().size(), 1u);
    EXPECT_EQ(CaughtMessages()[0].level, MSG_TERMINAL);
    EXPECT_EQ(CaughtMessages()[0].text, "DovParserImpl::SymTabQualResolve: expect NAMED_OBJ_USE node");
}

TEST_F(StructureTest, ResolutionTrace) {
    parser.structureTrace = 1;
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    DovExpr* rec = Dd(1, "REC");
    Sub(rec, Dd(5, "FLD"));
    Storage(program, {rec});
    ProcDiv(program);
    Sentence({Use({"FLD", "REC"}, NC_DATA_NAME)});
    ::testing::internal::CaptureStdout();
    End("PROG");
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("*SymTabResolve: qe=FLD OF REC type=1 @"), std::string::npos) << out;
    EXPECT_NE(out.find("??Def: FLD OF REC\n"), std::string::npos) << out;
    EXPECT_NE(out.find("==Def: FLD OF REC\n"), std::string::npos) << out;
}

TEST_F(StructureTest, TheWalkStep) {
    InitSourceTree(&parser);
    DovExpr* program = Program("PROG");
    Storage(program, {Dd(1, "ITEM")});
    ProcDiv(program);
    DovNamedObjUse* use = Use({"ITEM"}, NC_DATA_NAME);
    Sentence({use});
    DovResolveWalkContext context;
    context.parser = &parser;
    context.program = program;
    EXPECT_EQ(DovSymTabResolveWalker(nullptr, &context), DOV_WALK_DESCEND);
    EXPECT_EQ(DovSymTabResolveWalker(program, &context), DOV_WALK_DESCEND);
    EXPECT_EQ(DovSymTabResolveWalker(use, &context), DOV_WALK_SKIP);
    EXPECT_NE(use->Definition(), nullptr);
    // Another program is not entered.
    DovExpr* other = new DovExprOper(COBOL_PROGRAM);
    EXPECT_EQ(DovSymTabResolveWalker(other, &context), DOV_WALK_SKIP);
    delete other;
}

// ---------------------------------------------------------------------------
// GLOBAL items of an enclosing program
// ---------------------------------------------------------------------------

TEST_F(StructureTest, GlobalItemsOfAnEnclosingProgramResolveFromANestedOne) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    // 01 SHARED GLOBAL. 05 PART. 88 READY-FLAG.  01 PRIVATE. 05 HIDDEN-PART.
    DovExpr* shared = Dd(1, "SHARED", true);
    DovExpr* part = Dd(5, "PART");
    Cond(part, "READY-FLAG");
    Sub(shared, part);
    DovExpr* priv = Dd(1, "PRIVATE");
    Sub(priv, Dd(5, "HIDDEN-PART"));
    Storage(outer, {shared, priv});
    // FD LOG-FILE GLOBAL. 01 LOG-REC.
    DovExpr* fdEntry = Op(DECL_FD_ENTRY, {{1, Define("LOG-FILE", NC_FILE_NAME)}, {8, new DovExprOper(DX_GLOBAL)}});
    DovExpr* fd = Op(DECL_FD, {{0, fdEntry}, {1, List(DECL_DD_LIST, {Dd(1, "LOG-REC")})}});
    DataDiv(outer)->SetArg(3, Op(SECTION_FILE, {{1, List(DECL_FD_LIST, {fd})}}), -1, 0);
    ProcDiv(outer);

    DovExpr* inner = Program("INNER");
    ProcDiv(inner);
    std::vector<DovNamedObjUse*> seen;
    for (const char* n : {"SHARED", "PART", "READY-FLAG", "LOG-FILE", "LOG-REC"})
        seen.push_back(Use({n}, NC_UNKNOWN));
    DovNamedObjUse* qualified = Use({"PART", "SHARED"}, NC_DATA_NAME);
    DovNamedObjUse* priv1 = Use({"PRIVATE"}, NC_DATA_NAME);
    DovNamedObjUse* priv2 = Use({"HIDDEN-PART"}, NC_DATA_NAME);
    std::vector<DovExpr*> uses(seen.begin(), seen.end());
    uses.push_back(qualified);
    uses.push_back(priv1);
    uses.push_back(priv2);
    Sentence(uses);
    End("INNER");
    End("OUTER");

    for (DovNamedObjUse* use : seen) {
        ASSERT_NE(use->Definition(), nullptr) << DovQualNameStr(DovArgOrNull(use, 0));
        EXPECT_EQ(DovEnclosingOper(use->Definition(), COBOL_PROGRAM), outer);
    }
    EXPECT_EQ(FullName(qualified->Definition()), "PART OF SHARED");
    EXPECT_EQ(priv1->Definition(), nullptr);
    EXPECT_EQ(priv2->Definition(), nullptr);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"ERR:Object named 'PRIVATE' is not defined (1 error per name)",
                                        "ERR:Object named 'HIDDEN-PART' is not defined (1 error per name)"}));
}

TEST_F(StructureTest, ANonGlobalHomonymDoesNotMakeAGlobalNameAmbiguous) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    DovExpr* global = Dd(1, "REC-G", true);
    Sub(global, Dd(5, "FIELD"));
    DovExpr* local = Dd(1, "REC-L");
    Sub(local, Dd(5, "FIELD"));
    Storage(outer, {global, local});
    ProcDiv(outer);
    DovNamedObjUse* outerUse = Use({"FIELD", "REC-L"}, NC_DATA_NAME);
    Sentence({outerUse});
    Program("INNER");
    ProcDiv(parser.programStack[parser.programCount - 1]);
    DovNamedObjUse* innerUse = Use({"FIELD"}, NC_DATA_NAME);
    Sentence({innerUse});
    End("INNER");
    End("OUTER");
    EXPECT_EQ(FullName(innerUse->Definition()), "FIELD OF REC-G");
    EXPECT_EQ(FullName(outerUse->Definition()), "FIELD OF REC-L");
    EXPECT_TRUE(messages.IsEmpty()) << Messages()[0];
}

TEST_F(StructureTest, ALocalDeclarationHidesAGlobalNameOfTheEnclosingProgram) {
    InitSourceTree(&parser);
    DovExpr* outer = Program("OUTER");
    Storage(outer, {Dd(1, "COUNTER", true)});
    ProcDiv(outer);
    DovNamedObjUse* outerUse = Use({"COUNTER"}, NC_DATA_NAME);
    Sentence({outerUse});
    DovExpr* inner = Program("INNER");
    // The word is looked up first (and found in OUTER), then declared.
    Storage(inner, {Dd(1, "COUNTER")});
    ProcDiv(inner);
    DovNamedObjUse* innerUse = Use({"COUNTER"}, NC_DATA_NAME);
    Sentence({innerUse});
    End("INNER");
    End("OUTER");
    ASSERT_NE(innerUse->Definition(), nullptr);
    ASSERT_NE(outerUse->Definition(), nullptr);
    EXPECT_EQ(DovEnclosingOper(innerUse->Definition(), COBOL_PROGRAM), inner);
    EXPECT_EQ(DovEnclosingOper(outerUse->Definition(), COBOL_PROGRAM), outer);
    EXPECT_EQ(outerUse->Definition()->Element()->References().Count(), 2);  // its definition and the name use
    EXPECT_TRUE(messages.IsEmpty()) << Messages()[0];
}

TEST_F(StructureTest, NestedProgramsAreResolvedOnce) {
    parser.multiUndefdErrs = 1;
    InitSourceTree(&parser);
    Program("OUTER");
    DovExpr* inner = Program("INNER");
    ProcDiv(inner);
    Sentence({Use({"NOWHERE"}, NC_DATA_NAME)});
    DovExpr* fc = Op(DECL_FC_ENTRY, {{1, Use({"NO-FD"}, NC_FILE_NAME)}});
    inner->SetArg(1, Op(DIVISION_ENVIRONMENT, {{2, Op(SECTION_INPUT_OUTPUT, {{1, Op(PARA_FILE_CONTROL, {{1, List(DECL_FC_ENTRY_LIST, {fc})}})}})}}), -1, 0);
    End("INNER");
    End("OUTER");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ERR:File-name 'NO-FD' is defined in FC entry but not in FD entry",
                                                    "ERR:Object named 'NOWHERE' is not defined"}));
}

TEST_F(StructureTest, TwoProgramsOfTheSameLiteralName) {
    InitSourceTree(&parser);
    for (int i = 0; i < 2; ++i) {
        parser.StartProgram();
        // A literal program name is entered in the program's own table first.
        DovSymTabElt* elt = SymTabFindOrAdd(parser.currentSymTab, "SAME");
        DovNamedObjDef* def = parser.SymTabDefine(elt, NC_PROGRAM_NAME, 0);
        ASSERT_NE(def, nullptr);
        EXPECT_NE(def->Element(), nullptr);
        EXPECT_NE(def->Element()->Parent(), nullptr);  // in a table, never left loose
        parser.programStack[parser.programCount - 1]->SetArg(
            0, Op(DIVISION_IDENTIFICATION, {{1, Op(PARA_PROGRAM_ID, {{0, def}})}}), -1, 0);
        End("SAME");
    }
    EXPECT_TRUE(CaughtMessages().empty()) << CaughtMessages()[0].text;
    EXPECT_EQ(ProgramShape(RootPrograms()), "SAME SAME");
    EXPECT_NE(SymTabFind(DovArgOrNull(Root(), 3), "SAME"), nullptr);
}

TEST_F(StructureTest, GlobalTest) {
    InitSourceTree(&parser);
    Program("PROG");
    DovExpr* global = Dd(1, "G", true);
    DovExpr* sub = Dd(5, "G-SUB");
    Sub(global, sub);
    DovExpr* plain = Dd(1, "P");
    EXPECT_TRUE(DovIsGlobalDef(DovArgOrNull(DovArgOrNull(global, 0), 2)));
    EXPECT_TRUE(DovIsGlobalDef(DovArgOrNull(DovArgOrNull(sub, 0), 2)));
    EXPECT_FALSE(DovIsGlobalDef(DovArgOrNull(DovArgOrNull(plain, 0), 2)));
    EXPECT_FALSE(DovIsGlobalDef(nullptr));
    delete global;
    delete plain;
}

}  // namespace
}  // namespace structure_test
