#include "support/song_builder.h"

#include "core/fixed_text.h"

namespace valmero::testing {

std::unique_ptr<SongRecord> MakeSong(const SongFields& fields) {
  auto song = MakeSongRecord();
  song->songNumber = song->newNumber = fields.number;
  CopyText(song->title, sizeof song->title, fields.title);
  CopyText(song->singer, sizeof song->singer, fields.singer);
  return song;
}

SongList MakeSongs(const std::vector<SongFields>& songFields, bool renumbered) {
  SongList songs;
  int32_t position = 0;
  for (const SongFields& fields : songFields) {
    songs.push_back(MakeSong(fields));
    if (renumbered) songs.back()->newNumber = ++position;
  }
  return songs;
}

}  // namespace valmero::testing
