// The transformation storage and its files: saving and loading, the file's
// form, taking transformations in and out, deleting files along the
// directory list, renaming, and names that would leave the directories.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/strutil.h"
#include "tests/transform/storage_fixture.h"
#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::FileExists;
using vemlo_test::InDirectory;
using vemlo_test::ReadAll;
using vemlo_test::TestGrep;
using vemlo_test::Written;

class TranStorage : public vemlo_test::StorageTest {
protected:
    // A TestGrep with every field away from its initial value, in `dir`.
    static TestGrep* Full(const char* name, const std::string& dir) {
        auto* t = new TestGrep(name, "first line\nsecond: line\\end");
        t->dir_name = dir.c_str();
        t->query = "op == STMT_CALL:\nand name: 'X\\Y'";
        t->query_file = "C:dir/q.txt:Main";
        t->print_query = 1;
        t->print_src = 0;
        t->node_dump = 1;
        t->print_err_pos = 0;
        t->AppendRef(DovTransformRef("other", nullptr, 0, 1));
        t->AppendRef(DovTransformRef("kept:one", nullptr, 0, 0));
        return t;
    }
    // Writes a file `name`.dov with `text` into `dir`.
    static std::string File(const std::string& dir, const std::string& name, const std::string& text) {
        std::string path = dir + "/" + name + ".dov";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Minimal(const char* name) { return std::string("4-2-0:TestGrep:") + name + ":0:d\n0:0:0,1,0,1,"; }
};

TEST_F(TranStorage, SaveAndLoadGiveBackEveryField) {
    TestGrep* t = Full("full", Dir());
    VString m;
    ASSERT_EQ(Storage().Save(t, m), 0) << m;
    const std::string path = Dir() + "/full.dov";
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ReadAll(path), Written(*t));
    EXPECT_EQ(ReadAll(path).rfind("4-2-0:TestGrep:full:2:", 0), 0u) << ReadAll(path);

    DovTransform* back = nullptr;
    ASSERT_EQ(Storage().Load("full", back, m), 0) << m;
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back, t);
    auto* g = dynamic_cast<TestGrep*>(back);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->name, "full");
    EXPECT_EQ(g->description, t->description);
    EXPECT_EQ(g->dir_name, Dir().c_str());
    EXPECT_EQ(g->query, t->query);
    EXPECT_EQ(g->query_file, t->query_file);
    EXPECT_EQ(g->print_query, 1);
    EXPECT_EQ(g->print_src, 0);
    EXPECT_EQ(g->node_dump, 1);
    EXPECT_EQ(g->print_err_pos, 0);
    ASSERT_EQ(g->ref_count, 2);
    EXPECT_EQ(g->refs[0].name, "other");
    EXPECT_EQ(g->refs[0].load, 1);
    EXPECT_EQ(g->refs[1].name, "kept:one");
    EXPECT_EQ(g->refs[1].load, 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(g->refs[i].transform, nullptr);
        EXPECT_EQ(g->refs[i].owned, 0);
    }
    EXPECT_EQ(Storage().count, 1);
    // Saved again, the loaded copy writes the same file.
    EXPECT_EQ(Written(*g), Written(*t));

    // A second Load of the name reads no file.
    std::filesystem::remove(path);
    DovTransform* again = nullptr;
    EXPECT_EQ(Storage().Load("full", again, m), 0);
    EXPECT_EQ(again, back);
    EXPECT_EQ(Storage().count, 1);
}

TEST_F(TranStorage, RecordOfInitialValuesAndASevenCharacterQuery) {
    TestGrep t("g", "d");
    t.query = "abcdefg";
    EXPECT_EQ(Written(t), "4-2-0:TestGrep:g:0:d\n7:abcdefg0:0,1,0,1,");
}

TEST_F(TranStorage, SaveIntoTheCurrentDirectoryAndWithoutDirectory) {
    InDirectory here(Dir());
    TestGrep t("abc", "d");
    t.dir_name = ".";
    VString m;
    ASSERT_EQ(t.Save(m), 0) << m;
    EXPECT_TRUE(FileExists(Dir() + "/abc.dov"));

    t.dir_name = "";
    EXPECT_EQ(t.Save(m), 10);
    EXPECT_EQ(m, "Cannot open file '-(no-dir)-/abc.dov' for output");
    std::filesystem::create_directory(Dir() + "/-(no-dir)-");
    EXPECT_EQ(t.Save(m), 0) << m;
    EXPECT_TRUE(FileExists(Dir() + "/-(no-dir)-/abc.dov"));
}

TEST_F(TranStorage, LoadTakesTheDirectoryWhereTheFileWasFound) {
    SetDirs({Dir("one"), Dir("two"), Dir("three")});
    File(Dir("two"), "x", Minimal("x"));
    File(Dir("three"), "x", Minimal("x"));
    VString dir;
    EXPECT_EQ(Storage().FindFile("x", &dir), 1);
    EXPECT_EQ(dir, Dir("two").c_str());
    DovTransform* t = nullptr;
    VString m;
    ASSERT_EQ(Storage().Load("x", t, m), 0) << m;
    EXPECT_EQ(t->dir_name, Dir("two").c_str());

    EXPECT_EQ(Storage().Load("nowhere", t, m), 'n');
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(m, "Cannot find transformation 'nowhere' for load");
    EXPECT_EQ(Storage().FindFile("nowhere", &dir), 0);
}

TEST_F(TranStorage, AnUnregisteredClassIsRefused) {
    File(Dir(), "odd", "4-2-0:NoSuchClass:odd:0:d\n");
    int live = DovTransform::LiveCount();
    DovTransform* t = nullptr;
    VString m;
    EXPECT_EQ(Storage().Load("odd", t, m), '<');
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(m, "DovTransform::NewByName: transformation class 'NoSuchClass' not found");
    EXPECT_EQ(Storage().count, 0);
    EXPECT_EQ(DovTransform::LiveCount(), live);
}

TEST_F(TranStorage, AFailedReadLeavesNothingBehind) {
    struct Case {
        const char* what;
        std::string text;
        char rc;
        const char* message;
    };
    std::string refs129 = "4-2-0:TestGrep:r:129:d\n";
    for (int i = 0; i < 129; ++i) refs129 += "r" + std::to_string(i) + ":1\n";
    const Case cases[] = {
        {"129 references", refs129, '>', "DovTransform::GetTic: too many references (129)"},
        {"a count that wrapped", "4-2-0:TestGrep:r:99999999999:d\n", '>', nullptr},
        {"ends inside the subclass record", "4-2-0:TestGrep:r:0:d\n5:ab", '9', "EOF or read error while reading TIC input stream"},
        {"bad flag", "4-2-0:TestGrep:r:0:d\n0:0:0,x,0,1,", ';', nullptr},
        {"empty file", "", '<', "DovTransform::NewByName: transformation class '' not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int destroyed = TestGrep::destroyed;
        int live = DovTransform::LiveCount();
        std::string path = File(Dir(), "r", c.text);
        DovTransform* t = reinterpret_cast<DovTransform*>(1);
        VString m;
        EXPECT_EQ(DovReadTransformationFile(path.c_str(), t, m), c.rc);
        EXPECT_EQ(t, nullptr);
        EXPECT_FALSE(m.IsEmpty());
        if (c.message) {
            EXPECT_EQ(m, c.message);
        }
        EXPECT_EQ(DovTransform::LiveCount(), live);
        if (c.rc != '<') {
            EXPECT_EQ(TestGrep::destroyed, destroyed + 1);
        }
        // Through the storage: nothing is taken in.
        EXPECT_EQ(Storage().Load("r", t, m), c.rc);
        EXPECT_EQ(Storage().count, 0);
        EXPECT_EQ(DovTransform::LiveCount(), live);
    }
}

TEST_F(TranStorage, ReadingAMissingFile) {
    DovTransform* t = nullptr;
    VString m;
    std::string path = Dir() + "/missing.dov";
    EXPECT_EQ(DovReadTransformationFile(path.c_str(), t, m), 11);
    EXPECT_EQ(m, ("Cannot open file '" + path + "' for input").c_str());
}

TEST_F(TranStorage, ReadingFromAStream) {
    TestGrep* t = Full("s", Dir());
    std::istringstream is(Written(*t));
    DovTransform* back = nullptr;
    VString m;
    ASSERT_EQ(DovReadTransformation(is, back, m), 0) << m;
    EXPECT_EQ(Written(*back), Written(*t));
    // Not stored: reading is not loading.
    EXPECT_EQ(Storage().count, 0);
    EXPECT_TRUE(back->dir_name.IsEmpty());
    delete back;
}

TEST_F(TranStorage, NewRefusesANameThatIsLoadedOrOnFile) {
    File(Dir(), "onfile", Minimal("onfile"));
    TestGrep a("onfile"), b("fresh"), c("fresh");
    VString m;
    EXPECT_EQ(Storage().New(&a, m), 111);
    EXPECT_EQ(m, "DovTranStorage::New: transformation 'onfile' already registered");
    EXPECT_EQ(Storage().New(&b, m), 0);
    EXPECT_EQ(Storage().New(&c, m), 111);
    EXPECT_EQ(m, "DovTranStorage::New: transformation 'fresh' already registered");
    EXPECT_EQ(Storage().count, 1);
    DovTransform* found = nullptr;
    EXPECT_EQ(Storage().FindLoaded("fresh", &found), 1);
    EXPECT_EQ(found, &b);
    VString dir = "x";
    EXPECT_EQ(Storage().Exists("fresh", &found, &dir), 1);
    EXPECT_TRUE(dir.IsEmpty());
    EXPECT_EQ(Storage().Exists("onfile", &found, &dir), 1);
    EXPECT_EQ(dir, Dir().c_str());
    // Case matters.
    EXPECT_EQ(Storage().FindLoaded("FRESH"), 0);
}

TEST_F(TranStorage, TheStorageHoldsAtMost1024) {
    TestGrep t("many");
    VString m;
    for (int i = 0; i < DOV_MAX_STORED_TRANSFORMS; ++i) ASSERT_EQ(Storage().Add(&t, m), 0);
    EXPECT_EQ(Storage().Add(&t, m), 112);
    EXPECT_EQ(m, "DovTranStorage::Load: too many transformations loaded");
    TestGrep other("other");
    EXPECT_EQ(Storage().New(&other, m), 112);
    // A load into a full storage: the transformation read is not kept.
    File(Dir(), "late", Minimal("late"));
    int live = DovTransform::LiveCount();
    DovTransform* late = nullptr;
    EXPECT_EQ(Storage().Load("late", late, m), 112);
    EXPECT_EQ(late, nullptr);
    EXPECT_EQ(DovTransform::LiveCount(), live);
    EXPECT_EQ(Storage().count, DOV_MAX_STORED_TRANSFORMS);
}

TEST_F(TranStorage, DelFromMemKeepsTheOrderAndTheObject) {
    TestGrep a("a"), b("b"), c("c");
    VString m;
    for (TestGrep* t : {&a, &b, &c}) ASSERT_EQ(Storage().New(t, m), 0);
    int destroyed = TestGrep::destroyed;
    EXPECT_EQ(Storage().DelFromMem("b", 1, m), 0);
    ASSERT_EQ(Storage().count, 2);
    EXPECT_EQ(Storage().loaded[0], &a);
    EXPECT_EQ(Storage().loaded[1], &c);
    EXPECT_EQ(TestGrep::destroyed, destroyed);
    m = "untouched";
    EXPECT_EQ(Storage().DelFromMem("b", 0, m), 0);
    EXPECT_EQ(m, "untouched");
    EXPECT_EQ(Storage().DelFromMem("b", 1, m), 110);
    EXPECT_EQ(m, "DovTranStorage::DelFromMem: transformation 'b' not found");
}

TEST_F(TranStorage, DelFromFileVisitsEveryDirectoryOnce) {
    SetDirs({Dir("one"), Dir("two"), Dir("three")});
    std::string p1 = File(Dir("one"), "x", Minimal("x"));
    std::string p3 = File(Dir("three"), "x", Minimal("x"));
    VString m = "untouched";
    EXPECT_EQ(Storage().DelFromFile("x", 1, m), 0);
    EXPECT_EQ(m, "DovTranStorage::DelFromFile: 2 transformation files named 'x.dov' deleted");
    EXPECT_FALSE(FileExists(p1));
    EXPECT_FALSE(FileExists(p3));

    File(Dir("two"), "y", Minimal("y"));
    m = "untouched";
    EXPECT_EQ(Storage().DelFromFile("y", 1, m), 0);
    EXPECT_EQ(m, "untouched");

    EXPECT_EQ(Storage().DelFromFile("x", 0, m), 0);
    EXPECT_EQ(Storage().DelFromFile("x", 1, m), 110);
    EXPECT_EQ(m, "DovTranStorage::DelFromFile: transformation named 'x.dov' not found");
}

TEST_F(TranStorage, DelFromFileEndsWhenTheFilesAreKept) {
    SetDirs({Dir("one"), Dir("two")});
    std::string p1 = File(Dir("one"), "x", Minimal("x"));
    std::string p2 = File(Dir("two"), "x", Minimal("x"));
    setenv("DOV_NO_RM", "1", 1);
    VString m;
    int rc = Storage().DelFromFile("x", 1, m);
    unsetenv("DOV_NO_RM");
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(m, "DovTranStorage::DelFromFile: 2 transformation files named 'x.dov' deleted");
    EXPECT_TRUE(FileExists(p1));
    EXPECT_TRUE(FileExists(p2));
}

TEST_F(TranStorage, DelFromFileStopsAtAnEmptyDirectoryName) {
    InDirectory here(Dir());
    std::string kept = File(Dir("-(no-dir)-"), "x", Minimal("x"));
    std::string later = File(Dir("two"), "x", Minimal("x"));
    SetDirs({"", Dir("two")});
    VString dir = "?";
    EXPECT_EQ(Storage().FindFile("x", &dir), 1);
    EXPECT_TRUE(dir.IsEmpty());
    VString m;
    EXPECT_EQ(Storage().DelFromFile("x", 1, m), 110);
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(FileExists(later));
}

TEST_F(TranStorage, DeleteTakesOutOfMemoryAndOffDisk) {
    TestGrep t("d");
    t.dir_name = Dir().c_str();
    VString m;
    ASSERT_EQ(Storage().New(&t, m), 0);
    ASSERT_EQ(Storage().Save(&t, m), 0);
    EXPECT_EQ(Storage().Delete("d", 1, m), 0) << m;
    EXPECT_EQ(Storage().count, 0);
    EXPECT_FALSE(FileExists(Dir() + "/d.dov"));
    // Not in memory: the file is not looked at.
    File(Dir(), "d", Minimal("d"));
    EXPECT_EQ(Storage().Delete("d", 1, m), 110);
    EXPECT_TRUE(FileExists(Dir() + "/d.dov"));
}

TEST_F(TranStorage, RenameToANewName) {
    SetDirs({Dir("one"), Dir("two")});
    File(Dir("one"), "old", Minimal("old"));
    File(Dir("two"), "old", Minimal("old"));
    VString m;
    ASSERT_EQ(Storage().Rename("old", "new", Dir("two").c_str(), 0, 0, m), 0) << m;
    EXPECT_FALSE(FileExists(Dir("one") + "/old.dov"));
    EXPECT_FALSE(FileExists(Dir("two") + "/old.dov"));
    ASSERT_TRUE(FileExists(Dir("two") + "/new.dov"));
    EXPECT_EQ(ReadAll(Dir("two") + "/new.dov"), Minimal("new"));
    DovTransform* t = nullptr;
    EXPECT_EQ(Storage().FindLoaded("new", &t), 1);
    EXPECT_EQ(t->dir_name, Dir("two").c_str());
    EXPECT_EQ(Storage().FindLoaded("old"), 0);
    EXPECT_EQ(Storage().count, 1);

    EXPECT_EQ(Storage().Rename("gone", "x", Dir().c_str(), 0, 0, m), 'n');
}

TEST_F(TranStorage, RenameOntoAnExistingNameWithoutOverwriteChangesNothing) {
    File(Dir(), "a", Minimal("a"));
    std::string b = File(Dir(), "b", "4-2-0:TestGrep:b:0:the old b\n0:0:0,1,0,1,");
    VString m;
    EXPECT_EQ(Storage().Rename("a", "b", Dir().c_str(), 0, 0, m), 111);
    EXPECT_EQ(m, ("Cannot rename transformation 'a' to '" + Dir() + "/b' because transformation '" + Dir() +
                  "/b' already exists")
                     .c_str());
    EXPECT_EQ(ReadAll(b), "4-2-0:TestGrep:b:0:the old b\n0:0:0,1,0,1,");
    EXPECT_TRUE(FileExists(Dir() + "/a.dov"));
    DovTransform* t = nullptr;
    ASSERT_EQ(Storage().FindLoaded("a", &t), 1);
    EXPECT_EQ(t->name, "a");

    // Loaded only: the directory in the message is empty.
    TestGrep c("c");
    ASSERT_EQ(Storage().New(&c, m), 0);
    EXPECT_EQ(Storage().Rename("a", "c", "there", 0, 0, m), 111);
    EXPECT_EQ(m, "Cannot rename transformation 'a' to 'there/c' because transformation '/c' already exists");
}

TEST_F(TranStorage, RenameWithOverwrite) {
    File(Dir(), "a", Minimal("a"));
    File(Dir(), "b", "4-2-0:TestGrep:b:0:the old b\n0:0:0,1,0,1,");
    DovTransform* old_b = nullptr;
    VString m;
    ASSERT_EQ(Storage().Load("b", old_b, m), 0);
    ASSERT_EQ(Storage().Rename("a", "b", Dir().c_str(), 1, 0, m), 0) << m;
    EXPECT_EQ(ReadAll(Dir() + "/b.dov"), Minimal("b"));
    EXPECT_FALSE(FileExists(Dir() + "/a.dov"));
    DovTransform* b = nullptr;
    ASSERT_EQ(Storage().FindLoaded("b", &b), 1);
    EXPECT_NE(b, old_b);
    EXPECT_EQ(b->description, "d");
    EXPECT_EQ(Storage().count, 1);
    // The displaced transformation is out of the storage but alive.
    EXPECT_EQ(old_b->name, "b");
    delete old_b;
}

TEST_F(TranStorage, ARenameThatCannotWriteKeepsTheOldFile) {
    const std::string old_file = File(Dir(), "a", Minimal("a"));
    File(Dir(), "b", Minimal("b"));
    const std::string missing = Dir() + "/no/such/dir";
    VString m;
    EXPECT_EQ(Storage().Rename("a", "b", missing.c_str(), 1, 0, m), 10);
    EXPECT_EQ(m, ("Cannot open file '" + missing + "/b.dov' for output").c_str());
    EXPECT_EQ(ReadAll(old_file), Minimal("a"));
    EXPECT_EQ(ReadAll(Dir() + "/b.dov"), Minimal("b"));
    DovTransform* t = nullptr;
    ASSERT_EQ(Storage().FindLoaded("a", &t), 1);
    EXPECT_EQ(t->name, "a");
    EXPECT_EQ(t->dir_name, Dir().c_str());
    // The test of the target leaves no file behind.
    ASSERT_EQ(Storage().Rename("a", "c", Dir("elsewhere").c_str(), 0, 0, m), 0) << m;
    EXPECT_EQ(ReadAll(Dir("elsewhere") + "/c.dov"), Minimal("c"));
    EXPECT_FALSE(FileExists(old_file));
}

TEST_F(TranStorage, RenameWithUpdateOfReferencesDoesTheWorkAndSays20) {
    File(Dir(), "a", Minimal("a"));
    VString m;
    EXPECT_EQ(Storage().Rename("a", "z", Dir().c_str(), 0, 1, m), 20);
    EXPECT_EQ(m, "DovTranStorage::Rename: update refs not implemented");
    EXPECT_TRUE(FileExists(Dir() + "/z.dov"));
    EXPECT_FALSE(FileExists(Dir() + "/a.dov"));
    EXPECT_EQ(Storage().FindLoaded("z"), 1);
}

TEST_F(TranStorage, RenameToItselfSavesOnly) {
    File(Dir(), "a", "4-2-0:TestGrep:a:0:d\n0:0:1,1,1,1,");
    VString m;
    EXPECT_EQ(Storage().Rename("a", "a", Dir().c_str(), 0, 0, m), 0) << m;
    EXPECT_EQ(ReadAll(Dir() + "/a.dov"), "4-2-0:TestGrep:a:0:d\n0:0:1,1,1,1,");
    // The same name into another directory is a clash without overwrite.
    EXPECT_EQ(Storage().Rename("a", "a", Dir("other").c_str(), 0, 0, m), 111);
    EXPECT_EQ(Storage().Rename("a", "a", Dir("other").c_str(), 1, 0, m), 0) << m;
    EXPECT_FALSE(FileExists(Dir() + "/a.dov"));
    EXPECT_TRUE(FileExists(Dir("other") + "/a.dov"));
}

TEST_F(TranStorage, AnInstanceNameWithColonsRoundTrips) {
    TestGrep* t = Full("a:b:c", Dir());
    VString m;
    ASSERT_EQ(Storage().Save(t, m), 0) << m;
    const std::string path = Dir() + "/a:b:c.dov";
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ReadAll(path).rfind("4-2-0:TestGrep:a\\058b\\058c:2:", 0), 0u) << ReadAll(path);
    DovTransform* back = nullptr;
    ASSERT_EQ(Storage().Load("a:b:c", back, m), 0) << m;
    EXPECT_EQ(back->name, "a:b:c");
    EXPECT_EQ(Written(*back), Written(*t));
}

TEST_F(TranStorage, NamesThatWouldLeaveTheDirectoryAreRefused) {
    // The storage's directory is a folder below the scratch folder, and a
    // victim file lies beside it.
    SetDirs({Dir("store")});
    const std::string victim = File(Dir(), "victim", Minimal("victim"));
    const char* names[] = {"../victim", "/tmp/x", "a/b", "..", "..\\victim", "sub\\..\\..\\victim", "/"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string shown = DovEscapeString(name).CStr();
        auto names_it = [&](const VString& m) { return std::string(m.CStr()).find("'" + shown + "'") != std::string::npos; };
        TestGrep t(name);
        t.dir_name = Dir("store").c_str();
        VString m;
        EXPECT_EQ(t.Save(m), 20);
        EXPECT_TRUE(names_it(m)) << m;
        EXPECT_EQ(Storage().Save(&t, m), 20);
        DovTransform* out = nullptr;
        m = VString();
        EXPECT_EQ(Storage().Load(name, out, m), 20);
        EXPECT_TRUE(names_it(m)) << m;
        EXPECT_EQ(out, nullptr);
        m = VString();
        EXPECT_EQ(Storage().DelFromFile(name, 1, m), 20);
        EXPECT_TRUE(names_it(m)) << m;
        EXPECT_EQ(Storage().Delete(name, 1, m), 20);
        EXPECT_EQ(Storage().Rename(name, "fine", Dir("store").c_str(), 1, 0, m), 20);
        EXPECT_EQ(Storage().Rename("fine", name, Dir("store").c_str(), 1, 0, m), 20);
        EXPECT_EQ(Storage().FindFile(name), 0);
        EXPECT_EQ(ReadAll(victim), Minimal("victim"));
    }
    EXPECT_FALSE(FileExists(Dir() + "/x.dov"));
    EXPECT_EQ(Storage().count, 0);
    // An ordinary name with dots stays allowed.
    TestGrep dots("..a.b..");
    dots.dir_name = Dir("store").c_str();
    VString m;
    EXPECT_EQ(dots.Save(m), 0) << m;
    EXPECT_TRUE(FileExists(Dir("store") + "/..a.b...dov"));
}

}  // namespace
