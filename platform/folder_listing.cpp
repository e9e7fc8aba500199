#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace valmero {

namespace {

std::string UpperAscii(const std::string& text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

// std::string compares through char_traits<char>, which orders bytes as
// unsigned values, so names with bytes above 127 sort after ASCII ones on
// every platform, whatever the signedness of char.
int CompareBytes(const std::string& a, const std::string& b) { return a.compare(b); }

bool IsDirectoryEntry(int dirFd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type == DT_REG) return false;
  // Unknown to the file system's listing, or a link: ask for what it is.
  struct stat info;
  if (::fstatat(dirFd, entry.d_name, &info, 0) != 0) return false;
  return S_ISDIR(info.st_mode);
}

}  // namespace

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(folder);
  if (dir == nullptr) return false;
  int dirFd = ::dirfd(dir);
  std::vector<std::pair<std::string, FolderEntry>> keyed;
  while (dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    FolderEntry listed;
    listed.name = entry->d_name;
    listed.isDirectory = IsDirectoryEntry(dirFd, *entry);
    keyed.emplace_back(UpperAscii(listed.name), std::move(listed));
  }
  ::closedir(dir);

  // The upper-cased key is made once per entry rather than at every compare.
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    int byUpper = CompareBytes(a.first, b.first);
    if (byUpper != 0) return byUpper < 0;
    return CompareBytes(a.second.name, b.second.name) < 0;
  });
  entries.reserve(keyed.size());
  for (auto& item : keyed) entries.push_back(std::move(item.second));
  return true;
}

}  // namespace valmero
