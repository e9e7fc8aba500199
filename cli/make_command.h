// valmero-cli make: one whole session of the desktop dialog.
#pragma once

#include "cli/cli_options.h"
#include "core/run_host.h"

namespace valmero {

// Starts up as the dialog does, applies the request's paths and boxes,
// presses MAKE once and exits. 0 when the run finished, 1 when it failed.
int RunMakeSession(const CliRequest& request, const std::string& target, IRunHost& host);

}  // namespace valmero
