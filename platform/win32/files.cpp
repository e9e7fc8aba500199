// The Win32 file system matches names without regard to case by itself: a
// name that does not open as formed names no file at all.
#include "platform/files.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/path_separator.h"
#include "platform/temporary_file.h"
#include "platform/win32/long_path.h"

namespace valmero {

namespace {

// Opens for reading with every sharing allowed, so that a file another
// program writes or removes meanwhile is read all the same.
HANDLE OpenForReading(const char* path, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, flags, nullptr);
}

}  // namespace

void CloseFile(int fd) { ::_close(fd); }

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
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

int OpenRegularForReading(const char* path) {
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) {
    errno = ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? EISDIR : ErrnoOfLastError();
    return -1;
  }
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    errno = EINVAL;
    return -1;
  }
  int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
  if (fd < 0) ::CloseHandle(file);
  return fd;
}

bool CanListFolder(const char* path) {
  DWORD attributes = ::GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  HANDLE folder = OpenForReading(path, FILE_FLAG_BACKUP_SEMANTICS);
  if (folder == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(folder);
  return true;
}

// Windows keeps no permission a folder's attributes would tell: the one way
// to know is to make a file there, which the system removes at once.
bool CanWriteInFolder(const char* path) {
  if (!IsFolder(path)) return false;
  std::string probe = TemporaryNameFor((std::string(path) + VALMERO_SEP "valmero-probe").c_str(), ::GetTickCount64());
  HANDLE file = ::CreateFileW(LongPath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

bool IsFolder(const char* path) {
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PathExists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

std::string FolderOf(const char* path) {
  const char* separator = std::strrchr(path, PATH_SEPARATOR);
  return separator == nullptr ? std::string() : std::string(path, static_cast<std::size_t>(separator - path));
}

std::string FindFileIgnoringCase(const char* path) { return CanOpenForReading(path) ? path : std::string(); }

std::string CFileFinder::Find(const char* path) { return FindFileIgnoringCase(path); }

const std::vector<KeyedEntry>& CFileFinder::ListingOf(const std::string& folder) { return m_folders[folder]; }

bool SyncFile(int fd) { return ::_commit(fd) == 0; }

bool RenameReplacing(const char* from, const char* to) {
  if (MoveReplacing(from, to)) return true;
  errno = ErrnoOfLastError();
  return false;
}

void RemoveFile(const char* path) { DeleteLongPath(path); }

bool IsSameFolder(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const char* paths[2] = {a, b};
  for (int i = 0; i < 2; ++i) {
    HANDLE folder = OpenForReading(paths[i], FILE_FLAG_BACKUP_SEMANTICS);
    if (folder == INVALID_HANDLE_VALUE) return false;
    bool known = ::GetFileInformationByHandle(folder, &info[i]) != 0;
    ::CloseHandle(folder);
    if (!known) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

bool MakeDirectory(const char* path) { return path[0] != '\0' && ::CreateDirectoryA(path, nullptr) != 0; }

}  // namespace valmero
