#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "lbase/lbase.h"

namespace {

// One option of every kind, with values that exercise the listings.
struct Listed {
    int verbose = 1, quiet = 0, level = 3, dialect = 2, format = 1, mode = 7, hidden = 1;
    int sizes[4] = {10, 0, 25, 0};
    int sizes_count = 3;
    VString name = "two words";
    VStringArray dirs{1};
    const VString dialects[4] = {"ansi", "ibm", "mf", VString()};
    VString dialect_names[3] = {"ANSI 85", "IBM", "Micro"};
    const VString formats[3] = {"fixed", "free", VString()};
    const VString modes[3] = {"a", "b", VString()};
    DovCommandLineFlagTable table;

    Listed() {
        for (const char* d : {"/usr/lib", "", "copy"}) dirs.Append(d);
        const DovCommandLineFlag records[] = {
            {'-', "settings", nullptr, nullptr, nullptr, nullptr, 0, "Settings", 1},
            {'b', "verbose", &verbose, nullptr, nullptr, nullptr, 0, "Print more.", 1},
            {'b', "quiet", &quiet, nullptr, nullptr, nullptr, 0, "Print less.", 1},
            {'n', "level", &level, nullptr, nullptr, nullptr, 0, "How deep to go.", 1},
            {'a', "sizes", sizes, nullptr, nullptr, &sizes_count, 4, "Sizes to try.", 1},
            {'s', "name", nullptr, nullptr, &name, nullptr, 0, "A name.", 1},
            {'z', "dirs", nullptr, nullptr, nullptr, nullptr, 0, "Where to look.", 1, &dirs},
            {'-', "dialects", nullptr, nullptr, nullptr, nullptr, 0, "Cobol Dialects", 1},
            {'l', "dialect", &dialect, dialects, dialect_names, nullptr, 0, "The dialect.", 1},
            {'l', "format", &format, formats, nullptr, nullptr, 0, "The source format.", 1},
            {'l', "mode", &mode, modes, nullptr, nullptr, 0, "A mode out of range.", 1},
            {'b', "hidden", &hidden, nullptr, nullptr, nullptr, 0, "Not in group 1.", 2},
            {0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 0},
        };
        DovSelectCommandLineFlags(table, records, 3);
    }
};

const char kHelpListing[] = R"(Command-Line arguments parsed:
  -help
  x.cbl

Command-Line parameters set:

*** Settings ***

-verbose=boolean (now: +ON+, can be -verbose or -no-verbose)
	Print more.
-quiet=boolean (now: -OFF-, can be -quiet or -no-quiet)
	Print less.
-level=number (now: 3)
	How deep to go.
-sizes=number list (now: 10,0,25)
	Sizes to try.
-name=string (now: "two words")
	A name.
-dirs=string list (now: "/usr/lib","","copy")
	Where to look.

*** Cobol Dialects ***

-dialect=ansi|ibm|mf (now: Micro)
	The dialect.
-format=fixed|free (now: free)
	The source format.
-mode=a|b (now: 7)
	A mode out of range.
-hidden=boolean (now: +ON+, can be -hidden or -no-hidden)
	Not in group 1.
)";

const char kValueListing[] = R"(-verbose
-no-quiet
-level=3
-sizes=10,0,25
-name=two words
-dirs=/usr/lib,,copy
-dialect=mf
-format=free
-mode=7
)";

TEST(OptionListings, HelpListing) {
    Listed o;
    const char* argv[] = {"vemlo", "-help", "x.cbl"};
    std::ostringstream out;
    DovPrintCommandLineFlags(o.table, out, 1, 3, argv);
    EXPECT_EQ(out.str(), kHelpListing);
}

TEST(OptionListings, ValueListingAndList) {
    Listed o;
    std::ostringstream out;
    DovPrintCommandLineFlagValues(o.table, out, 1);
    EXPECT_EQ(out.str(), kValueListing);

    VStringList list;
    DovCommandLineFlagsToList(o.table, list, 1);
    std::string joined;
    for (auto* n = list.head; n; n = n->next) joined += std::string(n->value.CStr()) + "\n";
    EXPECT_EQ(joined, kValueListing);

    std::ostringstream hidden;
    DovPrintCommandLineFlagValues(o.table, hidden, 2);
    EXPECT_EQ(hidden.str(), "-hidden\n");
}

TEST(OptionListings, ShortFormReadsBack) {
    Listed o;
    VStringList lines;
    DovCommandLineFlagsToList(o.table, lines, 3);

    Listed back;
    back.verbose = 0, back.quiet = 1, back.level = 0, back.dialect = 0, back.format = 0, back.mode = 0;
    back.hidden = 0;
    back.sizes_count = 0;
    back.name = "x";
    back.dirs.Clear();
    for (int i = 0; i < 5; ++i) back.dirs.Append("x");
    std::vector<const char*> argv;
    for (auto* n = lines.head; n; n = n->next) argv.push_back(n->value.CStr());
    VStringList files, messages;
    EXPECT_EQ(SetCLFlag(back.table, 0, static_cast<int>(argv.size()), argv.data(), files, messages), 0) << messages;
    EXPECT_TRUE(files.IsEmpty());

    EXPECT_EQ(back.verbose, o.verbose);
    EXPECT_EQ(back.quiet, o.quiet);
    EXPECT_EQ(back.level, o.level);
    EXPECT_EQ(back.dialect, o.dialect);
    EXPECT_EQ(back.format, o.format);
    EXPECT_EQ(back.mode, o.mode);
    EXPECT_EQ(back.hidden, o.hidden);
    ASSERT_EQ(back.sizes_count, o.sizes_count);
    for (int i = 0; i < o.sizes_count; ++i) EXPECT_EQ(back.sizes[i], o.sizes[i]);
    EXPECT_TRUE(back.name == o.name);
    ASSERT_EQ(back.dirs.count, o.dirs.count);
    for (int i = 0; i < o.dirs.count; ++i) EXPECT_TRUE(back.dirs.items[i] == o.dirs.items[i]) << i;
    for (int i = o.dirs.count; i < back.dirs.capacity; ++i) EXPECT_TRUE(back.dirs.items[i].IsEmpty()) << i;
}

TEST(OptionListings, EmptyAndOddValues) {
    int sizes[2] = {}, count = 0, odd = 0, negative = -4;
    VString text;
    VStringArray dirs(2);
    const VString choices[2] = {"one", VString()};
    struct Case {
        DovCommandLineFlag record;
        const char* short_form;
        const char* long_form;
    };
    const Case cases[] = {
        {{'a', "sizes", sizes, nullptr, nullptr, &count, 2, "h", 1}, "-sizes=", "-sizes=number list (now: )\n\th\n"},
        {{'s', "text", nullptr, nullptr, &text, nullptr, 0, "h", 1}, "-text=", "-text=string (now: \"\")\n\th\n"},
        {{'z', "dirs", nullptr, nullptr, nullptr, nullptr, 0, "h", 1, &dirs}, "-dirs=", "-dirs=string list (now: )\n\th\n"},
        {{'l', "sel", &negative, choices, nullptr, nullptr, 0, "h", 1}, "-sel=-4", "-sel=one (now: -4)\n\th\n"},
        {{'?', "odd", &odd, nullptr, nullptr, nullptr, 0, "h", 1}, "-odd=UNKNOWN-TYPE", "-odd\n\th\n"},
        {{'-', "group", nullptr, nullptr, nullptr, nullptr, 0, "Group", 1}, "", "\n*** Group ***\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record.name);
        std::ostringstream one;
        DovPrintCommandLineFlag(c.record, one);
        EXPECT_EQ(one.str(), c.short_form);

        DovCommandLineFlagTable table;
        VString message;
        ASSERT_EQ(DovAddCommandLineFlags(table, c.record, message), 0);
        std::ostringstream all;
        DovPrintCommandLineFlags(table, all, 0, 0, nullptr);
        EXPECT_EQ(all.str(), std::string("Command-Line arguments parsed:\n\nCommand-Line parameters set:\n") +
                                 c.long_form);
    }
}

}  // namespace
