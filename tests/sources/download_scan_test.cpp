#include "sources/download_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/files.h"
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

TEST(SongFileNameTest, KindsAndNumbers) {
  struct Case {
    const char* name;
    int kind;
    int number;
  };
  const Case cases[] = {
      {"00123.mp3", KIND_PAIR, 123},
      {"00123-IPS.MP3", KIND_IPS, 123},
      {"00123-mcg.mp3", KIND_MCG, 123},
      {"00123-X.mp3", KIND_PAIR, 123},
      {"Track-00123.mp3", KIND_PAIR, -1},
      {"00000.mp3", KIND_PAIR, -1},
      {"00012-ips.mp3", KIND_IPS, 12},
      {"Track-IPS.mp3", KIND_IPS, -1},
      {"00012-IPSX.MP3", KIND_IPS, 12},  // only the four characters at the '-' count
      {"00012-IP.mp3", KIND_PAIR, 12},
      {"-IPS.mp3", KIND_IPS, -1},        // nothing left once the ending is removed
      {"IPS.mp3", KIND_PAIR, -1},
      {"-7.mp3", KIND_PAIR, -1},         // a negative number is no number
      {"+8.mp3", KIND_PAIR, 8},
      {"00007.mp3-ips", KIND_IPS, -1},   // the '-' in the extension; "00007" less four is "0"
      {"00044 Song Title.mp3", KIND_PAIR, 44},
  };
  for (const Case& c : cases) {
    std::string upper = c.name;
    UpperCaseAscii(upper.data());
    EXPECT_TRUE(IsMp3FileName(upper.c_str())) << c.name;
    EXPECT_EQ(SongKindOfFileName(upper.c_str()), c.kind) << c.name;
    EXPECT_EQ(SongNumberFromFileName((testing::Native("/music/") + c.name).c_str(), c.kind), c.number) << c.name;
  }
}

TEST(SongFileNameTest, OnlyExtensionsStartingWithMp3AreSongs) {
  const std::pair<const char*, bool> cases[] = {
      {"00001.MP3", true},   {"00001.MP3BACKUP", true}, {".MP3", true},
      {"00001.MP", false},   {"00001", false},          {"00001.ZIP", false},
      {"00001.MCG", false},  {"00001.CDG", false},      {"SONG.MP3.ZIP", false},
      {"MP3", false},
  };
  for (const auto& [upperName, isSong] : cases) EXPECT_EQ(IsMp3FileName(upperName), isSong) << upperName;
}

TEST(SongFileNameTest, NumberNeedsBothSlashAndDotAfterIt) {
  EXPECT_EQ(SongNumberFromFileName("00123.mp3", KIND_PAIR), -1);
  EXPECT_EQ(SongNumberFromFileName(testing::Native("/music/00123").c_str(), KIND_PAIR), -1);
  EXPECT_EQ(SongNumberFromFileName(testing::Native("/music.v2/00123").c_str(), KIND_PAIR), -1);
  EXPECT_EQ(SongNumberFromFileName(testing::Native("/music.v2/00123.mp3").c_str(), KIND_PAIR), 123);
  EXPECT_EQ(SongNumberFromFileName(testing::Native("/a/b/77.x.mp3").c_str(), KIND_PAIR), 77);
}

// Files for the scans: silent MPEG frames, with or without an ID3v1 tag.
std::string SilentAudio() {
  std::string frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  return frame + frame;
}

std::string Field(const std::string& text, std::size_t size) {
  std::string field = text.substr(0, size);
  field.resize(size, '\0');
  return field;
}

std::string TaggedSong(const std::string& title, const std::string& artist, const std::string& year = "",
                       unsigned char genre = 0) {
  return SilentAudio() + "TAG" + Field(title, 30) + Field(artist, 30) + Field("", 30) + Field(year, 4) +
         Field("", 30) + std::string(1, static_cast<char>(genre));
}

void PutInt32(std::string& out, int32_t value) {
  uint32_t raw = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((raw >> shift) & 0xFF);
}

void PutText(std::string& out, const std::string& text) {
  PutInt32(out, static_cast<int32_t>(text.size()));
  for (unsigned char c : text) out += static_cast<char>(255 - c);
}

struct CatalogueLine {
  int32_t number;
  std::string title;
  std::string singer;
};

void LoadCatalogue(CSongCatalogue& catalogue, const std::vector<CatalogueLine>& lines) {
  std::string bytes;
  for (const CatalogueLine& line : lines) {
    PutInt32(bytes, line.number);
    PutText(bytes, line.title);
    PutText(bytes, line.singer);
  }
  catalogue.ReadCatalogueBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  ASSERT_EQ(catalogue.Size(), lines.size());
}

class DownloadScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartTestLog(m_logDir.Path());
    m_folder = m_root / "songs";
    ASSERT_TRUE(MakeDirectory(m_folder.c_str()));
  }
  void TearDown() override { ResetActivityLog(); }

  void Put(const std::string& name, const std::string& bytes = SilentAudio()) { WriteFile(m_folder + VALMERO_SEP + name, bytes); }
  std::string PathOf(const std::string& name) const { return m_folder + VALMERO_SEP + name; }

  int Scan(bool jukeList = false) {
    return ScanDownloadFolder(m_folder.c_str(), jukeList, m_catalogue, m_scratch, m_songs, m_host);
  }

  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const auto& song : m_songs) paths.emplace_back(song->path);
    return paths;
  }

  // The log after the start line and "Scanning files...".
  std::vector<std::string> ScanLog() const {
    std::vector<std::string> lines = LogMessages(m_logDir.Path());
    auto scanning = std::find(lines.begin(), lines.end(), SCANNING_TEXT);
    EXPECT_NE(scanning, lines.end());
    if (scanning == lines.end()) return lines;
    std::vector<std::string> rest(scanning + 1, lines.end());
    if (!rest.empty() && rest.back().empty()) rest.pop_back();
    return rest;
  }

  CTempDir m_logDir;
  CTempDir m_root;
  std::string m_folder;
  CSongCatalogue m_catalogue;
  TagScratch m_scratch{};
  SongList m_songs;
  CFakeHost m_host;
};

TEST_F(DownloadScanTest, OnlyTheMp3FileOfACompanionSetBecomesASong) {
  for (const char* name : {"00001.mp3", "00001.mcg", "00001.zip", "00001.cdg", "readme.txt", "00001"}) Put(name);
  ASSERT_EQ(Scan(), 0);

  ASSERT_EQ(m_songs.size(), 1u);
  const SongRecord& song = *m_songs[0];
  EXPECT_EQ(std::string(song.path), PathOf("00001.mp3"));
  EXPECT_EQ(song.songNumber, 1);
  EXPECT_EQ(song.newNumber, 1);
  EXPECT_EQ(song.kind, KIND_PAIR);
  const std::vector<std::string> expected = {"cannot read ID3V1 TAG : " + PathOf("00001.mp3"),
                                             "add data : " + PathOf("00001.mp3")};
  EXPECT_EQ(ScanLog(), expected);

  ASSERT_EQ(m_host.popups.size(), 1u);
  const auto& popup = m_host.popups[0];
  EXPECT_EQ(popup.title, "VALMERO");
  EXPECT_EQ(popup.lower, 0);
  EXPECT_EQ(popup.upper, 1);
  EXPECT_EQ(popup.step, 1);
  EXPECT_EQ(popup.texts, std::vector<std::string>{"Scanning files..."});
  EXPECT_EQ(popup.pumps, 1);
  EXPECT_EQ(popup.steps, 1);
  EXPECT_TRUE(m_host.events.empty());
}

TEST_F(DownloadScanTest, FirstMp3FileFixesTheKindInEitherOrder) {
  struct Case {
    std::vector<const char*> names;  // in listing order
    const char* kept;
    int kind;
  };
  const Case cases[] = {
      {{"00001-IPS.mp3", "00002.mp3", "00003-MCG.mp3", "00004-ips.MP3"}, "00001-IPS.mp3", KIND_IPS},
      {{"00001.mp3", "00002-IPS.mp3", "00003-MCG.mp3"}, "00001.mp3", KIND_PAIR},
      {{"00001-mcg.mp3", "00002.mp3", "00003-IPS.mp3"}, "00001-mcg.mp3", KIND_MCG},
  };
  for (const Case& c : cases) {
    CTempDir root;
    m_folder = root.Path();
    for (const char* name : c.names) Put(name);
    StartTestLog(m_logDir.Path());
    ASSERT_EQ(Scan(), 0);

    std::vector<std::string> expected = {PathOf(c.kept)};
    if (c.kind == KIND_IPS) expected.push_back(PathOf("00004-ips.MP3"));
    EXPECT_EQ(Paths(), expected) << c.kept;  // names tested upper-cased, paths as listed
    for (const auto& song : m_songs) EXPECT_EQ(song->kind, c.kind) << song->path;
    // Files of another kind leave no trace in the log.
    EXPECT_EQ(ScanLog().size(), 2 * expected.size()) << c.kept;
  }
}

TEST_F(DownloadScanTest, NameWithoutNumberGivesSongNumberedZero) {
  Put("Track-IPS.mp3", TaggedSong("Nameless", "Someone"));
  ASSERT_EQ(Scan(), 0);
  ASSERT_EQ(m_songs.size(), 1u);
  EXPECT_EQ(m_songs[0]->kind, KIND_IPS);
  EXPECT_EQ(m_songs[0]->songNumber, 0);
  EXPECT_EQ(m_songs[0]->newNumber, 0);
  EXPECT_EQ(ScanLog().front(), "can not read song number");
}

TEST_F(DownloadScanTest, FoldersAndOtherExtensionsArePassedOver) {
  // Listed first, a folder named like an IPS song must not fix the kind.
  ASSERT_TRUE(MakeDirectory(PathOf("00000-IPS.mp3").c_str()));
  ASSERT_TRUE(MakeDirectory(PathOf("x.mp3").c_str()));
  Put("x.mp3/00009.mp3");
  Put("00005.MP3BACKUP");
  Put("00006.mp");
  ASSERT_EQ(Scan(), 0);
  EXPECT_EQ(Paths(), std::vector<std::string>{PathOf("00005.MP3BACKUP")});
  EXPECT_EQ(m_songs[0]->kind, KIND_PAIR);
  EXPECT_EQ(m_songs[0]->songNumber, 5);
}

TEST_F(DownloadScanTest, TagComesFirstThenCatalogueThenEmptyTexts) {
  LoadCatalogue(m_catalogue, {{1, "Catalogue One", "Catalogue Singer"},
                              {2, "Catalogue Two", "Second Singer"},
                              {4, "Catalogue Four", "Fourth Singer"}});
  Put("00001.mp3", TaggedSong("Tag One", "Tag Singer", "1987", 12));
  Put("00002.mp3");
  Put("00003.mp3");
  Put("00004.mp3", SilentAudio() + "TAG" + std::string(125, '\0'));
  ASSERT_EQ(Scan(), 0);
  ASSERT_EQ(m_songs.size(), 4u);

  const SongRecord& tagged = *m_songs[0];
  EXPECT_STREQ(tagged.title, "Tag One");
  EXPECT_STREQ(tagged.singer, "Tag Singer");
  EXPECT_EQ(std::string(tagged.year, YEAR_SIZE), "1987");
  EXPECT_EQ(tagged.genre, 12);

  const SongRecord& catalogued = *m_songs[1];
  EXPECT_STREQ(catalogued.title, "Catalogue Two");
  EXPECT_STREQ(catalogued.singer, "Second Singer");
  EXPECT_STREQ(catalogued.album, "");
  EXPECT_EQ(std::string(catalogued.year, YEAR_SIZE), std::string(YEAR_SIZE, '\0'));
  EXPECT_STREQ(catalogued.comment, "");
  EXPECT_EQ(catalogued.genre, 0);

  // Neither tag nor catalogue entry, and an all-zero tag: both empty, both kept.
  for (const SongRecord* empty : {m_songs[2].get(), m_songs[3].get()}) {
    EXPECT_STREQ(empty->title, "") << empty->path;
    EXPECT_STREQ(empty->singer, "") << empty->path;
    EXPECT_EQ(empty->songNumber, empty->newNumber);
  }
}

TEST_F(DownloadScanTest, JukeListPassesOverSongsWithoutInformation) {
  LoadCatalogue(m_catalogue, {{2, "Catalogue Two", "Second Singer"}});
  Put("00001.mp3", TaggedSong("Tag One", "Tag Singer"));
  Put("00002.mp3");
  Put("00003.mp3");
  ASSERT_EQ(Scan(true), 0);
  EXPECT_EQ(Paths(), (std::vector<std::string>{PathOf("00001.mp3"), PathOf("00002.mp3")}));
  const std::vector<std::string> log = ScanLog();
  EXPECT_EQ(log.back(), "cannot find song information. \"" + PathOf("00003.mp3") + "\" file is passed");
  // Only added songs pump.
  EXPECT_EQ(m_host.popups[0].pumps, 2);
}

TEST_F(DownloadScanTest, CancelNoticedAfterThirdSongKeepsThreeSongs) {
  for (const char* name : {"00001.mp3", "00002.mp3", "00003.mp3", "00004.mp3", "00005.mp3"}) Put(name);
  m_host.cancelAtPump = 3;
  // The lines held for the log are in it before the box waits for the user.
  std::vector<std::string> logAtBox;
  m_host.atCancelBox = [&] { logAtBox = ScanLog(); };
  EXPECT_EQ(Scan(), -1);
  EXPECT_EQ(m_songs.size(), 3u);
  EXPECT_EQ(m_host.events, std::vector<std::string>{"cancelled: Progress Calcelled"});
  EXPECT_EQ(m_host.popups[0].steps, 0);
  ASSERT_FALSE(logAtBox.empty());
  EXPECT_EQ(logAtBox.back(), "add data : " + PathOf("00003.mp3"));
}

TEST_F(DownloadScanTest, EmptyFolderGivesNoSongAndMissingOneFails) {
  m_songs.push_back(MakeSongRecord());
  EXPECT_EQ(Scan(), 0);
  EXPECT_TRUE(m_songs.empty());
  EXPECT_EQ(m_host.popups.back().steps, 1);

  const std::string missing = m_folder + VALMERO_SEP "missing";
  m_songs.push_back(MakeSongRecord());
  EXPECT_EQ(ScanDownloadFolder(missing.c_str(), false, m_catalogue, m_scratch, m_songs, m_host), -1);
  EXPECT_TRUE(m_songs.empty());
  EXPECT_EQ(ScanLog().back(), "can not read download folder : " + missing);
  EXPECT_TRUE(m_host.events.empty());
}

TEST_F(DownloadScanTest, FileWhosePathWouldNotFitIsPassedOver) {
  // A folder path of about 200 characters: short names fit, long ones do not.
  m_folder += VALMERO_SEP + std::string(200 - m_folder.size(), 'd');
  ASSERT_TRUE(MakeDirectory(m_folder.c_str()));
  const std::string longName = "00002" + std::string(60, 'n') + ".mp3";
  Put("00001.mp3");
  Put(longName);
  Put("00003.mp3");
  ASSERT_EQ(Scan(), 0);
  EXPECT_EQ(Paths(), (std::vector<std::string>{PathOf("00001.mp3"), PathOf("00003.mp3")}));
  const std::vector<std::string> log = ScanLog();
  EXPECT_NE(std::find(log.begin(), log.end(), "\"" + PathOf(longName) + "\" does not exist"), log.end());
}

// The bundled collection the demo runs on: what it is meant to show must
// stay true when the samples are regenerated.
TEST(BundledDownloadSamplesTest, ScanGivesTheCatalogueAndTagTexts) {
  CSongCatalogue catalogue;
  ASSERT_EQ(catalogue.ReadCatalogue(VALMERO_SAMPLES_DIR), 0);
  TagScratch scratch{};
  SongList songs;
  CFakeHost host;
  ASSERT_EQ(ScanDownloadFolder(VALMERO_SAMPLES_DIR VALMERO_SEP "download", false, catalogue, scratch, songs, host), 0);

  std::vector<std::string> got;
  for (const auto& song : songs) {
    EXPECT_EQ(song->kind, KIND_PAIR) << song->path;
    got.push_back(std::to_string(song->songNumber) + "|" + song->title + "|" + song->singer);
  }
  const std::vector<std::string> expected = {
      "10234|Harbour Lights|Mara Quell",      "10388|Silver Morning|The Lamplighters",
      "11502|Paper Boats|Mara Quell",         "12011|Northbound Train|Ellis Crane",
      "12950|Falling Slowly Home|Ellis Crane", "13100|Whispering Pines|Ruth Ambers",
      "13377|Paper Moon Parade|Mara Quell",
  };
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace valmero
