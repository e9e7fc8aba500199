#include "ui/wx/art.h"

#include <cstring>

#include <wx/image.h>
#include <wx/mstream.h>

namespace valmero {

wxBitmap LoadArtBitmap(const char* name) {
  for (const ArtEntry* entry = ArtTable(); entry->name != nullptr; ++entry) {
    if (std::strcmp(entry->name, name) != 0) continue;
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(entry->bytes, entry->size);
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    return image.IsOk() ? wxBitmap(image) : wxBitmap();
  }
  return wxBitmap();
}

wxIconBundle ProgramIcons() {
  wxIconBundle icons;
  for (const char* name : {"valmero-16", "valmero-32", "valmero-48"}) {
    wxBitmap bitmap = LoadArtBitmap(name);
    if (!bitmap.IsOk()) continue;
    wxIcon icon;
    icon.CopyFromBitmap(bitmap);
    icons.AddIcon(icon);
  }
  return icons;
}

}  // namespace valmero
