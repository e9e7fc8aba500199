#include "book/book_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/song_builder.h"

namespace valmero {
namespace {

// "number:title" of each song of a part, groups as "[singer] ".
std::string SingerPart(const std::vector<BookSong>& songs) {
  std::string text;
  for (const BookGroup& group : GroupBySinger(songs)) {
    text += std::string(1, group.heading) + "[" + group.name + "]";
    for (std::size_t song : group.songs) text += " " + std::to_string(songs[song].number) + ":" + songs[song].title;
    text += " ";
  }
  return text;
}

std::string TitlePart(const std::vector<BookSong>& songs) {
  std::string text;
  for (std::size_t song : OrderByTitle(songs)) {
    text += std::string(1, songs[song].titleHeading) + std::to_string(songs[song].number) + ":" + songs[song].title +
            "/" + songs[song].singer + " ";
  }
  return text;
}

std::vector<BookSong> Songs(const std::vector<BookSong>& songs) {
  std::vector<BookSong> headed = songs;
  for (BookSong& song : headed) song.titleHeading = HeadingOf(song.title);
  return headed;
}

TEST(BookOrderTest, SingersAndTitlesAsThePlayersIndexOrdersThem) {
  struct Case {
    std::vector<BookSong> songs;  // in the run's order
    std::string bySinger;
    std::string byTitle;
  };
  const Case cases[] = {
      {{}, "", ""},
      // Equal titles of different singers: by singer in part two.
      {{{"Hello", "Zed", 1}, {"Hello", "Adele", 2}, {"HELLO", "Lionel", 3}},
       "A[Adele] 2:Hello L[Lionel] 3:HELLO Z[Zed] 1:Hello ",
       "H2:Hello/Adele H3:HELLO/Lionel H1:Hello/Zed "},
      // One group whatever the case, named as its first song writes it;
      // titles by upper case, equal titles in the run's order.
      {{{"rain", "abc", 1}, {"Apple", "ABC", 2}, {"RAIN", "Abc", 3}},
       "A[abc] 2:Apple 1:rain 3:RAIN ",
       "A2:Apple/ABC R1:rain/abc R3:RAIN/Abc "},
      // Empty texts and digits stand under '#' first, bytes of 128 and
      // above and signs after 'Z' under '~' last.
      {{{"", "Nobody", 1}, {"\xC4rger", "", 2}, {"[x]", "99ers", 3}, {"Zoo", "\xC9mile", 4}},
       "#[] 2:\xC4rger #[99ers] 3:[x] N[Nobody] 1: ~[\xC9mile] 4:Zoo ",
       "#1:/Nobody Z4:Zoo/\xC9mile ~3:[x]/99ers ~2:\xC4rger/ "},
  };
  for (const Case& c : cases) {
    std::vector<BookSong> songs = Songs(c.songs);
    EXPECT_EQ(SingerPart(songs), c.bySinger);
    EXPECT_EQ(TitlePart(songs), c.byTitle);
  }
}

TEST(BookOrderTest, SingerWithHundredsOfSongsStaysOneGroupInTitleOrder) {
  std::vector<BookSong> songs;
  for (int i = 0; i < 700; ++i) {
    char title[16];
    std::snprintf(title, sizeof title, "Song %03d", (i * 3) % 700);
    songs.push_back({title, i % 2 ? "BIG BAND" : "Big Band", i + 1});
  }
  std::vector<BookGroup> groups = GroupBySinger(songs);
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].songs.size(), 700u);
  for (std::size_t i = 1; i < 700; ++i) EXPECT_LT(songs[groups[0].songs[i - 1]].title, songs[groups[0].songs[i]].title);
}

TEST(BookOrderTest, BookSongsShowThePlayersNumberAndCutAtTheLastLineFeed) {
  SongList list = testing::MakeSongs({{37, "old\nRain", "Bob\n"}}, true);
  EXPECT_EQ(BookSongsOf(list, true)[0].number, 1);
  EXPECT_EQ(BookSongsOf(list, false)[0].number, 37);
  EXPECT_EQ(BookSongsOf(list, true)[0].title, "old");
  EXPECT_EQ(BookSongsOf(list, true)[0].singer, "Bob");
  EXPECT_EQ(BookSongsOf(list, true)[0].titleHeading, 'O');
}

}  // namespace
}  // namespace valmero
