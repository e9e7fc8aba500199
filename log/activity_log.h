// log/: the one activity log of the program.
//
// The activity log mirqlog.txt: one time-stamped line per event, in the
// directory that was current when the program started. Every line ends with
// CR LF on every platform and is in the file when LogMessage returns.
//
// How the library reports failure, layer by layer:
// - platform/: says what happened and logs nothing; the caller knows what the
//   file meant to the user and logs that. A question or an action answers
//   bool (true: yes, done); an open answers a descriptor, -1 when none.
// - sources/, outputs/, run/ (the stages and what they call): an operation
//   that can fail returns int, 0 or more on success and -1 on failure, after
//   it has logged the reason here; callers test only for a negative value
//   and do not log it again. An operation that cannot fail returns nothing.
// - The user is told little: the run ends with "Finished Converting" or the
//   error box, and the detail stands in this log.
// No exceptions are raised by the library's own code.
#pragma once

#include <cstddef>
#include <ctime>

#include "core/fixed_text.h"
#include "core/song_record.h"

namespace valmero {

// The longest line, its line end included (the CR of CR LF not counted).
constexpr std::size_t LOG_LINE_LIMIT = 1023;

constexpr const char* LOG_START_LINE =
    "start of logging============================================================";
constexpr const char* LOG_END_LINE =
    "end of logging==============================================================";

// Stores the current directory in startDir (PATH_SIZE bytes), empties the
// log file there and writes the start line; the log stays locked for the
// life of the program. The log is only ever this program's own regular file:
// a symbolic link or any other kind of file named mirqlog.txt is replaced.
// When the current directory cannot be determined, the log cannot be
// written there, or the log is held by another program, standard error says
// so and nothing is logged. 0, or -1
// when the log is in use.
int StartActivityLog(char* startDir);

// The full path of the log file; empty until StartActivityLog has run, and
// when it found no place to write a log.
const char* ActivityLogPath();

// True when the last StartActivityLog found the log in use by another program.
bool ActivityLogInUse();

// True when the last StartActivityLog could write the log: false without a
// start folder, with the log in use, or in a folder the program may not
// write in (standard error has said so; a desktop program tells the user).
bool ActivityLogWritten();

// Writes one line: "* Y:MM:DD HH:MM:SS - message". The message is cut at its
// last line feed, and cut short where the line would pass LOG_LINE_LIMIT so
// that the line still ends with its line end. Returns 0 when written, -1 when
// the log file cannot be opened.
int LogMessage(const char* format, ...) VALMERO_PRINTF(1, 2);

// While an object of this class lives, the lines logged are held and then
// written together with one write when it goes: the lines of a scan of many
// thousand songs cost a system call now and then instead of one each. They
// are in the file when the object goes (or WriteIfDue writes them) rather
// than when LogMessage returns.
class CLogLinesTogether {
 public:
  CLogLinesTogether();
  ~CLogLinesTogether();
  // Writes the held lines now when they are many or the first of them has
  // waited a tenth of a second: a long hold keeps little from the file, and
  // a killed program loses no more than that.
  void WriteIfDue();
  // Writes the held lines now: before a box that waits for the user.
  void WriteNow();
  CLogLinesTogether(const CLogLinesTogether&) = delete;
  CLogLinesTogether& operator=(const CLogLinesTogether&) = delete;
};

// Hands "OPERATION failed : errno N, 0xN" (on Windows "GetLastError
// returned N, 0xN") with the last system error to DebugTrace.
void TraceLastError(const char* operation);

// The debug trace sink: standard error in a debug build, nothing otherwise.
void DebugTrace(const char* text);

// Where the time of each line comes from; tests replace it.
using LogClock = std::tm (*)();
void SetLogClock(LogClock clock);

// Forgets the log path (as before StartActivityLog) so that nothing is
// written; the log stays claimed against other programs.
void ResetActivityLog();

// Holds the log back for its life: what is logged meanwhile is dropped
// before any file is touched (LogMessage returns 0). Work that only looks (a
// dry run inside a session that logs) leaves the log as it was.
class CLogSilence {
 public:
  CLogSilence();
  ~CLogSilence();
  CLogSilence(const CLogSilence&) = delete;
  CLogSilence& operator=(const CLogSilence&) = delete;
};

}  // namespace valmero
