// Copying one file into place the way a careful copier does: the data goes to
// a temporary name beside the destination and is renamed over it only when
// complete, so a failed copy never leaves a partial file under the final name
// nor destroys a file that was there before.
#pragma once

#include <string>

namespace valmero {

// How the bytes of the last successful copy travelled (System: the
// platform's own copy call, where it has one); for tests and measurements.
enum class CopyMethod { None, Reflink, CopyFileRange, SendFile, ReadWrite, System };

// Copies the regular file at `source` to `destination`, replacing a file of
// that name. True when copied; false (errno set, nothing left behind) when not.
// The data is not synced to the disk: a song collection of many thousand
// files would pay one disk flush per file for a copy the user can repeat.
// The copy keeps the source's permission bits less the umask and its date.
bool CopyFileReplacing(const char* source, const char* destination);

// The first half of CopyFileReplacing, for copies that must all be complete
// before any of them replaces a file: copies `source` to a new temporary file
// beside `destination` (its path in temporaryPath) and leaves it there. True
// when copied; false (errno set, nothing left behind) when not. The caller renames
// the temporary file into place or removes it.
bool CopyFileAside(const char* source, const char* destination, std::string& temporaryPath);

CopyMethod LastCopyMethod();

// Tests force the slower paths, which most file systems never reach.
void LimitCopyMethods(CopyMethod fastest);

}  // namespace valmero
