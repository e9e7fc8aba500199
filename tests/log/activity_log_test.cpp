#include "log/activity_log.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "platform/files.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::LogMessages;
using testing::ReadFile;
using testing::StartTestLog;
using testing::WriteFile;

const std::string kPrefix = "* 2026:01:02 03:04:05 - ";

TEST(ActivityLogTest, LineFormHasFullYearAndEndsWithCrLf) {
  CTempDir dir;
  StartTestLog(dir.Path());
  ASSERT_EQ(LogMessage("Read %d mirq songs data", 2), 0);
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"),
            kPrefix + LOG_START_LINE + "\r\n" + kPrefix + "Read 2 mirq songs data\r\n");
}

TEST(ActivityLogTest, MessageIsCutAtItsLastLineFeed) {
  CTempDir dir;
  StartTestLog(dir.Path());
  LogMessage("Cancel\n");
  LogMessage("line %d : too many separators \"%s\"", 4, "12|a|b|c\n");
  LogMessage("first\nsecond\nthird");
  EXPECT_EQ(LogMessages(dir.Path()),
            (std::vector<std::string>{LOG_START_LINE, "Cancel", "line 4 : too many separators \"12|a|b|c",
                                      "first\nsecond"}));
}

TEST(ActivityLogTest, OverlongLineIsCutButKeepsItsLineEnd) {
  CTempDir dir;
  StartTestLog(dir.Path());
  std::string longMessage(5000, 'x');
  LogMessage("%s", longMessage.c_str());
  LogMessage("next");
  std::string text = ReadFile(dir / "mirqlog.txt");
  std::size_t second = text.find("\r\n") + 2;
  std::size_t third = text.find("\r\n", second);
  // 1023 characters with the line feed; the file has CR LF, so one byte more.
  EXPECT_EQ(third + 2 - second, LOG_LINE_LIMIT + 1);
  EXPECT_EQ(text.substr(third + 2), kPrefix + "next\r\n");
}

TEST(ActivityLogTest, StartEmptiesLogOfEarlierStartEvenWhenReadOnly) {
  CTempDir dir;
  WriteFile(dir / "mirqlog.txt", "old line\r\n");
  ::chmod((dir / "mirqlog.txt").c_str(), 0444);
  StartTestLog(dir.Path());
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), kPrefix + LOG_START_LINE + "\r\n");
  struct stat info{};
  ASSERT_EQ(::stat((dir / "mirqlog.txt").c_str(), &info), 0);
  EXPECT_TRUE(info.st_mode & S_IWUSR);

  StartTestLog(dir.Path());
  LogMessage("second start");
  EXPECT_EQ(LogMessages(dir.Path()), (std::vector<std::string>{LOG_START_LINE, "second start"}));
}

TEST(ActivityLogTest, WithoutStartOrWithUnwritableLogNothingIsWrittenAndResultIsFailure) {
  ResetActivityLog();
  EXPECT_EQ(LogMessage("nowhere"), -1);

  SKIP_ON_WINDOWS("a file removed while open stays until its last handle closes");
  CTempDir dir;
  StartTestLog(dir.Path());
  std::string path = dir / "mirqlog.txt";
  ::unlink(path.c_str());
  MakeDirectory(path.c_str());  // a folder where the log should be cannot be opened
  EXPECT_EQ(LogMessage("lost"), -1);
  ::rmdir(path.c_str());
  // A log removed by another program comes back with the next line.
  EXPECT_EQ(LogMessage("back"), 0);
  EXPECT_EQ(ReadFile(path), kPrefix + "back\r\n");
}

// What follows lets a child process of this one act on the log, which takes
// fork: these tests are for the POSIX build.
#ifndef _WIN32
// What another program does to the log while this one writes it; each runs
// in a child process, so that this process learns of it only through the
// file system, as it would in use.
int g_otherProcessStatus = 0;

void InOtherProcess(const std::function<void()>& action) {
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    action();
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  g_otherProcessStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct LogMishap {
  const char* what;
  // Done to the log at `path` in folder `dir`; the text the file holds
  // afterwards, before the next line.
  std::function<std::string(const std::string& dir, const std::string& path)> act;
};

TEST(ActivityLogTest, LogRemovedOrReplacedByAnotherProgramComesBackWithTheNextLine) {
  const LogMishap mishaps[] = {
      {"removed",
       [](const std::string&, const std::string& path) {
         InOtherProcess([&] { ::unlink(path.c_str()); });
         return std::string();
       }},
      {"another file renamed over it",
       [](const std::string& dir, const std::string& path) {
         std::string other = dir + "/other.txt";
         WriteFile(other, "kept\r\n");
         InOtherProcess([&] { std::rename(other.c_str(), path.c_str()); });
         return std::string("kept\r\n");
       }},
      {"attributes changed, still there",
       [](const std::string&, const std::string& path) {
         InOtherProcess([&] { ::chmod(path.c_str(), 0600); });
         return ReadFile(path);
       }},
  };
  for (const LogMishap& mishap : mishaps) {
    SCOPED_TRACE(mishap.what);
    CTempDir dir;
    StartTestLog(dir.Path());
    std::string path = dir / "mirqlog.txt";
    ASSERT_EQ(LogMessage("before"), 0);
    std::string held = mishap.act(dir.Path(), path);
    ASSERT_EQ(LogMessage("after"), 0);
    EXPECT_EQ(ReadFile(path), held + kPrefix + "after\r\n");
  }
}

TEST(ActivityLogTest, EveryRemovalInARowIsNoticed) {
  CTempDir dir;
  StartTestLog(dir.Path());
  std::string path = dir / "mirqlog.txt";
  for (int round = 0; round < 20; ++round) {
    InOtherProcess([&] { ::unlink(path.c_str()); });
    ASSERT_EQ(LogMessage("round %d", round), 0);
    ASSERT_EQ(ReadFile(path), kPrefix + "round " + std::to_string(round) + "\r\n");
  }
}

void IgnoreSignal(int) {}

// The log takes no signal for itself: a program that handles or blocks SIGIO
// for its own purposes still has every removal noticed.
TEST(ActivityLogTest, RemovalIsNoticedWhenSigioIsTakenOrBlocked) {
  struct sigaction own;
  std::memset(&own, 0, sizeof own);
  own.sa_handler = &IgnoreSignal;
  sigemptyset(&own.sa_mask);
  struct sigaction previous;
  ASSERT_EQ(::sigaction(SIGIO, &own, &previous), 0);
  {
    CTempDir dir;
    StartTestLog(dir.Path());
    InOtherProcess([&] { ::unlink((dir / "mirqlog.txt").c_str()); });
    ASSERT_EQ(LogMessage("back"), 0);
    EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), kPrefix + "back\r\n");
  }
  ASSERT_EQ(::sigaction(SIGIO, &previous, nullptr), 0);

  sigset_t blocked, saved;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGIO);
  ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &blocked, &saved), 0);
  {
    CTempDir dir;
    StartTestLog(dir.Path());
    InOtherProcess([&] { ::unlink((dir / "mirqlog.txt").c_str()); });
    ASSERT_EQ(LogMessage("back"), 0);
    EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), kPrefix + "back\r\n");
  }
  ResetActivityLog();
  ASSERT_EQ(::pthread_sigmask(SIG_SETMASK, &saved, nullptr), 0);
}

#endif

TEST(ActivityLogTest, LinesLoggedTogetherArriveWholeAndInOrderWhenTheScopeEnds) {
  CTempDir dir;
  StartTestLog(dir.Path());
  const std::string start = ReadFile(dir / "mirqlog.txt");
  {
    CLogLinesTogether together;
    LogMessage("one");
    {
      CLogLinesTogether inner;
      LogMessage("two\n");
    }
    EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), start) << "held until the outer scope ends";
  }
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), start + kPrefix + "one\r\n" + kPrefix + "two\r\n");
}

// Work that only looks drops its lines before any file is touched: the log
// even removed meanwhile stays removed, and the lines after the silence go on.
TEST(ActivityLogTest, SilencedLinesTouchNoFile) {
  CTempDir dir;
  StartTestLog(dir.Path());
  const std::string start = ReadFile(dir / "mirqlog.txt");
  auto logSilenced = [] {
    CLogSilence quiet;
    EXPECT_EQ(LogMessage("unheard"), 0);
  };
  logSilenced();
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), start);

  SKIP_ON_WINDOWS("a file removed while open stays until its last handle closes");
  RemoveFile((dir / "mirqlog.txt").c_str());
  logSilenced();
  EXPECT_FALSE(testing::Exists(dir / "mirqlog.txt"));
  EXPECT_EQ(LogMessage("heard"), 0);
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), kPrefix + "heard\r\n");
  EXPECT_EQ(std::string(ActivityLogPath()), dir / "mirqlog.txt");
}

// A long hold keeps no line from the file for long: a tenth of a second
// after the first held line, or at 64 KB, the next look writes them.
TEST(ActivityLogTest, HeldLinesAreWrittenWhenDue) {
  CTempDir dir;
  StartTestLog(dir.Path());
  const std::string start = ReadFile(dir / "mirqlog.txt");
  CLogLinesTogether together;
  LogMessage("early");
  together.WriteIfDue();
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), start) << "a fresh line is held";
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  together.WriteIfDue();
  EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), start + kPrefix + "early\r\n");
  const std::string many(200, 'x');
  for (int i = 0; i < 400; ++i) LogMessage("%s", many.c_str());
  together.WriteIfDue();
  EXPECT_GT(ReadFile(dir / "mirqlog.txt").size(), 64u * 1024) << "many lines are written at once";
}

#ifndef _WIN32
// Another program finds the log in use for as long as this one lives, also
// while it keeps the log closed for a while.
TEST(ActivityLogTest, LogStaysClaimedWhileClosedForAWhile) {
  CTempDir dir;
  StartTestLog(dir.Path());
  ResetActivityLog();
  const std::string path = dir / "mirqlog.txt";
  InOtherProcess([&] {
    int fd = ::open(path.c_str(), O_RDONLY);
    ::_exit(::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0);
  });
  EXPECT_EQ(g_otherProcessStatus, 0) << "the other program took the log";
  StartTestLog(dir.Path());  // a new start in the same program claims it again
  EXPECT_EQ(LogMessage("again"), 0);
  ResetActivityLog();
}

#endif

TEST(ActivityLogTest, StartAndEndLinesAreSeventySixCharacters) {
  EXPECT_EQ(std::string(LOG_START_LINE).size(), 76u);
  EXPECT_EQ(std::string(LOG_END_LINE).size(), 76u);
}

}  // namespace
}  // namespace valmero
