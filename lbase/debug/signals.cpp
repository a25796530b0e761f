#include "lbase/debug/signals.h"

#include <csignal>
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

bool Install(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Not deferred: a signal of the same kind during the handler must reach
    // the re-entry guard rather than wait (or, for a fault, kill silently).
    action.sa_flags = SA_NODEFER;
    return sigaction(signal, &action, nullptr) == 0;
}

}  // namespace

void DovSetSignalHandlers() {
    // Stream and stdio output must stay in one order: the handlers use stdio.
    std::ios_base::sync_with_stdio(true);
    if (DovNoSignalHandlers) return;
    if (!Install(SIGINT, DovInterruptHandler)) {
        std::fputs("\nCannot set SIGINT handler.\n", stdout);
        DovExit(kNoHandlerStatus);
    }
    if (!Install(SIGBUS, DovFatalSignalHandler)) {
        std::fputs("\nCannot set SIGBUS handler.\n", stdout);
        DovExit(kNoHandlerStatus);
    }
    Install(SIGFPE, DovFatalSignalHandler);
    Install(SIGILL, DovFatalSignalHandler);
    Install(SIGSEGV, DovFatalSignalHandler);
}
