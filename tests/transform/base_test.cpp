// The transformation object: construction, copying with owned and shared
// references, destruction, the table of live objects and its limit, the
// freed-memory fill, the debug line and the default message hook.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::HookCapture;
using Strings = std::vector<std::string>;

int g_destroyed = 0;

// Counts its destructions; optional options of its own.
class Counted : public DovTransform {
public:
    explicit Counted(const char* name, const char* descr = "") : DovTransform(name, descr) {}
    Counted(const Counted& other) = default;
    ~Counted() override { ++g_destroyed; }
    DovTransform* Clone() const override {
        auto* c = new Counted(*this);
        c->name = name + "-clone";
        return c;
    }
    VString ClassName() const override { return "Counted"; }
    void DefineOptions() override {
        VString message;
        static int flag = 0;
        static const DovCommandLineFlag record{'b', "counted-flag", &flag, nullptr, nullptr, nullptr, 0, "a flag", 1};
        DovAddCommandLineFlags(options, record, message);
    }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }
};

// Overrides nothing it need not.
class Plain : public DovTransform {
public:
    Plain(const char* name, const char* descr) : DovTransform(name, descr) {}
    DovTransform* Clone() const override { return new Plain(*this); }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }
};

bool IsEmptyRef(const DovTransformRef& r) { return r.name.IsEmpty() && !r.transform && !r.owned && !r.load; }

TEST(DovTransform, ConstructionLeavesEverythingEmpty) {
    Plain t("name", "descr");
    EXPECT_EQ(t.name, "name");
    EXPECT_EQ(t.description, "descr");
    EXPECT_TRUE(t.dir_name.IsEmpty());
    EXPECT_EQ(t.options.count, 0);
    EXPECT_EQ(t.options.flags[0].kind, 0);
    EXPECT_EQ(t.cut_off, nullptr);
    EXPECT_EQ(t.walker, &DovTransWalker);
    EXPECT_EQ(t.ref_count, 0);
    for (const DovTransformRef& r : t.refs) EXPECT_TRUE(IsEmptyRef(r));
    EXPECT_EQ(t.is_owned, 0);
    // The base answers of the table of virtual operations.
    EXPECT_EQ(t.ReservedFalse(), 0);
    EXPECT_EQ(t.ReservedTrue(), 1);
    EXPECT_TRUE(t.ModifiesTree());
    EXPECT_EQ(t.ClassDescription(), "DovTransform: this abstract class must NOT be allocated");
    EXPECT_EQ(t.Prepare(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(t.PrepareFile("f.cbl", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(t.PreProcess("f.cbl", nullptr, nullptr, nullptr), 0);
    DovTokenList msgs;
    EXPECT_EQ(t.LoadRefs(&msgs), 0);
}

TEST(DovTransform, PrepareFileReducesThePrepareResultToOneByte) {
    class P : public Plain {
    public:
        P() : Plain("p", "") {}
        int Prepare(DovParser*, DovPrettyPrinter*, DovTokenList*) override { return 0x100 + 'T'; }
    } p;
    EXPECT_EQ(p.PrepareFile("x", nullptr, nullptr, nullptr), 'T');
}

TEST(DovTransform, CopyClonesOwnedAndSharesOtherReferences) {
    g_destroyed = 0;
    Counted shared("shared");
    auto* owned = new Counted("owned");
    owned->is_owned = 1;
    auto* src = new Counted("src", "source");
    src->dir_name = "dir";
    src->cut_off = [](DovExpr*, DovExpr*) -> int { return 0; };
    src->DefineOptions();
    ASSERT_EQ(src->options.count, 1);
    src->refs[0] = DovTransformRef{"owned", owned, 1, 0};
    src->refs[1] = DovTransformRef{"shared", &shared, 0, 1};
    src->ref_count = 2;
    src->is_owned = 0;

    int live = DovTransform::LiveCount();
    DovTransform* copy = src->Clone();
    EXPECT_EQ(DovTransform::LiveCount(), live + 2);  // the copy and its clone
    EXPECT_EQ(copy->name, "src-clone");
    EXPECT_EQ(copy->description, "source");
    EXPECT_EQ(copy->dir_name, "dir");
    EXPECT_EQ(copy->cut_off, src->cut_off);
    EXPECT_EQ(copy->walker, src->walker);
    // No options: the copy defines them again when it needs them.
    EXPECT_EQ(copy->options.count, 0);
    EXPECT_EQ(copy->options.flags[0].kind, 0);
    ASSERT_EQ(copy->ref_count, 2);
    const DovTransformRef& r0 = copy->refs[0];
    ASSERT_NE(r0.transform, nullptr);
    EXPECT_NE(r0.transform, owned);
    EXPECT_EQ(r0.name, "owned-clone");
    EXPECT_EQ(r0.transform->name, "owned-clone");
    EXPECT_EQ(r0.transform->is_owned, 1);
    EXPECT_EQ(r0.owned, 1);
    EXPECT_EQ(r0.load, 1);
    const DovTransformRef& r1 = copy->refs[1];
    EXPECT_EQ(r1.transform, &shared);
    EXPECT_EQ(r1.name, "shared");
    EXPECT_EQ(r1.owned, 0);
    EXPECT_EQ(r1.load, 1);
    EXPECT_TRUE(IsEmptyRef(copy->refs[2]));

    // The copy takes its clone along and leaves the rest.
    delete copy;
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(DovTransform::LiveCount(), live);
    EXPECT_EQ(owned->name, "owned");
    delete src;  // and the source its own
    EXPECT_EQ(g_destroyed, 4);
    EXPECT_EQ(shared.name, "shared");
}

TEST(DovTransform, LiveTableRecordsObjectsMadeWithNew) {
    int live = DovTransform::LiveCount();
    Plain on_stack("stack", "");
    EXPECT_EQ(DovTransform::LiveCount(), live);
    DovTransform* t = new Plain("heap", "");
    EXPECT_EQ(DovTransform::LiveCount(), live + 1);
    EXPECT_EQ(DovTransform::LiveAt(DovTransform::LiveHighWater() - 1), t);
    delete t;
    EXPECT_EQ(DovTransform::LiveCount(), live);
}

TEST(DovTransform, The1025thLiveObjectIsUsableButNotRecorded) {
    HookCapture hook;
    std::vector<DovTransform*> made;
    while (DovTransform::LiveCount() < DOV_MAX_LIVE_TRANSFORMS) made.push_back(new Plain("t", ""));
    EXPECT_TRUE(hook.Texts().empty());

    DovTransform* extra = new Plain("extra", "still here");
    EXPECT_EQ(hook.Texts(), (Strings{"DovTransform: too many transformations allocated"}));
    EXPECT_EQ(DovTransform::LiveCount(), DOV_MAX_LIVE_TRANSFORMS);
    EXPECT_EQ(extra->description, "still here");
    std::ostringstream os;
    extra->Print(os);
    EXPECT_NE(os.str().find("extra"), std::string::npos);

    // Room again: the table is compacted and the next object recorded.
    delete made[10];
    made.erase(made.begin() + 10);
    DovTransform* again = new Plain("again", "");
    EXPECT_EQ(hook.Texts().size(), 1u);
    EXPECT_EQ(DovTransform::LiveCount(), DOV_MAX_LIVE_TRANSFORMS);
    EXPECT_EQ(DovTransform::LiveAt(DovTransform::LiveHighWater() - 1), again);
    made.push_back(again);

    delete extra;  // not recorded, freed all the same
    EXPECT_EQ(DovTransform::LiveCount(), DOV_MAX_LIVE_TRANSFORMS);
    for (DovTransform* t : made) delete t;
    EXPECT_EQ(DovTransform::LiveCount(), 0);
}

TEST(DovTransform, DefaultHookPrintsAnErrorLine) {
    testing::internal::CaptureStdout();
    DovTransformMessageHook("some text");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: some text\n");
    EXPECT_EQ(DovTransformMessageHook, &DovTransformPrintError);
}

TEST(DovTransform, FreedMemoryReadsAA) {
    // The release step of operator delete, on memory from the class
    // allocator that the test keeps.
    void* mem = DovTransform::operator new(sizeof(Plain));
    int live = DovTransform::LiveCount();
    auto* t = ::new (mem) Plain("gone", "soon");
    t->~Plain();
    DovTransform::ScrubFreed(mem, sizeof(Plain));
    EXPECT_EQ(DovTransform::LiveCount(), live - 1);
    const auto* bytes = static_cast<const unsigned char*>(mem);
    std::size_t aa = 0;
    for (std::size_t i = 0; i < sizeof(Plain); ++i) aa += bytes[i] == 0xAA;
    EXPECT_EQ(aa, sizeof(Plain));
    DovTransform::operator delete(mem, sizeof(Plain));
}

TEST(DovTransform, PrintTable) {
    struct Case {
        const char* what;
        int owned;
        const char* dir;
        const char* descr;
        const char* expect;
    };
    const Case cases[] = {
        {"base class name, not owned, no directory", 0, "", "d",
         "Transformation N class=DovTransform: this abstract class must NOT be allocated is_owned=0 dir_name= "
         "inst_descr='d'\n"},
        {"owned, with directory", 1, "/x/y", "two\nlines",
         "Transformation N class=DovTransform: this abstract class must NOT be allocated is_owned=1 dir_name=/x/y "
         "inst_descr='two\nlines'\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Plain t("N", c.descr);
        t.is_owned = c.owned;
        t.dir_name = c.dir;
        std::ostringstream os;
        t.Print(os);
        EXPECT_EQ(os.str(), c.expect);
    }
    Counted named("M");
    std::ostringstream os;
    named.Print(os);
    EXPECT_EQ(os.str(), "Transformation M class=Counted is_owned=0 dir_name= inst_descr=''\n");
}

TEST(DovTransform, DeleteAllLiveDeletesOwnersBeforeWhatTheyOwn) {
    g_destroyed = 0;
    int live = DovTransform::LiveCount();
    ASSERT_EQ(live, 0);
    // The owned object is older than its owner, so it comes first in the
    // table.
    auto* child = new Counted("child");
    auto* owner = new Counted("owner");
    owner->refs[0] = DovTransformRef{"child", child, 1, 1};
    owner->ref_count = 1;
    child->is_owned = 1;
    new Counted("alone");
    DovTransform::DeleteAllLive();
    EXPECT_EQ(g_destroyed, 3);
    EXPECT_EQ(DovTransform::LiveCount(), 0);
}

TEST(DovTransform, LoadRefsNeedsItsReferencesResolved) {
    // A reference that is not owned is found by its name in the storage.
    Counted inner("inner");
    Counted outer("outer");
    VString m;
    ASSERT_EQ(DovCurrentTranStorage->New(&inner, m), 0) << m;
    outer.refs[0] = DovTransformRef{"inner", nullptr, 0, 1};
    outer.refs[1] = DovTransformRef{"kept", nullptr, 0, 0};
    outer.ref_count = 2;
    DovTokenList msgs;
    EXPECT_EQ(outer.LoadRefs(&msgs), 0);
    EXPECT_TRUE(msgs.IsEmpty());
    EXPECT_EQ(outer.refs[0].transform, &inner);
    EXPECT_EQ(outer.refs[1].transform, nullptr);
    outer.refs[2] = DovTransformRef{"elsewhere", nullptr, 0, 1};
    outer.ref_count = 3;
    EXPECT_EQ(outer.LoadRefs(&msgs), 'n');
    EXPECT_EQ(vemlo_test::MessageLines(msgs), (Strings{"970:Cannot find transformation 'elsewhere' for load@0:0"}));
    EXPECT_EQ(DovCurrentTranStorage->DelFromMem("inner", 1, m), 0);
}

}  // namespace
