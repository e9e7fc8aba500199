#include "book/html_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/song_book.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;

// In print, a letter whose last page is at least half full starts pages of
// its own; a small one goes on after the letter before it, and a part that
// makes one such group has no letter pages at all.
TEST(HtmlBookTest, BigLettersGetPagesOfTheirOwnAndSmallOnesGoOnAfterOthers) {
  struct Case {
    std::vector<std::pair<const char*, int>> letters;  // title word, songs
    std::string header;                                // a page header expected, empty: none
  };
  const Case cases[] = {
      {{{"Apple", 200}}, ""},
      {{{"Apple", 200}, {"Berry", 5}, {"Cherry", 200}}, "By title \xC2\xB7 B \xE2\x80\x93 C"},
      {{{"Apple", 20}, {"Berry", 5}}, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> titles;
    for (const auto& [word, count] : c.letters) {
      for (int i = 0; i < count; ++i) titles.push_back(word + std::string(" ") + std::to_string(i));
    }
    std::vector<testing::SongFields> fields;
    for (std::size_t i = 0; i < titles.size(); ++i) fields.push_back({static_cast<int32_t>(i + 1), titles[i].c_str(), "Abba"});
    CTempDir dir;
    std::string error;
    BookOutcome outcome;
    ASSERT_EQ(WriteSongBook(testing::MakeSongs(fields), false, BookSettings(), dir / "book.html", outcome, error), 0)
        << error;
    const std::string html = testing::ReadFile(dir / "book.html");
    EXPECT_EQ(html.find("style=\"page: t-p") != std::string::npos, !c.header.empty()) << titles.size();
    if (!c.header.empty()) {
      EXPECT_NE(html.find(c.header), std::string::npos) << c.header;
    }
  }
}

}  // namespace
}  // namespace valmero
