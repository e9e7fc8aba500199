// Song lists made in code, the way the sources leave them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/song_list.h"

namespace valmero::testing {

struct SongFields {
  int32_t number;
  const char* title;
  const char* singer;
};

// One record: the texts copied in, songNumber and newNumber both `number`.
std::unique_ptr<SongRecord> MakeSong(const SongFields& fields);

// Records in the order given. With `renumbered`, newNumber is the position
// from 1, as a renumbering run leaves it.
SongList MakeSongs(const std::vector<SongFields>& songFields, bool renumbered = false);

}  // namespace valmero::testing
