// gen_operations: turns the operation catalogue (tree/operations.def) into
// C++: the enumeration DovOper with the catalogue sizes (oper_enum.h) and the
// constant tables DovOperCatalogue, DovOperNameDictionary and DovArgNameTable
// (oper_tables.cpp).
//
//   gen_operations INPUT.def OUTPUT_DIR
//   gen_operations --print-table INPUT.def CONDITIONAL.def OUTPUT_DIR
//
// The second form writes the pretty printer's built-in template table
// (default_table.cpp): one unconditional entry per defined code, its text the
// catalogue's template, and before it the code's conditional entry from
// CONDITIONAL.def. Both forms read the same catalogue, so the catalogue's
// template column and the printer's table cannot disagree.
//
// The data is checked before anything is written: codes in order from 1,
// well-formed names, no name twice, no list with slots or statement flag, an
// order count within the slots, every template well formed for its
// operation (see CheckTemplate) and the family patterns of the templates, and
// the counts of the "%totals" line. Any fault is reported as FILE:LINE: text
// and ends the run with status 1.
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

// ---------------------------------------------------------------------------
// Print templates.

// What CheckTemplate learns about one template.
struct TemplateShape {
    bool list = false;       // "@..." or "\r@..."
    bool tail = false;       // ends with a "[...]" tail
    std::string tailText;    // the text inside the tail
    bool crLed = false;      // first character is a carriage return
    bool plainWord = false;  // no directive at all: a fixed word or phrase
    std::vector<int> named;  // argument numbers (from 1) in order of first mention
};

// Checks one template of operation `op` (line `line`, `what` names it in
// messages) and returns its shape. A template may name only the operation's
// own slots and never a derived one; `$N` with N >= 2 stands inside a
// conditional on N; conditionals do not nest, each opens with `{$N?` or
// `{$N=` and is closed; a tail `[...]` is closed and ends the text; `^` is
// followed by `x`, `$p` by a tab stop 1..6; no break point follows a line
// end; a list template's separator holds no directive that would break the
// element conditionals it is expanded into.
TemplateShape CheckTemplate(const std::string& text, const Oper& op, int line, const std::string& what) {
    TemplateShape shape;
    auto fail = [&](const std::string& msg) { Fail(line, what + " of " + op.name + ": " + msg); };
    const int nslots = static_cast<int>(op.slots.size());
    std::size_t i = 0;
    if (!text.empty() && text[0] == '\r') {
        shape.crLed = true;
        i = 1;
    }
    if (i < text.size() && text[i] == '@') {
        shape.list = true;
        if (!op.list) fail("a list template for an operation that is no list");
        for (std::size_t j = i + 1; j < text.size(); ++j) {
            char c = text[j];
            if (c == '\\') {
                if (++j >= text.size()) fail("'\\' at the end of the separator");
                continue;
            }
            if (c == '{' || c == '}' || c == ':' || c == '$' || c == '[' || c == ']' || c == '^' || c == '@')
                fail(std::string("directive '") + c + "' in a list separator");
        }
        return shape;
    }
    if (op.list && !text.empty()) fail("a list operation needs a list template (\"@\" and a separator)");

    bool plain = true;
    int cond = 0;  // argument number of the open conditional, 0: none
    bool elsePart = false;
    bool lineEnd = false;
    std::set<int> seen;
    auto readArg = [&](std::size_t& k) -> int {
        // k stands on '$' followed by a digit; leaves k on the last digit.
        long n = 0;
        while (k + 1 < text.size() && text[k + 1] >= '0' && text[k + 1] <= '9') {
            n = n * 10 + (text[++k] - '0');
            if (n > 9999) fail("argument number beyond 9999");
        }
        if (n < 1) fail("argument $0");
        if (n > nslots) fail("$" + std::to_string(n) + ": the operation has " + std::to_string(nslots) + " slots");
        if (op.slots[n - 1].derived) fail("$" + std::to_string(n) + " names the derived slot " + op.slots[n - 1].name);
        if (seen.insert(static_cast<int>(n)).second) shape.named.push_back(static_cast<int>(n));
        return static_cast<int>(n);
    };
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '\\':
                plain = false;
                if (++i >= text.size()) fail("'\\' at the end of the text");
                break;
            case '$': {
                plain = false;
                if (i + 1 >= text.size()) fail("'$' at the end of the text");
                char d = text[i + 1];
                if (d == 'x') {
                    ++i;
                } else if (d == 'p') {
                    if (i + 2 >= text.size() || text[i + 2] < '1' || text[i + 2] > '6')
                        fail("$p needs a tab stop 1..6");
                    i += 2;
                } else if (d >= '0' && d <= '9') {
                    int n = readArg(i);
                    if (!cond && n >= 2) fail("$" + std::to_string(n) + " must stand inside {$" + std::to_string(n) + "...}");
                    if (cond && n != cond)
                        fail("$" + std::to_string(n) + " inside the conditional on $" + std::to_string(cond));
                } else {
                    fail(std::string("bad directive '$") + d + "'");
                }
                break;
            }
            case '^':
                plain = false;
                if (i + 1 >= text.size() || text[i + 1] != 'x') fail("'^' must be followed by 'x'");
                ++i;
                break;
            case '{':
                plain = false;
                if (cond) fail("nested '{'");
                if (i + 2 >= text.size() || text[i + 1] != '$' || text[i + 2] < '0' || text[i + 2] > '9')
                    fail("'{' must be followed by $N");
                ++i;
                cond = readArg(i);
                if (i + 1 >= text.size() || (text[i + 1] != '?' && text[i + 1] != '='))
                    fail("'?' or '=' expected after {$" + std::to_string(cond));
                ++i;
                elsePart = false;
                break;
            case ':':
                plain = false;
                if (!cond) fail("':' outside a conditional");
                if (elsePart) fail("second ':' in a conditional");
                elsePart = true;
                break;
            case '}':
                plain = false;
                if (!cond) fail("'}' without '{'");
                cond = 0;
                break;
            case '[': {
                plain = false;
                if (cond) fail("tail inside a conditional");
                std::size_t close = text.find(']', i + 1);
                if (close == std::string::npos) fail("tail not closed with ']'");
                if (close + 1 != text.size()) fail("text after the tail");
                shape.tail = true;
                shape.tailText = text.substr(i + 1, close - i - 1);
                i = close;
                break;
            }
            case ']':
                fail("']' without '['");
                break;
            case '|':
            case '&':
            case '%':
            case '!':
                plain = false;
                if (lineEnd) fail("break point after a line end");
                break;
            case '\n':
            case '\r':
                plain = false;
                lineEnd = true;
                break;
            case '\t':
            case '\b':
            case '~':
            case 0xFF:
                plain = false;
                break;
            case '@':
                fail("'@' inside a template");
                break;
            default:
                if (c < 0x20 || c >= 0x7f) fail("non-printable character " + std::to_string(c));
        }
    }
    if (cond) fail("conditional not closed with '}'");
    shape.plainWord = plain && !text.empty();
    if (!text.empty() && text != "\xff") {
        for (std::size_t k = 1; k < shape.named.size(); ++k)
            if (shape.named[k] < shape.named[k - 1]) fail("arguments out of slot order");
    }
    return shape;
}

// The family patterns and the catalogue-wide counts of the templates.
struct TemplateCounts {
    long templates = 0, empty = 0, lists = 0, tails = 0, dotTails = 0, crLed = 0, words = 0;
    long cicsWords = 0, cicsValued = 0, cicsCommands = 0, comparisons = 0;
};

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool EndsWith(const std::string& s, const std::string& p) {
    return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

void CheckTemplates(const std::vector<Oper>& ops, TemplateCounts& n) {
    for (const Oper& op : ops) {
        const std::string& t = op.printTemplate;
        if (op.undefined) {
            if (t != "-not-defined-") Fail(op.line, op.name + ": an undefined code's template is \"-not-defined-\"");
            continue;
        }
        ++n.templates;
        TemplateShape shape = CheckTemplate(t, op, op.line, "template");
        n.empty += t.empty();
        n.lists += shape.list;
        n.tails += shape.tail;
        n.dotTails += shape.tail && shape.tailText == ".";
        n.crLed += shape.crLed;
        n.words += shape.plainWord;
        const int nslots = static_cast<int>(op.slots.size());
        // Every slot that holds source text is printed, except a symbol
        // table that the catalogue does not mark as derived.
        if (!t.empty() && !shape.list && t != "\xff") {
            std::set<int> named(shape.named.begin(), shape.named.end());
            for (int k = 0; k < nslots; ++k)
                if (!op.slots[k].derived && !named.count(k + 1) && !EndsWith(op.slots[k].name, "_SYMBOL_TABLE"))
                    Fail(op.line, op.name + ": the template does not print slot " + op.slots[k].name);
        }
        if (!nslots && !op.list && !t.empty() && t != "\xff" && !shape.plainWord)
            Fail(op.line, op.name + ": an operation without slots prints a fixed word or phrase");
        if (StartsWith(op.name, "CS_CL_")) {
            const std::string word = op.name.substr(6);
            if (nslots == 0 && t == word)
                ++n.cicsWords;
            else if (nslots == 1 && t == word + "{$1?$p2($1)}")
                ++n.cicsValued;
            else
                Fail(op.line, op.name + ": a CICS option prints " + word + " or " + word + "{$1?$p2($1)}");
        } else if (StartsWith(op.name, "CS_STMT_")) {
            std::string rest;
            for (int k = 2; k <= nslots; ++k) rest += "{$" + std::to_string(k) + "?\n$" + std::to_string(k) + "}";
            std::string head = t.substr(0, t.size() >= rest.size() ? t.size() - rest.size() : 0);
            if (nslots < 1 || !EndsWith(t, rest) || head.empty() || head[0] < 'A' || head[0] > 'Z' ||
                !EndsWith(head, "$1"))
                Fail(op.line, op.name + ": a CICS command prints its word, $1 and each further option on a new line");
            ++n.cicsCommands;
        } else if (StartsWith(op.name, "CMP_")) {
            bool relation = nslots == 2 && StartsWith(t, "$1{$2=") && EndsWith(t, "|$2}");
            bool condition = nslots == 1 && StartsWith(t, "$1|[") && shape.tail;
            if (!relation && !condition)
                Fail(op.line, op.name + ": a comparison prints \"$1{$2= op|$2}\" or \"$1|[condition]\"");
            ++n.comparisons;
        }
    }
}

// One conditional entry of the printer's table.
struct CondEntry {
    int code = 0;
    std::string predicate;
    std::string text;
    int line = 0;
};

const char* const kPredicates[] = {"CondFdCopyAtEnd",  "CondDdCopy",    "CondElseIf",      "CondDiskDevice",
                                   "CondValueRanges",  "CondMoveSources", "CondCallMnemonic", "CondExecLines",
                                   "CondNoName",       "CondEqualsAtEdge", "CondNoClauses"};

// Reads CONDITIONAL.def: "CODE NAME PREDICATE "TEXT"" lines in increasing
// code order, at most one per code, and its "%totals conditional=N" line.
std::vector<CondEntry> ReadConditionals(const std::string& path, const std::vector<Oper>& ops) {
    gInput = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "gen_operations: cannot open " << path << '\n';
        std::exit(1);
    }
    std::vector<CondEntry> entries;
    long total = -1;
    int totalsLine = 0;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::vector<Word> w = SplitLine(text, line);
        if (w.empty()) continue;
        if (!w[0].quoted && w[0].text == "%totals") {
            int v = 0;
            if (totalsLine || w.size() != 2 || !StartsWith(w[1].text, "conditional=") ||
                !ParseInt(w[1].text.substr(12), v))
                Fail(line, "expected one line \"%totals conditional=N\"");
            total = v;
            totalsLine = line;
            continue;
        }
        if (w.size() != 4 || w[0].quoted || w[1].quoted || w[2].quoted || !w[3].quoted || w[3].star)
            Fail(line, "expected CODE NAME PREDICATE \"TEMPLATE\"");
        CondEntry e;
        e.line = line;
        if (!ParseInt(w[0].text, e.code) || e.code < 1 || e.code > static_cast<int>(ops.size()))
            Fail(line, "bad code '" + w[0].text + "'");
        const Oper& op = ops[e.code - 1];
        if (op.name != w[1].text) Fail(line, "code " + w[0].text + " is " + op.name + ", not " + w[1].text);
        if (op.undefined) Fail(line, op.name + " is undefined and has no template");
        bool known = false;
        for (const char* p : kPredicates) known |= w[2].text == p;
        if (!known) Fail(line, "unknown predicate '" + w[2].text + "'");
        if (!entries.empty() && entries.back().code >= e.code)
            Fail(line, "conditional entries stand in increasing code order, one per code");
        e.predicate = w[2].text;
        e.text = w[3].text;
        CheckTemplate(e.text, op, line, "conditional template");
        if (e.text == op.printTemplate) Fail(line, op.name + ": the conditional text equals the unconditional one");
        entries.push_back(std::move(e));
    }
    if (!totalsLine) Fail(0, "the %totals line is missing");
    if (total != static_cast<long>(entries.size()))
        Fail(totalsLine, "there are " + std::to_string(entries.size()) + " conditional entries, the totals line says " +
                             std::to_string(total));
    return entries;
}

// default_table.cpp: the printer's built-in table in code order, each
// conditional entry before the unconditional entry of its code; the
// undefined codes have none.
std::string PrintTableSource(const std::vector<Oper>& ops, const std::vector<CondEntry>& conds) {
    std::ostringstream c;
    std::size_t rows = 0;
    std::ostringstream body;
    std::size_t ci = 0;
    for (const Oper& op : ops) {
        if (op.undefined) continue;
        for (; ci < conds.size() && conds[ci].code == op.code; ++ci, ++rows)
            body << "    PrintTemplate(" << op.code << ", " << conds[ci].predicate << ", " << Literal(conds[ci].text)
                 << "),\n";
        body << "    PrintTemplate(" << op.code << ", nullptr, " << Literal(op.printTemplate) << "),\n";
        ++rows;
    }
    c << "// Generated by gen_operations from tree/operations.def and\n"
         "// printer/templates/conditional_templates.def; edit those files.\n";
    c << "#include \"printer/templates/print_templates.h\"\n"
         "#include \"printer/templates/predicates.h\"\n\n";
    c << "static_assert(kDovDefaultTableSize == " << rows << ", \"printer/templates/print_templates.h\");\n\n";
    c << "const int default_table_size = kDovDefaultTableSize;\n\n";
    c << "// Built before main; destroyed in reverse order at exit.\n";
    c << "PrintTemplate default_table[kDovDefaultTableSize] = {\n" << body.str() << "};\n";
    return c.str();
}

}  // namespace

int main(int argc, char** argv) {
    const bool printTable = argc == 5 && std::string(argv[1]) == "--print-table";
    if (argc != 3 && !printTable) {
        std::cerr << "usage: gen_operations INPUT.def OUTPUT_DIR\n"
                     "       gen_operations --print-table INPUT.def CONDITIONAL.def OUTPUT_DIR\n";
        return 2;
    }
    gInput = argv[printTable ? 2 : 1];
    const std::string outDir = argv[printTable ? 4 : 2];
    std::ifstream in(gInput, std::ios::binary);
    if (!in) {
        std::cerr << "gen_operations: cannot open " << gInput << '\n';
        return 1;
    }

    std::vector<Oper> ops;
    std::map<std::string, long> totals;
    std::map<std::string, int> totalLines;
    int totalsLine = 0;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::vector<Word> words = SplitLine(text, line);
        if (words.empty()) continue;
        if (words[0].text == "%totals" && !words[0].quoted) {
            if (!totalsLine) totalsLine = line;
            for (std::size_t i = 1; i < words.size(); ++i) {
                std::size_t eq = words[i].text.find('=');
                int v = 0;
                if (words[i].quoted || eq == std::string::npos || !ParseInt(words[i].text.substr(eq + 1), v))
                    Fail(line, "bad total '" + words[i].text + "'");
                if (!totals.emplace(words[i].text.substr(0, eq), v).second)
                    Fail(line, "total " + words[i].text.substr(0, eq) + " named twice");
                totalLines[words[i].text.substr(0, eq)] = line;
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

    TemplateCounts tc;
    CheckTemplates(ops, tc);

    const std::pair<const char*, long> actual[] = {
        {"codes", lastCode},
        {"lists", lists},
        {"statements", statements},
        {"fixed-order", fixedOrders},
        {"undefined", undefined},
        {"slots", slots},
        {"derived", derived},
        {"names", names},
        {"templates", tc.templates},
        {"empty-templates", tc.empty},
        {"list-templates", tc.lists},
        {"tails", tc.tails},
        {"dot-tails", tc.dotTails},
        {"cr-templates", tc.crLed},
        {"word-templates", tc.words},
        {"cics-option-words", tc.cicsWords},
        {"cics-option-values", tc.cicsValued},
        {"cics-commands", tc.cicsCommands},
        {"comparisons", tc.comparisons},
    };
    if (!totalsLine) Fail(0, "the %totals line is missing");
    for (const auto& [key, value] : totals) {
        bool known = false;
        for (const auto& [k, v] : actual) {
            if (key != k) continue;
            known = true;
            if (v != value)
                Fail(totalLines[key], "total " + key + " is " + std::to_string(v) + ", the totals line says " +
                                     std::to_string(value));
        }
        if (!known) Fail(totalLines[key], "unknown total '" + key + "'");
    }
    for (const auto& [k, v] : actual)
        if (!totals.count(k)) Fail(totalsLine, std::string("the totals line lacks ") + k);

    if (printTable) {
        const std::string catalogue = gInput;
        std::vector<CondEntry> conds = ReadConditionals(argv[3], ops);
        gInput = catalogue;
        WriteFile(outDir + "/default_table.cpp", PrintTableSource(ops, conds));
        return 0;
    }

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
