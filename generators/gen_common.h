// What the table generators share: the FILE:LINE fault report, the number
// and name checks, opening an input, and the reader of the operation
// catalogue (tree/operations.def).
#pragma once

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace gen {

[[noreturn]] inline void Fail(const std::string& file, int line, const std::string& text) {
    std::cerr << file << ':' << line << ": " << text << '\n';
    std::exit(1);
}

// A decimal number of at most nine digits.
inline bool ParseInt(const std::string& s, int& value) {
    if (s.empty() || s.size() > 9) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

// An upper-case name: a letter, then letters, digits and '_'.
inline bool GoodName(const std::string& s) {
    if (s.empty() || s[0] < 'A' || s[0] > 'Z') return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

// Opens path for reading, or reports "TOOL: cannot open PATH" and ends the
// run with status 1.
inline std::ifstream OpenInput(const char* tool, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << tool << ": cannot open " << path << '\n';
        std::exit(1);
    }
    return in;
}

// Reads the "%totals NAME=COUNT..." line `words` (line `line` of `file`)
// into `totals`; a second totals line, a malformed count or a name given
// twice is a fault. `totalsLine` is the line of the first one, 0 before it.
template <class Count>
void ReadTotalsLine(const std::string& file, int line, const std::vector<std::string>& words, int& totalsLine,
                    std::map<std::string, Count>& totals) {
    if (totalsLine) Fail(file, line, "second %totals line");
    totalsLine = line;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::size_t eq = words[i].find('=');
        int v = 0;
        if (eq == std::string::npos || !ParseInt(words[i].substr(eq + 1), v))
            Fail(file, line, "bad total '" + words[i] + "'");
        if (!totals.emplace(words[i].substr(0, eq), v).second) Fail(file, line, "total named twice");
    }
}

// What a generator needs of one catalogue operation.
struct CatalogueOper {
    int code = 0;
    int argCount = 0;
};

// Reads the code, the name and the slot count of every operation of the
// catalogue. The words of a line are bare words or double-quoted texts with
// backslash escapes, a text possibly followed by '*'; the slots are the pairs
// after the first six words.
inline std::map<std::string, CatalogueOper> ReadCatalogue(const char* tool, const std::string& path) {
    std::ifstream in = OpenInput(tool, path);
    std::map<std::string, CatalogueOper> opers;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#' || text[0] == '%') continue;
        std::vector<std::string> words;
        std::size_t i = 0;
        while (true) {
            while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
            if (i >= text.size()) break;
            std::size_t b = i;
            if (text[i] == '"') {
                for (++i;; ++i) {
                    if (i >= text.size()) Fail(path, line, "unterminated text");
                    if (text[i] == '\\') {
                        ++i;
                        continue;
                    }
                    if (text[i] == '"') break;
                }
                ++i;
            }
            while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
            words.push_back(text.substr(b, i - b));
        }
        if (words.empty()) continue;
        if (words.size() < 6 || (words.size() - 6) % 2) Fail(path, line, "malformed operation line");
        CatalogueOper op;
        if (!ParseInt(words[0], op.code) || !GoodName(words[1])) Fail(path, line, "malformed operation line");
        op.argCount = static_cast<int>(words.size() - 6) / 2;
        opers[words[1]] = op;
    }
    return opers;
}

}  // namespace gen
