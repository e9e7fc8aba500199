// The log is opened with every sharing allowed, so that another program may
// read it, remove it or put another file in its place at any time, as on
// other systems.
#include "platform/own_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace valmero {

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

HANDLE OpenForAppending(const char* path, DWORD disposition) {
  return ::CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool IdentityOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  return file != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(file, &info) != 0;
}

// A byte far past the end of any log: Windows locks are mandatory, and a
// lock on the text itself would keep a viewer from reading it.
constexpr DWORD LOCK_OFFSET_HIGH = 0x7FFFFFFF;

}  // namespace

// A read-only file, a folder or a device in the log's place is replaced by
// a new, empty, writable file.
int OpenOwnFileForAppending(const char* path) {
  HANDLE file = OpenForAppending(path, OPEN_ALWAYS);
  BY_HANDLE_FILE_INFORMATION info;
  bool own = IdentityOf(file, info) && ::GetFileType(file) == FILE_TYPE_DISK &&
             (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
  if (!own) {
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path);
    ::RemoveDirectoryA(path);
    file = OpenForAppending(path, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) return -1;
  }
  int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_APPEND | _O_BINARY);
  if (fd < 0) ::CloseHandle(file);
  return fd;
}

FileLockResult LockOpenFile(int fd) {
  OVERLAPPED where{};
  where.OffsetHigh = LOCK_OFFSET_HIGH;
  if (::LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
    return FileLockResult::Held;
  }
  return ::GetLastError() == ERROR_LOCK_VIOLATION ? FileLockResult::InUse : FileLockResult::Unavailable;
}

// A file removed while open stays until its last handle goes, marked for
// deletion: such a log is no longer the one the path names.
bool IsStillLinked(int fd) {
  FILE_STANDARD_INFO info{};
  return ::GetFileInformationByHandleEx(HandleOf(fd), FileStandardInfo, &info, sizeof info) != 0 &&
         !info.DeletePending && info.NumberOfLinks > 0;
}

bool PathNamesOpenFile(const char* path, int fd) {
  HANDLE byPath = ::CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION named, open;
  bool same = IdentityOf(byPath, named) && IdentityOf(HandleOf(fd), open) &&
              named.dwVolumeSerialNumber == open.dwVolumeSerialNumber &&
              named.nFileIndexHigh == open.nFileIndexHigh && named.nFileIndexLow == open.nFileIndexLow;
  if (byPath != INVALID_HANDLE_VALUE) ::CloseHandle(byPath);
  return same;
}

bool EmptyOpenFile(int fd) { return ::_chsize_s(fd, 0) == 0; }

}  // namespace valmero
