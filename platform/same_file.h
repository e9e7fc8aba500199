// Whether a file written under one path would take the place of another
// file: a run's outputs must never replace the file it reads its songs from.
#pragma once

namespace valmero {

// True when a file renamed into place under `path` would take the place of
// the existing file `existing`: both paths name one file (through links as
// well), or they lie in one folder under names that differ only in letter
// case on a file system that ignores case. False when `existing` is missing.
bool WouldReplaceFile(const char* path, const char* existing);

}  // namespace valmero
