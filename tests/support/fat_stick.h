// A FAT32 file system in an image file, mounted through FUSE with fusefat
// for the life of the object (the kernel's vfat needs rights tests do not
// have): a song stick as users have them, with even-second dates, names
// that ignore case and no permissions. Where mkfs.vfat, fusefat or FUSE are
// missing it stays unmounted, Why() says what was missing, and the test that
// wanted it skips.
#pragma once

#include <string>

namespace valmero::testing {

class CFatStick {
 public:
  // Makes the image and the mount point inside `folder`.
  explicit CFatStick(const std::string& folder);
  ~CFatStick();
  CFatStick(const CFatStick&) = delete;
  CFatStick& operator=(const CFatStick&) = delete;

  bool IsMounted() const { return m_bMounted; }
  const std::string& Why() const { return m_why; }
  // The mount point: the root folder of the stick.
  const std::string& Path() const { return m_mountPoint; }

  // Unmounts and asks fsck.vfat whether the file system is sound.
  bool UnmountClean();

 private:
  std::string m_image;
  std::string m_mountPoint;
  bool m_bMounted = false;
  std::string m_why;
};

}  // namespace valmero::testing
