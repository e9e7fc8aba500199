#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace valmero {

namespace {

std::string UpperAscii(const char* text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

}  // namespace

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

// `name` in the folder part of `path`.
std::string Beside(const char* path, const char* name, const std::string& found) {
  return std::string(path, static_cast<std::size_t>(name - path)) + found;
}

}  // namespace

std::string FindFileIgnoringCase(const char* path) {
  if (CanOpenForReading(path)) return path;
  const char* name = nullptr;
  std::string folder = ListedFolderOf(path, name);
  std::string wanted = UpperAscii(name);

  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return {};
  std::string best;
  while (dirent* entry = ::readdir(dir)) {
    if (UpperAscii(entry->d_name) != wanted) continue;
    if (best.empty() || std::strcmp(entry->d_name, best.c_str()) < 0) best = entry->d_name;
  }
  ::closedir(dir);
  if (best.empty()) return {};
  std::string found = Beside(path, name, best);
  return CanOpenForReading(found.c_str()) ? found : std::string();
}

const CFileFinder::Listing& CFileFinder::ListingOf(const std::string& folder) {
  auto known = m_folders.find(folder);
  if (known != m_folders.end()) return known->second;
  Listing& listing = m_folders[folder];
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (dirent* entry = ::readdir(dir)) listing.emplace_back(UpperAscii(entry->d_name), entry->d_name);
    ::closedir(dir);
  }
  // std::string orders bytes as unsigned values: within one upper-cased name
  // the first entry is the first name in byte order, the one chosen.
  std::sort(listing.begin(), listing.end());
  return listing;
}

std::string CFileFinder::Find(const char* path) {
  if (CanOpenForReading(path)) return path;
  const char* name = nullptr;
  const Listing& listing = ListingOf(ListedFolderOf(path, name));
  const std::string wanted = UpperAscii(name);
  auto match = std::lower_bound(listing.begin(), listing.end(), wanted,
                                [](const Listing::value_type& entry, const std::string& key) { return entry.first < key; });
  if (match == listing.end() || match->first != wanted) return {};
  std::string found = Beside(path, name, match->second);
  return CanOpenForReading(found.c_str()) ? found : FindFileIgnoringCase(path);
}

bool MakeDirectory(const char* path) {
  return path[0] != '\0' && ::mkdir(path, 0777) == 0;
}

}  // namespace valmero
