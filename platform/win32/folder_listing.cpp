#include "platform/folder_listing.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "core/song_record.h"
#include "platform/path_separator.h"

namespace valmero {

bool ListFolder(const char* folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::string pattern = std::string(folder) + VALMERO_SEP "*";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // An empty folder still holds "." and ".."; only a missing or unreadable
    // one ends here. A root's listing may hold nothing at all.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    FolderEntry entry;
    entry.name = found.cFileName;
    entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entries.push_back(std::move(entry));
  } while (::FindNextFileA(search, &found));
  bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(search);
  if (!complete) {
    entries.clear();
    return false;
  }
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return ListsBefore(a.name, b.name); });
  return true;
}

}  // namespace valmero
