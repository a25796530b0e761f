#include "printer/settings.h"

#include <algorithm>

const VString LineFormatNames[6] = {"na", "fixed", "free", "fsc-free", "var", ""};

DovIntArray::DovIntArray(int capacity) : capacity(capacity > 0 ? capacity : 0) {
    if (this->capacity > 0) items = new int[this->capacity]();
}

DovIntArray::DovIntArray(const DovIntArray& other) : DovIntArray(other.capacity) {
    count = std::clamp(other.count, 0, capacity);
    std::copy(other.items, other.items + count, items);
}

DovIntArray& DovIntArray::operator=(const DovIntArray& other) {
    if (this == &other) return *this;
    if (capacity != other.capacity) {
        int* fresh = other.capacity > 0 ? new int[other.capacity]() : nullptr;
        delete[] items;
        items = fresh;
        capacity = other.capacity > 0 ? other.capacity : 0;
    }
    count = std::clamp(other.count, 0, capacity);
    std::copy(other.items, other.items + count, items);
    return *this;
}

bool DovIntArray::Append(int value) {
    if (count < 0 || count >= capacity) return false;
    items[count++] = value;
    return true;
}

DovPrettyPrinter::DovPrettyPrinter() {
    for (int tab : {12, 24, 32, 42, 44, 54}) gen_tabs.Append(tab);
}

DovPrettyPrinter::DovPrettyPrinter(const DovPrettyPrinter& other) { CopySettings(other); }

DovPrettyPrinter& DovPrettyPrinter::operator=(const DovPrettyPrinter& other) {
    if (this == &other) return *this;
    optionTable.count = 0;
    optionTable.flags[0] = DovCommandLineFlag{};
    CopySettings(other);
    return *this;
}

void DovPrettyPrinter::CopySettings(const DovPrettyPrinter& other) {
    primary_table = other.primary_table;
    gen_posn = other.gen_posn;
    gen_src = other.gen_src;
    gen_copy_dir = other.gen_copy_dir;
    gen_indent_step = other.gen_indent_step;
    gen_max_indent = other.gen_max_indent;
    gen_tabs = other.gen_tabs;
    gen_line_format = other.gen_line_format;
    gen_observe_ab_rules = other.gen_observe_ab_rules;
    gen_print_comments = other.gen_print_comments;
    gen_enter_exit_copy_comments = other.gen_enter_exit_copy_comments;
    gen_line_id_comments = other.gen_line_id_comments;
    gen_73to80_fmt = other.gen_73to80_fmt;
    gen_73to80_start = other.gen_73to80_start;
    gen_73to80_step = other.gen_73to80_step;
    gen_mark_conv = other.gen_mark_conv;
    debug_flags = other.debug_flags;
}

DovCommandLineFlagTable& DovPrettyPrinter::DefineOptions(int mask) {
    auto heading = [](const char* title, int groups) {
        DovCommandLineFlag f;
        f.kind = '-';
        f.name = "";
        f.help = title;
        f.mask = groups;
        return f;
    };
    auto number = [](char kind, const char* name, int* value, const char* help, int groups) {
        DovCommandLineFlag f;
        f.kind = kind;
        f.name = name;
        f.value = value;
        f.help = help;
        f.mask = groups;
        return f;
    };
    auto text = [](const char* name, VString* string, const char* help, int groups) {
        DovCommandLineFlag f;
        f.kind = 's';
        f.name = name;
        f.string = string;
        f.help = help;
        f.mask = groups;
        return f;
    };
    DovCommandLineFlag tabs;
    tabs.kind = 'a';
    tabs.name = "gen-tabs";
    tabs.value = gen_tabs.items;
    tabs.count = &gen_tabs.count;
    tabs.capacity = gen_tabs.capacity;
    tabs.help = "Tabulation Positions";
    tabs.mask = 15;
    DovCommandLineFlag format;
    format.kind = 'l';
    format.name = "gen-line-format";
    format.value = &gen_line_format;
    format.choices = LineFormatNames;
    format.help = "Generated line format";
    format.mask = 15;

    const DovCommandLineFlag records[] = {
        heading("PrettyPrint Basics", 15),
        number('b', "gen-src", &gen_src, "Generate Cobol in SourcePrint (ON) / PrettyPrint(OFF) mode", 9),
        text("gen-copy-dir", &gen_copy_dir, "Write copybooks to this directory", 9),
        heading("PrettyPrint Indentation", 15),
        number('n', "gen-indent-step", &gen_indent_step, "Indentation step", 15),
        number('n', "gen-max-indent", &gen_max_indent, "Maximum starting position for indented text", 15),
        tabs,
        format,
        number('b', "gen-observe-ab-rules", &gen_observe_ab_rules, "Observe Area A/B rules in generated code", 15),
        heading("Output Comments", 7),
        number('b', "gen-print-comments", &gen_print_comments, "Preserve comments", 15),
        number('b', "gen-enter-exit-copy-comments", &gen_enter_exit_copy_comments,
               "Generate Enter/Exit comments around inlined copybooks", 15),
        heading("Line Identification", 7),
        number('b', "gen-line-id-comments", &gen_line_id_comments, "Preserve original Line IDs (cols 1-6, 73-80)", 15),
        text("gen-73to80-fmt", &gen_73to80_fmt, "Put text of this format into columns 73 to 80", 15),
        number('n', "gen-73to80-start", &gen_73to80_start, "Start value for number put into columns 73 to 80", 15),
        number('n', "gen-73to80-step", &gen_73to80_step, "Step for number put into columns 73 to 80", 15),
        text("gen-mark-conv", &gen_mark_conv,
             "Add comment in columns 73 and up that show that line was changed or generated", 15),
        DovCommandLineFlag{},
    };
    return DovSelectCommandLineFlags(optionTable, records, mask);
}
