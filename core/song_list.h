// The song list of a run: an ordered array that owns its records.
#pragma once

#include <memory>
#include <vector>

#include "core/song_record.h"

namespace valmero {

using SongList = std::vector<std::unique_ptr<SongRecord>>;

// A new record with every byte zero: empty texts, genre 0, numbers 0, kind 0.
std::unique_ptr<SongRecord> MakeSongRecord();

// Deletes every record and releases the list's storage.
void ClearSongList(SongList& songs);

}  // namespace valmero
