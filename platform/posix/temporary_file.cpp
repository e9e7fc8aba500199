#include "platform/temporary_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace valmero {

int CreateTemporaryBeside(const char* destination, unsigned mode, std::string& temporaryPath) {
  static unsigned s_counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned long long seed =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<unsigned long long>(::getpid()) << 20) ^ (++s_counter * 0x9e3779b97f4a7c15ull);
    temporaryPath = NextTemporaryName(destination, seed);
    int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  temporaryPath.clear();
  return -1;
}

}  // namespace valmero
