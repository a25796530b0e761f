#include "tests/transform/storage_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

#include "lbase/tic.h"

namespace vemlo_test {

int TestGrep::destroyed = 0;

TestGrep::TestGrep(const char* name, const char* descr) : DovTransform(name, descr) {}

TestGrep::~TestGrep() { ++destroyed; }

void TestGrep::PutTic(std::ostream& os) const {
    DovTransform::PutTic(os);
    query.PutTicCounted(os);
    query_file.PutTicCounted(os);
    os << print_query << ',' << print_src << ',' << node_dump << ',' << print_err_pos << ',';
}

char TestGrep::GetTic(std::istream& is, VString& message) {
    char rc = DovTransform::GetTic(is, message);
    if (!rc) rc = query.GetTicCounted(is, message);
    if (!rc) rc = query_file.GetTicCounted(is, message);
    for (int* flag : {&print_query, &print_src, &node_dump, &print_err_pos})
        if (!rc) rc = GetTicIntNo(is, *flag, false, ',', message);
    return rc;
}

void StorageTest::SetUp() {
    ASSERT_FALSE(tmp_.Path().empty());
    saved_dirs_ = Storage().dirs;
    Storage().count = 0;
    SetDirs({tmp_.Path()});
    VString m;
    int rc = DovTransform::Register(TestGrep(), TestGrep::Create, m);
    ASSERT_TRUE(rc == 0 || rc == DOV_REG_DUPLICATE) << m;
    DovCurrentTranStorage = &DovGlobalTranStorage;
}

void StorageTest::TearDown() {
    VString m;
    TestGrep sample;
    DovTransform::UnRegister(sample, m);
    Storage().count = 0;
    for (DovTransform*& p : Storage().loaded) p = nullptr;
    Storage().dirs = saved_dirs_;
    DovCurrentTranStorage = &DovGlobalTranStorage;
    DovTransform::DeleteAllLive();
}

std::string StorageTest::Dir(const std::string& sub) const {
    if (sub.empty()) return tmp_.Path();
    std::string full = tmp_.Path(sub);
    std::filesystem::create_directories(full);
    return full;
}

void StorageTest::SetDirs(const std::vector<std::string>& dirs) {
    Storage().dirs.Clear();
    for (const std::string& d : dirs) Storage().dirs.Append(d.c_str());
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream os;
    os << in.rdbuf();
    return os.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string Written(const DovTransform& t) {
    std::ostringstream os;
    t.PutTic(os);
    return os.str();
}

InDirectory::InDirectory(const std::string& dir) : saved_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(dir);
}

InDirectory::~InDirectory() { std::filesystem::current_path(saved_); }

}  // namespace vemlo_test
