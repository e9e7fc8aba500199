// The files a run must never take from the user: its own songlist, songs
// whose numbers only look alike, and files in the target that merely look
// like the temporaries of a dead run. Against the real valmero-cli, with the
// user's files compared byte for byte before and after.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include <filesystem>
#include <string>

#include "support/cli_runner.h"
#include "support/collection.h"
#include "support/fat_stick.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CliResult;
using testing::CTempDir;
using testing::Files;
using testing::HasLine;
using testing::Quote;
using testing::ReadTree;
using testing::RunCli;
using testing::WriteFile;

constexpr const char* HAND_WRITTEN = "1|Rain|Bob\r\n2|Snow|Ann\r\n";

// Two songs and their songlist under `listName` in `folder`.
void MakeDiscSongs(const std::string& folder, const std::string& listName) {
  std::filesystem::create_directories(folder);
  for (const char* number : {"1", "2"}) {
    WriteFile(folder + "/" + number + ".mp3", std::string("song ") + number);
    WriteFile(folder + "/" + number + ".mcg", std::string("graphics ") + number);
  }
  WriteFile(folder + "/" + listName, HAND_WRITTEN);
}

// check and then make of the same run; `cwd` holds the log.
struct CheckAndMake {
  CliResult check;
  CliResult make;
  std::vector<std::string> log;
};

CheckAndMake RunBoth(const std::string& cwd, const std::string& args, const std::string& checkOptions = "") {
  std::filesystem::create_directories(cwd);
  CheckAndMake both;
  both.check = RunCli(cwd, "check " + checkOptions + " " + args);
  both.make = RunCli(cwd, "make " + args);
  both.log = testing::LogFileMessages(cwd + "/mirqlog.txt");
  return both;
}

// A run whose outputs would replace its songlist stops before it writes
// anything, and check foretells it; the songlist is never touched.
void ExpectSonglistKept(const std::string& cwd, const std::string& songlist, const std::string& target,
                        const std::string& options, bool refused) {
  const std::string songs = std::filesystem::path(songlist).parent_path().string();
  Files before = ReadTree(songs);
  CheckAndMake run =
      RunBoth(cwd, "--disc --source " + Quote(songlist) + " --target " + Quote(target) + " " + options);
  EXPECT_EQ(testing::ReadFile(songlist), HAND_WRITTEN);
  if (!refused) {
    EXPECT_EQ(run.make.status, 0) << run.make.err;
    EXPECT_EQ(run.check.status, 0) << run.check.out;
    return;
  }
  EXPECT_EQ(run.make.status, 1) << run.make.err;
  EXPECT_EQ(run.check.status, 1) << run.check.out;
  EXPECT_NE(run.check.out.find("would replace the songlist file itself"), std::string::npos) << run.check.out;
  EXPECT_TRUE(HasLine(run.log, "the outputs would replace the songlist file : " + songlist));
  EXPECT_FALSE(HasLine(run.log, "Finished Converting"));
  EXPECT_EQ(ReadTree(songs), before);
}

struct OwnSonglistCase {
  const char* name;
  const char* songlist;  // its name in the songs folder
  bool targetByLink;     // the target names the songs folder through a link
  const char* options;
  bool refused;
};

void PrintTo(const OwnSonglistCase& c, std::ostream* os) { *os << c.name; }

class OwnSonglistTest : public ::testing::TestWithParam<OwnSonglistCase> {};

TEST_P(OwnSonglistTest, OutputsNeverReplaceTheSonglist) {
  const OwnSonglistCase& c = GetParam();
  CTempDir dir;
  MakeDiscSongs(dir / "songs", c.songlist);
  std::filesystem::create_directory_symlink(dir / "songs", dir / "link");
  ExpectSonglistKept(dir / "cwd", dir / ("songs/" + std::string(c.songlist)),
                     c.targetByLink ? dir / "link" : dir / "songs", c.options, c.refused);
}

INSTANTIATE_TEST_SUITE_P(
    Songlists, OwnSonglistTest,
    ::testing::Values(OwnSonglistCase{"NamedAsTheList", "LIST.TXT", false, "--list", true},
                      OwnSonglistCase{"NamedAsTheIndex", "ENGLISH.KVX", false, "", true},
                      OwnSonglistCase{"NamedAsTheConfigThroughALink", "SCDG.CFG", true,
                                      "--index none --config-keep", true},
                      OwnSonglistCase{"NamedAsACopy", "00001.MP3", false, "--index none --copy-all", true},
                      // Where names tell case apart, list.txt and LIST.TXT are two files.
                      OwnSonglistCase{"OtherSpellingWhereCaseCounts", "list.txt", false, "--list", false},
                      OwnSonglistCase{"ListNotWritten", "LIST.TXT", false, "--index keep", false}),
    [](const ::testing::TestParamInfo<OwnSonglistCase>& info) { return std::string(info.param.name); });

// On a stick, as Windows sees the sample's list.txt: LIST.TXT is that file.
TEST(OwnSonglistOnFatTest, OtherSpellingIsTheSameFile) {
  CTempDir dir;
  testing::CFatStick stick(dir.Path());
  if (!stick.IsMounted()) GTEST_SKIP() << "no FAT stick here (mkfs.vfat, fusefat and FUSE are needed)";
  MakeDiscSongs(stick.Path() + "/songs", "list.txt");
  ExpectSonglistKept(dir / "cwd", stick.Path() + "/songs/list.txt", stick.Path() + "/songs", "--list", true);
}

// ---------------------------------------------------------------------------
// A number too wide for 32 bits names no song: wrapped, it would be song 1's.

struct WideNumberCase {
  const char* name;
  bool disc;
  const char* number;
};

void PrintTo(const WideNumberCase& c, std::ostream* os) { *os << c.name; }

class WideNumberTest : public ::testing::TestWithParam<WideNumberCase> {};

TEST_P(WideNumberTest, IsNoNumberAndReplacesNoSong) {
  const WideNumberCase& c = GetParam();
  CTempDir dir;
  std::filesystem::create_directories(dir / "songs");
  const std::string first = c.disc ? "1" : "00001";
  for (const std::string& base : {first, std::string(c.number)}) {
    WriteFile(dir / ("songs/" + base + ".mp3"), testing::TaggedMp3("Title " + base, "Singer"));
    WriteFile(dir / ("songs/" + base + ".mcg"), "graphics " + base);
  }
  WriteFile(dir / "songs/list.txt", std::string(c.number) + "|Wide|Singer\n1|One|Singer\n");
  const std::string source = c.disc ? "--disc --source " + Quote(dir / "songs/list.txt") : "--source " + Quote(dir / "songs");
  CheckAndMake run = RunBoth(dir / "cwd", source + " --target " + Quote(dir / "out") + " --index keep --copy-all", "--json");

  EXPECT_EQ(testing::ReadFile(dir / "out/00001.MP3"), testing::ReadFile(dir / ("songs/" + first + ".mp3")));
  EXPECT_TRUE(HasLine(run.log, c.disc ? "invalid song number : line 1" : "can not read song number"));
  EXPECT_EQ(run.check.status, 3);
  const std::string finding = c.disc ? "\"reason\":\"bad_number\"" : "\"code\":\"bad_number\"";
  EXPECT_NE(run.check.out.find(finding), std::string::npos) << run.check.out;
  EXPECT_EQ(run.check.out.find("duplicate_number"), std::string::npos) << run.check.out;
}

INSTANTIATE_TEST_SUITE_P(Names, WideNumberTest,
                         ::testing::Values(WideNumberCase{"DownloadPast32Bits", false, "4294967297"},
                                           WideNumberCase{"DownloadOfTwentyDigits", false, "99999999999999999999"},
                                           WideNumberCase{"DownloadPastTheSign", false, "2147483648"},
                                           WideNumberCase{"SonglistPast32Bits", true, "4294967297"}),
                         [](const ::testing::TestParamInfo<WideNumberCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// A run clears what dead runs left in its target: only names that carry the
// temporary mark, never a user's file that merely looks like one.
TEST(LeftTemporaryTest, OnlyMarkedNamesAreRemoved) {
  CTempDir dir;
  MakeDiscSongs(dir / "songs", "list.txt");
  const char* usersFiles[] = {"Track_ABC123.mp3", "mysong123456", "song.vtmp12345", "song.vtmp1234567",
                              "song.VTMPabc123", "song.vtmp-abc12", "vtmpabc123"};
  std::filesystem::create_directories(dir / "out");
  for (const char* name : usersFiles) WriteFile(dir / ("out/" + std::string(name)), std::string("mine: ") + name);
  WriteFile(dir / "out/ENGLISH.KVX.vtmpab12cd", "left by a dead run");
  Files before = ReadTree(dir / "out");

  CliResult make = RunCli(dir.Path(), "make --disc --source " + Quote(dir / "songs/list.txt") + " --target " +
                                          Quote(dir / "out"));
  EXPECT_EQ(make.status, 0) << make.err;
  Files after = ReadTree(dir / "out");
  for (const char* name : usersFiles) EXPECT_EQ(after[name], before[name]) << name;
  EXPECT_EQ(after.count("ENGLISH.KVX.vtmpab12cd"), 0u);
}

// The download folder as its own target: the copies wait until every song
// has been read, so a cancel among them leaves the folder as it was.
TEST(HeldCopiesTest, CancelLeavesTheSongsFolderAsItWas) {
  CTempDir dir;
  std::filesystem::create_directories(dir / "songs");
  for (const char* name : {"00001.mp3", "00002.mp3", "00003.mp3", "x.mp3"}) {
    WriteFile(dir / ("songs/" + std::string(name)), testing::TaggedMp3(name, "Singer"));
    WriteFile(dir / ("songs/" + std::string(name).replace(std::string(name).size() - 3, 3, "mcg")), name);
  }
  Files before = ReadTree(dir / "songs");
  // Closing the second copy sends SIGTERM; the next pump cancels.
  const std::string faults = "VALMERO_FAULT_MODE=signal VALMERO_FAULT_SIGNAL=15 VALMERO_FAULT_MATCH=" +
                             Quote(dir / "songs/00002.MP3") + " LD_PRELOAD=" + Quote(VALMERO_FAULT_IO_PATH) +
                             " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
  CliResult make = RunCli(dir.Path(),
                          "make --source " + Quote(dir / "songs") + " --target " + Quote(dir / "songs") +
                              " --index none --copy-all",
                          faults);
  EXPECT_EQ(make.status, 143) << make.out << make.err;
  EXPECT_NE(make.out.find("Progress Calcelled"), std::string::npos);
  EXPECT_EQ(ReadTree(dir / "songs"), before);
}

// The files a run writes belong to the user like any other: the usual mode
// (0666 less the umask), not private to the program.
TEST(OutputModeTest, OutputsTakeTheModeTheUmaskGives) {
  CTempDir dir;
  MakeDiscSongs(dir / "songs", "list.txt");
  for (unsigned umask : {022u, 002u, 027u}) {
    SCOPED_TRACE(umask);
    char umaskText[8];
    std::snprintf(umaskText, sizeof umaskText, "%03o", umask);
    CliResult make = RunCli(dir.Path(),
                            "make --disc --source " + Quote(dir / "songs/list.txt") + " --target " + Quote(dir / "out") +
                                " --list --config-keep --book " + Quote(dir / "b.html"),
                            std::string("umask ") + umaskText + ";");
    ASSERT_EQ(make.status, 0) << make.err;
    for (const std::string& path : {dir / "out/ENGLISH.KVX", dir / "out/LIST.TXT", dir / "out/SCDG.CFG", dir / "b.html"}) {
      struct stat info {};
      ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
      EXPECT_EQ(info.st_mode & 0777, 0666 & ~umask) << path;
    }
  }
}

}  // namespace
}  // namespace valmero
