#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/lbase.h"

namespace {

std::vector<std::string> ToVector(const VStringList& list) {
    std::vector<std::string> out;
    for (auto* n = list.head; n; n = n->next) out.emplace_back(n->value.CStr());
    return out;
}

// Variables behind a table with one option of every kind.
struct Options {
    int x = 0, n = 9, l = 0;
    int a[4] = {};
    int a_count = -1;
    VString s = "unset";
    VString q;
    VStringArray z{4};
    VStringArray z1{1};  // a string list that starts with room for one element
    const VString choices[4] = {"alpha", "beta", "gamma", VString()};
    DovCommandLineFlagTable table;

    Options() {
        const DovCommandLineFlag records[] = {
            {'-', "hdr", nullptr, nullptr, nullptr, nullptr, 0, "Settings", 1},
            {'b', "x", &x, nullptr, nullptr, nullptr, 0, "a switch", 1},
            {'n', "n", &n, nullptr, nullptr, nullptr, 0, "a number", 1},
            {'a', "a", a, nullptr, nullptr, &a_count, 4, "numbers", 1},
            {'s', "s", nullptr, nullptr, &s, nullptr, 0, "a string", 1},
            {'s', "q", nullptr, nullptr, &q, nullptr, 0, "a query", 1},
            {'z', "z", nullptr, nullptr, nullptr, nullptr, 0, "strings", 1, &z},
            {'z', "z1", nullptr, nullptr, nullptr, nullptr, 0, "few strings", 1, &z1},
            {'l', "l", &l, choices, nullptr, nullptr, 0, "a choice", 1},
            {0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0},
        };
        DovSelectCommandLineFlags(table, records, 1);
    }

    int Set(const std::vector<std::string>& words, VStringList& files, VStringList& messages) {
        std::vector<const char*> argv;
        for (const auto& w : words) argv.push_back(w.c_str());
        return SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, messages);
    }
};

struct FlagCase {
    const char* word;
    const char* message;  // "" when the word is good
    std::function<void(Options&)> prepare;
    std::function<void(const Options&)> check;
};

std::string Str(const VString& s) { return s.CStr(); }

TEST(SetCLFlag, OneWordAtATime) {
    const std::string long_element(1000, 'd');
    const std::string long_z = "-z=" + long_element + ",e";
    auto none = [](Options&) {};
    const FlagCase cases[] = {
        // Booleans.
        {"-x", "", none, [](const Options& o) { EXPECT_EQ(o.x, 1); }},
        {"-no-x", "", [](Options& o) { o.x = 1; }, [](const Options& o) { EXPECT_EQ(o.x, 0); }},
        {"-x=1", "Assigning non-boolean value to boolean flag: -x=1", none,
         [](const Options& o) { EXPECT_EQ(o.x, 0); }},
        {"-no-x=", "Assigning non-boolean value to boolean flag: -no-x=", [](Options& o) { o.x = 1; },
         [](const Options& o) { EXPECT_EQ(o.x, 1); }},
        // Names.
        {"-", "Unknown option: -", none, nullptr},
        {"-no-", "Unknown option: -no-", none, nullptr},
        {"-X", "Unknown option: -X", none, nullptr},
        {"-xx", "Unknown option: -xx", none, nullptr},
        {"-=1", "Unknown option: -=1", none, nullptr},
        {"-hdr", "SetCLFlag: bad flag code", none, nullptr},
        {"-no-n=5", "Non-boolean flag -no-n=5 has no- prefix", none, [](const Options& o) { EXPECT_EQ(o.n, 9); }},
        // Numbers.
        {"-n=", "", none, [](const Options& o) { EXPECT_EQ(o.n, 0); }},
        {"-n=042", "", none, [](const Options& o) { EXPECT_EQ(o.n, 42); }},
        {"-n", "Numeric option requires a value: -n", none, [](const Options& o) { EXPECT_EQ(o.n, 9); }},
        {"-n=-3", "Not a numeric value: -n=-3", none, [](const Options& o) { EXPECT_EQ(o.n, 9); }},
        {"-n=+3", "Not a numeric value: -n=+3", none, nullptr},
        {"-n=3 ", "Not a numeric value: -n=3 ", none, nullptr},
        {"-n=2147483647", "", none, [](const Options& o) { EXPECT_EQ(o.n, INT_MAX); }},
        {"-n=2147483648", "Not a numeric value: -n=2147483648", none,
         [](const Options& o) { EXPECT_EQ(o.n, 9); }},
        {"-n=99999999999999999999999", "Not a numeric value: -n=99999999999999999999999", none, nullptr},
        // Number lists.
        {"-a=1,,2", "", none,
         [](const Options& o) {
             EXPECT_EQ(o.a_count, 3);
             EXPECT_EQ(o.a[0], 1);
             EXPECT_EQ(o.a[1], 0);
             EXPECT_EQ(o.a[2], 2);
         }},
        {"-a=1,", "", none, [](const Options& o) { EXPECT_EQ(o.a_count, 1); }},
        {"-a=", "", none, [](const Options& o) { EXPECT_EQ(o.a_count, 0); }},
        {"-a=1,2,3,4", "", none, [](const Options& o) { EXPECT_EQ(o.a_count, 4); }},
        {"-a", "Numeric array option requires a value: -a", none,
         [](const Options& o) { EXPECT_EQ(o.a_count, -1); }},
        {"-a=1,x", "Not a numeric value: -a=1,x", none,
         [](const Options& o) {
             EXPECT_EQ(o.a[0], 1);
             EXPECT_EQ(o.a_count, -1);
         }},
        {"-a=4294967297", "Not a numeric value: -a=4294967297", none, nullptr},
        {"-a=1,2,3,4,5,6", "Too many elements in numeric array option: ',6'", none,
         [](const Options& o) {
             EXPECT_EQ(o.a[3], 4);
             EXPECT_EQ(o.a_count, -1);
         }},
        {"-a=1,2,3,4,5", "Too many elements in numeric array option: ''", none, nullptr},
        // Strings.
        {"-s=two words", "", none, [](const Options& o) { EXPECT_EQ(Str(o.s), "two words"); }},
        {"-s=a=b", "", none, [](const Options& o) { EXPECT_EQ(Str(o.s), "a=b"); }},
        {"-s=", "", none, [](const Options& o) { EXPECT_TRUE(o.s.IsEmpty()); }},
        {"-s", "String option requires a value: -s", none,
         [](const Options& o) { EXPECT_EQ(Str(o.s), "unset"); }},
        // String lists.
        {"-z=a;b,c", "", [](Options& o) { o.z.Append("old"); },
         [](const Options& o) {
             EXPECT_EQ(o.z.count, 3);
             EXPECT_EQ(Str(o.z.items[0]) + Str(o.z.items[1]) + Str(o.z.items[2]), "abc");
             EXPECT_TRUE(o.z.items[3].IsEmpty());
         }},
        {"-z=c:/x,,y;", "", none,
         [](const Options& o) {
             EXPECT_EQ(o.z.count, 3);
             EXPECT_EQ(Str(o.z.items[0]), "c:/x");
             EXPECT_TRUE(o.z.items[1].IsEmpty());
             EXPECT_EQ(Str(o.z.items[2]), "y");
         }},
        {"-z=", "",
         [](Options& o) {
             o.z.Append("old");
             o.z.Append("older");
         },
         [](const Options& o) {
             EXPECT_EQ(o.z.count, 0);
             EXPECT_TRUE(o.z.items[0].IsEmpty());
             EXPECT_TRUE(o.z.items[1].IsEmpty());
         }},
        {long_z.c_str(), "", none,
         [&long_element](const Options& o) {
             EXPECT_EQ(o.z.count, 2);
             EXPECT_EQ(Str(o.z.items[0]), long_element);
         }},
        {"-z", "String array option requires a value: -z", none, nullptr},
        // A list grows to take every element, whatever room it started with.
        {"-z1=a,b,c,d", "", none,
         [](const Options& o) {
             ASSERT_EQ(o.z1.count, 4);
             EXPECT_EQ(Str(o.z1.items[0]) + Str(o.z1.items[1]) + Str(o.z1.items[2]) + Str(o.z1.items[3]), "abcd");
             for (int i = o.z1.count; i < o.z1.capacity; ++i) EXPECT_TRUE(o.z1.items[i].IsEmpty());
         }},
        {"-z1=a", "", none, [](const Options& o) { EXPECT_EQ(o.z1.count, 1); }},
        // Selections.
        {"-l=beta", "", none, [](const Options& o) { EXPECT_EQ(o.l, 1); }},
        {"-l", "", [](Options& o) { o.l = 2; }, [](const Options& o) { EXPECT_EQ(o.l, 0); }},
        {"-l=", "", [](Options& o) { o.l = 2; }, [](const Options& o) { EXPECT_EQ(o.l, 0); }},
        {"-l=7", "", none, [](const Options& o) { EXPECT_EQ(o.l, 7); }},
        {"-l=Beta", "Selection option is assigned illegal value: -l=Beta", [](Options& o) { o.l = 2; },
         [](const Options& o) { EXPECT_EQ(o.l, 2); }},
        {"-l=99999999999", "Selection option is assigned illegal value: -l=99999999999", none, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.word).substr(0, 40));
        Options o;
        c.prepare(o);
        VStringList files, messages;
        int rc = o.Set({c.word}, files, messages);
        EXPECT_TRUE(files.IsEmpty());
        if (*c.message) {
            EXPECT_EQ(rc, 21);
            EXPECT_EQ(ToVector(messages), std::vector<std::string>{c.message});
        } else {
            EXPECT_EQ(rc, 0);
            EXPECT_TRUE(messages.IsEmpty()) << messages;
        }
        if (c.check) c.check(o);
    }
}

TEST(SetCLFlag, AStringListTakesAnyNumberOfElements) {
    Options o;
    std::string value, quoted;
    for (int i = 0; i < 3000; ++i) {
        const std::string element = "dir" + std::to_string(i);
        value += (i ? "," : "") + element;
        quoted += (i ? ",\"" : "\"") + element + "\"";
    }
    VStringList files, messages;
    ASSERT_EQ(o.Set({"-z1=" + value}, files, messages), 0) << messages;
    ASSERT_EQ(o.z1.count, 3000);
    EXPECT_EQ(Str(o.z1.items[2999]), "dir2999");
    // Both listings show every element.
    std::ostringstream one;
    DovPrintCommandLineFlag(*std::find_if(o.table.flags, o.table.flags + o.table.count,
                                          [](const DovCommandLineFlag& f) { return std::string(f.name) == "z1"; }),
                            one);
    EXPECT_EQ(one.str(), "-z1=" + value);
    std::ostringstream help;
    DovPrintCommandLineFlags(o.table, help, 0, 0, nullptr);
    EXPECT_NE(help.str().find("-z1=string list (now: " + quoted + ")\n"), std::string::npos);
    // A shorter list afterwards leaves nothing of the longer one behind.
    ASSERT_EQ(o.Set({"-z1=x"}, files, messages), 0);
    EXPECT_EQ(o.z1.count, 1);
    for (int i = 1; i < o.z1.capacity; ++i) EXPECT_TRUE(o.z1.items[i].IsEmpty()) << i;
}

TEST(SetCLFlag, EveryWordIsHandled) {
    Options o;
    VStringList files, messages;
    int rc = o.Set({"-x", "-bad", "one.cbl", "-n=x", "-s=ok", "two.cbl", ""}, files, messages);
    EXPECT_EQ(rc, 21);
    EXPECT_EQ(ToVector(messages), (std::vector<std::string>{"Unknown option: -bad", "Not a numeric value: -n=x"}));
    EXPECT_EQ(ToVector(files), (std::vector<std::string>{"one.cbl", "two.cbl", ""}));
    EXPECT_EQ(o.x, 1);
    EXPECT_EQ(Str(o.s), "ok");
}

TEST(SetCLFlag, StartsAtFirstAndStopsBeforeEnd) {
    Options o;
    const char* argv[] = {"prog", "-x", "-n=5", "-s=never"};
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(o.table, 1, 3, argv, files, messages), 0);
    EXPECT_EQ(o.x, 1);
    EXPECT_EQ(o.n, 5);
    EXPECT_EQ(Str(o.s), "unset");
    EXPECT_TRUE(files.IsEmpty());
}

TEST(SetCLFlag, EmptyTableKnowsNothing) {
    DovCommandLineFlagTable table;
    const char* argv[] = {"-x"};
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(table, 0, 1, argv, files, messages), 21);
    EXPECT_EQ(ToVector(messages), std::vector<std::string>{"Unknown option: -x"});
}

TEST(SetCLFlag, FirstRecordOfANameWins) {
    int first = 0, second = 0;
    const DovCommandLineFlag records[] = {
        {'n', "v", &first, nullptr, nullptr, nullptr, 0, "", 1},
        {'n', "v", &second, nullptr, nullptr, nullptr, 0, "", 1},
        {0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0},
    };
    DovCommandLineFlagTable table;
    DovSelectCommandLineFlags(table, records, 1);
    const char* argv[] = {"-v=3"};
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(table, 0, 1, argv, files, messages), 0);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 0);
}

TEST(SetCLFlag, RandomWordsNeverHurt) {
    // Words built from the characters that mean something to the engine.
    const char alphabet[] = "-=,;:xnaszlbeto0159 no-";
    unsigned rngState = 12345;
    auto next = [&rngState] { return (rngState = rngState * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 3000; ++round) {
        Options o;
        std::string word = "-";
        int len = static_cast<int>(next() % 12);
        for (int i = 0; i < len; ++i) word += alphabet[next() % (sizeof alphabet - 1)];
        VStringList files, messages;
        int rc = o.Set({word}, files, messages);
        EXPECT_EQ(rc == 0, messages.IsEmpty()) << word;
        EXPECT_LE(o.a_count, 4);
        EXPECT_LE(o.z.count, o.z.capacity);
        EXPECT_LE(o.z1.count, o.z1.capacity);
    }
}

// --- Registry ---------------------------------------------------------------

TEST(CommandLineFlagTable, SelectKeepsOrderAndTerminates) {
    int v[4] = {};
    const DovCommandLineFlag records[] = {
        {'n', "a", &v[0], nullptr, nullptr, nullptr, 0, "", 1},
        {'n', "b", &v[1], nullptr, nullptr, nullptr, 0, "", 2},
        {'n', "c", &v[2], nullptr, nullptr, nullptr, 0, "", 3},
        {'n', "d", &v[3], nullptr, nullptr, nullptr, 0, "", 4},
        {0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0},
        {'n', "after-end", &v[0], nullptr, nullptr, nullptr, 0, "", 1},
    };
    DovCommandLineFlagTable table;
    table.count = 7;
    DovCommandLineFlagTable& same = DovSelectCommandLineFlags(table, records, 1);
    EXPECT_EQ(&same, &table);
    ASSERT_EQ(table.count, 2);
    EXPECT_STREQ(table.flags[0].name, "a");
    EXPECT_STREQ(table.flags[1].name, "c");
    EXPECT_EQ(table.flags[2].kind, 0);

    VString message;
    EXPECT_EQ(DovAddCommandLineFlags(table, records, message, 6), 0);
    ASSERT_EQ(table.count, 5);
    EXPECT_STREQ(table.flags[2].name, "b");
    EXPECT_STREQ(table.flags[4].name, "d");
    EXPECT_EQ(table.flags[5].kind, 0);

    DovCommandLineFlagTable other;
    EXPECT_EQ(DovAddCommandLineFlags(other, table, message, 2), 0);
    ASSERT_EQ(other.count, 3);
    EXPECT_STREQ(other.flags[0].name, "c");
    EXPECT_STREQ(other.flags[1].name, "b");
    EXPECT_STREQ(other.flags[2].name, "c");
    EXPECT_EQ(DovAddCommandLineFlags(other, records[1], message), 0);
    EXPECT_EQ(other.count, 4);
    EXPECT_EQ(other.flags[4].kind, 0);
    EXPECT_TRUE(message.IsEmpty());
}

TEST(CommandLineFlagTable, The121stRecordIsRefused) {
    std::vector<int> vars(130);
    std::vector<std::string> names(130);
    std::vector<DovCommandLineFlag> records;
    for (int i = 0; i < 130; ++i) {
        names[i] = "o" + std::to_string(i);
        records.push_back({'n', names[i].c_str(), &vars[i], nullptr, nullptr, nullptr, 0, "", 1});
    }
    records.push_back({0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0});

    DovCommandLineFlagTable table;
    VString message;
    EXPECT_EQ(DovAddCommandLineFlags(table, records.data(), message, 1), 23);
    EXPECT_EQ(Str(message), "DovAddCommandLineFlags: too many options");
    EXPECT_EQ(table.count, 120);
    EXPECT_STREQ(table.flags[119].name, "o119");
    EXPECT_EQ(table.flags[120].kind, 0);

    VString again;
    EXPECT_EQ(DovAddCommandLineFlags(table, records[0], again), 23);
    EXPECT_EQ(Str(again), "DovAddCommandLineFlags: too many options");
    DovCommandLineFlagTable copy;
    EXPECT_EQ(DovAddCommandLineFlags(copy, table, again, 1), 0);
    EXPECT_EQ(DovAddCommandLineFlags(copy, table, again, 1), 23);
    EXPECT_EQ(copy.count, 120);

    // Selecting more than a table holds fills it and stops.
    DovCommandLineFlagTable selected;
    DovSelectCommandLineFlags(selected, records.data(), 1);
    EXPECT_EQ(selected.count, 120);
    EXPECT_EQ(selected.flags[120].kind, 0);

    // The options in the table still work.
    const char* argv[] = {"-o119=8"};
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(table, 0, 1, argv, files, messages), 0);
    EXPECT_EQ(vars[119], 8);
}

// --- Environment string ---------------------------------------------------------

struct EnvCase {
    const char* text;
    int rc;
    std::vector<std::string> messages;
    std::function<void(const Options&)> check;
};

TEST(DovSetCLFlagsFromString, CutsAtBlanksAndQuotes) {
    const EnvCase cases[] = {
        {"", 0, {}, nullptr},
        {"-x -n=3", 0, {}, [](const Options& o) { EXPECT_EQ(o.x + o.n, 4); }},
        {"  -x \t -n=3", 0, {}, [](const Options& o) { EXPECT_EQ(o.x + o.n, 4); }},
        {"-q=\"x y\" -x", 0, {},
         [](const Options& o) {
             EXPECT_EQ(Str(o.q), "x y");
             EXPECT_EQ(o.x, 0);
         }},
        {"-x -q=\"a b", 0, {}, [](const Options& o) { EXPECT_EQ(Str(o.q), "a b"); }},
        {"-q=a\"\"b -bad", 0, {}, [](const Options& o) { EXPECT_EQ(Str(o.q), "a"); }},
        // A blank starts no word: blanks alone give none, blanks before,
        // between and after the words add none.
        {" ", 0, {}, nullptr},
        {"   \t  ", 0, {}, nullptr},
        {"-x ", 0, {}, [](const Options& o) { EXPECT_EQ(o.x, 1); }},
        {" -x  \t", 0, {}, [](const Options& o) { EXPECT_EQ(o.x, 1); }},
        {"-x    -n=3   ", 0, {}, [](const Options& o) { EXPECT_EQ(o.x + o.n, 4); }},
        {"-q=\"x  y \"  ", 0, {}, [](const Options& o) { EXPECT_EQ(Str(o.q), "x  y "); }},
        // A quote does start one: two quotes make an empty word.
        {"-x \"\"", 21, {"File names not allowed in options taken from environment variables: "},
         [](const Options& o) { EXPECT_EQ(o.x, 1); }},
        {"-x prog.cbl b.cbl", 21, {"File names not allowed in options taken from environment variables: prog.cbl"},
         nullptr},
        {"-x \"a.cbl\"", 21, {"File names not allowed in options taken from environment variables: a.cbl"}, nullptr},
        {"\"-x\"", 21, {"File names not allowed in options taken from environment variables: \"-x"}, nullptr},
        {"-y a.cbl", 21, {"Unknown option: -y"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Options o;
        VStringList messages;
        EXPECT_EQ(DovSetCLFlagsFromString(o.table, c.text, messages), c.rc);
        EXPECT_EQ(ToVector(messages), c.messages);
        if (c.check) c.check(o);
    }
}

TEST(DovSetCLFlagsFromString, ManyWords) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "-no-x -x ";
    text += "-n=5";
    Options o;
    VStringList messages;
    EXPECT_EQ(DovSetCLFlagsFromString(o.table, text.c_str(), messages), 0);
    EXPECT_EQ(o.x, 1);
    EXPECT_EQ(o.n, 5);
}

TEST(DovSetCLFlagsFromString, RandomTextsNeverHurt) {
    const char alphabet[] = " \t\"-xnq=a,b";
    unsigned rngState = 777;
    auto next = [&rngState] { return (rngState = rngState * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int len = static_cast<int>(next() % 16);
        for (int i = 0; i < len; ++i) text += alphabet[next() % (sizeof alphabet - 1)];
        Options o;
        VStringList messages;
        int rc = DovSetCLFlagsFromString(o.table, VString(text.c_str()), messages);
        EXPECT_EQ(rc == 0, messages.IsEmpty()) << text;
    }
}

// --- Stream -------------------------------------------------------------------

TEST(DovSetCLFlagsFromStream, ReadsUpToTheNextSection) {
    Options o;
    const std::string long_value(400, 'v');
    std::istringstream in("-x\n-s=two words\r\n\n-s=" + long_value + "\n-n=4\n[next]\n-n=7\n");
    VString messages;
    EXPECT_EQ(DovSetCLFlagsFromStream(o.table, in, messages), 0);
    EXPECT_TRUE(messages.IsEmpty()) << messages;
    EXPECT_EQ(o.x, 1);
    EXPECT_EQ(o.n, 4);
    EXPECT_EQ(Str(o.s), long_value);
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "-n=7");
}

TEST(DovSetCLFlagsFromStream, JoinsMessagesAndReadsToTheEnd) {
    Options o;
    std::string text;
    for (int i = 0; i < 150; ++i) text += "-x\n";
    text += "-bad\n-n=x\n-n=6";
    std::istringstream in(text);
    VString messages = "earlier";
    EXPECT_EQ(DovSetCLFlagsFromStream(o.table, in, messages), 21);
    EXPECT_EQ(Str(messages), "earlier; Unknown option: -bad; Not a numeric value: -n=x");
    EXPECT_EQ(o.n, 6);
}

}  // namespace
