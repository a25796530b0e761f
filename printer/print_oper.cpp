#include "printer/print_oper.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/strutil.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/slot_posn.h"
#include "printer/src_copy.h"
#include "printer/src_print.h"
#include "printer/templates/comment.h"
#include "printer/templates/interpreter.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"
#include "tree/leaf.h"
#include "tree/oper.h"
#include "tree/walk.h"

char DovLastPrintResult = 0;

namespace {

const DovPrettyPrinter& Settings() { return DovPrintSettings(); }

bool Trace() { return (Settings().debug_flags & DOV_PDBG_CHARS) != 0; }

void RecordBeg(DovExpr* node) {
    if (!Settings().gen_posn) return;
    const DovPrintState& st = DovPrinting;
    node->GenBeg().posn = static_cast<std::uint32_t>(st.charCount) & 0xffffffu;
    node->GenBeg().flag = static_cast<std::uint8_t>(st.g_xpos);
    node->GenEnd().flag = static_cast<std::uint8_t>(st.g_xs);
}

void RecordEnd(DovExpr* node) {
    if (!Settings().gen_posn) return;
    node->GenEnd().posn = static_cast<std::uint32_t>(DovPrinting.charCount) & 0xffffffu;
}

void TraceEnter(DovExpr* node, int src) {
    if (Trace())
        std::cout << "\n#PrettyPrintOper()+++: op=" << DovOperName(node->Oper()) << " src_p=" << src
                  << " g_xs=" << DovPrinting.g_xs << '\n';
}

void PrintLiteralText(DovExpr* node, const VString& image);
bool LiteralImage(const VString& image);
char TrackCopybookText(const DovExpr* node);
bool UnreplacedWord(const DovExpr* node, VString& word);
bool Word(const DovToken* t);

// The blank of uninterpreted text (the tokens of a syntax error or of an
// EXEC block, one TOKEN_STRING each) where a line ends anyway: at the start
// of a line, or at the right margin, where the output layer would begin a
// new line for it. The line end already parts the words. Printed, the blank
// would stand alone on a line of blanks whenever the next word goes to a
// line of its own (its source column lies left of the blank), and that line
// would read back as one more element of the text.
bool BlankAtLineEnd(const DovExpr* node) {
    const DovPrintState& st = DovPrinting;
    if (node->Oper() != TOKEN_STRING || (st.g_xpos != 0 && st.g_xpos < st.rightMargin)) return false;
    const VString& image = node->Image();
    if (image.IsEmpty()) return false;
    for (int i = 0; i < image.Len(); ++i)
        if (image.CStr()[i] != ' ') return false;
    return true;
}

char LeafPrint(DovExpr* node, int lengthPass) {
    if (lengthPass) {
        if (node->IsTerminal()) {
            PrintStr(node->Image(), node->Flag(), 1);
            node->SetPrintedLength(node->Image().Len());
        } else {
            node->SetPrintedLength(0);
        }
        return 0;
    }
    RecordBeg(node);
    if (char rc = TrackCopybookText(node)) return rc;
    const int src = DovUnchangedFromSource(node);
    TraceEnter(node, src);
    if (char rc = SrcPrintText(node->Tokens(), src)) return rc;
    if (!src && node->IsTerminal() && !BlankAtLineEnd(node)) {
        VString word;
        const VString& text = UnreplacedWord(node, word) ? word : node->Image();
        if (node->Oper() == CHAR_STRING && LiteralImage(text) &&
            DovPrinting.g_xpos + text.Len() > DovPrinting.rightMargin)
            PrintLiteralText(node, text);
        else
            PrintStr(text, node->Flag(), 0);
    }
    RecordEnd(node);
    return 0;
}

// A nonnumeric literal's text (its image, quotes and any prefix included),
// continued on as many lines as it needs: a continuation line has '-' in
// the indicator area and resumes with the quote character, under the
// literal's first column when that is at most 39. A continued line runs to
// the right margin (blanks left before it would belong to the literal), and
// the two quotes that stand for one quote inside the literal must not be
// split by a line end, where the first would read as the literal's end: a
// line whose last column would hold the first of them starts one column
// further right.
void PrintLiteralText(DovExpr* node, const VString& image) {
    DovPrintState& st = DovPrinting;
    const char* text = image.CStr();
    const int len = image.Len();
    const int mark = node->Flag();
    int open = 0;
    if (len > 1 && text[0] != '\'' && text[0] != '"') open = 1;
    const char quote = len > open ? text[open] : '\'';
    // Whether text[k] is the first quote of a doubled quote (the pairs are
    // read from the opening quote on; the closing quote is no pair's).
    auto pairFirst = [&](int k) {
        for (int i = open + 1; i + 2 < len && i <= k; ++i)
            if (text[i] == quote && text[i + 1] == quote) {
                if (i == k) return true;
                ++i;
            }
        return false;
    };
    // True when text[from], printed at column `col`, leaves the first quote
    // of a pair in the line's last column (only asked where a line ends
    // inside the literal).
    auto splitsPair = [&](int from, int col) {
        const int last = from + (st.rightMargin - 1 - col);
        return col < st.rightMargin && from + (st.rightMargin - col) < len && last >= from && last < len &&
               pairFirst(last);
    };
    const int entryCol = st.g_xpos;
    int blanks = 0;
    if (st.g_xpos == 0 && IndentPos(st.g_xs) + len >= st.rightMargin) {
        if (len <= st.rightMargin - st.areaB)
            blanks = 11;
        else if (len <= st.rightMargin - st.areaA)
            blanks = 7;
        for (int i = 0; i < blanks; ++i) PutcMargin(' ', 0);
    }
    const int startCol = st.g_xpos > 0 ? st.g_xpos : IndentPos(st.g_xs);
    if (splitsPair(0, startCol)) PrintChar(' ', mark, 0);
    static const char kContinuation[] = "      -    ";
    for (int i = 0; i < len; ++i) {
        if (st.g_xpos >= st.rightMargin) {
            PrintChar('\n', mark, 0);
            for (const char* c = kContinuation; *c; ++c) PutcMargin(*c, 0);
            if (entryCol <= 39)
                while (st.g_xpos < entryCol) PrintChar(' ', mark, 0);
            if (splitsPair(i, st.g_xpos + 1)) PrintChar(' ', mark, 0);
            PrintChar(quote, mark, 0);
        }
        PrintChar(text[i], mark, 0);
    }
}

// True for a leaf whose image is a nonnumeric literal (a word of
// pseudo-text, say): it continues as a literal must.
bool LiteralImage(const VString& image) {
    const char* t = image.CStr();
    const int len = image.Len();
    if (len < 2) return false;
    const int open = t[0] == '\'' || t[0] == '"' ? 0 : 1;
    return (t[open] == '\'' || t[open] == '"') && t[len - 1] == t[open] &&
           (open == 0 || std::isalpha(static_cast<unsigned char>(t[0])));
}

// The lines of source file `file`, read once a print as the lexer reads
// them (past a byte-order mark; a line feed, CR LF or a carriage return alone
// ends a line); null when the file cannot be read.
const std::vector<std::string>* MemberLines(int file) {
    std::vector<std::pair<int, std::vector<std::string>>>& known = DovPrinting.memberLines;
    for (const auto& k : known)
        if (k.first == file) return &k.second;
    DovSrcFile in;
    VString message;
    if (in.SetPosn(DovTxtPosn(1, 0, static_cast<std::uint32_t>(file)), message) != 0) return nullptr;
    std::vector<std::string> lines(1);
    for (int c = in.Getc(); c >= 0; c = in.Getc()) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(c));
    }
    known.emplace_back(file, std::move(lines));
    return &known.back().second;
}

// In a copybook whose words print as its source has them (one that COPY
// ... REPLACING changed, printed through the templates), the source's text
// of a leaf whose one word stands on one line of the copybook's file, where
// it differs from the leaf's image other than in letter case: the word the
// REPLACING phrase replaced, which it replaces again when the printed text
// is read. False for any other leaf, which prints its image.
bool UnreplacedWord(const DovExpr* node, VString& word) {
    const DovPrintState& st = DovPrinting;
    if (st.currentLevel < 2 || st.currentLevel > kDovPrintCopyLevels) return false;
    const DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
    if (!level.unreplaced || level.srcFile <= 0) return false;
    const DovToken* only = nullptr;
    for (const DovToken* t : node->Tokens()) {
        if (!Word(t)) continue;
        if (only) return false;
        only = t;
    }
    if (!only || only->End().IsNull()) return false;
    const DovTxtPosn beg = only->Beg(), end = only->End();
    if (static_cast<int>(beg.FileIndex()) != level.srcFile || end.FileIndex() != beg.FileIndex() ||
        end.Line() != beg.Line() || end.Column() <= beg.Column())
        return false;
    const std::vector<std::string>* lines = MemberLines(level.srcFile);
    if (!lines || beg.Line() < 1 || beg.Line() > lines->size()) return false;
    const std::string& line = (*lines)[beg.Line() - 1];
    // Columns count a tab as the lexer does; a line with one is left alone.
    if (end.Column() > line.size() || line.find('\t') < end.Column()) return false;
    const char* text = line.data() + beg.Column();
    const int len = static_cast<int>(end.Column() - beg.Column());
    const VString& image = node->Image();
    if (len == image.Len()) {
        int i = 0;
        while (i < len && DovCharToUpper(static_cast<unsigned char>(text[i])) ==
                              DovCharToUpper(static_cast<unsigned char>(image.CStr()[i])))
            ++i;
        if (i == len) return false;
    }
    word = VString(text, len);
    return true;
}

char StrConstPrint(DovExpr* node, int lengthPass) {
    if (lengthPass) return LeafPrint(node, 1);
    RecordBeg(node);
    if (char rc = TrackCopybookText(node)) return rc;
    const int src = DovUnchangedFromSource(node);
    TraceEnter(node, src);
    if (char rc = SrcPrintText(node->Tokens(), src)) return rc;
    if (!src) {
        VString word;
        PrintLiteralText(node, UnreplacedWord(node, word) ? word : node->Image());
    }
    RecordEnd(node);
    return 0;
}

// A row of a VALUES list that holds one value. The grammar makes such a row
// of "VALUES v" and of "VALUES (v)" alike, the parentheses of the second
// being a parenthesised value inside the row; printed with the row's own
// parentheses, the value would come back with one pair more. It prints
// alone, as the source wrote it.
bool SingleValueRow(DovExpr* node) {
    if (node->Oper() != SQL_ROW_CONSTRUCTOR || node->NumArgs() < 1) return false;
    const DovExpr* list = node->Args(0);
    return list && list->Oper() == SQL_EXPR_LIST && list->NumArgs() == 1;
}

// The copybook name and level a copybook node carries.
void CopyNameAndLevel(DovExpr* node, VString& name, int& level) {
    const int nameSlot = DovIsCopyBegin(node->Oper()) ? 2 : 0;
    DovExpr* n = DovArgOrNull(node, nameSlot);
    DovExpr* l = DovArgOrNull(node, nameSlot + 1);
    name = n ? n->Image() : VString();
    level = l ? static_cast<int>(l->IntValue()) : 0;
}

// A name that would place the copybook outside the copy directory: an
// absolute path, or one with a ".." part.
bool LeavesCopyDir(const VString& name) {
    if (name.IsEmpty() || DovIsAbsolutePath(name.CStr())) return true;
    const char* s = name.CStr();
    const int n = name.Len();
    int start = 0;
    for (int i = 0; i <= n; ++i) {
        if (i == n || s[i] == '/' || s[i] == '\\') {
            if (i - start == 2 && s[start] == '.' && s[start + 1] == '.') return true;
            start = i + 1;
        }
    }
    return false;
}

// The name a copybook is written under: the name the COPY statement gives
// (quotes of a literal taken off) with the extension of the file that was
// read, unless the statement's name already ends in it. Without a statement
// name, the name of the file read.
VString CopybookOutputName(DovExpr* node, const VString& fileRead) {
    DovExpr* given = DovIsCopyBegin(node->Oper()) ? DovArgOrNull(node, 0) : nullptr;
    if (!given || given->Oper() == NULL_NODE || given->Image().IsEmpty()) return fileRead;
    std::string name = given->Image().CStr();
    if (name.size() >= 2 && (name.front() == '\'' || name.front() == '"') && name.back() == name.front())
        name = name.substr(1, name.size() - 2);
    if (name.empty()) return fileRead;
    const std::string read = fileRead.CStr();
    const std::size_t slash = read.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? read : read.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        const std::string ext = base.substr(dot);
        if (name.size() < ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0) name += ext;
    }
    return VString(name.c_str(), static_cast<int>(name.size()));
}

// A message of a copybook's output: on the node that opens it, or, for
// copybook text without a begin node, on no node.
void CopybookError(DovExpr* node, const VString& text) {
    if (node)
        node->AddPError(MSG_SEVERE, text);
    else
        DovExpr::AddError(MSG_SEVERE, text);
}

// The source-file index of the file named `name`, or -1.
int SourceFileIndex(const VString& name) {
    DovNameTable& names = DovSrcFileNames();
    for (int i = 1; i < names.Count(); ++i)
        if (DovSrcFileName(static_cast<std::uint32_t>(i)) == name) return i;
    return -1;
}

// The record of the copybook file `path` written in this print, or null.
DovWrittenCopybook* WrittenCopybook(const VString& path) {
    for (DovWrittenCopybook& w : DovPrinting.writtenCopybooks)
        if (w.path == path) return &w;
    return nullptr;
}

// Opens the output of copybook `name` (the file read, source-file index
// `srcFile`) under `outName`, one level below the current one. The file is
// opened (and emptied) only when no earlier COPY of this print wrote it.
char OpenCopybookAs(DovExpr* node, const VString& name, const VString& outName, int srcFile) {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    if (level < 1 || level >= kDovPrintCopyLevels) {
        CopybookError(node, DovFormat("SourcePrint: copybook '%s' is nested deeper than %d files", name.CStr(),
                                      kDovPrintCopyLevels));
        return kDovCopybookRefused;
    }
    if (LeavesCopyDir(outName)) {
        CopybookError(node, DovFormat("SourcePrint: copybook name '%s' leads outside the copy directory; "
                                      "copybook not written",
                                      outName.CStr()));
        return kDovCopybookRefused;
    }
    VString path = st.copyDir;
    path += outName;
    std::ofstream* file = nullptr;
    if (!WrittenCopybook(path)) {
        int error = 0;
        if (DovMkDir(path.CStr(), &error) != 0) {
            CopybookError(node, DovFormat("SourcePrint: cannot create directory '%s': %s", path.CStr(),
                                          std::strerror(error)));
            return kDovCopybookRefused;
        }
        file = new std::ofstream;
        if (DovOpenOutFile(*file, path, DovFileMode::Text, DovWriteMode::Truncate) != 0) {
            delete file;
            CopybookError(node, DovFormat("Starting Copybook: cannot open file '%s' for write", name.CStr()));
            return 10;
        }
    }
    DovPrintCopyLevel& inner = st.copyLevels[level];
    inner = DovPrintCopyLevel{};
    inner.fileName = name;
    DovTakeSourceLayout(inner, name, true);
    inner.file = file;
    inner.path = path;
    inner.sourceName = name;
    inner.srcFile = srcFile;
    inner.beginNode = node;
    inner.stream = new std::ostringstream;
    DovPrintCopyLevel& outer = st.copyLevels[level - 1];
    outer.savedXpos = st.g_xpos;
    outer.savedSrcPosn = st.last_line_src_posn;
    outer.savedLineNo = st.line_no;
    if (Trace())
        std::cout << "***PrettyCOPY: Saved envt: file_name=" << outer.fileName.CStr() << " g_xpos=" << st.g_xpos
                  << " last_line_src_posn=" << st.last_line_src_posn << " line_no=" << st.line_no << "\n\n\n";
    st.last_line_src_posn = DovNullPosn;
    st.g_xpos = 0;
    st.line_no = 1;
    st.currentLevel = level + 1;
    st.closedEarly = VString();
    st.closedEarlyFile = -1;
    return 0;
}

// A token of the source text proper: no comment, blank or end of file.
bool Word(const DovToken* t) {
    return t && !t->Beg().IsNull() && t->code != CM_COMMENT && t->code != CM_PERSISTENT && t->code != SEP_SPACE &&
           t->code != PRESERVED_SPACE && t->code != SEP_COPY_EOF && t->code != SEP_EOF;
}

// The first word of a token list, or null.
const DovToken* FirstWordOf(const DovTokenList& tokens) {
    for (const DovToken* t : tokens)
        if (Word(t)) return t;
    return nullptr;
}

int FileOf(const DovToken* word) { return word ? static_cast<int>(word->Beg().FileIndex()) : -1; }

// The source file of a node's first word: of a leaf, its own first word; of
// an operation, the first word of its slots' tokens before its first
// argument (which answers for itself). -1 when none tells.
int StartFile(const DovExpr* node) {
    if (node->NumArgs() == 0) return FileOf(FirstWordOf(node->Tokens()));
    for (int i = 0; i < node->NumArgs(); ++i) {
        const DovArgSlot* slot = node->ArgSlots(i);
        if (!slot) continue;
        if (const DovToken* t = FirstWordOf(slot->tokens)) return FileOf(t);
        if (slot->arg && slot->arg->Oper() != NULL_NODE) return -1;
    }
    return -1;
}

char OpenCopybook(DovExpr* node, const VString& name) {
    DovExpr* replacing = DovArgOrNull(node, 1);
    const bool hasReplacing = replacing && replacing->Oper() != NULL_NODE;
    const std::vector<int>& before = DovPrinting.filesSinceCopyNode;
    const int file = SourceFileIndex(name);
    const bool templates = !Settings().gen_src;
    DovPrintState& st = DovPrinting;
    const int including = StartFile(node);
    if (char rc = OpenCopybookAs(node, name, CopybookOutputName(node, name), file)) return rc;
    st.writtenFiles.push_back(file);
    if (templates) {
        // Printed through the templates, the files of the two levels tell
        // where the copybook's text ends.
        DovPrintCopyLevel& outer = st.copyLevels[st.currentLevel - 2];
        if (outer.srcFile < 0) outer.srcFile = including;
        DovPrintCopyLevel& inner = st.copyLevels[st.currentLevel - 1];
        // Its source stands for it only when none of its text was printed
        // before its begin node (clauses of an entry the COPY statement
        // ends).
        inner.sourceFits = file > 0 && std::find(before.begin(), before.end(), file) == before.end();
        inner.preferSource = inner.sourceFits && hasReplacing;
        inner.unreplaced = hasReplacing;
    }
    return 0;
}

// Printed through the templates: text that starts in the file that
// includes the copybook being written closes the copybook (its end node
// follows later in the tree, after the statement the copybook ends in).
char ResumeIncludingFile(int file) {
    DovPrintState& st = DovPrinting;
    if (st.copyDir.IsEmpty() || Settings().gen_src || st.currentLevel < 2 || st.currentLevel > kDovPrintCopyLevels)
        return 0;
    const int outer = st.copyLevels[st.currentLevel - 2].srcFile;
    if (file < 0 || file != outer || file == st.copyLevels[st.currentLevel - 1].srcFile) return 0;
    if (char rc = DovCloseCopybookEarly()) return rc;
    // What follows is kept apart from the COPY statement's period.
    if (st.g_xpos > 0) DovResumeAfterCopybook = st.charCount;
    return 0;
}

// Before a template prints argument `index`: the slot's first word.
char BeforeArgument(DovExpr* holder, int index) {
    const DovArgSlot* slot = holder && index < holder->NumArgs() ? holder->ArgSlots(index) : nullptr;
    const DovToken* word = slot ? FirstWordOf(slot->tokens) : nullptr;
    return word ? ResumeIncludingFile(FileOf(word)) : 0;
}

// What the templates' print of each node tells about the copybooks: the
// file its text starts in, for the begin node that follows; the end of a
// copybook that ends inside a statement; and, in a copybook, a node that is
// not from the source or starts in a third file, after which the
// copybook's source no longer reads back to the text printed.
char TrackCopybookText(const DovExpr* node) {
    DovPrintState& st = DovPrinting;
    if (st.copyDir.IsEmpty() || Settings().gen_src) return 0;
    const bool copyNode = DovIsCopyBegin(node->Oper()) || DovIsCopyEnd(node->Oper());
    const int file = StartFile(node);
    // The file each node's text starts in (a begin node holds the
    // copybook's first comments, and a node's last tokens, its period say,
    // are printed after its arguments).
    if (!DovIsCopyBegin(node->Oper())) {
        std::vector<int>& files = st.filesSinceCopyNode;
        if (file >= 0 && std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
    }
    if (st.currentLevel < 2 || st.currentLevel > kDovPrintCopyLevels) return 0;
    // A copybook that ends inside a statement: the first node whose text
    // starts in the including file goes on there.
    if (!copyNode) {
        if (char rc = ResumeIncludingFile(file)) return rc;
        if (st.currentLevel < 2) return 0;
    }
    DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
    if (node->Flag() == 0) level.changed = true;
    if (file >= 0 && file != level.srcFile) level.mixed = true;
    return 0;
}

bool Written(int file) {
    const std::vector<int>& written = DovPrinting.writtenFiles;
    return file >= 0 && std::find(written.begin(), written.end(), file) != written.end();
}

// Closes the innermost copybook's output and takes back the including
// file's place; level >= 2.
void PopCopyLevel(const char* what, const VString& tracedName) {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    DovPrintCopyLevel& inner = st.copyLevels[level - 1];
    DovFinishCopybookFile(inner);
    delete inner.stream;
    inner.stream = nullptr;
    const DovPrintCopyLevel& outer = st.copyLevels[level - 2];
    st.g_xpos = outer.savedXpos;
    st.last_line_src_posn = outer.savedSrcPosn;
    st.line_no = outer.savedLineNo;
    if (Trace())
        std::cout << "***PrettyCOPY: " << what << ": file_name=" << tracedName.CStr() << " g_xpos=" << st.g_xpos
                  << " last_line_src_posn=" << st.last_line_src_posn << " line_no=" << st.line_no << "\n\n\n";
    st.currentLevel = level - 1;
}

char CloseCopybook(DovExpr* node) {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    // The main output is never closed here.
    if (level < 2 || level > kDovPrintCopyLevels) {
        node->AddPError(MSG_SEVERE, "SourcePrint: empty file stack");
        return '7';
    }
    // The copybook's file ends as its source does (no line end after a last
    // line that has none).
    bool atEnd = false;
    if (char rc = DovCopySourceTail(&atEnd)) return rc;
    if (!atEnd && st.g_xpos > 0) PutcLine('\n', 1);
    PopCopyLevel("Restored envt", st.copyLevels[level - 2].fileName);
    return 0;
}

}  // namespace

namespace {

bool ReadWholeFile(const VString& name, std::string& text) {
    std::ifstream in(name.CStr(), std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return !in.bad();
}

bool WriteWholeFile(const VString& path, const std::string& text) {
    std::ofstream out;
    if (DovOpenOutFile(out, path, DovFileMode::Text, DovWriteMode::Truncate) != 0) return false;
    out << text;
    out.close();
    return !out.fail();
}

}  // namespace

void DovFinishCopybookFile(DovPrintCopyLevel& inner) {
    if (!inner.stream || inner.path.IsEmpty()) return;
    DovPrintState& st = DovPrinting;
    // What reads back right under this COPY statement: the text printed,
    // and the copybook's source where it fits, first when preferred.
    std::vector<std::string> fits{static_cast<std::ostringstream*>(inner.stream)->str()};
    std::string source;
    if (inner.sourceFits && !inner.changed && !inner.mixed && ReadWholeFile(inner.sourceName, source) &&
        source != fits.front())
        fits.insert(inner.preferSource ? fits.begin() : fits.end(), source);
    if (inner.preferSource && inner.changed)
        DovExpr::AddError(MSG_WARN, DovFormat("SourcePrint: copybook '%s' changed where COPY ... REPLACING "
                                              "replaced its text: written as printed, the REPLACING phrase "
                                              "applies to it once more",
                                              inner.fileName.CStr()));
    DovWrittenCopybook* written = WrittenCopybook(inner.path);
    if (!written) {
        *inner.file << fits.front();
        st.writtenCopybooks.push_back({inner.path, fits.front(), fits});
    } else {
        // Another COPY of the same member wrote the file before: its text
        // must read back right under both, or it stays as it is.
        std::vector<std::string> both;
        for (const std::string& t : written->fits)
            if (std::find(fits.begin(), fits.end(), t) != fits.end()) both.push_back(t);
        if (both.empty()) {
            CopybookError(inner.beginNode,
                          DovFormat("SourcePrint: copybook '%s' reads differently under two COPY statements: "
                                    "file '%s' keeps the text of the first, the second would read another",
                                    inner.fileName.CStr(), inner.path.CStr()));
            st.copybookConflict = true;
        } else {
            written->fits = both;
            if (std::find(both.begin(), both.end(), written->written) == both.end()) {
                if (WriteWholeFile(inner.path, both.front())) {
                    written->written = both.front();
                } else {
                    CopybookError(inner.beginNode,
                                  DovFormat("Starting Copybook: cannot open file '%s' for write", inner.path.CStr()));
                    st.copybookConflict = true;
                }
            }
        }
    }
    delete inner.file;
    inner.file = nullptr;
}

char DovOpenCopybookOfText(int file) {
    DovPrintState& st = DovPrinting;
    if (st.copyDir.IsEmpty() || file <= 0 || Written(file)) return 0;
    const VString& name = DovSrcFileName(static_cast<std::uint32_t>(file));
    const std::string read = name.CStr();
    const std::size_t slash = read.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? read : read.substr(slash + 1);
    if (Trace())
        std::cout << "\n\n***PrettyCOPY: Open file " << name.CStr() << " for its text, stack_level=" << st.currentLevel
                  << " ***\n";
    if (char rc = OpenCopybookAs(nullptr, name, VString(base.c_str(), static_cast<int>(base.size())), file))
        return rc;
    DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
    level.srcFile = file;
    level.implicit = true;
    st.writtenFiles.push_back(file);
    return 0;
}

char DovCloseCopybookEarly() {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    if (level < 2 || level > kDovPrintCopyLevels) return 0;
    bool atEnd = false;
    if (char rc = DovCopySourceTail(&atEnd)) return rc;
    if (!atEnd && st.g_xpos > 0) PutcLine('\n', 1);
    const VString name = st.copyLevels[level - 1].fileName;
    const int srcFile = st.copyLevels[level - 1].srcFile;
    PopCopyLevel("Closed early", name);
    st.closedEarly = name;
    st.closedEarlyFile = srcFile;
    return 0;
}

namespace {

// A copybook node printed in the including output: its tokens (comments
// and the like), the enter or exit comment line, and no line end after it.
char InlineCopybook(DovExpr* node, const VString& name) {
    const bool begin = DovIsCopyBegin(node->Oper());
    DovTokenList* tokens = &node->Tokens();
    if (begin) {
        DovArgSlot* slot = node->NumArgs() > 0 ? node->ArgSlots(0) : nullptr;
        tokens = slot ? &slot->tokens : nullptr;
    }
    if (tokens)
        if (char rc = SrcPrintText(*tokens, 0)) return rc;
    if (Settings().gen_enter_exit_copy_comments)
        PrintComment(DovFormat(begin ? "* === Enter copylib %s ===" : "* === Exit copylib %s ===", name.CStr()), 0);
    DovPrinting.skipNewline = 1;
    return 0;
}

// The last word token of a leaf, or null.
const DovToken* LastWord(const DovExpr* e) {
    const DovToken* last = nullptr;
    for (const DovToken* t : e->Tokens())
        if (Word(t)) last = t;
    return last;
}

// The words of pseudo-text, printed with a blank between two of them only
// where the source has one: pseudo-text matches text word by word, and
// 9(5) written as 9 ( 5 ) would no longer match the picture string 9(5).
// A word that does not fit on the line starts the next one under the first.
char PrintPseudoTextWords(DovExprOper* list) {
    DovPrintState& st = DovPrinting;
    const int first = st.g_xpos > 0 ? st.g_xpos : IndentPos(st.g_xs);
    const DovExpr* prev = nullptr;
    for (int i = 0; i < list->NumArgs(); ++i) {
        DovExpr* word = list->Args(i);
        if (!word) continue;
        if (prev) {
            const DovToken* a = LastWord(prev);
            const DovToken* b = FirstWordOf(word->Tokens());
            const bool glued = a && b && a->End().FileIndex() == b->Beg().FileIndex() && a->End() == b->Beg();
            const int len = word->IsTerminal() ? word->Image().Len() : word->PrintedLength();
            if (!glued) {
                if (st.g_xpos + 1 + len > st.rightMargin && first + len <= st.rightMargin) {
                    PrintChar('\n', list->Flag(), 0);
                    while (st.g_xpos < first) PutcMargin(' ', 0);
                } else {
                    PrintChar(' ', list->Flag(), 0);
                }
            }
        }
        if (char rc = DovPrintArgument(word, 0, 0)) return rc;
        prev = word;
    }
    return 0;
}

char OperPrint(DovExprOper* node, int lengthPass, int breakRequest) {
    const DovOper op = node->Oper();
    if (op == SYMBOL_TABLE_ELT_LIST || op == SYMBOL_TABLE_ELT) return 0;
    DovPrintState& st = DovPrinting;
    int src = 0;
    if (!lengthPass) {
        src = DovUnchangedFromSource(node);
        RecordBeg(node);
        if (char rc = TrackCopybookText(node)) return rc;
    }
    const int entryLevel = st.g_xs;
    if (!lengthPass) TraceEnter(node, src);
    enum { kPlain, kOpen, kClose, kInline, kNone } action = kPlain;
    VString name;
    int level = 0;
    char rc = 0;
    if (!lengthPass && (DovIsCopyBegin(op) || DovIsCopyEnd(op))) {
        CopyNameAndLevel(node, name, level);
        if (DovIsCopyEnd(op)) st.filesSinceCopyNode.clear();
        if (DovIsCopyEnd(op) && !st.closedEarly.IsEmpty() && st.closedEarly == name &&
            st.currentLevel == level) {
            // Its file was closed when the including file's text went on.
            st.closedEarly = VString();
            RecordEnd(node);
            return 0;
        }
        if (st.copyDir.IsEmpty()) {
            action = kInline;
        } else if (DovIsCopyBegin(op)) {
            if (Trace())
                std::cout << "\n\n***PrettyCOPY: Open file " << name.CStr() << " file_level=" << level
                          << " stack_level=" << st.currentLevel << " ***\n";
            if (level == st.currentLevel && st.closedEarly == name) {
                // Its text came first and was written, to its end, before
                // the COPY statement went on in the including file.
                action = kPlain;
            } else if (level + 1 == st.currentLevel && st.copyLevels[level].implicit &&
                       st.copyLevels[level].fileName == name) {
                // Its text came first and opened its output.
                st.copyLevels[level].implicit = false;
                action = kPlain;
            } else if (level == st.currentLevel) {
                action = kOpen;
            } else {
                node->AddPError(MSG_WARN,
                                DovFormat("%s: SourcePrint: starting Copybook '%s' of level %d: copybook was NOT "
                                          "expected to be started at level %d. Copybook creation command ignored.",
                                          DovTxtPosnStr(DovSrcPosnBeg(node)).CStr(), name.CStr(), level,
                                          st.currentLevel));
                action = kInline;
            }
        } else if (st.currentLevel < 1) {
            node->AddPError(MSG_SEVERE, "SourcePrint: empty file stack");
            rc = '7';
            action = kNone;
        } else {
            const VString& open = st.copyLevels[st.currentLevel - 1].fileName;
            if (Trace())
                std::cout << "\n***PrettyCOPY: Close file " << name.CStr() << " file_level=" << level
                          << " stack_file=" << open.CStr() << " stack_level=" << st.currentLevel - 1 << " ***\n";
            if (st.currentLevel == level + 1 && open == name) {
                action = kClose;
            } else {
                node->AddPError(MSG_WARN, DovFormat("SourcePrint: finishing Copybook '%s' of level %d: this copybook "
                                                    "was not started. Finish command ignored.",
                                                    name.CStr(), level));
                action = kInline;
            }
        }
    }
    // A copybook's text begins again: what was copied of it before (the
    // same copybook included earlier) is no longer behind the copy.
    if (DovIsCopyBegin(op) && (action == kOpen || action == kInline) && Settings().gen_src)
        DovRestartSourceFile(SourceFileIndex(name));
    if (action == kInline) {
        rc = InlineCopybook(node, name);
    } else if (action != kNone) {
        if (src) {
            rc = SlotPrint(node);
        } else if (op == COPY_TOKEN_LIST && !lengthPass) {
            rc = PrintPseudoTextWords(node);
        } else {
            PrintTemplate* entry = nullptr;
            rc = FindCGentry(&entry, node);
            if (rc == 0) rc = node->print(SingleValueRow(node) ? "$1" : entry->text, lengthPass, breakRequest, 1);
        }
        if (rc == 0 && action == kOpen) {
            rc = OpenCopybook(node, name);
            st.filesSinceCopyNode.clear();
        }
        if (rc == 0 && action == kClose) {
            rc = CloseCopybook(node);
            // The including file goes on at the end of the COPY statement.
            // Generated text that follows there (the period of a paragraph
            // whose clauses were in the copybook) is kept apart from the
            // statement's own period by a blank.
            if (rc == 0 && !src && st.g_xpos > 0) DovResumeAfterCopybook = st.charCount;
        }
    }
    if (!lengthPass) RecordEnd(node);
    if (rc == 0) {
        if (st.g_xs != entryLevel) {
            node->AddPError(MSG_SEVERE,
                            DovFormat("PrettyPrint: enter gen_xstart %d != exit gen_xstart %d", entryLevel, st.g_xs));
            rc = '8';
        } else if (st.g_xs < 0) {
            node->AddPError(MSG_SEVERE, DovFormat("PrettyPrint: negative gen_xtart: %d", st.g_xs));
            rc = '8';
        }
    }
    if (!lengthPass && Trace())
        std::cout << "#PrettyPrintOper()---: op=" << DovOperName(op) << " g_xs=" << st.g_xs
                  << " rc=" << static_cast<int>(rc) << '\n';
    return rc;
}

char AttachedTokens(DovTokenList& tokens, int* ended) { return SrcPrintText(tokens, 0, ended, DovKeptWords::kLater); }

void HookLeaf(DovExpr* node, int pass) { DovLastPrintResult = LeafPrint(node, pass & 1); }
void HookStrConst(DovExpr* node, int pass) { DovLastPrintResult = StrConstPrint(node, pass & 1); }
void HookOper(DovExpr* node, int pass) {
    auto* oper = dynamic_cast<DovExprOper*>(node);
    DovLastPrintResult = oper ? OperPrint(oper, pass & 1, (pass >> 1) & 1) : LeafPrint(node, pass & 1);
}

}  // namespace

char DovPrettyPrintNode(DovExpr* node, int lengthPass, int breakRequest) {
    if (!node) return 0;
    if (auto* oper = dynamic_cast<DovExprOper*>(node)) return OperPrint(oper, lengthPass, breakRequest);
    if (dynamic_cast<DovStrConst*>(node)) return StrConstPrint(node, lengthPass);
    return LeafPrint(node, lengthPass);
}

void DovInstallPrintOperations() {
    DovPrettyPrint.leaf = HookLeaf;
    DovPrettyPrint.str_const = HookStrConst;
    DovPrettyPrint.oper = HookOper;
    DovPrintArgument = DovPrettyPrintNode;
    DovPrintAttachedTokens = AttachedTokens;
    DovPrintKeptWords = SrcPrintKeptWords;
    DovBeforePrintArgument = BeforeArgument;
}
