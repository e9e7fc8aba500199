// The Windows desktop program's host for a run: the progress popup as a
// modeless dialog with a progress bar, the message boxes, the shell.
#pragma once

#include <windows.h>

#include "core/run_host.h"

namespace valmero {

class CWin32Host : public IRunHost {
 public:
  void SetOwner(HWND owner) { m_owner = owner; }
  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;

  // Set by ESC or a close of the main window while a popup pumps.
  static void RequestCancel() { s_bCancelRequested = true; }
  static bool s_bCancelRequested;

 private:
  HWND m_owner = nullptr;
};

// Asks the shell to open a document or an address with the verb "open".
void OpenWithShell(const char* file);

// The popup's remembered place: "X" and "Y" of "Settings" in the profile.
bool ReadProfilePosition(int& x, int& y);
void WriteProfilePosition(int x, int y);

}  // namespace valmero
