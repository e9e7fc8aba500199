// The file services of the activity log: the log is a file anybody may read,
// remove or replace at any time, and every line must be in it when the line
// has been written.
#pragma once

#include <cstddef>
#include <ctime>

namespace valmero {

// Appends `size` bytes to the file at `path` in one write, creating it when
// missing. A file that was removed or replaced since the previous line is
// opened again. False when it cannot be opened or written.
bool AppendToLog(const char* path, const char* data, std::size_t size);

// Lets go of whatever AppendToLog keeps between lines.
void CloseLog();

// Replaces whatever is at `path` by a new, empty, writable file. Each step is
// tried whatever became of the one before.
void RecreateLog(const char* path);

// The current folder into `folder` (`size` bytes); empty when it cannot be
// told or does not fit.
void CurrentFolder(char* folder, std::size_t size);

// The local time of `when`.
std::tm LocalTimeOf(std::time_t when);

// The code of the last failed system call (errno, or the last Win32 error).
unsigned LastErrorCode();

}  // namespace valmero
