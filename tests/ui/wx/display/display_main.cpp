// Tests that need a display: the real windows under an X server (xvfb-run in
// ctest). wxWidgets is started once for all of them, with its configuration
// in a file of a temporary folder.
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/image.h>
#include <wx/init.h>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "no DISPLAY: run under xvfb-run -a\n");
    return 1;
  }
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) return 1;
  wxTheApp->SetAppName("VALMERO");
  wxImage::AddHandler(new wxPNGHandler);
  int result;
  {
    valmero::testing::CTempDir configFolder;
    wxConfigBase::Set(new wxFileConfig("VALMERO", wxEmptyString, configFolder / "VALMERO.conf", wxEmptyString,
                                       wxCONFIG_USE_LOCAL_FILE));
    result = RUN_ALL_TESTS();
    delete wxConfigBase::Set(nullptr);
  }
  wxEntryCleanup();
  return result;
}
