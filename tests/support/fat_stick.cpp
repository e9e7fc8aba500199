#include "support/fat_stick.h"

#include <unistd.h>

#include <filesystem>

#include "support/cli_runner.h"

namespace valmero::testing {

namespace {

bool OnPath(const char* program) { return RunShell(std::string("command -v ") + program + " >/dev/null 2>&1") == 0; }

}  // namespace

CFatStick::CFatStick(const std::string& folder) : m_image(folder + "/stick.img"), m_mountPoint(folder + "/stick") {
  for (const char* program : {"mkfs.vfat", "fusefat", "fusermount", "fsck.vfat"}) {
    if (!OnPath(program)) {
      m_why = std::string(program) + " is not installed (Debian packages dosfstools, fusefat)";
      return;
    }
  }
  if (::access("/dev/fuse", R_OK | W_OK) != 0) {
    m_why = "/dev/fuse cannot be opened here";
    return;
  }
  std::error_code error;
  std::filesystem::create_directory(m_mountPoint, error);
  m_bMounted = RunShell("{ truncate -s 40M " + Quote(m_image) + " && mkfs.vfat -F 32 " + Quote(m_image) +
                        " && fusefat -o rw+ " + Quote(m_image) + " " + Quote(m_mountPoint) + " && mountpoint -q " +
                        Quote(m_mountPoint) + "; } >/dev/null 2>&1 </dev/null") == 0;
  if (!m_bMounted) m_why = "fusefat could not mount a FAT32 image here (FUSE not usable)";
}

CFatStick::~CFatStick() {
  if (m_bMounted) RunShell("fusermount -u " + Quote(m_mountPoint) + " >/dev/null 2>&1");
}

bool CFatStick::UnmountClean() {
  if (!m_bMounted || RunShell("fusermount -u " + Quote(m_mountPoint) + " >/dev/null 2>&1") != 0) return false;
  m_bMounted = false;
  // fusefat writes its last changes to the image after the unmount returns:
  // the image is read once it has ended (5 s at most).
  RunShell("for i in $(seq 500); do pgrep -f " + Quote("^fusefat .*" + m_image) +
           " >/dev/null || break; sleep 0.01; done");
  return RunShell("fsck.vfat -n " + Quote(m_image) + " >/dev/null 2>&1") == 0;
}

}  // namespace valmero::testing
