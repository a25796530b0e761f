#include "lbase/tic.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>
#include <string>
#include <type_traits>

namespace {

// Reads [-]digits and the terminator. Arithmetic is unsigned so that an
// overlong number wraps instead of overflowing.
template <typename Int>
char ReadInt(std::istream& is, Int& value, bool allow_negative, char terminator, VString& message,
             const char* kind) {
    using U = std::make_unsigned_t<Int>;
    bool negative = false;
    if (is.peek() == '-') {
        is.get();
        negative = true;
    }
    U v = 0;
    int c;
    while ((c = is.get()) >= '0' && c <= '9') v = static_cast<U>(v * 10u + static_cast<U>(c - '0'));
    if (c == std::char_traits<char>::eof()) {
        c = -1;
        is.clear(is.rdstate() & ~std::ios::failbit);
    }
    if (c != static_cast<unsigned char>(terminator)) {
        // The end of input and a NUL byte show as a blank: the message must stay one C string.
        message = DovFormat("GetTicIntNo: bad char '%c'(%d) after %s number. '%c' expected", c <= 0 ? ' ' : c, c,
                            kind, terminator);
        if (negative) v = static_cast<U>(0u - v);
        value = static_cast<Int>(v);
        return TIC_BAD_INT;
    }
    if (negative) v = static_cast<U>(0u - v);
    value = static_cast<Int>(v);
    if (negative && !allow_negative) {
        message = DovFormat("GetTicIntNo: negative number %lld is not allowed", static_cast<long long>(value));
        return TIC_BAD_INT;
    }
    return TIC_OK;
}

}  // namespace

char GetTicIntNo(std::istream& is, int& value, bool allow_negative, char terminator, VString& message) {
    return ReadInt(is, value, allow_negative, terminator, message, "Int");
}

char GetTicIntNo(std::istream& is, long long& value, bool allow_negative, char terminator, VString& message) {
    return ReadInt(is, value, allow_negative, terminator, message, "Int64");
}

void VString::PutTicCounted(std::ostream& os) const {
    os << Size() << ':';
    os.write(CStr(), Size());
}

char VString::GetTicCounted(std::istream& is, VString& message) {
    *this = VString();
    int n = 0;
    if (char r = GetTicIntNo(is, n, false, ':', message)) return r;
    if (n == 0) return TIC_OK;
    // A length beyond 31 bits has wrapped to a negative number: it is
    // refused as a written minus sign is.
    if (n < 0) {
        message = DovFormat("GetTicIntNo: negative number %lld is not allowed", static_cast<long long>(n));
        return TIC_BAD_INT;
    }
    // Read in chunks: a corrupt length must not allocate more than the input
    // actually holds.
    std::string text;
    std::size_t want = static_cast<std::size_t>(n);
    char chunk[4096];
    while (text.size() < want) {
        std::size_t step = std::min(sizeof chunk, want - text.size());
        is.read(chunk, static_cast<std::streamsize>(step));
        std::size_t got = static_cast<std::size_t>(is.gcount());
        text.append(chunk, got);
        if (got < step) {
            message = "EOF or read error while reading TIC input stream";
            return is.bad() ? TIC_READ_ERROR : TIC_EOF;
        }
    }
    Assign(text.data(), text.size());
    return TIC_OK;
}

std::ostream& VString::PutTic(std::ostream& os, char delimiter) const {
    for (const char* p = CStr(); *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
            case '\b': os << "\\b"; continue;
            case '\t': os << "\\t"; continue;
            case '\n': os << "\\n"; continue;
            case '\f': os << "\\f"; continue;
            case '\r': os << "\\r"; continue;
            case '\\': os << "\\\\"; continue;
            default: break;
        }
        if (c == static_cast<unsigned char>(delimiter) || !std::isprint(c)) {
            char esc[5] = {'\\', static_cast<char>('0' + c / 100), static_cast<char>('0' + c / 10 % 10),
                           static_cast<char>('0' + c % 10), 0};
            os << esc;
        } else {
            os << static_cast<char>(c);
        }
    }
    return os << delimiter;
}

char VString::GetTic(std::istream& is, char delimiter, VString& message) {
    *this = VString();
    std::string buf;
    const int eof = std::char_traits<char>::eof();
    for (;;) {
        if (buf.size() >= kTicMaxDelimited + 1u) {
            message = DovFormat("VString::GetTic: max length reached while getting '%s'", buf.c_str());
            return TIC_TOO_LONG;
        }
        int c = is.get();
        if (c == eof || c == static_cast<unsigned char>(delimiter)) break;
        if (c == '\\') {
            int e = is.get();
            if (e >= '0' && e <= '9') {
                int d2 = is.get();
                int d3 = (d2 >= '0' && d2 <= '9') ? is.get() : eof;
                if (!(d2 >= '0' && d2 <= '9') || !(d3 >= '0' && d3 <= '9')) {
                    message = DovFormat("VString::GetTic: bad digits in '\\nnn' while getting '%s'", buf.c_str());
                    return TIC_BAD_FORMAT;
                }
                int v = (100 * (e - '0') + 10 * (d2 - '0') + (d3 - '0')) % 256;
                buf.push_back(static_cast<char>(v));
                continue;
            }
            switch (e) {
                case 'b': buf.push_back('\b'); break;
                case 't': buf.push_back('\t'); break;
                case 'n': buf.push_back('\n'); break;
                case 'f': buf.push_back('\f'); break;
                case 'r': buf.push_back('\r'); break;
                case eof: break;  // a lone backslash at the end of input
                default: buf.push_back(static_cast<char>(e));
            }
            if (e == eof) break;
            continue;
        }
        buf.push_back(static_cast<char>(c));
    }
    is.clear(is.rdstate() & ~std::ios::failbit);
    if (!buf.empty()) Assign(buf.data(), buf.size());
    return TIC_OK;
}
