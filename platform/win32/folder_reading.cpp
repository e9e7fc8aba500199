// Reading a folder's entries on Windows; their order is the listing's
// (folder_listing.cpp), the same as every other build's.
#include <windows.h>

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/folder_listing.h"
#include "platform/path_separator.h"

namespace valmero {

bool ReadFolderEntries(const char* folder, std::vector<KeyedEntry>& entries) {
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
  return complete;
}

}  // namespace valmero
