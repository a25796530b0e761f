#include "transform/grep/source_lines.h"

#include <fstream>

#include "lbase/message.h"

namespace {

constexpr int kReadFailed = '5';
constexpr int kMaxLineLen = 80;
constexpr char kCtrlZ = 26;

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

    std::ifstream in(FileNameOf(index).CStr(), std::ios::in | std::ios::binary);
    if (!in.is_open()) return nullptr;
    File file;
    file.index = index;
    // A file that opens but cannot be read (a directory) throws, as it
    // does for the source-file reader.
    char chunk[1 << 16];
    for (std::streamsize got; (got = in.rdbuf()->sgetn(chunk, sizeof chunk)) > 0;)
        file.bytes.append(chunk, static_cast<std::size_t>(got));
    file.line_starts.push_back(0);
    for (std::size_t i = 0; i < file.bytes.size(); ++i)
        if (file.bytes[i] == '\n') file.line_starts.push_back(static_cast<std::uint32_t>(i + 1));
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
    char text[kMaxLineLen];
    int len = 0;
    for (std::size_t i = file->line_starts[at.Line() - 1]; i < file->bytes.size() && len < kMaxLineLen; ++i) {
        const char c = file->bytes[i];
        if (c == '\n') break;
        if (c == '\r' || c == kCtrlZ) continue;
        text[len++] = c;
    }
    line = VString(text, len);
    return 0;
}
