#include "platform/same_bytes.h"

#include <cstring>
#include <memory>

#include "platform/file_reading.h"

namespace valmero {

namespace {

constexpr uint64_t END_SPAN = 64 * 1024;
constexpr std::size_t PIECE = 1 << 20;

class COpenFile {
 public:
  explicit COpenFile(const char* path) { m_fd = OpenFileForReading(CURRENT_FOLDER, path, m_size); }
  ~COpenFile() {
    if (m_fd >= 0) CloseFile(m_fd);
  }
  COpenFile(const COpenFile&) = delete;
  COpenFile& operator=(const COpenFile&) = delete;

  bool HasSize(uint64_t size) const { return m_fd >= 0 && m_size >= 0 && static_cast<uint64_t>(m_size) == size; }

  // Reads exactly `count` bytes from `offset`.
  bool Read(char* buffer, std::size_t count, uint64_t offset) const {
    while (count > 0) {
      long long got = ReadFileAt(m_fd, buffer, count, static_cast<long long>(offset));
      if (got <= 0) return false;
      buffer += got;
      offset += static_cast<uint64_t>(got);
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int m_fd = -1;
  long long m_size = -1;
};

bool SameRange(const COpenFile& a, const COpenFile& b, uint64_t from, uint64_t to) {
  static std::unique_ptr<char[]> first(new char[PIECE]);
  static std::unique_ptr<char[]> second(new char[PIECE]);
  for (uint64_t offset = from; offset < to; offset += PIECE) {
    std::size_t count = static_cast<std::size_t>(to - offset < PIECE ? to - offset : PIECE);
    if (!a.Read(first.get(), count, offset) || !b.Read(second.get(), count, offset)) return false;
    if (std::memcmp(first.get(), second.get(), count) != 0) return false;
  }
  return true;
}

}  // namespace

bool SameBytes(const char* a, const char* b, uint64_t size, BytesCompared how) {
  COpenFile first(a);
  COpenFile second(b);
  if (!first.HasSize(size) || !second.HasSize(size)) return false;
  if (how == BytesCompared::Whole || size <= 2 * END_SPAN) return SameRange(first, second, 0, size);
  return SameRange(first, second, 0, END_SPAN) && SameRange(first, second, size - END_SPAN, size);
}

}  // namespace valmero
