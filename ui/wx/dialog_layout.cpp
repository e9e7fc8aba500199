#include "ui/wx/dialog_layout.h"

#include <algorithm>

namespace valmero {

void PlaceInDialogUnits(wxWindow* dialog, wxWindow* control, int x, int y, int width, int height) {
  wxPoint position = dialog->ConvertDialogToPixels(wxPoint(x, y));
  wxSize size = dialog->ConvertDialogToPixels(wxSize(width, height));
  wxSize best = control->GetBestSize();
  if (best.GetHeight() > size.GetHeight()) {
    position.y -= (best.GetHeight() - size.GetHeight()) / 2;
    size.SetHeight(best.GetHeight());
  }
  size.SetWidth(std::max(size.GetWidth(), best.GetWidth()));
  position.y = std::max(position.y, 0);
  control->SetSize(wxRect(position, size));
}

wxSize ClientSizeHolding(wxWindow* dialog, const wxSize& templateUnits, int marginUnits) {
  wxSize size = dialog->ConvertDialogToPixels(templateUnits);
  wxSize margin = dialog->ConvertDialogToPixels(wxSize(marginUnits, marginUnits));
  for (wxWindow* child : dialog->GetChildren()) {
    if (!child->IsShown() || child->IsTopLevel()) continue;
    wxRect rect = child->GetRect();
    size.SetWidth(std::max(size.GetWidth(), rect.GetRight() + 1 + margin.GetWidth()));
    size.SetHeight(std::max(size.GetHeight(), rect.GetBottom() + 1 + margin.GetHeight()));
  }
  return size;
}

}  // namespace valmero
