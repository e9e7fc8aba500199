// The About box: icon, one line about the program, OK.
#pragma once

#include <wx/dialog.h>

namespace valmero {

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);

  static constexpr const char* ABOUT_TEXT = "VALMERO version " VALMERO_VERSION " (build 214)";
};

}  // namespace valmero
