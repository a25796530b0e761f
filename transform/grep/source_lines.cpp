#include "transform/grep/source_lines.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "lbase/message.h"

namespace {

constexpr int kReadFailed = '5';
constexpr int kMaxLineLen = 80;
constexpr char kCtrlZ = 26;
constexpr std::streamsize kReadChunk = 1 << 16;

// The name of a file index; the empty name for an index the table does not
// hold (entry 0 is the table's placeholder name).
VString FileNameOf(std::uint32_t index) {
    DovNameTable& names = DovSrcFileNames();
    if (index < static_cast<std::uint32_t>(names.Count())) return names.At(static_cast<int>(index)).name;
    return VString();
}

}  // namespace

const WyrGrepSourceLines::File* WyrGrepSourceLines::FileOf(std::uint32_t index) {
    // A program and its copy books: a handful of files, most recent last.
    for (auto it = files_.rbegin(); it != files_.rend(); ++it)
        if (it->index == index) return &*it;

    const VString name = FileNameOf(index);
    std::ifstream in(name.CStr(), std::ios::in | std::ios::binary);
    if (!in.is_open()) return nullptr;
    File file;
    file.index = index;
    // One byte more than the file holds shows its end in one read; a file
    // that has grown since, or whose size is not known, is read on in
    // chunks. A file that opens but cannot be read (a directory) throws, as
    // it does for the source-file reader.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(name.CStr(), ec);
    std::streamsize want = ec ? kReadChunk : static_cast<std::streamsize>(size) + 1;
    std::filebuf& buf = *in.rdbuf();
    for (std::size_t have = 0;; want = kReadChunk) {
        file.bytes.resize(have + static_cast<std::size_t>(want));
        const std::streamsize got = buf.sgetn(file.bytes.data() + have, want);
        have += static_cast<std::size_t>(got);
        if (got < want) {
            file.bytes.resize(have);
            break;
        }
    }
    file.line_starts.push_back(0);
    const char* const begin = file.bytes.data();
    const char* const end = begin + file.bytes.size();
    for (const char* p = begin;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!p) break;
        file.line_starts.push_back(static_cast<std::uint32_t>(p + 1 - begin));
    }
    files_.push_back(std::move(file));
    return &files_.back();
}

int WyrGrepSourceLines::GetLine(const DovTxtPosn& at, VString& line, VString& message) {
    const File* file = FileOf(at.FileIndex());
    if (!file) {
        message = DovFormat("SrcPrintText: cannot open file '%s'", FileNameOf(at.FileIndex()).CStr());
        return kReadFailed;
    }
    // Line 0 stands before the first line: it is empty.
    if (at.Line() == 0) {
        line = VString();
        return 0;
    }
    if (at.Line() > file->line_starts.size()) {
        const DovTxtPosn start(at.Line(), 0, at.FileIndex());
        message = DovFormat("EOF encountered while reading source file: %s", DovTxtPosnStr(start).CStr());
        return kReadFailed;
    }
    // The line ends at the line feed before the next line, or with the file.
    const char* const bytes = file->bytes.data();
    const char* p = bytes + file->line_starts[at.Line() - 1];
    const char* const stop =
        at.Line() < file->line_starts.size() ? bytes + file->line_starts[at.Line()] - 1 : bytes + file->bytes.size();
    // Most lines hold neither carriage returns nor Ctrl-Z: their first 80
    // characters are the line.
    const std::size_t span = std::min<std::size_t>(static_cast<std::size_t>(stop - p), kMaxLineLen);
    if (!std::memchr(p, '\r', span) && !std::memchr(p, kCtrlZ, span)) {
        line = VString(p, static_cast<int>(span));
        return 0;
    }
    char text[kMaxLineLen];
    int len = 0;
    for (; p != stop && len < kMaxLineLen; ++p)
        if (*p != '\r' && *p != kCtrlZ) text[len++] = *p;
    line = VString(text, len);
    return 0;
}
