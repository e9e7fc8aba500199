#include "ui/wx/index_app.h"

#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

#include "platform/console.h"
#include "ui/wx/main_dlg.h"

namespace valmero {

void UseApplicationConfig() {
  wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
  // wxFileConfig writes its file but does not make the folder for it.
  wxFileName folder = wxFileName::DirName(wxStandardPaths::Get().GetUserConfigDir());
  if (!folder.DirExists()) folder.Mkdir(wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  delete wxConfigBase::Set(new wxFileConfig("VALMERO", wxEmptyString, wxEmptyString, wxEmptyString,
                                            wxCONFIG_USE_LOCAL_FILE));
}

CIndexApp::CIndexApp() { OpenClosedStandardStreams(); }

bool CIndexApp::OnInit() {
  SetAppName("VALMERO");
  SetAppDisplayName("VALMERO");
  UseApplicationConfig();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  return true;
}

int CIndexApp::OnRun() {
  auto* dialog = new CMainDlg();
  SetTopWindow(dialog);
  dialog->RunDialog();
  // Destroy logs the end of the session and releases all data.
  dialog->Destroy();
  return 0;
}

int CIndexApp::OnExit() {
  wxLog::FlushActive();
  delete wxLog::SetActiveTarget(new wxLogStderr);
  delete wxConfigBase::Set(nullptr);
  // The framework's own clean-up would otherwise make a window log target
  // for late messages when no window can be made.
  wxLog::DontCreateOnDemand();
  return wxApp::OnExit();
}

}  // namespace valmero
