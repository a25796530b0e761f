// The passes of DovPrettyPrinterImpl: the main pass (a length pass, then the
// print pass), printing into a file or a string, and fragment printing.
#include <fstream>
#include <iostream>

#include "lbase/fast_ostream.h"
#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/stack_room.h"
#include "lbase/small_stack.h"
#include "printer/print_oper.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "printer/src_copy.h"
#include "printer/src_print.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"
#include "tree/walk.h"

std::size_t DovPrintStringLimit = VString::kMaxLen;

namespace {

int ClearGenPosn(DovExpr* node, void*) {
    if (!node) return DOV_WALK_SKIP;
    node->GenBeg() = DovGenPosn{};
    node->GenEnd() = DovGenPosn{};
    return DOV_WALK_DESCEND;
}

void DumpTree(const char* title, DovExpr* root) {
    std::cout << title;
    if (root) root->Print(std::cout);
}

// Sets up the output layer for a pass starting at `column` and `level`.
void Prepare(int column, int level, int keepGenGen) {
    DovPrintState& st = DovPrinting;
    st.last_line_src_posn = DovNullPosn;
    st.g_xs = level;
    st.g_xpos = column;
    if (!keepGenGen) st.gen_gen = 0;
    st.lastChar = 0;
    st.skipNewline = 0;
    st.line_no = 1;
    st.charCount = 0;
}

// The main output level, written into `out` as the source file of the
// text of `node` is laid out (with its byte-order mark for a whole file).
void SetMainLevel(std::ostream& out, DovExpr* node, bool wholeFile) {
    DovPrintState& st = DovPrinting;
    st.copyLevels[0] = DovPrintCopyLevel{};
    st.copyLevels[0].stream = &out;
    const DovTxtPosn at = DovSrcPosnBeg(node);
    DovTakeSourceLayout(st.copyLevels[0], DovPosnGiven(at) ? DovSrcFileName(at.FileIndex()) : VString(), wholeFile);
    st.currentLevel = 1;
}

// Closes the copybook files a failed pass left open.
void CloseCopyLevels() {
    DovPrintState& st = DovPrinting;
    for (int i = 1; i < kDovPrintCopyLevels; ++i) {
        DovFinishCopybookFile(st.copyLevels[i]);
        delete st.copyLevels[i].stream;
        st.copyLevels[i] = DovPrintCopyLevel{};
    }
    st.copyLevels[0].stream = nullptr;
    st.currentLevel = 0;
}

void EndPass() {
    DovEndSourceCopy();
    DovForgetReplacedText();
    CloseCopyLevels();
    DovForgetSourceLines();
    DovEndPrintPass();
}

char LengthPass(DovExpr* root) {
    DovPrintState& st = DovPrinting;
    Prepare(0, 0, 0);
    st.FreeSourceReaders();
    st.copyDir = VString();
    st.currentLevel = 0;
    return DovPrettyPrintNode(root, 1, 0);
}

// Offsets are added in their 24 bits; the bytes stay.
void AddOffset(DovGenPosn& p, std::uint32_t delta) {
    if (p.IsSet()) p.posn = (p.posn + delta) & 0xffffffu;
}

struct FragmentShift {
    DovExpr* fragment;
    std::uint32_t begin;  // old begin offset of the fragment
    std::uint32_t end;    // old end offset of the fragment
    std::uint32_t shift;  // growth of the fragment's text, in 24 bits
};

// The print operations call themselves once per tree level: a tree deeper
// than the calling thread's stack holds is refused before the pass begins.
// Measured: about 1,000 bytes a level in an optimised build, 2,500 under
// the address checker; the figures leave room for templates that take more.
#ifdef __SANITIZE_ADDRESS__
constexpr std::size_t kPrintStackPerLevel = 12288;
#else
constexpr std::size_t kPrintStackPerLevel = 4096;
#endif
// Trees up to this many levels are printed without asking the system how
// much stack is left: every stack a program runs on holds them.
constexpr std::size_t kPrintLevelsAlwaysHeld = 128;
// What the pass needs beside its levels, and what the caller keeps.
constexpr std::size_t kPrintStackReserve = std::size_t(256) << 10;

// The number of levels of the subtree at `root` (0 for null).
std::size_t TreeDepth(const DovExpr* root) {
    struct Frame {
        const DovExpr* node;
        std::size_t depth;
    };
    std::size_t deepest = 0;
    DovSmallStack<Frame> stack;
    if (root) stack.push_back({root, 1});
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        if (f.depth > deepest) deepest = f.depth;
        for (int i = 0; i < f.node->NumArgs(); ++i)
            if (const DovExpr* arg = f.node->Args(i)) stack.push_back({arg, f.depth + 1});
    }
    return deepest;
}

// 0 when the stack holds a print of `root`; otherwise the message and
// kDovPrintTooDeep.
int CheckStackFor(const DovExpr* root, DovTokenList* messages) {
    const std::size_t depth = TreeDepth(root);
    if (depth <= kPrintLevelsAlwaysHeld) return 0;
    const std::size_t room = DovStackRoom();
    // A system that does not tell: trees up to a small stack's depth.
    const std::size_t usable = room == 0 ? kPrintStackReserve : room;
    if (usable > kPrintStackReserve && depth <= (usable - kPrintStackReserve) / kPrintStackPerLevel) return 0;
    if (messages)
        messages->AddNewToken(MSG_SEVERE, DovNullPosn,
                              DovFormat("PrettyPrint: a tree of %llu levels is deeper than the stack holds",
                                        static_cast<unsigned long long>(depth)));
    return kDovPrintTooDeep;
}

}  // namespace

int DovPrettyPrinterImpl::PrintToFile(const VString& fileName, DovExpr* root, DovTokenList* messages) {
    // Refused before the file is opened, so that it keeps its text.
    if (int rc = CheckStackFor(root, messages)) return rc;
    if (DovPrinting.inUse) {
        FastOstrstream nowhere;
        return MainPass(nowhere, root, messages);
    }
    std::ofstream out;
    if (DovOpenOutFile(out, fileName, DovFileMode::Text, DovWriteMode::Truncate) != 0) {
        if (messages)
            messages->AddNewToken(MSG_ERR, DovNullPosn, DovFormat("Cannot open file '%s' for output", fileName.CStr()));
        return 10;
    }
    const int rc = MainPass(out, root, messages);
    out.close();
    return rc;
}

int DovPrettyPrinterImpl::PrintToString(VString& text, DovExpr* root, DovTokenList* messages) {
    FastOstrstream out;
    int rc = PrettyPrint(out, root, messages);
    if (out.Size() > DovPrintStringLimit) {
        // The text would not fit the string: say so rather than cut it.
        text = VString();
        if (messages)
            messages->AddNewToken(MSG_SEVERE, DovNullPosn,
                                  DovFormat("PrettyPrint: printed text of %lld characters does not fit a string",
                                            static_cast<long long>(out.Size())));
        return kDovPrintTooLong;
    }
    text = VString(out);
    return rc;
}

int DovPrettyPrinterImpl::PrettyPrint(std::ostream& out, DovExpr* root, DovTokenList* messages) {
    if (int rc = CheckStackFor(root, messages)) return rc;
    return MainPass(out, root, messages);
}

int DovPrettyPrinterImpl::MainPass(std::ostream& out, DovExpr* root, DovTokenList* messages) {
    if (int rc = DovBeginPrintPass(this, messages, root)) return rc;
    DovPrintState& st = DovPrinting;
    if (debug_flags & DOV_PDBG_TREE_BEFORE) DumpTree("\n\n###PrettyPrint: got tree:\n", root);
    st.SetLineFormatColumns(gen_line_format);
    if (gen_line_format == DOV_GEN_LF_FREE || gen_line_format == DOV_GEN_LF_FSC_FREE) gen_observe_ab_rules = 0;
    int rc = 0;
    if (!gen_table) rc = RecomputeGenTable(this);
    if (rc == 0 && gen_indent_step < 1) {
        const VString text = DovFormat("PrettyPrint: negative indentation step: %d", gen_indent_step);
        if (root)
            root->AddPError(MSG_SEVERE, text);
        else
            DovExpr::AddError(MSG_SEVERE, text);
        rc = kDovPrintBadIndentStep;
    }
    if (rc == 0 && root) {
        if (gen_posn) WalkTheTree(root, nullptr, ClearGenPosn);
        rc = LengthPass(root);
        if (rc == 0) {
            if (debug_flags & DOV_PDBG_TREE_LENGTHS) DumpTree("\n\n###PrettyPrint: after computing lengths:\n", root);
            if (debug_flags & DOV_PDBG_CHARS) std::cout << "\n\n###PrettyPrinting:\n";
            Prepare(0, 0, 0);
            st.gen_gen = 0;
            st.copyDir = gen_copy_dir;
            if (!st.copyDir.IsEmpty()) {
                const char last = st.copyDir.CStr()[st.copyDir.Len() - 1];
                if (last != '/' && last != '\\') st.copyDir += "/";
            }
            SetMainLevel(out, root, true);
            if (gen_src) st.CreateSourceReaders();
            DovForgetSourceLines();
            st.currentReader = nullptr;
            if (gen_src) {
                DovMarkReplacedText(root);
                DovBeginSourceCopy(root);
            }
            rc = DovPrettyPrintNode(root, 0, 0);
            bool atEnd = false;
            if (rc == 0 && gen_src) rc = DovCopySourceTail(&atEnd);
            if (rc == 0 && !atEnd && st.g_xpos > 0) PutcLine('\n', 1);
        }
    }
    CloseCopyLevels();
    // A copybook whose file could not hold the text of every COPY of it
    // (reported at the COPY that found it) fails the print, whose text is
    // complete otherwise.
    if (rc == 0 && st.copybookConflict) rc = kDovPrintCopybookConflict;
    EndPass();
    return rc;
}

int DovPrettyPrinterImpl::FragmentPrint(std::ostream& out, DovExpr* node, DovTokenList* messages) {
    if (int rc = CheckStackFor(node, messages)) return rc;
    if (int rc = DovBeginPrintPass(this, messages, node)) return rc;
    DovPrintState& st = DovPrinting;
    if (!node) {
        EndPass();
        return 0;
    }
    const DovGenPosn oldBeg = node->GenBeg();
    const DovGenPosn oldEnd = node->GenEnd();
    const int startCol = oldBeg.flag;
    const int startLevel = oldEnd.flag;
    if (!gen_table) {
        node->AddPError(MSG_SEVERE, "Must have gen_table set before using fragment print");
        EndPass();
        return 0;
    }
    if (gen_posn) WalkTheTree(node, nullptr, ClearGenPosn);
    Prepare(startCol, startLevel, 1);
    st.FreeSourceReaders();
    st.copyDir = VString();
    st.currentLevel = 0;
    char rc = DovPrettyPrintNode(node, 1, 0);
    if (rc == 0) {
        if (debug_flags & DOV_PDBG_TREE_LENGTHS) DumpTree("\n\n###PrettyPrint: after computing lengths:\n", node);
        if (debug_flags & DOV_PDBG_CHARS) std::cout << "\n\n###PrettyPrinting:\n";
        Prepare(startCol, startLevel, 1);
        // Copybooks are not written from a fragment: the fragment's copybook
        // nodes print inline.
        if (!gen_copy_dir.IsEmpty()) node->AddPError(MSG_SEVERE, "Do NOT print copy files in fragment print");
        st.copyDir = VString();
        SetMainLevel(out, node, false);
        if (gen_src) st.CreateSourceReaders();
        DovForgetSourceLines();
        st.currentReader = nullptr;
        if (gen_src) {
            DovMarkReplacedText(node);
            DovBeginSourceCopy(node);
        }
        rc = DovPrettyPrintNode(node, 0, 0);
        if (rc == 0 && node->Parent() && oldBeg.IsSet() && oldEnd.IsSet()) {
            const std::uint32_t newEnd = node->GenEnd().IsSet() ? node->GenEnd().posn : 0;
            FragmentShift shift{node, oldBeg.posn, oldEnd.posn,
                                (newEnd - ((oldEnd.posn - oldBeg.posn) & 0xffffffu)) & 0xffffffu};
            DovNamedWalk(
                node, &shift, "DovUpdateGenPosnPrinted",
                [](DovExpr* n, DovExpr*, void* c) -> int {
                    if (!n) return DOV_WALK_SKIP;
                    auto* s = static_cast<FragmentShift*>(c);
                    AddOffset(n->GenBeg(), s->begin);
                    AddOffset(n->GenEnd(), s->begin);
                    return DOV_WALK_DESCEND;
                },
                nullptr, nullptr);
            DovExpr* root = DovExprRoot(node);
            DovNamedWalk(
                root, &shift, "DovUpdateGenPosnMain",
                [](DovExpr* n, DovExpr*, void* c) -> int {
                    if (!n) return DOV_WALK_SKIP;
                    auto* s = static_cast<FragmentShift*>(c);
                    if (n == s->fragment) return DOV_WALK_SKIP;
                    if (n->GenBeg().IsSet() && n->GenBeg().posn >= s->end) AddOffset(n->GenBeg(), s->shift);
                    if (n->GenEnd().IsSet() && n->GenEnd().posn >= s->end) AddOffset(n->GenEnd(), s->shift);
                    return DOV_WALK_DESCEND;
                },
                nullptr, nullptr);
        }
    }
    EndPass();
    return 0;
}
