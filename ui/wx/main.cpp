// valmero: the desktop program.
#include "ui/index_app.h"

wxIMPLEMENT_APP(valmero::CIndexApp);
