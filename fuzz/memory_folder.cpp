#include "fuzz/memory_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <string>

namespace {

using valmero::fuzz::MEMORY_FOLDER;

// Plain names, names in other cases (found by the case-blind lookup only),
// two names that differ only in case (the first in byte order wins), a song
// without its companion and a companion without its song.
const char* const kNames[] = {"1.mp3",   "1.mcg",   "2.MP3", "2.Mcg", "12.mp3", "12.mcg", "12.MCG",
                              "007.mp3", "007.mcg", "3.mp3", "4.mcg", "-5.mp3", "-5.mcg", "list.txt"};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

// The descriptor handed out for an open file of the folder: a real one kept
// open for good, so that no other file can be given its number.
int FakeDescriptor() {
  static int fd = -1;
  if (fd < 0) fd = ::fcntl(2, F_DUPFD_CLOEXEC, 100);
  return fd;
}

bool IsFolder(const char* path) { return std::strcmp(path, MEMORY_FOLDER) == 0; }

// The name of a path directly in the folder, or nullptr.
const char* NameInFolder(const char* path) {
  std::size_t length = std::strlen(MEMORY_FOLDER);
  if (std::strncmp(path, MEMORY_FOLDER, length) != 0 || path[length] != '/') return nullptr;
  return path + length + 1;
}

bool Exists(const char* name) {
  for (const char* entry : kNames) {
    if (std::strcmp(entry, name) == 0) return true;
  }
  return false;
}

struct MemoryListing {
  std::size_t next = 0;
  dirent entry;
} g_listing;

DIR* ListingHandle() { return reinterpret_cast<DIR*>(&g_listing); }

}  // namespace

extern "C" {

int __real_open(const char* path, int flags, ...);
int __real_close(int fd);
DIR* __real_opendir(const char* path);
dirent* __real_readdir(DIR* dir);
int __real_closedir(DIR* dir);

int __wrap_open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list args;
    va_start(args, flags);
    mode = static_cast<mode_t>(va_arg(args, int));
    va_end(args);
  }
  if (const char* name = NameInFolder(path)) {
    if (std::strchr(name, '/') == nullptr && Exists(name) && (flags & O_ACCMODE) == O_RDONLY) return FakeDescriptor();
    errno = ENOENT;
    return -1;
  }
  return __real_open(path, flags, mode);
}

int __wrap_close(int fd) { return fd == FakeDescriptor() ? 0 : __real_close(fd); }

DIR* __wrap_opendir(const char* path) {
  if (!IsFolder(path)) return __real_opendir(path);
  g_listing.next = 0;
  return ListingHandle();
}

dirent* __wrap_readdir(DIR* dir) {
  if (dir != ListingHandle()) return __real_readdir(dir);
  // "." and ".." come first, as on disk.
  static const char* const dots[] = {".", ".."};
  std::size_t index = g_listing.next++;
  const char* name = index < 2 ? dots[index] : index - 2 < kNameCount ? kNames[index - 2] : nullptr;
  if (name == nullptr) return nullptr;
  std::memset(&g_listing.entry, 0, sizeof g_listing.entry);
  std::strncpy(g_listing.entry.d_name, name, sizeof g_listing.entry.d_name - 1);
  g_listing.entry.d_type = index < 2 ? DT_DIR : DT_REG;
  return &g_listing.entry;
}

int __wrap_closedir(DIR* dir) { return dir == ListingHandle() ? 0 : __real_closedir(dir); }

}  // extern "C"
