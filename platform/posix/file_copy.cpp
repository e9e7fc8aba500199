#include "platform/file_copy.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/temporary_file.h"

namespace valmero {

namespace {

CopyMethod g_lastMethod = CopyMethod::None;
CopyMethod g_fastestAllowed = CopyMethod::Reflink;

// One kernel call moves at most this much, so that a huge file still makes
// progress in bounded steps.
constexpr std::size_t KERNEL_CHUNK = std::size_t{1} << 30;
// Large enough that the plain loop is bound by the disk, not by system calls.
constexpr std::size_t BUFFER_SIZE = std::size_t{1} << 20;

bool IsAllowed(CopyMethod method) { return static_cast<int>(method) >= static_cast<int>(g_fastestAllowed); }

// Errors that mean "this way of copying does not work between these two
// files", after which the next way takes over from the current offsets;
// anything else (no room, I/O error, file too large) fails the copy.
bool MeansNotSupported(int error) {
  return error == ENOSYS || error == EOPNOTSUPP || error == EXDEV || error == EINVAL || error == EBADF ||
         error == ENOTTY || error == ETXTBSY;
}

enum class Outcome { Done, NotSupported, Failed };

// Shares the source's blocks when the file system can (btrfs, XFS, bcachefs):
// no data is moved at all. It copies all or nothing, so any refusal simply
// hands over to the next way.
Outcome CopyByReflink(int in, int out) {
  return ::ioctl(out, FICLONE, in) == 0 ? Outcome::Done : Outcome::NotSupported;
}

// One kernel call that moves bytes from `in` to `out` at their own offsets.
using KernelMove = ssize_t (*)(int in, int out, std::size_t count);

ssize_t MoveByFileRange(int in, int out, std::size_t count) {
  return ::copy_file_range(in, nullptr, out, nullptr, count, 0);
}

ssize_t MoveBySendFile(int in, int out, std::size_t count) { return ::sendfile(out, in, nullptr, count); }

// Some file systems answer 0 before the end instead of an error; the copy
// then goes on the next way from where this one stopped, and only a plain
// read at the end of the file proves that everything was copied.
Outcome CopyByKernel(KernelMove move, int in, int out, off_t size, off_t& copied) {
  while (copied < size) {
    ssize_t moved = move(in, out, KERNEL_CHUNK);
    if (moved > 0) {
      copied += moved;
      continue;
    }
    if (moved == 0) return Outcome::NotSupported;
    if (errno == EINTR) continue;
    return MeansNotSupported(errno) ? Outcome::NotSupported : Outcome::Failed;
  }
  return Outcome::Done;
}

// Reads until the end of the file, whatever its size was at the start.
Outcome CopyByReadWrite(int in, int out) {
  static std::unique_ptr<char[]> buffer;
  if (!buffer) buffer.reset(new char[BUFFER_SIZE]);
  for (;;) {
    ssize_t got = ::read(in, buffer.get(), BUFFER_SIZE);
    if (got == 0) return Outcome::Done;
    if (got < 0) {
      if (errno == EINTR) continue;
      return Outcome::Failed;
    }
    if (!WriteAll(out, buffer.get(), static_cast<std::size_t>(got))) return Outcome::Failed;
  }
}

// Tries the ways from the fastest down; each continues where the previous
// one stopped, since all of them move the files' own offsets.
bool CopyData(int in, int out, off_t size) {
  if (IsAllowed(CopyMethod::Reflink) && size > 0 && CopyByReflink(in, out) == Outcome::Done) {
    g_lastMethod = CopyMethod::Reflink;
    return true;
  }
  off_t copied = 0;
  const struct {
    CopyMethod method;
    KernelMove move;
  } kernelWays[] = {{CopyMethod::CopyFileRange, &MoveByFileRange}, {CopyMethod::SendFile, &MoveBySendFile}};
  for (const auto& way : kernelWays) {
    if (!IsAllowed(way.method)) continue;
    g_lastMethod = way.method;
    Outcome outcome = CopyByKernel(way.move, in, out, size, copied);
    if (outcome != Outcome::NotSupported) return outcome == Outcome::Done && CopyByReadWrite(in, out) == Outcome::Done;
  }
  g_lastMethod = CopyMethod::ReadWrite;
  return CopyByReadWrite(in, out) == Outcome::Done;
}

// Closes and removes what a failed copy made, keeping the errno of the failure.
int Fail(int in, int out, const std::string& temporaryPath) {
  int error = errno;
  if (out >= 0) ::close(out);
  if (!temporaryPath.empty()) ::unlink(temporaryPath.c_str());
  if (in >= 0) ::close(in);
  errno = error;
  return -1;
}

}  // namespace

namespace {

int CopyAside(const char* source, const char* destination, std::string& temporaryPath) {
  // O_NONBLOCK: a named pipe must be refused below, not waited on for good;
  // it changes nothing for the regular files that are copied.
  int in = ::open(source, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return -1;
  struct stat status;
  if (::fstat(in, &status) != 0) return Fail(in, -1, {});
  if (!S_ISREG(status.st_mode)) {
    errno = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    return Fail(in, -1, {});
  }

  // The copy keeps the source's permission bits less the umask, as cp does:
  // a private song stays private.
  int out = CreateTemporaryBeside(destination, status.st_mode & 0777, temporaryPath);
  if (out < 0) return Fail(in, -1, {});
  if (!CopyData(in, out, status.st_size)) return Fail(in, out, temporaryPath);

  // A copied song keeps its date, so that a listing of the target by date
  // shows when the songs were bought, not when they were copied, and so that
  // the next run knows the copy for its song by size and date. A file system
  // that refuses it does not fail the copy (the next run copies it again).
  // The access time is given too: fusefat ignores a date set without one.
  const struct timespec times[2] = {{0, UTIME_NOW}, status.st_mtim};
  ::futimens(out, times);

  int closed = ::close(out);
  if (closed != 0) return Fail(in, -1, temporaryPath);
  ::close(in);
  return 0;
}

}  // namespace

bool CopyFileAside(const char* source, const char* destination, std::string& temporaryPath) {
  g_lastMethod = CopyMethod::None;
  temporaryPath.clear();
  if (CopyAside(source, destination, temporaryPath) == 0) return true;
  temporaryPath.clear();
  return false;
}

bool CopyFileReplacing(const char* source, const char* destination) {
  std::string temporaryPath;
  if (!CopyFileAside(source, destination, temporaryPath)) return false;
  if (::rename(temporaryPath.c_str(), destination) == 0) return true;
  Fail(-1, -1, temporaryPath);
  return false;
}

CopyMethod LastCopyMethod() { return g_lastMethod; }

void LimitCopyMethods(CopyMethod fastest) {
  g_fastestAllowed = fastest == CopyMethod::None ? CopyMethod::Reflink : fastest;
}

}  // namespace valmero
