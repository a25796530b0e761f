// Output files of generating mode: the name of the file a tree is printed
// into, formed from the input name and the options gen-file, gen-sfx and
// gen-main-dir, the refusals that keep outputs from overwriting inputs, and
// the directories made before the file is written. The driver calls these
// for each input file before PrintToFile.
#pragma once

#include "lbase/vstring.h"
#include "lbase/vstring_list.h"

// Result codes, with their text in `error`.
constexpr int kDovGenCannotMakeDir = 10;     // "Cannot create directory for '%s': %s"
constexpr int kDovGenOneFileForSeveral = 21; // "Cannot specify one output file '%s' for several input files"
constexpr int kDovGenOutputIsInput = 21;     // the output would overwrite an input file

struct DovGenNaming {
    VString genFile;     // gen-file: one output name, or empty
    VString genSfx;      // gen-sfx: the output suffix
    VString genMainDir;  // gen-main-dir: the directory of the outputs, or empty
    VString defaultSfx;  // the tool's default output suffix
};

// The output name for `input`: gen-file when given; else, without a main
// directory, the input with its extension replaced by gen-sfx; else the main
// directory, "/" and the input name, its extension replaced by gen-sfx only
// when gen-sfx is not the default suffix.
VString DovGenOutputName(const VString& input, const DovGenNaming& naming);

// Checks every output name of a run before anything is written: one
// gen-file for several inputs gives 21; an output name that names one of
// the inputs (the same file, however spelled) gives 21 with "Output file
// '%s' would overwrite the input file '%s'". 0 when every output is safe.
int DovCheckGenOutputs(const VStringList& inputs, const DovGenNaming& naming, VString& error);

// Makes the directories leading to `output`: 0, or 10 with "Cannot create
// directory for '%s': %s".
int DovMakeGenOutputDirs(const VString& output, VString& error);

class DovExpr;
class DovPrettyPrinterImpl;
class DovTokenList;

// The generating step for one parsed input: raises the comments of `root`
// in front of the nodes they precede, forms the output name (into
// `output`), makes its directories, and prints the tree into it with
// `printer` (generated positions off). 0; 10 with `error` when the
// directories cannot be made (nothing is printed); otherwise PrintToFile's
// result with its messages in `messages`.
int DovGenerateFile(DovPrettyPrinterImpl& printer, const VString& input, DovExpr* root, const DovGenNaming& naming,
                    VString& output, DovTokenList* messages, VString& error);
