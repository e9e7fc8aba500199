// Windows keeps dates in 100-nanosecond steps since 1601 (FAT in even
// seconds) and no permission bits.
#include "platform/file_stamp.h"

#include <io.h>
#include <windows.h>

#include "platform/temporary_file.h"
#include "platform/win32/long_path.h"

namespace valmero {

namespace {

// 1601-01-01 to 1970-01-01 in 100-nanosecond steps.
constexpr int64_t EPOCH_DIFFERENCE = 116444736000000000LL;

int64_t NanosecondsOf(const FILETIME& time) {
  int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (ticks - EPOCH_DIFFERENCE) * 100;
}

FILETIME FileTimeOf(int64_t modified) {
  uint64_t ticks = static_cast<uint64_t>(modified / 100 + EPOCH_DIFFERENCE);
  return {static_cast<DWORD>(ticks & 0xffffffffu), static_cast<DWORD>(ticks >> 32)};
}

uint64_t SizeOf(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

bool IsPlainFile(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool SetWriteTime(HANDLE file, int64_t modified) {
  FILETIME time = FileTimeOf(modified);
  return ::SetFileTime(file, nullptr, nullptr, &time) != 0;
}

}  // namespace

bool ReadFileStamp(const char* path, FileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (::GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data) == 0) return false;
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return false;
  stamp.size = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
  stamp.modified = NanosecondsOf(data.ftLastWriteTime);
  stamp.mode = 0;
  return true;
}

bool ListStampedFiles(const char* folder, bool (*wanted)(const std::string& name), std::vector<StampedFile>& files) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((std::string(folder) + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::string name = found.cFileName;
    if (!IsPlainFile(found.dwFileAttributes) || !wanted(name)) continue;
    FileStamp stamp;
    stamp.size = SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
    stamp.modified = NanosecondsOf(found.ftLastWriteTime);
    files.push_back(StampedFile{std::move(name), stamp});
  } while (::FindNextFileA(search, &found));
  bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
  ::FindClose(search);
  return complete;
}

bool FolderKeepsExactDates(const char* folder) {
  std::string temporary;
  int fd = CreateTemporaryBeside((std::string(folder) + "\\VALMERO").c_str(), 0600, temporary);
  if (fd < 0) return true;
  HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  // An odd second with a fraction: FAT keeps even seconds only.
  const int64_t probe = 1000000001LL * 1000000000LL + 123456700;
  bool set = SetWriteTime(file, probe);
  ::_close(fd);
  // Read back by name once closed: an open handle may still tell the date
  // as it was set, not as the file system keeps it.
  FileStamp kept;
  bool exact = set && ReadFileStamp(temporary.c_str(), kept) && kept.modified == probe;
  DeleteLongPath(temporary);
  return exact;
}

bool SetFileDate(const char* path, int64_t modified) {
  HANDLE file = ::CreateFileW(LongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool set = SetWriteTime(file, modified);
  ::CloseHandle(file);
  return set;
}

bool SetFileMode(const char*, unsigned) { return false; }

unsigned ModeOfNewCopy(unsigned) { return 0; }

}  // namespace valmero
