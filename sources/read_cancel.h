// A source read that the user can stop: between songs (or lines) the popup
// pumps, and a cancel writes the log lines held so far before its box waits
// for the user.
#pragma once

#include "core/run_host.h"
#include "log/activity_log.h"

namespace valmero {

// Writes the held lines when due, pumps the popup with ESC allowed and, when
// it was cancelled, writes the rest and shows "Progress Calcelled". True when
// the read is to stop.
bool UserCancelsRead(IProgressPopup& popup, IRunHost& host, CLogLinesTogether& together);

}  // namespace valmero
