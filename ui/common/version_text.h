// What the desktop programs say of their version, in the About box and with
// --version. The version itself is set once, in the top CMakeLists.txt.
#pragma once

#include <cstring>

namespace valmero {

constexpr const char* ABOUT_TEXT = "VALMERO version " VALMERO_VERSION_TEXT;
// As valmero-cli --version says it, with the desktop program's name.
constexpr const char* VERSION_LINE = "valmero " VALMERO_VERSION_TEXT "\n";

// "valmero --version": the version is printed and no window opens.
inline bool AsksForVersion(int argc, const char* const* argv) {
  return argc == 2 && std::strcmp(argv[1], "--version") == 0;
}

}  // namespace valmero
