// A FAT file system in an image file, mounted with fusefat for the life of
// the object: a song stick as users have them, whose names ignore case.
// Where mkfs.vfat, fusefat or FUSE are missing it stays unmounted, and the
// test that wanted it skips.
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
  // The mount point: the root folder of the stick.
  const std::string& Path() const { return m_mountPoint; }

 private:
  std::string m_mountPoint;
  bool m_bMounted = false;
};

}  // namespace valmero::testing
