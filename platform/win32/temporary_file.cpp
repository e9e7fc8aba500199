#include "platform/temporary_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/win32/long_path.h"

namespace valmero {

// Windows has no permission bits to give: `mode` is the POSIX build's.
int CreateTemporaryBeside(const char* destination, unsigned, std::string& temporaryPath) {
  static unsigned s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = (static_cast<unsigned long long>(::GetTickCount64()) << 16) ^
                              (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                              (++s_counter * 0x9e3779b97f4a7c15ull);
    temporaryPath = NextTemporaryName(destination, seed);
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

}  // namespace valmero
