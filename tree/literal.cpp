#include "tree/literal.h"

#include <string>

namespace {

bool IsDelimiter(char c) { return c == '\'' || c == '"'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Collects the characters from `from` up to the first `delim`. `upper`
// folds them to upper case. False when the text ends first.
bool CollectUpTo(const VString& image, int from, char delim, bool upper, std::string& out) {
    for (int i = from; i < image.Len(); ++i) {
        char c = image[i];
        if (c == delim) return true;
        if (static_cast<int>(out.size()) < kDovMaxLiteralValue)
            out += upper ? static_cast<char>(DovCharToUpper(static_cast<unsigned char>(c))) : c;
    }
    return false;
}

// True when `text` written between two `delim` characters reads back as
// itself: every run of the delimiter inside it is of even length.
bool RoundTripsIn(const VString& text, char delim) {
    int run = 0;
    for (int i = 0; i <= text.Len(); ++i) {
        if (i < text.Len() && text[i] == delim) {
            ++run;
            continue;
        }
        if (run % 2 != 0) return false;
        run = 0;
    }
    return true;
}

}  // namespace

VString DovStringImageValue(const VString& image, VString& error) {
    error = VString();
    char first = image.IsEmpty() ? '\0' : image[0];
    std::string value;

    if (IsDelimiter(first)) {
        for (int i = 1;; ++i) {
            if (i >= image.Len()) {
                error = "$Bad string image: Unterminated string image$";
                return VString();
            }
            char c = image[i];
            if (c == first) {
                if (i + 1 < image.Len() && image[i + 1] == first) {
                    // A doubled delimiter stays doubled in the value.
                    for (int k = 0; k < 2; ++k)
                        if (static_cast<int>(value.size()) < kDovMaxLiteralValue) value += c;
                    ++i;
                    continue;
                }
                break;
            }
            if (static_cast<int>(value.size()) < kDovMaxLiteralValue) value += c;
        }
        return VString(value.data(), static_cast<int>(value.size()));
    }

    if (first == 'B' || first == 'b') {
        char delim = image.Len() > 1 ? image[1] : '\0';
        if (!IsDelimiter(delim)) {
            error = "$Bad string image: [b|B] must be followed by ['|\"]$";
            return VString();
        }
        if (!CollectUpTo(image, 2, delim, true, value)) {
            error = "$Bad bit string image: Unterminated string image$";
            return VString();
        }
        return VString(value.data(), static_cast<int>(value.size()));
    }

    if (first == 'X' || first == 'x' || first == 'H' || first == 'h') {
        char delim = image.Len() > 1 ? image[1] : '\0';
        if (!IsDelimiter(delim)) {
            error = "$Bad string image: [x|H|h|H] must be followed by ['|\"]$";
            return VString();
        }
        std::string digits;
        if (!CollectUpTo(image, 2, delim, true, digits)) {
            error = "$Bad hex string image: Unterminated string image$";
            return VString();
        }
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            int hi = HexDigit(digits[i]);
            int lo = i + 1 < digits.size() ? HexDigit(digits[i + 1]) : 0;
            if (hi < 0 || lo < 0) {
                error = "$Bad hex string image: not hexadecimal digits";
                return VString();
            }
            int byte = hi * 16 + lo;
            value += byte == 0 ? ' ' : static_cast<char>(byte);
        }
        return VString(value.data(), static_cast<int>(value.size()));
    }

    error = "$Bad string image: Bad string image format$";
    return VString();
}

VString DovStringImage(const VString& value) {
    bool printable = true;
    for (int i = 0; i < value.Len(); ++i) {
        unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 32 || c > 126) {
            printable = false;
            break;
        }
    }
    if (printable) {
        // A value such as DON'T cannot stand between apostrophes (it would
        // read back as DON); quotation marks keep it whole.
        if (RoundTripsIn(value, '\'')) return VString("'") + value + VString("'");
        if (RoundTripsIn(value, '"')) return VString("\"") + value + VString("\"");
    }
    static const char kHex[] = "0123456789ABCDEF";
    std::string image = "X'";
    for (int i = 0; i < value.Len(); ++i) {
        unsigned char c = static_cast<unsigned char>(value[i]);
        image += kHex[c >> 4];
        image += kHex[c & 15];
    }
    image += '\'';
    return VString(image.data(), static_cast<int>(image.size()));
}
