// Copying every song into the target under its five-digit number.
#pragma once

#include "core/run_host.h"
#include "core/song_list.h"

namespace valmero {

// Copies the songs (with their .MCG companions for pairs) under newNumber,
// under a progress popup with Cancel. Reports nothing to the run; a failed
// copy is logged. Every copy is made under a temporary name and all are
// renamed into place when the copying ends, so that no song is replaced
// before it has been read, also when the target is the songs' own folder.
// After a cancel the copies made so far are put in place, unless the target
// holds songs of the list: then nothing is changed.
void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host);

}  // namespace valmero
