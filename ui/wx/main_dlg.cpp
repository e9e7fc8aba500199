#include "ui/wx/main_dlg.h"

#include <algorithm>
#include <utility>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "ui/common/site_address.h"
#include "ui/wx/about_dlg.h"
#include "ui/wx/art.h"
#include "ui/wx/book_dlg.h"
#include "ui/wx/check_report_dlg.h"
#include "ui/wx/choosers.h"
#include "ui/wx/dialog_layout.h"

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
      m_controller(*this, m_host) {
  m_host.SetOwner(this);
  CreateControls();
  InitializeDialog();
}

// A dialog deleted without Destroy still ends its session properly.
CMainDlg::~CMainDlg() { m_controller.Terminate(); }

bool CMainDlg::Destroy() {
  m_controller.Terminate();
  return wxDialog::Destroy();
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

void CMainDlg::EndDialog(DialogEnd end) {
  const int result = end == DialogEnd::Exit ? wxID_OK : wxID_CANCEL;
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

  AddControl(ID_VISIT_SITE, new wxButton(this, ID_VISIT_SITE, SITE_BUTTON_LABEL, wxDefaultPosition, wxDefaultSize,
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
      auto* box = static_cast<wxCheckBox*>(control);
      box->Bind(wxEVT_CHECKBOX, [this, id = id, box](wxCommandEvent&) { m_controller.OnCheckBox(id, box->GetValue()); });
    }
  }
  for (int id : {ID_VISIT_SITE, ID_HELP_BUTTON, ID_SELECT_SOURCE, ID_SELECT_TARGET, ID_MAKE, ID_VIEW_LOG, ID_EXIT}) {
    Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { m_controller.OnCommand(id); }, id);
  }
  for (int id : {ID_ABOUT_BOX, ID_CHECK_SOURCE, ID_MAKE_BOOK}) {
    Bind(wxEVT_MENU, [this, id](wxCommandEvent&) { m_controller.OnCommand(id); }, id);
  }
  m_pSourceEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    m_controller.OnSourceEdited(PathFromWx(m_pSourceEdit->GetValue()));
  });
  m_pTargetEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    m_controller.OnTargetEdited(PathFromWx(m_pTargetEdit->GetValue()));
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
  m_controller.Initialize();
  CentreOnScreen();
}

void CMainDlg::ShowState(const COptionState& state) {
  for (auto& [id, control] : m_controls) {
    if (IsCheckBox(id)) static_cast<wxCheckBox*>(control)->SetValue(state.IsChecked(id));
    control->Enable(state.IsEnabled(id));
  }
  // ChangeValue sends no text event and leaves a field alone that already
  // holds the text, so the caret stays where the user put it.
  wxString source = PathToWx(state.SourceText());
  if (m_pSourceEdit->GetValue() != source) m_pSourceEdit->ChangeValue(source);
  wxString target = PathToWx(state.TargetText());
  if (m_pTargetEdit->GetValue() != target) m_pTargetEdit->ChangeValue(target);
}

bool CMainDlg::ChooseFolder(const char* title, bool mustExist, std::string& folder) {
  return ChooseFolderOver(this, title, mustExist, folder);
}

FileChoice CMainDlg::ChooseFile(const FileRequest& request) { return ChooseFileOver(this, request); }

void CMainDlg::ShowMessage(const std::string& text, const char* caption, MessageKind kind) {
  ShowMessageOver(this, text, caption, kind);
}

void CMainDlg::ShowCheckReport(const CheckReportTexts& report) {
  CCheckReportDlg window(this, report);
  window.ShowModal();
}

bool CMainDlg::AskBookChoices(BookChoices& choices) {
  CBookChoicesDlg window(this, choices);
  if (window.ShowModal() != wxID_OK) return false;
  window.ReadChoices(choices);
  return true;
}

BookWrittenAnswer CMainDlg::ShowBookWritten(const std::string& text) { return ShowBookWrittenOver(this, text); }

void CMainDlg::SetBusy(bool busy) {
  if (busy) {
    wxBeginBusyCursor();
  } else {
    wxEndBusyCursor();
  }
}

void CMainDlg::OpenDocument(const std::string& path) { wxLaunchDefaultApplication(PathToWx(path)); }

void CMainDlg::OpenWebSite(const char* address) { wxLaunchDefaultBrowser(address); }

void CMainDlg::ShowAbout() {
  CAboutDlg about(this);
  about.ShowModal();
}

void CMainDlg::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE: m_controller.OnEscape(); break;
    case WXK_F1: m_controller.OnCommand(ID_HELP_BUTTON); break;
    case WXK_F5: m_controller.OnCommand(ID_CHECK_SOURCE); break;
    default: event.Skip();
  }
}

void CMainDlg::OnClose(wxCloseEvent& event) {
  m_controller.OnClose(event.CanVeto());
  // While a run works the window stays; the dialog ends when the run has ended.
  if (m_controller.State().IsRunning() && event.CanVeto()) event.Veto();
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
  for (int id : {ID_CHECK_SOURCE, ID_MAKE_BOOK}) menu.Enable(id, m_controller.State().IsEnabled(id));
}

wxRect CMainDlg::LogoRect() const { return wxRect(LOGO_POSITION, wxSize(60, 16)); }

void CMainDlg::OnLeftUp(wxMouseEvent& event) {
  if (LogoRect().Contains(event.GetPosition())) {
    ShowAbout();
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
