// DovPrettyPrinter: the settings that steer how a program tree is written
// back as COBOL text, the printer's own option table through which the
// command line reaches them, and the two entry points that print a tree.
// DovPrettyPrinterImpl (printer/printer_impl.h) derives from it and prints.
#pragma once

#include "lbase/cmdline.h"
#include "lbase/vstring.h"

class DovExpr;
class DovTokenList;
struct PrintTemplate;

// Values of gen-line-format: the index of the name in LineFormatNames. Any
// other number is kept as given and prints like "fixed".
enum DovGenLineFormat : int {
    DOV_GEN_LF_NA = 0,
    DOV_GEN_LF_FIXED = 1,
    DOV_GEN_LF_FREE = 2,
    DOV_GEN_LF_FSC_FREE = 3,
    DOV_GEN_LF_VAR = 4,
};

// "na", "fixed", "free", "fsc-free", "var" and an empty string that ends
// the list: the choices of gen-line-format.
extern const VString LineFormatNames[6];

// A growable array of ints that owns its items (allocated for `capacity`).
struct DovIntArray {
    DovIntArray() = default;
    explicit DovIntArray(int capacity);
    DovIntArray(const DovIntArray& other);
    // Keeps its own storage when the capacities agree, so that option
    // records pointing at the items stay valid.
    DovIntArray& operator=(const DovIntArray& other);
    ~DovIntArray() { delete[] items; }

    // Appends while the count is below the capacity; false when full.
    bool Append(int value);

    int count = 0;
    int capacity = 0;
    int* items = nullptr;
};

// Debug flags of the printer: bit values and what they trace.
enum DovPrinterDebugFlags : int {
    DOV_PDBG_CHARS = 1,         // every character and line end, each node, copybooks, templates
    DOV_PDBG_TREE_BEFORE = 2,   // the tree before printing
    DOV_PDBG_TREE_LENGTHS = 4,  // the tree after the length pass
    DOV_PDBG_SOURCE = 8,        // source printing
    DOV_PDBG_LOOKUP = 16,       // template lookup and excerpts
    DOV_PDBG_READERS = 32,      // positioning of the source readers
};

// Group bits of the printer's option records (DefineOptions' mask).
constexpr int kDovPrinterOptionGroups = 15;

class DovPrettyPrinter {
public:
    DovPrettyPrinter();
    // Copies every setting; the option table starts empty.
    DovPrettyPrinter(const DovPrettyPrinter& other);
    // Empties the option table and copies every setting.
    DovPrettyPrinter& operator=(const DovPrettyPrinter& other);
    virtual ~DovPrettyPrinter() = default;

    // Prints the tree below `root` into the named file (truncated) or into
    // `text`; messages go to `messages`. 0 when printed.
    virtual int PrintToFile(const VString& fileName, DovExpr* root, DovTokenList* messages) = 0;
    virtual int PrintToString(VString& text, DovExpr* root, DovTokenList* messages) = 0;

    // Builds the 18 option records, keeps those whose group mask shares a
    // bit with `mask` in the option table and returns the table.
    DovCommandLineFlagTable& DefineOptions(int mask);

    // --- Settings, in their order -----------------------------------------
    DovCommandLineFlagTable optionTable;       // filled by DefineOptions
    PrintTemplate* primary_table = nullptr;    // laid over the built-in templates
    int gen_posn = 0;                          // record generated positions in the nodes
    int gen_src = 0;                           // gen-src: unchanged nodes from their source text
    VString gen_copy_dir;                      // gen-copy-dir: where copybooks go; empty: inline
    int gen_indent_step = 2;                   // gen-indent-step
    int gen_max_indent = 40;                   // gen-max-indent: highest 0-based start position
    DovIntArray gen_tabs{16};                  // gen-tabs: 12, 24, 32, 42, 44, 54
    int gen_line_format = DOV_GEN_LF_FIXED;    // gen-line-format
    int gen_observe_ab_rules = 1;              // gen-observe-ab-rules
    int gen_print_comments = 1;                // gen-print-comments
    int gen_enter_exit_copy_comments = 1;      // gen-enter-exit-copy-comments
    int gen_line_id_comments = 1;              // gen-line-id-comments
    VString gen_73to80_fmt;                    // gen-73to80-fmt: sequence number format
    int gen_73to80_start = 1;                  // gen-73to80-start
    int gen_73to80_step = 1;                   // gen-73to80-step
    VString gen_mark_conv;                     // gen-mark-conv: mark of changed lines
    int debug_flags = 0;                       // DovPrinterDebugFlags

protected:
    // Every setting but the option table.
    void CopySettings(const DovPrettyPrinter& other);
};
