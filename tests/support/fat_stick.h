// A real FAT32 file system for tests: an image file made with mkfs.vfat and
// mounted through FUSE with fusefat (the kernel's vfat needs rights tests
// do not have). Even-second dates, names that ignore case, no permissions.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace valmero::testing {

class CFatStick {
 public:
  // Makes and mounts a stick of `megabytes`; Why() says what was missing
  // when it could not be.
  explicit CFatStick(int megabytes = 64);
  ~CFatStick();
  CFatStick(const CFatStick&) = delete;
  CFatStick& operator=(const CFatStick&) = delete;

  bool Mounted() const { return m_mounted; }
  const std::string& Why() const { return m_why; }
  std::string Folder() const { return m_dir / "mnt"; }

  // Unmounts and asks fsck.vfat whether the file system is sound.
  bool UnmountClean();

 private:
  CTempDir m_dir;
  bool m_mounted = false;
  std::string m_why;
};

}  // namespace valmero::testing
