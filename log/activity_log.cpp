#include "log/activity_log.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/fixed_text.h"
#include "platform/files.h"
#include "platform/log_file.h"
#include "platform/own_file.h"
#include "platform/path_separator.h"

namespace valmero {

char g_szLogPath[PATH_SIZE] = {};

namespace {

// Lines come many to the second: the local time is worked out once a second.
std::tm LocalNow() {
  static std::time_t lastSecond = -1;
  static std::tm lastLocal{};
  std::time_t now = std::time(nullptr);
  if (now != lastSecond) {
    lastLocal = LocalTimeOf(now);
    lastSecond = now;
  }
  return lastLocal;
}

LogClock g_clock = &LocalNow;

// The log stays open for appending between lines: one write per line keeps
// every line in the file when LogMessage returns, without an open and a close
// each time. The open log also carries the lock that keeps a second program
// started in the same folder from emptying it.
int g_logFd = -1;
bool g_bLogInUse = false;
// Set when the last start found a place to write the log.
bool g_bLogWritten = false;
// The lock lives on a second descriptor of the same open file, so that
// closing the log for a while (ResetActivityLog) does not give it up: only
// the next start or the end of the program does.
int g_lockFd = -1;

void HoldLockOf(int fd) {
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = DuplicateDescriptor(fd);
}

void ReleaseLock() {
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = -1;
}

void CloseLogFile() {
  if (g_logFd >= 0) ::close(g_logFd);
  g_logFd = -1;
}

// The open log, opened again when another program has removed the file or
// renamed another over it. One look at the open file per line is all it
// costs; a link, a pipe or a device put there meanwhile is replaced.
int LogFileForAppending() {
  if (g_logFd >= 0) {
    if (IsStillLinked(g_logFd)) return g_logFd;
    CloseLogFile();
  }
  g_logFd = OpenOwnFileForAppending(g_szLogPath);
  if (g_logFd >= 0 && LockOpenFile(g_logFd) == FileLockResult::Held) HoldLockOf(g_logFd);
  return g_logFd;
}

enum class LogClaim { Held, InUse, Failed };

// Opens the log and takes its lock before emptying it, so that a second
// program started in the same folder finds it in use instead of emptying the
// log of the first. A file put in its place between the open and the lock
// belongs to whoever put it there: then once more.
LogClaim ClaimLog(const char* path) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fd = OpenOwnFileForAppending(path);
    if (fd < 0) return LogClaim::Failed;
    if (LockOpenFile(fd) == FileLockResult::InUse) {
      ::close(fd);
      return LogClaim::InUse;
    }
    if (PathNamesOpenFile(path, fd)) {
      if (!EmptyOpenFile(fd)) TraceLastError("CreateFile : 1st");
      g_logFd = fd;
      HoldLockOf(fd);
      return LogClaim::Held;
    }
    ::close(fd);
  }
  return LogClaim::Failed;
}

// Appends whole lines to the log with one write. 0, or -1 when the log
// cannot be opened or written.
int WriteLines(const char* lines, std::size_t length) {
  int fd = LogFileForAppending();
  if (fd < 0) {
    TraceLastError("fopen");
    return -1;
  }
  if (!WriteAll(fd, lines, length)) {
    TraceLastError("write");
    CloseLogFile();
    return -1;
  }
  return 0;
}

// The lines held while a CLogLinesTogether lives, and when the first came.
int g_nTogetherDepth = 0;
std::string g_together;
std::chrono::steady_clock::time_point g_togetherSince;
constexpr std::size_t HELD_BYTES_LIMIT = 64 * 1024;
constexpr std::chrono::milliseconds HELD_TIME_LIMIT{100};

void WriteHeldLines() {
  if (g_together.empty()) return;
  WriteLines(g_together.data(), g_together.size());
  g_together.clear();
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
  unsigned code = LastErrorCode();
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
  if (g_nTogetherDepth > 0) {
    if (g_together.empty()) g_togetherSince = std::chrono::steady_clock::now();
    g_together.append(line, lineLength);
    return 0;
  }
  return WriteLines(line, lineLength);
}

CLogLinesTogether::CLogLinesTogether() { ++g_nTogetherDepth; }

CLogLinesTogether::~CLogLinesTogether() {
  if (--g_nTogetherDepth == 0) WriteHeldLines();
}

void CLogLinesTogether::WriteNow() { WriteHeldLines(); }

void CLogLinesTogether::WriteIfDue() {
  if (g_together.empty()) return;
  if (g_together.size() >= HELD_BYTES_LIMIT ||
      std::chrono::steady_clock::now() - g_togetherSince >= HELD_TIME_LIMIT) {
    WriteHeldLines();
  }
}

int StartActivityLog(char* startDir) {
  std::memset(startDir, 0, PATH_SIZE);
  CurrentFolder(startDir, PATH_SIZE);
  ResetActivityLog();
  ReleaseLock();
  g_bLogInUse = false;
  g_bLogWritten = false;
  if (startDir[0] == '\0') {
    // Never the root folder or any other stand-in: the log is best effort.
    std::fputs("valmero: the start folder cannot be determined; no log is written\n", stderr);
    return 0;
  }
  char path[PATH_SIZE];
  if (!FormatPath(path, sizeof path, "%s" VALMERO_SEP "mirqlog.txt", startDir)) {
    std::fputs("valmero: the start folder's path is too long for a log; no log is written\n", stderr);
  } else {
    switch (ClaimLog(path)) {
      case LogClaim::Held:
        std::memcpy(g_szLogPath, path, sizeof path);
        g_bLogWritten = true;
        break;
      case LogClaim::InUse:
        g_bLogInUse = true;
        std::fprintf(stderr, "valmero: the log %s is in use by another run of the program\n", path);
        return -1;
      case LogClaim::Failed:
        // A folder the program may not write in (read-only, an install
        // folder): said once, and nothing later names a log that is not there.
        std::fprintf(stderr, "valmero: the log %s cannot be written; no log is written\n", path);
        return 0;
    }
  }
  LogMessage("%s", LOG_START_LINE);
  return 0;
}

bool ActivityLogInUse() { return g_bLogInUse; }

bool ActivityLogWritten() { return g_bLogWritten; }

}  // namespace valmero
