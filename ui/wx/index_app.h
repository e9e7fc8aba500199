// The application: runs the main dialog modally for the life of the program
// and ends when it ends.
#pragma once

#include <wx/app.h>

#include <string>

namespace valmero {

class CIndexApp : public wxApp {
 public:
  // Made before the toolkit opens its display: a standard stream the
  // program was started without is opened on the null device first.
  CIndexApp();
  // Names the application VALMERO (its configuration lives in the XDG
  // folder under that name). The program reads no command line.
  bool OnInit() override;
  // The dialog is the whole program: no main loop of our own after it.
  int OnRun() override;
  // Messages of the clean-up after the last window (the configuration
  // written back) go to standard error: no window can show them any more.
  int OnExit() override;

 private:
  // The folder where the settings could not be kept, or empty.
  std::string m_settingsNotKeptIn;
};

// The configuration the popup keeps its place in: $XDG_CONFIG_HOME/VALMERO.conf
// (~/.config/VALMERO.conf when it is not set), its folder made when missing.
// Where that folder cannot be made or written (a home folder the user may
// not write), the settings live for the session only, no toolkit box says
// so, and the result is that folder; otherwise it is empty.
std::string UseApplicationConfig();

constexpr const char* SETTINGS_NOT_KEPT_FORMAT = "settings cannot be kept : %s";

}  // namespace valmero
