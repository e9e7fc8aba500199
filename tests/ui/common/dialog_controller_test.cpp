#include "ui/common/dialog_controller.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_dialog_view.h"
#include "support/temp_dir.h"
#include "ui/common/site_address.h"

namespace valmero {
namespace {

using testing::CChangeDir;
using testing::CFakeDesktopHost;
using testing::CFakeDialogView;
using testing::CTempDir;
using testing::LogMessages;
using testing::Native;
using Lines = std::vector<std::string>;

// The dialog started in a fresh folder, where its log lies.
class DialogControllerTest : public ::testing::Test {
 protected:
  DialogControllerTest() {
    testing::StartTestLog(m_folder.Path());
    m_controller.Initialize();
    m_view.events.clear();
  }

  // The log lines written since start-up.
  Lines LogSinceStart() {
    Lines lines = LogMessages(m_folder.Path());
    return Lines(lines.begin() + static_cast<long>(m_startLines), lines.end());
  }

  void Type(const std::string& source, const std::string& target) {
    m_controller.OnSourceEdited(source);
    m_controller.OnTargetEdited(target);
  }

  CTempDir m_folder;
  CChangeDir m_inFolder{m_folder.Path()};
  CFakeDialogView m_view;
  CFakeDesktopHost m_host;
  CDialogController m_controller{m_view, m_host};
  std::size_t m_startLines = 4;
};

TEST_F(DialogControllerTest, StartsUpAsTheDialogDoes) {
  EXPECT_EQ(LogMessages(m_folder.Path()),
            (Lines{std::string("start of logging") + std::string(60, '='), "products file open error",
                   "initialize all variables", "=== THIS IS \"VALMERO\" ==="}));
  EXPECT_TRUE(m_controller.State().IsChecked(ID_SOURCE_DOWNLOAD));
  EXPECT_TRUE(m_controller.State().IsChecked(ID_INDEX_RENUMBER));
  EXPECT_GT(m_view.statesShown, 0);
}

TEST_F(DialogControllerTest, ChoosersLogWhatTheyGaveAndFillTheField) {
  struct Case {
    const char* name;
    bool disc;
    int button;
    bool chosen;
    std::string path;
    const char* logged;  // "" when nothing is chosen
    std::string source, target;
  };
  const std::string folder = Native("/songs");
  const std::string list = Native("/songs/list.txt");
  const Case cases[] = {
      {"download folder", false, ID_SELECT_SOURCE, true, folder, "select folder is \"", folder, ""},
      {"browser cancelled", false, ID_SELECT_SOURCE, false, "", "Cancel", "", ""},
      {"no file-system folder", false, ID_SELECT_SOURCE, true, "", "invalid folder", "", ""},
      {"songlist file", true, ID_SELECT_SOURCE, true, list, "select file is \"", list, ""},
      {"file chooser cancelled", true, ID_SELECT_SOURCE, false, "", "wrong file name", "", ""},
      {"target folder", false, ID_SELECT_TARGET, true, folder, "select folder is \"", "", folder},
      {"target cancelled", false, ID_SELECT_TARGET, false, "", "Cancel", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.disc != m_controller.State().IsChecked(ID_SOURCE_DISC)) {
      m_controller.OnCheckBox(c.disc ? ID_SOURCE_DISC : ID_SOURCE_DOWNLOAD, true);
    }
    Type("", "");
    m_view.folderChosen = c.chosen;
    m_view.folder = c.path;
    m_view.file = {c.chosen ? c.path : "", 0};
    m_controller.OnCommand(c.button);
    EXPECT_EQ(m_controller.State().SourceText(), c.source);
    EXPECT_EQ(m_controller.State().TargetText(), c.target);
    std::string expected = c.logged;
    if (!c.path.empty() && c.chosen) expected += c.path + "\"";
    EXPECT_EQ(LogSinceStart().back(), expected);
  }
  EXPECT_EQ(m_view.fileRequests.front().kinds.front().pattern, "*.txt");
}

TEST_F(DialogControllerTest, SourceChosenWithTheSubfolderBoxSetsTheTarget) {
  m_controller.OnCheckBox(ID_TARGET_SUBFOLDER, true);
  m_view.folder = Native("/songs");
  m_controller.OnCommand(ID_SELECT_SOURCE);
  EXPECT_EQ(m_view.targetShown, Native("/songs/KVX"));
  // The target's chooser is locked meanwhile: nothing is asked.
  m_view.events.clear();
  m_controller.OnCommand(ID_SELECT_TARGET);
  EXPECT_TRUE(m_view.events.empty());
}

// While a run works, the controls that feed it are locked, a second MAKE,
// the check and the book are refused, and the window's close is a cancel
// that ends the dialog once the run has ended.
TEST_F(DialogControllerTest, MakeRunsOnceWithTheFieldsAndCloseWaitsForTheRun) {
  Type(Native("/songs"), Native("/out"));
  m_controller.OnCheckBox(ID_LIST_FILE, true);
  int runs = 0;
  m_controller.ReplaceRun([&](const char* source, const char* target, const MakeMarks& marks) {
    ++runs;
    EXPECT_EQ(std::string(source), Native("/songs"));
    EXPECT_EQ(std::string(target), Native("/out"));
    EXPECT_EQ(marks.listFile, 1);
    EXPECT_FALSE(m_controller.State().IsEnabled(ID_EXIT));
    for (int id : {ID_MAKE, ID_CHECK_SOURCE, ID_MAKE_BOOK, ID_EXIT}) m_controller.OnCommand(id);
    m_controller.OnEscape();
    m_controller.OnClose();
    EXPECT_TRUE(m_host.runCancelRequested);
    EXPECT_TRUE(m_view.events.empty());
    return RunOutcome::Finished;
  });
  m_controller.OnCommand(ID_MAKE);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(m_host.escapes, 1);
  EXPECT_FALSE(m_host.runCancelRequested);  // cleared for the next run
  EXPECT_TRUE(m_controller.State().IsEnabled(ID_EXIT));
  EXPECT_EQ(m_view.events, (Lines{"end: closed"}));
  EXPECT_EQ(LogSinceStart(), (Lines{"press esc key"}));
}

TEST_F(DialogControllerTest, EndsAtOnceWhenIdleOrWhenTheWindowCannotWait) {
  m_controller.OnEscape();
  EXPECT_EQ(m_host.escapes, 0);  // no run to cancel
  m_controller.OnCommand(ID_EXIT);
  m_controller.OnClose();
  m_controller.ReplaceRun([&](const char*, const char*, const MakeMarks&) {
    m_controller.OnClose(false);
    return RunOutcome::Finished;
  });
  m_controller.OnCommand(ID_MAKE);
  EXPECT_EQ(m_view.events, (Lines{"end: exit", "end: closed", "end: closed", "end: closed"}));
}

TEST_F(DialogControllerTest, CheckShowsTheReportAndWritesNothing) {
  Type(VALMERO_SAMPLES_DIR, m_folder / "out");
  m_controller.OnCommand(ID_CHECK_SOURCE);
  EXPECT_EQ(m_view.events, (Lines{"busy", "report"}));
  EXPECT_NE(m_view.report.find("Songs found: 0"), std::string::npos) << m_view.report;
  EXPECT_TRUE(LogSinceStart().empty());
  EXPECT_FALSE(testing::Exists(m_folder / "out"));
}

TEST_F(DialogControllerTest, BookAsksForItsFileWritesItAndOpensIt) {
  m_controller.OnCommand(ID_MAKE_BOOK);
  EXPECT_EQ(m_view.events, (Lines{"message: Song book: Choose the source first: the book lists its songs."}));

  m_controller.OnCheckBox(ID_SOURCE_DISC, true);
  Type(Native(VALMERO_SAMPLES_DIR "/disc/list.txt"), "");
  struct Case {
    const char* name;
    std::string chosen;
    std::string written;  // empty: nothing
  };
  const Case cases[] = {
      {"cancelled", "", ""},
      {"named with its extension", m_folder / "book.html", m_folder / "book.html"},
      {"named without one", m_folder / "songs", m_folder / "songs.html"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_view.events.clear();
    m_view.file = {c.chosen, 0};
    m_controller.OnCommand(ID_MAKE_BOOK);
    EXPECT_EQ(m_view.events.back(), c.written.empty() ? "file: Make song book" : "open: " + c.written);
    if (!c.written.empty()) {
      EXPECT_NE(testing::ReadFile(c.written).find("Moonlight Harbour"), std::string::npos);
    }
  }
  EXPECT_EQ(m_view.fileRequests.back().name, "songbook.html");
  EXPECT_TRUE(LogSinceStart().empty());
}

TEST_F(DialogControllerTest, BookThatCannotBeWrittenSaysWhy) {
  Type(m_folder / "missing", "");
  m_view.file = {m_folder / "book.html", 0};
  m_controller.OnCommand(ID_MAKE_BOOK);
  EXPECT_EQ(m_view.events.back().rfind("message: Song book: ", 0), 0u) << m_view.events.back();
  EXPECT_FALSE(testing::Exists(m_folder / "book.html"));
}

TEST_F(DialogControllerTest, HelpSiteAboutAndLogAskTheView) {
  testing::WriteFile(m_folder / "help.htm", "<html></html>");
  for (int id : {ID_HELP_BUTTON, ID_VISIT_SITE, ID_ABOUT_BOX, ID_VIEW_LOG}) m_controller.OnCommand(id);
  // Without a web site the site button opens the help page.
  const std::string site = HAS_SITE ? std::string("site: ") + SITE_ADDRESS : "open: " + (m_folder / "help.htm");
  EXPECT_EQ(m_view.events, (Lines{"open: " + (m_folder / "help.htm"), site, "about"}));
  EXPECT_EQ(m_host.run.events, (Lines{"open: " + (m_folder / "mirqlog.txt")}));
  EXPECT_EQ(LogSinceStart(), (Lines{std::string("visit ") + (HAS_SITE ? SITE_HOST : "help.htm")}));
}

TEST_F(DialogControllerTest, TerminateEndsTheSessionOnce) {
  m_controller.Terminate();
  m_controller.Terminate();
  EXPECT_EQ(LogSinceStart(), (Lines{"terminate VALMERO", std::string("end of logging") + std::string(62, '=')}));
}

TEST_F(DialogControllerTest, ReportIsSavedWhereChosenOrSaysWhyNot) {
  const std::string report = "Source: x\n";
  struct Case {
    const char* name;
    std::string chosen;
    bool saved;
    std::size_t messages;
  };
  const Case cases[] = {
      {"saved", m_folder / "report.txt", true, 0},
      {"cancelled", "", false, 0},
      {"folder missing", m_folder / Native("none/report.txt"), false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_view.events.clear();
    m_view.file = {c.chosen, 0};
    SaveCheckReportAs(m_view, report);
    if (c.saved) {
      EXPECT_EQ(testing::ReadFile(c.chosen), report);
    }
    EXPECT_EQ(m_view.events.size(), 1 + c.messages);
  }
  EXPECT_EQ(m_view.fileRequests.back().name, "valmero-check.txt");
}

}  // namespace
}  // namespace valmero
