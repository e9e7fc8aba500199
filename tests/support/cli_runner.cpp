#include "support/cli_runner.h"

#include "platform/path_separator.h"
#include "support/temp_dir.h"

namespace valmero::testing {

Files ReadFolder(const std::string& folder) {
  Files files;
  for (const std::string& name : ListNames(folder)) files[name] = ReadFile(folder + PATH_SEPARATOR + name);
  return files;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
  for (const std::string& line : lines) {
    if (line == wanted) return true;
  }
  return false;
}

}  // namespace valmero::testing
