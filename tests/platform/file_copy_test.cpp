#include "platform/file_copy.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/file_size_limit.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFileSizeLimit;
using testing::CTempDir;
using testing::Exists;
using testing::ListNames;
using testing::ReadFile;
using testing::WriteFile;

// Bytes that differ at every position, so a shifted or repeated block shows.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
  return bytes;
}

class FileCopyTest : public ::testing::TestWithParam<CopyMethod> {
 protected:
  void SetUp() override { LimitCopyMethods(GetParam()); }
  void TearDown() override { LimitCopyMethods(CopyMethod::Reflink); }

  CTempDir m_source;
  CTempDir m_target;
};

TEST_P(FileCopyTest, CopiesEveryByteAndReplacesTheOldFile) {
  // Empty, small, and more than one buffer of the plain loop with a ragged end.
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4099}, std::size_t{(3 << 20) + 7}}) {
    SCOPED_TRACE(size);
    const std::string bytes = Pattern(size);
    WriteFile(m_source / "song.mp3", bytes);
    WriteFile(m_target / "00001.MP3", "an older, different song");
    ASSERT_TRUE(CopyFileReplacing((m_source / "song.mp3").c_str(), (m_target / "00001.MP3").c_str()));
    EXPECT_TRUE(ReadFile(m_target / "00001.MP3") == bytes);
    EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"00001.MP3"});
  }
  // Windows copies with its own call whatever the test asks for.
  if (GetParam() != CopyMethod::Reflink && LastCopyMethod() != CopyMethod::System) {
    EXPECT_EQ(LastCopyMethod(), GetParam());
  }
}

TEST_P(FileCopyTest, FailureAfterCreationLeavesNothingAndKeepsTheOldFile) {
  SKIP_WITHOUT_FILE_SIZE_LIMIT();
  WriteFile(m_source / "song.mp3", Pattern(1 << 20));
  WriteFile(m_target / "00001.MP3", "the previous copy");
  bool result = true;
  int error = 0;
  {
    CFileSizeLimit limit(64 * 1024);
    result = CopyFileReplacing((m_source / "song.mp3").c_str(), (m_target / "00001.MP3").c_str());
    error = errno;
  }
  EXPECT_FALSE(result);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(ReadFile(m_target / "00001.MP3"), "the previous copy");
  EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"00001.MP3"});
}

std::string MethodName(const ::testing::TestParamInfo<CopyMethod>& info) {
  static const char* const names[] = {"None", "Fastest", "CopyFileRange", "SendFile", "ReadWrite"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryWay, FileCopyTest,
                         ::testing::Values(CopyMethod::Reflink, CopyMethod::CopyFileRange, CopyMethod::SendFile,
                                           CopyMethod::ReadWrite),
                         MethodName);

TEST(FileCopyRefusalTest, NothingIsMadeWhenTheCopyCannotStart) {
  CTempDir source;
  CTempDir target;
  MakeDirectory((source / "folder.mp3").c_str());
  WriteFile(source / "song.mp3", "data");
  struct Case {
    std::string from;
    std::string to;
    int error;
  };
  const std::vector<Case> cases = {
      {source / "missing.mp3", target / "00001.MP3", ENOENT},
      {source / "folder.mp3", target / "00001.MP3", EISDIR},
      {source / "song.mp3", target / testing::Native("no-such-folder/00001.MP3"), ENOENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from + " -> " + c.to);
    errno = 0;
    EXPECT_FALSE(CopyFileReplacing(c.from.c_str(), c.to.c_str()));
    EXPECT_EQ(errno, c.error);
    EXPECT_TRUE(ListNames(target.Path()).empty());
  }
}

// A size of 0 (files under /proc) or one that grows during the copy must not
// cut the copy short: the data is read to its end, whatever the size said.
TEST(FileCopySizeTest, FileWithMoreThanItsSizeSaysIsCopiedWhole) {
  SKIP_ON_WINDOWS("Windows has no /proc");
  CTempDir target;
  const std::string expected = ReadFile("/proc/version");
  ASSERT_FALSE(expected.empty());
  ASSERT_TRUE(CopyFileReplacing("/proc/version", (target / "00001.MP3").c_str()));
  EXPECT_EQ(ReadFile(target / "00001.MP3"), expected);
}

TEST(FileCopyDateTest, CopyKeepsTheSongsDate) {
  CTempDir folder;
  WriteFile(folder / "song.mp3", "data");
  std::filesystem::last_write_time(folder / "song.mp3",
                                   std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
  ASSERT_TRUE(CopyFileReplacing((folder / "song.mp3").c_str(), (folder / "00001.MP3").c_str()));
  EXPECT_EQ(std::filesystem::last_write_time(folder / "00001.MP3"), std::filesystem::last_write_time(folder / "song.mp3"));
  EXPECT_TRUE(Exists(folder / "song.mp3"));
}

}  // namespace
}  // namespace valmero
