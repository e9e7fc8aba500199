// Loaded into valmero-cli with LD_PRELOAD by the fault tests: makes the
// system's file calls misbehave the way real disks and network file systems
// do, for the files whose path contains VALMERO_FAULT_MATCH.
//   VALMERO_FAULT_MODE=short   every write, copy_file_range and sendfile moves
//                              at most 3 bytes (short writes, each succeeding)
//   VALMERO_FAULT_MODE=fsync   fsync fails with EIO
//   VALMERO_FAULT_MODE=close   close closes the file but reports EIO, as a
//                              network file system does for a delayed write
//   VALMERO_FAULT_MODE=signal  closing the file sends the program the signal
//                              VALMERO_FAULT_SIGNAL, as a user or a service
//                              manager would in the middle of the work
//   VALMERO_FAULT_MODE=read    read fails with EIO once the file's offset is
//                              past its start (an error in the middle)
//   VALMERO_FAULT_MODE=slow    every write, copy_file_range and sendfile
//                              waits 5 ms first (a slow disk), so that other
//                              processes can act during a run
//   VALMERO_FAULT_MODE=rename  the VALMERO_FAULT_COUNTth rename to a path
//                              that contains VALMERO_FAULT_MATCH is done and
//                              then sends the program VALMERO_FAULT_SIGNAL:
//                              a kill or a stop at a chosen file
// The log and every other file are left alone.
#include <dlfcn.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t SHORT_WRITE = 3;

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool ModeIs(const char* mode) {
  const char* wanted = std::getenv("VALMERO_FAULT_MODE");
  return wanted != nullptr && std::strcmp(wanted, mode) == 0;
}

bool IsTarget(int fd) {
  const char* match = std::getenv("VALMERO_FAULT_MATCH");
  if (match == nullptr || *match == '\0') return false;
  char link[64];
  char path[PATH_MAX];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t length = ::readlink(link, path, sizeof path - 1);
  if (length <= 0) return false;
  path[length] = '\0';
  return std::strstr(path, match) != nullptr;
}

std::size_t Shortened(int fd, std::size_t count) {
  if (ModeIs("slow") && IsTarget(fd)) ::usleep(5000);
  return ModeIs("short") && count > SHORT_WRITE && IsTarget(fd) ? SHORT_WRITE : count;
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* data, std::size_t count) {
  static auto real = Real<ssize_t (*)(int, const void*, std::size_t)>("write");
  return real(fd, data, Shortened(fd, count));
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, std::size_t count, unsigned flags) {
  static auto real = Real<ssize_t (*)(int, off64_t*, int, off64_t*, std::size_t, unsigned)>("copy_file_range");
  return real(in, inOffset, out, outOffset, Shortened(out, count), flags);
}

ssize_t sendfile(int out, int in, off_t* offset, std::size_t count) {
  static auto real = Real<ssize_t (*)(int, int, off_t*, std::size_t)>("sendfile");
  return real(out, in, offset, Shortened(out, count));
}

ssize_t read(int fd, void* data, std::size_t count) {
  static auto real = Real<ssize_t (*)(int, void*, std::size_t)>("read");
  if (ModeIs("read") && ::lseek(fd, 0, SEEK_CUR) > 0 && IsTarget(fd)) {
    errno = EIO;
    return -1;
  }
  return real(fd, data, count);
}

int fsync(int fd) {
  static auto real = Real<int (*)(int)>("fsync");
  if (ModeIs("fsync") && IsTarget(fd)) {
    errno = EIO;
    return -1;
  }
  return real(fd);
}

int close(int fd) {
  static auto real = Real<int (*)(int)>("close");
  bool fail = ModeIs("close") && IsTarget(fd);
  bool signal = ModeIs("signal") && IsTarget(fd);
  int result = real(fd);
  if (signal && std::getenv("VALMERO_FAULT_SIGNAL") != nullptr) {
    ::kill(::getpid(), std::atoi(std::getenv("VALMERO_FAULT_SIGNAL")));
  }
  if (fail && result == 0) {
    errno = EIO;
    return -1;
  }
  return result;
}

int rename(const char* from, const char* to) {
  static auto real = Real<int (*)(const char*, const char*)>("rename");
  static int s_renames = 0;
  int result = real(from, to);
  const char* match = std::getenv("VALMERO_FAULT_MATCH");
  if (ModeIs("rename") && match != nullptr && *match != '\0' && std::strstr(to, match) != nullptr) {
    const char* count = std::getenv("VALMERO_FAULT_COUNT");
    const char* signal = std::getenv("VALMERO_FAULT_SIGNAL");
    if (++s_renames == (count == nullptr ? 1 : std::atoi(count)) && signal != nullptr) {
      ::kill(::getpid(), std::atoi(signal));
    }
  }
  return result;
}

}  // extern "C"
