#include "ui/wx/check_report_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "ui/common/control_ids.h"
#include "ui/common/check_report_file.h"
#include "ui/wx/choosers.h"

namespace valmero {

namespace {

// The report holds paths and texts in the collection's own bytes; what is
// not UTF-8 is shown byte for byte.
wxString ReportToWx(const std::string& text) {
  wxString shown = wxString::FromUTF8(text.c_str(), text.size());
  return shown.empty() && !text.empty() ? wxString::From8BitData(text.c_str(), text.size()) : shown;
}

}  // namespace

CCheckReportDlg::CCheckReportDlg(wxWindow* parent, const CheckReportTexts& report)
    : wxDialog(parent, wxID_ANY, "Check source", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_report(report) {
  // Long lines wrap: a finding is read whole, without scrolling sideways.
  m_pText = new wxTextCtrl(this, wxID_ANY, ReportToWx(report.shown), wxDefaultPosition, wxDefaultSize,
                           wxTE_MULTILINE | wxTE_READONLY | wxTE_WORDWRAP);
  m_pText->SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
  m_pText->SetMinSize(FromDIP(wxSize(760, 420)));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(new wxButton(this, ID_SAVE_REPORT, wxString::FromUTF8("Save as\xE2\x80\xA6")), 0, wxRIGHT, FromDIP(8));
  buttons->Add(new wxButton(this, wxID_CLOSE, "Close"));
  auto* layout = new wxBoxSizer(wxVERTICAL);
  layout->Add(m_pText, 1, wxEXPAND | wxALL, FromDIP(8));
  layout->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(8));
  SetSizerAndFit(layout);
  SetEscapeId(wxID_CLOSE);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { SaveCheckReportAs(*this, m_report.whole); }, ID_SAVE_REPORT);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_CLOSE); }, wxID_CLOSE);
  CentreOnParent();
  // The report opens at its top, where its totals are.
  m_pText->SetInsertionPoint(0);
  m_pText->ShowPosition(0);
}

bool CCheckReportDlg::SaveReport(const std::string& path) const { return SaveCheckReport(path, m_report.whole); }

bool CCheckReportDlg::ChooseFolder(const char* title, bool mustExist, std::string& folder) {
  return ChooseFolderOver(this, title, mustExist, folder);
}

FileChoice CCheckReportDlg::ChooseFile(const FileRequest& request) { return ChooseFileOver(this, request); }

void CCheckReportDlg::ShowMessage(const std::string& text, const char* caption, MessageKind kind) {
  ShowMessageOver(this, text, caption, kind);
}

}  // namespace valmero
