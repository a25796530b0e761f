#include "tool/hooks.h"

#include <cstdio>

#include "lbase/message.h"

void ToolMessageHook(int code, const DovTxtPosn& position, const VString& text) {
    DovPrintPosnMessage(code, position, text);
}

VString DovParseProgressText(const DovTxtPosn& position, const VString& text) {
    VString line;
    if (position.IsSet())
        line += DovFormat("%7d %s", static_cast<int>(position.Line()),
                          DovSrcFileName(position.FileIndex()).CStr());
    if (position.IsSet() && !text.IsEmpty()) line += VString(": ");
    if (!text.IsEmpty()) line += text;
    return line;
}

void ShowParseProgress(const DovTxtPosn& position, const VString& text) {
    std::fprintf(stderr, "%s                           \r", DovParseProgressText(position, text).CStr());
    std::fflush(stderr);
}
