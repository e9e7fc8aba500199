#include "log/activity_log.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/fixed_text.h"
#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/log_file.h"
#include "platform/own_file.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

constexpr std::size_t HELD_BYTES_LIMIT = 64 * 1024;
constexpr std::chrono::milliseconds HELD_TIME_LIMIT{100};

enum class LogClaim { Held, InUse, Failed };

// The program's activity log: its file, the lock that keeps a second program
// in the same folder out, the time stamp of its lines, the lines held back
// and the silence of work that only looks. One lives for the whole program
// (TheLog); the functions of activity_log.h write through it.
class CActivityLog {
 public:
  int Start(char* startDir);
  // Forgets the path and closes the file; the lock stays held.
  void Reset();
  // One finished message as a line of the log.
  int Write(const char* message);

  bool InUse() const { return m_bInUse; }
  bool Written() const { return m_bWritten; }
  const char* Path() const { return m_szPath; }
  void SetClock(LogClock clock) { m_clock = clock; }

  void BeginSilence() { ++m_nSilenceDepth; }
  void EndSilence() { --m_nSilenceDepth; }
  bool IsSilenced() const { return m_nSilenceDepth > 0; }

  void BeginHolding() { ++m_nHoldDepth; }
  void EndHolding() {
    if (--m_nHoldDepth == 0) WriteHeldLines();
  }
  void WriteHeldLines();
  void WriteHeldLinesIfDue();

 private:
  std::tm Now();
  int LinePrefix(const std::tm& now, const char*& prefix);
  LogClaim Claim(const char* path);
  int FileForAppending();
  int WriteLines(const char* lines, std::size_t length);
  void HoldLockOf(int fd);
  void ReleaseLock();
  void CloseLogFile();

  char m_szPath[PATH_SIZE] = {};
  // The log stays open for appending between lines: one write per line keeps
  // every line in the file when LogMessage returns, without an open and a
  // close each time. The open log also carries the lock.
  int m_logFd = -1;
  // The lock lives on a second descriptor of the same open file, so that
  // closing the log for a while (Reset) does not give it up: only the next
  // start or the end of the program does.
  int m_lockFd = -1;
  bool m_bInUse = false;
  // Set when the last start found a place to write the log.
  bool m_bWritten = false;
  LogClock m_clock = nullptr;
  int m_nSilenceDepth = 0;
  // The lines held while a CLogLinesTogether lives, and when the first came.
  int m_nHoldDepth = 0;
  std::string m_held;
  std::chrono::steady_clock::time_point m_heldSince;
  // Lines come many to the second: the local time is worked out once a
  // second, and the prefix formatted again only when it changes.
  std::time_t m_lastSecond = -1;
  std::tm m_lastLocal{};
  std::tm m_prefixTime{};
  char m_szPrefix[64] = {};
  int m_nPrefixLength = -1;
};

CActivityLog& TheLog() {
  static CActivityLog log;
  return log;
}

std::tm CActivityLog::Now() {
  if (m_clock != nullptr) return m_clock();
  std::time_t now = std::time(nullptr);
  if (now != m_lastSecond) {
    m_lastLocal = LocalTimeOf(now);
    m_lastSecond = now;
  }
  return m_lastLocal;
}

// "* Y:MM:DD HH:MM:SS - " for a time, formatted again only when the time
// differs from the previous line's.
int CActivityLog::LinePrefix(const std::tm& now, const char*& prefix) {
  if (m_nPrefixLength < 0 || now.tm_sec != m_prefixTime.tm_sec || now.tm_min != m_prefixTime.tm_min ||
      now.tm_hour != m_prefixTime.tm_hour || now.tm_mday != m_prefixTime.tm_mday ||
      now.tm_mon != m_prefixTime.tm_mon || now.tm_year != m_prefixTime.tm_year) {
    m_nPrefixLength = std::snprintf(m_szPrefix, sizeof m_szPrefix, "* %02d:%02d:%02d %02d:%02d:%02d - ",
                                    now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min,
                                    now.tm_sec);
    m_prefixTime = now;
  }
  prefix = m_szPrefix;
  return m_nPrefixLength;
}

void CActivityLog::HoldLockOf(int fd) {
  if (m_lockFd >= 0) CloseFile(m_lockFd);
  m_lockFd = DuplicateDescriptor(fd);
}

void CActivityLog::ReleaseLock() {
  if (m_lockFd >= 0) CloseFile(m_lockFd);
  m_lockFd = -1;
}

void CActivityLog::CloseLogFile() {
  if (m_logFd >= 0) CloseFile(m_logFd);
  m_logFd = -1;
}

// The open log, opened again when another program has removed the file or
// renamed another over it. One look at the open file per line is all it
// costs; a link, a pipe or a device put there meanwhile is replaced.
int CActivityLog::FileForAppending() {
  if (m_logFd >= 0) {
    if (IsStillLinked(m_logFd)) return m_logFd;
    CloseLogFile();
  }
  m_logFd = OpenOwnFileForAppending(m_szPath);
  if (m_logFd >= 0 && LockOpenFile(m_logFd) == FileLockResult::Held) HoldLockOf(m_logFd);
  return m_logFd;
}

// Opens the log and takes its lock before emptying it, so that a second
// program started in the same folder finds it in use instead of emptying the
// log of the first. A file put in its place between the open and the lock
// belongs to whoever put it there: then once more.
LogClaim CActivityLog::Claim(const char* path) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fd = OpenOwnFileForAppending(path);
    if (fd < 0) return LogClaim::Failed;
    if (LockOpenFile(fd) == FileLockResult::InUse) {
      CloseFile(fd);
      return LogClaim::InUse;
    }
    if (PathNamesOpenFile(path, fd)) {
      if (!EmptyOpenFile(fd)) TraceLastError("empty the log");
      m_logFd = fd;
      HoldLockOf(fd);
      return LogClaim::Held;
    }
    CloseFile(fd);
  }
  return LogClaim::Failed;
}

// Appends whole lines to the log with one write. 0, or -1 when the log
// cannot be opened or written.
int CActivityLog::WriteLines(const char* lines, std::size_t length) {
  int fd = FileForAppending();
  if (fd < 0) {
    TraceLastError("open the log");
    return -1;
  }
  if (!WriteAll(fd, lines, length)) {
    TraceLastError("write the log");
    CloseLogFile();
    return -1;
  }
  return 0;
}

void CActivityLog::WriteHeldLines() {
  if (m_held.empty()) return;
  WriteLines(m_held.data(), m_held.size());
  m_held.clear();
}

void CActivityLog::WriteHeldLinesIfDue() {
  if (m_held.empty()) return;
  if (m_held.size() >= HELD_BYTES_LIMIT || std::chrono::steady_clock::now() - m_heldSince >= HELD_TIME_LIMIT) {
    WriteHeldLines();
  }
}

void CActivityLog::Reset() {
  CloseLogFile();
  std::memset(m_szPath, 0, sizeof m_szPath);
}

int CActivityLog::Write(const char* message) {
  const char* prefix = nullptr;
  int prefixLength = LinePrefix(Now(), prefix);
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

  if (m_szPath[0] == '\0') {
    DebugTrace("no log to write the line to");
    return -1;
  }
  if (m_nHoldDepth > 0) {
    if (m_held.empty()) m_heldSince = std::chrono::steady_clock::now();
    m_held.append(line, lineLength);
    return 0;
  }
  return WriteLines(line, lineLength);
}

int CActivityLog::Start(char* startDir) {
  std::memset(startDir, 0, PATH_SIZE);
  CurrentFolder(startDir, PATH_SIZE);
  Reset();
  ReleaseLock();
  m_bInUse = false;
  m_bWritten = false;
  if (startDir[0] == '\0') {
    // Never the root folder or any other stand-in: the log is best effort.
    std::fputs("valmero: the start folder cannot be determined; no log is written\n", stderr);
    return 0;
  }
  char path[PATH_SIZE];
  if (!FormatPath(path, sizeof path, "%s" VALMERO_SEP "mirqlog.txt", startDir)) {
    std::fputs("valmero: the start folder's path is too long for a log; no log is written\n", stderr);
  } else {
    switch (Claim(path)) {
      case LogClaim::Held:
        std::memcpy(m_szPath, path, sizeof path);
        m_bWritten = true;
        break;
      case LogClaim::InUse:
        m_bInUse = true;
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

}  // namespace

void SetLogClock(LogClock clock) { TheLog().SetClock(clock); }

void ResetActivityLog() { TheLog().Reset(); }

const char* ActivityLogPath() { return TheLog().Path(); }

CLogSilence::CLogSilence() { TheLog().BeginSilence(); }

CLogSilence::~CLogSilence() { TheLog().EndSilence(); }

void DebugTrace(const char* text) {
#ifdef VALMERO_DEBUG_TRACE
  std::fputs(text, stderr);
  if (*text != '\0' && text[std::strlen(text) - 1] != '\n') std::fputc('\n', stderr);
#else
  (void)text;
#endif
}

void TraceLastError(const char* operation) {
  unsigned code = LastErrorCode();
  char trace[128];
  std::snprintf(trace, sizeof trace, "%s failed : %s %u, 0x%08x\n", operation, LastErrorSource(), code, code);
  DebugTrace(trace);
}

int LogMessage(const char* format, ...) {
  // Work that only looks leaves the log alone: nothing is formatted or touched.
  CActivityLog& log = TheLog();
  if (log.IsSilenced()) return 0;
  char message[LOG_LINE_LIMIT + 1];
  va_list args;
  va_start(args, format);
  int formatted = std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  if (formatted < 0) message[0] = '\0';
  CutAtLastLineFeed(message);
  return log.Write(message);
}

CLogLinesTogether::CLogLinesTogether() { TheLog().BeginHolding(); }

CLogLinesTogether::~CLogLinesTogether() { TheLog().EndHolding(); }

void CLogLinesTogether::WriteNow() { TheLog().WriteHeldLines(); }

void CLogLinesTogether::WriteIfDue() { TheLog().WriteHeldLinesIfDue(); }

int StartActivityLog(char* startDir) { return TheLog().Start(startDir); }

bool ActivityLogInUse() { return TheLog().InUse(); }

bool ActivityLogWritten() { return TheLog().Written(); }

}  // namespace valmero
