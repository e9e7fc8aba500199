// Copying one file into place the way a careful copier does: the data goes to
// a temporary name beside the destination and is renamed over it only when
// complete, so a failed copy never leaves a partial file under the final name
// nor destroys a file that was there before.
#pragma once

namespace valmero {

// How the bytes of the last successful copy travelled (System: the platform's
// own copy call, where it has one); for tests and
// measurements only.
enum class CopyMethod { None, Reflink, CopyFileRange, SendFile, ReadWrite, System };

// Copies the regular file at `source` to `destination`, replacing a file of
// that name. 0 on success; -1 (errno set, nothing left behind) on failure.
// The data is not synced to the disk: a song collection of many thousand
// files would pay one disk flush per file for a copy the user can repeat.
int CopyFileReplacing(const char* source, const char* destination);

CopyMethod LastCopyMethod();

// Tests force the slower paths, which most file systems never reach.
void LimitCopyMethods(CopyMethod fastest);

}  // namespace valmero
