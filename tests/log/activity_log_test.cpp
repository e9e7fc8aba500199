#include "log/activity_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

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

  CTempDir dir;
  StartTestLog(dir.Path());
  std::string path = dir / "mirqlog.txt";
  ::unlink(path.c_str());
  ::mkdir(path.c_str(), 0755);  // a folder where the log should be cannot be opened
  EXPECT_EQ(LogMessage("lost"), -1);
  ::rmdir(path.c_str());
  // A log removed by another program comes back with the next line.
  EXPECT_EQ(LogMessage("back"), 0);
  EXPECT_EQ(ReadFile(path), kPrefix + "back\r\n");
}

TEST(ActivityLogTest, StartAndEndLinesAreSeventySixCharacters) {
  EXPECT_EQ(std::string(LOG_START_LINE).size(), 76u);
  EXPECT_EQ(std::string(LOG_END_LINE).size(), 76u);
}

}  // namespace
}  // namespace valmero
