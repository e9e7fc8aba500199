// Listing one level of a folder in an order that does not depend on the
// file system, so that the same folder gives the same songs everywhere.
#pragma once

#include <string>
#include <vector>

namespace valmero {

struct FolderEntry {
  std::string name;
  bool isDirectory = false;
};

// True when `a` comes before `b` in listing order: by the names upper-cased
// in ASCII, compared byte by byte as unsigned values; names that differ only
// in case by the names themselves.
bool ListsBefore(const std::string& a, const std::string& b);

// Replaces `entries` with the entries directly in `folder`, without "." and
// "..", in listing order. A symbolic link counts as what it points to; a
// dangling one as a file. False (and no entry) when the folder cannot be
// listed.
bool ListFolder(const char* folder, std::vector<FolderEntry>& entries);

// The same, each entry with its upper-cased name beside it (the key of the
// order), for finding names without regard to case.
struct KeyedEntry {
  std::string upper;
  FolderEntry entry;
};
bool ListFolderKeyed(const char* folder, std::vector<KeyedEntry>& entries);

// What each system gives its own form of (folder_reading.cpp): the entries
// with their keys, in the order the file system hands them out. False when
// the folder cannot be listed.
bool ReadFolderEntries(const char* folder, std::vector<KeyedEntry>& entries);

}  // namespace valmero
