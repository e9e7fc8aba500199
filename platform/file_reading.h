// Reading files by name in a folder held open, and at a given offset: a scan
// of a large folder opens every song without walking the folder's path again
// where the platform can.
#pragma once

#include "platform/files.h"

#include <cstddef>

namespace valmero {

// The folder `name`s are taken relative to when no folder is held: the
// current one, so that a whole path names the file itself.
constexpr int CURRENT_FOLDER = -100;

// A folder held open for the length of a scan. Fd() is CURRENT_FOLDER when
// the folder cannot be held (or the platform opens files only by path); the
// files are then opened by their whole paths.
class CHeldFolder {
 public:
  explicit CHeldFolder(const char* folder);
  ~CHeldFolder();
  CHeldFolder(const CHeldFolder&) = delete;
  CHeldFolder& operator=(const CHeldFolder&) = delete;
  int Fd() const { return m_fd >= 0 ? m_fd : CURRENT_FOLDER; }

 private:
  int m_fd = -1;
};

// Opens the file `name` in `folderFd` for reading and tells its size. A
// folder cannot be opened as a file, and a named pipe never makes the call
// wait. -1 when it cannot be opened.
int OpenFileForReading(int folderFd, const char* name, long long& size);

// Reads up to `size` bytes from `offset` on: the count read, -1 on failure.
long long ReadFileAt(int fd, void* buffer, std::size_t size, long long offset);

}  // namespace valmero
