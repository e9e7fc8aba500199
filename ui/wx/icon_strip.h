// The title-bar image: a strip of 16-pixel frames, one shown at a time as
// the main window's small icon.
#pragma once

#include <memory>

#include <wx/colour.h>
#include <wx/iconbndl.h>
#include <wx/imaglist.h>
#include <wx/toplevel.h>

namespace valmero {

class CIconStrip {
 public:
  // False for a frame count of 0 or less (nothing changes).
  bool Create(const wxBitmap& strip, int frameCount, const wxColour& mask);
  // Shows the next frame as the small icon of `window`, beside the larger
  // `icons`; false without a strip.
  bool ShowNextIcon(wxTopLevelWindow* window, const wxIconBundle& icons);

 private:
  std::unique_ptr<wxImageList> m_pImages;
  int m_nFrames = -99;
  int m_nCurrent = -1;
};

}  // namespace valmero
