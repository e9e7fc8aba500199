// The maker's web site, which the desktop programs' first button opens.
#pragma once

namespace valmero {

constexpr const char* SITE_ADDRESS = "https://valmero.example.org";
constexpr const char* SITE_HOST = "valmero.example.org";

}  // namespace valmero
