#include "ui/help_file.h"

#include "platform/files.h"

#ifndef VALMERO_HELP_INSTALL_DIR
#define VALMERO_HELP_INSTALL_DIR "share/valmero"
#endif

namespace valmero {

std::string FindHelpFile(const std::string& currentDir, const std::string& programDir) {
  const std::string candidates[] = {
      currentDir + "/help.htm",
      programDir + "/help.htm",
      programDir + "/../" VALMERO_HELP_INSTALL_DIR "/help.htm",
  };
  for (const std::string& path : candidates) {
    if (CanOpenForReading(path.c_str())) return path;
  }
  return std::string();
}

}  // namespace valmero
