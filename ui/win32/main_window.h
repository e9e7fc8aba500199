// The Windows desktop program's main dialog: template 102, its controls
// kept in step with the shared option rules, MAKE handed to the run.
#pragma once

#include <windows.h>

#include "run/converter.h"
#include "ui/common/option_state.h"
#include "ui/win32/win32_host.h"

namespace valmero {

class CMainWindow {
 public:
  CMainWindow();
  // Runs the dialog until Exit or the close box; the dialog's result.
  INT_PTR Run();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Initialize();
  void OnCommand(int id, int code);
  void SyncControls();
  void OnSelectSource();
  void OnSelectTarget();
  std::string BrowseForFolder(const char* title);
  void OnMake();
  void ShowContextMenu(LPARAM where);
  void OnCheckSource();
  void OnMakeSongBook();
  std::string ChooseBookFile();
  void OnClose();
  void Paint();
  std::string EditText(int id) const;

  HWND m_window = nullptr;
  CWin32Host m_host;
  CConverter m_converter;
  COptionState m_state;
  HBITMAP m_logo = nullptr;
  HICON m_titleIcon = nullptr;
  bool m_bSyncing = false;
  bool m_bCloseAfterRun = false;
};

}  // namespace valmero
