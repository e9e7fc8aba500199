#include "platform/win32/long_path.h"

#include <cerrno>

namespace valmero {

std::wstring LongPath(const std::string& path) {
  int length = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  // Already in the long form ("\\?\Z:\..."): given as it is, not a second time.
  if (wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
  DWORD fullLength = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (fullLength == 0) return wide;
  std::wstring full(fullLength, L'\0');
  fullLength = ::GetFullPathNameW(wide.c_str(), fullLength, full.data(), nullptr);
  full.resize(fullLength);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void DeleteLongPath(const std::string& path) { ::DeleteFileW(LongPath(path).c_str()); }

int ErrnoOfLastError() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    default:
      return EACCES;
  }
}

}  // namespace valmero
