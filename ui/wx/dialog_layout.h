// Placing controls at the positions of a dialog template given in dialog
// units. GTK's fonts and paddings are larger than the template's, so a
// control is never made smaller than its best size, and it keeps its place
// by growing around the middle of its row.
#pragma once

#include <wx/window.h>

namespace valmero {

// Places `control` at the dialog-unit rectangle (x, y, width, height) of `dialog`.
void PlaceInDialogUnits(wxWindow* dialog, wxWindow* control, int x, int y, int width, int height);

// The client size that holds the template's size and every shown control,
// with a margin of dialog units.
wxSize ClientSizeHolding(wxWindow* dialog, const wxSize& templateUnits, int marginUnits);

}  // namespace valmero
