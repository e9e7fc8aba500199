// Copying every song into the target under its five-digit number.
#pragma once

#include <string>
#include <vector>

#include "core/run_host.h"
#include "core/song_list.h"

namespace valmero {

// Copies the songs (with their .MCG companions for pairs) under newNumber,
// under a progress popup with Cancel. Reports nothing to the run; a failed
// copy is logged. Every copy is made under a temporary name and renamed into
// place when complete. When the target holds songs of the list, all copies
// wait until every song has been read, so that none replaces a song before
// it is copied; a cancel then changes nothing. Elsewhere the copies made
// before a cancel stay. The host hears of every file put in place and every
// copy that failed.
void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host);

// The names a song is copied under in the target: "00012.MP3" and then its
// companion's "00012.MCG" for a pair; "00012-IPS.MP3" or "00012-MCG.MP3" alone
// for the songs of one file.
std::vector<std::string> CopyNamesOf(const SongRecord& song);

// "FOLDER/BASE.MCG" beside a pair's song file: the companion as formed; the
// base name is the file name without the extension (a dot in a folder name
// is not an extension).
std::string CompanionPath(const char* songPath);

}  // namespace valmero
