#include "cli/inspect_command.h"

namespace valmero {

// Not built yet.
int RunInspect(const char*, std::FILE*, std::FILE* err) {
  std::fputs("inspect is not available yet\n", err);
  return 1;
}

}  // namespace valmero
