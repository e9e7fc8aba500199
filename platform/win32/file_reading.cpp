// Win32 opens files by path only: no folder is held, every song is opened by
// its whole path.
#include "platform/file_reading.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace valmero {

CHeldFolder::CHeldFolder(const char*) {}

CHeldFolder::~CHeldFolder() = default;

int OpenFileForReading(int, const char* name, long long& size) {
  int fd = ::_open(name, _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return -1;
  struct _stati64 info;
  if (::_fstati64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
    ::_close(fd);
    errno = EISDIR;
    return -1;
  }
  size = info.st_size;
  return fd;
}

long long ReadFileAt(int fd, void* buffer, std::size_t size, long long offset) {
  if (::_lseeki64(fd, offset, SEEK_SET) < 0) return -1;
  return ::_read(fd, buffer, static_cast<unsigned>(size));
}

}  // namespace valmero
