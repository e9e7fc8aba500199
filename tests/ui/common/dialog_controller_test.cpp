#include "ui/common/dialog_controller.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/collection.h"
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
  m_controller.ReplaceRun([&](const char* source, const char* target, const RunPlan& plan) {
    ++runs;
    EXPECT_EQ(std::string(source), Native("/songs"));
    EXPECT_EQ(std::string(target), Native("/out"));
    EXPECT_TRUE(plan.listFile);
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
  m_controller.ReplaceRun([&](const char*, const char*, const RunPlan&) {
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

TEST_F(DialogControllerTest, CheckWindowShowsAFewCutTitlesAndKeepsThemAllForSaving) {
  std::filesystem::create_directory(m_folder / "songs");
  for (int song = 1; song <= 7; ++song) {
    testing::WriteFile(m_folder / ("songs/0000" + std::to_string(song) + ".mp3"),
                       testing::TaggedMp3("Title Longer Than The Index " + std::to_string(song), "X"));
  }
  Type(m_folder / "songs", "");
  m_controller.OnCommand(ID_CHECK_SOURCE);
  EXPECT_NE(m_view.report.find("... and 2 more (Save as\xE2\x80\xA6 keeps them all)"), std::string::npos)
      << m_view.report;
  EXPECT_EQ(m_view.report.find("INDEX 7"), std::string::npos);
  EXPECT_NE(m_view.wholeReport.find("INDEX 7"), std::string::npos) << m_view.wholeReport;
}

TEST_F(DialogControllerTest, BookAsksItsSettingsAndFileThenSaysWhereItWent) {
  m_controller.OnCommand(ID_MAKE_BOOK);
  EXPECT_EQ(m_view.events, (Lines{"message: Song book: Choose the source first: the book lists its songs."}));

  m_controller.OnCheckBox(ID_SOURCE_DISC, true);
  Type(Native(VALMERO_SAMPLES_DIR "/disc/list.txt"), "");
  struct Case {
    const char* name;
    bool accepted;
    std::string chosen;
    BookWrittenAnswer answer;
    std::string written;  // empty: nothing
    std::string last;     // the last event
  };
  const std::string book = m_folder / "book.html";
  const Case cases[] = {
      {"the settings cancelled", false, book, BookWrittenAnswer::OpenBook, "", "book choices"},
      {"the file cancelled", true, "", BookWrittenAnswer::OpenBook, "", "file: Make song book"},
      {"named with its extension", true, book, BookWrittenAnswer::OpenBook, book, "open: " + book},
      {"named without one", true, m_folder / "songs", BookWrittenAnswer::OpenFolder, m_folder / "songs.html",
       "open: " + m_folder.Path()},
      {"closed", true, m_folder / "again.html", BookWrittenAnswer::Close, m_folder / "again.html", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_view.events.clear();
    m_view.bookAccepted = c.accepted;
    m_view.file = {c.chosen, 0};
    m_view.bookWrittenAnswer = c.answer;
    m_controller.OnCommand(ID_MAKE_BOOK);
    if (!c.last.empty()) {
      EXPECT_EQ(m_view.events.back(), c.last);
    }
    if (c.written.empty()) continue;
    EXPECT_NE(testing::ReadFile(c.written).find("Moonlight Harbour"), std::string::npos);
    const auto said = std::find_if(m_view.events.begin(), m_view.events.end(),
                                   [](const std::string& event) { return event.rfind("book written: ", 0) == 0; });
    ASSERT_NE(said, m_view.events.end());
    EXPECT_NE(said->find("written to\n" + c.written + "\n"), std::string::npos) << *said;
    EXPECT_NE(said->find(" songs listed."), std::string::npos) << *said;
  }
  EXPECT_EQ(m_view.fileRequests.back().name, "songbook.html");
  EXPECT_TRUE(LogSinceStart().empty());
}

TEST_F(DialogControllerTest, BookIsMadeAsChosenAndTheChoicesAreKept) {
  m_controller.OnCheckBox(ID_SOURCE_DISC, true);
  Type(Native(VALMERO_SAMPLES_DIR "/disc/list.txt"), "");
  m_view.bookChoices = [](BookChoices& choices) {
    choices.title = "Joe's Bar";
    choices.footer = "Karaoke on Tuesdays";
    choices.paper = PaperSize::Letter;
    choices.fontSize = FontSize::Large;
  };
  m_view.file = {m_folder / "venue", 0};
  m_controller.OnCommand(ID_MAKE_BOOK);
  const BookChoices& first = m_view.bookChoicesShown;
  EXPECT_EQ(first.title, "Karaoke Song Book");
  EXPECT_EQ(first.codePages.at(first.codePage).name, "CP1252");
  EXPECT_EQ(first.pdfOffered, CanWritePdfBooks());
  EXPECT_EQ(m_view.events.back(), "open: " + (m_folder / "venue.html"));
  const std::string html = testing::ReadFile(m_folder / "venue.html");
  for (const char* wanted : {"Joe&#39;s Bar", "Karaoke on Tuesdays", "size: letter", "11.5pt"}) {
    EXPECT_NE(html.find(wanted), std::string::npos) << wanted;
  }

  // The next book starts from these choices; PDF where it is built.
  m_view.bookChoices = [](BookChoices& choices) { choices.pdf = choices.pdfOffered; };
  m_controller.OnCommand(ID_MAKE_BOOK);
  EXPECT_EQ(m_view.bookChoicesShown.title, "Joe's Bar");
  EXPECT_EQ(m_view.bookChoicesShown.paper, PaperSize::Letter);
  ASSERT_EQ(m_view.fileRequests.back().kinds.size(), 1u);
  EXPECT_EQ(m_view.fileRequests.back().name, CanWritePdfBooks() ? "songbook.pdf" : "songbook.html");
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

// Where the log cannot be written (here a folder has its name), the program
// says so at start and the log button opens nothing, not an old log.
TEST(DialogControllerStartTest, StartFolderWithoutALogIsSaidAtStart) {
  CTempDir folder;
  std::filesystem::create_directory(folder / "mirqlog.txt");
  testing::WriteFile(folder / "mirqlog.txt/kept", "a folder that is not empty is not replaced");
  CChangeDir inFolder(folder.Path());
  CFakeDialogView view;
  CFakeDesktopHost host;
  {
    CDialogController controller(view, host);
    controller.Initialize();
    controller.OnCommand(ID_VIEW_LOG);
  }
  ASSERT_FALSE(view.events.empty());
  EXPECT_EQ(view.events.front().rfind("message: VALMERO: The activity log mirqlog.txt cannot be written in " +
                                          folder.Path(), 0),
            0u)
      << view.events.front();
  EXPECT_EQ(host.run.events, Lines{});
}

}  // namespace
}  // namespace valmero
