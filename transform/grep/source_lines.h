// WyrGrepSourceLines: the source lines of the grep's matches. The first time
// a match needs a line of a source file, the file is read through once to
// note where its lines start; its lines are then read through a window of
// the file that moves with them, so that every further line, before or after
// the last one, is found without reading the file from its start again, and
// only the line starts (four bytes a line) and one window per file are held.
// The files stay open until Clear (the grep clears them for every new input
// file).
//
// A line is given as the source-file reader gives it: at most 80
// characters, without carriage returns, line feeds and Ctrl-Z, and with the
// reader's messages for a file that cannot be opened and a line past the
// end of the file.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

#include "lbase/txtposn.h"
#include "lbase/vstring.h"

class WyrGrepSourceLines {
public:
    // The line of `at` (its file index and line number; the column does not
    // count) into `line`: 0, or '5' with the reason in `message`.
    int GetLine(const DovTxtPosn& at, VString& line, VString& message);
    // Lets go of every file read.
    void Clear() { files_.clear(); }
    bool IsEmpty() const { return files_.empty(); }

private:
    struct File {
        std::uint32_t index = 0;
        std::filebuf buf;                        // open while the file is held
        std::uint64_t size = 0;                  // bytes when the starts were noted
        std::vector<std::uint32_t> line_starts;  // line n starts at [n - 1]
        std::unique_ptr<char[]> window;          // window_len bytes from window_at on
        std::size_t window_len = 0;
        std::uint64_t window_at = 0;
    };
    // The file of that index, read now if it is not yet; null when it
    // cannot be opened.
    File* FileOf(std::uint32_t index);
    // The bytes of `file` from `at` on, at least `want` of them (at most one
    // window) unless the file has fewer now: their count goes to `got`.
    static const char* BytesAt(File& file, std::uint64_t at, std::size_t want, std::size_t& got);

    std::vector<std::unique_ptr<File>> files_;
};
