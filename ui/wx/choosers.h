// The wxWidgets choosers and message boxes behind the controller's requests,
// for any window that asks them (the main dialog, the report window).
#pragma once

#include <wx/window.h>

#include "ui/common/dialog_view.h"

namespace valmero {

bool ChooseFolderOver(wxWindow* owner, const char* title, bool mustExist, std::string& folder);
FileChoice ChooseFileOver(wxWindow* owner, const FileRequest& request);
void ShowMessageOver(wxWindow* owner, const std::string& text, const char* caption, MessageKind kind);

}  // namespace valmero
