#include "run/converter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "log/activity_log.h"
#include "platform/files.h"
#include "run/source_check.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace valmero {
namespace {

using testing::CFakeHost;
using testing::CTempDir;
using testing::LogMessages;
using testing::StartTestLog;

// Records the stages a run calls and fails the ones it is told to.
class CScriptedConverter : public CConverter {
 public:
  using CConverter::CConverter;

  std::vector<std::string> stages;
  std::map<std::string, int> results;
  std::function<void()> duringScan;

  int Stage(const std::string& name) {
    stages.push_back(name);
    auto found = results.find(name);
    return found == results.end() ? 0 : found->second;
  }
  int ScanDownloadFolder() override {
    if (duringScan) duringScan();
    return Stage("scan");
  }
  int ReadSonglistFile() override { return Stage("songlist"); }
  void SortByNumber() override { Stage("sort"); }
  void RenumberSongs() override { Stage("renumber"); }
  int BuildIndex() override { return Stage("index"); }
  int WriteListFile() override { return Stage("list"); }
  int WriteConfigFile() override { return Stage("config"); }
  void CopySongsToTarget() override { Stage("copy"); }
};

using Stages = std::vector<std::string>;

class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartTestLog(m_dir.Path());
    std::memcpy(m_converter.m_szStartDir, m_dir.Path().c_str(), m_dir.Path().size() + 1);
  }

  RunOutcome Make(const RunPlan& plan) {
    // The scripted stages read nothing; the source need only be a folder.
    return m_converter.OnMake(m_dir.Path().c_str(), (m_dir / "target").c_str(), plan);
  }

  static RunPlan Defaults() { return RunPlan(); }

  CTempDir m_dir;
  CFakeHost m_host;
  CScriptedConverter m_converter{m_host};
};

TEST_F(ConverterTest, StagesRunInOrderForEachOptionSet) {
  struct Case {
    const char* name;
    RunPlan plan;
    Stages expected;
  };
  RunPlan keepOnly;
  keepOnly.index = IndexMode::Keep;
  RunPlan copyOnly;
  copyOnly.sourceDownload = false;
  copyOnly.sourceDisc = true;
  copyOnly.index = IndexMode::None;
  copyOnly.copyAll = true;
  RunPlan everything;
  everything.listFile = everything.copyAll = everything.configRenumber = everything.configKeep = true;
  RunPlan configKeepOnly;
  configKeepOnly.index = IndexMode::None;
  configKeepOnly.configKeep = true;
  RunPlan bothSources;
  bothSources.sourceDisc = true;
  RunPlan noSource;
  noSource.sourceDownload = false;
  const Case cases[] = {
      {"defaults", Defaults(), {"scan", "sort", "renumber", "index", "copy"}},
      {"index keep", keepOnly, {"scan", "sort", "index"}},
      {"copy all from disc", copyOnly, {"songlist", "sort", "copy"}},
      {"everything", everything, {"scan", "sort", "renumber", "index", "list", "config", "copy"}},
      {"config keep only", configKeepOnly, {"scan", "sort", "config"}},
      {"both sources", bothSources, {"scan", "sort", "renumber", "index", "copy"}},
      {"no source", noSource, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_converter.stages.clear();
    m_host.events.clear();
    EXPECT_EQ(Make(c.plan), RunOutcome::Finished);
    EXPECT_EQ(m_converter.stages, c.expected);
    EXPECT_EQ(m_host.events, (Stages{"finished: Finished Converting"}));
  }
}

// What the desktop program types into the run: a target too long for a path
// is refused whole, never cut into another folder.
TEST_F(ConverterTest, TargetTooLongIsRefusedAndNothingIsCreated) {
  const std::string target = m_dir / std::string(300, 't');
  EXPECT_EQ(m_converter.OnMake(m_dir.Path().c_str(), target.c_str(), Defaults()), RunOutcome::Failed);
  EXPECT_TRUE(m_converter.stages.empty());
  EXPECT_EQ(LogMessages(m_dir.Path()).back(), "target folder path is too long : " + target);
  EXPECT_EQ(testing::ListNames(m_dir.Path()), (Stages{"mirqlog.txt"}));
  EXPECT_EQ(m_host.events.front().rfind("error: ", 0), 0u);
}

TEST_F(ConverterTest, StatusLineFolderCreationAndClosingLine) {
  EXPECT_EQ(Make(Defaults()), RunOutcome::Finished);
  EXPECT_EQ(Make(Defaults()), RunOutcome::Finished);  // the folder exists now
  auto log = LogMessages(m_dir.Path());
  EXPECT_EQ(log, (Stages{LOG_START_LINE, "now status : mode1=1, mode2=0, mode3=0, mode4=0",
                         "Create target folder : " + (m_dir / "target"), "Finished Converting",
                         "now status : mode1=1, mode2=0, mode3=0, mode4=0", "Finished Converting"}));
}

TEST_F(ConverterTest, FailingStageStopsTheRunWithTheErrorBox) {
  struct Case {
    const char* failing;
    Stages expected;
  };
  RunPlan plan = Defaults();
  plan.listFile = true;
  plan.configKeep = true;
  const Case cases[] = {
      {"scan", {"scan"}},
      {"index", {"scan", "sort", "renumber", "index"}},
      {"list", {"scan", "sort", "renumber", "index", "list"}},
  };
  const std::string errorEvent = std::string("error: ERROR: ") + ERROR_TEXT;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing);
    m_converter.stages.clear();
    m_host.events.clear();
    m_converter.results = {{c.failing, -1}};
    EXPECT_EQ(Make(plan), RunOutcome::Failed);
    EXPECT_EQ(m_converter.stages, c.expected);
    EXPECT_EQ(m_host.events, (Stages{errorEvent, "open: " + (m_dir / "mirqlog.txt")}));
  }
  EXPECT_EQ(LogMessages(m_dir.Path()).back().find("Finished"), std::string::npos);

  // Cancel in the error box: the log is not opened.
  m_host.events.clear();
  m_host.answerErrorOk = false;
  EXPECT_EQ(Make(plan), RunOutcome::Failed);
  EXPECT_EQ(m_host.events, (Stages{errorEvent}));
}

TEST_F(ConverterTest, FailedConfigFileDoesNotFailTheRun) {
  RunPlan plan = Defaults();
  plan.configRenumber = true;
  m_converter.results = {{"config", -1}};
  EXPECT_EQ(Make(plan), RunOutcome::Finished);
  EXPECT_EQ(m_converter.stages, (Stages{"scan", "sort", "renumber", "index", "config", "copy"}));
}

TEST_F(ConverterTest, MakeWhileARunPumpsMessagesIsRefused) {
  RunOutcome nested = RunOutcome::Finished;
  m_converter.duringScan = [&] { nested = Make(Defaults()); };
  EXPECT_EQ(Make(Defaults()), RunOutcome::Finished);
  EXPECT_EQ(nested, RunOutcome::Refused);
  EXPECT_EQ(m_converter.stages, (Stages{"scan", "sort", "renumber", "index", "copy"}));
  EXPECT_FALSE(m_converter.IsRunning());
}

TEST(ConverterSessionTest, StartUpAndShutdownLines) {
  CTempDir dir;
  testing::CChangeDir here(dir.Path());
  CFakeHost host;
  {
    CConverter converter(host);
    converter.InitializeState();
    converter.LogWelcome();
    EXPECT_EQ(std::string(converter.m_szStartDir), dir.Path());
    EXPECT_TRUE(converter.m_plan.sourceDownload);
    EXPECT_EQ(converter.m_plan.index, IndexMode::Renumber);
    EXPECT_FALSE(converter.m_plan.sourceDisc || converter.m_plan.listFile || converter.m_plan.copyAll);
    converter.Terminate();
  }
  auto log = LogMessages(dir.Path());
  EXPECT_EQ(log, (Stages{LOG_START_LINE, "products file open error", "initialize all variables",
                         "=== THIS IS \"VALMERO\" ===", "terminate VALMERO", LOG_END_LINE}));

  // With a catalogue beside the log.
  testing::WriteFile(dir / "products.cp", std::string("\x05\0\0\0\0\0\0\0\0\0\0\0", 12));
  CConverter second(host);
  second.InitializeState();
  log = LogMessages(dir.Path());
  EXPECT_EQ(log, (Stages{LOG_START_LINE, "Read 1 mirq songs data", "opening products file success",
                         "initialize all variables"}));
  second.ReleaseAll();
  EXPECT_EQ(second.m_catalogue.Size(), 0u);
}

TEST(ConverterSessionTest, EmptyDownloadSourceStillFinishes) {
  CTempDir dir;
  MakeDirectory((dir / "empty").c_str());
  testing::CChangeDir here(dir.Path());
  CFakeHost host;
  CConverter converter(host);
  converter.InitializeState();
  RunPlan plan;
  plan.index = IndexMode::Keep;
  plan.listFile = true;
  EXPECT_EQ(converter.OnMake((dir / "empty").c_str(), (dir / "out").c_str(), plan), RunOutcome::Finished);
  EXPECT_EQ(host.events.back(), "finished: Finished Converting");
}

// An empty source names nothing (on Windows it would list the root of the
// drive): MAKE shows the error box, and the check says that the run fails.
TEST(EmptySourceTest, MakeFailsAndTheCheckSaysSo) {
  CTempDir dir;
  StartTestLog(dir.Path());
  for (bool disc : {false, true}) {
    SCOPED_TRACE(disc ? "songlist" : "download folder");
    CFakeHost host;
    CConverter converter(host);
    RunPlan plan;
    plan.sourceDownload = !disc;
    plan.sourceDisc = disc;
    EXPECT_EQ(converter.OnMake("", (dir / "out").c_str(), plan), RunOutcome::Failed);
    SourceCheckReport report;
    CheckSource(dir.Path().c_str(), "", dir / "out", plan, DEFAULT_CHECK_ENCODING, report);
    EXPECT_EQ(CheckExitStatus(report), 1) << FormatCheckReport(report);
  }
}

}  // namespace
}  // namespace valmero
