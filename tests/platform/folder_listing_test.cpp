#include "platform/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::WriteFile;

TEST(FolderListingTest, OrdersByUpperCasedBytesThenByName) {
  struct Case {
    const char* first;
    const char* second;
  };
  // Each pair is in listing order; the reverse must not be.
  const Case cases[] = {
      {"a", "B"},                      // case does not decide ...
      {"A", "a"},                      // ... unless the names differ only in case
      {"a.mp3", "_x.mp3"},             // 'A' (0x41) before '_' (0x5F), though 'a' is 0x61
      {"z", "\xe9"},                   // bytes above 127 after ASCII
      {"00001-IPS.mp3", "00001.mp3"},  // '-' (0x2D) before '.' (0x2E)
  };
  for (const Case& c : cases) {
    std::string first = c.first;
    std::string second = c.second;
    EXPECT_TRUE(ListsBefore(first, second)) << first << " / " << second;
    EXPECT_FALSE(ListsBefore(second, first)) << first << " / " << second;
  }
  EXPECT_FALSE(ListsBefore("same", "same"));
}

TEST(FolderListingTest, ListsOneLevelWithKindsInStableOrder) {
  SKIP_ON_WINDOWS("names that differ only in case and symbolic links need a POSIX file system");
  CTempDir dir;
  WriteFile(dir / "b.mp3", "b");
  WriteFile(dir / "a.mp3", "a");
  WriteFile(dir / "A.MP3", "A");
  WriteFile(dir / "a.MP3", "a");
  WriteFile(dir / "A.mp3", "A");
  WriteFile(dir / "_c", "c");
  ASSERT_TRUE(MakeDirectory((dir / "sub.mp3").c_str()));
  WriteFile(dir / "sub.mp3/inner.mp3", "not listed");
  std::filesystem::create_directory_symlink(dir / "sub.mp3", dir / "link");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");

  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(dir.Path().c_str(), entries));
  std::vector<std::pair<std::string, bool>> got;
  for (const FolderEntry& entry : entries) got.emplace_back(entry.name, entry.isDirectory);
  const std::vector<std::pair<std::string, bool>> expected = {
      // Every case variant of one name by the names themselves, whatever
      // order the file system keeps them in.
      {"A.MP3", false}, {"A.mp3", false}, {"a.MP3", false}, {"a.mp3", false}, {"b.mp3", false}, {"dangling", false},
      {"link", true},   {"sub.mp3", true}, {"_c", false},
  };
  EXPECT_EQ(got, expected);
}

TEST(FolderListingTest, MissingFolderGivesNoEntry) {
  CTempDir dir;
  std::vector<FolderEntry> entries(2);
  EXPECT_FALSE(ListFolder((dir / "missing").c_str(), entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_TRUE(ListFolder(dir.Path().c_str(), entries));
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace valmero
