#include "platform/file_copy.h"

#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/win32/temporary_name.h"

namespace valmero {

namespace {

CopyMethod g_lastMethod = CopyMethod::None;

bool IsRegularFile(const char* path) {
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

// The system's own copy keeps the song's date and attributes. It goes to a
// fresh name beside the destination first: a failed copy leaves nothing
// under the final name and the file that was there untouched.
int CopyFileReplacing(const char* source, const char* destination) {
  g_lastMethod = CopyMethod::None;
  if (!IsRegularFile(source)) {
    errno = ::GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES ? ENOENT : EISDIR;
    return -1;
  }
  std::string temporaryPath;
  HANDLE reserved = CreateTemporaryBeside(destination, temporaryPath);
  if (reserved == INVALID_HANDLE_VALUE) {
    DWORD error = ::GetLastError();
    errno = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
    return -1;
  }
  ::CloseHandle(reserved);
  // The reserved name is ours: the copy may replace it.
  BOOL cancel = FALSE;
  bool copied = ::CopyFileExA(source, temporaryPath.c_str(), nullptr, nullptr, &cancel, 0) != 0 &&
                ::MoveFileExA(temporaryPath.c_str(), destination, MOVEFILE_REPLACE_EXISTING) != 0;
  if (!copied) {
    ::DeleteFileA(temporaryPath.c_str());
    errno = EIO;
    return -1;
  }
  g_lastMethod = CopyMethod::System;
  return 0;
}

CopyMethod LastCopyMethod() { return g_lastMethod; }

// The system copies its own way; there is nothing slower to force.
void LimitCopyMethods(CopyMethod) {}

}  // namespace valmero
