// The wxWidgets program's host for a run: progress popups owned by the main
// window, the run's message boxes, documents opened by the desktop, and the
// cancel that ESC and closing the window give a run.
#pragma once

#include <wx/window.h>

#include "ui/common/dialog_view.h"
#include "ui/wx/progress_popup.h"

namespace valmero {

class CGuiHost : public IDesktopRunHost {
 public:
  void SetOwner(wxWindow* owner) { m_pOwner = owner; }

  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;
  void CancelOnEscape() override { m_cancel.NoticeEscape(); }
  void RequestRunCancel() override { m_cancel.RequestRunCancel(); }
  void ClearRunCancel() override { m_cancel.ClearRunCancel(); }

 private:
  wxWindow* m_pOwner = nullptr;
  CRunCancel m_cancel;
};

// Paths are bytes in the core; the desktop shows them in the file-name
// encoding of the platform.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);
// A text of the core for a window: UTF-8 where it is, else the bytes of a
// path in the file-name encoding.
wxString TextToWx(const std::string& text);

}  // namespace valmero
