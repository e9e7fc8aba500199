// Windows cannot lock a folder: the lock is a named mutex of the session,
// named after the folder's full path in capitals (the file system matches
// names without regard to case), held until the run ends or the program
// dies, when the system lets go of it.
#include "platform/folder_lock.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/ascii_case.h"
#include "platform/folder_listing.h"
#include "platform/path_separator.h"
#include "platform/temporary_file.h"
#include "platform/win32/long_path.h"

namespace valmero {

namespace {

// Kernel handles fit 32 bits on 64-bit Windows, by the system's own rule for
// handles shared with 32-bit programs: the lock keeps its handle in m_fd.
HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd)); }

// A mutex name holds no backslash and at most MAX_PATH characters: the
// path's 64-bit FNV-1a hash stands for it.
std::string MutexNameOf(const char* folder) {
  char full[MAX_PATH * 4];
  DWORD length = ::GetFullPathNameA(folder, sizeof full, full, nullptr);
  std::string key = UpperAscii(length > 0 && length < sizeof full ? std::string(full, length) : folder);
  while (!key.empty() && key.back() == PATH_SEPARATOR) key.pop_back();
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : key) hash = (hash ^ c) * 1099511628211ull;
  char name[64];
  std::snprintf(name, sizeof name, "Local\\VALMERO-folder-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

CFolderLock::~CFolderLock() {
  if (m_fd >= 0) ::CloseHandle(HandleOf(m_fd));
}

FolderLockResult CFolderLock::Take(const char* folder) {
  if (m_fd >= 0) ::CloseHandle(HandleOf(m_fd));
  m_fd = -1;
  m_folder = folder;
  DWORD attributes = ::GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return FolderLockResult::Unavailable;
  }
  HANDLE mutex = ::CreateMutexA(nullptr, TRUE, MutexNameOf(folder).c_str());
  if (mutex == nullptr) return FolderLockResult::Unavailable;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return FolderLockResult::InUse;
  }
  m_fd = static_cast<int>(reinterpret_cast<std::intptr_t>(mutex));
  return FolderLockResult::Held;
}

void CFolderLock::RemoveLeftTemporaries() {
  if (m_fd < 0) return;
  std::vector<FolderEntry> entries;
  if (!ListFolder(m_folder.c_str(), entries)) return;
  for (const FolderEntry& entry : entries) {
    if (!entry.isDirectory && IsTemporaryName(entry.name.c_str())) {
      DeleteLongPath(m_folder + PATH_SEPARATOR + entry.name);
    }
  }
}

}  // namespace valmero
