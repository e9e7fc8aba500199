#include "log/activity_log.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"
#include "platform/files.h"

namespace valmero {

char g_szLogPath[PATH_SIZE] = {};

namespace {

// Lines come many to the second: the local time is worked out once a second.
std::tm LocalNow() {
  static std::time_t lastSecond = -1;
  static std::tm lastLocal{};
  std::time_t now = std::time(nullptr);
  if (now != lastSecond) {
    std::tm local{};
    localtime_r(&now, &local);
    lastLocal = local;
    lastSecond = now;
  }
  return lastLocal;
}

LogClock g_clock = &LocalNow;

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
int LogFileForAppending() {
  if (g_logFd >= 0) {
    if (g_watchId >= 0 && !g_bLogMayBeGone) return g_logFd;
    // Lowered before looking: a removal from now on raises it again.
    g_bLogMayBeGone = 0;
    DrainWatchEvents();
    if (OpenLogIsLinked()) return g_logFd;
    CloseLogFile();
  }
  g_logFd = ::open(g_szLogPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (g_logFd >= 0) {
    WatchLogFile(g_logFd);
    // Removed between the open and the watch: the next line looks again.
    if (g_watchId >= 0 && !OpenLogIsLinked()) g_bLogMayBeGone = 1;
  }
  return g_logFd;
}

// "* Y:MM:DD HH:MM:SS - " for a time, formatted again only when the time
// differs from the previous line's.
int LinePrefix(const std::tm& now, const char*& prefix) {
  static std::tm formattedFor{};
  static char text[64];
  static int length = -1;
  if (length < 0 || now.tm_sec != formattedFor.tm_sec || now.tm_min != formattedFor.tm_min ||
      now.tm_hour != formattedFor.tm_hour || now.tm_mday != formattedFor.tm_mday ||
      now.tm_mon != formattedFor.tm_mon || now.tm_year != formattedFor.tm_year) {
    length = std::snprintf(text, sizeof text, "* %02d:%02d:%02d %02d:%02d:%02d - ", now.tm_year + 1900,
                           now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    formattedFor = now;
  }
  prefix = text;
  return length;
}

}  // namespace

void SetLogClock(LogClock clock) { g_clock = clock != nullptr ? clock : &LocalNow; }

void ResetActivityLog() {
  CloseLogFile();
  std::memset(g_szLogPath, 0, sizeof g_szLogPath);
}

CLogSilence::CLogSilence() {
  std::memcpy(m_szSavedPath, g_szLogPath, sizeof m_szSavedPath);
  g_szLogPath[0] = '\0';
}

CLogSilence::~CLogSilence() { std::memcpy(g_szLogPath, m_szSavedPath, sizeof g_szLogPath); }

void DebugTrace(const char* text) {
#ifdef VALMERO_DEBUG_TRACE
  std::fputs(text, stderr);
  if (*text != '\0' && text[std::strlen(text) - 1] != '\n') std::fputc('\n', stderr);
#else
  (void)text;
#endif
}

void TraceLastError(const char* name) {
  unsigned code = static_cast<unsigned>(errno);
  char trace[80];
  std::snprintf(trace, sizeof trace, "%s failed : GetLastError returned %u, 0x%08x\n", name, code,
                code);
  DebugTrace(trace);
}

int LogMessage(const char* format, ...) {
  char message[LOG_LINE_LIMIT + 1];
  va_list args;
  va_start(args, format);
  int formatted = std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (formatted < 0) message[0] = '\0';
  CutAtLastLineFeed(message);

  const char* prefix = nullptr;
  int prefixLength = LinePrefix(g_clock(), prefix);
  // Room for the message: the line, its line feed included, stays within the limit.
  std::size_t room = LOG_LINE_LIMIT - 1 - static_cast<std::size_t>(prefixLength);
  std::size_t messageLength = std::strlen(message);
  if (messageLength > room) messageLength = room;

  char line[LOG_LINE_LIMIT + 2];
  std::memcpy(line, prefix, static_cast<std::size_t>(prefixLength));
  std::memcpy(line + prefixLength, message, messageLength);
  std::size_t lineLength = static_cast<std::size_t>(prefixLength) + messageLength;
  line[lineLength] = '\n';
  line[lineLength + 1] = '\0';
  DebugTrace(line);
  line[lineLength] = '\r';
  line[lineLength + 1] = '\n';
  lineLength += 2;

  if (g_szLogPath[0] == '\0') {
    errno = ENOENT;
    TraceLastError("fopen");
    return -1;
  }
  int fd = LogFileForAppending();
  if (fd < 0) {
    TraceLastError("fopen");
    return -1;
  }
  if (!WriteAll(fd, line, lineLength)) {
    TraceLastError("write");
    CloseLogFile();
    return -1;
  }
  return 0;
}

int StartActivityLog(char* startDir) {
  std::memset(startDir, 0, PATH_SIZE);
  if (::getcwd(startDir, PATH_SIZE) == nullptr) std::memset(startDir, 0, PATH_SIZE);
  ResetActivityLog();
  if (startDir[0] != '\0') {
    char path[PATH_SIZE];
    if (FormatPath(path, sizeof path, "%s/mirqlog.txt", startDir)) {
      std::memcpy(g_szLogPath, path, sizeof path);
    }
  }
  if (g_szLogPath[0] != '\0') {
    int fd = ::open(g_szLogPath, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) TraceLastError("CreateFile : 1st");
    else ::close(fd);
    ::chmod(g_szLogPath, 0644);
    if (::unlink(g_szLogPath) != 0) TraceLastError("DeleteFile");
    fd = ::open(g_szLogPath, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) ::close(fd);
  }
  LogMessage("%s", LOG_START_LINE);
  return 0;
}

}  // namespace valmero
