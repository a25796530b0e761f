// The class registry: registering, duplicates, the full registry, removal by
// object and by range, and making transformations by class name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::HookCapture;
using Strings = std::vector<std::string>;

// A class whose class name is chosen per object, so that one C++ class can
// stand for many registered ones.
class Named : public DovTransform {
public:
    explicit Named(const VString& cls, const VString& descr = "one line") : DovTransform("inst", ""), cls(cls), descr(descr) {}
    DovTransform* Clone() const override { return new Named(*this); }
    VString ClassName() const override { return cls; }
    VString ClassDescription() const override { return descr; }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }
    VString cls;
    VString descr;
};

DovTransform* MakeAlpha() { return new Named("Alpha", "made by Alpha"); }
DovTransform* MakeOther() { return new Named("Other", "made by Other"); }

// Every test starts and ends with an empty registry.
class Registry : public testing::Test {
protected:
    void SetUp() override { Empty(); }
    void TearDown() override { Empty(); }
    static void Empty() {
        VString m;
        if (DovTransform::RegisteredCount() > 0) DovTransform::UnRegister(0, DovTransform::RegisteredCount(), m);
        ASSERT_EQ(DovTransform::RegisteredCount(), 0);
    }
    static Strings Names() {
        Strings out;
        for (int i = 0; i < DovTransform::RegisteredCount(); ++i) out.push_back(DovTransform::RegisteredName(i).CStr());
        return out;
    }
};

TEST_F(Registry, RegisterAndMakeByName) {
    VString m;
    EXPECT_EQ(DovTransform::Register(Named("Alpha", "first line"), MakeAlpha, m), 0);
    EXPECT_EQ(DovTransform::RegisteredCount(), 1);
    EXPECT_EQ(DovTransform::RegisteredDescription(0), "first line");
    DovTransform* t = reinterpret_cast<DovTransform*>(1);
    EXPECT_EQ(DovTransform::NewByName("Alpha", t, m), 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->ClassName(), "Alpha");
    // Each call makes a new object, owned by the caller.
    DovTransform* t2 = nullptr;
    EXPECT_EQ(DovTransform::NewByName("Alpha", t2, m), 0);
    EXPECT_NE(t2, t);
    delete t;
    delete t2;
}

TEST_F(Registry, FailuresTable) {
    VString m;
    ASSERT_EQ(DovTransform::Register(Named("Alpha"), MakeAlpha, m), 0);
    // A duplicate keeps the first registration.
    m = "";
    EXPECT_EQ(DovTransform::Register(Named("Alpha", "second"), MakeOther, m), 111);
    EXPECT_EQ(m, "DovTransform::Register: transformations 'Alpha' is already registered");
    EXPECT_EQ(DovTransform::RegisteredCount(), 1);
    EXPECT_EQ(DovTransform::RegisteredDescription(0), "one line");
    DovTransform* t = nullptr;
    ASSERT_EQ(DovTransform::NewByName("Alpha", t, m), 0);
    EXPECT_EQ(t->description, "");
    EXPECT_EQ(static_cast<Named*>(t)->descr, "made by Alpha");
    delete t;

    // Names are compared exactly.
    for (const char* name : {"alpha", "ALPHA", "Alph", "Alpha ", ""}) {
        SCOPED_TRACE(name);
        t = reinterpret_cast<DovTransform*>(1);
        m = "";
        EXPECT_EQ(DovTransform::NewByName(name, t, m), '<');
        EXPECT_EQ(t, nullptr);
        EXPECT_EQ(m, DovFormat("DovTransform::NewByName: transformation class '%s' not found", name));
    }
    // An unregistered class on a non-empty registry: the message is untouched.
    m = "untouched";
    EXPECT_EQ(DovTransform::UnRegister(Named("Beta"), m), 110);
    EXPECT_EQ(m, "untouched");
    EXPECT_EQ(DovTransform::RegisteredCount(), 1);
    // Bad ranges.
    for (auto [first, last] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{-1, 1}, std::pair{0, 2}}) {
        SCOPED_TRACE(first);
        m = "";
        EXPECT_EQ(DovTransform::UnRegister(first, last, m), 110);
        EXPECT_EQ(m, "DovTransform::UnRegister: bad shift parameters");
        EXPECT_EQ(DovTransform::RegisteredCount(), 1);
    }
}

TEST_F(Registry, EmptyRegistryTexts) {
    VString m;
    EXPECT_EQ(DovTransform::UnRegister(Named("Alpha"), m), 110);
    EXPECT_EQ(m, "DovTransform::UnRegister: no transformations registered yet");
    m = "";
    EXPECT_EQ(DovTransform::UnRegister(0, 1, m), 110);
    EXPECT_EQ(m, "DovTransform::UnRegister: no transformations registered yet");
    DovTransform* t = nullptr;
    EXPECT_EQ(DovTransform::NewByName("Alpha", t, m), '<');
    EXPECT_EQ(DovTransform::RegisteredName(0), "");
}

TEST_F(Registry, UnRegisterByObjectKeepsTheOrder) {
    VString m;
    for (const char* n : {"A", "B", "C"}) ASSERT_EQ(DovTransform::Register(Named(n), MakeAlpha, m), 0);
    EXPECT_EQ(DovTransform::UnRegister(Named("B"), m), 0);
    EXPECT_EQ(Names(), (Strings{"A", "C"}));
    EXPECT_EQ(DovTransform::UnRegister(Named("C"), m), 0);
    EXPECT_EQ(Names(), (Strings{"A"}));
}

TEST_F(Registry, UnRegisterRanges) {
    struct Case {
        int first, last;
        Strings left;
    };
    const Case cases[] = {
        {0, 1, {"B", "C"}},
        {1, 2, {"A", "C"}},
        {2, 3, {"A", "B"}},
        {0, 2, {"C"}},
        {1, 3, {"A"}},
        {0, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        Empty();
        VString m;
        for (const char* n : {"A", "B", "C"}) ASSERT_EQ(DovTransform::Register(Named(n, n), MakeAlpha, m), 0);
        EXPECT_EQ(DovTransform::UnRegister(c.first, c.last, m), 0);
        EXPECT_EQ(Names(), c.left);
        for (int i = 0; i < DovTransform::RegisteredCount(); ++i)
            EXPECT_EQ(DovTransform::RegisteredDescription(i), DovTransform::RegisteredName(i));
    }
}

TEST_F(Registry, The1025thRegistrationFindsItFull) {
    HookCapture hook;
    VString m;
    for (int i = 0; i < DOV_MAX_REGISTERED_TRANSFORMS; ++i)
        ASSERT_EQ(DovTransform::Register(Named(DovFormat("C%d", i)), MakeAlpha, m), 0);
    EXPECT_TRUE(hook.Texts().empty());
    m = "";
    EXPECT_EQ(DovTransform::Register(Named("Extra"), MakeOther, m), 112);
    EXPECT_EQ(m, "DovTransform::Register: too many transformations registered");
    EXPECT_EQ(hook.Texts(), (Strings{"DovTransform::Register: too many transformations registered"}));
    EXPECT_EQ(DovTransform::RegisteredCount(), DOV_MAX_REGISTERED_TRANSFORMS);
    DovTransform* t = nullptr;
    EXPECT_EQ(DovTransform::NewByName("Extra", t, m), '<');
    EXPECT_EQ(DovTransform::NewByName("C1023", t, m), 0);
    delete t;
    // Room again after one goes.
    EXPECT_EQ(DovTransform::UnRegister(Named("C5"), m), 0);
    EXPECT_EQ(DovTransform::Register(Named("Extra"), MakeOther, m), 0);
    EXPECT_EQ(DovTransform::RegisteredName(DOV_MAX_REGISTERED_TRANSFORMS - 1), "Extra");
}

TEST_F(Registry, BaseClassNameIsWhatAForgetfulClassRegistersUnder) {
    class Forgetful : public DovTransform {
    public:
        Forgetful() : DovTransform("f", "") {}
        DovTransform* Clone() const override { return new Forgetful(*this); }
        char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }
    };
    VString m;
    EXPECT_EQ(DovTransform::Register(Forgetful(), MakeAlpha, m), 0);
    EXPECT_EQ(DovTransform::RegisteredName(0), "DovTransform: this abstract class must NOT be allocated");
    EXPECT_EQ(DovTransform::RegisteredDescription(0), "DovTransform: this abstract class must NOT be allocated");
}

}  // namespace
