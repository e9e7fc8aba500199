#include "ui/wx/icon_strip.h"

namespace valmero {

bool CIconStrip::Create(const wxBitmap& strip, int frameCount, const wxColour& mask) {
  if (frameCount <= 0 || !strip.IsOk()) return false;
  m_nFrames = frameCount;
  m_pImages = std::make_unique<wxImageList>(16, strip.GetHeight(), true, 1);
  m_pImages->Add(strip, mask);
  return true;
}

bool CIconStrip::ShowNextIcon(wxTopLevelWindow* window, const wxIconBundle& icons) {
  if (!m_pImages || window == nullptr || m_pImages->GetImageCount() == 0) return false;
  m_nCurrent = (m_nCurrent + 1) % std::min(m_nFrames, m_pImages->GetImageCount());
  wxIconBundle bundle;
  bundle.AddIcon(m_pImages->GetIcon(m_nCurrent));
  for (size_t i = 0; i < icons.GetIconCount(); ++i) {
    wxIcon icon = icons.GetIconByIndex(i);
    if (icon.GetWidth() != 16) bundle.AddIcon(icon);
  }
  window->SetIcons(bundle);
  return true;
}

}  // namespace valmero
