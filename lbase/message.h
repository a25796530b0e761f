// Messages with a severity, the default message printer with its counters,
// the message callback type and the one exit path of the program.
#pragma once

#include <cstdint>

#include "lbase/txtposn.h"
#include "lbase/vstring.h"

// Severity codes; they are also token codes of the lexer's token set.
enum DovSeverity : int {
    MSG_INFO = 968,
    MSG_WARN = 969,
    MSG_ERR = 970,
    MSG_SEVERE = 971,
    MSG_TERMINAL = 972,
};

// Prints one message on standard output with the prefix of its severity
// ("Warning: ", "ERROR: ", "SEVERE ERROR: ", "Terminal ERROR: ") and counts
// warnings and errors. A terminal message ends the program with status 1;
// codes outside 968..972 print nothing.
void DovPrintMessage(int code, const VString& text);

// Message counters of DovPrintMessage. They only grow until reset.
std::uint64_t DovWarningCount();
std::uint64_t DovErrorCount();
void DovResetMessageCounters();

// When 0, warnings are counted but not printed.
extern int DovWarningsSwitch;

// A function that receives every message of a component: severity code,
// position (unset when line and column are 0) and text.
using DovMessageCallback = void (*)(int code, const DovTxtPosn& position, const VString& text);

// The default message callback: DovPrintMessage's line, with the position
// and ": " in front when it is set.
void DovPrintPosnMessage(int code, const DovTxtPosn& position, const VString& text);

// Where the library's own reports go (tree operations, name services,
// source-file reader): the positioned printer at start, replaced by the
// driver with its own hook.
extern DovMessageCallback DovMessageHook;

// Called with the exit status by DovExit before the process ends; null at
// start, for programs that embed the library.
using DovExitHookFn = void (*)(int status);
extern DovExitHookFn DovExitHook;

// The program's one exit path: calls the exit hook, then exit(status).
[[noreturn]] void DovExit(int status);

// Last resort: prints "TERMINAL ERROR: " and the text, then aborts.
[[noreturn]] void DovTerminalError(const char* text);

// Trace level of the symbol-table and qualified-name services: 0 off,
// 1 trace lines, 2 also a table dump after each insertion.
extern int DovSymTabTraceLevel;
