#include "ui/wx/index_app.h"

#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/memconf.h>
#include <wx/stdpaths.h>

#include "log/activity_log.h"
#include "platform/console.h"
#include "ui/wx/gui_host.h"
#include "ui/wx/main_dlg.h"

namespace valmero {

std::string UseApplicationConfig() {
  wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
  // wxFileConfig writes its file but does not make the folder for it.
  wxFileName folder = wxFileName::DirName(wxStandardPaths::Get().GetUserConfigDir());
  bool usable;
  {
    // The toolkit would show its own box about a folder it cannot make.
    wxLogNull quiet;
    usable = (folder.DirExists() || folder.Mkdir(wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL)) && folder.IsDirWritable();
  }
  if (!usable) {
    delete wxConfigBase::Set(new wxMemoryConfig());
    return PathFromWx(folder.GetPath());
  }
  delete wxConfigBase::Set(new wxFileConfig("VALMERO", wxEmptyString, wxEmptyString, wxEmptyString,
                                            wxCONFIG_USE_LOCAL_FILE));
  return {};
}

CIndexApp::CIndexApp() { OpenClosedStandardStreams(); }

bool CIndexApp::OnInit() {
  SetAppName("VALMERO");
  SetAppDisplayName("VALMERO");
  m_settingsNotKeptIn = UseApplicationConfig();
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  return true;
}

int CIndexApp::OnRun() {
  auto* dialog = new CMainDlg();
  // Said once the dialog has started the log.
  if (!m_settingsNotKeptIn.empty()) LogMessage(SETTINGS_NOT_KEPT_FORMAT, m_settingsNotKeptIn.c_str());
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
