// What the activity log needs of the platform besides its own-file rules:
// the start folder, the last error, a second descriptor.
#pragma once

#include <cstddef>

namespace valmero {

// The current folder into `folder` (`size` bytes); empty when it cannot be
// told or does not fit.
void CurrentFolder(char* folder, std::size_t size);

// The code of the last failed system call (errno, or the last Win32 error),
// and what the system calls it ("errno", "GetLastError returned").
unsigned LastErrorCode();
const char* LastErrorSource();

// A second descriptor of the same open file (and so of its lock); -1 on failure.
int DuplicateDescriptor(int fd);

}  // namespace valmero
