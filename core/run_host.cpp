#include "core/run_host.h"

#include <cstdarg>
#include <cstdio>

namespace valmero {

void SetProgressText(IProgressPopup& popup, const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (written < 0) text[0] = '\0';
  popup.SetText(text);
}

int ProgressPercent(int position, int lower, int upper) {
  if (upper <= lower) return 0;
  double percent = (static_cast<double>(position) - lower) * 100.0 /
                       (static_cast<double>(upper) - lower) + 0.5;
  return static_cast<int>(percent);
}

}  // namespace valmero
