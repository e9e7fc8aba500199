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

// The finder that lists each folder once must find exactly what the finder
// that lists it for every name finds.
TEST(FileFinderTest, FindsWhatFindFileIgnoringCaseFinds) {
  CTempDir dir;
  for (const char* name : {"00012.mp3", "00012.mcg", "Song.MCG", "song.Mcg", "UPPER.MP3", "x"}) {
    WriteFile(dir / name, "data");
  }
  CChangeDir here(dir.Path());
  const std::string asked[] = {
      dir / "00012.mp3",  // as formed
      dir / "00012.MCG",  // other case
      dir / "SONG.mcg",   // two candidates: the first in byte order
      dir / "upper.mp3",
      dir / "missing.MCG",
      dir / "X",
      "00012.MCG",        // no folder part: the current directory
      dir / "nofolder/00012.MCG",
  };
  CFileFinder finder;
  for (const std::string& path : asked) {
    EXPECT_EQ(finder.Find(path.c_str()), FindFileIgnoringCase(path.c_str())) << path;
  }
  if (PATH_SEPARATOR == '/') {
    EXPECT_EQ(finder.Find((dir / "song.mcg").c_str()), dir / "Song.MCG");
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
