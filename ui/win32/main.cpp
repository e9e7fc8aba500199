// valmero.exe: the Windows desktop program, one modal dialog for the life
// of the program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "ui/common/version_text.h"
#include "ui/win32/main_window.h"

namespace {

// "valmero --version" prints the version where it was asked: the output it
// was given, or the console of the command prompt it was started from.
void PrintVersion() {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  DWORD written = 0;
  if (out == nullptr || out == INVALID_HANDLE_VALUE ||
      !::WriteFile(out, valmero::VERSION_LINE, static_cast<DWORD>(std::strlen(valmero::VERSION_LINE)), &written, nullptr)) {
    ::MessageBoxA(nullptr, valmero::ABOUT_TEXT, "About VALMERO", MB_OK | MB_ICONINFORMATION);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (valmero::AsksForVersion(__argc, __argv)) {
    PrintVersion();
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  // The folder browser is a shell object.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    valmero::CMainWindow dialog;
    dialog.Run();
  }
  ::CoUninitialize();
  return 0;
}
