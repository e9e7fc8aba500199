// A new file beside a final name, created so that no other file is ever
// overwritten, for data that is renamed into place only when complete.
#pragma once

#include <windows.h>

#include <string>

namespace valmero {

// Creates a new file in the folder of `finalPath` for writing; its path in
// `temporaryPath`.
// INVALID_HANDLE_VALUE when no such file can be created.
HANDLE CreateTemporaryBeside(const char* finalPath, std::string& temporaryPath);

// Renames `from` over `to`, replacing a file of that name, with the data on
// the disk before the call returns.
bool ReplaceFile(const std::string& from, const char* to);

}  // namespace valmero
