#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <string>

#include "platform/files.h"
#include "platform/temporary_file.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::ListNames;
using testing::ReadFile;
using testing::WriteFile;

TEST(AtomicFileTest, OldFileStaysUntilTheNewOneIsCommitted) {
  CTempDir dir;
  std::string path = dir / "ENGLISH.KVX";
  WriteFile(path, "old and longer contents");
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_EQ(ReadFile(path), "old and longer contents");
    EXPECT_EQ(ListNames(dir.Path()).size(), 2u);
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(ListNames(dir.Path()), (std::vector<std::string>{"ENGLISH.KVX"}));
}

TEST(AtomicFileTest, AbandonedFileLeavesNothingBehind) {
  CTempDir dir;
  std::string path = dir / "LIST.TXT";
  WriteFile(path, "good");
  {
    CAtomicFile file;
    ASSERT_TRUE(file.Create(path.c_str()));
    std::string big(200000, 'x');  // more than the buffer, so part is on disk already
    ASSERT_TRUE(file.Write(big.data(), big.size()));
  }
  EXPECT_EQ(ReadFile(path), "good");
  EXPECT_EQ(ListNames(dir.Path()), (std::vector<std::string>{"LIST.TXT"}));
}

TEST(AtomicFileTest, MissingFolderCannotBeCreated) {
  CTempDir dir;
  CAtomicFile file;
  EXPECT_FALSE(file.Create((dir / testing::Native("no/such/file")).c_str()));
  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_FALSE(file.Commit());
}

// Seeds that give the names of the first two tries again and again.
unsigned long long ClashingSeeds() {
  static unsigned long long next = 0;
  return next++ % 3 + 1;
}

// A temporary is never opened over a file or a link that has its name: a
// clash picks the next name.
TEST(AtomicFileTest, TemporaryNameThatIsTakenIsPassedOver) {
  CTempDir dir;
  const std::string path = dir / "LIST.TXT";
  WriteFile(TemporaryNameFor(path.c_str(), 1), "a file of the user's");
  WriteFile(dir / "secret", "where a link points");
  bool linked = false;
#ifndef _WIN32
  linked = ::symlink((dir / "secret").c_str(), TemporaryNameFor(path.c_str(), 2).c_str()) == 0;
#endif
  if (!linked) WriteFile(TemporaryNameFor(path.c_str(), 2), "another file of the user's");
  SetTemporarySeeds(&ClashingSeeds);
  CAtomicFile file;
  const bool created = file.Create(path.c_str());
  SetTemporarySeeds(nullptr);
  ASSERT_TRUE(created);
  ASSERT_TRUE(file.Write("new", 3));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(ReadFile(TemporaryNameFor(path.c_str(), 1)), "a file of the user's");
  EXPECT_EQ(ReadFile(dir / "secret"), "where a link points");
  EXPECT_EQ(ListNames(dir.Path()).size(), 4u);
}

TEST(FilesTest, NamesAreMatchedWithoutRegardToCase) {
  SKIP_ON_WINDOWS("the file system matches names without regard to case by itself");
  CTempDir dir;
  WriteFile(dir / "00042.mcg", "companion");
  EXPECT_EQ(FindFileIgnoringCase((dir / "00042.MCG").c_str()), dir / "00042.mcg");
  EXPECT_EQ(FindFileIgnoringCase((dir / "00042.mcg").c_str()), dir / "00042.mcg");
  EXPECT_EQ(FindFileIgnoringCase((dir / "00043.MCG").c_str()), "");
  EXPECT_EQ(FindFileIgnoringCase((dir / "missing/00042.MCG").c_str()), "");
  // Two names that differ only in case: the first in byte order is used.
  WriteFile(dir / "a.Mp3", "1");
  WriteFile(dir / "a.mP3", "2");
  EXPECT_EQ(FindFileIgnoringCase((dir / "A.MP3").c_str()), dir / "a.Mp3");
}

TEST(FilesTest, DirectoryIsMadeOneLevelOnly) {
  CTempDir dir;
  EXPECT_TRUE(MakeDirectory((dir / "KVX").c_str()));
  EXPECT_FALSE(MakeDirectory((dir / "KVX").c_str()));
  EXPECT_FALSE(MakeDirectory((dir / "a/b").c_str()));
  EXPECT_FALSE(MakeDirectory(""));
  EXPECT_EQ(FolderOf(testing::Native("/songs/list.txt").c_str()), testing::Native("/songs"));
  EXPECT_EQ(FolderOf("list.txt"), "");
}

}  // namespace
}  // namespace valmero
