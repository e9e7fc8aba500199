// Reading a file front to back in pieces, so that memory stays the size of
// one piece whatever the size of the file. The same reader serves bytes
// already in memory (the fuzzers and tests feed the readers that way).
#pragma once

#include <cstddef>

namespace valmero {

class CByteStream {
 public:
  static constexpr int END = -1;
  static constexpr int FAILED = -2;

  // Reads the open file `fd` (not closed here).
  explicit CByteStream(int fd) : m_fd(fd) {}
  // Reads `size` bytes at `data`, which must outlive the stream.
  CByteStream(const void* data, std::size_t size);
  CByteStream(const CByteStream&) = delete;
  CByteStream& operator=(const CByteStream&) = delete;

  // The next byte (0 to 255) without taking it; END at the end of the file,
  // FAILED once a read has failed (and from then on).
  int Peek() {
    if (m_offset < m_size) return m_data[m_offset];
    return Refill();
  }
  int Next() {
    int c = Peek();
    if (c >= 0) ++m_offset;
    return c;
  }
  bool Failed() const { return m_failed; }

 private:
  int Refill();

  int m_fd = -1;
  const unsigned char* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_offset = 0;
  bool m_failed = false;
  unsigned char m_buffer[64 * 1024];
};

}  // namespace valmero
