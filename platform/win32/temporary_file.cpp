#include "platform/temporary_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/win32/long_path.h"

namespace valmero {

namespace {

constexpr const char* MARK = ".vtmp";
constexpr std::size_t MARK_LENGTH = 5;
constexpr std::size_t SUFFIX_LENGTH = TEMPORARY_SUFFIX_LENGTH - MARK_LENGTH;
constexpr char DIGITS[] = "0123456789abcdefghijklmnopqrstuvwxyz";

bool IsSuffixChar(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

// Windows has no permission bits to give: `mode` is the POSIX build's.
int CreateTemporaryBeside(const char* destination, unsigned, std::string& temporaryPath) {
  static unsigned s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = (static_cast<unsigned long long>(::GetTickCount64()) << 16) ^
                              (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                              (++s_counter * 0x9e3779b97f4a7c15ull);
    char suffix[SUFFIX_LENGTH + 1];
    for (std::size_t i = 0; i < SUFFIX_LENGTH; ++i) {
      suffix[i] = DIGITS[seed % 36];
      seed /= 36;
    }
    suffix[SUFFIX_LENGTH] = '\0';
    temporaryPath = std::string(destination) + MARK + suffix;
    HANDLE file = ::CreateFileW(LongPath(temporaryPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      // Binary: the bytes go to the file as they are, CR LF included.
      int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
      if (fd >= 0) return fd;
      ::CloseHandle(file);
      DeleteLongPath(temporaryPath);
      break;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) {
      errno = ErrnoOfLastError();
      break;
    }
  }
  temporaryPath.clear();
  return -1;
}

bool IsTemporaryName(const char* name) {
  std::size_t length = std::strlen(name);
  if (length <= MARK_LENGTH + SUFFIX_LENGTH) return false;
  const char* suffix = name + length - SUFFIX_LENGTH;
  if (std::strncmp(suffix - MARK_LENGTH, MARK, MARK_LENGTH) != 0) return false;
  for (std::size_t i = 0; i < SUFFIX_LENGTH; ++i) {
    if (!IsSuffixChar(suffix[i])) return false;
  }
  return true;
}

}  // namespace valmero
