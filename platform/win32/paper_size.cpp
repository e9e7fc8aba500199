#include "platform/paper_size.h"

#include <windows.h>

#include <cstring>

namespace valmero {

bool LocalePrintsOnLetter() {
  char size[8] = {};
  // 1 is Letter, 9 is A4.
  return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IPAPERSIZE, size, sizeof size) > 0 && std::strcmp(size, "1") == 0;
}

}  // namespace valmero
