// DovPrettyPrinterImpl: the printer that the tool descriptor holds. It owns
// the generation table (one chain of print templates per operation code,
// built by its first pass and kept) and runs the passes that print a tree.
#pragma once

#include <cstddef>
#include <iosfwd>

#include "printer/print_template.h"
#include "printer/settings.h"

class DovPrettyPrinterImpl : public DovPrettyPrinter {
public:
    DovPrettyPrinterImpl() = default;
    // Copies the settings (not the option table); the copy builds its own
    // generation table on its first pass.
    DovPrettyPrinterImpl(const DovPrettyPrinterImpl& other);
    explicit DovPrettyPrinterImpl(const DovPrettyPrinter& other);
    // Empties the option table, copies the settings and drops the
    // generation table.
    DovPrettyPrinterImpl& operator=(const DovPrettyPrinterImpl& other);
    ~DovPrettyPrinterImpl() override;

    int PrintToFile(const VString& fileName, DovExpr* root, DovTokenList* messages) override;
    int PrintToString(VString& text, DovExpr* root, DovTokenList* messages) override;
    // The main pass: 0 printed; 41 another pass runs; 43 ('+') a bad
    // indentation step; 45 a tree deeper than the stack holds; otherwise
    // the result of building the generation table or of printing the root.
    int PrettyPrint(std::ostream& out, DovExpr* root, DovTokenList* messages);
    // Reprints one subtree where it was printed before and moves the
    // generated positions of the rest of the tree; 0, 41 or 45.
    int FragmentPrint(std::ostream& out, DovExpr* node, DovTokenList* messages);

    // Frees the generation table; the next pass builds it again.
    void DropGenTable() { DovFreeGenTable(gen_table); }

    PrintTemplate* gen_table = nullptr;  // kDovGenTableSlots slots, or null

private:
    // The main pass once the stack is known to hold the tree.
    int MainPass(std::ostream& out, DovExpr* root, DovTokenList* messages);
};

// Result codes of the passes.
constexpr int kDovPrintInUse = 41;
constexpr int kDovPrintBadIndentStep = 43;
// PrintToString: the printed text is longer than a string may be.
constexpr int kDovPrintTooLong = 44;
// The tree is deeper than the calling thread's stack holds (nothing is
// printed).
constexpr int kDovPrintTooDeep = 45;
// A copybook reads differently under two of its COPY statements and its
// file keeps the text written first (the print is complete otherwise).
constexpr int kDovPrintCopybookConflict = 46;

// The longest text PrintToString hands back (the string type's limit).
extern std::size_t DovPrintStringLimit;

// Installs what the printer provides to the libraries below it: the
// slot-position pass that every parse runs, the node print operations and
// source text copying for the template interpreter. Safe to call more than once;
// also done at start-up by any program that links a printer.
void DovInstallPrinterHooks();
