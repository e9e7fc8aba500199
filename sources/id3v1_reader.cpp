#include "sources/id3v1_reader.h"

namespace valmero {

// Not built yet: no file carries a tag.
int ReadId3v1Tag(const char*, TagScratch&) { return 1; }

}  // namespace valmero
