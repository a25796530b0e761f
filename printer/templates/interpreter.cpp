#include "printer/templates/interpreter.h"

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "lbase/message.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/templates/comment.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"
#include "tree/token.h"

DovPrintNodeFn DovPrintArgument = DovTemplatePrintNode;
DovBeforeArgumentFn DovBeforePrintArgument = nullptr;
DovAttachedTokensFn DovPrintAttachedTokens = DovPrintAttachedComments;
DovKeptWordsFn DovPrintKeptWords = nullptr;
std::int64_t DovResumeAfterCopybook = -1;

char GetArgNo(int* index, const char** cursor, int numArgs, DovExpr* node) {
    const char* p = *cursor;
    long long n = 0;
    bool tooBig = false;
    while (p[1] >= '0' && p[1] <= '9') {
        ++p;
        if (n <= INT_MAX) n = n * 10 + (*p - '0');
        if (n > INT_MAX) tooBig = true;
    }
    *cursor = p;
    if (n < 1 || tooBig) {
        node->AddPError(MSG_ERR, DovFormat("GetArgNo: illegal argument: $%d", tooBig ? INT_MAX : static_cast<int>(n)));
        return ',';
    }
    if (n > numArgs) {
        node->AddPError(MSG_ERR, DovFormat("GetArgNo: argument number out of range: $%d", static_cast<int>(n)));
        return ',';
    }
    *index = static_cast<int>(n) - 1;
    return 0;
}

char DovTemplatePrintNode(DovExpr* node, int lengthPass, int breakRequest) {
    if (!node || node->Oper() == NULL_NODE) return 0;
    if (node->IsTerminal()) {
        PrintStr(node->Image(), node->Flag(), lengthPass);
        return 0;
    }
    auto* oper = dynamic_cast<DovExprOper*>(node);
    if (!oper) return 0;
    PrintTemplate* entry = nullptr;
    if (char rc = FindCGentry(&entry, node)) return rc;
    return oper->print(entry->text, lengthPass, breakRequest, 1);
}

char DovPrintAttachedComments(DovTokenList& tokens, int* ended) {
    *ended = 0;
    const DovPrettyPrinter& settings = DovPrintSettings();
    for (DovToken* t : tokens) {
        if (t->code == CM_PERSISTENT || (t->code == CM_COMMENT && settings.gen_print_comments)) {
            PrintComment(t->image, 0);
            *ended = 1;
        }
    }
    return 0;
}

namespace {

bool Present(const DovExpr* e) { return e && e->Oper() != NULL_NODE; }

bool Printable(unsigned char c) { return c >= 0x20 && c < 0x7f; }

// One run of the interpreter over one node: the state of the template read.
class TemplateRun {
public:
    TemplateRun(DovExprOper* node, int lengthPass, int breakRequest, int attached)
        : node_(node),
          length_(lengthPass != 0),
          breakRequest_(breakRequest != 0),
          attached_(attached != 0 && lengthPass == 0),
          mark_(node->Flag()),
          entryCol_(DovPrinting.g_xpos),
          entryLevel_(DovPrinting.g_xs),
          subStart_(DovPrinting.g_xpos) {}

    char Run(const char* tmpl);

private:
    int Col() const { return DovPrinting.g_xpos; }
    int Margin() const { return DovPrinting.rightMargin; }
    bool Debug() const { return (DovPrintSettings().debug_flags & DOV_PDBG_CHARS) && !length_; }
    void Out(char c) {
        if (!length_ && DovResumeAfterCopybook >= 0) {
            if (DovResumeAfterCopybook == DovPrinting.charCount && c != ' ' && c != '\n') PrintChar(' ', mark_, 0);
            DovResumeAfterCopybook = -1;
        }
        PrintChar(c, mark_, length_ ? 1 : 0);
    }
    void SetLevel(int level, const char* what) {
        DovPrinting.g_xs = level;
        if (Debug()) std::cout << what << level << '\n';
    }
    void Error(int severity, const VString& text) { node_->AddPError(severity, text); }
    DovArgSlot* Slot(int i) const { return i < node_->NumArgs() ? node_->ArgSlots(i) : nullptr; }
    DovExpr* Arg(int i) const { return DovArgOrNull(node_, i); }
    // Blanks up to 0-based column `target`.
    void PadTo(int target) {
        // At the start of a line the next character is indented first.
        if (Col() == 0 && IndentPos(DovPrinting.g_xs) >= target) return;
        while (Col() < target) {
            const int before = Col();
            Out(' ');
            if (Col() <= before) break;
        }
    }
    char Tokens(DovTokenList& tokens, int* ended) {
        int dummy = 0;
        return DovPrintAttachedTokens(tokens, ended ? ended : &dummy);
    }
    char PrintArg(int index) {
        DovExpr* arg = Arg(index);
        if (!arg) return 0;
        if (!length_ && DovBeforePrintArgument)
            if (char rc = DovBeforePrintArgument(node_, index)) return rc;
        return DovPrintArgument(arg, length_ ? 1 : 0, index == 0 && askBelow_ ? 1 : 0);
    }
    // Width of subdivision `i` as the last length pass measured it.
    int Width(int i) const {
        return node_->SubdivWidth(i);
    }
    void EndSubdivision() {
        widths_.push_back(Col() - subStart_);
        subStart_ = Col();
    }
    void LineEnd();
    char BreakPoint(char c);
    char KeptWords();
    // Skips from `p` (inside a conditional) to the next ':' or '}' (or only
    // to '}' when `toClose`), honouring '\' escapes; null at the end.
    const char* SkipPart(const char* p, bool toClose) const {
        for (; *p; ++p) {
            if (*p == '\\') {
                if (!p[1]) return nullptr;
                ++p;
                continue;
            }
            if (*p == '}' || (!toClose && *p == ':')) return p;
        }
        return nullptr;
    }

    DovExprOper* node_;
    bool length_;
    bool breakRequest_;
    bool attached_;  // print the attached tokens (print pass only)
    int mark_;
    int entryCol_;
    int entryLevel_;
    bool forced_ = false;
    bool askBelow_ = false;
    bool inCond_ = false;
    bool ignoreBreak_ = false;
    bool lineEnd_ = false;
    bool keptDone_ = false;  // the kept words were printed before the tail
    int subIndex_ = 0;
    int subStart_;
    std::vector<int> widths_;
};

void TemplateRun::LineEnd() {
    askBelow_ = false;
    if (length_) {
        if (!lineEnd_) {
            EndSubdivision();
            node_->SetPrintedLength(Col() - entryCol_);
        }
    }
    lineEnd_ = true;
}

char TemplateRun::BreakPoint(char c) {
    if (ignoreBreak_) {
        ignoreBreak_ = false;
        return 0;
    }
    if (length_) {
        if (lineEnd_) Error(MSG_ERR, "PrettyPrint: non-'\\n' separators after '\\n'");
        EndSubdivision();
        if (c != '!') Out(' ');
        subStart_ = Col();
        ++subIndex_;
        return 0;
    }
    const bool fits = Col() + Width(subIndex_ + 1) < Margin();
    switch (c) {
        case '|':
        case '&':
            if (Col() == 0) {
                Out(' ');
            } else if (forced_ || !fits) {
                Out('\n');
                SetLevel(entryLevel_ + (c == '|' ? 1 : 0), "==x=Gen_Xstart: ");
            } else {
                Out(' ');
            }
            break;
        case '%':
            if (Col() > 0 && !fits)
                Out('\n');
            else
                Out(' ');
            break;
        default:  // '!': only ends a subdivision
            break;
    }
    ++subIndex_;
    return 0;
}

// The words of the node's lists kept as text: they follow what the
// template printed of the node, so that they come after its keywords, as in
// the source.
char TemplateRun::KeptWords() {
    if (!attached_ || !DovPrintKeptWords) return 0;
    for (int i = 0; i < node_->NumArgs(); ++i)
        if (DovArgSlot* slot = Slot(i))
            if (char rc = DovPrintKeptWords(slot->tokens)) return rc;
    return DovPrintKeptWords(node_->Tokens());
}

char TemplateRun::Run(const char* tmpl) {
    const char* p = tmpl ? tmpl : "";
    bool noBreak = false;
    if (*p == '\r') {
        noBreak = true;
        ++p;
    }
    if (!length_ && !noBreak) {
        int s = Col() ? Col() : IndentPos(DovPrinting.g_xs);
        const int len = node_->PrintedLength();
        if (breakRequest_) {
            forced_ = true;
        } else if (s + len >= Margin()) {
            s = IndentPos(DovPrinting.g_xs + 1);
            forced_ = s + len >= Margin();
        }
        if (forced_ && s + Width(0) >= Margin()) askBelow_ = true;
    }
    std::string expanded;
    if (*p == '@') {
        const std::string sep(p + 1);
        const int n = node_->NumArgs();
        if (n > 0) {
            expanded = "^x$1";
            for (int i = 2; i <= n; ++i) {
                const std::string num = std::to_string(i);
                expanded += "{$" + num + "=" + sep + "$x$" + num + "}";
            }
        }
        p = expanded.c_str();
    }
    if (Debug())
        std::cout << "-->PrettyProcess()-->:" << " op=" << DovOperName(node_->Oper()) << " p_s_l=" << attached_
                  << " g_xpos=" << Col() << " g_xs=" << DovPrinting.g_xs << " no_brk=" << noBreak
                  << " brk=" << forced_ << " ask_blw=" << askBelow_ << " cg=" << p << '\n';
    if (attached_) {
        bool any = false;
        for (int i = 0; i < node_->NumArgs() && !any; ++i) {
            DovArgSlot* slot = Slot(i);
            any = slot && (!slot->tokens.IsEmpty() || Present(slot->arg));
        }
        DovTokenList* tokens = nullptr;
        if (any)
            tokens = &Slot(0)->tokens;
        else
            tokens = &node_->Tokens();
        if (char rc = Tokens(*tokens, nullptr)) return rc;
    }

    for (const char* c = p; *c; ++c) {
        const unsigned char ch = static_cast<unsigned char>(*c);
        switch (ch) {
            case '$': {
                const char d = c[1];
                if (d >= '0' && d <= '9') {
                    int index = 0;
                    if (char rc = GetArgNo(&index, &c, node_->NumArgs(), node_)) return rc;
                    if (attached_ && !inCond_ && index >= 1) {
                        Error(MSG_ERR, DovFormat("PrettyPrint: $%d: this arg must be enclosed in {...}", index + 1));
                        if (DovArgSlot* slot = Slot(index))
                            if (char rc = Tokens(slot->tokens, nullptr)) return rc;
                    }
                    if (char rc = PrintArg(index)) return rc;
                } else if (d == 'x') {
                    ++c;
                    if (!length_) {
                        const int target = node_->PrinterMark();
                        if (target >= Margin()) {
                            Error(MSG_ERR, DovFormat("PrettyPrint: command $x: cannot position to column %d", target));
                            return '*';
                        }
                        PadTo(target);
                    }
                } else if (d == 'p') {
                    const DovIntArray& tabs = DovPrintSettings().gen_tabs;
                    const char n = c[2];
                    if (n < '1' || n > '0' + tabs.count) {
                        Error(MSG_ERR, DovFormat("PrettyPrint: command $pN: bad number: %s", c));
                        return ',';
                    }
                    c += 2;
                    if (!length_) {
                        const int target = tabs.items[n - '1'] - 1;
                        if (target >= Margin()) {
                            Error(MSG_ERR, DovFormat("PrettyPrint: command $p: cannot position to column %d", target));
                            return '*';
                        }
                        PadTo(target);
                    }
                } else {
                    Error(MSG_ERR, DovFormat("PrettyPrint: bad arg: $%c", d));
                    return '*';
                }
                break;
            }
            case '^': {
                const char r = c[1];
                if (!r) {
                    if (!length_) {
                        Error(MSG_ERR, DovFormat("PrettyPrint: command ^: unknown register '%c'", ' '));
                        return '-';
                    }
                    break;
                }
                ++c;
                if (length_) break;
                if (r != 'x') {
                    Error(MSG_ERR, DovFormat("PrettyPrint: command ^: unknown register '%c'", r));
                    return '-';
                }
                node_->SetPrinterMark(Col());
                break;
            }
            case '{': {
                if (inCond_) {
                    Error(MSG_ERR, "PrettyPrint: conditional expression max depth is 1");
                    return '.';
                }
                if (c[1] != '$') {
                    Error(MSG_ERR, "PrettyPrint: '$' expected after '{'");
                    return '-';
                }
                ++c;
                int index = 0;
                if (char rc = GetArgNo(&index, &c, node_->NumArgs(), node_)) return rc;
                const char kind = c[1];
                if (kind != '?' && kind != '=') {
                    Error(MSG_ERR, "PrettyPrint: '?' expected after $arg");
                    return '.';
                }
                ++c;
                DovExpr* arg = Arg(index);
                if (Present(arg)) {
                    inCond_ = true;
                    if (attached_ && index >= 1) {
                        int ended = 0;
                        if (DovArgSlot* slot = Slot(index))
                            if (char rc = Tokens(slot->tokens, &ended)) return rc;
                        if (ended && (c[1] == '\n' || c[1] == '|')) ++c;
                    }
                    break;
                }
                if (kind == '=')
                    Error(MSG_WARN, DovFormat("PrettyPrint: arg #%d must not be NULL", index));
                if (arg && DovPrintSettings().gen_posn) {
                    const std::uint32_t at = static_cast<std::uint32_t>(DovPrinting.charCount) & 0xffffff;
                    arg->GenBeg().posn = at;
                    arg->GenBeg().flag = static_cast<std::uint8_t>(Col());
                    arg->GenEnd().posn = at;
                    arg->GenEnd().flag = static_cast<std::uint8_t>(DovPrinting.g_xs);
                }
                const char* stop = SkipPart(c + 1, false);
                if (!stop) {
                    Error(MSG_ERR, "PrettyPrint: conditional expression not closed with '}'");
                    return '.';
                }
                c = stop;
                inCond_ = *stop == ':';
                break;
            }
            case ':': {
                if (!inCond_) {
                    Error(MSG_ERR, "PrettyPrint: ':' not in conditional expression");
                    return '.';
                }
                const char* stop = SkipPart(c + 1, true);
                if (!stop) {
                    Error(MSG_ERR, "PrettyPrint: conditional expression not closed with '}'");
                    return '.';
                }
                c = stop;
                inCond_ = false;
                break;
            }
            case '}':
                if (!inCond_) {
                    Error(MSG_ERR, "PrettyPrint: '}' have no conditional expression to close");
                    return '.';
                }
                inCond_ = false;
                break;
            case '[': {
                if (attached_)
                    if (char rc = Tokens(node_->Tokens(), nullptr)) return rc;
                if (char rc = KeptWords()) return rc;
                keptDone_ = true;
                const char* close = c + 1;
                while (*close && *close != ']') ++close;
                if (!*close) {
                    Error(MSG_ERR, "PrettyPrint: tail text not closed with ']'");
                    return '.';
                }
                if (close[1]) {
                    Error(MSG_ERR, "PrettyPrint: text follows after tail");
                    return '.';
                }
                for (const char* t = c + 1; t < close; ++t) Out(*t);
                c = close;
                break;
            }
            case '\\': {
                if (!c[1]) break;
                ++c;
                const unsigned char e = static_cast<unsigned char>(*c);
                if (!Printable(e)) Error(MSG_WARN, DovFormat("DovPrettyPrintOper: non-printable character %d", e));
                Out(static_cast<char>(e));
                break;
            }
            case '\t':
                if (!length_) SetLevel(DovPrinting.g_xs + 1, "==++Gen_Xstart: ");
                break;
            case '\b':
                if (!length_) SetLevel(DovPrinting.g_xs - 1, "==--Gen_Xstart: ");
                break;
            case '\n':
                LineEnd();
                Out('\n');
                if (!length_) SetLevel(entryLevel_, "==\\rGen_Xstart: ");
                break;
            case '\r':
                LineEnd();
                if (!length_) SetLevel(entryLevel_, "==\\rGen_Xstart: ");
                break;
            case '|':
            case '&':
            case '%':
            case '!':
                if (char rc = BreakPoint(static_cast<char>(ch))) return rc;
                break;
            case '~':
                ignoreBreak_ = true;
                break;
            case 0xFF:
                if (!length_) DovPrinting.skipNewline = 1;
                break;
            default:
                if (!Printable(ch)) Error(MSG_WARN, DovFormat("DovExprOper::print: non-printable character %d", ch));
                Out(static_cast<char>(ch));
        }
    }

    if (length_) {
        if (!lineEnd_) {
            EndSubdivision();
            node_->SetPrintedLength(Col() - entryCol_);
        }
        node_->SetSubdivs(widths_.data(), static_cast<int>(widths_.size()));
    } else {
        if (!keptDone_)
            if (char rc = KeptWords()) return rc;
        SetLevel(entryLevel_, "==ExGen_Xstart: ");
    }
    return 0;
}

}  // namespace

char DovExprOper::print(const char* tmpl, int lengthPass, int breakRequest, int attachedTokens) {
    TemplateRun run(this, lengthPass, breakRequest, attachedTokens);
    return run.Run(tmpl);
}
