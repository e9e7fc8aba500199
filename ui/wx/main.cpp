// valmero: the desktop program.
#include <cstdio>

#include "ui/common/version_text.h"
#include "ui/wx/index_app.h"

wxIMPLEMENT_APP_NO_MAIN(valmero::CIndexApp);

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that it needs no display.
  if (valmero::AsksForVersion(argc, argv)) {
    std::fputs(valmero::VERSION_LINE, stdout);
    return 0;
  }
  return wxEntry(argc, argv);
}
