// The system's file chooser, for a file to open or a file to save.
#pragma once

#include <windows.h>

#include <string>

namespace valmero {

struct FileChoice {
  const char* title = nullptr;      // nullptr: the chooser's own
  const char* filter = nullptr;     // pairs of "name\0pattern\0"
  const char* name = "";            // the name first offered
  const char* extension = nullptr;  // added to a name typed without one
  bool save = false;                // a replaced file is asked about first
};

// The chosen path; empty when the user cancels. A file to open must exist.
std::string ChooseFile(HWND owner, const FileChoice& choice);

}  // namespace valmero
