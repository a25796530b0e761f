#include "lbase/cmdline.h"

#include <climits>
#include <cstring>
#include <istream>
#include <string>
#include <vector>

namespace {

constexpr int kOptionError = 21;
constexpr int kTableFull = 23;

void Terminate(DovCommandLineFlagTable& table) { table.flags[table.count] = DovCommandLineFlag{}; }

// Appends one record, or reports that the table is full.
int AddOne(DovCommandLineFlagTable& table, const DovCommandLineFlag& record, VString& message) {
    table.count = table.Used();
    if (table.count >= DOV_MAX_CL_FLAGS) {
        Terminate(table);
        message = "DovAddCommandLineFlags: too many options";
        return kTableFull;
    }
    table.flags[table.count++] = record;
    Terminate(table);
    return 0;
}

// Reads [p, end) as an unsigned decimal number. Digits only; an empty range
// is 0. False for any other character and for a value beyond int.
bool ParseDigits(const char* p, const char* end, int& out) {
    long long n = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9') return false;
        n = n * 10 + (*p - '0');
        if (n > INT_MAX) return false;
    }
    out = static_cast<int>(n);
    return true;
}

const DovCommandLineFlag* FindFlag(const DovCommandLineFlagTable& table, const char* name, std::size_t len) {
    int n = table.Used();
    for (int i = 0; i < n; ++i) {
        const DovCommandLineFlag& f = table.flags[i];
        if (f.name && std::strlen(f.name) == len && std::memcmp(f.name, name, len) == 0) return &f;
    }
    return nullptr;
}

// Whether the record carries the targets its kind writes to.
bool HasTargets(const DovCommandLineFlag& f) {
    switch (f.kind) {
        case 'b':
        case 'n':
        case 'l': return f.value != nullptr;
        case 'a': return f.value && f.count;
        case 's': return f.string != nullptr;
        case 'z': return f.list != nullptr;
        default: return false;
    }
}

// Sets one option from one word; returns the message, empty when all went well.
VString SetOneFlag(const DovCommandLineFlagTable& table, const char* word) {
    const char* name = word + 1;
    const char* eq = std::strchr(name, '=');
    std::size_t name_len = eq ? static_cast<std::size_t>(eq - name) : std::strlen(name);
    const char* value = eq ? eq + 1 : nullptr;  // null: no value at all
    bool negated = false;
    if (name_len >= 3 && std::memcmp(name, "no-", 3) == 0) {
        negated = true;
        name += 3;
        name_len -= 3;
    }
    const DovCommandLineFlag* found = FindFlag(table, name, name_len);
    if (!found) return DovFormat("Unknown option: %s", word);
    const DovCommandLineFlag& f = *found;
    if (negated && f.kind != 'b') return DovFormat("Non-boolean flag %s has no- prefix", word);
    if (!HasTargets(f)) return "SetCLFlag: bad flag code";

    switch (f.kind) {
        case 'b':
            if (value) return DovFormat("Assigning non-boolean value to boolean flag: %s", word);
            *f.value = negated ? 0 : 1;
            return VString();

        case 'n': {
            if (!value) return DovFormat("Numeric option requires a value: %s", word);
            int number;
            if (!ParseDigits(value, value + std::strlen(value), number)) {
                return DovFormat("Not a numeric value: %s", word);
            }
            *f.value = number;
            return VString();
        }

        case 'a': {
            if (!value) return DovFormat("Numeric array option requires a value: %s", word);
            int n = 0;
            for (const char* p = value; *p;) {
                const char* sep = std::strchr(p, ',');
                if (!sep) sep = p + std::strlen(p);
                int number;
                if (!ParseDigits(p, sep, number)) return DovFormat("Not a numeric value: %s", word);
                if (n >= f.capacity) return DovFormat("Too many elements in numeric array option: '%s'", sep);
                f.value[n++] = number;
                if (!*sep) break;
                p = sep + 1;  // a ',' at the very end ends the list
            }
            *f.count = n;
            return VString();
        }

        case 's':
            if (!value) return DovFormat("String option requires a value: %s", word);
            *f.string = value;
            return VString();

        case 'z': {
            if (!value) return DovFormat("String array option requires a value: %s", word);
            f.list->Clear();
            for (const char* p = value; *p;) {
                const char* sep = p + std::strcspn(p, ",;");
                f.list->Append(VString(p, static_cast<int>(sep - p)));
                if (!*sep) break;
                p = sep + 1;  // a separator at the very end ends the list
            }
            return VString();
        }

        case 'l': {
            if (!value || !*value) {
                *f.value = 0;
                return VString();
            }
            int number;
            if (ParseDigits(value, value + std::strlen(value), number)) {
                *f.value = number;  // not checked against the choices; the listings cope
                return VString();
            }
            for (int i = 0; f.choices && !f.choices[i].IsEmpty(); ++i) {
                if (f.choices[i] == value) {
                    *f.value = i;
                    return VString();
                }
            }
            return DovFormat("Selection option is assigned illegal value: %s", word);
        }
    }
    return "SetCLFlag: bad flag code";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Cuts an environment string into words: a word starts at a character that
// is no blank and follows a blank or the start, so blanks before, between
// and after the words start none; a double quote (not as the first
// character) joins the text up to the next quote to the current word and
// ends the cutting.
std::vector<std::string> CutWords(const VString& text) {
    std::vector<std::string> words;
    const char* s = text.CStr();
    int n = text.Len();
    for (int i = 0; i < n; ++i) {
        char c = s[i];
        if (IsBlank(c)) continue;
        if (i == 0 || IsBlank(s[i - 1])) words.emplace_back();
        if (c == '"' && i > 0) {
            const char* close = static_cast<const char*>(std::memchr(s + i + 1, '"', n - i - 1));
            int stop = close ? static_cast<int>(close - s) : n;
            words.back().append(s + i + 1, s + stop);
            break;
        }
        words.back() += c;
    }
    return words;
}

int ApplyWords(const DovCommandLineFlagTable& table, const std::vector<std::string>& words, VStringList& files,
               VStringList& messages) {
    std::vector<const char*> argv;
    argv.reserve(words.size());
    for (const auto& w : words) argv.push_back(w.c_str());
    return SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, messages);
}

}  // namespace

DovCommandLineFlagTable& DovSelectCommandLineFlags(DovCommandLineFlagTable& out, const DovCommandLineFlag* records,
                                                   int mask) {
    out.count = 0;
    for (const DovCommandLineFlag* r = records; r && r->kind != 0 && out.count < DOV_MAX_CL_FLAGS; ++r) {
        if (r->mask & mask) out.flags[out.count++] = *r;
    }
    Terminate(out);
    return out;
}

int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlag* records, VString& message,
                           int mask) {
    for (const DovCommandLineFlag* r = records; r && r->kind != 0; ++r) {
        if (!(r->mask & mask)) continue;
        if (int rc = AddOne(table, *r, message)) return rc;
    }
    table.count = table.Used();
    Terminate(table);
    return 0;
}

int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlagTable& from, VString& message,
                           int mask) {
    // Copy first: `from` may be `table` itself.
    DovCommandLineFlagTable source = from;
    int n = source.Used();
    for (int i = 0; i < n; ++i) {
        if (!(source.flags[i].mask & mask)) continue;
        if (int rc = AddOne(table, source.flags[i], message)) return rc;
    }
    table.count = table.Used();
    Terminate(table);
    return 0;
}

int DovAddCommandLineFlags(DovCommandLineFlagTable& table, const DovCommandLineFlag& record, VString& message) {
    return AddOne(table, record, message);
}

int SetCLFlag(const DovCommandLineFlagTable& table, int first, int end, const char* const* words,
              VStringList& files, VStringList& messages) {
    int result = 0;
    for (int i = first; words && i < end; ++i) {
        const char* word = words[i] ? words[i] : "";
        if (word[0] != '-') {
            files.Append(word);
            continue;
        }
        VString message = SetOneFlag(table, word);
        if (!message.IsEmpty()) {
            messages.Append(message);
            result = kOptionError;
        }
    }
    return result;
}

int DovSetCLFlagsFromString(const DovCommandLineFlagTable& table, const VString& text, VStringList& messages) {
    VStringList files;
    int rc = ApplyWords(table, CutWords(text), files, messages);
    if (rc) return rc;
    if (files.head) {
        messages.Append(DovFormat("File names not allowed in options taken from environment variables: %s",
                                  files.head->value.CStr()));
        return kOptionError;
    }
    return 0;
}

int DovSetCLFlagsFromStream(const DovCommandLineFlagTable& table, std::istream& in, VString& messages) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (line.starts_with('[')) break;  // the next section starts; it is taken as a file name and dropped
    }
    VStringList files, list;
    int rc = ApplyWords(table, lines, files, list);
    for (auto* n = list.head; n; n = n->next) {
        if (!messages.IsEmpty()) messages += "; ";
        messages += n->value;
    }
    return rc;
}
