// What the progress popup writes: its caption with the whole percentage done,
// and its text with tabs laid out, kept apart from the window so that the
// rules can be checked without a display.
#pragma once

#include <string>

namespace valmero {

// The caption "%s [%d%%]", rewritten only when the whole percentage changes
// (rewriting a caption on every step makes window managers flicker).
class CPercentCaption {
 public:
  explicit CPercentCaption(std::string title) : m_title(std::move(title)), m_text(m_title) {}

  // True when the position gives a new percentage; Text() is then the new caption.
  bool Update(int position, int lower, int upper);
  const std::string& Text() const { return m_text; }
  int LastPercent() const { return m_nLastPercent; }

 private:
  std::string m_title;
  std::string m_text;
  int m_nLastPercent = 0;
};

// Tabs become blanks up to the next multiple of 8 columns, counted from the
// start of each line: a label control shows them inconsistently otherwise.
std::string ExpandTabs(const char* text);

}  // namespace valmero
