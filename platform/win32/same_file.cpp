// Windows matches names without regard to case by itself: two paths name
// one file when the volume and the file index of what they open agree.
#include "platform/same_file.h"

#include <windows.h>

namespace valmero {

namespace {

bool IdentityOf(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE file = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool known = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  return known;
}

}  // namespace

bool WouldReplaceFile(const char* path, const char* existing) {
  BY_HANDLE_FILE_INFORMATION written, read;
  return IdentityOf(existing, read) && IdentityOf(path, written) &&
         written.dwVolumeSerialNumber == read.dwVolumeSerialNumber && written.nFileIndexHigh == read.nFileIndexHigh &&
         written.nFileIndexLow == read.nFileIndexLow;
}

}  // namespace valmero
