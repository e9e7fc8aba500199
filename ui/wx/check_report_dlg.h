// The window that shows what a run would do with the current paths and
// boxes: the check's report as text, totals first and the findings grouped
// by reason, with "Save as..." to keep it.
#pragma once

#include <wx/dialog.h>

#include <string>


class wxTextCtrl;

namespace valmero {

constexpr const char* CHECK_SOURCE_ITEM = "&Check source\xE2\x80\xA6\tF5";  // UTF-8 ellipsis
// The item of the main window's context menu.
constexpr int ID_CHECK_SOURCE = 17;
constexpr int ID_SAVE_REPORT = 18;

class CCheckReportDlg : public wxDialog {
 public:
  CCheckReportDlg(wxWindow* parent, const std::string& report);

  const std::string& ReportText() const { return m_report; }
  // Writes the report to `path` (aside, then renamed into place). False when it cannot.
  bool SaveReport(const std::string& path) const;

 private:
  void OnSaveAs();

  std::string m_report;
  wxTextCtrl* m_pText = nullptr;
};

}  // namespace valmero
