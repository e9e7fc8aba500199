// The desktop program's host for a run: progress popups owned by the main
// window, the run's message boxes, documents opened by the desktop.
#pragma once

#include <wx/window.h>

#include "core/run_host.h"

namespace valmero {

class CGuiHost : public IRunHost {
 public:
  void SetOwner(wxWindow* owner) { m_pOwner = owner; }

  std::unique_ptr<IProgressPopup> CreateProgressPopup(const char* title, bool smooth) override;
  void ShowFinished(const char* text) override;
  bool AskError(const char* text, const char* caption) override;
  void ShowCancelled(const char* text) override;
  void OpenDocument(const char* path) override;

 private:
  wxWindow* m_pOwner = nullptr;
};

// Paths are bytes in the core; the desktop shows them in the file-name
// encoding of the platform.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);

}  // namespace valmero
