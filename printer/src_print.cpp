#include "printer/src_print.h"

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "printer/print_oper.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/src_copy.h"
#include "printer/templates/comment.h"
#include "printer/templates/interpreter.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"
#include "tree/oper.h"
#include "tree/token.h"

namespace {

bool Present(const DovExpr* e) { return e && e->Oper() != NULL_NODE; }

bool IsKeptWord(int code) { return code == PRESERVED_STRING || code == PRESERVED_SPACE; }

// The copybook output that a token's text belongs in. A copybook that ends
// inside a statement or clause: the first word or comment of the including
// file after it closes the copybook's file (blanks of the including file
// that stand inside the COPY statement, carried by its REPLACING phrase, do
// not count). Copybook text that no begin node announced opens its
// copybook's output; what the including file holds before the COPY
// statement ends has been copied by then. 0 or a result character.
char FollowCopybookOf(const DovToken& t) {
    DovPrintState& st = DovPrinting;
    if (!DovPosnGiven(t.Beg()) || !DovPosnGiven(t.End())) return 0;
    if (st.currentLevel >= 2 && st.currentLevel <= kDovPrintCopyLevels) {
        const DovPrintCopyLevel& inner = st.copyLevels[st.currentLevel - 1];
        const DovPrintCopyLevel& outer = st.copyLevels[st.currentLevel - 2];
        // A blank that runs from the copybook into the including file
        // belongs to the latter.
        const DovTxtPosn& at = t.Beg().FileIndex() == t.End().FileIndex() ? t.Beg() : t.End();
        if (inner.srcFile >= 0 && outer.srcFile >= 0 && inner.srcFile != outer.srcFile &&
            static_cast<int>(at.FileIndex()) == outer.srcFile &&
            (!DovIsBlankRun(t.code) || !DovPosnGiven(outer.savedSrcPosn) ||
             DovTxtPosnCompare(outer.savedSrcPosn, at) <= 0))
            if (char rc = DovCloseCopybookEarly()) return rc;
    }
    if (DovPrintSettings().gen_src && !DovIsBlankRun(t.code) && st.currentLevel >= 1 &&
        st.currentLevel < kDovPrintCopyLevels && t.Beg().FileIndex() == t.End().FileIndex()) {
        const int file = static_cast<int>(t.Beg().FileIndex());
        bool known = file == st.closedEarlyFile;
        for (int i = 0; i < st.currentLevel && !known; ++i) known = st.copyLevels[i].srcFile == file;
        if (!known && st.copyLevels[st.currentLevel - 1].srcFile >= 0)
            if (char rc = DovOpenCopybookOfText(file)) return rc;
    }
    return 0;
}

// True for a token of a copybook closed early: its text was copied with the
// rest of the copybook.
bool InCopybookClosedEarly(const DovToken& t) {
    const int file = DovPrinting.closedEarlyFile;
    return file >= 0 && DovPosnGiven(t.Beg()) && static_cast<int>(t.Beg().FileIndex()) == file &&
           static_cast<int>(t.End().FileIndex()) == file;
}

// Blanks, commas, semicolons and comments: what stands between words.
bool Separating(int code) { return DovIsBlankRun(code) || code == SEP_COMMA || code == SEP_SEMI || code == CM_COMMENT; }

// True when `outer` spans `inner` in the same file.
bool Spans(const DovTxtPosnRange& outer, const DovToken& inner) {
    return outer.beg.FileIndex() == inner.Beg().FileIndex() && outer.end.FileIndex() == inner.End().FileIndex() &&
           DovTxtPosnCompare(outer.beg, inner.Beg()) <= 0 && DovTxtPosnCompare(inner.End(), outer.end) <= 0;
}

// A keyword pair read as one token (END PROGRAM, DATA DIVISION) spans the
// blanks and comments between its two words, and the list holds those in
// front of it as well: they are copied with the pair's text, not before it.
// Only the next token that is neither blank nor comment can be the pair.
// The same holds for the blanks and comments of text that COPY REPLACING or
// REPLACE replaced: they stand in front of the token that spans it.
bool InsideLaterToken(DovTokenList::Iterator from, const DovToken& t) {
    if (!DovPosnGiven(t.Beg()) || !DovPosnGiven(t.End())) return false;
    for (DovTokenList::Iterator it = from; it != DovTokenList::Iterator(); ++it) {
        const DovToken* later = *it;
        if (Separating(later->code) || later->code == CM_PERSISTENT) continue;
        if (const DovTxtPosnRange* replaced = DovReplacedTextRange(later)) return Spans(*replaced, t);
        return DovPosnGiven(later->Beg()) && DovPosnGiven(later->End()) && Spans(later->range, t);
    }
    return false;
}

// A blank that COPY ... REPLACING carried over from its replacement text
// stands in another file than the copybook text on both sides of it: the
// replaced word is copied from the copybook, which has its own blank in
// front of it.
bool ForeignBlank(DovTokenList::Iterator from, const DovToken& t) {
    if (t.code != SEP_SPACE || !DovPosnGiven(t.Beg()) || !DovPosnGiven(DovPrinting.last_line_src_posn)) return false;
    const std::uint32_t before = DovPrinting.last_line_src_posn.FileIndex();
    if (t.Beg().FileIndex() == before) return false;
    for (DovTokenList::Iterator it = from; it != DovTokenList::Iterator(); ++it) {
        const DovToken* next = *it;
        if (!DovPosnGiven(next->Beg())) continue;
        return next->Beg().FileIndex() == before;
    }
    return false;
}

// A comment without source positions (or any comment when the printer does
// not print from source), or a persistent one: a comment line of its own.
// True when the token is such a comment (printed or, without comment
// printing, left out).
bool CommentLine(const DovToken& t, int& ended) {
    const DovPrettyPrinter& settings = DovPrintSettings();
    if (t.code == CM_PERSISTENT ||
        (t.code == CM_COMMENT && ((!DovPosnGiven(t.Beg()) && !DovPosnGiven(t.End())) || !settings.gen_src))) {
        if (t.code == CM_PERSISTENT || settings.gen_print_comments) {
            PrintComment(t.image, 0);
            ended = 1;
        }
        return true;
    }
    return false;
}

// Copies a token's text from the source: the text REPLACE replaced for the
// first token of such a run, else the token's own range. 0 or a result
// character; `stop` set when the rest of the list is to be left.
char CopyToken(const DovToken& t, int& ended, bool& stop) {
    if (char rc = FollowCopybookOf(t)) {
        stop = true;
        return rc;
    }
    if (InCopybookClosedEarly(t)) return 0;
    const DovTxtPosnRange* replaced = DovPrintSettings().gen_src ? DovReplacedTextRange(&t) : nullptr;
    return DovCopySourceText(t.code, replaced ? *replaced : t.range, ended, stop);
}

// A word kept as text (or a blank run among such words) set where the
// source had it, and the word printed when `print` is set: with a blank in
// front when the source parts it from the word printed last (`lastWord`,
// which follows the words printed) and the output does not.
void SetKeptWord(const DovToken& t, bool print, const DovToken*& lastWord) {
    const bool placed = DovPosnGiven(t.Beg()) && DovPosnGiven(t.End());
    if (placed) DovPlaceKeptText(t.code, t.range);
    if (t.code == PRESERVED_SPACE || !print) {
        lastWord = nullptr;
        return;
    }
    DovPrintState& st = DovPrinting;
    const bool glued = lastWord && placed && lastWord->End() == t.Beg();
    if (st.g_xpos > 0 && st.lastChar != ' ' && !glued) PrintChar(' ', 1, 0);
    PrintStr(t.image, 1, 0);
    lastWord = &t;
}

}  // namespace

void DovForgetSourceLines() {
    DovPrinting.writtenFiles.clear();
    DovPrinting.filesSinceCopyNode.clear();
    DovPrinting.writtenCopybooks.clear();
    DovPrinting.copybookConflict = false;
    DovPrinting.memberLines.clear();
    DovPrinting.closedEarly = VString();
    DovPrinting.closedEarlyFile = -1;
}

char SrcPrintText(DovTokenList& tokens, int fromSrc, int* endedOut, DovKeptWords kept) {
    const DovPrettyPrinter& settings = DovPrintSettings();
    const bool trace = DovPrintDebug(DOV_PDBG_SOURCE);
    if (trace) std::cout << "#+++SrcPrintText: src_p=" << fromSrc << " gen_xpos=" << DovPrinting.g_xpos << '\n';
    const bool copy = fromSrc && settings.gen_src;
    if (settings.gen_src) DovHoldListText(tokens, copy);
    char rc = 0;
    int ended = 0;
    const DovToken* lastKept = nullptr;
    for (DovTokenList::Iterator it = tokens.begin(); it != tokens.end(); ++it) {
        DovToken* t = *it;
        DovTokenList::Iterator next = it;
        ++next;
        if (settings.gen_src && DovInsideReplacedText(t)) continue;
        if (settings.gen_src && Separating(t->code) && InsideLaterToken(next, *t)) continue;
        if (copy && ForeignBlank(next, *t)) continue;
        if (CommentLine(*t, ended)) continue;
        if (t->code == CM_COMMENT && DovPosnGiven(t->Beg()) != DovPosnGiven(t->End())) {
            DovExpr::AddError(MSG_WARN, "SrcPrintText: token bad beg or end position. Ignored.");
            continue;
        }
        bool stop = false;
        if (t->code == CM_COMMENT || copy) {
            rc = CopyToken(*t, ended, stop);
        } else if (IsKeptWord(t->code) && kept != DovKeptWords::kLater) {
            SetKeptWord(*t, kept == DovKeptWords::kPrinted, lastKept);
        }
        if (stop) break;
    }
    if (endedOut) *endedOut = ended;
    if (trace) std::cout << "#---SrcPrintText: rc=" << static_cast<int>(rc) << '\n';
    return rc;
}

char SrcPrintKeptWords(DovTokenList& tokens) {
    const DovToken* lastKept = nullptr;
    for (const DovToken* t : tokens)
        if (IsKeptWord(t->code)) SetKeptWord(*t, true, lastKept);
    return 0;
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
    if (DovPrintDebug(DOV_PDBG_LOOKUP)) std::cout << "CGexcerpt: '" << out << "'\n";
    return 0;
}

char SlotPrint(DovExpr* node) {
    std::vector<DovPrintSlot> entries;
    VString message;
    if (SourcePrint(node, entries, message)) node->AddPError(MSG_WARN, message);
    const bool trace = DovPrintDebug(DOV_PDBG_CHARS);
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
        const int flag = DovSlotFromSource(*slot) ? 1 : 0;
        if (trace)
            std::cout << "==SlotPrint: #" << i << (present ? "" : "(NULL)") << " slot_src_p=" << flag << '\n';
        if (char rc = SrcPrintText(slot->tokens, flag, nullptr, DovKeptWords::kPrinted)) return rc;
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
                    // A changed child takes the place of the source's: it
                    // keeps the separation that stood in front of that.
                    if (!DovUnchangedFromSource(child)) DovCopySeparation();
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
