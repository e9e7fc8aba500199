// The window that shows what a run would do with the dialog's paths and
// boxes: the check's report as text, with "Save as..." to keep it.
#pragma once

#include <windows.h>

#include "ui/common/dialog_view.h"

namespace valmero {

// Modal over `owner` until Close.
void ShowCheckReport(HWND owner, const CheckReportTexts& report);

}  // namespace valmero
