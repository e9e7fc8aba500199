#include "platform/folder_listing.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// The same order as every other build's: by the upper-cased names byte by
// byte as unsigned values, then by the names themselves.
bool KeyedBefore(const KeyedEntry& a, const KeyedEntry& b) {
  int byUpper = a.upper.compare(b.upper);
  if (byUpper != 0) return byUpper < 0;
  return a.entry.name.compare(b.entry.name) < 0;
}

}  // namespace

bool ListsBefore(const std::string& a, const std::string& b) {
  return KeyedBefore({UpperAscii(a), {a, false}}, {UpperAscii(b), {b, false}});
}

bool ListFolderKeyed(const char* folder, std::vector<KeyedEntry>& entries) {
  entries.clear();
  std::string pattern = std::string(folder) + VALMERO_SEP "*";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // An empty folder still holds "." and ".."; only a missing or unreadable
    // one ends here. A drive's root may hold nothing at all.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries.push_back(KeyedEntry{UpperAscii(found.cFileName), {found.cFileName, isDirectory}});
  } while (::FindNextFileA(search, &found));
  bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(search);
  if (!complete) {
    entries.clear();
    return false;
  }
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
