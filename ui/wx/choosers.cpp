#include "ui/wx/choosers.h"

#include <algorithm>

#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include "ui/wx/gui_host.h"

namespace valmero {

bool ChooseFolderOver(wxWindow* owner, const char* title, bool mustExist, std::string& folder) {
  wxDirDialog chooser(owner, title, wxEmptyString, wxDD_DEFAULT_STYLE | (mustExist ? wxDD_DIR_MUST_EXIST : 0));
  if (chooser.ShowModal() != wxID_OK) return false;
  folder = PathFromWx(chooser.GetPath());
  return true;
}

FileChoice ChooseFileOver(wxWindow* owner, const FileRequest& request) {
  wxString kinds;
  for (const FileKind& kind : request.kinds) {
    if (!kinds.empty()) kinds += "|";
    kinds += wxString::FromUTF8(kind.name) + "|" + wxString::FromUTF8(kind.pattern);
  }
  wxFileDialog chooser(owner, wxString::FromUTF8(request.title), wxEmptyString, PathToWx(request.name), kinds,
                       request.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN);
  FileChoice choice;
  if (chooser.ShowModal() != wxID_OK) return choice;
  choice.path = PathFromWx(chooser.GetPath());
  choice.kind = static_cast<std::size_t>(std::max(chooser.GetFilterIndex(), 0));
  return choice;
}

void ShowMessageOver(wxWindow* owner, const std::string& text, const char* caption, MessageKind kind) {
  wxMessageBox(TextToWx(text), caption, wxOK | (kind == MessageKind::Error ? wxICON_ERROR : wxICON_INFORMATION),
               owner);
}

}  // namespace valmero
