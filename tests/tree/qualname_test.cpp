#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::AddData;
using vemlo_test::DataRow;
using vemlo_test::FindDef;
using vemlo_test::MessageCapture;
using vemlo_test::NewProgramWithData;
using vemlo_test::NewProgram;
using vemlo_test::TableOf;
using vemlo_test::WorkingStorage;

std::string Str(const VString& s) { return s.CStr(); }

// The OF_IN_LIST of the given names, each a NAME_USE of the program's
// element of that name.
DovExpr* QualList(DovExpr* program, std::initializer_list<const char*> names, DovOper op = OF_IN_LIST) {
    auto* list = new DovExprOper(op);
    for (const char* n : names) list->AddArg(new DovNameUse(DovLink(SymTabFindOrAdd(TableOf(program), n))));
    return list;
}

// The uses a test makes live in slot 3 of the program, so that the program
// owns them.
DovNamedObjUse* Use(DovExpr* program, std::initializer_list<const char*> names) {
    DovNamedObjUse* use = DovMakeNamedObjUse(QualList(program, names), NC_DATA_NAME, 0);
    program->SetArgToList(3, EX_LIST, use);
    return use;
}

// The qualified name of a use as it is now spelled.
std::string Spelled(DovNamedObjUse* use) { return Str(DovQualNameStr(use->Args(0))); }

std::string ShortestName(DovExpr* def, int& notUnique) {
    DovExpr* list = DovShortestUniqueQualNameExpr(def, notUnique);
    std::string text = Str(DovQualNameStr(list));
    delete list;
    return text;
}

// Replaces the name of the data item `def` by a NULL_NODE: a FILLER item.
void MakeFiller(DovNamedObjDef* def) { def->Parent()->SetArg(2, new DovNullNode, -1, 0); }

TEST(DovQualNameStr, BothForms) {
    DovExpr* program = NewProgram();
    DovExpr* list = QualList(program, {"X", "G", "R"});
    EXPECT_EQ(Str(DovQualNameStr(list)), "X OF G OF R");
    EXPECT_EQ(Str(DovQualNameStr(list, '.')), "R.G.X");
    DovExpr* sql = QualList(program, {"A", "B"}, SQL_VAR_NAME_LIST);
    EXPECT_EQ(Str(DovQualNameStr(sql)), "A OF B");
    DovExprOper empty(OF_IN_LIST);
    EXPECT_EQ(Str(DovQualNameStr(&empty)), "");
    EXPECT_EQ(Str(DovQualNameStr(&empty, '.')), "");
    delete list;
    delete sql;
    delete program;
}

// Two items X in groups G1 and G2 of one record R: each is singled out by its
// group, and R, which removes no candidate, is not spelled.
TEST(DovShortestUniqueQualName, GroupsQualifyAndUselessQualifiersAreDropped) {
    DovExpr* program = NewProgramWithData(
        {DataRow(0, "R"), DataRow(1, "G1"), DataRow(2, "X"), DataRow(1, "G2"), DataRow(2, "X"), DataRow(1, "Y")});
    DovNamedObjDef* x1 = FindDef(program, "X OF G1 OF R");
    DovNamedObjDef* x2 = FindDef(program, "X OF G2 OF R");
    DovNamedObjDef* y = FindDef(program, "Y OF R");
    ASSERT_TRUE(x1 && x2 && y);
    int notUnique = -1;
    EXPECT_EQ(ShortestName(x1, notUnique), "X OF G1");
    EXPECT_EQ(notUnique, 0);
    EXPECT_EQ(ShortestName(x2, notUnique), "X OF G2");
    EXPECT_EQ(notUnique, 0);
    // No homonym: the bare name; the full name still lists every holder.
    EXPECT_EQ(ShortestName(y, notUnique), "Y");
    EXPECT_EQ(notUnique, 0);
    EXPECT_EQ(Str(DovFullQualNameStr(x2, '.')), "R.G2.X");

    // The one-argument form: a use resolved to the definition.
    DovNamedObjUse* use = DovShortestUniqueQualNameExpr(x2);
    EXPECT_EQ(use->Definition(), x2);
    EXPECT_EQ(use->Category(), NC_DATA_NAME);
    ASSERT_EQ(x2->Uses().Count(), 1);
    EXPECT_EQ(x2->Uses().begin()->target, use);
    EXPECT_EQ(Str(DovExprSourceText(use)), "X OF G2");
    delete use;
    EXPECT_TRUE(x2->Uses().IsEmpty());

    // Temporary names leave no references behind.
    EXPECT_EQ(x1->Element()->References().Count(), 2);
    delete program;
}

TEST(DovShortestUniqueQualName, FillerHoldersArePassedOver) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R1"), DataRow(1, "F1"), DataRow(2, "X")});
    AddData(program, {DataRow(0, "R2"), DataRow(1, "F2"), DataRow(2, "X")});
    ASSERT_TRUE(FindDef(program, "F1 OF R1") && FindDef(program, "F2 OF R2"));
    MakeFiller(FindDef(program, "F1 OF R1"));
    MakeFiller(FindDef(program, "F2 OF R2"));
    DovNamedObjDef* x1 = FindDef(program, "X OF R1");
    DovNamedObjDef* x2 = FindDef(program, "X OF R2");
    ASSERT_TRUE(x1 && x2);
    int notUnique = -1;
    EXPECT_EQ(ShortestName(x1, notUnique), "X OF R1");
    EXPECT_EQ(notUnique, 0);
    EXPECT_EQ(ShortestName(x2, notUnique), "X OF R2");
    // The FILLER holder still counts as a named holder (its name is a
    // NULL_NODE) but is never spelled.
    DovExpr* filler = x1->Parent()->Parent()->Parent()->Parent();
    EXPECT_EQ(DovEnclosingNamedDecl(x1->Parent()->Parent()), filler);
    EXPECT_EQ(DovNamedObjDefForDecl(filler)->Oper(), NULL_NODE);
    delete program;
}

TEST(DovShortestUniqueQualName, AmbiguousEvenWithEveryQualifier) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "G"), DataRow(2, "X"), DataRow(2, "X")});
    DovExpr* g = WorkingStorage(program)->Args(0)->Args(1)->Args(0);
    DovExpr* x = g->Args(1)->Args(0)->Args(0)->Args(2);
    int notUnique = 0;
    EXPECT_EQ(ShortestName(x, notUnique), "X");
    EXPECT_EQ(notUnique, 1);
    delete program;
}

// Paragraphs are qualified by their sections; the declaring node of a
// procedure name is its own SECTION_PROC or PARA_PROC.
TEST(DovShortestUniqueQualName, ParagraphsInSections) {
    DovExpr* program = NewProgram();
    auto* sections = new DovExprOper(SECTION_PROC_LIST);
    std::vector<DovExpr*> paras;
    for (const char* s : {"S1", "S2"}) {
        auto* section = new DovExprOper(SECTION_PROC);
        section->SetArg(0, DovMakeNamedObjDef(s, NC_SECTION_NAME, false, program), -1, 0);
        auto* para = new DovExprOper(PARA_PROC);
        para->SetArg(0, DovMakeNamedObjDef("P", NC_PARA_NAME, false, program), -1, 0);
        section->SetArg(2, new DovExprOper(PARA_PROC_LIST, {para}), -1, 0);
        sections->AddArg(section);
        paras.push_back(para);
    }
    program->SetArg(3, sections, -1, 0);
    DovExpr* p2 = paras[1]->Args(0);
    EXPECT_EQ(DovNamedObjDeclForDef(p2), paras[1]);
    EXPECT_EQ(Str(DovFullQualNameStr(p2)), "P OF S2");
    int notUnique = -1;
    EXPECT_EQ(ShortestName(p2, notUnique), "P OF S2");
    EXPECT_EQ(notUnique, 0);
    delete program;
}

// A file's records are qualified by the file name defined in its FD entry.
TEST(DovFullQualName, RecordsOfAFile) {
    DovExpr* program = NewProgram();
    auto* fdEntry = new DovExprOper(DECL_FD_ENTRY);
    fdEntry->SetArg(1, DovMakeNamedObjDef("F", NC_FILE_NAME, false, program), -1, 0);
    auto* records = new DovExprOper(DECL_DD_LIST);
    auto* fd = new DovExprOper(DECL_FD, fdEntry, records);
    program->SetArg(2, fd, -1, 0);
    const DovDataItemRow rows[] = {DataRow(0, "R"), DataRow(1, "X"), {0, 0, nullptr, nullptr, DU_NONE, nullptr}};
    VString message;
    ASSERT_EQ(DovDeclDataItemHierarchy(records, rows, 0, program, message), 0);
    DovNamedObjDef* x = FindDef(program, "X OF R OF F");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(Str(DovFullQualNameStr(x, '.')), "F.R.X");
    delete program;
}

TEST(DovNamedObjDefForDecl, NameSlotOfEachDeclaringNode) {
    DovExpr* program = NewProgram();
    auto def = [&] { return DovMakeNamedObjDef("N", NC_DATA_NAME, false, program); };
    struct Case {
        DovOper holder;
        DovOper entry;  // 0: the name is the holder's own argument
        int slot;
    };
    const Case cases[] = {
        {PARA_PROGRAM_ID, DovOper(0), 0}, {SNX_ON_STATUS, DovOper(0), 0},   {SNX_ALPHABET, DovOper(0), 0},
        {SNX_CLASS, DovOper(0), 0},       {FCX_SPLIT_REC_KEY, DovOper(0), 0}, {DECL_CD_ENTRY, DovOper(0), 0},
        {SECTION_PROC, DovOper(0), 0},    {PARA_PROC, DovOper(0), 0},       {SNX_FUNC_SWITCH, DovOper(0), 1},
        {SNX_CALL_CONVENTION, DovOper(0), 1}, {DECL_FC_ENTRY, DovOper(0), 1}, {DECL_FD, DECL_FD_ENTRY, 1},
        {DECL_DD, DECL_DD_ENTRY, 2},      {DECL_DD, DECL_CONST_ENTRY, 2},   {DECL_RD, DECL_RD_ENTRY, 0},
        {DECL_RGD, DECL_RGD_ENTRY, 1},    {DECL_SCRD, DECL_SCRD_ENTRY, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DovOperName(c.holder));
        auto* holder = new DovExprOper(c.holder);
        DovExpr* name = def();
        if (c.entry) {
            auto* entry = new DovExprOper(c.entry);
            entry->SetArg(c.slot, name, -1, 0);
            holder->SetArg(0, entry, -1, 0);
        } else {
            holder->SetArg(c.slot, name, -1, 0);
        }
        EXPECT_EQ(DovNamedObjDefForDecl(holder), name);
        delete holder;
    }

    // Data and screen items: a FILLER's NULL_NODE counts, anything else does
    // not; an entry without its slot gives null.
    for (DovOper op : {DECL_DD, DECL_SCRD}) {
        DovOper entryOp = op == DECL_DD ? DECL_DD_ENTRY : DECL_SCRD_ENTRY;
        int slot = op == DECL_DD ? 2 : 1;
        auto* entry = new DovExprOper(entryOp);
        DovExprOper holder(op, entry, nullptr);
        EXPECT_EQ(DovNamedObjDefForDecl(&holder), nullptr);
        entry->SetArg(slot, new DovNullNode, -1, 0);
        EXPECT_EQ(DovNamedObjDefForDecl(&holder)->Oper(), NULL_NODE);
        entry->SetArg(slot, new DovCharString("N"), -1, 0);
        EXPECT_EQ(DovNamedObjDefForDecl(&holder), nullptr);
    }
    DovExprOper emptyHolder(DECL_DD);
    EXPECT_EQ(DovNamedObjDefForDecl(&emptyHolder), nullptr);

    // An FD names its file through a use: the definition it is resolved to.
    DovNamedObjDef* file = def();
    auto* fdEntry = new DovExprOper(DECL_FD_ENTRY);
    DovNamedObjUse* use = DovMakeNamedObjUse(QualList(program, {"N"}), NC_FILE_NAME, 0);
    fdEntry->SetArg(1, use, -1, 0);
    DovExprOper fd(DECL_FD, fdEntry, nullptr);
    EXPECT_EQ(DovNamedObjDefForDecl(&fd), nullptr);
    use->SetDefinition(file);
    EXPECT_EQ(DovNamedObjDefForDecl(&fd), file);

    DovExprOper other(STMT_MOVE);
    EXPECT_EQ(DovNamedObjDefForDecl(&other), nullptr);
    EXPECT_EQ(DovNamedObjDefForDecl(nullptr), nullptr);
    EXPECT_EQ(DovEnclosingNamedDecl(nullptr), nullptr);
    delete file;
    delete program;
}

TEST(SymTabResolve, QualifiersPickTheOneDefinition) {
    DovExpr* program =
        NewProgramWithData({DataRow(0, "R"), DataRow(1, "G"), DataRow(2, "X"), DataRow(1, "H"), DataRow(2, "X")});
    AddData(program, {DataRow(0, "S"), DataRow(1, "G"), DataRow(2, "Y")});
    DovNamedObjDef* xg = FindDef(program, "X OF G OF R");
    ASSERT_NE(xg, nullptr);
    DovNamedObjUse* use = Use(program, {"X", "G"});
    use->SetCategory(NC_UNKNOWN);
    SymTabResolve(use);
    EXPECT_EQ(DovDefForNamedObjUse(use), xg);
    EXPECT_EQ(use->Category(), NC_DATA_NAME);
    ASSERT_EQ(xg->Uses().Count(), 1);
    EXPECT_EQ(xg->Uses().begin()->target, use);
    EXPECT_EQ(xg->Uses().begin()->index, use->Serial());

    // A resolved use is left alone.
    SymTabResolve(use);
    EXPECT_EQ(xg->Uses().Count(), 1);

    // Unqualified, X is ambiguous; Y is not.
    DovNamedObjUse* bare = Use(program, {"X"});
    bare->SetCategory(NC_DATA_NAME);
    SymTabResolve(bare);
    EXPECT_EQ(DovDefForNamedObjUse(bare), nullptr);
    EXPECT_EQ(bare->Category(), NC_UNKNOWN);
    DovNamedObjUse* y = Use(program, {"Y", "G", "S"});
    SymTabResolve(y);
    EXPECT_EQ(DovDefForNamedObjUse(y), FindDef(program, "Y OF G OF S"));

    // A qualifier that declares nothing, or one the name is not under.
    DovNamedObjUse* unknown = Use(program, {"X", "NOWHERE"});
    SymTabResolve(unknown);
    EXPECT_EQ(DovDefForNamedObjUse(unknown), nullptr);
    DovNamedObjUse* wrong = Use(program, {"Y", "H"});
    SymTabResolve(wrong);
    EXPECT_EQ(DovDefForNamedObjUse(wrong), nullptr);
    delete program;
}

TEST(SymTabResolve, TwoUnderTheSameGroupStayUnresolved) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "G"), DataRow(2, "X"), DataRow(2, "X")});
    DovNamedObjUse* use = Use(program, {"X", "G"});
    use->SetCategory(NC_DATA_NAME);
    MessageCapture capture;
    SymTabResolve(use);
    EXPECT_EQ(DovDefForNamedObjUse(use), nullptr);
    EXPECT_EQ(use->Link().target, nullptr);
    EXPECT_EQ(use->Category(), NC_UNKNOWN);
    EXPECT_TRUE(capture.Messages().empty());
    delete program;
}

TEST(SymTabResolve, TraceLines) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "G"), DataRow(2, "X")});
    DovNamedObjUse* use = Use(program, {"X", "G"});
    std::string out = vemlo_test::SymTabTrace(1, [&] { SymTabResolve(use); });
    EXPECT_NE(out.find("*SymTabResolve: qe=X OF G\n"), std::string::npos) << out;
    EXPECT_NE(out.find("??Def: X OF G OF R\n"), std::string::npos) << out;
    EXPECT_NE(out.find("==Def: X OF G OF R\n"), std::string::npos) << out;
    DovExpr* x = FindDef(program, "X OF G OF R");
    out = vemlo_test::SymTabTrace(1, [&] { delete DovShortestUniqueQualNameExpr(x); });
    EXPECT_NE(out.find("$$ShrtstUniqName for 'X OF G OF R' at "), std::string::npos) << out;
    EXPECT_NE(out.find(" is 'X' not_unique=0\n"), std::string::npos) << out;
    delete program;
}

TEST(DovRestrictDefs, KeepsTheOrderAndDropsWhatIsNoDefinition) {
    DovExpr* program = NewProgramWithData({DataRow(0, "G"), DataRow(1, "X"), DataRow(1, "Y"), DataRow(0, "H"),
                                           DataRow(1, "X"), DataRow(0, "K"), DataRow(1, "X")});
    DovSymTabElt* x = SymTabFind(TableOf(program), "X");
    DovSymTabElt* g = SymTabFind(TableOf(program), "G");
    DovLinkList defs = x->References();
    DovNameUse stray{DovLink(g)};
    defs.Append(DovLink(&stray));
    MessageCapture capture;
    DovRestrictDefs(defs, g->References());
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0].code, MSG_TERMINAL);
    EXPECT_EQ(capture.Messages()[0].text, "DovRestrictDefs: e1def expecting NAMED_OBJ_DEF");
    ASSERT_EQ(defs.Count(), 1);
    EXPECT_EQ(defs.begin()->target, FindDef(program, "X OF G"));

    // Every declaration of a qualifier's name counts.
    defs = x->References();
    DovLinkList quals = g->References();
    for (const DovLink& l : SymTabFind(TableOf(program), "K")->References()) quals.Append(l);
    DovRestrictDefs(defs, quals);
    ASSERT_EQ(defs.Count(), 2);
    EXPECT_EQ(defs.begin()->target, FindDef(program, "X OF G"));
    EXPECT_EQ(defs.Nth(1).target, FindDef(program, "X OF K"));
    delete program;
}

TEST(DovRename, UndoOfAnAmbiguousNameRestoresTheOldName) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "G"), DataRow(2, "X"), DataRow(2, "Y")});
    DovExpr* table = TableOf(program);
    DovNamedObjDef* y = FindDef(program, "Y OF G OF R");
    DovNamedObjUse* use = Use(program, {"Y"});
    SymTabResolve(use);
    ASSERT_EQ(DovDefForNamedObjUse(use), y);
    EXPECT_EQ(DovRenameDefAndAllUses(y, "X", 1), 1);
    EXPECT_EQ(Str(y->Image()), "Y");
    EXPECT_EQ(y->Element(), SymTabFind(table, "Y"));
    EXPECT_EQ(y->Element()->Category(), NC_DATA_NAME);
    EXPECT_EQ(SymTabFind(table, "X")->References().Count(), 1);
    EXPECT_EQ(Spelled(use), "Y");
    EXPECT_EQ(DovDefForNamedObjUse(use), y);
    delete program;
}

TEST(DovRename, UndoRecreatesTheDroppedElement) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "X"), DataRow(1, "Y")});
    DovExpr* table = TableOf(program);
    DovNamedObjDef* y = FindDef(program, "Y OF R");
    int before = table->NumArgs();
    DovRenameDef(y, "Z");
    EXPECT_EQ(SymTabFind(table, "Y"), nullptr);
    EXPECT_EQ(table->NumArgs(), before);
    DovRenameDef(y, "Y");
    EXPECT_EQ(DovRenameDefAndAllUses(y, "X", 1), 1);
    EXPECT_EQ(Str(y->Image()), "Y");
    ASSERT_NE(SymTabFind(table, "Y"), nullptr);
    EXPECT_EQ(SymTabFind(table, "Y")->References().Count(), 1);
    delete program;
}

TEST(DovRename, ASuccessfulRenameRespellsEveryUse) {
    DovExpr* program = NewProgramWithData(
        {DataRow(0, "R"), DataRow(1, "G1"), DataRow(2, "X"), DataRow(1, "G2"), DataRow(2, "Y")});
    DovNamedObjDef* x = FindDef(program, "X OF G1 OF R");
    DovNamedObjDef* y = FindDef(program, "Y OF G2 OF R");
    std::vector<DovNamedObjUse*> xs{Use(program, {"X"}), Use(program, {"X", "R"})};
    DovNamedObjUse* ys = Use(program, {"Y"});
    for (DovNamedObjUse* u : xs) SymTabResolve(u);
    SymTabResolve(ys);
    static DovExpr* changed = nullptr;
    DovTreeChangeHook = [](int kind, DovExpr* node, DovExpr*, int, const VString&) {
        if (kind == DOV_CHANGE_DONE && node->Oper() == NAMED_OBJ_DEF) changed = node;
    };
    MessageCapture capture;
    EXPECT_EQ(DovRenameDefAndAllUses(y, "X", 1), 0);
    DovTreeChangeHook = nullptr;
    EXPECT_EQ(changed, y);
    EXPECT_TRUE(capture.Messages().empty()) << capture.Joined();
    EXPECT_EQ(Str(y->Image()), "X");
    // The old spelling of the use was the last reference to Y.
    EXPECT_TRUE(SymTabFind(TableOf(program), "Y")->References().IsEmpty());
    for (DovNamedObjUse* u : xs) {
        EXPECT_EQ(Spelled(u), "X OF G1");
        EXPECT_EQ(DovDefForNamedObjUse(u), x);
    }
    EXPECT_EQ(Spelled(ys), "X OF G2");
    EXPECT_EQ(DovDefForNamedObjUse(ys), y);
    // The re-spelled names are linked like any other: resolving a copy of
    // one finds the same definition.
    DovNamedObjUse* again = DovMakeNamedObjUse(ys->Args(0)->Copy(), NC_DATA_NAME, 0);
    SymTabResolve(again);
    EXPECT_EQ(DovDefForNamedObjUse(again), y);
    delete again;
    // Every link of the edited tree still points into it, both ways.
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(program, &msgs), 0) << msgs;
    delete program;
}

// Renaming a group re-spells the uses of the items below it too.
TEST(DovRename, ItemsBelowARenamedGroupAreRespelled) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R1"), DataRow(1, "A"), DataRow(2, "X")});
    AddData(program, {DataRow(0, "R2"), DataRow(1, "B"), DataRow(2, "X")});
    DovNamedObjUse* xa = Use(program, {"X", "A"});
    DovNamedObjUse* xb = Use(program, {"X", "B"});
    SymTabResolve(xa);
    SymTabResolve(xb);
    ASSERT_NE(DovDefForNamedObjUse(xa), nullptr);
    ASSERT_NE(DovDefForNamedObjUse(xb), nullptr);
    EXPECT_EQ(DovRenameDefAndAllUses(FindDef(program, "B OF R2"), "A", 1), 0);
    EXPECT_EQ(Spelled(xa), "X OF R1");
    EXPECT_EQ(Spelled(xb), "X OF R2");
    EXPECT_EQ(DovDefForNamedObjUse(xb), FindDef(program, "X OF A OF R2"));
    DovTokenList msgs;
    EXPECT_EQ(DovCheckTree(program, &msgs), 0) << msgs;
    delete program;
}

TEST(DovRename, WithoutUndoAnAmbiguousNameIsReported) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "X"), DataRow(1, "Y")});
    DovNamedObjDef* y = FindDef(program, "Y OF R");
    MessageCapture capture;
    EXPECT_EQ(DovRenameDefAndAllUses(y, "X", 0), 0);
    EXPECT_EQ(Str(y->Image()), "X");
    ASSERT_EQ(capture.Messages().size(), 2u);  // once for each X
    EXPECT_EQ(capture.Messages()[0].code, MSG_SEVERE);
    EXPECT_EQ(capture.Messages()[0].text,
              "DovRenameDefUsesWalker: cannot create a unique name for this definition. Strange.");
    delete program;
}

TEST(DovRename, RenameDefLeavesTheUsesOnTheOldElement) {
    DovExpr* program = NewProgramWithData({DataRow(0, "R"), DataRow(1, "X")});
    DovNamedObjDef* x = FindDef(program, "X OF R");
    DovNamedObjUse* use = Use(program, {"X"});
    SymTabResolve(use);
    x->SetCategory(NC_CONSTANT_NAME);
    std::string out = vemlo_test::SymTabTrace(1, [&] { DovRenameDef(x, "Z"); });
    EXPECT_EQ(out.rfind("**RenameDef: 'X OF R' at ", 0), 0u) << out;
    EXPECT_NE(out.find(" to 'Z'\n"), std::string::npos) << out;
    DovSymTabElt* z = SymTabFind(TableOf(program), "Z");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(x->Element(), z);
    EXPECT_EQ(z->Category(), NC_CONSTANT_NAME);
    EXPECT_EQ(Spelled(use), "X");
    EXPECT_EQ(DovDefForNamedObjUse(use), x);
    // DovRenameDefUses spells the use anew.
    DovRenameDefUses(x);
    EXPECT_EQ(Spelled(use), "Z");
    delete program;
}

// A definition without an element is entered in the table around it, never
// in the file's table when its own program has none.
TEST(DovRename, ADefinitionWithoutAnElementGoesToTheTableAroundIt) {
    DovExprOper file(COBOL_FILE);
    file.SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST), -1, 0);
    DovExpr* fileTable = file.Args(kDovFileSymbolTableArg);
    DovExpr* program = NewProgram();
    auto* tableless = new DovExprOper(COBOL_PROGRAM);
    file.SetArg(0, new DovExprOper(COBOL_PROGRAM_LIST, program, tableless), -1, 0);

    auto* def = new DovNamedObjDef(NC_DATA_NAME, DovLink(), DovLinkList());
    program->SetArg(3, def, -1, 0);
    DovRenameDef(def, "N");
    EXPECT_EQ(def->Element(), SymTabFind(TableOf(program), "N"));
    EXPECT_EQ(fileTable->NumArgs(), 0);

    auto* stray = new DovNamedObjDef(NC_DATA_NAME, DovLink(), DovLinkList());
    tableless->SetArg(3, stray, -1, 0);
    MessageCapture capture;
    DovRenameDef(stray, "M");
    EXPECT_EQ(capture.Joined(), "DovRenameDef: no symbol table for name 'M'");
    EXPECT_EQ(stray->Element(), nullptr);
    EXPECT_EQ(fileTable->NumArgs(), 0);
}

TEST(NameUseBuilders, Shapes) {
    DovExpr* program = NewProgram();
    DovSymTabElt* elt = SymTabFindOrAdd(TableOf(program), "A");
    DovTokenList tokens;
    DovToken* word = vemlo_test::Word("A", 3, 7);
    tokens.AppendToken(word);
    DovNamedObjUse* use = DovMakeNamedObjUseForElt(elt, NC_CONSTANT_NAME, &tokens);
    EXPECT_TRUE(tokens.IsEmpty());
    EXPECT_EQ(use->Category(), NC_CONSTANT_NAME);
    EXPECT_EQ(use->Link().target, nullptr);
    EXPECT_EQ(use->Setting(), 0);
    DovExpr* list = use->Args(0);
    ASSERT_EQ(list->Oper(), OF_IN_LIST);
    ASSERT_EQ(list->NumArgs(), 1);
    EXPECT_EQ(vemlo_test::Images(list->Args(0)->Tokens()), "A");
    EXPECT_EQ(elt->References().Count(), 1);
    EXPECT_EQ(DovSrcPosnBeg(use).Line(), 3u);
    delete use;
    EXPECT_TRUE(elt->References().IsEmpty());

    use = DovMakeNamedObjUse(QualList(program, {"A", "B"}), NC_PROC_NAME, 1);
    EXPECT_EQ(use->Setting(), 1);
    EXPECT_EQ(use->Category(), NC_PROC_NAME);
    EXPECT_EQ(Spelled(use), "A OF B");
    delete use;

    // A data-name use enters a new name in the program's table.
    auto* stmt = new DovExprOper(STMT_MOVE);
    program->SetArg(3, stmt, -1, 0);
    use = DovMakeDataNameUse("NEW-NAME", stmt);
    DovSymTabElt* added = SymTabFind(TableOf(program), "NEW-NAME");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Category(), NC_UNKNOWN);
    EXPECT_EQ(use->Category(), NC_DATA_NAME);
    EXPECT_EQ(Spelled(use), "NEW-NAME");
    delete use;

    // Outside every program there is no table: reported, and the use is
    // still well formed.
    MessageCapture capture;
    use = DovMakeDataNameUse("LOST", nullptr);
    EXPECT_EQ(capture.Joined(), "DovMakeDataNameUse: no symbol table for name 'LOST'");
    EXPECT_EQ(use->Args(0)->NumArgs(), 1);
    delete use;
    // A node that is no element gets no link.
    use = DovMakeNamedObjUseForElt(stmt, NC_DATA_NAME, nullptr);
    EXPECT_EQ(use->Args(0)->Args(0)->Link().target, nullptr);
    delete use;
    delete program;
}

// Nodes of the wrong kind are reported as terminal errors (the test hook
// returns, so each service must also come back with a harmless result).
TEST(QualNameServices, WrongNodesAreTerminalErrors) {
    DovCharString notDef("A");
    DovExprOper notUse(STMT_MOVE);
    struct Case {
        const char* text;
        void (*call)(DovExpr*);
        DovExpr* node;
    };
    const Case cases[] = {
        {"DovQualNameStr: bad operation", [](DovExpr* n) { DovQualNameStr(n); }, &notUse},
        {"DovQualNameStr: bad operation", [](DovExpr* n) { DovQualNameStr(n, '.'); }, nullptr},
        {"DovNameUseForDef: bad def node", [](DovExpr* n) { delete DovNameUseForDef(n); }, &notDef},
        {"DovNamedObjDeclForDef: expecting NAMED_OBJ_DEF",
         [](DovExpr* n) { EXPECT_EQ(DovNamedObjDeclForDef(n), nullptr); }, &notDef},
        {"DovFullQualNameExpr: bad def node", [](DovExpr* n) { EXPECT_EQ(Str(DovFullQualNameStr(n)), ""); },
         &notDef},
        {"DovShortestUniqueQualNameExpr: bad def node",
         [](DovExpr* n) {
             int flag = 0;
             delete DovShortestUniqueQualNameExpr(n, flag);
             EXPECT_EQ(flag, 1);
         },
         &notDef},
        {"DovShortestUniqueQualNameExpr: bad def node", [](DovExpr* n) { delete DovShortestUniqueQualNameExpr(n); },
         nullptr},
        {"DovDefForNamedObjUse: bad use node", [](DovExpr* n) { EXPECT_EQ(DovDefForNamedObjUse(n), nullptr); },
         &notDef},
        {"DovRenameDef: bad def node", [](DovExpr* n) { DovRenameDef(n, "B"); }, &notDef},
        {"DovRenameDefAndAllUses: bad def node",
         [](DovExpr* n) { EXPECT_EQ(DovRenameDefAndAllUses(n, "B", 1), 1); }, &notUse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MessageCapture capture;
        c.call(c.node);
        ASSERT_EQ(capture.Messages().size(), 1u) << capture.Joined();
        EXPECT_EQ(capture.Messages()[0].code, MSG_TERMINAL);
        EXPECT_EQ(capture.Messages()[0].text, c.text);
    }

    // A definition without an element has no homonyms to compare with.
    DovNamedObjDef lonely(NC_DATA_NAME, DovLink(), DovLinkList());
    MessageCapture capture;
    int flag = 0;
    delete DovShortestUniqueQualNameExpr(&lonely, flag);
    EXPECT_EQ(capture.Joined(), "DovShortestUniqueQualNameExpr: defs empty");
    EXPECT_EQ(flag, 1);

    // A use linked to a node that is no definition.
    DovExpr* program = NewProgram();
    DovNamedObjUse* use = DovMakeNamedObjUse(QualList(program, {"A"}), NC_DATA_NAME, 0);
    use->Link() = DovLink(SymTabFind(TableOf(program), "A"));
    capture.Clear();
    EXPECT_EQ(DovDefForNamedObjUse(use), nullptr);
    EXPECT_EQ(capture.Joined(), "DovDefForNamedObjUse: bad def node");
    use->Link() = DovLink();
    // Services that take any node do nothing with a wrong one.
    capture.Clear();
    SymTabResolve(&notUse);
    SymTabResolve(nullptr);
    DovRenameDefUses(&notDef);
    EXPECT_EQ(DovRenameDefUsesWalker(&notDef, nullptr), DOV_WALK_DESCEND);
    EXPECT_TRUE(capture.Messages().empty());
    delete use;
    delete program;
}

}  // namespace
