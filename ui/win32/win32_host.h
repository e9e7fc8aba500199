// The Windows desktop program's host for a run: the progress popup as a
// modeless dialog with a progress bar, the message boxes, the shell, and the
// cancel that ESC and closing the window give a run.
#pragma once

#include <windows.h>

#include "ui/common/dialog_view.h"

namespace valmero {

class CWin32Host : public IDesktopRunHost {
 public:
  void SetOwner(HWND owner) { m_owner = owner; }
  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;

  HWND Owner() const { return m_owner; }

  // ESC while a popup pumps cancels it when it allows ESC; a close of the
  // main window cancels the next pump whatever it allows.
  void CancelOnEscape() override { m_bEscapePressed = true; }
  void RequestRunCancel() override { m_bCancelRequested = true; }
  void ClearRunCancel() override { m_bCancelRequested = m_bEscapePressed = false; }
  // True when the pump that asks is to cancel; an ESC is used up by asking.
  bool TakeCancel(bool allowEscape) {
    const bool escape = m_bEscapePressed;
    m_bEscapePressed = false;
    return m_bCancelRequested || (allowEscape && escape);
  }

 private:
  HWND m_owner = nullptr;
  bool m_bCancelRequested = false;
  bool m_bEscapePressed = false;
};

// Asks the shell to open a document or an address with the verb "open".
void OpenWithShell(const char* file);

// The popup's remembered place: "X" and "Y" of "Settings" in the profile.
bool ReadProfilePosition(int& x, int& y);
void WriteProfilePosition(int x, int y);

}  // namespace valmero
