#include "outputs/text_lists.h"

namespace valmero {

// Not built yet.
int WriteListFile(const char*, SongList&, bool) { return 0; }
int WriteConfigFile(const char*, SongList&, bool, bool) { return 0; }

}  // namespace valmero
