#include "lbase/debug/signals.h"

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <ios>
#include <unistd.h>

#include "lbase/debug/debug_context.h"
#include "lbase/message.h"

int DovNoSignalHandlers = 0;

namespace {

constexpr int kFatalSignalStatus = 30;
constexpr int kNoHandlerStatus = 31;
constexpr int kInterruptStatus = 32;

// The status of the exit a handler has begun, 0 while none has. The
// handlers print with stdio and leave through the exit routines, neither of
// which is safe inside a signal; when a second signal arrives before that
// exit is done (another ^C, or a crash in an exit routine), the process ends
// at once with the status already chosen.
volatile std::sig_atomic_t g_exit_status = 0;

void BeginExit(int status) {
    if (g_exit_status) _exit(g_exit_status);
    g_exit_status = status;
}

void DovInterruptHandler(int) {
    BeginExit(kInterruptStatus);
    std::fputs("\n\n--- Interrupted. Stopping. ---\n\n", stdout);
    std::fflush(stdout);
    DovExit(kInterruptStatus);
}

void DovFatalSignalHandler(int signal) {
    BeginExit(kFatalSignalStatus);
    std::printf("\n\n*** Caught a bad signal %d. ***\n\n", signal);
    std::fflush(stdout);
    std::fprintf(stderr, "\n\n*** Caught a bad signal %d. ***\n\n", signal);
    std::fflush(stderr);
    DovDumpDebugContexts();
    DovExit(kFatalSignalStatus);
}

// The stack the fatal-signal handler runs on: a fault from a machine stack
// that has run out leaves no room there for the handler, its printing and
// the exit routines.
constexpr std::size_t kSignalStackBytes = 1 << 20;
alignas(16) char g_signal_stack[kSignalStackBytes];

void InstallSignalStack() {
    stack_t stack{};
    stack.ss_sp = g_signal_stack;
    stack.ss_size = sizeof g_signal_stack;
    stack.ss_flags = 0;
    sigaltstack(&stack, nullptr);
}

// `onOwnStack`: the handler runs on the signal stack.
bool Install(int signal, void (*handler)(int), bool onOwnStack) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Not deferred: a signal of the same kind during the handler must reach
    // the re-entry guard rather than wait (or, for a fault, kill silently).
    action.sa_flags = SA_NODEFER | (onOwnStack ? SA_ONSTACK : 0);
    return sigaction(signal, &action, nullptr) == 0;
}

}  // namespace

void DovSetSignalHandlers() {
    // Stream and stdio output must stay in one order: the handlers use stdio.
    std::ios_base::sync_with_stdio(true);
    if (DovNoSignalHandlers) return;
    InstallSignalStack();
    if (!Install(SIGINT, DovInterruptHandler, false)) {
        std::fputs("\nCannot set SIGINT handler.\n", stdout);
        DovExit(kNoHandlerStatus);
    }
    if (!Install(SIGBUS, DovFatalSignalHandler, true)) {
        std::fputs("\nCannot set SIGBUS handler.\n", stdout);
        DovExit(kNoHandlerStatus);
    }
    Install(SIGFPE, DovFatalSignalHandler, true);
    Install(SIGILL, DovFatalSignalHandler, true);
    Install(SIGSEGV, DovFatalSignalHandler, true);
}
