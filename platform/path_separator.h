// The separator of the folders in a path, the one thing about paths the
// formats and rules of a run need to know about the platform. Every path
// format is spelled with VALMERO_SEP ("%s" VALMERO_SEP "ENGLISH.KVX"), every
// search for the last folder with PATH_SEPARATOR.
#pragma once

#ifdef _WIN32
#define VALMERO_SEP "\\"
#else
#define VALMERO_SEP "/"
#endif

namespace valmero {

constexpr char PATH_SEPARATOR = VALMERO_SEP[0];

}  // namespace valmero
