#include "transform/grep/source_lines.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "lbase/message.h"
#include "lexer/src_file.h"

namespace {

constexpr int kReadFailed = '5';
constexpr std::size_t kMaxLineLen = kDovMaxSrcLine;
constexpr std::size_t kWindow = std::size_t{1} << 16;

// Reads up to one window of `buf`, from where its reading stands, into
// `window`; the count read goes to `len`. A file that opens but cannot be
// read (a folder) throws, as it does for the source-file reader.
void ReadWindow(std::filebuf& buf, char* window, std::size_t& len) {
    const std::streamsize got = buf.sgetn(window, static_cast<std::streamsize>(kWindow));
    len = static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
}

}  // namespace

WyrGrepSourceLines::File* WyrGrepSourceLines::FileOf(std::uint32_t index) {
    // A program and its copy books: a handful of files, most recent last.
    for (auto it = files_.rbegin(); it != files_.rend(); ++it)
        if ((*it)->index == index) return it->get();

    auto file = std::make_unique<File>();
    file->index = index;
    if (!file->buf.open(DovSrcFileOpenName(index).CStr(), std::ios::in | std::ios::binary)) return nullptr;
    // Line starts past what 32 bits hold are not noted: those lines read as
    // past the end.
    constexpr std::uint64_t kMaxStart = std::numeric_limits<std::uint32_t>::max();
    file->window = std::make_unique_for_overwrite<char[]>(kWindow);
    file->line_starts.push_back(0);
    auto note = [&file](std::uint64_t start) {
        if (start <= kMaxStart) file->line_starts.push_back(static_cast<std::uint32_t>(start));
    };
    // A line ends with a line feed, CR LF or a carriage return alone, as the
    // lexer reads it; a carriage return that ends a window is decided by the
    // window after it.
    bool crLast = false;
    for (;;) {
        ReadWindow(file->buf, file->window.get(), file->window_len);
        if (file->window_len == 0) break;
        file->window_at = file->size;
        const char* const begin = file->window.get();
        const char* const end = begin + file->window_len;
        // The first line starts after a byte-order mark, as the lexer reads it.
        if (file->size == 0 && file->window_len >= kDovByteOrderMarkLen && DovIsByteOrderMark(begin))
            file->line_starts[0] = kDovByteOrderMarkLen;
        if (crLast && *begin != '\n') note(file->size);
        crLast = false;
        for (const char* p = begin; p < end;) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* stop = lf ? lf : end;
            if (const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)))) {
                if (cr + 1 == end)
                    crLast = true;
                else if (cr[1] != '\n')
                    note(file->size + static_cast<std::uint64_t>(cr + 1 - begin));
                p = cr + 1;
                continue;
            }
            if (!lf) break;
            note(file->size + static_cast<std::uint64_t>(lf + 1 - begin));
            p = lf + 1;
        }
        file->size += file->window_len;
    }
    if (crLast) note(file->size);
    files_.push_back(std::move(file));
    return files_.back().get();
}

const char* WyrGrepSourceLines::BytesAt(File& file, std::uint64_t at, std::size_t want, std::size_t& got) {
    if (at < file.window_at || at + want > file.window_at + file.window_len) {
        // The window moves to start at `at`: matches come mostly in source
        // order, so the lines after it are the ones asked for next.
        file.window_len = 0;
        file.window_at = at;
        if (file.buf.pubseekpos(static_cast<std::streamoff>(at), std::ios::in) ==
            std::streampos(std::streamoff(-1)))
            return got = 0, file.window.get();
        ReadWindow(file.buf, file.window.get(), file.window_len);
    }
    const std::size_t offset = static_cast<std::size_t>(at - file.window_at);
    got = std::min(want, file.window_len - offset);
    return file.window.get() + offset;
}

int WyrGrepSourceLines::GetLine(const DovTxtPosn& at, VString& line, VString& message) {
    File* file = FileOf(at.FileIndex());
    if (!file) {
        message = DovSrcOpenFailedMessage(at.FileIndex());
        return kReadFailed;
    }
    // Line 0 stands before the first line: it is empty.
    if (at.Line() == 0) {
        line = VString();
        return 0;
    }
    if (at.Line() > file->line_starts.size()) {
        message = DovSrcPastEndMessage(DovTxtPosn(at.Line(), 0, at.FileIndex()));
        return kReadFailed;
    }
    // The line ends at the line feed before the next line, or with the file.
    std::uint64_t pos = file->line_starts[at.Line() - 1];
    const std::uint64_t stop = at.Line() < file->line_starts.size() ? file->line_starts[at.Line()] - 1 : file->size;
    // Most lines hold neither carriage returns nor Ctrl-Z (a line feed ends
    // the span): their first 80 characters are the line.
    std::size_t got = 0;
    const char* p = BytesAt(*file, pos, static_cast<std::size_t>(std::min<std::uint64_t>(stop - pos, kMaxLineLen)), got);
    if (std::all_of(p, p + got, [](char c) { return DovSrcLineKeeps(static_cast<unsigned char>(c)); })) {
        line = VString(p, static_cast<int>(got));
        return 0;
    }
    // Otherwise the line is taken a window at a time, leaving those out; a
    // file that has become shorter ends the line where it ends now.
    char text[kMaxLineLen];
    std::size_t len = 0;
    while (pos < stop && len < kMaxLineLen) {
        p = BytesAt(*file, pos, static_cast<std::size_t>(std::min<std::uint64_t>(stop - pos, kWindow)), got);
        if (got == 0) break;
        for (const char* q = p; q != p + got && len < kMaxLineLen; ++q)
            if (DovSrcLineKeeps(static_cast<unsigned char>(*q))) text[len++] = *q;
        pos += got;
    }
    line = VString(text, static_cast<int>(len));
    return 0;
}
