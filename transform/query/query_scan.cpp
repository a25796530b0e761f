// The query scanner: tokens, keyword codes and relations.
#include <cstring>
#include <string>

#include "transform/query/query.h"

DovQueryCursor DovQueryScanCursor;

namespace {

bool Is(const VString& token, const char* word) {
    const std::size_t n = std::strlen(word);
    return static_cast<std::size_t>(token.Len()) == n && (n == 0 || std::memcmp(token.Ptr(), word, n) == 0);
}

bool IsNameByte(unsigned char c) { return c >= 0x40 && c <= 0x7a; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Reads a string constant that starts with the quote at `p`; the token
// keeps both quotes. An unterminated one is the lone opening quote.
int ScanString(const char* s, int len, int p, std::string& out) {
    const char quote = s[p];
    out.assign(1, quote);
    ++p;
    int taken = 0;
    while (p < len) {
        const char c = s[p];
        if (c == '\\') {
            if (p + 1 >= len) break;
            const char d = s[p + 1];
            out += d == 'n' ? '\n' : d == 't' ? '\t' : d == 'r' ? '\r' : d;
            p += 2;
            ++taken;
            continue;
        }
        if (c == quote) {
            if (taken > 0 && p + 1 < len && s[p + 1] == quote) {
                // A doubled quote stands for one; the character after it is
                // taken as it is.
                out += quote;
                p += 2;
                ++taken;
                if (p >= len) break;
                out += s[p++];
                ++taken;
                continue;
            }
            out += quote;
            return p + 1;
        }
        out += c;
        ++p;
        ++taken;
    }
    out.assign(1, quote);
    return len;
}

}  // namespace

const VString& DovQueryNextToken(const VString& text, VString& buffer, int& mode) {
    DovQueryCursor& cur = DovQueryScanCursor;
    const char* s = text.Ptr();
    const int len = text.Len();
    int p;
    switch (mode) {
    case QS_RESET:
        cur.next = cur.last_start = 0;
        mode = QS_READ;
        buffer = VString();
        return buffer;
    case QS_POSITION:
        mode = cur.last_start;
        return buffer;
    case QS_EQUALS:
        buffer = "==";
        mode = QS_REREAD;
        return buffer;
    case QS_REREAD:
        p = cur.last_start;
        mode = QS_READ;
        break;
    case QS_READ:
        p = cur.next;
        break;
    default:
        buffer = VString();
        return buffer;
    }
    if (p < 0) p = 0;
    if (p > len) p = len;

    // Blanks and comments.
    for (;;) {
        while (p < len && (s[p] == ' ' || s[p] == '\t' || s[p] == '\n' || s[p] == '\r')) ++p;
        if (p + 1 < len && s[p] == '/' && s[p + 1] == '/') {
            while (p < len && s[p] != '\n' && s[p] != '\r') ++p;
            continue;
        }
        break;
    }
    cur.last_start = p;
    if (p >= len) {
        cur.next = len;
        buffer = VString();
        return buffer;
    }

    std::string out;
    const unsigned char c = static_cast<unsigned char>(s[p]);
    int end = p + 1;
    if (IsDigit(c)) {
        while (end < len && IsDigit(static_cast<unsigned char>(s[end]))) ++end;
        out.assign(s + p, static_cast<std::size_t>(end - p));
    } else if (IsNameByte(c)) {
        while (end < len) {
            const unsigned char d = static_cast<unsigned char>(s[end]);
            if (!IsNameByte(d) && d != '-' && !IsDigit(d)) break;
            ++end;
        }
        out.assign(s + p, static_cast<std::size_t>(end - p));
        for (char& ch : out)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    } else if (c == '>' || c == '<' || c == '=' || c == '!') {
        if (end < len && s[end] == '=') ++end;
        out.assign(s + p, static_cast<std::size_t>(end - p));
    } else if (c == '&' || c == '|') {
        if (end < len && s[end] == static_cast<char>(c)) ++end;
        out.assign(s + p, static_cast<std::size_t>(end - p));
    } else if (c == '\'' || c == '"') {
        end = ScanString(s, len, p, out);
    } else {
        out.assign(1, static_cast<char>(c));
    }
    cur.next = end;
    buffer = VString(out.data(), static_cast<int>(out.size()));
    return buffer;
}

namespace {

struct KeywordRow {
    const char* word;
    std::uint8_t code;
};

constexpr KeywordRow kKeywords[] = {
    {"OP", QK_OP},
    {"ARG", QK_ARG},
    {"+", QK_ADD},
    {"-", QK_SUB},
    {"*", QK_MUL},
    {"DIV", QK_DIV},
    {"MOD", QK_MOD},
    {"(", QK_LPAREN},
    {")", QK_RPAREN},
    {",", QK_COMMA},
    {"SUBSTR", QK_SUBSTR},
    {"TRUE", QK_TRUE},
    {"FALSE", QK_FALSE},
    {"IMAGE", QK_IMAGE},
    {"VALUE", QK_VALUE},
    {"FIND", QK_FIND},
    {"PARENT", QK_PARENT},
    {"FROMSRC", QK_FROMSRC},
    {"ARGNO", QK_ARGNO},
    {"NODE", QK_DECL_NODE},
    {"STR", QK_DECL_STR},
    {"INTVALUE", QK_INTVALUE},
    {"ISDESCOF", QK_ISDESCOF},
    {"ENCL-STMT", QK_ENCLSTMT},
    {"ENCL-SECTION", QK_ENCLSECTION},
    {"LOWER", QK_LOWER},
    {"UPPER", QK_UPPER},
    {"INDEX", QK_INDEX},
    {"SPECREG", QK_SPECREG},
    {"INT", QK_DECL_INT},
    {"LINK", QK_LINK},
};

}  // namespace

std::uint8_t DovQueryKeyword(VString& token) {
    if (Is(token, "CHILD")) token = "ARG";
    for (const KeywordRow& row : kKeywords)
        if (Is(token, row.word)) return row.code;
    return 0;
}

const VString& DovQueryNextKeyword(const VString& text, VString& buffer, int& mode, int& code) {
    DovQueryNextToken(text, buffer, mode);
    code = DovQueryKeyword(buffer);
    return buffer;
}

int DovQueryRelation(const VString& text, VString& token, int& exact, int& negate, int& mode) {
    negate = 0;
    exact = 1;
    if (Is(token, ")") || Is(token, "||") || Is(token, "AND") || Is(token, "OR") || Is(token, "&&")) {
        mode = QS_REREAD;
        negate = 1;
        return 7;
    }
    if (Is(token, "=")) return -1;
    if (Is(token, "NOT") || Is(token, "!")) {
        negate = 1;
        DovQueryNextToken(text, token, mode);
    }
    int relation;
    if (Is(token, "==")) {
        relation = 1;
    } else if (Is(token, "~")) {
        relation = 1;
        exact = 0;
    } else if (Is(token, "!=")) {
        relation = 1;
        negate = 1;
    } else if (Is(token, ">")) {
        relation = 2;
    } else if (Is(token, ">=")) {
        relation = 3;
    } else if (Is(token, "<")) {
        relation = 4;
    } else if (Is(token, "<=")) {
        relation = 5;
    } else {
        return 0;
    }
    DovQueryNextToken(text, token, mode);
    if (Is(token, "~")) {
        if (exact == 0) {
            mode = QS_REREAD;
            return 0;
        }
        exact = 0;
        DovQueryNextToken(text, token, mode);
    }
    if (Is(token, "NULL") && relation == 1) return 7;
    mode = QS_REREAD;
    return relation;
}

bool DovQueryIsConnective(const VString& token, int inside) {
    return Is(token, "||") || Is(token, "AND") || Is(token, "OR") || Is(token, "&&") ||
           (Is(token, ")") && inside == 0);
}

char* DovQueryToUpper(char* text) {
    if (!text) return text;
    for (char* p = text; *p; ++p) {
        const signed char c = static_cast<signed char>(*p);
        if (c >= 0x61) *p = static_cast<char>(c - 0x20);  // bytes from 0x80 up are negative
    }
    return text;
}
