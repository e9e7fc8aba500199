#include "ui/win32/check_report_window.h"

#include "ui/common/check_report_file.h"
#include "ui/win32/file_chooser.h"
#include "ui/win32/resource.h"
#include "ui/win32/window_text.h"

namespace valmero {

namespace {

constexpr int MARGIN = 10;
constexpr int BUTTON_GAP = 6;

// The text fills the window; the buttons keep to its lower right corner.
void LayOut(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  HWND close = ::GetDlgItem(window, IDCANCEL);
  HWND save = ::GetDlgItem(window, ID_SAVE_REPORT);
  RECT button;
  ::GetWindowRect(close, &button);
  const int width = button.right - button.left;
  const int height = button.bottom - button.top;
  const int buttonTop = client.bottom - MARGIN - height;
  ::MoveWindow(close, client.right - MARGIN - width, buttonTop, width, height, TRUE);
  ::MoveWindow(save, client.right - MARGIN - 2 * width - BUTTON_GAP, buttonTop, width, height, TRUE);
  ::MoveWindow(::GetDlgItem(window, ID_REPORT_TEXT), MARGIN, MARGIN, client.right - 2 * MARGIN,
               buttonTop - 2 * MARGIN, TRUE);
}

INT_PTR CALLBACK ReportProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SetWindowLongPtrA(window, DWLP_USER, lParam);
      const auto* report = reinterpret_cast<const CheckReportTexts*>(lParam);
      HWND text = ::GetDlgItem(window, ID_REPORT_TEXT);
      // Columns of the report line up only in a fixed-width font.
      ::SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), FALSE);
      ::SendMessageA(text, EM_SETLIMITTEXT, 0, 0);
      SetControlText(text, report->shown);
      // It opens at its top, where its totals are.
      ::SendMessageW(text, EM_SETSEL, 0, 0);
      ::SendMessageW(text, EM_SCROLLCARET, 0, 0);
      LayOut(window);
      // Focus in the text would select all of it.
      ::SetFocus(::GetDlgItem(window, IDCANCEL));
      return FALSE;
    }
    case WM_SIZE:
      LayOut(window);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_SAVE_REPORT) {
        CWindowBoxes boxes(window);
        const auto* report = reinterpret_cast<const CheckReportTexts*>(::GetWindowLongPtrA(window, DWLP_USER));
        SaveCheckReportAs(boxes, WithWindowsLineEnds(report->whole));
      } else if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
        ::EndDialog(window, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowCheckReport(HWND owner, const CheckReportTexts& report) {
  ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CHECK_REPORT), owner, &ReportProc,
                    reinterpret_cast<LPARAM>(&report));
}

}  // namespace valmero
