#include "ui/win32/book_window.h"

#include "ui/win32/resource.h"
#include "ui/win32/window_text.h"

namespace valmero {

namespace {

void SetText(HWND window, int id, const std::string& text) { SetControlText(::GetDlgItem(window, id), text); }

std::string TextOf(HWND window, int id) { return ControlText(::GetDlgItem(window, id)); }

void ShowChoices(HWND window, const BookChoices& choices) {
  SetText(window, ID_BOOK_TITLE, choices.title);
  SetText(window, ID_BOOK_FOOTER, choices.footer);
  HWND list = ::GetDlgItem(window, ID_BOOK_CODE_PAGE);
  for (const BookCodePage& page : choices.codePages) {
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(page.label).c_str()));
  }
  ::SendMessageW(list, CB_SETCURSEL, choices.codePage, 0);
  // This build writes no PDF where it is not offered.
  ::EnableWindow(::GetDlgItem(window, ID_BOOK_PDF), choices.pdfOffered);
  ::CheckRadioButton(window, ID_BOOK_HTML, ID_BOOK_PDF, choices.pdf && choices.pdfOffered ? ID_BOOK_PDF : ID_BOOK_HTML);
  ::CheckRadioButton(window, ID_BOOK_A4, ID_BOOK_LETTER, choices.paper == PaperSize::Letter ? ID_BOOK_LETTER : ID_BOOK_A4);
  ::CheckRadioButton(window, ID_BOOK_SMALL, ID_BOOK_LARGE, ID_BOOK_SMALL + static_cast<int>(choices.fontSize));
}

void ReadChoices(HWND window, BookChoices& choices) {
  choices.title = TextOf(window, ID_BOOK_TITLE);
  choices.footer = TextOf(window, ID_BOOK_FOOTER);
  const LRESULT selected = ::SendDlgItemMessageW(window, ID_BOOK_CODE_PAGE, CB_GETCURSEL, 0, 0);
  if (selected >= 0) choices.codePage = static_cast<std::size_t>(selected);
  choices.pdf = ::IsDlgButtonChecked(window, ID_BOOK_PDF) == BST_CHECKED;
  choices.paper = ::IsDlgButtonChecked(window, ID_BOOK_LETTER) == BST_CHECKED ? PaperSize::Letter : PaperSize::A4;
  choices.fontSize = ::IsDlgButtonChecked(window, ID_BOOK_LARGE) == BST_CHECKED    ? FontSize::Large
                     : ::IsDlgButtonChecked(window, ID_BOOK_MEDIUM) == BST_CHECKED ? FontSize::Medium
                                                                                    : FontSize::Small;
}

INT_PTR CALLBACK ChoicesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
      ShowChoices(window, *reinterpret_cast<const BookChoices*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        ReadChoices(window, *reinterpret_cast<BookChoices*>(::GetWindowLongPtrW(window, DWLP_USER)));
        ::EndDialog(window, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(window, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK WrittenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetText(window, ID_BOOK_WRITTEN_TEXT, *reinterpret_cast<const std::string*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_BOOK_OPEN || LOWORD(wParam) == ID_BOOK_OPEN_FOLDER || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(window, LOWORD(wParam));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool AskBookChoicesOver(HWND owner, BookChoices& choices) {
  return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BOOK), owner, &ChoicesProc,
                           reinterpret_cast<LPARAM>(&choices)) == IDOK;
}

BookWrittenAnswer ShowBookWrittenOver(HWND owner, const std::string& text) {
  switch (::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BOOK_WRITTEN), owner, &WrittenProc,
                            reinterpret_cast<LPARAM>(&text))) {
    case ID_BOOK_OPEN: return BookWrittenAnswer::OpenBook;
    case ID_BOOK_OPEN_FOLDER: return BookWrittenAnswer::OpenFolder;
    default: return BookWrittenAnswer::Close;
  }
}

}  // namespace valmero
