#include "platform/file_copy.h"

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/temporary_file.h"
#include "platform/win32/long_path.h"

namespace valmero {

namespace {

CopyMethod g_lastMethod = CopyMethod::None;

}  // namespace

// The system's own copy keeps the song's date and attributes. It goes to a
// fresh name beside the destination: a failed copy leaves nothing there.
bool CopyFileAside(const char* source, const char* destination, std::string& temporaryPath) {
  g_lastMethod = CopyMethod::None;
  DWORD attributes = ::GetFileAttributesA(source);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    errno = attributes == INVALID_FILE_ATTRIBUTES ? ENOENT : EISDIR;
    return false;
  }
  int reserved = CreateTemporaryBeside(destination, 0666, temporaryPath);
  if (reserved < 0) return false;
  ::_close(reserved);
  // The reserved name is ours: the copy may replace it.
  BOOL cancel = FALSE;
  if (::CopyFileExW(LongPath(source).c_str(), LongPath(temporaryPath).c_str(), nullptr, nullptr, &cancel, 0) == 0) {
    errno = ErrnoOfLastError();
    DeleteLongPath(temporaryPath);
    temporaryPath.clear();
    return false;
  }
  g_lastMethod = CopyMethod::System;
  return true;
}

bool CopyFileReplacing(const char* source, const char* destination) {
  std::string temporaryPath;
  if (!CopyFileAside(source, destination, temporaryPath)) return false;
  if (MoveReplacing(temporaryPath, destination)) return true;
  errno = ErrnoOfLastError();
  DeleteLongPath(temporaryPath);
  return false;
}

CopyMethod LastCopyMethod() { return g_lastMethod; }

// The system copies its own way; there is nothing slower to force.
void LimitCopyMethods(CopyMethod) {}

}  // namespace valmero
