// The program's own pictures (icon, logo, title-bar image), embedded as PNG
// bytes at build time from ui/wx/art/.
#pragma once

#include <cstddef>

#include <wx/bitmap.h>
#include <wx/iconbndl.h>

namespace valmero {

struct ArtEntry {
  const char* name;
  const unsigned char* bytes;
  std::size_t size;
};

// The embedded PNGs, ended by an entry with a null name.
const ArtEntry* ArtTable();

// The picture of that name ("logo", "title", "valmero-16" ...); an invalid
// bitmap when there is none or it cannot be decoded.
wxBitmap LoadArtBitmap(const char* name);

// The program icon in every embedded size.
wxIconBundle ProgramIcons();

constexpr const char* ART_LOGO = "logo";          // 60 x 16, painted at (30, 20)
constexpr const char* ART_TITLE_IMAGE = "title";  // 16 x 16, white is transparent

}  // namespace valmero
