// The About box: icon, one line about the program, OK.
#pragma once

#include <wx/dialog.h>

#include "ui/common/version_text.h"

namespace valmero {

class CAboutDlg : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};

}  // namespace valmero
