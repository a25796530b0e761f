// Copying source text.
//
// Source printing writes what did not change as the source has it, by one
// rule:
//
//     Every source byte of an unchanged stretch is copied once, in source
//     order, from the tokens and gaps that hold it.
//
// The tokens of a parsed tree hold all of its text; what stands between two
// tokens that follow each other in a file (a gap) is layout: line ends, the
// sequence and indicator areas and the columns past the right margin,
// blanks and tabs. A stretch is text copied with nothing else written in
// between: generated text, a comment line written from a token's image or
// text of another file ends it. The copy keeps its cursor, the place where
// it ended (the output stands there while `last_line_src_posn` is set), and
// for each file the parts of it already copied. A token to copy is one of
// these cases, each a function below:
//
// - Copied (SkipCopied): a stretch that went past the token copied it
//   already (a keyword pair's inner blanks, the tokens of a clause the parser
//   refused, tokens that error recovery moved away from their place): nothing
//   is written; a token copied in part is copied from where that copy ended.
// - Continued (ContinueStretch): the output stands at the cursor, and the
//   token lies ahead of it in the cursor's file with nothing in between but
//   layout and text of tokens that this print copies and has not copied yet
//   (tokens the tree holds further on): the copy goes on from the cursor
//   through the token, byte for byte, so that tabs, line ends and the text in
//   between come out once and in source order.
// - Broken (ContinueStretch too): the output stands at the cursor, but the
//   gap holds text that no token of this print holds (text a transformation
//   removed, the text of a changed node) or text copied before. Its text is
//   not copied: on one line blanks take its place; across lines the cursor's
//   line ends (keeping its identification area), the lines between are left
//   out and the token starts a line.
// - Collapsed (CollapseBlanks): a blank run on one line that starts left of
//   where the output stands, after other text, gives at most one blank.
// - Restarted (RestartAt): anything else (after generated text, at the start
//   of a print or a copybook, in another file): a new output line when the
//   output stands past the token's column or holds another source line;
//   then blanks up to the token's column, or, where the token starts a line
//   (StartLine), the line's leading layout as the source has it (sequence
//   area, blanks, tabs); a blank run that runs onto a later line starts a
//   line at that line.
//
// A tab is copied as a tab wherever it stands: columns are counted as the
// lexer and the source reader count them (a tab advances to the next
// multiple of 8), and the output layer counts a tab the same way. A range
// that ends before it begins holds no text.
#include "printer/src_copy.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "lexer/src_file.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/slot_posn.h"
#include "tree/expr.h"
#include "tree/token.h"
#include "tree/walk.h"

namespace {

// Order within one file, by line and then column.
bool Before(const DovTxtPosn& a, const DovTxtPosn& b) {
    return a.Line() < b.Line() || (a.Line() == b.Line() && a.Column() < b.Column());
}

void Severe(const VString& text) { DovExpr::AddError(MSG_SEVERE, text); }

// What the printer's settings say of the columns around the text area,
// read once for each token copied.
struct Areas {
    bool free = false;            // a free-format line has none
    std::uint32_t idFrom = 0;     // the identification area's first column, or 0 for none
    bool lineId = true;           // the areas are copied
};
Areas g_areas;

void ReadAreas() {
    const DovPrettyPrinter& settings = DovPrintSettings();
    const int f = settings.gen_line_format;
    g_areas.free = f == DOV_GEN_LF_FREE;
    g_areas.idFrom = f == DOV_GEN_LF_FREE || f == DOV_GEN_LF_VAR || f == DOV_GEN_LF_FSC_FREE
                         ? 0
                         : static_cast<std::uint32_t>(std::max(DovPrinting.rightMargin, 7));
    g_areas.lineId = settings.gen_line_id_comments != 0;
}

bool FreeFormat() { return g_areas.free; }

// The columns around the text area: the sequence and indicator areas
// (columns 1 to 7) of every format but free, and in the fixed format the
// identification area past the right margin.
bool InMarginArea(std::uint32_t column) {
    if (g_areas.free) return false;
    return column < 7 || (g_areas.idFrom > 0 && column >= g_areas.idFrom);
}

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\f' || c == '\0' || c == 26; }

// Layout: what may stand between two tokens that follow each other.
bool IsLayout(int c, const DovTxtPosn& at) { return c == '\n' || IsBlank(c) || InMarginArea(at.Column()); }

// Ranges of one file, sorted by begin once all are in, with the furthest
// end among the first i of them beside each.
class RangeSet {
public:
    void Add(const DovTxtPosn& beg, const DovTxtPosn& end) {
        ranges_.push_back({beg, end});
        sealed_ = false;
    }
    // The index of the last range that begins at or before `p`, or -1.
    long Last(const DovTxtPosn& p) {
        Seal();
        auto it = std::upper_bound(ranges_.begin(), ranges_.end(), p,
                                   [](const DovTxtPosn& q, const DovTxtPosnRange& r) { return Before(q, r.beg); });
        return static_cast<long>(it - ranges_.begin()) - 1;
    }
    std::size_t Size() const { return ranges_.size(); }
    const DovTxtPosnRange& At(std::size_t i) const { return ranges_[i]; }
    const DovTxtPosn& Reach(std::size_t i) const { return reach_[i]; }

private:
    void Seal() {
        if (sealed_) return;
        std::stable_sort(ranges_.begin(), ranges_.end(),
                         [](const DovTxtPosnRange& a, const DovTxtPosnRange& b) { return Before(a.beg, b.beg); });
        reach_.resize(ranges_.size());
        for (std::size_t i = 0; i < ranges_.size(); ++i)
            reach_[i] = i > 0 && Before(ranges_[i].end, reach_[i - 1]) ? reach_[i - 1] : ranges_[i].end;
        sealed_ = true;
    }
    std::vector<DovTxtPosnRange> ranges_;
    std::vector<DovTxtPosn> reach_;
    bool sealed_ = true;
};

// The parts of a file already copied: disjoint ranges in source order.
class CopiedText {
public:
    void Clear() { parts_.clear(); }
    void Add(DovTxtPosn beg, DovTxtPosn end) {
        if (!Before(beg, end)) return;
        // Nearly always at the end, where the copy goes on.
        auto at = std::lower_bound(parts_.begin(), parts_.end(), beg,
                                   [](const DovTxtPosnRange& r, const DovTxtPosn& p) { return Before(r.end, p); });
        auto last = at;
        while (last != parts_.end() && !Before(end, last->beg)) {
            if (Before(last->beg, beg)) beg = last->beg;
            if (Before(end, last->end)) end = last->end;
            ++last;
        }
        at = parts_.erase(at, last);
        parts_.insert(at, {beg, end});
    }
    // The end of the copied part that holds `p`, or null when none does.
    DovTxtPosn EndOfPartAt(const DovTxtPosn& p) const {
        auto it = std::upper_bound(parts_.begin(), parts_.end(), p,
                                   [](const DovTxtPosn& q, const DovTxtPosnRange& r) { return Before(q, r.beg); });
        if (it == parts_.begin()) return DovNullPosn;
        --it;
        return Before(p, it->end) ? it->end : DovNullPosn;
    }

private:
    std::vector<DovTxtPosnRange> parts_;
};

// What the copy knows of one source file.
struct SourceFile {
    RangeSet held;  // the text of the tokens this print copies from the source
    CopiedText copied;
    // The leading layout of the line the reader is on (sequence area,
    // blanks, tabs), as far as the reader has read it.
    std::uint32_t headLine = 0;
    bool headOpen = false;
    std::string head;
    // Where the character read last began: a position inside a tab's
    // columns counts as reached once the tab is read.
    DovTxtPosn lastRead;
};

// One per source-file index, for the readers of the pass.
std::vector<SourceFile> g_files;
// Whether the pass found what the tree's tokens hold before it began;
// without it, a token list printed on its own holds its text itself.
bool g_treeHeld = false;

SourceFile* FileAt(int ix) {
    if (ix < 0 || ix >= DovPrinting.readerCount) return nullptr;
    if (ix >= static_cast<int>(g_files.size())) g_files.resize(static_cast<std::size_t>(DovPrinting.readerCount));
    return &g_files[static_cast<std::size_t>(ix)];
}

// ---- Reading ----------------------------------------------------------------------

// One character from the reader, keeping the head of the line it reads.
int Get(DovSrcFile& reader, SourceFile& file) {
    const DovTxtPosn at = reader.posn;
    file.lastRead = at;
    if (at.Column() == 0) {
        file.headLine = at.Line();
        file.head.clear();
        file.headOpen = true;
    }
    const int c = reader.Getc();
    if (file.headOpen && file.headLine == at.Line()) {
        if (c >= 0 && c != '\n' && IsLayout(c, at))
            file.head += static_cast<char>(c);
        else
            file.headOpen = false;
    }
    return c;
}

// Moves the reader to `target`, reading forward (an earlier position reads
// the file again from its start). 0, or '5' with the reason in `message`.
int MoveTo(DovSrcFile& reader, SourceFile& file, const DovTxtPosn& target, VString& message) {
    if (reader.is_open() && Before(target, reader.posn) && DovPosnGiven(file.lastRead) &&
        !Before(target, file.lastRead) && reader.posn.Line() == target.Line())
        return 0;
    // Whole lines before the target's go by as the reader reads them.
    const DovTxtPosn lineStart(target.Line(), 0, target.FileIndex());
    if (!reader.is_open() || Before(target, reader.posn) || Before(reader.posn, lineStart)) {
        file.lastRead = DovNullPosn;
        if (Before(target, reader.posn) || !reader.is_open())
            if (int rc = reader.SetPosn(DovTxtPosn(1, 0, target.FileIndex()), message)) return rc;
        if (Before(reader.posn, lineStart))
            if (int rc = reader.SetPosn(lineStart, message)) return rc;
    }
    while (Before(reader.posn, target)) {
        if (Get(reader, file) < 0) {
            message = DovSrcPastEndMessage(target);
            return '5';
        }
    }
    return 0;
}

// The reader of file `ix`, made current; null (with the message) for an
// index beyond the readers.
DovSrcFile* ReaderOf(int ix) {
    DovPrintState& st = DovPrinting;
    if (ix < 0 || ix >= st.readerCount || !st.readers || !FileAt(ix)) {
        Severe(DovFormat("SrcPrintText: bad file_ix %d", ix));
        return nullptr;
    }
    st.currentReader = &st.readers[ix];
    return st.currentReader;
}

// ---- Writing ----------------------------------------------------------------------

void PadTo(int column) {
    while (DovPrinting.g_xpos < column) {
        const int before = DovPrinting.g_xpos;
        PutcLine(' ', 1);
        if (DovPrinting.g_xpos <= before) break;
    }
}

// A byte of layout at source column `column`: as it stands, but for the
// columns around the text area when line identification is not copied
// (blanks for the sequence area, nothing past the margin).
void PutLayout(char c, std::uint32_t column) {
    if (c != '\n' && InMarginArea(column) && !g_areas.lineId) {
        if (column < 7) PutcLine(' ', 1);
        return;
    }
    PutcLine(c, 1);
}

// The columns of a text as the reader counts them, from `column`.
std::uint32_t NextColumn(char c, std::uint32_t column) {
    if (c == '\n') return 0;
    if (c == '\t') return (column / 8 + 1) * 8;
    return column + 1;
}

// Writes the head of the reader's line up to `target` on it (the reader
// stands there): its leading layout, then blanks up to the target's column.
void WriteLineHead(const SourceFile& file, const DovTxtPosn& target) {
    if (file.headLine == target.Line() && (FreeFormat() || g_areas.lineId)) {
        std::uint32_t column = 0;
        for (char c : file.head) {
            PutLayout(c, column);
            column = NextColumn(c, column);
        }
    }
    PadTo(static_cast<int>(target.Column()));
}

// ---- The gap between the cursor and a token ------------------------------------

// The bytes between where the reader stands and a place ahead of it, and
// what they hold.
struct Gap {
    DovTxtPosn from;
    std::string bytes;
    bool layoutAndHeld = true;  // nothing but layout and uncopied text of copied tokens
    bool atEnd = false;         // the file ended first
};

// Tells for positions in increasing order whether the held text covers them.
class HeldSweep {
public:
    HeldSweep(RangeSet& set, const DovTxtPosn& from) : set_(set) {
        const long i = set.Last(from);
        next_ = static_cast<std::size_t>(i + 1);
        if (i >= 0) reach_ = set.Reach(static_cast<std::size_t>(i));
    }
    bool Covers(const DovTxtPosn& p) {
        while (next_ < set_.Size() && !Before(p, set_.At(next_).beg)) {
            if (!DovPosnGiven(reach_) || Before(reach_, set_.At(next_).end)) reach_ = set_.At(next_).end;
            ++next_;
        }
        return DovPosnGiven(reach_) && Before(p, reach_);
    }

private:
    const RangeSet& set_;
    std::size_t next_ = 0;
    DovTxtPosn reach_;
};

// Reads the gap from the reader's place up to `to` (to the file's end when
// `to` is null). The gap's bytes are kept from gap to gap, so that reading
// one allocates nothing once the longest has been read.
const Gap& ReadGap(DovSrcFile& reader, SourceFile& file, const DovTxtPosn& to) {
    static Gap gap;
    gap.bytes.clear();
    gap.layoutAndHeld = true;
    gap.atEnd = false;
    gap.from = reader.posn;
    HeldSweep held(file.held, gap.from);
    while (!DovPosnGiven(to) || Before(reader.posn, to)) {
        const DovTxtPosn at = reader.posn;
        const int c = Get(reader, file);
        if (c < 0) {
            gap.atEnd = true;
            break;
        }
        gap.bytes += static_cast<char>(c);
        if (gap.layoutAndHeld && (DovPosnGiven(file.copied.EndOfPartAt(at)) || (!IsLayout(c, at) && !held.Covers(at))))
            gap.layoutAndHeld = false;
    }
    return gap;
}

// The gap copied as it stands.
void WriteGap(const Gap& gap) {
    std::uint32_t column = gap.from.Column();
    for (char c : gap.bytes) {
        if (IsLayout(static_cast<unsigned char>(c), DovTxtPosn(0, column, 0)))
            PutLayout(c, column);
        else
            PutcLine(c, 1);
        column = NextColumn(c, column);
    }
}

// A gap on one line that holds text no copied token holds: its layout as it
// stands, a blank for each of its other characters.
void WriteBrokenLine(const Gap& gap) {
    std::uint32_t column = gap.from.Column();
    for (char c : gap.bytes) {
        PutLayout(IsLayout(static_cast<unsigned char>(c), DovTxtPosn(0, column, 0)) ? c : ' ', column);
        column = NextColumn(c, column);
    }
}

// The end of the cursor's line, where a gap that holds text no copied token
// holds runs onto later lines: the line's identification area, behind
// blanks up to the margin, when the line reaches it; then the line end.
void EndBrokenLine(const Gap& gap) {
    const std::size_t lineEnd = gap.bytes.find('\n');
    std::uint32_t column = gap.from.Column();
    for (std::size_t i = 0; i < lineEnd; ++i) {
        if (column >= 7 && InMarginArea(column)) {
            PadTo(DovPrinting.rightMargin);
            PutLayout(gap.bytes[i], column);
        }
        column = NextColumn(gap.bytes[i], column);
    }
    PutcLine('\n', 1);
}

// Moves the reader to `target` for a copy: 0, or (reported, the list
// stopped) the result character.
char MoveForCopy(DovSrcFile& reader, SourceFile& file, const DovTxtPosn& target, bool& stop) {
    VString message;
    const int rc = MoveTo(reader, file, target, message);
    if (rc == 0) return 0;
    Severe(message);
    stop = true;
    return static_cast<char>(rc);
}

// ---- The cases of a token -------------------------------------------------------

// The copy of [s, e) once the output stands at s: reads and writes up to e.
// 0 or a result character.
char CopyRange(int code, DovSrcFile& reader, SourceFile& file, const DovTxtPosn& s, const DovTxtPosn& e, int& ended,
               bool& stop) {
    DovPrintState& st = DovPrinting;
    if (char rc = MoveForCopy(reader, file, s, stop)) return rc;
    if (DovPosnGiven(e)) {
        while (Before(reader.posn, e)) {
            const int c = Get(reader, file);
            if (c < 0) {
                Severe("SrcPrintText: EOF where text is expected");
                stop = true;
                return '/';
            }
            const char ch = static_cast<char>(c);
            PutcLine(ch, 1);
            ended = ch == '\n' ? 1 : 0;
        }
        file.copied.Add(s, e);
    }
    if (code != SEP_EOF) st.last_line_src_posn = e;
    const int ix = static_cast<int>(s.FileIndex());
    if (st.currentLevel >= 1 && st.currentLevel <= kDovPrintCopyLevels) {
        DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
        if (level.srcFile < 0) level.srcFile = ix;
    }
    return 0;
}

// Copied: where the part of [s, e) that was not copied yet begins; null
// when all of it was.
DovTxtPosn SkipCopied(const SourceFile& file, const DovTxtPosn& s, const DovTxtPosn& e) {
    const DovTxtPosn end = file.copied.EndOfPartAt(s);
    if (!DovPosnGiven(end)) return s;
    if (!DovPosnGiven(e) || !Before(end, e)) return DovNullPosn;
    return end;
}

// True when the output stands where the copy of file `ix` ended, before `s`.
bool InStep(int ix, const DovTxtPosn& s) {
    const DovTxtPosn& at = DovPrinting.last_line_src_posn;
    return DovPosnGiven(at) && static_cast<int>(at.FileIndex()) == ix && !Before(s, at);
}

// A token that starts an output line: a blank run that runs onto a later
// line from its next line on (the output holds nothing of its first line),
// anything else after the head of its line.
char StartLine(int code, DovSrcFile& reader, SourceFile& file, DovTxtPosn s, const DovTxtPosn& e, int& ended,
               bool& stop) {
    if (DovIsBlankRun(code) && s.Line() < e.Line()) {
        s = DovTxtPosn(s.Line() + 1, 0, s.FileIndex());
        if (DovPrintDebug(DOV_PDBG_SOURCE)) std::cout << "#+++SrcPrintText: RECOMPUTE sr=" << s << '\n';
    } else {
        if (char rc = MoveForCopy(reader, file, s, stop)) return rc;
        WriteLineHead(file, s);
    }
    return CopyRange(code, reader, file, s, e, ended, stop);
}

// Continued or broken: the gap from the cursor up to s, then the token.
char ContinueStretch(int code, DovSrcFile& reader, SourceFile& file, const DovTxtPosn& s, const DovTxtPosn& e,
                     int& ended, bool& stop) {
    DovPrintState& st = DovPrinting;
    if (char rc = MoveForCopy(reader, file, st.last_line_src_posn, stop)) return rc;
    const Gap& gap = ReadGap(reader, file, s);
    if (gap.atEnd) {
        Severe(DovSrcPastEndMessage(s));
        stop = true;
        return '5';
    }
    // The gap writes its own line ends and identification area.
    st.last_line_src_posn = DovNullPosn;
    if (gap.layoutAndHeld) {
        WriteGap(gap);
        file.copied.Add(gap.from, s);
    } else if (gap.bytes.find('\n') == std::string::npos) {
        WriteBrokenLine(gap);
    } else {
        EndBrokenLine(gap);
        ended = 1;
        return StartLine(code, reader, file, s, e, ended, stop);
    }
    if (!gap.bytes.empty()) ended = gap.bytes.back() == '\n' ? 1 : 0;
    return CopyRange(code, reader, file, s, e, ended, stop);
}

// Collapsed: true when the blank run from s to e, on one line, was written
// as at most one blank.
bool CollapseBlanks(int code, DovSrcFile& reader, SourceFile& file, DovTxtPosn s, const DovTxtPosn& e, int& ended,
                    bool& stop, char& rc) {
    DovPrintState& st = DovPrinting;
    if (!DovIsBlankRun(code) || static_cast<int>(s.Column()) >= st.g_xpos || !Before(s, e) || s.Line() != e.Line())
        return false;
    s = e;
    if (st.lastChar != ' ' && s.Column() > 0) s.SetColumn(s.Column() - 1);
    if (DovPrintDebug(DOV_PDBG_SOURCE)) std::cout << "#+++SrcPrintText: RECOMPUTE sr=" << s << '\n';
    rc = CopyRange(code, reader, file, s, e, ended, stop);
    return true;
}

// Restarted: a new line when needed, the line's head or blanks up to s,
// then the token.
char RestartAt(int code, DovSrcFile& reader, SourceFile& file, const DovTxtPosn& s, const DovTxtPosn& e, int& ended,
               bool& stop) {
    DovPrintState& st = DovPrinting;
    if (st.g_xpos > 0 && (static_cast<int>(s.Column()) < st.g_xpos ||
                          (DovPosnGiven(st.last_line_src_posn) && st.last_line_src_posn.Line() != s.Line()))) {
        PutcLine('\n', 1);
        ended = 1;
    }
    if (st.g_xpos == 0) return StartLine(code, reader, file, s, e, ended, stop);
    if (char rc = MoveForCopy(reader, file, s, stop)) return rc;
    PadTo(static_cast<int>(s.Column()));
    return CopyRange(code, reader, file, s, e, ended, stop);
}

// A blank run whose begin lies in another file than its end (it runs from a
// copybook into the including file): taken from where the copy of the end's
// file stands, or from the start of the end's line. False when nothing is
// left of it.
bool IntoEndFile(DovTxtPosn& s, const DovTxtPosn& e) {
    const DovTxtPosn& at = DovPrinting.last_line_src_posn;
    if (DovPosnGiven(at) && at.FileIndex() == e.FileIndex())
        s = at;
    else
        s = DovTxtPosn(e.Line(), 0, e.FileIndex());
    if (DovPrintDebug(DOV_PDBG_SOURCE)) std::cout << "#+++SrcPrintText: RECOMPUTE sr=" << s << '\n';
    return !(s == e);
}

// ---- Finding what the tree's tokens hold ------------------------------------------

void HoldList(const DovTokenList& list, bool copied) {
    for (const DovToken* t : list) {
        if (!copied && t->code != CM_COMMENT) continue;
        if (DovInsideReplacedText(t)) continue;
        const DovTxtPosnRange* replaced = DovReplacedTextRange(t);
        const DovTxtPosnRange& r = replaced ? *replaced : t->range;
        if (!DovPosnGiven(r.beg) || !DovPosnGiven(r.end) || r.beg.FileIndex() != r.end.FileIndex() ||
            !Before(r.beg, r.end))
            continue;
        if (SourceFile* file = FileAt(static_cast<int>(r.beg.FileIndex()))) file->held.Add(r.beg, r.end);
    }
}

int HoldNode(DovExpr* node, DovExpr*, void*) {
    if (!node || node->Oper() == SYMBOL_TABLE_ELT_LIST) return DOV_WALK_SKIP;
    const bool copied = DovUnchangedFromSource(node) != 0;
    for (int i = 0; i < node->NumArgs(); ++i)
        if (const DovArgSlot* slot = node->SlotAt(i)) HoldList(slot->tokens, copied && DovSlotFromSource(*slot));
    HoldList(node->Tokens(), copied);
    return DOV_WALK_DESCEND;
}

}  // namespace

void DovBeginSourceCopy(DovExpr* root) {
    DovEndSourceCopy();
    if (root) DovNamedWalk(root, nullptr, "DovHeldSourceText", HoldNode, nullptr, nullptr);
    g_treeHeld = true;
}

void DovEndSourceCopy() {
    g_files.clear();
    g_files.shrink_to_fit();
    g_treeHeld = false;
}

void DovHoldListText(const DovTokenList& tokens, bool copied) {
    if (!g_treeHeld) HoldList(tokens, copied);
}

void DovRestartSourceFile(int file) {
    if (SourceFile* f = FileAt(file)) f->copied.Clear();
}

char DovCopySourceText(int code, const DovTxtPosnRange& range, int& ended, bool& stop) {
    ReadAreas();
    DovTxtPosn s = range.beg;
    const DovTxtPosn& e = range.end;
    if (s.FileIndex() != e.FileIndex()) {
        if (!DovIsBlankRun(code)) {
            PrintChar(' ', 0, 0);
            DovExpr::AddError(MSG_WARN, VString("SrcPrintText: at ") + DovTxtPosnStr(range.beg) +
                                            VString(" switch files: ") + DovTxtPosnStr(range.beg) + VString("-") +
                                            DovTxtPosnStr(e));
            stop = true;
            return 0;
        }
        if (!IntoEndFile(s, e)) return 0;
    }
    // A range that ends before it begins holds no text.
    if (DovPosnGiven(e) && Before(e, s)) return 0;
    const int ix = static_cast<int>(s.FileIndex());
    DovSrcFile* reader = ReaderOf(ix);
    if (!reader) {
        stop = true;
        return '0';
    }
    SourceFile& file = g_files[static_cast<std::size_t>(ix)];
    s = SkipCopied(file, s, e);
    if (!DovPosnGiven(s)) return 0;
    char rc = 0;
    if (InStep(ix, s)) return ContinueStretch(code, *reader, file, s, e, ended, stop);
    if (CollapseBlanks(code, *reader, file, s, e, ended, stop, rc)) return rc;
    return RestartAt(code, *reader, file, s, e, ended, stop);
}

void DovPlaceKeptText(int code, const DovTxtPosnRange& range) {
    DovPrintState& st = DovPrinting;
    const DovTxtPosn& s = range.beg;
    const DovTxtPosn& e = range.end;
    if (s.FileIndex() != e.FileIndex()) return;
    if (code == PRESERVED_SPACE) {
        if (static_cast<int>(s.Column()) < st.g_xpos && s.Line() != e.Line() && Before(s, e)) PutcLine('\n', 1);
        return;
    }
    const DovTxtPosn& at = st.last_line_src_posn;
    if (st.g_xpos > 0 && (static_cast<int>(s.Column()) < st.g_xpos || (DovPosnGiven(at) && at.Line() != s.Line())))
        PutcLine('\n', 1);
    PadTo(static_cast<int>(s.Column()));
}

char DovCopySourceTail(bool* atEnd) {
    ReadAreas();
    DovPrintState& st = DovPrinting;
    if (atEnd) *atEnd = false;
    if (!DovPrintSettings().gen_src || st.currentLevel < 1 || st.currentLevel > kDovPrintCopyLevels) return 0;
    const int ix = st.copyLevels[st.currentLevel - 1].srcFile;
    if (ix < 0 || !InStep(ix, st.last_line_src_posn) || ix >= st.readerCount || !st.readers || !FileAt(ix)) return 0;
    DovSrcFile& reader = *ReaderOf(ix);
    SourceFile& file = g_files[static_cast<std::size_t>(ix)];
    VString message;
    if (int rc = MoveTo(reader, file, st.last_line_src_posn, message)) {
        Severe(message);
        return static_cast<char>(rc);
    }
    const Gap& gap = ReadGap(reader, file, DovNullPosn);
    st.last_line_src_posn = DovNullPosn;
    if (gap.layoutAndHeld) {
        WriteGap(gap);
        if (atEnd) *atEnd = true;
    } else if (gap.bytes.find('\n') != std::string::npos) {
        EndBrokenLine(gap);
    }
    return 0;
}

void DovCopySeparation() {
    ReadAreas();
    DovPrintState& st = DovPrinting;
    const DovTxtPosn at = st.last_line_src_posn;
    if (!DovPosnGiven(at) || !DovPrintSettings().gen_src) return;
    const int ix = static_cast<int>(at.FileIndex());
    if (ix >= st.readerCount || !st.readers || !FileAt(ix)) return;
    DovSrcFile& reader = st.readers[ix];
    SourceFile& file = g_files[static_cast<std::size_t>(ix)];
    VString message;
    if (MoveTo(reader, file, at, message)) return;
    std::string layout;
    std::uint32_t column = at.Column();
    for (;;) {
        const DovTxtPosn here = reader.posn;
        const int c = Get(reader, file);
        if (c < 0 || !IsLayout(c, here)) break;
        layout += static_cast<char>(c);
    }
    st.last_line_src_posn = DovNullPosn;
    for (char c : layout) {
        PutLayout(c, column);
        column = NextColumn(c, column);
    }
}
