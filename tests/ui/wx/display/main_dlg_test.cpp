#include "ui/wx/main_dlg.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "display/shots.h"
#include "support/temp_dir.h"
#include "ui/common/site_address.h"
#include "ui/wx/about_dlg.h"
#include "ui/wx/check_report_dlg.h"
#include "ui/wx/progress_popup.h"

namespace valmero {
namespace {

using testing::CChangeDir;
using testing::CTempDir;
using testing::LetWindowsSettle;
using testing::LogMessages;

// The dialog started in a fresh folder (its log lies there), shown, not modal.
class MainDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Fixes the clock of the log; the dialog then starts the log afresh.
    testing::StartTestLog(m_folder.Path());
    m_pDialog = new CMainDlg();
    m_pDialog->Show();
    LetWindowsSettle();
  }
  void TearDown() override {
    if (m_pDialog != nullptr) m_pDialog->Destroy();
    LetWindowsSettle();
  }

  void Click(int id) {
    auto* box = static_cast<wxCheckBox*>(m_pDialog->Control(id));
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
  }
  wxTextCtrl* Edit(int id) { return static_cast<wxTextCtrl*>(m_pDialog->Control(id)); }
  bool Checked(int id) { return static_cast<wxCheckBox*>(m_pDialog->Control(id))->GetValue(); }

  CTempDir m_folder;
  CChangeDir m_inFolder{m_folder.Path()};
  CMainDlg* m_pDialog = nullptr;
};

TEST_F(MainDlgTest, CaptionsAreTheProgramsOwn) {
  const std::map<int, std::string> captions = {
      {ID_HELP_BUTTON, "Help"},
      {ID_JUKE_LIST, "Create Songlist file (JUKE.TXT)"},
      {ID_INDEX_FILE, "Create ENGLISH.KVX file"},
      {ID_COPY_MP3, "Copy mp3 files"},
      {ID_MOVE_MP3, "Move mp3 files"},
      {ID_SELECT_SOURCE, "Select Source"},
      {ID_SELECT_TARGET, "Select Target"},
      {ID_TARGET_SUBFOLDER, "Create a sub-folder \"KVX\" as the Target"},
      {ID_MAKE, "MAKE"},
      {ID_VIEW_LOG, "View \"mirqlog.txt\""},
      {ID_EXIT, "Exit"},
      {ID_SOURCE_DOWNLOAD, "MIRQ songs (from download)"},
      {ID_SOURCE_DISC, "Other songs (from CD+G discs)"},
      {ID_INDEX_RENUMBER, "Create ENGLISH.kvx file (and rename song files as needed)"},
      {ID_INDEX_KEEP, "Create ENGLISH.kvx file (without renaming song files)"},
      {ID_LIST_FILE, "Create songlist file (LIST.txt)"},
      {ID_COPY_ALL, "Copy all files to target"},
      {ID_CONFIG_RENUMBER, "Create SCDG.CFG file (and rename song files as needed)"},
      {ID_CONFIG_KEEP, "Create SCDG.CFG file (without renaming song files)"},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(m_pDialog->Control(id)->GetLabel(), caption) << id;
  EXPECT_EQ(m_pDialog->GetTitle(), "VALMERO");
  EXPECT_EQ(m_pDialog->Control(ID_VISIT_SITE)->GetLabel(), SITE_BUTTON_LABEL);
  for (int id : {ID_JUKE_LIST, ID_INDEX_FILE, ID_COPY_MP3, ID_MOVE_MP3}) {
    EXPECT_FALSE(m_pDialog->Control(id)->IsShown()) << id;
  }
}

// GTK's fonts are larger than the template's: every control gets at least
// its best size, lies inside the window and covers no other control.
TEST_F(MainDlgTest, NoControlIsClippedOrOverlapsAnother) {
  wxRect client(m_pDialog->GetClientSize());
  std::vector<std::pair<int, wxRect>> shown;
  for (int id = ID_VISIT_SITE; id <= ID_CONFIG_KEEP; ++id) {
    wxWindow* control = m_pDialog->Control(id);
    if (control == nullptr || !control->IsShown()) continue;
    wxRect rect = control->GetRect();
    EXPECT_GE(rect.GetWidth(), control->GetBestSize().GetWidth()) << id;
    EXPECT_GE(rect.GetHeight(), control->GetBestSize().GetHeight()) << id;
    EXPECT_TRUE(client.Contains(rect)) << id;
    for (const auto& [otherId, other] : shown) EXPECT_FALSE(rect.Intersects(other)) << id << " and " << otherId;
    shown.emplace_back(id, rect);
  }
  EXPECT_EQ(shown.size(), 18u);
  // The logo's place is free.
  for (const auto& [id, rect] : shown) EXPECT_FALSE(rect.Intersects(wxRect(30, 20, 60, 16))) << id;
  testing::SaveShot("main_dialog");
}

TEST_F(MainDlgTest, StartUpLogsAndSetsTheDefaults) {
  EXPECT_EQ(LogMessages(m_folder.Path()),
            (std::vector<std::string>{std::string("start of logging") + std::string(60, '='),
                                      "products file open error", "initialize all variables",
                                      "=== THIS IS \"VALMERO\" ==="}));
  EXPECT_TRUE(Checked(ID_SOURCE_DOWNLOAD));
  EXPECT_TRUE(Checked(ID_INDEX_RENUMBER));
  EXPECT_FALSE(Checked(ID_SOURCE_DISC));
  EXPECT_FALSE(Checked(ID_TARGET_SUBFOLDER));
  EXPECT_TRUE(m_pDialog->Control(ID_SELECT_TARGET)->IsEnabled());
}

TEST_F(MainDlgTest, ClicksReachTheRulesAndTheControlsFollow) {
  Edit(ID_SOURCE_EDIT)->SetValue("/songs/old");
  Edit(ID_TARGET_EDIT)->SetValue("/out");
  Click(ID_SOURCE_DISC);
  EXPECT_TRUE(Checked(ID_SOURCE_DISC));
  EXPECT_FALSE(Checked(ID_SOURCE_DOWNLOAD));
  EXPECT_EQ(Edit(ID_SOURCE_EDIT)->GetValue(), "");
  EXPECT_EQ(Edit(ID_TARGET_EDIT)->GetValue(), "");

  Edit(ID_SOURCE_EDIT)->SetValue("/songs/list.txt");  // typed
  Click(ID_TARGET_SUBFOLDER);
  EXPECT_EQ(Edit(ID_TARGET_EDIT)->GetValue(), "/songs/KVX");
  EXPECT_FALSE(m_pDialog->Control(ID_TARGET_EDIT)->IsEnabled());
  EXPECT_FALSE(m_pDialog->Control(ID_SELECT_TARGET)->IsEnabled());

  Click(ID_INDEX_KEEP);
  EXPECT_TRUE(Checked(ID_INDEX_KEEP));
  EXPECT_FALSE(Checked(ID_INDEX_RENUMBER));
  Click(ID_INDEX_KEEP);
  EXPECT_FALSE(Checked(ID_INDEX_KEEP));
  EXPECT_FALSE(Checked(ID_INDEX_RENUMBER));

  // Clicking the checked source box keeps it checked.
  Click(ID_SOURCE_DISC);
  EXPECT_TRUE(Checked(ID_SOURCE_DISC));
  EXPECT_EQ(Edit(ID_SOURCE_EDIT)->GetValue(), "");
}

TEST_F(MainDlgTest, EscapeIsLoggedAndLeavesTheDialogOpen) {
  wxKeyEvent escape(wxEVT_CHAR_HOOK);
  escape.m_keyCode = WXK_ESCAPE;
  escape.SetEventObject(m_pDialog->Control(ID_MAKE));
  m_pDialog->Control(ID_MAKE)->GetEventHandler()->ProcessEvent(escape);
  LetWindowsSettle();
  EXPECT_TRUE(m_pDialog->IsShown());
  EXPECT_EQ(LogMessages(m_folder.Path()).back(), "press esc key");
}

TEST_F(MainDlgTest, DestroyEndsTheSessionOnce) {
  m_pDialog->Destroy();
  m_pDialog = nullptr;
  LetWindowsSettle();
  std::vector<std::string> messages = LogMessages(m_folder.Path());
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2], "terminate VALMERO");
  EXPECT_EQ(messages.back(), std::string("end of logging") + std::string(62, '='));
}

TEST_F(MainDlgTest, AboutBoxHoldsItsLineAndButtonApart) {
  CAboutDlg about(m_pDialog);
  about.Show();
  LetWindowsSettle();
  wxRect client(about.GetClientSize());
  std::vector<wxRect> rects;
  for (wxWindow* child : about.GetChildren()) {
    wxRect rect = child->GetRect();
    EXPECT_TRUE(client.Contains(rect));
    EXPECT_GE(rect.GetWidth(), child->GetBestSize().GetWidth());
    for (const wxRect& other : rects) EXPECT_FALSE(rect.Intersects(other));
    rects.push_back(rect);
  }
  EXPECT_EQ(rects.size(), 3u);
  EXPECT_EQ(about.GetTitle(), "About VALMERO");
  testing::SaveShot("about_box");
  about.Hide();
}

// The check's report, kept instead of shown in its window.
class CCheckingDlg : public CMainDlg {
 public:
  std::vector<std::string> reports;

 protected:
  void ShowCheckReport(const CheckReportTexts& report) override { reports.push_back(report.shown); }
};

TEST(MainDlgCheckTest, F5AndTheMenuItemCheckTheCurrentPathsAndWriteNothing) {
  CTempDir folder;
  CChangeDir inFolder(folder.Path());
  testing::StartTestLog(folder.Path());
  auto* dialog = new CCheckingDlg();
  dialog->Show();
  LetWindowsSettle();
  static_cast<wxTextCtrl*>(dialog->Control(ID_SOURCE_EDIT))->SetValue(VALMERO_SAMPLES_DIR "/download");
  static_cast<wxTextCtrl*>(dialog->Control(ID_TARGET_EDIT))->SetValue(folder / "out");
  std::vector<std::string> logBefore = LogMessages(folder.Path());

  wxKeyEvent f5(wxEVT_CHAR_HOOK);
  f5.m_keyCode = WXK_F5;
  dialog->ProcessWindowEvent(f5);
  wxCommandEvent item(wxEVT_MENU, ID_CHECK_SOURCE);
  dialog->ProcessWindowEvent(item);

  ASSERT_EQ(dialog->reports.size(), 2u);
  // The same report both ways, but for the free space, which others change meanwhile.
  auto withoutFreeSpace = [](std::string report) {
    std::size_t free = report.find("Free in the target: ");
    return free == std::string::npos ? report : report.erase(free, report.find('\n', free) - free);
  };
  EXPECT_EQ(withoutFreeSpace(dialog->reports[0]), withoutFreeSpace(dialog->reports[1]));
  const std::string& report = dialog->reports[0];
  EXPECT_EQ(report.rfind("Source: " VALMERO_SAMPLES_DIR "/download (download folder)\nTarget: ", 0), 0u) << report;
  EXPECT_NE(report.find("Songs found: 8, indexed: 7, dropped: 1 (other_kind 1)"), std::string::npos) << report;
  EXPECT_NE(report.find("(other_kind):\n  " VALMERO_SAMPLES_DIR "/download/14000-IPS.mp3"), std::string::npos);
  EXPECT_EQ(LogMessages(folder.Path()), logBefore);
  EXPECT_FALSE(testing::Exists(folder / "out"));

  CCheckReportDlg window(dialog, {report, report});
  window.Show();
  LetWindowsSettle();
  testing::SaveShot("check_report");
  // Opened at its top, with long lines wrapped.
  EXPECT_EQ(window.TextControl()->GetInsertionPoint(), 0);
  EXPECT_FALSE(window.TextControl()->HasFlag(wxTE_DONTWRAP));
  EXPECT_TRUE(window.SaveReport(folder / "report.txt"));
  EXPECT_EQ(testing::ReadFile(folder / "report.txt"), report);
  window.Hide();
  dialog->Destroy();
  LetWindowsSettle();
}

}  // namespace
}  // namespace valmero

namespace valmero {
namespace {

// A run that shows a popup and pumps it, the way the folder scan and the
// copying do, and that watches the dialog while it works.
class CScriptedRunDlg : public CMainDlg {
 public:
  CScriptedRunDlg() {
    Controller().ReplaceRun([this](const char*, const char*, const RunPlan&) { return RunMake(); });
  }
  int passes = 0;
  bool exitLockedDuringRun = true;
  bool makeLockedDuringRun = true;
  bool shownDuringRun = true;
  bool cancelled = false;

 protected:
  RunOutcome RunMake() {
    auto popup = Host().CreateProgressPopup(PROGRESS_TITLE, false);
    popup->SetRange(0, 100, 1);
    for (passes = 0; passes < 100; ++passes) {
      if (passes == 3) CallAfter([this] { Close(); });  // the close box, while the run works
      SetProgressText(*popup, "copying file : from '%s' \n\tto '%s' \n\n\tnow transferring %d/%d",
                      "/home/me/Songs/12.mp3", "/home/me/Songs/KVX/00003.MP3", passes + 1, 100);
      popup->StepIt();
      if (passes == 2) testing::SaveShot("popup_during_run");
      popup->PumpMessages(false);
      exitLockedDuringRun = exitLockedDuringRun && !Control(ID_EXIT)->IsEnabled();
      makeLockedDuringRun = makeLockedDuringRun && !Control(ID_MAKE)->IsEnabled();
      shownDuringRun = shownDuringRun && IsShown();
      if (popup->IsCancelled()) {
        cancelled = true;
        break;
      }
    }
    return RunOutcome::Finished;
  }
};

TEST(MainDlgRunTest, ClosingDuringARunCancelsItAndEndsTheDialogAfterwards) {
  CTempDir folder;
  CChangeDir inFolder(folder.Path());
  testing::StartTestLog(folder.Path());
  auto* dialog = new CScriptedRunDlg();
  dialog->CallAfter([dialog] { dialog->Controller().OnCommand(ID_MAKE); });
  EXPECT_EQ(dialog->RunDialog(), wxID_CANCEL);
  EXPECT_TRUE(dialog->cancelled);
  EXPECT_EQ(dialog->passes, 4);  // the close arrives in the pump of the fourth pass
  EXPECT_TRUE(dialog->exitLockedDuringRun);
  EXPECT_TRUE(dialog->makeLockedDuringRun);
  EXPECT_TRUE(dialog->shownDuringRun);
  EXPECT_TRUE(dialog->Control(ID_EXIT)->IsEnabled());
  dialog->Destroy();
  LetWindowsSettle();
  EXPECT_EQ(LogMessages(folder.Path()).back(), std::string("end of logging") + std::string(62, '='));
}

}  // namespace
}  // namespace valmero

#include <chrono>
#include <thread>

#include <wx/uiaction.h>

namespace valmero {
namespace {

// The popup appears while the dialog runs; its Cancel button must take a
// real mouse click (a modal grab on the dialog would swallow it).
class CClickCancelDlg : public CMainDlg {
 public:
  CClickCancelDlg() {
    Controller().ReplaceRun([this](const char*, const char*, const RunPlan&) { return RunMake(); });
  }
  bool cancelled = false;

 protected:
  RunOutcome RunMake() {
    auto popup = Host().CreateProgressPopup(PROGRESS_TITLE, false);
    auto* window = static_cast<CProgressPopup*>(popup.get())->Window();
    popup->SetRange(0, 100, 1);
    LetWindowsSettle();
    wxWindow* button = window->FindWindow(10);
    wxUIActionSimulator mouse;
    mouse.MouseMove(button->ClientToScreen(wxPoint(button->GetSize().x / 2, button->GetSize().y / 2)));
    mouse.MouseClick();
    // The click travels through the X server; give it a bounded while.
    for (int pass = 0; pass < 500 && !popup->IsCancelled(); ++pass) {
      popup->PumpMessages(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    cancelled = popup->IsCancelled();
    return RunOutcome::Finished;
  }
};

TEST(MainDlgRunTest, PopupCancelTakesAMouseClickWhileTheDialogRuns) {
  CTempDir folder;
  CChangeDir inFolder(folder.Path());
  testing::StartTestLog(folder.Path());
  auto* dialog = new CClickCancelDlg();
  dialog->CallAfter([dialog] {
    dialog->Controller().OnCommand(ID_MAKE);
    dialog->Controller().OnCommand(ID_EXIT);
  });
  EXPECT_EQ(dialog->RunDialog(), wxID_OK);
  EXPECT_TRUE(dialog->cancelled);
  dialog->Destroy();
  LetWindowsSettle();
}

}  // namespace
}  // namespace valmero

namespace valmero {
namespace {

// ESC pressed on the dialog while a run pumps with ESC allowed: logged by the
// dialog and taken by the popup as Cancel. The real key goes through the X
// server, the toolkit and the dialog's key hook.
class CEscapeDuringRunDlg : public CMainDlg {
 public:
  CEscapeDuringRunDlg() {
    Controller().ReplaceRun([this](const char*, const char*, const RunPlan&) { return RunMake(); });
  }
  bool cancelled = false;

 protected:
  RunOutcome RunMake() {
    auto popup = Host().CreateProgressPopup(PROGRESS_TITLE, false);
    popup->SetRange(0, 100, 1);
    LetWindowsSettle();
    wxWindow* view = Control(ID_VIEW_LOG);
    view->SetFocus();
    wxUIActionSimulator keyboard;
    keyboard.MouseMove(view->ClientToScreen(wxPoint(5, 5)));
    keyboard.Char(WXK_ESCAPE);
    for (int pass = 0; pass < 500 && !popup->IsCancelled(); ++pass) {
      popup->PumpMessages(true);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    cancelled = popup->IsCancelled();
    return RunOutcome::Finished;
  }
};

TEST(MainDlgRunTest, EscapeKeyDuringAPumpingRunIsLoggedAndCancels) {
  CTempDir folder;
  CChangeDir inFolder(folder.Path());
  testing::StartTestLog(folder.Path());
  auto* dialog = new CEscapeDuringRunDlg();
  dialog->CallAfter([dialog] {
    dialog->Controller().OnCommand(ID_MAKE);
    dialog->Controller().OnCommand(ID_EXIT);
  });
  EXPECT_EQ(dialog->RunDialog(), wxID_OK);
  EXPECT_TRUE(dialog->cancelled);
  dialog->Destroy();
  LetWindowsSettle();
  std::vector<std::string> messages = LogMessages(folder.Path());
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "press esc key"), 1);
}

}  // namespace
}  // namespace valmero

#include <fstream>
#include <sstream>

#include <wx/menu.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>

#include "book/song_book.h"
#include "ui/wx/book_dlg.h"

namespace valmero {
namespace {

// The book's own dialog made and filled in as a user would, without
// waiting for a click; the save dialog answered with a chosen file; the
// message that says where the book went answered with "Open the book".
class CBookDlg : public CMainDlg {
 public:
  std::string chosen;
  std::string opened;
  std::string said;
  int format = 0;  // 0 HTML, 1 PDF

 protected:
  bool AskBookChoices(BookChoices& choices) override {
    CBookChoicesDlg window(this, choices);
    window.m_pFooter->SetValue(wxString::FromUTF8("Caf\xC3\xA9 Noir \xC2\xB7 Tuesdays"));
    window.m_pPaper->SetSelection(1);
    window.m_pFontSize->SetSelection(2);
    if (window.m_pFormat != nullptr) window.m_pFormat->SetSelection(format);
    window.Show();
    testing::SaveShot("book_dialog");
    window.ReadChoices(choices);
    return true;
  }
  FileChoice ChooseFile(const FileRequest&) override { return {chosen, 0}; }
  BookWrittenAnswer ShowBookWritten(const std::string& text) override {
    said = text;
    return BookWrittenAnswer::OpenBook;
  }
  void OpenDocument(const std::string& path) override { opened = path; }
};

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(MainDlgBookTest, ContextMenuMakesTheBookOfTheSourceAndOpensIt) {
  CTempDir folder;
  CChangeDir inFolder(folder.Path());
  testing::StartTestLog(folder.Path());
  auto* dialog = new CBookDlg();
  wxMenu menu;
  dialog->FillContextMenu(menu);
  ASSERT_NE(menu.FindItem(ID_MAKE_BOOK), nullptr);
  EXPECT_EQ(menu.FindItem(ID_MAKE_BOOK)->GetItemLabelText(), wxString::FromUTF8("Make song book\xE2\x80\xA6"));
  EXPECT_NE(menu.FindItem(ID_ABOUT_BOX), nullptr);

  auto* disc = static_cast<wxCheckBox*>(dialog->Control(ID_SOURCE_DISC));
  disc->SetValue(true);
  dialog->Controller().OnCheckBox(ID_SOURCE_DISC, true);
  static_cast<wxTextCtrl*>(dialog->Control(ID_SOURCE_EDIT))->SetValue(VALMERO_SAMPLES_DIR "/disc/list.txt");
  std::string logBefore = FileText(folder / "mirqlog.txt");
  for (const char* name : {"book.html", "book.pdf"}) {
    dialog->chosen = folder / name;
    dialog->opened.clear();
    dialog->format = BookFormatOf(name) == BookFormat::Pdf ? 1 : 0;
    wxCommandEvent item(wxEVT_MENU, ID_MAKE_BOOK);
    dialog->GetEventHandler()->ProcessEvent(item);
    EXPECT_EQ(dialog->opened, dialog->chosen);
    EXPECT_NE(dialog->said.find(dialog->chosen), std::string::npos) << dialog->said;
    std::string book = FileText(dialog->chosen);
    if (BookFormatOf(name) == BookFormat::Html) {
      for (const char* wanted : {"Moonlight Harbour", "Caf\xC3\xA9 Noir \xC2\xB7 Tuesdays", "size: letter", "11.5pt"}) {
        EXPECT_NE(book.find(wanted), std::string::npos) << wanted;
      }
    } else {
      EXPECT_EQ(book.compare(0, 5, "%PDF-"), 0);
    }
    if (!CanWritePdfBooks()) break;
  }
  EXPECT_EQ(FileText(folder / "mirqlog.txt"), logBefore);
  dialog->Destroy();
  LetWindowsSettle();
}

}  // namespace
}  // namespace valmero
