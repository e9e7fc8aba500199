// The activity log mirqlog.txt: one time-stamped line per event, in the
// directory that was current when the program started. Every line ends with
// CR LF on every platform and is in the file when LogMessage returns.
#pragma once

#include <cstddef>
#include <ctime>

#include "core/fixed_text.h"
#include "core/song_record.h"

namespace valmero {

// Full path of the log file; empty until StartActivityLog has run.
extern char g_szLogPath[PATH_SIZE];

// The longest line, its line end included (the CR of CR LF not counted).
constexpr std::size_t LOG_LINE_LIMIT = 1023;

constexpr const char* LOG_START_LINE =
    "start of logging============================================================";
constexpr const char* LOG_END_LINE =
    "end of logging==============================================================";

// Stores the current directory in startDir (PATH_SIZE bytes), empties the
// log file there and writes the start line. Always returns 0.
int StartActivityLog(char* startDir);

// Writes one line: "* Y:MM:DD HH:MM:SS - message". The message is cut at its
// last line feed, and cut short where the line would pass LOG_LINE_LIMIT so
// that the line still ends with its line end. Returns 0 when written, -1 when
// the log file cannot be opened.
int LogMessage(const char* format, ...) VALMERO_PRINTF(1, 2);

// Hands "NAME failed : GetLastError returned N, 0xN" with the last system
// error to DebugTrace.
void TraceLastError(const char* name);

// The debug trace sink: standard error in a debug build, nothing otherwise.
void DebugTrace(const char* text);

// Where the time of each line comes from; tests replace it.
using LogClock = std::tm (*)();
void SetLogClock(LogClock clock);

// Forgets the log path (as before StartActivityLog) so that nothing is written.
void ResetActivityLog();

}  // namespace valmero
