// The "KVX" sub-folder rule: a target folder named KVX beside or inside the source.
#pragma once

#include <string>

namespace valmero {

// Download source (a folder): the folder followed by "/KVX". Disc source (a
// songlist file): when the text holds a '/' and a '.', the part before its
// last '/' followed by "/KVX"; otherwise "/KVX" alone. A result that would
// not fit a 259-character path is refused: the result is then empty.
std::string SubfolderTarget(const char* source, bool discSource);

}  // namespace valmero
