#include "tool/hooks.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

#include "lbase/message.h"

namespace {

void AppendNumber(std::string& out, std::uint32_t n) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

// "file:line:column: text" and the line feed, as DovPrintPosnMessage prints
// an information at a position, in one write: a search prints one for each
// match. The buffer is kept for the next line.
void PrintInfoAt(const DovTxtPosn& position, const VString& text) {
    static std::string line;
    line.clear();
    const VString& name = DovSrcFileName(position.FileIndex());
    line.append(name.Ptr(), static_cast<std::size_t>(name.Len()));
    line += ':';
    AppendNumber(line, position.Line());
    line += ':';
    AppendNumber(line, position.Column() + 1);
    line += ": ";
    line.append(text.Ptr(), static_cast<std::size_t>(text.Len()));
    line += '\n';
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
}

}  // namespace

void ToolMessageHook(int code, const DovTxtPosn& position, const VString& text) {
    // An information counts for nothing; its position prints as a place
    // unless it is one of the two marks "(null)" and "(infty)".
    if (code == MSG_INFO && !position.IsNull() && !position.IsInfinite()) {
        PrintInfoAt(position, text);
        return;
    }
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
