// Reading a folder's entries on POSIX systems; their order is the listing's
// (folder_listing.cpp).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/folder_listing.h"

namespace valmero {

namespace {

bool IsDirectoryEntry(DIR* dir, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type == DT_REG) return false;
  // Unknown to the file system's listing, or a link: ask for what it is.
  struct stat info;
  if (::fstatat(::dirfd(dir), entry.d_name, &info, 0) != 0) return false;
  return S_ISDIR(info.st_mode);
}

}  // namespace

bool ReadFolderEntries(const char* folder, std::vector<KeyedEntry>& entries) {
  DIR* dir = ::opendir(folder);
  if (dir == nullptr) return false;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    KeyedEntry keyed{UpperAscii(entry->d_name), {entry->d_name, IsDirectoryEntry(dir, *entry)}};
    entries.push_back(std::move(keyed));
  }
  ::closedir(dir);
  return true;
}

}  // namespace valmero
