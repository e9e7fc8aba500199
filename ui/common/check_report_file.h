// Keeping a check's report as a file, from either desktop program's report
// window.
#pragma once

#include <string>

#include "ui/common/dialog_view.h"

namespace valmero {

// Writes a check's report to `path`, aside and then renamed into place.
// False when it cannot.
bool SaveCheckReport(const std::string& path, const std::string& report);

// "Save as..." of a window with a check's report: asks for the file and says
// so when it cannot be written.
void SaveCheckReportAs(IDialogBoxes& boxes, const std::string& report);

}  // namespace valmero
