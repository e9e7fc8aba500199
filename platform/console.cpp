#include "platform/console.h"

#include <unistd.h>

#include <cstring>

namespace valmero {

namespace {

volatile std::sig_atomic_t* g_pending = nullptr;

void OnInterrupt(int) {
  if (*g_pending) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
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
  sigaction(SIGINT, &action, nullptr);
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

}  // namespace valmero
