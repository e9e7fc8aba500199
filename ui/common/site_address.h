// The web site the desktop programs' first button shows and opens, named at
// build time by the CMake cache variable VALMERO_SITE_ADDRESS. Without one
// the button opens the help page, and its caption says so.
#pragma once

#ifndef VALMERO_SITE_ADDRESS
#define VALMERO_SITE_ADDRESS ""
#define VALMERO_SITE_HOST ""
#endif

namespace valmero {

constexpr const char* SITE_ADDRESS = VALMERO_SITE_ADDRESS;
constexpr const char* SITE_HOST = VALMERO_SITE_HOST;
constexpr bool HAS_SITE = SITE_ADDRESS[0] != '\0';
constexpr const char* SITE_BUTTON_LABEL = HAS_SITE ? SITE_HOST : "VALMERO help page";

}  // namespace valmero
