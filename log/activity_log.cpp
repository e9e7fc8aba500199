#include "log/activity_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"
#include "platform/log_file.h"
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
  CloseLog();
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

  if (g_szLogPath[0] == '\0' || !AppendToLog(g_szLogPath, line, lineLength)) {
    TraceLastError("fopen");
    return -1;
  }
  return 0;
}

int StartActivityLog(char* startDir) {
  std::memset(startDir, 0, PATH_SIZE);
  CurrentFolder(startDir, PATH_SIZE);
  ResetActivityLog();
  if (startDir[0] != '\0') {
    char path[PATH_SIZE];
    if (FormatPath(path, sizeof path, "%s" VALMERO_SEP "mirqlog.txt", startDir)) {
      std::memcpy(g_szLogPath, path, sizeof path);
    }
  }
  if (g_szLogPath[0] != '\0') RecreateLog(g_szLogPath);
  LogMessage("%s", LOG_START_LINE);
  return 0;
}

}  // namespace valmero
