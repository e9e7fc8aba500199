#include "platform/log_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace valmero {

void CurrentFolder(char* folder, std::size_t size) {
  if (::getcwd(folder, size) == nullptr) std::memset(folder, 0, size);
}

unsigned LastErrorCode() { return static_cast<unsigned>(errno); }

const char* LastErrorSource() { return "errno"; }

int DuplicateDescriptor(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

}  // namespace valmero
