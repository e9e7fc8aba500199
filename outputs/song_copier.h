// Copying every song into the target under its five-digit number.
#pragma once

#include "core/run_host.h"
#include "core/song_list.h"

namespace valmero {

// Copies the songs (with their .MCG companions for pairs) under newNumber,
// under a progress popup with Cancel. Reports nothing to the run.
void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host);

}  // namespace valmero
