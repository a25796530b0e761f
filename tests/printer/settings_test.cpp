// The printer's settings: defaults, copies, the option records and how the
// option engine fills the settings through them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "lbase/cmdline.h"
#include "printer/printer.h"

namespace {

// Sets options from words as the command line gives them.
int Set(const DovCommandLineFlagTable& table, std::vector<std::string> words, std::string* messages = nullptr) {
    std::vector<const char*> argv;
    for (const auto& w : words) argv.push_back(w.c_str());
    VStringList files, msgs;
    const int rc = SetCLFlag(table, 0, static_cast<int>(argv.size()), argv.data(), files, msgs);
    if (messages) {
        std::ostringstream os;
        os << msgs;
        *messages = os.str();
    }
    return rc;
}

std::vector<int> Tabs(const DovPrettyPrinter& p) { return {p.gen_tabs.items, p.gen_tabs.items + p.gen_tabs.count}; }

TEST(PrinterSettings, Defaults) {
    DovPrettyPrinterImpl p;
    EXPECT_EQ(p.optionTable.count, 0);
    EXPECT_EQ(p.primary_table, nullptr);
    EXPECT_EQ(p.gen_posn, 0);
    EXPECT_EQ(p.gen_src, 0);
    EXPECT_TRUE(p.gen_copy_dir.IsEmpty());
    EXPECT_EQ(p.gen_indent_step, 2);
    EXPECT_EQ(p.gen_max_indent, 40);
    EXPECT_EQ(Tabs(p), (std::vector<int>{12, 24, 32, 42, 44, 54}));
    EXPECT_EQ(p.gen_tabs.capacity, 16);
    EXPECT_EQ(p.gen_line_format, 1);
    EXPECT_EQ(p.gen_observe_ab_rules, 1);
    EXPECT_EQ(p.gen_print_comments, 1);
    EXPECT_EQ(p.gen_enter_exit_copy_comments, 1);
    EXPECT_EQ(p.gen_line_id_comments, 1);
    EXPECT_TRUE(p.gen_73to80_fmt.IsEmpty());
    EXPECT_EQ(p.gen_73to80_start, 1);
    EXPECT_EQ(p.gen_73to80_step, 1);
    EXPECT_TRUE(p.gen_mark_conv.IsEmpty());
    EXPECT_EQ(p.debug_flags, 0);
    EXPECT_EQ(p.gen_table, nullptr);
}

TEST(PrinterSettings, LineFormatNames) {
    const char* expected[] = {"na", "fixed", "free", "fsc-free", "var", ""};
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(LineFormatNames[i].CStr(), expected[i]) << i;
}

TEST(PrinterSettings, DefineOptionsBuildsTheEighteenRecordsInOrder) {
    DovPrettyPrinterImpl p;
    DovCommandLineFlagTable& table = p.DefineOptions(255);
    EXPECT_EQ(&table, &p.optionTable);
    struct Row {
        char kind;
        const char* name;
        const char* help;
        int mask;
    };
    const Row rows[] = {
        {'-', "", "PrettyPrint Basics", 15},
        {'b', "gen-src", "Generate Cobol in SourcePrint (ON) / PrettyPrint(OFF) mode", 9},
        {'s', "gen-copy-dir", "Write copybooks to this directory", 9},
        {'-', "", "PrettyPrint Indentation", 15},
        {'n', "gen-indent-step", "Indentation step", 15},
        {'n', "gen-max-indent", "Maximum starting position for indented text", 15},
        {'a', "gen-tabs", "Tabulation Positions", 15},
        {'l', "gen-line-format", "Generated line format", 15},
        {'b', "gen-observe-ab-rules", "Observe Area A/B rules in generated code", 15},
        {'-', "", "Output Comments", 7},
        {'b', "gen-print-comments", "Preserve comments", 15},
        {'b', "gen-enter-exit-copy-comments", "Generate Enter/Exit comments around inlined copybooks", 15},
        {'-', "", "Line Identification", 7},
        {'b', "gen-line-id-comments", "Preserve original Line IDs (cols 1-6, 73-80)", 15},
        {'s', "gen-73to80-fmt", "Put text of this format into columns 73 to 80", 15},
        {'n', "gen-73to80-start", "Start value for number put into columns 73 to 80", 15},
        {'n', "gen-73to80-step", "Step for number put into columns 73 to 80", 15},
        {'s', "gen-mark-conv", "Add comment in columns 73 and up that show that line was changed or generated", 15},
    };
    ASSERT_EQ(table.count, 18);
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i + 1);
        const DovCommandLineFlag& f = table.flags[i];
        EXPECT_EQ(f.kind, rows[i].kind);
        EXPECT_STREQ(f.name, rows[i].name);
        EXPECT_STREQ(f.help, rows[i].help);
        EXPECT_EQ(f.mask, rows[i].mask);
    }
    EXPECT_EQ(table.flags[18].kind, 0);
    // The records point at this printer's settings.
    EXPECT_EQ(table.flags[1].value, &p.gen_src);
    EXPECT_EQ(table.flags[2].string, &p.gen_copy_dir);
    EXPECT_EQ(table.flags[6].value, p.gen_tabs.items);
    EXPECT_EQ(table.flags[6].count, &p.gen_tabs.count);
    EXPECT_EQ(table.flags[6].capacity, 16);
    EXPECT_EQ(table.flags[7].value, &p.gen_line_format);
    EXPECT_EQ(table.flags[7].choices, LineFormatNames);
    EXPECT_EQ(table.flags[7].string, nullptr);
    EXPECT_EQ(table.flags[17].string, &p.gen_mark_conv);
}

TEST(PrinterSettings, DefineOptionsSelectsByGroupMask) {
    auto selected = [](int mask) {
        DovPrettyPrinterImpl p;
        std::vector<std::string> names;
        const DovCommandLineFlagTable& t = p.DefineOptions(mask);
        for (int i = 0; i < t.count; ++i)
            names.push_back(t.flags[i].kind == '-' ? std::string("#") + t.flags[i].help : t.flags[i].name);
        return names;
    };
    const std::vector<std::string> mask8 = {"#PrettyPrint Basics",
                                            "gen-src",
                                            "gen-copy-dir",
                                            "#PrettyPrint Indentation",
                                            "gen-indent-step",
                                            "gen-max-indent",
                                            "gen-tabs",
                                            "gen-line-format",
                                            "gen-observe-ab-rules",
                                            "gen-print-comments",
                                            "gen-enter-exit-copy-comments",
                                            "gen-line-id-comments",
                                            "gen-73to80-fmt",
                                            "gen-73to80-start",
                                            "gen-73to80-step",
                                            "gen-mark-conv"};
    EXPECT_EQ(selected(8), mask8);
    for (int mask : {2, 4}) {
        SCOPED_TRACE(mask);
        const std::vector<std::string> names = selected(mask);
        EXPECT_EQ(names.size(), 16u);
        for (const auto& n : names) {
            EXPECT_NE(n, "gen-src");
            EXPECT_NE(n, "gen-copy-dir");
        }
    }
    EXPECT_EQ(selected(16).size(), 0u);
    EXPECT_EQ(selected(1).size(), 18u);
}

TEST(PrinterSettings, CopyHasAnEmptyOptionTableAndItsOwnSettings) {
    DovPrettyPrinterImpl p;
    p.DefineOptions(255);
    ASSERT_EQ(Set(p.optionTable, {"-gen-src", "-gen-copy-dir=out/copy", "-gen-tabs=8,16,24", "-gen-73to80-fmt=%08d",
                                  "-gen-mark-conv=CHANGED", "-gen-line-format=var", "-gen-indent-step=4"}),
              0);
    p.gen_posn = 1;
    p.debug_flags = 8;
    DovPrettyPrinterImpl copy(p);
    EXPECT_EQ(copy.optionTable.count, 0);
    EXPECT_EQ(copy.optionTable.flags[0].kind, 0);
    EXPECT_EQ(copy.gen_src, 1);
    EXPECT_STREQ(copy.gen_copy_dir.CStr(), "out/copy");
    EXPECT_EQ(Tabs(copy), (std::vector<int>{8, 16, 24}));
    EXPECT_NE(copy.gen_tabs.items, p.gen_tabs.items);
    EXPECT_EQ(copy.gen_tabs.capacity, 16);
    EXPECT_STREQ(copy.gen_73to80_fmt.CStr(), "%08d");
    EXPECT_STREQ(copy.gen_mark_conv.CStr(), "CHANGED");
    EXPECT_EQ(copy.gen_line_format, 4);
    EXPECT_EQ(copy.gen_indent_step, 4);
    EXPECT_EQ(copy.gen_posn, 1);
    EXPECT_EQ(copy.debug_flags, 8);
    // The copy's settings are its own.
    copy.gen_tabs.items[0] = 99;
    EXPECT_EQ(p.gen_tabs.items[0], 8);
}

TEST(PrinterSettings, AssignmentEmptiesTheOptionTableAndKeepsTheTabStorage) {
    DovPrettyPrinterImpl source;
    source.gen_tabs.count = 2;
    source.gen_tabs.items[0] = 5;
    source.gen_tabs.items[1] = 9;
    DovPrettyPrinterImpl target;
    DovCommandLineFlagTable& table = target.DefineOptions(255);
    int* items = target.gen_tabs.items;
    target = source;
    EXPECT_EQ(table.count, 0);
    EXPECT_EQ(table.flags[0].kind, 0);
    EXPECT_EQ(target.gen_tabs.items, items);
    EXPECT_EQ(Tabs(target), (std::vector<int>{5, 9}));
    target = target;  // self-assignment changes nothing
    EXPECT_EQ(Tabs(target), (std::vector<int>{5, 9}));
}

TEST(PrinterSettings, TabsOption) {
    DovPrettyPrinterImpl p;
    p.DefineOptions(255);
    std::string msgs;
    EXPECT_NE(Set(p.optionTable, {"-gen-tabs=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17"}, &msgs), 0);
    EXPECT_NE(msgs.find("Too many elements"), std::string::npos) << msgs;
    EXPECT_EQ(Set(p.optionTable, {"-gen-tabs=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16"}), 0);
    EXPECT_EQ(p.gen_tabs.count, 16);
    EXPECT_EQ(Set(p.optionTable, {"-gen-tabs=5,6"}), 0);
    EXPECT_EQ(p.gen_tabs.count, 2);
    EXPECT_EQ(p.gen_tabs.items[0], 5);
    EXPECT_EQ(p.gen_tabs.items[1], 6);
    EXPECT_EQ(p.gen_tabs.items[2], 3);  // the rest keep their values
    EXPECT_EQ(p.gen_tabs.items[15], 16);
}

TEST(PrinterSettings, LineFormatOption) {
    struct Case {
        const char* word;
        int rc_is_zero;
        int value;
    };
    const Case cases[] = {
        {"-gen-line-format=3", 1, 3},       {"-gen-line-format=fsc-free", 1, 3}, {"-gen-line-format=var", 1, 4},
        {"-gen-line-format=na", 1, 0},      {"-gen-line-format", 1, 0},          {"-gen-line-format=17", 1, 17},
        {"-gen-line-format=bogus", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        DovPrettyPrinterImpl p;
        p.DefineOptions(255);
        EXPECT_EQ(Set(p.optionTable, {c.word}) == 0, c.rc_is_zero != 0);
        EXPECT_EQ(p.gen_line_format, c.value);
    }
}

}  // namespace
