// The window that shows what a run would do with the current paths and
// boxes: the check's report as text, totals first and the findings grouped
// by reason, with "Save as..." to keep it.
#pragma once

#include <wx/dialog.h>

#include <string>

#include "ui/common/dialog_view.h"

class wxTextCtrl;

namespace valmero {

class CCheckReportDlg : public wxDialog, public IDialogBoxes {
 public:
  CCheckReportDlg(wxWindow* parent, const CheckReportTexts& report);

  const std::string& ReportText() const { return m_report.shown; }
  const wxTextCtrl* TextControl() const { return m_pText; }
  // Writes the whole report to `path` (aside, then renamed into place). False when it cannot.
  bool SaveReport(const std::string& path) const;

  bool ChooseFolder(const char* title, bool mustExist, std::string& folder) override;
  FileChoice ChooseFile(const FileRequest& request) override;
  void ShowMessage(const std::string& text, const char* caption, MessageKind kind) override;

 private:
  CheckReportTexts m_report;
  wxTextCtrl* m_pText = nullptr;
};

}  // namespace valmero
