// The node print operations: leaves print their image, string literals
// their image with continuation lines, operator nodes their template (or,
// when unchanged, their source text); copybook begin and end nodes open and
// close copybook output files when the printer has a copy directory.
#pragma once

class DovExpr;

// Prints (lengthPass 0) or measures (lengthPass 1) `node` with the version
// of its class; `breakRequest` asks an operator node to break wherever its
// template allows. 0 or a result character.
char DovPrettyPrintNode(DovExpr* node, int lengthPass, int breakRequest);

// The result of the last print operation reached through a node's virtual
// PrettyPrintOper, whose selector is lengthPass | breakRequest << 1.
extern char DovLastPrintResult;

// Installs the print operations as the tree's print hooks and as the
// template interpreter's argument printer, and source text copying as the
// interpreter's printer of attached tokens.
void DovInstallPrintOperations();

// Result of a copybook output that is refused or cannot be made.
constexpr char kDovCopybookRefused = '6';

// Closes the copybook file being written before its end node is printed,
// when the text of the including file goes on before the end node (a
// copybook that ends inside a statement): the rest of the copybook's source
// (its last line end, comments after its last word) is copied into it
// first. Its end node then prints nothing. 0 or a result character.
char DovCloseCopybookEarly();

// Printed from source: opens the output of the copybook whose text is
// source file `file`, one level below the current one, for copybook text
// the tree holds without a begin node in front of it (a COPY inside a
// statement the parser recovered from, a header taken from the copybook
// before the begin node). The copybook is written under the name of the
// file read; its begin node, when one follows, opens nothing more. 0 or a
// result character; nothing happens when there is no copy directory or the
// copybook was written already.
char DovOpenCopybookOfText(int file);

// Writes the file of a copybook level at its end: the text printed, or,
// printed through the templates, the copybook's source where it reads back
// to the same text (preferred for a copybook that COPY ... REPLACING
// changed; a node printed into it that is not from the source gives a
// warning). A file that an earlier COPY of the print wrote is written again
// only with a text that reads right under both COPY statements; when there
// is none it keeps its text, and the conflict is reported at this COPY and
// fails the print (kDovPrintCopybookConflict).
struct DovPrintCopyLevel;
void DovFinishCopybookFile(DovPrintCopyLevel& level);
