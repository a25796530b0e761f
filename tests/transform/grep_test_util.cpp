#include "tests/transform/grep_test_util.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

#include "lbase/message.h"

namespace vemlo_test {

ScratchDir::ScratchDir() {
    std::random_device rd;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int i = 0;; ++i) {
        dir_ = base / ("vemlo_grep_" + std::to_string(::getpid()) + "_" + std::to_string(rd() % 1000000) + "_" +
                       std::to_string(i));
        if (std::filesystem::create_directory(dir_)) break;
    }
    saved_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(saved_, ec);
    std::filesystem::remove_all(dir_, ec);
}

std::string ScratchDir::Write(const std::string& name, const std::string& text) const {
    const std::filesystem::path path = dir_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return path.string();
}

std::vector<std::string> Messages(const DovTokenList& list) {
    std::vector<std::string> out;
    for (const DovToken* t : list) {
        std::string code = t->code == MSG_INFO ? "INFO" : t->code == MSG_ERR ? "ERR" : std::to_string(t->code);
        out.push_back(code + "|" + std::string(t->image.CStr(), static_cast<std::size_t>(t->image.Len())));
    }
    return out;
}

std::string Printed(const DovTokenList& list) {
    std::ostringstream captured;
    std::streambuf* saved = std::cout.rdbuf(captured.rdbuf());
    for (const DovToken* t : list) DovPrintPosnMessage(t->code, t->Beg(), t->image);
    std::cout.rdbuf(saved);
    return captured.str();
}

int GrepRun::Prepare() {
    rc = grep.Prepare(nullptr, nullptr, &msgs);
    return rc;
}

}  // namespace vemlo_test
