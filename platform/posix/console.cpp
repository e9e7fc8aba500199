#include "platform/console.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <cstring>
#include <initializer_list>

#include "platform/interrupt_removal.h"

namespace valmero {

namespace {

volatile std::sig_atomic_t* g_pending = nullptr;

void OnInterrupt(int signal) {
  if (*g_pending) {
    RemoveNotedFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  *g_pending = signal;
}

}  // namespace

void TurnInterruptIntoFlag(volatile std::sig_atomic_t* pending) {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = pending != nullptr ? &OnInterrupt : SIG_DFL;
  if (pending != nullptr) g_pending = pending;
  sigemptyset(&action.sa_mask);
  // A terminal closed under the run (SIGHUP) and a polite stop from the
  // system or a script (SIGTERM) cancel the same way, so that no temporary
  // file is left behind and every file under a final name is complete.
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  if (pending == nullptr) g_pending = nullptr;
}

void OpenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is the one just found closed.
    int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

void IgnoreClosedOutput() { std::signal(SIGPIPE, SIG_IGN); }

// A terminal shows the bytes as they are written.
CConsoleCodePage::CConsoleCodePage() = default;
CConsoleCodePage::~CConsoleCodePage() = default;

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace valmero
