#include "sources/catalogue.h"

#include <cstdio>
#include <cstring>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// Reads the catalogue's little-endian numbers and complemented texts from a
// stream, keeping of each text only what its field holds.
class CRecordReader {
 public:
  explicit CRecordReader(CByteStream& bytes) : m_bytes(bytes) {}

  bool AtEnd() { return m_bytes.Peek() == CByteStream::END; }

  bool ReadInt32(int32_t& value) {
    uint32_t raw = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      int c = m_bytes.Next();
      if (c < 0) return false;
      raw |= static_cast<uint32_t>(c) << shift;
    }
    value = static_cast<int32_t>(raw);
    return true;
  }

  // Decodes a text of the given stored length into a field, keeping what
  // fits and passing over the rest; false when the length is negative or
  // the text runs past the end.
  bool ReadText(int32_t length, char* field, std::size_t fieldSize) {
    if (length < 0) return false;
    for (int32_t i = 0; i < length; ++i) {
      int c = m_bytes.Next();
      if (c < 0) return false;
      if (static_cast<std::size_t>(i) < fieldSize - 1) field[i] = static_cast<char>(255 - c);
    }
    return true;
  }

 private:
  CByteStream& m_bytes;
};

}  // namespace

int CSongCatalogue::ReadCatalogue(const char* startDir) {
  char path[PATH_SIZE];
  int fd = -1;
  // Without a start folder there is no catalogue: never one from elsewhere.
  // A folder, pipe or device named products.cp counts as no file at all.
  if (startDir[0] != '\0' && FormatPath(path, sizeof path, "%s" VALMERO_SEP "products.cp", startDir)) {
    fd = OpenRegularForReading(path);
  }
  if (fd < 0) {
    LogMessage("products file open error\n");
    return -1;
  }
  auto bytes = std::make_unique<CByteStream>(fd);
  int records = ReadRecords(*bytes);
  CloseFile(fd);
  LogMessage("Read %d mirq songs data", records);
  return 0;
}

void CSongCatalogue::ReadCatalogueBytes(const unsigned char* data, std::size_t size) {
  auto bytes = std::make_unique<CByteStream>(data, size);
  ReadRecords(*bytes);
}

int CSongCatalogue::ReadRecords(CByteStream& bytes) {
  CRecordReader reader(bytes);
  int record = 0;
  while (!reader.AtEnd()) {
    ++record;
    auto entry = std::make_unique<CatalogueEntry>();
    std::memset(entry.get(), 0, sizeof(CatalogueEntry));
    bool whole = reader.ReadInt32(entry->songNumber) && reader.ReadInt32(entry->titleLength) &&
                 reader.ReadText(entry->titleLength, entry->title, sizeof entry->title) &&
                 reader.ReadInt32(entry->singerLength) &&
                 reader.ReadText(entry->singerLength, entry->singer, sizeof entry->singer);
    // A cut record and a read error alike end the catalogue there.
    if (!whole) {
      LogMessage("products file is damaged at record %d", record);
      return record - 1;
    }
    m_firstByNumber.emplace(entry->songNumber, entry.get());
    m_catalogue.push_back(std::move(entry));
  }
  return record;
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
