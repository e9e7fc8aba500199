#include "platform/win32/temporary_name.h"

#include <cstring>

namespace valmero {

// "~v" and six letters: no longer than the shortest name the program writes
// (LIST.TXT), so that a final path that fits the 259 characters of a Windows
// path never fails for its temporary name.
HANDLE CreateTemporaryBeside(const char* finalPath, std::string& temporaryPath) {
  const char* separator = std::strrchr(finalPath, '\\');
  const std::string folder(finalPath, separator == nullptr ? 0 : static_cast<std::size_t>(separator - finalPath + 1));
  static unsigned s_counter = 0;
  static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed = (static_cast<unsigned long long>(::GetTickCount64()) << 16) ^
                              (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                              (++s_counter * 0x9e3779b97f4a7c15ull);
    char suffix[7];
    for (char& c : suffix) {
      c = digits[seed % 36];
      seed /= 36;
    }
    suffix[6] = '\0';
    temporaryPath = folder + "~v" + suffix;
    HANDLE file = ::CreateFileA(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool ReplaceFile(const std::string& from, const char* to) {
  return ::MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace valmero
