// Where Help finds help.htm.
#pragma once

#include <string>

namespace valmero {

// The first help.htm that exists: in the current directory (where a user
// who keeps the program with the songs expects it), beside the program (the
// build tree), then in the installed data folder (<prefix>/share/valmero,
// relative to the program's bin folder). Empty when there is none.
std::string FindHelpFile(const std::string& currentDir, const std::string& programDir);

}  // namespace valmero
