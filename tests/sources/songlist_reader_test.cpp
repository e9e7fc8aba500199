#include "sources/songlist_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/path_separator.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFakeHost;
using testing::CTempDir;
using testing::LogMessages;
using testing::StartTestLog;
using testing::WriteFile;

class SonglistReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_dir.Path()); }

  void AddSongFiles(const std::string& numberText) {
    WriteFile(m_dir / (numberText + ".mp3"), "mp3");
    WriteFile(m_dir / (numberText + ".mcg"), "mcg");
  }

  // Reads a songlist with the given text; returns the result.
  int Read(const std::string& text) {
    WriteFile(m_dir / "list.txt", text);
    return ReadSonglistFile((m_dir / "list.txt").c_str(), m_songs, m_host);
  }

  // The log after the start line and "Reading songlist file...".
  std::vector<std::string> ReadingLog() {
    auto log = LogMessages(m_dir.Path());
    return std::vector<std::string>(log.begin() + 2, log.end());
  }

  CTempDir m_dir;
  SongList m_songs;
  CFakeHost m_host;
};

TEST_F(SonglistReaderTest, FieldsAreSplitAndTrimmedAsUsersWriteThem) {
  struct Case {
    std::string line;
    std::string numberText;
    int number;
    std::string title;
    std::string singer;
  };
  const Case cases[] = {
      {"12|My Song|Some Singer\n", "12", 12, "My Song", "Some Singer"},
      {"  0012 # Title #  Singer  \n", "0012", 12, "Title", "Singer"},
      {"12|Title\n", "12", 12, "Title", ""},
      {"12||Singer\n", "12", 12, "", "Singer"},
      {"12\tTab Title\tTab Singer\n", "12", 12, "Tab Title", "Tab Singer"},
      {"-3|Negative|Singer\n", "-3", -3, "Negative", "Singer"},
      {"7 x|Inner|Space\n", "7 x", 7, "Inner", "Space"},
      {"5|" + std::string(70, 't') + "|s\n", "5", 5, std::string(59, 't'), "s"},
      {"5|t|" + std::string(60, 's') + "\n", "5", 5, "t", std::string(51, 's')},
      {"5|t|" + std::string(50, 's') + "  x\n", "5", 5, "t", std::string(50, 's')},
      {"9|no line end|at all", "9", 9, "no line end", "at all"},
      {"8|lone\rCR|kept\r\n", "8", 8, "lone\rCR", "kept"},  // only the CR before a line feed goes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    AddSongFiles(c.numberText);
    ASSERT_EQ(Read(c.line), 0);
    ASSERT_EQ(m_songs.size(), 1u);
    const SongRecord& song = *m_songs[0];
    EXPECT_EQ(song.songNumber, c.number);
    EXPECT_EQ(song.newNumber, c.number);
    EXPECT_EQ(song.title, c.title);
    EXPECT_EQ(song.singer, c.singer);
    EXPECT_EQ(std::string(song.path), m_dir / (c.numberText + ".mp3"));
    EXPECT_EQ(song.kind, KIND_SONGLIST);
    EXPECT_EQ(song.album[0] + song.year[0] + song.comment[0] + song.genre, 0);
  }
}

TEST_F(SonglistReaderTest, EachLineIsLoggedAndBadLinesAreSkipped) {
  AddSongFiles("12");
  AddSongFiles("-3");
  WriteFile(m_dir / "13.mp3", "only the audio");
  ASSERT_EQ(Read("12|Rain|Bob\r\n"
                 "abc|Title|Singer\r\n"
                 "0|Title|Singer\r\n"
                 "#Title|Singer\r\n"
                 "13|Half|Pair\r\n"
                 "14|No|Files\r\n"
                 "-3|Title|Singer\r\n"
                 "12|Again|Bob\r\n"),
            0);
  EXPECT_EQ(ReadingLog(), (std::vector<std::string>{
                              "read 1th line : song number = 12, new number = 12",
                              "invalid song number : line 2",
                              "invalid song number : line 3",
                              "invalid song number : line 4",
                              "\"" + (m_dir / "13.mcg") + "\" does not exist",
                              "\"" + (m_dir / "14.mp3") + "\" does not exist",
                              "read 7th line : song number = -3, new number = -3",
                              "read 8th line : song number = 12, new number = 12",
                              "no data or end of file : line 8",
                          }));
  ASSERT_EQ(m_songs.size(), 3u);
  EXPECT_STREQ(m_songs[2]->title, "Again");
}

TEST_F(SonglistReaderTest, LineWithoutSeparatorEndsTheList) {
  AddSongFiles("1");
  AddSongFiles("2");
  for (const std::string blank : {"\n", "no separator here\n"}) {
    ASSERT_EQ(Read("1|One|A\n" + blank + "2|Two|B\n"), 0);
    EXPECT_EQ(m_songs.size(), 1u);
    EXPECT_EQ(ReadingLog().back(), "end of file");
  }
  // A line that starts with a NUL byte is empty text: the reading ends without a word.
  ASSERT_EQ(Read(std::string("1|One|A\n\0|Two|B\n2|Two|B\n", 20)), 0);
  EXPECT_EQ(m_songs.size(), 1u);
  EXPECT_EQ(ReadingLog().back(), "read 1th line : song number = 1, new number = 1");
}

TEST_F(SonglistReaderTest, TooManySeparatorsFailsAndKeepsEarlierSongs) {
  AddSongFiles("1");
  EXPECT_EQ(Read("1|One|A\n12|a|b|c\n1|Not|Read\n"), -1);
  EXPECT_EQ(m_songs.size(), 1u);
  // The quoted line carries its line feed, so the log line stops before the closing quote.
  EXPECT_EQ(ReadingLog().back(), "line 2 : too many separators \"12|a|b|c");
}

TEST_F(SonglistReaderTest, EmptyOrMissingFile) {
  EXPECT_EQ(Read(""), 0);
  EXPECT_TRUE(m_songs.empty());
  EXPECT_EQ(ReadingLog(), (std::vector<std::string>{"no data or end of file : line 0"}));

  EXPECT_EQ(ReadSonglistFile((m_dir / "missing.txt").c_str(), m_songs, m_host), -1);
  EXPECT_EQ(LogMessages(m_dir.Path()).back(), "can not read songlist file : " + (m_dir / "missing.txt"));
}

TEST_F(SonglistReaderTest, PopupShowsTextAndCompletesWithoutPumping) {
  AddSongFiles("1");
  ASSERT_EQ(Read("1|One|A\n"), 0);
  ASSERT_EQ(m_host.popups.size(), 1u);
  const auto& popup = m_host.popups[0];
  EXPECT_EQ(popup.title, "VALMERO");
  EXPECT_EQ(popup.upper, 1);
  EXPECT_EQ(popup.texts, (std::vector<std::string>{"Reading songlist file..."}));
  EXPECT_EQ(popup.steps, 1);
  EXPECT_EQ(popup.pumps, 0);
}

// A long list whose songs are missing reads as fast as one whose songs are
// there (no record is made for a line that is dropped), and it can be
// cancelled: what was read is in the log before the cancel box shows.
TEST_F(SonglistReaderTest, LongListOfMissingSongsCostsNoRecordsAndCanBeCancelled) {
  std::string list;
  for (int line = 1; line <= 2000; ++line) list += std::to_string(line) + "|Title|Singer\n";
  const std::size_t blocksBefore = RecordBlocksTaken();
  ASSERT_EQ(Read(list), 0);
  EXPECT_EQ(RecordBlocksTaken(), blocksBefore);
  EXPECT_GT(m_host.popups[0].pumps, 0);

  std::vector<std::string> logAtCancel;
  m_host.cancelAtPump = m_host.pumpCount + 2;
  m_host.atCancelBox = [&] { logAtCancel = LogMessages(m_dir.Path()); };
  EXPECT_EQ(Read(list), -1);
  EXPECT_EQ(m_host.events.back(), "cancelled: Progress Calcelled");
  ASSERT_FALSE(logAtCancel.empty());
  EXPECT_EQ(logAtCancel.back(), "\"" + (m_dir / "511.mp3") + "\" does not exist");
}

TEST_F(SonglistReaderTest, SongFilesAreFoundWithoutRegardToCase) {
  WriteFile(m_dir / "21.MP3", "mp3");
  WriteFile(m_dir / "21.Mcg", "mcg");
  ASSERT_EQ(Read("21|Upper|Case\n"), 0);
  ASSERT_EQ(m_songs.size(), 1u);
  // Windows' file system matches the formed name itself; elsewhere the name
  // found in the folder is used.
  EXPECT_EQ(std::string(m_songs[0]->path), m_dir / (PATH_SEPARATOR == '\\' ? "21.mp3" : "21.MP3"));
}

TEST_F(SonglistReaderTest, LongLineIsReadInPiecesOf259Characters) {
  AddSongFiles("1");
  // 259 characters then the rest: the rest is read as the next line.
  std::string first = "1|" + std::string(250, 'a') + "|b";
  first.resize(259, 'c');
  ASSERT_EQ(Read(first + "1|tail\n"), 0);
  ASSERT_EQ(m_songs.size(), 2u);
  EXPECT_STREQ(m_songs[1]->title, "tail");
}

TEST(SonglistSongFolderTest, FolderNeedsSlashAndDot) {
  EXPECT_EQ(SonglistSongFolder(testing::Native("/songs/list.txt").c_str()), testing::Native("/songs"));
  EXPECT_EQ(SonglistSongFolder(testing::Native("/songs.d/list").c_str()), testing::Native("/songs.d"));
  EXPECT_EQ(SonglistSongFolder(testing::Native("/songs/list").c_str()), "");
  EXPECT_EQ(SonglistSongFolder("list.txt"), "");
}

TEST(SonglistTruncationTest, EveryTruncationOfAValidFileIsReadSafely) {
  CTempDir dir;
  StartTestLog(dir.Path());
  for (const char* n : {"1", "22", "333"}) {
    WriteFile(dir / (std::string(n) + ".mp3"), "a");
    WriteFile(dir / (std::string(n) + ".mcg"), "b");
  }
  const std::string text = "1|One|A\r\n  22 # Two #  B  \r\n333\tThree\tC\r\n";
  CFakeHost host;
  for (std::size_t length = 0; length <= text.size(); ++length) {
    WriteFile(dir / "list.txt", text.substr(0, length));
    SongList songs;
    EXPECT_EQ(ReadSonglistFile((dir / "list.txt").c_str(), songs, host), 0) << length;
    EXPECT_LE(songs.size(), 3u);
  }
}

}  // namespace
}  // namespace valmero
