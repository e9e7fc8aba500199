#include "ui/win32/main_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "book/source_book.h"
#include "log/activity_log.h"
#include "run/source_check.h"
#include "ui/common/dialog_requests.h"
#include "ui/common/site_address.h"
#include "ui/win32/check_report_window.h"
#include "ui/win32/file_chooser.h"
#include "ui/win32/resource.h"

namespace valmero {

static_assert(IDC_VISIT_SITE == ID_VISIT_SITE && IDC_CONFIG_KEEP == ID_CONFIG_KEEP && IDC_MAKE == ID_MAKE &&
                  IDC_SOURCE_EDIT == ID_SOURCE_EDIT && IDC_TARGET_EDIT == ID_TARGET_EDIT,
              "the resource script and the option rules name the same controls");

namespace {

constexpr UINT ABOUT_COMMAND = IDM_ABOUT;  // also the About item of the system menu
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

// F5 checks the source. The dialog's own message loop hands keys to its
// controls; a message filter sees them first.
HHOOK g_keyHook = nullptr;
HWND g_keyWindow = nullptr;

LRESULT CALLBACK DialogKeys(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_F5 &&
      (message->hwnd == g_keyWindow || ::IsChild(g_keyWindow, message->hwnd))) {
    ::PostMessageA(g_keyWindow, WM_COMMAND, IDM_CHECK_SOURCE, 0);
    return TRUE;
  }
  return ::CallNextHookEx(g_keyHook, code, wParam, lParam);
}

// The title bar shows the 16 x 16 title image rather than the program's
// icon, its white transparent; nullptr when it cannot be made.
HICON TitleBarIcon(HINSTANCE instance) {
  HBITMAP image = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(IDB_TITLE), IMAGE_BITMAP, 0, 0, 0));
  if (image == nullptr) return nullptr;
  HICON icon = nullptr;
  if (HIMAGELIST strip = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0)) {
    if (::ImageList_AddMasked(strip, image, RGB(255, 255, 255)) == 0) icon = ::ImageList_GetIcon(strip, 0, ILD_NORMAL);
    ::ImageList_Destroy(strip);
  }
  ::DeleteObject(image);
  return icon;
}

// The tags and songlists of a Windows collection are written in the
// system's code page.
BookSettings BookSettingsForSystem() {
  BookSettings settings;
  settings.encoding = "CP" + std::to_string(::GetACP());
  return settings;
}

class CWaitCursor {
 public:
  CWaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~CWaitCursor() { ::SetCursor(m_previous); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  HCURSOR m_previous;
};

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
  m_titleIcon = TitleBarIcon(instance);
  if (m_titleIcon != nullptr) ::SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_titleIcon));
  m_logo = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));

  g_keyWindow = m_window;
  g_keyHook = ::SetWindowsHookExA(WH_MSGFILTER, &DialogKeys, nullptr, ::GetCurrentThreadId());

  m_converter.InitializeState();
  m_state.ApplyDefaultMarks();
  m_state.SetSourceText(std::string());
  SyncControls();
  m_converter.LogWelcome();
}

INT_PTR CMainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_CONTEXTMENU:
      ShowContextMenu(lParam);
      return TRUE;
    case WM_DESTROY:
      if (g_keyHook != nullptr) ::UnhookWindowsHookEx(g_keyHook);
      g_keyHook = nullptr;
      m_converter.Terminate();
      if (m_logo != nullptr) ::DeleteObject(m_logo);
      if (m_titleIcon != nullptr) ::DestroyIcon(m_titleIcon);
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
    case IDM_CHECK_SOURCE:
      OnCheckSource();
      break;
    case IDM_MAKE_BOOK:
      OnMakeSongBook();
      break;
    case IDM_ABOUT:
      ShowAbout(m_window);
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
    FileChoice choice;
    choice.filter = "TEXT file(*.txt)\0*.txt\0";
    const std::string path = ChooseFile(m_window, choice);
    if (path.empty()) {
      LogMessage("wrong file name");
      return;
    }
    m_state.ChooseSource(path);
    SyncControls();
    LogMessage("select file is \"%s\"", path.c_str());
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

// At the mouse, or under the window's top left corner when the menu comes
// from the keyboard (the position is then -1, -1).
void CMainWindow::ShowContextMenu(LPARAM where) {
  POINT at = {static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == static_cast<LPARAM>(-1)) {
    at = {LOGO_X, LOGO_Y};
    ::ClientToScreen(m_window, &at);
  }
  HMENU menus = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT));
  if (menus == nullptr) return;
  const UINT running = m_state.IsRunning() ? MF_GRAYED : MF_ENABLED;
  HMENU menu = ::GetSubMenu(menus, 0);
  ::EnableMenuItem(menu, IDM_CHECK_SOURCE, MF_BYCOMMAND | running);
  ::EnableMenuItem(menu, IDM_MAKE_BOOK, MF_BYCOMMAND | running);
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_window, nullptr);
  ::DestroyMenu(menus);
}

void CMainWindow::OnCheckSource() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  const CheckRequest request =
      CheckRequestForDialog(EditText(ID_SOURCE_EDIT), EditText(ID_TARGET_EDIT), m_state.Marks(), m_converter.m_options);
  SourceCheckReport report;
  {
    CWaitCursor reading;
    CheckSource(m_converter.m_szStartDir, request, report);
  }
  ShowCheckReport(m_window, FormatCheckReport(report));
}

void CMainWindow::OnMakeSongBook() {
  if (m_state.IsRunning() || m_converter.IsRunning()) return;
  const std::string source = EditText(ID_SOURCE_EDIT);
  if (source.empty()) {
    ::MessageBoxA(m_window, "Choose the source first: the book lists its songs.", "Song book",
                  MB_OK | MB_ICONINFORMATION);
    return;
  }
  const std::string path = ChooseBookFile();
  if (path.empty()) return;
  const PreviewRequest request = BookRequestForDialog(source, m_state.Marks(), m_converter.m_options);
  std::string error;
  std::size_t songCount = 0;
  SourceBookResult result;
  {
    CWaitCursor writing;
    result = WriteSourceBook(m_converter.m_szStartDir, request, BookSettingsForSystem(), path, error, songCount);
  }
  if (result != SourceBookResult::Written) {
    ::MessageBoxA(m_window, error.c_str(), "Song book", MB_OK | MB_ICONERROR);
    return;
  }
  OpenWithShell(path.c_str());
}

// The book is an HTML page here: printing it is the browser's work.
std::string CMainWindow::ChooseBookFile() {
  FileChoice choice;
  choice.title = "Make song book";
  choice.filter = "HTML page (*.html)\0*.html\0";
  choice.name = "songbook.html";
  choice.extension = "html";
  choice.save = true;
  return ChooseFile(m_window, choice);
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
