#include "platform/temporary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace valmero {

namespace {

constexpr const char* MARK = ".vtmp";
constexpr std::size_t MARK_LENGTH = 5;
constexpr std::size_t SUFFIX_LENGTH = TEMPORARY_SUFFIX_LENGTH - MARK_LENGTH;
constexpr char DIGITS[] = "0123456789abcdefghijklmnopqrstuvwxyz";

bool IsSuffixChar(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int CreateTemporaryBeside(const char* destination, unsigned mode, std::string& temporaryPath) {
  static unsigned s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(::getpid()) << 20) ^ (++s_counter * 0x9e3779b97f4a7c15ull);
    char suffix[SUFFIX_LENGTH + 1];
    for (std::size_t i = 0; i < SUFFIX_LENGTH; ++i) {
      suffix[i] = DIGITS[seed % 36];
      seed /= 36;
    }
    suffix[SUFFIX_LENGTH] = '\0';
    temporaryPath = std::string(destination) + MARK + suffix;
    int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
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
