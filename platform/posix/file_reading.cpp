#include "platform/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace valmero {

static_assert(CURRENT_FOLDER == AT_FDCWD, "a whole path is opened relative to the current folder");

CHeldFolder::CHeldFolder(const char* folder) : m_fd(::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

CHeldFolder::~CHeldFolder() {
  if (m_fd >= 0) ::close(m_fd);
}

int OpenFileForReading(int folderFd, const char* name, long long& size) {
  // O_NONBLOCK keeps a named pipe from stopping the scan; it has no effect on
  // the reading of a regular file.
  int fd = ::openat(folderFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  int error = 0;
  if (::fstat(fd, &info) != 0) error = errno;
  else if (S_ISDIR(info.st_mode)) error = EISDIR;
  if (error == 0) {
    size = info.st_size;
    return fd;
  }
  ::close(fd);
  errno = error;
  return -1;
}

long long ReadFileAt(int fd, void* buffer, std::size_t size, long long offset) {
  ssize_t got;
  do {
    got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got;
}

}  // namespace valmero
