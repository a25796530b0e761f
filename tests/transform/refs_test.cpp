// References between transformations: the entry's forms, the reference
// array, lookups through the storage and loading references from files,
// cycles included.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/transform/storage_fixture.h"
#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::HookCapture;
using vemlo_test::MessageLines;
using vemlo_test::TestGrep;
using Strings = std::vector<std::string>;

class Refs : public vemlo_test::StorageTest {
protected:
    // A file `name`.dov in the storage's folder referring to `refs` (all with
    // the load flag).
    void File(const std::string& name, const Strings& refs, const std::string& cls = "TestGrep") {
        std::string text = "4-2-0:" + cls + ":" + name + ":" + std::to_string(refs.size()) + ":d\n";
        for (const std::string& r : refs) text += r + ":1\n";
        text += "0:0:0,1,0,1,";
        std::ofstream(Dir() + "/" + name + ".dov", std::ios::binary) << text;
    }
    static Strings RefNames(const DovTransform& t) {
        Strings out;
        for (int i = 0; i < t.ref_count; ++i) out.push_back(t.refs[i].name.CStr());
        return out;
    }
};

TEST_F(Refs, TheEntryForms) {
    TestGrep t("target");
    DovTransformRef named(&t, 0);
    EXPECT_EQ(named.name, "target");
    EXPECT_EQ(named.transform, &t);
    EXPECT_EQ(named.owned, 0);
    EXPECT_EQ(named.load, 0);
    DovTransformRef none(static_cast<DovTransform*>(nullptr), 1);
    EXPECT_TRUE(none.name.IsEmpty());

    // Taking a transformation over from a variable.
    DovTransform* var = new TestGrep("taken");
    DovTransform* held = var;
    DovTransformRef taken("alias", var);
    EXPECT_EQ(var, nullptr);
    EXPECT_EQ(taken.name, "alias");
    EXPECT_EQ(taken.transform, held);
    EXPECT_EQ(taken.owned, 1);
    EXPECT_EQ(taken.load, 1);
    DovTransform* empty = nullptr;
    DovTransformRef by_name("later", empty);
    EXPECT_EQ(by_name.owned, 0);
    EXPECT_EQ(by_name.load, 1);

    // Release deletes only what the entry owns.
    int destroyed = TestGrep::destroyed;
    named.Release();
    EXPECT_EQ(TestGrep::destroyed, destroyed);
    taken.Release();
    EXPECT_EQ(TestGrep::destroyed, destroyed + 1);
    EXPECT_EQ(taken.transform, nullptr);
    taken.Release();
    EXPECT_EQ(TestGrep::destroyed, destroyed + 1);

    // Released inside its owner, the transformation is not deleted again
    // with the owner.
    auto* owner = new TestGrep("owner");
    owner->AddOwnedRef(new TestGrep("child"), 1);
    owner->refs[0].Release();
    EXPECT_EQ(TestGrep::destroyed, destroyed + 2);
    delete owner;
    EXPECT_EQ(TestGrep::destroyed, destroyed + 3);
}

TEST_F(Refs, InsRefPositions) {
    struct Case {
        int index;
        int used;
        Strings order;
    };
    const Case cases[] = {
        {0, 0, {"n", "a", "b"}}, {1, 1, {"a", "n", "b"}}, {2, 2, {"a", "b", "n"}},
        {-1, 2, {"a", "b", "n"}}, {5, 2, {"a", "b", "n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        TestGrep t;
        TestGrep x("x");
        ASSERT_EQ(t.AppendRef(DovTransformRef("a", nullptr, 0, 1)), 0);
        ASSERT_EQ(t.AppendRef(DovTransformRef("b", nullptr, 0, 0)), 1);
        EXPECT_EQ(t.InsRef(DovTransformRef("n", &x, 0, 1), c.index), c.used);
        EXPECT_EQ(RefNames(t), c.order);
        // All four fields are copied.
        EXPECT_EQ(t.refs[c.used].transform, &x);
        EXPECT_EQ(t.refs[c.used].load, 1);
    }
}

TEST_F(Refs, TheArrayHolds128) {
    HookCapture hook;
    TestGrep t;
    for (int i = 0; i < DOV_MAX_TRANSFORM_REFS; ++i)
        ASSERT_EQ(t.InsRef(DovTransformRef(DovFormat("r%d", i), nullptr, 0, 0), 0), 0);
    EXPECT_EQ(t.InsRef(DovTransformRef("one too many", nullptr, 0, 0), 0), -1);
    EXPECT_EQ(t.AppendRef(DovTransformRef("one too many", nullptr, 0, 0)), -1);
    EXPECT_EQ(t.ref_count, DOV_MAX_TRANSFORM_REFS);
    EXPECT_EQ(t.refs[0].name, "r127");
    EXPECT_EQ(t.refs[127].name, "r0");
    EXPECT_EQ(hook.Texts(), (Strings(2, "SEVERE ERROR: DovTransform::InsRef: too many references")));
    // An owned transformation that finds the array full stays the caller's.
    auto* loose = new TestGrep("loose");
    EXPECT_EQ(t.AddOwnedRef(loose, 1), -1);
    EXPECT_EQ(loose->is_owned, 0);
    delete loose;
}

TEST_F(Refs, OwnedReferencesDieWithTheirOwner) {
    auto* owner = new TestGrep("owner");
    auto* child = new TestGrep("child");
    ASSERT_EQ(owner->AddOwnedRef(child, 1), 0);
    EXPECT_EQ(child->is_owned, 1);
    const DovTransformRef& r = owner->refs[0];
    EXPECT_EQ(r.name, "child");
    EXPECT_EQ(r.transform, child);
    EXPECT_EQ(r.owned, 1);
    EXPECT_EQ(r.load, 1);
    // The owned one is given back without the storage.
    EXPECT_EQ(owner->FindRef("child"), child);
    EXPECT_EQ(Storage().count, 0);
    int live = DovTransform::LiveCount();
    int destroyed = TestGrep::destroyed;
    delete owner;
    EXPECT_EQ(TestGrep::destroyed, destroyed + 2);
    EXPECT_EQ(DovTransform::LiveCount(), live - 2);

    // Not owned: the flag follows the argument, the object survives.
    TestGrep keeper("keeper"), shared("shared");
    EXPECT_EQ(keeper.AddOwnedRef(&shared, 0), 0);
    EXPECT_EQ(shared.is_owned, 0);
    EXPECT_EQ(keeper.refs[0].owned, 0);
}

TEST_F(Refs, RemoveRefGivesTheEntryBack) {
    TestGrep t;
    auto* owned = new TestGrep("owned");
    t.AppendRef(DovTransformRef("a", nullptr, 0, 1));
    t.AddOwnedRef(owned, 1);
    t.AppendRef(DovTransformRef("c", nullptr, 0, 0));
    DovTransformRef last = t.RemoveRef(-1);
    EXPECT_EQ(last.name, "c");
    EXPECT_EQ(RefNames(t), (Strings{"a", "owned"}));
    // The place left behind is empty.
    EXPECT_TRUE(t.refs[2].name.IsEmpty());
    EXPECT_EQ(t.refs[2].transform, nullptr);

    int destroyed = TestGrep::destroyed;
    DovTransformRef mid = t.RemoveRef(1);
    EXPECT_EQ(TestGrep::destroyed, destroyed);
    EXPECT_EQ(mid.transform, owned);
    EXPECT_EQ(mid.owned, 1);
    EXPECT_EQ(RefNames(t), (Strings{"a"}));
    EXPECT_EQ(t.RemoveRef(7).name, "a");
    EXPECT_EQ(t.ref_count, 0);
    DovTransformRef none = t.RemoveRef(0);
    EXPECT_TRUE(none.name.IsEmpty());
    EXPECT_EQ(t.ref_count, 0);
    // The one who took it out owns it now.
    mid.Release();
    EXPECT_EQ(TestGrep::destroyed, destroyed + 1);
}

TEST_F(Refs, GetLooksUpByNameAndLoadsOnDemand) {
    HookCapture hook;
    TestGrep in_memory("mem");
    VString m;
    ASSERT_EQ(Storage().New(&in_memory, m), 0);
    File("disk", {});
    File("broken", {}, "NoSuchClass");

    TestGrep stale("stale");
    DovTransformRef mem("mem", &stale, 0, 0);
    EXPECT_EQ(mem.Get(), &in_memory);
    EXPECT_EQ(mem.transform, &in_memory);

    DovTransformRef disk("disk", nullptr, 0, 1);
    DovTransform* loaded = disk.Get();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->name, "disk");
    EXPECT_EQ(loaded->dir_name, Dir().c_str());
    EXPECT_EQ(Storage().count, 2);
    // Asked again, the storage finds it in memory.
    EXPECT_EQ(disk.Get(), loaded);
    EXPECT_EQ(Storage().count, 2);

    // Simply not there: null and quiet.
    DovTransformRef missing("missing", &stale, 0, 1);
    EXPECT_EQ(missing.Get(), nullptr);
    EXPECT_EQ(missing.transform, nullptr);
    EXPECT_TRUE(hook.Texts().empty());
    // There but unreadable: the storage's message goes to the hook.
    DovTransformRef broken("broken", nullptr, 0, 1);
    EXPECT_EQ(broken.Get(), nullptr);
    EXPECT_EQ(hook.Texts(), (Strings{"DovTransform::NewByName: transformation class 'NoSuchClass' not found"}));

    TestGrep holder("holder");
    holder.AppendRef(DovTransformRef("missing", nullptr, 0, 1));
    holder.AppendRef(DovTransformRef("mem", nullptr, 0, 0));
    holder.AppendRef(DovTransformRef("mem", &stale, 1, 0));
    EXPECT_EQ(holder.FindRef("mem"), &in_memory);
    EXPECT_EQ(holder.FindRef("missing"), nullptr);
    EXPECT_EQ(holder.FindRef("nobody"), nullptr);
    holder.refs[2].owned = 0;  // stale is no heap object
}

TEST_F(Refs, ResolveReportsIntoTheList) {
    File("broken", {}, "NoSuchClass");
    DovTransformRef broken("broken", nullptr, 0, 1);
    DovTokenList msgs;
    EXPECT_EQ(broken.Resolve(&msgs), '<');
    EXPECT_EQ(MessageLines(msgs), (Strings{"970:DovTransform::NewByName: transformation class 'NoSuchClass' not found@0:0"}));
    // A list is not required.
    EXPECT_EQ(broken.Resolve(nullptr), '<');

    // A file with more references than the array holds.
    Strings many;
    for (int i = 0; i < DOV_MAX_TRANSFORM_REFS + 1; ++i) many.push_back("r" + std::to_string(i));
    File("many", many);
    DovTransformRef too_many("many", nullptr, 0, 1);
    msgs.Clear();
    EXPECT_EQ(too_many.Resolve(&msgs), '>');
    EXPECT_EQ(MessageLines(msgs), (Strings{"970:DovTransform::GetTic: too many references (129)@0:0"}));
    EXPECT_EQ(Storage().count, 0);

    TestGrep held("held");
    DovTransformRef owned("x", &held, 1, 1);
    EXPECT_EQ(owned.Resolve(&msgs), 0);
    EXPECT_EQ(owned.transform, &held);
    owned.owned = 0;
}

TEST_F(Refs, ResolveRefsStopsAtTheFirstFailure) {
    File("one", {});
    File("three", {});
    TestGrep t;
    t.AppendRef(DovTransformRef("one", nullptr, 0, 1));
    t.AppendRef(DovTransformRef("skipped", nullptr, 0, 0));
    t.AppendRef(DovTransformRef("two", nullptr, 0, 1));
    t.AppendRef(DovTransformRef("three", nullptr, 0, 1));
    DovTokenList msgs;
    EXPECT_EQ(t.ResolveRefs(&msgs), 'n');
    EXPECT_EQ(MessageLines(msgs), (Strings{"970:Cannot find transformation 'two' for load@0:0"}));
    EXPECT_NE(t.refs[0].transform, nullptr);
    EXPECT_EQ(t.refs[1].transform, nullptr);
    EXPECT_EQ(t.refs[3].transform, nullptr);
    EXPECT_EQ(Storage().FindLoaded("three"), 0);
}

TEST_F(Refs, LoadRefsWithoutLoadFlagsLeavesTheStorageAlone) {
    File("a", {});
    TestGrep t;
    t.AppendRef(DovTransformRef("a", nullptr, 0, 0));
    t.AppendRef(DovTransformRef("b", nullptr, 0, 0));
    DovTokenList msgs;
    EXPECT_EQ(t.LoadRefs(&msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty());
    EXPECT_EQ(Storage().count, 0);
    EXPECT_EQ(t.refs[0].transform, nullptr);
}

TEST_F(Refs, LoadRefsBringsInTheWholeChainFromFiles) {
    File("top", {"mid", "side"});
    File("mid", {"leaf"});
    File("side", {"leaf"});
    File("leaf", {});
    DovTransform* top = nullptr;
    VString m;
    ASSERT_EQ(Storage().Load("top", top, m), 0) << m;
    DovTokenList msgs;
    EXPECT_EQ(top->LoadRefs(&msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty()) << MessageLines(msgs)[0];
    EXPECT_EQ(Storage().count, 4);
    DovTransform* mid = top->refs[0].transform;
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(mid->name, "mid");
    ASSERT_NE(mid->refs[0].transform, nullptr);
    // Two references to one name share its transformation.
    EXPECT_EQ(mid->refs[0].transform, top->refs[1].transform->refs[0].transform);
}

TEST_F(Refs, LoadRefsStopsAtTheFirstMissingReference) {
    File("top", {"mid", "later"});
    File("mid", {"absent"});
    File("later", {});
    DovTransform* top = nullptr;
    VString m;
    ASSERT_EQ(Storage().Load("top", top, m), 0);
    DovTokenList msgs;
    EXPECT_EQ(top->LoadRefs(&msgs), 'n');
    EXPECT_EQ(MessageLines(msgs), (Strings{"970:Cannot find transformation 'absent' for load@0:0"}));
}

TEST_F(Refs, LoadRefsStopsAtACycle) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, Strings>> files;
        const char* message;
    };
    const Case cases[] = {
        {"itself", {{"a", {"a"}}}, "970:DovTransform::LoadRefs: transformation 'a' refers to itself through its references@0:0"},
        {"two", {{"a", {"b"}}, {"b", {"a"}}}, "970:DovTransform::LoadRefs: transformation 'a' refers to itself through its references@0:0"},
        {"three", {{"a", {"b"}}, {"b", {"c"}}, {"c", {"b"}}}, "970:DovTransform::LoadRefs: transformation 'b' refers to itself through its references@0:0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Storage().count = 0;
        for (const auto& [name, refs] : c.files) File(name, refs);
        DovTransform* a = nullptr;
        VString m;
        ASSERT_EQ(Storage().Load("a", a, m), 0) << m;
        DovTokenList msgs;
        EXPECT_EQ(a->LoadRefs(&msgs), 'C');
        EXPECT_EQ(MessageLines(msgs), (Strings{c.message}));
        // Every step after the cycle is balanced: a second load stops the same way.
        msgs.Clear();
        EXPECT_EQ(a->LoadRefs(&msgs), 'C');
        EXPECT_EQ(msgs.IsEmpty(), false);
        for (const auto& file : c.files) std::filesystem::remove(Dir() + "/" + file.first + ".dov");
    }
    // Without a list the message goes to the hook.
    HookCapture hook;
    Storage().count = 0;
    File("a", {"a"});
    DovTransform* a = nullptr;
    VString m;
    ASSERT_EQ(Storage().Load("a", a, m), 0);
    EXPECT_EQ(a->LoadRefs(nullptr), 'C');
    EXPECT_EQ(hook.Texts(), (Strings{"DovTransform::LoadRefs: transformation 'a' refers to itself through its references"}));
}

TEST_F(Refs, AnotherStorageCanServeTheReferences) {
    DovTranStorage other;
    other.dirs.Clear();
    TestGrep there("there");
    VString m;
    ASSERT_EQ(other.New(&there, m), 0);
    DovCurrentTranStorage = &other;
    DovTransformRef r("there", nullptr, 0, 1);
    EXPECT_EQ(r.Get(), &there);
    DovCurrentTranStorage = &DovGlobalTranStorage;
    EXPECT_EQ(r.Get(), nullptr);
}

}  // namespace
