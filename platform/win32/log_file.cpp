#include "platform/log_file.h"

#include <io.h>
#include <windows.h>

#include <cstring>

namespace valmero {

void CurrentFolder(char* folder, std::size_t size) {
  DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(size), folder);
  if (length == 0 || length >= size) std::memset(folder, 0, size);
}

unsigned LastErrorCode() { return static_cast<unsigned>(::GetLastError()); }

const char* LastErrorSource() { return "GetLastError returned"; }

int DuplicateDescriptor(int fd) { return ::_dup(fd); }

}  // namespace valmero
