// check is the dry run of make: where make will fail (exit 1) check says so
// with exit 1, and where make will finish with failures (exit 3) check
// reports the files that will fail. Each case sets up one obstacle and runs
// the real check and then make on it; a make that fails creates nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "support/cli_runner.h"
#include "support/collection.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CliResult;
using testing::CTempDir;
using testing::Quote;
using testing::RunCli;
using testing::RunShell;
using testing::WriteFile;

constexpr const char* WITHOUT_DAC = "setpriv --bounding-set=-dac_override,-dac_read_search";

struct ForetellCase {
  const char* name;
  // Makes the obstacle in the case's folder; false when it cannot be had here (the case skips).
  std::function<bool(const CTempDir&)> obstacle;
  const char* options;  // after the source; SONGS, LIST and DIR stand for those paths
  const char* prefix;   // put before the program (both runs)
  int status;           // of make, and of check: 1 and 1, or 3 and 3, or 0 and 0
  const char* finding;  // what check's report must hold, or ""
  const char* notMade;  // a path below DIR (or DEEP/KVX) that must not exist afterwards, or ""
};

void PrintTo(const ForetellCase& c, std::ostream* os) { *os << c.name; }

// Three songs with their songlist in DIR/songs.
void MakeSongs(const CTempDir& dir) {
  std::filesystem::create_directories(dir / "songs");
  std::string list;
  for (const char* number : {"1", "2", "3"}) {
    WriteFile(dir / ("songs/" + std::string(number) + ".mp3"), testing::TaggedMp3("Song", "Singer"));
    WriteFile(dir / ("songs/" + std::string(number) + ".mcg"), "graphics");
    list += std::string(number) + "|Song|Singer\n";
  }
  WriteFile(dir / "songs/list.txt", list);
}

// A folder whose path leaves room for a KVX folder in it, not for the files in that.
std::string DeepFolder(const CTempDir& dir) { return dir / std::string(250 - dir.Path().size(), 'd'); }

std::string Expand(std::string text, const CTempDir& dir) {
  for (const auto& [word, path] : {std::pair<std::string, std::string>{"DEEP", DeepFolder(dir)},
                                   {"SONGS", dir / "songs"},
                                   {"LIST", dir / "songs/list.txt"},
                                   {"DIR", dir.Path()}}) {
    for (std::size_t at; (at = text.find(word)) != std::string::npos;) text.replace(at, word.size(), Quote(path));
  }
  return text;
}

bool PermissionsHold(const std::string& folder) {
  return RunShell(std::string(WITHOUT_DAC) + " sh -c " + Quote("touch " + Quote(folder + "/probe")) + " 2>/dev/null") !=
         0;
}

class CheckForetellsMakeTest : public ::testing::TestWithParam<ForetellCase> {};

TEST_P(CheckForetellsMakeTest, CheckSaysWhatMakeWillMeet) {
  const ForetellCase& c = GetParam();
  CTempDir dir;
  MakeSongs(dir);
  if (!c.obstacle(dir)) GTEST_SKIP() << "the obstacle cannot be made here (needs root and its tools)";
  std::filesystem::create_directories(dir / "cwd");
  const std::string args = Expand(c.options, dir);
  CliResult check = RunCli(dir / "cwd", "check --json " + args, c.prefix);
  CliResult make = RunCli(dir / "cwd", "make " + args, c.prefix);
  RunShell("chattr -i " + Quote(dir / "out") + " 2>/dev/null; chmod -R u+w " + Quote(dir.Path()));

  EXPECT_EQ(make.status, c.status) << make.out << make.err;
  EXPECT_EQ(check.status, c.status) << check.out;
  EXPECT_NE(check.out.find(c.finding), std::string::npos) << check.out;
  if (*c.notMade != '\0') {
    std::string path = c.notMade;
    EXPECT_FALSE(testing::Exists(path == "DEEP/KVX" ? DeepFolder(dir) + "/KVX" : dir / path));
  }
}

bool Always(const CTempDir&) { return true; }

INSTANTIATE_TEST_SUITE_P(
    Obstacles, CheckForetellsMakeTest,
    ::testing::Values(
        ForetellCase{"TargetParentMissing", Always, "--disc --source LIST --target DIR/missing/out", "", 1,
                     "cannot be made: its parent folder is missing", "missing"},
        ForetellCase{"TargetIsAFile",
                     [](const CTempDir& dir) {
                       WriteFile(dir / "out", "a file of the user's");
                       return true;
                     },
                     "--disc --source LIST --target DIR/out", "", 1, "is not a folder", ""},
        ForetellCase{"TargetImmutable",
                     [](const CTempDir& dir) {
                       std::filesystem::create_directories(dir / "out");
                       return RunShell("chattr +i " + Quote(dir / "out") + " 2>/dev/null") == 0;
                     },
                     "--disc --source LIST --target DIR/out", "", 1, "may not be written", ""},
        ForetellCase{"TargetReadOnly",
                     [](const CTempDir& dir) {
                       std::filesystem::create_directories(dir / "out");
                       ::chmod((dir / "out").c_str(), 0555);
                       return ::geteuid() != 0 || PermissionsHold(dir / "out");
                     },
                     "--disc --source LIST --target DIR/out", WITHOUT_DAC, 1, "may not be written", ""},
        // The KVX folder fits a path, its files do not: nothing is made.
        ForetellCase{"SubfolderPathTooLong",
                     [](const CTempDir& dir) {
                       std::filesystem::copy(dir / "songs", DeepFolder(dir), std::filesystem::copy_options::recursive);
                       return true;
                     },
                     "--disc --source DEEP/list.txt --subfolder", "", 1, "leaves no room", "DEEP/KVX"},
        ForetellCase{"CopiesOnlyIntoAFile",
                     [](const CTempDir& dir) {
                       WriteFile(dir / "out", "a file of the user's");
                       return true;
                     },
                     "--disc --source LIST --target DIR/out --index none --copy-all", "", 3, "copy_fails", ""},
        ForetellCase{"ListIsAFolder",
                     [](const CTempDir& dir) { return std::filesystem::create_directories(dir / "out/LIST.TXT"); },
                     "--disc --source LIST --target DIR/out --list", "", 1, "a folder has the name of LIST.TXT", ""},
        ForetellCase{"ConfigIsAFolder",
                     [](const CTempDir& dir) { return std::filesystem::create_directories(dir / "out/SCDG.CFG"); },
                     "--disc --source LIST --target DIR/out --config-keep", "", 3, "config_fails", ""},
        ForetellCase{"SongIsAFolder",
                     [](const CTempDir& dir) {
                       std::filesystem::remove(dir / "songs/2.mp3");
                       return std::filesystem::create_directory(dir / "songs/2.mp3");
                     },
                     "--disc --source LIST --target DIR/out", "", 3, "copy_fails", ""},
        ForetellCase{"CompanionIsAPipe",
                     [](const CTempDir& dir) {
                       std::filesystem::remove(dir / "songs/3.mcg");
                       return ::mkfifo((dir / "songs/3.mcg").c_str(), 0644) == 0;
                     },
                     "--disc --source LIST --target DIR/out", "", 3, "copy_fails", ""},
        ForetellCase{"DownloadSongIsAPipe",
                     [](const CTempDir& dir) { return ::mkfifo((dir / "songs/00004.mp3").c_str(), 0644) == 0; },
                     "--source SONGS --target DIR/out --index none --copy-all", "", 3, "copy_fails", ""},
        // The download folder as its own target: its songs past the run's
        // last number are the run's own, never stale.
        ForetellCase{"OwnSongsAreNotStale",
                     [](const CTempDir& dir) {
                       std::filesystem::remove(dir / "songs/list.txt");
                       std::filesystem::rename(dir / "songs/3.mp3", dir / "songs/00009.mp3");
                       std::filesystem::rename(dir / "songs/3.mcg", dir / "songs/00009.mcg");
                       return true;
                     },
                     "--source SONGS --target SONGS", "", 0, "\"stale\":[]", ""}),
    [](const ::testing::TestParamInfo<ForetellCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valmero
