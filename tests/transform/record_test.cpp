// The base record of a transformation file, written and read back, and the
// reader on damaged input.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "tests/transform/transform_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::Scripted;

std::string Written(const DovTransform& t) {
    std::ostringstream os;
    t.PutTic(os);
    return os.str();
}

// The reader of a file takes the version and the class name first.
char ReadBack(const std::string& text, DovTransform& t, VString& message) {
    std::istringstream is(text);
    VString version, cls;
    char rc = version.GetTic(is, ':', message);
    if (!rc) rc = cls.GetTic(is, ':', message);
    if (!rc) rc = t.GetTic(is, message);
    return rc;
}

TEST(Record, WrittenAndReadBack) {
    Scripted t(false, "My:Name", "line one\nline two");
    Scripted other(false, "other");
    t.refs[0] = DovTransformRef{"other", &other, 0, 1};
    t.refs[1] = DovTransformRef{"kept\\x", nullptr, 0, 0};
    t.ref_count = 2;
    std::string text = Written(t);
    EXPECT_EQ(text, "4-2-0:Scripted:My\\058Name:2:line one\\nline two\nother:1\nkept\\\\x:0\n");

    Scripted back(false, "", "");
    VString message;
    ASSERT_EQ(ReadBack(text, back, message), 0) << message;
    EXPECT_EQ(back.name, "My:Name");
    EXPECT_EQ(back.description, "line one\nline two");
    ASSERT_EQ(back.ref_count, 2);
    EXPECT_EQ(back.refs[0].name, "other");
    EXPECT_EQ(back.refs[0].load, 1);
    EXPECT_EQ(back.refs[0].transform, nullptr);
    EXPECT_EQ(back.refs[0].owned, 0);
    EXPECT_EQ(back.refs[1].name, "kept\\x");
    EXPECT_EQ(back.refs[1].load, 0);
}

TEST(Record, BadInputTable) {
    struct Case {
        const char* what;
        const char* text;
        char rc;
    };
    const Case cases[] = {
        {"negative count", "v:C:n:-1:d\n", ';'},
        {"count without its colon", "v:C:n:1;d\n", ';'},
        {"too many references", "v:C:n:129:d\n", '>'},
        {"a count that wrapped below zero", "v:C:n:4294967295:d\n", '>'},
        {"ends inside the references", "v:C:n:2:d\nr:1\n", 0},
        {"bad load flag", "v:C:n:1:d\nr:x\n", ';'},
        {"empty", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scripted back(false, "", "");
        VString message;
        char rc = ReadBack(c.text, back, message);
        // 0 here: any failure code will do.
        if (c.rc) {
            EXPECT_EQ(rc, c.rc);
        } else {
            EXPECT_NE(rc, 0);
        }
        EXPECT_LE(back.ref_count, DOV_MAX_TRANSFORM_REFS);
    }
}

TEST(Record, RandomDamageNeverBreaksTheReader) {
    Scripted t(false, "name", "some\ndescription");
    Scripted other(false, "other");
    for (int i = 0; i < 5; ++i) t.refs[i] = DovTransformRef{DovFormat("ref%d", i), &other, 0, i % 2};
    t.ref_count = 5;
    const std::string good = Written(t);
    std::mt19937 rng(4242);
    const char alphabet[] = "0123456789:-\n\\x";
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            std::size_t at = rng() % text.size();
            switch (rng() % 3) {
            case 0: text[at] = alphabet[rng() % (sizeof alphabet - 1)]; break;
            case 1: text.erase(at, 1 + rng() % 3); break;
            default: text.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]); break;
            }
        }
        Scripted back(false, "", "");
        VString message;
        ReadBack(text, back, message);
        EXPECT_LE(back.ref_count, DOV_MAX_TRANSFORM_REFS);
        EXPECT_GE(back.ref_count, 0);
    }
}

}  // namespace
