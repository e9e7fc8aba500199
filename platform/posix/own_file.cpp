#include "platform/own_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace valmero {

int OpenOwnFileForAppending(const char* path) {
  int fd = ::open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  struct stat info;
  bool own = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0;
  if (!own) {
    if (fd >= 0) ::close(fd);
    ::unlink(path);
    fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
  }
  // Appending, and writes block as they do for any regular file.
  ::fcntl(fd, F_SETFL, O_APPEND);
  return fd;
}

FileLockResult LockOpenFile(int fd) {
  int locked;
  do {
    locked = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return FileLockResult::Held;
  return errno == EWOULDBLOCK ? FileLockResult::InUse : FileLockResult::Unavailable;
}

bool IsStillLinked(int fd) {
  struct stat info;
  return ::fstat(fd, &info) == 0 && info.st_nlink > 0;
}

bool PathNamesOpenFile(const char* path, int fd) {
  struct stat byPath, byFd;
  return ::lstat(path, &byPath) == 0 && ::fstat(fd, &byFd) == 0 && byPath.st_dev == byFd.st_dev &&
         byPath.st_ino == byFd.st_ino;
}

bool EmptyOpenFile(int fd) { return ::ftruncate(fd, 0) == 0; }

}  // namespace valmero
