#include "platform/win32/temporary_name.h"

namespace valmero {

HANDLE CreateTemporaryBeside(const char* finalPath, std::string& temporaryPath) {
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
    temporaryPath = std::string(finalPath) + ".vtmp" + suffix;
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
