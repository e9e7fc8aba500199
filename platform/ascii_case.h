// Names are compared without regard to case by upper-casing the ASCII letters
// a to z only: every other byte (accents, bytes of other code pages) stays as
// it is, so the result never depends on a locale.
#pragma once

#include <string>

namespace valmero {

// Upper-cases the ASCII letters a to z in place; every other byte stays.
void UpperCaseAscii(char* text);

// The same as a copy.
std::string UpperAscii(std::string text);

}  // namespace valmero
