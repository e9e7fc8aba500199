// Runs the real valmero-cli the way a script would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "support/cli_runner.h"
#include "support/skip.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CliResult;
using testing::CTempDir;
using testing::RunCli;
using testing::Exists;
using testing::ReadFile;
using testing::WriteFile;

TEST(CliSessionTest, UsageErrorsExitTwoAndLeaveTheLogUntouched) {
  CTempDir dir;
  WriteFile(dir / "mirqlog.txt", "earlier log\r\n");
  const char* badCalls[] = {
      "",
      "frobnicate",
      "make",
      "make --source",
      "make --source x",
      "make --source x --target y --subfolder",
      "make --source x --target y --download --disc",
      "make --source x --target y --index sometimes",
      "make --source x --target y --colour",
      "make --source list --disc --subfolder",
      // An option given twice is no choice between the two.
      "make --source x --target y --target z",
      "make --source x --source w --target y",
      "book --source x --out b.html --out c.html",
      // A book that cannot be written is known before the run starts.
      "make --source . --target y --book nofolder/b.html",
      "inspect",
      "inspect a b",
      "--version extra",
  };
  for (const char* call : badCalls) {
    SCOPED_TRACE(call);
    CliResult result = RunCli(dir.Path(), call);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("valmero-cli: "), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "mirqlog.txt"), "earlier log\r\n");
  }
  EXPECT_FALSE(Exists(dir / "y"));
}

// The book of a run that finished with failed copies is written all the same.
TEST(CliSessionTest, BookFollowsARunWithFailedCopies) {
  CTempDir dir;
  WriteFile(dir / "list.txt", "12|Rain|Bob\r\n");
  WriteFile(dir / "12.mp3", "x");
  WriteFile(dir / "12.mcg", "x");
  // The companion cannot be copied: a folder has its name in the target.
  std::filesystem::create_directories(dir / "out/00001.MCG");
  CliResult result = RunCli(dir.Path(), "make --disc --source " + testing::Quote(dir / "list.txt") + " --target " +
                                            testing::Quote(dir / "out") + " --book b.html");
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_NE(ReadFile(dir / "b.html").find("Rain"), std::string::npos);
}

// A source in the long form of Windows paths ("\\?\C:\...") is copied like
// any other: the long form is not added a second time.
TEST(CliSessionTest, LongFormSourceIsCopied) {
  SKIP_OFF_WINDOWS("the long form of a path is Windows's own");
  CTempDir dir;
  std::filesystem::create_directories(dir / "songs");
  WriteFile(dir / "songs/00001.mp3", "song one");
  WriteFile(dir / "songs/00001.mcg", "graphics one");
  CliResult result = RunCli(dir.Path(), "make --source " + testing::Quote("\\\\?\\" + (dir / "songs")) + " --target " +
                                            testing::Quote(dir / "out"));
  EXPECT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_EQ(ReadFile(dir / "out/00001.MP3"), "song one");
  EXPECT_EQ(ReadFile(dir / "out/00001.MCG"), "graphics one");
}

TEST(CliSessionTest, HelpAndVersion) {
  CTempDir dir;
  CliResult help = RunCli(dir.Path(), "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("valmero-cli make --source PATH"), std::string::npos);
  CliResult windowsHelp = RunCli(dir.Path(), testing::Quote("/?"));
  EXPECT_EQ(windowsHelp.status, 0);
  EXPECT_EQ(windowsHelp.out, help.out);
  CliResult version = RunCli(dir.Path(), "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "valmero-cli " VALMERO_VERSION_TEXT "\n");
  EXPECT_FALSE(Exists(dir / "mirqlog.txt"));
}

TEST(CliSessionTest, DiscMakeSessionLogsWhatTheDialogWould) {
  CTempDir dir;
  WriteFile(dir / "list.txt", "12|Rain|Bob\r\n3|Apple|Ann\r\n7|Lost|Nobody\r\n");
  for (const char* name : {"12.mp3", "12.mcg", "3.mp3", "3.MCG"}) WriteFile(dir / name, "x");
  CliResult result = RunCli(dir.Path(), "make --disc --source " + testing::Quote(dir / "list.txt") + " --target " +
                                            testing::Quote(dir / "out") + " --index none");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Finished Converting\n");
  EXPECT_EQ(testing::LogMessages(dir.Path()),
            (std::vector<std::string>{
                "start of logging============================================================",
                "products file open error",
                "initialize all variables",
                "=== THIS IS \"VALMERO\" ===",
                "now status : mode1=0, mode2=0, mode3=0, mode4=0",
                "Create target folder : " + (dir / "out"),
                "Reading songlist file...",
                "read 1th line : song number = 12, new number = 12",
                "read 2th line : song number = 3, new number = 3",
                "\"" + (dir / "7.mp3") + "\" does not exist",
                "no data or end of file : line 3",
                "Finished Converting",
                "terminate VALMERO",
                "end of logging==============================================================",
            }));
}

TEST(CliSessionTest, FailedRunExitsOneAndNamesTheLog) {
  CTempDir dir;
  CliResult result = RunCli(dir.Path(), "make --disc --source " + testing::Quote(dir / "missing.txt") + " --subfolder");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "ERROR: File names are not as required for ENGLISH.kvx.\nPlease view the logfile.\n" +
                            (dir / "mirqlog.txt") + "\n");
  auto log = testing::LogMessages(dir.Path());
  EXPECT_EQ(log[5], "Create target folder : " + (dir / "KVX"));
  EXPECT_EQ(log[6], "can not read songlist file : " + (dir / "missing.txt"));
  EXPECT_EQ(log[7], "terminate VALMERO");
}

TEST(CliOptionsTest, RequestsBecomeTheRunPlanAndTarget) {
  CliRequest request;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"make", "--source=" + testing::Native("/songs/list.txt"), "--disc", "--subfolder", "--index", "keep",
                                "--list", "--copy-all"},
                               request, error))
      << error;
  const RunPlan& plan = request.plan;
  EXPECT_TRUE(plan.sourceDisc);
  EXPECT_FALSE(plan.sourceDownload);
  EXPECT_EQ(plan.index, IndexMode::Keep);
  EXPECT_TRUE(plan.listFile && plan.copyAll);
  EXPECT_EQ(ResolveTarget(request, error), testing::Native("/songs/KVX"));

  CliRequest download;
  ASSERT_TRUE(ParseCommandLine({"make", "--source", testing::Native("/songs"), "--subfolder"}, download, error));
  EXPECT_EQ(ResolveTarget(download, error), testing::Native("/songs/KVX"));
  EXPECT_TRUE(download.plan.sourceDownload);
  EXPECT_EQ(download.plan.index, IndexMode::Renumber);
}

}  // namespace
}  // namespace valmero
