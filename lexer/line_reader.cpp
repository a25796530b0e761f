// The line reader: physical lines of the current input level, normalised for
// the source format and sorted into ordinary lines, blank lines, comment
// lines (including the compiler-directing lines that the grammar does not
// parse) and -INC lines.
#include <cstring>
#include <string>

#include "lbase/strutil.h"
#include "lexer/lexer_object.h"
#include "lexer/src_file.h"

namespace {

constexpr int kCtrlZ = 26;
constexpr int kMaxFirstWord = 50;

bool IsBlank(char c) { return c == ' '; }

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// The first word of a line, upper-cased, as the line classification tests
// it: most lines are told apart by its length and first character before any
// comparison of the whole word.
struct FirstWord {
    const char* text;
    int len;
    template <std::size_t N>
    bool Is(const char (&name)[N]) const {
        return len == static_cast<int>(N - 1) && text[0] == name[0] && std::memcmp(text, name, N - 1) == 0;
    }
    template <std::size_t... N>
    bool IsOneOf(const char (&... names)[N]) const {
        return (Is(names) || ...);
    }
};

}  // namespace

// Reads one physical line into the level's buffer. Returns SEP_EOF when the
// file has ended with nothing read, else 0 with the line in the buffer.
int DovLexer::ReadPhysicalLine(DovInputFile* in) {
    const int limit = lineFormat == LINE_FORMAT_FIXED ? kDovFixedLineLimit : kDovLineBufferSize;
    char* buf = in->line;
    int len = 0;
    int nuls = 0;
    bool atEnd = false;

    // The line is taken in pieces: the part of it that stands in the
    // current chunk; a line that goes on past the chunk's end continues in
    // the next one. The characters go into the buffer as they come.
    for (;;) {
        if (in->chunkPos >= in->chunkLen && !in->streamDone) {
            if (!in->chunk) in->chunk = std::make_unique<char[]>(kDovReadChunk);
            std::streamsize got = 0;
            if (std::streambuf* sb = in->stream.rdbuf()) got = sb->sgetn(in->chunk.get(), kDovReadChunk);
            in->chunkPos = 0;
            in->chunkLen = got > 0 ? static_cast<int>(got) : 0;
            if (got <= 0) in->streamDone = true;
            // A UTF-8 byte-order mark in front of the first line is no text.
            if (!in->markChecked) {
                in->markChecked = true;
                if (in->chunkLen >= kDovByteOrderMarkLen && DovIsByteOrderMark(in->chunk.get()))
                    in->chunkPos = kDovByteOrderMarkLen;
            }
        }
        if (in->chunkPos >= in->chunkLen) {
            atEnd = true;  // no line break: everything read is text
            break;
        }
        if (in->afterCr) {
            // The line feed of a CR LF that the chunk before ended between.
            in->afterCr = false;
            if (in->chunk[in->chunkPos] == '\n') {
                ++in->chunkPos;
                continue;
            }
        }
        const char* p = in->chunk.get() + in->chunkPos;
        const char* const chunkEnd = in->chunk.get() + in->chunkLen;
        const char* e = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(chunkEnd - p)));
        bool more = e == nullptr;  // the line goes on in the next chunk
        if (more) e = chunkEnd;
        int skip = more ? 0 : 1;
        // A carriage return ends the line too, alone or with a line feed
        // after it.
        if (const char* r = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(e - p)))) {
            skip = r + 1 == e && !more ? 2 : 1;
            in->afterCr = r + 1 == chunkEnd;
            e = r;
            more = false;
        }
        in->chunkPos = static_cast<int>(e - in->chunk.get()) + skip;
        while (p < e) {
            if (len >= limit) {
                // The buffer is full: only the NULs of the rest still count.
                for (const char* z = p; (z = static_cast<const char*>(std::memchr(z, '\0', e - z))); ++z) ++nuls;
                break;
            }
            // Plain characters go over in one copy, up to a tab or a NUL.
            const char* q = static_cast<const char*>(std::memchr(p, '\t', e - p));
            if (!q) q = e;
            if (const char* z = static_cast<const char*>(std::memchr(p, '\0', q - p))) q = z;
            if (q > p) {
                const int n = static_cast<int>(q - p) < limit - len ? static_cast<int>(q - p) : limit - len;
                std::memcpy(buf + len, p, static_cast<std::size_t>(n));
                len += n;
            }
            if (q == e) break;
            if (*q == '\0') {
                ++nuls;
                if (len < limit) buf[len++] = ' ';
            } else {
                // A blank, then blanks up to the next multiple of 8.
                do {
                    if (len < limit) buf[len++] = ' ';
                } while (len % 8 != 0 && len < limit);
            }
            p = q + 1;
        }
        if (!more) break;
    }

    if (nuls > 0)
        Report(MSG_WARN, in->posn, DovFormat("Line has %d NULL (0x00) characters, we replace them with spaces", nuls));
    if (len > 0 && buf[len - 1] == kCtrlZ) --len;
    if (atEnd) {
        if (len == 0) {
            in->lineLen = 0;
            buf[0] = '\0';
            return SEP_EOF;
        }
        in->eofPending = 1;
    }
    in->lastLineEnd = len;
    // Trailing blanks go eight at a time while they can.
    static constexpr char kEightBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    while (len >= 8 && std::memcmp(buf + len - 8, kEightBlanks, 8) == 0) len -= 8;
    while (len > 0 && (IsBlank(buf[len - 1]) || buf[len - 1] == '\f')) --len;
    buf[len] = '\0';
    in->lineLen = len;
    return 0;
}

int DovLexer::GetLine() {
    DovInputFile* in = current;
    if (!in) return SEP_EOF;
    in->readIndex = 0;
    if (in->ended) {
        in->lineLen = 0;
        in->line[0] = '\0';
        return SEP_EOF;
    }
    if (in->eofPending) {
        in->eofPending = 0;
        in->ended = 1;
        in->lineLen = 0;
        in->line[0] = '\0';
        in->posn.SetColumn(static_cast<std::uint32_t>(in->lastLineEnd));
        return SEP_EOF;
    }

    in->posn.SetLine(in->posn.Line() + 1);
    in->posn.SetColumn(0);
    if (ReadPhysicalLine(in) == SEP_EOF) {
        // The end of the file stands at the end of its last line, not on a
        // line after it.
        in->posn.SetLine(in->posn.Line() - 1);
        in->posn.SetColumn(static_cast<std::uint32_t>(in->lastLineEnd));
        in->ended = 1;
        return SEP_EOF;
    }
    // Only lines that exist count, not the attempt that meets the end.
    ++linesRead;
    if (progress && progressInterval > 0 && in->posn.Line() % static_cast<std::uint32_t>(progressInterval) == 0)
        progress(in->posn, VString());
    return ClassifyLine(in);
}

// Turns the line into a comment: '*' in the indicator column; in the free
// format the line moves right by one to make room for it.
void DovLexer::MakeComment(DovInputFile* in) {
    if (lineFormat == LINE_FORMAT_FREE) {
        int len = in->lineLen < kDovLineBufferSize ? in->lineLen + 1 : kDovLineBufferSize;
        std::memmove(in->line + 1, in->line, len - 1);
        in->line[0] = '*';
        in->lineLen = len;
        in->line[len] = '\0';
    } else {
        in->line[6] = '*';
    }
}

int DovLexer::ClassifyLine(DovInputFile* in) {
    char* buf = in->line;
    int len = in->lineLen;
    const bool free = lineFormat == LINE_FORMAT_FREE;
    const int indicator = free ? 0 : 6;
    const int textStart = free ? 0 : 7;

    if (len > 4 && buf[0] == '-' && DovStrNCaseCompare(buf, "-INC ", 5) == 0) return CM_LIBR_INC;

    if (len >= 6 && buf[0] == '#' && std::strncmp(buf, "#FILE ", 6) == 0) {
        int i = 6;
        while (i < len && IsBlank(buf[i])) ++i;
        int start = i, end;
        if (i < len && buf[i] == '"') {
            start = ++i;
            while (i < len && buf[i] != '"') ++i;
            end = i;
        } else {
            while (i < len && !IsBlank(buf[i]) && buf[i] != '\t') ++i;
            end = i;
        }
        if (end > start) {
            // Positions of the following lines name this file.
            in->path = VString(buf + start, end - start);
            in->posn.SetFileIndex(static_cast<std::uint32_t>(DovSrcFileNames().FindOrAdd(in->path, false, true)));
        }
        return CM_COMMENT;
    }
    if (len >= 6 && buf[0] == '#' && std::strncmp(buf, "#LINE ", 6) == 0) {
        int i = 6;
        while (i < len && IsBlank(buf[i])) ++i;
        std::uint64_t n = 0;
        bool digits = false;
        for (; i < len && buf[i] >= '0' && buf[i] <= '9'; ++i) {
            digits = true;
            if (n < 0xffffffffull) n = n * 10 + static_cast<unsigned>(buf[i] - '0');
        }
        if (digits) {
            if (n > 0xffffffffull) n = 0xffffffffull;
            // The next line is line n; there is no line 0.
            in->posn.SetLine(n > 0 ? static_cast<std::uint32_t>(n - 1) : 0);
        }
        return CM_COMMENT;
    }

    if (free) {
        if (len == 0) return CM_BLANK_LINE;
        if (buf[0] == '*' || buf[0] == '/') return CM_COMMENT;
        if ((buf[0] == 'D' || buf[0] == 'd') && len > 1 && IsBlank(buf[1])) {
            if (!debuggingLines) return CM_COMMENT;
            buf[0] = ' ';
        }
    } else {
        if (len <= 6) return CM_BLANK_LINE;
        if ((buf[0] == '*' || buf[0] == '/') && !Has(DIAL_RM) && !Has(DIAL_RM85)) return CM_COMMENT;
        char ind = buf[indicator];
        if (ind == '*' || ind == '/') return CM_COMMENT;
        if (ind == 'D' || ind == 'd') {
            if (!debuggingLines) return CM_COMMENT;
            buf[indicator] = ' ';
        }
    }

    if (len == 10 && std::strncmp(buf, "END-OF-LIB", 10) == 0) {
        buf[0] = '*';
        return CM_COMMENT;
    }

    if (len - (indicator + 1) >= 3 && buf[textStart] == '@' && Has(DIAL_FSC)) return CM_COMMENT;

    // The first word.
    // The dialect tests come after the cheaper tests of the characters.
    auto dollarDialect = [this] { return Has(DIAL_MF) || Has(DIAL_MS); };
    int wordStart;
    if (len > indicator && buf[indicator] == '$' && dollarDialect()) {
        wordStart = indicator;
    } else {
        wordStart = textStart;
        while (wordStart < len && IsBlank(buf[wordStart])) ++wordStart;
    }
    int wordEnd = wordStart;
    while (wordEnd < len && static_cast<unsigned char>(buf[wordEnd]) > ' ') ++wordEnd;
    int wordLen = wordEnd - wordStart < kMaxFirstWord ? wordEnd - wordStart : kMaxFirstWord;
    char upper[kMaxFirstWord + 1];
    for (int i = 0; i < wordLen; ++i) {
        // DovCharToUpper's rule: only a-z change.
        const char c = buf[wordStart + i];
        upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    upper[wordLen] = '\0';
    const FirstWord word{upper, wordLen};

    if (wordLen > 0 && upper[0] == '$' && dollarDialect()) {
        // The directive moves left so that its '$' stands in the indicator
        // column.
        if (wordStart > indicator) {
            int shift = wordStart - indicator;
            std::memmove(buf + indicator, buf + wordStart, len - wordStart);
            std::memset(buf + len - shift, ' ', shift);
            wordEnd -= shift;
        }
        return DollarDirective(in, VString(upper, wordLen), wordEnd);
    }

    // Inside the skipped part of a $IF.
    if (ifDepth > 0 && ifStates[ifDepth - 1] != 3 && ifStates[ifDepth - 1] != 1) return CM_COMMENT;

    if (commentEntry) {
        bool ends = wordLen > 0 && wordStart < 11 &&
                    ((!Has(DIAL_OSVS) && !Has(DIAL_WANG)) ||
                     word.IsOneOf("PROGRAM-ID.", "ENVIRONMENT", "DATA", "PROCEDURE"));
        if (!ends) {
            MakeComment(in);
            return CM_COMMENT;
        }
        commentEntry = 0;
    }

    if (word.IsOneOf("AUTHOR.", "DATE", "DATE-COMPILED.", "DATE-WRITTEN.", "INSTALLATION.", "REMARKS.",
                     "SECURITY.")) {
        if (!free && (wordStart < 7 || wordStart > 10))
            Report(MSG_WARN, in->posn,
                   DovFormat("Identification division section header '%s' appears at position %d", upper, wordStart));
        commentEntry = 1;
        MakeComment(in);
        return CM_COMMENT;
    }

    // A compiler-directing word may stand with a separator period (EJECT.).
    const FirstWord directive{upper, wordLen > 1 && upper[wordLen - 1] == '.' ? wordLen - 1 : wordLen};
    auto ibm = [this] { return Has(DIAL_OSVS) || Has(DIAL_VSII) || Has(DIAL_SAA) || Has(DIAL_DOSVS); };
    if (optionsLinesAllowed && directive.IsOneOf("CBL", "PROCESS") && ibm()) return CM_COMMENT;
    if (directive.IsOneOf("*CONTROL", "*CBL") && ibm()) return CM_COMMENT;
    optionsLinesAllowed = 0;
    if (directive.IsOneOf("EJECT", "SKIP1", "SKIP2", "SKIP3") && (ibm() || Has(DIAL_MF))) return CM_COMMENT;
    if (directive.Is("TITLE") && (Has(DIAL_VSII) || Has(DIAL_SAA) || Has(DIAL_MF))) return CM_COMMENT;

    if (progidComments && word.Is("PROGRAM-ID.")) {
        int i = wordEnd;
        while (i < len && IsBlank(buf[i])) ++i;
        while (i < len && IsNameChar(buf[i])) ++i;
        if (i < len) {
            buf[i] = '.';
            in->lineLen = len = i + 1;
            buf[len] = '\0';
        }
    }
    return 0;
}
