// Separators, literals and raw words: the separator layer recognises
// separators, whole nonnumeric literals and floating comments over the
// character items; the raw-word layer gathers characters into words; the
// space-collapsing layer hangs runs of blanks on the next word. Each layer
// moves what it consumes into the kept list of the item it returns, so no
// comment or blank is lost.
#include <cstring>
#include <string>

#include "lexer/lexer_object.h"

namespace {

constexpr int kLastLiteralColumn = 72;

bool IsQuote(int c) { return c == '\'' || c == '"'; }

bool IsLiteralPrefix(int c) {
    switch (c) {
        case 'B': case 'b': case 'G': case 'g': case 'H': case 'h': case 'N': case 'n': case 'X': case 'x':
            return true;
        default:
            return false;
    }
}

DovTxtPosn LineColumn(const DovInputFile* in, int column) {
    return DovTxtPosn(in->posn.Line(), static_cast<std::uint32_t>(column), in->posn.FileIndex());
}

// DovToken::IsSeparator's test, in line for the word loop.
bool IsSeparatorCode(int code) {
    return (code >= SEP_UNINLINED_COPY && code <= SEP_REPLACE) || (code >= SEP_LEFT_PAR && code <= SEP_EOF) ||
           code == TK_NONNUM_LIT;
}

// DovCharToUpper's rule: only a-z change.
constexpr int AsciiUpper(int c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// How the separator layer takes a character of a line inside a word: 0 it
// ends the word or needs the layers' own way ('*' and '%' may open a comment
// in some dialects), 1 a character of the word by itself, 2 a literal prefix
// letter, a character of the word unless a quote follows it.
struct WordCharTable {
    unsigned char kind[256];
    char upper[256];
    constexpr WordCharTable() : kind(), upper() {
        for (int c = 0; c < 256; ++c) {
            kind[c] = 1;
            upper[c] = static_cast<char>(AsciiUpper(c));
        }
        for (const char* p = " '\",.;&():=*%"; *p; ++p) kind[static_cast<unsigned char>(*p)] = 0;
        kind[0] = 0;
        for (const char* p = "BbGgHhNnXx"; *p; ++p) kind[static_cast<unsigned char>(*p)] = 2;
    }
};
constexpr WordCharTable kWordChars;

// The characters of a word from index `i` of the line on that the separator
// layer hands up without looking further than the next character; returns
// the index after them. At most `room` characters go into `out`, upper-cased
// unless `keepCase`.
int TakePlainWordChars(const DovInputFile* in, int i, char* out, int& size, int room, bool keepCase) {
    const char* line = in->line;
    const int n = in->lineLen;
    const int stop = n - i < room - size ? n : i + (room - size);
    char* o = out + size;
    while (i < stop) {
        const int c = static_cast<unsigned char>(line[i]);
        const int kind = kWordChars.kind[c];
        if (kind != 1 && (kind == 0 || i + 1 >= n || IsQuote(static_cast<unsigned char>(line[i + 1])))) break;
        *o++ = keepCase ? static_cast<char>(c) : kWordChars.upper[c];
        ++i;
    }
    size = static_cast<int>(o - out);
    return i;
}

}  // namespace

// Reads a nonnumeric literal. `lit` is the item that becomes the literal: the
// opening delimiter, or the prefix letter with `delim` its delimiter.
DovTokenItem* DovLexer::ReadLiteral(DovTokenItem* lit, int prefix, DovTokenItem* delimItem) {
    const bool prefixed = prefix != 0;
    const int limit = prefixed ? kDovMaxPrefixedLiteral : kDovMaxNonnumLiteral;
    // Only the digit forms have a case of their own; national and DBCS
    // contents stay as written.
    const bool upper = prefix == 'X' || prefix == 'H' || prefix == 'B';
    DovToken* tok = lit->token;
    std::string text;
    int delim;
    DovTxtPosn last;  // the last character taken into the literal
    if (prefixed) {
        delim = delimItem->token->code;
        text += static_cast<char>(prefix);
        text += static_cast<char>(delim);
        last = delimItem->token->Beg();
        tok->range.end = delimItem->token->End();
        lit->list.AppendItemDropToken(delimItem);
    } else {
        delim = tok->code;
        text += static_cast<char>(delim);
        last = tok->Beg();
    }
    openLiteralDelim = delim;

    int stored = 0;  // characters of the value
    bool reported = false;
    auto tooLong = [&]() {
        if (stored < limit) return false;
        if (!reported) {
            Report(MSG_ERR, tok->Beg(),
                   DovFormat("Nonnumeric literal is longer than %d bytes: %s", limit, text.c_str()));
            reported = true;
        }
        return true;
    };
    auto take = [&](DovTokenItem* item) {
        last = item->token->Beg();
        tok->range.end = item->token->End();
        lit->list.AppendItemDropToken(item);
    };

    for (;;) {
        // The characters of the value on the same line come straight from
        // the line, as the character layer would hand them out (no push-back,
        // no waiting comment, no trace); a delimiter and a new line take the
        // way below.
        // The run up to the delimiter or the line's end goes over at once;
        // the first character of a continuation line takes the way below.
        if (DovInputFile* in = current; in && !in->pushBack && pendingComments.IsEmpty() && !(traceFlags & 0x20) &&
                                        in->readIndex < in->lineLen && in->posn.Line() == last.Line()) {
            const int start = in->readIndex;
            const char* from = in->line + start;
            const void* stop = std::memchr(from, delim, static_cast<std::size_t>(in->lineLen - start));
            const int end = stop ? static_cast<int>(static_cast<const char*>(stop) - in->line) : in->lineLen;
            if (end > start) {
                const int run = end - start;
                const int room = limit - stored > 0 ? limit - stored : 0;
                const int taken = run < room ? run : room;
                if (upper)
                    for (int k = 0; k < taken; ++k) text += static_cast<char>(AsciiUpper(static_cast<unsigned char>(from[k])));
                else
                    text.append(from, static_cast<std::size_t>(taken));
                stored += taken;
                if (taken < run) tooLong();  // reported once, with the value as far as it is kept
                last = LineColumn(in, end - 1);
                in->readIndex = end;
                tok->range.end = LineColumn(in, end);
            }
        }
        DovTokenItem* next = GetCharAB();
        int c = next->token->code;
        if (c == SEP_EOF) {
            Report(MSG_ERR, next->token->Beg(),
                   prefixed ? "End-of-file in hexadecimal literal" : "End-of-file in non-numeric literal");
            text += static_cast<char>(delim);
            UnGetCharAB(next);
            break;
        }
        if (c > 255) {
            // A line break that is no proper continuation.
            if (Has(DIAL_WANG) && c == SEP_SPACE) {
                // The literal goes on at the next delimiter.
                lit->list.AppendItemDropToken(next);
                bool atEnd = false;
                for (;;) {
                    DovTokenItem* skip = GetCharAB();
                    if (skip->token->code == SEP_EOF) {
                        Report(MSG_ERR, skip->token->Beg(),
                               prefixed ? "End-of-file in hexadecimal literal" : "End-of-file in non-numeric literal");
                        text += static_cast<char>(delim);
                        UnGetCharAB(skip);
                        atEnd = true;
                        break;
                    }
                    const bool found = skip->token->code == delim;
                    take(skip);
                    if (found) break;
                }
                if (atEnd) break;
                continue;
            }
            text += static_cast<char>(delim);
            Report(MSG_ERR, tok->Beg(),
                   DovFormat(prefixed ? "Hexadecimal literal continues on the next line illegaly: %s"
                                      : "Nonnumeric literal continues on the next line illegaly: %s",
                             text.c_str()));
            UnGetCharAB(next);
            break;
        }

        const DovTxtPosn at = next->token->Beg();
        if (at.Line() != last.Line()) {
            // Continued: the line before counts as written up to column 72,
            // and the continuation's own delimiter is no part of the value.
            for (int column = static_cast<int>(last.Column()) + 1; column < kLastLiteralColumn; ++column) {
                if (tooLong()) break;
                text += ' ';
                ++stored;
            }
            if (c == delim) {
                take(next);
                continue;
            }
        }
        if (c == delim) {
            text += static_cast<char>(delim);
            take(next);
            DovTokenItem* after = GetCharAB();
            if (after->token->code != delim ||
                (after->token->Beg().Line() != at.Line() && (Has(DIAL_OSVS) || Has(DIAL_VSII)))) {
                UnGetCharAB(after);
                break;
            }
            // A doubled delimiter stands for one character of the value.
            if (tooLong()) {
                text.pop_back();
                take(after);
                continue;
            }
            text += static_cast<char>(delim);
            ++stored;
            take(after);
            continue;
        }
        if (!tooLong()) {
            text += static_cast<char>(upper ? DovCharToUpper(c) : c);
            ++stored;
        }
        take(next);
    }
    openLiteralDelim = 0;
    tok->code = TK_NONNUM_LIT;
    tok->image = VString(text.data(), static_cast<int>(text.size()));
    return lit;
}

// A floating comment: the mark and the rest of the line become a comment
// token kept in front of the item that follows the line.
DovTokenItem* DovLexer::FloatingComment(DovTokenItem* first, const char* mark) {
    DovInputFile* in = current;
    VString image(mark);
    DovTxtPosn end = first->token->End();
    if (in && in->readIndex < in->lineLen) {
        // The mark ends in a blank of its own; the rest of the line follows
        // as it stands, its blanks included.
        const int from = in->readIndex;
        image += VString(in->line + from, in->lineLen - from);
        end = DovTxtPosn(in->posn.Line(), static_cast<std::uint32_t>(in->lineLen), in->posn.FileIndex());
        in->readIndex = in->lineLen;
    }
    DovTokenList kept;
    kept.AppendList(first->list);
    auto* comment = new DovToken(CM_COMMENT, image, DovTxtPosnRange{first->token->Beg(), end});
    kept.AppendToken(comment);
    delete first;
    DovTokenItem* next = GetCharAB();
    next->list.PrependList(kept);
    return next;
}

void DovLexer::BlankRun(DovTokenItem* item) {
    DovToken* tok = item->token;
    for (;;) {
        // Blanks further on the same line join the run straight from the
        // line: the character layer would hand out nothing else for them.
        if (DovInputFile* in = current; in && !in->pushBack && pendingComments.IsEmpty() && !(traceFlags & 0x20)) {
            int i = in->readIndex;
            while (i < in->lineLen && in->line[i] == ' ') ++i;
            if (i != in->readIndex) {
                in->readIndex = i;
                tok->range.end = LineColumn(in, i);
            }
            // Another character on the line ends the run; it stays where it
            // is for the next read, as if read and put back.
            if (in->readIndex < in->lineLen) return;
        }
        DovTokenItem* next = GetCharAB();
        if (next->token->code != ' ' && next->token->code != SEP_SPACE) {
            UnGetCharAB(next);
            return;
        }
        tok->range.end = next->token->End();
        item->list.AppendItemDropToken(next);
    }
}

DovTokenItem* DovLexer::GetSepOrChar() {
    if (current)
        if (DovTokenItem* item = TakeSlot(current->sepPushBack)) return item;
    DovTokenItem* item = GetCharAB();
    for (;;) {
        DovToken* tok = item->token;
        const int c = tok->code;
        if (c == ' ' || c == SEP_SPACE) {
            tok->code = SEP_SPACE;
            BlankRun(item);
            break;
        }
        if (c > 255) break;  // COPY markers and SEP_EOF pass
        if (IsQuote(c)) {
            item = ReadLiteral(item, 0, nullptr);
            break;
        }
        if (kWordChars.kind[c] == 2) {  // a literal prefix letter
            DovTokenItem* next = GetCharAB();
            if (IsQuote(next->token->code)) {
                item = ReadLiteral(item, DovCharToUpper(c), next);
                break;
            }
            UnGetCharAB(next);
        } else if (c == '*' && (Has(DIAL_MF) || Has(DIAL_MS) || Has(DIAL_FSC))) {
            DovTokenItem* next = GetCharAB();
            if (next->token->code == '>') {
                // What '>' kept (comment lines before a continuation line
                // that starts with it) goes on with the comment, and the
                // comment covers the '>' also when no text follows it.
                tok->range.end = next->token->End();
                item->list.AppendItemDropToken(next);
                item = FloatingComment(item, "*> ");
                continue;  // the item after the comment, with the comment in front
            }
            UnGetCharAB(next);
        } else if (c == '%' && Has(DIAL_WANG)) {
            item = FloatingComment(item, "*% ");
            continue;
        }
        switch (c) {
            case ',': SetCodeIfSepFollows(tok, SEP_COMMA); break;
            case '.': SetCodeIfSepFollows(tok, SEP_DOT); break;
            case ';': SetCodeIfSepFollows(tok, SEP_SEMI); break;
            case '&': tok->code = SEP_AMPER; break;
            case '(': tok->code = SEP_LEFT_PAR; break;
            case ')': tok->code = SEP_RIGHT_PAR; break;
            case ':': tok->code = SEP_COLON; break;
            case '=': {
                DovTokenItem* next = GetCharAB();
                if (next->token->code == '=') {
                    tok->code = SEP_EQEQ;
                    tok->range.end = next->token->End();
                    item->list.AppendItemDropToken(next);
                } else {
                    UnGetCharAB(next);
                }
                break;
            }
            default:
                if (!(execState && Has(DIAL_NET))) tok->code = static_cast<std::int16_t>(AsciiUpper(c));
                break;
        }
        break;
    }
    Trace(0x20, "GetSepOrChar: ", item);
    return item;
}

DovTokenItem* DovLexer::GetRawTextWord() {
    DovTokenItem* item = GetSepOrChar();
    DovToken* tok = item->token;
    if (IsSeparatorCode(tok->code)) return item;
    if (tok->code > 255 || tok->code <= 0) {
        Report(MSG_SEVERE, tok->Beg(), "DovLexer::GetRawTextWord: got bad char from GetSepOrChar()");
        return item;
    }
    // At most kDovMaxRawWord characters are kept; the word is built on the
    // stack.
    char text[kDovMaxRawWord + 1];
    text[0] = static_cast<char>(tok->code);
    return RawWordRest(item, text, 1);
}

DovTokenItem* DovLexer::RawWordRest(DovTokenItem* item, char* text, int size) {
    DovToken* tok = item->token;
    bool reported = false;
    const bool keepCase = execState && Has(DIAL_NET);
    for (;;) {
        // The ordinary characters further on the same line go into the word
        // straight from the line, as the two layers below would hand them up
        // (no push-back, no waiting comment, no trace).
        if (DovInputFile* in = current; in && !in->sepPushBack && !in->pushBack && pendingComments.IsEmpty() &&
                                        !(traceFlags & 0x20)) {
            const int i = TakePlainWordChars(in, in->readIndex, text, size, kDovMaxRawWord, keepCase);
            if (i != in->readIndex) {
                in->readIndex = i;
                tok->range.end = LineColumn(in, i);
            }
        }
        DovTokenItem* next = GetSepOrChar();
        const int c = next->token->code;
        if (IsSeparatorCode(c) || c > 255 || c <= 0) {
            UnGetSepOrChar(next);
            break;
        }
        if (size < kDovMaxRawWord) {
            text[size++] = static_cast<char>(c);
        } else if (!reported) {
            text[size] = '\0';
            Report(MSG_ERR, tok->Beg(), DovFormat("GetRawTextWord: text-word '%s...' is too long. Truncated", text));
            reported = true;
        }
        tok->range.end = next->token->End();
        item->list.AppendItemDropToken(next);
    }
    tok->code = TK_CHAR_STRING;
    tok->image = VString(text, size);
    return item;
}

DovTokenItem* DovLexer::GetSpaceCollapsedRawTextWord() {
    if (!collapsedStack.empty()) {
        DovTokenItem* item = collapsedStack.back();
        collapsedStack.pop_back();
        return item;
    }
    DovTokenList blanks;
    for (;;) {
        DovTokenItem* word = GetRawTextWord();
        const int c = word->token->code;
        // Inside EXEC the commas and semicolons are words of their own (SQL
        // lists); elsewhere they are blanks unless a phrase replaces them.
        if (c == SEP_SPACE || ((c == SEP_COMMA || c == SEP_SEMI) && !execState && !PhraseReplaces(c))) {
            blanks.AppendItem(word);
            continue;
        }
        if (!blanks.IsEmpty()) word->list.PrependList(blanks);
        return word;
    }
}

void DovLexer::UnGetSpaceCollapsedRawTextWord(DovTokenItem* item) {
    if (!item) return;
    Trace(0x10, "UnGetSpaceCollapsedRawTextWord: ", item);
    collapsedStack.push_back(item);
}

DovTokenItem* DovLexer::LineWord() {
    DovInputFile* in = current;
    if (!lineWords || !in || !pendingComments.IsEmpty() || (traceFlags & 0x20) || !collapsedStack.empty())
        return nullptr;
    if (!in->sepPushBack) {
        // A blank run comes first: the separator layer makes it as it
        // would for the space-collapsing layer, from the line break waiting
        // in the character slot or from the blank where the line stands,
        // and it waits in the separator slot as if read and put back.
        DovTokenItem* run = nullptr;
        if (in->pushBack && in->pushBack->token->code == SEP_SPACE) {
            run = TakeSlot(in->pushBack);
        } else if (!in->pushBack && in->readIndex < in->lineLen && in->line[in->readIndex] == ' ') {
            const int at = in->readIndex++;
            run = NewItem(SEP_SPACE, LineColumn(in, at), LineColumn(in, at + 1));
        }
        if (run) {
            BlankRun(run);
            in->sepPushBack = run;
        }
    }
    if (in->pushBack) return nullptr;
    DovTokenItem* blank = in->sepPushBack;
    if (blank && blank->token->code != SEP_SPACE) return nullptr;

    // The characters that the raw-word layer would take one by one, the
    // first one included; a first character of any other kind takes the
    // layers' own way.
    const char* line = in->line;
    const int n = in->lineLen;
    const int start = in->readIndex;
    char text[kDovMaxRawWord + 1];
    int len = 0;
    const int i = TakePlainWordChars(in, start, text, len, kDovMaxRawWord, execState && Has(DIAL_NET));
    if (len == 0) return nullptr;
    auto* token = new DovToken;
    token->range = DovTxtPosnRange{LineColumn(in, start), LineColumn(in, i)};
    auto* word = new DovTokenItem(token);
    if (blank) {
        in->sepPushBack = nullptr;
        word->list.AppendItem(blank);
    }
    ++lineWordsTaken;
    if (i < n && line[i] == ' ') {
        // A blank ends the word: the blank run after it waits in the
        // separator slot, as the raw-word layer leaves it.
        token->code = TK_CHAR_STRING;
        token->image = VString(text, len);
        in->readIndex = i + 1;
        DovTokenItem* after = NewItem(SEP_SPACE, LineColumn(in, i), LineColumn(in, i + 1));
        BlankRun(after);
        in->sepPushBack = after;
        return word;
    }
    // Anything else: the raw-word layer goes on from here.
    in->readIndex = i;
    return RawWordRest(word, text, len);
}

VString DovNonnumLiteralValue(DovMessageCallback message, const VString& image, const DovTxtPosn& posn) {
    const char* p = image.CStr();
    const int len = image.Len();
    int i = 0;
    if (len > 0 && IsLiteralPrefix(static_cast<unsigned char>(p[0]))) ++i;
    if (i >= len || !IsQuote(static_cast<unsigned char>(p[i]))) {
        if (message)
            message(MSG_SEVERE, posn,
                    DovFormat("DovNonnumLiteralValue: No starting delimiter at non-numeric literal %s", image.CStr()));
        return VString();
    }
    const char delim = p[i++];
    std::string value;
    bool closed = false;
    for (; i < len; ++i) {
        if (p[i] != delim) {
            value += p[i];
            continue;
        }
        if (i + 1 < len && p[i + 1] == delim) {
            value += delim;
            ++i;
            continue;
        }
        closed = i + 1 == len;
        break;
    }
    if (!closed && message)
        message(MSG_SEVERE, posn,
                DovFormat("DovNonnumLiteralValue: No ending delimiter at non-numeric literal %s", image.CStr()));
    return VString(value.data(), static_cast<int>(value.size()));
}
