#include "outputs/index_file.h"

#include <cstring>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/big_endian.h"
#include "platform/atomic_file.h"
#include "platform/path_separator.h"

namespace valmero {

namespace {

// Records are laid out in a block of this many and written a block at a time.
constexpr std::size_t RECORDS_PER_BLOCK = 1024;

class CRecordWriter {
 public:
  explicit CRecordWriter(CAtomicFile& file) : m_file(file) {}

  bool Add(const char* text, int32_t first, int32_t second) {
    unsigned char* record = m_block + m_nUsed * KVX_RECORD_SIZE;
    std::memset(record, 0, KVX_RECORD_SIZE);
    // The tables hold their texts terminated within the field; copy only up
    // to the NUL so that the rest of the field is zero whatever it held.
    std::memcpy(record, text, BoundedLength(text, INDEX_TEXT_SIZE - 1));
    StoreBigEndian32(record + KVX_NUMBER_OFFSET, first);
    StoreBigEndian32(record + KVX_SECOND_NUMBER_OFFSET, second);
    return ++m_nUsed < RECORDS_PER_BLOCK || Flush();
  }

  bool Flush() {
    bool written = m_nUsed == 0 || m_file.Write(m_block, m_nUsed * KVX_RECORD_SIZE);
    m_nUsed = 0;
    return written;
  }

 private:
  CAtomicFile& m_file;
  unsigned char m_block[RECORDS_PER_BLOCK * KVX_RECORD_SIZE];
  std::size_t m_nUsed = 0;
};

bool WriteRecords(CAtomicFile& file, const SingerIndex& index) {
  unsigned char header[KVX_HEADER_SIZE] = {'E', 'N', 'G', 0};
  StoreBigEndian32(header + 4, static_cast<int32_t>(index.m_titleIndex.size()));
  StoreBigEndian32(header + 8, static_cast<int32_t>(index.m_singerGroups.size()));
  if (!file.Write(header, sizeof header)) return false;

  CRecordWriter records(file);
  for (const auto& group : index.m_singerGroups) {
    if (!records.Add(group->name, static_cast<int32_t>(group->songs.size()), group->id)) return false;
  }
  for (const auto& entry : index.m_titleIndex) {
    if (!records.Add(entry->title, entry->groupIndex, entry->number)) return false;
  }
  return records.Flush();
}

}  // namespace

int WriteIndexFile(const char* target, const SingerIndex& index) {
  char path[PATH_SIZE];
  CAtomicFile file;
  if (!FormatPath(path, sizeof path, "%s" VALMERO_SEP "ENGLISH.KVX", target) || !file.Create(path)) {
    LogMessage("incorrect output filename");
    return -1;
  }
  bool written = WriteRecords(file, index);
  if (!written) file.Abandon();
  if (!written || !file.Commit()) {
    LogMessage("can not write \"%s\" file", path);
    return -1;
  }
  return 0;
}

}  // namespace valmero
