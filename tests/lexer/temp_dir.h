// A scratch folder for the tests, removed with everything in it when
// the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace vemlo_test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vemlo-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
        EXPECT_FALSE(path_.empty()) << "cannot make a scratch folder";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(const std::string& rel) const { return path_ + "/" + rel; }

    // Writes `text` byte for byte into the file `rel` (folders made as
    // needed) and returns its full path.
    std::string Write(const std::string& rel, const std::string& text) const {
        std::string full = Path(rel);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream out(full, std::ios::binary);
        out << text;
        return full;
    }

    // An empty folder `rel` (emptied when it was there); its full path.
    std::filesystem::path Fresh(const std::string& rel) const {
        const std::filesystem::path p = Path(rel);
        std::filesystem::remove_all(p);
        std::filesystem::create_directories(p);
        return p;
    }

private:
    std::string path_;
};

}  // namespace vemlo_test
