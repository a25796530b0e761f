#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "tree/oper.h"

namespace {

constexpr int kLastCode = 1400;

bool IsUndefined(int code) { return code >= SECTION_SCHEMA && code <= EX_DML_ONLY; }

// The catalogue's totals, counted through the accessors only.
TEST(OperCatalogue, TotalsThroughAccessors) {
    int lists = 0, statements = 0, fixedOrders = 0, undefined = 0, slots = 0, derived = 0;
    for (int code = 1; code <= kLastCode; ++code) {
        SCOPED_TRACE(code);
        lists += DovOperIsList(code);
        statements += DovOperIsEntryOrStatement(code);
        fixedOrders += DovOperCatalogue[code].fixedOrder != -1;
        int n = DovOperArgCount(code);
        undefined += n == -1;
        EXPECT_FALSE(DovOperIsList(code) && DovOperIsEntryOrStatement(code));
        if (DovOperIsList(code)) {
            EXPECT_EQ(n, 0);
        }
        EXPECT_LE(DovOperCatalogue[code].fixedOrder, std::max(n, 0));
        for (int slot = 0; slot < n; ++slot) {
            int noName = -1;
            VString name = DovOperArgName(code, slot, &noName);
            EXPECT_EQ(noName, 0) << slot;
            EXPECT_FALSE(name.IsEmpty());
            derived += DovOperArgIsDerived(code, slot);
        }
        int noName = -1;
        DovOperArgName(code, std::max(n, 0), &noName);
        EXPECT_EQ(noName, 1);
        slots += std::max(n, 0);
    }
    EXPECT_EQ(lists, 94);
    EXPECT_EQ(statements, 154);
    EXPECT_EQ(fixedOrders, 69);
    EXPECT_EQ(undefined, 4);
    EXPECT_EQ(slots, 1887);
    EXPECT_EQ(derived, 31);

    std::set<std::string> names;
    for (const DovNameDictEntry& e : DovOperNameDictionary) names.insert(e.name);
    EXPECT_EQ(names.size(), 3285u);
    EXPECT_EQ(kDovOperNameDictSize, 3285);
    EXPECT_EQ(kDovArgNameTableRows, 1887);
    EXPECT_EQ(DovArgNameTable[kDovArgNameTableRows].name, nullptr);
}

// Entry 0, every valid code and a few invalid ones, in one table.
TEST(OperCatalogue, InvalidCodes) {
    for (int code : {0, 1401, 1402, 65535}) {
        SCOPED_TRACE(code);
        EXPECT_STREQ(DovOperName(code), "bad-op");
        EXPECT_STREQ(DovOperTemplate(code), "bad-op");
        EXPECT_TRUE(DovOperTemplateStr(code) == "bad-op");
        EXPECT_EQ(DovOperIsList(code), 0);
        EXPECT_EQ(DovOperIsEntryOrStatement(code), 0);
        EXPECT_EQ(DovOperArgCount(code), -1);
        EXPECT_EQ(DovOperArgIsDerived(code, 0), 0);
    }
    // A code is a 16-bit number: 65536 + 7 is COBOL_PROGRAM.
    EXPECT_STREQ(DovOperName(static_cast<std::uint16_t>(65536 + 7)), "COBOL_PROGRAM");
    EXPECT_STREQ(DovOperName(1400), "LOG_NOT");
    EXPECT_STREQ(DovOperName(LOG_NOT), "LOG_NOT");
    EXPECT_STREQ(DovOperName(1), "NULL_NODE");
}

TEST(OperCatalogue, EntryZero) {
    const DovOperInfo& e = DovOperCatalogue[0];
    EXPECT_EQ(e.code, 0);
    EXPECT_STREQ(e.name, "TIC_FIRST_CODE");
    EXPECT_EQ(e.displayName, nullptr);
    EXPECT_EQ(e.printTemplate, nullptr);
    EXPECT_EQ(e.isList + e.isStatement + e.argCount + e.fixedOrder, 0);
}

TEST(OperCatalogue, RecordsMatchTheirCodes) {
    for (int code = 0; code < kDovOperCatalogueSize; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(DovOperCatalogue[code].code, code);
        if (code == 0) continue;
        const char* display = DovOperCatalogue[code].displayName;
        ASSERT_NE(display, nullptr);
        ASSERT_NE(DovOperCatalogue[code].printTemplate, nullptr);
        if (IsUndefined(code)) {
            EXPECT_STREQ(display, "-not-defined-");
            EXPECT_STREQ(DovOperTemplate(code), "-not-defined-");
            EXPECT_EQ(DovOperArgCount(code), -1);
        } else {
            EXPECT_GT(std::strlen(display), 0u);
        }
    }
}

struct FamilyCase {
    const char* prefix;  // the first word of the enumerator name
    int count, low, high;
};

// Family prefixes with their number of codes and their range: a check on the
// enumerator names as a whole.
TEST(OperCatalogue, Families) {
    const FamilyCase cases[] = {
        {"EX", 321, 3, 1399},     {"SQL", 239, 948, 1186},   {"CS", 208, 1188, 1395},
        {"STMT", 101, 441, 1187}, {"FCX", 54, 123, 871},     {"FDX", 43, 210, 885},
        {"IOCX", 36, 186, 926},   {"IOF", 32, 81, 112},      {"DSPL", 32, 387, 555},
        {"ACCP", 31, 403, 486},   {"SNX", 29, 32, 62},       {"CMP", 27, 830, 942},
        {"DECL", 23, 121, 886},   {"DU", 23, 269, 896},      {"DX", 21, 251, 312},
        {"SW", 18, 63, 80},       {"SECTION", 15, 19, 1396}, {"DEV", 15, 127, 141},
        {"SCRD", 15, 411, 425},   {"PARA", 11, 13, 858},     {"PIC", 10, 257, 266},
        {"DIVISION", 7, 11, 426}, {"FIG", 7, 793, 799},      {"AR", 7, 819, 827},
        {"DCAT", 6, 252, 267},    {"COPY", 6, 447, 452},     {"START", 5, 733, 941},
        {"OP", 4, 2, 829},        {"ACCEPT", 4, 456, 459},   {"DISPLAY", 4, 539, 542},
        {"COBOL", 3, 4, 7},       {"END", 3, 5, 433},        {"SPLIT", 3, 163, 165},
        {"LOG", 3, 856, 1400},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.prefix);
        int count = 0, low = 0, high = 0;
        for (int code = 1; code <= kLastCode; ++code) {
            std::string name = DovOperName(code);
            if (name.substr(0, name.find('_')) != c.prefix) continue;
            if (!count++) low = code;
            high = code;
        }
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(low, c.low);
        EXPECT_EQ(high, c.high);
    }
}

TEST(OperCatalogue, StatementFlags) {
    // Every STMT_ code but the statement list is a statement.
    for (int code = 1; code <= kLastCode; ++code) {
        if (std::strncmp(DovOperName(code), "STMT_", 5) != 0) continue;
        SCOPED_TRACE(DovOperName(code));
        EXPECT_EQ(DovOperIsEntryOrStatement(code), code != STMT_LIST);
    }
    EXPECT_EQ(DovOperIsList(STMT_LIST), 1);
    EXPECT_EQ(STMT_LIST, 441);
    for (DovOper op :
         {DECL_FC_ENTRY, DECL_FD_ENTRY, DECL_DD_ENTRY, DECL_COND_ENTRY, DECL_CONST_ENTRY, DECL_CD_ENTRY,
          DECL_RD_ENTRY, DECL_RGD_ENTRY, DECL_SCRD_ENTRY, DECL_DD_ENTRY_WANG_DISPLAY, PARA_FIG_CONSTS,
          EX_ELSE, EX_WANG_TIMEOUT, EX_SEARCH_AT_END, EX_SEARCH_WHEN_PHRASE, ON_DISPLAY_EXCEPTION,
          NOT_ON_DISPLAY_EXCEPTION})
        EXPECT_EQ(DovOperIsEntryOrStatement(op), 1) << DovOperName(op);
    EXPECT_EQ(DovOperIsEntryOrStatement(EX_END_ADD), 0);
    EXPECT_EQ(DovOperIsEntryOrStatement(EX_ON_SIZE_ERROR), 0);
}

TEST(OperCatalogue, KnownRows) {
    EXPECT_EQ(NULL_NODE, 1);
    EXPECT_EQ(COBOL_PROGRAM, 7);
    EXPECT_EQ(TIC_LAST_CODE, 1401);
    EXPECT_EQ(DovOperArgCount(COBOL_PROGRAM), 7);
    EXPECT_TRUE(DovOperArgName(COBOL_PROGRAM, 6) == "Symbol Table");
    EXPECT_TRUE(DovOperArgName(COBOL_PROGRAM, 0) == "Identification Division");
    EXPECT_STREQ(DovOperCatalogue[COBOL_PROGRAM].displayName, "Cobol Program");
    EXPECT_STREQ(DovOperCatalogue[NULL_NODE].displayName, "Null Node");
    EXPECT_STREQ(DovOperCatalogue[STMT__SYNTAX_ERROR].displayName, "Stmt Syntax Error");
    EXPECT_EQ(DovOperArgCount(3), 0);
    EXPECT_EQ(DovOperIsList(3), 1);
    EXPECT_EQ(DovOperArgCount(SECTION_SCHEMA), -1);
    EXPECT_EQ(DovOperArgCount(STMT_MOVE), 2);
    EXPECT_EQ(DovOperCatalogue[COBOL_FILE].fixedOrder, 2);
    EXPECT_EQ(DovOperCatalogue[STMT_INLINED_COPY_END].fixedOrder, 0);
    EXPECT_EQ(DovOperCatalogue[STMT_INLINED_INCLUDE_END].fixedOrder, 0);
    EXPECT_EQ(DovOperCatalogue[COBOL_PROGRAM].fixedOrder, -1);

    EXPECT_EQ(DovOperArgIsDerived(4, 3), 1);
    EXPECT_EQ(DovOperArgIsDerived(4, 2), 1);
    EXPECT_EQ(DovOperArgIsDerived(4, 0), 0);
    EXPECT_EQ(DovOperArgIsDerived(7, 6), 0);
    EXPECT_EQ(DovOperArgIsDerived(7, 7), 0);
    EXPECT_EQ(DovOperArgIsDerived(7, -1), 0);
}

TEST(OperCatalogue, Templates) {
    struct Case {
        DovOper op;
        const char* text;
    };
    const Case cases[] = {
        {EX_LIST, "@&"},
        {COBOL_PROGRAM, "$1{$2?$2}{$3?$3}{$4?\n$4}{$5?\n$5}{$6?\n$6}"},
        {PARA_PROGRAM_ID, "PROGRAM-ID.{$1?|$1}{$2?|$2}[.]"},
        {CMP_EQ, "$1{$2= =|$2}"},
        {LOG_NOT, "NOT $1"},
        {FIG_ZERO, "ZERO"},
        {FIG_HIGH_VALUE, "HIGH-VALUES"},
        {FIG_NULL, "NULL"},
        {DECL_NO_OP, "\xff"},
        {STMT_NO_OP, "\xff"},
        {NULL_NODE, ""},
        {NAME_USE, ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(DovOperTemplate(c.op), c.text) << DovOperName(c.op);
    EXPECT_TRUE(DovOperTemplateStr(FIG_SPACE) == "SPACES");
}

TEST(OperCatalogue, ArgNameDefault) {
    int noName = 0;
    EXPECT_TRUE(DovOperArgName(7, 7, &noName, nullptr) == "No. 7 in Operation COBOL_PROGRAM");
    EXPECT_EQ(noName, 1);
    EXPECT_TRUE(DovOperArgName(0, 2, &noName) == "No. 2 in Operation bad-op");
    EXPECT_TRUE(DovOperArgName(EX_LIST, 0, &noName, "slot %d of %s") == "slot 0 of EX_LIST");
    EXPECT_EQ(noName, 1);
    DovOperArgName(7, 6, &noName);
    EXPECT_EQ(noName, 0);
}

// The dictionary's layout: each defined operation followed by its slots with
// the indexes 0..n-1, and every name looks up to its own record.
TEST(OperNameDictionary, Layout) {
    const DovNameDictEntry* e = DovOperNameDictionary;
    EXPECT_STREQ(e->name, "TIC_FIRST_CODE");
    EXPECT_EQ(e->value, 0);
    ++e;
    for (int code = 1; code <= kLastCode; ++code) {
        if (IsUndefined(code)) continue;
        SCOPED_TRACE(code);
        ASSERT_EQ(e->kind, 1);
        ASSERT_EQ(e->value, code);
        EXPECT_STREQ(e->name, DovOperName(code));
        ++e;
        for (int slot = 0; slot < DovOperArgCount(code); ++slot, ++e) {
            ASSERT_EQ(e->kind, 2);
            ASSERT_EQ(e->value, slot);
        }
    }
    EXPECT_STREQ(e->name, "TIC_LAST_CODE");
    EXPECT_EQ(e->value, 1401);
    EXPECT_EQ(e - DovOperNameDictionary, kDovOperNameDictSize - 1);

    for (const DovNameDictEntry& d : DovOperNameDictionary) {
        if (d.value == TIC_LAST_CODE) continue;
        int kind = -1;
        EXPECT_EQ(DovOperNameLookup(d.name, &kind), d.value) << d.name;
        EXPECT_EQ(kind, d.kind) << d.name;
    }
}

TEST(OperNameDictionary, Lookup) {
    struct Case {
        const char* text;
        int value, kind;
    };
    const Case cases[] = {
        {"COBOL_PROGRAM", 7, 1},
        {"PROG_DATA_DIV", 2, 2},
        {"MOVE_DESTS", 1, 2},
        {"MOVE_SOURCE", 0, 2},
        {"123", 123, 3},
        {"", 0, 3},
        {"007", 7, 3},
        {"99999999999", 2147483647, 3},
        {"TIC_FIRST_CODE", 0, 1},
        {"TIC_LAST_CODE", -1, 0},
        {"SECTION_SCHEMA", -1, 0},
        {"cobol_program", -1, 0},
        {"COBOL_PROGRAMX", -1, 0},
        {"COBOL_PROGRA", -1, 0},
        {"12a", -1, 0},
        {"-1", -1, 0},
        {"LOG_NOT", 1400, 1},
        {"LOG_NOT__LOGNOT_ARG1", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int kind = -1;
        EXPECT_EQ(DovOperNameLookup(c.text, &kind), c.value);
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(DovOperNameLookup(c.text), c.value);
    }
    // A name with a NUL inside is not the name before the NUL.
    int kind = -1;
    EXPECT_EQ(DovOperNameLookup(VString("LOG_NOT\0X", 9), &kind), -1);
    EXPECT_EQ(kind, 0);
}

TEST(OperTic, RoundTripsEveryCode) {
    std::ostringstream out;
    for (int code = 1; code <= kLastCode; ++code) DovOperPutTic(code, out);
    std::istringstream in(out.str());
    for (int code = 1; code <= kLastCode; ++code) {
        DovOper got = NULL_NODE;
        VString message;
        ASSERT_EQ(DovOperGetTic(in, got, message), 0) << code << " " << message;
        EXPECT_EQ(got, code);
    }
}

TEST(OperTic, Forms) {
    std::ostringstream out;
    DovOperPutTic(COBOL_PROGRAM, out);
    DovOperPutTic(1401, out);
    EXPECT_EQ(out.str(), "COBOL_PROGRAM:bad-op:");

    struct Case {
        const char* input;
        char result;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"COBOL_PROGRAM:", 0, 7, ""},
        {"TIC_FIRST_CODE:", 0, 0, ""},
        {"LOG_NOT", 0, 1400, ""},  // the end of input ends the name
        {"NO_SUCH_OP:", ':', -1, "DovOperGetTic: oper 'NO_SUCH_OP' not found"},
        {"bad-op:", ':', -1, "DovOperGetTic: oper 'bad-op' not found"},
        {"TIC_LAST_CODE:", ':', -1, "DovOperGetTic: oper 'TIC_LAST_CODE' not found"},
        {"COBOL_PROGRAM\\0:", '<', -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        std::istringstream in(c.input);
        DovOper code = NULL_NODE;
        VString message;
        EXPECT_EQ(DovOperGetTic(in, code, message), c.result);
        if (c.code >= 0) {
            EXPECT_EQ(code, c.code);
        }
        if (c.message) {
            EXPECT_TRUE(message == c.message) << message;
        }
    }
}

// Random bytes fed to the readers of untrusted names: no crash, and any
// success names a real entry.
TEST(OperTic, RandomInput) {
    std::mt19937 rng(4);
    const std::string baseTexts[] = {"COBOL_PROGRAM:", "STMT_MOVE:", "\\255\\n:", "123:", "MOVE_DESTS:"};
    for (int round = 0; round < 3000; ++round) {
        std::string s = baseTexts[round % 5];
        for (int k = rng() % 4; k >= 0; --k) {
            std::size_t at = rng() % (s.size() + 1);
            switch (rng() % 3) {
                case 0:
                    s.insert(at, 1, static_cast<char>(rng()));
                    break;
                case 1:
                    if (at < s.size()) s.erase(at, 1);
                    break;
                default:
                    if (at < s.size()) s[at] = static_cast<char>(rng());
                    break;
            }
        }
        std::istringstream in(s);
        DovOper code = NULL_NODE;
        VString message;
        char r = DovOperGetTic(in, code, message);
        if (r == 0) {
            EXPECT_LT(static_cast<int>(code), kDovOperCatalogueSize);
        } else {
            EXPECT_FALSE(message.IsEmpty());
        }
        int kind = -1;
        int value = DovOperNameLookup(VString(s.data(), static_cast<int>(s.size())), &kind);
        EXPECT_TRUE(kind >= 0 && kind <= 3);
        if (kind == 0) {
            EXPECT_EQ(value, -1);
        }
    }
}

}  // namespace
