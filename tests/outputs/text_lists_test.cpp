#include "outputs/text_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "platform/path_separator.h"
#include "support/file_size_limit.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFileSizeLimit;
using testing::CTempDir;
using testing::ListNames;
using testing::LogMessages;
using testing::ReadFile;
using testing::StartTestLog;
using testing::WriteFile;

void AddSong(SongList& songs, int songNumber, int newNumber, const char* title, const char* singer) {
  songs.push_back(testing::MakeSong({songNumber, title, singer}));
  songs.back()->newNumber = newNumber;
}

std::string Blanks(std::size_t count) { return std::string(count, ' '); }

// The log lines after the start line.
std::vector<std::string> RunLog(const std::string& folder) {
  std::vector<std::string> lines = LogMessages(folder);
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

class TextListsTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_logDir.Path()); }
  std::string Target(const char* name) const { return m_target / name; }

  CTempDir m_logDir;
  CTempDir m_target;
  SongList m_songs;
};

struct ListLineCase {
  const char* what;
  int songNumber;
  std::string title;
  std::string singer;
  std::string line;
  std::string titleAfter;
};

TEST_F(TextListsTest, ListLinesAreNumberedFilledAndEndWithCrLf) {
  const std::string forty(40, 'T');
  const std::vector<ListLineCase> cases = {
      {"short title filled to 38", 1, "RAIN", "BOB", "00001|RAIN" + Blanks(34) + "|BOB\r\n", "RAIN" + Blanks(34)},
      {"empty texts", 7, "", "", "00007|" + Blanks(38) + "|\r\n", Blanks(38)},
      {"37 characters get one blank", 2, std::string(37, 'A'), "S",
       "00002|" + std::string(37, 'A') + " |S\r\n", std::string(37, 'A') + " "},
      {"38 characters stay", 3, std::string(38, 'B'), "S", "00003|" + std::string(38, 'B') + "|S\r\n",
       std::string(38, 'B')},
      {"40 characters stay in full", 4, forty, "S", "00004|" + forty + "|S\r\n", forty},
      {"six digits in full", 123456, "X", "Y", "123456|X" + Blanks(37) + "|Y\r\n", "X" + Blanks(37)},
      {"negative number", -7, "X", "Y", "-0007|X" + Blanks(37) + "|Y\r\n", "X" + Blanks(37)},
      {"line feeds cut", 5, "RAIN\n", "BOB\n", "00005|RAIN" + Blanks(34) + "|BOB\r\n", "RAIN" + Blanks(34)},
      {"only the last line feed cut", 6, "A\nB\nC", "S", "00006|A\nB" + Blanks(35) + "|S\r\n",
       "A\nB" + Blanks(35)},
  };
  for (const ListLineCase& c : cases) {
    SCOPED_TRACE(c.what);
    SongList songs;
    AddSong(songs, c.songNumber, 999, c.title.c_str(), c.singer.c_str());
    ASSERT_EQ(WriteListFile(m_target.Path().c_str(), songs, false), 0);
    EXPECT_EQ(ReadFile(Target("LIST.TXT")), c.line);
    EXPECT_EQ(std::string(songs[0]->title), c.titleAfter);
  }
}

TEST_F(TextListsTest, ListTakesNewNumbersOnlyWhenRenumbered) {
  AddSong(m_songs, 12, 1, "A", "S");
  AddSong(m_songs, 30, 2, "B", "S");
  ASSERT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, true), 0);
  EXPECT_EQ(ReadFile(Target("LIST.TXT")), "00001|A" + Blanks(37) + "|S\r\n00002|B" + Blanks(37) + "|S\r\n");
  ASSERT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, false), 0);
  EXPECT_EQ(ReadFile(Target("LIST.TXT")), "00012|A" + Blanks(37) + "|S\r\n00030|B" + Blanks(37) + "|S\r\n");
}

TEST_F(TextListsTest, ConfigAfterListKeepsTheBlanksAndAloneHasNone) {
  AddSong(m_songs, 1, 1, "RAIN\n", "BOB");
  ASSERT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, true, false), 0);
  EXPECT_EQ(ReadFile(Target("SCDG.CFG")), "00001#RAIN#BOB\r\n");
  EXPECT_STREQ(m_songs[0]->title, "RAIN");

  ASSERT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, true), 0);
  ASSERT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, true, false), 0);
  EXPECT_EQ(ReadFile(Target("SCDG.CFG")), "00001#RAIN" + Blanks(34) + "#BOB\r\n");
}

TEST_F(TextListsTest, ConfigNumberFollowsItsOptions) {
  struct Case {
    bool renumber;
    bool keep;
    std::string content;
  };
  const std::vector<Case> cases = {
      {true, false, "00001#A#S\r\n00002#B#S\r\n"},
      {true, true, "00001#A#S\r\n00002#B#S\r\n"},
      {false, true, "00012#A#S\r\n123456#B#S\r\n"},
      {false, false, ""},
  };
  AddSong(m_songs, 12, 1, "A", "S");
  AddSong(m_songs, 123456, 2, "B", "S");
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "renumber " << c.renumber << ", keep " << c.keep);
    ASSERT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, c.renumber, c.keep), 0);
    EXPECT_EQ(ReadFile(Target("SCDG.CFG")), c.content);
  }
}

TEST_F(TextListsTest, EmptyListGivesEmptyFilesAndTheirLogLines) {
  ASSERT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, true), 0);
  ASSERT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, true, true), 0);
  EXPECT_EQ(ListNames(m_target.Path()), (std::vector<std::string>{"LIST.TXT", "SCDG.CFG"}));
  EXPECT_EQ(ReadFile(Target("LIST.TXT")), "");
  EXPECT_EQ(ReadFile(Target("SCDG.CFG")), "");
  EXPECT_EQ(RunLog(m_logDir.Path()), (std::vector<std::string>{"Create LIST.TXT", "Create SCDG.CFG"}));
}

TEST_F(TextListsTest, ExistingFilesAreReplacedWithoutLeftovers) {
  WriteFile(Target("LIST.TXT"), std::string(5000, 'x'));
  WriteFile(Target("SCDG.CFG"), std::string(5000, 'y'));
  AddSong(m_songs, 1, 1, "A", "S");
  ASSERT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, true), 0);
  ASSERT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, false, true), 0);
  EXPECT_EQ(ReadFile(Target("LIST.TXT")), "00001|A" + Blanks(37) + "|S\r\n");
  EXPECT_EQ(ReadFile(Target("SCDG.CFG")), "00001#A" + Blanks(37) + "#S\r\n");
  EXPECT_EQ(ListNames(m_target.Path()), (std::vector<std::string>{"LIST.TXT", "SCDG.CFG"}));
}

TEST_F(TextListsTest, FileThatCannotBeCreatedIsLoggedWithItsPath) {
  const std::string missing = m_target / "missing";
  EXPECT_EQ(WriteListFile(missing.c_str(), m_songs, true), -1);
  EXPECT_EQ(WriteConfigFile(missing.c_str(), m_songs, true, false), -1);

  // A target that leaves no room for the name is refused before anything is made.
  const std::string tooLong = m_target.Path() + VALMERO_SEP + std::string(250 - m_target.Path().size(), 'd');
  EXPECT_EQ(WriteListFile(tooLong.c_str(), m_songs, true), -1);

  EXPECT_EQ(RunLog(m_logDir.Path()), (std::vector<std::string>{
                                         "can not create \"" + missing + VALMERO_SEP "LIST.TXT\" file",
                                         "can not create \"" + missing + VALMERO_SEP "SCDG.CFG\" file",
                                         "can not create \"" + tooLong + VALMERO_SEP "LIST.TXT\" file",
                                     }));
  EXPECT_TRUE(ListNames(m_target.Path()).empty());
}

TEST_F(TextListsTest, FailedWriteKeepsTheOldFileAndIsReported) {
  SKIP_WITHOUT_FILE_SIZE_LIMIT();
  WriteFile(Target("LIST.TXT"), "old list\r\n");
  for (int i = 0; i < 2000; ++i) AddSong(m_songs, i, i, "A TITLE", "A SINGER");
  {
    CFileSizeLimit limit(16 * 1024);
    EXPECT_EQ(WriteListFile(m_target.Path().c_str(), m_songs, true), -1);
    EXPECT_EQ(WriteConfigFile(m_target.Path().c_str(), m_songs, true, false), -1);
  }
  EXPECT_EQ(ReadFile(Target("LIST.TXT")), "old list\r\n");
  EXPECT_EQ(ListNames(m_target.Path()), std::vector<std::string>{"LIST.TXT"});
  EXPECT_EQ(RunLog(m_logDir.Path()), (std::vector<std::string>{
                                         "Create LIST.TXT",
                                         "can not write \"" + Target("LIST.TXT") + "\" file",
                                         "Create SCDG.CFG",
                                         "can not write \"" + Target("SCDG.CFG") + "\" file",
                                     }));
  // The records are brought into shape all the same, for the later stages.
  EXPECT_EQ(std::string(m_songs.back()->title), "A TITLE" + Blanks(31));
}

}  // namespace
}  // namespace valmero
