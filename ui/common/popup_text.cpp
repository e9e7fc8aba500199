#include "ui/common/popup_text.h"

#include <cstdio>

#include "core/run_host.h"

namespace valmero {

bool CPercentCaption::Update(int position, int lower, int upper) {
  int percent = ProgressPercent(position, lower, upper);
  if (percent == m_nLastPercent) return false;
  m_nLastPercent = percent;
  char caption[600];
  std::snprintf(caption, sizeof caption, "%s [%d%%]", m_title.c_str(), percent);
  m_text = caption;
  return true;
}

std::string ExpandTabs(const char* text) {
  constexpr std::size_t TAB_WIDTH = 8;
  std::string result;
  std::size_t column = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\t') {
      std::size_t blanks = TAB_WIDTH - column % TAB_WIDTH;
      result.append(blanks, ' ');
      column += blanks;
    } else {
      result.push_back(*c);
      column = *c == '\n' ? 0 : column + 1;
    }
  }
  return result;
}

}  // namespace valmero
