#include "lbase/message.h"

#include <cstdlib>
#include <iostream>
#include <string>

int DovWarningsSwitch = 1;
int DovSymTabTraceLevel = 0;
DovExitHookFn DovExitHook = nullptr;
DovMessageCallback DovMessageHook = DovPrintPosnMessage;

namespace {

std::uint64_t g_warnings = 0;
std::uint64_t g_errors = 0;

// The prefix of a message that is printed; null for one that is not (an
// unknown code, or a warning while warnings are off).
const char* PrintedPrefix(int code) {
    switch (code) {
        case MSG_INFO: return "";
        case MSG_WARN: return DovWarningsSwitch ? "Warning: " : nullptr;
        case MSG_ERR: return "ERROR: ";
        case MSG_SEVERE: return "SEVERE ERROR: ";
        case MSG_TERMINAL: return "Terminal ERROR: ";
        default: return nullptr;
    }
}

}  // namespace

std::uint64_t DovWarningCount() { return g_warnings; }
std::uint64_t DovErrorCount() { return g_errors; }
void DovResetMessageCounters() { g_warnings = g_errors = 0; }

void DovPrintMessage(int code, const VString& text) { DovPrintPosnMessage(code, DovNullPosn, text); }

void DovPrintPosnMessage(int code, const DovTxtPosn& position, const VString& text) {
    if (code == MSG_WARN) ++g_warnings;
    if (code == MSG_ERR || code == MSG_SEVERE) ++g_errors;
    const char* prefix = PrintedPrefix(code);
    if (!prefix) return;
    // The line is built in a kept buffer and written at once: a search
    // prints an information for each match, and every insertion into the
    // synchronised standard output costs. The position only goes in front
    // of a set one.
    static std::string line;
    line.clear();
    if (position.IsSet()) {
        DovAppendTxtPosn(line, position);
        line += ": ";
    }
    line += prefix;
    line.append(text.CStr(), static_cast<std::size_t>(text.Len()));
    line += '\n';
    std::cout.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (code == MSG_TERMINAL) DovExit(1);
}

void DovExit(int status) {
    if (DovExitHook) DovExitHook(status);
    std::cout.flush();
    std::exit(status);
}

void DovTerminalError(const char* text) {
    std::cout << std::endl << "TERMINAL ERROR: " << (text ? text : "") << std::endl;
    std::abort();
}
