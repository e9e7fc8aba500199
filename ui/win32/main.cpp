// valmero.exe: the Windows desktop program, one modal dialog for the life
// of the program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/win32/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
