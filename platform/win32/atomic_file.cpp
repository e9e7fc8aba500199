#include "platform/atomic_file.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>

#include "platform/files.h"
#include "platform/win32/temporary_name.h"

namespace valmero {

CAtomicFile::~CAtomicFile() { Abandon(); }

bool CAtomicFile::Create(const char* finalPath) {
  Abandon();
  m_finalPath = finalPath;
  HANDLE file = CreateTemporaryBeside(finalPath, m_temporaryPath);
  if (file == INVALID_HANDLE_VALUE) {
    m_temporaryPath.clear();
    return false;
  }
  // Binary: the bytes go to the file as they are, CR LF included.
  int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(file);
    ::DeleteFileA(m_temporaryPath.c_str());
    m_temporaryPath.clear();
    return false;
  }
  m_fd = fd;
  m_failed = false;
  m_buffered = 0;
  return true;
}

bool CAtomicFile::Flush() {
  if (!WriteAll(m_fd, m_buffer, m_buffered)) m_failed = true;
  m_buffered = 0;
  return !m_failed;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
  if (m_fd < 0 || m_failed) return false;
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    std::size_t room = sizeof m_buffer - m_buffered;
    std::size_t chunk = size < room ? size : room;
    std::memcpy(m_buffer + m_buffered, bytes, chunk);
    m_buffered += chunk;
    bytes += chunk;
    size -= chunk;
    if (m_buffered == sizeof m_buffer && !Flush()) return false;
  }
  return true;
}

bool CAtomicFile::Write(const char* text) { return Write(text, std::strlen(text)); }

bool CAtomicFile::Commit() {
  if (m_fd < 0) return false;
  bool ok = !m_failed && Flush();
  if (ok && ::_commit(m_fd) != 0) ok = false;
  if (::_close(m_fd) != 0) ok = false;
  m_fd = -1;
  if (ok && !ReplaceFile(m_temporaryPath, m_finalPath.c_str())) ok = false;
  if (!ok) ::DeleteFileA(m_temporaryPath.c_str());
  m_temporaryPath.clear();
  return ok;
}

void CAtomicFile::Abandon() {
  if (m_fd >= 0) {
    ::_close(m_fd);
    m_fd = -1;
  }
  if (!m_temporaryPath.empty()) {
    ::DeleteFileA(m_temporaryPath.c_str());
    m_temporaryPath.clear();
  }
  m_buffered = 0;
}

}  // namespace valmero
