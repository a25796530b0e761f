// The pretty printer as the tool sees it. The tool descriptor holds one
// DovPrettyPrinterImpl; while the printer library is not part of the build,
// a small printer of the same shape stands in: it has no options and prints
// nothing (this program never generates).
#pragma once

#if __has_include("printer/printer.h")
#include "printer/printer.h"
#define VEMLO_TOOL_HAS_PRINTER 1
#else
#include "lbase/cmdline.h"
#include "lbase/vstring.h"

class DovExpr;
class DovTokenList;

class DovPrettyPrinter {
public:
    virtual ~DovPrettyPrinter() = default;
    virtual int PrintToFile(const VString& fileName, DovExpr* root, DovTokenList* messages) = 0;
    DovCommandLineFlagTable& DefineOptions(int) { return optionTable; }

    DovCommandLineFlagTable optionTable;
    int gen_posn = 0;
    int gen_line_format = 1;
};

class DovPrettyPrinterImpl : public DovPrettyPrinter {
public:
    // 13: the printer is not available in this build.
    int PrintToFile(const VString&, DovExpr*, DovTokenList*) override { return 13; }
};
#define VEMLO_TOOL_HAS_PRINTER 0
#endif

// Installs the printer's hooks into the libraries below it (the slot-position
// pass of every parse); nothing without the printer.
void DovToolInstallPrinter();
