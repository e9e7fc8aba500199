#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/ascii_case.h"

namespace valmero {

namespace {

// The listing order on names whose upper-cased keys are already made.
// std::string compares through char_traits<char>, which orders bytes as
// unsigned values, so names with bytes above 127 sort after ASCII ones on
// every platform, whatever the signedness of char.
bool KeyedBefore(const KeyedEntry& a, const KeyedEntry& b) {
  int byUpper = a.upper.compare(b.upper);
  if (byUpper != 0) return byUpper < 0;
  return a.entry.name.compare(b.entry.name) < 0;
}

bool IsDirectoryEntry(DIR* dir, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type == DT_REG) return false;
  // Unknown to the file system's listing, or a link: ask for what it is.
  struct stat info;
  if (::fstatat(::dirfd(dir), entry.d_name, &info, 0) != 0) return false;
  return S_ISDIR(info.st_mode);
}

}  // namespace

bool ListsBefore(const std::string& a, const std::string& b) {
  return KeyedBefore({UpperAscii(a), {a, false}}, {UpperAscii(b), {b, false}});
}

bool ListFolderKeyed(const char* folder, std::vector<KeyedEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(folder);
  if (dir == nullptr) return false;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    KeyedEntry keyed{UpperAscii(entry->d_name), {entry->d_name, IsDirectoryEntry(dir, *entry)}};
    entries.push_back(std::move(keyed));
  }
  ::closedir(dir);
  // The upper-cased key is made once per entry rather than at every compare.
  std::sort(entries.begin(), entries.end(), &KeyedBefore);
  return true;
}

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::vector<KeyedEntry> keyed;
  if (!ListFolderKeyed(folder, keyed)) return false;
  entries.reserve(keyed.size());
  for (KeyedEntry& item : keyed) entries.push_back(std::move(item.entry));
  return true;
}

}  // namespace valmero
