#include "ui/common/help_file.h"

#include "platform/files.h"
#include "platform/path_separator.h"

#ifndef VALMERO_HELP_INSTALL_DIR
#define VALMERO_HELP_INSTALL_DIR "share/valmero"
#endif

namespace valmero {

std::string FindHelpFile(const std::string& currentDir, const std::string& programDir) {
  const std::string candidates[] = {
      currentDir + VALMERO_SEP "help.htm",
      programDir + VALMERO_SEP "help.htm",
      programDir + VALMERO_SEP ".." VALMERO_SEP VALMERO_HELP_INSTALL_DIR VALMERO_SEP "help.htm",
  };
  for (const std::string& path : candidates) {
    if (CanOpenForReading(path.c_str())) return path;
  }
  return std::string();
}

}  // namespace valmero
