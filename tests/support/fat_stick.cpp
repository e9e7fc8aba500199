#include "support/fat_stick.h"

#include <filesystem>

#include "support/cli_runner.h"

namespace valmero::testing {

CFatStick::CFatStick(const std::string& folder) : m_mountPoint(folder + "/stick") {
  const std::string image = folder + "/stick.img";
  std::error_code error;
  std::filesystem::create_directory(m_mountPoint, error);
  m_bMounted = RunShell("{ truncate -s 40M " + Quote(image) + " && mkfs.vfat " + Quote(image) + " && fusefat -o rw+ " +
                        Quote(image) + " " + Quote(m_mountPoint) + " && mountpoint -q " + Quote(m_mountPoint) +
                        "; } >/dev/null 2>&1 </dev/null") == 0;
}

CFatStick::~CFatStick() {
  if (m_bMounted) RunShell("fusermount -u " + Quote(m_mountPoint) + " >/dev/null 2>&1");
}

}  // namespace valmero::testing
