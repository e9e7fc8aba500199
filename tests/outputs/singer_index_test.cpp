#include "outputs/singer_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/fixed_text.h"
#include "support/song_builder.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::LogMessages;
using testing::ReadFile;
using testing::StartTestLog;

using testing::MakeSongs;
using testing::SongFields;

// (name, id, titles with numbers) of every group, in table order.
// The index's rule for a title or singer, which the check and the index share.
TEST(IndexTextTest, CutAtTheLastLineFeedCapitalsThenTwentyThreeBytes) {
  struct Case {
    const char* text;
    const char* spelled;
    const char* held;
  };
  const Case cases[] = {
      {"Blue Moon", "BLUE MOON", "BLUE MOON"},
      {"a long title of thirty bytes!", "A LONG TITLE OF THIRTY BYTES!", "A LONG TITLE OF THIRTY "},
      {"one\ntwo\nthree", "ONE\nTWO", "ONE\nTWO"},
      {"\xE9t\xE9 caf\xE9", "\xE9T\xE9 CAF\xE9", "\xE9T\xE9 CAF\xE9"},  // only a to z change
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IndexSpellingOf(c.text), c.spelled) << c.text;
    EXPECT_EQ(IndexTextOf(c.text), c.held) << c.text;
    char inPlace[64];
    CopyText(inPlace, sizeof inPlace, c.text);
    SpellAsIndex(inPlace);
    EXPECT_EQ(std::string(inPlace), c.spelled) << c.text;
  }
}

using GroupView = std::tuple<std::string, int32_t, std::vector<std::pair<std::string, int32_t>>>;
std::vector<GroupView> Groups(const SingerIndex& index) {
  std::vector<GroupView> groups;
  for (const auto& group : index.m_singerGroups) {
    std::vector<std::pair<std::string, int32_t>> songs;
    for (const auto& slot : group->songs) songs.emplace_back(slot.title, slot.number);
    groups.emplace_back(group->name, group->id, songs);
  }
  return groups;
}

using TitleView = std::tuple<std::string, int32_t, int32_t>;
std::vector<TitleView> Titles(const SingerIndex& index) {
  std::vector<TitleView> titles;
  for (const auto& entry : index.m_titleIndex) titles.emplace_back(entry->title, entry->groupIndex, entry->number);
  return titles;
}

class SingerIndexTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_logDir.Path()); }
  CTempDir m_logDir;
  CTempDir m_target;
  SingerIndex m_index;
};

TEST_F(SingerIndexTest, ExampleGroupsThenSortsBothTables) {
  // (renumbered, numbers of Rain, Apple and Blue Sky as published)
  for (bool renumbered : {true, false}) {
    SCOPED_TRACE(renumbered ? "renumbered" : "numbers kept");
    const int32_t rain = renumbered ? 1 : 5, apple = renumbered ? 2 : 9, blueSky = renumbered ? 3 : 12;
    auto songs = MakeSongs({{5, "Rain", "Bob"}, {9, "Apple", "Ann"}, {12, "blue sky", "Ann"}}, renumbered);

    BuildSingerGroups(songs, renumbered, m_index);
    EXPECT_EQ(Groups(m_index), (std::vector<GroupView>{{"BOB", 0, {{"RAIN", rain}}},
                                                       {"ANN", 1, {{"APPLE", apple}, {"BLUE SKY", blueSky}}}}));

    ASSERT_EQ(BuildIndex(songs, renumbered, m_target.Path().c_str(), m_index), 0);
    EXPECT_EQ(Groups(m_index), (std::vector<GroupView>{{"ANN", 0, {{"APPLE", apple}, {"BLUE SKY", blueSky}}},
                                                       {"BOB", 1, {{"RAIN", rain}}}}));
    EXPECT_EQ(Titles(m_index),
              (std::vector<TitleView>{{"APPLE", 0, apple}, {"BLUE SKY", 0, blueSky}, {"RAIN", 1, rain}}));
    EXPECT_EQ(static_cast<int32_t>(m_index.m_singerGroups.size()), 2);
    EXPECT_EQ(static_cast<int32_t>(m_index.SongsInGroups()), 3);
  }
}

TEST_F(SingerIndexTest, GroupingByUpperCasedNameCutToWhatTheFileHolds) {
  const std::string long23 = "ABCDEFGHIJKLMNOPQRSTUVW";
  struct Case {
    const char* what;
    std::vector<SongFields> songs;
    std::vector<std::pair<std::string, int>> groups;  // (name, song count), sorted
  };
  const std::vector<Case> cases = {
      {"case and a trailing line feed do not split a singer",
       {{1, "a", "abc"}, {2, "b", "ABC"}, {3, "c", "Abc\n"}},
       {{"ABC", 3}}},
      {"songs without singer form one group that sorts first",
       {{1, "a", "Zed"}, {2, "b", ""}, {3, "c", ""}},
       {{"", 2}, {"ZED", 1}}},
      {"high bytes are not upper-cased and sort after ASCII",
       {{1, "a", "\xe9va"}, {2, "b", "zoe"}, {3, "c", "\xe9VA"}},
       {{"ZOE", 1}, {"\xe9VA", 2}}},
      {"the cut is at the last line feed, not the first",
       {{1, "a", "x\ny\n"}, {2, "b", "X\nY"}},
       {{"X", 1}, {"X\nY", 1}}},
      {"long names group by their first 23 characters",
       {{1, "a", "abcdefghijklmnopqrstuvwxyz"}, {2, "b", "ABCDEFGHIJKLMNOPQRSTUVW and more"},
        {3, "c", "ABCDEFGHIJKLMNOPQRSTUVW"}, {4, "d", "ABCDEFGHIJKLMNOPQRSTUV"}},
       {{"ABCDEFGHIJKLMNOPQRSTUV", 1}, {long23, 3}}},
  };
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.what);
    auto songs = MakeSongs(testCase.songs, false);
    ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
    std::vector<std::pair<std::string, int>> groups;
    for (const auto& group : m_index.m_singerGroups) groups.emplace_back(group->name, static_cast<int32_t>(group->songs.size()));
    EXPECT_EQ(groups, testCase.groups);
    EXPECT_EQ(static_cast<int32_t>(m_index.SongsInGroups()), static_cast<int32_t>(testCase.songs.size()));
  }
}

TEST_F(SingerIndexTest, SongRecordsKeepTheUpperCasedWholeTextWhileTheIndexCutsIt) {
  const char* title30 = "a title of thirty characters!!";
  ASSERT_EQ(std::strlen(title30), 30u);
  auto songs = MakeSongs({{1, title30, "singer\nwith feed\n"}}, false);
  ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
  EXPECT_STREQ(songs[0]->title, "A TITLE OF THIRTY CHARACTERS!!");
  EXPECT_STREQ(songs[0]->singer, "SINGER\nWITH FEED");
  EXPECT_STREQ(m_index.m_singerGroups[0]->songs[0].title, "A TITLE OF THIRTY CHARA");
  EXPECT_STREQ(m_index.m_titleIndex[0]->title, "A TITLE OF THIRTY CHARA");
}

TEST_F(SingerIndexTest, OneSingerWithMoreThanFiveHundredSongsStaysOneGroup) {
  std::vector<SongFields> songFields;
  for (int32_t number = 1; number <= 750; ++number) songFields.push_back({number, "Same", "Busy"});
  songFields.push_back({751, "Other", "Idle"});
  auto songs = MakeSongs(songFields, false);
  ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
  ASSERT_EQ(static_cast<int32_t>(m_index.m_singerGroups.size()), 2);
  EXPECT_EQ(static_cast<int32_t>(m_index.m_singerGroups[0]->songs.size()), 750);
  EXPECT_EQ(m_index.m_singerGroups[0]->songs[749].number, 750);
  EXPECT_EQ(static_cast<int32_t>(m_index.SongsInGroups()), 751);
  EXPECT_EQ(ReadFile(m_target / "ENGLISH.KVX").size(), 16u + 32u * (2u + 751u));
}

TEST_F(SingerIndexTest, EqualTitlesTakeTheExchangeSortOrder) {
  // Before the title sort: HELLO of group 0, HELLO of group 1, ALPHA of group 1.
  auto songs = MakeSongs({{1, "Hello", "A"}, {2, "Hello", "B"}, {3, "Alpha", "B"}}, false);
  ASSERT_EQ(BuildIndex(songs, false, m_target.Path().c_str(), m_index), 0);
  EXPECT_EQ(Titles(m_index), (std::vector<TitleView>{{"ALPHA", 1, 3}, {"HELLO", 1, 2}, {"HELLO", 0, 1}}));
}

TEST_F(SingerIndexTest, FindSingerGroupAnswersWithTablePositionsFromOne) {
  auto songs = MakeSongs({{1, "a", "Bob"}, {2, "b", "Ann"}, {3, "c", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}}, false);
  BuildSingerGroups(songs, false, m_index);
  EXPECT_EQ(FindSingerGroup(m_index, "BOB"), 1);
  EXPECT_EQ(FindSingerGroup(m_index, "ANN"), 2);
  EXPECT_EQ(FindSingerGroup(m_index, "ABCDEFGHIJKLMNOPQRSTUVW"), 3);
  EXPECT_EQ(FindSingerGroup(m_index, "ABCDEFGHIJKLMNOPQRSTUVW whatever follows"), 3);
  EXPECT_EQ(FindSingerGroup(m_index, "Bob"), -1);  // the comparison itself folds no case
  EXPECT_EQ(FindSingerGroup(m_index, ""), -1);
  SortSingerGroups(m_index);
  EXPECT_EQ(FindSingerGroup(m_index, "ABCDEFGHIJKLMNOPQRSTUVW"), 1);
  EXPECT_EQ(FindSingerGroup(m_index, "ANN"), 2);
  EXPECT_EQ(FindSingerGroup(m_index, "BOB"), 3);
  m_index.ClearIndexArrays();
  EXPECT_EQ(FindSingerGroup(m_index, "BOB"), -1);
}

TEST_F(SingerIndexTest, EmptyListLogsEveryStepAndWritesTheHeaderOnly) {
  SongList songs;
  ASSERT_EQ(BuildIndex(songs, true, m_target.Path().c_str(), m_index), 0);
  EXPECT_EQ(static_cast<int32_t>(m_index.m_singerGroups.size()), 0);
  EXPECT_EQ(static_cast<int32_t>(m_index.SongsInGroups()), 0);
  auto log = LogMessages(m_logDir.Path());
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()),
            (std::vector<std::string>{"Initialize arrays", "Sort songlist by singer", "Sort songlist by title"}));
  EXPECT_EQ(ReadFile(m_target / "ENGLISH.KVX"), std::string("ENG\0\0\0\0\0\0\0\0\0\0\0\0\0", 16));
}

TEST_F(SingerIndexTest, ANewBuildStartsFromEmptyTables) {
  auto first = MakeSongs({{1, "a", "Old"}, {2, "b", "Older"}}, false);
  ASSERT_EQ(BuildIndex(first, false, m_target.Path().c_str(), m_index), 0);
  auto second = MakeSongs({{3, "c", "New"}}, false);
  ASSERT_EQ(BuildIndex(second, false, m_target.Path().c_str(), m_index), 0);
  EXPECT_EQ(Groups(m_index), (std::vector<GroupView>{{"NEW", 0, {{"C", 3}}}}));
  EXPECT_EQ(Titles(m_index), (std::vector<TitleView>{{"C", 0, 3}}));
  EXPECT_EQ(FindSingerGroup(m_index, "OLD"), -1);
}

TEST_F(SingerIndexTest, FastAndLiteralSortsWriteTheSameFile) {
  // Few singers and titles, so that equal keys abound in both sorts; texts
  // that differ only in a high byte, only past 8 or 16 characters, or only
  // past the 23 the index keeps.
  const std::vector<const char*> singers = {"ann", "Bob", "\xc5sa", "ann", "Cy", "", "BOB", "A\x80", "A\xff",
                                            "abcdefghijklmnopqrstuvw1", "abcdefghijklmnopqrstuvw2"};
  const std::vector<const char*> titles = {"Rain", "rain", "Sun", "\xe9t\xe9", "Rain", "Snow", "S", "",
                                           "ABCDEFG", "ABCDEFGH", "ABCDEFGHI", "ABCDEFGH\xff", "ABCDEFGHIJKLMNOP",
                                           "ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                           "ABCDEFGHIJKLMNOPQRSTUVW", "ABCDEFGHIJKLMNOPQRSTUV\xe9"};
  std::mt19937 random(5);
  std::vector<SongFields> songFields;
  for (int32_t number = 1; number <= 1500; ++number) {
    songFields.push_back({number, titles[random() % titles.size()], singers[random() % singers.size()]});
  }
  CTempDir literalTarget;
  auto fastSongs = MakeSongs(songFields, true);
  auto literalSongs = MakeSongs(songFields, true);
  SingerIndex literalIndex;
  ASSERT_EQ(BuildIndexWith(fastSongs, true, m_target.Path().c_str(), m_index, SortMethod::Fast), 0);
  ASSERT_EQ(BuildIndexWith(literalSongs, true, literalTarget.Path().c_str(), literalIndex, SortMethod::Literal),
            0);
  EXPECT_EQ(Titles(m_index), Titles(literalIndex));
  EXPECT_EQ(ReadFile(m_target / "ENGLISH.KVX"), ReadFile(literalTarget / "ENGLISH.KVX"));
}

}  // namespace
}  // namespace valmero
