// Reading the query of the grep from a query file: the file argument,
// the whole-file reader, the reader of named sections, and the printable
// forms of a query in the compile-error messages.
//
// Both readers take lines and blocks of any length up to the given limit;
// past it they say so instead of cutting the text, so that a query is never
// run other than it was written.
#include <istream>
#include <string>

#include "lbase/strutil.h"
#include "transform/grep/grep.h"

namespace {

// How one read of characters up to a delimiter ended.
enum class Got {
    kDelim,    // the delimiter was met (and consumed)
    kEnd,      // the end of the input (or a read error) came first
    kTooLong,  // more than `limit` characters before the delimiter
};

// The characters up to `delim` into `out` (the delimiter is consumed, not
// stored).
Got ReadUpTo(std::istream& is, char delim, std::string& out, std::uint32_t limit) {
    out.clear();
    std::streambuf* sb = is.rdbuf();
    if (!sb || !is.good()) {
        is.setstate(std::ios::eofbit);
        return Got::kEnd;
    }
    const int stop = static_cast<unsigned char>(delim);
    for (;;) {
        const int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            is.setstate(std::ios::eofbit);
            return Got::kEnd;
        }
        if (c == stop) return Got::kDelim;
        if (out.size() >= limit) return Got::kTooLong;
        out.push_back(static_cast<char>(c));
    }
}

bool IsCommentStart(const std::string& text) { return !text.empty() && (text[0] == '#' || text[0] == '*'); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without blanks, tabs, carriage returns and line feeds at its ends.
std::string Trimmed(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(DovCharToUpper(static_cast<unsigned char>(c)));
    return text;
}

// The next line that is no comment line. `ended` tells that the read met the
// end of the file; a comment line met there gives an empty line.
Got NextLine(std::istream& is, std::string& line, bool& ended, std::uint32_t limit) {
    for (;;) {
        const Got got = ReadUpTo(is, '\n', line, limit);
        if (got == Got::kTooLong) return got;
        ended = got == Got::kEnd;
        if (!IsCommentStart(line)) return got;
        if (ended) {
            line.clear();
            return got;
        }
    }
}

// True for a header line ("QUERY" first, in any case, after the blanks);
// `name` gets the rest, trimmed and upper-cased.
bool HeaderName(const std::string& line, std::string& name) {
    const std::string text = Trimmed(line);
    if (text.size() < 5) return false;
    if (Upper(text.substr(0, 5)) != "QUERY") return false;
    name = Upper(Trimmed(text.substr(5)));
    return true;
}

}  // namespace

void WyrGrepSplitQueryFile(const VString& qf, VString& file, VString& name) {
    file = qf;
    name = VString();
    const int c = qf.IndexOf(':');
    if (c < 0 || c == 0) return;
    if (c == 1) {
        // A drive letter and its colon: the query name follows a second one.
        const VString rest = qf.SubStr(2, qf.Len() - 2);
        const int d = rest.IndexOf(':');
        if (d < 0) return;
        file = qf.SubStr(0, d + 2);
        name = qf.SubStr(d + 3, qf.Len() - (d + 3)).ToUpper();
        return;
    }
    file = qf.SubStr(0, c);
    name = qf.SubStr(c + 1, qf.Len() - (c + 1)).ToUpper();
}

WyrGrepReadResult WyrGrepReadWholeQuery(std::istream& is, VString& text, std::uint32_t limit) {
    std::string block;
    for (;;) {
        const Got got = ReadUpTo(is, '\0', block, limit);
        if (got == Got::kTooLong) return WyrGrepReadResult::kTooLong;
        // A comment block gives way to the next one while there is one.
        if (!IsCommentStart(block) || got == Got::kEnd) break;
    }
    text = VString(block.data(), static_cast<int>(block.size()));
    return WyrGrepReadResult::kOk;
}

WyrGrepReadResult WyrGrepReadNamedQuery(std::istream& is, const VString& name, VString& text, std::uint32_t limit) {
    const std::string wanted(name.CStr(), static_cast<std::size_t>(name.Len()));
    std::string line, header;
    bool ended = false;
    bool held = false;  // `line` is a header that ended a section
    bool found = false;
    std::string body;
    for (;;) {
        if (!held) {
            if (NextLine(is, line, ended, limit) == Got::kTooLong) return WyrGrepReadResult::kTooLong;
            // A header met at the very end of the file starts nothing.
            if (ended) break;
        }
        held = false;
        if (!HeaderName(line, header) || header != wanted) continue;

        // The section: its lines trimmed, each followed by a line feed, the
        // whole trimmed at the end. Lines are trimmed one by one, so the
        // whole loses only the leading line feeds of empty lines and the
        // trailing ones; those are held back as a count, never stored.
        found = true;
        body.clear();
        std::size_t feeds = 0;
        for (;;) {
            if (NextLine(is, line, ended, limit) == Got::kTooLong) return WyrGrepReadResult::kTooLong;
            if (HeaderName(line, header)) {
                held = true;
                break;
            }
            const std::string part = Trimmed(line);
            if (part.empty()) {
                ++feeds;
            } else {
                if (body.empty()) feeds = 0;
                if (body.size() + feeds + part.size() > limit) return WyrGrepReadResult::kTooLong;
                body.append(feeds, '\n');
                body += part;
                feeds = 1;
            }
            if (ended) break;
        }
        text = VString(body.data(), static_cast<int>(body.size()));
        if (!held && ended) break;
    }
    return found ? WyrGrepReadResult::kOk : WyrGrepReadResult::kNotFound;
}

std::string WyrGrepCaretPicture(const VString& query, int column) {
    std::string picture, text, marks;
    const int len = query.Len();
    picture.reserve(static_cast<std::size_t>(len) * 2 + 4);
    for (int i = 0; i < len; ++i) {
        const char c = query[i];
        if (c == '\n') {
            picture += text;
            picture += '\n';
            picture += marks;
            picture += '\n';
            text.clear();
            marks.clear();
            continue;
        }
        text += c == '\t' ? ' ' : c;
        marks += i == column ? '^' : '-';
    }
    if (column >= len) marks += '^';
    picture += text;
    picture += '\n';
    picture += marks;
    picture += '\n';
    return picture;
}

VString WyrGrepPrintable(const VString& text) {
    // The escaper stops at a NUL, so the text goes to it in NUL-free pieces
    // and each NUL is written as it would write the byte 0.
    std::string out;
    int start = 0;
    const int len = text.Len();
    for (int i = 0; i <= len; ++i) {
        if (i < len && text[i] != '\0') continue;
        if (i > start) {
            const std::string piece(text.Ptr() + start, static_cast<std::size_t>(i - start));
            const VString escaped = DovEscapeString(piece.c_str());
            out.append(escaped.CStr(), static_cast<std::size_t>(escaped.Len()));
        }
        if (i < len) out += "\\0x 0";
        start = i + 1;
    }
    return VString(out.data(), static_cast<int>(out.size()));
}
