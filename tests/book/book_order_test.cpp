#include "book/book_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/name_folding.h"
#include "support/song_builder.h"

namespace valmero {
namespace {

struct Parts {
  std::string bySinger;  // "heading[singer] number:title ..." for each group
  std::string byTitle;   // "heading number:title/singer ..."
};

Parts Order(std::vector<BookSong> songs, const OrderOptions& options = {}) {
  std::vector<BookGroup> groups;
  std::vector<std::size_t> titles;
  OrderBook(songs, options, groups, titles);
  Parts parts;
  for (const BookGroup& group : groups) {
    parts.bySinger += group.heading.label + "[" + group.name + "]";
    for (std::size_t song : group.songs) parts.bySinger += " " + std::to_string(songs[song].number) + ":" + songs[song].title;
    parts.bySinger += " ";
  }
  for (std::size_t song : titles) {
    parts.byTitle += songs[song].titleHeading.label + " " + std::to_string(songs[song].number) + ":" +
                     songs[song].title + "/" + groups[songs[song].group].name + " ";
  }
  return parts;
}

std::vector<BookSong> Titles(const std::vector<std::string>& titles) {
  std::vector<BookSong> songs;
  for (const std::string& title : titles) songs.push_back({title, "S", static_cast<int32_t>(songs.size() + 1), {}, 0});
  return songs;
}

std::string HeadingOfName(const std::string& name, BookLanguage language = BookLanguage::English) {
  return HeadingOfKey(LookupKey(name), language).label;
}

TEST(BookOrderTest, NamesStandUnderTheLetterAGuestLooksFor) {
  const std::pair<const char*, const char*> cases[] = {
      {"Édith Piaf", "E"}, {"Ólafur Arnalds", "O"}, {"Øystein Sunde", "O"}, {"Ärzte", "A"},
      {"Über", "U"}, {"Ça ira", "C"}, {"¿Quién será?", "Q"}, {"Æon", "A"}, {"Łódź", "L"},
      {"'Til Tuesday", "T"}, {"\"Weird Al\" Yankovic", "W"}, {"*NSYNC", "N"}, {"...And Justice", "A"},
      {"ＡＢＣ", "A"},  // fullwidth
      {"99 Luftballons", "#"}, {"", "#"}, {"!!!", "#"},
      {"Ελπίδα", "Ε"}, {"Москва", "М"},
      {"사랑", "ㅅ"}, {"까치", "ㄱ"}, {"ㅎㅎ", "ㅎ"}, {"빠른", "ㅂ"},
      {"あいのうた", "あ"}, {"ガラス", "か"}, {"ぴったり", "は"}, {"ｶﾞﾗｽ", "か"}, {"んー", "わ"}, {"ょ", "や"},
      {"漢字", "Other"}, {"♪", "#"},
  };
  for (const auto& [name, heading] : cases) EXPECT_EQ(HeadingOfName(name), heading) << name;
  EXPECT_EQ(HeadingOfName("漢字", BookLanguage::Korean), "기타");
  EXPECT_EQ(HeadingOfName("漢字", BookLanguage::Japanese), "その他");
}

TEST(BookOrderTest, TitlesOrderWithoutAccentsCaseAndPunctuationThenWithThem) {
  Parts parts = Order(Titles({"Zed", "Édith", "edith", "Edith", "Ebba", "Ärzte", "Abba", "Øystein", "Oasis", "ABBA",
                              "'Til I", "Till", "Straße", "Strasse", "9 to 5", "ça", "Cab"}));
  EXPECT_EQ(parts.byTitle,
            "# 15:9 to 5/S A 10:ABBA/S A 7:Abba/S A 6:Ärzte/S C 16:ça/S C 17:Cab/S E 5:Ebba/S E 4:Edith/S "
            "E 3:edith/S E 2:Édith/S O 9:Oasis/S O 8:Øystein/S S 14:Strasse/S S 13:Straße/S T 11:'Til I/S "
            "T 12:Till/S Z 1:Zed/S ");
}

TEST(BookOrderTest, LanguagePutsItsOwnScriptFirst) {
  std::vector<BookSong> songs = Titles({"Zoo", "사랑", "가요", "あい", "1999", "Ёлка"});
  EXPECT_EQ(Order(songs).byTitle, "# 5:1999/S Z 1:Zoo/S Е 6:Ёлка/S ㄱ 3:가요/S ㅅ 2:사랑/S あ 4:あい/S ");
  EXPECT_EQ(Order(songs, {false, BookLanguage::Korean}).byTitle,
            "ㄱ 3:가요/S ㅅ 2:사랑/S # 5:1999/S Z 1:Zoo/S Е 6:Ёлка/S あ 4:あい/S ");
  EXPECT_EQ(Order(songs, {false, BookLanguage::Japanese}).byTitle,
            "あ 4:あい/S # 5:1999/S Z 1:Zoo/S Е 6:Ёлка/S ㄱ 3:가요/S ㅅ 2:사랑/S ");
}

TEST(BookOrderTest, OneSingerWhateverTheArticleCaseAndAccents) {
  const std::vector<BookSong> songs = {{"Yesterday", "The Beatles", 1, {}, 0}, {"Help", "Beatles, The", 2, {}, 0},
                                       {"Halo", "beyoncé", 3, {}, 0},          {"Crazy", "Beyoncé", 4, {}, 0},
                                       {"Irreplaceable", "Beyonce", 5, {}, 0}, {"Xo", "Beyoncé", 6, {}, 0},
                                       {"Bye", "THE THE", 7, {}, 0},           {"Ok", "", 8, {}, 0}};
  EXPECT_EQ(Order(songs).bySinger,
            "#[] 8:Ok B[Beatles, The] 2:Help 1:Yesterday B[Beyoncé] 4:Crazy 3:Halo 5:Irreplaceable 6:Xo "
            "T[THE, THE] 7:Bye ");
  EXPECT_EQ(Order(songs, {true, BookLanguage::English}).bySinger,
            "#[] 8:Ok B[Beatles, The] 2:Help B[Beyoncé] 4:Crazy 3:Halo 5:Irreplaceable 6:Xo T[The Beatles] 1:Yesterday "
            "T[THE THE] 7:Bye ");
  // The title part names the singer as part one lists it.
  EXPECT_NE(Order(songs).byTitle.find("Y 1:Yesterday/Beatles, The"), std::string::npos);
}

TEST(BookOrderTest, SongsGuestsCannotKeyInAreCountedNotListed) {
  const std::vector<BookSong> songs = {{"A", "X", 0, {}, 0},      {"B", "X", 100000, {}, 0}, {"C", "X", 99999, {}, 0},
                                       {"", "  ", 7, {}, 0},      {"D", "", 8, {}, 0},       {"C", "X", 99999, {}, 0},
                                       {"C", "x", 99999, {}, 0}, {"E", "X", -4, {}, 0}};
  LeftOutSongs left;
  std::vector<BookSong> listed = ListableSongs(songs, left);
  EXPECT_EQ(left.withoutNumber, 3u);
  EXPECT_EQ(left.withoutTexts, 1u);
  EXPECT_EQ(left.duplicates, 1u);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[2].singer, "x");
}

TEST(BookOrderTest, SingerWithHundredsOfSongsStaysOneGroupInTitleOrder) {
  std::vector<BookSong> songs;
  for (int i = 0; i < 700; ++i) {
    char title[16];
    std::snprintf(title, sizeof title, "Song %03d", (i * 3) % 700);
    songs.push_back({title, i % 2 ? "BIG BAND" : "Big Band", i + 1, {}, 0});
  }
  std::vector<BookGroup> groups;
  std::vector<std::size_t> titles;
  OrderBook(songs, {}, groups, titles);
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].songs.size(), 700u);
  EXPECT_EQ(groups[0].name, "Big Band");  // 350 each: the run's first
  for (std::size_t i = 1; i < 700; ++i) EXPECT_LT(songs[groups[0].songs[i - 1]].title, songs[groups[0].songs[i]].title);
}

TEST(BookOrderTest, BookSongsShowThePlayersNumberAndCutAtTheLastLineFeed) {
  SongList list = testing::MakeSongs({{37, "old\nRain", "Bob\n"}}, true);
  EXPECT_EQ(BookSongsOf(list, true)[0].number, 1);
  EXPECT_EQ(BookSongsOf(list, false)[0].number, 37);
  EXPECT_EQ(BookSongsOf(list, true)[0].title, "old");
  EXPECT_EQ(BookSongsOf(list, true)[0].singer, "Bob");
}

TEST(BookOrderTest, JumpBarsShowTheLanguagesOwnLettersFirst) {
  auto labels = [](BookLanguage language) {
    std::string text;
    for (const LetterHeading& heading : StandardHeadings(language)) text += heading.label;
    return text;
  };
  EXPECT_EQ(labels(BookLanguage::English), "#ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(labels(BookLanguage::Korean), "ㄱㄴㄷㄹㅁㅂㅅㅇㅈㅊㅋㅌㅍㅎ#ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(labels(BookLanguage::Japanese), "あかさたなはまやらわ#ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

}  // namespace
}  // namespace valmero
