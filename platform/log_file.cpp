#include "platform/log_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/files.h"

namespace valmero {

namespace {

// The log stays open for appending between lines: one write per line keeps
// every line in the file when LogMessage returns, without an open and a close
// each time.
int g_logFd = -1;

// A log removed by another program must come back with the next line. Asking
// the file system before every line (fstat) costs a system call per line, as
// much as the write itself; instead the kernel tells us: an inotify watch on
// the open file reports a change of its link count (removal, or another file
// renamed over it) with SIGIO to the logging thread, whose handler only
// raises this flag. The flag is raised before the remover's call returns, so
// the next line sees it and asks the file system once. Where the watch cannot
// be set up (no inotify, no /proc, SIGIO taken or blocked), every line asks.
volatile std::sig_atomic_t g_bLogMayBeGone = 0;
int g_watchFd = -1;     // the inotify instance, kept for the whole process
int g_watchId = -1;     // the watch on the open log, -1 when it is not watched

void OnLogFileEvent(int) { g_bLogMayBeGone = 1; }

// SIGIO is ours when nobody else handles it; a program that uses it for its
// own purposes keeps it, and the log falls back to asking before each line.
// Looked at whenever the log is opened, not only the first time.
bool TakeSigio() {
  struct sigaction current;
  if (::sigaction(SIGIO, nullptr, &current) != 0) return false;
  if (!(current.sa_flags & SA_SIGINFO) && current.sa_handler == &OnLogFileEvent) return true;
  bool free = !(current.sa_flags & SA_SIGINFO) &&
              (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN);
  if (!free) return false;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = &OnLogFileEvent;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // an event never makes another call of the program fail
  return ::sigaction(SIGIO, &action, nullptr) == 0;
}

bool SigioBlockedHere() {
  sigset_t mask;
  return ::pthread_sigmask(SIG_BLOCK, nullptr, &mask) != 0 || sigismember(&mask, SIGIO) != 0;
}

// The events go to the thread that writes the log, so that the flag is raised
// before that thread runs on.
bool SignalThisThread(int watchFd) {
  struct f_owner_ex owner;
  owner.type = F_OWNER_TID;
  owner.pid = static_cast<pid_t>(::syscall(SYS_gettid));
  return ::fcntl(watchFd, F_SETOWN_EX, &owner) == 0;
}

bool OpenWatch() {
  if (g_watchFd >= 0) return true;
  int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) return false;
  if (!SignalThisThread(fd) || ::fcntl(fd, F_SETFL, O_ASYNC | O_NONBLOCK) != 0) {
    ::close(fd);
    return false;
  }
  g_watchFd = fd;
  return true;
}

// Empties the queue of events, which are only ever a reason to look.
void DrainWatchEvents() {
  if (g_watchFd < 0) return;
  alignas(struct inotify_event) char events[4096];
  while (::read(g_watchFd, events, sizeof events) > 0) {
  }
}

// Watches the file that is open, not whatever the path names by now: the
// link in /proc leads to the open file itself.
void WatchLogFile(int logFd) {
  g_watchId = -1;
  if (SigioBlockedHere() || !TakeSigio() || !OpenWatch() || !SignalThisThread(g_watchFd)) return;
  char link[32];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", logFd);
  g_watchId = ::inotify_add_watch(g_watchFd, link, IN_ATTRIB);
}

void CloseLogFile() {
  if (g_watchId >= 0) ::inotify_rm_watch(g_watchFd, g_watchId);
  g_watchId = -1;
  if (g_logFd >= 0) ::close(g_logFd);
  g_logFd = -1;
}

bool OpenLogIsLinked() {
  struct stat info;
  return ::fstat(g_logFd, &info) == 0 && info.st_nlink > 0;
}

// The open log, opened again when another program has removed the file.
int LogFileForAppending(const char* path) {
  if (g_logFd >= 0) {
    if (g_watchId >= 0 && !g_bLogMayBeGone) return g_logFd;
    // Lowered before looking: a removal from now on raises it again.
    g_bLogMayBeGone = 0;
    DrainWatchEvents();
    if (OpenLogIsLinked()) return g_logFd;
    CloseLogFile();
  }
  g_logFd = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (g_logFd >= 0) {
    WatchLogFile(g_logFd);
    // Removed between the open and the watch: the next line looks again.
    if (g_watchId >= 0 && !OpenLogIsLinked()) g_bLogMayBeGone = 1;
  }
  return g_logFd;
}

}  // namespace

bool AppendToLog(const char* path, const char* data, std::size_t size) {
  int fd = LogFileForAppending(path);
  if (fd < 0) return false;
  if (WriteAll(fd, data, size)) return true;
  CloseLogFile();
  return false;
}

void CloseLog() { CloseLogFile(); }

void RecreateLog(const char* path) {
  int fd = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd >= 0) ::close(fd);
  ::chmod(path, 0644);
  ::unlink(path);
  fd = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd >= 0) ::close(fd);
}

void CurrentFolder(char* folder, std::size_t size) {
  if (::getcwd(folder, size) == nullptr) std::memset(folder, 0, size);
}

std::tm LocalTimeOf(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

unsigned LastErrorCode() { return static_cast<unsigned>(errno); }

}  // namespace valmero
