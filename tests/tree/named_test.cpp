#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;
using vemlo_test::NewProgram;
using vemlo_test::TableOf;

std::vector<DovExpr*> Targets(const DovLinkList& list) {
    std::vector<DovExpr*> out;
    for (const DovLink& l : list) out.push_back(l.target);
    return out;
}

TEST(DovLinkList, TicFormRoundTrip) {
    DovLinkList list;
    list.Append(DovLink(nullptr, 3));
    list.Append(DovLink());
    std::ostringstream os;
    list.PutTic(os);
    EXPECT_EQ(os.str(), "=3:=4294967295:&");

    std::istringstream is(os.str());
    DovLinkList back;
    VString message;
    ASSERT_EQ(back.GetTic(is, message), 0);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Nth(0).index, 3);
    EXPECT_EQ(back.Nth(1).index, -1);
    EXPECT_EQ(back.Nth(0).target, nullptr);

    struct Bad {
        const char* text;
        char result;
        const char* message;
    } bad[] = {
        {"=3:#", '<', "DovLinkList::GetTic: bad list finisher"},
        {"", '<', "DovLinkList::GetTic: bad list finisher"},
        {"=3x", ';', nullptr},
    };
    for (const Bad& b : bad) {
        std::istringstream in(b.text);
        DovLinkList l;
        VString msg;
        EXPECT_EQ(l.GetTic(in, msg), b.result) << b.text;
        if (b.message) {
            EXPECT_STREQ(msg.CStr(), b.message);
        }
    }
}

TEST(DovLinkList, NthAndRemove) {
    DovNullNode a;
    DovNullNode b;
    DovLinkList list;
    list.Append(DovLink(&a));
    list.Append(DovLink(&b));
    list.Append(DovLink(&a));
    EXPECT_EQ(list.Nth(3).target, nullptr);
    EXPECT_EQ(list.Nth(3).index, -1);
    list.Remove(&a);
    EXPECT_EQ(Targets(list), std::vector<DovExpr*>{&b});
    std::ostringstream os;
    os << DovLinkList();
    EXPECT_EQ(os.str(), "[]");
}

// Removals against a plain vector, in the shapes that matter: from the
// front in order (a tree being deleted), from the back, at random; with
// targets that repeat, also ones made to repeat after a run of removals
// has found the list's targets distinct.
TEST(DovLinkList, RemovalKeepsTheOrderAndTakesEveryMatch) {
    std::vector<DovNullNode> nodes(300);
    struct Case {
        const char* what;
        int length;
        int distinct_targets;  // links name targets 0..distinct_targets-1 in turn
        int pick;              // 0: front in order, 1: back, 2: random
    } cases[] = {
        {"empty", 0, 1, 0},        {"one", 1, 1, 0},          {"front", 200, 300, 0},
        {"back", 200, 300, 1},     {"random", 200, 300, 2},   {"repeats front", 200, 7, 0},
        {"repeats random", 200, 7, 2}, {"below the check", 16, 300, 0}, {"at the check", 17, 300, 2},
    };
    std::mt19937 rng(7);
    for (const Case& c : cases) {
        DovLinkList list;
        std::vector<DovExpr*> model;
        for (int i = 0; i < c.length; ++i) {
            list.Append(DovLink(&nodes[static_cast<std::size_t>(i % c.distinct_targets)], i));
            model.push_back(&nodes[static_cast<std::size_t>(i % c.distinct_targets)]);
        }
        for (int step = 0; !model.empty(); ++step) {
            std::size_t at = c.pick == 0 ? 0 : c.pick == 1 ? model.size() - 1 : rng() % model.size();
            DovExpr* gone = model[at];
            list.Remove(gone);
            model.erase(std::remove(model.begin(), model.end(), gone), model.end());
            ASSERT_EQ(Targets(list), model) << c.what << " step " << step;
            ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
            if ((step == 20 || step == 25) && model.size() > 2) {
                // A target changed after the check, through Nth or an
                // iterator: the node now stands twice, and both go.
                DovExpr* twice = model[0];
                if (step == 20) {
                    list.Nth(1).target = twice;
                    model[1] = twice;
                } else {
                    (list.end() - 1)->target = twice;
                    model.back() = twice;
                }
                list.Remove(twice);
                model.erase(std::remove(model.begin(), model.end(), twice), model.end());
                ASSERT_EQ(Targets(list), model) << c.what << " after the change";
            }
            if (step == 30 && !model.empty()) {
                // A copy is the same list and goes its own way.
                DovLinkList copy = list;
                ASSERT_EQ(Targets(copy), model);
                DovExpr* first = model[0];
                copy.Append(DovLink(first));
                copy.Remove(first);
                ASSERT_EQ(Targets(list), model);
                list = copy;
                model.erase(std::remove(model.begin(), model.end(), first), model.end());
                ASSERT_EQ(Targets(list), model) << c.what << " after the copy";
            }
        }
        EXPECT_TRUE(list.IsEmpty());
        list.Remove(&nodes[0]);
        EXPECT_TRUE(list.IsEmpty());
    }
}

// Uses deleted in the order they were made, as a tree is deleted: the
// element's references keep the order of the others throughout.
TEST(NamedNodes, DeletingUsesInOrderKeepsTheReferencesInOrder) {
    DovSymTabElt elt("HOT", NC_DATA_NAME, DovLinkList());
    std::vector<DovNameUse*> uses;
    for (int i = 0; i < 100; ++i) uses.push_back(new DovNameUse(DovLink(&elt)));
    // One from the middle first, then the rest from the front.
    delete uses[50];
    uses.erase(uses.begin() + 50);
    for (bool added = false; !uses.empty();) {
        delete uses.front();
        uses.erase(uses.begin());
        ASSERT_EQ(Targets(elt.References()), std::vector<DovExpr*>(uses.begin(), uses.end()));
        // A new use in between goes to the end.
        if (uses.size() == 40 && !added) {
            uses.push_back(new DovNameUse(DovLink(&elt)));
            added = true;
        }
    }
}

// Marked nodes made and deleted in bulk, in the orders a parse and a tree's
// deletion give, in tables small and large (past 2^17 places the places
// follow the addresses).
TEST(LiveMarks, NodesMadeAndDeletedInBulk) {
    struct Case {
        const char* what;
        int count;
        int order;  // 0: deleted in the order made, 1: reversed, 2: shuffled
    } cases[] = {
        {"one", 1, 0},          {"small in order", 1000, 0},    {"small reversed", 1000, 1},
        {"small shuffled", 1000, 2}, {"large in order", 150000, 0}, {"large reversed", 150000, 1},
        {"large shuffled", 150000, 2},
    };
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        std::vector<DovExpr*> nodes;
        for (int i = 0; i < c.count; ++i)
            nodes.push_back(i % 5 == 0 ? static_cast<DovExpr*>(new DovNamedObjDef) : new DovNameUse);
        if (c.order == 1) std::reverse(nodes.begin(), nodes.end());
        if (c.order == 2) std::shuffle(nodes.begin(), nodes.end(), rng);
        // The first half goes; nothing is made meanwhile, so no address is
        // taken again.
        const std::size_t half = nodes.size() / 2;
        std::vector<const DovExpr*> gone(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(half));
        for (std::size_t i = 0; i < half; ++i) delete nodes[i];
        for (const DovExpr* n : gone) ASSERT_FALSE(DovIsLiveLinkedNode(n)) << c.what;
        nodes.erase(nodes.begin(), nodes.begin() + static_cast<std::ptrdiff_t>(half));
        // New nodes among the old ones, then every node is asked.
        for (int i = 0; i < c.count / 2; ++i) nodes.push_back(new DovNameUse);
        for (DovExpr* n : nodes) {
            ASSERT_TRUE(DovIsLiveLinkedNode(n)) << c.what;
            ASSERT_EQ(DovIsLiveDefinition(n), n->Oper() == NAMED_OBJ_DEF) << c.what;
        }
        for (DovExpr* n : nodes) delete n;
        for (DovExpr* n : nodes) ASSERT_FALSE(DovIsLiveLinkedNode(n)) << c.what;
    }
}

TEST(NamedNodes, DeletingAnElementUnlinksDefinitionsAndUses) {
    auto* elt = new DovSymTabElt("ITEM", NC_DATA_NAME, DovLinkList());
    DovNamedObjDef def(NC_DATA_NAME, DovLink(elt), DovLinkList());
    DovNameUse use{DovLink(elt)};
    EXPECT_EQ(Targets(elt->References()), (std::vector<DovExpr*>{&def, &use}));
    EXPECT_STREQ(def.Image().CStr(), "ITEM");
    EXPECT_STREQ(use.Value().CStr(), "ITEM");
    delete elt;
    EXPECT_EQ(def.Link().target, nullptr);
    EXPECT_EQ(def.Link().index, -1);
    EXPECT_EQ(use.Link().target, nullptr);
    EXPECT_TRUE(def.Image().IsEmpty());
    EXPECT_TRUE(use.Image().IsEmpty());
}

TEST(NamedNodes, CopyingAUseAddsAReferenceAndDeletingItRemovesOnlyThatOne) {
    DovSymTabElt elt("X", NC_DATA_NAME, DovLinkList());
    DovNameUse use{DovLink(&elt)};
    DovExpr* copy = use.Copy();
    EXPECT_EQ(copy->Serial(), use.Serial());
    EXPECT_EQ(Targets(elt.References()), (std::vector<DovExpr*>{&use, copy}));
    delete copy;
    EXPECT_EQ(Targets(elt.References()), std::vector<DovExpr*>{&use});

    DovNamedObjDef def(NC_DATA_NAME, DovLink(&elt), DovLinkList());
    DovExpr* def_copy = def.Copy();
    EXPECT_EQ(elt.References().Count(), 3);
    EXPECT_TRUE(def_copy->Links().IsEmpty());
    delete def_copy;
    EXPECT_EQ(Targets(elt.References()), (std::vector<DovExpr*>{&use, &def}));

    // A copied element starts without references.
    DovExpr* elt_copy = elt.Copy();
    EXPECT_TRUE(elt_copy->Links().IsEmpty());
    EXPECT_STREQ(elt_copy->Image().CStr(), "X");
    delete elt_copy;
    EXPECT_EQ(use.Link().target, &elt);
}

TEST(NamedNodes, UsesOfNamedObjectsFollowTheirDefinition) {
    DovSymTabElt elt("REC", NC_DATA_NAME, DovLinkList());
    auto* def = new DovNamedObjDef(NC_DATA_NAME, DovLink(&elt), DovLinkList());
    auto* use = new DovNamedObjUse(new DovNameUse(DovLink(&elt)), NC_DATA_NAME, 5);
    EXPECT_EQ(use->NumArgs(), 1);
    EXPECT_EQ(use->Args(0)->Parent(), use);
    EXPECT_EQ(use->Definition(), nullptr);
    use->SetDefinition(def);
    EXPECT_EQ(Targets(def->Uses()), std::vector<DovExpr*>{use});

    DovExpr* copy = use->Copy();
    EXPECT_EQ(copy->Link().target, def);
    EXPECT_EQ(static_cast<DovNamedObjUse*>(copy)->Setting(), 5);
    EXPECT_EQ(Targets(def->Uses()), (std::vector<DovExpr*>{use, copy}));
    // The copy's name use is a second reference of the element.
    EXPECT_EQ(elt.References().Count(), 3);
    delete copy;
    EXPECT_EQ(Targets(def->Uses()), std::vector<DovExpr*>{use});
    EXPECT_EQ(elt.References().Count(), 2);

    delete def;
    EXPECT_EQ(use->Link().target, nullptr);
    EXPECT_EQ(Targets(elt.References()), std::vector<DovExpr*>{use->Args(0)});
    delete use;
    EXPECT_TRUE(elt.References().IsEmpty());
}

TEST(NamedNodes, SetImageRelinksByName) {
    DovExpr* prog = NewProgram();
    DovExpr* table = TableOf(prog);
    DovSymTabElt* a = SymTabFindOrAdd(table, "A");
    SymTabFindOrAdd(table, "C");
    auto* use = new DovNameUse(DovLink(a));
    prog->SetArg(2, new DovExprOper(EX_LIST, use));

    EXPECT_EQ(use->SetImage("B"), 0);
    ASSERT_EQ(table->NumArgs(), 3);
    EXPECT_STREQ(table->Args(1)->Image().CStr(), "B");
    EXPECT_EQ(static_cast<DovSymTabElt*>(table->Args(1))->Category(), NC_UNKNOWN);
    EXPECT_EQ(use->Link().target, table->Args(1));
    EXPECT_EQ(Targets(table->Args(1)->Links()), std::vector<DovExpr*>{use});
    EXPECT_TRUE(a->References().IsEmpty());

    // An existing name is reused.
    auto* def = DovMakeNamedObjDef("C", NC_DATA_NAME, false, prog);
    prog->ArgSlots(2)->arg->AddArg(def);
    EXPECT_EQ(def->SetImage("A"), 0);
    EXPECT_EQ(table->NumArgs(), 3);
    EXPECT_EQ(def->Link().target, a);
    EXPECT_TRUE(table->Args(2)->Links().IsEmpty());
    delete prog;
}

TEST(NamedNodes, SetImageOutsideAnyProgramIsRefused) {
    MessageCapture cap;
    DovSymTabElt elt("A", NC_DATA_NAME, DovLinkList());
    DovNameUse use{DovLink(&elt)};
    VString error;
    EXPECT_EQ(use.SetImage("B", &error), '!');
    EXPECT_STREQ(error.CStr(), "no symbol table to enter name 'B' in");
    EXPECT_EQ(use.Link().target, &elt);
    ASSERT_EQ(cap.Messages().size(), 1u);
    EXPECT_EQ(cap.Messages()[0].code, MSG_SEVERE);
}

TEST(NamedNodes, RenamingAnElementKeepsTheTableSorted) {
    MessageCapture cap;
    DovExpr* prog = NewProgram();
    DovExpr* table = TableOf(prog);
    for (const char* n : {"B", "D", "F"}) SymTabFindOrAdd(table, n);
    DovSymTabElt* b = SymTabFind(table, "B");
    EXPECT_EQ(b->SetImage("E"), 0);
    std::vector<std::string> names;
    for (int i = 0; i < table->NumArgs(); ++i) names.push_back(table->Args(i)->Image().CStr());
    EXPECT_EQ(names, (std::vector<std::string>{"D", "E", "F"}));
    EXPECT_EQ(SymTabFind(table, "E"), b);

    VString error;
    EXPECT_EQ(b->SetImage("F", &error), '!');
    EXPECT_STREQ(b->Name().CStr(), "E");
    EXPECT_EQ(cap.Messages().size(), 1u);
    delete prog;
}

TEST(NamedNodes, DumpLines) {
    int saved = DovDumpVerbosity;
    DovDumpVerbosity = 1;
    DovSymTabElt elt("ITEM", NC_DATA_NAME, DovLinkList());
    DovNamedObjDef def(NC_CONSTANT_NAME, DovLink(&elt), DovLinkList());
    DovNamedObjUse use(nullptr, NC_DATA_NAME, 0);
    std::ostringstream os;
    elt.Print(os);
    def.Print(os);
    use.Print(os);
    // (The use's argument lines follow, in the operator nodes' form.)
    EXPECT_EQ(os.str().substr(0, os.str().find("cat=data-name\n", 60) + 14),
              "SYMBOL_TABLE_ELT ITEM cat=data-name\n"
              "NAMED_OBJ_DEF img=ITEM cat=constant-name\n"
              "NAMED_OBJ_USE  cat=data-name\n");
    std::ostringstream detailed;
    DovDumpVerbosity = 2;
    DovNameUse unlinked;
    unlinked.Print(detailed);
    EXPECT_EQ(detailed.str().substr(0, 29), "NAME_USE img= ste=Link(#none)");
    // A target by its serial number, never by its address.
    DovNameUse linked{DovLink(&elt)};
    std::ostringstream numbered;
    linked.Print(numbered);
    const std::string link = "NAME_USE img=ITEM ste=Link(#" + std::to_string(elt.Serial()) + ")";
    EXPECT_EQ(numbered.str().substr(0, link.size()), link);
    DovDumpVerbosity = saved;
}

TEST(NamedNodes, LinkOperationsByClass) {
    DovSymTabElt elt;
    DovNameUse use;
    DovNamedObjDef def;
    DovNamedObjUse obj;
    EXPECT_EQ(elt.NumLinks(), 0);
    EXPECT_EQ(elt.NumLinkLists(), 1);
    EXPECT_STREQ(elt.LinkListName(0), "References");
    EXPECT_STREQ(use.LinkName(0), "Symbol Table Element");
    EXPECT_EQ(use.NumLinkLists(), 0);
    EXPECT_STREQ(def.LinkName(0), "Symbol Table Element");
    EXPECT_STREQ(def.LinkListName(0), "Uses");
    EXPECT_STREQ(obj.LinkName(0), "Definition");
    EXPECT_EQ(obj.NumLinkLists(), 0);
    EXPECT_EQ(obj.NumArgs(), 1);
    EXPECT_EQ(elt.IsTerminal() + use.IsTerminal() + def.IsTerminal(), 3);
    EXPECT_EQ(obj.IsTerminal(), 0);
}

// Random links between elements, definitions and uses, deleted in random
// order: every list must stay in step (the sanitizer build catches stale
// pointers).
TEST(NamedNodes, RandomLinkingAndDeletionStaysConsistent) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        std::vector<DovExpr*> nodes;
        std::vector<DovSymTabElt*> elts;
        std::vector<DovNamedObjDef*> defs;
        for (int i = 0; i < 4; ++i) {
            elts.push_back(new DovSymTabElt(DovFormat("N%d", i), NC_DATA_NAME, DovLinkList()));
            nodes.push_back(elts.back());
        }
        for (int i = 0; i < 12; ++i) {
            DovSymTabElt* e = elts[rng() % elts.size()];
            switch (rng() % 4) {
                case 0:
                    defs.push_back(new DovNamedObjDef(NC_DATA_NAME, DovLink(e), DovLinkList()));
                    nodes.push_back(defs.back());
                    break;
                case 1:
                    nodes.push_back(new DovNameUse(DovLink(e)));
                    break;
                case 2:
                    if (!defs.empty()) {
                        auto* u = new DovNamedObjUse(new DovNameUse(DovLink(e)), NC_DATA_NAME, 0);
                        u->SetDefinition(defs[rng() % defs.size()]);
                        nodes.push_back(u);
                    }
                    break;
                default: {
                    DovExpr* n = nodes[rng() % nodes.size()];
                    if (n->Oper() != SYMBOL_TABLE_ELT) nodes.push_back(n->Copy());
                }
            }
        }
        std::shuffle(nodes.begin(), nodes.end(), rng);
        while (!nodes.empty()) {
            DovExpr* gone = nodes.back();
            nodes.pop_back();
            delete gone;
            // Every remaining link is answered by a back link.
            for (DovExpr* n : nodes) {
                for (int k = 0; k < n->NumLinks(); ++k) {
                    DovExpr* t = n->Link(k).target;
                    if (!t) continue;
                    auto back = Targets(t->Links());
                    ASSERT_EQ(std::count(back.begin(), back.end(), n), 1);
                }
                for (int k = 0; k < n->NumLinkLists(); ++k)
                    for (const DovLink& l : n->Links(k)) ASSERT_EQ(l.target->Link().target, n);
            }
        }
    }
}

TEST(DovIsFileLevelDef, WhereTheDefinitionStands) {
    // COBOL_FILE > FILE_EXTERNAL_DEFS: DECL_DD_LIST > DECL_DD > DECL_DD_ENTRY > def
    auto* file = new DovExprOper(COBOL_FILE);
    file->SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST));
    DovNamedObjDef* ext = DovMakeNamedObjDef("EXT-ITEM", NC_DATA_NAME, false, file);
    auto* entry = new DovExprOper(DECL_DD_ENTRY);
    entry->SetArg(2, ext);
    file->SetArg(2, new DovExprOper(DECL_DD_LIST, new DovExprOper(DECL_DD, entry)));

    DovExpr* prog = NewProgram();
    file->SetArg(0, new DovExprOper(COBOL_PROGRAM_LIST, prog));
    DovNamedObjDef* ws = DovMakeNamedObjDef("WS-ITEM", NC_DATA_NAME, false, prog);
    auto* ws_entry = new DovExprOper(DECL_DD_ENTRY);
    ws_entry->SetArg(2, ws);
    auto* data = new DovExprOper(DIVISION_DATA);
    data->SetArg(4, new DovExprOper(DECL_DD_LIST, new DovExprOper(DECL_DD, ws_entry)));
    prog->SetArg(2, data);

    auto* ext_use = new DovNamedObjUse(new DovNameUse(DovLink(ext->Element())), NC_DATA_NAME, 0);
    ext_use->SetDefinition(ext);
    auto* ws_use = new DovNamedObjUse(nullptr, NC_DATA_NAME, 0);
    ws_use->SetDefinition(ws);

    EXPECT_EQ(DovIsFileLevelDef(ext), 1);
    EXPECT_EQ(DovIsFileLevelDef(ext_use), 1);
    EXPECT_EQ(DovIsFileLevelDef(ws_use), 0);
    EXPECT_EQ(DovIsFileLevelDef(ws), 0);
    // An element with a single definition among its references.
    EXPECT_EQ(DovIsFileLevelDef(ext->Element()), 1);
    auto* second = new DovNamedObjDef(NC_DATA_NAME, DovLink(ext->Element()), DovLinkList());
    EXPECT_EQ(DovIsFileLevelDef(ext->Element()), 0);
    delete second;
    EXPECT_EQ(DovIsFileLevelDef(nullptr), 0);
    DovNullNode null_node;
    EXPECT_EQ(DovIsFileLevelDef(&null_node), 0);
    // A detached definition has no place.
    DovNamedObjDef loose(NC_PARA_NAME, DovLink(), DovLinkList());
    EXPECT_EQ(DovIsFileLevelDef(&loose), 0);

    delete ext_use;
    delete ws_use;
    delete file;
}

}  // namespace
