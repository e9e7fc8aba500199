#include "ui/wx/main_dlg.h"

#include <algorithm>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/dirdlg.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/statbox.h>
#include <wx/stdpaths.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "book/source_book.h"
#include "log/activity_log.h"
#include "ui/wx/about_dlg.h"
#include "ui/wx/check_report_dlg.h"
#include "ui/wx/art.h"
#include "ui/wx/dialog_layout.h"
#include "ui/common/dialog_requests.h"
#include "ui/common/help_file.h"
#include "ui/wx/progress_popup.h"

namespace valmero {

namespace {

struct CheckBoxPlace {
  int id;
  const char* caption;
  int x, y, width, height;
};

const wxSize TEMPLATE_UNITS(275, 271);
const wxPoint LOGO_POSITION(30, 20);

}  // namespace

CMainDlg::CMainDlg()
    : wxDialog(nullptr, wxID_ANY, "VALMERO", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxMINIMIZE_BOX),
      m_converter(m_host),
      m_state(m_converter.m_options) {
  m_host.SetOwner(this);
  CreateControls();
  InitializeDialog();
}

// A dialog deleted without Destroy still ends its session properly.
CMainDlg::~CMainDlg() { TerminateSession(); }

bool CMainDlg::Destroy() {
  TerminateSession();
  return wxDialog::Destroy();
}

void CMainDlg::TerminateSession() {
  if (m_bTerminated) return;
  m_bTerminated = true;
  m_converter.Terminate();
}

// The dialog's own loop instead of ShowModal: GTK's modal grab would keep
// every click away from the progress popup, which appears while the dialog
// runs and must take its Cancel button.
int CMainDlg::RunDialog() {
  Show();
  wxGUIEventLoop loop;
  m_pLoop = &loop;
  loop.Run();
  m_pLoop = nullptr;
  Hide();
  return m_nResult;
}

void CMainDlg::FinishDialog(int result) {
  m_nResult = result;
  if (m_pLoop != nullptr) {
    m_pLoop->Exit(result);
  } else if (IsModal()) {
    EndModal(result);
  } else {
    Hide();
  }
}

void CMainDlg::AddControl(int id, wxWindow* control, int x, int y, int width, int height) {
  PlaceInDialogUnits(this, control, x, y, width, height);
  m_controls[id] = control;
}

void CMainDlg::CreateControls() {
  // The group box first: on GTK a later sibling is drawn above an earlier one.
  m_pGroupBox = new wxStaticBox(this, wxID_ANY, "Option :");
  PlaceInDialogUnits(this, m_pGroupBox, 14, 34, 249, 142);

  AddControl(ID_VISIT_SITE, new wxButton(this, ID_VISIT_SITE, SITE_HOST, wxDefaultPosition, wxDefaultSize,
                                         wxBORDER_NONE),
             84, 7, 106, 14);
  AddControl(ID_HELP_BUTTON, new wxButton(this, ID_HELP_BUTTON, "Help"), 211, 18, 50, 14);
  const CheckBoxPlace hidden[] = {
      {ID_JUKE_LIST, "Create Songlist file (JUKE.TXT)", 149, 50, 114, 10},
      {ID_INDEX_FILE, "Create ENGLISH.KVX file", 149, 60, 95, 10},
      {ID_COPY_MP3, "Copy mp3 files", 149, 39, 61, 10},
      {ID_MOVE_MP3, "Move mp3 files", 149, 69, 63, 10},
  };
  for (const CheckBoxPlace& place : hidden) {
    auto* box = new wxCheckBox(this, place.id, place.caption);
    AddControl(place.id, box, place.x, place.y, place.width, place.height);
    box->Hide();
  }
  AddControl(ID_SELECT_SOURCE, new wxButton(this, ID_SELECT_SOURCE, "Select Source"), 14, 182, 50, 14);
  m_pSourceEdit = new wxTextCtrl(this, ID_SOURCE_EDIT, wxEmptyString);
  AddControl(ID_SOURCE_EDIT, m_pSourceEdit, 70, 182, 193, 14);
  AddControl(ID_SELECT_TARGET, new wxButton(this, ID_SELECT_TARGET, "Select Target"), 15, 220, 50, 14);
  m_pTargetEdit = new wxTextCtrl(this, ID_TARGET_EDIT, wxEmptyString);
  AddControl(ID_TARGET_EDIT, m_pTargetEdit, 70, 220, 193, 14);
  AddControl(ID_TARGET_SUBFOLDER,
             new wxCheckBox(this, ID_TARGET_SUBFOLDER, "Create a sub-folder \"KVX\" as the Target"), 70, 203,
             140, 10);
  AddControl(ID_MAKE, new wxButton(this, ID_MAKE, "MAKE"), 28, 244, 50, 14);
  AddControl(ID_VIEW_LOG, new wxButton(this, ID_VIEW_LOG, "View \"mirqlog.txt\""), 105, 244, 65, 14);
  AddControl(ID_EXIT, new wxButton(this, ID_EXIT, "Exit"), 197, 244, 50, 14);
  const CheckBoxPlace options[] = {
      {ID_SOURCE_DOWNLOAD, "MIRQ songs (from download)", 21, 48, 107, 10},
      {ID_SOURCE_DISC, "Other songs (from CD+G discs)", 21, 64, 113, 10},
      {ID_INDEX_RENUMBER, "Create ENGLISH.kvx file (and rename song files as needed)", 41, 84, 201, 10},
      {ID_INDEX_KEEP, "Create ENGLISH.kvx file (without renaming song files)", 41, 99, 182, 10},
      {ID_LIST_FILE, "Create songlist file (LIST.txt)", 41, 144, 103, 10},
      {ID_COPY_ALL, "Copy all files to target", 41, 159, 83, 10},
      {ID_CONFIG_RENUMBER, "Create SCDG.CFG file (and rename song files as needed)", 41, 114, 195, 10},
      {ID_CONFIG_KEEP, "Create SCDG.CFG file (without renaming song files)", 41, 129, 176, 10},
  };
  for (const CheckBoxPlace& place : options) {
    AddControl(place.id, new wxCheckBox(this, place.id, place.caption), place.x, place.y, place.width, place.height);
  }
  FitGroupBox();
  KeepFieldsRightOfButtons();
  SetClientSize(ClientSizeHolding(this, TEMPLATE_UNITS, 7));

  for (auto& [id, control] : m_controls) {
    if (IsCheckBox(id)) {
      control->Bind(wxEVT_CHECKBOX, [this, id = id](wxCommandEvent&) { OnCheckBox(id); });
    }
  }
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnVisitSite(); }, ID_VISIT_SITE);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnHelpButton(); }, ID_HELP_BUTTON);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSelectSource(); }, ID_SELECT_SOURCE);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSelectTarget(); }, ID_SELECT_TARGET);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnMake(); }, ID_MAKE);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnViewLog(); }, ID_VIEW_LOG);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnExit(); }, ID_EXIT);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnAbout(); }, ID_ABOUT_BOX);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnCheckSource(); }, ID_CHECK_SOURCE);
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnMakeSongBook(); }, ID_MAKE_BOOK);
  m_pSourceEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    m_state.SetSourceText(PathFromWx(m_pSourceEdit->GetValue()));
  });
  m_pTargetEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    m_state.SetTargetText(PathFromWx(m_pTargetEdit->GetValue()));
  });
  Bind(wxEVT_PAINT, &CMainDlg::OnPaint, this);
  Bind(wxEVT_CHAR_HOOK, &CMainDlg::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainDlg::OnClose, this);
  Bind(wxEVT_CONTEXT_MENU, &CMainDlg::OnContextMenu, this);
  Bind(wxEVT_LEFT_UP, &CMainDlg::OnLeftUp, this);
}

// GTK captions are wider than the template's; the frame of the options
// grows to hold them, and the path fields follow its right edge.
void CMainDlg::FitGroupBox() {
  wxRect group = m_pGroupBox->GetRect();
  const wxSize margin = ConvertDialogToPixels(wxSize(7, 4));
  int right = group.GetRight();
  for (int id : {ID_SOURCE_DOWNLOAD, ID_SOURCE_DISC, ID_INDEX_RENUMBER, ID_INDEX_KEEP, ID_LIST_FILE,
                 ID_COPY_ALL, ID_CONFIG_RENUMBER, ID_CONFIG_KEEP}) {
    right = std::max(right, m_controls[id]->GetRect().GetRight() + margin.GetWidth());
  }
  if (right == group.GetRight()) return;
  group.SetRight(right);
  m_pGroupBox->SetSize(group);
  for (int id : {ID_SOURCE_EDIT, ID_TARGET_EDIT}) {
    wxRect edit = m_controls[id]->GetRect();
    edit.SetRight(right);
    m_controls[id]->SetSize(edit);
  }
}

// A chooser button wider than the template's 50 units would run under its
// path field; the field starts after it instead and keeps its right edge.
void CMainDlg::KeepFieldsRightOfButtons() {
  const int gap = ConvertDialogToPixels(wxSize(4, 0)).GetWidth();
  const std::pair<int, int> rows[] = {{ID_SELECT_SOURCE, ID_SOURCE_EDIT}, {ID_SELECT_TARGET, ID_TARGET_EDIT}};
  for (auto [buttonId, editId] : rows) {
    wxRect button = m_controls[buttonId]->GetRect();
    wxRect edit = m_controls[editId]->GetRect();
    if (edit.GetLeft() >= button.GetRight() + gap) continue;
    int right = edit.GetRight();
    edit.SetLeft(button.GetRight() + gap);
    edit.SetRight(right);
    m_controls[editId]->SetSize(edit);
  }
}

wxWindow* CMainDlg::Control(int id) const {
  auto found = m_controls.find(id);
  return found != m_controls.end() ? found->second : nullptr;
}

void CMainDlg::InitializeDialog() {
#if defined(__WXMSW__) && wxCHECK_VERSION(3, 1, 3)
  // Where the window has a system menu, the About item goes there too.
  if (wxMenu* systemMenu = MSWGetSystemMenu()) {
    systemMenu->AppendSeparator();
    systemMenu->Append(ID_ABOUT_BOX, ABOUT_ITEM);
  }
#endif
  wxIconBundle icons = ProgramIcons();
  SetIcons(icons);
  // White is the transparent colour of the title-bar image.
  if (m_iconStrip.Create(LoadArtBitmap(ART_TITLE_IMAGE), 1, *wxWHITE)) m_iconStrip.ShowNextIcon(this, icons);
  m_logo = LoadArtBitmap(ART_LOGO);
  m_converter.InitializeState();
  m_state.ApplyDefaultMarks();
  m_state.SetSourceText(std::string());
  SyncControls();
  m_converter.LogWelcome();
  CentreOnScreen();
}

void CMainDlg::SyncControls() {
  for (auto& [id, control] : m_controls) {
    if (IsCheckBox(id)) static_cast<wxCheckBox*>(control)->SetValue(m_state.IsChecked(id));
    control->Enable(m_state.IsEnabled(id));
  }
  // ChangeValue sends no text event and leaves a field alone that already
  // holds the text, so the caret stays where the user put it.
  wxString source = PathToWx(m_state.SourceText());
  if (m_pSourceEdit->GetValue() != source) m_pSourceEdit->ChangeValue(source);
  wxString target = PathToWx(m_state.TargetText());
  if (m_pTargetEdit->GetValue() != target) m_pTargetEdit->ChangeValue(target);
}

void CMainDlg::OnCheckBox(int id) {
  if (!m_state.IsEnabled(id)) {
    // A click that slipped through a lock: put the mark back.
    SyncControls();
    return;
  }
  auto* box = static_cast<wxCheckBox*>(m_controls[id]);
  m_state.OnClick(id, box->GetValue());
  SyncControls();
}

void CMainDlg::OnSelectSource() {
  if (!m_state.IsEnabled(ID_SELECT_SOURCE)) return;
  if (m_converter.m_options.m_bSourceDisc) {
    wxFileDialog chooser(this, wxEmptyString, wxEmptyString, wxEmptyString, "TEXT file(*.txt)|*.txt",
                         wxFD_OPEN);
    if (chooser.ShowModal() != wxID_OK || chooser.GetPath().empty()) {
      LogMessage("wrong file name");
      return;
    }
    std::string path = PathFromWx(chooser.GetPath());
    m_state.ChooseSource(path);
    SyncControls();
    LogMessage("select file is \"%s\"", path.c_str());
  } else if (m_converter.m_options.m_bSourceDownload) {
    std::string path = BrowseForFolder("Select Source Folder", wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (path.empty()) return;
    m_state.ChooseSource(path);
    SyncControls();
    LogMessage("select folder is \"%s\"", path.c_str());
  }
}

std::string CMainDlg::BrowseForFolder(const char* title, long style) {
  wxDirDialog chooser(this, title, wxEmptyString, style);
  if (chooser.ShowModal() != wxID_OK) {
    LogMessage("Cancel\n");
    return {};
  }
  std::string path = PathFromWx(chooser.GetPath());
  if (path.empty()) LogMessage("invalid folder\n");
  return path;
}

void CMainDlg::OnSelectTarget() {
  if (!m_state.IsEnabled(ID_SELECT_TARGET)) return;
  std::string path = BrowseForFolder("Select Target Folder", wxDD_DEFAULT_STYLE);
  if (path.empty()) return;
  m_state.ChooseTarget(path);
  SyncControls();
  LogMessage("select folder is \"%s\"", path.c_str());
}

void CMainDlg::OnMake() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  // The run takes the fields as they are now; typing during the run is
  // locked out so that the paths a stage reads cannot change under it.
  std::string source = PathFromWx(m_pSourceEdit->GetValue());
  std::string target = PathFromWx(m_pTargetEdit->GetValue());
  MakeMarks marks = m_state.Marks();
  CProgressPopup::ClearRunCancel();
  m_state.BeginRun();
  SyncControls();
  RunMake(source.c_str(), target.c_str(), marks);
  m_state.EndRun();
  SyncControls();
  CProgressPopup::ClearRunCancel();
  if (m_bCloseAfterRun) FinishDialog(wxID_CANCEL);
}

RunOutcome CMainDlg::RunMake(const char* source, const char* target, const MakeMarks& marks) {
  return m_converter.OnMake(source, target, marks);
}

void CMainDlg::OnCheckSource() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  CheckRequest request = CheckRequestForDialog(PathFromWx(m_pSourceEdit->GetValue()),
                                               PathFromWx(m_pTargetEdit->GetValue()), m_state.Marks(),
                                               m_converter.m_options);
  SourceCheckReport report;
  {
    wxBusyCursor reading;
    CheckSource(m_converter.m_szStartDir, request, report);
  }
  ShowCheckReport(FormatCheckReport(report));
}

void CMainDlg::ShowCheckReport(const std::string& report) {
  CCheckReportDlg window(this, report);
  window.ShowModal();
}

void CMainDlg::OnViewLog() { m_converter.OnViewLog(); }

void CMainDlg::OnHelpButton() {
  wxString programDir = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
  std::string help = FindHelpFile(PathFromWx(wxGetCwd()), PathFromWx(programDir));
  if (!help.empty()) wxLaunchDefaultApplication(PathToWx(help));
}

void CMainDlg::OnVisitSite() {
  wxLaunchDefaultBrowser(SITE_ADDRESS);
  LogMessage("visit %s", SITE_HOST);
}

void CMainDlg::OnExit() {
  if (!m_state.IsEnabled(ID_EXIT)) return;
  FinishDialog(wxID_OK);
}

void CMainDlg::OnAbout() {
  CAboutDlg about(this);
  about.ShowModal();
}

void CMainDlg::PressEscape() {
  LogMessage("press esc key");
  CProgressPopup::NoticeEscape();
}

void CMainDlg::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      // Logged, handed to a pumping popup, and never the end of the dialog.
      PressEscape();
      break;
    case WXK_F1:
      OnHelpButton();
      break;
    case WXK_F5:
      OnCheckSource();
      break;
    default:
      event.Skip();
  }
}

void CMainDlg::OnClose(wxCloseEvent& event) {
  if (m_state.IsRunning()) {
    // The window cannot go while a run works on its data: the close counts
    // as Cancel, and the dialog ends when the run has ended.
    m_bCloseAfterRun = true;
    CProgressPopup::RequestRunCancel();
    CProgressPopup::NoticeEscape();
    if (event.CanVeto()) {
      event.Veto();
      return;
    }
  }
  FinishDialog(wxID_CANCEL);
}

// GTK windows have no system menu; the About item is in the window's
// context menu (right click, the Menu key or Shift+F10) on every platform,
// and a click on the logo opens it too. The check of the source sits beside it.
void CMainDlg::OnContextMenu(wxContextMenuEvent&) {
  wxMenu menu;
  FillContextMenu(menu);
  PopupMenu(&menu);
}

void CMainDlg::FillContextMenu(wxMenu& menu) {
  menu.Append(ID_CHECK_SOURCE, wxString::FromUTF8(CHECK_SOURCE_ITEM));
  menu.Append(ID_MAKE_BOOK, wxString::FromUTF8(MAKE_BOOK_ITEM));
  menu.AppendSeparator();
  menu.Append(ID_ABOUT_BOX, ABOUT_ITEM);
}

void CMainDlg::OnMakeSongBook() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  std::string source = PathFromWx(m_pSourceEdit->GetValue());
  if (source.empty()) {
    wxMessageBox("Choose the source first: the book lists its songs.", "Song book", wxOK | wxICON_INFORMATION,
                 this);
    return;
  }
  std::string path = ChooseBookFile();
  if (path.empty()) return;
  PreviewRequest request = BookRequestForDialog(source, m_state.Marks(), m_converter.m_options);
  std::string error;
  std::size_t songCount = 0;
  SourceBookResult result;
  {
    wxBusyCursor busy;
    result = WriteSourceBook(m_converter.m_szStartDir, request, BookSettings(), path, error, songCount);
  }
  if (result != SourceBookResult::Written) {
    wxMessageBox(wxString::FromUTF8(error), "Song book", wxOK | wxICON_ERROR, this);
    return;
  }
  OpenBook(path);
}

std::string CMainDlg::ChooseBookFile() {
  wxString kinds = "HTML page (*.html)|*.html";
  if (CanWritePdfBooks()) kinds += "|PDF document (*.pdf)|*.pdf";
  wxFileDialog chooser(this, "Make song book", wxEmptyString, "songbook.html", kinds,
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (chooser.ShowModal() != wxID_OK) return {};
  std::string path = PathFromWx(chooser.GetPath());
  if (!path.empty() && BookFormatOf(path) == BookFormat::Unknown) {
    path += chooser.GetFilterIndex() == 1 ? ".pdf" : ".html";
  }
  return path;
}

void CMainDlg::OpenBook(const std::string& path) { wxLaunchDefaultApplication(PathToWx(path)); }

wxRect CMainDlg::LogoRect() const { return wxRect(LOGO_POSITION, wxSize(60, 16)); }

void CMainDlg::OnLeftUp(wxMouseEvent& event) {
  if (LogoRect().Contains(event.GetPosition())) {
    OnAbout();
  } else {
    event.Skip();
  }
}

void CMainDlg::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  // Client pixels, not dialog units: the logo keeps its size whatever the font.
  if (m_logo.IsOk()) dc.DrawBitmap(m_logo, LOGO_POSITION, true);
}

}  // namespace valmero
