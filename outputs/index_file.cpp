#include "outputs/index_file.h"

#include <cstring>

#include "core/fixed_text.h"
#include "log/activity_log.h"
#include "outputs/big_endian.h"
#include "platform/atomic_file.h"

namespace valmero {

namespace {

using Record = unsigned char[KVX_RECORD_SIZE];

void FillRecord(Record& record, const char* text, int32_t first, int32_t second) {
  std::memset(record, 0, sizeof record);
  // The tables hold their texts terminated within the field; copy only up to
  // the NUL so that the rest of the field is zero whatever it held.
  std::size_t length = BoundedLength(text, INDEX_TEXT_SIZE - 1);
  std::memcpy(record, text, length);
  StoreBigEndian32(record + KVX_NUMBER_OFFSET, first);
  StoreBigEndian32(record + KVX_SECOND_NUMBER_OFFSET, second);
}

bool WriteRecords(CAtomicFile& file, const SingerIndex& index) {
  unsigned char header[KVX_HEADER_SIZE] = {'E', 'N', 'G', 0};
  StoreBigEndian32(header + 4, static_cast<int32_t>(index.m_titleIndex.size()));
  StoreBigEndian32(header + 8, static_cast<int32_t>(index.m_singerGroups.size()));
  if (!file.Write(header, sizeof header)) return false;

  Record record;
  for (const auto& group : index.m_singerGroups) {
    FillRecord(record, group->name, group->songCount, group->id);
    if (!file.Write(record, sizeof record)) return false;
  }
  for (const auto& entry : index.m_titleIndex) {
    FillRecord(record, entry->title, entry->groupIndex, entry->number);
    if (!file.Write(record, sizeof record)) return false;
  }
  return true;
}

}  // namespace

int WriteIndexFile(const char* target, const SingerIndex& index) {
  char path[PATH_SIZE];
  CAtomicFile file;
  if (!FormatPath(path, sizeof path, "%s/ENGLISH.KVX", target) || !file.Create(path)) {
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
