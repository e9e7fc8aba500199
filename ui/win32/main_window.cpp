#include "ui/win32/main_window.h"

#include <commdlg.h>
#include <shlobj.h>

#include "log/activity_log.h"
#include "ui/site_address.h"
#include "ui/win32/resource.h"

namespace valmero {

static_assert(IDC_VISIT_SITE == ID_VISIT_SITE && IDC_CONFIG_KEEP == ID_CONFIG_KEEP && IDC_MAKE == ID_MAKE &&
                  IDC_SOURCE_EDIT == ID_SOURCE_EDIT && IDC_TARGET_EDIT == ID_TARGET_EDIT,
              "the resource script and the option rules name the same controls");

namespace {

constexpr UINT ABOUT_COMMAND = 16;  // the About item of the system menu
constexpr int LOGO_X = 30;
constexpr int LOGO_Y = 20;

const int CONTROL_IDS[] = {ID_VISIT_SITE,      ID_HELP_BUTTON,     ID_JUKE_LIST,       ID_INDEX_FILE,
                           ID_COPY_MP3,        ID_MOVE_MP3,        ID_SELECT_SOURCE,   ID_SOURCE_EDIT,
                           ID_SELECT_TARGET,   ID_TARGET_EDIT,     ID_TARGET_SUBFOLDER, ID_MAKE,
                           ID_VIEW_LOG,        ID_EXIT,            ID_SOURCE_DOWNLOAD, ID_SOURCE_DISC,
                           ID_INDEX_RENUMBER,  ID_INDEX_KEEP,      ID_LIST_FILE,       ID_COPY_ALL,
                           ID_CONFIG_RENUMBER, ID_CONFIG_KEEP};

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    ::EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ShowAbout(HWND owner) {
  ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, &AboutProc, 0);
}

}  // namespace

CMainWindow::CMainWindow() : m_converter(m_host), m_state(m_converter.m_options) {}

INT_PTR CMainWindow::Run() {
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CMainWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CMainWindow*>(lParam);
    self->m_window = window;
    self->Initialize();
    return TRUE;
  }
  auto* self = reinterpret_cast<CMainWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
  return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

void CMainWindow::Initialize() {
  m_host.SetOwner(m_window);
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (HMENU systemMenu = ::GetSystemMenu(m_window, FALSE)) {
    char item[64];
    if (::LoadStringA(instance, IDS_ABOUT_ITEM, item, sizeof item) > 0) {
      ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuA(systemMenu, MF_STRING, ABOUT_COMMAND, item);
    }
  }
  HICON big = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_VALMERO), IMAGE_ICON, 32, 32, 0));
  HICON small = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_VALMERO), IMAGE_ICON, 16, 16, 0));
  ::SendMessageA(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  m_logo = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));

  m_converter.InitializeState();
  m_state.ApplyDefaultMarks();
  m_state.SetSourceText(std::string());
  SyncControls();
  m_converter.LogWelcome();
}

INT_PTR CMainWindow::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != ABOUT_COMMAND) return FALSE;
      ShowAbout(m_window);
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_HELP:
      OpenWithShell(".\\help.htm");
      return TRUE;
    case WM_DESTROY:
      m_converter.Terminate();
      if (m_logo != nullptr) ::DeleteObject(m_logo);
      return FALSE;
    default:
      return FALSE;
  }
}

void CMainWindow::OnCommand(int id, int code) {
  if (id == ID_SOURCE_EDIT || id == ID_TARGET_EDIT) {
    if (code != EN_CHANGE || m_bSyncing) return;
    if (id == ID_SOURCE_EDIT) m_state.SetSourceText(EditText(id));
    else m_state.SetTargetText(EditText(id));
    return;
  }
  if (code != BN_CLICKED) return;
  if (IsCheckBox(id)) {
    // A click that slipped through a lock: the mark goes back.
    if (m_state.IsEnabled(id)) m_state.OnClick(id, ::IsDlgButtonChecked(m_window, id) == BST_CHECKED);
    SyncControls();
    return;
  }
  switch (id) {
    case ID_VISIT_SITE:
      OpenWithShell(SITE_ADDRESS);
      LogMessage("visit %s", SITE_HOST);
      break;
    case ID_HELP_BUTTON:
      OpenWithShell(".\\help.htm");
      break;
    case ID_SELECT_SOURCE:
      OnSelectSource();
      break;
    case ID_SELECT_TARGET:
      OnSelectTarget();
      break;
    case ID_MAKE:
      OnMake();
      break;
    case ID_VIEW_LOG:
      m_converter.OnViewLog();
      break;
    case ID_EXIT:
      if (m_state.IsEnabled(ID_EXIT)) ::EndDialog(m_window, IDOK);
      break;
    case IDCANCEL:
      // ESC: logged, handed to a run that pumps, never the end of the dialog.
      LogMessage("press esc key");
      if (m_state.IsRunning()) CWin32Host::RequestCancel();
      break;
    default:
      break;
  }
}

std::string CMainWindow::EditText(int id) const {
  HWND edit = ::GetDlgItem(m_window, id);
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void CMainWindow::SyncControls() {
  m_bSyncing = true;
  for (int id : CONTROL_IDS) {
    if (IsCheckBox(id)) ::CheckDlgButton(m_window, id, m_state.IsChecked(id) ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_window, id), m_state.IsEnabled(id));
  }
  if (EditText(ID_SOURCE_EDIT) != m_state.SourceText()) {
    ::SetDlgItemTextA(m_window, ID_SOURCE_EDIT, m_state.SourceText().c_str());
  }
  if (EditText(ID_TARGET_EDIT) != m_state.TargetText()) {
    ::SetDlgItemTextA(m_window, ID_TARGET_EDIT, m_state.TargetText().c_str());
  }
  m_bSyncing = false;
}

void CMainWindow::OnSelectSource() {
  if (!m_state.IsEnabled(ID_SELECT_SOURCE)) return;
  if (m_converter.m_options.m_bSourceDisc) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = m_window;
    chooser.lpstrFilter = "TEXT file(*.txt)\0*.txt\0";
    chooser.lpstrFile = path;
    chooser.nMaxFile = sizeof path;
    chooser.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!::GetOpenFileNameA(&chooser) || path[0] == '\0') {
      LogMessage("wrong file name");
      return;
    }
    m_state.ChooseSource(path);
    SyncControls();
    LogMessage("select file is \"%s\"", path);
  } else if (m_converter.m_options.m_bSourceDownload) {
    std::string path = BrowseForFolder("Select Source Folder");
    if (path.empty()) return;
    m_state.ChooseSource(path);
    SyncControls();
    LogMessage("select folder is \"%s\"", path.c_str());
  }
}

std::string CMainWindow::BrowseForFolder(const char* title) {
  BROWSEINFOA browse{};
  browse.hwndOwner = m_window;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE item = ::SHBrowseForFolderA(&browse);
  if (item == nullptr) {
    LogMessage("Cancel\n");
    return {};
  }
  char path[MAX_PATH] = {};
  bool hasPath = ::SHGetPathFromIDListA(item, path) != 0;
  ::CoTaskMemFree(item);
  if (!hasPath || path[0] == '\0') {
    LogMessage("invalid folder\n");
    return {};
  }
  return path;
}

void CMainWindow::OnSelectTarget() {
  if (!m_state.IsEnabled(ID_SELECT_TARGET)) return;
  std::string path = BrowseForFolder("Select Target Folder");
  if (path.empty()) return;
  m_state.ChooseTarget(path);
  SyncControls();
  LogMessage("select folder is \"%s\"", path.c_str());
}

void CMainWindow::OnMake() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  // The run takes the fields as they are now; the controls are locked while
  // it pumps messages, so the paths a stage reads cannot change under it.
  const std::string source = EditText(ID_SOURCE_EDIT);
  const std::string target = EditText(ID_TARGET_EDIT);
  const MakeMarks marks = m_state.Marks();
  CWin32Host::s_bCancelRequested = false;
  m_state.BeginRun();
  SyncControls();
  m_converter.OnMake(source.c_str(), target.c_str(), marks);
  m_state.EndRun();
  SyncControls();
  CWin32Host::s_bCancelRequested = false;
  if (m_bCloseAfterRun) ::EndDialog(m_window, IDCANCEL);
}

// Closing the window during a run counts as Cancel; the dialog ends when the
// run has ended.
void CMainWindow::OnClose() {
  if (m_state.IsRunning()) {
    m_bCloseAfterRun = true;
    CWin32Host::RequestCancel();
    return;
  }
  ::EndDialog(m_window, IDCANCEL);
}

void CMainWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_window, &paint);
  if (m_logo != nullptr) {
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ previous = ::SelectObject(memory, m_logo);
    BITMAP size;
    ::GetObjectA(m_logo, sizeof size, &size);
    ::BitBlt(dc, LOGO_X, LOGO_Y, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
  }
  ::EndPaint(m_window, &paint);
}

}  // namespace valmero
