#include "lbase/message.h"

#include <cstdlib>
#include <iostream>

int DovWarningsSwitch = 1;
int DovSymTabTraceLevel = 0;
DovExitHookFn DovExitHook = nullptr;
DovMessageCallback DovMessageHook = DovPrintPosnMessage;

namespace {
std::uint64_t g_warnings = 0;
std::uint64_t g_errors = 0;
}  // namespace

std::uint64_t DovWarningCount() { return g_warnings; }
std::uint64_t DovErrorCount() { return g_errors; }
void DovResetMessageCounters() { g_warnings = g_errors = 0; }

void DovPrintMessage(int code, const VString& text) {
    const char* prefix;
    switch (code) {
        case MSG_INFO: prefix = ""; break;
        case MSG_WARN:
            ++g_warnings;
            if (!DovWarningsSwitch) return;
            prefix = "Warning: ";
            break;
        case MSG_ERR: ++g_errors; prefix = "ERROR: "; break;
        case MSG_SEVERE: ++g_errors; prefix = "SEVERE ERROR: "; break;
        case MSG_TERMINAL: prefix = "Terminal ERROR: "; break;
        default: return;
    }
    std::cout << prefix << text << '\n';
    if (code == MSG_TERMINAL) DovExit(1);
}

void DovPrintPosnMessage(int code, const DovTxtPosn& position, const VString& text) {
    // The position only goes in front of a line that is really printed.
    bool printed = code >= MSG_INFO && code <= MSG_TERMINAL && (code != MSG_WARN || DovWarningsSwitch);
    if (position.IsSet() && printed) std::cout << position << ": ";
    DovPrintMessage(code, text);
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
