// The code page this system's programs write their texts in.
#pragma once

#include <string>

namespace valmero {

// "CP" and the number of the system's ANSI code page on Windows, where tags
// and songlists are written in it; empty on POSIX systems, which name none.
std::string SystemCodePage();

}  // namespace valmero
