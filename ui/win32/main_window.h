// The Windows view of the main dialog: template 102 with its controls, the
// logo, the title-bar image, the system and context menus. Every event goes
// to the dialog controller (ui/common/dialog_controller.h); this class only
// answers the controller's requests with Win32 calls.
#pragma once

#include <windows.h>

#include "ui/common/dialog_controller.h"
#include "ui/win32/win32_host.h"

namespace valmero {

class CMainWindow : public IDialogView {
 public:
  CMainWindow();
  // Runs the dialog until Exit or the close box; the dialog's result.
  INT_PTR Run();

  void ShowState(const COptionState& state) override;
  bool ChooseFolder(const char* title, bool mustExist, std::string& folder) override;
  FileChoice ChooseFile(const FileRequest& request) override;
  void ShowMessage(const std::string& text, const char* caption, MessageKind kind) override;
  void ShowCheckReport(const CheckReportTexts& report) override;
  bool AskBookChoices(BookChoices& choices) override;
  BookWrittenAnswer ShowBookWritten(const std::string& text) override;
  void SetBusy(bool busy) override;
  void OpenDocument(const std::string& path) override;
  void OpenWebSite(const char* address) override;
  void ShowAbout() override;
  void EndDialog(DialogEnd end) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK DialogKeys(int code, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Initialize();
  void OnCommand(int id, int code);
  void ShowContextMenu(LPARAM where);
  void Paint();
  void Release();
  std::string EditText(int id) const;

  HWND m_window = nullptr;
  CWin32Host m_host;
  CDialogController m_controller;
  HBITMAP m_logo = nullptr;
  HICON m_titleIcon = nullptr;
  HHOOK m_keyHook = nullptr;
  HCURSOR m_cursorBeforeBusy = nullptr;
  bool m_bSyncing = false;
};

}  // namespace valmero
