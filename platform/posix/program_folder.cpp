#include "platform/program_folder.h"

#include <unistd.h>

#include <climits>

namespace valmero {

std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return std::string();
  std::string program(path, static_cast<std::size_t>(length));
  std::size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace valmero
