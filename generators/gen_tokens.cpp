// gen_tokens: turns the token codes (tree/tokens.def) and the reserved words
// (tree/keywords.def) into C++.
//
//   gen_tokens tables TOKENS.def KEYWORDS.def OUTDIR
//       OUTDIR/token_codes.h    the enumeration of the token codes
//       OUTDIR/token_tables.cpp the token-name table, the reserved-word table
//                               and the SQL and CICS keyword name tables
//   gen_tokens yacc TOKENS.def OUTFILE
//       the grammar's %token declarations, one per token, with its code
//
// The data files describe their own format at their top. Any fault in them
// stops the generator with "file:line: message" and status 1, so a bad table
// never reaches the build.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kFirstCode = 257;
constexpr int kLastCode = 1734;

struct Family {
    std::string prefix;
    std::vector<std::pair<int, int>> ranges;
};

struct Token {
    int code = 0;
    std::string name;
    std::string shown;  // text of the token-name table
    bool external = false;
    int line = 0;
};

// A table of keyword names that stand in one code range, in byte order.
struct NameTable {
    std::string id;      // "SQL", "CICS"
    std::string prefix;  // stripped from the token names
    int first = 0, last = 0;
};

struct Keyword {
    std::string word;
    std::string token;
    std::uint32_t flags = 0;
    int line = 0;
};

struct TokenData {
    std::vector<Family> families;
    std::vector<NameTable> tables;
    std::map<int, Token> by_code;
    std::map<std::string, int> by_name;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& message) {
    std::cerr << file;
    if (line > 0) std::cerr << ':' << line;
    std::cerr << ": " << message << '\n';
    std::exit(1);
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

// The line without its comment, or "" for a comment or blank line. A '#'
// inside double quotes does not start a comment.
std::string StripComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

bool IsIdentifier(const std::string& s) {
    if (s.empty() || !((s[0] >= 'A' && s[0] <= 'Z') || s[0] == '_')) return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

bool ParseInt(const std::string& s, int& value) {
    if (s.empty() || s.size() > 9) return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "N" or "N..M".
bool ParseRange(const std::string& s, std::pair<int, int>& range) {
    std::size_t dots = s.find("..");
    if (dots == std::string::npos) {
        if (!ParseInt(s, range.first)) return false;
        range.second = range.first;
        return true;
    }
    return ParseInt(s.substr(0, dots), range.first) && ParseInt(s.substr(dots + 2), range.second) &&
           range.first <= range.second;
}

const Family* FamilyOf(const std::vector<Family>& families, const std::string& name) {
    const Family* best = nullptr;
    for (const Family& f : families)
        if (name.compare(0, f.prefix.size(), f.prefix) == 0 && (!best || f.prefix.size() > best->prefix.size()))
            best = &f;
    return best;
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::ifstream in(file);
    if (!in) Fail(file, 0, "cannot open");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TokenData ReadTokens(const std::string& file) {
    TokenData data;
    std::vector<std::string> lines = ReadLines(file);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int ln = static_cast<int>(i) + 1;
        std::string text = StripComment(lines[i]);
        std::vector<std::string> w = Split(text);
        if (w.empty()) continue;
        if (w[0] == "family") {
            if (w.size() < 3) Fail(file, ln, "family needs a prefix and at least one range");
            Family f{w[1], {}};
            for (std::size_t k = 2; k < w.size(); ++k) {
                std::pair<int, int> r;
                if (!ParseRange(w[k], r)) Fail(file, ln, "bad range '" + w[k] + "'");
                f.ranges.push_back(r);
            }
            data.families.push_back(f);
            continue;
        }
        if (w[0] == "table") {
            std::pair<int, int> r;
            if (w.size() != 4 || !ParseRange(w[3], r)) Fail(file, ln, "expected: table ID PREFIX FIRST..LAST");
            data.tables.push_back(NameTable{w[1], w[2], r.first, r.second});
            continue;
        }
        Token t;
        t.line = ln;
        if (!ParseInt(w[0], t.code)) Fail(file, ln, "expected a token code, 'family' or 'table'");
        if (w.size() < 2 || !IsIdentifier(w[1])) Fail(file, ln, "expected a token name after the code");
        t.name = w[1];
        t.shown = t.name;
        // The rest: an optional quoted table text, an optional "extern".
        std::size_t pos = text.find(t.name) + t.name.size();
        std::string rest = text.substr(pos);
        std::size_t q1 = rest.find('"');
        if (q1 != std::string::npos) {
            std::size_t q2 = rest.find('"', q1 + 1);
            if (q2 == std::string::npos) Fail(file, ln, "unterminated table text");
            t.shown = rest.substr(q1 + 1, q2 - q1 - 1);
            rest = rest.substr(0, q1) + rest.substr(q2 + 1);
        }
        for (const std::string& word : Split(rest)) {
            if (word == "extern")
                t.external = true;
            else
                Fail(file, ln, "unexpected '" + word + "'");
        }
        if (t.code < kFirstCode || t.code > kLastCode)
            Fail(file, ln, "code " + std::to_string(t.code) + " is outside " + std::to_string(kFirstCode) + ".." +
                               std::to_string(kLastCode));
        if (data.by_code.count(t.code)) Fail(file, ln, "code " + std::to_string(t.code) + " is given twice");
        if (data.by_name.count(t.name)) Fail(file, ln, "token " + t.name + " is given twice");
        data.by_code[t.code] = t;
        data.by_name[t.name] = t.code;
    }
    for (int c = kFirstCode; c <= kLastCode; ++c)
        if (!data.by_code.count(c)) Fail(file, 0, "code " + std::to_string(c) + " has no token");
    for (const auto& [code, t] : data.by_code) {
        const Family* f = FamilyOf(data.families, t.name);
        if (!f) Fail(file, t.line, t.name + " belongs to no family");
        bool inside = false;
        for (auto [a, b] : f->ranges) inside = inside || (code >= a && code <= b);
        if (!inside) Fail(file, t.line, t.name + " lies outside the ranges of family " + f->prefix);
    }
    for (const NameTable& nt : data.tables) {
        std::string prev;
        for (int c = nt.first; c <= nt.last; ++c) {
            const Token& t = data.by_code.at(c);
            if (t.name.compare(0, nt.prefix.size(), nt.prefix) != 0)
                Fail(file, t.line, t.name + " does not start with " + nt.prefix + " (table " + nt.id + ")");
            std::string word = t.name.substr(nt.prefix.size());
            if (!prev.empty() && !(prev < word))
                Fail(file, t.line, "table " + nt.id + " is not in byte order at " + t.name);
            prev = word;
        }
    }
    return data;
}

struct DialectField {
    const char* name;
    int low_bit;
    int width;
};

constexpr DialectField kDialects[] = {
    {"ansi74", 1, 1}, {"ansi85", 2, 1}, {"osvs", 3, 1},   {"vsii", 4, 2},    {"saa", 6, 2},
    {"xopen", 8, 1},  {"mf", 9, 3},     {"ms", 12, 2},    {"rm", 14, 1},     {"rm85", 15, 1},
    {"dosvs", 16, 1}, {"univac", 17, 1}, {"wang", 18, 1}, {"fsc", 19, 1},    {"net", 20, 1},
    {"fscnet", 21, 1}, {"icobol", 22, 1}, {"acu", 23, 1}, {"dml", 24, 1},    {"idms", 25, 1},
};

const DialectField* FindDialect(const std::string& name) {
    for (const DialectField& d : kDialects)
        if (name == d.name) return &d;
    return nullptr;
}

std::uint32_t FieldMask(const DialectField& d) { return ((1u << d.width) - 1u) << d.low_bit; }

// The flags of one list of terms (see keywords.def).
std::uint32_t EvalTerms(const std::vector<std::string>& terms, std::size_t from,
                        const std::map<std::string, std::uint32_t>& sets, const std::string& file, int ln) {
    std::uint32_t flags = 0;
    for (std::size_t i = from; i < terms.size(); ++i) {
        std::string t = terms[i];
        bool clear = false;
        if (t[0] == '-') {
            clear = true;
            t = t.substr(1);
        }
        std::uint32_t bits = 0;
        if (auto s = sets.find(t); s != sets.end()) {
            bits = s->second;
        } else if (t == "extra") {
            bits = 1;
        } else {
            std::string name = t;
            int level = 1;
            if (std::size_t colon = t.find(':'); colon != std::string::npos) {
                name = t.substr(0, colon);
                if (!ParseInt(t.substr(colon + 1), level)) Fail(file, ln, "bad level in '" + t + "'");
            }
            const DialectField* d = FindDialect(name);
            if (!d) Fail(file, ln, "unknown dialect or set '" + t + "'");
            if (clear) {
                if (name != t) Fail(file, ln, "a field is cleared whole: write '-" + name + "'");
                bits = FieldMask(*d);
            } else {
                if (level < 1 || level > (1 << d->width) - 1)
                    Fail(file, ln, "level " + std::to_string(level) + " does not fit dialect " + name);
                bits = static_cast<std::uint32_t>(level) << d->low_bit;
            }
        }
        if (clear)
            flags &= ~bits;
        else
            flags |= bits;
    }
    return flags;
}

std::vector<Keyword> ReadKeywords(const std::string& file, const TokenData& tokens) {
    std::vector<Keyword> words;
    std::map<std::string, std::uint32_t> sets;
    std::set<std::string> seen;
    std::vector<std::string> lines = ReadLines(file);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int ln = static_cast<int>(i) + 1;
        std::vector<std::string> w = Split(StripComment(lines[i]));
        if (w.empty()) continue;
        if (w[0] == "set") {
            if (w.size() < 4 || w[2] != "=" || !IsIdentifier(w[1])) Fail(file, ln, "expected: set NAME = term...");
            if (sets.count(w[1]) || FindDialect(w[1]) || w[1] == "extra") Fail(file, ln, w[1] + " is taken");
            sets[w[1]] = EvalTerms(w, 3, sets, file, ln);
            continue;
        }
        Keyword k;
        k.word = w[0];
        k.line = ln;
        for (char c : k.word)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
                Fail(file, ln, "'" + k.word + "' is no upper-case COBOL word");
        if (!seen.insert(k.word).second) Fail(file, ln, k.word + " is listed twice");
        k.token = "RW_" + k.word;
        for (char& c : k.token)
            if (c == '-') c = '_';
        if (w.back()[0] == '=') {
            k.token = w.back().substr(1);
            w.pop_back();
        }
        auto t = tokens.by_name.find(k.token);
        if (t == tokens.by_name.end()) Fail(file, ln, "no token " + k.token + " in the token codes");
        const Family* f = FamilyOf(tokens.families, k.token);
        if (!f || f->prefix != "RW_") Fail(file, ln, k.token + " is no reserved-word token");
        k.flags = EvalTerms(w, 1, sets, file, ln);
        if ((k.flags & ~1u) == 0) Fail(file, ln, k.word + " is reserved in no dialect");
        words.push_back(k);
    }
    return words;
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06xu", v);
    return buf;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) Fail(path, 0, "cannot write");
}

const NameTable* FindTable(const TokenData& data, const std::string& id) {
    for (const NameTable& t : data.tables)
        if (t.id == id) return &t;
    return nullptr;
}

void EmitTables(const TokenData& data, const std::vector<Keyword>& words, const std::string& outdir) {
    const NameTable* sql = FindTable(data, "SQL");
    const NameTable* cics = FindTable(data, "CICS");
    if (!sql || !cics) Fail("tokens.def", 0, "the SQL and CICS tables must be declared");

    std::ostringstream h;
    h << "// Generated by gen_tokens from tree/tokens.def. Do not edit.\n"
      << "#pragma once\n\n#include \"lbase/message.h\"\n\n"
      << "// Token codes of the lexer and the grammar. The message severities\n"
      << "// MSG_INFO .. MSG_TERMINAL are token codes too; they come from DovSeverity.\n"
      << "enum DovTokenCode : int {\n";
    for (const auto& [code, t] : data.by_code) {
        if (t.external)
            h << "    // " << t.name << " = " << code << " (lbase/message.h)\n";
        else
            h << "    " << t.name << " = " << code << ",\n";
    }
    h << "};\n\n";
    for (const auto& [code, t] : data.by_code)
        if (t.external)
            h << "static_assert(" << t.name << " == " << code << ", \"" << t.name
              << " differs from its token code\");\n";
    h << "\ninline constexpr int kDovFirstTokenCode = " << kFirstCode << ";\n"
      << "inline constexpr int kDovLastTokenCode = " << kLastCode << ";\n"
      << "inline constexpr int kDovSqlKeywordFirst = " << sql->first << ";\n"
      << "inline constexpr int kDovSqlKeywordLast = " << sql->last << ";\n"
      << "inline constexpr int kDovCicsKeywordFirst = " << cics->first << ";\n"
      << "inline constexpr int kDovCicsKeywordLast = " << cics->last << ";\n"
      << "inline constexpr int kDovKeywordCount = " << words.size() << ";\n";
    WriteFile(outdir + "/token_codes.h", h.str());

    std::ostringstream c;
    c << "// Generated by gen_tokens from tree/tokens.def and tree/keywords.def. Do not edit.\n"
      << "#include \"tree/keyword_table.h\"\n#include \"tree/token_codes.h\"\n\n"
      << "const char* const DovTokenNames[] = {\n";
    for (const auto& [code, t] : data.by_code) c << "    " << Quote(t.shown) << ",  // " << code << "\n";
    c << "    nullptr,\n};\n\n";
    c << "KeywordEntry DovKeywordTable[] = {\n";
    for (const Keyword& k : words) c << "    {" << k.token << ", " << Hex(k.flags) << ", " << Quote(k.word) << "},\n";
    c << "    {-1, 0, nullptr},\n};\n";
    for (const NameTable* t : {sql, cics}) {
        c << "\nconst char* const Dov" << (t == sql ? "Sql" : "Cics") << "KeywordNames[] = {\n";
        for (int code = t->first; code <= t->last; ++code)
            c << "    " << Quote(data.by_code.at(code).name.substr(t->prefix.size())) << ",  // " << code << "\n";
        c << "    nullptr,\n};\n";
    }
    WriteFile(outdir + "/token_tables.cpp", c.str());
}

void EmitYacc(const TokenData& data, const std::string& outfile) {
    std::ostringstream y;
    y << "/* Generated by gen_tokens from tree/tokens.def. Do not edit. */\n";
    for (const auto& [code, t] : data.by_code) y << "%token " << t.name << ' ' << code << '\n';
    WriteFile(outfile, y.str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == "tables") {
        TokenData tokens = ReadTokens(args[1]);
        std::vector<Keyword> words = ReadKeywords(args[2], tokens);
        EmitTables(tokens, words, args[3]);
        return 0;
    }
    if (args.size() == 3 && args[0] == "yacc") {
        EmitYacc(ReadTokens(args[1]), args[2]);
        return 0;
    }
    std::cerr << "usage: gen_tokens tables TOKENS.def KEYWORDS.def OUTDIR\n"
                 "       gen_tokens yacc TOKENS.def OUTFILE\n";
    return 2;
}
