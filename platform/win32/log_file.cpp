// The log is opened and closed for every line: a file held open could be
// neither removed nor replaced by another program, and every line is in the
// file when the call returns.
#include "platform/log_file.h"

#include <windows.h>

#include <cstring>

namespace valmero {

bool AppendToLog(const char* path, const char* data, std::size_t size) {
  HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) != 0 && written == size;
  DWORD error = ::GetLastError();
  ::CloseHandle(file);
  if (!ok) ::SetLastError(error);
  return ok;
}

void CloseLog() {}

void RecreateLog(const char* path) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path);
  file = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

void CurrentFolder(char* folder, std::size_t size) {
  DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(size), folder);
  if (length == 0 || length >= size) std::memset(folder, 0, size);
}

std::tm LocalTimeOf(std::time_t when) {
  std::tm local{};
  ::localtime_s(&local, &when);
  return local;
}

unsigned LastErrorCode() { return static_cast<unsigned>(::GetLastError()); }

}  // namespace valmero
