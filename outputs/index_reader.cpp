#include "outputs/index_reader.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"
#include "outputs/big_endian.h"
#include "outputs/index_file.h"

namespace valmero {

namespace {

constexpr std::size_t TEXT_FIELD_SIZE = INDEX_TEXT_SIZE;

class CImageChecker {
 public:
  CImageChecker(const unsigned char* data, std::size_t size, KvxContents& contents, KvxFault& fault)
      : m_data(data), m_size(size), m_contents(contents), m_fault(fault) {}

  bool Check() {
    m_contents = KvxContents();
    return CheckHeader() && CheckLength() && ReadSingers() && ReadTitles() && CheckSingerCounts();
  }

  bool CheckHeader() {
    if (m_size < KVX_HEADER_SIZE) {
      return Fail(m_size, "the file ends inside the %zu-byte header", KVX_HEADER_SIZE);
    }
    static const unsigned char magic[4] = {'E', 'N', 'G', 0};
    for (std::size_t i = 0; i < sizeof magic; ++i) {
      if (m_data[i] != magic[i]) return Fail(i, "the file does not start with \"ENG\" and a zero byte");
    }
    m_titleCount = LoadBigEndian32(m_data + 4);
    m_singerCount = LoadBigEndian32(m_data + 8);
    if (m_titleCount < 0) return Fail(4, "the title count %d is negative", m_titleCount);
    if (m_singerCount < 0) return Fail(8, "the singer count %d is negative", m_singerCount);
    if (LoadBigEndian32(m_data + 12) != 0) return Fail(12, "the last header word is not zero");
    return true;
  }

 private:
  bool Fail(std::size_t offset, const char* format, ...) VALMERO_PRINTF(3, 4) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    m_fault.offset = offset;
    m_fault.message = text;
    return false;
  }

  bool CheckLength() {
    const uint64_t records = static_cast<uint64_t>(m_singerCount) + static_cast<uint64_t>(m_titleCount);
    const uint64_t expected = KVX_HEADER_SIZE + KVX_RECORD_SIZE * records;
    if (m_size < expected) {
      return Fail(m_size, "the file ends early: %d singers and %d titles need %llu bytes, it has %zu",
                  m_singerCount, m_titleCount, static_cast<unsigned long long>(expected), m_size);
    }
    if (m_size > expected) {
      return Fail(static_cast<std::size_t>(expected), "the file goes on after the last title record");
    }
    return true;
  }

  std::size_t SingerOffset(std::size_t i) const { return KVX_HEADER_SIZE + KVX_RECORD_SIZE * i; }
  std::size_t TitleOffset(std::size_t k) const {
    return KVX_HEADER_SIZE + KVX_RECORD_SIZE * (static_cast<std::size_t>(m_singerCount) + k);
  }

  // The text at the start of a record; false when no NUL ends it in its field.
  bool ReadText(std::size_t offset, std::string& text) const {
    const void* nul = std::memchr(m_data + offset, 0, TEXT_FIELD_SIZE);
    if (nul == nullptr) return false;
    text.assign(reinterpret_cast<const char*>(m_data + offset),
                static_cast<const unsigned char*>(nul) - (m_data + offset));
    return true;
  }

  static bool SortsBefore(const std::string& a, const std::string& b) {
    // std::string compares its chars as unsigned char: the byte order wanted.
    return a.compare(b) < 0;
  }

  bool ReadSingers() {
    const auto count = static_cast<std::size_t>(m_singerCount);
    m_contents.singers.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t offset = SingerOffset(i);
      KvxSinger& singer = m_contents.singers[i];
      if (!ReadText(offset, singer.name)) {
        return Fail(offset, "singer %zu: the name is not terminated within %zu bytes", i, TEXT_FIELD_SIZE);
      }
      singer.songCount = LoadBigEndian32(m_data + offset + KVX_NUMBER_OFFSET);
      singer.id = LoadBigEndian32(m_data + offset + KVX_SECOND_NUMBER_OFFSET);
      if (singer.id < 0 || static_cast<std::size_t>(singer.id) != i) {
        return Fail(offset + KVX_SECOND_NUMBER_OFFSET, "singer %zu: the id is %d", i, singer.id);
      }
      if (i > 0 && SortsBefore(singer.name, m_contents.singers[i - 1].name)) {
        return Fail(offset, "singer %zu: the name sorts before the one of singer %zu", i, i - 1);
      }
    }
    return true;
  }

  bool ReadTitles() {
    const auto count = static_cast<std::size_t>(m_titleCount);
    m_contents.titles.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t offset = TitleOffset(k);
      KvxTitle& title = m_contents.titles[k];
      if (!ReadText(offset, title.title)) {
        return Fail(offset, "title %zu: the title is not terminated within %zu bytes", k, TEXT_FIELD_SIZE);
      }
      title.groupIndex = LoadBigEndian32(m_data + offset + KVX_NUMBER_OFFSET);
      title.number = LoadBigEndian32(m_data + offset + KVX_SECOND_NUMBER_OFFSET);
      if (title.groupIndex < 0 || title.groupIndex >= m_singerCount) {
        return Fail(offset + KVX_NUMBER_OFFSET, "title %zu: singer %d is not one of the %d singers", k,
                    title.groupIndex, m_singerCount);
      }
      if (k > 0 && SortsBefore(title.title, m_contents.titles[k - 1].title)) {
        return Fail(offset, "title %zu: the title sorts before the one of title %zu", k, k - 1);
      }
    }
    return true;
  }

  bool CheckSingerCounts() {
    std::vector<int64_t> pointing(m_contents.singers.size(), 0);
    for (const KvxTitle& title : m_contents.titles) ++pointing[static_cast<std::size_t>(title.groupIndex)];
    for (std::size_t i = 0; i < pointing.size(); ++i) {
      if (m_contents.singers[i].songCount != pointing[i]) {
        return Fail(SingerOffset(i) + KVX_NUMBER_OFFSET, "singer %zu: the count is %d but %lld titles point at it",
                    i, m_contents.singers[i].songCount, static_cast<long long>(pointing[i]));
      }
    }
    return true;
  }

  const unsigned char* m_data;
  std::size_t m_size;
  KvxContents& m_contents;
  KvxFault& m_fault;
  int32_t m_titleCount = 0;
  int32_t m_singerCount = 0;
};

}  // namespace

bool ReadIndexImage(const unsigned char* data, std::size_t size, KvxContents& contents, KvxFault& fault) {
  return CImageChecker(data, size, contents, fault).Check();
}

uint64_t KvxLengthFromHeader(const unsigned char* data, std::size_t size) {
  KvxContents unused;
  KvxFault fault;
  if (!CImageChecker(data, size, unused, fault).CheckHeader()) return 0;
  return KVX_HEADER_SIZE + KVX_RECORD_SIZE * (static_cast<uint64_t>(LoadBigEndian32(data + 4)) +
                                              static_cast<uint64_t>(LoadBigEndian32(data + 8)));
}

}  // namespace valmero
