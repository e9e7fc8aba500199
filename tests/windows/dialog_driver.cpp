// Drives the Windows desktop program the way a user does, through the
// messages its controls send: valmero_driver STEP [ARGS]
//   fill SOURCE TARGET  ticks the list, config and copy-all boxes, types the paths
//   layout              checks that every control lies where the template puts it
//   make                presses MAKE, waits for the box that ends the run,
//                       prints its text and answers it with OK
//   check               chooses "Check source" in the context menu, prints the
//                       report the window shows and closes it
//   book FILE           chooses "Make song book", checks that its dialog offers
//                       the code pages and no PDF, chooses A4 paper (the
//                       command line's default) with its venue line
//                       "Joe's Bar", answers the save dialog with FILE, waits
//                       for the book and, told where it went, opens it
//   disc SOURCE         ticks the songlist source, types SOURCE, ticks the KVX
//                       sub-folder box and prints the target the dialog shows
//   escape-make         presses MAKE with ESC waiting behind it (seen at the
//                       first pump of the copies), prints the texts of the
//                       boxes that follow and answers each with OK
//   exit                presses Exit
// Exit status 0 on success, 1 with a reason on standard error otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/win32/resource.h"

namespace {

struct Place {
  int id, x, y, width, height;
};

// The template's rectangles, in dialog units.
const Place PLACES[] = {
    {ID_VISIT_SITE, 84, 7, 106, 14},       {ID_HELP_BUTTON, 211, 18, 50, 14},
    {ID_SELECT_SOURCE, 14, 182, 50, 14},   {ID_SOURCE_EDIT, 70, 182, 193, 14},
    {ID_SELECT_TARGET, 15, 220, 50, 14},   {ID_TARGET_EDIT, 70, 220, 193, 14},
    {ID_TARGET_SUBFOLDER, 70, 203, 140, 10}, {ID_MAKE, 28, 244, 50, 14},
    {ID_VIEW_LOG, 105, 244, 65, 14},       {ID_EXIT, 197, 244, 50, 14},
    {ID_SOURCE_DOWNLOAD, 21, 48, 107, 10}, {ID_SOURCE_DISC, 21, 64, 113, 10},
    {ID_INDEX_RENUMBER, 41, 84, 201, 10},  {ID_INDEX_KEEP, 41, 99, 182, 10},
    {ID_LIST_FILE, 41, 144, 103, 10},      {ID_COPY_ALL, 41, 159, 83, 10},
    {ID_CONFIG_RENUMBER, 41, 114, 195, 10}, {ID_CONFIG_KEEP, 41, 129, 176, 10},
};

int Fail(const char* reason) {
  std::fprintf(stderr, "valmero_driver: %s\n", reason);
  return 1;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process;
}

// A message box of the program's process: a visible dialog with the box's
// text control. The run's progress popup is a dialog of the same caption,
// so the caption alone does not tell them apart.
struct BoxSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK TakeMessageBox(HWND window, LPARAM argument) {
  auto* search = reinterpret_cast<BoxSearch*>(argument);
  char className[16] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !::IsWindowVisible(window) || ProcessOf(window) != search->process ||
      ::GetDlgItem(window, 0xFFFF) == nullptr) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

HWND FindMessageBox(HWND dialog, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    BoxSearch search = {ProcessOf(dialog), nullptr};
    ::EnumWindows(&TakeMessageBox, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    ::Sleep(100);
  }
  return nullptr;
}

// The main dialog is the one with the MAKE button. It is found as soon as it
// is created, before the program has set its controls up; it is taken once
// it is shown and its program waits for input, or a click could land before
// the program's own first marks and be undone by them.
HWND MainDialog() {
  for (int waited = 0; waited < 300; ++waited) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, "#32770", "VALMERO")) != nullptr) {
      if (::GetDlgItem(window, ID_MAKE) == nullptr || !::IsWindowVisible(window)) continue;
      if (HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, ProcessOf(window))) {
        ::WaitForInputIdle(process, 10000);
        ::CloseHandle(process);
      }
      return window;
    }
    ::Sleep(100);
  }
  return nullptr;
}

void Click(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// A click on a busy machine can be lost (the button loses the mouse capture
// between its press and release), so a box is clicked until it shows its mark.
bool Tick(HWND dialog, int id) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED) return true;
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    if (::IsDlgButtonChecked(dialog, id) == BST_CHECKED) return true;
    ::Sleep(200);
  }
  return false;
}

bool Type(HWND dialog, int id, const char* text) {
  ::SetDlgItemTextA(dialog, id, text);
  char typed[MAX_PATH * 2] = {};
  ::GetDlgItemTextA(dialog, id, typed, sizeof typed);
  return std::string(typed) == text;
}

int Fill(HWND dialog, const char* source, const char* target) {
  for (int id : {ID_LIST_FILE, ID_CONFIG_RENUMBER, ID_COPY_ALL}) {
    if (!Tick(dialog, id)) return Fail("a box did not take its mark");
  }
  if (!Type(dialog, ID_SOURCE_EDIT, source) || !Type(dialog, ID_TARGET_EDIT, target)) {
    return Fail("a path did not stay in its field");
  }
  return 0;
}

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// MapDialogRect reads the dialog's font from inside its own process; from
// here the dialog's base units are worked out from the first control's
// place, as MapDialogRect scales (x * baseX / 4, y * baseY / 8), to a pixel.
int CheckLayout(HWND dialog) {
  const RECT first = ClientRectOf(dialog, ::GetDlgItem(dialog, PLACES[0].id));
  const int baseX = (first.right - first.left) * 4 / PLACES[0].width;
  const int baseY = (first.bottom - first.top) * 8 / PLACES[0].height;
  int wrong = 0;
  for (const Place& place : PLACES) {
    RECT expected = {::MulDiv(place.x, baseX, 4), ::MulDiv(place.y, baseY, 8), ::MulDiv(place.x + place.width, baseX, 4),
                     ::MulDiv(place.y + place.height, baseY, 8)};
    HWND control = ::GetDlgItem(dialog, place.id);
    if (control == nullptr) {
      ++wrong;
      continue;
    }
    const RECT actual = ClientRectOf(dialog, control);
    // The base units worked out from one control are off by a fraction at most.
    if (std::abs(expected.left - actual.left) > 1 || std::abs(expected.top - actual.top) > 1 ||
        std::abs(expected.right - actual.right) > 1 || std::abs(expected.bottom - actual.bottom) > 1) {
      std::fprintf(stderr, "control %d at %ld,%ld-%ld,%ld, not %ld,%ld-%ld,%ld\n", place.id, actual.left, actual.top,
                   actual.right, actual.bottom, expected.left, expected.top, expected.right, expected.bottom);
      ++wrong;
    }
  }
  return wrong == 0 ? 0 : Fail("controls away from their template positions");
}

// A visible dialog of the program's process with the caption `caption`.
HWND FindCaptioned(HWND dialog, const char* caption, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, "#32770", caption)) != nullptr) {
      if (::IsWindowVisible(window) && ProcessOf(window) == ProcessOf(dialog)) return window;
    }
    ::Sleep(100);
  }
  return nullptr;
}

// GetWindowText does not ask a control of another process for its text.
std::string TextOf(HWND control) {
  const LRESULT length = ::SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = ::SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

int Check(HWND dialog) {
  ::PostMessageA(dialog, WM_COMMAND, ID_CHECK_SOURCE, 0);
  HWND report = FindCaptioned(dialog, "Check source", 50);
  if (report == nullptr) return Fail("no report window");
  std::fputs(TextOf(::GetDlgItem(report, ID_REPORT_TEXT)).c_str(), stdout);
  ::PostMessageA(report, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

// The save dialog's name field: an edit box, or the edit box inside a combo box.
HWND NameField(HWND chooser) {
  for (int id : {0x47C, 0x480}) {  // cmb13, edt1
    HWND field = ::GetDlgItem(chooser, id);
    if (field == nullptr) continue;
    HWND edit = ::FindWindowExA(field, nullptr, "Edit", nullptr);
    return edit != nullptr ? edit : field;
  }
  return nullptr;
}

// A visible dialog of the program's process with the caption `caption` and
// a control `id`.
HWND FindCaptionedWith(HWND dialog, const char* caption, int id, int seconds) {
  for (int waited = 0; waited < seconds * 10; ++waited) {
    HWND window = FindCaptioned(dialog, caption, 1);
    if (window != nullptr && ::GetDlgItem(window, id) != nullptr) return window;
  }
  return nullptr;
}

int Book(HWND dialog, const char* file) {
  ::PostMessageA(dialog, WM_COMMAND, ID_MAKE_BOOK, 0);
  HWND settings = FindCaptionedWith(dialog, "Song book", ID_BOOK_TITLE, 50);
  if (settings == nullptr) return Fail("no dialog for the book's settings");
  if (::SendDlgItemMessageA(settings, ID_BOOK_CODE_PAGE, CB_GETCOUNT, 0, 0) < 10) return Fail("few code pages offered");
  if (::IsWindowEnabled(::GetDlgItem(settings, ID_BOOK_PDF))) return Fail("PDF offered where none is written");
  if (!Tick(settings, ID_BOOK_A4)) return Fail("A4 could not be chosen");
  if (!Type(settings, ID_BOOK_FOOTER, "Joe's Bar")) return Fail("the venue line did not stay in its field");
  ::PostMessageA(settings, WM_COMMAND, IDOK, 0);
  HWND chooser = FindCaptioned(dialog, "Make song book", 50);
  if (chooser == nullptr) return Fail("no save dialog for the book");
  HWND field = NameField(chooser);
  if (field == nullptr) return Fail("no name field in the save dialog");
  ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file));
  ::PostMessageA(chooser, WM_COMMAND, IDOK, 0);
  HWND written = FindCaptionedWith(dialog, "Song book", ID_BOOK_WRITTEN_TEXT, 50);
  if (written == nullptr) return Fail("not told where the book went");
  if (TextOf(::GetDlgItem(written, ID_BOOK_WRITTEN_TEXT)).find(file) == std::string::npos) {
    return Fail("the message does not name the book's file");
  }
  if (::GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES) return Fail("no book was written");
  ::PostMessageA(written, WM_COMMAND, ID_BOOK_OPEN, 0);
  return 0;
}

int Make(HWND dialog) {
  Click(dialog, ID_MAKE);
  HWND box = FindMessageBox(dialog, 110);
  if (box == nullptr) return Fail("no box at the end of the run");
  char text[512] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  std::printf("%s\n", text);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  return 0;
}

int Disc(HWND dialog, const char* source) {
  if (!Tick(dialog, ID_SOURCE_DISC)) return Fail("the songlist box did not take its mark");
  if (!Type(dialog, ID_SOURCE_EDIT, source)) return Fail("the source did not stay in its field");
  if (!Tick(dialog, ID_TARGET_SUBFOLDER)) return Fail("the sub-folder box did not take its mark");
  std::printf("%s\n", TextOf(::GetDlgItem(dialog, ID_TARGET_EDIT)).c_str());
  return 0;
}

int EscapeMake(HWND dialog) {
  Click(dialog, ID_MAKE);
  ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  for (int shown = 0; shown < 2; ++shown) {
    HWND box = FindMessageBox(dialog, 110);
    if (box == nullptr) return Fail("a box of the run did not show");
    std::printf("%s\n", TextOf(::GetDlgItem(box, 0xFFFF)).c_str());
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int waited = 0; waited < 100 && ::IsWindow(box); ++waited) ::Sleep(100);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Fail("no step given");
  HWND dialog = MainDialog();
  if (dialog == nullptr) return Fail("the main dialog did not appear");
  const std::string step = argv[1];
  if (step == "fill" && argc == 4) return Fill(dialog, argv[2], argv[3]);
  if (step == "layout") return CheckLayout(dialog);
  if (step == "make") return Make(dialog);
  if (step == "check") return Check(dialog);
  if (step == "book" && argc == 3) return Book(dialog, argv[2]);
  if (step == "disc" && argc == 3) return Disc(dialog, argv[2]);
  if (step == "escape-make") return EscapeMake(dialog);
  if (step == "exit") {
    Click(dialog, ID_EXIT);
    return 0;
  }
  return Fail("unknown step");
}
