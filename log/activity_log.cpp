#include "log/activity_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"

namespace valmero {

char g_szLogPath[PATH_SIZE] = {};

namespace {

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

LogClock g_clock = &LocalNow;

// Writes the whole buffer, retrying short writes and interruptions.
bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The log stays open for appending between lines: one write per line keeps
// every line in the file when LogMessage returns, without an open and a close
// each time.
int g_logFd = -1;

void CloseLogFile() {
  if (g_logFd >= 0) ::close(g_logFd);
  g_logFd = -1;
}

// The open log, opened again when another program has removed the file.
int LogFileForAppending() {
  if (g_logFd >= 0) {
    struct stat info;
    if (::fstat(g_logFd, &info) == 0 && info.st_nlink > 0) return g_logFd;
    CloseLogFile();
  }
  g_logFd = ::open(g_szLogPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  return g_logFd;
}

}  // namespace

void SetLogClock(LogClock clock) { g_clock = clock != nullptr ? clock : &LocalNow; }

void ResetActivityLog() {
  CloseLogFile();
  std::memset(g_szLogPath, 0, sizeof g_szLogPath);
}

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

  std::tm now = g_clock();
  char prefix[64];
  int prefixLength = std::snprintf(prefix, sizeof prefix, "* %02d:%02d:%02d %02d:%02d:%02d - ",
                                   now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour,
                                   now.tm_min, now.tm_sec);
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
