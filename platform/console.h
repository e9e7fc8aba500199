// The console a command-line program runs in.
#pragma once

#include <csignal>
#include <cstdio>

namespace valmero {

// Makes Ctrl-C (and, where there are such, SIGTERM and SIGHUP) set
// `*pending` to the signal's number (SIGINT for Ctrl-C) instead of ending the
// program. One that comes while the flag
// is still raised ends the program as it always does, so that a program
// that stopped looking can still be stopped. nullptr gives the interrupt
// back its usual end of the program (the flag's owner is going).
void TurnInterruptIntoFlag(volatile std::sig_atomic_t* pending);

// Opens each of standard input, output and error that the program was
// started without on the null device, so that no file the program opens
// later takes its number (and a library's warning or the program's summary
// lands inside it). Called first thing.
void OpenClosedStandardStreams();

// A reader of standard output that goes away costs the program its output
// and nothing more: writes to a closed pipe fail instead of ending the
// program before its work (a book, the last lines of its log) is done.
void IgnoreClosedOutput();

// For its life, a console the program writes to shows text in the code
// page the program writes in: on Windows the ANSI code page of names and
// tags rather than the console's own OEM one (so that an é shows as é); the
// console's code page is given back at the end. Nothing elsewhere.
class CConsoleCodePage {
 public:
  CConsoleCodePage();
  ~CConsoleCodePage();
  CConsoleCodePage(const CConsoleCodePage&) = delete;
  CConsoleCodePage& operator=(const CConsoleCodePage&) = delete;

 private:
  unsigned m_previous = 0;
};

// True when the stream goes to a terminal, where a progress bar can be drawn.
bool IsTerminal(std::FILE* stream);

}  // namespace valmero
