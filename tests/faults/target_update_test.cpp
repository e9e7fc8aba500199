// Running make again on a target it filled, as a karaoke host does after
// adding songs: the real valmero-cli writes only what changed, moves what was
// renumbered, and leaves the target and the log exactly as a run into an
// empty folder would, also after a run that was stopped or killed halfway.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/fat_stick.h"
#include "support/target_state.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CountWrites;
using testing::CTempDir;
using testing::DifferencesFrom;
using testing::FolderState;
using testing::Quote;
using testing::ReadFile;
using testing::ReadFolderState;
using testing::RunShell;
using testing::WriteCount;
using testing::WriteFile;

namespace fs = std::filesystem;

// Bytes of one song file ("20.mp3"), different in size and content from
// every other's.
std::string SongBytes(int number, const std::string& extension) {
  std::string bytes(static_cast<std::size_t>((extension == ".mcg" ? 2000 : 9000) + 37 * number), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131 + number * 7) % 253);
  return std::to_string(number) + extension + bytes;
}

void SetDate(const std::string& path, time_t seconds) {
  const struct timespec times[2] = {{seconds, 0}, {seconds, 250000000}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

struct MakeRun {
  int status = -1;
  std::string err;
  std::vector<std::string> log;
};

// A songlist collection in `songs`, its target `T` (in `targetRoot` when
// given); the program starts in `cwd`.
class CUpdateSession {
 public:
  explicit CUpdateSession(const std::string& targetRoot = "")
      : m_target((targetRoot.empty() ? m_dir.Path() : targetRoot) + "/T") {
    for (const char* name : {"cwd", "songs", "hold"}) ::mkdir(Path(name).c_str(), 0755);
    ::mkdir(m_target.c_str(), 0755);
  }
  std::string Path(const std::string& name) const { return m_dir / name; }
  const std::string& TargetFolder() const { return m_target; }
  std::string Target(const std::string& name) const { return m_target + "/" + name; }
  std::string Song(int number, const char* extension) const {
    return Path("songs/" + std::to_string(number) + extension);
  }

  // Writes the files of each song (each with a date of its own) and the list.
  void AddSongs(const std::vector<int>& numbers) {
    for (int number : numbers) {
      for (const char* extension : {".mp3", ".mcg"}) {
        WriteFile(Song(number, extension), SongBytes(number, extension));
        SetDate(Song(number, extension), 1600000001 + number * 10);
      }
      m_numbers.insert(number);
    }
    WriteList();
  }
  void RemoveSong(int number) {
    m_numbers.erase(number);
    WriteList();
  }

  MakeRun Make(const std::string& options = "", const std::string& prefix = "") const {
    MakeRun run;
    std::string args = "make --disc --source " + Quote(Path("songs/list.txt")) + " --target " + Quote(m_target) + " " +
                       options;
    run.status = RunShell("cd " + Quote(Path("cwd")) + " && " + prefix + " timeout -s KILL 60 " +
                          Quote(VALMERO_CLI_PATH) + " " + args + " >/dev/null 2>" + Quote(Path("err")) + " </dev/null");
    run.err = ReadFile(Path("err"));
    run.log = testing::LogFileMessages(Path("cwd/mirqlog.txt"));
    return run;
  }

  // The target now, its song files kept alive in `hold` so that the inode
  // numbers that tell a moved file from a new one are not handed out again.
  FolderState TargetBefore() {
    fs::remove_all(Path("hold"));
    ::mkdir(Path("hold").c_str(), 0755);
    EXPECT_TRUE(testing::HoldFiles(m_target, Path("hold")));
    return ReadFolderState(m_target);
  }

  // Empties the updated target (not renamed aside: fusefat loses a renamed
  // folder's files), fills it with a fresh run and expects both the same,
  // logs included.
  void ExpectSameAsFreshRun(const MakeRun& update) {
    FolderState updated = ReadFolderState(m_target);
    for (const auto& entry : fs::directory_iterator(m_target)) fs::remove(entry.path());
    MakeRun fresh = Make();
    EXPECT_EQ(fresh.status, update.status);
    EXPECT_EQ(DifferencesFrom(ReadFolderState(m_target), updated), std::vector<std::string>{});
    EXPECT_EQ(update.log, fresh.log);
    for (const auto& [name, file] : updated) EXPECT_EQ(name.find(".vtmp"), std::string::npos) << name;
  }

 private:
  void WriteList() {
    std::string list;
    for (int number : m_numbers) list += std::to_string(number) + "|Title " + std::to_string(number) + "|Singer\r\n";
    WriteFile(Path("songs/list.txt"), list);
  }

  CTempDir m_dir;
  std::string m_target;
  std::set<int> m_numbers;
};

const std::vector<int> FIRST_SONGS = {10, 20, 30, 40, 50, 60, 70, 80};

void SwapSongFiles(CUpdateSession& s, int a, int b) {
  for (const char* extension : {".mp3", ".mcg"}) {
    fs::rename(s.Song(a, extension), s.Song(0, extension));
    fs::rename(s.Song(b, extension), s.Song(a, extension));
    fs::rename(s.Song(0, extension), s.Song(b, extension));
  }
}

struct UpdateCase {
  const char* name;
  std::function<void(CUpdateSession&)> change;
  WriteCount written;  // song files written anew, moved
};

TEST(TargetUpdateTest, UpdateWritesOnlyWhatChangedAndEqualsAFreshRun) {
  const UpdateCase cases[] = {
      {"unchanged", [](CUpdateSession&) {}, {0, 0}},
      {"added at the end", [](CUpdateSession& s) { s.AddSongs({90}); }, {2, 0}},
      {"added before all others", [](CUpdateSession& s) { s.AddSongs({5}); }, {2, 16}},
      {"removed from the middle", [](CUpdateSession& s) { s.RemoveSong(40); }, {0, 8}},
      {"songs swapped", [](CUpdateSession& s) { SwapSongFiles(s, 20, 60); }, {0, 4}},
      {"source replaced by a new version of the same size",
       [](CUpdateSession& s) {
         std::string bytes = ReadFile(s.Song(30, ".mp3"));
         bytes[100] ^= 1;
         WriteFile(s.Song(30, ".mp3"), bytes);
       },
       {1, 0}},
      {"copy truncated", [](CUpdateSession& s) { fs::resize_file(s.Target("00003.MP3"), 100); }, {1, 0}},
      {"copy removed and another's put in its place",
       [](CUpdateSession& s) { fs::copy_file(s.Target("00002.MCG"), s.Target("00004.MCG"), fs::copy_options::overwrite_existing); },
       {1, 0}},
  };
  for (const UpdateCase& c : cases) {
    SCOPED_TRACE(c.name);
    CUpdateSession session;
    session.AddSongs(FIRST_SONGS);
    ASSERT_EQ(session.Make().status, 0);
    c.change(session);
    FolderState before = session.TargetBefore();
    MakeRun update = session.Make();
    EXPECT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(CountWrites(before, ReadFolderState(session.TargetFolder())), c.written);
    session.ExpectSameAsFreshRun(update);
  }
}

// A kill (or a stop, which is a cancel) in the middle of the moves, in a
// chain or right after a cycle's first file went to a temporary name: the
// next run removes the temporary name and repairs the rest. With 5 added
// and 20 and 60 swapped, ENGLISH.KVX is put in place, the .MP3 files move
// 8>9, 7>8, 2>7, 1>2, the .MCG files likewise, then 6 waits under a
// temporary name (the 10th rename) for 5>6, 4>5, 3>4 and the temporary to 3,
// the .MCG files likewise; the 20th rename puts the new song's copy in place.
TEST(TargetUpdateTest, RunKilledOrStoppedWhileMovingIsRepairedByTheNext) {
  const struct {
    int signal;
    int renames;  // the rename after which the signal comes
    int status;   // of the stopped run (128 + the signal)
    bool temporaryLeft;
  } cases[] = {{SIGKILL, 4, 137, false}, {SIGKILL, 10, 137, true}, {SIGKILL, 12, 137, true},
               {SIGTERM, 4, 143, false}, {SIGTERM, 10, 143, false}, {SIGTERM, 20, 143, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.signal) + " after rename " + std::to_string(c.renames));
    CUpdateSession session;
    session.AddSongs(FIRST_SONGS);
    ASSERT_EQ(session.Make().status, 0);
    SwapSongFiles(session, 20, 60);
    session.AddSongs({5});
    std::string fault = "VALMERO_FAULT_MODE=rename VALMERO_FAULT_COUNT=" + std::to_string(c.renames) +
                        " VALMERO_FAULT_SIGNAL=" + std::to_string(c.signal) +
                        " VALMERO_FAULT_MATCH=" + Quote(session.TargetFolder() + "/") + " LD_PRELOAD=" +
                        Quote(VALMERO_FAULT_IO_PATH) +
                        " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
    EXPECT_EQ(session.Make("", fault).status, c.status);
    bool temporaryLeft = false;
    for (const auto& [name, file] : ReadFolderState(session.TargetFolder())) temporaryLeft |= name.find(".vtmp") != std::string::npos;
    EXPECT_EQ(temporaryLeft, c.temporaryLeft);

    MakeRun next = session.Make();
    EXPECT_EQ(next.status, 0) << next.err;
    session.ExpectSameAsFreshRun(next);
  }
}

TEST(TargetUpdateTest, VerifyFindsACopyDamagedWithoutChangeOfSizeOrDate) {
  CUpdateSession session;
  session.AddSongs(FIRST_SONGS);
  ASSERT_EQ(session.Make().status, 0);
  const std::string damaged = session.Target("00003.MP3");
  struct stat status;
  ASSERT_EQ(::stat(damaged.c_str(), &status), 0);
  std::string bytes = ReadFile(damaged);
  bytes[bytes.size() / 2] ^= 0x40;
  WriteFile(damaged, bytes);
  const struct timespec times[2] = {status.st_atim, status.st_mtim};
  ::utimensat(AT_FDCWD, damaged.c_str(), times, 0);

  FolderState before = session.TargetBefore();
  EXPECT_EQ(session.Make().status, 0);
  EXPECT_EQ(ReadFile(damaged), bytes) << "the quick check trusts size and date";
  MakeRun verified = session.Make("--verify");
  EXPECT_EQ(verified.status, 0);
  EXPECT_EQ(CountWrites(before, ReadFolderState(session.TargetFolder())), (WriteCount{1, 0}));
  session.ExpectSameAsFreshRun(verified);
}

// A USB stick as hosts use one: FAT32 keeps even seconds, ignores the case
// of names and has no permissions, none of which may make a file look changed.
TEST(TargetUpdateTest, FatStickIsUpdatedAsAnyFolder) {
  CTempDir dir;
  testing::CFatStick stick(dir.Path());
  if (!stick.IsMounted()) GTEST_SKIP() << stick.Why();
  {
    // Few songs: every file operation through FUSE costs a round trip.
    CUpdateSession session(stick.Path());
    session.AddSongs({10, 20, 30});
    ASSERT_EQ(session.Make().status, 0);
    MakeRun unchanged = session.Make();
    EXPECT_NE(unchanged.err.find(" 0 files copied, 0 copies failed, 6 already in place, 0 moved"), std::string::npos)
        << unchanged.err;
    session.AddSongs({5});
    SwapSongFiles(session, 20, 30);
    MakeRun update = session.Make();
    EXPECT_NE(update.err.find(" 2 files copied, 0 copies failed, 2 already in place, 4 moved"), std::string::npos)
        << update.err;
    session.ExpectSameAsFreshRun(update);
  }
  EXPECT_TRUE(stick.UnmountClean());
}

// Every copy holds its own song: a song that is a link to a file of the
// target is read before that file is replaced, and each of two songs whose
// names differ only in case (on a file system that tells case apart) gets
// its own companion.
TEST(TargetUpdateTest, EveryCopyHoldsItsOwnSong) {
  CTempDir dir;
  const std::string songs = dir / "D";
  const std::string target = dir / "T";
  ::mkdir(songs.c_str(), 0755);
  ::mkdir(target.c_str(), 0755);
  WriteFile(target + "/00002.MP3", "old song X");
  for (const char* link : {"/00001.mp3", "/00003.mp3"}) ::symlink("../T/00002.MP3", (songs + link).c_str());
  WriteFile(songs + "/00002.mp3", "song two");
  for (const char* companion : {"/00001.mcg", "/00002.mcg", "/00003.mcg"}) WriteFile(songs + companion, "graphics");
  EXPECT_EQ(testing::RunCli(dir.Path(), "make --source " + Quote(songs) + " --target " + Quote(target)).status, 0);
  EXPECT_EQ(ReadFile(target + "/00001.MP3") + ReadFile(target + "/00002.MP3") + ReadFile(target + "/00003.MP3"),
            "old song Xsong twoold song X");

  fs::remove_all(songs);
  ::mkdir(songs.c_str(), 0755);
  for (const char* name : {"00001.MP3", "00001.MCG", "00001.mp3", "00001.mcg"}) WriteFile(songs + "/" + name, name);
  EXPECT_EQ(testing::RunCli(dir.Path(), "make --source " + Quote(songs) + " --target " + Quote(target)).status, 0);
  EXPECT_EQ(ReadFile(target + "/00001.MP3") + ReadFile(target + "/00001.MCG"), "00001.MP300001.MCG");
  EXPECT_EQ(ReadFile(target + "/00002.MP3") + ReadFile(target + "/00002.MCG"), "00001.mp300001.mcg");
}

// The download folder as its own target, run again: its songs and the copies
// of the first run are all songs of the second, nothing is moved, and every
// song the folder held is still there.
TEST(TargetUpdateTest, SongsFolderAsItsOwnTargetLosesNoSongWhenRunAgain) {
  CTempDir dir;
  for (const char* name : {"00003.mp3", "00003.mcg", "00007.mp3", "00007.mcg"}) WriteFile(dir / name, name);
  const std::string make = "make --source " + Quote(dir.Path()) + " --target " + Quote(dir.Path());
  auto songBytes = [&dir] {
    std::multiset<std::string> songs;
    for (const auto& [name, file] : ReadFolderState(dir.Path())) {
      std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : "";
      for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (extension == ".MP3" || extension == ".MCG") songs.insert(file.bytes);
    }
    return songs;
  };
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    std::multiset<std::string> before = songBytes();
    EXPECT_EQ(testing::RunCli(dir.Path(), make).status, 0);
    std::multiset<std::string> after = songBytes();
    for (const std::string& bytes : before) EXPECT_GE(after.count(bytes), before.count(bytes)) << bytes;
  }
  // The second run took 00001.MP3 and 00002.MP3 for songs 1 and 2, their own copies.
  EXPECT_EQ(ReadFile(dir / "00001.MP3") + ReadFile(dir / "00002.MP3") + ReadFile(dir / "00003.MP3") +
                ReadFile(dir / "00004.MP3"),
            "00003.mp300007.mp300003.mp300007.mp3");
}

}  // namespace
}  // namespace valmero
