#include "platform/absolute_path.h"

#include <windows.h>

namespace valmero {

// The system's own rule: drive-relative and UNC paths included.
std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  char full[MAX_PATH * 4];
  DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length == 0 || length >= sizeof full ? path : std::string(full, length);
}

}  // namespace valmero
