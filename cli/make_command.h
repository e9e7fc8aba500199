// valmero-cli make: one whole session of the desktop dialog.
#pragma once

#include <cstdio>

#include "cli/cli_options.h"
#include "cli/terminal_host.h"

namespace valmero {

// Exit statuses of make that scripts can rely on.
constexpr int EXIT_DONE = 0;        // finished, everything done
constexpr int EXIT_RUN_FAILED = 1;  // the error box
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_INCOMPLETE = 3;     // finished, but a copy or SCDG.CFG failed
constexpr int EXIT_SIGNAL_BASE = 128;  // cancelled by signal N: 128 + N (130 Ctrl-C, 143 SIGTERM)

// Starts up as the dialog does, applies the request's paths and boxes,
// presses MAKE once and exits; then writes a short summary to `summary` and
// returns the exit status.
int RunMakeSession(const CliRequest& request, const std::string& target, CTerminalHost& host, std::FILE* summary);

}  // namespace valmero
