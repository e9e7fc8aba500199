#include "core/song_list.h"

#include <cstring>

namespace valmero {

std::unique_ptr<SongRecord> MakeSongRecord() {
  auto record = std::make_unique<SongRecord>();
  std::memset(record.get(), 0, sizeof(SongRecord));
  return record;
}

void ClearSongList(SongList& songs) {
  SongList().swap(songs);
}

}  // namespace valmero
