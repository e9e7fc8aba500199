#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/interrupt_removal.h"
#include "platform/temporary_file.h"

namespace valmero {

CAtomicFile::~CAtomicFile() { Abandon(); }

bool CAtomicFile::Create(const char* finalPath) {
  Abandon();
  m_finalPath = finalPath;
  // Readable like any file the user makes: 0666 less the umask.
  int fd = CreateTemporaryBeside(finalPath, 0666, m_temporaryPath);
  if (fd < 0) return false;
  RemoveOnInterrupt(m_temporaryPath);
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

bool CAtomicFile::Commit() {
  if (m_fd < 0) return false;
  bool ok = !m_failed && Flush();
  if (ok && !SyncFile(m_fd)) ok = false;
  if (::close(m_fd) != 0) ok = false;
  m_fd = -1;
  if (ok && !RenameReplacing(m_temporaryPath.c_str(), m_finalPath.c_str())) ok = false;
  if (!ok) RemoveFile(m_temporaryPath.c_str());
  ForgetOnInterrupt(m_temporaryPath);
  m_temporaryPath.clear();
  return ok;
}

void CAtomicFile::Abandon() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_temporaryPath.empty()) {
    RemoveFile(m_temporaryPath.c_str());
    ForgetOnInterrupt(m_temporaryPath);
    m_temporaryPath.clear();
  }
  m_buffered = 0;
}

}  // namespace valmero
