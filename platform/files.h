// Small file-system services over POSIX.
#pragma once

#include <cstddef>
#include <string>

namespace valmero {

// True when the file can be opened for reading.
bool CanOpenForReading(const char* path);

// The path of an existing file, found without regard to the case of its name
// the way the original file systems match names: the path itself when it can
// be opened; otherwise the entry of its folder whose upper-cased name equals
// the upper-cased name asked for (the first in byte order of the names).
// Empty when there is neither.
std::string FindFileIgnoringCase(const char* path);

// Creates one directory level. False when it exists already or cannot be made.
bool MakeDirectory(const char* path);

// The folder part of a path: everything before its last '/'; empty without one.
std::string FolderOf(const char* path);

}  // namespace valmero
