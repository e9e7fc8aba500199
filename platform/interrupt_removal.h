// Files that must not outlive the program when an interrupt ends it while
// they are being written: the temporaries of files written aside
// (platform/atomic_file.h). A few at a time; what is noted here can be
// removed from a signal handler.
#pragma once

#include <string>

namespace valmero {

// Notes a file to remove should an interrupt end the program. Past a few
// files at once, or a path too long to hold, nothing is noted.
void RemoveOnInterrupt(const std::string& path);

// Forgets a file noted: it has been renamed into place or removed.
void ForgetOnInterrupt(const std::string& path);

// Removes every file noted. Safe inside a signal handler.
void RemoveNotedFiles();

// From now on Ctrl-C, SIGTERM and SIGHUP end the program at once, after the
// noted files have been removed, with the signal's status: for work that
// looks for no cancel, such as writing a song book.
void EndOnInterrupt();

}  // namespace valmero
