#include "support/song_builder.h"

#include "core/fixed_text.h"

namespace valmero::testing {

std::unique_ptr<SongRecord> MakeSong(const SongSpec& spec) {
  auto song = MakeSongRecord();
  song->songNumber = song->newNumber = spec.number;
  CopyText(song->title, sizeof song->title, spec.title);
  CopyText(song->singer, sizeof song->singer, spec.singer);
  return song;
}

SongList MakeSongs(const std::vector<SongSpec>& specs, bool renumbered) {
  SongList songs;
  int32_t position = 0;
  for (const SongSpec& spec : specs) {
    songs.push_back(MakeSong(spec));
    if (renumbered) songs.back()->newNumber = ++position;
  }
  return songs;
}

}  // namespace valmero::testing
