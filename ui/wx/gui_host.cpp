#include "ui/wx/gui_host.h"

#include <wx/msgdlg.h>
#include <wx/utils.h>

namespace valmero {

namespace {
constexpr const char* APP_TITLE = "VALMERO";
}

wxString PathToWx(const std::string& path) { return wxString(path.c_str(), *wxConvFileName); }

std::string PathFromWx(const wxString& path) {
  wxCharBuffer bytes = path.fn_str();
  return bytes.data() != nullptr ? std::string(bytes.data()) : std::string();
}

wxString TextToWx(const std::string& text) {
  wxString shown = wxString::FromUTF8(text.c_str(), text.size());
  return shown.empty() && !text.empty() ? PathToWx(text) : shown;
}

std::unique_ptr<IProgressPopup> CGuiHost::CreateProgressPopup(const char* title, bool smooth) {
  return std::make_unique<CProgressPopup>(m_cancel, m_pOwner, title, smooth);
}

void CGuiHost::ShowFinished(const char* text) {
  wxMessageBox(wxString::FromUTF8(text), APP_TITLE, wxOK | wxICON_INFORMATION, m_pOwner);
}

bool CGuiHost::AskError(const char* text, const char* caption) {
  wxMessageDialog box(m_pOwner, wxString::FromUTF8(text), wxString::FromUTF8(caption),
                      wxOK | wxCANCEL | wxICON_ERROR);
  return box.ShowModal() == wxID_OK;
}

void CGuiHost::ShowCancelled(const char* text) {
  wxMessageBox(wxString::FromUTF8(text), APP_TITLE, wxOK | wxICON_INFORMATION, m_pOwner);
}

void CGuiHost::OpenDocument(const char* path) { wxLaunchDefaultApplication(PathToWx(path)); }

}  // namespace valmero
