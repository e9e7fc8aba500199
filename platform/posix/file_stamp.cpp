#include "platform/file_stamp.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/temporary_file.h"

namespace valmero {

namespace {

constexpr int64_t NANOSECONDS = 1000000000;

FileStamp StampOf(const struct stat& status) {
  FileStamp stamp;
  stamp.size = static_cast<uint64_t>(status.st_size);
  stamp.modified = static_cast<int64_t>(status.st_mtim.tv_sec) * NANOSECONDS + status.st_mtim.tv_nsec;
  stamp.mode = status.st_mode & 07777;
  return stamp;
}

struct timespec TimeOf(int64_t modified) {
  int64_t seconds = modified / NANOSECONDS;
  int64_t rest = modified % NANOSECONDS;
  if (rest < 0) {
    rest += NANOSECONDS;
    --seconds;
  }
  return {static_cast<time_t>(seconds), static_cast<long>(rest)};
}

}  // namespace

bool ReadFileStamp(const char* path, FileStamp& stamp) {
  struct stat status;
  if (::stat(path, &status) != 0 || !S_ISREG(status.st_mode) || ::access(path, R_OK) != 0) return false;
  stamp = StampOf(status);
  return true;
}

bool ListStampedFiles(const char* folder, bool (*wanted)(const std::string& name), std::vector<StampedFile>& files) {
  DIR* dir = ::opendir(folder);
  if (dir == nullptr) return false;
  while (dirent* entry = ::readdir(dir)) {
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
    std::string name = entry->d_name;
    if (!wanted(name)) continue;
    struct stat status;
    if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode)) {
      continue;
    }
    files.push_back(StampedFile{std::move(name), StampOf(status)});
  }
  ::closedir(dir);
  return true;
}

bool FolderKeepsExactDates(const char* folder) {
  std::string temporary;
  int fd = CreateTemporaryBeside((std::string(folder) + "/VALMERO").c_str(), 0600, temporary);
  if (fd < 0) return true;
  // An odd second with a fraction: a file system that keeps less shows it.
  const struct timespec probe = {1000000001, 123456789};
  const struct timespec times[2] = {{0, UTIME_NOW}, probe};
  bool set = ::futimens(fd, times) == 0;
  ::close(fd);
  // Read back by name once closed: a file system in user space may tell the
  // open file's date as it was set, not as it keeps it.
  FileStamp kept;
  bool exact = set && ReadFileStamp(temporary.c_str(), kept) &&
               kept.modified == static_cast<int64_t>(probe.tv_sec) * NANOSECONDS + probe.tv_nsec;
  ::unlink(temporary.c_str());
  return exact;
}

// The access time is set too: fusefat ignores a date set without one.
bool SetFileDate(const char* path, int64_t modified) {
  const struct timespec times[2] = {{0, UTIME_NOW}, TimeOf(modified)};
  return ::utimensat(AT_FDCWD, path, times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool SetFileMode(const char* path, unsigned mode) { return ::chmod(path, static_cast<mode_t>(mode)) == 0; }

unsigned ModeOfNewCopy(unsigned mode) {
  static const mode_t mask = [] {
    mode_t current = ::umask(022);
    ::umask(current);
    return current;
  }();
  return mode & 0777 & ~static_cast<unsigned>(mask);
}

}  // namespace valmero
