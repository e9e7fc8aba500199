#include "sources/id3v1_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "log/activity_log.h"
#include "platform/file_reading.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::LogMessages;
using testing::StartTestLog;
using testing::WriteFile;

// One silent MPEG-1 Layer III frame (128 kbit/s, 44.1 kHz).
std::string SilentFrame() {
  std::string frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  return frame;
}

std::string Padded(const std::string& text, std::size_t size) {
  std::string field = text.substr(0, size);
  field.resize(size, '\0');
  return field;
}

std::string Tag(const std::string& title, const std::string& artist, const std::string& album,
                const std::string& year, const std::string& comment, unsigned char genre) {
  return "TAG" + Padded(title, 30) + Padded(artist, 30) + Padded(album, 30) + Padded(year, 4) +
         Padded(comment, 30) + std::string(1, static_cast<char>(genre));
}

// A scratch whose every byte is a marker, to see what the reader wrote.
TagScratch MarkedScratch() {
  TagScratch scratch;
  std::memset(&scratch, 0x5A, sizeof scratch);
  return scratch;
}

bool SameBytes(const TagScratch& a, const TagScratch& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class Id3v1ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_dir.Path()); }
  void TearDown() override { ResetActivityLog(); }

  std::string Song(const std::string& name, const std::string& bytes) {
    std::string path = m_dir / name;
    WriteFile(path, bytes);
    return path;
  }
  std::vector<std::string> Log() { return LogMessages(m_dir.Path()); }

  CTempDir m_dir;
};

TEST_F(Id3v1ReaderTest, TakesFieldsAsRawBytes) {
  const std::string title30 = "A Title Of Thirty Characters!!";
  ASSERT_EQ(title30.size(), 30u);
  // ID3v1.1 keeps a track number in the last comment byte.
  std::string comment = Padded("Comment", 29) + "\x07";
  std::string path = Song("song.mp3", SilentFrame() + Tag(title30, "Singr", "Album  ", "1999", comment, 17));
  TagScratch scratch{};
  ASSERT_EQ(ReadId3v1Tag(path.c_str(), scratch), 0);

  EXPECT_EQ(std::string(scratch.m_tag.title), title30);
  EXPECT_EQ(std::string(scratch.m_tag.singer), "Singr");
  EXPECT_EQ(std::string(scratch.m_tag.album), "Album  ");  // padding spaces stay
  // Four bytes, no terminator: the next field starts right after.
  EXPECT_EQ(std::string(scratch.m_tag.year, YEAR_SIZE), "1999");
  EXPECT_EQ(std::string(scratch.m_tag.comment), "Comment");
  EXPECT_EQ(scratch.m_tag.comment[29], '\x07');  // a track byte is not interpreted
  EXPECT_EQ(scratch.m_nGenre, 17);
  // Only the 30 tag bytes land in each 60-byte field; the rest stays cleared.
  EXPECT_EQ(std::string(scratch.m_tag.title + 30, TEXT_SIZE - 30), std::string(TEXT_SIZE - 30, '\0'));
  EXPECT_EQ(Log().back(), "read ID3V1 TAG : " + path);
}

TEST_F(Id3v1ReaderTest, AllZeroTagStillCountsAsTag) {
  std::string path = Song("zero.mp3", SilentFrame() + "TAG" + std::string(125, '\0'));
  TagScratch scratch{};
  ASSERT_EQ(ReadId3v1Tag(path.c_str(), scratch), 0);
  TagScratch empty{};
  EXPECT_TRUE(SameBytes(scratch, empty));
}

TEST_F(Id3v1ReaderTest, WithoutTagLeavesScratchUntouched) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"plain.mp3", SilentFrame()},
      {"tag-at-start.mp3", Tag("Early", "", "", "", "", 0) + SilentFrame()},
      {"lower-case.mp3", SilentFrame() + "tag" + std::string(125, 'x')},
      {"short.mp3", "TAG" + std::string(100, 'x')},  // shorter than a tag
      {"empty.mp3", ""},
  };
  for (const Case& c : cases) {
    std::string path = Song(c.name, c.bytes);
    TagScratch scratch = MarkedScratch();
    EXPECT_EQ(ReadId3v1Tag(path.c_str(), scratch), 1) << c.name;
    EXPECT_TRUE(SameBytes(scratch, MarkedScratch())) << c.name;
    EXPECT_EQ(Log().back(), "cannot read ID3V1 TAG : " + path) << c.name;
  }
}

TEST_F(Id3v1ReaderTest, FileOfExactlyOneTagIsRead) {
  std::string path = Song("bare.mp3", Tag("Bare", "Only", "", "2001", "", 3));
  TagScratch scratch{};
  EXPECT_EQ(ReadId3v1Tag(path.c_str(), scratch), 0);
  EXPECT_STREQ(scratch.m_tag.title, "Bare");
}

TEST_F(Id3v1ReaderTest, FileThatCannotBeOpenedFails) {
  ASSERT_TRUE(MakeDirectory((m_dir / "folder.mp3").c_str()));
  for (const char* name : {"missing.mp3", "folder.mp3"}) {
    TagScratch scratch = MarkedScratch();
    EXPECT_EQ(ReadId3v1Tag((m_dir / name).c_str(), scratch), -1) << name;
    EXPECT_TRUE(SameBytes(scratch, MarkedScratch())) << name;
    EXPECT_EQ(Log().back(), "file error : CreateFile()") << name;
  }
}

TEST_F(Id3v1ReaderTest, EveryTruncationIsReadSafely) {
  // The start of a frame is enough audio to put the tag away from the start.
  const std::string whole = SilentFrame().substr(0, 40) + Tag("Title", "Artist", "Album", "2020", "Note", 9);
  for (std::size_t length = 0; length <= whole.size(); ++length) {
    std::string path = Song("cut.mp3", whole.substr(0, length));
    TagScratch scratch = MarkedScratch();
    int result = ReadId3v1Tag(path.c_str(), scratch);
    if (length == whole.size()) {
      EXPECT_EQ(result, 0);
    } else {
      // A cut file ends in the middle of its tag, which then no longer
      // starts 128 bytes before the end.
      EXPECT_EQ(result, 1) << length;
      EXPECT_TRUE(SameBytes(scratch, MarkedScratch())) << length;
    }
  }
}

// A scan opens its songs by name in the folder it holds open; that must give
// exactly what opening the full path gives, log lines (which name the full
// path) included.
TEST_F(Id3v1ReaderTest, ReadingByNameInTheOpenFolderEqualsReadingByPath) {
  ASSERT_TRUE(MakeDirectory((m_dir / "folder.mp3").c_str()));
  Song("tagged.mp3", SilentFrame() + Tag("Title", "Artist", "Album", "2020", "Note", 9));
  Song("plain.mp3", SilentFrame());
  Song("short.mp3", "TAG");
  CHeldFolder folder(m_dir.Path().c_str());
  const int folderFd = folder.Fd();
  for (const char* name : {"tagged.mp3", "plain.mp3", "short.mp3", "missing.mp3", "folder.mp3"}) {
    std::string path = m_dir / name;
    TagScratch byPath = MarkedScratch();
    int resultByPath = ReadId3v1Tag(path.c_str(), byPath);
    std::string lineByPath = Log().back();
    TagScratch byName = MarkedScratch();
    // Where no folder can be held, names are whole paths.
    const std::string nameInFolder = folderFd == CURRENT_FOLDER ? path : name;
    EXPECT_EQ(ReadId3v1TagAt(folderFd, nameInFolder.c_str(), path.c_str(), byName), resultByPath) << name;
    EXPECT_TRUE(SameBytes(byName, byPath)) << name;
    EXPECT_EQ(Log().back(), lineByPath) << name;
  }
}

}  // namespace
}  // namespace valmero
