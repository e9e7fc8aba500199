#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

#include "core/song_list.h"

namespace valmero {
namespace {

// Enough records to fill several of the pool's blocks.
constexpr int MANY = 20000;

bool AllZero(const SongRecord& record) {
  static const SongRecord zero{};
  return std::memcmp(&record, &zero, sizeof record) == 0;
}

TEST(RecordPoolTest, RecordsAreDistinctZeroedAndKeepTheirBytes) {
  SongList songs;
  for (int k = 0; k < MANY; ++k) {
    songs.push_back(MakeSongRecord());
    ASSERT_TRUE(AllZero(*songs.back())) << k;
    std::memset(songs.back().get(), k % 251, sizeof(SongRecord));
  }
  std::set<const SongRecord*> distinct;
  for (int k = 0; k < MANY; ++k) {
    distinct.insert(songs[static_cast<std::size_t>(k)].get());
    const auto* bytes = reinterpret_cast<const unsigned char*>(songs[static_cast<std::size_t>(k)].get());
    ASSERT_TRUE(std::all_of(bytes, bytes + sizeof(SongRecord), [&](unsigned char b) { return b == k % 251; })) << k;
  }
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(MANY));
}

// Records freed in any order are taken again, zeroed, and a list emptied to
// the last record (the pool gives its blocks back) can be filled again.
TEST(RecordPoolTest, FreedRecordsAreReusedAndTheListCanBeFilledAgain) {
  std::mt19937 random(5);
  for (int round = 0; round < 3; ++round) {
    SongList songs;
    for (int k = 0; k < MANY; ++k) songs.push_back(MakeSongRecord());
    for (auto& song : songs) std::memset(song.get(), 0xA5, sizeof(SongRecord));
    std::shuffle(songs.begin(), songs.end(), random);
    songs.resize(MANY / 2);  // frees half, in random order
    for (int k = 0; k < MANY / 2; ++k) {
      songs.push_back(MakeSongRecord());
      ASSERT_TRUE(AllZero(*songs.back()));
    }
    std::set<const SongRecord*> distinct;
    for (const auto& song : songs) distinct.insert(song.get());
    EXPECT_EQ(distinct.size(), songs.size());
    ClearSongList(songs);
  }
  // A copy made with new is a record like the others.
  auto original = MakeSongRecord();
  original->songNumber = 42;
  auto copy = std::make_unique<SongRecord>(*original);
  EXPECT_EQ(copy->songNumber, 42);
}

}  // namespace
}  // namespace valmero
