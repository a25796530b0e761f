#include "printer/print_state.h"

#include <climits>
#include <cstdio>
#include <iostream>
#include <string>

#include "lbase/message.h"
#include "lexer/src_file.h"
#include "printer/messages.h"
#include "printer/printer_impl.h"
#include "printer/src_copy.h"
#include "tree/expr.h"
#include "tree/token.h"

DovPrintState DovPrinting;

namespace {

// The settings read when no printer is current: the defaults.
class DefaultSettings : public DovPrettyPrinter {
public:
    int PrintToFile(const VString&, DovExpr*, DovTokenList*) override { return 13; }
    int PrintToString(VString&, DovExpr*, DovTokenList*) override { return 13; }
};

void Bump(int& counter) {
    if (counter < INT_MAX) ++counter;
}

}  // namespace

bool DovPrintDebug(int bit) {
    const DovPrettyPrinterImpl* p = DovPrinting.printer;
    return p && (p->debug_flags & bit);
}

const DovPrettyPrinter& DovPrintSettings() {
    static const DefaultSettings defaults;
    if (DovPrinting.printer) return *DovPrinting.printer;
    return defaults;
}

std::ostream* DovPrintState::CurrentStream() const {
    if (currentLevel < 1 || currentLevel > kDovPrintCopyLevels) return nullptr;
    return copyLevels[currentLevel - 1].stream;
}

void DovPrintState::SetLineFormatColumns(int lineFormat) {
    switch (lineFormat) {
        case DOV_GEN_LF_FREE:
        case DOV_GEN_LF_FSC_FREE:
            areaA = 1;
            areaB = 1;
            rightMargin = 219;
            break;
        case DOV_GEN_LF_VAR:
            areaA = 7;
            areaB = 11;
            rightMargin = 219;
            break;
        default:
            areaA = 7;
            areaB = 11;
            rightMargin = 72;
            break;
    }
}

void DovPrintState::CreateSourceReaders() {
    FreeSourceReaders();
    const int n = DovSrcFileNames().Count();
    if (n > 0) {
        readers = new DovSrcFile[n];
        readerCount = n;
    }
    currentReader = nullptr;
}

void DovPrintState::FreeSourceReaders() {
    // What the copy knows belongs to the readers.
    DovEndSourceCopy();
    currentReader = nullptr;
    if (readers) {
        for (int i = 0; i < readerCount; ++i)
            if (readers[i].is_open()) readers[i].close();
        delete[] readers;
    }
    readers = nullptr;
    readerCount = 0;
}

int DovBeginPrintPass(DovPrettyPrinterImpl* printer, DovTokenList* messages, DovExpr* node) {
    if (DovPrinting.inUse) {
        // The running pass keeps its printer and list; the refusal goes to
        // the caller's list.
        DovPostPrinterMessage(DovMakeNodeMessage(node, MSG_SEVERE, "PrettyPrint is already in use"), messages,
                              printer, "DovExpr::AddPError");
        return kDovPrintInUse;
    }
    DovPrinting.printer = printer;
    DovPrinting.messages = messages;
    DovPrinting.inUse = 1;
    DovPrinting.debugWord = printer ? printer->debug_flags : 0;
    DovSrcFileTraceFlags = DovPrinting.debugWord;
    return 0;
}

void DovEndPrintPass() {
    DovPrinting.FreeSourceReaders();
    DovPrinting.inUse = 0;
}

void PrintStr(const char* text, int mark, int counting) {
    if (!text) return;
    for (const char* p = text; *p; ++p) PrintChar(*p, mark, counting);
}

void PrintStr(const VString& text, int mark, int counting) {
    const char* s = text.CStr();
    for (int i = 0; i < text.Len(); ++i) PrintChar(s[i], mark, counting);
}

void PrintChar(char ch, int mark, int counting) {
    DovPrintState& st = DovPrinting;
    if (!counting && st.g_xpos == 0 && ch != '\n') {
        const int blanks = IndentPos(st.g_xs);
        for (int i = 0; i < blanks; ++i) PutcMargin(' ', 0);
    }
    if (ch != '\n') st.gen_gen = (st.gen_gen == 1 || mark == 0) ? 1 : 0;
    if (!counting) {
        if (DovPrintDebug(DOV_PDBG_CHARS)) std::cout << ":=gen_gen=" << st.gen_gen << std::endl;
        if (st.g_xpos == 0 && ch == '\n' && st.skipNewline)
            st.skipNewline = 0;
        else
            PutcMargin(ch, 0);
    } else if (ch != '\n') {
        PutcMargin(ch, counting);
    }
}

int IndentPos(int level) {
    const DovPrettyPrinter& s = DovPrintSettings();
    const DovPrintState& st = DovPrinting;
    const long long step = s.gen_indent_step;
    long long pos;
    if (s.gen_observe_ab_rules)
        pos = level <= 0 ? st.areaA : st.areaB + (static_cast<long long>(level) - 1) * step;
    else
        pos = st.areaA + static_cast<long long>(level) * step;
    if (pos > s.gen_max_indent) pos = s.gen_max_indent;
    if (pos < 0) pos = 0;
    return static_cast<int>(pos);
}

void PutcMargin(char ch, int counting) {
    DovPrintState& st = DovPrinting;
    if (counting) {
        if (ch == '\n')
            st.g_xpos = 0;
        else
            Bump(st.g_xpos);
        return;
    }
    if (st.g_xpos >= st.rightMargin && ch != '\n') {
        DovExpr::AddError(MSG_WARN,
                          DovFormat("Out line %d: Attempting to print char '%c' beyond right margin", st.line_no, ch));
        // A hyphen continues the word the line ends in; after a blank the
        // next word starts on a line of its own.
        const bool inWord = ch != ' ' && st.lastChar != ' ';
        PutcLine('\n', 1);
        const char* lead = inWord ? "      -    " : "           ";
        for (const char* p = lead; *p; ++p) PutcLine(*p, 1);
    }
    PutcLine(ch, 1);
}

namespace {

void PadTo(int column) {
    while (DovPrinting.g_xpos < column) {
        const int before = DovPrinting.g_xpos;
        Putc(' ');
        if (DovPrinting.g_xpos <= before) break;  // a counter at its limit
    }
}

void PutText(const VString& text) {
    const char* s = text.CStr();
    for (int i = 0; i < text.Len(); ++i) Putc(s[i]);
}

// Copies the identification area of the source line being printed. A line
// that ends before the margin keeps the blanks it ends with, as long as the
// output stands where the source text stopped.
void CopySourceLineId() {
    DovPrintState& st = DovPrinting;
    // The reader of the file the copied text came from: after a copybook
    // closes, the line being ended is the including file's again.
    const int ix = static_cast<int>(st.last_line_src_posn.FileIndex());
    if (st.readers && ix >= 0 && ix < st.readerCount && &st.readers[ix] != st.currentReader) {
        VString message;
        if (st.readers[ix].SetPosn(st.last_line_src_posn, message) != 0) return;
        st.currentReader = &st.readers[ix];
    }
    DovSrcFile& reader = *st.currentReader;
    const std::uint32_t line = st.last_line_src_posn.Line();
    const std::uint32_t margin = st.rightMargin < 0 ? 0u : static_cast<std::uint32_t>(st.rightMargin);
    const bool inStep = st.g_xpos >= 0 && static_cast<std::uint32_t>(st.g_xpos) == st.last_line_src_posn.Column() &&
                        reader.posn == st.last_line_src_posn;
    std::string blanks;
    bool onlyBlanks = true;
    while (reader.posn.Line() == line && reader.posn.Column() < margin) {
        const int c = reader.Getc();
        if (c < 0) return;
        if (c == '\n') {
            if (inStep && onlyBlanks)
                for (char b : blanks) Putc(b);
            return;
        }
        if (c == ' ' || c == '\t')
            blanks += static_cast<char>(c);
        else
            onlyBlanks = false;
    }
    if (reader.posn.Line() != line) return;
    PadTo(st.rightMargin);
    for (;;) {
        const int c = reader.Getc();
        if (c < 0 || c == '\n') return;
        Putc(static_cast<char>(c));
        if (reader.posn.Line() != line) return;
    }
}

}  // namespace

void PutcLine(char ch, int lineId) {
    DovPrintState& st = DovPrinting;
    const DovPrettyPrinter& s = DovPrintSettings();
    if (ch != '\n') {
        if (s.gen_73to80_fmt.IsEmpty() || st.g_xpos < st.rightMargin) Putc(ch);
    } else {
        if (DovPrintDebug(DOV_PDBG_CHARS)) std::cout << ":?gen_gen=" << st.gen_gen << std::endl;
        if (st.gen_gen == 1 && !s.gen_mark_conv.IsEmpty()) {
            PadTo(st.rightMargin);
            PutText(s.gen_mark_conv);
        } else if (!s.gen_73to80_fmt.IsEmpty()) {
            PadTo(st.rightMargin);
            const long long number =
                static_cast<long long>(s.gen_73to80_start) +
                (static_cast<long long>(st.line_no) - 1) * static_cast<long long>(s.gen_73to80_step);
            PutText(DovFormatSequenceNumber(s.gen_73to80_fmt, number));
        } else if (s.gen_line_id_comments && lineId && st.currentReader && st.last_line_src_posn.IsSet()) {
            CopySourceLineId();
        }
        st.gen_gen = 0;
        Putc('\n');
    }
    st.last_line_src_posn = DovNullPosn;
    st.lastChar = ch;
}

void DovTakeSourceLayout(DovPrintCopyLevel& level, const VString& path, bool withMark) {
    level.layout = path.IsEmpty() ? DovSrcLayout{} : DovSrcFileLayout(path.CStr());
    level.markDue = withMark && level.layout.byteOrderMark;
}

void Putc(char ch) {
    DovPrintState& st = DovPrinting;
    if (std::ostream* out = st.CurrentStream()) {
        DovPrintCopyLevel& level = st.copyLevels[st.currentLevel - 1];
        if (level.markDue) {
            level.markDue = false;
            out->write(kDovByteOrderMark, kDovByteOrderMarkLen);
        }
        if (ch == '\n')
            *out << level.layout.lineEnd;
        else
            out->put(ch);
    }
    if (st.charCount < INT64_MAX) ++st.charCount;
    if (ch == '\n') {
        if (DovPrintDebug(DOV_PDBG_CHARS)) std::cout << "+Putc: ENDL " << st.line_no << std::endl;
        Bump(st.line_no);
        st.g_xpos = 0;
    } else if (ch == '\t') {
        st.g_xpos = st.g_xpos > INT_MAX - 8 ? INT_MAX : (st.g_xpos / 8 + 1) * 8;
    } else {
        Bump(st.g_xpos);
        if (DovPrintDebug(DOV_PDBG_CHARS)) std::cout << "+P '" << ch << "'\n";
    }
}

VString DovFormatSequenceNumber(const VString& format, long long number) {
    std::string out;
    const char* f = format.CStr();
    const int n = format.Len();
    bool used = false;
    for (int i = 0; i < n;) {
        if (f[i] != '%') {
            out += f[i++];
            continue;
        }
        if (i + 1 < n && f[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // %[flags][width][.precision][length]conversion
        int j = i + 1;
        std::string pattern = "%";
        while (j < n && (f[j] == '-' || f[j] == '+' || f[j] == ' ' || f[j] == '#' || f[j] == '0')) pattern += f[j++];
        int digits = 0;
        bool tooWide = false;
        while (j < n && f[j] >= '0' && f[j] <= '9') {
            if (++digits > 2) tooWide = true;
            if (!tooWide) pattern += f[j];
            ++j;
        }
        if (j < n && f[j] == '.') {
            pattern += f[j++];
            digits = 0;
            while (j < n && f[j] >= '0' && f[j] <= '9') {
                if (++digits > 2) tooWide = true;
                if (!tooWide) pattern += f[j];
                ++j;
            }
        }
        while (j < n && (f[j] == 'h' || f[j] == 'l' || f[j] == 'q' || f[j] == 'j' || f[j] == 'z' || f[j] == 't'))
            ++j;
        const char conv = j < n ? f[j] : 0;
        const bool integer = conv == 'd' || conv == 'i' || conv == 'u' || conv == 'x' || conv == 'X' || conv == 'o';
        if (!integer || used || tooWide) {
            // Written as it stands.
            out.append(f + i, f + (j < n ? j + 1 : n));
            i = j < n ? j + 1 : n;
            continue;
        }
        pattern += "ll";
        pattern += conv;
        char buf[160];
        if (conv == 'd' || conv == 'i')
            std::snprintf(buf, sizeof buf, pattern.c_str(), number);
        else
            std::snprintf(buf, sizeof buf, pattern.c_str(), static_cast<unsigned long long>(number));
        out += buf;
        used = true;
        i = j + 1;
    }
    return VString(out.c_str(), static_cast<int>(out.size()));
}
