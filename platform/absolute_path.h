// Making a path given on a command line absolute.
#pragma once

#include <string>

namespace valmero {

// `path` made absolute against the current directory, "." parts and doubled
// separators dropped; ".." parts stay for the file system to follow, since a
// symbolic link before them decides where they lead. Empty stays empty.
std::string AbsolutePath(const std::string& path);

}  // namespace valmero
