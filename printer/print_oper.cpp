#include "printer/print_oper.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/strutil.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/settings.h"
#include "printer/slot_posn.h"
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
    const int src = DovUnchangedFromSource(node);
    TraceEnter(node, src);
    if (char rc = SrcPrintText(node->Tokens(), src)) return rc;
    if (!src && node->IsTerminal() && !BlankAtLineEnd(node)) PrintStr(node->Image(), node->Flag(), 0);
    RecordEnd(node);
    return 0;
}

char StrConstPrint(DovExpr* node, int lengthPass) {
    if (lengthPass) return LeafPrint(node, 1);
    RecordBeg(node);
    const int src = DovUnchangedFromSource(node);
    TraceEnter(node, src);
    if (char rc = SrcPrintText(node->Tokens(), src)) return rc;
    if (!src) {
        DovPrintState& st = DovPrinting;
        const VString& image = node->Image();
        const char* text = image.CStr();
        const int len = image.Len();
        const int mark = node->Flag();
        char quote = '\'';
        if (len > 0 && (text[0] == '\'' || text[0] == '"'))
            quote = text[0];
        else if (len > 1)
            quote = text[1];
        const int entryCol = st.g_xpos;
        if (st.g_xpos == 0 && IndentPos(st.g_xs) + len >= st.rightMargin) {
            int blanks = 0;
            if (len <= st.rightMargin - st.areaB)
                blanks = 11;
            else if (len <= st.rightMargin - st.areaA)
                blanks = 7;
            for (int i = 0; i < blanks; ++i) PutcMargin(' ', 0);
        }
        static const char kContinuation[] = "      -    ";
        for (int i = 0; i < len; ++i) {
            if (st.g_xpos >= st.rightMargin) {
                PrintChar('\n', mark, 0);
                for (const char* c = kContinuation; *c; ++c) PutcMargin(*c, 0);
                if (entryCol <= 39)
                    while (st.g_xpos < entryCol) PrintChar(' ', mark, 0);
                PrintChar(quote, mark, 0);
            }
            PrintChar(text[i], mark, 0);
        }
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

bool IsCopyBegin(DovOper op) { return op == STMT_INLINED_COPY_BEG || op == STMT_INLINED_INCLUDE_BEG; }
bool IsCopyEnd(DovOper op) { return op == STMT_INLINED_COPY_END || op == STMT_INLINED_INCLUDE_END; }

// The copybook name and level a copybook node carries.
void CopyNameAndLevel(DovExpr* node, VString& name, int& level) {
    const int nameSlot = IsCopyBegin(node->Oper()) ? 2 : 0;
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
    DovExpr* given = IsCopyBegin(node->Oper()) ? DovArgOrNull(node, 0) : nullptr;
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

char OpenCopybook(DovExpr* node, const VString& name) {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    if (level < 1 || level >= kDovPrintCopyLevels) {
        node->AddPError(MSG_SEVERE, DovFormat("SourcePrint: copybook '%s' is nested deeper than %d files", name.CStr(),
                                              kDovPrintCopyLevels));
        return kDovCopybookRefused;
    }
    const VString outName = CopybookOutputName(node, name);
    if (LeavesCopyDir(outName)) {
        node->AddPError(MSG_SEVERE, DovFormat("SourcePrint: copybook name '%s' leads outside the copy directory; "
                                              "copybook not written",
                                              outName.CStr()));
        return kDovCopybookRefused;
    }
    VString path = st.copyDir;
    path += outName;
    int error = 0;
    if (DovMkDir(path.CStr(), &error) != 0) {
        node->AddPError(MSG_SEVERE,
                        DovFormat("SourcePrint: cannot create directory '%s': %s", path.CStr(), std::strerror(error)));
        return kDovCopybookRefused;
    }
    auto* file = new std::ofstream;
    if (DovOpenOutFile(*file, path, DovFileMode::Text, DovWriteMode::Truncate) != 0) {
        delete file;
        node->AddPError(MSG_SEVERE, DovFormat("Starting Copybook: cannot open file '%s' for write", name.CStr()));
        return 10;
    }
    DovPrintCopyLevel& inner = st.copyLevels[level];
    inner = DovPrintCopyLevel{};
    inner.fileName = name;
    inner.stream = file;
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

// Closes the innermost copybook's output and takes back the including
// file's place; level >= 2.
void PopCopyLevel(const char* what, const VString& tracedName) {
    DovPrintState& st = DovPrinting;
    const int level = st.currentLevel;
    DovPrintCopyLevel& inner = st.copyLevels[level - 1];
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
    if (st.g_xpos > 0) PutcLine('\n', 1);
    PopCopyLevel("Restored envt", st.copyLevels[level - 2].fileName);
    return 0;
}

}  // namespace

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
    const bool begin = IsCopyBegin(node->Oper());
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

char OperPrint(DovExprOper* node, int lengthPass, int breakRequest) {
    const DovOper op = node->Oper();
    if (op == SYMBOL_TABLE_ELT_LIST || op == SYMBOL_TABLE_ELT) return 0;
    DovPrintState& st = DovPrinting;
    int src = 0;
    if (!lengthPass) {
        src = DovUnchangedFromSource(node);
        RecordBeg(node);
    }
    const int entryLevel = st.g_xs;
    if (!lengthPass) TraceEnter(node, src);
    enum { kPlain, kOpen, kClose, kInline, kNone } action = kPlain;
    VString name;
    int level = 0;
    char rc = 0;
    if (!lengthPass && (IsCopyBegin(op) || IsCopyEnd(op))) {
        CopyNameAndLevel(node, name, level);
        if (IsCopyEnd(op) && !st.closedEarly.IsEmpty() && st.closedEarly == name &&
            st.currentLevel == level) {
            // Its file was closed when the including file's text went on.
            st.closedEarly = VString();
            RecordEnd(node);
            return 0;
        }
        if (st.copyDir.IsEmpty()) {
            action = kInline;
        } else if (IsCopyBegin(op)) {
            if (Trace())
                std::cout << "\n\n***PrettyCOPY: Open file " << name.CStr() << " file_level=" << level
                          << " stack_level=" << st.currentLevel << " ***\n";
            if (level == st.currentLevel) {
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
    if (action == kInline) {
        rc = InlineCopybook(node, name);
    } else if (action != kNone) {
        if (src) {
            rc = SlotPrint(node);
        } else {
            PrintTemplate* entry = nullptr;
            rc = FindCGentry(&entry, node);
            if (rc == 0) rc = node->print(SingleValueRow(node) ? "$1" : entry->text, lengthPass, breakRequest, 1);
        }
        if (rc == 0 && action == kOpen) rc = OpenCopybook(node, name);
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

char AttachedTokens(DovTokenList& tokens, int* ended) { return SrcPrintText(tokens, 0, ended); }

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
}
