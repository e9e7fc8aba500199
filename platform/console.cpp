#include "platform/console.h"

#include <unistd.h>

#include <cstring>
#include <initializer_list>

namespace valmero {

namespace {

volatile std::sig_atomic_t* g_pending = nullptr;

void OnInterrupt(int signal) {
  if (*g_pending) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  *g_pending = 1;
}

}  // namespace

void TurnInterruptIntoFlag(volatile std::sig_atomic_t* pending) {
  g_pending = pending;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = &OnInterrupt;
  sigemptyset(&action.sa_mask);
  // A terminal closed under the run (SIGHUP) and a polite stop from the
  // system or a script (SIGTERM) cancel the same way, so that no temporary
  // file is left behind and every file under a final name is complete.
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace valmero
