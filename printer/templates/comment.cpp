#include "printer/templates/comment.h"

#include <iostream>

#include "printer/print_state.h"
#include "printer/settings.h"

void PrintComment(const VString& text, int whole) {
    const DovPrettyPrinter& settings = DovPrintSettings();
    if (settings.debug_flags & DOV_PDBG_CHARS) std::cout << "$PrintComment: " << text.CStr() << '\n';
    if (DovPrinting.g_xpos > 0) PutcLine('\n', 1);
    const int n = text.Len();
    if (n == 0) {
        PutcLine('\n', 1);
        return;
    }
    const char* s = text.CStr();
    const int format = settings.gen_line_format;
    const char c = s[0];
    int i = 0;
    if (c == '\r') {
        i = 1;
    } else if (format == DOV_GEN_LF_FSC_FREE) {
        if ((c & 0x7f) == '*') {
            PutcLine(' ', 1);
            PutcLine('*', 1);
            PutcLine('>', 1);
        }
    } else if ((c & 0x7f) != '#' && format != DOV_GEN_LF_FREE) {
        for (int k = 0; k < 6; ++k) PutcLine(' ', 1);
    }
    if (format != DOV_GEN_LF_FSC_FREE && i < n) PutcLine(static_cast<char>(s[i] & 0x7f), 1);
    for (int k = i + 1; k < n; ++k) {
        if (!whole && DovPrinting.g_xpos >= DovPrinting.rightMargin) break;
        PutcLine(s[k], 1);
    }
    PutcLine('\n', 1);
}
