// How the program dies: an interrupt says so and ends with status 32; a
// fatal signal (SIGBUS, SIGFPE, SIGILL, SIGSEGV) says so on both outputs,
// dumps the debug-context stack and ends with status 30. A handler that
// cannot be installed ends the program with status 31. The fatal-signal
// handler runs on a stack of its own, so that a machine stack that has run
// out still gives status 30 and the message.
#pragma once

// When non-zero, DovSetSignalHandlers installs nothing.
extern int DovNoSignalHandlers;

// Installs both handlers; called once by the driver at start.
void DovSetSignalHandlers();
