// Where the running program lies, for what it ships beside itself (help.htm).
#pragma once

#include <string>

namespace valmero {

// The folder of the running program's file; empty when it cannot be told.
std::string ProgramFolder();

}  // namespace valmero
