// Temporary files lie beside their final names with a suffix, so a final
// path that fits the 259 characters of a Windows path can make a temporary
// one that does not: the wide functions with the "\\?\" form of a path take
// them all. Texts stay in the system code page everywhere else.
#pragma once

#include <windows.h>

#include <string>

namespace valmero {

// The "\\?\" form of the absolute path of `path` (bytes in the system code page).
std::wstring LongPath(const std::string& path);

// MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH.
bool MoveReplacing(const std::string& from, const std::string& to);

void DeleteLongPath(const std::string& path);

// errno for the last Win32 error of a file operation.
int ErrnoOfLastError();

}  // namespace valmero
