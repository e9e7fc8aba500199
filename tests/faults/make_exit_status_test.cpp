// What valmero-cli make tells a script: its exit status and the summary on
// standard error, for each way a run can end, real signals included.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "support/cli_runner.h"
#include "support/collection.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CTempDir;
using testing::Quote;
using testing::RunCli;

struct ExitCase {
  const char* name;
  const char* options;   // after --source; "SONGS" stands for the songs folder
  const char* sabotage;  // a shell command run in the temporary folder first, or ""
  const char* prefix;    // put before the program, or ""
  int status;
  const char* summary;  // the summary's first line, or its start
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }

class MakeExitStatusTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(MakeExitStatusTest, StatusAndSummarySayHowTheRunEnded) {
  const ExitCase& c = GetParam();
  CTempDir dir;
  std::filesystem::create_directory(dir / "songs");
  for (const char* number : {"1", "2", "3"}) {
    testing::WriteFile(dir / ("songs/" + std::string(number) + ".mp3"), testing::TaggedMp3("Song", "Singer"));
    testing::WriteFile(dir / ("songs/" + std::string(number) + ".mcg"), "g");
  }
  ASSERT_EQ(testing::RunShell("cd " + Quote(dir.Path()) + " && " + c.sabotage), 0);

  std::string prefix = std::string(c.prefix).empty()
                           ? ""
                           : std::string(c.prefix) + " VALMERO_FAULT_MATCH=" + Quote(dir / "songs/1.mp3") +
                                 " LD_PRELOAD=" + Quote(VALMERO_FAULT_IO_PATH) +
                                 " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0\" ";
  std::string command = "cd " + Quote(dir.Path()) + " && " + prefix + Quote(VALMERO_CLI_PATH) + " make --source " +
                        Quote(dir / "songs") + " --target " + Quote(dir / "out") + " " + c.options +
                        " </dev/null >out.txt 2>err.txt";
  int status = testing::RunShell(command);
  std::string summary = testing::ReadFile(dir / "err.txt");
  EXPECT_EQ(status, c.status) << summary;
  // (A debug build traces the log lines to standard error before it.)
  EXPECT_NE(summary.find(std::string("valmero-cli: ") + c.summary), std::string::npos) << summary;
  EXPECT_NE(summary.find("valmero-cli: log " + dir.Path() + "/mirqlog.txt, "), std::string::npos) << summary;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, MakeExitStatusTest,
    ::testing::Values(
        ExitCase{"Done", "", "true", "", 0, "finished: 3 songs indexed, 0 dropped, 6 files copied, 0 copies failed\n"},
        ExitCase{"SongDropped", "--index keep", "touch songs/4-IPS.mp3", "", 0,
                 "finished: 3 songs indexed, 1 dropped, 0 files copied"},
        ExitCase{"CopyFailed", "", "rm songs/2.mcg", "", 3,
                 "finished with failures: 3 songs indexed, 0 dropped, 5 files copied, 1 copies failed\n"},
        ExitCase{
            "ConfigNotWritten", "--index none --config-keep", "mkdir -p out/SCDG.CFG", "", 3,
            "finished with failures: 3 songs read, 0 dropped, 0 files copied, 0 copies failed, SCDG.CFG not written"},
        ExitCase{"ListNotWritten", "--list", "mkdir -p out/LIST.TXT", "", 1, "failed: 3 songs read"},
        ExitCase{"Interrupted", "", "true", "VALMERO_FAULT_MODE=signal VALMERO_FAULT_SIGNAL=2", 130, "cancelled: "},
        ExitCase{"Terminated", "", "true", "VALMERO_FAULT_MODE=signal VALMERO_FAULT_SIGNAL=15", 143, "cancelled: "}),
    [](const ::testing::TestParamInfo<ExitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace valmero
