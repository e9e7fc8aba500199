#include "platform/folder_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/temporary_file.h"

namespace valmero {

CFolderLock::~CFolderLock() {
  if (m_fd >= 0) ::close(m_fd);
}

FolderLockResult CFolderLock::Take(const char* folder) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return FolderLockResult::Unavailable;
  int locked;
  do {
    locked = ::flock(m_fd, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return FolderLockResult::Held;
  bool inUse = errno == EWOULDBLOCK;
  ::close(m_fd);
  m_fd = -1;
  return inUse ? FolderLockResult::InUse : FolderLockResult::Unavailable;
}

void CFolderLock::RemoveLeftTemporaries() {
  if (m_fd < 0) return;
  int listed = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
  if (dir == nullptr) {
    if (listed >= 0) ::close(listed);
    return;
  }
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_type != DT_DIR && IsTemporaryName(entry->d_name)) ::unlinkat(m_fd, entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace valmero
