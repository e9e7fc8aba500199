// How the target folder's file system keeps the dates a run gives its
// copies, asked once, when first needed: to the nanosecond, or in even
// seconds as FAT keeps them. On FAT a copy's date is up to two seconds off
// its source's, and some FAT drivers (fusefat) give a renamed file the time
// of the rename, so a file put in place by a rename is given its date again.
#pragma once

#include <cstdint>
#include <string>

namespace valmero {

class CTargetDates {
 public:
  explicit CTargetDates(std::string target) : m_target(std::move(target)) {}

  // True when the date of a copy, `kept`, is its source's, `source`: the
  // same, or within two seconds where the target keeps even seconds.
  bool Match(int64_t kept, int64_t source);

  // Gives the file `renamed` the date `date` again where the target keeps
  // even seconds (a rename may have changed it there).
  void AfterRename(const std::string& renamed, int64_t date);

  // False where nothing needs to be known before a rename to give a date back.
  bool MayLoseDates();

 private:
  bool IsCoarse();

  std::string m_target;
  bool m_asked = false;
  bool m_coarse = false;
};

}  // namespace valmero
