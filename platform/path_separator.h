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

#include <string>

namespace valmero {

constexpr char PATH_SEPARATOR = VALMERO_SEP[0];

// A path as a person types it, with the native separator: Windows takes '/'
// wherever it takes '\\', and so do the rules that look for the last
// separator of a path. Unchanged where '/' is the separator.
inline std::string WithNativeSeparators(std::string path) {
  if (PATH_SEPARATOR != '/') {
    for (char& c : path) {
      if (c == '/') c = PATH_SEPARATOR;
    }
  }
  return path;
}

}  // namespace valmero
