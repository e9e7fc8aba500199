#include "platform/console.h"

#include <io.h>
#include <windows.h>

namespace valmero {

namespace {

volatile std::sig_atomic_t* g_pending = nullptr;

// Runs on a thread of its own that the console starts for the event; FALSE
// hands the event on to the handler that ends the program.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (*g_pending) return FALSE;
  *g_pending = SIGINT;  // Ctrl-C and Ctrl-Break are the console's interrupt
  return TRUE;
}

}  // namespace

void TurnInterruptIntoFlag(volatile std::sig_atomic_t* pending) {
  if (pending == nullptr) {
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    g_pending = nullptr;
    return;
  }
  g_pending = pending;
  ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

// A Windows program without a standard handle writes nowhere; no file
// takes its place.
void OpenClosedStandardStreams() {}

// Windows raises no signal for a closed pipe: the write fails.
void IgnoreClosedOutput() {}

CConsoleCodePage::CConsoleCodePage() {
  const UINT console = ::GetConsoleOutputCP();  // 0 without a console
  if (console == 0 || console == ::GetACP()) return;
  if (::SetConsoleOutputCP(::GetACP())) m_previous = console;
}

CConsoleCodePage::~CConsoleCodePage() {
  if (m_previous != 0) ::SetConsoleOutputCP(m_previous);
}

bool IsTerminal(std::FILE* stream) { return ::_isatty(::_fileno(stream)) != 0; }

}  // namespace valmero
