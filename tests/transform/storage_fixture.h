// Helpers for the tests of the transformation storage, its files and the
// references: a stored transformation class with the field kinds of the
// grep's record, a fixture with a scratch folder and a clean global storage,
// and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lexer/temp_dir.h"
#include "transform/transform.h"

namespace vemlo_test {

// A transformation whose record carries, after the base record, what the
// grep's carries: two counted strings and four flags each ended by ','.
// Registered as "TestGrep" while a StorageTest runs.
class TestGrep : public DovTransform {
public:
    explicit TestGrep(const char* name = "TestGrep", const char* descr = "Stored test transformation");
    TestGrep(const TestGrep& other) = default;
    ~TestGrep() override;

    DovTransform* Clone() const override { return new TestGrep(*this); }
    bool ModifiesTree() const override { return false; }
    VString ClassName() const override { return "TestGrep"; }
    VString ClassDescription() const override { return "Stored test transformation"; }
    char TransformNode(DovExpr*, int, DovTokenList*, DovExpr**) override { return 'A'; }
    void PutTic(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;

    static DovTransform* Create() { return new TestGrep(); }
    // Destructions of TestGrep objects so far.
    static int destroyed;

    VString query;
    VString query_file;
    int print_query = 0;
    int print_src = 1;
    int node_dump = 0;
    int print_err_pos = 1;
};

// Runs in a scratch folder's context: the global storage starts empty with
// the directory list {scratch folder}, its list is restored and it is left
// empty afterwards; "TestGrep"
// is registered; transformations still alive at the end are deleted.
class StorageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    DovTranStorage& Storage() { return DovGlobalTranStorage; }
    // The scratch folder, or a folder below it (made when needed).
    std::string Dir(const std::string& sub = "") const;
    // Sets the storage's directory list.
    void SetDirs(const std::vector<std::string>& dirs);

    TempDir tmp_;

private:
    VStringList saved_dirs_;
};

// The whole content of a file ("" when it cannot be read).
std::string ReadAll(const std::string& path);
bool FileExists(const std::string& path);
// What PutTic writes.
std::string Written(const DovTransform& t);

// Changes the working directory for its lifetime.
class InDirectory {
public:
    explicit InDirectory(const std::string& dir);
    ~InDirectory();
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    std::string saved_;
};

}  // namespace vemlo_test
