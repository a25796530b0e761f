// DovSrcFile: reads source text back after parsing. Given a source position
// it opens the file that the position's file index names and moves to that
// line and column, counting columns as the line reader does (a TAB advances
// to the next multiple of 8).
#pragma once

#include <cstdint>
#include <fstream>

#include "lbase/txtposn.h"
#include "lbase/vstring.h"

// Trace flags of the source-file reader, shared with the pretty printer,
// which sets them at the start of each print: 0x20 positions and characters,
// 0x01 opening, closing and rewinding.
extern int DovSrcFileTraceFlags;

// What the readers of source lines share (this one and the grep's): the
// longest line they give, the characters a line keeps, the name they open
// for a file index and their two messages.
constexpr int kDovMaxSrcLine = 80;
// All but line feeds, carriage returns and Ctrl-Z.
inline bool DovSrcLineKeeps(int c) { return c != '\n' && c != '\r' && c != 26; }
// The UTF-8 byte-order mark that may stand in front of a file's first line:
// no text of the line.
inline constexpr char kDovByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kDovByteOrderMarkLen = 3;
inline bool DovIsByteOrderMark(const char* bytes) {
    return bytes[0] == kDovByteOrderMark[0] && bytes[1] == kDovByteOrderMark[1] && bytes[2] == kDovByteOrderMark[2];
}
// The file index's name in the source-file table; the empty name for an
// index the table does not hold (entry 0 is the placeholder name).
VString DovSrcFileOpenName(std::uint32_t index);
// "SrcPrintText: cannot open file '<name>'".
VString DovSrcOpenFailedMessage(std::uint32_t index);
// "EOF encountered while reading source file: <position>".
VString DovSrcPastEndMessage(const DovTxtPosn& target);

// What a source file has around its text, for text written back in its
// place: a byte-order mark in front, and its line end (that of its first
// line; a line feed for a file without one).
struct DovSrcLayout {
    bool byteOrderMark = false;
    const char* lineEnd = "\n";  // "\n", "\r\n" or "\r"
};
// The layout of the file at `path`; the defaults when it cannot be read.
DovSrcLayout DovSrcFileLayout(const char* path);

class DovSrcFile : public std::ifstream {
public:
    DovSrcFile() = default;
    // Refused: builds a closed reader and reports a terminal message through
    // the library's message hook.
    DovSrcFile(const DovSrcFile&);
    DovSrcFile& operator=(const DovSrcFile&) = delete;

    // Moves to `target`. 0 when the reader stands there, else '5' with the
    // reason in `message`. Reads forward within a file; an earlier position
    // rewinds it, another file index closes it and opens the other.
    int SetPosn(const DovTxtPosn& target, VString& message);

    // The next character (0..255), or -1 at the end of the file. A line end
    // (line feed, CR LF, or a carriage return alone) comes as one newline;
    // the position follows newlines and TABs. A byte-order mark in front of
    // the first line is skipped.
    int Getc();

    // The source line at `position`'s line (at most 80 characters, without
    // line-end characters and Ctrl-Z) into `line`; 0, or SetPosn's result.
    // Sets the column of `position` to 0.
    int GetSrcLine(DovTxtPosn& position, VString& line, VString& message);

    // Position of the next character that Getc returns.
    DovTxtPosn posn;

private:
    // At the start of the file: past a byte-order mark, if there is one.
    void SkipByteOrderMark();
};
