#include "platform/paper_size.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdint>

namespace valmero {

bool LocalePrintsOnLetter() {
#ifdef _NL_PAPER_WIDTH
  // A locale of its own: the program's locale is left as it is.
  locale_t paper = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(0));
  if (paper == static_cast<locale_t>(0)) return false;
  // glibc gives the width in millimetres in place of a string.
  const auto width = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, paper)));
  freelocale(paper);
  return width == 216;
#else
  return false;
#endif
}

}  // namespace valmero
