// valmero-cli started the way a careless script or a hostile machine starts
// it: standard streams closed, a reader that quits, an interrupt while the
// book is written, a start folder it may not write, too little memory.
// Whatever comes, no output lands where it does not belong, no temporary is
// left, and nothing names a log that was not written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "book/song_book.h"
#include "log/activity_log.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::HasLine;
using testing::Quote;
using testing::ReadFile;
using testing::RunShell;
using testing::WriteFile;

constexpr const char* WITHOUT_DAC = "setpriv --bounding-set=-dac_override,-dac_read_search";

// A disc collection of `count` lines in dir/songs, every line song 1 (the
// list need not hold distinct songs to be long).
std::string MakeSongs(const CTempDir& dir, int count = 3) {
  std::filesystem::create_directories(dir / "songs");
  WriteFile(dir / "songs/1.mp3", "song one");
  WriteFile(dir / "songs/1.mcg", "graphics one");
  std::string list;
  for (int line = 0; line < count; ++line) list += "1|Title " + std::to_string(line) + "|Singer\r\n";
  WriteFile(dir / "songs/list.txt", list);
  return dir / "songs/list.txt";
}

std::string BookName() { return CanWritePdfBooks() ? "b.pdf" : "b.html"; }

bool IsBook(const std::string& bytes) {
  return bytes.rfind(CanWritePdfBooks() ? "%PDF" : "<!DOCTYPE", 0) == 0;
}

// The log of a whole session and nothing else: its last line the end line.
void ExpectLogOfItsOwn(const std::string& path) {
  std::string log = ReadFile(path);
  const std::string end = std::string(LOG_END_LINE) + "\r\n";
  ASSERT_GE(log.size(), end.size());
  EXPECT_EQ(log.substr(log.size() - end.size()), end) << log;
  EXPECT_EQ(log.find("valmero-cli"), std::string::npos) << log;
  EXPECT_EQ(log.find("Finished Converting\n"), std::string::npos) << log;
}

TEST(HostileStartTest, ClosedStandardStreamsTakeNoFile) {
  CTempDir dir;
  const std::string list = MakeSongs(dir);
  const std::string make = Quote(VALMERO_CLI_PATH) + " make --disc --source " + Quote(list) + " --target " +
                           Quote(dir / "out") + " --book " + BookName();
  for (const char* closed : {"<&- >&- 2>&-", ">&- 2>&-", "2>&- >/dev/null"}) {
    SCOPED_TRACE(closed);
    EXPECT_EQ(RunShell("cd " + Quote(dir.Path()) + " && " + make + " " + closed), 0);
    ExpectLogOfItsOwn(dir / "mirqlog.txt");
    EXPECT_TRUE(IsBook(ReadFile(dir / BookName())));
  }
}

// Standard output is a pipe whose reader is gone before the program starts.
TEST(HostileStartTest, ReaderThatQuitsCostsOnlyTheOutput) {
  CTempDir dir;
  const std::string list = MakeSongs(dir);
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ::close(pipeEnds[0]);
  const std::string command = "cd " + Quote(dir.Path()) + " && exec " + Quote(VALMERO_CLI_PATH) +
                              " make --disc --source " + Quote(list) + " --target out --book b.html 2>/dev/null";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(ReadFile(dir / "b.html").find("Title 2"), std::string::npos);
  ExpectLogOfItsOwn(dir / "mirqlog.txt");
}

// The book looks for no cancel: an interrupt ends it, and takes the book's
// temporary with it.
TEST(HostileStartTest, InterruptedBookLeavesNoTemporary) {
  CTempDir dir;
  const std::string list = MakeSongs(dir);
  for (const std::string& book : {std::string("b.html"), BookName()}) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
      SCOPED_TRACE(book + " " + std::to_string(signal));
      std::filesystem::create_directories(dir / "books");
      const std::string faults = "VALMERO_FAULT_MODE=signal VALMERO_FAULT_SIGNAL=" + std::to_string(signal) +
                                 " VALMERO_FAULT_MATCH=" + Quote(dir / ("books/" + book)) +
                                 " LD_PRELOAD=" + Quote(VALMERO_FAULT_IO_PATH) +
                                 " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
      int status = RunShell("cd " + Quote(dir.Path()) + " && " + faults + " " + Quote(VALMERO_CLI_PATH) +
                            " book --disc --source " + Quote(list) + " --out " + Quote(dir / ("books/" + book)) +
                            " >/dev/null 2>&1 </dev/null");
      EXPECT_EQ(status, 128 + signal);
      EXPECT_EQ(testing::ListNames(dir / "books"), std::vector<std::string>{});
    }
  }
}

// A start folder the program may not write in: said on standard error, and
// neither the error text nor the summary names a log (nor yesterday's).
TEST(HostileStartTest, StartFolderThatCannotBeWrittenHasNoLog) {
  if (::geteuid() != 0) GTEST_SKIP() << "taking away the right to pass over permissions needs root";
  CTempDir dir;
  std::filesystem::create_directories(dir / "cwd");
  WriteFile(dir / "cwd/mirqlog.txt", "yesterday's log\r\n");
  ::chmod((dir / "cwd/mirqlog.txt").c_str(), 0444);
  ::chmod((dir / "cwd").c_str(), 0555);
  if (RunShell(std::string(WITHOUT_DAC) + " sh -c " + Quote("touch " + Quote(dir / "cwd/probe")) + " 2>/dev/null") ==
      0) {
    ::chmod((dir / "cwd").c_str(), 0755);
    GTEST_SKIP() << "setpriv cannot take away the right to pass over permissions here";
  }
  int status = RunShell("cd " + Quote(dir / "cwd") + " && " + WITHOUT_DAC + " " + Quote(VALMERO_CLI_PATH) +
                        " make --source " + Quote(dir / "missing") + " --target " + Quote(dir / "out") + " >" +
                        Quote(dir / "out.txt") + " 2>" + Quote(dir / "err.txt") + " </dev/null");
  ::chmod((dir / "cwd").c_str(), 0755);
  EXPECT_EQ(status, 1);
  const std::string out = ReadFile(dir / "out.txt");
  const std::string err = ReadFile(dir / "err.txt");
  EXPECT_NE(out.find("ERROR"), std::string::npos) << out;
  EXPECT_EQ(out.find("mirqlog.txt"), std::string::npos) << out;
  EXPECT_NE(err.find("cannot be written; no log is written"), std::string::npos) << err;
  EXPECT_NE(err.find("valmero-cli: log (none)"), std::string::npos) << err;
  EXPECT_EQ(ReadFile(dir / "cwd/mirqlog.txt"), "yesterday's log\r\n");
}

// A long songlist is read under a popup that looks for a cancel: SIGTERM
// while it is read stops the run before anything is written.
TEST(HostileStartTest, LongSonglistCanBeStopped) {
  CTempDir dir;
  std::filesystem::create_directories(dir / "songs");
  std::string list;
  for (int line = 1; line <= 3000; ++line) list += std::to_string(line) + "|Title|Singer\n";
  WriteFile(dir / "songs/list.txt", list);
  WriteFile(dir / "songs/5.mp3", "only song 5 is there");
  // Closing 5.mp3 after its look sends the signal.
  const std::string faults = "VALMERO_FAULT_MODE=signal VALMERO_FAULT_SIGNAL=15 VALMERO_FAULT_MATCH=" +
                             Quote(dir / "songs/5.mp3") + " LD_PRELOAD=" + Quote(VALMERO_FAULT_IO_PATH) +
                             " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\"";
  int status = RunShell("cd " + Quote(dir.Path()) + " && " + faults + " " + Quote(VALMERO_CLI_PATH) +
                        " make --disc --list --source " + Quote(dir / "songs/list.txt") + " --target out >out.txt 2>&1");
  EXPECT_EQ(status, 143);
  EXPECT_NE(ReadFile(dir / "out.txt").find("Progress Calcelled"), std::string::npos);
  EXPECT_EQ(testing::ListNames(dir / "out"), std::vector<std::string>{});
  EXPECT_FALSE(HasLine(testing::LogMessages(dir.Path()), "Finished Converting"));
}

// Too little memory for the collection: a line in the log, the error box,
// exit 1, and no temporary left.
TEST(HostileStartTest, MemoryThatRunsOutFailsTheRunCleanly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
#endif
  CTempDir dir;
  const std::string list = MakeSongs(dir, 150000);
  // The least address space the program starts in here, then a little more.
  int limit = 0;
  for (int kb = 16000; kb <= 400000 && limit == 0; kb += 4000) {
    if (RunShell("ulimit -v " + std::to_string(kb) + "; " + Quote(VALMERO_CLI_PATH) + " --version >/dev/null 2>&1") == 0)
      limit = kb + 8000;
  }
  ASSERT_NE(limit, 0);
  int status = RunShell("cd " + Quote(dir.Path()) + " && ulimit -v " + std::to_string(limit) + " && " +
                        Quote(VALMERO_CLI_PATH) + " make --disc --source " + Quote(list) +
                        " --target out --list >out.txt 2>err.txt </dev/null");
  EXPECT_EQ(status, 1) << ReadFile(dir / "err.txt");
  EXPECT_NE(ReadFile(dir / "out.txt").find("ERROR"), std::string::npos);
  EXPECT_TRUE(HasLine(testing::LogMessages(dir.Path()), "not enough memory for the run"));
  for (const std::string& name : testing::ListNames(dir / "out")) EXPECT_EQ(name.find(".vtmp"), std::string::npos);
}

}  // namespace
}  // namespace valmero
