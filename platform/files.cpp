#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::string FindFileIgnoringCase(const char* path) {
  if (CanOpenForReading(path)) return path;
  const char* slash = std::strrchr(path, '/');
  std::string folder = slash == nullptr ? "." : (slash == path ? "/" : FolderOf(path));
  const char* name = slash == nullptr ? path : slash + 1;
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
  std::string found = slash == nullptr ? best : std::string(path, static_cast<std::size_t>(slash - path + 1)) + best;
  return CanOpenForReading(found.c_str()) ? found : std::string();
}

bool MakeDirectory(const char* path) {
  return path[0] != '\0' && ::mkdir(path, 0777) == 0;
}

}  // namespace valmero
