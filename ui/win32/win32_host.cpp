#include "ui/win32/win32_host.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "ui/common/popup_text.h"
#include "ui/win32/resource.h"

namespace valmero {

namespace {

constexpr const char* APP_TITLE = "VALMERO";
constexpr const char* PROFILE_KEY = "Software\\VALMERO\\VALMERO\\Settings";

class CProgressWindow : public IProgressPopup {
 public:
  CProgressWindow(CWin32Host& host, HWND owner, const char* title, bool smooth)
      : m_host(host), m_caption(title != nullptr ? title : "Progress") {
    m_window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), owner, &DialogProc,
                                    reinterpret_cast<LPARAM>(this));
    if (m_window == nullptr) return;
    ::SetWindowTextA(m_window, m_caption.Text().c_str());
    HWND bar = ::GetDlgItem(m_window, ID_PROGRESS_BAR);
    if (smooth) ::SetWindowLongPtrA(bar, GWL_STYLE, ::GetWindowLongPtrA(bar, GWL_STYLE) | PBS_SMOOTH);
    RestorePosition();
    ::ShowWindow(m_window, SW_SHOWNA);
    ::UpdateWindow(m_window);
  }

  ~CProgressWindow() override {
    if (m_window == nullptr) return;
    SavePosition();
    ::DestroyWindow(m_window);
  }

  void SetRange(int lower, int upper, int step) override {
    m_lower = lower;
    m_upper = upper;
    m_step = step;
    if (m_window == nullptr) return;
    ::SendDlgItemMessageA(m_window, ID_PROGRESS_BAR, PBM_SETRANGE32, static_cast<WPARAM>(lower), upper);
    ::SendDlgItemMessageA(m_window, ID_PROGRESS_BAR, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
  }

  void SetText(const char* text) override {
    if (m_window != nullptr) ::SetDlgItemTextA(m_window, ID_PROGRESS_TEXT, ExpandTabs(text).c_str());
  }

  int SetPos(int position) override {
    int previous = m_position;
    m_position = position;
    if (m_window == nullptr) return previous;
    ShowAgain();
    if (m_caption.Update(position, m_lower, m_upper)) ::SetWindowTextA(m_window, m_caption.Text().c_str());
    return static_cast<int>(::SendDlgItemMessageA(m_window, ID_PROGRESS_BAR, PBM_SETPOS, position, 0));
  }

  int StepIt() override {
    int next = m_position + m_step;
    if (next > m_upper) next = m_lower + (next - m_upper);  // the bar wraps as a progress bar does
    return SetPos(next);
  }

  // Hands on what waits in the queue and returns when it is empty.
  void PumpMessages(bool allowEscape) override {
    if (m_bCancelled) return;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        Cancel();
        break;
      }
      if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        // The main window hears every ESC of the program, as it does when no
        // run pumps: it logs the key and asks the host for the cancel.
        if (m_host.Owner() != nullptr) ::SendMessageA(m_host.Owner(), WM_COMMAND, IDCANCEL, 0);
        continue;
      }
      if (m_window != nullptr && ::IsDialogMessageA(m_window, &message)) continue;
      HWND root = message.hwnd != nullptr ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
      if (root != nullptr && ::IsDialogMessageA(root, &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    if (m_host.TakeCancel(allowEscape)) Cancel();
  }

  bool IsCancelled() const override { return m_bCancelled; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      ::SetWindowLongPtrA(window, DWLP_USER, lParam);
      return TRUE;
    }
    auto* self = reinterpret_cast<CProgressWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    if ((message == WM_COMMAND && (LOWORD(wParam) == ID_PROGRESS_CANCEL || LOWORD(wParam) == IDCANCEL)) ||
        message == WM_CLOSE) {
      self->Cancel();
      return TRUE;
    }
    return FALSE;
  }

  void Cancel() {
    m_bCancelled = true;
    if (m_window == nullptr) return;
    SavePosition();
    ::ShowWindow(m_window, SW_HIDE);
  }

  void ShowAgain() {
    if (m_bCancelled && !::IsWindowVisible(m_window)) ::ShowWindow(m_window, SW_SHOWNA);
  }

  void RestorePosition() {
    int x = -1, y = -1;
    RECT rect;
    ::GetWindowRect(m_window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!ReadProfilePosition(x, y) || x < 0 || y < 0 || x >= ::GetSystemMetrics(SM_CXSCREEN) ||
        y >= ::GetSystemMetrics(SM_CYSCREEN)) {
      x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
      y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    ::SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SavePosition() {
    RECT rect;
    if (::GetWindowRect(m_window, &rect)) WriteProfilePosition(rect.left, rect.top);
  }

  CWin32Host& m_host;
  HWND m_window = nullptr;
  CPercentCaption m_caption;
  int m_lower = 0;
  int m_upper = 100;
  int m_step = 1;
  int m_position = 0;
  bool m_bCancelled = false;
};

}  // namespace

std::unique_ptr<IProgressPopup> CWin32Host::CreateProgressPopup(const char* title, bool smooth) {
  return std::make_unique<CProgressWindow>(*this, m_owner, title, smooth);
}

void CWin32Host::ShowFinished(const char* text) { ::MessageBoxA(m_owner, text, APP_TITLE, MB_OK); }

bool CWin32Host::AskError(const char* text, const char* caption) {
  return ::MessageBoxA(m_owner, text, caption, MB_OKCANCEL | MB_ICONERROR) == IDOK;
}

void CWin32Host::ShowCancelled(const char* text) { ::MessageBoxA(m_owner, text, APP_TITLE, MB_OK); }

void CWin32Host::OpenDocument(const char* path) { OpenWithShell(path); }

void OpenWithShell(const char* file) {
  SHELLEXECUTEINFOA request{};
  request.cbSize = sizeof request;
  request.lpVerb = "open";
  request.lpFile = file;
  request.nShow = SW_SHOW;
  ::ShellExecuteExA(&request);
}

bool ReadProfilePosition(int& x, int& y) {
  DWORD values[2];
  const char* names[2] = {"X", "Y"};
  for (int i = 0; i < 2; ++i) {
    DWORD size = sizeof values[i];
    if (::RegGetValueA(HKEY_CURRENT_USER, PROFILE_KEY, names[i], RRF_RT_REG_DWORD, nullptr, &values[i], &size) !=
        ERROR_SUCCESS) {
      return false;
    }
  }
  x = static_cast<int>(values[0]);
  y = static_cast<int>(values[1]);
  return true;
}

void WriteProfilePosition(int x, int y) {
  DWORD values[2] = {static_cast<DWORD>(x), static_cast<DWORD>(y)};
  ::RegSetKeyValueA(HKEY_CURRENT_USER, PROFILE_KEY, "X", REG_DWORD, &values[0], sizeof values[0]);
  ::RegSetKeyValueA(HKEY_CURRENT_USER, PROFILE_KEY, "Y", REG_DWORD, &values[1], sizeof values[1]);
}

}  // namespace valmero
