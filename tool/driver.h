// RunTool: the driver of a command-line tool. It registers every option
// table of the run in DovOptionRegistry, reads the options from
// DOV_TOOL_OPTIONS and then from the command line, prints the banner, the
// options listing or the option values when asked, checks the input files
// and runs the per-file sequence (pre-process, parse, bailout test,
// statistics, transformation or search function, applied list, generating,
// summary) over them. Its one-byte result is the program's exit status.
#pragma once

#include "lbase/cmdline.h"
#include "lbase/vstring.h"
#include "tree/dials.h"

class DovExpr;
class DovParser;
class DovPrettyPrinter;
class DovTokenList;
class DovTool;
class DovTransform;

// The one registry of every option group of the run (120 records).
extern DovCommandLineFlagTable DovOptionRegistry;

// The choices of option "bailout-level": "warnings", "errors", "severe" and
// the empty string that ends them.
const VString* BailoutLevelNames();

// A tool's own search, called for every parsed file instead of the
// transformation: the root (which it may replace or consume), the file name,
// the parser, the printer and the message list; 0 for success.
using DovToolSearchFn = unsigned char (*)(DovExpr*& root, const VString& file, DovParser* parser,
                                          DovPrettyPrinter* printer, DovTokenList* messages);

// Result codes of the driver itself (beside the codes it passes on).
enum DovToolResult : int {
    DOV_TOOL_MKDIR_FAILED = 10,   // directories for an output file cannot be made
    DOV_TOOL_BAD_OPTIONS = 21,    // bad option, no input file, one output for several inputs
    DOV_TOOL_REGISTRY_FULL = 23,  // more than 120 option records
};

int RunTool(DovTool& tool, int argc, const char* const* argv, DovDials allowedDialects,
            unsigned char defaultLang, unsigned char defaultLang2, const DovCommandLineFlag* extraOptions,
            DovToolSearchFn search, const char* defaultSuffix, DovTransform* transform, int parse,
            int generate, int groupMask);
