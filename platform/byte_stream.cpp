#include "platform/byte_stream.h"

#include <unistd.h>

#include <cerrno>

namespace valmero {

CByteStream::CByteStream(const void* data, std::size_t size)
    : m_data(static_cast<const unsigned char*>(data)), m_size(size) {}

int CByteStream::Refill() {
  if (m_failed) return FAILED;
  if (m_fd < 0) return END;
  for (;;) {
    ssize_t got = ::read(m_fd, m_buffer, sizeof m_buffer);
    if (got > 0) {
      m_data = m_buffer;
      m_size = static_cast<std::size_t>(got);
      m_offset = 0;
      return m_data[0];
    }
    if (got == 0) return END;
    if (errno == EINTR) continue;
    m_failed = true;
    return FAILED;
  }
}

}  // namespace valmero
