// The "KVX" sub-folder rule: a target folder named KVX beside or inside the source.
#pragma once

#include <string>

namespace valmero {

// With S the path separator: a download source (a folder) gives the folder
// followed by "SKVX". A disc source (a songlist file) gives, when the text
// holds an S and a '.', the part before its last S followed by "SKVX";
// otherwise "SKVX" alone. A result that would not fit a 259-character path is
// refused: the result is then empty.
std::string SubfolderTarget(const char* source, bool discSource);

}  // namespace valmero
