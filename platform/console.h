// The console a command-line program runs in.
#pragma once

#include <csignal>
#include <cstdio>

namespace valmero {

// Makes Ctrl-C (and, where there are such, SIGTERM and SIGHUP) raise
// `*pending` instead of ending the program. One that comes while the flag
// is still raised ends the program as it always does, so that a program
// that stopped looking can still be stopped.
void TurnInterruptIntoFlag(volatile std::sig_atomic_t* pending);

// True when the stream goes to a terminal, where a progress bar can be drawn.
bool IsTerminal(std::FILE* stream);

}  // namespace valmero
