// WyrGrepSourceLines: the source lines of the grep's matches. Each source
// file is read whole the first time a match needs one of its lines, and its
// line starts are noted, so that every further line of it, before or after
// the last one, is found without reading the file again. The files stay
// held until Clear (the grep clears them for every new input file).
//
// A line is given as the source-file reader gives it: at most 80
// characters, without carriage returns, line feeds and Ctrl-Z, and with the
// reader's messages for a file that cannot be opened and a line past the
// end of the file.
#pragma once

#include <cstdint>
#include <string>
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
        std::string bytes;
        std::vector<std::uint32_t> line_starts;  // line n starts at [n - 1]
    };
    // The file of that index, read now if it is not yet; null when it
    // cannot be opened.
    const File* FileOf(std::uint32_t index);

    std::vector<File> files_;
};
