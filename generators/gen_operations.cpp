// gen_operations: turns the operation catalogue (tree/operations.def) into
// C++: the enumeration DovOper with the catalogue sizes (oper_enum.h) and the
// constant tables DovOperCatalogue, DovOperNameDictionary and DovArgNameTable
// (oper_tables.cpp).
//
//   gen_operations INPUT.def OUTPUT_DIR
//
// The data is checked before anything is written: codes in order from 1,
// well-formed names, no name twice, no list with slots or statement flag, an
// order count within the slots, and the counts of the "%totals" line. Any
// fault is reported as FILE:LINE: text and ends the run with status 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Slot {
    std::string name;
    std::string display;
    bool derived = false;
};

struct Oper {
    int code = 0;
    std::string name;
    bool list = false;
    bool statement = false;
    bool undefined = false;
    int fixedOrder = -1;
    std::string display;
    std::string printTemplate;
    std::vector<Slot> slots;
    int line = 0;
};

// One word of a data line: a bare word or a quoted text, the latter possibly
// followed directly by '*'.
struct Word {
    std::string text;
    bool quoted = false;
    bool star = false;
};

std::string gInput;

[[noreturn]] void Fail(int line, const std::string& text) {
    std::cerr << gInput << ':' << line << ": " << text << '\n';
    std::exit(1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<Word> SplitLine(const std::string& s, int line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        if (i >= s.size()) break;
        Word w;
        if (s[i] == '"') {
            w.quoted = true;
            ++i;
            for (;;) {
                if (i >= s.size()) Fail(line, "unterminated text");
                char c = s[i++];
                if (c == '"') break;
                if (c != '\\') {
                    w.text += c;
                    continue;
                }
                if (i >= s.size()) Fail(line, "unterminated text");
                char e = s[i++];
                switch (e) {
                    case 'n':
                        w.text += '\n';
                        break;
                    case 'r':
                        w.text += '\r';
                        break;
                    case 't':
                        w.text += '\t';
                        break;
                    case 'b':
                        w.text += '\b';
                        break;
                    case '\\':
                        w.text += '\\';
                        break;
                    case '"':
                        w.text += '"';
                        break;
                    case 'x': {
                        int h = i + 1 < s.size() ? HexDigit(s[i]) : -1;
                        int l = h >= 0 ? HexDigit(s[i + 1]) : -1;
                        if (h < 0 || l < 0) Fail(line, "\\x needs two hex digits");
                        w.text += static_cast<char>(h * 16 + l);
                        i += 2;
                        break;
                    }
                    default:
                        Fail(line, std::string("unknown escape \\") + e);
                }
            }
            if (i < s.size() && s[i] == '*') {
                w.star = true;
                ++i;
            }
            if (i < s.size() && s[i] != ' ' && s[i] != '\t') Fail(line, "blank expected after a text");
        } else {
            std::size_t b = i;
            while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
            w.text = s.substr(b, i - b);
            if (w.text.find('"') != std::string::npos) Fail(line, "stray '\"' in '" + w.text + "'");
        }
        words.push_back(std::move(w));
    }
    return words;
}

bool ParseInt(const std::string& s, int& value) {
    if (s.empty() || s.size() > 9) return false;
    std::size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return false;
    int v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    value = s[0] == '-' ? -v : v;
    return true;
}

// Names become C++ enumerators and query words: upper case letters, digits
// and '_', starting with a letter.
bool GoodName(const std::string& s) {
    if (s.empty() || s[0] < 'A' || s[0] > 'Z') return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

Oper ParseOper(const std::vector<Word>& w, int line) {
    if (w.size() < 6) Fail(line, "expected CODE NAME FLAGS ORDER \"DISPLAY\" \"TEMPLATE\"");
    Oper op;
    op.line = line;
    if (w[0].quoted || !ParseInt(w[0].text, op.code)) Fail(line, "bad code '" + w[0].text + "'");
    if (w[1].quoted || !GoodName(w[1].text)) Fail(line, "bad operation name '" + w[1].text + "'");
    op.name = w[1].text;
    if (w[2].quoted) Fail(line, "bad flags");
    if (w[2].text != "-") {
        for (char c : w[2].text) {
            bool* flag = c == 'L' ? &op.list : c == 'S' ? &op.statement : c == 'U' ? &op.undefined : nullptr;
            if (!flag || *flag) Fail(line, "bad flags '" + w[2].text + "'");
            *flag = true;
        }
    }
    if (w[3].quoted || !ParseInt(w[3].text, op.fixedOrder) || op.fixedOrder < -1)
        Fail(line, "bad fixed-order count '" + w[3].text + "'");
    if (!w[4].quoted || w[4].star) Fail(line, "display name in double quotes expected");
    if (!w[5].quoted || w[5].star) Fail(line, "print template in double quotes expected");
    op.display = w[4].text;
    op.printTemplate = w[5].text;
    if ((w.size() - 6) % 2) Fail(line, "slots come in pairs: NAME \"DISPLAY\"");
    for (std::size_t i = 6; i < w.size(); i += 2) {
        if (w[i].quoted || !GoodName(w[i].text)) Fail(line, "bad slot name '" + w[i].text + "'");
        if (!w[i + 1].quoted) Fail(line, "display name of slot " + w[i].text + " in double quotes expected");
        op.slots.push_back({w[i].text, w[i + 1].text, w[i + 1].star});
    }
    int n = static_cast<int>(op.slots.size());
    if (n > 32767) Fail(line, "too many slots for the 16-bit slot index");
    if (op.list && op.statement) Fail(line, "an operation cannot be both a list and a statement");
    if ((op.list || op.undefined) && n) Fail(line, "a list or undefined operation has no slots");
    if (op.undefined && (op.list || op.statement)) Fail(line, "an undefined operation has no other flags");
    if (op.fixedOrder > n) Fail(line, "fixed-order count beyond the slots");
    if (op.display.empty() || op.display.find('\0') != std::string::npos) Fail(line, "bad display name");
    if (op.printTemplate.find('\0') != std::string::npos) Fail(line, "NUL byte in the template");
    for (const Slot& s : op.slots)
        if (s.display.empty() || s.display.find('\0') != std::string::npos)
            Fail(line, "bad slot display name");
    return op;
}

// The C++ literal of a text. Octal escapes take exactly three digits, so a
// following digit cannot join them.
std::string Literal(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                if (c < 0x20 || c >= 0x7f) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\%03o", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "gen_operations: cannot write " << path << '\n';
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gen_operations INPUT.def OUTPUT_DIR\n";
        return 2;
    }
    gInput = argv[1];
    const std::string outDir = argv[2];
    std::ifstream in(gInput, std::ios::binary);
    if (!in) {
        std::cerr << "gen_operations: cannot open " << gInput << '\n';
        return 1;
    }

    std::vector<Oper> ops;
    std::map<std::string, long> totals;
    int totalsLine = 0;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::vector<Word> words = SplitLine(text, line);
        if (words.empty()) continue;
        if (words[0].text == "%totals" && !words[0].quoted) {
            if (totalsLine) Fail(line, "second %totals line");
            totalsLine = line;
            for (std::size_t i = 1; i < words.size(); ++i) {
                std::size_t eq = words[i].text.find('=');
                int v = 0;
                if (words[i].quoted || eq == std::string::npos || !ParseInt(words[i].text.substr(eq + 1), v))
                    Fail(line, "bad total '" + words[i].text + "'");
                totals[words[i].text.substr(0, eq)] = v;
            }
            continue;
        }
        Oper op = ParseOper(words, line);
        int want = static_cast<int>(ops.size()) + 1;
        if (op.code != want)
            Fail(line, "code " + std::to_string(op.code) + " where " + std::to_string(want) + " is due");
        if (op.code > 32767) Fail(line, "code beyond the 16-bit tables");
        ops.push_back(std::move(op));
    }
    if (ops.empty()) Fail(0, "no operations");
    const int lastCode = static_cast<int>(ops.size());
    const int endCode = lastCode + 1;

    // Every name of the dictionary, once.
    // Every name of the enumeration and the dictionary, once.
    std::map<std::string, int> seen{{"TIC_FIRST_CODE", 0}, {"TIC_LAST_CODE", 0}};
    auto claim = [&seen](const std::string& name, int line) {
        auto [it, fresh] = seen.emplace(name, line);
        if (!fresh) Fail(line, "name " + name + " used before on line " + std::to_string(it->second));
    };
    long lists = 0, statements = 0, fixedOrders = 0, undefined = 0, slots = 0, derived = 0;
    for (const Oper& op : ops) {
        claim(op.name, op.line);
        for (const Slot& s : op.slots) {
            claim(s.name, op.line);
            derived += s.derived;
        }
        lists += op.list;
        statements += op.statement;
        fixedOrders += op.fixedOrder != -1;
        undefined += op.undefined;
        slots += static_cast<long>(op.slots.size());
    }
    // Undefined operations keep their enumerator but stay out of the
    // dictionary; the two bounds are in it.
    const long names = 2 + lastCode - undefined + slots;

    const std::pair<const char*, long> actual[] = {
        {"codes", lastCode},      {"lists", lists}, {"statements", statements}, {"fixed-order", fixedOrders},
        {"undefined", undefined}, {"slots", slots}, {"derived", derived},       {"names", names},
    };
    if (!totalsLine) Fail(0, "the %totals line is missing");
    for (const auto& [key, value] : totals) {
        bool known = false;
        for (const auto& [k, v] : actual) {
            if (key != k) continue;
            known = true;
            if (v != value)
                Fail(totalsLine, "total " + key + " is " + std::to_string(v) + ", the totals line says " +
                                     std::to_string(value));
        }
        if (!known) Fail(totalsLine, "unknown total '" + key + "'");
    }
    for (const auto& [k, v] : actual)
        if (!totals.count(k)) Fail(totalsLine, std::string("the totals line lacks ") + k);

    const std::string banner = "// Generated by gen_operations from tree/operations.def; edit that file.\n";

    std::ostringstream h;
    h << banner << "#pragma once\n\n#include <cstdint>\n\n";
    h << "// The operation code of a node. TIC_FIRST_CODE and TIC_LAST_CODE only\n"
         "// bound the catalogue; no node carries them.\n";
    h << "enum DovOper : std::uint16_t {\n    TIC_FIRST_CODE = 0,\n";
    for (const Oper& op : ops) h << "    " << op.name << " = " << op.code << ",\n";
    h << "    TIC_LAST_CODE = " << endCode << ",\n};\n\n";
    h << "// Entries of DovOperCatalogue: code 0 and the codes 1.." << lastCode << ".\n";
    h << "constexpr int kDovOperCatalogueSize = " << endCode << ";\n";
    h << "// Records of DovOperNameDictionary.\n";
    h << "constexpr int kDovOperNameDictSize = " << names << ";\n";
    h << "// Rows of DovArgNameTable, its end row not counted.\n";
    h << "constexpr int kDovArgNameTableRows = " << slots << ";\n";

    std::ostringstream c;
    c << banner << "#include \"tree/oper.h\"\n\n";
    c << "const DovOperInfo DovOperCatalogue[kDovOperCatalogueSize] = {\n";
    c << "    {0, \"TIC_FIRST_CODE\", nullptr, nullptr, 0, 0, 0, 0},\n";
    for (const Oper& op : ops) {
        int argCount = op.undefined ? -1 : static_cast<int>(op.slots.size());
        c << "    {" << op.code << ", " << Literal(op.name) << ", " << Literal(op.display) << ", "
          << Literal(op.printTemplate) << ", " << op.list << ", " << op.statement << ", " << argCount << ", "
          << op.fixedOrder << "},\n";
    }
    c << "};\n\n";
    c << "const DovNameDictEntry DovOperNameDictionary[kDovOperNameDictSize] = {\n";
    c << "    {0, \"TIC_FIRST_CODE\", 1},\n";
    for (const Oper& op : ops) {
        if (op.undefined) continue;
        c << "    {" << op.code << ", " << Literal(op.name) << ", 1},\n";
        for (std::size_t i = 0; i < op.slots.size(); ++i)
            c << "    {" << i << ", " << Literal(op.slots[i].name) << ", 2},\n";
    }
    c << "    {" << endCode << ", \"TIC_LAST_CODE\", 1},\n};\n\n";
    c << "const DovArgNameEntry DovArgNameTable[kDovArgNameTableRows + 1] = {\n";
    for (const Oper& op : ops)
        for (std::size_t i = 0; i < op.slots.size(); ++i)
            c << "    {" << op.code << ", " << i << ", " << op.slots[i].derived << ", "
              << Literal(op.slots[i].display) << "},\n";
    c << "    {0, 0, 0, nullptr},\n};\n";

    WriteFile(outDir + "/oper_enum.h", h.str());
    WriteFile(outDir + "/oper_tables.cpp", c.str());
    return 0;
}
