// Copying every song into the target under its five-digit number.
#pragma once

#include <string>

#include "core/run_host.h"
#include "core/song_list.h"

namespace valmero {

// Copies the songs (with their .MCG companions for pairs) under newNumber,
// under a progress popup with Cancel. Reports nothing to the run; tells the
// host of every file copied and every copy that failed.
void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host);

// "FOLDER/BASE.MCG" beside a pair's song file: the companion as formed; the
// base name is the file name without the extension (a dot in a folder name
// is not an extension).
std::string CompanionPath(const char* songPath);

}  // namespace valmero
