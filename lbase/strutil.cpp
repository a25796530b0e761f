#include "lbase/strutil.h"

#include <array>
#include <cctype>
#include <limits>
#include <string>

#include "lbase/fast_ostream.h"

namespace {

bool IsSep(char c) { return c == '/' || c == '\\'; }

int LastDotOrSep(const VString& s) {
    for (int i = s.Len() - 1; i >= 0; --i)
        if (s[i] == '.' || IsSep(s[i])) return i;
    return -1;
}

int LastSep(const VString& s) {
    for (int i = s.Len() - 1; i >= 0; --i)
        if (IsSep(s[i])) return i;
    return -1;
}

int Fold(char c) { return static_cast<signed char>(DovCharToLower(static_cast<unsigned char>(c))); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr std::array<unsigned char, 256> InvertTable(const unsigned char (&t)[256]) {
    std::array<unsigned char, 256> inv{};
    for (int i = 0; i < 256; ++i) inv[t[i]] = static_cast<unsigned char>(i);
    return inv;
}

constexpr unsigned char kEbcdicToAscii[256] = {
#include "lbase/ebcdic_table.inc"
};

}  // namespace

const std::array<unsigned char, 256> DovEbcdicToAsciiTable = std::to_array(kEbcdicToAscii);
const std::array<unsigned char, 256> DovAsciiToEbcdicTable = InvertTable(kEbcdicToAscii);

void DovEbcdicToAscii(const VString& in, VString& out) {
    in.Translate(out, reinterpret_cast<const char*>(DovEbcdicToAsciiTable.data()));
}

void DovAsciiToEbcdic(const VString& in, VString& out) {
    in.Translate(out, reinterpret_cast<const char*>(DovAsciiToEbcdicTable.data()));
}

VString DovReplaceExtension(const VString& name, const VString& suffix) {
    int i = LastDotOrSep(name);
    VString stem = (i >= 0 && name[i] == '.') ? name.SubStr(0, i) : name;
    return stem + suffix;
}

VString DovExtension(const VString& name) {
    int i = LastDotOrSep(name);
    if (i >= 0 && name[i] == '.') return name.SubStr(i, 2048);
    return VString();
}

VString DovBaseName(const VString& path, bool with_extension) {
    int len = path.Len();
    int end = len;
    if (!with_extension) {
        for (int i = len - 1; i >= 0; --i)
            if (path[i] == '.') {
                end = i;
                break;
            }
    }
    int sep = LastSep(path);
    int start = sep < 0 ? 0 : (sep == len - 1 ? len : sep + 1);
    if (end < start) end = len;
    return path.SubStr(start, end - start);
}

VString DovDirName(const VString& path) {
    int sep = LastSep(path);
    if (sep <= 0) return VString();
    return path.SubStr(0, sep);
}

VString DovRemoveDotDot(const VString& path) {
    std::string s(path.CStr(), static_cast<std::size_t>(path.Len()));
    for (;;) {
        std::size_t i = 0;
        bool found = false;
        for (; i + 3 < s.size(); ++i) {
            if (IsSep(s[i]) && s[i + 1] == '.' && s[i + 2] == '.' && IsSep(s[i + 3])) {
                found = true;
                break;
            }
        }
        if (!found) break;
        std::size_t j = i;
        while (j > 0 && !IsSep(s[j - 1])) --j;
        s = s.substr(0, j) + s.substr(i + 4);
    }
    return VString(s.data(), static_cast<int>(s.size()));
}

VString DovEscapeString(const char* text) {
    if (!text || !*text) return VString();
    FastOstrstream os;
    static const char kHex[] = "0123456789abcdef";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        switch (*p) {
            case '\b': os << "\\b"; break;
            case '\t': os << "\\t"; break;
            case '\n': os << "\\n"; break;
            case '\f': os << "\\f"; break;
            case '\r': os << "\\r"; break;
            default:
                if (std::isprint(*p)) {
                    os << static_cast<char>(*p);
                } else {
                    os << "\\0x" << (*p >= 16 ? kHex[*p >> 4] : ' ') << kHex[*p & 15];
                }
        }
    }
    return VString(os);
}

int DovCharCaseCompare(char a, char b) {
    int x = Fold(a), y = Fold(b);
    return x == y ? 0 : (x > y ? 1 : -1);
}

int DovStrNCaseCompare(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        int x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return x > y ? 1 : -1;
        if (x == 0) return 0;
    }
    return 0;
}

int DovStrCaseCompare(const char* a, const char* b) {
    for (std::size_t i = 0;; ++i) {
        int x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return x > y ? 1 : -1;
        if (x == 0) return 0;
    }
}

int DovIntLiteralValue(const VString& text, std::int64_t& value, VString& message) {
    // The magnitude is gathered unsigned and checked before each step
    // against the largest one the result can hold: nothing wraps.
    constexpr std::uint64_t kLargest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    auto tooLarge = [&](std::int64_t nearest) {
        message = DovFormat("Integer number '%s' does not fit in 64 bits", text.CStr());
        value = nearest;
        return 33;
    };
    std::uint64_t v = 0;
    int len = text.Len();
    if (len >= 2 && text[0] == 'H') {
        char delim = text[1];
        // Pairs of digits, one byte each, up to the delimiter at the start of a pair.
        bool overflow = false;
        for (int i = 2; !(i < len && text[i] == delim); i += 2) {
            int byte = 0;
            for (int k = i; k < i + 2; ++k) {
                int digit = k < len ? HexDigit(text[k]) : -1;
                if (digit < 0) {
                    // "%.1s": the end of the text shows as nothing rather than as a NUL byte.
                    message = DovFormat("Bad character '%.1s' in hexadecimal number '%s'",
                                        k < len ? text.CStr() + k : "", text.CStr());
                    return 33;
                }
                byte = byte * 16 + digit;
            }
            // The digits are read to the end all the same: a bad one is
            // reported before the size.
            if (overflow || v > (kLargest - static_cast<std::uint64_t>(byte)) / 256)
                overflow = true;
            else
                v = v * 256 + static_cast<std::uint64_t>(byte);
        }
        if (overflow) return tooLarge(std::numeric_limits<std::int64_t>::max());
        value = static_cast<std::int64_t>(v);
        return 0;
    }
    int i = 0;
    bool negative = false;
    if (i < len && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::uint64_t limit = negative ? kLargest + 1 : kLargest;
    bool overflow = false;
    for (; i < len; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') {
            message = DovFormat("Expecting integer number here, not '%s'", text.CStr());
            return 33;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (overflow || v > (limit - digit) / 10)
            overflow = true;
        else
            v = v * 10 + digit;
    }
    if (overflow)
        return tooLarge(negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max());
    value = negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    return 0;
}
