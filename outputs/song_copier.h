// Copying every song into the target under its five-digit number.
#pragma once

#include <string>
#include <vector>

#include "core/run_host.h"
#include "core/song_list.h"
#include "outputs/copy_plan.h"
#include "platform/files.h"

namespace valmero {

// Copies the songs (with their .MCG companions for pairs) under newNumber,
// under a progress popup with Cancel. Reports nothing to the run; a failed
// copy is logged. A file the target holds already is not copied again: in
// place under its name by `check`, or under another number from an earlier
// run (found by size, date and its first and last bytes), when it is moved
// to its new name before anything is copied. Every copy is made under a
// temporary name and renamed into place when complete. When the target holds
// files of the list (its songs' folder, or links into it), nothing there is
// moved and all copies wait until every song has been read, so that none
// replaces a song before it is copied; a cancel then changes nothing.
// Elsewhere what was done before a cancel stays. The host hears of every
// file copied, kept in place or moved and every copy that failed.
void CopySongsToTarget(const SongList& songs, const char* target, IRunHost& host,
                       CopyCheck check = CopyCheck::Quick);

// The names a song is copied under in the target: "00012.MP3" and then its
// companion's "00012.MCG" for a pair; "00012-IPS.MP3" or "00012-MCG.MP3" alone
// for the songs of one file.
std::vector<std::string> CopyNamesOf(const SongRecord& song);

// "FOLDER/BASE.MCG" beside a pair's song file: the companion as formed; the
// base name is the file name without the extension (a dot in a folder name
// is not an extension).
std::string CompanionPath(const char* songPath);

// The companion a pair's song file is copied with: the one named in the
// letter case of the song's extension (00001.mcg beside 00001.mp3), else
// the formed one, else one whose name differs from it only in case (the
// first in listing order); the formed path when there is none.
std::string FindCompanion(const char* songPath, CFileFinder& finder);

}  // namespace valmero
