// valmero: the desktop program.
#include "ui/wx/index_app.h"

wxIMPLEMENT_APP(valmero::CIndexApp);
