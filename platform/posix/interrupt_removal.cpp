#include "platform/interrupt_removal.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <initializer_list>

namespace valmero {

namespace {

constexpr int SLOTS = 8;
constexpr std::size_t PATH_BYTES = 4096;

struct NotedFile {
  volatile std::sig_atomic_t used;
  char path[PATH_BYTES];
};

NotedFile g_noted[SLOTS];

void OnEndingInterrupt(int signal) {
  RemoveNotedFiles();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void RemoveOnInterrupt(const std::string& path) {
  if (path.size() >= PATH_BYTES) return;
  for (NotedFile& noted : g_noted) {
    if (noted.used) continue;
    std::memcpy(noted.path, path.c_str(), path.size() + 1);
    // The path is whole before a handler can see the slot in use.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    noted.used = 1;
    return;
  }
}

void ForgetOnInterrupt(const std::string& path) {
  for (NotedFile& noted : g_noted) {
    if (noted.used && path == noted.path) noted.used = 0;
  }
}

void RemoveNotedFiles() {
  for (NotedFile& noted : g_noted) {
    if (noted.used) ::unlink(noted.path);
  }
}

void EndOnInterrupt() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = &OnEndingInterrupt;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace valmero
