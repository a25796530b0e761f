#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/tree/tree_fixture.h"
#include "tree/tree.h"

namespace {

using vemlo_test::MessageCapture;
using vemlo_test::NewProgram;
using vemlo_test::TableOf;

std::vector<std::string> Names(DovExpr* table) {
    std::vector<std::string> names;
    for (int i = 0; i < table->NumArgs(); ++i) names.push_back(table->Args(i)->Image().CStr());
    return names;
}

TEST(SymTabFind, EmptyTable) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    int index = -7;
    std::string out = vemlo_test::SymTabTrace(1, [&] { EXPECT_EQ(SymTabFind(&table, "A", &index), nullptr); });
    EXPECT_EQ(index, 0);
    EXPECT_NE(out.find("*SymTabNOTfound:"), std::string::npos);
    EXPECT_NE(out.find(" ix=0 cmp1=0 cmp2=0 name=A\n"), std::string::npos);
    EXPECT_EQ(SymTabFind(nullptr, "A", &index), nullptr);
    EXPECT_EQ(index, 0);
}

TEST(SymTabFind, ProbesHalveTheStep) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    for (const char* n : {"A", "B", "C", "D", "E", "F", "G", "H"}) SymTabFindOrAdd(&table, n);
    // A table of 8 probes 4, then 6, then 7.
    std::string out = vemlo_test::SymTabTrace(1, [&] { SymTabFind(&table, "H"); });
    EXPECT_EQ(out.rfind("*SymTabFound:", 0), 0u) << out;
    EXPECT_NE(out.find(" ix=7 cmp1=3 cmp2=0 SYMBOL_TABLE_ELT H cat=unknown"), std::string::npos) << out;
    // A name past the last probe is found by the linear finish.
    out = vemlo_test::SymTabTrace(1, [&] { SymTabFind(&table, "Ha"); });
    EXPECT_NE(out.find(" ix=8 cmp1=3 cmp2=0 name=Ha"), std::string::npos) << out;
    out = vemlo_test::SymTabTrace(1, [&] { SymTabFind(&table, "0"); });
    EXPECT_NE(out.find(" ix=0 cmp1=3 cmp2=1 name=0"), std::string::npos) << out;
}

TEST(SymTab, RandomInsertionsKeepTheTableSorted) {
    std::mt19937 rng(2024);
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabc0123456789-";
    std::set<std::string> wanted;
    while (wanted.size() < 2000) {
        std::string name;
        int len = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < len; ++i) name += letters[rng() % (sizeof letters - 1)];
        wanted.insert(name);
    }
    std::vector<std::string> order(wanted.begin(), wanted.end());
    std::shuffle(order.begin(), order.end(), rng);

    DovExpr* prog = NewProgram();
    DovExpr* table = TableOf(prog);
    std::vector<std::string> inserted;
    for (std::size_t k = 0; k < order.size(); ++k) {
        int index = -1;
        ASSERT_EQ(SymTabFind(table, order[k].c_str(), &index), nullptr);
        auto pos = std::lower_bound(inserted.begin(), inserted.end(), order[k]);
        ASSERT_EQ(index, pos - inserted.begin()) << order[k];
        SymTabInsertAt(table, new DovSymTabElt(order[k].c_str(), NC_DATA_NAME, DovLinkList()), index);
        inserted.insert(pos, order[k]);
    }
    ASSERT_EQ(Names(table), inserted);
    for (std::size_t i = 0; i < inserted.size(); ++i) {
        int index = -1;
        DovSymTabElt* elt = SymTabFind(table, inserted[i].c_str(), &index);
        ASSERT_NE(elt, nullptr) << inserted[i];
        EXPECT_EQ(index, static_cast<int>(i));
        EXPECT_EQ(table->Args(index), elt);
    }
    // Absent names answer their insertion index.
    for (int round = 0; round < 500; ++round) {
        std::string name = inserted[rng() % inserted.size()] + "~";
        if (wanted.count(name)) continue;
        int index = -1;
        EXPECT_EQ(SymTabFind(table, name.c_str(), &index), nullptr);
        EXPECT_EQ(index, std::lower_bound(inserted.begin(), inserted.end(), name) - inserted.begin());
    }
    // Descending insertion as a second shape.
    DovExprOper desc(SYMBOL_TABLE_ELT_LIST);
    for (auto it = inserted.rbegin(); it != inserted.rbegin() + 300; ++it) {
        SymTabFindOrAdd(&desc, it->c_str());
        std::vector<std::string> names = Names(&desc);
        ASSERT_TRUE(std::is_sorted(names.begin(), names.end()));
    }
    delete prog;
}

TEST(SymTab, CaseMattersInTheOrder) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    for (const char* n : {"a", "B", "A", "", "b"}) SymTabFindOrAdd(&table, n);
    EXPECT_EQ(Names(&table), (std::vector<std::string>{"", "A", "B", "a", "b"}));
    EXPECT_EQ(SymTabFindOrAdd(&table, "a"), table.Args(3));
    EXPECT_EQ(table.NumArgs(), 5);
}

TEST(SymTab, AddEltRefusesATakenName) {
    MessageCapture cap;
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    DovSymTabAddElt(&table, new DovSymTabElt("B", NC_DATA_NAME, DovLinkList()));
    DovSymTabAddElt(&table, new DovSymTabElt("A", NC_DATA_NAME, DovLinkList()));
    auto* again = new DovSymTabElt("B", NC_FILE_NAME, DovLinkList());
    DovSymTabAddElt(&table, again);
    EXPECT_EQ(Names(&table), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(cap.Joined(), "DovSymTabAddElt: name 'B' should not be declared yet");
    EXPECT_EQ(cap.Messages()[0].code, MSG_SEVERE);
    EXPECT_EQ(again->Parent(), nullptr);
    delete again;
}

TEST(SymTab, InsertionTrace) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    std::string out = vemlo_test::SymTabTrace(1, [&] { SymTabFindOrAdd(&table, "ALPHA"); });
    EXPECT_NE(out.find("+SymTabAddElt: 0 ALPHA\n"), std::string::npos) << out;
    out = vemlo_test::SymTabTrace(2, [&] { SymTabFindOrAdd(&table, "BETA"); });
    EXPECT_NE(out.find("+SymTabAddElt: 1 BETA\nSYMBOL_TABLE_ELT_LIST"), std::string::npos) << out;
    out = vemlo_test::SymTabTrace(0, [&] { SymTabFindOrAdd(&table, "GAMMA"); });
    EXPECT_EQ(out, "");
}

TEST(SymTab, AddUnique) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    EXPECT_STREQ(SymTabAddUnique("X", NC_DATA_NAME, &table)->Name().CStr(), "X");
    EXPECT_STREQ(SymTabAddUnique("X", NC_DATA_NAME, &table)->Name().CStr(), "X-1");
    DovSymTabElt* third = SymTabAddUnique("X", NC_FILE_NAME, &table);
    EXPECT_STREQ(third->Name().CStr(), "X-2");
    EXPECT_EQ(third->Category(), NC_FILE_NAME);
    EXPECT_EQ(Names(&table), (std::vector<std::string>{"X", "X-1", "X-2"}));
}

TEST(SymTab, RenameEltUnique) {
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    const std::string n29(29, 'N');
    const std::string n30(30, 'M');
    DovSymTabElt* a = SymTabFindOrAdd(&table, "A");
    SymTabFindOrAdd(&table, n29.c_str());
    SymTabFindOrAdd(&table, n30.c_str());
    for (int k = 1; k <= 9; ++k) SymTabFindOrAdd(&table, (n30.substr(0, 28) + "-" + std::to_string(k)).c_str());

    VString name = n29.c_str();
    SymTabRenameEltUnique(a, name);
    EXPECT_EQ(std::string(name.CStr()), n29.substr(0, 28) + "-1");
    EXPECT_EQ(a->Name(), name);

    DovSymTabElt* b = SymTabFindOrAdd(&table, "B");
    name = n30.c_str();
    SymTabRenameEltUnique(b, name);
    EXPECT_EQ(std::string(name.CStr()), n30.substr(0, 27) + "-10");

    // Renamed elements stand at their sorted place: they are found and not
    // added a second time.
    std::vector<std::string> names = Names(&table);
    EXPECT_TRUE(std::adjacent_find(names.begin(), names.end(), std::greater_equal<std::string>()) == names.end());
    int count = table.NumArgs();
    EXPECT_EQ(SymTabFindOrAdd(&table, name), b);
    EXPECT_EQ(SymTabFindOrAdd(&table, a->Name()), a);
    EXPECT_EQ(table.NumArgs(), count);

    // A free name is taken as it is; the element itself counts as taken.
    DovSymTabElt* c = SymTabFindOrAdd(&table, "C");
    name = "ZZ";
    SymTabRenameEltUnique(c, name);
    EXPECT_STREQ(name.CStr(), "ZZ");
    name = "ZZ";
    SymTabRenameEltUnique(c, name);
    EXPECT_STREQ(name.CStr(), "ZZ-1");
    EXPECT_EQ(table.Args(table.NumArgs() - 1), c);

    // References lose their two-bit flag; other nodes are ignored.
    DovNameUse use{DovLink(c)};
    use.SetFlag(3);
    name = "Q";
    SymTabRenameEltUnique(c, name);
    EXPECT_EQ(use.Flag(), 0);
    DovNullNode null_node;
    name = "R";
    SymTabRenameEltUnique(&null_node, name);
    EXPECT_STREQ(name.CStr(), "R");
}

TEST(SymTab, DeleteDef) {
    MessageCapture cap;
    DovExpr* prog = NewProgram();
    DovExpr* table = TableOf(prog);
    DovNamedObjDef* def = DovMakeNamedObjDef("KEEP", NC_DATA_NAME, false, prog);
    DovSymTabElt* keep = def->Element();
    DovNameUse use{DovLink(keep)};
    SymTabDeleteDef(def);
    EXPECT_EQ(Names(table), std::vector<std::string>{"KEEP"});
    EXPECT_EQ(keep->References().Count(), 1);
    EXPECT_EQ(def->Link().target, nullptr);
    delete def;

    DovNamedObjDef* only = DovMakeNamedObjDef("DROP", NC_DATA_NAME, false, prog);
    EXPECT_EQ(table->NumArgs(), 2);
    SymTabDeleteDef(only);
    EXPECT_EQ(Names(table), std::vector<std::string>{"KEEP"});
    delete only;

    EXPECT_TRUE(cap.Messages().empty());
    SymTabDeleteDef(&use);
    EXPECT_EQ(cap.Joined(), "SymTabDeleteDef: bad def node");
    EXPECT_EQ(cap.Messages()[0].code, MSG_TERMINAL);
    delete prog;
}

TEST(SymTab, MakeNamedObjDefAndQueries) {
    MessageCapture cap;
    DovExpr* prog = NewProgram();
    DovExpr* table = TableOf(prog);
    DovSymTabElt* used = SymTabFindOrAdd(table, "ONLY-USED");
    DovNameUse use{DovLink(used)};
    EXPECT_FALSE(SymTabIsDefined("ONLY-USED", prog));
    EXPECT_FALSE(SymTabIsDefined("MISSING", prog));

    DovNamedObjDef* d1 = DovMakeNamedObjDef("ONLY-USED", NC_PARA_NAME, false, prog);
    EXPECT_EQ(d1->Element(), used);
    EXPECT_EQ(used->Category(), NC_PARA_NAME);
    EXPECT_EQ(d1->Category(), NC_PARA_NAME);
    EXPECT_EQ(used->References().Count(), 2);
    EXPECT_EQ(d1->Parent(), nullptr);
    EXPECT_TRUE(SymTabIsDefined("ONLY-USED", prog));

    DovNamedObjDef* d2 = DovMakeNamedObjDef("ONLY-USED", NC_DATA_NAME, true, prog);
    EXPECT_STREQ(d2->Image().CStr(), "ONLY-USED-1");
    EXPECT_EQ(used->Category(), NC_PARA_NAME);
    EXPECT_EQ(SymTabForDef(d2), table);

    auto* list = new DovExprOper(EX_LIST, d1, d2);
    prog->SetArg(3, list);
    EXPECT_EQ(SymTabForExpr(d1), table);
    EXPECT_EQ(SymTabForExpr(prog), table);
    EXPECT_EQ(SymTabForExpr(nullptr), nullptr);
    DovNullNode null_node;
    EXPECT_EQ(SymTabForExpr(&null_node), nullptr);

    // Names of the source file as a whole go to the COBOL_FILE's table.
    DovExprOper file(COBOL_FILE);
    file.SetArg(kDovFileSymbolTableArg, new DovExprOper(SYMBOL_TABLE_ELT_LIST));
    DovNamedObjDef* fd = DovMakeNamedObjDef("F", NC_FILE_NAME, false, &file);
    EXPECT_EQ(SymTabForDef(fd), file.Args(kDovFileSymbolTableArg));
    delete fd;

    // A name outside every program goes to the file's table; one inside a
    // program without a table has none and borrows no other.
    auto* outside = new DovNameUse;
    file.SetArg(1, outside);
    EXPECT_EQ(SymTabAround(outside), file.Args(kDovFileSymbolTableArg));
    EXPECT_EQ(outside->SetImage("FILE-LEVEL"), 0);
    EXPECT_EQ(outside->Element(), SymTabFind(file.Args(kDovFileSymbolTableArg), "FILE-LEVEL"));
    auto* tableless = new DovExprOper(COBOL_PROGRAM);
    file.SetArg(0, new DovExprOper(COBOL_PROGRAM_LIST, tableless));
    auto* inside = new DovNameUse;
    tableless->SetArg(3, inside);
    EXPECT_EQ(SymTabAround(inside), nullptr);
    EXPECT_EQ(SymTabAround(prog->Args(3)), table);
    EXPECT_EQ(SymTabOfHolder(nullptr), nullptr);

    EXPECT_TRUE(cap.Messages().empty());
    EXPECT_EQ(SymTabForDef(&use), nullptr);
    EXPECT_EQ(cap.Joined(), "SymTabForDef: bad def node");

    // A holder without a table is reported; the definition stays unlinked.
    cap.Clear();
    DovExprOper bare(COBOL_PROGRAM);
    DovNamedObjDef* loose = DovMakeNamedObjDef("L", NC_DATA_NAME, false, &bare);
    EXPECT_EQ(loose->Link().target, nullptr);
    EXPECT_EQ(cap.Joined(), "DovMakeNamedObjDef: no symbol table for name 'L'");
    delete loose;
    delete prog;
}

// The answer of the slot search, which the trace shows and so always takes.
DovSymTabElt* SlotSearch(DovExpr* table, const std::string& name) {
    DovSymTabElt* elt = nullptr;
    vemlo_test::SymTabTrace(1, [&] { elt = SymTabFind(table, name.c_str()); });
    return elt;
}

// Every name asked for, present or not, gets the slot search's answer, and
// a name that an element of a sorted table carries finds that element.
void ExpectLookupsAgree(DovExpr* table, const std::vector<std::string>& asked, const char* step) {
    // An empty slot counts as a name that sorts first.
    std::vector<std::string> names;
    for (int i = 0; i < table->NumArgs(); ++i)
        names.push_back(DovArgOrNull(table, i) ? table->Args(i)->Image().CStr() : "");
    const bool sorted =
        std::adjacent_find(names.begin(), names.end(), std::greater_equal<std::string>()) == names.end();
    for (const std::string& name : asked) {
        DovSymTabElt* found = SymTabFind(table, name.c_str());
        ASSERT_EQ(found, SlotSearch(table, name)) << step << ": " << name;
        int place = -1;
        int searched = -2;
        ASSERT_EQ(SymTabFindOrPlace(table, name.c_str(), place), found) << step << ": " << name;
        SymTabFind(table, name.c_str(), &searched);
        if (!found) {
            ASSERT_EQ(place, searched) << step << ": " << name;
        }
        if (!sorted) continue;
        auto at = std::find(names.begin(), names.end(), name);
        ASSERT_EQ(found, at == names.end() ? nullptr : table->Args(static_cast<int>(at - names.begin())))
            << step << ": " << name;
    }
}

DovSymTabElt* EltNamed(DovExpr* table, const char* name) {
    for (int i = 0; i < table->NumArgs(); ++i) {
        DovExpr* arg = DovArgOrNull(table, i);
        if (arg && arg->Image() == name) return static_cast<DovSymTabElt*>(arg);
    }
    return nullptr;
}

DovSymTabElt* NewElt(const char* name) { return new DovSymTabElt(name, NC_DATA_NAME, DovLinkList()); }

// Edits of a table of 40 names N00..N78 (even numbers), each followed by
// lookups of every name that the edits use.
TEST(SymTabNameIndex, LookupsAfterEveryKindOfEdit) {
    struct Case {
        const char* what;
        void (*edit)(DovExpr* table);
    } cases[] = {
        {"nothing", [](DovExpr*) {}},
        {"insert by name", [](DovExpr* t) { SymTabFindOrAdd(t, "N41"); }},
        {"add unique", [](DovExpr* t) { SymTabAddUnique("N40", NC_DATA_NAME, t); }},
        {"add elt", [](DovExpr* t) { DovSymTabAddElt(t, NewElt("N01")); }},
        {"insert at its place", [](DovExpr* t) { SymTabInsertAt(t, NewElt("N43"), 22); }},
        // A place that breaks the order: the index must not take it in.
        {"insert at a wrong place", [](DovExpr* t) { SymTabInsertAt(t, NewElt("N43"), 0); }},
        {"generic insert", [](DovExpr* t) { t->InsArg(NewElt("N45"), 23); }},
        {"generic insert out of order", [](DovExpr* t) { t->InsArg(NewElt("N45"), 3); }},
        {"generic append", [](DovExpr* t) { t->AddArg(NewElt("N99")); }},
        {"delete arg", [](DovExpr* t) { delete t->DelArg(10, 1, 0); }},
        {"delete slot", [](DovExpr* t) {
             DovArgSlot* slot = t->DelArgSlot(5, 1, 0);
             delete slot->arg;
             slot->arg = nullptr;
             delete slot;
         }},
        {"empty a slot", [](DovExpr* t) { delete t->DelArg(7, 0, 0); }},
        {"replace an element", [](DovExpr* t) { t->SetArg(4, NewElt("N08")); }},
        {"replace by another name", [](DovExpr* t) { t->SetArg(4, NewElt("N09")); }},
        {"replace the slot record", [](DovExpr* t) {
             auto* slot = new DovArgSlot;
             slot->arg = NewElt("N13");
             t->SetArg(6, slot);
         }},
        {"take an element out", [](DovExpr* t) { delete EltNamed(t, "N20")->DelThis(); }},
        {"set image", [](DovExpr* t) { EltNamed(t, "N20")->SetImage("N77"); }},
        {"set image in place", [](DovExpr* t) { EltNamed(t, "N20")->SetImage("N21"); }},
        {"rename unique", [](DovExpr* t) {
             VString name = "N30";
             SymTabRenameEltUnique(EltNamed(t, "N10"), name);
         }},
        // A bare rename leaves the table out of order.
        {"set name", [](DovExpr* t) { EltNamed(t, "N20")->SetName("N77"); }},
        {"set name in place", [](DovExpr* t) { EltNamed(t, "N20")->SetName("N21"); }},
        {"delete an attached element", [](DovExpr* t) {
             MessageCapture cap;
             delete EltNamed(t, "N36");
         }},
        {"delete the only def", [](DovExpr* t) {
             DovNamedObjDef* def = DovMakeNamedObjDef("N50", NC_DATA_NAME, false, t->Parent());
             SymTabDeleteDef(def);
             delete def;
         }},
        {"reorder", [](DovExpr* t) {
             DovExpr* last = t->DelArg(t->NumArgs() - 1, 1, 0);
             t->InsArg(last, 0);
         }},
    };
    std::vector<std::string> asked;
    for (int i = 0; i < 100; ++i) asked.push_back(DovFormat("N%02d", i).CStr());
    asked.push_back("N30-1");
    asked.push_back("N40-1");
    asked.push_back("");
    for (const Case& c : cases) {
        DovExpr* prog = NewProgram();
        DovExpr* table = TableOf(prog);
        // Shuffled inserts, so that insertions land inside the table.
        std::vector<int> order;
        for (int i = 0; i < 40; ++i) order.push_back((i * 17) % 40);
        for (int i : order) SymTabFindOrAdd(table, DovFormat("N%02d", 2 * i));
        ExpectLookupsAgree(table, asked, c.what);
        c.edit(table);
        ExpectLookupsAgree(table, asked, c.what);
        // More inserts after the edit, and lookups again: the index is
        // built anew once the lookups pay for it.
        for (int i = 0; i < 5; ++i) {
            SymTabFindOrAdd(table, DovFormat("N%02d", 51 + 2 * i));
            ExpectLookupsAgree(table, asked, c.what);
        }
        delete prog;
    }
}

// A table whose node goes and another that comes at its address: the
// index of the first is not the second's.
TEST(SymTabNameIndex, ATableThatGoesTakesItsIndex) {
    for (int round = 0; round < 50; ++round) {
        auto* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
        SymTabFindOrAdd(table, "A");
        SymTabFindOrAdd(table, round % 2 ? "B" : "C");
        EXPECT_EQ(SymTabFind(table, "A"), table->Args(0));
        EXPECT_EQ(SymTabFind(table, round % 2 ? "C" : "B"), nullptr);
        EXPECT_TRUE(table->HasNameIndex());
        delete table;
    }
    // A copy has no index of its own until it is asked.
    DovExprOper table(SYMBOL_TABLE_ELT_LIST);
    SymTabFindOrAdd(&table, "A");
    DovExpr* copy = table.Copy();
    EXPECT_FALSE(copy->HasNameIndex());
    EXPECT_EQ(SymTabFind(copy, "A"), copy->Args(0));
    EXPECT_NE(SymTabFind(copy, "A"), table.Args(0));
    delete copy;
}

// A table that defers its order takes new names at its end; sorted, it
// holds the slots that inserting each name at its place gives. Each case
// enters names in some order, edits the table halfway through (an edit
// that reads the order sorts the slots first) and enters the rest; a
// sorted table given the same steps is the reference.
TEST(SymTabDeferredOrder, SortedOnceGivesTheSlotsOfSortedInserts) {
    std::vector<std::string> shuffled;
    for (int i = 0; i < 2000; ++i) shuffled.push_back(DovFormat("N%04d", (i * 769) % 2000).CStr());
    std::vector<std::string> ascending(shuffled.begin(), shuffled.begin() + 50);
    std::sort(ascending.begin(), ascending.end());
    std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    const std::vector<std::string> shapes[] = {{}, {"N0001"}, ascending, descending, shuffled};
    struct Edit {
        const char* what;
        void (*edit)(DovExpr* table, const std::string& name);
    } edits[] = {
        {"nothing", [](DovExpr*, const std::string&) {}},
        {"find with its place",
         [](DovExpr* t, const std::string& n) {
             int index = -1;
             SymTabFind(t, (n + "~").c_str(), &index);
             SymTabInsertAt(t, NewElt((n + "~").c_str()), index);
         }},
        {"find with the trace",
         [](DovExpr* t, const std::string& n) {
             vemlo_test::SymTabTrace(1, [&] { SymTabFindOrAdd(t, (n + "+").c_str()); });
         }},
        {"add a taken name",
         [](DovExpr* t, const std::string& n) {
             MessageCapture cap;
             DovSymTabElt* elt = NewElt(n.c_str());
             DovSymTabAddElt(t, elt);
             EXPECT_EQ(cap.Messages().size(), 1u);
             delete elt;
         }},
        {"take an element out", [](DovExpr* t, const std::string& n) { delete EltNamed(t, n.c_str())->DelThis(); }},
        {"rename unique",
         [](DovExpr* t, const std::string& n) {
             VString name = "A";
             SymTabRenameEltUnique(EltNamed(t, n.c_str()), name);
         }},
        {"set image", [](DovExpr* t, const std::string& n) { EltNamed(t, n.c_str())->SetImage("Z"); }},
    };
    for (const std::vector<std::string>& names : shapes) {
        for (const Edit& e : edits) {
            if (names.empty() && e.edit != edits[0].edit) continue;
            const std::string what = std::string(e.what) + " / " + std::to_string(names.size()) + " names";
            DovExpr* prog = NewProgram();
            DovExpr* ref_prog = NewProgram();
            DovExpr* table = TableOf(prog);
            DovExpr* reference = TableOf(ref_prog);
            SymTabDeferOrder(table);
            std::vector<DovSymTabElt*> entered;
            const std::size_t half = names.size() / 2;
            for (std::size_t k = 0; k < names.size(); ++k) {
                if (k == half && half > 0) {
                    e.edit(table, names[0]);
                    e.edit(reference, names[0]);
                }
                int index = -1;
                ASSERT_EQ(SymTabFindOrPlace(table, names[k].c_str(), index), nullptr) << what;
                entered.push_back(NewElt(names[k].c_str()));
                SymTabInsertAt(table, entered.back(), index);
                SymTabFindOrAdd(reference, names[k].c_str());
                // Every name so far is found, during the unsorted phase too.
                ASSERT_EQ(SymTabFind(table, names[k].c_str()), entered.back()) << what;
                ASSERT_EQ(SymTabFind(table, names[k / 2].c_str()), EltNamed(table, names[k / 2].c_str())) << what;
                ASSERT_EQ(SymTabFind(table, (names[k] + "#").c_str()), nullptr) << what;
            }
            if (names.size() == 1) {
                e.edit(table, names[0]);
                e.edit(reference, names[0]);
            }
            SymTabSettleOrder(table);
            EXPECT_EQ(Names(table), Names(reference)) << what;
            for (std::size_t k = 0; k < names.size(); ++k) {
                if (DovSymTabElt* elt = EltNamed(table, names[k].c_str())) {
                    EXPECT_EQ(elt, entered[k]) << what;
                }
            }
            // Settled, the table is sorted again for every later insert.
            SymTabFindOrAdd(table, "M");
            SymTabFindOrAdd(reference, "M");
            EXPECT_EQ(Names(table), Names(reference)) << what;
            delete prog;
            delete ref_prog;
        }
    }
}

}  // namespace
