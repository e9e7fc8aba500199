#include "platform/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/path_separator.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CChangeDir;
using testing::CTempDir;
using testing::WriteFile;

// Each asked path with the name it finds in the folder. Where names are
// told apart by their case, the folder's own name comes back (of two, the
// first in byte order); where the file system matches any case by itself,
// the path comes back as asked. Both lookups give the same.
TEST(FileFinderTest, FindsTheFolderEntryOfAnyCase) {
  CTempDir dir;
  for (const char* name : {"00012.mp3", "00012.mcg", "Song.MCG", "song.Mcg", "UPPER.MP3", "x"}) {
    WriteFile(dir / name, "data");
  }
  CChangeDir here(dir.Path());
  struct Case {
    std::string asked;
    std::string found;  // empty: not there
  };
  const Case cases[] = {
      {dir / "00012.mp3", dir / "00012.mp3"},
      {dir / "00012.MCG", dir / "00012.mcg"},
      {dir / "SONG.mcg", dir / "Song.MCG"},
      {dir / "upper.mp3", dir / "UPPER.MP3"},
      {dir / "X", dir / "x"},
      {"00012.MCG", "00012.mcg"},  // no folder part: the current directory
      {dir / "missing.MCG", ""},
      {dir / "nofolder/00012.MCG", ""},
  };
  CFileFinder finder;
  for (const Case& c : cases) {
    const bool caseBlindSystem = PATH_SEPARATOR == '\\';
    const std::string expected = c.found.empty() || !caseBlindSystem ? c.found : c.asked;
    EXPECT_EQ(finder.Find(c.asked.c_str()), expected) << c.asked;
    EXPECT_EQ(FindFileIgnoringCase(c.asked.c_str()), expected) << c.asked;
  }
}

TEST(FileFinderTest, NameGoneSinceTheListingIsLookedForAgain) {
  SKIP_ON_WINDOWS("the file system matches names without regard to case by itself");
  CTempDir dir;
  WriteFile(dir / "x.Mcg", "first");
  WriteFile(dir / "x.mcg", "second");
  CFileFinder finder;
  EXPECT_EQ(finder.Find((dir / "X.MCG").c_str()), dir / "x.Mcg");
  ASSERT_EQ(::unlink((dir / "x.Mcg").c_str()), 0);
  EXPECT_EQ(finder.Find((dir / "X.MCG").c_str()), dir / "x.mcg");
  ASSERT_EQ(::unlink((dir / "x.mcg").c_str()), 0);
  EXPECT_EQ(finder.Find((dir / "X.MCG").c_str()), "");
}

}  // namespace
}  // namespace valmero
