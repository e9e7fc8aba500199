#include "platform/same_file.h"

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/files.h"
#include "platform/folder_listing.h"

namespace valmero {

namespace {

const char* NameOf(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash == nullptr ? path : slash + 1;
}

std::string FolderToList(const char* path) {
  std::string folder = FolderOf(path);
  if (std::strchr(path, '/') == nullptr) return ".";
  return folder.empty() ? "/" : folder;
}

// A file system that ignores case answers for a name it does not hold as
// written (FAT on Linux gives each spelling an inode number of its own).
bool AnswersForOtherCase(const char* path, const char* existing) {
  const char* name = NameOf(path);
  const char* existingName = NameOf(existing);
  if (std::strcmp(name, existingName) == 0 || UpperAscii(name) != UpperAscii(existingName)) return false;
  const std::string folder = FolderToList(path);
  if (!IsSameFolder(folder.c_str(), FolderToList(existing).c_str())) return false;
  struct stat info;
  if (::stat(path, &info) != 0) return false;
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder.c_str(), entries)) return false;
  for (const FolderEntry& entry : entries) {
    if (entry.name == name) return false;  // a file of its own under that spelling
  }
  return true;
}

}  // namespace

bool WouldReplaceFile(const char* path, const char* existing) {
  struct stat written, read;
  if (::stat(existing, &read) != 0) return false;
  if (::stat(path, &written) == 0 && written.st_dev == read.st_dev && written.st_ino == read.st_ino) return true;
  return AnswersForOtherCase(path, existing);
}

}  // namespace valmero
