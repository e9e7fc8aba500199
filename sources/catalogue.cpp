#include "sources/catalogue.h"

#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// Reads the catalogue's little-endian numbers and complemented texts from
// memory, refusing to run past the end.
class CRecordReader {
 public:
  CRecordReader(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

  bool AtEnd() const { return m_offset >= m_size; }

  bool ReadInt32(int32_t& value) {
    if (m_size - m_offset < 4) return false;
    const unsigned char* p = m_data + m_offset;
    uint32_t raw = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                   static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    value = static_cast<int32_t>(raw);
    m_offset += 4;
    return true;
  }

  // Decodes a text of the given stored length into a field, keeping what
  // fits; false when the length is negative or runs past the end.
  bool ReadText(int32_t length, char* field, std::size_t fieldSize) {
    if (length < 0 || static_cast<std::size_t>(length) > m_size - m_offset) return false;
    std::size_t kept = static_cast<std::size_t>(length) < fieldSize ? static_cast<std::size_t>(length) : fieldSize - 1;
    for (std::size_t i = 0; i < kept; ++i) field[i] = static_cast<char>(255 - m_data[m_offset + i]);
    m_offset += static_cast<std::size_t>(length);
    return true;
  }

 private:
  const unsigned char* m_data;
  std::size_t m_size;
  std::size_t m_offset = 0;
};

bool ReadWholeFile(std::FILE* file, std::vector<unsigned char>& bytes) {
  unsigned char chunk[64 * 1024];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  return !std::ferror(file);
}

}  // namespace

int CSongCatalogue::ReadCatalogue(const char* startDir) {
  char path[PATH_SIZE];
  std::FILE* file = nullptr;
  if (FormatPath(path, sizeof path, "%s" VALMERO_SEP "products.cp", startDir)) file = std::fopen(path, "rb");
  if (file == nullptr) {
    LogMessage("products file open error\n");
    return -1;
  }
  std::vector<unsigned char> bytes;
  bool complete = ReadWholeFile(file, bytes);
  std::fclose(file);
  std::size_t before = m_catalogue.size();
  ReadCatalogueBytes(bytes.data(), bytes.size());
  if (!complete) LogMessage("products file is damaged at record %d", static_cast<int>(m_catalogue.size() - before) + 1);
  LogMessage("Read %d mirq songs data", static_cast<int>(m_catalogue.size() - before));
  return 0;
}

void CSongCatalogue::ReadCatalogueBytes(const unsigned char* data, std::size_t size) {
  CRecordReader reader(data, size);
  int record = 0;
  while (!reader.AtEnd()) {
    ++record;
    auto entry = std::make_unique<CatalogueEntry>();
    std::memset(entry.get(), 0, sizeof(CatalogueEntry));
    bool whole = reader.ReadInt32(entry->songNumber) && reader.ReadInt32(entry->titleLength) &&
                 reader.ReadText(entry->titleLength, entry->title, sizeof entry->title) &&
                 reader.ReadInt32(entry->singerLength) &&
                 reader.ReadText(entry->singerLength, entry->singer, sizeof entry->singer);
    if (!whole) {
      LogMessage("products file is damaged at record %d", record);
      return;
    }
    m_firstByNumber.emplace(entry->songNumber, entry.get());
    m_catalogue.push_back(std::move(entry));
  }
}

int CSongCatalogue::LookupCatalogue(int32_t number, TagScratch& scratch) const {
  auto found = m_firstByNumber.find(number);
  if (found == m_firstByNumber.end()) return -1;
  CopyText(scratch.m_tag.title, sizeof scratch.m_tag.title, found->second->title);
  CopyText(scratch.m_tag.singer, sizeof scratch.m_tag.singer, found->second->singer);
  return 0;
}

void CSongCatalogue::Clear() {
  decltype(m_catalogue)().swap(m_catalogue);
  decltype(m_firstByNumber)().swap(m_firstByNumber);
}

}  // namespace valmero
