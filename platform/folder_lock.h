// A run's claim on its target folder: an advisory lock on the open folder,
// held while the object lives. The kernel releases it when the process ends
// in any way, so a crash never leaves a stale lock behind.
#pragma once

#include <string>

namespace valmero {

enum class FolderLockResult { Held, InUse, Unavailable };

class CFolderLock {
 public:
  CFolderLock() = default;
  CFolderLock(const CFolderLock&) = delete;
  CFolderLock& operator=(const CFolderLock&) = delete;
  ~CFolderLock();

  // InUse when another process holds the folder; Unavailable when the folder
  // cannot be opened or the file system keeps no locks (the run then goes on
  // without one).
  FolderLockResult Take(const char* folder);

  // While held: removes the temporary files (platform/temporary_file.h) that
  // runs which died in this folder left. No living run can own one, since
  // every run writes only while holding its target folder.
  void RemoveLeftTemporaries();

 private:
  int m_fd = -1;
  // Where no open folder can be listed (Windows), its path.
  std::string m_folder;
};

}  // namespace valmero
