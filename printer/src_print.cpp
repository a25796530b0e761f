#include "printer/src_print.h"

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "lexer/src_file.h"
#include "printer/print_oper.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/templates/comment.h"
#include "printer/templates/interpreter.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"
#include "tree/oper.h"
#include "tree/token.h"

namespace {

// The sequence area (columns 1 to 6) of the source line read last for it,
// and the line's indicator (column 7; 0 when the line ends before it).
struct SequenceArea {
    int file = -1;
    std::uint32_t line = 0;
    char text[6] = {};
    char indicator = 0;
};
SequenceArea g_sequenceArea;

// A token position counts as given when any of its fields is nonzero.
bool Given(const DovTxtPosn& p) { return p.Line() != 0 || p.Column() != 0 || p.FileIndex() != 0; }

bool Debug(int bit) { return (DovPrintSettings().debug_flags & bit) != 0; }

bool Present(const DovExpr* e) { return e && e->Oper() != NULL_NODE; }

bool IsSpace(int code) { return code == SEP_SPACE || code == PRESERVED_SPACE; }

// True when the reader stands before `end` in the same file.
bool Before(const DovTxtPosn& at, const DovTxtPosn& end) { return DovTxtPosnCompare(at, end) == -1; }

void PadSourceTo(int column) {
    while (DovPrinting.g_xpos < column) {
        const int before = DovPrinting.g_xpos;
        PutcLine(' ', 1);
        if (DovPrinting.g_xpos <= before) break;
    }
}

void Severe(const VString& text) { DovExpr::AddError(MSG_SEVERE, text); }

// Blanks, commas, semicolons and comments: what stands between words.
bool Separating(int code) { return IsSpace(code) || code == SEP_COMMA || code == SEP_SEMI || code == CM_COMMENT; }

// True when `outer` spans `inner` in the same file.
bool Spans(const DovToken& outer, const DovToken& inner) {
    return outer.Beg().FileIndex() == inner.Beg().FileIndex() && outer.End().FileIndex() == inner.End().FileIndex() &&
           DovTxtPosnCompare(outer.Beg(), inner.Beg()) <= 0 && DovTxtPosnCompare(inner.End(), outer.End()) <= 0;
}

// A keyword pair read as one token (END PROGRAM, DATA DIVISION) spans the
// blanks and comments between its two words, and the list holds those in
// front of it as well: they are copied with the pair's text, not before it.
// Only the next token that is neither blank nor comment can be the pair.
// The same holds for the blanks and comments of text that COPY REPLACING or
// REPLACE replaced: they stand in front of the token that spans it.
bool InsideLaterToken(DovTokenList::Iterator from, const DovToken& t) {
    if (!Given(t.Beg()) || !Given(t.End())) return false;
    for (DovTokenList::Iterator it = from; it != DovTokenList::Iterator(); ++it) {
        const DovToken* later = *it;
        if (Separating(later->code) || later->code == CM_PERSISTENT) continue;
        if (const DovTxtPosnRange* replaced = DovReplacedTextRange(later))
            return Spans(DovToken(later->code, VString(), *replaced), t);
        return Given(later->Beg()) && Given(later->End()) && Spans(*later, t);
    }
    return false;
}

// True when the source line holds more than blanks from `at` (where the
// text copied last ended and the reader stands) to its line end or the right
// margin: words some replacement dropped. The reader is left where it was.
bool DroppedTextAhead(const DovTxtPosn& at) {
    DovPrintState& st = DovPrinting;
    const int ix = static_cast<int>(at.FileIndex());
    if (ix < 0 || ix >= st.readerCount || !st.readers) return false;
    DovSrcFile& reader = st.readers[ix];
    if (!reader.is_open() || !(reader.posn == at)) return false;
    const std::streampos mark = reader.tellg();
    if (mark == std::streampos(-1)) return false;
    const DovTxtPosn kept = reader.posn;
    bool dropped = false;
    while (static_cast<int>(reader.posn.Column()) < st.rightMargin) {
        const int c = reader.Getc();
        if (c < 0 || c == '\n') break;
        if (c != ' ' && c != '\t') {
            dropped = true;
            break;
        }
    }
    reader.clear();
    reader.seekg(mark);
    reader.posn = kept;
    return dropped;
}

// Copies one token's text (begin `b`, end `e`) from its source. 0 or a
// result character; `stop` set when the rest of the list is to be left.
char CopyToken(const DovToken& t, int fromSrc, int& ended, bool& stop) {
    DovPrintState& st = DovPrinting;
    const DovPrettyPrinter& settings = DovPrintSettings();
    // A copybook that ends inside a statement or clause: the first word or
    // comment of the including file after it closes the copybook's file.
    // (Blanks of the including file that stand inside the COPY statement,
    // carried by its REPLACING phrase, do not count.)
    if (st.currentLevel >= 2 && st.currentLevel <= kDovPrintCopyLevels && Given(t.Beg()) && Given(t.End())) {
        const DovPrintCopyLevel& inner = st.copyLevels[st.currentLevel - 1];
        const DovPrintCopyLevel& outer = st.copyLevels[st.currentLevel - 2];
        // A blank that runs from the copybook into the including file
        // belongs to the latter.
        const DovTxtPosn& at = t.Beg().FileIndex() == t.End().FileIndex() ? t.Beg() : t.End();
        if (inner.srcFile >= 0 && outer.srcFile >= 0 && inner.srcFile != outer.srcFile &&
            static_cast<int>(at.FileIndex()) == outer.srcFile &&
            (!IsSpace(t.code) || !Given(outer.savedSrcPosn) || DovTxtPosnCompare(outer.savedSrcPosn, at) <= 0))
            if (char rc = DovCloseCopybookEarly()) {
                stop = true;
                return rc;
            }
    }
    // Copybook text that no begin node announced opens its copybook's
    // output; what the including file holds before the COPY statement ends
    // has been copied by then.
    if (settings.gen_src && !IsSpace(t.code) && st.currentLevel >= 1 && st.currentLevel < kDovPrintCopyLevels &&
        Given(t.Beg()) && Given(t.End()) && t.Beg().FileIndex() == t.End().FileIndex()) {
        const int file = static_cast<int>(t.Beg().FileIndex());
        bool known = file == st.closedEarlyFile;
        for (int i = 0; i < st.currentLevel && !known; ++i) known = st.copyLevels[i].srcFile == file;
        if (!known && st.copyLevels[st.currentLevel - 1].srcFile >= 0)
            if (char rc = DovOpenCopybookOfText(file)) {
                stop = true;
                return rc;
            }
    }
    // The rest of a copybook closed early was copied with it.
    if (st.closedEarlyFile >= 0 && static_cast<int>(t.Beg().FileIndex()) == st.closedEarlyFile &&
        static_cast<int>(t.End().FileIndex()) == st.closedEarlyFile && Given(t.Beg()))
        return 0;
    DovTxtPosn s = t.Beg();
    const DovTxtPosn& e = t.End();
    bool adjusted = false;
    // Text that REPLACE replaced by nothing (or that the parser dropped)
    // leaves a hole between the blank runs around it: copied from where the
    // text copied last ended, the line keeps it.
    if (t.code == SEP_SPACE && Given(st.last_line_src_posn) && st.last_line_src_posn.FileIndex() == s.FileIndex() &&
        st.last_line_src_posn.Line() == s.Line() && st.last_line_src_posn.Column() < s.Column() &&
        static_cast<int>(st.last_line_src_posn.Column()) == st.g_xpos) {
        s = st.last_line_src_posn;
        adjusted = true;
    } else if (t.code == SEP_SPACE && Given(st.last_line_src_posn) &&
               st.last_line_src_posn.FileIndex() == s.FileIndex() && st.last_line_src_posn.Line() < s.Line() &&
               static_cast<int>(st.last_line_src_posn.Column()) == st.g_xpos &&
               DroppedTextAhead(st.last_line_src_posn)) {
        // The same for text dropped at the end of a line.
        s = st.last_line_src_posn;
        adjusted = true;
    }
    // A space collapsed to at most one blank is copied where the line
    // stands: no line end, no padding in front of it.
    bool collapsed = false;
    if (s.FileIndex() == e.FileIndex()) {
        // A blank run that opens a later source line than the text copied
        // last is that line's indentation: it starts a new output line and
        // is copied whole.
        const bool opensLaterLine =
            Given(st.last_line_src_posn) && st.last_line_src_posn.FileIndex() == s.FileIndex() &&
            st.last_line_src_posn.Line() < s.Line();
        if (IsSpace(t.code) && static_cast<int>(s.Column()) < st.g_xpos && !opensLaterLine) {
            const int cmp = DovTxtPosnCompare(e, s);
            if (s.Line() == e.Line() && cmp > 0) {
                s = e;
                if (st.lastChar != ' ' && s.Column() > 0) s.SetColumn(s.Column() - 1);
                adjusted = true;
                collapsed = true;
            } else if (s.Line() != e.Line() && cmp > 0) {
                PutcLine('\n', 1);
                ended = 1;
                s = DovTxtPosn(t.Beg().Line() + 1, 0, t.Beg().FileIndex());
                adjusted = true;
            }
        }
    } else {
        if (!IsSpace(t.code)) {
            PrintChar(' ', 0, 0);
            DovExpr::AddError(MSG_WARN, VString("SrcPrintText: at ") + DovTxtPosnStr(t.Beg()) +
                                            VString(" switch files: ") + DovTxtPosnStr(t.Beg()) + VString("-") +
                                            DovTxtPosnStr(e));
            stop = true;
            return 0;
        }
        if (Given(st.last_line_src_posn) && st.last_line_src_posn.FileIndex() == e.FileIndex())
            s = st.last_line_src_posn;
        else
            s = DovTxtPosn(e.Line(), 0, e.FileIndex());
        adjusted = true;
        if (s == e) return 0;
    }
    if (adjusted && Debug(DOV_PDBG_SOURCE)) std::cout << "#+++SrcPrintText: RECOMPUTE sr=" << s << '\n';
    if (t.code == PRESERVED_SPACE) return 0;
    if (!collapsed && (static_cast<int>(s.Column()) < st.g_xpos || (Given(st.last_line_src_posn) && st.last_line_src_posn.Line() != s.Line()))) {
        PutcLine('\n', 1);
        ended = 1;
    }
    if (t.code == PRESERVED_STRING && !fromSrc) {
        PadSourceTo(static_cast<int>(s.Column()));
        return 0;
    }
    const int ix = static_cast<int>(s.FileIndex());
    if (ix < 0 || ix >= st.readerCount || !st.readers) {
        Severe(DovFormat("SrcPrintText: bad file_ix %d", ix));
        stop = true;
        return '0';
    }
    DovSrcFile* reader = &st.readers[ix];
    st.currentReader = reader;
    VString message;
    // Only fixed and variable lines have a sequence area; a free-format line
    // holds text in its first six columns.
    const bool freeFormat =
        settings.gen_line_format == DOV_GEN_LF_FREE || settings.gen_line_format == DOV_GEN_LF_FSC_FREE;
    if (!collapsed && settings.gen_line_id_comments && !freeFormat && st.g_xpos == 0 && s.Column() >= 6) {
        SequenceArea& area = g_sequenceArea;
        if (area.file != ix || area.line != s.Line()) {
            // Read once per line: a reader already past the line's start
            // would have to read its file again from the beginning.
            area.file = -1;
            if (int rc = reader->SetPosn(DovTxtPosn(s.Line(), 0, s.FileIndex()), message)) {
                Severe(message);
                stop = true;
                return static_cast<char>(rc);
            }
            for (int i = 0; i < 6; ++i) {
                const int c = reader->Getc();
                if (c < 0 || c == '\n') {
                    Severe("SrcPrintText: NewLine or EOF at line number area");
                    stop = true;
                    return '/';
                }
                area.text[i] = static_cast<char>(c);
            }
            const int c = reader->Getc();
            area.indicator = c < 0 || c == '\n' ? 0 : static_cast<char>(c);
            area.file = ix;
            area.line = s.Line();
        }
        for (char c : area.text) PutcLine(c, 1);
        // Text that starts past the indicator keeps the indicator its line
        // has (a blank, or a letter some dialects put there).
        if (s.Column() > 6 && area.indicator && area.indicator != '\t') PutcLine(area.indicator, 1);
    }
    if (!collapsed) PadSourceTo(static_cast<int>(s.Column()));
    if (int rc = reader->SetPosn(s, message)) {
        Severe(message);
        stop = true;
        return static_cast<char>(rc);
    }
    if (Given(e)) {
        while (Before(reader->posn, e)) {
            const int c = reader->Getc();
            if (c < 0) {
                Severe("SrcPrintText: EOF where text is expected");
                stop = true;
                return '/';
            }
            const char ch = static_cast<char>(c);
            // A blank run never makes its line a comment line; any other
            // indicator it crosses (a letter some dialects use) is kept.
            if (t.code == SEP_SPACE && (ch == '*' || ch == '/') && st.g_xpos == 6)
                PutcLine(' ', 1);
            else
                PutcLine(ch, 1);
            ended = ch == '\n' ? 1 : 0;
        }
    }
    if (t.code != SEP_EOF) st.last_line_src_posn = e;
    if (st.currentLevel >= 1 && st.currentLevel <= kDovPrintCopyLevels && Given(e)) {
        DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
        if (level.srcFile < 0) level.srcFile = ix;
        if (ix == level.srcFile && e.FileIndex() == s.FileIndex()) level.srcEnd = e;
    }
    return 0;
}

// A blank that COPY ... REPLACING carried over from its replacement text
// stands in another file than the copybook text on both sides of it: the
// replaced word is copied from the copybook, which has its own blank in
// front of it.
bool ForeignBlank(DovTokenList::Iterator from, const DovToken& t) {
    if (t.code != SEP_SPACE || !Given(t.Beg()) || !Given(DovPrinting.last_line_src_posn)) return false;
    const std::uint32_t before = DovPrinting.last_line_src_posn.FileIndex();
    if (t.Beg().FileIndex() == before) return false;
    for (DovTokenList::Iterator it = from; it != DovTokenList::Iterator(); ++it) {
        const DovToken* next = *it;
        if (!Given(next->Beg())) continue;
        return next->Beg().FileIndex() == before;
    }
    return false;
}

}  // namespace

void DovForgetSourceLines() {
    g_sequenceArea = SequenceArea{};
    DovPrinting.writtenFiles.clear();
    DovPrinting.filesSinceCopyNode.clear();
    DovPrinting.closedEarly = VString();
    DovPrinting.closedEarlyFile = -1;
}

char DovCopySourceTail(bool* atEnd) {
    DovPrintState& st = DovPrinting;
    if (atEnd) *atEnd = false;
    if (!DovPrintSettings().gen_src || st.currentLevel < 1 || st.currentLevel > kDovPrintCopyLevels) return 0;
    const DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
    if (level.srcFile < 0 || !Given(level.srcEnd)) return 0;
    if (level.srcFile >= st.readerCount || !st.readers) return 0;
    DovSrcFile* reader = &st.readers[level.srcFile];
    st.currentReader = reader;
    VString message;
    if (int rc = reader->SetPosn(level.srcEnd, message)) {
        Severe(message);
        return static_cast<char>(rc);
    }
    for (int c = reader->Getc(); c >= 0; c = reader->Getc()) PutcLine(static_cast<char>(c), 0);
    if (atEnd) *atEnd = true;
    return 0;
}

char SrcPrintText(DovTokenList& tokens, int fromSrc, int* endedOut) {
    const DovPrettyPrinter& settings = DovPrintSettings();
    const bool trace = Debug(DOV_PDBG_SOURCE);
    if (trace) std::cout << "#+++SrcPrintText: src_p=" << fromSrc << " gen_xpos=" << DovPrinting.g_xpos << '\n';
    char rc = 0;
    int ended = 0;
    for (DovTokenList::Iterator it = tokens.begin(); it != tokens.end(); ++it) {
        DovToken* t = *it;
        DovTokenList::Iterator next = it;
        ++next;
        if (settings.gen_src && DovInsideReplacedText(t)) continue;
        if (Separating(t->code) && settings.gen_src && InsideLaterToken(next, *t)) continue;
        if (fromSrc && settings.gen_src && ForeignBlank(next, *t)) continue;
        if (t->code == CM_COMMENT) {
            const bool b = Given(t->Beg()), e = Given(t->End());
            if ((!b && !e) || !settings.gen_src) {
                if (settings.gen_print_comments) {
                    PrintComment(t->image, 0);
                    ended = 1;
                }
                continue;
            }
            if (b != e) {
                DovExpr::AddError(MSG_WARN, "SrcPrintText: token bad beg or end position. Ignored.");
                continue;
            }
        } else if (t->code == CM_PERSISTENT) {
            PrintComment(t->image, 0);
            ended = 1;
            continue;
        } else if (!fromSrc && t->code != PRESERVED_SPACE && t->code != PRESERVED_STRING) {
            continue;
        }
        bool stop = false;
        if (const DovTxtPosnRange* replaced = settings.gen_src ? DovReplacedTextRange(t) : nullptr)
            rc = CopyToken(DovToken(t->code, VString(), *replaced), fromSrc, ended, stop);
        else
            rc = CopyToken(*t, fromSrc, ended, stop);
        if (stop) break;
    }
    if (endedOut) *endedOut = ended;
    if (trace) std::cout << "#---SrcPrintText: rc=" << static_cast<int>(rc) << '\n';
    return rc;
}

char ComputeCGexcerpt(VString& excerpt, const DovPrintSlot& entry) {
    excerpt = VString();
    DovExpr* holder = entry.holder;
    PrintTemplate* found = nullptr;
    if (char rc = FindCGentry(&found, holder)) return rc;
    const char* tmpl = found && found->text ? found->text : "";
    std::string out;
    bool done = false;
    if (DovOperIsList(holder->Oper())) {
        if (entry.index == 0) {
            out = "$1";
        } else {
            for (const char* p = tmpl; *p; ++p)
                if (*p != '@') out += *p;
            out += "$" + std::to_string(entry.index + 1);
        }
        done = true;
    } else {
        for (const char* p = tmpl; *p && !done; ++p) {
            if (*p == '\\') {
                if (!p[1]) break;
                ++p;
                continue;
            }
            if (*p != '$' || p[1] < '0' || p[1] > '9') continue;
            const bool inCond = p > tmpl && p[-1] == '{';
            const char* q = p;
            int index = 0;
            if (char rc = GetArgNo(&index, &q, holder->NumArgs(), holder)) return rc;
            if (index == entry.index) {
                if (inCond && (q[1] == '?' || q[1] == '=')) {
                    for (const char* r = q + 2; *r && *r != ':' && *r != '}'; ++r) {
                        out += *r;
                        if (*r == '\\' && r[1]) out += *++r;
                    }
                } else {
                    out.assign(p, q + 1);
                }
                done = true;
                break;
            }
            if (inCond) {
                // Past the other argument's conditional.
                const char* r = q + 1;
                while (*r && *r != '}') {
                    if (*r == '\\' && r[1]) ++r;
                    ++r;
                }
                if (!*r) break;
                p = r;
            } else {
                p = q;
            }
        }
    }
    if (!done) {
        DovExpr* child = entry.slot ? entry.slot->arg : nullptr;
        if (child && child->Oper() != SYMBOL_TABLE_ELT_LIST && holder->Oper() != DECL_DD_HIDDEN)
            child->AddPError(MSG_WARN, DovFormat("ComputeCGexcerpt: oper %s: printing arg #%d that is not in the table",
                                                 DovOperName(holder->Oper()), entry.index + 1));
    }
    excerpt = VString(out.c_str());
    if (Debug(DOV_PDBG_LOOKUP)) std::cout << "CGexcerpt: '" << out << "'\n";
    return 0;
}

char SlotPrint(DovExpr* node) {
    std::vector<DovPrintSlot> entries;
    VString message;
    if (SourcePrint(node, entries, message)) node->AddPError(MSG_WARN, message);
    const bool trace = Debug(DOV_PDBG_CHARS);
    if (trace) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const DovExpr* c = entries[i].slot ? entries[i].slot->arg : nullptr;
            std::cout << "**SlotPrint: #" << i << ": " << (c ? DovOperName(c->Oper()) : "-NULL-")
                      << " from_src=" << (entries[i].slot ? entries[i].slot->code : 0)
                      << " arg_ix=" << entries[i].index << " root=" << DovOperName(entries[i].holder->Oper()) << '\n';
        }
        std::cout << "**\n";
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DovPrintSlot& entry = entries[i];
        DovArgSlot* slot = entry.slot;
        if (!slot) continue;
        DovExpr* child = slot->arg;
        const bool present = Present(child);
        const int flag = slot->code != 0 && ((present && DovUnchangedFromSource(child)) ||
                                             (!slot->tokens.IsEmpty() && !DovHasUnplacedToken(slot->tokens)))
                             ? 1
                             : 0;
        if (trace)
            std::cout << "==SlotPrint: #" << i << (present ? "" : "(NULL)") << " slot_src_p=" << flag << '\n';
        if (char rc = SrcPrintText(slot->tokens, flag)) return rc;
        if (!present) continue;
        VString excerpt;
        if (char rc = ComputeCGexcerpt(excerpt, entry)) return rc;
        if (flag) {
            for (const char* p = excerpt.CStr(); p && *p; ++p) {
                if (*p == '\t') {
                    ++DovPrinting.g_xs;
                    if (trace) std::cout << "[]g_xs: ++ to " << DovPrinting.g_xs << '\n';
                } else if (*p == '\b') {
                    --DovPrinting.g_xs;
                    if (trace) std::cout << "[]g_xs: -- to " << DovPrinting.g_xs << '\n';
                } else if (*p == '\\' && p[1]) {
                    ++p;
                } else if (*p == '$' && p[1] == 'x') {
                    ++p;
                } else if (*p == '$' && p[1] == 'p') {
                    ++p;
                    if (p[1]) ++p;
                } else if (*p == '$' && p[1] >= '0' && p[1] <= '9') {
                    int index = 0;
                    if (char rc = GetArgNo(&index, &p, entry.holder->NumArgs(), entry.holder)) return rc;
                    if (index != entry.index) {
                        child->AddPError(MSG_SEVERE, "SourcePrint: Wrong arg_no when accounting for tab and backtab");
                        return ',';
                    }
                    if (char rc = DovPrintArgument(child, 0, 0)) return rc;
                }
            }
        } else if (auto* holder = dynamic_cast<DovExprOper*>(entry.holder)) {
            if (char rc = holder->print(excerpt.CStr(), 0, 0, 0)) return rc;
        }
    }
    if (trace) std::cout << "==SlotPrint: TAIL\n";
    return SrcPrintText(node->Tokens(), 1);
}
