#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ascii_case.h"

namespace valmero {

void CloseFile(int fd) { ::close(fd); }

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = ::write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool CanOpenForReading(const char* path) {
  // Without O_NONBLOCK a named pipe in a song folder would stop the run for
  // good, waiting for a writer that never comes.
  int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

int OpenRegularForReading(const char* path) {
  int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  const bool known = ::fstat(fd, &info) == 0;
  if (!known || !S_ISREG(info.st_mode)) {
    // A failed fstat has set errno and left `info` unfilled.
    const int error = !known ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = error;
    return -1;
  }
  // Reads of a regular file block as they always do.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool CanListFolder(const char* path) {
  int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool CanWriteInFolder(const char* path) {
  return IsFolder(path) && ::faccessat(AT_FDCWD, path, W_OK | X_OK, AT_EACCESS) == 0;
}

bool IsFolder(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool PathExists(const char* path) {
  struct stat info;
  return ::lstat(path, &info) == 0;
}

std::string FolderOf(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash == nullptr ? std::string() : std::string(path, static_cast<std::size_t>(slash - path));
}

namespace {

// The folder to list for a path and the name within it.
std::string ListedFolderOf(const char* path, const char*& name) {
  const char* slash = std::strrchr(path, '/');
  name = slash == nullptr ? path : slash + 1;
  return slash == nullptr ? "." : (slash == path ? "/" : FolderOf(path));
}

// The first entry of a listing whose upper-cased name is `wanted`, or null.
const KeyedEntry* FirstWithUpperName(const std::vector<KeyedEntry>& listing, const std::string& wanted) {
  auto match = std::lower_bound(listing.begin(), listing.end(), wanted,
                                [](const KeyedEntry& entry, const std::string& key) { return entry.upper < key; });
  return match == listing.end() || match->upper != wanted ? nullptr : &*match;
}

}  // namespace

std::string FindFileIgnoringCase(const char* path) { return CFileFinder().Find(path); }

const std::vector<KeyedEntry>& CFileFinder::ListingOf(const std::string& folder) {
  auto known = m_folders.find(folder);
  if (known != m_folders.end()) return known->second;
  std::vector<KeyedEntry>& listing = m_folders[folder];
  ListFolderKeyed(folder.c_str(), listing);
  return listing;
}

std::string CFileFinder::Find(const char* path) {
  if (CanOpenForReading(path)) return path;
  const char* name = nullptr;
  const std::string folder = ListedFolderOf(path, name);
  const std::string wanted = UpperAscii(name);
  const std::string before(path, static_cast<std::size_t>(name - path));
  for (int attempt = 0; attempt < 2; ++attempt) {
    const KeyedEntry* match = FirstWithUpperName(ListingOf(folder), wanted);
    if (match == nullptr) return {};
    std::string found = before + match->entry.name;
    if (CanOpenForReading(found.c_str())) return found;
    // The folder changed since it was listed: once more with a new listing.
    m_folders.erase(folder);
  }
  return {};
}

bool SyncFile(int fd) { return ::fsync(fd) == 0; }

bool RenameReplacing(const char* from, const char* to) { return ::rename(from, to) == 0; }

void RemoveFile(const char* path) { ::unlink(path); }

bool IsSameFolder(const char* a, const char* b) {
  struct stat first, second;
  return ::stat(a, &first) == 0 && ::stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

bool MakeDirectory(const char* path) {
  return path[0] != '\0' && ::mkdir(path, 0777) == 0;
}

}  // namespace valmero
