#include "ui/wx/about_dlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "ui/wx/art.h"
#include "ui/wx/dialog_layout.h"

namespace valmero {

CAboutDlg::CAboutDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "About VALMERO", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  wxBitmap icon = LoadArtBitmap("valmero-32");
  auto* picture = new wxStaticBitmap(this, wxID_ANY, icon);
  auto* text = new wxStaticText(this, wxID_ANY, ABOUT_TEXT);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  PlaceInDialogUnits(this, picture, 11, 17, 20, 20);
  PlaceInDialogUnits(this, text, 40, 25, 119, 8);
  PlaceInDialogUnits(this, ok, 178, 7, 50, 14);
  // A long line must not run under the OK button: move the button right of it.
  wxRect textRect = text->GetRect();
  wxRect okRect = ok->GetRect();
  if (okRect.GetLeft() < textRect.GetRight() + 10 && okRect.GetBottom() >= textRect.GetTop()) {
    ok->Move(textRect.GetRight() + 10, okRect.GetTop());
  }
  ok->SetDefault();
  SetEscapeId(wxID_OK);
  SetClientSize(ClientSizeHolding(this, wxSize(235, 55), 7));
  CentreOnParent();
}

}  // namespace valmero
