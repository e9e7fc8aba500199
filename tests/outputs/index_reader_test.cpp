#include "outputs/index_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "outputs/index_file.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::ReadFile;
using testing::StartTestLog;

using Bytes = std::vector<unsigned char>;

// An index made by the writer itself from (number, title, singer) songs.
Bytes WrittenIndex(const std::vector<testing::SongFields>& songFields) {
  CTempDir folder;
  StartTestLog(folder.Path());
  SongList songs = testing::MakeSongs(songFields);
  SingerIndex index;
  EXPECT_EQ(BuildIndex(songs, false, folder.Path().c_str(), index), 0);
  std::string text = ReadFile(folder / "ENGLISH.KVX");
  return Bytes(text.begin(), text.end());
}

// The 176-byte index of ANN (APPLE 2, BLUE SKY 3) and BOB (RAIN 1).
Bytes ExampleIndex() { return WrittenIndex({{1, "Rain", "Bob"}, {2, "Apple", "Ann"}, {3, "blue sky", "Ann"}}); }

void PutNumber(Bytes& bytes, std::size_t offset, uint32_t value) {
  for (int shift = 24, i = 0; shift >= 0; shift -= 8, ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> shift);
  }
}

void PutText(Bytes& bytes, std::size_t offset, const std::string& text) {
  std::memset(&bytes[offset], 0, 24);
  std::memcpy(&bytes[offset], text.data(), text.size());
}

bool Read(const Bytes& bytes, KvxContents& contents, KvxFault& fault) {
  return ReadIndexImage(bytes.data(), bytes.size(), contents, fault);
}

TEST(IndexReaderTest, ReadsTheExampleBack) {
  Bytes bytes = ExampleIndex();
  ASSERT_EQ(bytes.size(), 176u);
  KvxContents contents;
  KvxFault fault;
  ASSERT_TRUE(Read(bytes, contents, fault)) << fault.offset << ": " << fault.message;
  ASSERT_EQ(contents.singers.size(), 2u);
  EXPECT_EQ(contents.singers[1].name, "BOB");
  EXPECT_EQ(contents.singers[1].songCount, 1);
  EXPECT_EQ(contents.singers[1].id, 1);
  ASSERT_EQ(contents.titles.size(), 3u);
  EXPECT_EQ(contents.titles[1].title, "BLUE SKY");
  EXPECT_EQ(contents.titles[1].groupIndex, 0);
  EXPECT_EQ(contents.titles[1].number, 3);
}

TEST(IndexReaderTest, EmptyIndexIsSound) {
  Bytes bytes = WrittenIndex({});
  KvxContents contents;
  KvxFault fault;
  EXPECT_TRUE(Read(bytes, contents, fault));
  EXPECT_TRUE(contents.singers.empty());
  EXPECT_TRUE(contents.titles.empty());
}

TEST(IndexReaderTest, RefusesEveryTruncationAndATrailingByte) {
  const Bytes bytes = ExampleIndex();
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    KvxContents contents;
    KvxFault fault;
    EXPECT_FALSE(Read(cut, contents, fault)) << size;
    // A cut file may still start wrong; past the header it is the length.
    if (size >= 16) {
      EXPECT_EQ(fault.offset, size) << fault.message;
    }
  }
  Bytes longer = bytes;
  longer.push_back(0);
  KvxContents contents;
  KvxFault fault;
  EXPECT_FALSE(Read(longer, contents, fault));
  EXPECT_EQ(fault.offset, 176u);
}

TEST(IndexReaderTest, ReportsTheFirstFaultWithItsOffset) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> corrupt;
    std::size_t offset;
    const char* messagePart;
  };
  // Layout: header 0-15; singers ANN at 16, BOB at 48; titles APPLE at 80,
  // BLUE SKY at 112, RAIN at 144.
  const std::vector<Case> cases = {
      {"magic", [](Bytes& b) { b[1] = 'n'; }, 1, "ENG"},
      {"magic's zero byte", [](Bytes& b) { b[3] = ' '; }, 3, "ENG"},
      {"negative title count", [](Bytes& b) { PutNumber(b, 4, 0xffffffffu); }, 4, "negative"},
      {"negative singer count", [](Bytes& b) { PutNumber(b, 8, 0x80000000u); }, 8, "negative"},
      {"last header word", [](Bytes& b) { b[15] = 1; }, 12, "not zero"},
      {"one title more than the file holds", [](Bytes& b) { PutNumber(b, 4, 4); }, 176, "ends early"},
      {"one singer less than the file holds", [](Bytes& b) { PutNumber(b, 8, 1); }, 144, "goes on"},
      {"counts that need more than 4 GB", [](Bytes& b) { PutNumber(b, 4, 0x7fffffff); PutNumber(b, 8, 0x7fffffff); },
       176, "ends early"},
      {"singer name without its NUL", [](Bytes& b) { std::memset(&b[16], 'A', 24); }, 16, "not terminated"},
      {"singer id not its position", [](Bytes& b) { PutNumber(b, 76, 0); }, 76, "id"},
      {"singers out of order", [](Bytes& b) { PutText(b, 48, "AMY"); }, 48, "sorts before"},
      {"title without its NUL", [](Bytes& b) { std::memset(&b[112], 'B', 24); }, 112, "not terminated"},
      {"title's singer past the last", [](Bytes& b) { PutNumber(b, 104, 2); }, 104, "not one of"},
      {"title's singer negative", [](Bytes& b) { PutNumber(b, 104, 0xffffffffu); }, 104, "not one of"},
      {"titles out of order", [](Bytes& b) { PutText(b, 144, "ANT"); }, 144, "sorts before"},
      {"high byte sorts after ASCII", [](Bytes& b) { PutText(b, 80, "\xc4PPLE"); }, 112, "sorts before"},
      {"singer count too high", [](Bytes& b) { PutNumber(b, 40, 3); }, 40, "count is 3 but 2"},
      {"a title moved to the other singer", [](Bytes& b) { PutNumber(b, 136, 1); }, 40, "count is 2 but 1"},
  };
  for (const auto& testCase : cases) {
    Bytes bytes = ExampleIndex();
    testCase.corrupt(bytes);
    KvxContents contents;
    KvxFault fault;
    EXPECT_FALSE(Read(bytes, contents, fault)) << testCase.what;
    EXPECT_EQ(fault.offset, testCase.offset) << testCase.what << ": " << fault.message;
    EXPECT_NE(fault.message.find(testCase.messagePart), std::string::npos) << testCase.what << ": " << fault.message;
  }
}

TEST(IndexReaderTest, EqualNeighboursAndBytesAfterTheNulAreAccepted) {
  Bytes bytes = WrittenIndex({{1, "Same", "A"}, {2, "Same", "B"}, {3, "Same", "A"}});
  bytes[16 + 20] = 'x';  // after the NUL of singer A's name
  KvxContents contents;
  KvxFault fault;
  EXPECT_TRUE(Read(bytes, contents, fault)) << fault.message;
}

TEST(IndexReaderTest, WhatTheWriterWritesIsSound) {
  const char* singers[] = {"ann", "Bob", "\xc5sa", "", "a very long singer name beyond the field"};
  const char* titles[] = {"Rain", "rain", "Sun", "\xe9t\xe9", "", "abcdefghijklmnopqrstuvwxyz"};
  std::mt19937 random(11);
  std::vector<testing::SongFields> songFields;
  for (int32_t number = 1; number <= 300; ++number) {
    songFields.push_back({number, titles[random() % 6], singers[random() % 5]});
  }
  Bytes bytes = WrittenIndex(songFields);
  KvxContents contents;
  KvxFault fault;
  ASSERT_TRUE(Read(bytes, contents, fault)) << fault.offset << ": " << fault.message;
  EXPECT_EQ(contents.titles.size(), 300u);
  EXPECT_EQ(contents.singers.size(), 5u);
}

// Whatever the bytes, the reader answers (and, under the sanitizers, touches
// nothing outside them).
TEST(IndexReaderTest, SurvivesRandomDamage) {
  const Bytes good = WrittenIndex({{1, "Rain", "Bob"}, {2, "Apple", "Ann"}, {3, "Sun", "Cy"}, {4, "Sun", "Ann"}});
  std::mt19937 random(3);
  int refused = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes = good;
    int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
    if (round % 4 == 0) bytes.resize(random() % (bytes.size() + 1));
    KvxContents contents;
    KvxFault fault;
    if (!Read(bytes, contents, fault)) {
      ++refused;
      EXPECT_LE(fault.offset, bytes.size());
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace valmero
