// The Win32 file system matches names without regard to case by itself: a
// name that does not open as formed names no file at all.
#include "platform/files.h"

#include <io.h>
#include <windows.h>

#include <cstring>

#include "platform/path_separator.h"

namespace valmero {

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
    int written = ::_write(fd, bytes, chunk);
    if (written < 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool CanOpenForReading(const char* path) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

std::string FolderOf(const char* path) {
  const char* separator = std::strrchr(path, PATH_SEPARATOR);
  return separator == nullptr ? std::string() : std::string(path, static_cast<std::size_t>(separator - path));
}

std::string FindFileIgnoringCase(const char* path) { return CanOpenForReading(path) ? path : std::string(); }

std::string CFileFinder::Find(const char* path) { return FindFileIgnoringCase(path); }

const CFileFinder::Listing& CFileFinder::ListingOf(const std::string& folder) { return m_folders[folder]; }

bool MakeDirectory(const char* path) { return path[0] != '\0' && ::CreateDirectoryA(path, nullptr) != 0; }

}  // namespace valmero
