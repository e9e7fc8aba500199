#include "outputs/ordering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace valmero {
namespace {

// Songs with the given numbers; each title records the reading position.
SongList SongsNumbered(const std::vector<int>& numbers) {
  SongList songs;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    auto song = MakeSongRecord();
    song->songNumber = numbers[i];
    song->newNumber = numbers[i];
    std::snprintf(song->title, sizeof song->title, "%zu", i + 1);
    songs.push_back(std::move(song));
  }
  return songs;
}

std::string Order(const SongList& songs) {
  std::string order;
  for (const auto& song : songs) order += std::to_string(song->songNumber) + "/" + song->title + " ";
  return order;
}

TEST(OrderingTest, EqualNumbersTakeTheExchangeSortsOrder) {
  struct Case {
    std::vector<int> numbers;
    std::string expected;  // number/position read
  };
  const Case cases[] = {
      {{}, ""},
      {{3, 3, 1}, "1/3 3/2 3/1 "},
      {{2, 1, 2, 1}, "1/2 1/4 2/3 2/1 "},
      {{1, 1, 2, 2}, "1/1 1/2 2/3 2/4 "},
      {{5, -1, 0}, "-1/2 0/3 5/1 "},
      {{2147483647, -2147483647 - 1}, "-2147483648/2 2147483647/1 "},
  };
  for (const Case& c : cases) {
    SongList songs = SongsNumbered(c.numbers);
    SortByNumber(songs);
    EXPECT_EQ(Order(songs), c.expected);
    for (const auto& song : songs) EXPECT_EQ(song->newNumber, song->songNumber);
  }
}

TEST(OrderingTest, RenumberingGivesPositionsAndLogsEachSong) {
  testing::CTempDir dir;
  testing::StartTestLog(dir.Path());
  SongList songs = SongsNumbered({3, 3, 1, 7, 9});
  SortByNumber(songs);
  RenumberSongs(songs);
  for (std::size_t i = 0; i < songs.size(); ++i) EXPECT_EQ(songs[i]->newNumber, static_cast<int>(i + 1));
  EXPECT_EQ(songs[1]->songNumber, 3);
  auto log = testing::LogMessages(dir.Path());
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1], "take a new song number 1 -> 1");
  EXPECT_EQ(log[2], "take a new song number 3 -> 2");
  EXPECT_EQ(log[5], "take a new song number 9 -> 5");

  SongList empty;
  RenumberSongs(empty);
  EXPECT_EQ(testing::LogMessages(dir.Path()).size(), 6u);
}

}  // namespace
}  // namespace valmero
