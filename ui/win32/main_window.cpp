#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <string>

#include "ui/common/site_address.h"
#include "ui/common/version_text.h"
#include "ui/win32/book_window.h"
#include "ui/win32/check_report_window.h"
#include "ui/win32/file_chooser.h"
#include "ui/win32/resource.h"

namespace valmero {

namespace {

constexpr int LOGO_X = 30;
constexpr int LOGO_Y = 20;
// The window property through which the key filter finds the main window.
constexpr const char* MAIN_WINDOW_PROPERTY = "VALMERO.MainWindow";

const int CONTROL_IDS[] = {ID_VISIT_SITE,      ID_HELP_BUTTON,     ID_JUKE_LIST,       ID_INDEX_FILE,
                           ID_COPY_MP3,        ID_MOVE_MP3,        ID_SELECT_SOURCE,   ID_SOURCE_EDIT,
                           ID_SELECT_TARGET,   ID_TARGET_EDIT,     ID_TARGET_SUBFOLDER, ID_MAKE,
                           ID_VIEW_LOG,        ID_EXIT,            ID_SOURCE_DOWNLOAD, ID_SOURCE_DISC,
                           ID_INDEX_RENUMBER,  ID_INDEX_KEEP,      ID_LIST_FILE,       ID_COPY_ALL,
                           ID_CONFIG_RENUMBER, ID_CONFIG_KEEP};

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    ::SetDlgItemTextA(window, IDC_ABOUT_VERSION, ABOUT_TEXT);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    ::EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
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

}  // namespace

CMainWindow::CMainWindow() : m_controller(*this, m_host) {}

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

// F5 checks the source. The dialog's own message loop hands keys to its
// controls; a message filter sees them first and finds the main window by
// its property.
LRESULT CALLBACK CMainWindow::DialogKeys(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && message->wParam == VK_F5) {
    HWND root = ::GetAncestor(message->hwnd, GA_ROOT);
    if (root != nullptr && ::GetPropA(root, MAIN_WINDOW_PROPERTY) != nullptr) {
      ::PostMessageA(root, WM_COMMAND, ID_CHECK_SOURCE, 0);
      return TRUE;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CMainWindow::Initialize() {
  m_host.SetOwner(m_window);
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (HMENU systemMenu = ::GetSystemMenu(m_window, FALSE)) {
    char item[64];
    if (::LoadStringA(instance, IDS_ABOUT_ITEM, item, sizeof item) > 0) {
      ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuA(systemMenu, MF_STRING, ID_ABOUT_BOX, item);
    }
  }
  HICON big = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_VALMERO), IMAGE_ICON, 32, 32, 0));
  HICON small = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_VALMERO), IMAGE_ICON, 16, 16, 0));
  ::SendMessageA(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  m_titleIcon = TitleBarIcon(instance);
  if (m_titleIcon != nullptr) ::SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_titleIcon));
  m_logo = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
  ::SetDlgItemTextA(m_window, ID_VISIT_SITE, SITE_BUTTON_LABEL);

  ::SetPropA(m_window, MAIN_WINDOW_PROPERTY, reinterpret_cast<HANDLE>(this));
  m_keyHook = ::SetWindowsHookExA(WH_MSGFILTER, &DialogKeys, nullptr, ::GetCurrentThreadId());

  m_controller.Initialize();
}

INT_PTR CMainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != ID_ABOUT_BOX) return FALSE;
      m_controller.OnCommand(ID_ABOUT_BOX);
      return TRUE;
    case WM_CLOSE:
      m_controller.OnClose();
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_HELP:
      m_controller.OnCommand(ID_HELP_BUTTON);
      return TRUE;
    case WM_CONTEXTMENU:
      ShowContextMenu(lParam);
      return TRUE;
    case WM_DESTROY:
      Release();
      return FALSE;
    default:
      return FALSE;
  }
}

void CMainWindow::Release() {
  if (m_keyHook != nullptr) ::UnhookWindowsHookEx(m_keyHook);
  m_keyHook = nullptr;
  ::RemovePropA(m_window, MAIN_WINDOW_PROPERTY);
  m_controller.Terminate();
  if (m_logo != nullptr) ::DeleteObject(m_logo);
  if (m_titleIcon != nullptr) ::DestroyIcon(m_titleIcon);
}

void CMainWindow::OnCommand(int id, int code) {
  if (id == ID_SOURCE_EDIT || id == ID_TARGET_EDIT) {
    if (code != EN_CHANGE || m_bSyncing) return;
    if (id == ID_SOURCE_EDIT) {
      m_controller.OnSourceEdited(EditText(id));
    } else {
      m_controller.OnTargetEdited(EditText(id));
    }
  } else if (id == IDCANCEL) {
    m_controller.OnEscape();
  } else if (IsCheckBox(id)) {
    if (code == BN_CLICKED) m_controller.OnCheckBox(id, ::IsDlgButtonChecked(m_window, id) == BST_CHECKED);
  } else if (code == BN_CLICKED) {
    m_controller.OnCommand(id);
  }
}

std::string CMainWindow::EditText(int id) const {
  HWND edit = ::GetDlgItem(m_window, id);
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void CMainWindow::ShowState(const COptionState& state) {
  m_bSyncing = true;
  for (int id : CONTROL_IDS) {
    if (IsCheckBox(id)) ::CheckDlgButton(m_window, id, state.IsChecked(id) ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(::GetDlgItem(m_window, id), state.IsEnabled(id));
  }
  if (EditText(ID_SOURCE_EDIT) != state.SourceText()) {
    ::SetDlgItemTextA(m_window, ID_SOURCE_EDIT, state.SourceText().c_str());
  }
  if (EditText(ID_TARGET_EDIT) != state.TargetText()) {
    ::SetDlgItemTextA(m_window, ID_TARGET_EDIT, state.TargetText().c_str());
  }
  m_bSyncing = false;
}

bool CMainWindow::ChooseFolder(const char* title, bool, std::string& folder) {
  return ChooseFolderOver(m_window, title, folder);
}

FileChoice CMainWindow::ChooseFile(const FileRequest& request) { return ChooseFileOver(m_window, request); }

void CMainWindow::ShowMessage(const std::string& text, const char* caption, MessageKind kind) {
  ShowMessageOver(m_window, text, caption, kind);
}

void CMainWindow::ShowCheckReport(const CheckReportTexts& report) { valmero::ShowCheckReport(m_window, report); }

bool CMainWindow::AskBookChoices(BookChoices& choices) { return AskBookChoicesOver(m_window, choices); }

BookWrittenAnswer CMainWindow::ShowBookWritten(const std::string& text) { return ShowBookWrittenOver(m_window, text); }

void CMainWindow::SetBusy(bool busy) {
  if (busy) {
    m_cursorBeforeBusy = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  } else {
    ::SetCursor(m_cursorBeforeBusy);
  }
}

void CMainWindow::OpenDocument(const std::string& path) { OpenWithShell(path.c_str()); }

void CMainWindow::OpenWebSite(const char* address) { OpenWithShell(address); }

void CMainWindow::ShowAbout() {
  ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), m_window, &AboutProc, 0);
}

void CMainWindow::EndDialog(DialogEnd end) { ::EndDialog(m_window, end == DialogEnd::Exit ? IDOK : IDCANCEL); }

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
  HMENU menu = ::GetSubMenu(menus, 0);
  for (int id : {ID_CHECK_SOURCE, ID_MAKE_BOOK}) {
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (m_controller.State().IsEnabled(id) ? MF_ENABLED : MF_GRAYED));
  }
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_window, nullptr);
  ::DestroyMenu(menus);
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
