// Small file-system services over POSIX.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace valmero {

// True when the file can be opened for reading.
bool CanOpenForReading(const char* path);

// The path of an existing file, found without regard to the case of its name,
// because songlists and collections are written by people who do not mind the
// case of a name: the path itself when it can
// be opened; otherwise the entry of its folder whose upper-cased name equals
// the upper-cased name asked for (the first in byte order of the names).
// Empty when there is neither.
std::string FindFileIgnoringCase(const char* path);

// FindFileIgnoringCase for loops over the songs of one collection: a folder
// is listed once, at its first name that does not open as formed, instead of
// once per such name (which made a collection of lower-case companions
// quadratic in its size). A name found in the listing is still opened; when
// that fails, the folder changed since, and FindFileIgnoringCase decides.
class CFileFinder {
 public:
  std::string Find(const char* path);

 private:
  // (upper-cased name, name) of every entry, in that order.
  using Listing = std::vector<std::pair<std::string, std::string>>;
  const Listing& ListingOf(const std::string& folder);

  std::unordered_map<std::string, Listing> m_folders;
};

// Writes the whole buffer, going on after short writes and interruptions.
// False when a write fails (errno tells why).
bool WriteAll(int fd, const void* data, std::size_t size);

// Creates one directory level. False when it exists already or cannot be made.
bool MakeDirectory(const char* path);

// The folder part of a path: everything before its last '/'; empty without one.
std::string FolderOf(const char* path);

}  // namespace valmero
