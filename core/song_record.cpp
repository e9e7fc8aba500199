#include "core/song_record.h"

#include <cstring>

namespace valmero {

void ClearTagFields(TagScratch& scratch) {
  std::memset(&scratch, 0, sizeof scratch);
}

void CopyTagBlock(const TagScratch& scratch, SongRecord& record) {
  std::memcpy(record.title, scratch.m_tag.title, sizeof record.title);
  std::memcpy(record.singer, scratch.m_tag.singer, sizeof record.singer);
  std::memcpy(record.album, scratch.m_tag.album, sizeof record.album);
  std::memcpy(record.year, scratch.m_tag.year, sizeof record.year);
  std::memcpy(record.comment, scratch.m_tag.comment, sizeof record.comment);
  record.genre = scratch.m_nGenre;
}

}  // namespace valmero
