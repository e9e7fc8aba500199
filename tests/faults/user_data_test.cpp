// What a user meets when a path is mistyped, the download folder is chosen as
// its own target, a second run is started by accident or a run is stopped
// halfway: the real valmero-cli must keep every file the user had, say what
// went wrong and leave no temporary file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Exists;
using testing::Files;
using testing::HasLine;
using testing::Quote;
using testing::ReadFile;
using testing::ReadFolder;
using testing::RunShell;
using testing::WriteFile;

// Bytes that differ from file to file, so that a song under the wrong number shows.
std::string BytesOf(const std::string& name, std::size_t size = 3000) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + name.size() * 7 + name[0]) % 251);
  return name + bytes;
}

bool HasTemporary(const Files& files) {
  for (const auto& entry : files) {
    if (entry.first.find(".vtmp") != std::string::npos) return true;
  }
  return false;
}

bool HasTemporaryName(const std::string& folder) {
  for (const std::string& name : testing::ListNames(folder)) {
    if (name.find(".vtmp") != std::string::npos) return true;
  }
  return false;
}

// Variables that load the misbehaving file calls (tests/faults/fault_io.cpp)
// for files whose path contains `match`; the sanitizer runtime, when there is
// one, is told that it need not be loaded first.
std::string FaultVariables(const std::string& mode, const std::string& match) {
  return "VALMERO_FAULT_MODE=" + mode + " VALMERO_FAULT_MATCH=" + Quote(match) + " LD_PRELOAD=" +
         Quote(VALMERO_FAULT_IO_PATH) + " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
}

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> log;
};

// The folders around a run: the program starts in `cwd` (its log lies
// there), the songs lie in `songs`, outputs go to `out`.
class CSession {
 public:
  CSession() {
    for (const char* name : {"cwd", "songs"}) ::mkdir(Path(name).c_str(), 0755);
  }
  std::string Path(const std::string& name) const { return m_dir / name; }

  // A disc collection of `count` songs in `songs` with its list.txt.
  void MakeDiscCollection(int count, std::size_t bytes = 3000) {
    std::string list;
    for (int n = 1; n <= count; ++n) {
      list += std::to_string(n) + "|Title " + std::to_string(n) + "|Singer\r\n";
      WriteFile(Path("songs/" + std::to_string(n) + ".mp3"), BytesOf(std::to_string(n) + ".mp3", bytes));
      WriteFile(Path("songs/" + std::to_string(n) + ".mcg"), BytesOf(std::to_string(n) + ".mcg", bytes / 4));
    }
    WriteFile(Path("songs/list.txt"), list);
  }
  std::string DiscArgs(const std::string& target) const {
    return "make --disc --source " + Quote(Path("songs/list.txt")) + " --target " + Quote(target);
  }

  // Runs valmero-cli with `args` in `cwd`; `prefix` goes before the program
  // (a command that runs what follows it, or variables).
  CliRun Make(const std::string& args, const std::string& prefix = "", const std::string& cwd = "") const {
    std::string here = cwd.empty() ? Path("cwd") : cwd;
    CliRun run;
    run.status = RunShell("cd " + Quote(here) + " && " + prefix + " timeout -s KILL 60 " + Quote(VALMERO_CLI_PATH) +
                          " " + args + " >" + Quote(Path(".out")) + " 2>" + Quote(Path(".err")) + " </dev/null");
    run.out = ReadFile(Path(".out"));
    run.err = ReadFile(Path(".err"));
    run.log = testing::LogFileMessages(here + "/mirqlog.txt");
    return run;
  }

  // Starts valmero-cli in `cwd` with the copies into the target slowed down
  // (each write waits a little), so that the test can act during the run.
  pid_t StartSlow(const std::string& args, const std::string& slowFolder, const std::string& cwd = "") const {
    std::string here = cwd.empty() ? Path("cwd") : cwd;
    std::string command = "cd " + Quote(here) + " && exec env " + FaultVariables("slow", slowFolder) + " " +
                          Quote(VALMERO_CLI_PATH) + " " + args + " >" + Quote(here + "/.bg") + " 2>&1 </dev/null";
    pid_t pid = ::fork();
    if (pid == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }

 private:
  CTempDir m_dir;
};

// Waits until a temporary copy shows in `folder`: the run is copying.
bool WaitForCopying(const std::string& folder) {
  for (int i = 0; i < 20000; ++i) {
    if (HasTemporaryName(folder)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// ---------------------------------------------------------------------------

struct SameFolderCase {
  const char* name;
  std::map<std::string, std::string> songs;     // file in the download folder -> its bytes' name
  std::map<std::string, std::string> expected;  // file afterwards -> the bytes' name it must hold
};

// The download folder as its own target, renumbered: new names fall on songs
// not yet read (upper-case sources), beside lower-case sources of other
// songs, and onto a song's own file.
TEST(UserDataTest, TargetIsTheSongsFolder) {
  const SameFolderCase cases[] = {
      // x.mp3 holds no number and comes first: every song moves up by one.
      {"moved up",
       {{"x.mp3", "x"}, {"x.mcg", "xc"}, {"00001.MP3", "1"}, {"00001.MCG", "1c"}, {"00002.MP3", "2"},
        {"00002.mcg", "2c"}, {"00004.mp3", "4"}, {"00004.MCG", "4c"}},
       {{"00001.MP3", "x"}, {"00001.MCG", "xc"}, {"00002.MP3", "1"}, {"00002.MCG", "1c"}, {"00003.MP3", "2"},
        {"00003.MCG", "2c"}, {"00004.MP3", "4"}, {"00004.MCG", "4c"}, {"x.mp3", "x"}, {"00004.mp3", "4"},
        {"00002.mcg", "2c"}}},
      {"own file",
       {{"00001.MP3", "1"}, {"00001.MCG", "1c"}, {"00003.mp3", "3"}, {"00003.mcg", "3c"}},
       {{"00001.MP3", "1"}, {"00001.MCG", "1c"}, {"00002.MP3", "3"}, {"00002.MCG", "3c"}, {"00003.mp3", "3"}}},
  };
  for (const SameFolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    CSession session;
    for (const auto& [file, bytes] : c.songs) WriteFile(session.Path("songs/" + file), BytesOf(bytes));
    const std::string songs = session.Path("songs");
    CliRun run = session.Make("make --source " + Quote(songs) + " --target " + Quote(songs));
    EXPECT_EQ(run.status, 0) << run.out;
    Files after = ReadFolder(songs);
    for (const auto& [file, bytes] : c.expected) {
      ASSERT_TRUE(after.count(file)) << file;
      EXPECT_EQ(after[file], BytesOf(bytes)) << file;
    }
    EXPECT_FALSE(HasTemporary(after));
  }
}

// A download folder that cannot be listed is no empty collection.
TEST(UserDataTest, UnreadableDownloadFolderFailsAndWritesNothing) {
  CSession session;
  WriteFile(session.Path("a file"), "not a folder");
  ::mkdir(session.Path("locked").c_str(), 0);
  const std::string tooLong = session.Path(std::string(250, 'd'));
  const bool permissionsCount = ::geteuid() != 0 || RunShell("setpriv --bounding-set=-dac_override,-dac_read_search true") == 0;
  const std::string dropRights = ::geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search" : "";
  struct Case {
    const char* name;
    std::string folder;
  };
  const Case cases[] = {{"missing", session.Path("missing")},
                        {"a file", session.Path("a file")},
                        {"unreadable", session.Path("locked")},
                        {"too long", tooLong}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.name == std::string("unreadable") && !permissionsCount) continue;
    CliRun run = session.Make("make --source " + Quote(c.folder) + " --target " + Quote(session.Path("out")), dropRights);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(HasLine(run.log, "can not read download folder : " + c.folder));
    EXPECT_FALSE(HasLine(run.log, "Finished Converting"));
    EXPECT_FALSE(Exists(session.Path("out")));
  }
}

// A folder, a named pipe or a device is no songlist; it never stops the
// program, and the old outputs stay.
TEST(UserDataTest, SonglistThatIsNoRegularFileIsRefused) {
  CSession session;
  ::mkdir(session.Path("folder.txt").c_str(), 0755);
  ::mkfifo(session.Path("pipe.txt").c_str(), 0644);
  ::mkdir(session.Path("out").c_str(), 0755);
  WriteFile(session.Path("out/LIST.TXT"), "old list\r\n");
  for (const std::string& source : {session.Path("folder.txt"), session.Path("pipe.txt"), std::string("/dev/null")}) {
    SCOPED_TRACE(source);
    CliRun run = session.Make("make --disc --list --source " + Quote(source) + " --target " + Quote(session.Path("out")));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(HasLine(run.log, "can not read songlist file : " + source));
    EXPECT_EQ(ReadFolder(session.Path("out")), (Files{{"LIST.TXT", "old list\r\n"}}));
  }
  // products.cp as a named pipe counts as no catalogue.
  ::mkfifo(session.Path("cwd/products.cp").c_str(), 0644);
  CliRun run = session.Make("make --source " + Quote(session.Path("songs")) + " --target " + Quote(session.Path("out")));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.log, "products file open error"));
}

// Both files are read as streams: memory stays small whatever their size,
// and a read error in the middle is a failure, not an early end.
TEST(UserDataTest, SonglistAndCatalogueAreReadInPieces) {
  CSession session;
  session.MakeDiscCollection(1);
  // Two gigabytes (sparse) after a first line that ends the list.
  const std::string big = session.Path("songs/big.txt");
  WriteFile(big, "1|Title|Singer\nend\n");
  ASSERT_EQ(::truncate(big.c_str(), 2LL << 30), 0);
#if defined(__SANITIZE_ADDRESS__)
  const std::string limit;  // the sanitizer's shadow memory needs more address space
#else
  const std::string limit = "ulimit -v 400000;";
#endif
  CliRun run = session.Make("make --disc --source " + Quote(big) + " --target " + Quote(session.Path("out")), limit);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(HasLine(run.log, "end of file"));

  // A songlist of more than one read and a catalogue, both failing halfway.
  std::string list;
  for (int line = 0; line < 400; ++line) list += "1|" + std::string(200, 't') + "|Singer\r\n";
  WriteFile(session.Path("songs/list.txt"), list);
  run = session.Make(session.DiscArgs(session.Path("out")), FaultVariables("read", "list.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(HasLine(run.log, "can not read songlist file : " + session.Path("songs/list.txt")));

  std::string catalogue;
  for (int record = 0; record < 20000; ++record) catalogue += std::string("\1\0\0\0\0\0\0\0\0\0\0\0", 12);
  WriteFile(session.Path("cwd/products.cp"), catalogue);
  run = session.Make(session.DiscArgs(session.Path("out")), FaultVariables("read", "products.cp"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.log, "products file is damaged at record 5462"));
}

// The program writes only its own regular log file; without a start folder
// it writes no log at all, never one at the root.
TEST(UserDataTest, LogIsNeverWrittenThroughALinkNorAtTheRoot) {
  CSession session;
  WriteFile(session.Path("secret.txt"), "secret");
  ::chmod(session.Path("secret.txt").c_str(), 0600);
  ::symlink(session.Path("secret.txt").c_str(), session.Path("cwd/mirqlog.txt").c_str());
  const std::string args = "make --source " + Quote(session.Path("songs")) + " --target " + Quote(session.Path("out"));
  CliRun run = session.Make(args);
  EXPECT_EQ(run.status, 0);
  struct stat info {};
  ASSERT_EQ(::lstat(session.Path("cwd/mirqlog.txt").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_TRUE(HasLine(run.log, "Finished Converting"));
  ASSERT_EQ(::stat(session.Path("secret.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(ReadFile(session.Path("secret.txt")), "secret");

  // A named pipe in its place is replaced, not waited on.
  ::unlink(session.Path("cwd/mirqlog.txt").c_str());
  ::mkfifo(session.Path("cwd/mirqlog.txt").c_str(), 0644);
  run = session.Make(args);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.log, "Finished Converting"));

  const bool rootLogBefore = Exists("/mirqlog.txt");
  ::mkdir(session.Path("gone").c_str(), 0755);
  run = session.Make(args, "rmdir " + Quote(session.Path("gone")) + " &&", session.Path("gone"));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("no log is written"), std::string::npos) << run.err;
  EXPECT_EQ(Exists("/mirqlog.txt"), rootLogBefore);
}

// A song file's number field names a file beside the songlist, never one
// elsewhere; copies keep the songs' permission bits less the umask.
TEST(UserDataTest, SonglistNumbersStayInTheirFolderAndCopiesKeepTheirMode) {
  CSession session;
  session.MakeDiscCollection(2);
  ::mkdir(session.Path("outside").c_str(), 0755);
  for (const char* folder : {"songs/sub", "songs/5", "songs/6"}) ::mkdir(session.Path(folder).c_str(), 0755);
  for (const char* name : {"outside/5.mp3", "outside/5.mcg", "songs/sub/6.mp3", "songs/sub/6.mcg"})
    WriteFile(session.Path(name), "not a song of this list");
  // 6/6 names a song in the sub-folder 6: a number field never reaches into a folder.
  for (const char* name : {"songs/6/6.mp3", "songs/6/6.mcg"}) WriteFile(session.Path(name), "not a song of this list");
  WriteFile(session.Path("songs/list.txt"), "1|One|A\n5/../../outside/5|Five|B\n6/../sub/6|Six|C\n6/6|Six|E\n2|Two|D\n");
  ::chmod(session.Path("songs/1.mp3").c_str(), 0600);
  ::chmod(session.Path("songs/2.mp3").c_str(), 0664);
  CliRun run = session.Make(session.DiscArgs(session.Path("out")), "umask 022;");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.log, "\"" + session.Path("songs/5/../../outside/5.mp3") + "\" does not exist"));
  EXPECT_TRUE(HasLine(run.log, "\"" + session.Path("songs/6/../sub/6.mp3") + "\" does not exist"));
  EXPECT_TRUE(HasLine(run.log, "\"" + session.Path("songs/6/6.mp3") + "\" does not exist"));
  Files out = ReadFolder(session.Path("out"));
  EXPECT_EQ(out["00001.MP3"], ReadFile(session.Path("songs/1.mp3")));
  EXPECT_EQ(out["00002.MP3"], ReadFile(session.Path("songs/2.mp3")));
  EXPECT_FALSE(out.count("00003.MP3"));
  struct stat info {};
  ASSERT_EQ(::stat(session.Path("out/00001.MP3").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(session.Path("out/00002.MP3").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

// A second run into the same target, or from the same start folder, while
// the first copies: it writes nothing and ends with the error box; the first
// finishes as if alone.
TEST(UserDataTest, SecondRunAtOnceIsRefused) {
  CSession session;
  session.MakeDiscCollection(150);
  const std::string out = session.Path("out");
  pid_t first = session.StartSlow(session.DiscArgs(out), out);
  ASSERT_TRUE(WaitForCopying(out));

  ::mkdir(session.Path("cwd2").c_str(), 0755);
  CliRun sameTarget = session.Make(session.DiscArgs(out), "", session.Path("cwd2"));
  EXPECT_EQ(sameTarget.status, 1);
  EXPECT_TRUE(HasLine(sameTarget.log, "target folder is in use : " + out));
  EXPECT_FALSE(HasLine(sameTarget.log, "Reading songlist file..."));

  CliRun sameLog = session.Make(session.DiscArgs(session.Path("out2")));
  EXPECT_EQ(sameLog.status, 1);
  EXPECT_NE(sameLog.err.find("in use"), std::string::npos) << sameLog.err;
  EXPECT_FALSE(Exists(session.Path("out2")));

  int status = WaitFor(first);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::vector<std::string> log = testing::LogFileMessages(session.Path("cwd/mirqlog.txt"));
  EXPECT_TRUE(HasLine(log, "Finished Converting"));
  Files copied = ReadFolder(out);
  EXPECT_EQ(copied["00150.MP3"], ReadFile(session.Path("songs/150.mp3")));
  EXPECT_FALSE(HasTemporary(copied));
}

// SIGTERM cancels like Ctrl-C: complete files only, no temporary left. After
// SIGKILL the next run into the folder removes what the dead run left.
TEST(UserDataTest, StoppedRunLeavesNothingBehind) {
  CSession session;
  session.MakeDiscCollection(300);
  const std::string out = session.Path("out");
  for (int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    pid_t stopped = session.StartSlow(session.DiscArgs(out), out);
    ASSERT_TRUE(WaitForCopying(out));
    ::kill(stopped, signal);
    WaitFor(stopped);
    EXPECT_NE(ReadFile(session.Path("cwd/.bg")).find("Progress Calcelled"), std::string::npos);
    Files afterStop = ReadFolder(out);
    EXPECT_FALSE(HasTemporary(afterStop));
    for (const auto& [name, bytes] : afterStop) {
      if (name.size() != 9 || name.compare(5, 4, ".MP3") != 0) continue;
      EXPECT_EQ(bytes, ReadFile(session.Path("songs/" + std::to_string(std::stoi(name)) + ".mp3"))) << name;
    }
  }

  pid_t killed = session.StartSlow(session.DiscArgs(out), out);
  ASSERT_TRUE(WaitForCopying(out));
  ::kill(killed, SIGKILL);
  WaitFor(killed);
  EXPECT_TRUE(HasTemporaryName(out));
  CliRun next = session.Make(session.DiscArgs(out));
  EXPECT_EQ(next.status, 0);
  Files afterNext = ReadFolder(out);
  EXPECT_FALSE(HasTemporary(afterNext));
  EXPECT_EQ(afterNext["00300.MCG"], ReadFile(session.Path("songs/300.mcg")));
}

// Relative paths mean what they mean in the shell: the songlist beside the
// current directory, its songs beside it.
TEST(UserDataTest, RelativePathsAreMadeAbsolute) {
  CSession session;
  session.MakeDiscCollection(1);
  CliRun run = session.Make("make --disc --source list.txt --target ./out", "", session.Path("songs"));
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(HasLine(run.log, "Create target folder : " + session.Path("songs/out")));
  EXPECT_EQ(ReadFile(session.Path("songs/out/00001.MP3")), ReadFile(session.Path("songs/1.mp3")));

  run = session.Make("make --source " + Quote(session.Path("songs")));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("make needs either --target DIR or --subfolder"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace valmero
