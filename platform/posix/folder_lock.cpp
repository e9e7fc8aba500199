#include "platform/folder_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/own_file.h"
#include "platform/temporary_file.h"

namespace valmero {

CFolderLock::~CFolderLock() {
  if (m_fd >= 0) ::close(m_fd);
}

FolderLockResult CFolderLock::Take(const char* folder) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return FolderLockResult::Unavailable;
  FileLockResult locked = LockOpenFile(m_fd);
  if (locked == FileLockResult::Held) return FolderLockResult::Held;
  bool inUse = locked == FileLockResult::InUse;
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
