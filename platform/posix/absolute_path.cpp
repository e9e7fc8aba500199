#include "platform/absolute_path.h"

#include <unistd.h>

namespace valmero {

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::string joined = path;
  if (path[0] != '/') {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
    joined = std::string(cwd) + "/" + path;
  }
  std::string result;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    std::string part = joined.substr(start, end - start);
    if (!part.empty() && part != ".") result += "/" + part;
    start = end + 1;
  }
  return result.empty() ? "/" : result;
}


}  // namespace valmero
