#include "support/fat_stick.h"

#include <sys/stat.h>
#include <unistd.h>

#include "support/cli_runner.h"

namespace valmero::testing {

namespace {

bool OnPath(const char* program) { return RunShell(std::string("command -v ") + program + " >/dev/null 2>&1") == 0; }

}  // namespace

CFatStick::CFatStick(int megabytes) {
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
  const std::string image = m_dir / "stick.img";
  ::mkdir(Folder().c_str(), 0755);
  if (RunShell("truncate -s " + std::to_string(megabytes) + "M " + Quote(image) + " && mkfs.vfat -F 32 " +
               Quote(image) + " >/dev/null 2>&1") != 0) {
    m_why = "mkfs.vfat failed";
    return;
  }
  // fusefat tells what it mounted on standard output.
  if (RunShell("fusefat -o rw+ " + Quote(image) + " " + Quote(Folder()) + " >/dev/null 2>&1") != 0) {
    m_why = "fusefat could not mount the image (FUSE not usable here)";
    return;
  }
  m_mounted = true;
}

CFatStick::~CFatStick() {
  if (m_mounted) RunShell("fusermount -u " + Quote(Folder()) + " >/dev/null 2>&1");
}

bool CFatStick::UnmountClean() {
  if (!m_mounted || RunShell("fusermount -u " + Quote(Folder()) + " >/dev/null 2>&1") != 0) return false;
  m_mounted = false;
  // The file system's program writes its last changes to the image after the
  // unmount returns: the image is read once it has ended (5 s at most).
  const std::string image = m_dir / "stick.img";
  RunShell("for i in $(seq 500); do pgrep -f " + Quote("^fusefat .*" + image) + " >/dev/null || break; sleep 0.01; done");
  return RunShell("fsck.vfat -n " + Quote(image) + " >/dev/null 2>&1") == 0;
}

}  // namespace valmero::testing
