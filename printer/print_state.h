// The print state of the one print pass that may run in the process, and
// the output layer through which every character of a pass goes: it indents
// new lines, breaks a line that would run past the right margin onto a
// continuation line, fills columns 73 and up at each line end and counts the
// characters written so that nodes can record where their text went.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lexer/src_file.h"
#include "tree/token.h"

class DovExpr;
class DovPrettyPrinter;
class DovPrettyPrinterImpl;
class DovSrcFile;
class DovTokenList;

// Output files a pass may have open at once: the main output and nested
// copybook files.
constexpr int kDovPrintCopyLevels = 10;

// One output file level: the file (empty name for the main output), the
// stream that receives its text, and what starting a nested level saves.
struct DovPrintCopyLevel {
    VString fileName;
    std::ostream* stream = nullptr;
    int savedXpos = 0;
    DovTxtPosn savedSrcPosn;
    int savedLineNo = 1;
    int srcFile = -1;  // source-file index of the text copied into this level, once known
    bool implicit = false;  // opened by the copybook's own text, with no begin node printed yet
    // A copybook level gathers its text in `stream` (an ostringstream) and
    // writes its file at its end (DovFinishCopybookFile): the file `path`,
    // opened at the begin node unless an earlier COPY of this print wrote
    // it (`file` null). Printed through the templates, the copybook's
    // source (`sourceName`) reads back to the same text as the printed one
    // when none of its text was printed before its begin node
    // (`sourceFits`), no node printed into it is other than from the source
    // (`changed`) and none comes from another file (`mixed`); a copybook
    // that COPY ... REPLACING changed prefers its source (`preferSource`),
    // and its words print as the source has them (`unreplaced`), so that
    // the REPLACING phrase, printed again, gives the same text once more.
    std::ostream* file = nullptr;
    VString path;
    VString sourceName;
    DovExpr* beginNode = nullptr;  // for messages; null for copybook text without one
    bool sourceFits = false;
    bool preferSource = false;
    bool unreplaced = false;
    bool changed = false;
    bool mixed = false;
    // The file is written as its source file is laid out: with its line end
    // for every newline, and its byte-order mark before the first byte
    // (`markDue` until that is written).
    DovSrcLayout layout;
    bool markDue = false;
};

// Gives `level` the layout of the source file at `path`; the byte-order mark,
// when the source has one, only with `withMark` (a whole file, not a
// fragment of one).
void DovTakeSourceLayout(DovPrintCopyLevel& level, const VString& path, bool withMark);

// A copybook file written in this print: the text it holds, and the texts
// that read back right under every COPY statement of it printed so far (the
// text printed under each, or the member's source where that fits).
struct DovWrittenCopybook {
    VString path;
    std::string written;
    std::vector<std::string> fits;
};

// Counters never wrap: they stop at the largest value of their type.
struct DovPrintState {
    DovPrettyPrinterImpl* printer = nullptr;  // the printer whose pass runs
    DovTokenList* messages = nullptr;         // where printer messages go
    int inUse = 0;                            // 1 while a pass runs
    int debugWord = 0;                        // the printer's debug flags during the pass
    int areaA = 7;                            // 0-based start of area A
    int areaB = 11;                           // 0-based start of area B
    int rightMargin = 72;                     // characters a line holds before column 73
    int g_xs = 0;                             // indentation level
    int g_xpos = 0;                           // characters already on the current line
    int gen_gen = 0;                          // the line holds generated or changed text
    int line_no = 1;                          // line of the current output file, from 1
    std::int64_t charCount = 0;               // characters written since the pass began
    DovTxtPosn last_line_src_posn;            // source position of the text being copied
    char lastChar = 0;                        // the last character handed to PutcLine
    int skipNewline = 0;                      // drop the next newline at the start of a line
    int readerCount = 0;                      // source readers, one per source-file index
    DovSrcFile* readers = nullptr;
    DovSrcFile* currentReader = nullptr;      // the reader on the source line being copied
    VString copyDir;                          // directory for copybook files of the pass
    DovPrintCopyLevel copyLevels[kDovPrintCopyLevels];
    int currentLevel = 0;                     // 1 = main output; 0 = measuring only
    VString closedEarly;                      // a copybook closed before its end node, by name
    int closedEarlyFile = -1;                 // and the source-file index of its text, copied to its end
    std::vector<int> writtenFiles;            // source-file indexes of the copybooks written in this print
    std::vector<int> filesSinceCopyNode;      // files of the tokens printed since the last copybook node
    std::vector<DovWrittenCopybook> writtenCopybooks;  // the copybook files written in this print
    bool copybookConflict = false;            // a copybook read differently under two COPY statements
    // The lines of copybook sources whose words print as the source has
    // them, by source-file index, read once a print.
    std::vector<std::pair<int, std::vector<std::string>>> memberLines;

    // The stream of the current level, or null (length pass, bad level).
    std::ostream* CurrentStream() const;
    // Sets area A, area B and the right margin for a gen-line-format value.
    void SetLineFormatColumns(int lineFormat);
    // Creates one closed reader per entry of the source-file-name table at
    // the null position; frees them again. No current reader after either.
    void CreateSourceReaders();
    void FreeSourceReaders();
};

// The print state of the process.
extern DovPrintState DovPrinting;

// The settings the output layer reads: the current printer's, or the
// defaults when no printer is current.
const DovPrettyPrinter& DovPrintSettings();
// Whether the current printer's debug flag `bit` is on (never without one).
bool DovPrintDebug(int bit);

// A position counts as given when any of its fields is nonzero: line 0,
// column 0 of a file other than the first still names that file.
inline bool DovPosnGiven(const DovTxtPosn& p) { return p.Line() != 0 || p.Column() != 0 || p.FileIndex() != 0; }
// A run of blanks, as the lexer gives it or as a parse kept it.
inline bool DovIsBlankRun(int code) { return code == SEP_SPACE || code == PRESERVED_SPACE; }

// Starts a pass of `printer` that reports into `messages`: refused with 41
// while another pass runs, before anything of the caller's is installed
// ("PrettyPrint is already in use" goes to `messages` on `node`, and the
// running pass keeps its printer and message list). Otherwise the printer
// and the list become current, the pass is marked in use and the printer's
// debug flags are copied into the debug word; 0.
int DovBeginPrintPass(DovPrettyPrinterImpl* printer, DovTokenList* messages, DovExpr* node);
// Ends the running pass: frees the source readers, no current reader, the
// in-use mark cleared.
void DovEndPrintPass();

// Output operations. `mark` is the from-source mark of the node being
// printed (0: generated or changed text); `counting` is nonzero in the
// length pass, in which characters are only measured.
void PrintStr(const char* text, int mark, int counting);
void PrintStr(const VString& text, int mark, int counting);
void PrintChar(char ch, int mark, int counting);
// The 0-based position at which text of indentation level `level` starts.
int IndentPos(int level);
void PutcMargin(char ch, int counting);
// `lineId` allows copying the identification area of the source line.
void PutcLine(char ch, int lineId);
void Putc(char ch);

// The text of a sequence number for columns 73 and up: `format` with its
// first integer conversion filled with `number`. Every other conversion is
// written as it stands, and widths and precisions are held to two digits,
// so that no option value can make the formatting read a missing argument
// or produce a runaway text.
VString DovFormatSequenceNumber(const VString& format, long long number);
