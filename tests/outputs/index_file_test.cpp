#include "outputs/index_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "core/fixed_text.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "support/file_size_limit.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFileSizeLimit;
using testing::CTempDir;
using testing::Exists;
using testing::ListNames;
using testing::LogMessages;
using testing::ReadFile;
using testing::StartTestLog;
using testing::WriteFile;

// A text field of 24 bytes: the text, then zero bytes.
std::string Field(const std::string& text) { return text + std::string(24 - text.size(), '\0'); }

std::string Number(uint32_t value) {
  return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                     static_cast<char>(value)};
}

// Songs numbered 1, 2, ... in the order given.
SongList MakeSongs(const std::vector<std::pair<const char*, const char*>>& titleAndSinger) {
  std::vector<testing::SongFields> songFields;
  for (const auto& [title, singer] : titleAndSinger) songFields.push_back({0, title, singer});
  return testing::MakeSongs(songFields, true);
}

class IndexFileTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_logDir.Path()); }
  std::vector<std::string> NewLogLines() {
    auto lines = LogMessages(m_logDir.Path());
    return std::vector<std::string>(lines.begin() + 1, lines.end());  // after the start line
  }
  // Groups, sorts and writes, the way the run does.
  int Build(SongList songs, bool renumber = true) {
    return BuildIndex(songs, renumber, m_target.Path().c_str(), m_index);
  }
  std::string KvxPath() const { return m_target / "ENGLISH.KVX"; }

  CTempDir m_logDir;
  CTempDir m_target;
  SingerIndex m_index;
};

TEST_F(IndexFileTest, ExampleFileByteForByte) {
  SongList songs = testing::MakeSongs({{5, "Rain", "Bob"}, {9, "Apple", "Ann"}, {12, "blue sky", "Ann"}}, true);
  ASSERT_EQ(BuildIndex(songs, true, m_target.Path().c_str(), m_index), 0);

  const std::string expected = std::string("ENG\0", 4) + Number(3) + Number(2) + Number(0) +
                               Field("ANN") + Number(2) + Number(0) +       // offset 16
                               Field("BOB") + Number(1) + Number(1) +       // offset 48
                               Field("APPLE") + Number(0) + Number(2) +     // offset 80
                               Field("BLUE SKY") + Number(0) + Number(3) +  // offset 112
                               Field("RAIN") + Number(1) + Number(1);       // offset 144
  ASSERT_EQ(expected.size(), 176u);
  EXPECT_EQ(ReadFile(KvxPath()), expected);
  EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"ENGLISH.KVX"});
}

TEST_F(IndexFileTest, EmptyIndexIsTheHeaderAlone) {
  ASSERT_EQ(Build({}), 0);
  EXPECT_EQ(ReadFile(KvxPath()), std::string("\x45\x4e\x47\0", 4) + std::string(12, '\0'));
}

TEST_F(IndexFileTest, TextsOfTwentyThreeCharactersEndWithTheirNul) {
  const std::string name23 = "ABCDEFGHIJKLMNOPQRSTUVW";
  ASSERT_EQ(Build(MakeSongs({{"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvw"}})), 0);
  std::string bytes = ReadFile(KvxPath());
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes.substr(16, 24), name23 + '\0');
  EXPECT_EQ(bytes.substr(48, 24), name23 + '\0');
}

TEST_F(IndexFileTest, NumbersAreBigEndianWhateverTheirSign) {
  auto songs = MakeSongs({{"T", "S"}});
  songs[0]->songNumber = -2;
  ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
  EXPECT_EQ(ReadFile(KvxPath()).substr(76, 4), "\xff\xff\xff\xfe");
  songs[0]->songNumber = 0x01020304;
  ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
  EXPECT_EQ(ReadFile(KvxPath()).substr(76, 4), "\x01\x02\x03\x04");
}

TEST_F(IndexFileTest, ALongerOldFileIsReplacedWhole) {
  WriteFile(KvxPath(), std::string(5000, 'x'));
  ASSERT_EQ(Build(MakeSongs({{"One", "Only"}})), 0);
  EXPECT_EQ(ReadFile(KvxPath()).size(), 80u);
  EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"ENGLISH.KVX"});
}

// A folder in the target whose path, with the separator and ENGLISH.KVX added, is `length` long.
std::string FolderForPathLength(const std::string& parent, std::size_t length) {
  return parent + VALMERO_SEP + std::string(length - parent.size() - 1 - 12, 'a');
}

TEST_F(IndexFileTest, FailedCreationLogsAndLeavesNoFile) {
  // A path of 260 characters does not fit a path buffer, even where the
  // folder exists; one of 259 does.
  const std::string fits = FolderForPathLength(m_target.Path(), 259);
  const std::string tooLong = FolderForPathLength(m_target.Path(), 260);
  ASSERT_TRUE(MakeDirectory(fits.c_str()));
  ASSERT_TRUE(MakeDirectory(tooLong.c_str()));
  EXPECT_EQ(WriteIndexFile(fits.c_str(), m_index), 0);
  EXPECT_TRUE(Exists(fits + VALMERO_SEP "ENGLISH.KVX"));

  for (const std::string& target : {m_target / "missing", tooLong}) {
    SCOPED_TRACE(target);
    StartTestLog(m_logDir.Path());
    EXPECT_EQ(WriteIndexFile(target.c_str(), m_index), -1);
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"incorrect output filename"});
  }
  EXPECT_TRUE(ListNames(tooLong).empty());
  EXPECT_FALSE(Exists(m_target / "missing"));

  SongList songs;
  EXPECT_EQ(BuildIndex(songs, true, (m_target / "missing").c_str(), m_index), -1);
}

TEST_F(IndexFileTest, FailedWriteKeepsTheOldFileAndRemovesTheTemporaryOne) {
  SKIP_WITHOUT_FILE_SIZE_LIMIT();
  ASSERT_EQ(Build(MakeSongs({{"Old", "Good"}})), 0);
  const std::string oldBytes = ReadFile(KvxPath());
  // 400 songs fail when the buffered bytes reach the disk at the close;
  // 3000 songs (96 kB) fail already in a write.
  for (std::size_t songCount : {400, 3000}) {
    SCOPED_TRACE(songCount);
    StartTestLog(m_logDir.Path());
    std::vector<std::pair<const char*, const char*>> many(songCount, {"Title", "Singer"});
    int result = 0;
    {
      // The log stays far below the limit; the new index does not fit.
      CFileSizeLimit limit(8192);
      result = Build(MakeSongs(many));
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(ReadFile(KvxPath()), oldBytes);
    EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"ENGLISH.KVX"});
    EXPECT_EQ(NewLogLines(), (std::vector<std::string>{"Initialize arrays", "Sort songlist by singer",
                                                        "Sort songlist by title",
                                                        "can not write \"" + KvxPath() + "\" file"}));
  }
}

}  // namespace
}  // namespace valmero
