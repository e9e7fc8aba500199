// The command-line program's host: message boxes as lines on standard
// output, the progress popup as a bar on standard error when that is a
// terminal, Ctrl-C as the popup's Cancel button.
#pragma once

#include <csignal>
#include <cstdio>

#include "core/run_host.h"

namespace valmero {

class CTerminalHost : public IRunHost {
 public:
  // out receives the message texts; bar receives the progress bar when
  // showBar is set.
  CTerminalHost(std::FILE* out, std::FILE* bar, bool showBar);
  // Ctrl-C goes back to ending the program: nothing is left to take it.
  ~CTerminalHost() override;
  CTerminalHost(const CTerminalHost&) = delete;
  CTerminalHost& operator=(const CTerminalHost&) = delete;

  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;
  void Note(const RunNote& note) override;

  // What the run did, counted from its notes and boxes.
  struct Tally {
    int dropped = 0;
    int filesCopied = 0;
    int copiesFailed = 0;
    int filesInPlace = 0;  // held by the target already, not written
    int filesMoved = 0;    // held by the target under another number, renamed
    bool cancelled = false;
  };
  const Tally& Counts() const { return m_tally; }

  // Ctrl-C (and SIGTERM, SIGHUP) becomes a cancel request that the next
  // pump of a popup takes, the way a key press waits in the queue until a
  // loop looks at it. A second one before that ends the program.
  void TurnInterruptIntoCancel();
  // Sets or takes the pending cancel request (also what Ctrl-C does).
  void RequestCancel() { m_cancelPending = -1; }
  bool TakeCancelRequest();
  // The signal of the last cancel request taken, 0 when none came from a signal.
  int CancelSignal() const { return m_cancelSignal; }

 private:
  Tally m_tally;
  // Written by the interrupt: -1 for a request that came from no signal
  // (SIGHUP's number is 1).
  volatile std::sig_atomic_t m_cancelPending = 0;
  int m_cancelSignal = 0;
  bool m_bInterruptTaken = false;
  std::FILE* m_out;
  std::FILE* m_bar;
  bool m_showBar;
};

}  // namespace valmero
