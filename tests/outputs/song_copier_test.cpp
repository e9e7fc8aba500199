#include "outputs/song_copier.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/fixed_text.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "support/fake_host.h"
#include "support/cli_runner.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFakeHost;
using testing::CFileSizeLimit;
using testing::CTempDir;
using testing::ListNames;
using testing::LogMessages;
using testing::ReadFile;
using testing::StartTestLog;
using testing::WriteFile;

using Names = std::vector<std::string>;

std::string CopyText(const std::string& from, const std::string& to, int done, int total) {
  return "copying file : from '" + from + "' \n\tto '" + to + "' \n\n\tnow transferring " + std::to_string(done) +
         "/" + std::to_string(total);
}

class SongCopierTest : public ::testing::Test {
 protected:
  void SetUp() override { StartTestLog(m_logDir.Path()); }

  // A song whose file (and, given, companion) exists in the source folder.
  void AddSong(int32_t kind, int newNumber, const std::string& fileName, const std::string& content) {
    WriteFile(m_source / fileName, content);
    AddSongWithoutFile(kind, newNumber, fileName);
  }
  void AddSongWithoutFile(int32_t kind, int newNumber, const std::string& fileName) {
    auto song = MakeSongRecord();
    song->kind = kind;
    song->newNumber = newNumber;
    song->songNumber = newNumber + 1000;
    ASSERT_TRUE(valmero::CopyText(song->path, sizeof song->path, (m_source / fileName).c_str()));
    m_songs.push_back(std::move(song));
  }
  void Copy() { CopySongsToTarget(m_songs, m_target.Path().c_str(), m_host); }
  std::string Target(const std::string& name) const { return m_target / name; }
  // The log lines after the start line.
  Names RunLog() const {
    Names lines = LogMessages(m_logDir.Path());
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  CTempDir m_logDir;
  CTempDir m_source;
  CTempDir m_target;
  SongList m_songs;
  CFakeHost m_host;
};

TEST_F(SongCopierTest, SingleFileKindsAreCopiedUnderTheirNumberedNames) {
  struct Case {
    int32_t kind;
    Names names;
  };
  const std::vector<Case> cases = {
      {KIND_IPS, {"00001-IPS.MP3", "00002-IPS.MP3", "00003-IPS.MP3"}},
      {KIND_MCG, {"00001-MCG.MP3", "00002-MCG.MP3", "00003-MCG.MP3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    CTempDir target;
    CFakeHost host;
    m_songs.clear();
    for (int n = 1; n <= 3; ++n) AddSong(c.kind, n, "s" + std::to_string(n) + ".mp3", "song " + std::to_string(n));
    CopySongsToTarget(m_songs, target.Path().c_str(), host);

    EXPECT_EQ(ListNames(target.Path()), c.names);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(ReadFile(target / c.names[n - 1]), "song " + std::to_string(n));
    ASSERT_EQ(host.popups.size(), 1u);
    const auto& popup = host.popups[0];
    EXPECT_EQ(popup.title, "VALMERO");
    EXPECT_EQ(popup.upper, 3);
    EXPECT_EQ(popup.position, 3);
    EXPECT_EQ(popup.pumps, 3);
    EXPECT_EQ(popup.texts, (Names{CopyText(m_source / "s1.mp3", target / c.names[0], 1, 3),
                                  CopyText(m_source / "s2.mp3", target / c.names[1], 2, 3),
                                  CopyText(m_source / "s3.mp3", target / c.names[2], 3, 3)}));
  }
  EXPECT_TRUE(RunLog().empty());
}

TEST_F(SongCopierTest, PairsBringTheirCompanionFoundWithoutRegardToCase) {
  // A downloaded pair and a songlist song (kind 0) are copied alike.
  for (int32_t kind : {KIND_PAIR, KIND_SONGLIST}) {
    SCOPED_TRACE(kind);
    CTempDir target;
    CFakeHost host;
    m_songs.clear();
    AddSong(kind, 7, "00042.mp3", "audio");
    WriteFile(m_source / "00042.mcg", "graphics");
    CopySongsToTarget(m_songs, target.Path().c_str(), host);

    EXPECT_EQ(ListNames(target.Path()), (Names{"00007.MCG", "00007.MP3"}));
    EXPECT_EQ(ReadFile(target / "00007.MP3"), "audio");
    EXPECT_EQ(ReadFile(target / "00007.MCG"), "graphics");
    ASSERT_EQ(host.popups.size(), 1u);
    EXPECT_EQ(host.popups[0].upper, 2);
    EXPECT_EQ(host.popups[0].position, 2);
    EXPECT_EQ(host.popups[0].texts, (Names{CopyText(m_source / "00042.mp3", target / "00007.MP3", 1, 2),
                                           CopyText(m_source / "00042.MCG", target / "00007.MCG", 2, 2)}));
  }
  EXPECT_TRUE(RunLog().empty());
}

TEST_F(SongCopierTest, CompanionOfAFileWithoutExtensionInADottedFolder) {
  MakeDirectory((m_source / "disc.v2").c_str());
  AddSong(KIND_PAIR, 1, testing::Native("disc.v2/00042"), "audio");
  WriteFile(m_source / testing::Native("disc.v2/00042.MCG"), "graphics");
  Copy();

  EXPECT_EQ(ReadFile(Target("00001.MCG")), "graphics");
  EXPECT_TRUE(RunLog().empty());
}

TEST_F(SongCopierTest, PairWithoutCompanionIsLoggedAndTheCountGoesOn) {
  AddSong(KIND_PAIR, 1, "a.mp3", "first");
  AddSong(KIND_PAIR, 2, "b.mp3", "second");
  WriteFile(m_source / "b.MCG", "b graphics");
  Copy();

  EXPECT_EQ(ListNames(m_target.Path()), (Names{"00001.MP3", "00002.MCG", "00002.MP3"}));
  EXPECT_EQ(m_host.popups[0].upper, 4);
  EXPECT_EQ(m_host.popups[0].position, 4);
  EXPECT_EQ(RunLog(), Names{"can not copy \"" + (m_source / "a.MCG") + "\" to \"" + Target("00001.MCG") + "\""});
  EXPECT_TRUE(m_host.events.empty());
}

TEST_F(SongCopierTest, LaterSongWithTheSameNumberWinsAndOldFilesAreReplaced) {
  WriteFile(Target("00005-IPS.MP3"), "left from an earlier run");
  WriteFile(Target("00006-IPS.MP3"), "also old");
  AddSong(KIND_IPS, 5, "x.mp3", "earlier in the list");
  AddSong(KIND_IPS, 5, "y.mp3", "later in the list");
  AddSong(KIND_IPS, 6, "z.mp3", "new six");
  Copy();

  EXPECT_EQ(ReadFile(Target("00005-IPS.MP3")), "later in the list");
  EXPECT_EQ(ReadFile(Target("00006-IPS.MP3")), "new six");
  EXPECT_EQ(ListNames(m_target.Path()), (Names{"00005-IPS.MP3", "00006-IPS.MP3"}));
}

TEST_F(SongCopierTest, CancelAfterTheThirdOfFiveStopsThere) {
  for (int n = 1; n <= 5; ++n) AddSong(KIND_MCG, n, std::to_string(n) + ".mp3", "song " + std::to_string(n));
  m_host.cancelAtPump = 3;
  Copy();

  EXPECT_EQ(ListNames(m_target.Path()), (Names{"00001-MCG.MP3", "00002-MCG.MP3", "00003-MCG.MP3"}));
  EXPECT_EQ(ReadFile(Target("00003-MCG.MP3")), "song 3");
  EXPECT_EQ(m_host.popups[0].texts.size(), 3u);
  EXPECT_EQ(m_host.events, Names{"cancelled: Progress Calcelled"});
}

TEST_F(SongCopierTest, CancelBetweenTheHalvesOfAPairLeavesItsCompanion) {
  AddSong(KIND_PAIR, 1, "a.mp3", "audio");
  WriteFile(m_source / "a.MCG", "graphics");
  AddSong(KIND_PAIR, 2, "b.mp3", "audio 2");
  m_host.cancelAtPump = 1;
  Copy();

  EXPECT_EQ(ListNames(m_target.Path()), Names{"00001.MP3"});
  EXPECT_EQ(m_host.popups[0].position, 1);
  EXPECT_EQ(m_host.events, Names{"cancelled: Progress Calcelled"});
}

TEST_F(SongCopierTest, FailedCopyLeavesNoPartialFileAndTheNextSongFollows) {
  SKIP_WITHOUT_FILE_SIZE_LIMIT();
  AddSong(KIND_IPS, 1, "big.mp3", std::string(1 << 20, 'b'));
  AddSong(KIND_IPS, 2, "small.mp3", "small");
  AddSongWithoutFile(KIND_IPS, 3, "gone.mp3");
  WriteFile(Target("00001-IPS.MP3"), "good old copy");
  {
    CFileSizeLimit limit(64 * 1024);
    Copy();
  }
  EXPECT_EQ(ListNames(m_target.Path()), (Names{"00001-IPS.MP3", "00002-IPS.MP3"}));
  EXPECT_EQ(ReadFile(Target("00001-IPS.MP3")), "good old copy");
  EXPECT_EQ(ReadFile(Target("00002-IPS.MP3")), "small");
  EXPECT_EQ(m_host.popups[0].position, 3);
  EXPECT_EQ(RunLog(), (Names{
                          "can not copy \"" + (m_source / "big.mp3") + "\" to \"" + Target("00001-IPS.MP3") + "\"",
                          "can not copy \"" + (m_source / "gone.mp3") + "\" to \"" + Target("00003-IPS.MP3") + "\"",
                      }));
}

TEST_F(SongCopierTest, DestinationPathTooLongIsAFailedCopy) {
  AddSong(KIND_IPS, 1, "a.mp3", "data");
  // With the separator and 00001-IPS.MP3 the path needs 260 characters: one too many.
  const std::string target = m_target.Path() + VALMERO_SEP + std::string(245 - m_target.Path().size(), 'd');
  ASSERT_EQ(target.size() + 14, 260u);
  MakeDirectory(target.c_str());
  CopySongsToTarget(m_songs, target.c_str(), m_host);

  EXPECT_TRUE(ListNames(target).empty());
  EXPECT_EQ(RunLog(), Names{"can not copy \"" + (m_source / "a.mp3") + "\" to \"" + target + VALMERO_SEP "00001-IPS.MP3\""});
}

// A new song before the others moves their copies up a number: the update
// shows every file as a fresh copy does (its text and its step), whether it
// is copied or moved, and leaves the same files.
TEST_F(SongCopierTest, UpdateShowsEveryFileAsAFreshCopyDoes) {
  for (const char* name : {"a", "b"}) {
    AddSong(KIND_PAIR, static_cast<int>(m_songs.size()) + 1, std::string(name) + ".mp3", std::string("audio ") + name);
    WriteFile(m_source / (std::string(name) + ".MCG"), std::string("graphics ") + name);
  }
  Copy();
  AddSong(KIND_PAIR, 1, "new.mp3", "audio new");
  WriteFile(m_source / "new.MCG", "graphics new");
  m_songs[0]->newNumber = 2;
  m_songs[1]->newNumber = 3;
  std::rotate(m_songs.begin(), m_songs.end() - 1, m_songs.end());

  CFakeHost update;
  CopySongsToTarget(m_songs, m_target.Path().c_str(), update);
  testing::Files updated = testing::ReadFolder(m_target.Path());
  for (const auto& file : updated) RemoveFile(Target(file.first).c_str());
  CFakeHost fresh;
  CopySongsToTarget(m_songs, m_target.Path().c_str(), fresh);

  EXPECT_EQ(updated, testing::ReadFolder(m_target.Path()));
  ASSERT_EQ(update.popups.size(), 1u);
  EXPECT_EQ(update.popups[0].texts, fresh.popups[0].texts);
  EXPECT_EQ(update.popups[0].upper, fresh.popups[0].upper);
  EXPECT_EQ(update.popups[0].steps, fresh.popups[0].steps);
  EXPECT_EQ(update.popups[0].position, fresh.popups[0].position);
  EXPECT_TRUE(RunLog().empty());
}

TEST_F(SongCopierTest, EmptyListShowsNoPopup) {
  Copy();
  EXPECT_TRUE(m_host.popups.empty());
  EXPECT_TRUE(m_host.events.empty());
  EXPECT_TRUE(ListNames(m_target.Path()).empty());
}

}  // namespace
}  // namespace valmero
