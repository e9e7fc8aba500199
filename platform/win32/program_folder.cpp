#include "platform/program_folder.h"

#include <windows.h>

namespace valmero {

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return std::string();
  std::string program(path, length);
  std::size_t backslash = program.rfind('\\');
  return backslash == std::string::npos ? std::string() : program.substr(0, backslash);
}

}  // namespace valmero
