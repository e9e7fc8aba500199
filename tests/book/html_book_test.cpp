#include "book/html_book.h"

#include <gtest/gtest.h>

#include <string>

#include "book/song_book.h"
#include "core/song_list.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;

// A big book gives each letter pages of its own, from 150 songs a letter
// on: fewer would leave most of each page empty.
TEST(HtmlBookTest, LettersGetPagesOfTheirOwnFrom150SongsALetter) {
  for (int count : {149, 150}) {
    SCOPED_TRACE(count);
    SongList songs;
    for (int i = 1; i <= count; ++i) {
      auto song = MakeSongRecord();
      song->songNumber = song->newNumber = i;
      std::snprintf(song->title, sizeof song->title, "Apple %d", i);
      std::snprintf(song->singer, sizeof song->singer, "Abba");
      songs.push_back(std::move(song));
    }
    CTempDir dir;
    std::string error;
    ASSERT_EQ(WriteSongBook(songs, true, BookSettings(), dir / "book.html", error), 0) << error;
    const std::string html = testing::ReadFile(dir / "book.html");
    EXPECT_EQ(html.find("style=\"page: s-A\"") != std::string::npos, count == 150);
    EXPECT_EQ(html.find("style=\"page: t-A\"") != std::string::npos, count == 150);
  }
}

}  // namespace
}  // namespace valmero
