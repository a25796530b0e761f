// Damaged transformation files fed to the file reader and to the storage:
// truncations, byte flips, insertions and huge counts. Every refusal has a
// message, nothing is left allocated and the storage keeps nothing of a
// failed read.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/transform/storage_fixture.h"
#include "transform/transform.h"

namespace {

using vemlo_test::TestGrep;
using vemlo_test::Written;

class StorageFuzz : public vemlo_test::StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        TestGrep t("fuzz:me", "a description\nof two lines");
        t.query = "op == STMT_CALL\nand 'a:b'";
        t.query_file = "q.txt:MAIN";
        t.node_dump = 1;
        for (int i = 0; i < 4; ++i) t.AppendRef(DovTransformRef(DovFormat("ref\\%d:", i), nullptr, 0, i % 2));
        good_ = Written(t);
        path_ = Dir() + "/f.dov";
    }

    // Reads `text` as the file f.dov, directly and through the storage.
    void Feed(const std::string& text) {
        {
            std::ofstream out(path_, std::ios::binary);
            out << text;
        }
        const int live = DovTransform::LiveCount();
        DovTransform* t = nullptr;
        VString m;
        char rc = DovReadTransformationFile(path_.c_str(), t, m);
        if (rc) {
            ++refused_;
            EXPECT_EQ(t, nullptr);
            EXPECT_FALSE(m.IsEmpty()) << "code " << int(rc) << " for: " << text;
            EXPECT_EQ(DovTransform::LiveCount(), live);
        } else {
            ASSERT_NE(t, nullptr);
            EXPECT_GE(t->ref_count, 0);
            EXPECT_LE(t->ref_count, DOV_MAX_TRANSFORM_REFS);
            delete t;
        }
        DovTransform* loaded = nullptr;
        VString m2;
        char rc2 = static_cast<char>(Storage().Load("f", loaded, m2));
        EXPECT_EQ(rc2, rc);
        if (rc2) {
            EXPECT_EQ(Storage().count, 0);
            EXPECT_EQ(DovTransform::LiveCount(), live);
        } else {
            // The file's instance name need not be its file name.
            EXPECT_EQ(Storage().count, 1);
            EXPECT_EQ(Storage().loaded[0], loaded);
            Storage().count = 0;
            delete loaded;
        }
        EXPECT_EQ(DovTransform::LiveCount(), live);
    }

    std::string good_;
    std::string path_;
    int refused_ = 0;
};

TEST_F(StorageFuzz, EveryTruncation) {
    for (std::size_t n = 0; n < good_.size(); ++n) Feed(good_.substr(0, n));
    // Every cut short of the last flag's comma is refused.
    EXPECT_EQ(refused_, static_cast<int>(good_.size()));
    Feed(good_);
    EXPECT_EQ(refused_, static_cast<int>(good_.size()));
}

TEST_F(StorageFuzz, HugeCounts) {
    const char* counts[] = {"129", "4096", "2147483647", "2147483648", "4294967295", "99999999999999999999", "-1"};
    for (const char* c : counts) {
        SCOPED_TRACE(c);
        // The reference count.
        Feed(std::string("4-2-0:TestGrep:f:") + c + ":d\nr:1\n0:0:0,1,0,1,");
        // A counted string's length: the reader stops at the end of the file.
        Feed(std::string("4-2-0:TestGrep:f:0:d\n") + c + ":short0:0,1,0,1,");
        // A flag and a load flag.
        Feed(std::string("4-2-0:TestGrep:f:1:d\nr:") + c + "\n0:0:0," + c + ",0,1,");
    }
    EXPECT_GT(refused_, 0);
}

TEST_F(StorageFuzz, RandomDamage) {
    std::mt19937 rng(20261210);
    const char alphabet[] = "0123456789:,-\n\\x\0\377";
    for (int round = 0; round < 1500; ++round) {
        std::string text = good_;
        int edits = 1 + static_cast<int>(rng() % 5);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            std::size_t at = rng() % text.size();
            switch (rng() % 5) {
            case 0: text[at] = alphabet[rng() % (sizeof alphabet - 1)]; break;
            case 1: text[at] = static_cast<char>(text[at] ^ (1 << (rng() % 8))); break;
            case 2: text.erase(at, 1 + rng() % 8); break;
            case 3: text.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]); break;
            default: text.insert(at, std::to_string(rng())); break;
            }
        }
        Feed(text);
    }
    EXPECT_GT(refused_, 0);
}

}  // namespace
