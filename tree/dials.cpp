#include "tree/dials.h"

#include <string>

namespace {

struct DialectInfo {
    const char* name;
    const char* display;
    int lowBit;
    int width;  // 0: no field (dialect 0)
    const char* word;
};

const DialectInfo kDialects[kDovDialectCount + 1] = {
    {"none", "None", 0, 0, ""},
    {"ansi74", "ANSI-74", 1, 1, "Ansi74 "},
    {"ansi85", "ANSI-85", 2, 1, "Ansi85 "},
    {"osvs", "IBM OSVS", 3, 1, "Osvs "},
    {"vsii", "IBM VS/II revs. 3, 4", 4, 2, "Vsii "},
    {"saa", "IBM SAA", 6, 2, "Saa "},
    {"xopen", "X/Open", 8, 1, "Xopen "},
    {"mf", "Micro Focus", 9, 3, "Mf "},
    {"ms", "Microsoft", 12, 2, "Ms "},
    {"rm", "Ryan McFarland - 74", 14, 1, "Rm "},
    {"rm85", "Ryan McFarland - 85", 15, 1, "Rm85 "},
    {"dosvs", "IBM DOSVS", 16, 1, "Dosvs "},
    {"univac", "UNIVAC", 17, 1, "Univac "},
    {"wang", "Wang VS", 18, 1, "Wang "},
    {"fsc", "Fujitsu Cobol-85", 19, 1, "Fsc "},
    {"net", "Fujitsu .NET Cobol", 20, 1, "Net "},
    {"fscnet", "Synkronix/Fujitsu NetCobol", 21, 1, "FscNet "},
    {"icobol", "ICobol", 22, 1, "Icobol "},
    {"acu", "Acu", 23, 1, "Acu "},
    {"dml", "DMS DML", 24, 1, "Dml "},
    {"idms", "IDMS", 25, 1, "Idms "},
};

// Highest level of a field, unshifted.
std::uint32_t FieldMax(const DialectInfo& d) { return (1u << d.width) - 1u; }

std::uint32_t FieldMask(const DialectInfo& d) { return FieldMax(d) << d.lowBit; }

std::uint32_t FieldLevel(DovDials set, const DialectInfo& d) { return (set.word >> d.lowBit) & FieldMax(d); }

// The dialect of a number taken as an unsigned byte; null for 0 and above 20.
const DialectInfo* Dialect(int number) {
    unsigned n = static_cast<unsigned char>(number);
    return n >= 1 && n <= kDovDialectCount ? &kDialects[n] : nullptr;
}

}  // namespace

VString DovDialectNames[kDovDialectCount + 2];
VString DovDialectDisplayNames[kDovDialectCount + 2];

namespace {

// Fills the two choice lists before main; the entry after the last dialect
// stays empty and ends each list.
const bool kNameListsFilled = [] {
    for (int i = 0; i <= kDovDialectCount; ++i) {
        DovDialectNames[i] = kDialects[i].name;
        DovDialectDisplayNames[i] = kDialects[i].display;
    }
    return true;
}();

}  // namespace

DovDials DovNoDials() { return DovDials{}; }

DovDials DovAllDials() { return DovDials{0xffffffffu}; }

int DovDialsAdd(DovDials& set, int dialect) {
    if (const DialectInfo* d = Dialect(dialect)) set.word |= FieldMask(*d);
    return static_cast<unsigned char>(dialect);
}

int DovDialsLevel(DovDials set, int dialect) {
    const DialectInfo* d = Dialect(dialect);
    return d ? static_cast<int>(FieldLevel(set, *d)) : 0;
}

VString DovDialsToString(DovDials set) {
    char text[kDovDialectCount + 1];
    for (int i = 1; i <= kDovDialectCount; ++i)
        text[i - 1] = static_cast<char>('0' + FieldLevel(set, kDialects[i]));
    text[kDovDialectCount] = '\0';
    return VString(text);
}

int DovStringToDials(DovDials& set, const VString& text, VString& error) {
    set = DovNoDials();
    // The text may hold NUL bytes; show it up to the first one.
    if (text.Len() != kDovDialectCount) {
        error = DovFormat("DovStringToDials: dialects string '%s' has bad length", text.CStr());
        return 21;
    }
    for (int i = 0; i < kDovDialectCount; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            error = DovFormat("DovStringToDials: bad char in dialects string '%s'", text.CStr());
            return 21;
        }
    }
    DovDials result;
    for (int i = 1; i <= kDovDialectCount; ++i) {
        const DialectInfo& d = kDialects[i];
        std::uint32_t level = static_cast<std::uint32_t>(text[i - 1] - '0') & FieldMax(d);
        result.word |= level << d.lowBit;
    }
    set = result;
    return 0;
}

int DovCheckDialects(DovDials& set, int primary, int secondary, DovDials allowed, VString& error) {
    DovDialsAdd(set, primary);
    DovDialsAdd(set, secondary);
    for (int i = 1; i <= kDovDialectCount; ++i) {
        if (FieldLevel(set, kDialects[i]) && !FieldLevel(allowed, kDialects[i])) {
            error = "The specified combination of dialects is not allowed";
            return 22;
        }
    }
    return 0;
}

VString DovDialsText(DovDials set) {
    std::string text;
    for (int i = 1; i <= kDovDialectCount; ++i)
        if (FieldLevel(set, kDialects[i])) text += kDialects[i].word;
    return VString(text.c_str());
}
